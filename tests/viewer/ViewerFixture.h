#pragma once
// A viewer window over report files made for the test, with the engine's
// messages recorded instead of shown and a logging printer in place of the
// system's.
#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "fixture/FakePrinter.h"
#include "fixture/ReportWriter.h"
#include "platform/Convert.h"
#include "platform/IniPrinterProfile.h"
#include "platform/Rounding.h"
#include "platform/TextCodec.h"
#include "platform/UserInterface.h"
#include "preview/TFilePreview.h"
#include "viewer/TPreviewForm.h"
#include "viewer/ViewerStartup.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

namespace rpt::test {

struct RecordedMessages {
    std::vector<std::string> Messages;
    std::vector<std::string> Errors;
};

// Keeps the texts as UTF-8, so tests compare them as written.
class RecordingUserInterface : public UserInterface {
public:
    explicit RecordingUserInterface(std::shared_ptr<RecordedMessages> record)
        : record_(std::move(record)) {}
    void ShowMessage(const std::string& text) override {
        record_->Messages.push_back(Windows1252ToUtf8(text));
    }
    void ShowError(const std::string& text) override {
        record_->Errors.push_back(Windows1252ToUtf8(text));
    }
    void ProcessMessages() override { QCoreApplication::processEvents(); }
    TCursor Cursor() const override { return cursor_; }
    void SetCursor(TCursor cursor) override { cursor_ = cursor; }

private:
    std::shared_ptr<RecordedMessages> record_;
    TCursor cursor_ = TCursor::crDefault;
};

constexpr const char* kTwoPrinters = R"([DEVICES]
Laser=winspool,LPT1:
Inkjet=winspool,USB001
[windows]
device=Inkjet,winspool,USB001
)";

class ViewerTest : public testing::Test {
protected:
    ViewerTest()
        : Record(std::make_shared<RecordedMessages>()),
          PrinterCalls(std::make_shared<fixture::PrinterLog>()),
          PrinterSetup(std::make_shared<fixture::FakePrinterSetup>()) {
        previousUi_ = SetUserInterface(std::make_unique<RecordingUserInterface>(Record));
    }

    ~ViewerTest() override {
        Form.reset();
        ReplaceSharedDevice(nullptr);
        SetUserInterface(std::move(previousUi_));
    }

    // Installs printers before the window is made (its components take the
    // device when they are created); an empty profile gives none.
    void UsePrinters(const std::string& profile = kTwoPrinters) {
        ReplaceSharedDevice(std::make_unique<TQLDevice>(
            std::make_unique<IniPrinterProfile>(profile),
            std::make_unique<fixture::FakePrinterDriver>(PrinterCalls, PrinterSetup)));
    }

    // A report of `pages` pages, each holding a page-number text.
    std::string WriteReport(const std::string& name, int pages, int16_t copies = 1) {
        fixture::ReportWriter writer;
        fixture::ReportHeader header;
        header.copies = copies;
        writer.Header(header);
        for (int page = 1; page <= pages; ++page) {
            writer.BeginPage();
            writer.EndPage();
        }
        const std::string path = Path(name);
        writer.SaveTo(path);
        return path;
    }

    std::string Path(const std::string& name) const {
        return QDir(Dir.path()).absoluteFilePath(QString::fromStdString(name)).toStdString();
    }

    // Starts the window as the program does, with these arguments after
    // the program's name, and lets it show its first page.
    TPreviewForm& Open(std::vector<std::string> arguments = {}) {
        arguments.insert(arguments.begin(), "rptview");
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        Form = CreateMainForm(argv);
        Form->show();
        QCoreApplication::processEvents();
        return *Form;
    }

    void Type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    std::string PageLabelText() const { return Form->PageLabel->text().toStdString(); }
    std::string ZoomText() const { return Form->ZoomEdit->text().toStdString(); }

    QTemporaryDir Dir;
    std::shared_ptr<RecordedMessages> Record;
    std::shared_ptr<fixture::PrinterLog> PrinterCalls;
    std::shared_ptr<fixture::FakePrinterSetup> PrinterSetup;
    std::unique_ptr<TPreviewForm> Form;

private:
    std::unique_ptr<UserInterface> previousUi_;
};

} // namespace rpt::test

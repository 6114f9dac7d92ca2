#include "ViewerFixture.h"

#include "platform/Exceptions.h"
#include "viewer/ReportFileCopy.h"

#include <QDir>
#include <QFile>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace rpt::test {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t Count(const std::vector<std::string>& calls, const std::string& prefix) {
    size_t n = 0;
    for (const std::string& call : calls)
        n += call.rfind(prefix, 0) == 0;
    return n;
}

// Paths of the files this process has open.
std::vector<std::string> OpenFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const auto target = std::filesystem::read_symlink(entry.path(), error);
        if (!error)
            files.push_back(target.string());
    }
    return files;
}

bool IsOpen(const std::string& path) {
    const std::string canonical = std::filesystem::canonical(path).string();
    for (const std::string& file : OpenFiles())
        if (file == canonical)
            return true;
    return false;
}

TEST_F(ViewerTest, CommandsWithoutAReportSayNoReportIsLoaded) {
    TPreviewForm& form = Open();
    form.ExecDialog = [](QDialog&) {
        ADD_FAILURE() << "no dialog may open without a report";
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(form.SBPrint, Qt::LeftButton);
    form.Imprimir1->trigger();
    form.Salvar1->trigger();
    EXPECT_EQ(Record->Messages, std::vector<std::string>(3, "Não há relatório carregado."));
    EXPECT_TRUE(Record->Errors.empty());
}

TEST_F(ViewerTest, PrintDialogProposesThePagesAndPrintsTheChosenRange) {
    UsePrinters();
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    int proposedMin = 0, proposedMax = 0, proposedFrom = 0, proposedTo = 0;
    form.ExecDialog = [&](QDialog& dialog) {
        EXPECT_EQ(&dialog, form.PrintDialog1);
        proposedMin = form.PrintDialog1->minPage();
        proposedMax = form.PrintDialog1->maxPage();
        proposedFrom = form.PrintDialog1->fromPage();
        proposedTo = form.PrintDialog1->toPage();
        form.PrintDialog1->setPrintRange(QAbstractPrintDialog::PageRange);
        form.PrintDialog1->setFromTo(2, 4);
        form.PrintDialog1->printer()->setCopyCount(3);
        return int(QDialog::Accepted);
    };
    form.Imprimir1->trigger();
    EXPECT_EQ(proposedMin, 1);
    EXPECT_EQ(proposedMax, 10);
    EXPECT_EQ(proposedFrom, 1);
    EXPECT_EQ(proposedTo, 10);
    EXPECT_TRUE(Record->Errors.empty()) << Record->Errors.front();
    // The system's default printer, three copies, pages 2 to 4.
    EXPECT_EQ(Count(PrinterCalls->Calls, "CreateDC(Inkjet"), 1u);
    EXPECT_EQ(Count(PrinterCalls->Calls, "StartPage"), 3u);
    bool threeCopies = false;
    for (const std::string& call : PrinterCalls->Calls)
        threeCopies |= call.find("copies 3") != std::string::npos;
    EXPECT_TRUE(threeCopies);
    EXPECT_EQ(form.FilePrinter1->GetFileName(), form.FilePreview1->GetFileName());
    EXPECT_FALSE(form.PrintJobRunning());
}

TEST_F(ViewerTest, PrintDialogForAllPagesPrintsTheCopiesStoredInTheFile) {
    UsePrinters();
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10, 2)});
    form.ExecDialog = [&](QDialog&) {
        form.PrintDialog1->setPrintRange(QAbstractPrintDialog::AllPages);
        form.PrintDialog1->printer()->setCopyCount(3);
        return int(QDialog::Accepted);
    };
    form.Imprimir1->trigger();
    EXPECT_EQ(Count(PrinterCalls->Calls, "StartPage"), 10u);
    for (const std::string& call : PrinterCalls->Calls)
        EXPECT_EQ(call.find("copies 3"), std::string::npos) << call;
}

TEST_F(ViewerTest, CancelledPrintDialogPrintsNothing) {
    UsePrinters();
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    form.ExecDialog = [](QDialog&) { return int(QDialog::Rejected); };
    form.Imprimir1->trigger();
    EXPECT_EQ(Count(PrinterCalls->Calls, "StartDoc"), 0u);
}

TEST_F(ViewerTest, QuickPrintPrintsAllPagesWithoutADialog) {
    UsePrinters();
    TPreviewForm& form = Open({WriteReport("ten.rpt", 4)});
    form.ExecDialog = [](QDialog&) {
        ADD_FAILURE() << "the toolbar print shows no dialog";
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(form.SBPrint, Qt::LeftButton);
    EXPECT_EQ(Count(PrinterCalls->Calls, "StartDoc"), 1u);
    EXPECT_EQ(Count(PrinterCalls->Calls, "StartPage"), 4u);
    EXPECT_EQ(Count(PrinterCalls->Calls, "EndDoc"), 1u);
}

TEST_F(ViewerTest, PrintingWithoutPrintersSaysSo) {
    UsePrinters("[DEVICES]\n");
    TPreviewForm& form = Open({WriteReport("ten.rpt", 4)});
    QTest::mouseClick(form.SBPrint, Qt::LeftButton);
    EXPECT_EQ(Record->Errors,
              std::vector<std::string>{"No printers are defined, aborting print job."});
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ViewerTest, ClosingDuringAPrintJobWaitsForTheJobToEnd) {
    UsePrinters();
    TPreviewForm& form = Open({WriteReport("ten.rpt", 5)});
    bool visibleAfterClose = false;
    size_t pagesWhenClosed = 0;
    QTimer::singleShot(0, &form, [&] {
        form.SBDone->click();
        visibleAfterClose = form.isVisible();
        pagesWhenClosed = Count(PrinterCalls->Calls, "StartPage");
    });
    QTest::mouseClick(form.SBPrint, Qt::LeftButton);
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_LT(pagesWhenClosed, 5u);
    EXPECT_EQ(Count(PrinterCalls->Calls, "StartPage"), 5u);
    EXPECT_EQ(Count(PrinterCalls->Calls, "EndDoc"), 1u);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.FilePreview1->Printing);
}

TEST_F(ViewerTest, APrintStartedDuringAPrintJobKeepsTheCloseDeferred) {
    UsePrinters();
    TPreviewForm& form = Open({WriteReport("ten.rpt", 5)});
    bool visibleAfterClose = false;
    QTimer::singleShot(0, &form, [&] {
        form.SBPrint->click();
        form.SBDone->click();
        visibleAfterClose = form.isVisible();
    });
    QTest::mouseClick(form.SBPrint, Qt::LeftButton);
    EXPECT_EQ(Record->Errors,
              std::vector<std::string>{"Invalid method call.  Quillet already printing."});
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_EQ(Count(PrinterCalls->Calls, "StartPage"), 5u);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ViewerTest, AReportDroppedOnTheWindowOpens) {
    TPreviewForm& form = Open({WriteReport("first.rpt", 10)});
    const std::string second = WriteReport("second.rpt", 4);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(second))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    EXPECT_EQ(form.FilePreview1->GetFileName(), second);
    EXPECT_EQ(PageLabelText(), "Página 1 de 4");
}

TEST_F(ViewerTest, LoadingASecondReportStopsTheFirst) {
    const std::string first = WriteReport("first.rpt", 10);
    const std::string second = WriteReport("second.rpt", 4);
    TPreviewForm& form = Open({first});
    ASSERT_TRUE(IsOpen(first));
    form.ExecDialog = [&](QDialog& dialog) {
        EXPECT_EQ(&dialog, form.OpenDialog1);
        form.OpenDialog1->selectFile(QString::fromStdString(second));
        return int(QDialog::Accepted);
    };
    form.Carregar1->trigger();
    EXPECT_FALSE(IsOpen(first));
    EXPECT_TRUE(IsOpen(second));
    EXPECT_EQ(form.FilePreview1->GetFileName(), second);
    EXPECT_EQ(PageLabelText(), "Página 1 de 4");
    EXPECT_TRUE(Record->Errors.empty());
}

TEST_F(ViewerTest, SavingCopiesTheReportByteForByte) {
    const std::string report = WriteReport("ten.rpt", 10);
    TPreviewForm& form = Open({report});
    const std::string copy = Path("copy.rpt");
    { std::ofstream(copy) << "an older file"; }
    form.ExecDialog = [&](QDialog& dialog) {
        EXPECT_EQ(&dialog, form.SaveDialog1);
        form.SaveDialog1->selectFile(QString::fromStdString(copy));
        return int(QDialog::Accepted);
    };
    form.Salvar1->trigger();
    EXPECT_TRUE(Record->Errors.empty());
    EXPECT_EQ(ReadAll(copy), ReadAll(report));
}

TEST_F(ViewerTest, SavingOntoTheReportShownIsRefusedAndKeepsIt) {
    const std::string report = WriteReport("ten.rpt", 10);
    const std::string original = ReadAll(report);
    const std::string hardLink = Path("hard.rpt");
    const std::string softLink = Path("soft.rpt");
    ASSERT_EQ(::link(report.c_str(), hardLink.c_str()), 0);
    ASSERT_EQ(::symlink(report.c_str(), softLink.c_str()), 0);
    TPreviewForm& form = Open({report});
    const std::string sameNames[] = {report, hardLink, softLink,
                                     Path("sub/../ten.rpt")};
    QDir(Dir.path()).mkdir("sub");
    for (const std::string& name : sameNames) {
        SCOPED_TRACE(name);
        Record->Messages.clear();
        form.ExecDialog = [&](QDialog&) {
            form.SaveDialog1->selectFile(QString::fromStdString(name));
            return int(QDialog::Accepted);
        };
        form.Salvar1->trigger();
        ASSERT_EQ(Record->Messages.size(), 1u);
        EXPECT_NE(Record->Messages[0].find("não pode ser salvo sobre o próprio arquivo"),
                  std::string::npos);
        EXPECT_EQ(ReadAll(report), original);
    }
    EXPECT_TRUE(Record->Errors.empty());
}

TEST_F(ViewerTest, AFailedCopyRaisesItsReason) {
    const std::string report = WriteReport("ten.rpt", 10);
    const QString target = QString::fromStdString(Path("no-such-folder/copy.rpt"));
    try {
        CopyReportFile(QString::fromStdString(report), target);
        ADD_FAILURE() << "the copy cannot succeed";
    } catch (const EStreamError& error) {
        EXPECT_EQ(Windows1252ToUtf8(error.Message())
                      .rfind("Não foi possível salvar o relatório em \"" + target.toStdString(), 0),
                  0u)
            << error.Message();
    }
}

} // namespace
} // namespace rpt::test

#include "viewer/ViewerStartup.h"

#include "device/SharedDevice.h"
#include "platform/CupsPrinterDriver.h"
#include "platform/CupsPrinterProfile.h"
#include "platform/PrintOutputFile.h"
#include "preview/TFilePreview.h"
#include "viewer/QtUserInterface.h"
#include "viewer/TPreviewForm.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

namespace rpt {

namespace {

PrintingSystem CupsPrintingSystem() {
    return {std::make_unique<CupsPrinterProfile>(), std::make_unique<CupsPrinterDriver>()};
}

bool AskToReplace(const std::string& fileName) {
    const QString name = QFile::decodeName(QByteArray::fromStdString(fileName));
    return QMessageBox::question(
               QApplication::activeWindow(), QGuiApplication::applicationDisplayName(),
               QStringLiteral("O arquivo \"%1\" já existe.\nDeseja substituí-lo?").arg(name),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

} // namespace

void SetUpApplication() {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Visualizador de Impressão"));
    QGuiApplication::setDesktopFileName(QStringLiteral("rptview"));
    SetUserInterface(std::make_unique<QtUserInterface>());
    SetOverwriteConsent(AskToReplace);
}

void UseCupsPrinters() { SetPrintingSystemFactory(CupsPrintingSystem); }

std::unique_ptr<TPreviewForm> CreateMainForm(std::span<char* const> arguments) {
    auto form = std::make_unique<TPreviewForm>();
    form->setWindowTitle(QStringLiteral("Visualizador de Relatórios Corvanti"));
    const std::string fileName = arguments.size() > 1 && arguments[1] ? arguments[1] : "";
    form->FilePreview1->SetFileName(fileName);
    form->FilePrinter1->SetFileName(fileName);
    return form;
}

} // namespace rpt

#include "viewer/ViewerStartup.h"

#include "preview/TFilePreview.h"
#include "viewer/QtUserInterface.h"
#include "viewer/TPreviewForm.h"

#include <QApplication>

namespace rpt {

void SetUpApplication() {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Visualizador de Impressão"));
    QGuiApplication::setDesktopFileName(QStringLiteral("rptview"));
    SetUserInterface(std::make_unique<QtUserInterface>());
}

std::unique_ptr<TPreviewForm> CreateMainForm(std::span<char* const> arguments) {
    auto form = std::make_unique<TPreviewForm>();
    form->setWindowTitle(QStringLiteral("Visualizador de Relatórios Corvanti"));
    const std::string fileName = arguments.size() > 1 && arguments[1] ? arguments[1] : "";
    form->FilePreview1->SetFileName(fileName);
    form->FilePrinter1->SetFileName(fileName);
    return form;
}

} // namespace rpt

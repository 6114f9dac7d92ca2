#include "viewer/TPreviewForm.h"
#include "viewer/ViewerStartup.h"

#include "platform/FontSystem.h"

#include <QApplication>

int main(int argc, char** argv) {
    rpt::EnsureRuntimeFolder();
    QApplication application(argc, argv);
    rpt::SetUpApplication();
    rpt::UseCupsPrinters();
    std::unique_ptr<rpt::TPreviewForm> form =
        rpt::CreateMainForm(std::span<char* const>(argv, static_cast<size_t>(argc)));
    form->show();
    return QApplication::exec();
}

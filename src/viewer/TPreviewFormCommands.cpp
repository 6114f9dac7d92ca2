#include "viewer/TPreviewForm.h"

#include "platform/Convert.h"
#include "platform/TextCodec.h"
#include "platform/UserInterface.h"
#include "preview/TFilePreview.h"
#include "viewer/ReportFileCopy.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace rpt {

namespace {

QString ToQString(const std::string& fileName) {
    return QFile::decodeName(QByteArray::fromStdString(fileName));
}

std::string ToFileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The window's own messages, in the 8-bit code page the message boxes take.
std::string Message(const QString& text) { return Utf8ToWindows1252(text.toStdString()); }

// Marks a print command as running for its whole length, on every path. A
// print command started between two pages of a running job puts back the
// mark it found, so the running job still holds the window open.
class PrintJobScope {
public:
    explicit PrintJobScope(bool& running) : running_(running), before_(running) {
        running_ = true;
    }
    ~PrintJobScope() { running_ = before_; }
    PrintJobScope(const PrintJobScope&) = delete;
    PrintJobScope& operator=(const PrintJobScope&) = delete;

private:
    bool& running_;
    bool before_;
};

} // namespace

void TPreviewForm::FormShow() {
    if (!FilePreview1->GetFileName().empty())
        FilePreview1->Start();
}

void TPreviewForm::FormClose() { FilePreview1->Finish(); }

void TPreviewForm::SBZoomInClick() { FilePreview1->ZoomIn(); }
void TPreviewForm::SBZoomOutClick() { FilePreview1->ZoomOut(); }

void TPreviewForm::SBZoomPageWidthClick() {
    FilePreview1->SetZoomFactor(FilePreview1->ZoomPageWidthFactor());
}

void TPreviewForm::SBZoomPageClick() { FilePreview1->SetZoomFactor(FilePreview1->ZoomPageFactor()); }

void TPreviewForm::SBPrevPageClick() { FilePreview1->PrevPage(); }
void TPreviewForm::SBNextPageClick() { FilePreview1->NextPage(); }

void TPreviewForm::FirstPageClick() { FilePreview1->PrintPage(1); }

// The chain walk stops at the last page for any number past it.
void TPreviewForm::LastPageClick() { FilePreview1->PrintPage(0xFFFF); }

void TPreviewForm::SBDoneClick() { close(); }
void TPreviewForm::Encerrar1Click() { close(); }

bool TPreviewForm::ReportLoaded() {
    if (!FilePreview1->GetFileName().empty())
        return true;
    UI().ShowMessage(Message(QStringLiteral("Não há relatório carregado.")));
    return false;
}

void TPreviewForm::SBPrintClick() {
    if (!ReportLoaded())
        return;
    PrintJobScope job(printJobRunning_);
    FilePrinter1->SetFileName(FilePreview1->GetFileName());
    FilePrinter1->Execute();
}

void TPreviewForm::Imprimir1Click() {
    if (!ReportLoaded())
        return;
    const int pages = std::max(1, FilePreview1->GetPageCount());
    PrintDialog1->setMinMax(1, pages);
    PrintDialog1->setFromTo(1, pages);
    if (RunDialog(*PrintDialog1) != QDialog::Accepted)
        return;

    const QString printerName = printer_->printerName();
    if (QPrinterInfo::availablePrinterNames().indexOf(printerName) < 0) {
        FilePrinter1->SelectPrinterIndex(-1);
    } else if (!FilePrinter1->SelectPrinter(ToFileName(printerName))) {
        UI().ShowMessage(
            Message(QStringLiteral("A impressora \"%1\" não está disponível.").arg(printerName)));
        return;
    }

    switch (PrintDialog1->printRange()) {
    case QAbstractPrintDialog::AllPages: {
        PrintJobScope job(printJobRunning_);
        FilePrinter1->SetFileName(FilePreview1->GetFileName());
        FilePrinter1->Execute();
        break;
    }
    case QAbstractPrintDialog::PageRange: {
        PrintJobScope job(printJobRunning_);
        FilePrinter1->SetFileName(FilePreview1->GetFileName());
        FilePrinter1->PrintRange(PrintDialog1->fromPage(), PrintDialog1->toPage(),
                                 printer_->copyCount());
        break;
    }
    default:
        break;
    }
}

void TPreviewForm::Salvar1Click() {
    if (!ReportLoaded())
        return;
    if (RunDialog(*SaveDialog1) != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty())
        return;
    const QString source = ToQString(FilePreview1->GetFileName());
    const QString target = SaveDialog1->selectedFiles().front();
    // Copying a file onto itself would empty it before reading it.
    if (IsSameFile(source, target)) {
        UI().ShowMessage(Message(
            QStringLiteral("O relatório não pode ser salvo sobre o próprio arquivo \"%1\".")
                .arg(target)));
        return;
    }
    CopyReportFile(source, target);
}

void TPreviewForm::Carregar1Click() {
    if (RunDialog(*OpenDialog1) != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty())
        return;
    LoadReport(OpenDialog1->selectedFiles().front());
}

void TPreviewForm::LoadReport(const QString& path) {
    if (FilePreview1->Printing)
        FilePreview1->Finish();
    FilePreview1->SetFileName(ToFileName(path));
    FilePreview1->Start();
}

void TPreviewForm::FilePreview1PageChange() {
    PageEdit->setText(QString::number(FilePreview1->CurrentPage));
    PageLabel->setText(QStringLiteral("Página %1 de %2")
                           .arg(FilePreview1->CurrentPage - FilePreview1->FirstPage + 1)
                           .arg(FilePreview1->GetPageCount()));
}

void TPreviewForm::FilePreview1ZoomChange() {
    ZoomEdit->setText(
        QString::fromStdString(FloatToStrFixed(FilePreview1->GetZoomFactor(), 1).substr(0, 10)));
    FilePreview1->RedrawPage();
}

void TPreviewForm::ZoomEditExit() {
    const std::optional<double> zoom = TryStrToFloat(ZoomEdit->text().toStdString());
    if (zoom && *zoom != FilePreview1->GetZoomFactor())
        FilePreview1->SetZoomFactor(*zoom);
}

void TPreviewForm::ZoomEditKeyPress(char key) {
    if (key == 13)
        ZoomEditExit();
}

void TPreviewForm::PageEditExit() {
    const std::optional<int32_t> page = TryStrToInt(PageEdit->text().toStdString());
    if (page && *page != FilePreview1->CurrentPage)
        FilePreview1->PrintPage(*page);
}

void TPreviewForm::PageEditKeyPress(char key) {
    if (key == 13)
        PageEditExit();
}

} // namespace rpt

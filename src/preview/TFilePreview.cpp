#include "preview/TFilePreview.h"

#include "device/EQuillet.h"
#include "device/Translate.h"
#include "platform/DateTime.h"
#include "platform/Graphics.h"
#include "platform/Rounding.h"
#include "platform/ScrollBox.h"
#include "platform/UserInterface.h"

namespace rpt {

TFilePreview::TFilePreview(TComponent* owner) : TFilePrinter(owner) {}

TFilePreview::~TFilePreview() {
    if (Printing)
        Finish();
    if (scrollBox_)
        RemoveFreeNotification(scrollBox_);
    if (pageImage_)
        RemoveFreeNotification(pageImage_);
}

int32_t TFilePreview::OutputKind() const { return kOutputPreview; }

TCanvas& TFilePreview::GetCanvas() {
    if (!pageBitmap_)
        RaiseError(Translate("Error!  Canvas not yet active."));
    return pageBitmap_->Canvas();
}

void TFilePreview::Execute() { Start(); }

void TFilePreview::SetScrollBox(TScrollBox* value) {
    if (scrollBox_)
        RemoveFreeNotification(scrollBox_);
    scrollBox_ = value;
    if (scrollBox_)
        FreeNotification(scrollBox_);
}

void TFilePreview::Notification(TComponent* component, TOperation operation) {
    TFilePrinter::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == scrollBox_)
        scrollBox_ = nullptr;
    if (component == pageImage_)
        pageImage_ = nullptr;
}

// The scroll bars' thickness and the box's border, measured by showing each
// bar for a moment: the fitting factors need them.
void TFilePreview::MeasureScrollBox() {
    TScrollBox& box = *scrollBox_;
    box.SetHorzRange(box.ClientWidth() * 2);
    int32_t h1 = box.ClientHeight();
    box.SetHorzRange(box.ClientWidth());
    HScrollHeight = box.ClientHeight() - h1;
    box.SetVertRange(box.ClientHeight() * 2);
    int32_t w1 = box.ClientWidth();
    box.SetVertRange(box.ClientHeight());
    VScrollWidth = box.ClientWidth() - w1;
    BoxBorderWidth = box.Width() - box.ClientWidth();
    BoxBorderHeight = box.Height() - box.ClientHeight();
}

void TFilePreview::Start() {
    if (Printing)
        return;
    if (!scrollBox_)
        RaiseError(Translate("ScrollBox must be assigned for FilePreview component"));
    JobDateTime = Now();
    DoZoomChange();
    MeasureScrollBox();

    pageBitmap_ = std::make_unique<TBitmap>();
    pageBitmap_->SetMonochrome(monochrome_);

    if (pageImage_) {
        TImage* previous = pageImage_;
        RemoveFreeNotification(previous);
        pageImage_ = nullptr;
        delete previous;
    }
    pageImage_ = scrollBox_->CreateImage(scrollBox_->Owner());
    FreeNotification(pageImage_);
    pageImage_->SetBounds(0, 0, 100, 100);

    DevOffsetX = 0;
    DevOffsetY = 0;
    XDPI = pageImage_->PixelsPerInchX();
    YDPI = pageImage_->PixelsPerInchY();

    // A file that cannot be opened has had its error box; the preview stays idle.
    if (!OpenStream()) {
        pageBitmap_.reset();
        return;
    }
    ReadHeader();
    CurrentPage = 0;
    PrevPagePos = 0;
    CurPagePos = 0;
    NextPagePos = static_cast<int32_t>(InputStream->Position());
    Printing = true;
    Aborted = false;
    PrintPage(1);
}

void TFilePreview::Finish() {
    if (!Printing)
        return;
    Printing = false;
    pageBitmap_.reset();
    CloseStream();
}

void TFilePreview::SetZoomFactor(double value) {
    if (value < -1.9)
        ZoomFactor = ZoomPageWidthFactor();
    else if (value < 0)
        ZoomFactor = ZoomPageFactor();
    else if (value < 10)
        ZoomFactor = 10;
    else if (value > 200)
        ZoomFactor = 200;
    else
        ZoomFactor = value;
    DoZoomChange();
    if (!OnZoomChange && Printing)
        RedrawPage();
}

void TFilePreview::ZoomIn() { SetZoomFactor(GetZoomFactor() + ZoomInc); }
void TFilePreview::ZoomOut() { SetZoomFactor(GetZoomFactor() - ZoomInc); }

TFilePreview::FitGeometry TFilePreview::Fit() {
    CheckPrinting();
    if (!scrollBox_)
        RaiseError(Translate("ScrollBox must be assigned for FilePreview component"));
    return FitGeometry{double(scrollBox_->Width() - shadowDepth_ - LeftRulerWidth),
                       double(scrollBox_->Height() - shadowDepth_ - TopRulerHeight),
                       XDPI * PageWidth, YDPI * PageHeight, MarginPercent};
}

double TFilePreview::ZoomPageWidthFactor() {
    const auto [w, h, pw, ph, p] = Fit();
    double z, m;
    if (MarginMethod == mmScaled) {
        z = (w - BoxBorderWidth) / (pw * (p / 50 + 1));
        m = Round(pw * p / 100 * z);
    } else {
        m = Round(pw * p / 100);
        z = (w - (BoxBorderWidth + 2 * m)) / pw;
    }
    if (h - BoxBorderHeight < ph * z + 2 * m) {
        if (MarginMethod == mmScaled)
            z = (w - (BoxBorderWidth + VScrollWidth)) / (pw * (p / 50 + 1));
        else
            z = (w - (BoxBorderWidth + 2 * m + VScrollWidth)) / pw;
    }
    return z * 100;
}

double TFilePreview::ZoomPageFactor() {
    const auto [w, h, pw, ph, p] = Fit();
    double zx, zy;
    if (MarginMethod == mmScaled) {
        zx = (w - 4) / (pw * (p / 50 + 1));
        zy = (h - 4) / (ph + pw * p / 50);
    } else {
        double m = Round(pw * p / 100);
        zx = (w - 4 - 2 * m) / pw;
        zy = (h - 4 - 2 * m) / ph;
    }
    return (zx > zy ? zy : zx) * 100;
}

// Page numbers are formed as unsigned 16-bit values, as the chain walk takes
// them; a step back past page 1 stops on the first page instead of wrapping
// round to a number past the last.
void TFilePreview::PrevPage() {
    if (PrevPagePos <= 0)
        return;
    int32_t target = CurrentPage - PageInc;
    PrintPage(target < 0 ? 0 : static_cast<uint16_t>(target));
}

void TFilePreview::NextPage() {
    if (NextPagePos <= 0)
        return;
    PrintPage(static_cast<uint16_t>(CurrentPage + PageInc));
}

void TFilePreview::RedrawPage() { PrintPage(static_cast<uint16_t>(CurrentPage)); }

void TFilePreview::DoPageChange() {
    if (OnPageChange)
        OnPageChange(*this);
}

void TFilePreview::DoZoomChange() {
    if (OnZoomChange)
        OnZoomChange(*this);
}

void TFilePreview::SetMonochrome(bool value) {
    if (shadowDepth_ > 0 && value) {
        UI().ShowMessage("Monochrome not allowed while shadows are in effect.\r"
                         "Change ShadowDepth to 0 first");
        return;
    }
    monochrome_ = value;
}

void TFilePreview::SetShadowDepth(int32_t value) {
    if (value > 0 && monochrome_) {
        UI().ShowMessage("Shadows not allowed while monochrome in effect.\r"
                         "Change Monochrome to false first");
        return;
    }
    shadowDepth_ = value;
}

} // namespace rpt

// The page frame of the preview: the bitmap sized for the page at the zoom,
// drop shadow, ruler strips with ticks and labels, the white sheet and the
// grid, with the page's own commands played on top.
#include "preview/TFilePreview.h"

#include "device/EQuillet.h"
#include "device/Translate.h"
#include "platform/Convert.h"
#include "platform/Graphics.h"
#include "platform/Rounding.h"
#include "platform/ScrollBox.h"
#include "platform/UserInterface.h"

#include <cmath>

namespace rpt {

namespace {

constexpr int32_t kRulerSize = 20;
constexpr TColor kRulerColor = 0x80FFFF;
constexpr TColor kRulerCorner = 0xC0C0C0;
constexpr TColor kSheetColor = 0xFFFFFF;

bool HasHorizontalRuler(TRulerType t) {
    return t == rtHorizCm || t == rtBothCm || t == rtHorizIn || t == rtBothIn;
}
bool HasVerticalRuler(TRulerType t) {
    return t == rtVertCm || t == rtBothCm || t == rtVertIn || t == rtBothIn;
}
bool IsInchRuler(TRulerType t) { return t == rtHorizIn || t == rtVertIn || t == rtBothIn; }

// Tick length and label for tick k of an inch (8 divisions) or centimetre
// (10 divisions) ruler.
int32_t TickLength(bool inches, int32_t k, std::string& label) {
    label.clear();
    if (inches) {
        switch (k % 8) {
        case 0: label = IntToStr(k / 8).substr(0, 3); return 18;
        case 4: return 15;
        case 2:
        case 6: return 10;
        default: return 5;
        }
    }
    switch (k % 10) {
    case 0: label = IntToStr(k / 10).substr(0, 3); return 18;
    case 5: return 15;
    default: return 5;
    }
}

// Puts the cursor back and empties the per-page caches however the page ends.
class PageGuard {
public:
    explicit PageGuard(TFilePreview& preview) : preview_(preview) {}
    ~PageGuard() {
        preview_.ClearFontCache();
        preview_.ClearLineBuffers();
    }
    PageGuard(const PageGuard&) = delete;
    PageGuard& operator=(const PageGuard&) = delete;

private:
    TFilePreview& preview_;
    BusyCursor cursor_;
};

} // namespace

void TFilePreview::FrameRectangle(TColor pen, TColor brush, int32_t l, int32_t t, int32_t r,
                                  int32_t b) {
    SetPen(pen, psSolid, 1, pmCopy);
    SetBrush(brush, bsSolid, nullptr);
    GetCanvas().Rectangle(l, t, r, b);
}

void TFilePreview::PrintPage(int32_t n) {
    if (!Printing)
        return;
    if (monochrome_)
        SetShadowDepth(0);
    LeftRulerWidth = HasVerticalRuler(RulerType) ? kRulerSize : 0;
    TopRulerHeight = HasHorizontalRuler(RulerType) ? kRulerSize : 0;
    DevOffsetX = LeftRulerWidth;
    DevOffsetY = TopRulerHeight;

    PageGuard guard(*this);
    GotoPage(static_cast<uint16_t>(n));
    DoPageChange();

    TScrollBarState horz = scrollBox_ ? scrollBox_->HorzScrollBar() : TScrollBarState{};
    TScrollBarState vert = scrollBox_ ? scrollBox_->VertScrollBar() : TScrollBarState{};
    if (scrollBox_) {
        scrollBox_->SetHorzPosition(0);
        scrollBox_->SetVertPosition(0);
    }

    // A page size that is not a positive number, or one whose bitmap would be
    // beyond any screen, is refused before anything is allocated.
    const int32_t sd = shadowDepth_ > 0 ? shadowDepth_ : 0;
    double pw = XDPI * PageWidth;
    double sheetWidth = pw * ZoomFactor / 100;
    double sheetHeight = YDPI * PageHeight * ZoomFactor / 100;
    if (!(PageWidth > 0) || !(PageHeight > 0) || !std::isfinite(sheetWidth) ||
        !std::isfinite(sheetHeight) || sheetWidth + sd + LeftRulerWidth > 1e6 ||
        sheetHeight + sd + TopRulerHeight > 1e6 ||
        (Round(sheetWidth) + sd + LeftRulerWidth) * double(Round(sheetHeight) + sd + TopRulerHeight) >
            double(kMaxBitmapPixels))
        RaiseError(Translate("Invalid page size in report file."));

    int32_t margin = MarginMethod == mmScaled ? Round(pw * MarginPercent / 100 * ZoomFactor / 100)
                                              : Round(pw * MarginPercent / 100);
    int32_t bw = Round(sheetWidth) + sd + LeftRulerWidth;
    int32_t bh = Round(sheetHeight) + sd + TopRulerHeight;
    pageBitmap_->SetSize(bw, bh);

    DrawFrame(bw, bh);
    if (RulerType != rtNone)
        DrawRulers(bw, bh);
    FrameRectangle(clBlack, kSheetColor, LeftRulerWidth, TopRulerHeight, bw - sd, bh - sd);
    DrawGrid(bw, bh);

    TFilePrinter::PrintPage(n);

    if (pageImage_) {
        pageImage_->SetBounds(margin, margin, bw, bh);
        pageImage_->SetPicture(*pageBitmap_);
    }
    if (scrollBox_) {
        scrollBox_->SetHorzPosition(horz.Position);
        scrollBox_->SetHorzRange(bw + 2 * margin);
        scrollBox_->SetVertPosition(vert.Position);
        scrollBox_->SetVertRange(bh + 2 * margin);
    }
}

void TFilePreview::DrawFrame(int32_t bw, int32_t bh) {
    const int32_t sd = shadowDepth_ > 0 ? shadowDepth_ : 0;
    const int32_t ox = LeftRulerWidth, oy = TopRulerHeight;
    TColor background = scrollBox_ ? scrollBox_->Color() : clBtnFace;
    FrameRectangle(background, background, 0, bh - sd, sd + ox, bh);
    FrameRectangle(clBlack, clBlack, bw - sd, sd + oy, bw, bh);
    FrameRectangle(background, background, bw - sd, 0, bw, sd + oy);
    FrameRectangle(clBlack, clBlack, sd + ox, bh - sd, bw, bh);

    if (ox > 0 && oy > 0)
        FrameRectangle(kRulerCorner, kRulerCorner, 0, 0, ox, oy);
    if (HasHorizontalRuler(RulerType))
        FrameRectangle(clBlack, clBlack, bw - sd, sd, bw, oy + sd);
    if (HasVerticalRuler(RulerType))
        FrameRectangle(clBlack, clBlack, sd, bh - sd, ox + sd, bh);
    if (ox > 0)
        FrameRectangle(clBlack, kRulerColor, 0, oy, ox + 1, bh - sd);
    if (oy > 0)
        FrameRectangle(clBlack, kRulerColor, ox, 0, bw - sd, oy + 1);
}

void TFilePreview::DrawRulers(int32_t bw, int32_t bh) {
    const int32_t sd = shadowDepth_ > 0 ? shadowDepth_ : 0;
    const int32_t ox = LeftRulerWidth, oy = TopRulerHeight;
    TCanvas& canvas = GetCanvas();
    double stepX = (bw - sd - ox) / PageWidth;
    double stepY = (bh - sd - oy) / PageHeight;
    TFont& font = canvas.Font();
    font.SetName("Arial");
    font.SetSize(7);
    font.SetColor(clBlack);
    font.SetStyle(0);
    canvas.Handle().SetBkMode(TRANSPARENT);
    const bool inches = IsInchRuler(RulerType);
    if (inches) {
        stepX /= 8;
        stepY /= 8;
    } else {
        stepX /= 25.4;
        stepY /= 25.4;
    }
    std::string label;
    // Each loop stops at the sheet's edge; a step below a pixel would only
    // pile ticks on one another, so the loops also end after a bitmap's worth.
    if (HasHorizontalRuler(RulerType) && stepX > 0) {
        double x = ox + stepX;
        for (int32_t k = 1; Round(x) <= bw - (sd + 1) && k <= bw; ++k, x += stepX) {
            int32_t length = TickLength(inches, k, label);
            canvas.MoveTo(Round(x), oy);
            canvas.LineTo(Round(x), oy - length + 1);
            if (!label.empty())
                canvas.TextOut(Round(x) - canvas.TextWidth(label) - 1, 0, label);
        }
    }
    if (HasVerticalRuler(RulerType) && stepY > 0) {
        double y = oy + stepY;
        for (int32_t k = 1; Round(y) <= bh - (sd + 1) && k <= bh; ++k, y += stepY) {
            int32_t length = TickLength(inches, k, label);
            canvas.MoveTo(ox, Round(y));
            canvas.LineTo(ox - length + 1, Round(y));
            if (!label.empty())
                canvas.TextOut(2, Round(y) - canvas.TextHeight(label) - 1, label);
        }
    }
}

void TFilePreview::DrawGrid(int32_t bw, int32_t bh) {
    const int32_t sd = shadowDepth_ > 0 ? shadowDepth_ : 0;
    const int32_t ox = LeftRulerWidth, oy = TopRulerHeight;
    TCanvas& canvas = GetCanvas();
    if (GridHoriz > 0) {
        TPen saved;
        saved.Assign(canvas.Pen());
        canvas.Pen().Assign(gridPen_);
        double step = YDPI * GridHoriz * ZoomFactor / 100;
        // A step finer than a pixel lands several lines on one row; the
        // count is bounded so that such a grid cannot keep the page busy.
        if (step > 0) {
            int32_t lines = 0;
            for (double y = oy + step; Round(y) < bh - sd && lines <= 4 * bh; y += step, ++lines) {
                canvas.MoveTo(ox + 1, Round(y));
                canvas.LineTo(bw - (sd + 1), Round(y));
            }
        }
        canvas.Pen().Assign(saved);
    }
    if (GridVert > 0) {
        TPen saved;
        saved.Assign(canvas.Pen());
        canvas.Pen().Assign(gridPen_);
        double step = XDPI * GridVert * ZoomFactor / 100;
        if (step > 0) {
            int32_t lines = 0;
            for (double x = ox + step; Round(x) < bw - sd && lines <= 4 * bw; x += step, ++lines) {
                canvas.MoveTo(Round(x), oy + 1);
                canvas.LineTo(Round(x), bh - (sd + 1));
            }
        }
        canvas.Pen().Assign(saved);
    }
}

} // namespace rpt

// The canvas the engine draws on, its pen, brush and text background, and the
// destinations a drawing is carried out for.
#include "engine/TBaseReport.h"

#include "device/EQuillet.h"
#include "device/TQLDevice.h"
#include "device/Translate.h"
#include "platform/Graphics.h"
#include "platform/Rounding.h"

#include <cstdlib>

namespace rpt {

namespace {

// Thickness in inches of a negative pen width: hundredths of an inch down to
// -10000, ten-thousandths beyond.
double PenInches(int32_t width) {
    const int64_t magnitude = -static_cast<int64_t>(width);
    return magnitude <= 10000 ? magnitude / 100.0 : (magnitude - 10000) / 10000.0;
}

} // namespace

int32_t TBaseReport::OutputKind() const { return kOutputPrinter; }

TCanvas& TBaseReport::GetCanvas() {
    TQLDevice& device = Device();
    if (!device.Printing())
        throw EQuillet(Translate("Error!  Canvas not yet active."));
    return device.Canvas();
}

void TBaseReport::OutputToPreviewOnly() {
    OutputKinds = static_cast<uint8_t>((OutputKinds & ~(1u << kOutputPrinter)) |
                                       (1u << kOutputPreview));
}

void TBaseReport::OutputToPrinterOnly() {
    OutputKinds = static_cast<uint8_t>((OutputKinds & ~(1u << kOutputPreview)) |
                                       (1u << kOutputPrinter));
}

void TBaseReport::OutputToBoth() {
    OutputKinds = static_cast<uint8_t>(OutputKinds | (1u << kOutputPrinter) |
                                       (1u << kOutputPreview));
}

void TBaseReport::SetPen(TColor color, TPenStyle style, int32_t width, TPenMode mode) {
    TPen& pen = GetCanvas().Pen();
    pen.SetColor(color);
    pen.SetMode(mode);
    if (width >= 0) {
        pen.SetWidth(width);
    } else {
        const int32_t pixels = Round(PenInches(width) * XDPI * ScaleX * ZoomFactor / 10000);
        pen.SetWidth(pixels == 0 ? 1 : pixels);
    }
    pen.SetStyle(style);
}

std::unique_ptr<TPen> TBaseReport::CreatePen(TColor color, TPenStyle style, int32_t width,
                                             TPenMode mode) const {
    auto pen = std::make_unique<TPen>();
    pen->SetColor(color);
    pen->SetStyle(style);
    pen->SetMode(mode);
    if (width >= 0) {
        pen->SetWidth(width);
    } else {
        const double hundredths = -static_cast<double>(width);
        const int32_t pixels = Round(hundredths * XDPI * ScaleX * ZoomFactor / 1000000);
        pen->SetWidth(pixels == 0 ? 1 : pixels);
    }
    return pen;
}

void TBaseReport::SetBrush(TColor color, TBrushStyle style, const TBitmap* bitmap) {
    TBrush& brush = GetCanvas().Brush();
    brush.SetColor(color);
    brush.SetStyle(style);
    if (bitmap) {
        auto pattern = std::make_shared<TBitmap>();
        pattern->Assign(*bitmap);
        brush.SetPattern(std::move(pattern));
    }
}

TColor TBaseReport::SetBackColor(TColor color) {
    CheckPrinting();
    return GetCanvas().Handle().SetBkColor(color);
}

void TBaseReport::SetBackMode(uint8_t mode) { BackMode = mode; }

void TBaseReport::SetFrameMode(uint8_t mode) { FrameMode = mode; }

// Lines are always drawn at once, so there is never anything buffered.
void TBaseReport::ClearLineBuffers() {}

} // namespace rpt

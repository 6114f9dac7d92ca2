#include "canvas/TCanvasReport.h"

#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "platform/Graphics.h"
#include "platform/Rounding.h"
#include "platform/Stream.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace rpt {

TCanvasReport::TCanvasReport(TComponent* owner) : TBaseReport(owner) {}

bool TCanvasReport::BeginOutput() {
    CheckPrinting();
    return !OutputSuppressed();
}

int32_t TCanvasReport::LengthToDevX(double u) const {
    return Round(UnitToInchX(u) * (ScaleX * ZoomFactor / 10000) * XDPI);
}

int32_t TCanvasReport::LengthToDevY(double u) const {
    return Round(UnitToInchY(u) * (ScaleY * ZoomFactor / 10000) * YDPI);
}

void TCanvasReport::TabRectangle(double x1, double y1, double x2, double y2) {
    if (!BeginOutput())
        return;
    GetCanvas().Rectangle(UnitToDevX(x1), UnitToDevY(y1), UnitToDevX(x2) + 1,
                          UnitToDevY(y2) + 1);
}

void TCanvasReport::Arc(double x1, double y1, double x2, double y2, double x3, double y3,
                        double x4, double y4) {
    if (!BeginOutput())
        return;
    GetCanvas().Arc(UnitToDevX(x1), UnitToDevY(y1), UnitToDevX(x2), UnitToDevY(y2),
                    UnitToDevX(x3), UnitToDevY(y3), UnitToDevX(x4), UnitToDevY(y4));
}

void TCanvasReport::BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source,
                              TColor color) {
    if (!BeginOutput())
        return;
    GetCanvas().BrushCopy(dest, bitmap, source, color);
}

void TCanvasReport::Chord(double x1, double y1, double x2, double y2, double x3, double y3,
                          double x4, double y4) {
    if (!BeginOutput())
        return;
    GetCanvas().Chord(UnitToDevX(x1), UnitToDevY(y1), UnitToDevX(x2), UnitToDevY(y2),
                      UnitToDevX(x3), UnitToDevY(y3), UnitToDevX(x4), UnitToDevY(y4));
}

// A report file records a 32-bit number where the source canvas would be;
// no number designates a canvas of this program, so there is nothing to copy
// from and the report canvas is left as it is.
void TCanvasReport::CopyRect(const TRect&, int32_t, const TRect&) { BeginOutput(); }

void TCanvasReport::Draw(double x, double y, const TGraphic& graphic) {
    if (!BeginOutput())
        return;
    GetCanvas().Draw(UnitToDevX(x), UnitToDevY(y), graphic);
}

void TCanvasReport::DrawFocusRect(const TRect& rect) {
    if (!BeginOutput())
        return;
    GetCanvas().DrawFocusRect(rect);
}

TRect TCanvasReport::FramedBox(double x1, double y1, double x2, double y2) {
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    const TPen& pen = GetCanvas().Pen();
    int32_t inset = 0, extension = 0;
    if (pen.Style() == psClear) {
        inset = 0;
        extension = 0;
    } else if (pen.Style() == psInsideFrame || FrameMode == 1) {
        inset = 0;
        extension = 1;
    } else if (FrameMode == 0) {
        inset = pen.Width() / 2;
        extension = pen.Width() - inset;
    } else {
        // Other frame modes centre the line on the box edge, as mode 1 does.
        inset = 0;
        extension = 1;
    }
    return TRect{UnitToDevX(x1) + inset, UnitToDevY(y1) + inset,
                 UnitToDevX(x2) - extension + 2, UnitToDevY(y2) - extension + 2};
}

void TCanvasReport::Ellipse(double x1, double y1, double x2, double y2) {
    if (!BeginOutput())
        return;
    TRect box = FramedBox(x1, y1, x2, y2);
    GetCanvas().Ellipse(box.Left, box.Top, box.Right, box.Bottom);
}

void TCanvasReport::Rectangle(double x1, double y1, double x2, double y2) {
    if (!BeginOutput())
        return;
    TRect box = FramedBox(x1, y1, x2, y2);
    GetCanvas().Rectangle(box.Left, box.Top, box.Right, box.Bottom);
}

void TCanvasReport::FillRect(const TRect& rect) {
    if (!BeginOutput())
        return;
    GetCanvas().FillRect(rect);
}

void TCanvasReport::FloodFill(double x, double y, TColor color, TFillStyle fillStyle) {
    if (!BeginOutput())
        return;
    GetCanvas().FloodFill(UnitToDevX(x), UnitToDevY(y), color, fillStyle);
}

void TCanvasReport::FrameRect(const TRect& rect) {
    if (!BeginOutput())
        return;
    GetCanvas().FrameRect(rect);
}

// Lines are always drawn at once: no engine of this system buffers them.
void TCanvasReport::MoveTo(double x, double y) {
    if (!BeginOutput())
        return;
    GetCanvas().MoveTo(UnitToDevX(x), UnitToDevY(y));
    PenPosX = x + GetOriginX();
    PenPosY = y + GetOriginY();
}

void TCanvasReport::LineTo(double x, double y) {
    if (!BeginOutput())
        return;
    GetCanvas().LineTo(UnitToDevX(x), UnitToDevY(y));
}

void TCanvasReport::Pie(double x1, double y1, double x2, double y2, double x3, double y3,
                        double x4, double y4) {
    if (!BeginOutput())
        return;
    GetCanvas().Pie(UnitToDevX(x1), UnitToDevY(y1), UnitToDevX(x2), UnitToDevY(y2),
                    UnitToDevX(x3), UnitToDevY(y3), UnitToDevX(x4), UnitToDevY(y4));
}

void TCanvasReport::Polygon(std::span<const TPoint> points) {
    if (!BeginOutput())
        return;
    GetCanvas().Polygon(points);
}

void TCanvasReport::Polyline(std::span<const TPoint> points) {
    if (!BeginOutput())
        return;
    GetCanvas().Polyline(points);
}

void TCanvasReport::StretchBitmap(const TRect& dest, const TBitmap& bitmap) {
    const Dib& dib = bitmap.Pixels();
    if (dib.Empty())
        return;
    GetCanvas().Handle().StretchDIBits(dest, TRect{0, 0, dib.Width, dib.Height}, dib,
                                       BitmapRopAnd ? SRCAND : SRCCOPY);
}

void TCanvasReport::PrintBitmap(double x, double y, double scaleX, double scaleY,
                                const TBitmap& bitmap) {
    if (!BeginOutput())
        return;
    int32_t left = UnitToDevX(x), top = UnitToDevY(y);
    int32_t width = Round(bitmap.Width() * scaleX);
    int32_t height = Round(bitmap.Height() * scaleY);
    StretchBitmap(TRect{left, top, SaturatingAdd(left, width), SaturatingAdd(top, height)}, bitmap);
}

void TCanvasReport::PrintBitmapRect(double x1, double y1, double x2, double y2,
                                    const TBitmap& bitmap) {
    if (!BeginOutput())
        return;
    StretchBitmap(TRect{UnitToDevX(x1), UnitToDevY(y1), UnitToDevX(x2), UnitToDevY(y2)}, bitmap);
}

// No guard of its own: the handler runs even on a suppressed page, and
// PrintBitmapRect decides whether anything is drawn.
void TCanvasReport::PrintImageRect(double x1, double y1, double x2, double y2, TStream& image,
                                   const std::string& imageType) {
    if (!OnDecodeImage)
        return;
    TBitmap bitmap;
    OnDecodeImage(*this, image, imageType, bitmap);
    PrintBitmapRect(x1, y1, x2, y2, bitmap);
}

void TCanvasReport::RoundRect(double x1, double y1, double x2, double y2, double x3, double y3) {
    if (!BeginOutput())
        return;
    GetCanvas().RoundRect(UnitToDevX(x1), UnitToDevY(y1), UnitToDevX(x2), UnitToDevY(y2),
                          LengthToDevX(x3), LengthToDevY(y3));
}

void TCanvasReport::StretchDraw(const TRect& rect, const TGraphic& graphic) {
    if (!BeginOutput())
        return;
    GetCanvas().StretchDraw(rect, graphic);
}

void TCanvasReport::TextRect(const TRect& rect, double x, double y, const std::string& text) {
    if (!BeginOutput() || text.empty())
        return;
    SelectFont();
    struct Deselect {
        TCanvasReport& report;
        ~Deselect() { report.DeselectFont(); }
    } deselect{*this};
    TCanvas& canvas = GetCanvas();
    DeviceContext& dc = canvas.Handle();
    dc.SetTextAlign(TA_BASELINE | TA_LEFT);
    unsigned options = ETO_CLIPPED;
    if (canvas.Brush().Style() != bsClear)
        options |= ETO_OPAQUE;
    dc.ExtTextOut(UnitToDevX(x), UnitToDevY(y), options, &rect, text);
}

// Raw data goes to the printer device's own context, past the driver, in
// blocks of a 16-bit count and the bytes; a device without one takes nothing.
void TCanvasReport::SendRawData(const char* bytes, size_t count) {
    DeviceContext* handle = SharedDevice().Handle();
    if (!handle)
        return;
    std::string block;
    block.reserve(count + 2);
    block.push_back(static_cast<char>(count & 0xFF));
    block.push_back(static_cast<char>((count >> 8) & 0xFF));
    block.append(bytes, count);
    handle->Escape(PASSTHROUGH, block);
}

void TCanvasReport::PrintData(const std::string& data) {
    if (!BeginOutput() || data.empty())
        return;
    SendRawData(data.data(), std::min<size_t>(data.size(), 255));
}

void TCanvasReport::PrintDataStream(TStream& stream, int32_t count) {
    if (!BeginOutput())
        return;
    int64_t total = count;
    if (total == 0)
        total = stream.Remaining();
    if (total <= 0)
        return;
    constexpr int64_t kBlock = 4096;
    std::vector<char> buffer(kBlock);
    int64_t blocks = total / kBlock + 1;
    for (int64_t i = 1; i <= blocks; ++i) {
        int64_t n = i < blocks ? kBlock : total % kBlock;
        if (n <= 0)
            continue;
        stream.ReadBuffer(buffer.data(), n);
        SendRawData(buffer.data(), static_cast<size_t>(n));
    }
}

void TCanvasReport::NewPage() {
    TBaseReport::NewPage();
    SharedDevice().PageBreak(!SkipPage);
    ReadDeviceMetrics();
}

} // namespace rpt

#include "platform/Canvas.h"

#include "platform/Graphics.h"
#include "platform/RasterDeviceContext.h"
#include "platform/Rounding.h"

#include <algorithm>

namespace rpt {

void TGraphicsObject::Changed() {
    if (OnChange)
        OnChange(this);
}

void TPen::SetColor(TColor value) {
    if (value == color_)
        return;
    color_ = value;
    Changed();
}

void TPen::SetMode(TPenMode value) {
    if (value == mode_)
        return;
    mode_ = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value) {
    if (value == style_)
        return;
    style_ = value;
    Changed();
}

void TPen::SetWidth(int32_t value) {
    // A negative width means nothing to the platform's pen; it keeps its width.
    if (value < 0)
        return;
    // Wider than any device, and narrow enough that a shape's box can grow
    // by it without overflowing a coordinate.
    value = std::min(value, kMaxPenWidth);
    if (value == width_)
        return;
    width_ = value;
    Changed();
}

void TPen::Assign(const TPen& other) {
    if (&other == this)
        return;
    color_ = other.color_;
    mode_ = other.mode_;
    style_ = other.style_;
    width_ = other.width_;
    Changed();
}

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::SetColor(TColor value) {
    if (value == color_ && style_ != bsClear)
        return;
    color_ = value;
    // A colour makes a clear brush paint again, as the platform's brush does.
    if (style_ == bsClear)
        style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value == style_)
        return;
    style_ = value;
    if (style_ == bsClear)
        pattern_.reset();
    Changed();
}

TBitmap& TBrush::Bitmap() {
    if (!pattern_) {
        pattern_ = std::make_shared<TBitmap>();
        // Loading a pattern into it changes what the brush paints.
        pattern_->OnChange = [this] { Changed(); };
    }
    return *pattern_;
}

bool TBrush::HasPattern() const { return pattern_ && !pattern_->Empty(); }

void TBrush::SetPattern(std::shared_ptr<TBitmap> pattern) {
    pattern_ = std::move(pattern);
    Changed();
}

void TBrush::Assign(const TBrush& other) {
    if (&other == this)
        return;
    color_ = other.color_;
    style_ = other.style_;
    pattern_ = other.pattern_;
    Changed();
}

LogBrush TBrush::Description() const {
    LogBrush brush{style_, color_, nullptr};
    if (HasPattern() && style_ != bsClear) {
        brush.Pattern = std::make_shared<Dib>(pattern_->Pixels());
        brush.Monochrome = pattern_->Monochrome();
    }
    return brush;
}

int32_t TFont::Size() const {
    int32_t ppi = pixelsPerInch_ > 0 ? pixelsPerInch_ : 96;
    return -Round(static_cast<double>(height_) * 72.0 / ppi);
}

void TFont::SetName(const std::string& value) {
    if (value.empty() || value == name_)
        return;
    name_ = value;
    handle_.reset();
    Changed();
}

void TFont::SetColor(TColor value) {
    if (value == color_)
        return;
    color_ = value;
    Changed();
}

void TFont::SetCharset(uint8_t value) {
    if (value == charset_)
        return;
    charset_ = value;
    handle_.reset();
    Changed();
}

void TFont::SetPitch(TFontPitch value) {
    if (value == pitch_)
        return;
    pitch_ = value;
    handle_.reset();
    Changed();
}

void TFont::SetHeight(int32_t value) {
    if (value == height_)
        return;
    height_ = value;
    handle_.reset();
    Changed();
}

void TFont::SetSize(int32_t points) {
    int32_t ppi = pixelsPerInch_ > 0 ? pixelsPerInch_ : 96;
    SetHeight(-Round(static_cast<double>(points) * ppi / 72.0));
}

void TFont::SetStyle(TFontStyles value) {
    value &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (value == style_)
        return;
    style_ = value;
    handle_.reset();
    Changed();
}

void TFont::Assign(const TFont& other) {
    if (&other == this)
        return;
    name_ = other.name_;
    color_ = other.color_;
    charset_ = other.charset_;
    pitch_ = other.pitch_;
    height_ = other.height_;
    style_ = other.style_;
    pixelsPerInch_ = other.pixelsPerInch_;
    handle_ = other.handle_;
    Changed();
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LogFont description;
        description.Height = height_;
        description.Weight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        description.Italic = (style_ & fsItalic) != 0;
        description.Underline = (style_ & fsUnderline) != 0;
        description.StrikeOut = (style_ & fsStrikeOut) != 0;
        description.CharSet = charset_;
        description.PitchAndFamily = pitch_ == fpFixed      ? FIXED_PITCH
                                     : pitch_ == fpVariable ? VARIABLE_PITCH
                                                            : DEFAULT_PITCH;
        description.FaceName = name_;
        handle_ = Font::Create(description);
    }
    return handle_;
}

TCanvas::TCanvas() {
    pen_.OnChange = [this](TGraphicsObject*) { penValid_ = false; };
    brush_.OnChange = [this](TGraphicsObject*) { brushValid_ = false; };
    font_.OnChange = [this](TGraphicsObject*) { fontValid_ = false; };
}

TCanvas::~TCanvas() = default;

DeviceContext& TCanvas::Handle() {
    if (!handle_) {
        handle_ = CreateHandle();
        if (!handle_)
            throw EInvalidOperation("Canvas does not allow drawing");
        Refresh();
    }
    return *handle_;
}

void TCanvas::SetHandle(DeviceContext* handle) {
    handle_ = handle;
    Refresh();
}

void TCanvas::Refresh() {
    penValid_ = false;
    brushValid_ = false;
    fontValid_ = false;
}

DeviceContext* TCanvas::CreateHandle() { throw EInvalidOperation("Canvas does not allow drawing"); }

void TCanvas::RequirePen() {
    DeviceContext& dc = Handle();
    if (penValid_)
        return;
    dc.SelectPen(pen_.Description());
    dc.SetROP2(PenModeToROP2(pen_.Mode()));
    penValid_ = true;
}

void TCanvas::RequireBrush() {
    DeviceContext& dc = Handle();
    if (brushValid_)
        return;
    dc.SelectBrush(brush_.Description());
    if (brush_.Style() == bsSolid) {
        dc.SetBkColor(static_cast<TColor>(ColorToRGB(brush_.Color())));
        dc.SetBkMode(OPAQUE);
    } else {
        dc.SetBkColor(static_cast<TColor>(~ColorToRGB(brush_.Color()) & 0xFFFFFFu));
        dc.SetBkMode(TRANSPARENT);
    }
    brushValid_ = true;
}

void TCanvas::RequireFont() {
    DeviceContext& dc = Handle();
    if (fontValid_)
        return;
    dc.SelectFont(font_.Handle());
    dc.SetTextColor(static_cast<TColor>(ColorToRGB(font_.Color())));
    fontValid_ = true;
}

void TCanvas::MoveTo(int32_t x, int32_t y) { Handle().MoveTo(x, y); }

void TCanvas::LineTo(int32_t x, int32_t y) {
    RequirePen();
    RequireBrush();
    Handle().LineTo(x, y);
}

TPoint TCanvas::PenPos() {
    DeviceContext& dc = Handle();
    TPoint position = dc.MoveTo(0, 0);
    dc.MoveTo(position.X, position.Y);
    return position;
}

void TCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    RequirePen();
    RequireBrush();
    Handle().Rectangle(x1, y1, x2, y2);
}

void TCanvas::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    RequirePen();
    RequireBrush();
    Handle().RoundRect(x1, y1, x2, y2, x3, y3);
}

void TCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    RequirePen();
    RequireBrush();
    Handle().Ellipse(x1, y1, x2, y2);
}

void TCanvas::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                  int32_t x4, int32_t y4) {
    RequirePen();
    RequireBrush();
    Handle().Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                    int32_t x4, int32_t y4) {
    RequirePen();
    RequireBrush();
    Handle().Chord(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                  int32_t x4, int32_t y4) {
    RequirePen();
    RequireBrush();
    Handle().Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    RequirePen();
    RequireBrush();
    Handle().Polygon(points);
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    RequirePen();
    RequireBrush();
    Handle().Polyline(points);
}

void TCanvas::FillRect(const TRect& rect) {
    RequireBrush();
    Handle().FillRect(rect, brush_.Description());
}

void TCanvas::FrameRect(const TRect& rect) {
    RequireBrush();
    Handle().FrameRect(rect, brush_.Description());
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    RequireBrush();
    Handle().DrawFocusRect(rect);
}

void TCanvas::FloodFill(int32_t x, int32_t y, TColor color, TFillStyle style) {
    RequireBrush();
    Handle().ExtFloodFill(x, y, static_cast<TColor>(ColorToRGB(color)),
                          style == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source,
                        TColor color) {
    const Dib& pixels = bitmap.Pixels();
    TRect from{std::max(source.Left, 0), std::max(source.Top, 0),
               std::min(source.Right, pixels.Width), std::min(source.Bottom, pixels.Height)};
    if (from.Right <= from.Left || from.Bottom <= from.Top)
        return;
    // The pixels of `color` become transparent over a fill with the brush.
    Dib cut(from.Width(), from.Height());
    cut.HasAlpha = true;
    uint32_t key = ColorToRGB(color);
    uint32_t keyPixel = 0xFF000000u | (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    for (int32_t y = 0; y < cut.Height; ++y)
        for (int32_t x = 0; x < cut.Width; ++x) {
            uint32_t pixel = pixels.At(from.Left + x, from.Top + y) | 0xFF000000u;
            cut.At(x, y) = pixel == keyPixel ? 0u : pixel;
        }
    RequireBrush();
    DeviceContext& dc = Handle();
    if (brush_.Style() != bsClear || brush_.HasPattern())
        dc.FillRect(dest, brush_.Description());
    dc.DrawIcon(dest, cut);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    RequireBrush();
    DeviceContext& dc = Handle();
    // Only a canvas that paints on pixels has something to copy from.
    auto* raster = dynamic_cast<RasterDeviceContext*>(&source.Handle());
    if (!raster)
        return;
    const Dib& pixels = raster->Target();
    TRect from{std::max(sourceRect.Left, 0), std::max(sourceRect.Top, 0),
               std::min(sourceRect.Right, pixels.Width), std::min(sourceRect.Bottom, pixels.Height)};
    if (from.Right <= from.Left || from.Bottom <= from.Top)
        return;
    Dib cut(from.Width(), from.Height());
    for (int32_t y = 0; y < cut.Height; ++y)
        std::copy_n(&pixels.Pixels[static_cast<size_t>(from.Top + y) * pixels.Width + from.Left],
                    cut.Width, &cut.Pixels[static_cast<size_t>(y) * cut.Width]);
    dc.StretchDIBits(dest, TRect{0, 0, cut.Width, cut.Height}, cut, CopyMode);
}

void TCanvas::Draw(int32_t x, int32_t y, const TGraphic& graphic) {
    if (graphic.Empty())
        return;
    const DeviceContext& dc = Handle();
    TSize size = graphic.SizeOnDevice(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
    graphic.Draw(*this, TRect{x, y, SaturatingAdd(x, size.cx), SaturatingAdd(y, size.cy)});
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic) {
    if (graphic.Empty())
        return;
    graphic.Draw(*this, rect);
}

void TCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    RequireFont();
    RequireBrush();
    Handle().TextOut(x, y, text);
    MoveTo(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& rect, int32_t x, int32_t y, std::string_view text) {
    RequireFont();
    RequireBrush();
    unsigned options = ETO_CLIPPED;
    if (brush_.Style() != bsClear)
        options |= ETO_OPAQUE;
    Handle().ExtTextOut(x, y, options, &rect, text);
}

TSize TCanvas::TextExtent(std::string_view text) {
    RequireFont();
    return Handle().GetTextExtentPoint(text);
}

} // namespace rpt

#pragma once
// The canvas: pen, brush and font objects over a device context. It selects
// its objects into the context before each of its own drawing calls, as the
// platform's canvas does; code that talks to the context directly (the text
// writer's font selection) restores what it changed. Selecting the brush also
// sets the background: opaque in the brush colour for a solid brush,
// transparent otherwise, so hatches never paint their gaps.
#include "platform/DeviceContext.h"
#include "platform/Exceptions.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace rpt {

class TBitmap;
class TGraphic;

enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t; // a set of TFontStyle bits
enum TFillStyle : uint8_t { fsSurface, fsBorder };

// A call the object cannot carry out in its state, such as drawing on a
// canvas that has no device context.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// A drawing object whose changes are announced to its canvas (and, for the
// font, to whoever listens: the engine's font synchronisation).
class TGraphicsObject {
public:
    virtual ~TGraphicsObject() = default;
    std::function<void(TGraphicsObject*)> OnChange;

protected:
    void Changed();
};

// The widest pen: 2^27 pixels, some 220,000 inches at 600 dpi.
constexpr int32_t kMaxPenWidth = 1 << 27;

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    TPenMode Mode() const { return mode_; }
    TPenStyle Style() const { return style_; }
    int32_t Width() const { return width_; }
    void SetColor(TColor value);
    void SetMode(TPenMode value);
    void SetStyle(TPenStyle value);
    void SetWidth(int32_t value);
    // Copies colour, mode, style and width.
    void Assign(const TPen& other);
    LogPen Description() const { return LogPen{style_, width_, color_}; }

private:
    TColor color_ = clBlack;
    TPenMode mode_ = pmCopy;
    TPenStyle style_ = psSolid;
    int32_t width_ = 1;
};

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;
    TColor Color() const { return color_; }
    TBrushStyle Style() const { return style_; }
    void SetColor(TColor value);
    void SetStyle(TBrushStyle value);
    // The pattern bitmap; the brush owns it. Created empty on first use, so a
    // report command can load a pattern into it.
    TBitmap& Bitmap();
    bool HasPattern() const;
    void SetPattern(std::shared_ptr<TBitmap> pattern);
    std::shared_ptr<TBitmap> Pattern() const { return pattern_; }
    void Assign(const TBrush& other);
    LogBrush Description() const;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    std::shared_ptr<TBitmap> pattern_;
};

class TFont : public TGraphicsObject {
public:
    const std::string& Name() const { return name_; }
    TColor Color() const { return color_; }
    uint8_t Charset() const { return charset_; }
    TFontPitch Pitch() const { return pitch_; }
    // Pixels; negative is a character height, positive a cell height.
    int32_t Height() const { return height_; }
    // Points, from the height and PixelsPerInch.
    int32_t Size() const;
    TFontStyles Style() const { return style_; }
    int32_t PixelsPerInch() const { return pixelsPerInch_; }

    // An empty name is ignored, as the platform's font does.
    void SetName(const std::string& value);
    void SetColor(TColor value);
    void SetCharset(uint8_t value);
    void SetPitch(TFontPitch value);
    void SetHeight(int32_t value);
    void SetSize(int32_t points);
    void SetStyle(TFontStyles value);
    void SetPixelsPerInch(int32_t value) { pixelsPerInch_ = value; }
    void Assign(const TFont& other);
    // The realised font for these attributes; made on demand and kept until
    // an attribute changes.
    HFONT Handle() const;

private:
    std::string name_ = "Arial";
    TColor color_ = clBlack;
    uint8_t charset_ = 1;
    TFontPitch pitch_ = fpDefault;
    int32_t height_ = -13;
    TFontStyles style_ = 0;
    int32_t pixelsPerInch_ = 96;
    mutable HFONT handle_;
};

class TCanvas {
public:
    TCanvas();
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }
    const TPen& Pen() const { return pen_; }
    const TBrush& Brush() const { return brush_; }
    const TFont& Font() const { return font_; }

    // The device context; a canvas without one asks CreateHandle for it.
    // Raises when no context can be had.
    DeviceContext& Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Attaches a context (not owned) or detaches with null.
    void SetHandle(DeviceContext* handle);
    // Forgets which objects are selected, so the next drawing selects them again.
    void Refresh();

    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    TPoint PenPos();
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3);
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
             int32_t y4);
    void Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
               int32_t y4);
    void Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
             int32_t y4);
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void DrawFocusRect(const TRect& rect);
    void FloodFill(int32_t x, int32_t y, TColor color, TFillStyle style);
    // Copies Source of the bitmap to Dest, painting its pixels of `color` with the brush.
    void BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source, TColor color);
    // Copies Source of the other canvas onto Dest of this one.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
    void Draw(int32_t x, int32_t y, const TGraphic& graphic);
    void StretchDraw(const TRect& rect, const TGraphic& graphic);
    void TextOut(int32_t x, int32_t y, std::string_view text);
    void TextRect(const TRect& rect, int32_t x, int32_t y, std::string_view text);
    TSize TextExtent(std::string_view text);
    int32_t TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int32_t TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // Raster operation used by CopyRect.
    uint32_t CopyMode = SRCCOPY;

protected:
    // Supplies a context when one is needed and none is attached; the base
    // canvas has none to give and raises.
    virtual DeviceContext* CreateHandle();

private:
    void RequirePen();
    void RequireBrush();
    void RequireFont();

    TPen pen_;
    TBrush brush_;
    TFont font_;
    DeviceContext* handle_ = nullptr;
    bool penValid_ = false;
    bool brushValid_ = false;
    bool fontValid_ = false;
};

} // namespace rpt

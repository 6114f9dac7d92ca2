#pragma once
// The device context: the drawing contract every page is played through. It
// speaks the platform's GDI: a selected pen, brush and font, text alignment,
// background mode and colour, text colour, a current position and a binary
// raster mode, with calls in device pixels. Backends: the raster context on a
// bitmap (preview), the PDF page (printing), the recording context (tests)
// and the text collector (`rpt text`). No drawing code asks which backend it
// talks to; where a backend cannot do a thing it says so in GetDeviceCaps.
#include "platform/Color.h"
#include "platform/Dib.h"
#include "platform/Font.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rpt {

// Pen styles, brush styles and pen modes carry the platform's ordinals, as the
// report file stores them.
enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TBrushStyle : uint8_t {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};
enum TPenMode : uint8_t {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

// Binary raster operations of SetROP2.
enum : int {
    R2_BLACK = 1, R2_NOTMERGEPEN, R2_MASKNOTPEN, R2_NOTCOPYPEN, R2_MASKPENNOT, R2_NOT,
    R2_XORPEN, R2_NOTMASKPEN, R2_MASKPEN, R2_NOTXORPEN, R2_NOP, R2_MERGENOTPEN,
    R2_COPYPEN, R2_MERGEPENNOT, R2_MERGEPEN, R2_WHITE
};
// The R2 code of a pen mode.
int PenModeToROP2(TPenMode mode);

// Ternary raster operations of the bitmap calls.
constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t SRCPAINT = 0x00EE0086;
constexpr uint32_t SRCAND = 0x008800C6;
constexpr uint32_t SRCINVERT = 0x00660046;
constexpr uint32_t SRCERASE = 0x00440328;
constexpr uint32_t NOTSRCCOPY = 0x00330008;
constexpr uint32_t NOTSRCERASE = 0x001100A6;
constexpr uint32_t MERGECOPY = 0x00C000CA;
constexpr uint32_t MERGEPAINT = 0x00BB0226;
constexpr uint32_t PATCOPY = 0x00F00021;
constexpr uint32_t PATPAINT = 0x00FB0A09;
constexpr uint32_t PATINVERT = 0x005A0049;
constexpr uint32_t DSTINVERT = 0x00550009;
constexpr uint32_t BLACKNESS = 0x00000042;
constexpr uint32_t WHITENESS = 0x00FF0062;

// Text alignment flags.
constexpr unsigned TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6;
constexpr unsigned TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24;
constexpr unsigned TA_UPDATECP = 1;
// Background modes.
constexpr int TRANSPARENT = 1, OPAQUE = 2;
// ExtTextOut options.
constexpr unsigned ETO_OPAQUE = 2, ETO_CLIPPED = 4;
// Flood fill types.
constexpr int FLOODFILLBORDER = 0, FLOODFILLSURFACE = 1;
// Polygon fill modes.
constexpr int ALTERNATE = 1, WINDING = 2;
// Arc directions.
constexpr int AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2;
// Escape codes.
constexpr int PASSTHROUGH = 19;

// GetDeviceCaps indices.
enum : int {
    TECHNOLOGY = 2, HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12,
    PLANES = 14, NUMCOLORS = 24, RASTERCAPS = 38, LOGPIXELSX = 88, LOGPIXELSY = 90,
    PHYSICALWIDTH = 110, PHYSICALHEIGHT = 111, PHYSICALOFFSETX = 112, PHYSICALOFFSETY = 113,
};
// TECHNOLOGY values and RASTERCAPS bits.
constexpr int DT_RASDISPLAY = 1, DT_RASPRINTER = 2, DT_METAFILE = 5;
constexpr int RC_BITBLT = 0x0001, RC_STRETCHDIB = 0x2000, RC_FLOODFILL = 0x1000,
              RC_ROP2 = 0x40000; // RC_ROP2: binary raster modes are honoured exactly

struct LogPen {
    TPenStyle Style = psSolid;
    int32_t Width = 1; // pixels; 0 draws one pixel wide
    TColor Color = clBlack;
    friend bool operator==(const LogPen&, const LogPen&) = default;
};

struct LogBrush {
    TBrushStyle Style = bsSolid;
    TColor Color = clWhite;
    // When set the brush paints this pattern (tiled from the origin) and the
    // style is not used; monochrome patterns take the text and background colours.
    std::shared_ptr<const Dib> Pattern;
    // A pattern from a monochrome bitmap: its black pixels take the text
    // colour and its white pixels the background colour.
    bool Monochrome = false;
    friend bool operator==(const LogBrush& a, const LogBrush& b) {
        return a.Style == b.Style && a.Color == b.Color && a.Pattern == b.Pattern &&
               a.Monochrome == b.Monochrome;
    }
};

// An affine map from logical to device coordinates:
// x' = x * eM11 + y * eM21 + eDx, y' = x * eM12 + y * eM22 + eDy.
struct XForm {
    double eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
    friend bool operator==(const XForm&, const XForm&) = default;
};

class DeviceContext {
public:
    virtual ~DeviceContext() = default;

    // Capabilities and metrics, by the GetDeviceCaps indices above.
    virtual int GetDeviceCaps(int index) const = 0;

    // Selected objects and attributes; each setter answers the previous value.
    virtual void SelectPen(const LogPen& pen) = 0;
    virtual void SelectBrush(const LogBrush& brush) = 0;
    // A null font selects the context's stock system font.
    virtual HFONT SelectFont(HFONT font) = 0;
    virtual int SetROP2(int rop2) = 0;
    virtual unsigned SetTextAlign(unsigned align) = 0;
    virtual int SetBkMode(int mode) = 0;
    virtual int GetBkMode() const = 0;
    virtual TColor SetBkColor(TColor color) = 0;
    virtual TColor SetTextColor(TColor color) = 0;
    virtual int SetPolyFillMode(int mode) = 0;
    virtual int SetArcDirection(int direction) = 0;

    // State stack, world transform and clipping, used by the metafile player.
    // RestoreDC(-1) restores the last saved state.
    virtual int SaveDC() = 0;
    virtual void RestoreDC(int saved) = 0;
    virtual void SetWorldTransform(const XForm& transform) = 0;
    virtual XForm GetWorldTransform() const = 0;
    // In logical coordinates; clipping accumulates until ResetClip.
    virtual void IntersectClipRect(const TRect& rect) = 0;
    virtual void ResetClip() = 0;

    // Lines and shapes, GDI's geometry: right and bottom edges of the
    // bounding boxes are exclusive, LineTo leaves out its end point.
    virtual TPoint MoveTo(int32_t x, int32_t y) = 0;
    virtual void LineTo(int32_t x, int32_t y) = 0;
    virtual void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) = 0;
    virtual void RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t w, int32_t h) = 0;
    virtual void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) = 0;
    virtual void Arc(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3, int32_t y3,
                     int32_t x4, int32_t y4) = 0;
    virtual void Chord(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3, int32_t y3,
                       int32_t x4, int32_t y4) = 0;
    virtual void Pie(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3, int32_t y3,
                     int32_t x4, int32_t y4) = 0;
    virtual void Polygon(std::span<const TPoint> points) = 0;
    virtual void Polyline(std::span<const TPoint> points) = 0;
    virtual void PolyPolygon(std::span<const TPoint> points, std::span<const int32_t> counts) = 0;
    virtual void PolyBezier(std::span<const TPoint> points) = 0;
    virtual void SetPixel(int32_t x, int32_t y, TColor color) = 0;
    virtual void FillRect(const TRect& rect, const LogBrush& brush) = 0;
    virtual void FrameRect(const TRect& rect, const LogBrush& brush) = 0;
    virtual void DrawFocusRect(const TRect& rect) = 0;
    // Answers false when the backend cannot flood fill (no RC_FLOODFILL) or
    // the start point lies outside the surface.
    virtual bool ExtFloodFill(int32_t x, int32_t y, TColor color, int type) = 0;
    // Fills the rectangle with the selected brush under a raster operation.
    virtual void PatBlt(const TRect& rect, uint32_t rop) = 0;

    // Text in the selected font; bytes are decoded with the font's character set.
    virtual void TextOut(int32_t x, int32_t y, std::string_view bytes) = 0;
    virtual void ExtTextOut(int32_t x, int32_t y, unsigned options, const TRect* rect,
                            std::string_view bytes) = 0;
    virtual TSize GetTextExtentPoint(std::string_view bytes) = 0;
    virtual TextMetric GetTextMetrics() = 0;
    virtual std::vector<uint8_t> EnumFontCharsets(std::string_view faceName) = 0;

    // Bitmaps: the source rectangle of the DIB stretched onto the destination
    // under a ternary raster operation (SRCCOPY, SRCAND, ...).
    virtual void StretchDIBits(const TRect& dest, const TRect& source, const Dib& dib,
                               uint32_t rop) = 0;
    // A bitmap with alpha (an icon) composed over the destination.
    virtual void DrawIcon(const TRect& dest, const Dib& icon) = 0;

    // Raw printer data; answers 0 when the device takes none.
    virtual int Escape(int code, std::string_view data) = 0;
};

} // namespace rpt

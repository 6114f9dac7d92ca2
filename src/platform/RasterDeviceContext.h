#pragma once
// The device context of a bitmap: it draws into a Dib's pixels with GDI's
// pixel geometry (right and bottom edges exclusive, LineTo leaving out its
// end point), all sixteen binary raster modes, hatch and pattern brushes,
// and text in realised fonts. The Dib must outlive the context and keep its
// size while the context exists.
#include "platform/DeviceContext.h"

#include <memory>

namespace rpt {

class VectorPageSurface;

class RasterDeviceContext : public DeviceContext {
public:
    RasterDeviceContext(Dib& target, int dpiX, int dpiY);
    ~RasterDeviceContext() override;
    RasterDeviceContext(const RasterDeviceContext&) = delete;
    RasterDeviceContext& operator=(const RasterDeviceContext&) = delete;

    const Dib& Target() const;
    // A monochrome bitmap answers two colours and reduces what is drawn
    // to black and white when asked to.
    void SetMonochrome(bool value);
    // Maps every pixel to black or white by its brightness.
    void ReduceToMonochrome();
    // Draws on a vector page instead of the bitmap from now on, in the same
    // pixel geometry (null: back to the bitmap). The page outlives its use.
    void DrawOnPage(VectorPageSurface* page);

    int GetDeviceCaps(int index) const override;
    void SelectPen(const LogPen& pen) override;
    void SelectBrush(const LogBrush& brush) override;
    HFONT SelectFont(HFONT font) override;
    int SetROP2(int rop2) override;
    unsigned SetTextAlign(unsigned align) override;
    int SetBkMode(int mode) override;
    int GetBkMode() const override;
    TColor SetBkColor(TColor color) override;
    TColor SetTextColor(TColor color) override;
    int SetPolyFillMode(int mode) override;
    int SetArcDirection(int direction) override;
    int SaveDC() override;
    void RestoreDC(int saved) override;
    void SetWorldTransform(const XForm& transform) override;
    XForm GetWorldTransform() const override;
    void IntersectClipRect(const TRect& rect) override;
    void ResetClip() override;
    TPoint MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override;
    void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override;
    void RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t w, int32_t h) override;
    void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override;
    void Arc(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3, int32_t y3, int32_t x4,
             int32_t y4) override;
    void Chord(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3, int32_t y3, int32_t x4,
               int32_t y4) override;
    void Pie(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3, int32_t y3, int32_t x4,
             int32_t y4) override;
    void Polygon(std::span<const TPoint> points) override;
    void Polyline(std::span<const TPoint> points) override;
    void PolyPolygon(std::span<const TPoint> points, std::span<const int32_t> counts) override;
    void PolyBezier(std::span<const TPoint> points) override;
    void SetPixel(int32_t x, int32_t y, TColor color) override;
    void FillRect(const TRect& rect, const LogBrush& brush) override;
    void FrameRect(const TRect& rect, const LogBrush& brush) override;
    void DrawFocusRect(const TRect& rect) override;
    bool ExtFloodFill(int32_t x, int32_t y, TColor color, int type) override;
    void PatBlt(const TRect& rect, uint32_t rop) override;
    void TextOut(int32_t x, int32_t y, std::string_view bytes) override;
    void ExtTextOut(int32_t x, int32_t y, unsigned options, const TRect* rect,
                    std::string_view bytes) override;
    TSize GetTextExtentPoint(std::string_view bytes) override;
    TextMetric GetTextMetrics() override;
    std::vector<uint8_t> EnumFontCharsets(std::string_view faceName) override;
    void StretchDIBits(const TRect& dest, const TRect& source, const Dib& dib,
                       uint32_t rop) override;
    void DrawIcon(const TRect& dest, const Dib& icon) override;
    int Escape(int code, std::string_view data) override;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace rpt

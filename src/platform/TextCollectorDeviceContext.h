#pragma once
// A device context that draws nothing and collects the text of every
// TextOut and ExtTextOut, decoded to UTF-8 with the selected font's
// character set: one entry per call, in call order. It keeps the selected
// font and attributes like any context, so text is measured as on paper.
#include "platform/DeviceContext.h"
#include "platform/DeviceState.h"

#include <string>
#include <vector>

namespace rpt {

struct CollectedText {
    int32_t X = 0;
    int32_t Y = 0;
    std::string Utf8;
};

class TextCollectorDeviceContext : public DeviceContext {
public:
    explicit TextCollectorDeviceContext(int dpi = 300, int width = 2550, int height = 3300);

    const std::vector<CollectedText>& Texts() const { return texts_; }
    void Clear() { texts_.clear(); }

    int GetDeviceCaps(int index) const override;
    void SelectPen(const LogPen& pen) override { state_.Pen = pen; }
    void SelectBrush(const LogBrush& brush) override { state_.Brush = brush; }
    HFONT SelectFont(HFONT font) override;
    int SetROP2(int rop2) override;
    unsigned SetTextAlign(unsigned align) override;
    int SetBkMode(int mode) override;
    int GetBkMode() const override { return state_.BkMode; }
    TColor SetBkColor(TColor color) override;
    TColor SetTextColor(TColor color) override;
    int SetPolyFillMode(int mode) override;
    int SetArcDirection(int direction) override;
    int SaveDC() override { return saved_.Save(state_); }
    void RestoreDC(int saved) override { saved_.Restore(saved, state_); }
    void SetWorldTransform(const XForm& transform) override { state_.Transform = transform; }
    XForm GetWorldTransform() const override { return state_.Transform; }
    void IntersectClipRect(const TRect& rect) override;
    void ResetClip() override { state_.Clip.clear(); }
    TPoint MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override { state_.Position = TPoint{x, y}; }
    void Rectangle(int32_t, int32_t, int32_t, int32_t) override {}
    void RoundRect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void Ellipse(int32_t, int32_t, int32_t, int32_t) override {}
    void Arc(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void Chord(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void Pie(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void Polygon(std::span<const TPoint>) override {}
    void Polyline(std::span<const TPoint>) override {}
    void PolyPolygon(std::span<const TPoint>, std::span<const int32_t>) override {}
    void PolyBezier(std::span<const TPoint>) override {}
    void SetPixel(int32_t, int32_t, TColor) override {}
    void FillRect(const TRect&, const LogBrush&) override {}
    void FrameRect(const TRect&, const LogBrush&) override {}
    void DrawFocusRect(const TRect&) override {}
    // There are no pixels to fill.
    bool ExtFloodFill(int32_t, int32_t, TColor, int) override { return false; }
    void PatBlt(const TRect&, uint32_t) override {}
    void TextOut(int32_t x, int32_t y, std::string_view bytes) override;
    void ExtTextOut(int32_t x, int32_t y, unsigned options, const TRect* rect,
                    std::string_view bytes) override;
    TSize GetTextExtentPoint(std::string_view bytes) override;
    TextMetric GetTextMetrics() override;
    std::vector<uint8_t> EnumFontCharsets(std::string_view faceName) override;
    void StretchDIBits(const TRect&, const TRect&, const Dib&, uint32_t) override {}
    void DrawIcon(const TRect&, const Dib&) override {}
    int Escape(int, std::string_view) override { return 0; }

private:
    int dpi_, width_, height_;
    DeviceState state_;
    DeviceStateStack saved_;
    std::vector<CollectedText> texts_;
};

} // namespace rpt

#pragma once
// A device context that draws nothing and keeps the text it is asked to
// draw: one entry per TextOut or ExtTextOut, decoded to UTF-8 with the
// selected font's character set. It measures with the selected font's real
// metrics, so the engine lays text out exactly as on the other backends.
#include "platform/DeviceContext.h"
#include "platform/DeviceState.h"

#include <string>
#include <vector>

namespace rpt {

class TextCollectorDeviceContext : public DeviceContext {
public:
    explicit TextCollectorDeviceContext(int dpi = 96) : dpi_(dpi) {}

    struct Entry {
        std::string Bytes;   // as drawn
        uint8_t Charset = 1; // of the font it was drawn in
        std::string Utf8;
    };
    const std::vector<Entry>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

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
    int SaveDC() override { return stack_.Save(state_); }
    void RestoreDC(int saved) override { stack_.Restore(saved, state_); }
    void SetWorldTransform(const XForm& transform) override { state_.Transform = transform; }
    XForm GetWorldTransform() const override { return state_.Transform; }
    void IntersectClipRect(const TRect&) override {}
    void ResetClip() override {}
    TPoint MoveTo(int32_t x, int32_t y) override;
    void LineTo(int32_t x, int32_t y) override { state_.Position = TPoint{x, y}; }
    // Shapes, fills and bitmaps carry no text.
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
    const Font& CurrentFont() const;
    void Collect(std::string_view bytes);

    int dpi_;
    DeviceState state_;
    DeviceStateStack stack_;
    std::vector<Entry> entries_;
};

} // namespace rpt

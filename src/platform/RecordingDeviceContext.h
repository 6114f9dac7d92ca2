#pragma once
// A device context that draws nothing and writes one readable line per call
// into its log, such as "Rectangle(300, 300, 601, 601)", "SetTextAlign(24)"
// or "TextOut(10, 301, \"abc\")". It keeps the selected objects and the
// attributes so setters answer their previous values, and measures text with
// the selected font's real metrics. Queries (GetDeviceCaps, GetBkMode,
// GetWorldTransform, GetTextExtentPoint, GetTextMetrics, EnumFontCharsets)
// change nothing and write no line.
//
// Line formats: colours are "#RRGGBB" (system colours and other values with a
// high byte as "$XXXXXXXX"); raster operations "$00CC0020"; text bytes are
// quoted, with '"' and '\' escaped and bytes outside printable ASCII as \xNN;
// point lists "[(x, y), (x, y)]"; a font as
// "SelectFont(height, width, escapement, weight, italic, underline,
// strikeout, charset, pitchAndFamily, \"face\")" with 0/1 for the flags,
// "SelectFont(null)" for the stock font.
#include "platform/DeviceContext.h"
#include "platform/DeviceState.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace rpt {

class RecordingDeviceContext : public DeviceContext {
public:
    // Answers a 300 dpi letter-size printer page until told otherwise.
    RecordingDeviceContext();

    void SetDeviceCaps(int index, int value) { caps_[index] = value; }
    // What Escape answers (0 unless set).
    void SetEscapeResult(int value) { escapeResult_ = value; }

    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    // The lines of one call, by its name ("TextOut" finds "TextOut(...)" lines only).
    std::vector<std::string> Calls(std::string_view name) const;
    // The whole log, one line each, joined with newlines.
    std::string Text() const;

    const DeviceState& State() const { return state_; }
    HFONT CurrentFont() const { return state_.Font; }

    int GetDeviceCaps(int index) const override;
    void SelectPen(const LogPen& pen) override;
    void SelectBrush(const LogBrush& brush) override;
    HFONT SelectFont(HFONT font) override;
    int SetROP2(int rop2) override;
    unsigned SetTextAlign(unsigned align) override;
    int SetBkMode(int mode) override;
    int GetBkMode() const override { return state_.BkMode; }
    TColor SetBkColor(TColor color) override;
    TColor SetTextColor(TColor color) override;
    int SetPolyFillMode(int mode) override;
    int SetArcDirection(int direction) override;
    int SaveDC() override;
    void RestoreDC(int saved) override;
    void SetWorldTransform(const XForm& transform) override;
    XForm GetWorldTransform() const override { return state_.Transform; }
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

private:
    void Write(std::string line) { log_.push_back(std::move(line)); }

    std::map<int, int> caps_;
    int escapeResult_ = 0;
    DeviceState state_;
    DeviceStateStack saved_;
    std::vector<std::string> log_;
};

// The readable forms the log uses, for tests that build expected lines.
std::string FormatColor(TColor color);
std::string FormatBytes(std::string_view bytes);
std::string FormatPenStyle(TPenStyle style);
std::string FormatBrushStyle(TBrushStyle style);

} // namespace rpt

#include "platform/RecordingDeviceContext.h"

#include <cstdio>
#include <iterator>
#include <sstream>
#include <utility>

namespace rpt {

namespace {

std::string Hex8(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", value);
    return text;
}

std::string Number(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string Join(std::initializer_list<int64_t> values) {
    std::string text;
    for (int64_t value : values) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(value);
    }
    return text;
}

std::string Call(std::string_view name, const std::string& arguments) {
    std::string line(name);
    line += '(';
    line += arguments;
    line += ')';
    return line;
}

std::string FormatRect(const TRect& rect) {
    return Join({rect.Left, rect.Top, rect.Right, rect.Bottom});
}

std::string FormatPoints(std::span<const TPoint> points) {
    std::string text = "[";
    for (size_t i = 0; i < points.size(); ++i) {
        if (i)
            text += ", ";
        text += "(" + Join({points[i].X, points[i].Y}) + ")";
    }
    return text + "]";
}

std::string FormatBrush(const LogBrush& brush) {
    if (brush.Pattern)
        return "pattern, " + std::to_string(brush.Pattern->Width) + "x" +
               std::to_string(brush.Pattern->Height);
    return FormatBrushStyle(brush.Style) + ", " + FormatColor(brush.Color);
}

std::string FormatFont(const HFONT& font) {
    if (!font)
        return "null";
    const LogFont& f = font->Description();
    return Join({f.Height, f.Width, f.Escapement, f.Weight, f.Italic, f.Underline, f.StrikeOut,
                 f.CharSet, f.PitchAndFamily}) +
           ", " + FormatBytes(f.FaceName);
}

} // namespace

std::string FormatColor(TColor color) {
    auto value = static_cast<uint32_t>(color);
    if (value & 0xFF000000u)
        return Hex8(value);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(value), GetGValue(value),
                  GetBValue(value));
    return text;
}

std::string FormatBytes(std::string_view bytes) {
    std::string text = "\"";
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            text += '\\';
            text += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            text += escape;
        } else {
            text += static_cast<char>(c);
        }
    }
    return text + "\"";
}

std::string FormatPenStyle(TPenStyle style) {
    static const char* const names[] = {"psSolid", "psDash", "psDot", "psDashDot",
                                        "psDashDotDot", "psClear", "psInsideFrame"};
    return style < std::size(names) ? names[style] : "ps" + std::to_string(style);
}

std::string FormatBrushStyle(TBrushStyle style) {
    static const char* const names[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                        "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
    return style < std::size(names) ? names[style] : "bs" + std::to_string(style);
}

RecordingDeviceContext::RecordingDeviceContext() {
    caps_ = {
        {TECHNOLOGY, DT_RASPRINTER}, {HORZSIZE, 216}, {VERTSIZE, 279}, {HORZRES, 2550},
        {VERTRES, 3300}, {BITSPIXEL, 24}, {PLANES, 1}, {NUMCOLORS, -1},
        {RASTERCAPS, RC_BITBLT | RC_STRETCHDIB | RC_FLOODFILL | RC_ROP2},
        {LOGPIXELSX, 300}, {LOGPIXELSY, 300}, {PHYSICALWIDTH, 2550}, {PHYSICALHEIGHT, 3300},
        {PHYSICALOFFSETX, 0}, {PHYSICALOFFSETY, 0},
    };
    state_.Font = StockSystemFont();
}

std::vector<std::string> RecordingDeviceContext::Calls(std::string_view name) const {
    std::string prefix(name);
    prefix += '(';
    std::vector<std::string> lines;
    for (const std::string& line : log_)
        if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line);
    return lines;
}

std::string RecordingDeviceContext::Text() const {
    std::string text;
    for (const std::string& line : log_) {
        text += line;
        text += '\n';
    }
    return text;
}

int RecordingDeviceContext::GetDeviceCaps(int index) const {
    auto found = caps_.find(index);
    return found == caps_.end() ? 0 : found->second;
}

void RecordingDeviceContext::SelectPen(const LogPen& pen) {
    state_.Pen = pen;
    Write(Call("SelectPen", FormatPenStyle(pen.Style) + ", " + std::to_string(pen.Width) + ", " +
                                FormatColor(pen.Color)));
}

void RecordingDeviceContext::SelectBrush(const LogBrush& brush) {
    state_.Brush = brush;
    Write(Call("SelectBrush", FormatBrush(brush)));
}

HFONT RecordingDeviceContext::SelectFont(HFONT font) {
    Write(Call("SelectFont", FormatFont(font)));
    HFONT previous = state_.Font;
    state_.Font = font ? std::move(font) : StockSystemFont();
    return previous;
}

int RecordingDeviceContext::SetROP2(int rop2) {
    Write(Call("SetROP2", std::to_string(rop2)));
    return std::exchange(state_.Rop2, rop2);
}

unsigned RecordingDeviceContext::SetTextAlign(unsigned align) {
    Write(Call("SetTextAlign", std::to_string(align)));
    return std::exchange(state_.TextAlign, align);
}

int RecordingDeviceContext::SetBkMode(int mode) {
    Write(Call("SetBkMode", std::to_string(mode)));
    return std::exchange(state_.BkMode, mode);
}

TColor RecordingDeviceContext::SetBkColor(TColor color) {
    Write(Call("SetBkColor", FormatColor(color)));
    return std::exchange(state_.BkColor, color);
}

TColor RecordingDeviceContext::SetTextColor(TColor color) {
    Write(Call("SetTextColor", FormatColor(color)));
    return std::exchange(state_.TextColor, color);
}

int RecordingDeviceContext::SetPolyFillMode(int mode) {
    Write(Call("SetPolyFillMode", std::to_string(mode)));
    return std::exchange(state_.PolyFillMode, mode);
}

int RecordingDeviceContext::SetArcDirection(int direction) {
    Write(Call("SetArcDirection", std::to_string(direction)));
    return std::exchange(state_.ArcDirection, direction);
}

int RecordingDeviceContext::SaveDC() {
    Write("SaveDC()");
    return saved_.Save(state_);
}

void RecordingDeviceContext::RestoreDC(int saved) {
    Write(Call("RestoreDC", std::to_string(saved)));
    saved_.Restore(saved, state_);
}

void RecordingDeviceContext::SetWorldTransform(const XForm& t) {
    state_.Transform = t;
    Write(Call("SetWorldTransform", Number(t.eM11) + ", " + Number(t.eM12) + ", " +
                                        Number(t.eM21) + ", " + Number(t.eM22) + ", " +
                                        Number(t.eDx) + ", " + Number(t.eDy)));
}

void RecordingDeviceContext::IntersectClipRect(const TRect& rect) {
    state_.Clip.push_back(ClipRect{rect, state_.Transform});
    Write(Call("IntersectClipRect", FormatRect(rect)));
}

void RecordingDeviceContext::ResetClip() {
    state_.Clip.clear();
    Write("ResetClip()");
}

TPoint RecordingDeviceContext::MoveTo(int32_t x, int32_t y) {
    Write(Call("MoveTo", Join({x, y})));
    return std::exchange(state_.Position, TPoint{x, y});
}

void RecordingDeviceContext::LineTo(int32_t x, int32_t y) {
    Write(Call("LineTo", Join({x, y})));
    state_.Position = TPoint{x, y};
}

void RecordingDeviceContext::Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) {
    Write(Call("Rectangle", Join({l, t, r, b})));
}

void RecordingDeviceContext::RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t w,
                                       int32_t h) {
    Write(Call("RoundRect", Join({l, t, r, b, w, h})));
}

void RecordingDeviceContext::Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) {
    Write(Call("Ellipse", Join({l, t, r, b})));
}

void RecordingDeviceContext::Arc(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3,
                                 int32_t y3, int32_t x4, int32_t y4) {
    Write(Call("Arc", Join({l, t, r, b, x3, y3, x4, y4})));
}

void RecordingDeviceContext::Chord(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3,
                                   int32_t y3, int32_t x4, int32_t y4) {
    Write(Call("Chord", Join({l, t, r, b, x3, y3, x4, y4})));
}

void RecordingDeviceContext::Pie(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3,
                                 int32_t y3, int32_t x4, int32_t y4) {
    Write(Call("Pie", Join({l, t, r, b, x3, y3, x4, y4})));
}

void RecordingDeviceContext::Polygon(std::span<const TPoint> points) {
    Write(Call("Polygon", FormatPoints(points)));
}

void RecordingDeviceContext::Polyline(std::span<const TPoint> points) {
    Write(Call("Polyline", FormatPoints(points)));
}

void RecordingDeviceContext::PolyPolygon(std::span<const TPoint> points,
                                         std::span<const int32_t> counts) {
    std::string list = "[";
    for (size_t i = 0; i < counts.size(); ++i)
        list += (i ? ", " : "") + std::to_string(counts[i]);
    Write(Call("PolyPolygon", FormatPoints(points) + ", " + list + "]"));
}

void RecordingDeviceContext::PolyBezier(std::span<const TPoint> points) {
    Write(Call("PolyBezier", FormatPoints(points)));
}

void RecordingDeviceContext::SetPixel(int32_t x, int32_t y, TColor color) {
    Write(Call("SetPixel", Join({x, y}) + ", " + FormatColor(color)));
}

void RecordingDeviceContext::FillRect(const TRect& rect, const LogBrush& brush) {
    Write(Call("FillRect", FormatRect(rect) + ", " + FormatBrush(brush)));
}

void RecordingDeviceContext::FrameRect(const TRect& rect, const LogBrush& brush) {
    Write(Call("FrameRect", FormatRect(rect) + ", " + FormatBrush(brush)));
}

void RecordingDeviceContext::DrawFocusRect(const TRect& rect) {
    Write(Call("DrawFocusRect", FormatRect(rect)));
}

bool RecordingDeviceContext::ExtFloodFill(int32_t x, int32_t y, TColor color, int type) {
    Write(Call("ExtFloodFill", Join({x, y}) + ", " + FormatColor(color) + ", " +
                                   std::to_string(type)));
    return (GetDeviceCaps(RASTERCAPS) & RC_FLOODFILL) != 0;
}

void RecordingDeviceContext::PatBlt(const TRect& rect, uint32_t rop) {
    Write(Call("PatBlt", FormatRect(rect) + ", " + Hex8(rop)));
}

void RecordingDeviceContext::TextOut(int32_t x, int32_t y, std::string_view bytes) {
    Write(Call("TextOut", Join({x, y}) + ", " + FormatBytes(bytes)));
    if (state_.TextAlign & TA_UPDATECP)
        state_.Position.X += GetTextExtentPoint(bytes).cx;
}

void RecordingDeviceContext::ExtTextOut(int32_t x, int32_t y, unsigned options,
                                        const TRect* rect, std::string_view bytes) {
    Write(Call("ExtTextOut", Join({x, y, options}) + ", " +
                                 (rect ? "(" + FormatRect(*rect) + ")" : std::string("null")) +
                                 ", " + FormatBytes(bytes)));
    if (state_.TextAlign & TA_UPDATECP)
        state_.Position.X += GetTextExtentPoint(bytes).cx;
}

TSize RecordingDeviceContext::GetTextExtentPoint(std::string_view bytes) {
    return state_.Font->TextExtent(bytes);
}

TextMetric RecordingDeviceContext::GetTextMetrics() { return state_.Font->Metrics(); }

std::vector<uint8_t> RecordingDeviceContext::EnumFontCharsets(std::string_view faceName) {
    return rpt::EnumFontCharsets(faceName);
}

void RecordingDeviceContext::StretchDIBits(const TRect& dest, const TRect& source,
                                           const Dib& dib, uint32_t rop) {
    Write(Call("StretchDIBits", FormatRect(dest) + ", " + FormatRect(source) + ", " +
                                    std::to_string(dib.Width) + "x" +
                                    std::to_string(dib.Height) + ", " + Hex8(rop)));
}

void RecordingDeviceContext::DrawIcon(const TRect& dest, const Dib& icon) {
    Write(Call("DrawIcon", FormatRect(dest) + ", " + std::to_string(icon.Width) + "x" +
                               std::to_string(icon.Height)));
}

int RecordingDeviceContext::Escape(int code, std::string_view data) {
    Write(Call("Escape", std::to_string(code) + ", " + FormatBytes(data)));
    return escapeResult_;
}

} // namespace rpt

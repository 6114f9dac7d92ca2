#include "cli/OperandText.h"

#include "cli/TextFormat.h"

#include <cstdio>
#include <string_view>

namespace rpt::cli {

namespace {

std::string Colour(int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<uint32_t>(value));
    return buffer;
}

std::string Point(double x, double y) { return "(" + SingleText(x) + ", " + SingleText(y) + ")"; }

std::string Rect(const TInchRect& r) { return Point(r.Left, r.Top) + "-" + Point(r.Right, r.Bottom); }

std::string Graphic(const TGraphicBlock& g) {
    static const char* kinds[] = {"?", "bitmap", "metafile", "icon"};
    std::string text = std::string(kinds[g.Kind < 4 ? g.Kind : 0]) + " " +
                       std::to_string(g.Data.size()) + " bytes";
    if (g.ByReference)
        text += " at offset " + std::to_string(g.Offset);
    return text;
}

std::string Flag(bool on) { return on ? "1" : "0"; }

struct Describe {
    const TOperandSpec& operand;
    std::string operator()(const TAbsent&) const { return {}; }
    std::string operator()(int32_t v) const {
        return std::string_view(operand.Name).find("colour") != std::string_view::npos ? Colour(v)
                                                                                   : std::to_string(v);
    }
    std::string operator()(double v) const { return SingleText(v); }
    std::string operator()(const std::string& v) const { return QuotedText(v); }
    std::string operator()(const TInchPoint& p) const { return Point(p.X, p.Y); }
    std::string operator()(const TInchRect& r) const { return Rect(r); }
    std::string operator()(const std::vector<TInchPoint>& points) const {
        std::string text = std::to_string(points.size()) + (points.size() == 1 ? " point" : " points");
        for (const TInchPoint& p : points)
            text += " " + Point(p.X, p.Y);
        return text;
    }
    std::string operator()(const TGraphicBlock& g) const { return Graphic(g); }
    std::string operator()(const TPatternValue& p) const { return p.Bitmap ? Graphic(*p.Bitmap) : "none"; }
    std::string operator()(const TBrushValue& b) const {
        return "colour " + Colour(b.Color) + " style " + std::to_string(b.Style) + " pattern " +
               (b.Pattern ? Graphic(*b.Pattern) : "none");
    }
    std::string operator()(const TPenValue& p) const {
        return "colour " + Colour(p.Color) + " mode " + std::to_string(p.Mode) + " style " +
               std::to_string(p.Style) + " width " + SingleText(p.Width);
    }
    std::string operator()(const TFontValue& f) const {
        return QuotedText(f.Name) + " colour " + Colour(f.Color) + " pitch " + std::to_string(f.Pitch) +
               " charset " + std::to_string(f.Charset) + " height " + SingleText(f.Height) + " bold " +
               Flag(f.Bold) + " italic " + Flag(f.Italic) + " underline " + Flag(f.Underline) +
               " strike-out " + Flag(f.StrikeOut) + " rotation " + std::to_string(f.Rotation);
    }
    std::string operator()(const TImageValue& i) const {
        return std::to_string(i.Data.size()) + " bytes type " + QuotedText(i.Type) + " rect " + Rect(i.Rect);
    }
    std::string operator()(const TRawData& r) const { return std::to_string(r.Count) + " bytes"; }
};

} // namespace

std::string OperandText(const TOperandSpec& operand, const TOperandValue& value) {
    std::string text = std::visit(Describe{operand}, value);
    if (std::holds_alternative<TAbsent>(value))
        return {};
    std::string name = operand.Name;
    for (char& c : name)
        if (c == ' ')
            c = '_';
    return name + "=" + text;
}

} // namespace rpt::cli

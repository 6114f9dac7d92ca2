#include "platform/TextCollectorDeviceContext.h"

#include "platform/TextCodec.h"

#include <utility>

namespace rpt {

int TextCollectorDeviceContext::GetDeviceCaps(int index) const {
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return dpi_;
    case TECHNOLOGY: return DT_METAFILE;
    case NUMCOLORS: return -1;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case HORZRES:
    case PHYSICALWIDTH: return dpi_ * 17 / 2;
    case VERTRES:
    case PHYSICALHEIGHT: return dpi_ * 11;
    default: return 0;
    }
}

HFONT TextCollectorDeviceContext::SelectFont(HFONT font) {
    if (!font)
        font = StockSystemFont();
    return std::exchange(state_.Font, std::move(font));
}

int TextCollectorDeviceContext::SetROP2(int rop2) { return std::exchange(state_.Rop2, rop2); }
unsigned TextCollectorDeviceContext::SetTextAlign(unsigned align) {
    return std::exchange(state_.TextAlign, align);
}
int TextCollectorDeviceContext::SetBkMode(int mode) { return std::exchange(state_.BkMode, mode); }
TColor TextCollectorDeviceContext::SetBkColor(TColor color) {
    return std::exchange(state_.BkColor, color);
}
TColor TextCollectorDeviceContext::SetTextColor(TColor color) {
    return std::exchange(state_.TextColor, color);
}
int TextCollectorDeviceContext::SetPolyFillMode(int mode) {
    return std::exchange(state_.PolyFillMode, mode);
}
int TextCollectorDeviceContext::SetArcDirection(int direction) {
    return std::exchange(state_.ArcDirection, direction);
}

TPoint TextCollectorDeviceContext::MoveTo(int32_t x, int32_t y) {
    return std::exchange(state_.Position, TPoint{x, y});
}

const Font& TextCollectorDeviceContext::CurrentFont() const {
    return state_.Font ? *state_.Font : *StockSystemFont();
}

void TextCollectorDeviceContext::Collect(std::string_view bytes) {
    uint8_t charset = CurrentFont().Description().CharSet;
    entries_.push_back(Entry{std::string(bytes), charset, DecodeToUtf8(bytes, charset)});
}

void TextCollectorDeviceContext::TextOut(int32_t, int32_t, std::string_view bytes) {
    Collect(bytes);
}

void TextCollectorDeviceContext::ExtTextOut(int32_t, int32_t, unsigned, const TRect*,
                                            std::string_view bytes) {
    Collect(bytes);
}

TSize TextCollectorDeviceContext::GetTextExtentPoint(std::string_view bytes) {
    return CurrentFont().TextExtent(bytes);
}

TextMetric TextCollectorDeviceContext::GetTextMetrics() { return CurrentFont().Metrics(); }

std::vector<uint8_t> TextCollectorDeviceContext::EnumFontCharsets(std::string_view faceName) {
    return rpt::EnumFontCharsets(faceName);
}

} // namespace rpt

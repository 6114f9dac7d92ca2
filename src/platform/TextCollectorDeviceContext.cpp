#include "platform/TextCollectorDeviceContext.h"

#include "platform/TextCodec.h"

#include <utility>

namespace rpt {

TextCollectorDeviceContext::TextCollectorDeviceContext(int dpi, int width, int height)
    : dpi_(dpi), width_(width), height_(height) {
    state_.Font = StockSystemFont();
}

int TextCollectorDeviceContext::GetDeviceCaps(int index) const {
    switch (index) {
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZRES:
    case PHYSICALWIDTH: return width_;
    case VERTRES:
    case PHYSICALHEIGHT: return height_;
    case LOGPIXELSX:
    case LOGPIXELSY: return dpi_;
    case HORZSIZE: return dpi_ > 0 ? static_cast<int>(width_ * 254LL / (dpi_ * 10LL)) : 0;
    case VERTSIZE: return dpi_ > 0 ? static_cast<int>(height_ * 254LL / (dpi_ * 10LL)) : 0;
    case BITSPIXEL: return 24;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHDIB;
    default: return 0;
    }
}

HFONT TextCollectorDeviceContext::SelectFont(HFONT font) {
    HFONT previous = state_.Font;
    state_.Font = font ? std::move(font) : StockSystemFont();
    return previous;
}

int TextCollectorDeviceContext::SetROP2(int rop2) { return std::exchange(state_.Rop2, rop2); }
unsigned TextCollectorDeviceContext::SetTextAlign(unsigned align) { return std::exchange(state_.TextAlign, align); }
int TextCollectorDeviceContext::SetBkMode(int mode) { return std::exchange(state_.BkMode, mode); }
TColor TextCollectorDeviceContext::SetBkColor(TColor color) { return std::exchange(state_.BkColor, color); }
TColor TextCollectorDeviceContext::SetTextColor(TColor color) { return std::exchange(state_.TextColor, color); }
int TextCollectorDeviceContext::SetPolyFillMode(int mode) { return std::exchange(state_.PolyFillMode, mode); }
int TextCollectorDeviceContext::SetArcDirection(int direction) {
    return std::exchange(state_.ArcDirection, direction);
}

void TextCollectorDeviceContext::IntersectClipRect(const TRect& rect) {
    state_.Clip.push_back(ClipRect{rect, state_.Transform});
}

TPoint TextCollectorDeviceContext::MoveTo(int32_t x, int32_t y) {
    return std::exchange(state_.Position, TPoint{x, y});
}

void TextCollectorDeviceContext::TextOut(int32_t x, int32_t y, std::string_view bytes) {
    texts_.push_back(CollectedText{x, y, DecodeToUtf8(bytes, state_.Font->Metrics().tmCharSet)});
}

void TextCollectorDeviceContext::ExtTextOut(int32_t x, int32_t y, unsigned, const TRect*,
                                            std::string_view bytes) {
    TextOut(x, y, bytes);
}

TSize TextCollectorDeviceContext::GetTextExtentPoint(std::string_view bytes) {
    return state_.Font->TextExtent(bytes);
}

TextMetric TextCollectorDeviceContext::GetTextMetrics() { return state_.Font->Metrics(); }

std::vector<uint8_t> TextCollectorDeviceContext::EnumFontCharsets(std::string_view faceName) {
    return rpt::EnumFontCharsets(faceName);
}

} // namespace rpt

#include "device/ShadeToColor.h"

namespace rpt {

TColor ShadeToColor(TColor color, uint8_t percent) {
    const int p = percent > 100 ? 100 : percent;
    const uint32_t rgb = ColorToRGB(color);
    auto mix = [p](int c) { return static_cast<uint8_t>(c + ((255 - c) * (100 - p)) / 100); };
    return RGB(mix(GetRValue(rgb)), mix(GetGValue(rgb)), mix(GetBValue(rgb)));
}

} // namespace rpt

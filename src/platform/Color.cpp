#include "platform/Color.h"

namespace rpt {

uint32_t ColorToRGB(TColor color) {
    auto value = static_cast<uint32_t>(color);
    if (value & 0x80000000u) {
        // The classic Windows system colours, by COLOR_ index.
        static const uint32_t system[] = {
            0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
            0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
            0x808080, 0x808080, 0x000000, 0x000000, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
            0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xD77800, 0xC8D0D4,
        };
        uint32_t index = value & 0xFF;
        return index < sizeof system / sizeof system[0] ? system[index] : 0;
    }
    return value & 0x00FFFFFFu;
}

} // namespace rpt

#include "platform/RasterOperations.h"

namespace rpt {

uint32_t ColorToPixel(TColor color) {
    uint32_t rgb = ColorToRGB(color);
    return 0xFF000000u | (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}

uint32_t ApplyRop3(uint32_t rop, uint32_t pattern, uint32_t source, uint32_t dest) {
    unsigned table = (rop >> 16) & 0xFF;
    uint32_t result = 0;
    for (unsigned index = 0; index < 8; ++index) {
        if (!(table & (1u << index)))
            continue;
        uint32_t p = (index & 4) ? pattern : ~pattern;
        uint32_t s = (index & 2) ? source : ~source;
        uint32_t d = (index & 1) ? dest : ~dest;
        result |= p & s & d;
    }
    return result & 0x00FFFFFFu;
}

bool Rop3UsesPattern(uint32_t rop) {
    unsigned table = (rop >> 16) & 0xFF;
    return ((table >> 4) & 0x0F) != (table & 0x0F);
}

bool Rop3UsesSource(uint32_t rop) {
    unsigned table = (rop >> 16) & 0xFF;
    return ((table >> 2) & 0x33) != (table & 0x33);
}

} // namespace rpt

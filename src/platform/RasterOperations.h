#pragma once
// Bitwise raster operations on 24-bit pixels (0x00RRGGBB; the alpha byte is
// the caller's), GDI's 8x8 hatch cells and the colour-to-pixel conversion.
#include "platform/Color.h"
#include "platform/DeviceContext.h"

#include <cstdint>

namespace rpt {

// The pixel 0xFFRRGGBB of a colour (system colours resolved).
uint32_t ColorToPixel(TColor color);

// A binary raster operation (R2_*) of pen P and destination D. Inline: it
// runs once for every pixel a shape covers.
inline uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dest) {
    if (rop2 == R2_COPYPEN || rop2 < R2_BLACK || rop2 > R2_WHITE)
        return pen & 0x00FFFFFFu;
    // R2 code minus one is the truth table, indexed by P * 2 + D.
    const unsigned table = static_cast<unsigned>(rop2 - 1);
    uint32_t result = 0;
    if (table & 8)
        result |= pen & dest;
    if (table & 4)
        result |= pen & ~dest;
    if (table & 2)
        result |= ~pen & dest;
    if (table & 1)
        result |= ~pen & ~dest;
    return result & 0x00FFFFFFu;
}
// A ternary raster operation (SRCCOPY, PATINVERT, ...) of pattern P, source S
// and destination D, from the operation's truth table in bits 16..23.
uint32_t ApplyRop3(uint32_t rop, uint32_t pattern, uint32_t source, uint32_t dest);
// Whether the raster operation reads the pattern or the source at all.
bool Rop3UsesPattern(uint32_t rop);
bool Rop3UsesSource(uint32_t rop);

// Whether the hatch style draws its line at device pixel (x, y); the cells
// are anchored at the device origin.
inline bool HatchCovers(TBrushStyle style, int64_t x, int64_t y) {
    const int cx = static_cast<int>(x & 7);
    const int cy = static_cast<int>(y & 7);
    const bool horizontal = cy == 7;
    const bool vertical = cx == 7;
    const bool forward = cx == cy;      // top left to bottom right
    const bool backward = cx + cy == 7; // bottom left to top right
    switch (style) {
    case bsHorizontal: return horizontal;
    case bsVertical: return vertical;
    case bsFDiagonal: return forward;
    case bsBDiagonal: return backward;
    case bsCross: return horizontal || vertical;
    case bsDiagCross: return forward || backward;
    default: return true;
    }
}

} // namespace rpt

#pragma once
// Mixing a colour toward white for shaded cells.
#include "platform/Color.h"

#include <cstdint>

namespace rpt {

// 100 percent (or more) gives the colour itself, 0 gives white; each channel
// moves toward 255 in proportion, rounded down.
TColor ShadeToColor(TColor color, uint8_t percent);

} // namespace rpt

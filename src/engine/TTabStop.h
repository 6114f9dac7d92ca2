#pragma once
// One cell of a tab-stop layout.
#include <cstdint>

namespace rpt {

struct TTabStop {
    double Position = 0;     // inches, from the left edge of the current column
    uint8_t Justify = 1;     // 0 centre, 1 left, 2 right, 3 block
    double Width = 0;        // inches; 0 or less draws no box
    double Margin = 0;       // inches, inside on both sides
    bool LeftBorder = false;
    bool RightBorder = false;
    bool TopBorder = false;
    bool BottomBorder = false;
    uint8_t Shade = 0;       // percent; 0 takes the engine's ShadePercent
};

} // namespace rpt

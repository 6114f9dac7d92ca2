#pragma once
// The attributes a device context keeps between calls, and the stack that
// SaveDC and RestoreDC walk. Shared by the backends so they agree on what a
// saved state holds and how saved levels are numbered.
#include "platform/DeviceContext.h"

#include <vector>

namespace rpt {

struct ClipRect {
    TRect Rect;       // logical coordinates
    XForm Transform;  // the world transform in force when it was intersected
};

struct DeviceState {
    LogPen Pen;
    LogBrush Brush;
    HFONT Font;
    int Rop2 = R2_COPYPEN;
    unsigned TextAlign = TA_LEFT | TA_TOP;
    int BkMode = OPAQUE;
    TColor BkColor = clWhite;
    TColor TextColor = clBlack;
    int PolyFillMode = ALTERNATE;
    int ArcDirection = AD_COUNTERCLOCKWISE;
    TPoint Position;
    XForm Transform;
    // The clip is the intersection of these; empty means no clip.
    std::vector<ClipRect> Clip;
};

// Saved levels are numbered from 1; RestoreDC(n) with n > 0 returns to the
// state saved as level n, with n < 0 to the level that many saves back.
class DeviceStateStack {
public:
    // Answers the level of the saved state.
    int Save(const DeviceState& state);
    // Answers false (and changes nothing) for a level that was never saved.
    bool Restore(int saved, DeviceState& state);
    int Depth() const { return static_cast<int>(saved_.size()); }

private:
    std::vector<DeviceState> saved_;
};

// The GDI stock system font, selected where a null font is asked for.
HFONT StockSystemFont();

} // namespace rpt

#include "platform/RasterDeviceContext.h"

#include <gtest/gtest.h>

namespace rpt {
namespace {

constexpr int kSize = 48;

// A background of many colours, so every raster mode changes something.
Dib Background() {
    Dib dib(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            dib.At(x, y) = 0xFF000000u | (((x * 0x051F37u) ^ (y * 0x2B0913u)) & 0xFFFFFFu);
    return dib;
}

struct Drawing {
    int Rop2;
    TPenStyle Pen;
    TBrushStyle Brush;
    int BkMode;
};

// Plain bitmaps take a shortcut through the pen and brush compositing that a
// clip region turns off; both must give the same pixels.
Dib Draw(const Drawing& d, bool throughClipRegion) {
    Dib dib = Background();
    RasterDeviceContext dc(dib, 96, 96);
    if (throughClipRegion) {
        // A clip turned a quarter round is a region, not a box; this one
        // still covers the whole bitmap.
        dc.SetWorldTransform(XForm{0, 1, -1, 0, 0, 0});
        dc.IntersectClipRect(TRect{-1000, -1000, 1000, 1000});
        dc.SetWorldTransform(XForm{});
    }
    dc.SetROP2(d.Rop2);
    dc.SetBkMode(d.BkMode);
    dc.SetBkColor(RGB(0, 128, 255));
    dc.SelectPen(LogPen{d.Pen, 1, RGB(200, 30, 90)});
    dc.SelectBrush(LogBrush{d.Brush, RGB(20, 220, 60), nullptr});
    dc.Rectangle(3, 4, 30, 26);
    dc.Ellipse(14, 12, 45, 44);
    dc.MoveTo(0, 47);
    dc.LineTo(47, 2);
    return dib;
}

TEST(RasterClipRegion, PenAndBrushGiveTheSamePixelsInsideAClipRegionAsWithout) {
    for (int rop = R2_BLACK; rop <= R2_WHITE; ++rop)
        for (TPenStyle pen : {psSolid, psDash, psClear})
            for (TBrushStyle brush : {bsSolid, bsClear, bsHorizontal, bsFDiagonal, bsDiagCross})
                for (int bkMode : {TRANSPARENT, OPAQUE}) {
                    Drawing d{rop, pen, brush, bkMode};
                    Dib plain = Draw(d, false);
                    const bool drawsNothing = rop == R2_NOP || (pen == psClear && brush == bsClear);
                    ASSERT_EQ(plain.Pixels == Background().Pixels, drawsNothing) << "rop " << rop;
                    ASSERT_EQ(plain.Pixels, Draw(d, true).Pixels)
                        << "rop " << rop << " pen " << static_cast<int>(pen) << " brush " << static_cast<int>(brush) << " bk " << bkMode;
                }
}

} // namespace
} // namespace rpt

#include "platform/RasterDeviceContext.h"
#include "platform/Font.h"

#include <gtest/gtest.h>

#include <climits>

namespace rpt {
namespace {

Dib TextAtEscapement(int32_t escapement) {
    LogFont f;
    f.Height = -30;
    f.Escapement = escapement;
    f.Quality = 3;
    f.FaceName = "Arial";
    Dib dib(160, 160);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectFont(Font::Create(f));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_BASELINE);
    dc.TextOut(80, 80, "HHH");
    return dib;
}

int InkPixels(const Dib& dib) {
    int count = 0;
    for (uint32_t pixel : dib.Pixels)
        count += pixel != 0xFFFFFFFFu;
    return count;
}

TEST(RasterTextEscapement, ExtremeEscapementTurnsTheTextLikeTheSameAngleWithinOneTurn) {
    // INT_MIN tenths of a degree are 596,523 whole turns and -84.8 degrees more.
    Dib extreme = TextAtEscapement(INT_MIN);
    EXPECT_EQ(extreme.Pixels, TextAtEscapement(-848).Pixels);
    EXPECT_NE(extreme.Pixels, TextAtEscapement(848).Pixels);
    EXPECT_GT(InkPixels(extreme), 100);
    EXPECT_EQ(TextAtEscapement(INT_MAX).Pixels, TextAtEscapement(INT_MAX % 3600).Pixels);
    EXPECT_EQ(TextAtEscapement(3600).Pixels, TextAtEscapement(0).Pixels);
}

} // namespace
} // namespace rpt

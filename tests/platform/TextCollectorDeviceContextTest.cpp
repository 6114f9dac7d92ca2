#include "platform/TextCollectorDeviceContext.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

namespace rpt {
namespace {

HFONT FontWithCharset(uint8_t charset) {
    LogFont f;
    f.Height = -20;
    f.CharSet = charset;
    f.FaceName = "Arial";
    return Font::Create(f);
}

TEST(TextCollectorDeviceContext, CollectsEachTextCallDecodedWithTheSelectedCharset) {
    TextCollectorDeviceContext dc;
    dc.Rectangle(0, 0, 10, 10);
    dc.SelectFont(FontWithCharset(DEFAULT_CHARSET));
    dc.TextOut(10, 20, "A\xE7\xE3o \x80");
    dc.SelectFont(FontWithCharset(RUSSIAN_CHARSET));
    TRect clip{0, 0, 5, 5};
    dc.ExtTextOut(30, 40, ETO_CLIPPED, &clip, "\xCF\xF0\xE8");
    dc.TextOut(1, 2, "");
    ASSERT_EQ(dc.Texts().size(), 3u);
    EXPECT_EQ(dc.Texts()[0].Utf8, "Ação €");
    EXPECT_EQ(dc.Texts()[0].X, 10);
    EXPECT_EQ(dc.Texts()[0].Y, 20);
    EXPECT_EQ(dc.Texts()[1].Utf8, "При");
    EXPECT_EQ(dc.Texts()[2].Utf8, "");
    EXPECT_FALSE(dc.ExtFloodFill(1, 1, clBlack, FLOODFILLSURFACE));
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_GT(dc.GetTextExtentPoint("abc").cx, 0);
}

} // namespace
} // namespace rpt

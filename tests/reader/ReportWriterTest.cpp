#include "fixture/BmpFile.h"
#include "fixture/ReportWriter.h"

#include <gtest/gtest.h>

namespace rpt::fixture {
namespace {

TEST(ReportWriter, WritesTheEmptyOnePageFileOfFormat2018In68Bytes) {
    const Bytes expected = {
        0x5A, 0xE2, 0x07, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,  //  0
        0x00, 0x00, 0x08, 0x41, 0x00, 0x00, 0x30, 0x41,              // 10
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,              // 18
        0x02, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00,        // 34
        0x6F, 0x08, 0xEA, 0x0A, 0x00,                                // 43
        0x50, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x00,                    // 48
        0x00, 0x00, 0x08, 0x41, 0x00, 0x00, 0x30, 0x41, 0x52,        // 59
    };
    ReportWriter w(2018);
    w.Header().BeginPage().EndPage();
    EXPECT_EQ(w.Finish(), expected);
}

TEST(ReportWriter, PicksTheVersionCodeAndLayoutByVersion) {
    struct Case {
        int32_t version;
        Bytes start;
        size_t headerSize;
    };
    // header sizes: code [+2] [+title] + 2+2+2 + 4+4 + 16 + 1 [+4] + 8 + 1
    for (const Case& c : {Case{1101, {'Q'}, 1 + 6 + 8 + 16 + 1 + 8 + 1},
                          Case{2009, {'Y'}, 1 + 6 + 8 + 16 + 1 + 4 + 8 + 1},
                          Case{2010, {'Z', 0xDA, 0x07}, 3 + 1 + 6 + 8 + 16 + 1 + 4 + 8 + 1}}) {
        ReportWriter w(c.version);
        w.Header();
        EXPECT_EQ(size_t(w.Here()), c.headerSize) << c.version;
        Bytes file = w.Finish();
        EXPECT_TRUE(std::equal(c.start.begin(), c.start.end(), file.begin())) << c.version;
    }
}

TEST(ReportWriter, ChainsPagesBothWays) {
    ReportWriter w(2018);
    w.Header();
    for (int i = 0; i < 3; ++i)
        w.BeginPage().EndPage();
    Bytes f = w.Finish();
    auto int32At = [&](int32_t at) {
        return int32_t(f[at] | f[at + 1] << 8 | f[at + 2] << 16 | uint32_t(f[at + 3]) << 24);
    };
    EXPECT_EQ(int32At(w.PrevLinkAt(0)), 0);
    EXPECT_EQ(int32At(w.NextLinkAt(0)), w.PageOffset(1));
    EXPECT_EQ(int32At(w.PrevLinkAt(2)), w.PageOffset(1));
    EXPECT_EQ(int32At(w.NextLinkAt(2)), 0);
    EXPECT_EQ(f[4], 3); // page count filled in
}

TEST(ReportWriter, UsesTheTwoByteStringLengthOnlyFrom2016) {
    const std::string text(261, 'x');
    ReportWriter newer(2016);
    newer.String(text);
    Bytes a = newer.Finish();
    EXPECT_EQ(a[3], 0xC1);
    EXPECT_EQ(a[4], 0x05);

    ReportWriter older(2015);
    EXPECT_THROW(older.String(text), std::invalid_argument);
    older.String(std::string(200, 'y'));
    EXPECT_EQ(older.Finish()[3], 200);
}

TEST(BmpFile, LaysOutHeaderPaletteAndPaddedRows) {
    Bytes bmp = BmpFile(3, 2, 1, [](int32_t x, int32_t y) { return x == 0 && y == 0 ? 0u : 0xFFFFFFu; });
    ASSERT_EQ(bmp.size(), 14u + 40 + 8 + 8);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[10], 62); // bits offset
    // Palette in order of first use from the top-left: black, then white.
    EXPECT_EQ((Bytes{bmp.begin() + 54, bmp.begin() + 62}), (Bytes{0, 0, 0, 0, 255, 255, 255, 0}));
    EXPECT_EQ(bmp[62], 0b11100000); // bottom row first: all white
    EXPECT_EQ(bmp[66], 0b01100000); // top row: black at x 0
}

} // namespace
} // namespace rpt::fixture

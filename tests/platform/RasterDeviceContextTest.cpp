#include "platform/RasterDeviceContext.h"
#include "platform/FontImpl.h"
#include "platform/RasterOperations.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace rpt {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kRed = 0xFFFF0000u;

// Rows of the bitmap as text: '#' for black, '.' for white, '?' otherwise.
std::string Rows(const Dib& dib, int x0, int y0, int x1, int y1) {
    std::string text;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            uint32_t p = dib.At(x, y);
            text += p == kBlack ? '#' : p == kWhite ? '.' : '?';
        }
        text += '\n';
    }
    return text;
}

TEST(RasterDeviceContext, RectangleWithOnePixelPenOutlinesLeftToRightMinusOne) {
    Dib dib(12, 12);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectBrush(LogBrush{bsSolid, RGB(255, 0, 0), nullptr});
    dc.Rectangle(2, 2, 7, 6);
    EXPECT_EQ(Rows(dib, 1, 1, 7, 6), ".......\n"
                                     ".#####.\n"
                                     ".#???#.\n"
                                     ".#???#.\n"
                                     ".#####.\n"
                                     ".......\n");
    EXPECT_EQ(dib.At(3, 3), kRed);
}

TEST(RasterDeviceContext, RectangleWithThreePixelPenIsCentredOnThePath) {
    Dib dib(14, 14);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectPen(LogPen{psSolid, 3, clBlack});
    dc.SelectBrush(LogBrush{bsClear, clWhite, nullptr});
    dc.Rectangle(3, 3, 10, 10);
    // The centre path runs over pixels 3..9; the line covers 2..10.
    EXPECT_EQ(Rows(dib, 1, 1, 11, 11), "...........\n"
                                       ".#########.\n"
                                       ".#########.\n"
                                       ".#########.\n"
                                       ".###...###.\n"
                                       ".###...###.\n"
                                       ".###...###.\n"
                                       ".#########.\n"
                                       ".#########.\n"
                                       ".#########.\n"
                                       "...........\n");
}

TEST(RasterDeviceContext, ClearPenRectangleFillsOneLessAndInsideFrameKeepsTheBox) {
    Dib dib(12, 12);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectPen(LogPen{psClear, 1, clBlack});
    dc.SelectBrush(LogBrush{bsSolid, clBlack, nullptr});
    dc.Rectangle(1, 1, 5, 5);
    EXPECT_EQ(Rows(dib, 0, 0, 5, 5), "......\n"
                                     ".###..\n"
                                     ".###..\n"
                                     ".###..\n"
                                     "......\n"
                                     "......\n");
    Dib framed(12, 12);
    RasterDeviceContext inside(framed, 96, 96);
    inside.SelectPen(LogPen{psInsideFrame, 3, clBlack});
    inside.SelectBrush(LogBrush{bsClear, clWhite, nullptr});
    inside.Rectangle(2, 2, 9, 9);
    EXPECT_EQ(framed.At(2, 2), kBlack);
    EXPECT_EQ(framed.At(8, 8), kBlack);
    EXPECT_EQ(framed.At(1, 5), kWhite);
    EXPECT_EQ(framed.At(9, 5), kWhite);
    EXPECT_EQ(framed.At(5, 5), kWhite);
}

TEST(RasterDeviceContext, LineToLeavesOutItsEndPoint) {
    Dib dib(10, 10);
    RasterDeviceContext dc(dib, 96, 96);
    dc.MoveTo(1, 1);
    dc.LineTo(6, 1);
    dc.MoveTo(1, 3);
    dc.LineTo(5, 7);
    EXPECT_EQ(Rows(dib, 0, 0, 7, 7), "........\n"
                                     ".#####..\n"
                                     "........\n"
                                     ".#......\n"
                                     "..#.....\n"
                                     "...#....\n"
                                     "....#...\n"
                                     "........\n");
}

TEST(RasterDeviceContext, FillRectCoversLeftToRightMinusOneWhateverTheRasterMode) {
    Dib dib(8, 8);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SetROP2(R2_NOP);
    dc.FillRect(TRect{2, 2, 5, 4}, LogBrush{bsSolid, clBlack, nullptr});
    EXPECT_EQ(Rows(dib, 1, 1, 5, 4), ".....\n"
                                     ".###.\n"
                                     ".###.\n"
                                     ".....\n");
}

struct RopCase {
    int Rop2;
    uint32_t Expected; // pen 0x00F0F0F0-ish over a known background
};

TEST(RasterDeviceContext, EachBinaryRasterModeCombinesPenAndBackgroundBitwise) {
    const uint32_t background = 0x00336699u; // R 0x33, G 0x66, B 0x99
    const TColor pen = RGB(0x0F, 0xF0, 0xAA);
    const uint32_t p = 0x000FF0AAu, d = background;
    const RopCase cases[] = {
        {R2_BLACK, 0}, {R2_NOTMERGEPEN, ~(p | d)}, {R2_MASKNOTPEN, ~p & d}, {R2_NOTCOPYPEN, ~p},
        {R2_MASKPENNOT, p & ~d}, {R2_NOT, ~d}, {R2_XORPEN, p ^ d}, {R2_NOTMASKPEN, ~(p & d)},
        {R2_MASKPEN, p & d}, {R2_NOTXORPEN, ~(p ^ d)}, {R2_NOP, d}, {R2_MERGENOTPEN, ~p | d},
        {R2_COPYPEN, p}, {R2_MERGEPENNOT, p | ~d}, {R2_MERGEPEN, p | d}, {R2_WHITE, 0xFFFFFF},
    };
    for (const RopCase& c : cases) {
        Dib dib(10, 10, 0xFF000000u | background);
        RasterDeviceContext dc(dib, 96, 96);
        dc.SetROP2(c.Rop2);
        dc.SelectPen(LogPen{psSolid, 1, pen});
        dc.SelectBrush(LogBrush{bsSolid, pen, nullptr});
        dc.Rectangle(1, 1, 8, 8); // outline and fill each touch a pixel once
        dc.MoveTo(0, 9);
        dc.LineTo(9, 9);
        uint32_t expected = 0xFF000000u | (c.Expected & 0xFFFFFFu);
        EXPECT_EQ(dib.At(1, 1), expected) << "outline, R2 " << c.Rop2;
        EXPECT_EQ(dib.At(4, 4), expected) << "fill, R2 " << c.Rop2;
        EXPECT_EQ(dib.At(4, 9), expected) << "line, R2 " << c.Rop2;
        EXPECT_EQ(dib.At(9, 9), 0xFF000000u | background) << "line end, R2 " << c.Rop2;
    }
}

TEST(RasterDeviceContext, XorRectangleTwiceRestoresThePage) {
    Dib dib(10, 10);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SetROP2(R2_XORPEN);
    dc.SelectPen(LogPen{psSolid, 1, RGB(255, 0, 0)});
    dc.SelectBrush(LogBrush{bsSolid, RGB(0, 0, 255), nullptr});
    dc.Rectangle(1, 1, 8, 8);
    dc.Rectangle(1, 1, 8, 8);
    for (uint32_t pixel : dib.Pixels)
        ASSERT_EQ(pixel, kWhite);
}

TEST(RasterDeviceContext, HatchStylesPaintLinesAndGapsByBackgroundMode) {
    struct Case {
        TBrushStyle Style;
        const char* Cell; // one 8x8 cell, '#' where the hatch line is
    };
    const Case cases[] = {
        {bsHorizontal, "........\n........\n........\n........\n........\n........\n........\n########\n"},
        {bsVertical, ".......#\n.......#\n.......#\n.......#\n.......#\n.......#\n.......#\n.......#\n"},
        {bsFDiagonal, "#.......\n.#......\n..#.....\n...#....\n....#...\n.....#..\n......#.\n.......#\n"},
        {bsBDiagonal, ".......#\n......#.\n.....#..\n....#...\n...#....\n..#.....\n.#......\n#.......\n"},
        {bsCross, ".......#\n.......#\n.......#\n.......#\n.......#\n.......#\n.......#\n########\n"},
        {bsDiagCross, "#......#\n.#....#.\n..#..#..\n...##...\n...##...\n..#..#..\n.#....#.\n#......#\n"},
    };
    for (const Case& c : cases) {
        Dib transparent(16, 16);
        RasterDeviceContext dc(transparent, 96, 96);
        dc.SetBkMode(TRANSPARENT);
        dc.FillRect(TRect{0, 0, 16, 16}, LogBrush{c.Style, clBlack, nullptr});
        EXPECT_EQ(Rows(transparent, 8, 8, 15, 15), c.Cell) << "style " << int(c.Style);

        Dib opaque(16, 16);
        RasterDeviceContext filled(opaque, 96, 96);
        filled.SetBkMode(OPAQUE);
        filled.SetBkColor(RGB(255, 0, 0));
        filled.FillRect(TRect{0, 0, 16, 16}, LogBrush{c.Style, clBlack, nullptr});
        std::string expected = c.Cell;
        for (char& ch : expected)
            if (ch == '.')
                ch = '?';
        EXPECT_EQ(Rows(opaque, 0, 0, 7, 7), expected) << "style " << int(c.Style);
        EXPECT_EQ(opaque.At(0, 1), kRed);
    }
}

TEST(RasterDeviceContext, SrcAndOfABitmapKeepsThePageUnderWhiteAndBlackensUnderBlack) {
    Dib page(6, 2, 0xFF3366FFu);
    RasterDeviceContext dc(page, 96, 96);
    Dib bitmap(2, 1);
    bitmap.At(0, 0) = kWhite;
    bitmap.At(1, 0) = kBlack;
    dc.StretchDIBits(TRect{0, 0, 6, 2}, TRect{0, 0, 2, 1}, bitmap, SRCAND);
    EXPECT_EQ(page.At(0, 0), 0xFF3366FFu);
    EXPECT_EQ(page.At(2, 1), 0xFF3366FFu);
    EXPECT_EQ(page.At(3, 0), kBlack);
    EXPECT_EQ(page.At(5, 1), kBlack);
    dc.StretchDIBits(TRect{0, 0, 6, 2}, TRect{0, 0, 2, 1}, bitmap, SRCCOPY);
    EXPECT_EQ(page.At(0, 0), kWhite);
    EXPECT_EQ(page.At(5, 0), kBlack);
}

TEST(RasterDeviceContext, FloodFillSurfaceAndBorder) {
    Dib dib(10, 10);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectBrush(LogBrush{bsClear, clWhite, nullptr});
    dc.Rectangle(2, 2, 8, 8);
    dc.SelectBrush(LogBrush{bsSolid, RGB(255, 0, 0), nullptr});
    EXPECT_TRUE(dc.ExtFloodFill(4, 4, clBlack, FLOODFILLBORDER));
    EXPECT_EQ(dib.At(4, 4), kRed);
    EXPECT_EQ(dib.At(6, 6), kRed);
    EXPECT_EQ(dib.At(2, 2), kBlack);
    EXPECT_EQ(dib.At(1, 1), kWhite);
    dc.SelectBrush(LogBrush{bsSolid, clBlack, nullptr});
    EXPECT_TRUE(dc.ExtFloodFill(0, 0, clWhite, FLOODFILLSURFACE));
    EXPECT_EQ(dib.At(0, 0), kBlack);
    EXPECT_EQ(dib.At(9, 9), kBlack);
    EXPECT_EQ(dib.At(4, 4), kRed);
    EXPECT_FALSE(dc.ExtFloodFill(0, 0, clWhite, FLOODFILLSURFACE)) << "start pixel no longer matches";
    EXPECT_FALSE(dc.ExtFloodFill(50, 50, clWhite, FLOODFILLSURFACE)) << "outside the bitmap";
}

HFONT Arial(int32_t height, int32_t escapement = 0, uint8_t charset = 0) {
    LogFont f;
    f.Height = height;
    f.Escapement = escapement;
    f.CharSet = charset;
    f.Quality = 3; // not antialiased: the probes look for black pixels
    f.FaceName = "Arial";
    return Font::Create(f);
}

struct Extent {
    int Left = INT_MAX, Top = INT_MAX, Right = -1, Bottom = -1;
};

Extent Ink(const Dib& dib) {
    Extent e;
    for (int y = 0; y < dib.Height; ++y)
        for (int x = 0; x < dib.Width; ++x)
            if (dib.At(x, y) == kBlack) {
                e.Left = std::min(e.Left, x);
                e.Right = std::max(e.Right, x);
                e.Top = std::min(e.Top, y);
                e.Bottom = std::max(e.Bottom, y);
            }
    return e;
}

TEST(RasterDeviceContext, BaselineTextSitsOnTheRowAboveTheGivenY) {
    Dib dib(200, 100);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectFont(Arial(-40));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_BASELINE);
    dc.TextOut(20, 60, "H");
    Extent e = Ink(dib);
    EXPECT_EQ(e.Bottom, 59);
    EXPECT_GE(e.Left, 20);
    EXPECT_LE(e.Left, 24);
    EXPECT_NEAR(60 - e.Top, 29, 2); // the cap height of a 40-pixel Arial
}

TEST(RasterDeviceContext, RightAndCentreAlignmentPlaceTheTextExactly) {
    HFONT font = Arial(-30);
    int width = font->TextExtent("IIII").cx;
    for (unsigned align : {TA_LEFT, TA_RIGHT, TA_CENTER}) {
        Dib dib(300, 60);
        RasterDeviceContext dc(dib, 96, 96);
        dc.SelectFont(font);
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(RGB(255, 0, 0));
        dc.SetTextAlign(align | TA_TOP);
        dc.TextOut(150, 10, "IIII");
        int start = align == TA_RIGHT ? 150 - width : align == TA_CENTER ? 150 - width / 2 : 150;
        // The opaque background shows the text cell exactly.
        EXPECT_NE(dib.At(start, 12), kWhite) << "align " << align;
        EXPECT_EQ(dib.At(start - 1, 12), kWhite) << "align " << align;
        EXPECT_NE(dib.At(start + width - 1, 12), kWhite) << "align " << align;
        EXPECT_EQ(dib.At(start + width, 12), kWhite) << "align " << align;
        EXPECT_EQ(dib.At(start, 9), kWhite);
        EXPECT_NE(dib.At(start, 10 + font->Metrics().tmHeight - 1), kWhite);
        EXPECT_EQ(dib.At(start, 10 + font->Metrics().tmHeight), kWhite);
    }
}

TEST(RasterDeviceContext, RotatedTextTurnsAboutItsReferencePoint) {
    Dib dib(120, 220);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectFont(Arial(-30, 900));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_BASELINE);
    dc.TextOut(60, 200, "HHHH");
    Extent e = Ink(dib);
    // Turned a quarter counter-clockwise, the text runs upwards from (60, 200)
    // with its baseline on the column left of x = 60... and letters to its left.
    EXPECT_LE(e.Right, 59);
    EXPECT_GE(e.Right, 56);
    EXPECT_LE(e.Bottom, 200);
    EXPECT_GE(e.Bottom, 195);
    EXPECT_LT(e.Top, 150);
}

TEST(RasterDeviceContext, OpaqueExtTextOutFillsItsRectangleInTheBackgroundColour) {
    Dib dib(50, 30);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectFont(Arial(-12));
    dc.SetBkColor(RGB(255, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    TRect box{5, 5, 40, 20};
    dc.ExtTextOut(8, 8, ETO_OPAQUE | ETO_CLIPPED, &box, "");
    EXPECT_EQ(dib.At(5, 5), kRed);
    EXPECT_EQ(dib.At(39, 19), kRed);
    EXPECT_EQ(dib.At(40, 19), kWhite);
    EXPECT_EQ(dib.At(39, 20), kWhite);
}

TEST(RasterDeviceContext, DecodesTextWithTheFontsCharacterSet) {
    HFONT western = Arial(-20, 0, 0);
    HFONT cyrillic = Arial(-20, 0, 204);
    EXPECT_EQ(western->impl().Decode("\xE3\xE9\xE7\xC7\xF5\x80").toStdString(), "ãéçÇõ€");
    EXPECT_EQ(cyrillic->impl().Decode("\xCF\xF0\xE8\xE2\xE5\xF2").toStdString(), "Привет");
    EXPECT_EQ(western->TextExtent("\x80").cx, western->impl().Metrics.horizontalAdvance(QString::fromUtf8("€")));
}

TEST(RasterDeviceContext, ExtremeCoordinatesNeitherCrashNorHang) {
    Dib dib(20, 20);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectPen(LogPen{psDash, 1, clBlack});
    dc.SelectBrush(LogBrush{bsDiagCross, clBlack, nullptr});
    dc.Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    dc.Ellipse(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    dc.RoundRect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX);
    dc.Pie(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, INT32_MIN, INT32_MAX, 0);
    dc.MoveTo(INT32_MIN, INT32_MIN);
    dc.LineTo(INT32_MAX, INT32_MAX);
    const TPoint points[] = {{INT32_MIN, 0}, {INT32_MAX, 5}, {0, INT32_MAX}};
    dc.Polygon(points);
    dc.SelectPen(LogPen{psSolid, 1000000, clBlack});
    dc.Polyline(points);
    dc.StretchDIBits(TRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, TRect{0, 0, 1, 1}, Dib(1, 1, kBlack), SRCCOPY);
    dc.SelectFont(Arial(INT32_MIN));
    dc.TextOut(INT32_MAX, INT32_MIN, "x");
    SUCCEED();
}

TEST(RasterDeviceContext, ClipAndSavedStatesLimitDrawing) {
    Dib dib(10, 10);
    RasterDeviceContext dc(dib, 96, 96);
    int level = dc.SaveDC();
    dc.IntersectClipRect(TRect{2, 2, 5, 5});
    dc.FillRect(TRect{0, 0, 10, 10}, LogBrush{bsSolid, clBlack, nullptr});
    EXPECT_EQ(dib.At(2, 2), kBlack);
    EXPECT_EQ(dib.At(4, 4), kBlack);
    EXPECT_EQ(dib.At(5, 5), kWhite);
    EXPECT_EQ(dib.At(1, 1), kWhite);
    dc.RestoreDC(level);
    dc.FillRect(TRect{0, 0, 10, 10}, LogBrush{bsSolid, clBlack, nullptr});
    EXPECT_EQ(dib.At(9, 9), kBlack);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 10);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(dc.GetDeviceCaps(NUMCOLORS), -1);
    EXPECT_EQ(dc.Escape(PASSTHROUGH, "x"), 0);
}

} // namespace
} // namespace rpt

namespace rpt {
namespace {

TEST(RasterDeviceContext, EllipseFitsItsBoxSymmetricallyWithAThinOutline) {
    Dib dib(12, 12);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectBrush(LogBrush{bsSolid, RGB(255, 0, 0), nullptr});
    dc.Ellipse(1, 1, 10, 10);
    EXPECT_EQ(Rows(dib, 0, 0, 10, 10), "...........\n"
                                       "...#####...\n"
                                       "..#?????#..\n"
                                       ".#???????#.\n"
                                       ".#???????#.\n"
                                       ".#???????#.\n"
                                       ".#???????#.\n"
                                       ".#???????#.\n"
                                       "..#?????#..\n"
                                       "...#####...\n"
                                       "...........\n");
}

TEST(RasterDeviceContext, DashedLinesFillTheirGapsOnlyWithAnOpaqueBackground) {
    Dib dib(40, 2);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SelectPen(LogPen{psDot, 1, clBlack});
    dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(0, 0);
    dc.LineTo(12, 0);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(255, 0, 0));
    dc.MoveTo(0, 1);
    dc.LineTo(12, 1);
    EXPECT_EQ(Rows(dib, 0, 0, 12, 0), "###...###....\n");
    EXPECT_EQ(Rows(dib, 0, 1, 12, 1), "###???###???.\n");
    EXPECT_EQ(dib.At(3, 1), kRed);
}

} // namespace
} // namespace rpt

namespace rpt {
namespace {

TEST(RasterDeviceContext, MonochromePatternsTakeTextAndBackgroundColours) {
    auto pattern = std::make_shared<Dib>(2, 1);
    pattern->At(0, 0) = kBlack;
    pattern->At(1, 0) = kWhite;
    Dib dib(4, 1);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SetTextColor(RGB(255, 0, 0));
    dc.SetBkColor(RGB(0, 0, 255));
    LogBrush mono{bsSolid, clWhite, pattern};
    mono.Monochrome = true;
    dc.FillRect(TRect{0, 0, 4, 1}, mono);
    EXPECT_EQ(dib.At(0, 0), kRed);
    EXPECT_EQ(dib.At(1, 0), 0xFF0000FFu);
    EXPECT_EQ(dib.At(2, 0), kRed);
    dc.FillRect(TRect{0, 0, 4, 1}, LogBrush{bsSolid, clWhite, pattern});
    EXPECT_EQ(dib.At(0, 0), kBlack);
    EXPECT_EQ(dib.At(1, 0), kWhite);
}

TEST(RasterDeviceContext, WorldTransformMapsShapesToDevicePixels) {
    Dib dib(20, 20);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SetWorldTransform(XForm{2, 0, 0, 2, 5, 5});
    dc.FillRect(TRect{0, 0, 2, 2}, LogBrush{bsSolid, clBlack, nullptr});
    EXPECT_EQ(dib.At(5, 5), kBlack);
    EXPECT_EQ(dib.At(8, 8), kBlack);
    EXPECT_EQ(dib.At(9, 9), kWhite);
    EXPECT_EQ(dib.At(4, 4), kWhite);
    dc.SetWorldTransform(XForm{0, 0, 0, 0, 0, 0}); // collapsing: refused
    EXPECT_EQ(dc.GetWorldTransform(), (XForm{2, 0, 0, 2, 5, 5}));
}

} // namespace
} // namespace rpt

namespace rpt {
namespace {

TEST(RasterDeviceContext, ADibShorterThanItsSizeIsNeverPainted) {
    Dib dib;
    dib.Width = 100;
    dib.Height = 100;
    dib.Pixels.assign(10, kWhite);
    RasterDeviceContext dc(dib, 96, 96);
    dc.SetWorldTransform(XForm{0, 1, -1, 0, 50, 0});
    dc.FillRect(TRect{0, 0, 100, 100}, LogBrush{bsSolid, clBlack, nullptr});
    dc.StretchDIBits(TRect{0, 0, 100, 100}, TRect{0, 0, 1, 1}, Dib(1, 1, kBlack), SRCCOPY);
    dc.TextOut(1, 1, "x");
    for (uint32_t pixel : dib.Pixels)
        EXPECT_EQ(pixel, kWhite);
}

} // namespace
} // namespace rpt

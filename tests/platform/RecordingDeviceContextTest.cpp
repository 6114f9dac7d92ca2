#include "platform/RecordingDeviceContext.h"

#include <gtest/gtest.h>

namespace rpt {
namespace {

TEST(RecordingDeviceContext, WritesOneReadableLinePerDrawingCall) {
    RecordingDeviceContext dc;
    dc.SelectPen(LogPen{psDash, 3, RGB(0x12, 0x34, 0x56)});
    dc.SelectBrush(LogBrush{bsCross, RGB(255, 0, 0), nullptr});
    dc.Rectangle(300, 300, 601, 601);
    dc.MoveTo(1, 2);
    dc.LineTo(3, 4);
    const TPoint points[] = {{0, 0}, {10, 0}, {5, 8}};
    dc.Polygon(points);
    const int32_t counts[] = {2, 1};
    dc.PolyPolygon(points, counts);
    dc.TextOut(10, 301, "a\"b\\c\xE3");
    TRect clip{1, 2, 3, 4};
    dc.ExtTextOut(5, 6, ETO_CLIPPED, &clip, "x");
    dc.ExtTextOut(5, 6, 0, nullptr, "");
    dc.PatBlt(TRect{0, 0, 5, 5}, PATCOPY);
    dc.SetPixel(7, 8, clWindow);
    dc.FillRect(TRect{0, 0, 2, 2}, LogBrush{bsSolid, clWhite, nullptr});
    dc.StretchDIBits(TRect{0, 0, 20, 10}, TRect{0, 0, 2, 1}, Dib(2, 1), SRCAND);

    EXPECT_EQ(dc.Text(),
              "SelectPen(psDash, 3, #123456)\n"
              "SelectBrush(bsCross, #FF0000)\n"
              "Rectangle(300, 300, 601, 601)\n"
              "MoveTo(1, 2)\n"
              "LineTo(3, 4)\n"
              "Polygon([(0, 0), (10, 0), (5, 8)])\n"
              "PolyPolygon([(0, 0), (10, 0), (5, 8)], [2, 1])\n"
              "TextOut(10, 301, \"a\\\"b\\\\c\\xE3\")\n"
              "ExtTextOut(5, 6, 4, (1, 2, 3, 4), \"x\")\n"
              "ExtTextOut(5, 6, 0, null, \"\")\n"
              "PatBlt(0, 0, 5, 5, $00F00021)\n"
              "SetPixel(7, 8, $80000005)\n"
              "FillRect(0, 0, 2, 2, bsSolid, #FFFFFF)\n"
              "StretchDIBits(0, 0, 20, 10, 0, 0, 2, 1, 2x1, $008800C6)\n");
    EXPECT_EQ(dc.Calls("LineTo"), std::vector<std::string>{"LineTo(3, 4)"});
    EXPECT_TRUE(dc.Calls("Line").empty());
    dc.ClearLog();
    EXPECT_TRUE(dc.Log().empty());
}

TEST(RecordingDeviceContext, SettersAnswerThePreviousValue) {
    RecordingDeviceContext dc;
    EXPECT_EQ(dc.SetTextAlign(TA_BASELINE), TA_LEFT | TA_TOP);
    EXPECT_EQ(dc.SetTextAlign(TA_RIGHT), TA_BASELINE);
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    EXPECT_EQ(dc.SetBkColor(RGB(1, 2, 3)), clWhite);
    EXPECT_EQ(dc.SetBkColor(clBlack), RGB(1, 2, 3));
    EXPECT_EQ(dc.SetTextColor(RGB(9, 9, 9)), clBlack);
    EXPECT_EQ(dc.SetROP2(R2_XORPEN), R2_COPYPEN);
    EXPECT_EQ(dc.SetPolyFillMode(WINDING), ALTERNATE);
    EXPECT_EQ(dc.SetArcDirection(AD_CLOCKWISE), AD_COUNTERCLOCKWISE);
    EXPECT_EQ(dc.MoveTo(4, 5), (TPoint{0, 0}));
    dc.LineTo(6, 7);
    EXPECT_EQ(dc.MoveTo(0, 0), (TPoint{6, 7}));
    EXPECT_EQ(dc.Calls("SetTextAlign"),
              (std::vector<std::string>{"SetTextAlign(24)", "SetTextAlign(2)"}));
}

TEST(RecordingDeviceContext, SelectFontLogsTheLogicalFontAndAnswersThePreviousOne) {
    RecordingDeviceContext dc;
    LogFont description;
    description.Height = -42;
    description.Weight = FW_BOLD;
    description.Italic = true;
    description.CharSet = 204;
    description.PitchAndFamily = VARIABLE_PITCH;
    description.Escapement = 900;
    description.FaceName = "Arial";
    HFONT font = Font::Create(description);
    HFONT stock = dc.SelectFont(font);
    ASSERT_TRUE(stock);
    EXPECT_EQ(dc.SelectFont(nullptr), font);
    EXPECT_EQ(dc.CurrentFont(), stock);
    EXPECT_EQ(dc.Calls("SelectFont"),
              (std::vector<std::string>{"SelectFont(-42, 0, 900, 700, 1, 0, 0, 204, 2, \"Arial\")",
                                        "SelectFont(null)"}));
}

TEST(RecordingDeviceContext, MeasuresWithTheSelectedFontsRealMetrics) {
    RecordingDeviceContext dc;
    LogFont description;
    description.Height = -42;
    description.FaceName = "Arial";
    dc.SelectFont(Font::Create(description));
    TextMetric metrics = dc.GetTextMetrics();
    EXPECT_EQ(metrics.tmAscent, 38);
    EXPECT_EQ(metrics.tmDescent, 9);
    EXPECT_EQ(metrics.tmHeight, 47);
    EXPECT_EQ(metrics.tmInternalLeading, 5);
    TSize one = dc.GetTextExtentPoint("W");
    TSize two = dc.GetTextExtentPoint("WW");
    EXPECT_GT(one.cx, 20);
    EXPECT_EQ(two.cx, 2 * one.cx);
    EXPECT_EQ(one.cy, 47);
    EXPECT_EQ(dc.GetTextExtentPoint("").cx, 0);
    EXPECT_TRUE(dc.Log().size() == 1) << "queries write no line";
}

TEST(RecordingDeviceContext, AnswersDeviceCapsSetByTheTest) {
    RecordingDeviceContext dc;
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 300);
    EXPECT_EQ(dc.GetDeviceCaps(NUMCOLORS), -1);
    dc.SetDeviceCaps(NUMCOLORS, 2);
    dc.SetDeviceCaps(LOGPIXELSX, 600);
    EXPECT_EQ(dc.GetDeviceCaps(NUMCOLORS), 2);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_TRUE(dc.ExtFloodFill(1, 1, clBlack, FLOODFILLBORDER));
    dc.SetDeviceCaps(RASTERCAPS, RC_BITBLT);
    EXPECT_FALSE(dc.ExtFloodFill(1, 1, clBlack, FLOODFILLBORDER));
    EXPECT_EQ(dc.Escape(PASSTHROUGH, "ab"), 0);
    dc.SetEscapeResult(2);
    EXPECT_EQ(dc.Escape(PASSTHROUGH, "ab"), 2);
}

TEST(RecordingDeviceContext, RestoreDCReturnsToTheSavedLevel) {
    RecordingDeviceContext dc;
    dc.SetTextColor(RGB(1, 0, 0));
    EXPECT_EQ(dc.SaveDC(), 1);
    dc.SetTextColor(RGB(2, 0, 0));
    dc.IntersectClipRect(TRect{0, 0, 10, 10});
    EXPECT_EQ(dc.SaveDC(), 2);
    dc.SetTextColor(RGB(3, 0, 0));
    dc.RestoreDC(-1);
    EXPECT_EQ(dc.State().TextColor, RGB(2, 0, 0));
    EXPECT_EQ(dc.State().Clip.size(), 1u);
    dc.RestoreDC(1);
    EXPECT_EQ(dc.State().TextColor, RGB(1, 0, 0));
    EXPECT_TRUE(dc.State().Clip.empty());
    dc.RestoreDC(-1); // nothing saved any more: unchanged
    dc.RestoreDC(7);
    EXPECT_EQ(dc.State().TextColor, RGB(1, 0, 0));
}

} // namespace
} // namespace rpt

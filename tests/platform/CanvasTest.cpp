#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/RecordingDeviceContext.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace rpt {
namespace {

TEST(Canvas, SelectsPenBrushAndFontLazilyBeforeItsOwnCalls) {
    RecordingDeviceContext dc;
    TCanvas canvas;
    canvas.SetHandle(&dc);
    canvas.Pen().SetMode(pmXor);
    canvas.Pen().SetWidth(3);
    canvas.Brush().SetColor(RGB(255, 0, 0));
    canvas.Rectangle(1, 2, 3, 4);
    canvas.Ellipse(5, 6, 7, 8);
    canvas.Brush().SetStyle(bsCross);
    canvas.Rectangle(1, 2, 3, 4);
    canvas.Refresh();
    canvas.LineTo(9, 9);
    EXPECT_EQ(dc.Text(),
              "SelectPen(psSolid, 3, #000000)\n"
              "SetROP2(7)\n"
              "SelectBrush(bsSolid, #FF0000)\n"
              "SetBkColor(#FF0000)\n"
              "SetBkMode(2)\n"
              "Rectangle(1, 2, 3, 4)\n"
              "Ellipse(5, 6, 7, 8)\n"
              "SelectBrush(bsCross, #FF0000)\n"
              "SetBkColor(#00FFFF)\n"
              "SetBkMode(1)\n"
              "Rectangle(1, 2, 3, 4)\n"
              "SelectPen(psSolid, 3, #000000)\n"
              "SetROP2(7)\n"
              "SelectBrush(bsCross, #FF0000)\n"
              "SetBkColor(#00FFFF)\n"
              "SetBkMode(1)\n"
              "LineTo(9, 9)\n");
}

TEST(Canvas, TextCallsSelectTheFontAndItsColour) {
    RecordingDeviceContext dc;
    TCanvas canvas;
    canvas.SetHandle(&dc);
    canvas.Font().SetPixelsPerInch(300);
    canvas.Font().SetSize(10);
    canvas.Font().SetColor(clWindowText);
    canvas.Font().SetStyle(fsBold | fsItalic);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextRect(TRect{0, 0, 50, 20}, 3, 4, "ab");
    std::vector<std::string> fonts = dc.Calls("SelectFont");
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0], "SelectFont(-42, 0, 0, 700, 1, 0, 0, 1, 0, \"Arial\")");
    EXPECT_EQ(dc.Calls("SetTextColor"), std::vector<std::string>{"SetTextColor(#000000)"});
    EXPECT_EQ(dc.Calls("ExtTextOut"), std::vector<std::string>{"ExtTextOut(3, 4, 4, (0, 0, 50, 20), \"ab\")"});
    canvas.Brush().SetStyle(bsSolid);
    canvas.TextRect(TRect{0, 0, 50, 20}, 3, 4, "ab");
    EXPECT_EQ(dc.Calls("ExtTextOut").back(), "ExtTextOut(3, 4, 6, (0, 0, 50, 20), \"ab\")");
}

TEST(Canvas, FontSizeAndHeightConvertAtThePixelsPerInch) {
    TFont font;
    font.SetPixelsPerInch(300);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -42);
    EXPECT_EQ(font.Size(), 10);
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 3);
    font.SetName("");
    EXPECT_EQ(font.Name(), "Arial");
    int changes = 0;
    font.OnChange = [&changes](TGraphicsObject*) { ++changes; };
    font.SetColor(clBlack);
    font.SetHeight(-13);
    EXPECT_EQ(changes, 0) << "setting the same value announces nothing";
    font.SetHeight(-14);
    EXPECT_EQ(changes, 1);
    HFONT first = font.Handle();
    EXPECT_EQ(font.Handle(), first);
    font.SetStyle(fsUnderline);
    EXPECT_NE(font.Handle(), first);
    EXPECT_TRUE(font.Handle()->Description().Underline);
}

TEST(Canvas, DrawingWithoutAContextRaises) {
    TCanvas canvas;
    try {
        canvas.Rectangle(0, 0, 1, 1);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Canvas does not allow drawing");
    }
}

TEST(Canvas, BrushCopyPaintsTheKeyColourWithTheBrush) {
    TBitmap target;
    target.SetSize(4, 1);
    TBitmap source;
    source.SetSize(2, 1);
    source.MutablePixels().At(0, 0) = 0xFF000000u;
    source.MutablePixels().At(1, 0) = 0xFF00FF00u;
    target.Canvas().Brush().SetColor(RGB(255, 0, 0));
    target.Canvas().BrushCopy(TRect{0, 0, 4, 1}, source, TRect{0, 0, 2, 1}, clBlack);
    EXPECT_EQ(target.Pixels().At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(target.Pixels().At(1, 0), 0xFFFF0000u);
    EXPECT_EQ(target.Pixels().At(3, 0), 0xFF00FF00u);
}

TEST(Canvas, CopyRectCopiesFromARasterCanvas) {
    TBitmap from;
    from.SetSize(4, 4);
    from.Canvas().Brush().SetColor(clBlack);
    from.Canvas().FillRect(TRect{2, 2, 4, 4});
    TBitmap to;
    to.SetSize(4, 4);
    to.Canvas().CopyRect(TRect{0, 0, 2, 2}, from.Canvas(), TRect{2, 2, 4, 4});
    EXPECT_EQ(to.Pixels().At(0, 0), 0xFF000000u);
    EXPECT_EQ(to.Pixels().At(1, 1), 0xFF000000u);
    EXPECT_EQ(to.Pixels().At(2, 2), 0xFFFFFFFFu);
}

TEST(Font, MetricsAreThoseOfTheSubstitutedFace) {
    LogFont character;
    character.Height = -42;
    character.FaceName = "Times New Roman";
    HFONT serif = Font::Create(character);
    EXPECT_EQ(serif->ActualFamily(), "Liberation Serif");
    EXPECT_EQ(serif->Metrics().tmAscent, 37);
    EXPECT_EQ(serif->Metrics().tmDescent, 9);
    LogFont cell;
    cell.Height = 47;
    cell.FaceName = "Arial";
    HFONT arial = Font::Create(cell);
    EXPECT_EQ(arial->Metrics().tmHeight, 47) << "a positive height is the cell height";
    EXPECT_EQ(arial->Metrics().tmInternalLeading, 5);
    LogFont longName;
    longName.FaceName = std::string(40, 'x');
    EXPECT_EQ(Font::Create(longName)->Description().FaceName.size(), 31u);
}

TEST(Font, EnumFontCharsetsListsTheInstalledSetsOfAFace) {
    std::vector<uint8_t> arial = EnumFontCharsets("Arial");
    EXPECT_NE(std::find(arial.begin(), arial.end(), ANSI_CHARSET), arial.end());
    EXPECT_NE(std::find(arial.begin(), arial.end(), RUSSIAN_CHARSET), arial.end());
    EXPECT_NE(std::find(arial.begin(), arial.end(), GREEK_CHARSET), arial.end());
    EXPECT_TRUE(EnumFontCharsets("No Such Face At All").empty());
    EXPECT_TRUE(EnumFontCharsets("").empty());
}

} // namespace
} // namespace rpt

namespace rpt {
namespace {

// A graphic drawn at the edge of the coordinate range ends at that edge.
TEST(Canvas, DrawAtTheEdgeOfTheCoordinateRangeSaturates) {
    RecordingDeviceContext dc;
    TCanvas canvas;
    canvas.SetHandle(&dc);
    TBitmap bitmap;
    bitmap.SetSize(10, 4);
    canvas.Draw(INT32_MAX - 3, INT32_MAX - 1, bitmap);
    const std::string text = dc.Text();
    EXPECT_NE(text.find("StretchDIBits(2147483644, 2147483646, 2147483647, 2147483647"),
              std::string::npos)
        << text;
}

} // namespace
} // namespace rpt

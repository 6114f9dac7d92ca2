#include "MetafileMappedRecording.h"
#include "fixture/MetafileWriter.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace rpt {
namespace {

using fixture::MetafileWriter;

std::unique_ptr<TMetafile> Load(const MetafileWriter& writer) {
    TMemoryStream stream(writer.Bytes());
    auto metafile = std::make_unique<TMetafile>();
    metafile->LoadFromStream(stream);
    return metafile;
}

void Play(const MetafileWriter& writer, DeviceContext& dc, const TRect& rect) {
    auto metafile = Load(writer);
    TCanvas canvas;
    canvas.SetHandle(&dc);
    metafile->Draw(canvas, rect);
}

::testing::AssertionResult Contains(const std::vector<std::string>& lines, const std::string& line) {
    if (std::find(lines.begin(), lines.end(), line) != lines.end())
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << "no line \"" << line << "\" among:";
    for (const auto& l : lines)
        failure << "\n  " << l;
    return failure;
}

bool Logged(const RecordingDeviceContext& dc, std::string_view text) {
    return std::any_of(dc.Log().begin(), dc.Log().end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

// One picture of 1000 by 500 logical units in both formats: a rectangle and a
// line of text in a font 100 units high.
MetafileWriter RectangleAndText(bool enhanced) {
    MetafileWriter w = enhanced ? MetafileWriter::Emf(0, 0, 99, 49, 0, 0, 2540, 1270)
                                : MetafileWriter::PlaceableWmf(0, 0, 1000, 500, 1000);
    if (enhanced)
        w.SetMapMode(8).SetWindowExt(1000, 500).SetViewportExt(100, 50);
    w.CreateFont(1, -100, "Arial").SelectObject(enhanced ? 1 : 0);
    w.Rectangle(100, 100, 600, 400).TextOut(100, 50, "Hi");
    return w;
}

TEST(MetafilePlaybackTest, PictureIsMappedOntoTheDestinationInBothFormats) {
    for (bool enhanced : {false, true}) {
        SCOPED_TRACE(enhanced ? "enhanced" : "16-bit");
        MetafileMappedRecording dc;
        Play(RectangleAndText(enhanced), dc, Rect(10, 20, 210, 120));
        EXPECT_TRUE(Contains(dc.Drawn(), "IntersectClipRect(10, 20, 210, 120)"));
        EXPECT_TRUE(Contains(dc.Drawn(), "Rectangle(30, 40, 130, 100)"));
        // Text is placed in device pixels, its font scaled with the picture.
        EXPECT_TRUE(Contains(dc.Log(), "TextOut(30, 30, \"Hi\")"));
        EXPECT_TRUE(Logged(dc, "SelectFont(-20, 0, 0, 400, 0, 0, 0, 0, 0, \"Arial\")")) << dc.Text();
    }
}

TEST(MetafilePlaybackTest, StretchingFollowsTheDestinationRectangle) {
    MetafileMappedRecording dc;
    Play(RectangleAndText(false), dc, Rect(0, 0, 1000, 1000));
    EXPECT_TRUE(Contains(dc.Drawn(), "Rectangle(100, 200, 600, 800)"));
    EXPECT_TRUE(Logged(dc, "SelectFont(-200, ")) << dc.Text();
}

TEST(MetafilePlaybackTest, ContextIsRestoredToTheStateItWasFoundIn) {
    MetafileMappedRecording dc;
    XForm before{1, 0, 0, 1, 1000, 0};
    dc.SetWorldTransform(before);
    dc.SetTextColor(RGB(1, 2, 3));
    // Unbalanced saves and restores in the file must not reach the caller's levels.
    auto w = MetafileWriter::Emf(0, 0, 9, 9, 0, 0, 254, 254)
                 .SaveDC()
                 .SetTextColor(0xFF)
                 .SetWorldTransform(2, 0, 0, 2, 5, 5)
                 .RestoreDC(-3)
                 .RestoreDC(-1)
                 .RestoreDC(4)
                 .SaveDC()
                 .Rectangle(0, 0, 5, 5);
    Play(w, dc, Rect(0, 0, 10, 10));
    EXPECT_EQ(dc.GetWorldTransform(), before);
    EXPECT_EQ(dc.State().TextColor, RGB(1, 2, 3));
    EXPECT_EQ(dc.Calls("RestoreDC").size(), 2u) << dc.Text();
    EXPECT_EQ(dc.Log().back(), "RestoreDC(1)");
    // The picture is drawn after the caller's own transform.
    EXPECT_TRUE(Contains(dc.Drawn(), "Rectangle(1000, 0, 1005, 5)"));
}

TEST(MetafilePlaybackTest, SavedLevelsAreBounded) {
    auto w = MetafileWriter::PlaceableWmf(0, 0, 10, 10, 96);
    for (int i = 0; i < 5000; ++i)
        w.SaveDC();
    MetafileMappedRecording dc;
    Play(w, dc, Rect(0, 0, 10, 10));
    EXPECT_EQ(dc.Calls("SaveDC").size(), 1u + 1024u);
    EXPECT_EQ(dc.Log().back(), "RestoreDC(1)");
}

TEST(MetafilePlaybackTest, WorldTransformsComposeWithThePageMapping) {
    // Frame of 100 by 100 reference pixels drawn 1:1.
    auto base = [] { return MetafileWriter::Emf(0, 0, 99, 99, 0, 0, 2540, 2540); };
    struct Case {
        const char* name;
        MetafileWriter writer;
        const char* expected;
    } cases[] = {
        {"scale and offset", base().SetWorldTransform(2, 0, 0, 2, 10, 5).Rectangle(0, 0, 10, 10),
         "Rectangle(10, 5, 30, 25)"},
        {"left multiply applies the new one first",
         base().SetWorldTransform(2, 0, 0, 2, 0, 0).ModifyWorldTransform(1, 0, 0, 1, 5, 0, 2).Rectangle(0, 0, 10, 10),
         "Rectangle(10, 0, 30, 20)"},
        {"right multiply applies it last",
         base().SetWorldTransform(2, 0, 0, 2, 0, 0).ModifyWorldTransform(1, 0, 0, 1, 5, 0, 3).Rectangle(0, 0, 10, 10),
         "Rectangle(5, 0, 25, 20)"},
        {"identity", base().SetWorldTransform(2, 0, 0, 2, 9, 9).ModifyWorldTransform(0, 0, 0, 0, 0, 0, 1).Rectangle(0, 0, 10, 10),
         "Rectangle(0, 0, 10, 10)"},
        {"quarter turn", base().SetWorldTransform(0, 1, -1, 0, 50, 0).Polygon({{0, 0}, {10, 0}, {10, 20}}),
         "Polygon[(50, 0), (50, 10), (30, 10)]"},
        {"window and viewport after the world",
         base().SetMapMode(8).SetWindowOrg(100, 100).SetWindowExt(10, 10).SetViewportExt(20, 20)
             .SetWorldTransform(1, 0, 0, 1, 100, 100).Rectangle(0, 0, 10, 10),
         "Rectangle(0, 0, 20, 20)"},
        {"saved transform comes back",
         base().SaveDC().SetWorldTransform(3, 0, 0, 3, 0, 0).RestoreDC(-1).Rectangle(0, 0, 10, 10),
         "Rectangle(0, 0, 10, 10)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MetafileMappedRecording dc;
        Play(c.writer, dc, Rect(0, 0, 100, 100));
        EXPECT_TRUE(Contains(dc.Drawn(), c.expected));
    }
}

TEST(MetafilePlaybackTest, MapModesOfThe16BitFormat) {
    struct Case {
        const char* name;
        MetafileWriter writer;
        const char* expected;
    } cases[] = {
        // 300 dpi recording: 10 mm are 118 pixels, and y grows upwards.
        {"low metric", MetafileWriter::PlaceableWmf(0, 0, 100, 100, 100).SetMapMode(2).Rectangle(0, 0, 100, -100),
         "Rectangle(50, 50, 168, 168)"},
        {"isotropic keeps the aspect", MetafileWriter::PlaceableWmf(0, 0, 100, 100, 100).SetMapMode(7)
             .SetWindowExt(100, 100).Rectangle(0, 0, 100, 100), "Rectangle(50, 50, 150, 150)"},
        {"anisotropic stretches", MetafileWriter::PlaceableWmf(0, 0, 100, 100, 100).SetMapMode(8)
             .SetWindowExt(100, 100).Rectangle(0, 0, 100, 100), "Rectangle(50, 50, 250, 150)"},
        {"text mode draws in pixels", MetafileWriter::PlaceableWmf(0, 0, 100, 100, 100).SetMapMode(1)
             .Rectangle(0, 0, 100, 100), "Rectangle(50, 50, 150, 150)"},
        {"window origin", MetafileWriter::PlaceableWmf(0, 0, 100, 100, 100).SetWindowOrg(50, 0)
             .Rectangle(50, 0, 100, 100), "Rectangle(50, 50, 150, 150)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MetafileMappedRecording dc;
        Play(c.writer, dc, Rect(50, 50, 250, 150));
        EXPECT_TRUE(Contains(dc.Drawn(), c.expected));
    }
}

TEST(MetafilePlaybackTest, StockObjectsAreSelected) {
    auto w = MetafileWriter::Emf(0, 0, 9, 9, 0, 0, 254, 254)
                 .SelectStockObject(8)  // null pen
                 .SelectStockObject(4)  // black brush
                 .Rectangle(0, 0, 5, 5)
                 .SelectStockObject(6)  // white pen
                 .SelectStockObject(5)  // null brush
                 .SelectStockObject(2)  // grey brush
                 .Rectangle(0, 0, 5, 5);
    MetafileMappedRecording dc;
    Play(w, dc, Rect(0, 0, 10, 10));
    auto pens = dc.Calls("SelectPen");
    auto brushes = dc.Calls("SelectBrush");
    ASSERT_GE(pens.size(), 3u);
    ASSERT_GE(brushes.size(), 4u);
    EXPECT_EQ(pens[pens.size() - 2], "SelectPen(psClear, 0, #000000)");
    EXPECT_EQ(pens.back(), "SelectPen(psSolid, 0, #FFFFFF)");
    EXPECT_EQ(brushes[brushes.size() - 3], "SelectBrush(bsSolid, #000000)");
    EXPECT_EQ(brushes[brushes.size() - 2], "SelectBrush(bsClear, #FFFFFF)");
    EXPECT_EQ(brushes.back(), "SelectBrush(bsSolid, #808080)");
}

TEST(MetafilePlaybackTest, ObjectsTakeTheLowestFreeSlotIn16BitFiles) {
    auto w = MetafileWriter::PlaceableWmf(0, 0, 10, 10, 96)
                 .CreatePen(0, 0, 3, 0x0000FF)          // slot 0
                 .CreateBrush(0, 2, 0x00FF00, 4)        // slot 1: cross hatch
                 .DeleteObject(0)
                 .CreateBrush(0, 0, 0xFF0000)           // slot 0 again
                 .SelectObject(0)
                 .SelectObject(1)
                 .SelectObject(7);                      // nothing there
    MetafileMappedRecording dc;
    Play(w, dc, Rect(0, 0, 10, 10));
    auto brushes = dc.Calls("SelectBrush");
    ASSERT_GE(brushes.size(), 2u);
    EXPECT_EQ(brushes[brushes.size() - 2], "SelectBrush(bsSolid, #0000FF)");
    EXPECT_EQ(brushes.back(), "SelectBrush(bsCross, #00FF00)");
    EXPECT_EQ(dc.Calls("SelectPen").size(), 1u) << "the deleted pen is gone";
}

TEST(MetafilePlaybackTest, ObjectsBeyondTheHeadersCountAreStillKept) {
    auto bytes = MetafileWriter::PlaceableWmf(0, 0, 10, 10, 96)
                     .CreateBrush(0, 0, 0x00FF00)
                     .SelectObject(0)
                     .Bytes();
    bytes[22 + 10] = 0;  // the header says the picture makes no objects
    TMemoryStream stream(bytes);
    TMetafile metafile;
    metafile.LoadFromStream(stream);
    MetafileMappedRecording dc;
    TCanvas canvas;
    canvas.SetHandle(&dc);
    metafile.Draw(canvas, Rect(0, 0, 10, 10));
    EXPECT_EQ(dc.Calls("SelectBrush").back(), "SelectBrush(bsSolid, #00FF00)");
}

TEST(MetafilePlaybackTest, WideTextIsEncodedInTheFontsCodePage) {
    struct Case {
        const char* text;
        uint8_t charset;
        const char* expected;
    } cases[] = {
        {"Caf\xC3\xA9 \xE2\x82\xAC", 0, "\"Caf\\xE9 \\x80\""},
        {"\xD0\x96", 204, "\"\\xC6\""},
        {"\xE4\xB8\xAD", 0, "\"?\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        auto w = MetafileWriter::Emf(0, 0, 99, 99, 0, 0, 2540, 2540)
                     .CreateFont(1, -10, "Arial", 400, c.charset)
                     .SelectObject(1)
                     .TextOut(5, 6, c.text);
        MetafileMappedRecording dc;
        Play(w, dc, Rect(0, 0, 100, 100));
        EXPECT_TRUE(Contains(dc.Log(), std::string("TextOut(5, 6, ") + c.expected + ")"));
    }
}

TEST(MetafilePlaybackTest, PenWidthsFollowTheMapping) {
    // 1000 units drawn into 100 pixels: a pen 50 units wide is 5 pixels, a
    // zero-width pen stays one pixel, and a thin one does not vanish.
    auto w = MetafileWriter::PlaceableWmf(0, 0, 1000, 1000, 1000)
                 .CreatePen(0, 0, 50, 0x0000FF)
                 .SelectObject(0)
                 .Rectangle(0, 0, 10, 10)
                 .SetWindowExt(500, 500)
                 .Rectangle(0, 0, 10, 10)
                 .CreatePen(0, 0, 0, 0x00FF00)
                 .SelectObject(1)
                 .Rectangle(0, 0, 10, 10)
                 .CreatePen(0, 0, 2, 0xFF0000)
                 .SelectObject(2)
                 .Rectangle(0, 0, 10, 10);
    MetafileMappedRecording dc;
    Play(w, dc, Rect(0, 0, 100, 100));
    std::vector<std::string> expected = {"SelectPen(psSolid, 0, #000000)", "SelectPen(psSolid, 5, #FF0000)",
                                         "SelectPen(psSolid, 10, #FF0000)", "SelectPen(psSolid, 0, #00FF00)",
                                         "SelectPen(psSolid, 1, #0000FF)"};
    EXPECT_EQ(dc.Calls("SelectPen"), expected);
}

TEST(MetafilePlaybackTest, FontSizesAndAnglesFromTheFileAreBroughtIntoRange) {
    auto w = MetafileWriter::Emf(0, 0, 99, 99, 0, 0, 2540, 2540)
                 .CreateFont(1, INT32_MIN, "Arial", 400, 0, INT32_MIN)
                 .SelectObject(1)
                 .TextOut(5, 6, "x")
                 .CreateFont(2, -10, "Arial", 400, 0, 4500)
                 .SelectObject(2)
                 .TextOut(5, 6, "y");
    MetafileMappedRecording dc;
    Play(w, dc, Rect(0, 0, 100, 100));
    // INT32_MIN % 3600 is -848, one turn on: 2752.
    EXPECT_TRUE(Logged(dc, "SelectFont(-32767, 0, 2752, ")) << dc.Text();
    EXPECT_TRUE(Logged(dc, "SelectFont(-10, 0, 900, ")) << dc.Text();
}

TEST(MetafilePlaybackTest, PathsAreFilledAndStrokedAsPolygons) {
    auto w = MetafileWriter::Emf(0, 0, 99, 99, 0, 0, 2540, 2540)
                 .BeginPath()
                 .MoveTo(10, 10)
                 .LineTo(50, 10)
                 .LineTo(50, 40)
                 .Rectangle(60, 60, 70, 70)
                 .EndPath()
                 .FillPath()
                 .BeginPath()
                 .MoveTo(0, 0)
                 .LineTo(5, 5)
                 .EndPath()
                 .StrokePath();
    MetafileMappedRecording dc;
    Play(w, dc, Rect(0, 0, 100, 100));
    // Nothing is drawn while the path is recorded.
    EXPECT_TRUE(dc.Calls("LineTo").empty()) << dc.Text();
    EXPECT_TRUE(Contains(dc.Drawn(), "PolyPolygon[(10, 10), (50, 10), (50, 40), (60, 60), (70, 60), (70, 70), (60, 70)]"));
    EXPECT_TRUE(Contains(dc.Drawn(), "Polyline[(0, 0), (5, 5)]"));
    EXPECT_TRUE(Contains(dc.Log(), "SelectPen(psClear, 0, #000000)")) << "the fill has no outline";
}

TEST(MetafilePlaybackTest, EmbeddedBitmapsAreStretchedOntoTheirDestination) {
    std::vector<uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    for (bool enhanced : {false, true}) {
        SCOPED_TRACE(enhanced ? "enhanced" : "16-bit");
        MetafileWriter w = enhanced ? MetafileWriter::Emf(0, 0, 99, 99, 0, 0, 2540, 2540)
                                    : MetafileWriter::PlaceableWmf(0, 0, 100, 100, 96);
        w.StretchDib(10, 20, 40, 30, 2, 2, pixels);
        MetafileMappedRecording dc;
        Play(w, dc, Rect(0, 0, 100, 100));
        EXPECT_TRUE(Contains(dc.Drawn(), "StretchDIBits(10, 20, 50, 50)"));
        EXPECT_TRUE(Logged(dc, "StretchDIBits(10, 20, 50, 50, 0, 0, 2, 2")) << dc.Text();
    }
}

TEST(MetafilePlaybackTest, HostileRecordsDrawNothingAndDoNotStopThePicture) {
    using W = MetafileWriter;
    std::vector<uint8_t> hugePolygon;
    W::Put16(hugePolygon, 0x7FFF);  // points claimed, none present
    std::vector<uint8_t> hugePolyPolygon;
    W::Put16(hugePolyPolygon, 2);
    W::Put16(hugePolyPolygon, 0xFFFF);
    W::Put16(hugePolyPolygon, 0xFFFF);
    std::vector<uint8_t> hugeDib;  // 16000 x 16000 pixels with no bits
    W::Put32(hugeDib, 0x00CC0020);
    W::Put16(hugeDib, 0);
    for (int v : {100, 100, 0, 0, 10, 10, 0, 0})
        W::Put16(hugeDib, v);
    for (uint32_t v : {40u, 16000u, 16000u})
        W::Put32(hugeDib, v);
    W::Put16(hugeDib, 1);
    W::Put16(hugeDib, 24);
    for (int i = 0; i < 7; ++i)
        W::Put32(hugeDib, 0);
    std::vector<uint8_t> hugeText;
    W::Put16(hugeText, 30000);
    hugeText.push_back('a');
    auto w = W::PlaceableWmf(0, 0, 100, 100, 96)
                 .Record(0x0324, hugePolygon)
                 .Record(0x0538, hugePolyPolygon)
                 .Record(0x0F43, hugeDib)
                 .Record(0x0521, hugeText)
                 .Record(0x041B, {1, 0})  // rectangle with one parameter
                 .Record(0x2222, {1, 2, 3, 4})  // unknown
                 .Rectangle(1, 2, 3, 4);
    MetafileMappedRecording dc;
    Play(w, dc, Rect(0, 0, 100, 100));
    EXPECT_EQ(dc.Calls("Polygon").size(), 0u);
    EXPECT_EQ(dc.Calls("PolyPolygon").size(), 0u);
    EXPECT_EQ(dc.Calls("StretchDIBits").size(), 0u);
    EXPECT_EQ(dc.Calls("TextOut").size(), 0u);
    EXPECT_EQ(dc.Calls("Rectangle"), std::vector<std::string>{"Rectangle(1, 2, 3, 4)"});
}

TEST(MetafilePlaybackTest, DestinationSpanningTheWholeCoordinateRangeIsMapped) {
    for (bool enhanced : {false, true}) {
        SCOPED_TRACE(enhanced ? "enhanced" : "16-bit");
        MetafileMappedRecording dc;
        Play(RectangleAndText(enhanced), dc, Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
        EXPECT_EQ(dc.Calls("Rectangle").size(), 1u);
    }
}

TEST(MetafilePlaybackTest, HostileEnhancedRecordsDrawNothing) {
    using W = MetafileWriter;
    std::vector<uint8_t> polyPolygon(16, 0);
    W::Put32(polyPolygon, 0x7FFFFFFF);
    W::Put32(polyPolygon, 0x7FFFFFFF);
    std::vector<uint8_t> text(16 + 12, 0);
    for (uint32_t v : {0u, 0u, 0x7FFFFFFFu, 76u, 0u, 0u, 0u, 0u, 0u, 0u})
        W::Put32(text, v);
    std::vector<uint8_t> dib(16, 0);  // bitmap offsets beyond the record
    for (uint32_t v : {0u, 0u, 0u, 0u, 2u, 2u, 0xFFFFFF00u, 40u, 80u, 16u, 0u, 0x00CC0020u, 10u, 10u})
        W::Put32(dib, v);
    auto w = W::Emf(0, 0, 99, 99, 0, 0, 2540, 2540)
                 .Record(8, polyPolygon)
                 .Record(84, text)
                 .Record(81, dib)
                 .SetWorldTransform(std::numeric_limits<float>::quiet_NaN(), 0, 0, 1, 0, 0)
                 .Rectangle(0, 0, 5, 5)
                 .SetWorldTransform(0, 0, 0, 0, 0, 0)
                 .Rectangle(0, 0, 5, 5)
                 .SetWorldTransform(1, 0, 0, 1, 0, 0)
                 .Rectangle(1, 2, 3, 4);
    MetafileMappedRecording dc;
    Play(w, dc, Rect(0, 0, 100, 100));
    EXPECT_EQ(dc.Calls("PolyPolygon").size(), 0u);
    EXPECT_EQ(dc.Calls("ExtTextOut").size() + dc.Calls("TextOut").size(), 0u);
    EXPECT_EQ(dc.Calls("StretchDIBits").size(), 0u);
    EXPECT_EQ(dc.Calls("Rectangle"), std::vector<std::string>{"Rectangle(1, 2, 3, 4)"});
}

} // namespace
} // namespace rpt

#include "RecordedReport.h"

#include "device/EQuillet.h"
#include "platform/Graphics.h"

#include <gtest/gtest.h>

using namespace rpt;
using rpt::test::RecordedReport;

namespace {

struct FramedCase {
    const char* what;
    TPenStyle style;
    int32_t width;
    uint8_t frameMode;
    const char* call;
};

} // namespace

TEST(FramedBox, PlacesTheOutlineByPenAndFrameMode) {
    const FramedCase cases[] = {
        {"1-pixel solid pen", psSolid, 1, 0, "Rectangle(300, 300, 601, 601)"},
        {"3-pixel pen stays inside", psSolid, 3, 0, "Rectangle(301, 301, 600, 600)"},
        {"clear pen", psClear, 1, 0, "Rectangle(300, 300, 602, 602)"},
        {"inside frame", psInsideFrame, 3, 0, "Rectangle(300, 300, 601, 601)"},
        {"frame mode 1 centres", psSolid, 3, 1, "Rectangle(300, 300, 601, 601)"},
    };
    for (const FramedCase& c : cases) {
        RecordedReport report;
        report.Start();
        report.SetPen(clBlack, c.style, c.width, pmCopy);
        report.SetFrameMode(c.frameMode);
        report.Rectangle(1, 1, 2, 2);
        report.Rectangle(2, 2, 1, 1);
        ASSERT_EQ(report.Calls("Rectangle").size(), 2u) << c.what;
        EXPECT_EQ(report.Calls("Rectangle")[0], c.call) << c.what;
        EXPECT_EQ(report.Calls("Rectangle")[1], c.call) << c.what << " (corners swapped)";
    }
}

TEST(FramedBox, EllipseSharesTheBox) {
    RecordedReport report;
    report.Start();
    report.Ellipse(2, 1, 1, 2);
    EXPECT_EQ(report.Calls("Ellipse"), std::vector<std::string>{"Ellipse(300, 300, 601, 601)"});
}

TEST(TabRectangle, PassesCornersUnorderedWhateverThePen) {
    RecordedReport report;
    report.Start();
    report.SetPen(clBlack, psSolid, 5, pmCopy);
    report.TabRectangle(1, 1, 2, 2);
    report.TabRectangle(2, 2, 1, 1);
    EXPECT_EQ(report.Calls("Rectangle"),
              (std::vector<std::string>{"Rectangle(300, 300, 601, 601)",
                                        "Rectangle(600, 600, 301, 301)"}));
}

TEST(RoundRect, CornerIsALengthWithoutOrigin) {
    RecordedReport report;
    report.Start();
    report.ZoomFactor = 200;
    report.SetOriginX(1);
    report.SetOriginY(1);
    report.RoundRect(0, 0, 1, 1, 0.25, 0.25);
    EXPECT_EQ(report.Calls("RoundRect"),
              std::vector<std::string>{"RoundRect(600, 600, 1200, 1200, 150, 150)"});
}

TEST(ShapeGuards, RefuseOutsideAJobAndDrawNothingOnASkippedPage) {
    RecordedReport report;
    try {
        report.Rectangle(1, 1, 2, 2);
        FAIL() << "drawing outside a job must raise";
    } catch (const EQuillet& e) {
        EXPECT_EQ(e.Message(), "Invalid method call.  Quillet is not printing.");
    }
    report.Start();
    report.SkipPage = true;
    report.Rectangle(1, 1, 2, 2);
    report.LineTo(1, 1);
    report.TextRect(TRect{0, 0, 10, 10}, 0, 0, "x");
    EXPECT_TRUE(report.context.Log().empty());
    report.SkipPage = false;
    report.AbortJob();
    EXPECT_THROW(report.Rectangle(1, 1, 2, 2), EAbort);
}

TEST(Lines, MoveAndLineDrawAtOnceAndRememberThePenPosition) {
    RecordedReport report;
    report.Start();
    report.MoveTo(1, 1);
    report.LineTo(3, 2);
    EXPECT_EQ(report.Calls("MoveTo"), std::vector<std::string>{"MoveTo(300, 300)"});
    EXPECT_EQ(report.Calls("LineTo"), std::vector<std::string>{"LineTo(900, 600)"});
    EXPECT_DOUBLE_EQ(report.PenPosX, 1);
    EXPECT_DOUBLE_EQ(report.PenPosY, 1);
}

TEST(Bitmaps, KeepTheirPixelSizeAtEveryZoomAndCombineByTheRopFlag) {
    RecordedReport report;
    report.Start();
    TBitmap bitmap;
    bitmap.SetSize(100, 50);
    report.ZoomFactor = 50;
    report.PrintBitmap(1, 1, 1, 1, bitmap);
    report.PrintBitmap(1, 1, 2.5, 0.5, bitmap);
    report.BitmapRopAnd = true;
    report.PrintBitmapRect(0, 0, 1, 1, bitmap);
    auto calls = report.Calls("StretchDIBits");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].rfind("StretchDIBits(150, 150, 250, 200, 0, 0, 100, 50, ", 0), 0u) << calls[0];
    EXPECT_EQ(calls[1].rfind("StretchDIBits(150, 150, 400, 175, ", 0), 0u) << calls[1];
    EXPECT_EQ(calls[2].rfind("StretchDIBits(0, 0, 150, 150, ", 0), 0u) << calls[2];
    EXPECT_NE(calls[0].find("$00CC0020"), std::string::npos) << calls[0];
    EXPECT_NE(calls[2].find("$008800C6"), std::string::npos) << calls[2];
}

// Scale factors and pen widths come from the file: however large, the
// device coordinates they produce stay in range.
TEST(Bitmaps, AnEnormousScaleOrPenStaysInsideTheCoordinateRange) {
    RecordedReport report;
    report.Start();
    TBitmap bitmap;
    bitmap.SetSize(100, 50);
    report.PrintBitmap(1, 1, 1e12, 1e12, bitmap);
    ASSERT_EQ(report.Calls("StretchDIBits").size(), 1u);
    EXPECT_EQ(report.Calls("StretchDIBits")[0].rfind("StretchDIBits(300, 300, 2147483647, 2147483647, ", 0), 0u)
        << report.Calls("StretchDIBits")[0];

    report.GetCanvas().Pen().SetWidth(INT32_MAX);
    EXPECT_EQ(report.GetCanvas().Pen().Width(), kMaxPenWidth);
    report.Rectangle(-1e12, -1e12, 1e12, 1e12);
    ASSERT_EQ(report.Calls("Rectangle").size(), 1u);
}

TEST(ImageBlocks, TheDecoderRunsEvenOnASkippedPage) {
    RecordedReport report;
    report.Start();
    int decoded = 0;
    report.OnDecodeImage = [&](TBaseReport&, TStream&, const std::string& type, TBitmap& bitmap) {
        ++decoded;
        EXPECT_EQ(type, "JPEG");
        bitmap.SetSize(4, 4);
    };
    TMemoryStream image;
    report.SkipPage = true;
    report.PrintImageRect(0, 0, 1, 1, image, "JPEG");
    EXPECT_EQ(decoded, 1);
    EXPECT_TRUE(report.Calls("StretchDIBits").empty());
    report.SkipPage = false;
    report.PrintImageRect(0, 0, 1, 1, image, "JPEG");
    EXPECT_EQ(report.Calls("StretchDIBits").size(), 1u);

    RecordedReport silent;
    silent.Start();
    silent.PrintImageRect(0, 0, 1, 1, image, "JPEG");
    EXPECT_TRUE(silent.context.Log().empty());
}

TEST(TextRect, ClipsAtTheBaselineAndPaintsUnlessTheBrushIsClear) {
    RecordedReport report;
    report.Start();
    report.TextRect(TRect{0, 0, 90, 40}, 0, 0, "");
    EXPECT_TRUE(report.context.Log().empty()) << "an empty text selects no font";
    report.SetBrush(clWhite, bsClear, nullptr);
    report.TextRect(TRect{0, 0, 90, 40}, 0.1, 0.1, "Hi");
    report.SetBrush(clWhite, bsSolid, nullptr);
    report.TextRect(TRect{0, 0, 90, 40}, 0.1, 0.1, "Hi");
    auto calls = report.Calls("ExtTextOut");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].rfind("ExtTextOut(30, 30, 4, ", 0), 0u) << calls[0];
    EXPECT_EQ(calls[1].rfind("ExtTextOut(30, 30, 6, ", 0), 0u) << calls[1];
    EXPECT_EQ(report.Calls("SetTextAlign").back(), "SetTextAlign(24)");
}

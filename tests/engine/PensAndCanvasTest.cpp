#include "EngineFixture.h"

#include "device/EQuillet.h"
#include "platform/Graphics.h"

namespace rpt {
namespace {

using test::NoPrinterTest;
using test::PrinterTest;
using test::TestReport;

using CanvasAccess = PrinterTest;

TEST_F(CanvasAccess, TheCanvasExistsOnlyWhileTheDevicePrints) {
    TestReport report(nullptr);
    try {
        report.GetCanvas();
        FAIL() << "a canvas outside a job";
    } catch (const EQuillet& e) {
        EXPECT_EQ(e.Message(), "Error!  Canvas not yet active.");
    }
    EXPECT_THROW(report.SetPen(clBlack, psSolid, 1, pmCopy), EQuillet);
    SharedDevice().BeginJob();
    EXPECT_EQ(&report.GetCanvas(), &SharedDevice().Canvas());
}

TEST_F(CanvasAccess, BackColorNeedsAJobAndAnswersThePreviousColour) {
    TestReport report(nullptr);
    EXPECT_THROW(report.SetBackColor(clWhite), EQuillet);
    BeginJob(report);
    const TColor before = report.SetBackColor(RGB(1, 2, 3));
    EXPECT_EQ(report.SetBackColor(clWhite), RGB(1, 2, 3));
    EXPECT_NE(before, RGB(1, 2, 3));
    EXPECT_EQ(Context().Calls("SetBkColor").back(), "SetBkColor(#FFFFFF)");
}

struct PenWidthCase {
    int32_t width;
    double zoom;
    int32_t pixels;
};

class PenWidths : public PrinterTest, public testing::WithParamInterface<PenWidthCase> {};

TEST_P(PenWidths, NegativeWidthsAreThicknessesAtTheDeviceResolution) {
    TestReport report(nullptr);
    BeginJob(report);
    report.ZoomFactor = GetParam().zoom;
    report.SetPen(RGB(255, 0, 0), psDash, GetParam().width, pmXor);
    const TPen& pen = report.GetCanvas().Pen();
    EXPECT_EQ(pen.Width(), GetParam().pixels) << GetParam().width;
    EXPECT_EQ(pen.Color(), RGB(255, 0, 0));
    EXPECT_EQ(pen.Style(), psDash);
    EXPECT_EQ(pen.Mode(), pmXor);
}

INSTANTIATE_TEST_SUITE_P(Widths, PenWidths,
                         testing::Values(PenWidthCase{-1, 100, 3}, PenWidthCase{-10, 100, 30},
                                         PenWidthCase{-10100, 100, 3},
                                         PenWidthCase{-10030, 100, 1},
                                         PenWidthCase{-10001, 100, 1},
                                         PenWidthCase{-10000, 100, 30000},
                                         PenWidthCase{-10, 50, 15}, PenWidthCase{0, 100, 0},
                                         PenWidthCase{7, 50, 7},
                                         PenWidthCase{INT32_MIN, 100, 64424209}));

TEST_F(CanvasAccess, CreatedPensTakeHundredthsOfAnInchAndAreNeverZeroWide) {
    TestReport report(nullptr);
    report.XDPI = 300;
    EXPECT_EQ(report.CreatePen(clBlack, psSolid, -10, pmCopy)->Width(), 30);
    EXPECT_EQ(report.CreatePen(clBlack, psSolid, -1, pmCopy)->Width(), 3);
    report.XDPI = 96;
    EXPECT_EQ(report.CreatePen(clBlack, psSolid, -1, pmCopy)->Width(), 1);
    const auto pen = report.CreatePen(RGB(0, 0, 9), psDot, 4, pmNot);
    EXPECT_EQ(pen->Width(), 4);
    EXPECT_EQ(pen->Style(), psDot);
    EXPECT_EQ(pen->Mode(), pmNot);
    EXPECT_EQ(pen->Color(), RGB(0, 0, 9));
}

TEST_F(CanvasAccess, BrushTakesColourStyleAndACopyOfThePattern) {
    TestReport report(nullptr);
    BeginJob(report);
    TBitmap pattern;
    pattern.SetSize(8, 8);
    report.SetBrush(RGB(0, 128, 0), bsCross, &pattern);
    const TBrush& brush = report.GetCanvas().Brush();
    EXPECT_EQ(brush.Color(), RGB(0, 128, 0));
    EXPECT_EQ(brush.Style(), bsCross);
    ASSERT_TRUE(brush.HasPattern());
    EXPECT_NE(brush.Pattern().get(), &pattern);
    EXPECT_EQ(brush.Pattern()->Width(), 8);
}

TEST_F(CanvasAccess, JobStartResetsPenBrushCursorAndTabs) {
    TestReport report(nullptr);
    BeginJob(report);
    report.SetMarginLeft(1);
    report.SetMarginTop(0.5);
    report.SetPen(RGB(9, 9, 9), psDot, 5, pmXor);
    report.SetOriginX(2);
    report.TabJustify = 1;
    report.SetTabs({TTabStop{}});
    report.ResetJobState();
    const TCanvas& canvas = report.GetCanvas();
    EXPECT_EQ(canvas.Pen().Width(), 1);
    EXPECT_EQ(canvas.Pen().Style(), psSolid);
    EXPECT_EQ(canvas.Pen().Color(), clBlack);
    EXPECT_EQ(canvas.Brush().Style(), bsClear);
    EXPECT_EQ(report.OriginX, 0);
    EXPECT_EQ(report.TabJustify, 4);
    EXPECT_EQ(report.TabAt(1), nullptr);
    EXPECT_EQ(report.ColumnWidth, 7.5);
    EXPECT_EQ(report.CursorX, 1);
    EXPECT_EQ(report.LineNumber, 1);
    // The first baseline: one line below the area top, raised by the descent.
    EXPECT_NEAR(report.CursorY, 0.5 + 1.0 / 6 - report.LineDescent, 1e-12);
}

using Settings = NoPrinterTest;

TEST_F(Settings, BackAndFrameModesAreStored) {
    TestReport report(nullptr);
    report.SetBackMode(1);
    report.SetFrameMode(2);
    EXPECT_EQ(report.BackMode, 1);
    EXPECT_EQ(report.FrameMode, 2);
    report.ClearLineBuffers();
}

} // namespace
} // namespace rpt

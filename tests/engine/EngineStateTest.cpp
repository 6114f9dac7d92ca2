#include "EngineFixture.h"

#include "device/EQuillet.h"
#include "platform/Exceptions.h"

#include <cmath>

namespace rpt {
namespace {

using test::NoPrinterTest;
using test::PrinterTest;
using test::TestReport;

using Conversions = NoPrinterTest;

TEST_F(Conversions, InchesBecomePixelsRoundedHalfToEvenOnTheFullProduct) {
    TestReport report(nullptr);
    report.XDPI = report.YDPI = 300;
    EXPECT_EQ(report.InchToDevX(1.0), 300);
    EXPECT_EQ(report.UnitToDevY(0.5), 150);
    report.XDPI = report.YDPI = 96;
    EXPECT_EQ(report.InchToDevX(1.0 / 64), 2);  // 1.5 pixels
    EXPECT_EQ(report.InchToDevX(3.0 / 64), 4);  // 4.5 pixels
    EXPECT_EQ(report.InchToDevY(5.0 / 64), 8);  // 7.5 pixels
    EXPECT_EQ(report.InchToDevX(-1.0 / 64), -2);
}

TEST_F(Conversions, TheDeviceOffsetIsAddedAfterRounding) {
    TestReport report(nullptr);
    report.XDPI = 96;
    report.DevOffsetX = 10;
    EXPECT_EQ(report.InchToDevX(1.0 / 64), 12);
    report.DevOffsetY = -3;
    report.YDPI = 96;
    EXPECT_EQ(report.InchToDevY(3.0 / 64), 1);
}

TEST_F(Conversions, OriginScaleAndZoomEnterBeforeTheUnprintableEdge) {
    TestReport report(nullptr);
    report.XDPI = report.YDPI = 300;
    report.UnprintableLeft = 0.25;
    report.UnprintableTop = 0.25;
    EXPECT_EQ(report.InchToDevX(0.25), 0);
    EXPECT_EQ(report.InchToDevX(0.0), -75);
    report.SetOriginX(1);
    EXPECT_EQ(report.InchToDevX(0.25), 300);
    report.ZoomFactor = 50;
    // (0.5 + 1) * 0.5 - 0.25 = 0.5 inch
    EXPECT_EQ(report.InchToDevX(0.5), 150);
    report.SetScaleY(200);
    report.ZoomFactor = 100;
    EXPECT_EQ(report.InchToDevY(1.0), 525); // (1 * 2 - 0.25) * 300
}

TEST_F(Conversions, ExtremePositionsSaturateInsteadOfOverflowing) {
    TestReport report(nullptr);
    report.DevOffsetX = 1000;
    EXPECT_EQ(report.InchToDevX(1e300), TBaseReport::kDeviceCoordinateLimit);
    report.DevOffsetX = -1000;
    EXPECT_EQ(report.InchToDevX(-1e300), -TBaseReport::kDeviceCoordinateLimit);
    EXPECT_EQ(report.InchToDevX(std::nan("")), -1000);
}

TEST_F(Conversions, MillimetreUnitsMeetInchesAtOneInch) {
    TestReport report(nullptr);
    report.XDPI = 300;
    report.SetUnits(unMM);
    EXPECT_EQ(report.UnitsFactor, 25.4);
    EXPECT_EQ(report.UnitToDevX(25.4), report.InchToDevX(1));
    EXPECT_DOUBLE_EQ(report.InchToUnitX(2), 50.8);
}

TEST_F(Conversions, UnitsKindsSetTheirFactorAndOtherKindsKeepIt) {
    TestReport report(nullptr);
    const std::pair<uint8_t, double> kinds[] = {{unCM, 2.54}, {unPoint, 72}, {unInch, 1}};
    for (const auto& [kind, factor] : kinds) {
        report.SetUnits(kind);
        EXPECT_EQ(report.UnitsFactor, factor);
    }
    report.SetUnits(unMM);
    report.SetUnits(unUser);
    EXPECT_EQ(report.Units, unUser);
    EXPECT_EQ(report.UnitsFactor, 25.4);
}

TEST_F(Conversions, AFactorNamesItsUnitsOnlyWhenItMatchesExactly) {
    TestReport report(nullptr);
    const std::pair<double, uint8_t> factors[] = {
        {72, unPoint}, {72.0001, unUser}, {25.4, unMM}, {2.54, unCM}, {1, unInch}, {3, unUser}};
    for (const auto& [factor, units] : factors) {
        report.SetUnitsFactor(factor);
        EXPECT_EQ(report.Units, units) << factor;
        EXPECT_EQ(report.UnitsFactor, factor);
    }
    for (double refused : {0.0, -2.0, std::nan(""), double(INFINITY)}) {
        report.SetUnitsFactor(refused);
        EXPECT_EQ(report.UnitsFactor, 3) << refused;
        EXPECT_EQ(report.Units, unUser);
    }
}

using EngineWithoutPrinters = NoPrinterTest;

TEST_F(EngineWithoutPrinters, CreationTakesScreenResolutionLetterPaperAndDefaults) {
    TestReport report(nullptr);
    EXPECT_TRUE(report.NoPrinters());
    EXPECT_EQ(report.XDPI, 96);
    EXPECT_EQ(report.YDPI, 96);
    EXPECT_EQ(report.MarginRight, 8.5);
    EXPECT_EQ(report.MarginBottom, 11);
    EXPECT_EQ(report.AreaRight, 8.5);
    EXPECT_EQ(report.CursorX, 0);
    EXPECT_EQ(report.StatusFormat, "Printing page %p");
    EXPECT_EQ(report.JobTitle, "Quillet Report");
    EXPECT_EQ(report.OutputKinds, 0x1F);
    EXPECT_EQ(report.TotalPages, 9999);
    EXPECT_EQ(report.FirstPage, 1);
    EXPECT_EQ(report.LastPage, 9999);
    EXPECT_EQ(report.LinesPerInch, 6);
    EXPECT_EQ(report.Copies, 1);
    EXPECT_EQ(report.TabStep, 0.5);
    EXPECT_EQ(report.TabJustify, 4);
    EXPECT_TRUE(report.FontDirty);
    EXPECT_EQ(report.FontRecord.Name, "Arial");
    EXPECT_EQ(report.FontRecord.Size, 10);
    EXPECT_DOUBLE_EQ(report.FontRecord.Height, 10.0 / 72);
    EXPECT_EQ(report.DevMode(), nullptr);
}

TEST_F(EngineWithoutPrinters, RightAndBottomMarginsAreMeasuredFromThePaperSize) {
    TestReport report(nullptr);
    report.SetMarginRight(1);
    report.SetMarginBottom(1);
    EXPECT_EQ(report.MarginRight, 7.5);
    EXPECT_EQ(report.MarginBottom, 10);
    EXPECT_EQ(report.GetMarginRight(), 1);
    report.SetUnits(unMM);
    report.SetMarginLeft(25.4);
    EXPECT_EQ(report.MarginLeft, 1);
    EXPECT_EQ(report.AreaLeft, 1);
}

TEST_F(EngineWithoutPrinters, TheLeftAreaEdgePullsTheCursorOnlyWhenMovedPastIt) {
    TestReport report(nullptr);
    report.CursorX = 1;
    report.SetAreaLeft(2);
    EXPECT_EQ(report.CursorX, 2);
    report.SetAreaLeft(0.5);
    EXPECT_EQ(report.CursorX, 2);
    report.SetAreaRight(1.5);
    EXPECT_EQ(report.CursorX, 1.5);
    report.CursorY = 3;
    report.SetAreaBottom(2);
    EXPECT_EQ(report.CursorY, 2);
    report.SetAreaTop(2.5);
    EXPECT_EQ(report.CursorY, 2.5);
}

TEST_F(EngineWithoutPrinters, LineNumberPutsTheBaselineLineHeightsBelowTheAreaTop) {
    TestReport report(nullptr);
    report.LineHeight = 1.0 / 6;
    report.AreaTop = 1;
    report.LineDescent = 0.05;
    report.SetLineNumber(1);
    EXPECT_NEAR(report.CursorY, 1.1166666666, 1e-9);
    report.SetLineNumber(3);
    EXPECT_NEAR(report.CursorY, 1.45, 1e-9);
}

TEST_F(EngineWithoutPrinters, ColumnsAndHomeStartAtTheColumnLeftEdge) {
    TestReport report(nullptr);
    report.SetMarginLeft(1);
    report.SetMarginRight(1);
    report.ResetArea();
    report.ResetColumns();
    EXPECT_EQ(report.ColumnWidth, 6.5);
    EXPECT_EQ(report.ColumnCount, 1);
    report.ColumnWidth = 2;
    report.SetColumnNumber(3);
    EXPECT_EQ(report.CursorX, 5);
    report.Home();
    EXPECT_EQ(report.ColumnNumber, 1);
    EXPECT_EQ(report.LineNumber, 1);
    EXPECT_EQ(report.CursorX, 1);
}

TEST_F(EngineWithoutPrinters, AdvanceXFollowsTheTextDirectionAndDividesTheZoomOut) {
    TestReport report(nullptr);
    report.CursorX = 1;
    report.CursorY = 5;
    report.ZoomFactor = 200;
    report.AdvanceX(1);
    EXPECT_EQ(report.CursorX, 1.5);
    EXPECT_EQ(report.CursorY, 5);
    report.FontRecord.Rotation = 90;
    report.AdvanceX(1);
    EXPECT_NEAR(report.CursorX, 1.5, 1e-12);
    EXPECT_NEAR(report.CursorY, 4.5, 1e-12);
    report.FontRecord.Rotation = 180;
    report.AdvanceX(1);
    EXPECT_NEAR(report.CursorX, 1.0, 1e-12);
}

TEST_F(EngineWithoutPrinters, PositionsPopInReverseOrderAndAnEmptyStackAnswersFalse) {
    TestReport report(nullptr);
    EXPECT_FALSE(report.PopPos());
    report.CursorX = 1;
    report.CursorY = 2;
    EXPECT_TRUE(report.PushPos());
    report.CursorX = 3;
    report.CursorY = 4;
    report.PushPos();
    report.CursorX = report.CursorY = 9;
    EXPECT_TRUE(report.PopPos());
    EXPECT_EQ(std::pair(report.CursorX, report.CursorY), std::pair(3.0, 4.0));
    EXPECT_TRUE(report.PopPos());
    EXPECT_EQ(std::pair(report.CursorX, report.CursorY), std::pair(1.0, 2.0));
    EXPECT_FALSE(report.PopPos());
}

TEST_F(EngineWithoutPrinters, LineTextGeometryIsMeasuredFromTheBaseline) {
    TestReport report(nullptr);
    report.CursorY = 2;
    report.LineAscent = 0.1;
    report.LineDescent = 0.05;
    report.LineHeight = 0.2;
    EXPECT_DOUBLE_EQ(report.TextTop(), 1.9);
    EXPECT_DOUBLE_EQ(report.TextBaseline(), 2);
    EXPECT_DOUBLE_EQ(report.TextBottom(), 2.05);
    EXPECT_DOUBLE_EQ(report.LineTop(), 1.85);
    EXPECT_DOUBLE_EQ(report.LineBottom(), 2.05);
}

TEST_F(EngineWithoutPrinters, LinesPerInchRefusesZeroAndNegative) {
    TestReport report(nullptr);
    report.SetLinesPerInch(8);
    report.SetLinesPerInch(0);
    report.SetLinesPerInch(-3);
    EXPECT_EQ(report.LinesPerInch, 8);
}

TEST_F(EngineWithoutPrinters, AssignToCopiesTheJobSettingsAndTheHandlers) {
    TestReport source(nullptr);
    TestReport dest(nullptr);
    source.FirstPage = 3;
    source.LastPage = 7;
    source.PageSelection = "ODD";
    source.StatusFormat = "Page %p";
    source.SetUnits(unMM);
    source.SetMarginLeft(25.4);
    source.SetShadePercent(40);
    source.JobTitle = "Invoices";
    source.SetBackMode(1);
    source.SetCopies(4);
    source.SetScaleX(150);
    TStringList data;
    data.Add("first line");
    source.SetMacroData(data);
    int printed = 0;
    source.OnPrint = [&](TBaseReport&) { ++printed; };
    source.OnSpareEvent6 = [&](TBaseReport&) { ++printed; };
    source.OnDecodeImage = [](TBaseReport&, TStream&, const std::string&, TBitmap&) {};
    source.AssignTo(dest);
    EXPECT_EQ(dest.FirstPage, 3);
    EXPECT_EQ(dest.LastPage, 7);
    EXPECT_EQ(dest.PageSelection, "ODD");
    EXPECT_EQ(dest.StatusFormat, "Page %p");
    EXPECT_EQ(dest.Units, unMM);
    EXPECT_EQ(dest.MarginLeft, 1);
    EXPECT_EQ(dest.GetMarginLeft(), 25.4);
    EXPECT_EQ(dest.ShadePercent, 40);
    EXPECT_EQ(dest.JobTitle, "Invoices");
    EXPECT_EQ(dest.BackMode, 1);
    EXPECT_EQ(dest.Copies, 4);
    EXPECT_EQ(dest.ScaleX, 150);
    EXPECT_EQ(dest.MacroData().Strings(0), "first line");
    dest.DoPrint();
    dest.DoSpareEvent6();
    EXPECT_EQ(printed, 1);
    EXPECT_FALSE(dest.OnDecodeImage);
}

TEST_F(EngineWithoutPrinters, AssignToAnythingButAReportIsAnInvalidCast) {
    TestReport source(nullptr);
    TComponent other(nullptr);
    EXPECT_THROW(source.AssignTo(other), EInvalidCast);
}

using EngineWithPrinters = PrinterTest;

TEST_F(EngineWithPrinters, MetricsComeFromTheSelectedPrinter) {
    TestReport report(nullptr);
    EXPECT_FALSE(report.NoPrinters());
    EXPECT_EQ(report.DeviceName(), "Laser 1");
    EXPECT_EQ(report.XDPI, 300);
    EXPECT_EQ(report.YDPI, 300);
    EXPECT_EQ(report.UnprintableLeft, 0.25);
    EXPECT_EQ(report.UnprintableRight, 0.25);
    EXPECT_EQ(report.UnprintableTop, 0.25);
    EXPECT_EQ(report.UnprintableBottom, 0.25);
    // The whole paper: the printable width plus both edges.
    EXPECT_EQ(report.MarginRight, 8.5);
    EXPECT_EQ(report.MarginBottom, 11);
    report.SetMarginRight(1);
    EXPECT_EQ(report.MarginRight, 7.5);
    // Paper position 0.25 inch is the printable area's first pixel.
    EXPECT_EQ(report.InchToDevX(0.25), 0);
    EXPECT_EQ(report.InchToDevY(0.0), -75);
}

TEST_F(EngineWithPrinters, AnEngineOfAnotherKindReadsNoPrinterEdges) {
    TestReport report(nullptr);
    report.Kind = kOutputPreview;
    report.RecalcPageMetrics();
    EXPECT_EQ(report.UnprintableLeft, 0);
    EXPECT_EQ(report.UnprintableBottom, 0);
}

TEST_F(EngineWithPrinters, AResolutionOfZeroFromTheDriverIsNotDividedBy) {
    Setup->Caps[LOGPIXELSX] = 0;
    Setup->Caps[LOGPIXELSY] = 0;
    TestReport report(nullptr);
    EXPECT_EQ(report.XDPI, 96);
    EXPECT_TRUE(std::isfinite(report.MarginRight));
}

TEST_F(EngineWithPrinters, RecalculatingMetricsDuringAJobIsRefused) {
    TestReport report(nullptr);
    report.Printing = true;
    try {
        report.RecalcPageMetrics();
        FAIL() << "not refused";
    } catch (const EQuillet& e) {
        EXPECT_EQ(e.Message(), "Invalid method call.  Quillet already printing.");
    }
}


} // namespace
} // namespace rpt

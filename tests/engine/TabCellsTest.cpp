#include "EngineFixture.h"

namespace rpt {
namespace {

using test::NoPrinterTest;
using test::PrinterTest;
using test::TestReport;
using Calls = std::vector<std::string>;

using TabCells = PrinterTest;

TEST_F(TabCells, WithNoTabsNextTabDrawsNothingAndPrintTabPrintsAtTheCursor) {
    TestReport report(nullptr);
    BeginJob(report);
    report.CursorX = 1.5;
    report.NextTab(kTabDefault, kTabDefault, kTabDefault, kTabDefault, kTabDefault);
    EXPECT_EQ(report.TabAt(0), nullptr);
    EXPECT_TRUE(report.Calls.empty());
    report.PrintTab("Amount");
    EXPECT_EQ(report.Calls, (Calls{"PrintLeft(\"Amount\", 1.5)"}));
}

TEST_F(TabCells, PrintTabMovesToTheNextCellAtEveryTabCharacter) {
    TestReport report(nullptr);
    BeginJob(report);
    report.SetTabs({TTabStop{0.5, 1, 3.0, 0.1}, TTabStop{4, 2, 3.0, 0.1},
                    TTabStop{8, 0, 2.0, 0}});
    report.PrintTab("Qty\tPrice\tTotal");
    EXPECT_EQ(report.Calls, (Calls{"PrintLeft(\"Qty\", 0.6)", "PrintRight(\"Price\", 6.9)",
                                   "PrintCenter(\"Total\", 9)"}));
    EXPECT_NE(report.TabAt(0), nullptr);
    EXPECT_EQ(report.TabAt(0)->Position, 8);
}

TEST_F(TabCells, ForcedJustificationAndBlockCells) {
    TestReport report(nullptr);
    BeginJob(report);
    report.SetTabs({TTabStop{1, 1, 2.0, 0.25}});
    report.TabJustify = 3;
    report.PrintTab("a b");
    EXPECT_EQ(report.Calls, (Calls{"PrintBlock(\"a b\", 1.25, 1.5)"}));
}

TEST_F(TabCells, TabsRestartAtTheFirstCellOnANewLine) {
    TestReport report(nullptr);
    BeginJob(report);
    report.SetTabs({TTabStop{1, 1, 1, 0}, TTabStop{3, 1, 1, 0}});
    report.NextTab(kTabDefault, kTabDefault, kTabDefault, kTabDefault, kTabDefault);
    report.NextTab(kTabDefault, kTabDefault, kTabDefault, kTabDefault, kTabDefault);
    EXPECT_EQ(report.TabAt(0)->Position, 3);
    report.NextTab(kTabDefault, kTabDefault, kTabDefault, kTabDefault, kTabDefault);
    EXPECT_EQ(report.TabAt(0), nullptr);
    report.SetLineNumber(2);
    report.NextTab(kTabDefault, kTabDefault, kTabDefault, kTabDefault, kTabDefault);
    EXPECT_EQ(report.TabAt(0)->Position, 1);
    EXPECT_EQ(report.TabAt(2)->Position, 3);
    EXPECT_EQ(report.TabAt(3), nullptr);
    EXPECT_DOUBLE_EQ(report.TabTextWidth(1), 1);
    EXPECT_EQ(report.TabTextWidth(7), 0);
}

TEST_F(TabCells, ACellDrawsItsShadingAndBordersAndPutsThePenBack) {
    TestReport report(nullptr);
    BeginJob(report);
    report.SetPen(RGB(0, 0, 255), psSolid, 2, pmCopy);
    report.CursorY = 2;
    report.LineDescent = 0.05;
    report.LineHeight = 0.25;
    report.ShadeColor = RGB(255, 0, 0);
    TTabStop cell{1, 1, 2, 0};
    cell.LeftBorder = true;
    cell.Shade = 50;
    report.SetTabs({cell});
    report.NextTab(kTabDefault, 0, -1, kTabDefault, kTabDefault);
    EXPECT_EQ(report.Calls,
              (Calls{"TabRectangle(1, 1.8, 3, 2.05)", "MoveTo(1, 2.05)", "LineTo(1, 1.8)",
                     "MoveTo(1, 1.8)", "LineTo(3, 1.8)"}));
    const TPen& pen = report.GetCanvas().Pen();
    EXPECT_EQ(pen.Color(), RGB(0, 0, 255));
    EXPECT_EQ(pen.Width(), 2);
    EXPECT_EQ(report.GetCanvas().Brush().Color(), clWhite);
}

TEST_F(TabCells, TextWiderThanItsCellIsCutToFit) {
    TestReport report(nullptr);
    BeginJob(report);
    report.SetTabs({TTabStop{0, 1, 0.2, 0}});
    report.PrintTab("a rather long description");
    ASSERT_EQ(report.Calls.size(), 1u);
    const std::string& call = report.Calls[0];
    EXPECT_LT(call.size(), std::string("PrintLeft(\"a rather long description\", 0)").size());
    EXPECT_EQ(call.rfind("PrintLeft(\"a", 0), 0u);
}

using ShadePercent = NoPrinterTest;

TEST_F(ShadePercent, IsClampedToAPercentage) {
    TestReport report(nullptr);
    for (const auto& [given, stored] : {std::pair{150, 100}, {-5, 0}, {40, 40}}) {
        report.SetShadePercent(given);
        EXPECT_EQ(report.ShadePercent, stored);
    }
}

} // namespace
} // namespace rpt

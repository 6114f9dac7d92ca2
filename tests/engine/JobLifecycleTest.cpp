#include "EngineFixture.h"

#include "device/EQuillet.h"
#include "platform/Exceptions.h"

namespace rpt {
namespace {

using test::NoPrinterTest;
using test::PrinterTest;
using test::TestReport;
using Calls = std::vector<std::string>;

using JobGuards = NoPrinterTest;

TEST_F(JobGuards, DrawingOutsideAJobAndSettingsInsideOneAreRefusedWithTheirMessages) {
    TestReport report(nullptr);
    try {
        report.CheckPrinting();
        FAIL() << "not refused";
    } catch (const EQuillet& e) {
        EXPECT_EQ(e.Message(), "Invalid method call.  Quillet is not printing.");
    }
    EXPECT_NO_THROW(report.CheckNotPrinting());
    report.Printing = true;
    EXPECT_NO_THROW(report.CheckPrinting());
    try {
        report.SetCopies(3);
        FAIL() << "not refused";
    } catch (const EQuillet& e) {
        EXPECT_EQ(e.Message(), "Invalid method call.  Quillet already printing.");
    }
    EXPECT_EQ(report.Copies, 1);
    EXPECT_THROW(report.SelectPrinterIndex(0), EQuillet);
    EXPECT_THROW(report.SelectPrinter("Laser"), EQuillet);
}

TEST_F(JobGuards, AfterAbortJobGuardedOperationsAbortSilently) {
    TestReport report(nullptr);
    report.Printing = true;
    report.AbortJob();
    EXPECT_TRUE(report.Aborted);
    EXPECT_TRUE(report.SkipPage);
    EXPECT_THROW(report.CheckPrinting(), EAbort);
    EXPECT_THROW(report.TextWidth("x"), EAbort);
    EXPECT_THROW(report.SetBackColor(clWhite), EAbort);
}

TEST_F(JobGuards, AbortPageTwiceOnOnePageGivesBackItsNumberOnce) {
    TestReport report(nullptr);
    report.Printing = true;
    report.CurrentPage = 5;
    report.AbortPage();
    report.AbortPage();
    EXPECT_EQ(report.CurrentPage, 4);
    EXPECT_TRUE(report.SkipPage);
}

TEST_F(JobGuards, OutputIsSuppressedForSkippedPagesAndForeignDestinations) {
    TestReport report(nullptr);
    EXPECT_FALSE(report.OutputSuppressed());
    report.OutputToPreviewOnly();
    EXPECT_EQ(report.OutputKinds, 0x1E);
    EXPECT_TRUE(report.OutputSuppressed());
    report.Kind = kOutputPreview;
    EXPECT_FALSE(report.OutputSuppressed());
    report.OutputToPrinterOnly();
    EXPECT_EQ(report.OutputKinds, 0x1D);
    EXPECT_TRUE(report.OutputSuppressed());
    report.OutputToBoth();
    EXPECT_EQ(report.OutputKinds, 0x1F);
    EXPECT_FALSE(report.OutputSuppressed());
    report.Kind = 8;
    EXPECT_TRUE(report.OutputSuppressed());
    report.Kind = kOutputPrinter;
    report.SkipPage = true;
    EXPECT_TRUE(report.OutputSuppressed());
}

struct SelectionCase {
    const char* selection;
    std::vector<int32_t> selected;
    std::vector<int32_t> notSelected;
};

class PageSelectionTable : public NoPrinterTest,
                           public testing::WithParamInterface<SelectionCase> {};

TEST_P(PageSelectionTable, SelectsThePagesTheTextNames) {
    TestReport report(nullptr);
    report.PageSelection = GetParam().selection;
    for (int32_t page : GetParam().selected)
        EXPECT_TRUE(report.PageSelected(page)) << GetParam().selection << " page " << page;
    for (int32_t page : GetParam().notSelected)
        EXPECT_FALSE(report.PageSelected(page)) << GetParam().selection << " page " << page;
}

INSTANTIATE_TEST_SUITE_P(
    Selections, PageSelectionTable,
    testing::Values(SelectionCase{"", {1, 9999}, {0, 10000}},
                    SelectionCase{"1-3,7", {1, 2, 3, 7}, {4, 6, 8}},
                    SelectionCase{"EVEN", {2, 4, 100}, {1, 3}},
                    SelectionCase{"e", {2, 4}, {1, 3}},
                    SelectionCase{"odd,R", {1, 3, 5}, {2, 4}},
                    SelectionCase{"a", {1, 77}, {}},
                    SelectionCase{"-4", {1, 2, 4}, {5}},
                    SelectionCase{"3-", {3, 4, 5000}, {1, 2}},
                    SelectionCase{"7-", {7}, {3}},
                    SelectionCase{"2-2", {2}, {1, 3}},
                    SelectionCase{"4-2", {}, {2, 3, 4}},
                    SelectionCase{",", {}, {1, 2}},
                    SelectionCase{"R", {}, {1, 2}},
                    SelectionCase{"5,bad", {5}, {}}));

TEST_F(JobGuards, ASelectionTokenThatIsNoNumberOrWordIsAConversionError) {
    TestReport report(nullptr);
    report.PageSelection = "2, 4";
    EXPECT_THROW(report.PageSelected(4), EConvertError);
    report.PageSelection = "x-3";
    EXPECT_THROW(report.PageSelected(1), EConvertError);
    report.PageSelection = "5,bad";
    EXPECT_THROW(report.PageSelected(6), EConvertError);
}

TEST_F(JobGuards, TheRangeFromCreationSelectsTheFirstAndLastPageOnly) {
    TestReport report(nullptr);
    report.FirstPage = 3;
    report.LastPage = 5;
    EXPECT_FALSE(report.PageSelected(2));
    EXPECT_TRUE(report.PageSelected(3));
    EXPECT_TRUE(report.PageSelected(5));
    EXPECT_FALSE(report.PageSelected(6));
}

using JobSequence = PrinterTest;

TEST_F(JobSequence, ExecuteWithoutHandlersStartsPrintsNothingAndFinishes) {
    TestReport report(nullptr);
    report.Execute();
    EXPECT_EQ(report.Calls, (Calls{"Start()", "Finish()"}));
}

TEST_F(JobSequence, ExecuteRunsPagesWhileTheHandlerAsksForMore) {
    TestReport report(nullptr);
    report.UsesDevice = true;
    std::vector<int32_t> pages;
    report.OnPrintPage = [&](TBaseReport& sender, int32_t& page) {
        pages.push_back(page);
        EXPECT_EQ(&sender, &report);
        return page < 3;
    };
    report.Execute();
    EXPECT_EQ(pages, (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(report.CurrentPage, 3);
    EXPECT_FALSE(report.Printing);
}

TEST_F(JobSequence, ExecuteStopsPagingOnceTheJobIsAborted) {
    TestReport report(nullptr);
    report.UsesDevice = true;
    int calls = 0;
    report.OnPrintPage = [&](TBaseReport& sender, int32_t&) {
        if (++calls == 2)
            sender.AbortJob();
        return true;
    };
    report.Execute();
    EXPECT_EQ(calls, 2);
}

TEST_F(JobSequence, AFailingStartStillFinishes) {
    TestReport report(nullptr);
    report.StartFails = true;
    EXPECT_THROW(report.Execute(), std::runtime_error);
    EXPECT_EQ(report.Calls, (Calls{"Start()", "Finish()"}));
}

TEST_F(JobSequence, NewPageCountsDecidesSelectionAndGoesHome) {
    TestReport report(nullptr);
    report.PageSelection = "2";
    BeginJob(report);
    report.SetMarginTop(1);
    report.SetOriginX(3);
    report.CursorX = 4;
    report.NewPage();
    EXPECT_EQ(report.CurrentPage, 1);
    EXPECT_TRUE(report.SkipPage);
    EXPECT_EQ(report.OriginX, 0);
    EXPECT_EQ(report.LineNumber, 1);
    EXPECT_EQ(report.AreaTop, 1);
    report.NewPage();
    EXPECT_FALSE(report.SkipPage);
    int columns = 0;
    report.OnNewColumn = [&](TBaseReport&) { ++columns; };
    report.ColumnCount = 2;
    report.NewPage();
    EXPECT_EQ(columns, 1);
}

using JobSettings = PrinterTest;

TEST_F(JobSettings, CopiesOfZeroAreStoredButNotSentToThePrinter) {
    TestReport report(nullptr);
    TDevMode* record = report.DevMode();
    ASSERT_NE(record, nullptr);
    report.SetCopies(0);
    EXPECT_EQ(report.Copies, 0);
    EXPECT_EQ(record->dmCopies, 1);
    report.SetCopies(3);
    EXPECT_EQ(record->dmCopies, 3);
}

TEST_F(JobSettings, OrientationTwoIsStoredWithoutTouchingThePrinter) {
    TestReport report(nullptr);
    report.SetOrientation(2);
    EXPECT_EQ(report.Orientation, 2);
    EXPECT_EQ(report.DevMode()->dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(report.MarginRight, 8.5);
    report.SetOrientation(1);
    EXPECT_EQ(report.Orientation, 1);
    EXPECT_EQ(report.DevMode()->dmOrientation, DMORIENT_LANDSCAPE);
    // The metrics were read again from the landscape page.
    EXPECT_EQ(report.UnprintableRight, (3300.0 - (3150 + 75)) / 300);
}

TEST_F(JobSettings, PrinterIndexBelowMinusOneIsIgnoredAndMinusOneIsTheDefault) {
    TestReport report(nullptr);
    report.SelectPrinterIndex(1);
    EXPECT_EQ(report.DeviceName(), "Mono Laser");
    report.SelectPrinterIndex(-2);
    EXPECT_EQ(report.DeviceName(), "Mono Laser");
    report.SelectPrinterIndex(-1);
    EXPECT_EQ(report.DeviceName(), "Laser 1");
}

TEST_F(JobSettings, SelectPrinterTriesTheExactNameFirstThenContainedText) {
    TestReport report(nullptr);
    EXPECT_TRUE(report.SelectPrinter("Mono Laser on LPT2:"));
    EXPECT_EQ(report.PortName(), "LPT2:");
    EXPECT_TRUE(report.SelectPrinter("laser 1"));
    EXPECT_EQ(report.DeviceName(), "Laser 1");
    EXPECT_FALSE(report.SelectPrinter("Plotter"));
}

TEST_F(JobSettings, ThePreviewNamesItsOwnDevice) {
    TestReport report(nullptr);
    report.Kind = kOutputPreview;
    EXPECT_EQ(report.DeviceName(), "Preview");
    EXPECT_EQ(report.DriverName(), "Preview");
    EXPECT_EQ(report.PortName(), "Screen");
    report.Kind = kOutputPrinter;
    EXPECT_EQ(report.DriverName(), "winspool");
}

TEST_F(JobSettings, AnOutputFileIsRefusedDuringAJob) {
    TestReport report(nullptr);
    report.SetOutputFileName("out.prn");
    EXPECT_EQ(SharedDevice().OutputFileName(), std::optional<std::string>("out.prn"));
    report.Printing = true;
    EXPECT_THROW(report.SetOutputFileName("other.prn"), EQuillet);
}

TEST_F(JobSettings, DestroyingAnEngineDuringADeviceJobCancelsTheJob) {
    {
        TestReport report(nullptr);
        SharedDevice().BeginJob();
    }
    EXPECT_FALSE(SharedDevice().Printing());
    EXPECT_EQ(Log->Starting("AbortDoc").size(), 1u);
}

} // namespace
} // namespace rpt

#include "RecordingFilePrinter.h"

#include "device/EQuillet.h"
#include "fixture/ReportWriter.h"

#include <gtest/gtest.h>

namespace rpt::testing {
namespace {

using fixture::Code;
using fixture::ReportWriter;

// Five pages, each printing its own number, so the page played shows.
ReportWriter FivePages() {
    ReportWriter w(2018);
    w.Header();
    for (int i = 1; i <= 5; ++i)
        w.BeginPage().Command(Code::PrintLeft).Single(1).String("page " + std::to_string(i)).Single(1).EndPage();
    return w;
}

std::string Played(RecordingFilePrinter& p, int32_t n) {
    p.Calls.clear();
    p.PrintPage(n);
    return p.Calls.size() == 1 ? p.Calls[0] : "?";
}

TEST(GotoPage, FindsPagesForwardsAndBackwards) {
    ReportWriter w = FivePages();
    RecordingFilePrinter p;
    p.Load(w.Finish());
    for (int32_t n : {1, 3, 5, 2, 4, 1}) {
        EXPECT_EQ(Played(p, n), "PrintLeft(page " + std::to_string(n) + ",1) y=1");
        EXPECT_EQ(p.CurrentPage, n);
        EXPECT_EQ(p.CurPagePos, w.PageOffset(size_t(n - 1)));
    }
}

TEST(GotoPage, StopsAtTheNearerEndOfTheChain) {
    ReportWriter w = FivePages();
    RecordingFilePrinter p;
    p.Load(w.Finish());
    EXPECT_EQ(Played(p, 7), "PrintLeft(page 5,1) y=1");
    EXPECT_EQ(p.CurrentPage, 5);
    p.GotoPage(0);
    EXPECT_EQ(p.CurrentPage, 1);
    // Positioned at the first command of the page: right after its record.
    EXPECT_EQ(p.Input().Position(), w.PageOffset(0) + 19);
    // Page numbers are 16-bit unsigned: 65537 is page 1, -1 is 65535.
    p.GotoPage(65537 + 2);
    EXPECT_EQ(p.CurrentPage, 3);
    p.GotoPage(-1);
    EXPECT_EQ(p.CurrentPage, 5);
}

TEST(GotoPage, ReReadsTheCurrentPageSoItPlaysAgain) {
    ReportWriter w = FivePages();
    RecordingFilePrinter p;
    p.Load(w.Finish());
    EXPECT_EQ(Played(p, 2), "PrintLeft(page 2,1) y=1");
    EXPECT_EQ(Played(p, 2), "PrintLeft(page 2,1) y=1");
}

TEST(GotoPage, ReadsThePageSpareByteBeforeFormat2000) {
    ReportWriter w(1101);
    w.Header();
    w.BeginPage({.spare = 0x52}).Command(Code::Spare28).Single(0).EndPage();
    RecordingFilePrinter p;
    p.Load(w.Finish());
    p.GotoPage(1);
    EXPECT_EQ(p.Input().Position(), w.PageOffset(0) + 12);
}

TEST(GotoPage, RaisesTheReaderErrorWhenTheLinksLoop) {
    struct Case {
        const char* name;
        size_t page;
        bool nextLink;
        size_t target;
        int32_t goal;
    };
    for (const Case& c : {Case{"next back to page 1", 2, true, 0, 5},
                          Case{"next to itself", 1, true, 1, 4},
                          Case{"prev forward to page 5", 2, false, 4, 1}}) {
        SCOPED_TRACE(c.name);
        ReportWriter w = FivePages();
        w.PatchInt32(c.nextLink ? w.NextLinkAt(c.page) : w.PrevLinkAt(c.page), w.PageOffset(c.target));
        RecordingFilePrinter p;
        p.Load(w.Finish());
        if (!c.nextLink)
            p.GotoPage(5);
        try {
            p.GotoPage(c.goal);
            FAIL() << "reached page " << p.CurrentPage;
        } catch (const EQuillet& e) {
            EXPECT_STREQ(e.what(), "Unexpected code found in report file.");
        }
        EXPECT_TRUE(p.Aborted);
    }
}

TEST(GotoPage, RefusesALinkToSomethingOtherThanAPageRecord) {
    ReportWriter w = FivePages();
    w.PatchInt32(w.NextLinkAt(0), w.PageOffset(1) + 3);
    RecordingFilePrinter p;
    p.Load(w.Finish());
    p.GotoPage(1);
    EXPECT_THROW(p.GotoPage(2), EQuillet);
    EXPECT_TRUE(p.Aborted);
}

TEST(GotoPage, TreatsALinkPastTheEndAsATruncatedFile) {
    ReportWriter w = FivePages();
    w.PatchInt32(w.NextLinkAt(0), 1 << 30);
    RecordingFilePrinter p;
    p.Load(w.Finish());
    p.GotoPage(1);
    EXPECT_THROW(p.GotoPage(2), EReadError);
}

} // namespace
} // namespace rpt::testing

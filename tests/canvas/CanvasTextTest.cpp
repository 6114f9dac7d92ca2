#include "RecordedReport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace rpt;
using rpt::test::RecordedReport;

namespace {

// The texts of the TextOut calls, in order.
std::vector<std::string> Texts(const RecordedReport& report) {
    std::vector<std::string> texts;
    for (const std::string& call : report.Calls("TextOut")) {
        size_t open = call.find('"');
        texts.push_back(call.substr(open + 1, call.rfind('"') - open - 1));
    }
    return texts;
}

} // namespace

TEST(WriteText, BaselineTextSitsOnePixelBelowTheCursor) {
    RecordedReport report;
    report.Start();
    report.CursorY = 1;
    report.PrintLeft("abc", 1);
    EXPECT_EQ(report.Calls("SetTextAlign"), std::vector<std::string>{"SetTextAlign(24)"});
    EXPECT_EQ(report.Calls("TextOut"), std::vector<std::string>{"TextOut(300, 301, \"abc\")"});
    EXPECT_GT(report.CursorX, 1.0);
}

TEST(WriteText, RightAndCentreHandXStraightToTheDevice) {
    RecordedReport report;
    report.Start();
    report.CursorY = 1;
    report.PrintRight("abc", 2);
    EXPECT_EQ(report.Calls("SetTextAlign").back(), "SetTextAlign(26)");
    EXPECT_EQ(report.Calls("TextOut").back(), "TextOut(600, 301, \"abc\")");
    EXPECT_DOUBLE_EQ(report.CursorX, 2);

    report.PrintCenter("abc", 2);
    EXPECT_EQ(report.Calls("SetTextAlign").back(), "SetTextAlign(30)");
    double half = report.TextWidth("abc") / 2;
    EXPECT_DOUBLE_EQ(report.CursorX, 2 + half);
}

TEST(WriteText, SuperscriptAndSubscriptHangFromTheLineGeometry) {
    RecordedReport report;
    report.Start();
    report.CursorY = 1;
    report.LineAscent = 0.25;
    report.LineDescent = 0.125;
    report.LineHeight = 0.5;
    report.SetSuperscript(true);
    report.PrintLeft("2", 0);
    // Halfway between the line top (0.625) and the text top (0.75).
    EXPECT_EQ(report.Calls("SetTextAlign").back(), "SetTextAlign(0)");
    EXPECT_EQ(report.Calls("TextOut").back(), "TextOut(0, 206, \"2\")");

    report.SetSubscript(true);
    report.PrintLeft("2", 0);
    EXPECT_EQ(report.Calls("SetTextAlign").back(), "SetTextAlign(8)");
    // The text bottom, 337.5 pixels, rounds to even, then one pixel lower.
    EXPECT_EQ(report.Calls("TextOut").back(), "TextOut(0, 339, \"2\")");
}

TEST(WriteText, OpaqueBackgroundIsSetAroundTheTextAndRestored) {
    RecordedReport report;
    report.Start();
    report.context.SetBkMode(TRANSPARENT);
    report.context.ClearLog();
    report.SetBackMode(1);
    report.PrintLeft("x", 0);
    EXPECT_EQ(report.Calls("SetBkMode"),
              (std::vector<std::string>{"SetBkMode(2)", "SetBkMode(1)"}));
}

TEST(WriteText, AnEmptyStringWritesNothingAndMovesOnePixel) {
    RecordedReport report;
    report.Start();
    report.PrintLeft("", 1);
    EXPECT_TRUE(report.Calls("TextOut").empty());
    EXPECT_DOUBLE_EQ(report.CursorX, 1 + 1.0 / 300);
}

TEST(PrintBlock, LetterSpacesASingleWordAndSpreadsIt) {
    RecordedReport report;
    report.Start();
    report.PrintBlock("ABC", 1, 2);
    auto texts = Texts(report);
    std::vector<std::string> words;
    std::copy_if(texts.begin(), texts.end(), std::back_inserter(words),
                 [](const std::string& t) { return t.find_first_not_of(' ') != std::string::npos; });
    EXPECT_EQ(words, (std::vector<std::string>{"A", "B", "C"}));
    // The last word ends at the block's right edge.
    EXPECT_NEAR(report.CursorX, 3, 1.0 / 300 * 2);
}

TEST(PrintBlock, OneCharacterIsWrittenAtX) {
    RecordedReport report;
    report.Start();
    report.CursorY = 1;
    report.PrintBlock("A", 1, 2);
    EXPECT_EQ(report.Calls("TextOut"), std::vector<std::string>{"TextOut(300, 301, \"A\")"});
}

TEST(PrintBlock, AHugeWidthDoesNotAllocateAGiantGap) {
    RecordedReport report;
    report.Start();
    report.PrintBlock("a b", 0, 1e12);
    for (const std::string& text : Texts(report))
        EXPECT_LE(text.size(), 4096u);
}

TEST(WordRoutines, SplitAtBlanksOnly) {
    EXPECT_EQ(TCanvasReport::CountInnerBlanks("  a b c  "), 2);
    EXPECT_EQ(TCanvasReport::CountInnerBlanks("abc"), 0);
    EXPECT_EQ(TCanvasReport::CountInnerBlanks(""), 0);
    EXPECT_EQ(TCanvasReport::CountInnerBlanks("a  b"), 2);
    EXPECT_EQ(TCanvasReport::CountInnerBlanks("   "), 0);

    std::string s = "  ab cd", word;
    TCanvasReport::NextWord(s, word);
    EXPECT_EQ(word, "  ab");
    EXPECT_EQ(s, " cd");
    s = "ab";
    TCanvasReport::NextWord(s, word);
    EXPECT_EQ(word, "ab");
    EXPECT_EQ(s, "");

    std::string blanks;
    s = "  cd";
    TCanvasReport::NextBlanks(s, blanks);
    EXPECT_EQ(blanks, "  ");
    EXPECT_EQ(s, "cd");
    s = "   ";
    TCanvasReport::NextBlanks(s, blanks);
    EXPECT_EQ(blanks, "   ");
    EXPECT_EQ(s, "");
}

// A position far beyond any page converts to the edge of the device
// coordinate range, and the text sits on the row below it.
TEST(WriteText, TextFarBeyondThePageLandsAtTheEdgeOfTheCoordinateRange) {
    RecordedReport report;
    report.Start();
    report.CursorY = 1e12;
    report.PrintLeft("baseline", 1);
    report.SetFontAlign(2);
    report.PrintLeft("bottom", 1);
    report.SetFontAlign(0);
    report.SetSubscript(true);
    report.PrintLeft("subscript", 1);
    const std::vector<std::string> calls = report.Calls("TextOut");
    ASSERT_EQ(calls.size(), 3u);
    const std::string row = std::to_string(TBaseReport::kDeviceCoordinateLimit + 1);
    EXPECT_EQ(calls[0], "TextOut(300, " + row + ", \"baseline\")");
    EXPECT_EQ(calls[1], "TextOut(300, " + row + ", \"bottom\")");
    EXPECT_EQ(calls[2], "TextOut(300, " + row + ", \"subscript\")");
}

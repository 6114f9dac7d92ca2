#include "RecordedReport.h"

#include "engine/FormattedText.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

using namespace rpt;
using rpt::test::RecordedReport;

namespace {

const std::string kBold1 = "\x01" "B1\x04";

struct TextRun {
    std::string text, codes;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

std::vector<TextRun> Runs(const std::string& s) {
    std::vector<TextRun> runs;
    int32_t pos = 1;
    while (pos <= static_cast<int32_t>(s.size())) {
        TextRun run;
        SplitRun(s, pos, run.text, run.codes);
        runs.push_back(run);
    }
    return runs;
}

// Every character measures 10 pixels, whatever the font, so widths are exact.
class FixedPitchReport : public RecordedReport {
public:
    FixedPitchReport() : RecordedReport(96) {}
    TSize GetTextExtent(const std::string& text) override {
        return TSize{static_cast<int32_t>(text.size()) * 10, 12};
    }
};

} // namespace

TEST(SplitRun, CodesBelongToTheRunAfterThem) {
    EXPECT_EQ(Runs("ab" + kBold1 + "cd"), (std::vector<TextRun>{{"ab", ""}, {"cd", kBold1}}));
    EXPECT_EQ(Runs(kBold1 + "\x01I1\x04" "x"),
              (std::vector<TextRun>{{"x", kBold1 + "\x01I1\x04"}}));
    EXPECT_EQ(Runs("x" + kBold1), (std::vector<TextRun>{{"x", ""}, {"", kBold1}}));
    EXPECT_EQ(Runs("a\x02\x03\x04" "b"), (std::vector<TextRun>{{"a\x02\x03\x04" "b", ""}}));
    EXPECT_EQ(Runs("x\x01" "B1"), (std::vector<TextRun>{{"x", ""}, {"", "\x01" "B1"}}));
}

TEST(NextCommand, ReadsLettersAndArgumentsWithFillersDropped) {
    const std::string codes = "\x01" "B1\x02N Ar\x03ial\x04\x01Z10\x04";
    int32_t pos = 0;
    char letter;
    std::string arg;
    std::vector<std::pair<char, std::string>> seen;
    do {
        NextCommand(codes, pos, letter, arg);
        if (letter != ' ')
            seen.emplace_back(letter, arg);
    } while (pos <= static_cast<int32_t>(codes.size()));
    EXPECT_EQ(seen, (std::vector<std::pair<char, std::string>>{
                        {'B', "1"}, {'N', " Arial"}, {'Z', "10"}}));
}

TEST(ApplyFormatCodes, ChangesTheCurrentFont) {
    RecordedReport report;
    report.Start();
    struct Case {
        std::string codes;
        std::function<bool(const TFontRecord&)> holds;
        const char* what;
    } cases[] = {
        {"\x01" "B1\x04", [](const TFontRecord& r) { return r.Bold; }, "B 1 sets bold"},
        {"\x01" "B0\x04", [](const TFontRecord& r) { return !r.Bold; }, "B 0 clears"},
        {"\x01" "B01\x04", [](const TFontRecord& r) { return !r.Bold; }, "B 01 clears"},
        {"\x01" "B\x04", [](const TFontRecord& r) { return !r.Bold; }, "empty clears"},
        {"\x01" "HF\x04", [](const TFontRecord& r) { return r.Pitch == 2; }, "H F is fixed"},
        {"\x01" "HX\x04", [](const TFontRecord& r) { return r.Pitch == 0; }, "H X leaves it"},
        {"\x01" "Z10\x04", [](const TFontRecord& r) { return std::abs(r.Size - 10) < 0.1; },
         "Z 10 is ten points"},
        {"\x01" "C255\x02r\x04", [](const TFontRecord& r) { return r.Color == 0; },
         "r resets the colour"},
    };
    for (const Case& c : cases) {
        report.SetBold(false);
        report.SetFontPitch(0);
        report.ApplyFormatCodes(c.codes);
        EXPECT_TRUE(c.holds(report.GetFontRecord())) << c.what;
    }
}

TEST(ApplyFormatCodes, FullResetIsArialTwelvePoints) {
    RecordedReport report;
    report.Start();
    report.ApplyFormatCodes("\x01" "NTimes New Roman\x02" "B1\x02" "C255\x04");
    report.ApplyFormatCodes("\x01R\x04");
    TFontRecord record = report.GetFontRecord();
    EXPECT_EQ(record.Name, "Arial");
    EXPECT_NEAR(record.Size, 12, 0.2);
    EXPECT_FALSE(record.Bold);
    EXPECT_EQ(record.Color, 0);
}

TEST(ApplyFormatCodes, ALongFaceNameIsCutToSixty) {
    RecordedReport report;
    report.Start();
    report.ApplyFormatCodes("\x01N" + std::string(70, 'F') + "\x04");
    EXPECT_EQ(report.GetFontRecord().Name, std::string(60, 'F'));
}

TEST(ApplyFormatCodes, ABadNumberRaisesAndLeavesTheFont) {
    RecordedReport report;
    report.Start();
    EXPECT_THROW(report.ApplyFormatCodes("\x01" "B1\x02" "Cred\x04"), EConvertError);
    EXPECT_FALSE(report.GetFontRecord().Bold);
    EXPECT_THROW(report.ApplyFormatCodes("\x01Z\x04"), EConvertError);
}

TEST(TabbedTextWidth, TabsMoveToMultiplesOfTheStep) {
    FixedPitchReport report;
    report.Start();
    // Half an inch at 96 pixels per inch: a tab stop every 48 pixels.
    EXPECT_EQ(report.TabbedTextWidth("\t", 0), 48);
    EXPECT_EQ(report.TabbedTextWidth("abc\t", 0), 48);
    EXPECT_EQ(report.TabbedTextWidth("abcd\t", 8), 48);
    EXPECT_EQ(report.TabbedTextWidth("abcd\t", 9), 96);
    EXPECT_EQ(report.TabbedTextWidth("a\tb", 0), 58);
}

TEST(TabbedTextWidth, AStepOfNoPixelDoesNotDivideByZero) {
    FixedPitchReport report;
    report.Start();
    report.TabStep = 0.001;
    EXPECT_EQ(report.TabbedTextWidth("ab\tc", 0), 30);
}

TEST(FormattedTextWidth, MeasuresRunsInTheirFontsAndKeepsTheFont) {
    FixedPitchReport report;
    report.Start();
    EXPECT_EQ(report.FormattedTextWidth("ab" + kBold1 + "cd"), 40);
    EXPECT_FALSE(report.GetFontRecord().Bold);
    EXPECT_EQ(report.FormattedTextWidth(kBold1), 1);
}

#include "EngineFixture.h"

#include "engine/TTextControl.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/UserInterface.h"

namespace rpt {
namespace {

using test::NoPrinterTest;
using test::TestReport;

std::string Numbered(int number) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02d", number);
    return std::string("\xFD$QLCM") + digits;
}

std::string Variable(const std::string& name) {
    return std::string("\xFD$QLCV\xFC") + name + "\xFB";
}

class VariableReport : public TestReport {
public:
    using TestReport::TestReport;
    std::map<std::string, std::string> Values;
    std::string GetReportVar(const std::string& name) override {
        const auto it = Values.find(name);
        return it == Values.end() ? std::string() : it->second;
    }
};

using Macros = NoPrinterTest;

TEST_F(Macros, PageNumbersReadAsOnTheCurrentPage) {
    TestReport report(nullptr);
    report.CurrentPage = 3;
    report.TotalPages = 12;
    std::string footer = Numbered(11) + " of " + Numbered(10);
    report.ExpandMacros(footer);
    EXPECT_EQ(footer, "3 of 12");
}

TEST_F(Macros, NumbersGiveTheirValuesAndUnknownNumbersNothing) {
    TestReport report(nullptr);
    report.CurrentPage = 7;
    report.FirstPage = 2;
    report.LastPage = 40;
    TStringList data;
    data.Add("customer");
    data.Add("address");
    report.SetMacroData(data);
    EXPECT_EQ(report.MacroText(12), report.MacroText(11));
    EXPECT_EQ(report.MacroText(11), "7");
    EXPECT_EQ(report.MacroText(8), "2");
    EXPECT_EQ(report.MacroText(9), "40");
    EXPECT_EQ(report.MacroText(16), "customer");
    EXPECT_EQ(report.MacroText(17), "address");
    EXPECT_EQ(report.MacroText(18), "");
    for (int n = 36; n <= 99; ++n)
        EXPECT_EQ(report.MacroText(n), "") << n;
    EXPECT_EQ(report.MacroText(256 + 11), "7");
    EXPECT_EQ(report.MacroText(-1), "");
}

TEST_F(Macros, DatesAndTimesAreTheJobsMomentInTheLocalesFormats) {
    TestReport report(nullptr);
    report.JobDateTime = EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 9, 0);
    EXPECT_EQ(report.MacroText(2), "03/07/26");
    EXPECT_EQ(report.MacroText(3), "07/03/26");
    EXPECT_EQ(report.MacroText(6), "02:05 PM");
    EXPECT_EQ(report.MacroText(7), "14:05");
    EXPECT_EQ(report.MacroText(0), FormatDateTime("ddddd", report.JobDateTime));
    EXPECT_EQ(report.MacroText(5), FormatDateTime("tt", report.JobDateTime));
}

TEST_F(Macros, ThePrinterNamesAreThePreviewsInThePreview) {
    TestReport report(nullptr);
    report.Kind = kOutputPreview;
    std::string text = Numbered(13) + "/" + Numbered(14) + "/" + Numbered(15);
    report.ExpandMacros(text);
    EXPECT_EQ(text, "Preview/Preview/Screen");
}

struct VariableCase {
    std::string text;
    std::string expanded;
};

class VariableMarkers : public NoPrinterTest, public testing::WithParamInterface<VariableCase> {};

TEST_P(VariableMarkers, ABareEngineAnswersTheNameItself) {
    TestReport report(nullptr);
    std::string text = GetParam().text;
    report.ExpandMacros(text);
    EXPECT_EQ(text, GetParam().expanded);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, VariableMarkers,
    testing::Values(
        VariableCase{"Total: " + Variable("SUM") + "!", "Total: SUM!"},
        // Without its closing byte the marker swallows the rest of the text.
        VariableCase{std::string("a \xFD$QLCV\xFCNAME rest"), "a NAME rest"},
        // Anything but the name start after the marker is deleted with it.
        VariableCase{std::string("a\xFD$QLCVxb"), "ab"},
        // A name start as the last character opens no name.
        VariableCase{std::string("a\xFD$QLCV\xFC"), "a"},
        VariableCase{std::string("a\xFD$QLCV"), "a"},
        VariableCase{Variable("A") + Numbered(8) + Variable("B"), "A1B"}));

TEST_F(Macros, AnUnknownVariableReadsEmptyInAnEngineThatKeepsVariables) {
    VariableReport report(nullptr);
    report.Values["KNOWN"] = "yes";
    std::string text = Variable("KNOWN") + "," + Variable("UNKNOWN") + ".";
    report.ExpandMacros(text);
    EXPECT_EQ(text, "yes,.");
}

TEST_F(Macros, AValueHoldingMarkersIsExpandedInTurn) {
    VariableReport report(nullptr);
    report.CurrentPage = 4;
    report.Values["PAGE"] = "page " + Numbered(11);
    report.Values["HEADER"] = "[" + Variable("PAGE") + "]";
    std::string text = Variable("HEADER");
    report.ExpandMacros(text);
    EXPECT_EQ(text, "[page 4]");
}

TEST_F(Macros, AValueHoldingItsOwnMarkerEndsWithTheMarkersRemoved) {
    VariableReport report(nullptr);
    report.Values["SELF"] = Variable("SELF");
    report.Values["GROW"] = "ab" + Variable("GROW") + Variable("GROW");
    for (const std::string name : {"SELF", "GROW"}) {
        std::string text = "<" + Variable(name) + ">";
        report.ExpandMacros(text);
        EXPECT_EQ(text.find('\xFD'), std::string::npos) << name;
        EXPECT_LE(text.size(), 256u * 1024) << name;
        EXPECT_EQ(text.front(), '<');
        EXPECT_EQ(text.back(), '>');
    }
}

TEST_F(Macros, MacroDataHoldingItsOwnMarkerEnds) {
    TestReport report(nullptr);
    TStringList data;
    data.Add("x" + Numbered(16));
    report.SetMacroData(data);
    std::string text = Numbered(16);
    report.ExpandMacros(text);
    EXPECT_EQ(text.find('\xFD'), std::string::npos);
    EXPECT_EQ(text.substr(0, 3), "xxx");
}

TEST_F(Macros, ManyMarkersInOneTextAreAllExpanded) {
    TestReport report(nullptr);
    report.CurrentPage = 1;
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += Numbered(11);
    report.ExpandMacros(text);
    EXPECT_EQ(text, std::string(5000, '1'));
}

TEST_F(Macros, ANumberedMarkerWithoutTwoDigitsIsAConversionError) {
    TestReport report(nullptr);
    for (std::string text : {std::string("\xFD$QLCMx1"), std::string("end \xFD$QLCM1"), std::string("\xFD$QLCM$A"), std::string("\xFD$QLCM-1"),
                             std::string("\xFD$QLCM")}) {
        EXPECT_THROW(report.ExpandMacros(text), EConvertError);
    }
}

class CaptionLabel : public TTextControl {
public:
    using TTextControl::TTextControl;
    void SetText(const std::string& text) override { Text = text; }
    std::string Text = "(none)";
};

class CountingUserInterface : public ConsoleUserInterface {
public:
    explicit CountingUserInterface(int& count) : count_(count) {}
    void ProcessMessages() override { ++count_; }

private:
    int& count_;
};

class StatusLine : public NoPrinterTest {
protected:
    StatusLine() : saved_(SetUserInterface(std::make_unique<CountingUserInterface>(processed_))) {}
    ~StatusLine() override { SetUserInterface(std::move(saved_)); }
    std::string Status(const std::string& format) {
        report_.StatusFormat = format;
        report_.UpdateStatus();
        return label_.Text;
    }
    int processed_ = 0;
    std::unique_ptr<UserInterface> saved_;
    CaptionLabel label_{nullptr};
    TestReport report_{nullptr};
};

TEST_F(StatusLine, WithoutALabelNothingIsShown) {
    report_.UpdateStatus();
    EXPECT_EQ(label_.Text, "(none)");
    EXPECT_EQ(processed_, 0);
}

TEST_F(StatusLine, CodesAreReplacedAndTheWindowRepaints) {
    report_.SetStatusLabel(&label_);
    report_.CurrentPage = 5;
    report_.FirstPage = 2;
    report_.LastPage = 8;
    TStringList texts;
    texts.Add("zero");
    texts.Add("one");
    report_.SetStatusText(texts);
    EXPECT_EQ(Status(report_.StatusFormat), "Printing page 5");
    EXPECT_EQ(processed_, 1);
    const std::pair<const char*, const char*> cases[] = {
        {"%x", "<ERROR-%X>"},
        {"page %p%", "page 5%"},
        {"100%%", "100%"},
        {"%%p", "%p"},
        {"%f-%L of %c/%S", "2-8 of 1/1"},
        {"%1 %0", "one zero"},
        {"%9%P", "%P"},
        {"a%nb", "a\rb"},
        {"%d on %t via %r", "Preview on Screen via Preview"},
    };
    report_.Kind = kOutputPreview;
    for (const auto& [format, shown] : cases)
        EXPECT_EQ(Status(format), shown) << format;
}

TEST_F(StatusLine, AFreedLabelIsForgotten) {
    auto* label = new CaptionLabel(nullptr);
    report_.SetStatusLabel(label);
    EXPECT_EQ(report_.StatusLabel(), label);
    delete label;
    EXPECT_EQ(report_.StatusLabel(), nullptr);
    report_.UpdateStatus();
}

} // namespace
} // namespace rpt

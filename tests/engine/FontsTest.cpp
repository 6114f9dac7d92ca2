#include "EngineFixture.h"

#include "device/EQuillet.h"

namespace rpt {
namespace {

using test::PrinterTest;
using test::TestReport;

class Fonts : public PrinterTest {
protected:
    // The canvas font and the record start in step, as after a font command.
    Fonts() {
        BeginJob(report);
        report.SetFontSize(10);
    }
    // The size of the logical font of the last font selection.
    std::string LastSelection() {
        const auto calls = Context().Calls("SelectFont");
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (*it != "SelectFont(null)")
                return *it;
        return {};
    }
    TestReport report{nullptr};
};

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

TEST_F(Fonts, TenPointsAt300DpiIsACharacterHeightOf42AndAsSuperscript25) {
    report.SelectFont();
    EXPECT_PRED2(StartsWith, LastSelection(), "SelectFont(-42, 0, 0, 400, 0, 0, 0, ");
    EXPECT_NE(LastSelection().find("\"Arial\")"), std::string::npos);
    report.DeselectFont();
    report.SetSuperscript(true);
    report.SelectFont();
    EXPECT_PRED2(StartsWith, LastSelection(), "SelectFont(-25, ");
    report.DeselectFont();
}

TEST_F(Fonts, AttributesReachTheLogicalFont) {
    report.SetBold(true);
    report.SetItalic(true);
    report.SetUnderline(true);
    report.SetStrikeOut(true);
    report.SetFontRotation(90);
    report.SetFontPitch(fpFixed);
    report.SetFontCharset(204);
    report.SelectFont();
    EXPECT_PRED2(StartsWith, LastSelection(), "SelectFont(-42, 0, 900, 700, 1, 1, 1, 204, 1, ");
    report.DeselectFont();
}

TEST_F(Fonts, TheZoomEntersTheRealisedFontAndTheMeasuredWidth) {
    const double normal = report.TextWidth("Invoice total");
    // The preview empties the cache whenever it plays a page at a new zoom.
    report.ZoomFactor = 200;
    report.ClearFontCache();
    report.SelectFont();
    EXPECT_PRED2(StartsWith, LastSelection(), "SelectFont(-83, ");
    report.DeselectFont();
    const double zoomed = report.TextWidth("Invoice total");
    EXPECT_NEAR(zoomed / normal, 2.0, 0.1);
}

TEST_F(Fonts, AnEmptyTextIsOnePixelWide) {
    EXPECT_DOUBLE_EQ(report.TextWidth(""), 1.0 / 300);
    report.SetUnits(unPoint);
    EXPECT_DOUBLE_EQ(report.TextWidth(""), 72.0 / 300);
}

TEST_F(Fonts, MeasuringOutsideAJobIsRefused) {
    report.Printing = false;
    try {
        report.TextWidth("x");
        FAIL() << "measured outside a job";
    } catch (const EQuillet& e) {
        EXPECT_EQ(e.Message(), "Invalid method call.  Quillet is not printing.");
    }
}

TEST_F(Fonts, ColourIsNoPartOfTheCacheKeyButRotationIs) {
    report.SelectFont();
    report.DeselectFont();
    const HFONT black = report.FontRecord.Handle;
    report.SetFontColor(RGB(200, 0, 0));
    EXPECT_TRUE(report.FontDirty);
    report.SelectFont();
    report.DeselectFont();
    EXPECT_EQ(report.FontRecord.Handle, black);
    EXPECT_EQ(report.FontCache().size(), 1u);
    report.SetFontRotation(45);
    report.SelectFont();
    report.DeselectFont();
    EXPECT_NE(report.FontRecord.Handle, black);
    EXPECT_EQ(report.FontCache().size(), 2u);
}

TEST_F(Fonts, ACacheHitMovesTheFontToTheFront) {
    for (int rotation : {10, 20, 30, 10}) {
        report.SetFontRotation(rotation);
        report.SelectFont();
        report.DeselectFont();
    }
    std::vector<int> order;
    for (const TFontRecord& cached : report.FontCache())
        order.push_back(cached.Rotation);
    EXPECT_EQ(order, (std::vector<int>{10, 30, 20}));
    report.ClearFontCache();
    EXPECT_TRUE(report.FontCache().empty());
    EXPECT_FALSE(report.FontRecord.Handle);
}

TEST_F(Fonts, SettingAnAttributeToItsValueLeavesTheFontClean) {
    report.SetFontSize(10);
    report.SelectFont();
    report.DeselectFont();
    ASSERT_FALSE(report.FontDirty);
    report.SetFontName("Arial");
    report.SetFontSize(10);
    report.SetFontColor(clBlack);
    report.SetBold(false);
    report.SetFontPitch(fpDefault);
    EXPECT_FALSE(report.FontDirty);
    report.SetFontName("Times New Roman");
    EXPECT_TRUE(report.FontDirty);
    EXPECT_EQ(report.FontRecord.Name, "Times New Roman");
}

TEST_F(Fonts, TheRecordTakesBackWhatDiffersFromTheCanvasFont) {
    report.FontRecord.Name = "Courier New";
    report.FontRecord.Bold = true;
    report.FontDirty = false;
    report.FontChanged();
    EXPECT_TRUE(report.FontDirty);
    EXPECT_EQ(report.FontRecord.Name, "Arial");
    EXPECT_FALSE(report.FontRecord.Bold);
    // The height follows the canvas font's pixels at the device resolution.
    report.GetCanvas().Font().SetHeight(-50);
    report.FontChanged();
    EXPECT_DOUBLE_EQ(report.FontRecord.Height, 50.0 / 300);
    EXPECT_DOUBLE_EQ(report.FontRecord.Size, 12);
}

TEST_F(Fonts, SuperscriptAndSubscriptExcludeEachOther) {
    report.SetSubscript(true);
    report.SetSuperscript(true);
    EXPECT_TRUE(report.FontRecord.Superscript);
    EXPECT_FALSE(report.FontRecord.Subscript);
    report.SetSuperscript(false);
    EXPECT_FALSE(report.FontRecord.Superscript);
    EXPECT_FALSE(report.FontRecord.Subscript);
}

TEST_F(Fonts, RotationKeepsTheSignAndStaysWithinAFullTurn) {
    for (const auto& [given, stored] : {std::pair{450, 90}, {-30, -30}, {-400, -40}, {720, 0}}) {
        report.SetFontRotation(given);
        EXPECT_EQ(report.FontRecord.Rotation, stored) << given;
    }
    report.SetFontAlign(2);
    EXPECT_EQ(report.FontRecord.FontAlign, 2);
}

TEST_F(Fonts, ATinyHeightIsOnePixelButATinySizeIsZero) {
    report.SetFontHeight(0.0001);
    EXPECT_EQ(report.GetCanvas().Font().Height(), 1);
    report.SetFontSize(0.01);
    EXPECT_EQ(report.GetCanvas().Font().Height(), 0);
    report.SetFontHeight(0.5);
    EXPECT_EQ(report.GetCanvas().Font().Height(), 150);
    EXPECT_DOUBLE_EQ(report.GetFontHeight(), 0.5);
}

TEST_F(Fonts, LongFaceNamesAreCutInTheRecordAndInTheLogicalFont) {
    const std::string name40(40, 'F');
    report.SetFontName(name40);
    EXPECT_EQ(report.FontRecord.Name, name40);
    report.SelectFont();
    EXPECT_NE(LastSelection().find("\"" + std::string(31, 'F') + "\")"), std::string::npos);
    report.DeselectFont();
    report.SetFontName(std::string(70, 'G'));
    EXPECT_EQ(report.FontRecord.Name, std::string(60, 'G'));
}

TEST_F(Fonts, ATwoColourPrinterPrintsAllButWhiteTextBlack) {
    Setup->Caps[NUMCOLORS] = 2;
    SharedDevice().EndJob();
    BeginJob(report);
    report.SetFontColor(RGB(128, 128, 128));
    report.SelectFont();
    EXPECT_EQ(Context().Calls("SetTextColor").back(), "SetTextColor(#000000)");
    report.DeselectFont();
    report.SetFontColor(clWhite);
    report.SelectFont();
    EXPECT_EQ(Context().Calls("SetTextColor").back(), "SetTextColor(#FFFFFF)");
    report.DeselectFont();
    report.Kind = kOutputPreview;
    report.SetFontColor(RGB(128, 128, 128));
    report.SelectFont();
    EXPECT_EQ(Context().Calls("SetTextColor").back(), "SetTextColor(#808080)");
    report.DeselectFont();
}

TEST_F(Fonts, DeselectPutsBackThePreviousFontAndTheCanvasColour) {
    const HFONT before = Context().CurrentFont();
    report.SetFontColor(RGB(0, 0, 255));
    report.SelectFont();
    EXPECT_EQ(Context().CurrentFont(), report.FontRecord.Handle);
    report.DeselectFont();
    EXPECT_EQ(Context().CurrentFont(), before);
    EXPECT_EQ(Context().Calls("SetTextColor").back(), "SetTextColor(#0000FF)");
}

TEST_F(Fonts, PopRestoresThePushedFontAndAnEmptyStackAnswersFalse) {
    EXPECT_FALSE(report.PopFont());
    EXPECT_TRUE(report.PushFont());
    report.SetBold(true);
    report.SetFontName("Courier New");
    report.SetFontRotation(30);
    EXPECT_TRUE(report.PopFont());
    EXPECT_FALSE(report.FontRecord.Bold);
    EXPECT_EQ(report.FontRecord.Name, "Arial");
    EXPECT_EQ(report.FontRecord.Rotation, 0);
    EXPECT_FALSE(report.PopFont());
    report.CellPrinting = true;
    EXPECT_TRUE(report.PushFont());
    EXPECT_TRUE(report.PopFont());
}

TEST_F(Fonts, ApplyingARecordWithBothScriptsLeavesSuperscript) {
    TFontRecord record = report.GetFontRecord();
    record.Subscript = true;
    record.Superscript = true;
    record.Italic = true;
    record.Height = 0.25;
    report.ApplyFontRecord(record);
    EXPECT_TRUE(report.FontRecord.Superscript);
    EXPECT_FALSE(report.FontRecord.Subscript);
    EXPECT_TRUE(report.FontRecord.Italic);
    EXPECT_DOUBLE_EQ(report.FontRecord.Height, 0.25);
    EXPECT_TRUE(report.FontDirty);
}

TEST_F(Fonts, LineHeightFollowsTheFontDuringAJob) {
    report.SetLinesPerInch(4);
    EXPECT_EQ(report.LineHeight, 0.25);
    EXPECT_GT(report.LineAscent, report.LineDescent);
    EXPECT_GT(report.LineDescent, 0);
    EXPECT_EQ(report.LineAscent, report.FontRecord.Ascent);
    report.LineSpacingMode = 1;
    report.SetFontSize(12);
    report.UpdateLineHeight();
    EXPECT_DOUBLE_EQ(report.LineHeight, report.FontRecord.Size / 60);
}

TEST_F(Fonts, PlainFontResetsEverythingButFaceAndSize) {
    report.SetBold(true);
    report.SetFontRotation(90);
    report.SetSubscript(true);
    report.SetFontColor(RGB(1, 2, 3));
    report.SetPlainFont("Courier New", 12);
    EXPECT_EQ(report.FontRecord.Name, "Courier New");
    EXPECT_EQ(report.FontRecord.Size, 12);
    EXPECT_FALSE(report.FontRecord.Bold);
    EXPECT_FALSE(report.FontRecord.Subscript);
    EXPECT_EQ(report.FontRecord.Rotation, 0);
    EXPECT_EQ(report.FontRecord.Color, 0);
}

TEST_F(Fonts, AHookedCanvasFontReportsItsOwnChanges) {
    report.HookFontChange();
    report.FontDirty = false;
    report.GetCanvas().Font().SetName("Courier New");
    EXPECT_EQ(report.FontRecord.Name, "Courier New");
    EXPECT_TRUE(report.FontDirty);
    report.UnhookFontChange();
    report.GetCanvas().Font().SetName("Arial");
    EXPECT_EQ(report.FontRecord.Name, "Courier New");
}

} // namespace
} // namespace rpt

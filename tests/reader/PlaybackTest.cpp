#include "RecordingFilePrinter.h"

#include "device/EQuillet.h"
#include "fixture/BmpFile.h"
#include "fixture/ReportWriter.h"
#include "fixture/SampleReports.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>

namespace rpt::testing {
namespace {

using fixture::Bytes;
using fixture::Code;
using fixture::ReportWriter;
using Lines = std::vector<std::string>;

struct Played {
    std::unique_ptr<RecordingFilePrinter> printer = std::make_unique<RecordingFilePrinter>();
    Lines calls;
};

Played Play(int32_t version, const std::function<void(ReportWriter&)>& page) {
    ReportWriter w(version);
    w.Header();
    w.BeginPage();
    page(w);
    w.EndPage();
    Played result;
    result.printer->Load(w.Finish());
    result.printer->PrintPage(1);
    result.calls = result.printer->Calls;
    return result;
}

TEST(PrintPage, CarriesEachDrawingCommandToItsOperation) {
    const Bytes bmp = fixture::BmpFile(4, 2, 24);
    struct Case {
        const char* name;
        std::function<void(ReportWriter&)> write;
        std::string call;
    };
    const Case cases[] = {
        {"arc", [](ReportWriter& w) { w.Command(Code::Arc).Rect(1, 2, 3, 4).Rect(5, 6, 7, 8); }, "Arc(1,2,3,4)(5,6,7,8)"},
        {"brush copy", [&](ReportWriter& w) { w.Command(Code::BrushCopy).Graphic(1, bmp).Rect(1, 1, 2, 2).Rect(0, 0, 0.04f, 0.02f).Int32(255); },
         "BrushCopy([100,100,200,200],4x2,[0,0,4,2],255)"},
        {"chord", [](ReportWriter& w) { w.Command(Code::Chord).Rect(1, 2, 3, 4).Rect(5, 6, 7, 8); }, "Chord(1,2,3,4)(5,6,7,8)"},
        {"copy rect", [](ReportWriter& w) { w.Command(Code::CopyRect).Rect(1, 1, 2, 2).Int32(-7).Rect(0, 0, 1, 1); },
         "CopyRect([100,100,200,200],-7,[0,0,100,100])"},
        {"draw", [&](ReportWriter& w) { w.Command(Code::Draw).Graphic(1, bmp, true).Single(2).Single(3); }, "Draw(2,3,4x2)"},
        {"focus rect", [](ReportWriter& w) { w.Command(Code::DrawFocusRect).Rect(1, 1, 2, 2); }, "DrawFocusRect[100,100,200,200]"},
        {"ellipse", [](ReportWriter& w) { w.Command(Code::Ellipse).Rect(1, 2, 3, 4); }, "Ellipse(1,2,3,4)"},
        {"fill rect", [](ReportWriter& w) { w.Command(Code::FillRect).Rect(0.125f, 0.375f, 1, 1); }, "FillRect[12,38,100,100]"},
        {"flood fill", [](ReportWriter& w) { w.Command(Code::FloodFill).Single(1).Single(2).Int32(99).Int32(1); }, "FloodFill(1,2,99,1)"},
        {"frame rect", [](ReportWriter& w) { w.Command(Code::FrameRect).Rect(1, 1, 2, 2); }, "FrameRect[100,100,200,200]"},
        {"line to", [](ReportWriter& w) { w.Command(Code::LineTo).Single(1.5f).Single(2); }, "LineTo(1.5,2)"},
        {"move to", [](ReportWriter& w) { w.Command(Code::MoveTo).Single(1).Single(2.5f); }, "MoveTo(1,2.5)"},
        {"pie", [](ReportWriter& w) { w.Command(Code::Pie).Rect(1, 2, 3, 4).Rect(5, 6, 7, 8); }, "Pie(1,2,3,4)(5,6,7,8)"},
        {"polygon", [](ReportWriter& w) { w.Command(Code::Polygon).PointList({{1, 1}, {2, 1}, {1, 2}}); }, "Polygon([100,100][200,100][100,200])"},
        {"polyline", [](ReportWriter& w) { w.Command(Code::Polyline).PointList({{1, 1}, {2, 2}}); }, "Polyline([100,100][200,200])"},
        {"empty polyline", [](ReportWriter& w) { w.Command(Code::Polyline).Int16(-1); }, "Polyline()"},
        {"print bitmap", [&](ReportWriter& w) { w.Command(Code::PrintBitmap).Graphic(1, bmp).Single(1).Single(2).Single(3).Single(4); }, "PrintBitmap(1,2,3,4,4x2)"},
        {"print bitmap rect", [&](ReportWriter& w) { w.Command(Code::PrintBitmapRect).Graphic(1, bmp).Rect(1, 2, 3, 4); }, "PrintBitmapRect(1,2,3,4)4x2"},
        {"rectangle", [](ReportWriter& w) { w.Command(Code::Rectangle).Rect(1, 2, 3, 4); }, "Rectangle(1,2,3,4)"},
        {"tab rectangle", [](ReportWriter& w) { w.Command(Code::TabRectangle).Rect(1, 2, 3, 4); }, "TabRectangle(1,2,3,4)"},
        {"round rect", [](ReportWriter& w) { w.Command(Code::RoundRect).Rect(1, 2, 3, 4).Single(0.5f).Single(0.25f); }, "RoundRect(1,2,3,4)(0.5,0.25)"},
        {"stretch draw", [&](ReportWriter& w) { w.Command(Code::StretchDraw).Graphic(1, bmp).Rect(1, 1, 2, 2); }, "StretchDraw([100,100,200,200],4x2)"},
        {"text rect", [](ReportWriter& w) { w.Command(Code::TextRect).Rect(1, 1, 2, 2).Single(1).Single(1.5f).String("in box"); },
         "TextRect([100,100,200,200],1,1.5,in box)"},
        {"print centred", [](ReportWriter& w) { w.Command(Code::PrintCenter).Single(2.5f).String("mid").Single(4); }, "PrintCenter(mid,4) y=2.5"},
        {"print left", [](ReportWriter& w) { w.Command(Code::PrintLeft).Single(1).String("left").Single(0.5f); }, "PrintLeft(left,0.5) y=1"},
        {"print right", [](ReportWriter& w) { w.Command(Code::PrintRight).Single(3).String("right").Single(8); }, "PrintRight(right,8) y=3"},
        {"back mode", [](ReportWriter& w) { w.Command(Code::BackMode).Byte(1); }, "SetBackMode(1)"},
        {"back colour", [](ReportWriter& w) { w.Command(Code::BackColor).Int32(0x123456); }, "SetBackColor(1193046)"},
        {"raw data", [](ReportWriter& w) { w.Command(Code::PrintData).String("\x1B" "E"); }, "PrintData(\x1B" "E)"},
        {"raw data block", [](ReportWriter& w) { w.Command(Code::PrintDataStream).Int32(4).Raw("ABCD"); }, "PrintDataStream(ABCD)"},
        {"print block 32", [](ReportWriter& w) { w.Command(Code::PrintBlock).Single(1).String("a b").Single(2).Single(3); }, "PrintBlock(a b,2,3) y=1"},
        {"print block 33", [](ReportWriter& w) { w.Command(Code::PrintBlock2).Single(1).String("a b").Single(2).Single(3); }, "PrintBlock(a b,2,3) y=1"},
        {"frame mode", [](ReportWriter& w) { w.Command(Code::FrameMode).Byte(2); }, "SetFrameMode(2)"},
        {"image", [](ReportWriter& w) { w.Command(Code::Image).ImageBlock(Bytes(10, 7), "JPG", 1, 2, 3, 4); }, "PrintImageRect(1,2,3,4)10@0,JPG"},
        {"preview only", [](ReportWriter& w) { w.Command(Code::OutputToPreviewOnly); }, "OutputToPreviewOnly"},
        {"printer only", [](ReportWriter& w) { w.Command(Code::OutputToPrinterOnly); }, "OutputToPrinterOnly"},
        {"both", [](ReportWriter& w) { w.Command(Code::OutputToBoth); }, "OutputToBoth"},
        {"paper bin", [](ReportWriter& w) { w.Command(Code::SelectBin).String("Tray 2"); }, "SelectBin(Tray 2)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Played played = Play(2018, [&](ReportWriter& w) {
            c.write(w);
            w.Command(Code::MoveTo).Single(9).Single(9); // the next command is read from the right place
        });
        EXPECT_EQ(played.calls, (Lines{c.call, "MoveTo(9,9)"}));
    }
}

TEST(PrintPage, SetsStateCommandsOnTheEngineAndCanvas) {
    Played played = Play(2018, [](ReportWriter& w) {
        w.Command(Code::BitmapRopAnd).Byte(3);
        w.Command(Code::BrushColor).Int32(0x0000FF);
        w.Command(Code::BrushStyle).Byte(bsBDiagonal);
        w.Command(Code::PenColor).Int32(0x00FF00);
        w.Command(Code::PenMode).Byte(pmNot);
        w.Command(Code::PenStyle).Byte(psDashDot);
        w.Command(Code::PenWidth).Single(0.035f);
        w.Command(Code::LineMetrics).Single(0.125f).Single(0.25f).Single(0.5f);
        w.Command(Code::FontName).String("Courier New");
        w.Command(Code::FontColor).Int32(0x808080);
        w.Command(Code::Bold).Byte(1);
        w.Command(Code::Italic).Byte(1);
        w.Command(Code::Underline).Byte(0);
        w.Command(Code::StrikeOut).Byte(1);
        w.Command(Code::Superscript).Byte(1);
        w.Command(Code::FontRotation).Int16(45);
        w.Command(Code::FontAlign).Byte(2);
        w.Command(Code::FontCharset).Byte(204);
        w.Command(Code::ReportVar).String("Name").SlotStringReference("Value");
        w.Command(Code::Spare28).Single(99);
        w.Command(Code::Spare29).Single(99);
    });
    RecordingFilePrinter& p = *played.printer;
    EXPECT_TRUE(played.calls.empty());
    EXPECT_TRUE(p.BitmapRopAnd);
    TCanvas& c = p.GetCanvas();
    EXPECT_EQ(c.Brush().Color(), 0x0000FF);
    EXPECT_EQ(c.Brush().Style(), bsBDiagonal);
    EXPECT_EQ(c.Pen().Color(), 0x00FF00);
    EXPECT_EQ(c.Pen().Mode(), pmNot);
    EXPECT_EQ(c.Pen().Style(), psDashDot);
    EXPECT_EQ(c.Pen().Width(), 4); // 3.5 px rounds to even
    EXPECT_EQ(p.LineAscent, 0.125);
    EXPECT_EQ(p.LineDescent, 0.25);
    EXPECT_EQ(p.LineHeight, 0.5);
    EXPECT_EQ(c.Font().Name(), "Courier New");
    EXPECT_EQ(c.Font().Color(), 0x808080);
    EXPECT_EQ(c.Font().Style(), fsBold | fsItalic | fsStrikeOut);
    EXPECT_TRUE(p.FontRecord.Superscript);
    EXPECT_EQ(p.FontRecord.Rotation, 45);
    EXPECT_EQ(p.FontRecord.FontAlign, 2);
    EXPECT_EQ(p.GetReportVar("NAME"), "Value");
}

TEST(PrintPage, AppliesTheNextOrientationOnlyAfterThePage) {
    Played played = Play(2018, [](ReportWriter& w) {
        w.Command(Code::NextOrientation).Byte(1);
        w.Command(Code::MoveTo).Single(1).Single(1);
    });
    EXPECT_EQ(played.calls, (Lines{"MoveTo(1,1)", "SetOrientation(1)"}));
    EXPECT_EQ(played.printer->NextOrientation, 2);

    Played none = Play(2018, [](ReportWriter& w) { w.Command(Code::NextOrientation).Byte(2); });
    EXPECT_TRUE(none.calls.empty());
}

TEST(PrintPage, LeavesAPendingOrientationAloneWhenACommandFails) {
    ReportWriter w(2018);
    w.Header().BeginPage().Command(Code::NextOrientation).Byte(0).Byte(44).EndPage();
    RecordingFilePrinter p;
    p.Load(w.Finish());
    try {
        p.PrintPage(1);
        FAIL();
    } catch (const EQuillet& e) {
        EXPECT_STREQ(e.what(), "Unexpected code found in report file.");
    }
    EXPECT_TRUE(p.Aborted);
    EXPECT_TRUE(p.Calls.empty());
}

TEST(PrintPage, RefusesEveryCodeThatIsNotACommand) {
    for (int code : {0, 38, 39, 44, 49, 64, 69, 75, 81, 89, 255}) {
        ReportWriter w(2018);
        w.Header().BeginPage().Byte(uint8_t(code)).EndPage();
        RecordingFilePrinter p;
        p.Load(w.Finish());
        EXPECT_THROW(p.PrintPage(1), EQuillet) << code;
        EXPECT_TRUE(p.Aborted) << code;
    }
}

TEST(PrintPage, ReportsAPageThatEndsInsideACommandAsAReadError) {
    ReportWriter w(2018);
    w.Header().BeginPage().Command(Code::Rectangle).Single(1).Single(2);
    RecordingFilePrinter p;
    p.Load(w.Finish());
    EXPECT_THROW(p.PrintPage(1), EReadError);
}

TEST(PrintPage, RefusesARawDataBlockLongerThanTheFile) {
    for (int32_t n : {100, -1}) {
        ReportWriter w(2018);
        w.Header().BeginPage().Command(Code::PrintDataStream).Int32(n).Raw("abc").EndPage();
        RecordingFilePrinter p;
        p.Load(w.Finish());
        EXPECT_THROW(p.PrintPage(1), EReadError) << n;
        EXPECT_TRUE(p.Calls.empty());
    }
}

TEST(PrintPage, SendsTheRestOfTheFileForARawDataBlockOfZero) {
    ReportWriter w(2018);
    w.Header().BeginPage().Command(Code::PrintDataStream).Int32(0).Raw("tail").Byte(82);
    RecordingFilePrinter p;
    p.Load(w.Finish());
    // The data runs to the end of the file, so no end of page follows.
    EXPECT_THROW(p.PrintPage(1), EReadError);
    EXPECT_EQ(p.Calls, (Lines{"PrintDataStream(tail\x52)"}));
}

TEST(PrintPage, RefusesABitmapCommandHoldingAnotherGraphic) {
    ReportWriter w(2018);
    w.Header().BeginPage().Command(Code::PrintBitmap).Graphic(fixture::kIcon, {0, 0, 1, 0, 0, 0});
    w.Single(1).Single(1).Single(1).Single(1).EndPage();
    RecordingFilePrinter p;
    p.Load(w.Finish());
    EXPECT_ANY_THROW(p.PrintPage(1)); // the icon decoder or the cast refuses it
    EXPECT_TRUE(p.Calls.empty());
}

TEST(PrintPage, ReadsTheSampleWidthOfFontHeightFromFormat2000) {
    for (int32_t version : {1101, 2009, 2018}) {
        SCOPED_TRACE(version);
        Played played = Play(version, [&](ReportWriter& w) {
            w.Command(Code::FontHeight).Single(0.5f);
            if (version >= 2000)
                w.Single(100); // wider than the sample: no fitting
            w.Command(Code::MoveTo).Single(1).Single(1);
        });
        EXPECT_EQ(played.calls, (Lines{"MoveTo(1,1)"}));
        EXPECT_EQ(played.printer->GetCanvas().Font().Height(), 50);
    }
}

TEST(PrintPage, ShrinksTheFontHeightUntilTheSampleFits) {
    // The sample is 70 characters; at 0.001 in per character per pixel a
    // 50 px font measures 3.5 in. A limit of 2.85 in needs 40 px or less;
    // each step takes 1.1 px off the height, which rounds to whole pixels.
    Played played = Play(2018, [](ReportWriter& w) { w.Command(Code::FontHeight).Single(0.5f).Single(2.85f); });
    EXPECT_EQ(played.printer->GetCanvas().Font().Height(), 40);
}

TEST(PrintPage, KeepsTheGivenHeightWhenShrinkingStopsHelping) {
    ReportWriter w(2018);
    w.Header().BeginPage().Command(Code::FontHeight).Single(0.5f).Single(0.01f).EndPage();
    RecordingFilePrinter p;
    p.Load(w.Finish());
    p.PrintPage(1);
    // The height bottoms out at 1 px (0.07 in) without reaching 0.01 in.
    EXPECT_EQ(p.GetCanvas().Font().Height(), 50);
}

TEST(PrintPage, EndsTheWidthFittingOfAHugeFontInBoundedTime) {
    ReportWriter w(2018);
    w.Header().BeginPage().Command(Code::FontHeight).Single(1e7f).Single(0.001f).EndPage();
    RecordingFilePrinter p;
    p.Load(w.Finish());
    p.PrintPage(1);
    EXPECT_LT(p.GetCanvas().Font().Height(), 1000000000);
}

TEST(PrintPage, PlaysTheSlotStringValueOfAVariableInLaterText) {
    ReportWriter w(2018);
    w.Header();
    w.BeginPage().Command(Code::ReportVar).String("Client").SlotString("ACME", 12).EndPage();
    w.BeginPage().Command(Code::PrintLeft).Single(1).String("To: \xFD$QLCV\xFC" "client\xFB!").Single(1).EndPage();
    RecordingFilePrinter p;
    p.Load(w.Finish());
    p.PrintPage(1);
    p.PrintPage(2);
    p.PrintPage(2);
    EXPECT_EQ(p.Calls, (Lines{"PrintLeft(To: ACME!,1) y=1", "PrintLeft(To: ACME!,1) y=1"}));
}

TEST(PrintPage, PlaysEveryCommandOfEveryVersion) {
    for (int32_t version : {1101, 2009, 2010, 2015, 2016, 2017, 2018}) {
        SCOPED_TRACE(version);
        RecordingFilePrinter p;
        p.Load(fixture::EveryCommandReport(version));
        p.PrintPage(1);
        // 37 drawing, text, mode and output calls; the report variable set
        // earlier on the page shows in the text that names it.
        EXPECT_EQ(p.Calls.size(), 37u);
        EXPECT_NE(std::find(p.Calls.begin(), p.Calls.end(), "PrintLeft(Left ACME,1) y=8.8"), p.Calls.end());
        p.Calls.clear();
        p.PrintPage(2);
        EXPECT_EQ(p.Calls, (Lines{"PrintLeft(Page 2 of 2,1) y=1"}));
    }
}

} // namespace
} // namespace rpt::testing

#include "RecordingFilePrinter.h"

#include "device/EQuillet.h"
#include "fixture/BmpFile.h"
#include "fixture/ReportWriter.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace rpt::testing {
namespace {

using fixture::Bytes;
using fixture::ReportWriter;

// A printer positioned on the operands that the writer put after the header.
struct Operands {
    explicit Operands(ReportWriter& w) {
        p.Load(w.Finish());
        start = static_cast<int32_t>(p.FileHeader.FirstPagePos);
        p.Input().SetPosition(start);
    }
    int64_t Consumed() { return p.Input().Position() - start; }
    RecordingFilePrinter p;
    int32_t start = 0;
};

ReportWriter After(int32_t version) {
    ReportWriter w(version);
    w.Header();
    return w;
}

TEST(ReadString, UsesTheTwoByteLengthOnlyFromFormat2016) {
    struct Case {
        int32_t version;
        Bytes bytes;
        size_t length;
    };
    for (const Case& c : {Case{2016, {0xC1, 0x05}, 261}, Case{2018, {0xC0, 0xC0}, 192},
                          Case{2016, {0xC0, 0x00}, 0}, Case{2015, {0xC1}, 0xC1},
                          Case{1101, {0xFF}, 255}, Case{2016, {0xBF}, 191}}) {
        SCOPED_TRACE(c.version);
        ReportWriter w = After(c.version);
        w.Raw(c.bytes).Raw(std::string(c.length, 'x')).Byte(0x42);
        Operands o(w);
        EXPECT_EQ(o.p.ReadString(), std::string(c.length, 'x'));
        EXPECT_EQ(o.p.ReadByte(), 0x42);
    }
}

TEST(ReadString, ExpandsMacrosButSlotStringsStayAsStored) {
    ReportWriter w = After(2018);
    w.String("total \xFD$QLCM10").SlotString("\xFD$QLCM10", 8);
    Operands o(w);
    EXPECT_EQ(o.p.ReadString(), "total 0"); // TotalPages from the header
    EXPECT_EQ(o.p.ReadSlotString(), "\xFD$QLCM10");
}

TEST(ReadSlotString, TakesTheTextFromTheSlotAndSkipsTheRest) {
    ReportWriter w = After(2018);
    w.SlotString("abc", 8).Byte(0x42);
    Operands o(w);
    EXPECT_EQ(o.p.ReadSlotString(), "abc");
    EXPECT_EQ(o.Consumed(), 10);
}

TEST(ReadSlotString, FollowsReferencesAndContinuesAfterTheSlot) {
    for (uint8_t marker : {uint8_t(254), uint8_t(255)}) {
        ReportWriter w = After(2018);
        w.SlotStringReference("kept elsewhere", marker, 6).Byte(0x42);
        Operands o(w);
        EXPECT_EQ(o.p.ReadSlotString(), "kept elsewhere");
        EXPECT_EQ(o.Consumed(), 8);
        EXPECT_EQ(o.p.ReadByte(), 0x42);
    }
}

TEST(ReadSlotString, RefusesAReferenceThatLeadsBackToItself) {
    ReportWriter w = After(2018);
    const int32_t at = w.Here();
    w.Byte(4).Byte(254).Int32(at);
    Operands o(w);
    try {
        o.p.ReadSlotString();
        FAIL();
    } catch (const EQuillet& e) {
        EXPECT_STREQ(e.what(), "Slot string reference loop found in report file.");
    }
}

TEST(ReadSlotString, RefusesSlotsOutsideTheFormat) {
    struct Case {
        const char* name;
        Bytes bytes;
    };
    for (const Case& c : {Case{"slot above 128", Bytes{129, 3}},
                          Case{"text longer than slot", Bytes{2, 3, 'a', 'b'}},
                          Case{"reference slot too small", Bytes{2, 254, 0, 0}}}) {
        SCOPED_TRACE(c.name);
        ReportWriter w = After(2018);
        w.Raw(c.bytes).Raw(std::string(200, ' '));
        Operands o(w);
        EXPECT_THROW(o.p.ReadSlotString(), EQuillet);
    }
}

TEST(ReadGraphic, ReadsABitmapByReferenceAndContinuesAfterTheOffset) {
    const Bytes bmp = fixture::BmpFile(3, 2, 24);
    ReportWriter w = After(2018);
    w.Graphic(fixture::kBitmap, bmp, true).Byte(0x42);
    Operands o(w);
    auto graphic = o.p.ReadGraphic();
    ASSERT_NE(dynamic_cast<TBitmap*>(graphic.get()), nullptr);
    EXPECT_EQ(graphic->Width(), 3);
    EXPECT_EQ(graphic->Height(), 2);
    EXPECT_EQ(o.Consumed(), 5);
    EXPECT_EQ(o.p.ReadByte(), 0x42);
}

TEST(ReadPatternBitmap, TakesAFlagOf0x80AsInlineAndAboveAsByReference) {
    const Bytes bmp = fixture::BmpFile(2, 2, 8);
    ReportWriter w = After(2018);
    w.Byte(0x80).GraphicData(bmp);
    w.Byte(0x81).GraphicDataReference(fixture::BmpFile(5, 1, 4));
    w.Byte(0x42);
    Operands o(w);
    TBitmap first;
    o.p.ReadPatternBitmap(first);
    EXPECT_EQ(first.Width(), 2);
    EXPECT_EQ(o.Consumed(), 1 + 4 + long(bmp.size()));
    TBitmap second;
    o.p.ReadPatternBitmap(second);
    EXPECT_EQ(second.Width(), 5);
    EXPECT_FALSE(o.p.GraphicByRef);
    EXPECT_EQ(o.p.ReadByte(), 0x42);
}

TEST(ReadGraphic, RefusesKindsOtherThanBitmapMetafileAndIcon) {
    for (uint8_t kind : {uint8_t(0), uint8_t(4), uint8_t(0x7F), uint8_t(0x84)}) {
        ReportWriter w = After(2018);
        w.Byte(kind).Int32(0);
        Operands o(w);
        try {
            o.p.ReadGraphic();
            FAIL() << int(kind);
        } catch (const EQuillet& e) {
            EXPECT_STREQ(e.what(), "Invalid graphic kind found in report file.");
        }
    }
}

TEST(OperandReaders, RaiseTheStreamReadErrorForSizesPastTheEndBeforeAllocating) {
    struct Case {
        const char* name;
        std::function<void(ReportWriter&)> write;
        std::function<void(RecordingFilePrinter&)> read;
    };
    auto graphic = [](RecordingFilePrinter& p) { p.ReadGraphic(); };
    const Case cases[] = {
        {"graphic size past the end", [](ReportWriter& w) { w.Byte(1).Int32(0x7FFFFFFF).Raw("BM"); }, graphic},
        {"negative graphic size", [](ReportWriter& w) { w.Byte(1).Int32(-5); }, graphic},
        {"reference to a size past the end", [](ReportWriter& w) { w.Byte(0x81).Int32(60); }, graphic},
        {"string longer than the file", [](ReportWriter& w) { w.Byte(200).Raw("abc"); },
         [](RecordingFilePrinter& p) { p.ReadString(); }},
        {"two-byte string longer than the file", [](ReportWriter& w) { w.Byte(0xFF).Byte(0xFF); },
         [](RecordingFilePrinter& p) { p.ReadString(); }},
        {"slot past the end", [](ReportWriter& w) { w.Byte(100).Byte(3).Raw("abc"); },
         [](RecordingFilePrinter& p) { p.ReadSlotString(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReportWriter w = After(2018);
        c.write(w);
        Operands o(w);
        EXPECT_THROW(c.read(o.p), EReadError);
    }
}

TEST(OperandReaders, ConvertPointsAndRectanglesToDevicePixels) {
    ReportWriter w = After(2018);
    w.Point(1.5f, 2.25f).Rect(0.5f, 1, 2, 3.125f);
    Operands o(w);
    o.p.ZoomFactor = 50;
    const TPoint point = o.p.ReadPoint();
    EXPECT_EQ(point, (TPoint{75, 112})); // 112.5 rounds to even
    const TRect rect = o.p.ReadRect();
    EXPECT_EQ(Str(rect), "[25,50,100,156]");
}

TEST(OperandReaders, ApplyPenAndBrushDescriptionsToTheCanvas) {
    ReportWriter w = After(2018);
    w.Pen({.colour = 0x0000FF, .mode = 14, .style = 2, .width = 0.025f});
    w.Brush({.colour = 0x00FF00, .style = 6});
    w.Brush({.colour = 0, .style = 0, .pattern = fixture::BmpFile(8, 8, 1), .patternByReference = true});
    w.Byte(0x42);
    Operands o(w);
    o.p.ZoomFactor = 200;
    o.p.ReadPenDesc();
    TCanvas& canvas = o.p.GetCanvas();
    EXPECT_EQ(canvas.Pen().Color(), 0x0000FF);
    EXPECT_EQ(canvas.Pen().Mode(), pmXor);
    EXPECT_EQ(canvas.Pen().Style(), psDot);
    EXPECT_EQ(canvas.Pen().Width(), 5); // 100 dpi x 0.025 in x 200 %
    o.p.ReadBrushDesc();
    EXPECT_EQ(canvas.Brush().Color(), 0x00FF00);
    EXPECT_EQ(canvas.Brush().Style(), bsCross);
    EXPECT_FALSE(canvas.Brush().HasPattern());
    o.p.ReadBrushDesc();
    ASSERT_TRUE(canvas.Brush().HasPattern());
    EXPECT_EQ(canvas.Brush().Pattern()->Width(), 8);
    EXPECT_EQ(o.p.ReadByte(), 0x42);
}

TEST(ReadFontDesc, ReadsCharsetAndRotationOnlyWhereTheVersionHasThem) {
    struct Case {
        int32_t version;
        uint8_t charset;
        int16_t rotation;
    };
    for (const Case& c : {Case{1101, 1, 0}, Case{2009, 1, 90}, Case{2017, 1, 90}, Case{2018, 204, 90}}) {
        SCOPED_TRACE(c.version);
        ReportWriter w = After(c.version);
        w.Font({.name = std::string(70, 'F'), .colour = 0x112233, .pitch = 2, .charset = 204,
                .height = 0.5f, .bold = 1, .italic = 0, .underline = 1, .strikeOut = 1, .rotation = 90});
        w.Byte(0x42);
        Operands o(w);
        o.p.ReadFontDesc();
        const TFontRecord& f = o.p.FontRecord;
        EXPECT_EQ(f.Name, std::string(60, 'F'));
        EXPECT_EQ(f.Color, 0x112233);
        EXPECT_EQ(f.Pitch, 2);
        EXPECT_EQ(f.Charset, c.charset);
        EXPECT_EQ(f.Height, 0.5);
        EXPECT_EQ(f.Size, 36);
        EXPECT_TRUE(f.Bold);
        EXPECT_FALSE(f.Italic);
        EXPECT_TRUE(f.Underline);
        EXPECT_TRUE(f.StrikeOut);
        EXPECT_EQ(f.Rotation, c.rotation);
        EXPECT_EQ(o.p.ReadByte(), 0x42);
    }
}

TEST(ExpectCode, MarksTheJobAbortedBeforeRaising) {
    ReportWriter w = After(2018);
    w.Byte('Q');
    Operands o(w);
    EXPECT_THROW(o.p.ExpectCode('P'), EQuillet);
    EXPECT_TRUE(o.p.Aborted);
}

TEST(ReportVariables, MatchNamesWithoutRegardToLetterCase) {
    TFilePrinter p(nullptr);
    p.SetReportVar("Customer", "first");
    p.SetReportVar("CUSTOMER", "second");
    p.SetReportVar("region", "north");
    EXPECT_EQ(p.Variables.Count(), 2u);
    EXPECT_EQ(p.GetReportVar("customer"), "second");
    EXPECT_EQ(p.GetReportVar("REGION"), "north");
    EXPECT_EQ(p.GetReportVar("unknown"), "");
    p.ClearVariables();
    EXPECT_EQ(p.GetReportVar("customer"), "");
}

} // namespace
} // namespace rpt::testing

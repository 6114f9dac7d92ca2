#include "preview/TFilePreview.h"

#include "device/EQuillet.h"
#include "fixture/ReportWriter.h"
#include "platform/Graphics.h"
#include "platform/MemoryScrollBox.h"
#include "platform/UserInterface.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace rpt;
using namespace rpt::fixture;

namespace {

class RecordingUI : public ConsoleUserInterface {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowError(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

Bytes Report(int pages, float width = 8.5f, float height = 11.0f) {
    ReportWriter w(2018);
    ReportHeader header;
    header.pageWidth = width;
    header.pageHeight = height;
    w.Header(header);
    for (int i = 0; i < pages; ++i) {
        w.BeginPage(PageRecord{std::nullopt, width, height, 0});
        w.EndPage();
    }
    return w.Finish();
}

// A preview over a detached scroll box of the viewer's design size.
struct Preview {
    explicit Preview(Bytes bytes, int32_t boxWidth = 608, int32_t boxHeight = 364)
        : box(nullptr, boxWidth, boxHeight), stream(std::move(bytes)) {
        preview.SetStreamMode(smUser);
        preview.Stream = &stream;
        preview.SetScrollBox(&box);
    }
    ~Preview() { preview.Finish(); }
    const Dib& Pixels() const { return preview.PageBitmap()->Pixels(); }
    uint32_t At(int32_t x, int32_t y) const { return Pixels().At(x, y) & 0xFFFFFF; }

    TMemoryScrollBox box;
    TMemoryStream stream;
    TFilePreview preview{nullptr};
};

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kYellow = 0xFFFF80, kSilver = 0xC0C0C0;

} // namespace

TEST(PreviewFrame, InchRulersFrameAnEightAndAHalfByElevenSheet) {
    Preview p(Report(1));
    p.preview.RulerType = rtBothIn;
    p.preview.Start();
    ASSERT_EQ(p.Pixels().Width, 836);
    ASSERT_EQ(p.Pixels().Height, 1076);
    EXPECT_EQ(p.At(10, 10), kSilver) << "corner where the strips meet";
    EXPECT_EQ(p.At(20, 20), kBlack) << "sheet outline";
    EXPECT_EQ(p.At(835, 1075), kBlack);
    EXPECT_EQ(p.At(21, 21), kWhite);
    EXPECT_EQ(p.At(506, 5), kYellow) << "horizontal strip";
    EXPECT_EQ(p.At(5, 506), kYellow) << "vertical strip";
    // A tick every 12 pixels from the strip's edge (row 20, under the sheet's
    // outline), its end pixel left out: 5 long at the eighths, 15 at the
    // half inch, 18 at the inch with its label left of it.
    for (int32_t y = 17; y <= 19; ++y)
        EXPECT_EQ(p.At(32, y), kBlack) << "eighth tick, row " << y;
    EXPECT_EQ(p.At(32, 16), kYellow);
    for (int32_t y = 4; y <= 19; ++y)
        EXPECT_EQ(p.At(116, y), kBlack) << "inch tick, row " << y;
    EXPECT_EQ(p.At(116, 3), kYellow);
    EXPECT_EQ(p.At(68, 7), kBlack) << "half-inch tick";
    EXPECT_EQ(p.At(68, 6), kYellow);
    bool label = false;
    for (int32_t x = 100; x < 116; ++x)
        for (int32_t y = 0; y < 14; ++y)
            label = label || p.At(x, y) == kBlack;
    EXPECT_TRUE(label) << "the label 1 ends left of its tick";
}

TEST(PreviewFrame, ShadowFallsRightAndBelowWithBoxColouredCorners) {
    Preview p(Report(1));
    p.box.SetColor(0x808080);
    p.preview.SetShadowDepth(4);
    p.preview.Start();
    const int32_t bw = p.Pixels().Width, bh = p.Pixels().Height;
    EXPECT_EQ(bw, 820);
    EXPECT_EQ(p.At(bw - 2, 10), kBlack);
    EXPECT_EQ(p.At(10, bh - 2), kBlack);
    EXPECT_EQ(p.At(bw - 2, 2), 0x808080u);
    EXPECT_EQ(p.At(2, bh - 2), 0x808080u);
    EXPECT_EQ(p.At(bw - 5, 10), kBlack) << "sheet outline";
    EXPECT_EQ(p.At(bw - 6, 10), kWhite);
}

TEST(PreviewFrame, GridLinesEveryGridStepAtTheZoom) {
    Preview p(Report(1));
    p.preview.GridHoriz = 1;
    p.preview.SetZoomFactor(50);
    p.preview.Start();
    EXPECT_EQ(p.At(100, 48), kBlack);
    EXPECT_EQ(p.At(100, 96), kBlack);
    EXPECT_EQ(p.At(100, 47), kWhite);
    EXPECT_EQ(p.At(100, 60), kWhite);
}

TEST(PreviewFrame, MarginPlacesTheImageAndScrollPositionsSurvivePages) {
    Preview p(Report(3));
    p.preview.MarginPercent = 2.5;
    p.preview.Start();
    EXPECT_EQ(p.preview.PageImage()->Left(), 20);
    EXPECT_EQ(p.preview.PageImage()->Top(), 20);
    p.box.SetVertPosition(300);
    p.preview.NextPage();
    EXPECT_EQ(p.box.VertScrollBar().Position, 300);
    p.preview.MarginMethod = mmScaled;
    p.preview.SetZoomFactor(200);
    EXPECT_EQ(p.preview.PageImage()->Left(), 41);
}

TEST(PreviewZoom, ValuesAreHeldToTheRangeAndNegativeOnesFit) {
    Preview p(Report(1));
    p.preview.MarginPercent = 2.5;
    struct Case {
        double value, expected;
    } cases[] = {{5, 10}, {250, 200}, {10, 10}, {200, 200}, {150, 150}};
    for (const Case& c : cases) {
        p.preview.SetZoomFactor(c.value);
        EXPECT_DOUBLE_EQ(p.preview.GetZoomFactor(), c.expected) << c.value;
    }
    EXPECT_THROW(p.preview.SetZoomFactor(-1), EQuillet) << "fitting needs a running preview";
    p.preview.Start();
    double width = p.preview.ZoomPageWidthFactor();
    double page = p.preview.ZoomPageFactor();
    EXPECT_NEAR(width, (608.0 - (4 + 40 + 16)) / 816 * 100, 1e-9);
    EXPECT_NEAR(width, 67.16, 0.01);
    EXPECT_NEAR(page, 30.30, 0.01);
    p.preview.SetZoomFactor(-2);
    EXPECT_DOUBLE_EQ(p.preview.GetZoomFactor(), width);
    p.preview.SetZoomFactor(-1.95);
    EXPECT_DOUBLE_EQ(p.preview.GetZoomFactor(), width);
    p.preview.SetZoomFactor(-1.9);
    EXPECT_DOUBLE_EQ(p.preview.GetZoomFactor(), page);
    p.preview.SetZoomFactor(15);
    p.preview.ZoomOut();
    EXPECT_DOUBLE_EQ(p.preview.GetZoomFactor(), 10);
    p.preview.SetZoomFactor(195);
    p.preview.ZoomIn();
    EXPECT_DOUBLE_EQ(p.preview.GetZoomFactor(), 200);
}

TEST(PreviewPages, SteppingStopsAtTheEndsOfTheChain) {
    Preview p(Report(5));
    std::vector<int32_t> shown;
    p.preview.OnPageChange = [&](TFilePreview& sender) { shown.push_back(sender.CurrentPage); };
    p.preview.Start();
    p.preview.PrevPage();
    p.preview.PrintPage(4);
    p.preview.PageInc = 3;
    p.preview.NextPage();
    p.preview.NextPage();
    p.preview.PrevPage();
    EXPECT_EQ(shown, (std::vector<int32_t>{1, 4, 5, 2}));
}

TEST(PreviewOptions, MonochromeAndShadowsRefuseEachOther) {
    auto ui = std::make_unique<RecordingUI>();
    RecordingUI* recorded = ui.get();
    auto previous = SetUserInterface(std::move(ui));
    TFilePreview preview(nullptr);
    preview.SetShadowDepth(5);
    preview.SetMonochrome(true);
    EXPECT_FALSE(preview.Monochrome());
    preview.SetShadowDepth(0);
    preview.SetMonochrome(true);
    preview.SetShadowDepth(5);
    EXPECT_EQ(preview.ShadowDepth(), 0);
    EXPECT_EQ(recorded->messages,
              (std::vector<std::string>{
                  "Monochrome not allowed while shadows are in effect.\rChange ShadowDepth to 0 first",
                  "Shadows not allowed while monochrome in effect.\rChange Monochrome to false first"}));
    SetUserInterface(std::move(previous));
}

TEST(PreviewStart, NeedsAScrollBox) {
    TFilePreview preview(nullptr);
    try {
        preview.Start();
        FAIL();
    } catch (const EQuillet& e) {
        EXPECT_EQ(e.Message(), "ScrollBox must be assigned for FilePreview component");
    }
}

TEST(PreviewHostileInput, PageSizesThatMakeNoBitmapAreRefused) {
    for (float width : {0.0f, -3.0f, NAN, 1e9f}) {
        Preview p(Report(1, width, 11));
        EXPECT_THROW(p.preview.Start(), EQuillet) << width;
    }
}

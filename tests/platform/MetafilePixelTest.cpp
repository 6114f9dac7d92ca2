#include "fixture/MetafileWriter.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/RasterDeviceContext.h"

#include <gtest/gtest.h>

namespace rpt {
namespace {

using fixture::MetafileWriter;

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kGreen = 0x00FF00,
                   kBlue = 0x0000FF;

class MetafilePixelTest : public ::testing::Test {
protected:
    Dib target{100, 100};
    RasterDeviceContext dc{target, 96, 96};

    void Play(const MetafileWriter& writer, const TRect& rect) {
        TMemoryStream stream(writer.Bytes());
        TMetafile metafile;
        metafile.LoadFromStream(stream);
        TCanvas canvas;
        canvas.SetHandle(&dc);
        metafile.Draw(canvas, rect);
    }
    uint32_t At(int x, int y) const { return target.At(x, y) & 0xFFFFFF; }
};

TEST_F(MetafilePixelTest, FilledRectangleLandsOnTheMappedPixels) {
    // 50 by 50 units at 96 per inch, drawn twice its size.
    auto w = MetafileWriter::PlaceableWmf(0, 0, 50, 50, 96)
                 .CreateBrush(0, 0, 0x000000)
                 .SelectObject(0)
                 .Rectangle(5, 5, 15, 10);
    Play(w, Rect(0, 0, 100, 100));
    struct Probe {
        int x, y;
        uint32_t color;
    } probes[] = {
        {10, 10, kBlack}, {29, 10, kBlack}, {10, 19, kBlack}, {29, 19, kBlack}, {20, 15, kBlack},
        {9, 10, kWhite},  {30, 10, kWhite}, {10, 9, kWhite},  {10, 20, kWhite}, {30, 20, kWhite},
    };
    for (const auto& p : probes)
        EXPECT_EQ(At(p.x, p.y), p.color) << p.x << ", " << p.y;
}

TEST_F(MetafilePixelTest, EmbeddedBitmapKeepsItsRowsTheRightWayUp) {
    auto w = MetafileWriter::Emf(0, 0, 99, 99, 0, 0, 2540, 2540)
                 .StretchDib(20, 20, 20, 20, 2, 2, {kRed, kGreen, kBlue, kWhite});
    Play(w, Rect(0, 0, 100, 100));
    EXPECT_EQ(At(20, 20), kRed);
    EXPECT_EQ(At(29, 29), kRed);
    EXPECT_EQ(At(30, 20), kGreen);
    EXPECT_EQ(At(20, 30), kBlue);
    EXPECT_EQ(At(39, 39), kWhite);
    EXPECT_EQ(At(19, 20), kWhite);
}

TEST_F(MetafilePixelTest, DrawingStaysInsideTheDestination) {
    auto w = MetafileWriter::Emf(0, 0, 99, 99, 0, 0, 2540, 2540)
                 .SelectStockObject(4)
                 .Rectangle(-50, -50, 200, 200);
    Play(w, Rect(10, 10, 60, 60));
    EXPECT_EQ(At(10, 10), kBlack);
    EXPECT_EQ(At(59, 59), kBlack);
    EXPECT_EQ(At(9, 30), kWhite);
    EXPECT_EQ(At(60, 30), kWhite);
    EXPECT_EQ(At(30, 60), kWhite);
}

TEST_F(MetafilePixelTest, AlphaBlendedBitmapIsComposedOverThePage) {
    using W = MetafileWriter;
    std::vector<uint8_t> params(16, 0);
    for (uint32_t v : {10u, 10u, 20u, 10u, 0x01FF0000u, 0u, 0u})  // dest, blend, source origin
        W::Put32(params, v);
    for (float f : {1.f, 0.f, 0.f, 1.f, 0.f, 0.f})
        W::PutFloat(params, f);
    for (uint32_t v : {0u, 0u, 108u, 40u, 148u, 8u, 2u, 1u})
        W::Put32(params, v);
    for (uint32_t v : {40u, 2u, 1u})
        W::Put32(params, v);
    W::Put16(params, 1);
    W::Put16(params, 32);
    for (int i = 0; i < 6; ++i)
        W::Put32(params, 0);
    // Premultiplied: red at half alpha, then a transparent pixel.
    params.insert(params.end(), {0, 0, 128, 128, 0, 0, 0, 0});
    Play(W::Emf(0, 0, 99, 99, 0, 0, 2540, 2540).Record(114, params), Rect(0, 0, 100, 100));
    uint32_t blended = At(12, 15);
    EXPECT_EQ(blended >> 16, 0xFFu);
    EXPECT_NEAR(static_cast<int>((blended >> 8) & 0xFF), 127, 2);
    EXPECT_NEAR(static_cast<int>(blended & 0xFF), 127, 2);
    EXPECT_EQ(At(25, 15), kWhite);
    EXPECT_EQ(At(9, 15), kWhite);
}

} // namespace
} // namespace rpt

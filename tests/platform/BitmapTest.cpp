#include "platform/Graphics.h"
#include "platform/RasterDeviceContext.h"
#include "platform/RecordingDeviceContext.h"

#include "fixture/BmpFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace rpt {
namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A BMP file header and info header for the given pixel bytes and palette.
std::vector<uint8_t> Bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                         const std::vector<uint32_t>& palette, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> b(54 + palette.size() * 4);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 10, static_cast<uint32_t>(b.size()));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<uint8_t>(bits);
    Put32(b, 30, compression);
    Put32(b, 46, static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i)
        Put32(b, 54 + i * 4, palette[i]);
    Put32(b, 2, static_cast<uint32_t>(b.size() + data.size()));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

std::unique_ptr<TBitmap> Load(const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromStream(stream);
    return bitmap;
}

// Colour (0x00BBGGRR) of pixel x, y in the fixture's pictures.
uint32_t Picture(int32_t x, int32_t y) { return (x + y) % 2 ? 0x000000FFu : 0x00FF0000u; }

TEST(Bitmap, DecodesEveryBitDepthTopRowFirst) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        auto loaded = Load(fixture::BmpFile(5, 3, bits, Picture));
        const TBitmap& bitmap = *loaded;
        ASSERT_EQ(bitmap.Width(), 5) << bits;
        ASSERT_EQ(bitmap.Height(), 3) << bits;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                uint32_t expected = (x + y) % 2 ? 0xFFFF0000u : 0xFF0000FFu;
                EXPECT_EQ(bitmap.Pixels().At(x, y), expected) << bits << " bits at " << x << "," << y;
            }
    }
}

TEST(Bitmap, DecodesRunLengthBitmapsBottomUp) {
    const std::vector<uint32_t> palette = {0x000000, 0xFFFFFF, 0xFF0000};
    // Bottom row: two of colour 2, an absolute run of 1 2 1, end of line;
    // top row: a delta of one pixel, one of colour 1, end of bitmap.
    std::vector<uint8_t> rle8 = {2, 2, 0, 3, 1, 2, 1, 0, 0, 0, 0, 2, 1, 0, 1, 1, 0, 1};
    auto eight = Load(Bmp(5, 2, 8, 1, palette, rle8));
    const Dib& p = eight->Pixels();
    EXPECT_EQ(p.At(0, 1), 0xFFFF0000u);
    EXPECT_EQ(p.At(1, 1), 0xFFFF0000u);
    EXPECT_EQ(p.At(2, 1), 0xFFFFFFFFu);
    EXPECT_EQ(p.At(3, 1), 0xFFFF0000u);
    EXPECT_EQ(p.At(4, 1), 0xFFFFFFFFu);
    EXPECT_EQ(p.At(0, 0), 0xFF000000u);
    EXPECT_EQ(p.At(1, 0), 0xFFFFFFFFu);

    std::vector<uint8_t> rle4 = {4, 0x21, 0, 1};
    auto four = Load(Bmp(4, 1, 4, 2, palette, rle4));
    EXPECT_EQ(four->Pixels().At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(four->Pixels().At(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(four->Pixels().At(2, 0), 0xFFFF0000u);
}

TEST(Bitmap, HostileHeadersAreRefusedAsInvalid) {
    std::vector<uint8_t> good = fixture::BmpFile(4, 4, 24);
    struct Case {
        const char* What;
        std::vector<uint8_t> Bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"not a bitmap", {'X', 'Y', 1, 2, 3}});
    auto with = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> b = good;
        Put32(b, at, value);
        return b;
    };
    cases.push_back({"huge width", with(18, 0x7FFFFFFF)});
    cases.push_back({"huge height", with(22, 0x80000001)});
    cases.push_back({"beyond the pixel limit", with(18, 20000)});
    cases.push_back({"zero width", with(18, 0)});
    cases.push_back({"unknown header size", with(14, 7)});
    cases.push_back({"unknown compression", with(30, 9)});
    std::vector<uint8_t> truncated(good.begin(), good.end() - 10);
    cases.push_back({"rows beyond the bytes", truncated});
    cases.push_back({"palette beyond the bytes", Bmp(2, 2, 8, 0, {}, {})});
    std::vector<uint8_t> rle = Bmp(4, 1, 8, 1, {0}, {0, 200, 1});
    cases.push_back({"absolute run beyond the bytes", rle});
    for (const Case& c : cases) {
        TMemoryStream stream(c.Bytes);
        TBitmap bitmap;
        try {
            bitmap.LoadFromStream(stream);
            ADD_FAILURE() << c.What << " was accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), "Bitmap image is not valid") << c.What;
        }
    }
}

TEST(Bitmap, SetSizeRefusesNegativeAndEnormousSizesWithoutAllocating) {
    TBitmap bitmap;
    EXPECT_THROW(bitmap.SetSize(-1, 10), EOutOfResources);
    EXPECT_THROW(bitmap.SetSize(100000, 100000), EOutOfResources);
    EXPECT_THROW(bitmap.SetSize(INT32_MAX, INT32_MAX), EOutOfResources);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetSize(0, 0);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetSize(3, 2);
    EXPECT_EQ(bitmap.Pixels().At(2, 1), 0xFFFFFFFFu);
    // A page that rounds to no pixels across, at a small zoom, and back.
    bitmap.SetSize(0, 5);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetSize(4, 0);
    bitmap.SetSize(2, 2);
    EXPECT_EQ(bitmap.Pixels().At(1, 1), 0xFFFFFFFFu);
}

TEST(Bitmap, CanvasDrawsIntoItsPixelsAndFollowsAResize) {
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    bitmap.Canvas().Brush().SetColor(clBlack);
    bitmap.Canvas().FillRect(TRect{0, 0, 2, 2});
    EXPECT_EQ(bitmap.Pixels().At(1, 1), 0xFF000000u);
    EXPECT_EQ(bitmap.Pixels().At(2, 2), 0xFFFFFFFFu);
    bitmap.SetSize(8, 8);
    EXPECT_EQ(bitmap.Pixels().At(1, 1), 0xFF000000u) << "a resize keeps what was drawn";
    bitmap.Canvas().FillRect(TRect{6, 6, 8, 8});
    EXPECT_EQ(bitmap.Pixels().At(7, 7), 0xFF000000u);
}

TEST(Bitmap, MonochromeBitmapsHoldOnlyBlackAndWhite) {
    TBitmap bitmap;
    bitmap.SetSize(2, 1);
    bitmap.MutablePixels().At(0, 0) = 0xFF202020u;
    bitmap.MutablePixels().At(1, 0) = 0xFFE0E0E0u;
    bitmap.SetMonochrome(true);
    EXPECT_EQ(bitmap.Pixels().At(0, 0), 0xFF000000u);
    EXPECT_EQ(bitmap.Pixels().At(1, 0), 0xFFFFFFFFu);
    bitmap.Canvas().Brush().SetColor(RGB(200, 200, 0));
    bitmap.Canvas().FillRect(TRect{0, 0, 2, 1});
    EXPECT_EQ(bitmap.Pixels().At(0, 0), 0xFFFFFFFFu);
    EXPECT_TRUE(Load(fixture::BmpFile(3, 3, 1, [](int32_t x, int32_t) { return x ? 0xFFFFFFu : 0u; }))->Monochrome());
}

TEST(Bitmap, DrawStretchesTheWholeBitmapOntoTheCanvas) {
    auto loaded = Load(fixture::BmpFile(2, 1, 24, Picture));
    const TBitmap& bitmap = *loaded;
    RecordingDeviceContext recording;
    TCanvas canvas;
    canvas.SetHandle(&recording);
    canvas.StretchDraw(TRect{10, 20, 50, 40}, bitmap);
    canvas.Draw(5, 6, bitmap);
    EXPECT_EQ(recording.Calls("StretchDIBits"),
              (std::vector<std::string>{"StretchDIBits(10, 20, 50, 40, 0, 0, 2, 1, 2x1, $00CC0020)",
                                        "StretchDIBits(5, 6, 7, 7, 0, 0, 2, 1, 2x1, $00CC0020)"}));
}

} // namespace
} // namespace rpt

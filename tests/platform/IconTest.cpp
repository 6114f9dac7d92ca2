#include "platform/Graphics.h"
#include "platform/RasterDeviceContext.h"

#include <gtest/gtest.h>

namespace rpt {
namespace {

void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// An icon file holding the one image given.
std::vector<uint8_t> IconFile(const std::vector<uint8_t>& image);

// An icon file with one 2x2 24-bit image: red pixels, the top-left one
// masked out by the AND mask.
std::vector<uint8_t> TwoByTwoIcon() {
    std::vector<uint8_t> image;
    Put32(image, 40);
    Put32(image, 2);
    Put32(image, 4); // colour rows and mask rows
    Put16(image, 1);
    Put16(image, 24);
    for (int i = 0; i < 6; ++i)
        Put32(image, 0);
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 2; ++x) {
            image.push_back(0);
            image.push_back(0);
            image.push_back(0xFF);
        }
        image.push_back(0);
        image.push_back(0);
    }
    Put32(image, 0x00000000);        // bottom mask row: opaque
    Put32(image, 0x00000080);        // top mask row: first pixel transparent
    return IconFile(image);
}

std::vector<uint8_t> IconFile(const std::vector<uint8_t>& image) {
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, 1);
    file.push_back(2);
    file.push_back(2);
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 24);
    Put32(file, static_cast<uint32_t>(image.size()));
    Put32(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

TEST(Icon, DecodesTheImageWithItsMaskAndDrawsOverThePage) {
    TMemoryStream stream(TwoByTwoIcon());
    TIcon icon;
    icon.LoadFromStream(stream);
    ASSERT_EQ(icon.Width(), 2);
    ASSERT_EQ(icon.Height(), 2);
    EXPECT_EQ(icon.Pixels().At(0, 0) >> 24, 0u);
    EXPECT_EQ(icon.Pixels().At(1, 0), 0xFFFF0000u);
    EXPECT_EQ(icon.Pixels().At(0, 1), 0xFFFF0000u);

    TBitmap page;
    page.SetSize(2, 2);
    page.Canvas().Draw(0, 0, icon);
    EXPECT_EQ(page.Pixels().At(0, 0), 0xFFFFFFFFu) << "the masked pixel leaves the page";
    EXPECT_EQ(page.Pixels().At(1, 1), 0xFFFF0000u);
}

TEST(Icon, MalformedIconsAreRefused) {
    std::vector<uint8_t> good = TwoByTwoIcon();
    std::vector<std::vector<uint8_t>> cases = {{}, {0, 0, 1, 0}, std::vector<uint8_t>(good.begin(), good.begin() + 30)};
    std::vector<uint8_t> badOffset = good;
    badOffset[18] = 0xFF;
    badOffset[19] = 0xFF;
    cases.push_back(badOffset);
    std::vector<uint8_t> noImages = good;
    noImages[4] = 0;
    cases.push_back(noImages);
    // A PNG image whose header claims the largest size there is.
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13,
                                'I', 'H', 'D', 'R'};
    png.insert(png.end(), 8, 0xFF);
    png.insert(png.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
    cases.push_back(IconFile(png));
    for (const auto& bytes : cases) {
        TMemoryStream stream(bytes);
        TIcon icon;
        EXPECT_THROW(icon.LoadFromStream(stream), EInvalidGraphic);
    }
}

} // namespace
} // namespace rpt

#include "fixture/MetafileWriter.h"
#include "platform/MetafileDib.h"

#include <gtest/gtest.h>

namespace rpt {
namespace {

using W = fixture::MetafileWriter;

std::vector<uint8_t> Header(int32_t w, int32_t h, int bits, uint32_t compression = 0,
                            uint32_t colors = 0) {
    std::vector<uint8_t> out;
    W::Put32(out, 40);
    W::Put32(out, static_cast<uint32_t>(w));
    W::Put32(out, static_cast<uint32_t>(h));
    W::Put16(out, 1);
    W::Put16(out, bits);
    W::Put32(out, compression);
    W::Put32(out, 0);
    W::Put32(out, 0);
    W::Put32(out, 0);
    W::Put32(out, colors);
    W::Put32(out, 0);
    return out;
}

void Palette(std::vector<uint8_t>& out, std::initializer_list<uint32_t> rgb) {
    for (uint32_t c : rgb) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c >> 16));
        out.push_back(0);
    }
}

struct DibCase {
    const char* name;
    std::vector<uint8_t> info;
    std::vector<uint8_t> bits;
    std::vector<uint32_t> expected; // 0xRRGGBB, top row first
    bool bottomUp;
};

std::vector<DibCase> Cases() {
    std::vector<DibCase> cases;
    {
        auto info = Header(3, 2, 1);
        Palette(info, {0x000000, 0xFFFFFF});
        // Bottom row stored first: bottom 1 0 1, top 0 1 0.
        cases.push_back({"1 bit, bottom-up", info, {0xA0, 0, 0, 0, 0x40, 0, 0, 0},
                         {0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF}, true});
    }
    {
        auto info = Header(2, -1, 4, 0, 2);
        Palette(info, {0xFF0000, 0x00FF00});
        cases.push_back({"4 bit, top-down, short palette", info, {0x10, 0, 0, 0},
                         {0x00FF00, 0xFF0000}, false});
    }
    {
        auto info = Header(2, 1, 8, 0, 3);
        Palette(info, {0x111111, 0x222222, 0x333333});
        cases.push_back({"8 bit", info, {2, 1, 0, 0}, {0x333333, 0x222222}, true});
    }
    {
        auto info = Header(2, 1, 16);
        // 5-5-5: pure red, pure blue.
        cases.push_back({"16 bit 5-5-5", info, {0x00, 0x7C, 0x1F, 0x00}, {0xFF0000, 0x0000FF}, true});
    }
    {
        auto info = Header(1, 1, 16, 3);
        W::Put32(info, 0xF800);
        W::Put32(info, 0x07E0);
        W::Put32(info, 0x001F);
        cases.push_back({"16 bit 5-6-5 bit fields", info, {0xE0, 0x07, 0, 0}, {0x00FF00}, true});
    }
    {
        auto info = Header(2, 1, 24);
        cases.push_back({"24 bit", info, {0x01, 0x02, 0x03, 0xFF, 0xFF, 0xFF, 0, 0},
                         {0x030201, 0xFFFFFF}, true});
    }
    {
        auto info = Header(1, 2, 32);
        cases.push_back({"32 bit", info, {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0},
                         {0x605040, 0x302010}, true});
    }
    {
        auto info = Header(4, 2, 8, 1, 2);
        Palette(info, {0x000000, 0xFFFFFF});
        // Bottom row: 4 x index 1; end of line; top row: literal 0 1 1 (padded), then 1 x 1; end of bitmap.
        cases.push_back({"run-length 8 bit", info, {4, 1, 0, 0, 0, 3, 0, 1, 1, 0, 1, 1, 0, 1},
                         {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
                         true});
    }
    return cases;
}

TEST(MetafileDibTest, DecodesEveryDepthTheRecordsUse) {
    for (const auto& c : Cases()) {
        SCOPED_TRACE(c.name);
        auto bitmap = DecodeMetafileDib(c.info, c.bits, DIB_RGB_COLORS);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->BottomUp, c.bottomUp);
        std::vector<uint32_t> rgb;
        for (uint32_t p : bitmap->Pixels.Pixels)
            rgb.push_back(p & 0xFFFFFF);
        EXPECT_EQ(rgb, c.expected);
    }
}

TEST(MetafileDibTest, PackedBitmapFindsItsBitsAfterThePalette) {
    auto packed = Header(2, 1, 8, 0, 2);
    Palette(packed, {0x0000FF, 0x00FF00});
    packed.insert(packed.end(), {1, 0, 0, 0});
    auto bitmap = DecodePackedMetafileDib(packed, DIB_RGB_COLORS);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->Pixels.At(0, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(bitmap->Pixels.At(1, 0) & 0xFFFFFF, 0x0000FFu);
}

TEST(MetafileDibTest, RefusesWhatItCannotDecodeOrCannotAfford) {
    const std::pair<const char*, std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> cases[] = {
        {"no header", {{}, {}}},
        {"header size too small", {{20, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, {}}},
        {"zero width", {Header(0, 5, 24), std::vector<uint8_t>(64)}},
        {"odd bit depth", {Header(1, 1, 7), std::vector<uint8_t>(64)}},
        {"unknown compression", {Header(1, 1, 24, 9), std::vector<uint8_t>(64)}},
        {"bits short of the size", {Header(16000, 16000, 24), std::vector<uint8_t>(4096)}},
        {"beyond the largest bitmap", {Header(70000, 70000, 1), std::vector<uint8_t>(16)}},
        {"run-length claiming too much", {Header(16000, 16000, 8, 1), std::vector<uint8_t>(8)}},
        {"run-length top-down", {Header(2, -2, 8, 1), {2, 1, 0, 1}}},
    };
    for (const auto& [name, dib] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(DecodeMetafileDib(dib.first, dib.second, DIB_RGB_COLORS));
    }
}

TEST(MetafileDibTest, OldDeviceBitmapsAreReadFromTheTop) {
    std::vector<uint8_t> mono = {0, 0, 3, 0, 2, 0, 2, 0, 1, 1, 0xA0, 0, 0x40, 0};
    auto bitmap = DecodeMetafileBitmap16(mono);
    ASSERT_TRUE(bitmap);
    EXPECT_FALSE(bitmap->BottomUp);
    std::vector<uint32_t> rgb;
    for (uint32_t p : bitmap->Pixels.Pixels)
        rgb.push_back(p & 0xFFFFFF);
    EXPECT_EQ(rgb, (std::vector<uint32_t>{0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0}));

    std::vector<uint8_t> colour = {0, 0, 1, 0, 1, 0, 4, 0, 1, 24, 0x10, 0x20, 0x30, 0};
    bitmap = DecodeMetafileBitmap16(colour);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->Pixels.At(0, 0) & 0xFFFFFF, 0x302010u);

    std::vector<uint8_t> shortStride = {0, 0, 20, 0, 1, 0, 1, 0, 1, 1, 0};
    EXPECT_FALSE(DecodeMetafileBitmap16(shortStride));
    std::vector<uint8_t> missingBits = {0, 0, 100, 0, 100, 0, 13, 0, 1, 1, 0, 0};
    EXPECT_FALSE(DecodeMetafileBitmap16(missingBits));
}

} // namespace
} // namespace rpt

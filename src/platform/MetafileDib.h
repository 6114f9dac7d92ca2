#pragma once
// Device-independent bitmaps as metafile records embed them: a bitmap info
// header with its colour table, and the bits, without a file header.
#include "platform/Dib.h"

#include <cstdint>
#include <optional>
#include <span>

namespace rpt {

// Colour tables of 16-bit palette indices (DIB_PAL_COLORS) instead of RGB entries.
constexpr uint32_t DIB_RGB_COLORS = 0, DIB_PAL_COLORS = 1;

struct MetafileBitmap {
    Dib Pixels; // top row first
    bool BottomUp = true; // source rows were stored bottom row first
};

// The bitmap, or nothing when the header or the bits cannot be decoded (an
// unsupported format, a size beyond kMaxBitmapPixels, fewer bits than the
// header's size needs).
// keepAlpha leaves the fourth byte of 32-bit pixels in their alpha byte
// (opaque otherwise); HasAlpha stays for the caller to set.
std::optional<MetafileBitmap> DecodeMetafileDib(std::span<const uint8_t> info, std::span<const uint8_t> bits,
                                                uint32_t usage, bool keepAlpha = false);
// A packed bitmap: the header, its colour table and the bits in one block.
std::optional<MetafileBitmap> DecodePackedMetafileDib(std::span<const uint8_t> packed, uint32_t usage);

// An old device-dependent bitmap (the 16-bit format's blit records): rows
// from the top, one plane of 1, 24 or 32 bits; monochrome bits of 0 are black.
std::optional<MetafileBitmap> DecodeMetafileBitmap16(std::span<const uint8_t> bitmap);

} // namespace rpt

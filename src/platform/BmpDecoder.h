#pragma once
// Decodes device-independent bitmaps: BMP files and the bare bitmap (header,
// colours, pixels) that icons hold. Every size the header claims is checked
// against the bytes present and kMaxBitmapPixels before anything is
// allocated; a bitmap that fails a check raises EInvalidGraphic.
#include "platform/Dib.h"

#include <cstdint>
#include <span>

namespace rpt {

struct DecodedBitmap {
    Dib Pixels;
    int BitsPerPixel = 0;
    // Two colours, black and white: drawn as a monochrome bitmap.
    bool Monochrome = false;
    // Where the pixel rows ended, from the start of the bare bitmap (an
    // icon's transparency mask follows there).
    size_t End = 0;
};

// A whole BMP file, from its "BM" file header on.
DecodedBitmap DecodeBmpFile(std::span<const uint8_t> bytes);
// A bare bitmap starting at its info header. `rows` overrides the height the
// header claims (an icon's header counts the mask rows too); 0 keeps it.
DecodedBitmap DecodeDib(std::span<const uint8_t> bytes, int32_t rows = 0);

} // namespace rpt

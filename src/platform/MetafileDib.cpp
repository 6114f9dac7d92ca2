#include "platform/MetafileDib.h"

#include "platform/MetafileCursor.h"

#include <QImage>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <vector>

namespace rpt {

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_JPEG = 4,
                   BI_PNG = 5;

struct DibHeader {
    uint32_t headerSize = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = BI_RGB;
    uint32_t colorsUsed = 0;
    bool core = false;
};

std::optional<DibHeader> ReadHeader(std::span<const uint8_t> info) {
    if (info.size() < 4)
        return std::nullopt;
    MetafileCursor in(info);
    DibHeader h;
    h.headerSize = in.U32();
    if (h.headerSize == 12) {
        if (info.size() < 12)
            return std::nullopt;
        h.core = true;
        h.width = in.U16();
        h.height = in.I16();
        in.Skip(2);
        h.bitCount = in.U16();
        return h;
    }
    if (h.headerSize < 40 || h.headerSize > info.size())
        return std::nullopt;
    h.width = in.I32();
    h.height = in.I32();
    in.Skip(2);
    h.bitCount = in.U16();
    h.compression = in.U32();
    in.Skip(12);
    h.colorsUsed = in.U32();
    return h;
}

// Position and width of one channel mask, for expanding it to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(uint32_t m) : mask(m) {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::popcount(m >> shift);
        }
    }
    uint32_t Expand(uint32_t value) const {
        if (!bits)
            return 0;
        uint32_t v = (value & mask) >> shift;
        uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
        return static_cast<uint32_t>((static_cast<uint64_t>(v) * 255 + max / 2) / max);
    }
};

uint32_t Opaque(uint32_t r, uint32_t g, uint32_t b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// Palette indices have no logical palette behind them during playback: they
// show as the grey ramp of their index.
std::vector<uint32_t> ReadPalette(std::span<const uint8_t> info, const DibHeader& h,
                                  size_t offset, uint32_t usage) {
    std::vector<uint32_t> palette;
    if (h.bitCount > 8)
        return palette;
    size_t count = size_t{1} << h.bitCount;
    if (h.colorsUsed && h.colorsUsed < count)
        count = h.colorsUsed;
    size_t entry = usage == DIB_PAL_COLORS ? 2 : (h.core ? 3 : 4);
    palette.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        size_t at = offset + i * entry;
        if (at + entry > info.size())
            break;
        if (usage == DIB_PAL_COLORS) {
            uint32_t index = info[at] | (info[at + 1] << 8);
            uint32_t grey = (index * 255) / (count > 1 ? count - 1 : 1) & 0xFF;
            palette.push_back(Opaque(grey, grey, grey));
        } else {
            palette.push_back(Opaque(info[at + 2], info[at + 1], info[at]));
        }
    }
    // A short table still gives every index a colour.
    while (palette.size() < (size_t{1} << h.bitCount))
        palette.push_back(palette.empty() ? Opaque(0, 0, 0) : Opaque(255, 255, 255));
    return palette;
}

// Run-length bits decoded to one palette index per pixel, bottom row first.
std::vector<uint8_t> DecodeRle(std::span<const uint8_t> bits, int32_t width, int32_t height,
                               bool four) {
    std::vector<uint8_t> indices(static_cast<size_t>(width) * height, 0);
    int32_t x = 0, y = 0;
    size_t i = 0;
    auto put = [&](uint8_t index) {
        if (x < width && y < height)
            indices[static_cast<size_t>(y) * width + x] = index;
        ++x;
    };
    while (i + 1 < bits.size() && y < height) {
        uint8_t count = bits[i], value = bits[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count && x < width; ++k)
                put(four ? ((k & 1) ? value & 0x0F : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (i + 1 >= bits.size())
                break;
            x += bits[i];
            y += bits[i + 1];
            i += 2;
        } else {
            size_t bytes = four ? (value + 1u) / 2 : value;
            if (i + bytes > bits.size())
                break;
            for (int k = 0; k < value && x < width; ++k) {
                uint8_t b = four ? bits[i + k / 2] : bits[i + k];
                put(four ? ((k & 1) ? b & 0x0F : b >> 4) : b);
            }
            i += (bytes + 1) & ~size_t{1};
        }
    }
    return indices;
}

std::optional<MetafileBitmap> DecodeEmbeddedImage(std::span<const uint8_t> bits) {
    QImage image = QImage::fromData(bits.data(), static_cast<int>(std::min<size_t>(bits.size(), 0x7FFFFFFF)));
    if (image.isNull() ||
        static_cast<int64_t>(image.width()) * image.height() > kMaxBitmapPixels)
        return std::nullopt;
    image = image.convertToFormat(QImage::Format_ARGB32);
    Dib dib(image.width(), image.height());
    dib.HasAlpha = image.hasAlphaChannel();
    for (int y = 0; y < image.height(); ++y) {
        auto row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        std::copy(row, row + image.width(), &dib.At(0, y));
    }
    return MetafileBitmap{std::move(dib), false};
}

} // namespace

std::optional<MetafileBitmap> DecodeMetafileDib(std::span<const uint8_t> info, std::span<const uint8_t> bits,
                                     uint32_t usage, bool keepAlpha) {
    auto header = ReadHeader(info);
    if (!header)
        return std::nullopt;
    const DibHeader& h = *header;
    if (h.compression == BI_JPEG || h.compression == BI_PNG)
        return DecodeEmbeddedImage(bits);
    int64_t height = std::abs(static_cast<int64_t>(h.height));
    bool topDown = h.height < 0;
    if (h.width <= 0 || height == 0 || static_cast<int64_t>(h.width) * height > kMaxBitmapPixels)
        return std::nullopt;
    switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return std::nullopt;
    }
    bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    if (rle && (topDown || h.bitCount != (h.compression == BI_RLE8 ? 8 : 4)))
        return std::nullopt;
    if (h.compression != BI_RGB && h.compression != BI_BITFIELDS && !rle)
        return std::nullopt;

    uint32_t red = 0x00FF0000, green = 0x0000FF00, blue = 0x000000FF;
    if (h.bitCount == 16) {
        red = 0x7C00;
        green = 0x03E0;
        blue = 0x001F;
    }
    size_t paletteOffset = h.headerSize;
    if (h.compression == BI_BITFIELDS && !h.core) {
        if (info.size() < 52)
            return std::nullopt;
        MetafileCursor masks(info.subspan(40, 12));
        red = masks.U32();
        green = masks.U32();
        blue = masks.U32();
        if (h.headerSize == 40)
            paletteOffset += 12;
    }
    std::vector<uint32_t> palette = ReadPalette(info, h, paletteOffset, usage);
    Channel r(red), g(green), b(blue);

    // The bits must cover the bitmap before its pixels are allocated, so a
    // short record cannot ask for a huge bitmap; run-length bits describe at
    // most 255 pixels for each byte.
    uint64_t stride = (static_cast<uint64_t>(h.width) * h.bitCount + 31) / 32 * 4;
    uint64_t pixels = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(height);
    if (rle ? pixels > static_cast<uint64_t>(bits.size()) * 255
            : stride * static_cast<uint64_t>(height - 1) +
                      (static_cast<uint64_t>(h.width) * h.bitCount + 7) / 8 > bits.size())
        return std::nullopt;
    Dib dib(h.width, static_cast<int32_t>(height));
    auto rowOf = [&](int64_t stored) {
        return static_cast<int32_t>(topDown ? stored : height - 1 - stored);
    };
    if (rle) {
        auto indices = DecodeRle(bits, h.width, static_cast<int32_t>(height), h.compression == BI_RLE4);
        for (int64_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < h.width; ++x)
                dib.At(x, rowOf(y)) = palette[indices[static_cast<size_t>(y) * h.width + x] % palette.size()];
        return MetafileBitmap{std::move(dib), true};
    }
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* row = bits.data() + stride * static_cast<uint64_t>(y);
        uint32_t* out = &dib.At(0, rowOf(y));
        for (int32_t x = 0; x < h.width; ++x) {
            switch (h.bitCount) {
            case 1: out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: out[x] = palette[(row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F]; break;
            case 8: out[x] = palette[row[x]]; break;
            case 16: {
                uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
                out[x] = Opaque(r.Expand(v), g.Expand(v), b.Expand(v));
                break;
            }
            case 24: out[x] = Opaque(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
            case 32: {
                const uint8_t* p = row + 4 * static_cast<size_t>(x);
                uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
                out[x] = Opaque(r.Expand(v), g.Expand(v), b.Expand(v));
                if (keepAlpha)
                    out[x] = (out[x] & 0x00FFFFFF) | (static_cast<uint32_t>(p[3]) << 24);
                break;
            }
            }
        }
    }
    return MetafileBitmap{std::move(dib), !topDown};
}

std::optional<MetafileBitmap> DecodePackedMetafileDib(std::span<const uint8_t> packed, uint32_t usage) {
    auto header = ReadHeader(packed);
    if (!header)
        return std::nullopt;
    const DibHeader& h = *header;
    size_t offset = h.headerSize;
    if (h.compression == BI_BITFIELDS && h.headerSize == 40)
        offset += 12;
    if (h.bitCount <= 8) {
        size_t count = size_t{1} << h.bitCount;
        if (h.colorsUsed && h.colorsUsed < count)
            count = h.colorsUsed;
        offset += count * (usage == DIB_PAL_COLORS ? 2 : (h.core ? 3 : 4));
    } else if (h.colorsUsed && h.colorsUsed <= 256 && !h.core) {
        offset += h.colorsUsed * 4;
    }
    if (offset > packed.size())
        return std::nullopt;
    return DecodeMetafileDib(packed.first(offset), packed.subspan(offset), usage, false);
}

std::optional<MetafileBitmap> DecodeMetafileBitmap16(std::span<const uint8_t> bitmap) {
    if (bitmap.size() < 10)
        return std::nullopt;
    MetafileCursor in(bitmap);
    in.Skip(2);
    int32_t width = in.I16(), height = in.I16(), stride = in.I16();
    uint8_t planes = in.U8(), bitCount = in.U8();
    if (width <= 0 || height <= 0 || planes != 1 ||
        (bitCount != 1 && bitCount != 24 && bitCount != 32) ||
        stride < (width * bitCount + 7) / 8 ||
        static_cast<uint64_t>(stride) * height > in.Remaining())
        return std::nullopt;
    auto bits = in.Take(static_cast<size_t>(stride) * height);
    Dib dib(width, height);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = bits.data() + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            if (bitCount == 1) {
                dib.At(x, y) = (row[x / 8] >> (7 - x % 8)) & 1 ? Opaque(255, 255, 255) : Opaque(0, 0, 0);
            } else {
                const uint8_t* p = row + static_cast<size_t>(x) * (bitCount / 8);
                dib.At(x, y) = Opaque(p[2], p[1], p[0]);
            }
        }
    }
    return MetafileBitmap{std::move(dib), false};
}

} // namespace rpt

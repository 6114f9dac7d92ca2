#include "platform/BmpDecoder.h"

#include "platform/Graphics.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace rpt {

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t Size() const { return bytes_.size(); }
    void Need(size_t offset, size_t count) const {
        if (offset > bytes_.size() || count > bytes_.size() - offset)
            Invalid();
    }
    uint8_t U8(size_t offset) const {
        Need(offset, 1);
        return bytes_[offset];
    }
    uint16_t U16(size_t offset) const {
        Need(offset, 2);
        return static_cast<uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    uint32_t U32(size_t offset) const {
        Need(offset, 4);
        return static_cast<uint32_t>(bytes_[offset]) | (static_cast<uint32_t>(bytes_[offset + 1]) << 8) |
               (static_cast<uint32_t>(bytes_[offset + 2]) << 16) |
               (static_cast<uint32_t>(bytes_[offset + 3]) << 24);
    }
    int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }

private:
    std::span<const uint8_t> bytes_;
};

// One colour channel from a bit mask, widened to eight bits.
struct Channel {
    uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;
    explicit Channel(uint32_t mask) : Mask(mask) {
        if (mask) {
            Shift = std::countr_zero(mask);
            Bits = std::popcount(mask >> Shift);
            if (Bits > 8) {
                Shift += Bits - 8;
                Bits = 8;
            }
        }
    }
    uint32_t Value(uint32_t pixel) const {
        if (!Bits)
            return 0;
        uint32_t maximum = (1u << Bits) - 1;
        uint32_t v = (pixel >> Shift) & maximum;
        return (v * 255 + maximum / 2) / maximum;
    }
};

DecodedBitmap Decode(Reader in, size_t header, size_t pixelsAt, int32_t rowsOverride) {
    uint32_t headerSize = in.U32(header);
    int64_t width, height;
    unsigned planes, bits;
    uint32_t compression = BI_RGB, colorsUsed = 0;
    size_t paletteEntry = 4;
    if (headerSize == 12) {
        width = in.U16(header + 4);
        height = static_cast<int16_t>(in.U16(header + 6));
        planes = in.U16(header + 8);
        bits = in.U16(header + 10);
        paletteEntry = 3;
    } else if (headerSize >= 40 && headerSize <= 124 + 1024) {
        width = in.I32(header + 4);
        height = in.I32(header + 8);
        planes = in.U16(header + 12);
        bits = in.U16(header + 14);
        compression = in.U32(header + 16);
        colorsUsed = in.U32(header + 32);
    } else {
        Invalid();
    }
    if (rowsOverride > 0)
        height = height < 0 ? -static_cast<int64_t>(rowsOverride) : rowsOverride;
    bool topDown = height < 0;
    height = height < 0 ? -height : height;
    if (planes != 1 || width <= 0 || height <= 0 || width * height > kMaxBitmapPixels)
        Invalid();
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Invalid();
    if ((compression == BI_RLE8 && bits != 8) || (compression == BI_RLE4 && bits != 4) ||
        ((compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) && bits != 16 && bits != 32) ||
        (compression != BI_RGB && compression != BI_RLE8 && compression != BI_RLE4 &&
         compression != BI_BITFIELDS && compression != BI_ALPHABITFIELDS) ||
        ((compression == BI_RLE8 || compression == BI_RLE4) && topDown))
        Invalid();

    size_t cursor = header + headerSize;
    uint32_t red = 0x7C00, green = 0x03E0, blue = 0x001F;
    if (bits == 24 || bits == 32) {
        red = 0xFF0000;
        green = 0x00FF00;
        blue = 0x0000FF;
    }
    if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
        // The masks follow a plain info header and sit inside the larger ones.
        size_t masks = header + 40;
        red = in.U32(masks);
        green = in.U32(masks + 4);
        blue = in.U32(masks + 8);
        if (headerSize == 40)
            cursor += compression == BI_ALPHABITFIELDS ? 16 : 12;
    }

    std::vector<uint32_t> palette;
    if (bits <= 8) {
        size_t count = colorsUsed == 0 ? (size_t{1} << bits) : std::min<size_t>(colorsUsed, size_t{1} << bits);
        in.Need(cursor, count * paletteEntry);
        palette.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            size_t at = cursor + i * paletteEntry;
            palette.push_back(0xFF000000u | (uint32_t{in.U8(at + 2)} << 16) | (uint32_t{in.U8(at + 1)} << 8) |
                              in.U8(at));
        }
        cursor += (colorsUsed > count && headerSize != 12 ? std::min<size_t>(colorsUsed, 1u << 16) : count) *
                  paletteEntry;
    }
    if (pixelsAt == 0 || pixelsAt >= in.Size())
        pixelsAt = cursor;

    auto colour = [&palette](uint32_t index) { return index < palette.size() ? palette[index] : 0xFF000000u; };
    const int32_t w = static_cast<int32_t>(width), h = static_cast<int32_t>(height);
    DecodedBitmap result;
    result.BitsPerPixel = static_cast<int>(bits);

    if (compression == BI_RLE8 || compression == BI_RLE4) {
        result.Pixels = Dib(w, h, colour(0));
        size_t at = pixelsAt;
        int64_t x = 0, y = 0; // y counts rows from the bottom
        auto put = [&](uint32_t index) {
            if (x < w && y < h)
                result.Pixels.At(static_cast<int32_t>(x), static_cast<int32_t>(h - 1 - y)) = colour(index);
            ++x;
        };
        while (at + 1 < in.Size() && y < h) {
            uint8_t count = in.U8(at), value = in.U8(at + 1);
            at += 2;
            if (count > 0) {
                for (unsigned i = 0; i < count; ++i)
                    put(compression == BI_RLE8 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F));
            } else if (value == 0) {
                x = 0;
                ++y;
            } else if (value == 1) {
                break;
            } else if (value == 2) {
                x += in.U8(at);
                y += in.U8(at + 1);
                at += 2;
            } else {
                size_t bytes = compression == BI_RLE8 ? value : (value + 1u) / 2;
                in.Need(at, bytes);
                for (unsigned i = 0; i < value; ++i) {
                    uint8_t b = in.U8(at + (compression == BI_RLE8 ? i : i / 2));
                    put(compression == BI_RLE8 ? b : (i % 2 == 0 ? b >> 4 : b & 0x0F));
                }
                at += (bytes + 1) & ~size_t{1};
            }
        }
        result.End = std::min(at, in.Size());
    } else {
        size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
        size_t need = stride * static_cast<size_t>(height);
        in.Need(pixelsAt, need);
        result.Pixels = Dib(w, h, 0xFF000000u);
        Channel r(red), g(green), b(blue);
        for (int32_t row = 0; row < h; ++row) {
            size_t line = pixelsAt + static_cast<size_t>(row) * stride;
            int32_t target = topDown ? row : h - 1 - row;
            uint32_t* out = &result.Pixels.Pixels[static_cast<size_t>(target) * w];
            for (int32_t x = 0; x < w; ++x) {
                uint32_t value;
                switch (bits) {
                case 1: value = colour((in.U8(line + x / 8) >> (7 - x % 8)) & 1); break;
                case 4: value = colour((in.U8(line + x / 2) >> (x % 2 ? 0 : 4)) & 0x0F); break;
                case 8: value = colour(in.U8(line + x)); break;
                case 24:
                    value = 0xFF000000u | (uint32_t{in.U8(line + x * 3 + 2)} << 16) |
                            (uint32_t{in.U8(line + x * 3 + 1)} << 8) | in.U8(line + x * 3);
                    break;
                default: {
                    uint32_t raw = bits == 16 ? in.U16(line + x * 2) : in.U32(line + x * 4);
                    value = 0xFF000000u | (r.Value(raw) << 16) | (g.Value(raw) << 8) | b.Value(raw);
                    if (bits == 32 && compression == BI_RGB)
                        value = (value & 0x00FFFFFFu) | (raw & 0xFF000000u);
                    break;
                }
                }
                out[x] = value;
            }
        }
        result.End = pixelsAt + need;
    }
    if (bits == 1 && palette.size() == 2) {
        auto plain = [](uint32_t c) { return (c & 0xFFFFFFu) == 0 || (c & 0xFFFFFFu) == 0xFFFFFFu; };
        result.Monochrome = plain(palette[0]) && plain(palette[1]);
    }
    return result;
}

} // namespace

DecodedBitmap DecodeBmpFile(std::span<const uint8_t> bytes) {
    Reader in(bytes);
    if (bytes.size() < 18 || bytes[0] != 'B' || bytes[1] != 'M')
        Invalid();
    DecodedBitmap result = Decode(in, 14, in.U32(10), 0);
    // Pixels of 32-bit bitmaps keep their fourth byte for icons only.
    for (uint32_t& pixel : result.Pixels.Pixels)
        pixel |= 0xFF000000u;
    return result;
}

DecodedBitmap DecodeDib(std::span<const uint8_t> bytes, int32_t rows) {
    return Decode(Reader(bytes), 0, 0, rows);
}

} // namespace rpt

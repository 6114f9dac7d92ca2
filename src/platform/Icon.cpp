#include "platform/BmpDecoder.h"
#include "platform/Graphics.h"
#include "platform/Rounding.h"

#include <QImage>

#include <algorithm>

namespace rpt {

namespace {

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic("Icon image is not valid"); }

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint32_t U32BigEndian(const uint8_t* b) {
    return (static_cast<uint32_t>(b[0]) << 24) | (static_cast<uint32_t>(b[1]) << 16) |
           (static_cast<uint32_t>(b[2]) << 8) | b[3];
}

Dib DecodePng(std::span<const uint8_t> image) {
    // The size in the header is checked before the decoder allocates anything.
    if (image.size() < 24)
        InvalidIcon();
    uint32_t width = U32BigEndian(image.data() + 16), height = U32BigEndian(image.data() + 20);
    // Unsigned 64-bit: the product of two 32-bit sizes always fits.
    if (width == 0 || height == 0 ||
        static_cast<uint64_t>(width) * height > static_cast<uint64_t>(kMaxBitmapPixels))
        InvalidIcon();
    QImage decoded = QImage::fromData(image.data(), static_cast<int>(image.size()), "PNG");
    if (decoded.isNull())
        InvalidIcon();
    decoded = decoded.convertToFormat(QImage::Format_ARGB32);
    Dib dib(decoded.width(), decoded.height(), 0);
    dib.HasAlpha = true;
    for (int y = 0; y < dib.Height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(decoded.constScanLine(y));
        std::copy_n(row, dib.Width, &dib.Pixels[static_cast<size_t>(y) * dib.Width]);
    }
    return dib;
}

Dib DecodeIconBitmap(std::span<const uint8_t> image, int32_t height) {
    if (image.size() < 16)
        InvalidIcon();
    int32_t claimed = static_cast<int32_t>(image[8] | (image[9] << 8) | (image[10] << 16) |
                                           (static_cast<uint32_t>(image[11]) << 24));
    // The header counts the colour rows and the mask rows together.
    int32_t rows = height > 0 ? height : std::max(claimed / 2, 1);
    DecodedBitmap colour;
    try {
        colour = DecodeDib(image, rows);
    } catch (const EInvalidGraphic&) {
        InvalidIcon();
    }
    Dib dib = std::move(colour.Pixels);
    dib.HasAlpha = true;
    bool alpha = false;
    if (colour.BitsPerPixel == 32)
        alpha = std::any_of(dib.Pixels.begin(), dib.Pixels.end(), [](uint32_t p) { return (p >> 24) != 0; });
    if (!alpha) {
        for (uint32_t& pixel : dib.Pixels)
            pixel |= 0xFF000000u;
        size_t stride = ((static_cast<size_t>(dib.Width) + 31) / 32) * 4;
        size_t at = colour.End;
        // A missing mask leaves the icon opaque.
        if (at <= image.size() && stride * static_cast<size_t>(dib.Height) <= image.size() - at) {
            for (int32_t row = 0; row < dib.Height; ++row) {
                const uint8_t* line = image.data() + at + static_cast<size_t>(row) * stride;
                int32_t y = dib.Height - 1 - row;
                for (int32_t x = 0; x < dib.Width; ++x)
                    if ((line[x / 8] >> (7 - x % 8)) & 1)
                        dib.At(x, y) = 0;
            }
        }
    }
    return dib;
}

} // namespace

void TIcon::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.Remaining()));
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    if (bytes.size() < 6 || U16(bytes, 0) != 0 || (U16(bytes, 2) != 1 && U16(bytes, 2) != 2))
        InvalidIcon();
    size_t count = U16(bytes, 4);
    if (count == 0 || 6 + count * 16 > bytes.size())
        InvalidIcon();
    // The largest image, the deepest colours among equals.
    size_t best = 0;
    int64_t bestArea = -1;
    unsigned bestBits = 0;
    for (size_t i = 0; i < count; ++i) {
        size_t entry = 6 + i * 16;
        int64_t w = bytes[entry] ? bytes[entry] : 256, h = bytes[entry + 1] ? bytes[entry + 1] : 256;
        unsigned bits = U16(bytes, entry + 6);
        if (w * h > bestArea || (w * h == bestArea && bits > bestBits)) {
            best = i;
            bestArea = w * h;
            bestBits = bits;
        }
    }
    size_t entry = 6 + best * 16;
    uint32_t size = U32(bytes, entry + 8), offset = U32(bytes, entry + 12);
    if (offset > bytes.size() || size > bytes.size() - offset || size == 0)
        InvalidIcon();
    std::span<const uint8_t> image(bytes.data() + offset, size);
    static const uint8_t png[] = {0x89, 'P', 'N', 'G'};
    if (size >= 4 && std::equal(png, png + 4, image.begin()))
        dib_ = DecodePng(image);
    else
        dib_ = DecodeIconBitmap(image, bytes[entry + 1] ? bytes[entry + 1] : 0);
}

TSize TIcon::SizeOnDevice(int32_t pixelsPerInchX, int32_t pixelsPerInchY) const {
    // A device that does not tell its resolution is taken for a screen.
    double perInchX = pixelsPerInchX > 0 ? pixelsPerInchX : 96, perInchY = pixelsPerInchY > 0 ? pixelsPerInchY : 96;
    return {Round(dib_.Width * perInchX / 96), Round(dib_.Height * perInchY / 96)};
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) const {
    if (Empty())
        return;
    canvas.Handle().DrawIcon(rect, dib_);
}

} // namespace rpt

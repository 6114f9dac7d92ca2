#include "platform/ImageFile.h"

#include "platform/Exceptions.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <cstring>

namespace rpt {

void SavePng(const Dib& pixels, const std::string& fileName) {
    QImage image(pixels.Width, pixels.Height,
                 pixels.HasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int32_t y = 0; y < pixels.Height; ++y)
        std::memcpy(image.scanLine(y), &pixels.Pixels[static_cast<size_t>(y) * pixels.Width],
                    static_cast<size_t>(pixels.Width) * 4);
    if (!image.save(QString::fromStdString(fileName), "PNG"))
        throw EStreamError("Cannot write \"" + fileName + "\"");
}

namespace {

// The formats recognised by their first bytes; the image type a report
// records is free text and is not trusted.
const char* SniffFormat(std::string_view b) {
    auto starts = [&](const char* magic, size_t n) {
        return b.size() >= n && std::memcmp(b.data(), magic, n) == 0;
    };
    if (starts("\xFF\xD8\xFF", 3))
        return "jpeg";
    if (starts("\x89PNG\r\n\x1A\n", 8))
        return "png";
    if (starts("GIF87a", 6) || starts("GIF89a", 6))
        return "gif";
    if (starts("BM", 2))
        return "bmp";
    return nullptr;
}

} // namespace

bool DecodeImage(std::string_view bytes, Dib& pixels) {
    const char* format = SniffFormat(bytes);
    if (!format)
        return false;
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    QSize size = reader.size();
    // Refuse before decoding what would be larger than any page bitmap.
    if (size.isValid() && int64_t(size.width()) * size.height() > kMaxBitmapPixels)
        return false;
    QImage image = reader.read();
    if (image.isNull() || int64_t(image.width()) * image.height() > kMaxBitmapPixels)
        return false;
    image = image.convertToFormat(QImage::Format_RGB32);
    Dib out(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(&out.Pixels[static_cast<size_t>(y) * out.Width], image.constScanLine(y),
                    static_cast<size_t>(out.Width) * 4);
    pixels = std::move(out);
    return true;
}

} // namespace rpt

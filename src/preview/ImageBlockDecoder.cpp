#include "preview/ImageBlockDecoder.h"

#include "platform/Graphics.h"
#include "platform/ImageFile.h"
#include "platform/Stream.h"

#include <algorithm>

namespace rpt {

void DecodeImageBlock(TBaseReport&, TStream& image, const std::string&, TBitmap& bitmap) {
    std::string bytes(static_cast<size_t>(image.Remaining()), '\0');
    image.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    Dib decoded;
    if (!DecodeImage(bytes, decoded))
        return;
    bitmap.SetSize(decoded.Width, decoded.Height);
    std::copy(decoded.Pixels.begin(), decoded.Pixels.end(), bitmap.MutablePixels().Pixels.begin());
}

} // namespace rpt

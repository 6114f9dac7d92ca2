// Loads the bytes as a bitmap, as an icon and as an image block would be
// decoded, and draws whatever loads onto a small bitmap, stretched and
// mirrored. Refusals in the system's manner are fine; anything else is not.
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/FontSystem.h"
#include "platform/Graphics.h"
#include "platform/ImageFile.h"
#include "platform/RasterDeviceContext.h"
#include "platform/Stream.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

using namespace rpt;

void DrawLoaded(TGraphic& graphic, const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    try {
        graphic.LoadFromStream(stream);
    } catch (const Exception&) {
        return;
    }
    Dib pixels(48, 48);
    RasterDeviceContext raster(pixels, 96, 96);
    TCanvas canvas;
    canvas.SetHandle(&raster);
    graphic.Draw(canvas, Rect(0, 0, 48, 48));
    graphic.Draw(canvas, Rect(40, 30, 2, 5));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    rpt::EnsureFontSystem();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    rpt::TBitmap bitmap;
    DrawLoaded(bitmap, bytes);
    rpt::TIcon icon;
    DrawLoaded(icon, bytes);
    rpt::Dib decoded;
    rpt::DecodeImage(std::string_view(reinterpret_cast<const char*>(data), size), decoded);
    return 0;
}

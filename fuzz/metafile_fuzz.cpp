// Loads the bytes as a metafile and, when they load, plays them onto a
// recording context and onto a small bitmap, stretched and mirrored.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/RasterDeviceContext.h"
#include "platform/RecordingDeviceContext.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace rpt;
    TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    TMetafile metafile;
    try {
        metafile.LoadFromStream(stream);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    RecordingDeviceContext recording;
    TCanvas recordingCanvas;
    recordingCanvas.SetHandle(&recording);
    metafile.Draw(recordingCanvas, Rect(0, 0, 300, 200));

    Dib pixels(64, 64);
    RasterDeviceContext raster(pixels, 96, 96);
    TCanvas rasterCanvas;
    rasterCanvas.SetHandle(&raster);
    metafile.Draw(rasterCanvas, Rect(60, 2, 4, 50));
    return 0;
}

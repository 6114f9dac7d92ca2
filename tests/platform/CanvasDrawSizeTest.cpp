#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/RecordingDeviceContext.h"
#include "MetafileMappedRecording.h"

#include "fixture/BmpFile.h"
#include "fixture/IcoFile.h"
#include "fixture/MetafileWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace rpt {
namespace {

using fixture::MetafileWriter;

template <class Graphic>
std::unique_ptr<Graphic> Load(const std::vector<uint8_t>& bytes) {
    auto graphic = std::make_unique<Graphic>();
    TMemoryStream stream(bytes);
    graphic->LoadFromStream(stream);
    return graphic;
}

// Drawing the graphic at (10, 20) on a device of the given resolution: the
// calls named `call`, or with no name the shapes in device pixels.
std::string DrawnAt(const TGraphic& graphic, int pixelsPerInch, const std::string& call = {}) {
    MetafileMappedRecording dc;
    dc.SetDeviceCaps(LOGPIXELSX, pixelsPerInch);
    dc.SetDeviceCaps(LOGPIXELSY, pixelsPerInch);
    TCanvas canvas;
    canvas.SetHandle(&dc);
    canvas.Draw(10, 20, graphic);
    std::string lines;
    for (const std::string& line : call.empty() ? dc.Drawn() : dc.Calls(call))
        lines += line + "\n";
    return lines;
}

TEST(CanvasDrawSize, MetafileKeepsItsPhysicalSizeOnEveryDevice) {
    // An inch by half an inch in both formats, filled by one rectangle; the
    // picture is clipped to the box it is drawn into.
    auto placeable = Load<TMetafile>(
        MetafileWriter::PlaceableWmf(0, 0, 1440, 720, 1440).Rectangle(0, 0, 1440, 720).Bytes());
    auto enhanced = Load<TMetafile>(
        MetafileWriter::Emf(0, 0, 99, 49, 0, 0, 2540, 1270).Rectangle(0, 0, 100, 50).Bytes());
    for (const TMetafile* metafile : {placeable.get(), enhanced.get()}) {
        EXPECT_EQ(DrawnAt(*metafile, 600), "IntersectClipRect(10, 20, 610, 320)\nRectangle(10, 20, 610, 320)\n")
            << (metafile->Enhanced() ? "enhanced" : "placeable");
        EXPECT_EQ(DrawnAt(*metafile, 96), "IntersectClipRect(10, 20, 106, 68)\nRectangle(10, 20, 106, 68)\n")
            << (metafile->Enhanced() ? "enhanced" : "placeable");
    }
}

TEST(CanvasDrawSize, MetafileWithoutPlaceableHeaderCountsItsUnitsAsScreenPixels) {
    auto plain = Load<TMetafile>(MetafileWriter::Wmf()
                                     .SetWindowOrg(0, 0)
                                     .SetWindowExt(192, 96)
                                     .Rectangle(0, 0, 192, 96)
                                     .Bytes());
    EXPECT_EQ(DrawnAt(*plain, 600), "IntersectClipRect(10, 20, 1210, 620)\nRectangle(10, 20, 1210, 620)\n");
}

TEST(CanvasDrawSize, IconIsAsLargeOnPaperAsOnTheScreenAndBitmapKeepsItsPixels) {
    auto icon = Load<TIcon>(fixture::IcoFile(32, [](int32_t, int32_t) { return 0xFF0000FFu; }));
    EXPECT_EQ(DrawnAt(*icon, 600, "DrawIcon"), "DrawIcon(10, 20, 210, 220, 32x32)\n");
    EXPECT_EQ(DrawnAt(*icon, 96, "DrawIcon"), "DrawIcon(10, 20, 42, 52, 32x32)\n");
    auto bitmap = Load<TBitmap>(fixture::BmpFile(32, 16, 24));
    EXPECT_NE(DrawnAt(*bitmap, 600, "StretchDIBits").find("(10, 20, 42, 36, 0, 0, 32, 16,"), std::string::npos)
        << DrawnAt(*bitmap, 600, "StretchDIBits");
}

} // namespace
} // namespace rpt

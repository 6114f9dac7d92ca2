#pragma once
// What loading learns about a metafile: its kind, its picture frame and
// physical size, where its records start and how large its object table is.
// Loading walks every record once, so playing never meets a record that runs
// past the end of the bytes.
#include "platform/Graphics.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace rpt {

struct TMetafile::Info {
    bool Enhanced = false;
    // The 16-bit format: the picture's box in its own logical units (the
    // placeable header's bounding box, or the window the records set up).
    // The enhanced format: the frame in pixels of the reference device.
    double FrameLeft = 0, FrameTop = 0, FrameRight = 0, FrameBottom = 0;
    double WidthMm = 0, HeightMm = 0;
    size_t FirstRecord = 0;
    uint32_t ObjectCapacity = 0;
    // The enhanced format's reference device, for its fixed map modes.
    double PixelsPerMmX = 96 / 25.4, PixelsPerMmY = 96 / 25.4;
};

// Bounds the work one picture can ask for; each record is at least 6 bytes anyway.
constexpr size_t kMaxMetafileRecords = size_t{1} << 22;

// Raises EInvalidGraphic for anything that is not a well-formed metafile.
TMetafile::Info ReadMetafileInfo(std::span<const uint8_t> bytes);

} // namespace rpt

#pragma once
// Plays the records of a 16-bit Windows metafile onto a device context,
// mapping the picture's window onto the destination rectangle. Its source is
// the format's record table, one short handler per record, hence its length.
#include "platform/MetafileInfo.h"

#include <span>

namespace rpt {

class MetafilePlayback;
class MetafileCursor;

class WmfPlayer {
public:
    // The bytes and the info must outlive the player.
    WmfPlayer(std::span<const uint8_t> bytes, const TMetafile::Info& info)
        : bytes_(bytes), info_(info) {}
    void Play(DeviceContext& dc, const TRect& destination) const;

private:
    static void PlayRecord(MetafilePlayback& playback, uint16_t function, MetafileCursor& params);

    std::span<const uint8_t> bytes_;
    const TMetafile::Info& info_;
};

} // namespace rpt

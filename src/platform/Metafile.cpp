#include "platform/EmfPlayer.h"
#include "platform/Graphics.h"
#include "platform/MetafileInfo.h"
#include "platform/Rounding.h"
#include "platform/WmfPlayer.h"

namespace rpt {

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

int32_t TMetafile::Width() const {
    return info_ ? Round(info_->WidthMm * 96 / 25.4) : 0;
}

int32_t TMetafile::Height() const {
    return info_ ? Round(info_->HeightMm * 96 / 25.4) : 0;
}

TSize TMetafile::SizeOnDevice(int32_t pixelsPerInchX, int32_t pixelsPerInchY) const {
    if (!info_)
        return {};
    // A device that does not tell its resolution is taken for a screen.
    double perInchX = pixelsPerInchX > 0 ? pixelsPerInchX : 96, perInchY = pixelsPerInchY > 0 ? pixelsPerInchY : 96;
    return {Round(info_->WidthMm * perInchX / 25.4), Round(info_->HeightMm * perInchY / 25.4)};
}

bool TMetafile::Enhanced() const {
    return info_ && info_->Enhanced;
}

void TMetafile::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.Remaining()));
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    // A picture that fails to load leaves the previous one in place.
    auto info = std::make_unique<Info>(ReadMetafileInfo(bytes));
    bytes_ = std::move(bytes);
    info_ = std::move(info);
}

void TMetafile::Draw(TCanvas& canvas, const TRect& rect) const {
    if (!info_)
        return;
    DeviceContext& dc = canvas.Handle();
    if (info_->Enhanced)
        EmfPlayer(bytes_, *info_).Play(dc, rect);
    else
        WmfPlayer(bytes_, *info_).Play(dc, rect);
    // The picture selected objects of its own; the canvas selects its own again.
    canvas.Refresh();
}

} // namespace rpt

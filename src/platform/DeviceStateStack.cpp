#include "platform/DeviceState.h"

#include "platform/TextCodec.h"

namespace rpt {

namespace {
// Far beyond any sane nesting, yet small enough that a looping metafile
// cannot exhaust memory by saving states forever.
constexpr size_t kMaxSavedStates = 4096;
} // namespace

int DeviceStateStack::Save(const DeviceState& state) {
    if (saved_.size() >= kMaxSavedStates)
        return 0;
    saved_.push_back(state);
    return Depth();
}

bool DeviceStateStack::Restore(int saved, DeviceState& state) {
    int level = saved > 0 ? saved : Depth() + saved + 1;
    if (saved == 0 || level < 1 || level > Depth())
        return false;
    state = std::move(saved_[static_cast<size_t>(level - 1)]);
    saved_.resize(static_cast<size_t>(level - 1));
    return true;
}

HFONT StockSystemFont() {
    static const HFONT font = [] {
        LogFont description;
        description.Height = 16;
        description.Weight = FW_BOLD;
        description.CharSet = ANSI_CHARSET;
        description.PitchAndFamily = VARIABLE_PITCH;
        description.FaceName = "System";
        return Font::Create(description);
    }();
    return font;
}

} // namespace rpt

#pragma once
// Graphic objects made from the bytes that a report file embeds.
#include "reader/ReportOperands.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace rpt {

class TGraphic;

// A new bitmap, metafile or icon loaded from the block's bytes.
std::unique_ptr<TGraphic> MakeGraphic(const TGraphicBlock& block);
// Loads the bytes into the graphic, from their start.
void LoadGraphic(TGraphic& graphic, const std::vector<uint8_t>& data);

} // namespace rpt

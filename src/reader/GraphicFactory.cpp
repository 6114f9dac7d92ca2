#include "reader/GraphicFactory.h"

#include "device/EQuillet.h"
#include "device/Translate.h"
#include "platform/Graphics.h"
#include "platform/Stream.h"

namespace rpt {

std::unique_ptr<TGraphic> MakeGraphic(const TGraphicBlock& block) {
    std::unique_ptr<TGraphic> graphic;
    switch (block.Kind) {
    case 1: graphic = std::make_unique<TBitmap>(); break;
    case 2: graphic = std::make_unique<TMetafile>(); break;
    case 3: graphic = std::make_unique<TIcon>(); break;
    default: RaiseError(Translate("Invalid graphic kind found in report file."));
    }
    LoadGraphic(*graphic, block.Data);
    return graphic;
}

void LoadGraphic(TGraphic& graphic, const std::vector<uint8_t>& data) {
    TMemoryStream bytes(data);
    graphic.LoadFromStream(bytes);
}

} // namespace rpt

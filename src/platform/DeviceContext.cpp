#include "platform/DeviceContext.h"

namespace rpt {

int PenModeToROP2(TPenMode mode) {
    switch (mode) {
    case pmBlack: return R2_BLACK;
    case pmWhite: return R2_WHITE;
    case pmNop: return R2_NOP;
    case pmNot: return R2_NOT;
    case pmCopy: return R2_COPYPEN;
    case pmNotCopy: return R2_NOTCOPYPEN;
    case pmMergePenNot: return R2_MERGEPENNOT;
    case pmMaskPenNot: return R2_MASKPENNOT;
    case pmMergeNotPen: return R2_MERGENOTPEN;
    case pmMaskNotPen: return R2_MASKNOTPEN;
    case pmMerge: return R2_MERGEPEN;
    case pmNotMerge: return R2_NOTMERGEPEN;
    case pmMask: return R2_MASKPEN;
    case pmNotMask: return R2_NOTMASKPEN;
    case pmXor: return R2_XORPEN;
    case pmNotXor: return R2_NOTXORPEN;
    }
    return R2_COPYPEN;
}

} // namespace rpt

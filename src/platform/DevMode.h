#pragma once
// A printer's settings record: the fields the report engine writes, with the
// bit of dmFields that marks each one as set.
#include <cstdint>

namespace rpt {

constexpr uint32_t DM_ORIENTATION = 0x00000001;
constexpr uint32_t DM_PAPERSIZE = 0x00000002;
constexpr uint32_t DM_PAPERLENGTH = 0x00000004;
constexpr uint32_t DM_PAPERWIDTH = 0x00000008;
constexpr uint32_t DM_COPIES = 0x00000100;
constexpr uint32_t DM_DEFAULTSOURCE = 0x00000200;
constexpr uint32_t DM_DUPLEX = 0x00001000;
constexpr uint32_t DM_COLLATE = 0x00008000;

constexpr int16_t DMORIENT_PORTRAIT = 1;
constexpr int16_t DMORIENT_LANDSCAPE = 2;
constexpr int16_t DMDUP_SIMPLEX = 1;
constexpr int16_t DMDUP_VERTICAL = 2;
constexpr int16_t DMDUP_HORIZONTAL = 3;
constexpr int16_t DMCOLLATE_FALSE = 0;
constexpr int16_t DMCOLLATE_TRUE = 1;

// DocumentProperties modes.
constexpr uint32_t DM_OUT_BUFFER = 2;
constexpr uint32_t DM_IN_BUFFER = 8;

// DeviceCapabilities indices.
constexpr uint16_t DC_BINS = 6;
constexpr uint16_t DC_BINNAMES = 12;
constexpr uint16_t DC_COPIES = 18;
// Width of one name in the DC_BINNAMES answer.
constexpr int32_t kBinNameLength = 24;

struct TDevMode {
    uint32_t dmFields = 0;
    int16_t dmOrientation = 0;
    int16_t dmPaperSize = 0;
    int16_t dmPaperLength = 0; // tenths of a millimetre
    int16_t dmPaperWidth = 0;
    int16_t dmCopies = 0;
    int16_t dmDefaultSource = 0;
    int16_t dmDuplex = 0;
    int16_t dmCollate = 0;
    friend bool operator==(const TDevMode&, const TDevMode&) = default;
};

} // namespace rpt

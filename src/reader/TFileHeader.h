#pragma once
// The file header of a report file, every field as the file stores it.
#include <cstdint>
#include <string>

namespace rpt {

class TStream;

struct TFileHeader {
    uint8_t VersionCode = 0;
    int32_t FormatVersion = 0;
    std::string Title;          // from format 2010 on
    int16_t TotalPages = 0;
    double PageWidth = 0;       // inches
    double PageHeight = 0;
    uint8_t Orientation = 0;    // 0 portrait, 1 landscape, 2 the printer's own
    int16_t PaperBin = 0;       // bin, collate and duplex from format 2000 on
    uint8_t Collate = 0;
    uint8_t Duplex = 0;
    int16_t Copies = 0;
    int16_t PaperSize = 0;
    int16_t PaperWidth = 0;     // tenths of a millimetre
    int16_t PaperLength = 0;
    std::string OutputFileName;
    int64_t FirstPagePos = 0;   // the byte after the header

    // Reads the header from offset 0 and leaves the stream after it. Raises
    // "Unexpected header code found in report file." for an unknown first byte.
    static TFileHeader Read(TStream& stream);
};

// The format version that a first byte stands for; 0 when it stands for none
// ('Z' carries the version in the Int16 after it).
int32_t FormatVersionOfCode(uint8_t code);

} // namespace rpt

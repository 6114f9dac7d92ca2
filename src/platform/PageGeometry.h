#pragma once
// A printer page in device pixels: the paper, and the printable area inside
// its unprintable edges, at the printer's resolution and orientation.
#include <cstdint>
#include <string>

namespace rpt {

// A medium as a printing system describes it: portrait size and margins in
// hundredths of a millimetre.
struct PrinterMedia {
    std::string Name;
    int32_t Width = 21590;
    int32_t Length = 27940;
    int32_t Left = 0, Right = 0, Top = 0, Bottom = 0;
    friend bool operator==(const PrinterMedia&, const PrinterMedia&) = default;
};

struct PageGeometry {
    int32_t Dpi = 600;
    bool Landscape = false;
    // Paper size in hundredths of a millimetre as the page lies.
    int32_t PaperWidth = 0, PaperLength = 0;
    int32_t PhysicalWidth = 0, PhysicalHeight = 0;
    int32_t OffsetX = 0, OffsetY = 0;
    int32_t PrintableWidth = 0, PrintableHeight = 0;

    // A landscape page is the portrait paper turned a quarter counter-clockwise:
    // its left edge was the paper's top edge.
    static PageGeometry From(const PrinterMedia& media, bool landscape, int32_t dpi);
    friend bool operator==(const PageGeometry&, const PageGeometry&) = default;
};

} // namespace rpt

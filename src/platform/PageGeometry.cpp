#include "platform/PageGeometry.h"

#include "platform/Rounding.h"

#include <algorithm>

namespace rpt {

namespace {

int32_t ToPixels(int32_t hundredthsOfMm, int32_t dpi) {
    return Round(hundredthsOfMm / 2540.0 * dpi);
}

} // namespace

PageGeometry PageGeometry::From(const PrinterMedia& media, bool landscape, int32_t dpi) {
    PageGeometry page;
    page.Dpi = dpi;
    page.Landscape = landscape;
    int32_t left = media.Left, right = media.Right, top = media.Top, bottom = media.Bottom;
    page.PaperWidth = media.Width;
    page.PaperLength = media.Length;
    if (landscape) {
        std::swap(page.PaperWidth, page.PaperLength);
        left = media.Top;
        right = media.Bottom;
        top = media.Right;
        bottom = media.Left;
    }
    page.PhysicalWidth = ToPixels(page.PaperWidth, dpi);
    page.PhysicalHeight = ToPixels(page.PaperLength, dpi);
    page.OffsetX = ToPixels(left, dpi);
    page.OffsetY = ToPixels(top, dpi);
    page.PrintableWidth = std::max(0, page.PhysicalWidth - page.OffsetX - ToPixels(right, dpi));
    page.PrintableHeight = std::max(0, page.PhysicalHeight - page.OffsetY - ToPixels(bottom, dpi));
    return page;
}

} // namespace rpt

#pragma once
// The image-block handler the viewer and the rpt tool install: it decodes the
// bytes of a report's image when their content shows a format it knows
// (JPEG, PNG, GIF, BMP), whatever the free-text image type says, and leaves
// the bitmap empty (nothing drawn) for anything else.
#include <string>

namespace rpt {

class TBaseReport;
class TBitmap;
class TStream;

void DecodeImageBlock(TBaseReport& sender, TStream& image, const std::string& imageType,
                      TBitmap& bitmap);

} // namespace rpt

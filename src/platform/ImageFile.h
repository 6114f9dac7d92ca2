#pragma once
// Image files in and out of the platform's pixel format.
#include "platform/Dib.h"

#include <string>
#include <string_view>

namespace rpt {

// Writes the pixels as a PNG file; raises EStreamError when it cannot.
void SavePng(const Dib& pixels, const std::string& fileName);

// Decodes image bytes whose format the content itself shows (JPEG, PNG, GIF,
// BMP); answers false and leaves `pixels` alone for anything else.
bool DecodeImage(std::string_view bytes, Dib& pixels);

} // namespace rpt

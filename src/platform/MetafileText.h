#pragma once
// Text of the enhanced format's wide records, brought to the 8-bit form the
// device context draws: the code page of the font's character set, with '?'
// for what that code page lacks.
#include <cstdint>
#include <span>
#include <string>

namespace rpt {

// Little-endian UTF-16 code units, as the records store them.
std::string EncodeUtf16ForCharset(std::span<const uint8_t> utf16, uint8_t charset);

} // namespace rpt

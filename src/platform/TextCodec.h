#pragma once
// Texts are 8-bit strings as the report file stores them; they are decoded
// from their character set's code page only where they are drawn or shown.
#include <cstdint>
#include <string>
#include <string_view>

namespace rpt {

// Windows character set codes as fonts carry them.
enum : uint8_t {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    SHIFTJIS_CHARSET = 128,
    HANGEUL_CHARSET = 129,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    GREEK_CHARSET = 161,
    TURKISH_CHARSET = 162,
    VIETNAMESE_CHARSET = 163,
    HEBREW_CHARSET = 177,
    ARABIC_CHARSET = 178,
    BALTIC_CHARSET = 186,
    RUSSIAN_CHARSET = 204,
    THAI_CHARSET = 222,
    EASTEUROPE_CHARSET = 238,
    OEM_CHARSET = 255,
};

// The code page name for a character set ("windows-1252" for ANSI and DEFAULT).
const char* CodePageName(uint8_t charset);
// Decodes bytes of the given character set to UTF-8. Symbol text maps each
// byte into the private-use range U+F000..U+F0FF, as symbol fonts expect.
std::string DecodeToUtf8(std::string_view bytes, uint8_t charset);
inline std::string Windows1252ToUtf8(std::string_view bytes) {
    return DecodeToUtf8(bytes, ANSI_CHARSET);
}
// Encodes UTF-8 to Windows-1252; characters it lacks become '?'.
std::string Utf8ToWindows1252(std::string_view utf8);

} // namespace rpt

#pragma once
// The platform's paper size codes (dmPaperSize) and the media names and
// sizes a printing system knows them by.
#include <cstdint>
#include <optional>
#include <string>

namespace rpt {

constexpr int16_t DMPAPER_LETTER = 1;
constexpr int16_t DMPAPER_A4 = 9;
constexpr int16_t DMPAPER_USER = 256;

struct PaperSize {
    int16_t Code = 0;
    const char* MediaName = ""; // the standard media name, e.g. "na_letter_8.5x11in"
    int32_t Width = 0;          // hundredths of a millimetre, portrait
    int32_t Length = 0;
};

std::optional<PaperSize> PaperByCode(int16_t code);
// The code of a paper of this size within half a millimetre, else DMPAPER_USER.
int16_t PaperCodeForSize(int32_t width, int32_t length);
// A standard name for any size: the known paper's, else a custom one.
std::string MediaNameForSize(int32_t width, int32_t length);

} // namespace rpt

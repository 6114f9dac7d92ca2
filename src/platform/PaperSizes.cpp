#include "platform/PaperSizes.h"

#include <array>
#include <cstdlib>
#include <cstdio>

namespace rpt {

namespace {

constexpr std::array kPapers{
    PaperSize{1, "na_letter_8.5x11in", 21590, 27940},
    PaperSize{2, "na_letter_8.5x11in", 21590, 27940}, // letter small
    PaperSize{3, "na_ledger_11x17in", 27940, 43180},  // tabloid
    PaperSize{4, "na_ledger_11x17in", 27940, 43180},  // ledger, printed landscape
    PaperSize{5, "na_legal_8.5x14in", 21590, 35560},
    PaperSize{6, "na_invoice_5.5x8.5in", 13970, 21590}, // statement
    PaperSize{7, "na_executive_7.25x10.5in", 18415, 26670},
    PaperSize{8, "iso_a3_297x420mm", 29700, 42000},
    PaperSize{9, "iso_a4_210x297mm", 21000, 29700},
    PaperSize{10, "iso_a4_210x297mm", 21000, 29700}, // A4 small
    PaperSize{11, "iso_a5_148x210mm", 14800, 21000},
    PaperSize{12, "jis_b4_257x364mm", 25700, 36400},
    PaperSize{13, "jis_b5_182x257mm", 18200, 25700},
    PaperSize{14, "na_foolscap_8.5x13in", 21590, 33020}, // folio
    PaperSize{20, "na_number-10_4.125x9.5in", 10478, 24130},
    PaperSize{27, "iso_dl_110x220mm", 11000, 22000},
    PaperSize{28, "iso_c5_162x229mm", 16200, 22900},
    PaperSize{37, "na_monarch_3.875x7.5in", 9843, 19050},
    PaperSize{70, "iso_a6_105x148mm", 10500, 14800},
};

bool Near(int32_t a, int32_t b) { return std::abs(a - b) <= 50; }

} // namespace

std::optional<PaperSize> PaperByCode(int16_t code) {
    for (const PaperSize& paper : kPapers)
        if (paper.Code == code)
            return paper;
    return std::nullopt;
}

int16_t PaperCodeForSize(int32_t width, int32_t length) {
    for (const PaperSize& paper : kPapers)
        if (Near(paper.Width, width) && Near(paper.Length, length))
            return paper.Code;
    return DMPAPER_USER;
}

std::string MediaNameForSize(int32_t width, int32_t length) {
    if (const auto paper = PaperByCode(PaperCodeForSize(width, length)))
        return paper->MediaName;
    char name[64];
    std::snprintf(name, sizeof name, "custom_%.2fx%.2fmm_%.2fx%.2fmm", width / 100.0,
                  length / 100.0, width / 100.0, length / 100.0);
    return name;
}

} // namespace rpt

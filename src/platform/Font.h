#pragma once
// Logical fonts: a description in device pixels, realised once into a font
// object that measures and draws text. Realisation never fails: a face that
// exists nowhere is substituted by the font system.
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rpt {

constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_BOLD = 700;
// Pitch and family bits.
constexpr uint8_t DEFAULT_PITCH = 0;
constexpr uint8_t FIXED_PITCH = 1;
constexpr uint8_t VARIABLE_PITCH = 2;
constexpr size_t LF_FACESIZE = 32; // including the terminator: 31 characters

struct LogFont {
    int32_t Height = 0; // pixels; negative asks for a character height, positive a cell height
    int32_t Width = 0;  // 0: the face's natural width
    int32_t Escapement = 0; // tenths of a degree, counter-clockwise
    int32_t Orientation = 0;
    int32_t Weight = FW_NORMAL;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    uint8_t CharSet = 1;
    uint8_t OutPrecision = 0;
    uint8_t ClipPrecision = 0;
    uint8_t Quality = 0;
    uint8_t PitchAndFamily = 0;
    std::string FaceName; // at most 31 characters are used
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

struct TextMetric {
    int32_t tmHeight = 0;
    int32_t tmAscent = 0;
    int32_t tmDescent = 0;
    int32_t tmInternalLeading = 0;
    int32_t tmExternalLeading = 0;
    int32_t tmAveCharWidth = 0;
    int32_t tmMaxCharWidth = 0;
    int32_t tmWeight = 0;
    uint8_t tmCharSet = 0;
};

// A realised font (the platform's font handle). Immutable once made; shared
// by whoever holds it. Text is 8-bit, decoded with the font's character set.
class Font {
public:
    static std::shared_ptr<const Font> Create(const LogFont& description);
    ~Font();

    const LogFont& Description() const { return description_; }
    const TextMetric& Metrics() const;
    // Unkerned advance width and cell height of the text, in pixels.
    TSize TextExtent(std::string_view bytes) const;
    // The face actually used after substitution.
    std::string ActualFamily() const;

    struct Impl;
    const Impl& impl() const { return *impl_; }

private:
    explicit Font(const LogFont& description);
    LogFont description_;
    std::unique_ptr<Impl> impl_;
};

using HFONT = std::shared_ptr<const Font>;

// The character sets in which a face is installed (the enumeration a font
// selection walks); empty when the face does not exist.
std::vector<uint8_t> EnumFontCharsets(std::string_view faceName);

} // namespace rpt

#pragma once
// The engine's record of the current font: the attributes that select a
// realised font, the metrics read back from it, and the handle itself.
#include "platform/Font.h"

#include <cstdint>
#include <string>

namespace rpt {

struct TFontRecord {
    // The face name field holds at most this many characters.
    static constexpr size_t kMaxNameLength = 63;

    std::string Name = "Arial";
    int32_t Color = 0;
    uint8_t Pitch = 0;           // 0 default, 1 variable, 2 fixed
    double Size = 10;            // points; Height * 72
    double Height = 10.0 / 72;   // inches, scale included, zoom not
    double Width = 0;            // inches; 0 is the face's natural width
    double Ascent = 5.0 / 72;    // inches, from the realised font
    double Descent = 5.0 / 72;
    double InternalLeading = 0;
    bool Bold = false;
    bool Underline = false;
    bool Italic = false;
    bool StrikeOut = false;
    bool Subscript = false;
    bool Superscript = false;
    int16_t Rotation = 0;        // degrees, counter-clockwise, -359..359
    uint8_t FontAlign = 0;       // 0 baseline, 1 top, 2 bottom
    HFONT Handle;                // realised font; borrowed from the font cache
    uint8_t Charset = 1;         // 1 is the default character set
};

} // namespace rpt

#pragma once
// Colours are 32-bit values: 0x00BBGGRR for an RGB colour, or a system colour
// constant (0x80000000 | index) that is resolved where a device colour is needed.
#include <cstdint>

namespace rpt {

using TColor = int32_t;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}
constexpr uint8_t GetRValue(uint32_t c) { return c & 0xFF; }
constexpr uint8_t GetGValue(uint32_t c) { return (c >> 8) & 0xFF; }
constexpr uint8_t GetBValue(uint32_t c) { return (c >> 16) & 0xFF; }

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clSysBase = static_cast<TColor>(0x80000000u);
constexpr TColor clWindow = clSysBase | 5;
constexpr TColor clWindowText = clSysBase | 8;
constexpr TColor clBtnFace = clSysBase | 15;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// Resolves system colour constants to the RGB values of a classic light theme
// and strips the high byte of anything else.
uint32_t ColorToRGB(TColor color);

} // namespace rpt

#pragma once
// A device-independent bitmap: 32-bit pixels, top row first. Pixels are
// 0xAARRGGBB; alpha matters only where `HasAlpha` is set (icons).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rpt {

struct Dib {
    int32_t Width = 0;
    int32_t Height = 0;
    bool HasAlpha = false;
    std::vector<uint32_t> Pixels;

    Dib() = default;
    Dib(int32_t width, int32_t height, uint32_t fill = 0xFFFFFFFFu)
        : Width(width), Height(height),
          Pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}
    bool Empty() const { return Width <= 0 || Height <= 0; }
    uint32_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
    uint32_t At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// Largest bitmap the system allocates, in pixels: anything a report asks for
// beyond this is refused rather than exhausting memory.
constexpr int64_t kMaxBitmapPixels = 16384LL * 16384LL;

} // namespace rpt

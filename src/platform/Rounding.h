#pragma once
// The one conversion from a double to pixels: round half to even, saturating
// at the int32 range, with NaN giving 0. Every device coordinate goes through it.
#include <cmath>
#include <cstdint>
#include <limits>

namespace rpt {

inline int32_t Round(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    if (value <= lo)
        return std::numeric_limits<int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::nearbyint(value)); // default FE_TONEAREST: half to even
}

// Truncation toward zero with the same saturation, for Trunc of a double.
inline int32_t Trunc(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    if (value <= lo)
        return std::numeric_limits<int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

// A coordinate plus an extent, saturating at the int32 range as converted
// coordinates do.
inline int32_t SaturatingAdd(int32_t coordinate, int64_t extent) {
    const int64_t sum = static_cast<int64_t>(coordinate) + extent;
    if (sum <= std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (sum >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(sum);
}

} // namespace rpt

#pragma once
// The Qt side of a realised font, for the platform's drawing backends only.
#include "platform/Font.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace rpt {

struct Font::Impl {
    QFont Qt;
    QFontMetrics Metrics;
    TextMetric Text;
    // The character set its 8-bit text is decoded with.
    uint8_t CharSet = 0;

    explicit Impl(const QFont& font) : Qt(font), Metrics(font) { Advances.fill(kUnknown); }
    QString Decode(std::string_view bytes) const;
    // The width of the bytes from the advance of each character, or nothing
    // where that may differ from measuring the decoded string as a whole
    // (contextual scripts, marks, controls, double-byte code pages).
    std::optional<int64_t> SumOfAdvances(std::string_view bytes) const;

private:
    static constexpr int32_t kUnknown = -1;
    static constexpr int32_t kNotAlone = -2;
    // Advances of the 256 byte values, learnt as they are first measured.
    mutable std::array<int32_t, 256> Advances{};
};

} // namespace rpt

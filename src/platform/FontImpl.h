#pragma once
// The Qt side of a realised font, for the platform's drawing backends only.
#include "platform/Font.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <string_view>

namespace rpt {

struct Font::Impl {
    QFont Qt;
    QFontMetrics Metrics;
    TextMetric Text;
    // The character set its 8-bit text is decoded with.
    uint8_t CharSet = 0;

    explicit Impl(const QFont& font) : Qt(font), Metrics(font) {}
    QString Decode(std::string_view bytes) const;
};

} // namespace rpt

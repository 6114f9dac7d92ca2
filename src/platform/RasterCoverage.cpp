#include "platform/RasterCoverage.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace rpt {

RasterCoverage::RasterCoverage(const QRect& box) : box_(box.isValid() ? box : QRect()) {
    if (!box_.isEmpty()) {
        mask_ = QImage(box_.size(), QImage::Format_Alpha8);
        mask_.fill(0);
    }
}

void RasterCoverage::Span(int64_t y, int64_t x0, int64_t x1, uint8_t value) {
    if (Empty() || y < box_.top() || y > box_.bottom())
        return;
    int64_t from = std::max<int64_t>(x0, box_.left());
    int64_t to = std::min<int64_t>(x1, box_.right());
    if (from > to)
        return;
    uint8_t* row = mask_.scanLine(static_cast<int>(y) - box_.top());
    std::memset(row + (from - box_.left()), value, static_cast<size_t>(to - from + 1));
}

void RasterCoverage::FillPath(const QPainterPath& path, const QTransform& transform) {
    if (Empty())
        return;
    QPainter painter(&mask_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.setTransform(transform * QTransform::fromTranslate(-box_.left(), -box_.top()));
    painter.drawPath(path);
}

void RasterCoverage::Subtract(const RasterCoverage& other) {
    if (Empty() || other.Empty())
        return;
    QRect common = box_.intersected(other.box_);
    for (int y = common.top(); y <= common.bottom(); ++y) {
        uint8_t* row = mask_.scanLine(y - box_.top());
        const uint8_t* cut = other.mask_.constScanLine(y - other.box_.top());
        for (int x = common.left(); x <= common.right(); ++x)
            if (cut[x - other.box_.left()])
                row[x - box_.left()] = 0;
    }
}

void RasterCoverage::Intersect(const RasterCoverage& other) {
    if (Empty())
        return;
    for (int y = box_.top(); y <= box_.bottom(); ++y) {
        uint8_t* row = mask_.scanLine(y - box_.top());
        for (int x = box_.left(); x <= box_.right(); ++x)
            if (!other.At(x, y))
                row[x - box_.left()] = 0;
    }
}

} // namespace rpt

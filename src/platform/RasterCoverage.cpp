#include "platform/RasterCoverage.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <utility>

namespace rpt {

RasterCoverage::RasterCoverage(const QRect& box) : box_(box.isValid() ? box : QRect()) {
    if (!box_.isEmpty()) {
        mask_ = QImage(box_.size(), QImage::Format_Alpha8);
        mask_.fill(0);
    }
    Bind();
}

RasterCoverage::RasterCoverage(const RasterCoverage& other)
    : box_(other.box_), mask_(other.mask_.copy()) {
    Bind();
}

RasterCoverage::RasterCoverage(RasterCoverage&& other) noexcept
    : box_(std::exchange(other.box_, QRect())), mask_(std::move(other.mask_)), bits_(other.bits_),
      stride_(other.stride_) {
    other.bits_ = nullptr;
    other.stride_ = 0;
}

RasterCoverage& RasterCoverage::operator=(const RasterCoverage& other) {
    if (this != &other) {
        box_ = other.box_;
        mask_ = other.mask_.copy();
        Bind();
    }
    return *this;
}

RasterCoverage& RasterCoverage::operator=(RasterCoverage&& other) noexcept {
    if (this != &other) {
        box_ = std::exchange(other.box_, QRect());
        mask_ = std::move(other.mask_);
        bits_ = std::exchange(other.bits_, nullptr);
        stride_ = std::exchange(other.stride_, 0);
    }
    return *this;
}

void RasterCoverage::Bind() {
    if (mask_.isNull()) {
        box_ = QRect();
        bits_ = nullptr;
        stride_ = 0;
        return;
    }
    bits_ = mask_.bits();
    stride_ = mask_.bytesPerLine();
}

void RasterCoverage::Span(int64_t y, int64_t x0, int64_t x1, uint8_t value) {
    if (Empty() || y < box_.top() || y > box_.bottom())
        return;
    int64_t from = std::max<int64_t>(x0, box_.left());
    int64_t to = std::min<int64_t>(x1, box_.right());
    if (from > to)
        return;
    uint8_t* row = bits_ + (static_cast<int>(y) - box_.top()) * stride_;
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
        uint8_t* row = bits_ + (y - box_.top()) * stride_;
        const uint8_t* cut = other.Row(y);
        for (int x = common.left(); x <= common.right(); ++x)
            if (cut[x - other.box_.left()])
                row[x - box_.left()] = 0;
    }
}

void RasterCoverage::Intersect(const RasterCoverage& other) {
    if (Empty())
        return;
    const QRect common = box_.intersected(other.box_);
    const int width = box_.width();
    for (int y = box_.top(); y <= box_.bottom(); ++y) {
        uint8_t* row = bits_ + (y - box_.top()) * stride_;
        if (common.isEmpty() || y < common.top() || y > common.bottom()) {
            std::memset(row, 0, static_cast<size_t>(width));
            continue;
        }
        // Outside the other's box nothing is kept; inside, what it has.
        const int from = common.left() - box_.left();
        const int to = common.right() - box_.left();
        std::memset(row, 0, static_cast<size_t>(from));
        std::memset(row + to + 1, 0, static_cast<size_t>(width - to - 1));
        const uint8_t* keep = other.Row(y) + (common.left() - other.box_.left());
        for (int i = from; i <= to; ++i)
            if (!keep[i - from])
                row[i] = 0;
    }
}

} // namespace rpt

#pragma once
// The pixels one drawing step touches, as a mask over a box of the bitmap:
// a shape's outline and its interior are separate coverages, so a raster
// mode such as XOR changes every pixel exactly once.
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QTransform>

#include <cstdint>

namespace rpt {

class RasterCoverage {
public:
    // Covered by the pen's line or the brush.
    static constexpr uint8_t kInk = 255;
    // A gap of a styled line, painted in the background colour when opaque.
    static constexpr uint8_t kGap = 2;

    // An empty coverage over the box (device pixels, already inside the bitmap).
    explicit RasterCoverage(const QRect& box);

    const QRect& Box() const { return box_; }
    bool Empty() const { return box_.isEmpty(); }
    // A copy owns a mask of its own; a moved-from coverage is empty.
    RasterCoverage(const RasterCoverage& other);
    RasterCoverage(RasterCoverage&& other) noexcept;
    RasterCoverage& operator=(const RasterCoverage& other);
    RasterCoverage& operator=(RasterCoverage&& other) noexcept;

    uint8_t At(int x, int y) const {
        return x >= box_.left() && x <= box_.right() && y >= box_.top() && y <= box_.bottom()
                   ? Row(y)[x - box_.left()]
                   : 0;
    }
    // The mask of row y (inside the box), from the box's left edge.
    const uint8_t* Row(int y) const { return bits_ + (y - box_.top()) * stride_; }
    void Set(int64_t x, int64_t y, uint8_t value) {
        if (x >= box_.left() && x <= box_.right() && y >= box_.top() && y <= box_.bottom())
            bits_[(static_cast<int>(y) - box_.top()) * stride_ + (x - box_.left())] = value;
    }
    // Covers x0..x1 of row y, both included, cut to the box.
    void Span(int64_t y, int64_t x0, int64_t x1, uint8_t value = kInk);
    // Covers what the path fills (aliased, pixel centres inside), the path
    // mapped by the transform into device pixels.
    void FillPath(const QPainterPath& path, const QTransform& transform);
    // Removes every pixel the other coverage has.
    void Subtract(const RasterCoverage& other);
    // Keeps only the pixels the other coverage has.
    void Intersect(const RasterCoverage& other);

private:
    // The mask's bytes, fetched once: drawing writes them pixel by pixel.
    void Bind();

    QRect box_;
    QImage mask_;
    uint8_t* bits_ = nullptr;
    qsizetype stride_ = 0;
};

} // namespace rpt

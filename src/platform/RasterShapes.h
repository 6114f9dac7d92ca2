#pragma once
// Closed shapes as rows of pixels: the rectangle, ellipse and rounded
// rectangle inscribed in a box of device pixels [left, right) x [top,
// bottom), a pixel belonging to the shape when its centre lies inside.
#include <cstdint>

namespace rpt {

struct PixelBox {
    int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Empty() const { return Right <= Left || Bottom <= Top; }
};

class RasterShape {
public:
    enum Kind { kRectangle, kEllipse, kRoundRect };
    // Corner width and height apply to the rounded rectangle only.
    RasterShape(Kind kind, const PixelBox& box, int64_t cornerWidth = 0, int64_t cornerHeight = 0);
    const PixelBox& Box() const { return box_; }
    // The shape's pixels in row y, x0..x1 both included; false when none.
    bool Row(int64_t y, int64_t& x0, int64_t& x1) const;

private:
    Kind kind_;
    PixelBox box_;
    double radiusX_ = 0, radiusY_ = 0;
};

} // namespace rpt

#include "platform/RasterShapes.h"

#include <algorithm>
#include <cmath>

namespace rpt {

RasterShape::RasterShape(Kind kind, const PixelBox& box, int64_t cornerWidth, int64_t cornerHeight)
    : kind_(kind), box_(box) {
    double width = static_cast<double>(box.Right - box.Left);
    double height = static_cast<double>(box.Bottom - box.Top);
    if (kind_ == kEllipse) {
        radiusX_ = width / 2;
        radiusY_ = height / 2;
    } else if (kind_ == kRoundRect) {
        radiusX_ = std::min(std::abs(static_cast<double>(cornerWidth)), width) / 2;
        radiusY_ = std::min(std::abs(static_cast<double>(cornerHeight)), height) / 2;
        if (radiusX_ <= 0 || radiusY_ <= 0)
            kind_ = kRectangle;
    }
}

bool RasterShape::Row(int64_t y, int64_t& x0, int64_t& x1) const {
    if (box_.Empty() || y < box_.Top || y >= box_.Bottom)
        return false;
    if (kind_ == kRectangle) {
        x0 = box_.Left;
        x1 = box_.Right - 1;
        return true;
    }
    double centreY = y + 0.5;
    double left = static_cast<double>(box_.Left);
    double right = static_cast<double>(box_.Right);
    double halfLeft, halfRight; // the shape's extent in this row, as continuous x
    if (kind_ == kEllipse) {
        double cy = (static_cast<double>(box_.Top) + static_cast<double>(box_.Bottom)) / 2;
        double dy = (centreY - cy) / radiusY_;
        if (dy * dy > 1)
            return false;
        double half = radiusX_ * std::sqrt(1 - dy * dy);
        double cx = (left + right) / 2;
        halfLeft = cx - half;
        halfRight = cx + half;
    } else {
        double top = static_cast<double>(box_.Top) + radiusY_;
        double bottom = static_cast<double>(box_.Bottom) - radiusY_;
        double dy = centreY < top ? (top - centreY) / radiusY_
                    : centreY > bottom ? (centreY - bottom) / radiusY_ : 0;
        if (dy * dy > 1)
            return false;
        double inset = radiusX_ - radiusX_ * std::sqrt(1 - dy * dy);
        halfLeft = left + inset;
        halfRight = right - inset;
    }
    x0 = static_cast<int64_t>(std::ceil(halfLeft - 0.5));
    x1 = static_cast<int64_t>(std::floor(halfRight - 0.5));
    x0 = std::max(x0, box_.Left);
    x1 = std::min(x1, box_.Right - 1);
    return x0 <= x1;
}

} // namespace rpt

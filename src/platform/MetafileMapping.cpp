#include "platform/MetafileMapping.h"

#include <algorithm>
#include <cmath>

namespace rpt {

XForm ComposeXForm(const XForm& a, const XForm& b) {
    XForm r;
    r.eM11 = a.eM11 * b.eM11 + a.eM12 * b.eM21;
    r.eM12 = a.eM11 * b.eM12 + a.eM12 * b.eM22;
    r.eM21 = a.eM21 * b.eM11 + a.eM22 * b.eM21;
    r.eM22 = a.eM21 * b.eM12 + a.eM22 * b.eM22;
    r.eDx = a.eDx * b.eM11 + a.eDy * b.eM21 + b.eDx;
    r.eDy = a.eDx * b.eM12 + a.eDy * b.eM22 + b.eDy;
    return r;
}

namespace {

bool Scalable(int mode) {
    return mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC;
}

// Logical units per millimetre of the fixed metric and English modes.
double UnitsPerMm(int mode) {
    switch (mode) {
    case MM_LOMETRIC: return 10.0;
    case MM_HIMETRIC: return 100.0;
    case MM_LOENGLISH: return 100.0 / 25.4;
    case MM_HIENGLISH: return 1000.0 / 25.4;
    case MM_TWIPS: return 1440.0 / 25.4;
    default: return 0.0;
    }
}

bool Usable(double value) {
    return value != 0 && std::isfinite(value);
}

} // namespace

void MetafileMapping::SetMapMode(int mode) {
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return;
    mapMode_ = mode;
    if (mode == MM_TEXT) {
        windowExtX_ = windowExtY_ = viewportExtX_ = viewportExtY_ = 1;
    } else if (!Scalable(mode)) {
        // Y grows upwards in the fixed modes; the extents keep that ratio.
        double units = UnitsPerMm(mode);
        windowExtX_ = units;
        windowExtY_ = units;
        viewportExtX_ = pixelsPerMmX_;
        viewportExtY_ = -pixelsPerMmY_;
    }
}

void MetafileMapping::SetWindowExt(double x, double y) {
    if (Scalable(mapMode_) && Usable(x) && Usable(y)) {
        windowExtX_ = x;
        windowExtY_ = y;
    }
}

void MetafileMapping::SetViewportExt(double x, double y) {
    if (Scalable(mapMode_) && Usable(x) && Usable(y)) {
        viewportExtX_ = x;
        viewportExtY_ = y;
    }
}

void MetafileMapping::ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom) {
    if (Usable(xDenom) && Usable(yDenom))
        SetWindowExt(windowExtX_ * xNum / xDenom, windowExtY_ * yNum / yDenom);
}

void MetafileMapping::ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom) {
    if (Usable(xDenom) && Usable(yDenom))
        SetViewportExt(viewportExtX_ * xNum / xDenom, viewportExtY_ * yNum / yDenom);
}

XForm MetafileMapping::Transform() const {
    double sx = viewportExtX_ / windowExtX_;
    double sy = viewportExtY_ / windowExtY_;
    if (mapMode_ == MM_ISOTROPIC) {
        // Equal units on both axes: the smaller scale wins, the signs stay.
        double m = std::min(std::fabs(sx), std::fabs(sy));
        sx = std::copysign(m, sx);
        sy = std::copysign(m, sy);
    }
    XForm t;
    t.eM11 = sx;
    t.eM22 = sy;
    t.eDx = viewportOrgX_ - windowOrgX_ * sx;
    t.eDy = viewportOrgY_ - windowOrgY_ * sy;
    return t;
}

} // namespace rpt

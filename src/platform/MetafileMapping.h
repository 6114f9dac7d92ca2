#pragma once
// The page mapping of a metafile: map mode, window and viewport, composed
// into the transform from logical coordinates to viewport space. Fixed map
// modes take their scale from the device's pixels per millimetre.
#include "platform/DeviceContext.h"

namespace rpt {

enum : int {
    MM_TEXT = 1, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS,
    MM_ISOTROPIC, MM_ANISOTROPIC
};

// first applied, then second.
XForm ComposeXForm(const XForm& first, const XForm& second);

class MetafileMapping {
public:
    MetafileMapping(double pixelsPerMmX, double pixelsPerMmY)
        : pixelsPerMmX_(pixelsPerMmX), pixelsPerMmY_(pixelsPerMmY) {}

    int MapMode() const { return mapMode_; }
    void SetMapMode(int mode);
    void SetWindowOrg(double x, double y) { windowOrgX_ = x; windowOrgY_ = y; }
    void SetViewportOrg(double x, double y) { viewportOrgX_ = x; viewportOrgY_ = y; }
    // Ignored outside the isotropic and anisotropic modes, and for a zero extent.
    void SetWindowExt(double x, double y);
    void SetViewportExt(double x, double y);
    void OffsetWindowOrg(double dx, double dy) { windowOrgX_ += dx; windowOrgY_ += dy; }
    void OffsetViewportOrg(double dx, double dy) { viewportOrgX_ += dx; viewportOrgY_ += dy; }
    void ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);

    XForm Transform() const;

private:
    double pixelsPerMmX_;
    double pixelsPerMmY_;
    int mapMode_ = MM_TEXT;
    double windowOrgX_ = 0, windowOrgY_ = 0;
    double windowExtX_ = 1, windowExtY_ = 1;
    double viewportOrgX_ = 0, viewportOrgY_ = 0;
    double viewportExtX_ = 1, viewportExtY_ = 1;
};

} // namespace rpt

#pragma once
// A recording context that also lists the shapes in device pixels, with the
// world transform applied ("Rectangle(30, 40, 130, 100)"), so tests see where
// a metafile's records land. Every call is still logged as the recording does.
#include "platform/RecordingDeviceContext.h"
#include "platform/Rounding.h"

#include <string>
#include <vector>

namespace rpt {

class MetafileMappedRecording : public RecordingDeviceContext {
public:
    // The shapes drawn, in device pixels, in drawing order.
    const std::vector<std::string>& Drawn() const { return drawn_; }

    void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override {
        Box("Rectangle", l, t, r, b);
        RecordingDeviceContext::Rectangle(l, t, r, b);
    }
    void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override {
        Box("Ellipse", l, t, r, b);
        RecordingDeviceContext::Ellipse(l, t, r, b);
    }
    void IntersectClipRect(const TRect& r) override {
        Box("IntersectClipRect", r.Left, r.Top, r.Right, r.Bottom);
        RecordingDeviceContext::IntersectClipRect(r);
    }
    TPoint MoveTo(int32_t x, int32_t y) override {
        TPoint p[] = {{x, y}};
        Points("MoveTo", p);
        return RecordingDeviceContext::MoveTo(x, y);
    }
    void LineTo(int32_t x, int32_t y) override {
        TPoint p[] = {{x, y}};
        Points("LineTo", p);
        RecordingDeviceContext::LineTo(x, y);
    }
    void Polygon(std::span<const TPoint> points) override {
        Points("Polygon", points);
        RecordingDeviceContext::Polygon(points);
    }
    void Polyline(std::span<const TPoint> points) override {
        Points("Polyline", points);
        RecordingDeviceContext::Polyline(points);
    }
    void PolyPolygon(std::span<const TPoint> points, std::span<const int32_t> counts) override {
        Points("PolyPolygon", points);
        RecordingDeviceContext::PolyPolygon(points, counts);
    }
    void StretchDIBits(const TRect& d, const TRect& s, const Dib& dib, uint32_t rop) override {
        Box("StretchDIBits", d.Left, d.Top, d.Right, d.Bottom);
        RecordingDeviceContext::StretchDIBits(d, s, dib, rop);
    }

private:
    TPoint Map(int32_t x, int32_t y) const {
        XForm t = GetWorldTransform();
        return {Round(x * t.eM11 + y * t.eM21 + t.eDx), Round(x * t.eM12 + y * t.eM22 + t.eDy)};
    }
    void Box(const char* name, int32_t l, int32_t t, int32_t r, int32_t b) {
        TPoint a = Map(l, t), c = Map(r, b);
        drawn_.push_back(std::string(name) + "(" + std::to_string(a.X) + ", " +
                         std::to_string(a.Y) + ", " + std::to_string(c.X) + ", " +
                         std::to_string(c.Y) + ")");
    }
    void Points(const char* name, std::span<const TPoint> points) {
        std::string text = std::string(name) + "[";
        for (size_t i = 0; i < points.size(); ++i) {
            TPoint p = Map(points[i].X, points[i].Y);
            text += (i ? ", (" : "(") + std::to_string(p.X) + ", " + std::to_string(p.Y) + ")";
        }
        drawn_.push_back(text + "]");
    }

    std::vector<std::string> drawn_;
};

} // namespace rpt

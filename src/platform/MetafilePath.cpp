#include "platform/MetafilePath.h"

#include "platform/Rounding.h"

#include <cmath>
#include <numbers>

namespace rpt {

MetafilePath::Figure& MetafilePath::Open(TPoint from) {
    if (figures_.empty() || figures_.back().closed || figures_.back().points.empty()) {
        if (figures_.empty() || !figures_.back().points.empty())
            figures_.emplace_back();
        figures_.back().closed = false;
        Append(figures_.back(), from);
    }
    return figures_.back();
}

void MetafilePath::Append(Figure& figure, TPoint p) {
    if (points_ >= kMaxPoints)
        return;
    figure.points.push_back(p);
    ++points_;
}

void MetafilePath::MoveTo(TPoint p) {
    if (!figures_.empty() && figures_.back().points.size() <= 1 && !figures_.back().closed) {
        figures_.back().points.clear();
    } else {
        figures_.emplace_back();
    }
    Append(figures_.back(), p);
}

void MetafilePath::LineTo(TPoint from, TPoint to) {
    Append(Open(from), to);
}

void MetafilePath::PolylineTo(TPoint from, std::span<const TPoint> points) {
    Figure& figure = Open(from);
    for (TPoint p : points)
        Append(figure, p);
}

void MetafilePath::BezierTo(TPoint from, std::span<const TPoint> points) {
    Figure& figure = Open(from);
    std::vector<TPoint> flat;
    TPoint start = from;
    for (size_t i = 0; i + 2 < points.size(); i += 3) {
        flat.clear();
        FlattenBezier(start, points[i], points[i + 1], points[i + 2], flat);
        for (TPoint p : flat)
            Append(figure, p);
        start = points[i + 2];
    }
}

void MetafilePath::AddFigure(std::span<const TPoint> points, bool closed) {
    if (points.empty())
        return;
    figures_.emplace_back();
    for (TPoint p : points)
        Append(figures_.back(), p);
    figures_.back().closed = closed;
}

void MetafilePath::CloseFigure() {
    if (!figures_.empty() && !figures_.back().points.empty()) {
        figures_.back().closed = true;
        TPoint last = figures_.back().points.back();
        // The next segment starts a new figure at the closing point.
        figures_.emplace_back();
        Append(figures_.back(), last);
    }
}

void FlattenBezier(TPoint p0, TPoint c1, TPoint c2, TPoint p3, std::vector<TPoint>& out) {
    constexpr int kSegments = 16;
    for (int i = 1; i <= kSegments; ++i) {
        double t = static_cast<double>(i) / kSegments, u = 1 - t;
        double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        out.push_back({Round(a * p0.X + b * c1.X + c * c2.X + d * p3.X),
                       Round(a * p0.Y + b * c1.Y + c * c2.Y + d * p3.Y)});
    }
}

std::vector<TPoint> FlattenArc(double l, double t, double r, double b, double xStart,
                               double yStart, double xEnd, double yEnd, bool clockwise) {
    double cx = (l + r) / 2, cy = (t + b) / 2, rx = (r - l) / 2, ry = (b - t) / 2;
    // Angles measured counter-clockwise on the page, whose y grows downwards.
    double a0 = std::atan2(-(yStart - cy) * (rx ? rx : 1), (xStart - cx) * (ry ? ry : 1));
    double a1 = std::atan2(-(yEnd - cy) * (rx ? rx : 1), (xEnd - cx) * (ry ? ry : 1));
    double sweep = clockwise ? a0 - a1 : a1 - a0;
    if (!(sweep > 0))
        sweep += 2 * std::numbers::pi;
    if (!std::isfinite(sweep))
        return {};
    constexpr int kSegments = 64;
    int steps = std::max(2, static_cast<int>(std::ceil(kSegments * sweep / (2 * std::numbers::pi))));
    std::vector<TPoint> points;
    points.reserve(static_cast<size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        double a = a0 + (clockwise ? -1 : 1) * sweep * i / steps;
        points.push_back({Round(cx + rx * std::cos(a)), Round(cy - ry * std::sin(a))});
    }
    return points;
}

std::vector<TPoint> FlattenEllipse(double l, double t, double r, double b) {
    std::vector<TPoint> points = FlattenArc(l, t, r, b, r, (t + b) / 2, r, (t + b) / 2, false);
    if (!points.empty())
        points.pop_back();
    return points;
}

} // namespace rpt

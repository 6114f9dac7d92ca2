#pragma once
// The figures of a path being recorded, in logical coordinates. Curves are
// flattened as they are added; the number of points is bounded, and points
// beyond the bound are dropped.
#include "platform/Geometry.h"

#include <cstddef>
#include <span>
#include <vector>

namespace rpt {

class MetafilePath {
public:
    struct Figure {
        std::vector<TPoint> points;
        bool closed = false;
    };
    static constexpr size_t kMaxPoints = size_t{1} << 20;

    void Clear() { figures_.clear(); points_ = 0; }
    bool Empty() const { return figures_.empty(); }
    const std::vector<Figure>& Figures() const { return figures_; }

    void MoveTo(TPoint p);
    // Continues the open figure (starting one at `from` when there is none).
    void LineTo(TPoint from, TPoint to);
    void PolylineTo(TPoint from, std::span<const TPoint> points);
    void BezierTo(TPoint from, std::span<const TPoint> points);
    // A figure of its own.
    void AddFigure(std::span<const TPoint> points, bool closed);
    void CloseFigure();

private:
    Figure& Open(TPoint from);
    void Append(Figure& figure, TPoint p);

    std::vector<Figure> figures_;
    size_t points_ = 0;
};

// A cubic Bézier from p0 through control points c1, c2 to p3, as line
// segments; appends the points after p0.
void FlattenBezier(TPoint p0, TPoint c1, TPoint c2, TPoint p3, std::vector<TPoint>& out);
// An ellipse or one of its arcs inside a bounding box, as GDI defines arcs
// by two radial points: counter-clockwise from start to end unless clockwise.
std::vector<TPoint> FlattenArc(double l, double t, double r, double b, double xStart,
                               double yStart, double xEnd, double yEnd, bool clockwise);
std::vector<TPoint> FlattenEllipse(double l, double t, double r, double b);

} // namespace rpt

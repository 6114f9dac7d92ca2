#include "platform/RasterDeviceContext.h"

#include "platform/DeviceState.h"
#include "platform/FontImpl.h"
#include "platform/FontSystem.h"
#include "platform/RasterCoverage.h"
#include "platform/RasterOperations.h"
#include "platform/RasterShapes.h"
#include "platform/Rounding.h"
#include "platform/VectorPageSurface.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

// One file holds the whole backend: its calls share the coverage, clip and
// compositing helpers of the Impl, and splitting them would only scatter it.
namespace rpt {

namespace {

// Coordinates handed to Qt's rasteriser stay well inside its fixed-point range.
constexpr double kQtLimit = 1 << 22;

double ClampForQt(double value) {
    if (std::isnan(value))
        return 0;
    return std::clamp(value, -kQtLimit, kQtLimit);
}

QPointF QtPoint(double x, double y) { return QPointF(ClampForQt(x), ClampForQt(y)); }

QRectF QtRect(double l, double t, double r, double b) {
    QPointF a = QtPoint(l, t), c = QtPoint(r, b);
    return QRectF(a, c);
}

// GDI's cosmetic dash cells, in pixels: on, off, on, off ...
struct DashCells {
    const int* Lengths = nullptr;
    int Count = 0;
};

DashCells DashFor(TPenStyle style) {
    static const int dash[] = {18, 6};
    static const int dot[] = {3, 3};
    static const int dashDot[] = {9, 6, 3, 6};
    static const int dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case psDash: return {dash, 2};
    case psDot: return {dot, 2};
    case psDashDot: return {dashDot, 4};
    case psDashDotDot: return {dashDotDot, 6};
    default: return {};
    }
}

// Walks a dash pattern pixel by pixel along a styled line.
class DashWalker {
public:
    explicit DashWalker(DashCells cells) : cells_(cells), left_(cells.Count ? cells.Lengths[0] : 0) {}
    uint8_t Next() {
        if (!cells_.Count)
            return RasterCoverage::kInk;
        uint8_t value = (index_ % 2 == 0) ? RasterCoverage::kInk : RasterCoverage::kGap;
        if (--left_ == 0) {
            index_ = (index_ + 1) % cells_.Count;
            left_ = cells_.Lengths[index_];
        }
        return value;
    }

private:
    DashCells cells_;
    int index_ = 0;
    int left_ = 0;
};

// Cuts the segment to the box (Liang-Barsky); false when nothing is left.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double left, double top,
                 double right, double bottom) {
    double t0 = 0, t1 = 1, dx = x1 - x0, dy = y1 - y0;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x0 - left, right - x0, y0 - top, bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    double ox = x0, oy = y0;
    x0 = ox + t0 * dx;
    y0 = oy + t0 * dy;
    x1 = ox + t1 * dx;
    y1 = oy + t1 * dy;
    return true;
}

// A one-pixel line from (x0, y0) up to but not including (x1, y1).
void CosmeticSegment(RasterCoverage& coverage, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                     DashWalker& dash) {
    if (coverage.Empty())
        return;
    const QRect& box = coverage.Box();
    constexpr int64_t kDirect = 1 << 16;
    if (std::llabs(x1 - x0) > kDirect || std::llabs(y1 - y0) > kDirect) {
        double ax = static_cast<double>(x0), ay = static_cast<double>(y0);
        double bx = static_cast<double>(x1), by = static_cast<double>(y1);
        if (!ClipSegment(ax, ay, bx, by, box.left() - 2.0, box.top() - 2.0, box.right() + 2.0,
                         box.bottom() + 2.0))
            return;
        x0 = std::llround(ax);
        y0 = std::llround(ay);
        x1 = std::llround(bx);
        y1 = std::llround(by);
        x1 += x1 > x0 ? 1 : (x1 < x0 ? -1 : 0);
    }
    int64_t dx = std::llabs(x1 - x0), dy = -std::llabs(y1 - y0);
    int64_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int64_t error = dx + dy;
    int64_t x = x0, y = y0;
    while (x != x1 || y != y1) {
        uint8_t value = dash.Next();
        coverage.Set(x, y, value);
        int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

int64_t Floor64(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<int64_t>(std::floor(std::clamp(value, -4e18, 4e18)));
}

// The first covered pixel of a mask row at or after i (width if none). An
// outline's mask is mostly empty, so empty stretches are skipped eight
// bytes at a time.
int NextInk(const uint8_t* inks, int i, int width) {
    while (i < width && !inks[i]) {
        uint64_t word = 0;
        if (i + 8 <= width && (std::memcpy(&word, inks + i, 8), word == 0))
            i += 8;
        else
            ++i;
    }
    return i;
}

// A binary raster mode with a fixed source colour sets, clears, keeps or
// inverts each bit of the destination, so the whole mode is
// (dest & Keep) ^ Flip; Flip also makes the pixel opaque. The identity
// leaves a pixel, its alpha included, as it was.
struct PixelOp {
    uint32_t Keep = 0xFFFFFFFFu;
    uint32_t Flip = 0;

    static PixelOp Rop2(int rop, uint32_t source) {
        const uint32_t overBlack = ApplyRop2(rop, source, 0);
        const uint32_t overWhite = ApplyRop2(rop, source, 0x00FFFFFFu);
        return {overBlack ^ overWhite, overBlack | 0xFF000000u};
    }
    uint32_t operator()(uint32_t dest) const { return (dest & Keep) ^ Flip; }
    // Whether the result is the same colour whatever the destination.
    bool Constant() const { return Keep == 0; }
    friend bool operator==(const PixelOp&, const PixelOp&) = default;
};

} // namespace

struct RasterDeviceContext::Impl {
    Dib& Target;
    QImage Image;
    // A vector page drawn on instead of the bitmap, when set.
    VectorPageSurface* Page = nullptr;
    int DpiX, DpiY;
    bool Monochrome = false;
    DeviceState State;
    DeviceStateStack Saved;
    // The clip: a box of the bitmap, and for clip rectangles under a rotating
    // transform also a mask and the paths that made it.
    QRect ClipBox;
    std::optional<RasterCoverage> ClipMask;
    std::vector<QPainterPath> ClipPaths;

    Impl(Dib& target, int dpiX, int dpiY)
        : Target(target),
          Image(reinterpret_cast<uchar*>(target.Pixels.data()), target.Width, target.Height,
                static_cast<qsizetype>(target.Width) * 4, QImage::Format_RGB32),
          DpiX(dpiX), DpiY(dpiY) {
        State.Font = StockSystemFont();
        RecomputeClip();
    }

    int SurfaceWidth() const { return Page ? Page->Width() : Target.Width; }
    int SurfaceHeight() const { return Page ? Page->Height() : Target.Height; }
    bool SurfaceEmpty() const { return SurfaceWidth() <= 0 || SurfaceHeight() <= 0; }
    // A Dib whose buffer is shorter than its size claims is never painted.
    bool Paintable() const {
        if (SurfaceEmpty())
            return false;
        return Page || Target.Pixels.size() >= static_cast<size_t>(Target.Width) * static_cast<size_t>(Target.Height);
    }
    QRect ImageRect() const { return QRect(0, 0, SurfaceWidth(), SurfaceHeight()); }
    bool Identity() const { return State.Transform == XForm{}; }
    QTransform World() const {
        const XForm& t = State.Transform;
        return QTransform(t.eM11, t.eM12, t.eM21, t.eM22, t.eDx, t.eDy);
    }
    bool Rotates() const { return State.Transform.eM12 != 0 || State.Transform.eM21 != 0; }

    void RecomputeClip() {
        ClipBox = Paintable() ? ImageRect() : QRect();
        ClipMask.reset();
        ClipPaths.clear();
        for (const ClipRect& clip : State.Clip) {
            const TRect& r = clip.Rect;
            if (r.Right <= r.Left || r.Bottom <= r.Top) {
                ClipBox = QRect();
                continue;
            }
            QTransform t(clip.Transform.eM11, clip.Transform.eM12, clip.Transform.eM21,
                         clip.Transform.eM22, clip.Transform.eDx, clip.Transform.eDy);
            QRectF logical = QtRect(r.Left, r.Top, r.Right, r.Bottom);
            if (t.isRotating()) {
                QPainterPath path;
                path.addPolygon(t.map(QPolygonF(logical)));
                path.closeSubpath();
                ClipPaths.push_back(path);
                ClipBox &= path.boundingRect().toAlignedRect();
            } else {
                QRectF device = t.mapRect(logical);
                int64_t left = Round(device.left()), top = Round(device.top());
                int64_t right = Round(device.right()), bottom = Round(device.bottom());
                ClipBox &= BoxToRect(left, top, right, bottom);
            }
        }
        if (!ClipPaths.empty() && !ClipBox.isEmpty()) {
            ClipMask.emplace(ClipBox);
            bool first = true;
            for (const QPainterPath& path : ClipPaths) {
                RasterCoverage part(ClipBox);
                part.FillPath(path, QTransform());
                if (first)
                    *ClipMask = std::move(part);
                else
                    ClipMask->Intersect(part);
                first = false;
            }
        }
    }

    // The part of [left, right) x [top, bottom) inside the bitmap.
    QRect BoxToRect(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
        left = std::max<int64_t>(left, 0);
        top = std::max<int64_t>(top, 0);
        right = std::min<int64_t>(right, SurfaceWidth());
        bottom = std::min<int64_t>(bottom, SurfaceHeight());
        if (right <= left || bottom <= top)
            return QRect();
        return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                     static_cast<int>(bottom - top));
    }

    RasterCoverage CoverageFor(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
        return RasterCoverage(BoxToRect(left, top, right, bottom) & ClipBox);
    }
    RasterCoverage CoverageFor(const QRectF& device, double margin) const {
        return CoverageFor(Floor64(device.left() - margin), Floor64(device.top() - margin),
                           Floor64(device.right() + margin) + 1, Floor64(device.bottom() + margin) + 1);
    }
    RasterCoverage WholeClip() const { return RasterCoverage(ClipBox); }

    bool InClip(int x, int y) const { return !ClipMask || ClipMask->At(x, y); }

    uint32_t& Pixel(int x, int y) {
        if (Page)
            return Page->Pixel(x, y);
        return Target.Pixels[static_cast<size_t>(y) * Target.Width + x];
    }

    // The painter for text and transformed images: on the bitmap, or the
    // vector page's with its state put back afterwards.
    class SurfacePainter {
    public:
        explicit SurfacePainter(Impl& impl) : page_(impl.Page) {
            if (page_) {
                painter_ = &page_->Painter();
                painter_->save();
            } else {
                own_.emplace(&impl.Image);
                painter_ = &*own_;
            }
        }
        ~SurfacePainter() {
            if (page_)
                painter_->restore();
        }
        SurfacePainter(const SurfacePainter&) = delete;
        SurfacePainter& operator=(const SurfacePainter&) = delete;
        QPainter& Painter() { return *painter_; }
        // Composed after the world transform.
        QTransform Origin() const { return page_ ? page_->Origin() : QTransform(); }

    private:
        VectorPageSurface* page_;
        std::optional<QPainter> own_;
        QPainter* painter_ = nullptr;
    };

    // Writes `paint(x, y, ink)` (which answers the new pixel or nothing) over
    // every covered pixel inside the clip.
    template <typename Paint> void Composite(const RasterCoverage& coverage, Paint paint) {
        if (coverage.Empty())
            return;
        const QRect& box = coverage.Box();
        const VectorPageStep step(Page, box);
        const int left = box.left();
        const int width = box.width();
        // Row by row, with the mask and bitmap rows looked up once each.
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const uint8_t* inks = coverage.Row(y);
            uint32_t* row = Page ? nullptr : Target.Pixels.data() + static_cast<size_t>(y) * Target.Width;
            for (int i = 0; i < width; ++i) {
                const uint8_t ink = inks[i];
                const int x = left + i;
                if (!ink || !InClip(x, y))
                    continue;
                uint32_t& pixel = row ? row[x] : Page->Pixel(x, y);
                if (std::optional<uint32_t> value = paint(x, y, ink, pixel))
                    pixel = *value | 0xFF000000u;
            }
        }
        if (Monochrome)
            Reduce(box);
    }

    // Composite for the common case of a plain bitmap without a clip region,
    // where the pen and the solid and hatched brushes fix the operation of a
    // pixel by its ink (line or gap) and its column in the eight-pixel hatch
    // cell. rowOps(y, ink, gap) fills the eight operations of each for row y.
    // Answers false, drawing nothing, where the general Composite must run.
    template <typename RowOps> bool CompositeBitmap(const RasterCoverage& coverage, RowOps rowOps) {
        if (Page || ClipMask)
            return false;
        if (coverage.Empty())
            return true;
        const QRect& box = coverage.Box();
        const int left = box.left();
        const int width = box.width();
        PixelOp ink[8], gap[8];
        for (int y = box.top(); y <= box.bottom(); ++y) {
            rowOps(y, ink, gap);
            const uint8_t* inks = coverage.Row(y);
            uint32_t* row = Target.Pixels.data() + static_cast<size_t>(y) * Target.Width;
            // One operation for every covered pixel of the row (a solid fill,
            // a solid line): each covered run is a plain loop, and a run of one
            // colour whatever lies beneath (the sheet) is one fill.
            const PixelOp uniform = ink[0];
            if (std::all_of(ink, ink + 8, [&](const PixelOp& op) { return op == uniform; }) &&
                std::all_of(gap, gap + 8, [&](const PixelOp& op) { return op == uniform; })) {
                for (int i = NextInk(inks, 0, width); i < width; i = NextInk(inks, i, width)) {
                    const int start = i;
                    while (i < width && inks[i])
                        ++i;
                    uint32_t* const first = row + left + start;
                    uint32_t* const last = row + left + i;
                    if (uniform.Constant())
                        std::fill(first, last, uniform.Flip);
                    else
                        for (uint32_t* pixel = first; pixel != last; ++pixel)
                            *pixel = uniform(*pixel);
                }
                continue;
            }
            for (int i = NextInk(inks, 0, width); i < width; i = NextInk(inks, i + 1, width)) {
                const uint8_t value = inks[i];
                const int x = left + i;
                row[x] = (value == RasterCoverage::kGap ? gap : ink)[x & 7](row[x]);
            }
        }
        if (Monochrome)
            Reduce(box);
        return true;
    }

    std::optional<uint32_t> BrushAt(const LogBrush& brush, int64_t x, int64_t y) const {
        if (brush.Pattern && !brush.Pattern->Empty()) {
            const Dib& pattern = *brush.Pattern;
            int64_t px = ((x % pattern.Width) + pattern.Width) % pattern.Width;
            int64_t py = ((y % pattern.Height) + pattern.Height) % pattern.Height;
            uint32_t value = pattern.At(static_cast<int32_t>(px), static_cast<int32_t>(py));
            if (brush.Monochrome)
                return (value & 0xFFFFFFu) == 0 ? ColorToPixel(State.TextColor) : ColorToPixel(State.BkColor);
            return value | 0xFF000000u;
        }
        switch (brush.Style) {
        case bsSolid: return ColorToPixel(brush.Color);
        case bsClear: return std::nullopt;
        default:
            if (HatchCovers(brush.Style, x, y))
                return ColorToPixel(brush.Color);
            if (State.BkMode == OPAQUE)
                return ColorToPixel(State.BkColor);
            return std::nullopt;
        }
    }

    void PaintBrush(const RasterCoverage& coverage, const LogBrush& brush, bool withRop) {
        if (!brush.Pattern && brush.Style == bsClear)
            return;
        int rop = withRop ? State.Rop2 : R2_COPYPEN;
        // A vector page has no pixels to leave alone: nothing is drawn.
        if (Page && rop == R2_NOP)
            return;
        // A solid brush is one colour everywhere: no lookup per pixel.
        if (!brush.Pattern && brush.Style == bsSolid) {
            const uint32_t colour = ColorToPixel(brush.Color);
            const PixelOp fill = PixelOp::Rop2(rop, colour);
            if (CompositeBitmap(coverage, [&](int, PixelOp* ink, PixelOp* gap) {
                    std::fill_n(ink, 8, fill);
                    std::fill_n(gap, 8, fill);
                }))
                return;
            Composite(coverage, [&](int, int, uint8_t, uint32_t dest) -> std::optional<uint32_t> {
                return ApplyRop2(rop, colour, dest);
            });
            return;
        }
        // A hatch: the line colour where the cell's line runs, the background
        // colour elsewhere when opaque.
        if (!brush.Pattern && brush.Style != bsClear) {
            const TBrushStyle style = brush.Style;
            const uint32_t line = ColorToPixel(brush.Color);
            const uint32_t background = ColorToPixel(State.BkColor);
            const bool opaque = State.BkMode == OPAQUE;
            const PixelOp onLine = PixelOp::Rop2(rop, line);
            const PixelOp offLine = opaque ? PixelOp::Rop2(rop, background) : PixelOp{};
            if (CompositeBitmap(coverage, [&](int y, PixelOp* ink, PixelOp* gap) {
                    for (int column = 0; column < 8; ++column)
                        ink[column] = gap[column] = HatchCovers(style, column, y) ? onLine : offLine;
                }))
                return;
            Composite(coverage, [&](int x, int y, uint8_t, uint32_t dest) -> std::optional<uint32_t> {
                if (HatchCovers(style, x, y))
                    return ApplyRop2(rop, line, dest);
                if (opaque)
                    return ApplyRop2(rop, background, dest);
                return std::nullopt;
            });
            return;
        }
        Composite(coverage, [&](int x, int y, uint8_t, uint32_t dest) -> std::optional<uint32_t> {
            std::optional<uint32_t> source = BrushAt(brush, x, y);
            if (!source)
                return std::nullopt;
            return ApplyRop2(rop, *source, dest);
        });
    }

    void PaintPen(const RasterCoverage& coverage) {
        uint32_t pen = ColorToPixel(State.Pen.Color);
        uint32_t gap = ColorToPixel(State.BkColor);
        bool opaque = State.BkMode == OPAQUE;
        int rop = State.Rop2;
        if (Page && rop == R2_NOP)
            return;
        const PixelOp line = PixelOp::Rop2(rop, pen);
        const PixelOp space = opaque ? PixelOp::Rop2(rop, gap) : PixelOp{};
        if (CompositeBitmap(coverage, [&](int, PixelOp* ink, PixelOp* gaps) {
                std::fill_n(ink, 8, line);
                std::fill_n(gaps, 8, space);
            }))
            return;
        Composite(coverage, [&](int, int, uint8_t ink, uint32_t dest) -> std::optional<uint32_t> {
            if (ink == RasterCoverage::kGap) {
                if (!opaque)
                    return std::nullopt;
                return ApplyRop2(rop, gap, dest);
            }
            return ApplyRop2(rop, pen, dest);
        });
    }

    void Reduce(const QRect& box) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                uint32_t& pixel = Pixel(x, y);
                unsigned r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
                pixel = (r * 299 + g * 587 + b * 114) >= 128000 ? 0xFFFFFFFFu : 0xFF000000u;
            }
    }

    int PenWidth() const {
        if (State.Pen.Style == psClear)
            return 0;
        return std::max(1, State.Pen.Width);
    }
    bool Cosmetic() const { return PenWidth() == 1; }
    DashCells Dashes() const { return Cosmetic() ? DashFor(State.Pen.Style) : DashCells{}; }

    // A device point of a logical one.
    std::pair<int64_t, int64_t> ToDevice(int64_t x, int64_t y) const {
        if (Identity())
            return {x, y};
        const XForm& t = State.Transform;
        double dx = static_cast<double>(x) * t.eM11 + static_cast<double>(y) * t.eM21 + t.eDx;
        double dy = static_cast<double>(x) * t.eM12 + static_cast<double>(y) * t.eM22 + t.eDy;
        return {Round(dx), Round(dy)};
    }

    // The pen's line through device points, the last left out unless closed.
    void StrokePolyline(const std::vector<std::pair<int64_t, int64_t>>& points, bool closed) {
        if (PenWidth() == 0 || points.empty())
            return;
        if (Cosmetic()) {
            int64_t minX = points[0].first, maxX = minX, minY = points[0].second, maxY = minY;
            for (const auto& [x, y] : points) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
            RasterCoverage coverage = CoverageFor(minX, minY, maxX + 1, maxY + 1);
            DashWalker dash(Dashes());
            for (size_t i = 0; i + 1 < points.size(); ++i)
                CosmeticSegment(coverage, points[i].first, points[i].second, points[i + 1].first,
                                points[i + 1].second, dash);
            if (closed && points.size() > 1)
                CosmeticSegment(coverage, points.back().first, points.back().second,
                                points.front().first, points.front().second, dash);
            PaintPen(coverage);
            return;
        }
        QPainterPath path;
        path.moveTo(QtPoint(points[0].first + 0.5, points[0].second + 0.5));
        for (size_t i = 1; i < points.size(); ++i)
            path.lineTo(QtPoint(points[i].first + 0.5, points[i].second + 0.5));
        if (closed)
            path.closeSubpath();
        StrokeWide(path, QTransform());
    }

    // A geometric pen: round caps and joins, centred on the path.
    RasterCoverage WideCoverage(const QPainterPath& path, const QTransform& transform) {
        QPainterPathStroker stroker;
        stroker.setWidth(PenWidth());
        stroker.setCapStyle(Qt::RoundCap);
        stroker.setJoinStyle(Qt::RoundJoin);
        QPainterPath outline = stroker.createStroke(path);
        RasterCoverage coverage = CoverageFor(transform.mapRect(outline.boundingRect()), 1);
        coverage.FillPath(outline, transform);
        return coverage;
    }

    void StrokeWide(const QPainterPath& path, const QTransform& transform) {
        PaintPen(WideCoverage(path, transform));
    }

    // A one-pixel outline of a path given in device pixel centres.
    RasterCoverage CosmeticCoverage(const QPainterPath& devicePath, bool closed) {
        RasterCoverage coverage = CoverageFor(devicePath.boundingRect(), 2);
        DashWalker dash(Dashes());
        for (const QPolygonF& polygon : devicePath.toSubpathPolygons()) {
            if (polygon.isEmpty())
                continue;
            auto pixel = [](const QPointF& p) {
                return std::pair<int64_t, int64_t>{Floor64(p.x()), Floor64(p.y())};
            };
            for (qsizetype i = 0; i + 1 < polygon.size(); ++i) {
                auto [x0, y0] = pixel(polygon[i]);
                auto [x1, y1] = pixel(polygon[i + 1]);
                CosmeticSegment(coverage, x0, y0, x1, y1, dash);
            }
            auto [lx, ly] = pixel(polygon.back());
            if (closed) {
                auto [fx, fy] = pixel(polygon.front());
                CosmeticSegment(coverage, lx, ly, fx, fy, dash);
            } else if (polygon.size() > 1) {
                coverage.Set(lx, ly, RasterCoverage::kInk);
            }
        }
        return coverage;
    }

    // Rectangle, Ellipse and RoundRect: the interior with the brush, the
    // outline with the pen, never touching a pixel twice.
    void FramedShape(RasterShape::Kind kind, int64_t l, int64_t t, int64_t r, int64_t b,
                     int64_t cornerWidth, int64_t cornerHeight) {
        if (l > r)
            std::swap(l, r);
        if (t > b)
            std::swap(t, b);
        if (!Identity()) {
            FramedShapeTransformed(kind, l, t, r, b, cornerWidth, cornerHeight);
            return;
        }
        int64_t w = PenWidth();
        if (State.Pen.Style == psInsideFrame && w > 1) {
            l += w / 2;
            t += w / 2;
            r -= (w - 1) - w / 2;
            b -= (w - 1) - w / 2;
        }
        if (w == 0) {
            RasterShape fill(kind, PixelBox{l, t, r - 1, b - 1}, cornerWidth, cornerHeight);
            RasterCoverage interior = CoverageFor(l, t, r - 1, b - 1);
            SpanFill(interior, fill);
            PaintBrush(interior, State.Brush, true);
            return;
        }
        PixelBox outerBox{l - w / 2, t - w / 2, r + w - 1 - w / 2, b + w - 1 - w / 2};
        RasterShape outer(kind, outerBox, cornerWidth + w - 1, cornerHeight + w - 1);
        RasterCoverage outline = CoverageFor(outerBox.Left, outerBox.Top, outerBox.Right, outerBox.Bottom);
        RasterCoverage interior = CoverageFor(outerBox.Left, outerBox.Top, outerBox.Right, outerBox.Bottom);
        if (w == 1 && Dashes().Count && kind == RasterShape::kRectangle) {
            DashWalker dash(Dashes());
            CosmeticSegment(outline, l, t, r - 1, t, dash);
            CosmeticSegment(outline, r - 1, t, r - 1, b - 1, dash);
            CosmeticSegment(outline, r - 1, b - 1, l, b - 1, dash);
            CosmeticSegment(outline, l, b - 1, l, t, dash);
            SpanFill(interior, RasterShape(kind, PixelBox{l + 1, t + 1, r - 1, b - 1}));
        } else if (w == 1) {
            SpanOutline(outline, interior, outer);
            if (Dashes().Count)
                outline = DashedCurve(kind, l, t, r, b, cornerWidth, cornerHeight, outline);
        } else {
            RasterShape inner(kind, PixelBox{l - w / 2 + w, t - w / 2 + w, r - 1 - w / 2, b - 1 - w / 2},
                              std::max<int64_t>(0, cornerWidth - w - 1),
                              std::max<int64_t>(0, cornerHeight - w - 1));
            SpanFill(outline, outer);
            SpanFill(interior, inner);
            outline.Subtract(interior);
        }
        PaintBrush(interior, State.Brush, true);
        PaintPen(outline);
    }

    // A styled one-pixel outline of a curved shape, walked along its path.
    RasterCoverage DashedCurve(RasterShape::Kind kind, int64_t l, int64_t t, int64_t r, int64_t b,
                               int64_t cornerWidth, int64_t cornerHeight, const RasterCoverage& solid) {
        QPainterPath path;
        QRectF box = QtRect(l + 0.5, t + 0.5, r - 0.5, b - 0.5);
        if (kind == RasterShape::kEllipse)
            path.addEllipse(box);
        else
            path.addRoundedRect(box, cornerWidth / 2.0, cornerHeight / 2.0);
        RasterCoverage dashed = CosmeticCoverage(path, true);
        dashed.Intersect(solid);
        return dashed;
    }

    void SpanFill(RasterCoverage& coverage, const RasterShape& shape) {
        if (coverage.Empty())
            return;
        const QRect& box = coverage.Box();
        for (int y = box.top(); y <= box.bottom(); ++y) {
            int64_t x0, x1;
            if (shape.Row(y, x0, x1))
                coverage.Span(y, x0, x1);
        }
    }

    // The one-pixel rim of the shape, and what lies inside it.
    void SpanOutline(RasterCoverage& outline, RasterCoverage& interior, const RasterShape& shape) {
        if (outline.Empty())
            return;
        const QRect& box = outline.Box();
        for (int y = box.top(); y <= box.bottom(); ++y) {
            int64_t a, b;
            if (!shape.Row(y, a, b))
                continue;
            int64_t ua, ub, da, db;
            bool up = shape.Row(y - 1, ua, ub);
            bool down = shape.Row(y + 1, da, db);
            if (up && down) {
                int64_t in0 = std::max({a + 1, ua, da});
                int64_t in1 = std::min({b - 1, ub, db});
                if (in0 <= in1) {
                    outline.Span(y, a, in0 - 1);
                    outline.Span(y, in1 + 1, b);
                    interior.Span(y, in0, in1);
                    continue;
                }
            }
            outline.Span(y, a, b);
        }
    }

    void FramedShapeTransformed(RasterShape::Kind kind, int64_t l, int64_t t, int64_t r, int64_t b,
                                int64_t cornerWidth, int64_t cornerHeight) {
        auto shapePath = [&](QRectF box, double inflate) {
            QPainterPath path;
            if (kind == RasterShape::kRectangle)
                path.addRect(box);
            else if (kind == RasterShape::kEllipse)
                path.addEllipse(box);
            else
                path.addRoundedRect(box, cornerWidth / 2.0 + inflate, cornerHeight / 2.0 + inflate);
            return path;
        };
        QTransform world = World();
        QPainterPath fillPath = shapePath(QtRect(l, t, r, b), 0.5);
        QPainterPath centre = shapePath(QtRect(l + 0.5, t + 0.5, r - 0.5, b - 0.5), 0);
        RasterCoverage interior = CoverageFor(world.mapRect(fillPath.boundingRect()), 1);
        interior.FillPath(fillPath, world);
        if (PenWidth() == 0) {
            PaintBrush(interior, State.Brush, true);
            return;
        }
        RasterCoverage outline = PenWidth() == 1 ? CosmeticCoverage(world.map(centre), true)
                                                 : WideCoverage(centre, world);
        interior.Subtract(outline);
        PaintBrush(interior, State.Brush, true);
        PaintPen(outline);
    }

    // Arc, Chord and Pie: the arc runs from the radial through (x3, y3) to
    // the radial through (x4, y4) in the arc direction.
    enum class ArcKind { kArc, kChord, kPie };
    void ArcShape(ArcKind kind, int64_t l, int64_t t, int64_t r, int64_t b, int64_t x3, int64_t y3,
                  int64_t x4, int64_t y4) {
        if (l > r)
            std::swap(l, r);
        if (t > b)
            std::swap(t, b);
        double cx = (l + r) / 2.0, cy = (t + b) / 2.0;
        double rx = std::max(0.5, (r - l) / 2.0), ry = std::max(0.5, (b - t) / 2.0);
        auto angle = [&](int64_t x, int64_t y) {
            return std::atan2(-(static_cast<double>(y) - cy) / ry, (static_cast<double>(x) - cx) / rx) *
                   180.0 / M_PI;
        };
        double start = angle(x3, y3), end = angle(x4, y4);
        double sweep = end - start;
        if (State.ArcDirection == AD_CLOCKWISE) {
            if (sweep >= 0)
                sweep -= 360;
        } else if (sweep <= 0) {
            sweep += 360;
        }
        auto build = [&](QRectF box, bool close, bool pie) {
            QPainterPath path;
            if (pie) {
                path.moveTo(box.center());
                path.arcTo(box, start, sweep);
                path.closeSubpath();
            } else {
                path.arcMoveTo(box, start);
                path.arcTo(box, start, sweep);
                if (close)
                    path.closeSubpath();
            }
            return path;
        };
        QTransform world = World();
        QPainterPath centre = build(QtRect(l + 0.5, t + 0.5, r - 0.5, b - 0.5), kind != ArcKind::kArc,
                                    kind == ArcKind::kPie);
        RasterCoverage outline(QRect{});
        if (PenWidth() == 1)
            outline = CosmeticCoverage(world.map(centre), kind != ArcKind::kArc);
        else if (PenWidth() > 1)
            outline = WideCoverage(centre, world);
        if (kind != ArcKind::kArc) {
            QPainterPath fillPath = build(QtRect(l, t, r, b), true, kind == ArcKind::kPie);
            RasterCoverage interior = CoverageFor(world.mapRect(fillPath.boundingRect()), 1);
            interior.FillPath(fillPath, world);
            interior.Subtract(outline);
            PaintBrush(interior, State.Brush, true);
        }
        PaintPen(outline);
    }

    // Polygons: the brush fills by the fill mode, the pen outlines each one closed.
    void Polygons(std::span<const TPoint> points, std::span<const int32_t> counts) {
        QPainterPath fillPath;
        fillPath.setFillRule(State.PolyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        std::vector<std::vector<std::pair<int64_t, int64_t>>> outlines;
        size_t next = 0;
        for (int32_t count : counts) {
            if (count <= 0 || static_cast<size_t>(count) > points.size() - next)
                break;
            std::vector<std::pair<int64_t, int64_t>> device;
            QPolygonF polygon;
            for (int32_t i = 0; i < count; ++i) {
                const TPoint& p = points[next + static_cast<size_t>(i)];
                auto d = ToDevice(p.X, p.Y);
                device.push_back(d);
                polygon << QtPoint(static_cast<double>(d.first), static_cast<double>(d.second));
            }
            next += static_cast<size_t>(count);
            if (count >= 2) {
                fillPath.addPolygon(polygon);
                fillPath.closeSubpath();
                outlines.push_back(std::move(device));
            }
        }
        if (outlines.empty())
            return;
        RasterCoverage interior = CoverageFor(fillPath.boundingRect(), 1);
        interior.FillPath(fillPath, QTransform());
        RasterCoverage outline = CoverageFor(fillPath.boundingRect(), PenWidth() + 1.0);
        if (PenWidth() == 1) {
            for (const auto& device : outlines) {
                DashWalker dash(Dashes());
                for (size_t i = 0; i < device.size(); ++i) {
                    const auto& a = device[i];
                    const auto& c = device[(i + 1) % device.size()];
                    CosmeticSegment(outline, a.first, a.second, c.first, c.second, dash);
                }
            }
        } else if (PenWidth() > 1) {
            QPainterPath centre;
            for (const auto& device : outlines) {
                centre.moveTo(QtPoint(device[0].first + 0.5, device[0].second + 0.5));
                for (size_t i = 1; i < device.size(); ++i)
                    centre.lineTo(QtPoint(device[i].first + 0.5, device[i].second + 0.5));
                centre.closeSubpath();
            }
            outline = WideCoverage(centre, QTransform());
        }
        interior.Subtract(outline);
        PaintBrush(interior, State.Brush, true);
        PaintPen(outline);
    }

    void TextOutput(int32_t x, int32_t y, unsigned options, const TRect* rect, std::string_view bytes);
    void Blit(const TRect& dest, const TRect& source, const Dib& dib, uint32_t rop);
    void BlitTransformed(const TRect& dest, const TRect& source, const Dib& dib);
    void Icon(const TRect& dest, const Dib& icon);
    bool FloodFill(int32_t x, int32_t y, TColor color, int type);

    void ApplyClip(QPainter& painter) const {
        painter.setClipRect(ClipBox);
        for (const QPainterPath& path : ClipPaths)
            painter.setClipPath(path, Qt::IntersectClip);
    }
};

void RasterDeviceContext::Impl::TextOutput(int32_t x, int32_t y, unsigned options, const TRect* rect,
                                           std::string_view bytes) {
    if (SurfaceEmpty() || ClipBox.isEmpty())
        return;
    const Font::Impl& font = State.Font->impl();
    QString text = font.Decode(bytes);
    int width = text.isEmpty() ? 0 : font.Metrics.horizontalAdvance(text);
    const TextMetric& metrics = font.Text;
    unsigned align = State.TextAlign;
    int64_t originX = x, originY = y;
    if (align & TA_UPDATECP) {
        originX = State.Position.X;
        originY = State.Position.Y;
    }
    int dx = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        dx = -width / 2;
    else if (align & TA_RIGHT)
        dx = -width;
    int baseline = 0;
    if ((align & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (align & TA_BOTTOM)
        baseline = -metrics.tmDescent;
    else
        baseline = metrics.tmAscent;

    {
        SurfacePainter surface(*this);
        QPainter& painter = surface.Painter();
        ApplyClip(painter);
        painter.setTransform(World() * surface.Origin());
        if (rect && (options & ETO_OPAQUE))
            painter.fillRect(QtRect(rect->Left, rect->Top, rect->Right, rect->Bottom),
                             QColor::fromRgb(ColorToPixel(State.BkColor)));
        if (rect && (options & ETO_CLIPPED))
            painter.setClipRect(QtRect(rect->Left, rect->Top, rect->Right, rect->Bottom), Qt::IntersectClip);
        painter.translate(ClampForQt(static_cast<double>(originX)), ClampForQt(static_cast<double>(originY)));
        // Negated as a double: the escapement comes from the file and may be INT_MIN.
        // Whole turns are taken off first so the angle keeps its precision.
        if (int32_t escapement = State.Font->Description().Escapement; escapement % 3600 != 0)
            painter.rotate(-(std::fmod(static_cast<double>(escapement), 3600.0) / 10.0));
        if (State.BkMode == OPAQUE && width > 0)
            painter.fillRect(QRect(dx, baseline - metrics.tmAscent, width, metrics.tmHeight),
                             QColor::fromRgb(ColorToPixel(State.BkColor)));
        if (!text.isEmpty()) {
            painter.setFont(font.Qt);
            painter.setPen(QColor::fromRgb(ColorToPixel(State.TextColor)));
            painter.drawText(QPoint(dx, baseline), text);
        }
    }
    if (Monochrome)
        Reduce(ClipBox);
    if (align & TA_UPDATECP) {
        if ((align & TA_CENTER) == TA_CENTER)
            ;
        else if (align & TA_RIGHT)
            State.Position.X = static_cast<int32_t>(std::clamp<int64_t>(originX - width, INT32_MIN, INT32_MAX));
        else
            State.Position.X = static_cast<int32_t>(std::clamp<int64_t>(originX + width, INT32_MIN, INT32_MAX));
    }
}

void RasterDeviceContext::Impl::Blit(const TRect& dest, const TRect& source, const Dib& dib, uint32_t rop) {
    if (dib.Empty() || ClipBox.isEmpty() || static_cast<int64_t>(dib.Pixels.size()) <
                                             static_cast<int64_t>(dib.Width) * dib.Height)
        return;
    int64_t sl = source.Left, st = source.Top, sr = source.Right, sb = source.Bottom;
    if (sl == sr || st == sb)
        return;
    if (Rotates()) {
        BlitTransformed(dest, source, dib);
        return;
    }
    const XForm& t = State.Transform;
    double dl = dest.Left * t.eM11 + t.eDx, dr = dest.Right * t.eM11 + t.eDx;
    double dt = dest.Top * t.eM22 + t.eDy, db = dest.Bottom * t.eM22 + t.eDy;
    int64_t left = Round(dl), right = Round(dr), top = Round(dt), bottom = Round(db);
    if (left == right || top == bottom)
        return;
    bool mirrorX = right < left, mirrorY = bottom < top;
    if (mirrorX)
        std::swap(left, right);
    if (mirrorY)
        std::swap(top, bottom);
    RasterCoverage area = CoverageFor(left, top, right, bottom);
    if (area.Empty())
        return;
    const QRect& box = area.Box();
    const VectorPageStep step(Page, box);
    double scaleX = static_cast<double>(sr - sl) / static_cast<double>(right - left);
    double scaleY = static_cast<double>(sb - st) / static_cast<double>(bottom - top);
    bool usesPattern = Rop3UsesPattern(rop);
    // Every row samples the same source columns: found once (-1 where the
    // column falls outside the bitmap).
    std::vector<int32_t> columns(static_cast<size_t>(box.width()));
    for (int x = box.left(); x <= box.right(); ++x) {
        double u = (mirrorX ? static_cast<double>(right - 1 - x) : static_cast<double>(x - left)) + 0.5;
        int64_t sx = sl + Floor64(u * scaleX);
        columns[static_cast<size_t>(x - box.left())] = sx < 0 || sx >= dib.Width ? -1 : static_cast<int32_t>(sx);
    }
    // A plain copy onto the bitmap, with no clip region, takes the source
    // pixels as they are: no raster operation per pixel.
    const bool plainCopy = ((rop >> 16) & 0xFF) == 0xCC && !Page && !ClipMask;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        double v = (mirrorY ? static_cast<double>(bottom - 1 - y) : static_cast<double>(y - top)) + 0.5;
        int64_t sy = st + Floor64(v * scaleY);
        if (sy < 0 || sy >= dib.Height)
            continue;
        const uint32_t* sourceRow = dib.Pixels.data() + static_cast<size_t>(sy) * dib.Width;
        if (plainCopy) {
            uint32_t* row = Target.Pixels.data() + static_cast<size_t>(y) * Target.Width;
            for (int x = box.left(); x <= box.right(); ++x)
                if (int32_t sx = columns[static_cast<size_t>(x - box.left())]; sx >= 0)
                    row[x] = sourceRow[sx] | 0xFF000000u;
            continue;
        }
        for (int x = box.left(); x <= box.right(); ++x) {
            if (!InClip(x, y))
                continue;
            int32_t sx = columns[static_cast<size_t>(x - box.left())];
            if (sx < 0)
                continue;
            uint32_t src = sourceRow[sx];
            uint32_t pattern = 0;
            if (usesPattern) {
                std::optional<uint32_t> brush = BrushAt(State.Brush, x, y);
                pattern = brush ? *brush : ColorToPixel(State.BkColor);
            }
            uint32_t& pixel = Pixel(x, y);
            pixel = ApplyRop3(rop, pattern, src, pixel) | 0xFF000000u;
        }
    }
    if (Monochrome)
        Reduce(box);
}

void RasterDeviceContext::Impl::BlitTransformed(const TRect& dest, const TRect& source, const Dib& dib) {
    QRect from = QRect(QPoint(source.Left, source.Top), QPoint(source.Right - 1, source.Bottom - 1))
                     .normalized() & QRect(0, 0, dib.Width, dib.Height);
    if (from.isEmpty())
        return;
    QImage image(reinterpret_cast<const uchar*>(dib.Pixels.data()), dib.Width, dib.Height,
                 static_cast<qsizetype>(dib.Width) * 4, QImage::Format_RGB32);
    SurfacePainter surface(*this);
    QPainter& painter = surface.Painter();
    ApplyClip(painter);
    painter.setTransform(World() * surface.Origin());
    painter.drawImage(QtRect(dest.Left, dest.Top, dest.Right, dest.Bottom), image, from);
}

void RasterDeviceContext::Impl::Icon(const TRect& dest, const Dib& icon) {
    if (icon.Empty() || ClipBox.isEmpty() ||
        static_cast<int64_t>(icon.Pixels.size()) < static_cast<int64_t>(icon.Width) * icon.Height)
        return;
    if (!Identity()) {
        QImage image(reinterpret_cast<const uchar*>(icon.Pixels.data()), icon.Width, icon.Height,
                     static_cast<qsizetype>(icon.Width) * 4,
                     icon.HasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        SurfacePainter surface(*this);
        QPainter& painter = surface.Painter();
        ApplyClip(painter);
        painter.setTransform(World() * surface.Origin());
        painter.drawImage(QtRect(dest.Left, dest.Top, dest.Right, dest.Bottom), image);
        return;
    }
    int64_t left = dest.Left, right = dest.Right, top = dest.Top, bottom = dest.Bottom;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (left == right || top == bottom)
        return;
    RasterCoverage area = CoverageFor(left, top, right, bottom);
    if (area.Empty())
        return;
    const QRect& box = area.Box();
    const VectorPageStep step(Page, box);
    double scaleX = static_cast<double>(icon.Width) / static_cast<double>(right - left);
    double scaleY = static_cast<double>(icon.Height) / static_cast<double>(bottom - top);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        int32_t sy = static_cast<int32_t>(std::min<int64_t>(Floor64((y - top + 0.5) * scaleY), icon.Height - 1));
        for (int x = box.left(); x <= box.right(); ++x) {
            if (!InClip(x, y))
                continue;
            int32_t sx = static_cast<int32_t>(std::min<int64_t>(Floor64((x - left + 0.5) * scaleX), icon.Width - 1));
            uint32_t src = icon.At(sx, sy);
            unsigned alpha = icon.HasAlpha ? src >> 24 : 255;
            uint32_t& pixel = Pixel(x, y);
            if (alpha == 255) {
                pixel = src | 0xFF000000u;
                continue;
            }
            uint32_t out = 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                unsigned s = (src >> shift) & 0xFF, d = (pixel >> shift) & 0xFF;
                out |= ((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
            }
            pixel = out;
        }
    }
    if (Monochrome)
        Reduce(box);
}

bool RasterDeviceContext::Impl::FloodFill(int32_t x0, int32_t y0, TColor color, int type) {
    // A vector page keeps no pixels to fill between.
    if (Page)
        return false;
    auto [sx, sy] = ToDevice(x0, y0);
    if (!ClipBox.contains(QPoint(static_cast<int>(std::clamp<int64_t>(sx, INT32_MIN, INT32_MAX)),
                                 static_cast<int>(std::clamp<int64_t>(sy, INT32_MIN, INT32_MAX)))) ||
        !InClip(static_cast<int>(sx), static_cast<int>(sy)))
        return false;
    uint32_t key = ColorToPixel(color) & 0xFFFFFFu;
    bool surface = type == FLOODFILLSURFACE;
    RasterCoverage region = WholeClip();
    auto matches = [&](int x, int y) {
        if (!ClipBox.contains(x, y) || region.At(x, y) || !InClip(x, y))
            return false;
        bool same = (Pixel(x, y) & 0xFFFFFFu) == key;
        return surface ? same : !same;
    };
    if (!matches(static_cast<int>(sx), static_cast<int>(sy)))
        return false;
    // Scanline fill with an explicit stack: every pixel is taken once.
    std::vector<QPoint> seeds{QPoint(static_cast<int>(sx), static_cast<int>(sy))};
    while (!seeds.empty()) {
        QPoint seed = seeds.back();
        seeds.pop_back();
        if (!matches(seed.x(), seed.y()))
            continue;
        int left = seed.x(), right = seed.x();
        while (matches(left - 1, seed.y()))
            --left;
        while (matches(right + 1, seed.y()))
            ++right;
        region.Span(seed.y(), left, right);
        for (int row : {seed.y() - 1, seed.y() + 1}) {
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                bool match = matches(x, row);
                if (match && !inRun)
                    seeds.emplace_back(x, row);
                inRun = match;
            }
        }
    }
    PaintBrush(region, State.Brush, false);
    return true;
}

RasterDeviceContext::RasterDeviceContext(Dib& target, int dpiX, int dpiY)
    : impl_(std::make_unique<Impl>(target, dpiX, dpiY)) {
    EnsureFontSystem();
}

RasterDeviceContext::~RasterDeviceContext() = default;

const Dib& RasterDeviceContext::Target() const { return impl_->Target; }

void RasterDeviceContext::SetMonochrome(bool value) { impl_->Monochrome = value; }

void RasterDeviceContext::DrawOnPage(VectorPageSurface* page) {
    impl_->Page = page;
    impl_->RecomputeClip();
}

void RasterDeviceContext::ReduceToMonochrome() {
    if (impl_->Paintable())
        impl_->Reduce(impl_->ImageRect());
}

int RasterDeviceContext::GetDeviceCaps(int index) const {
    const Dib& target = impl_->Target;
    switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return impl_->DpiX > 0 ? Round(target.Width * 25.4 / impl_->DpiX) : 0;
    case VERTSIZE: return impl_->DpiY > 0 ? Round(target.Height * 25.4 / impl_->DpiY) : 0;
    case HORZRES:
    case PHYSICALWIDTH: return target.Width;
    case VERTRES:
    case PHYSICALHEIGHT: return target.Height;
    case BITSPIXEL: return impl_->Monochrome ? 1 : 32;
    case PLANES: return 1;
    case NUMCOLORS: return impl_->Monochrome ? 2 : -1;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHDIB | RC_FLOODFILL | RC_ROP2;
    case LOGPIXELSX: return impl_->DpiX;
    case LOGPIXELSY: return impl_->DpiY;
    default: return 0;
    }
}

void RasterDeviceContext::SelectPen(const LogPen& pen) { impl_->State.Pen = pen; }
void RasterDeviceContext::SelectBrush(const LogBrush& brush) { impl_->State.Brush = brush; }

HFONT RasterDeviceContext::SelectFont(HFONT font) {
    HFONT previous = impl_->State.Font;
    impl_->State.Font = font ? std::move(font) : StockSystemFont();
    return previous;
}

int RasterDeviceContext::SetROP2(int rop2) { return std::exchange(impl_->State.Rop2, rop2); }
unsigned RasterDeviceContext::SetTextAlign(unsigned align) { return std::exchange(impl_->State.TextAlign, align); }
int RasterDeviceContext::SetBkMode(int mode) { return std::exchange(impl_->State.BkMode, mode); }
int RasterDeviceContext::GetBkMode() const { return impl_->State.BkMode; }
TColor RasterDeviceContext::SetBkColor(TColor color) { return std::exchange(impl_->State.BkColor, color); }
TColor RasterDeviceContext::SetTextColor(TColor color) { return std::exchange(impl_->State.TextColor, color); }
int RasterDeviceContext::SetPolyFillMode(int mode) { return std::exchange(impl_->State.PolyFillMode, mode); }
int RasterDeviceContext::SetArcDirection(int direction) {
    return std::exchange(impl_->State.ArcDirection, direction);
}

int RasterDeviceContext::SaveDC() { return impl_->Saved.Save(impl_->State); }

void RasterDeviceContext::RestoreDC(int saved) {
    if (impl_->Saved.Restore(saved, impl_->State))
        impl_->RecomputeClip();
}

void RasterDeviceContext::SetWorldTransform(const XForm& transform) {
    bool finite = std::isfinite(transform.eM11) && std::isfinite(transform.eM12) &&
                  std::isfinite(transform.eM21) && std::isfinite(transform.eM22) &&
                  std::isfinite(transform.eDx) && std::isfinite(transform.eDy);
    double determinant = transform.eM11 * transform.eM22 - transform.eM12 * transform.eM21;
    // A transform that collapses the page or is not a number is refused.
    if (finite && determinant != 0)
        impl_->State.Transform = transform;
}

XForm RasterDeviceContext::GetWorldTransform() const { return impl_->State.Transform; }

void RasterDeviceContext::IntersectClipRect(const TRect& rect) {
    impl_->State.Clip.push_back(ClipRect{rect, impl_->State.Transform});
    impl_->RecomputeClip();
}

void RasterDeviceContext::ResetClip() {
    impl_->State.Clip.clear();
    impl_->RecomputeClip();
}

TPoint RasterDeviceContext::MoveTo(int32_t x, int32_t y) {
    return std::exchange(impl_->State.Position, TPoint{x, y});
}

void RasterDeviceContext::LineTo(int32_t x, int32_t y) {
    TPoint from = std::exchange(impl_->State.Position, TPoint{x, y});
    impl_->StrokePolyline({impl_->ToDevice(from.X, from.Y), impl_->ToDevice(x, y)}, false);
}

void RasterDeviceContext::Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) {
    impl_->FramedShape(RasterShape::kRectangle, l, t, r, b, 0, 0);
}

void RasterDeviceContext::RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t w, int32_t h) {
    impl_->FramedShape(RasterShape::kRoundRect, l, t, r, b, w, h);
}

void RasterDeviceContext::Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) {
    impl_->FramedShape(RasterShape::kEllipse, l, t, r, b, 0, 0);
}

void RasterDeviceContext::Arc(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3, int32_t y3,
                              int32_t x4, int32_t y4) {
    impl_->ArcShape(Impl::ArcKind::kArc, l, t, r, b, x3, y3, x4, y4);
}

void RasterDeviceContext::Chord(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3, int32_t y3,
                                int32_t x4, int32_t y4) {
    impl_->ArcShape(Impl::ArcKind::kChord, l, t, r, b, x3, y3, x4, y4);
}

void RasterDeviceContext::Pie(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x3, int32_t y3,
                              int32_t x4, int32_t y4) {
    impl_->ArcShape(Impl::ArcKind::kPie, l, t, r, b, x3, y3, x4, y4);
}

void RasterDeviceContext::Polygon(std::span<const TPoint> points) {
    const int32_t count[] = {static_cast<int32_t>(std::min<size_t>(points.size(), INT32_MAX))};
    impl_->Polygons(points, count);
}

void RasterDeviceContext::Polyline(std::span<const TPoint> points) {
    std::vector<std::pair<int64_t, int64_t>> device;
    device.reserve(points.size());
    for (const TPoint& p : points)
        device.push_back(impl_->ToDevice(p.X, p.Y));
    if (device.size() >= 2)
        impl_->StrokePolyline(device, false);
}

void RasterDeviceContext::PolyPolygon(std::span<const TPoint> points, std::span<const int32_t> counts) {
    impl_->Polygons(points, counts);
}

void RasterDeviceContext::PolyBezier(std::span<const TPoint> points) {
    if (points.size() < 4 || impl_->PenWidth() == 0)
        return;
    QPainterPath path;
    auto device = [&](const TPoint& p) {
        auto d = impl_->ToDevice(p.X, p.Y);
        return QtPoint(d.first + 0.5, d.second + 0.5);
    };
    path.moveTo(device(points[0]));
    for (size_t i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(device(points[i]), device(points[i + 1]), device(points[i + 2]));
    if (impl_->PenWidth() == 1)
        impl_->PaintPen(impl_->CosmeticCoverage(path, false));
    else
        impl_->StrokeWide(path, QTransform());
}

void RasterDeviceContext::SetPixel(int32_t x, int32_t y, TColor color) {
    auto [dx, dy] = impl_->ToDevice(x, y);
    RasterCoverage pixel = impl_->CoverageFor(dx, dy, dx + 1, dy + 1);
    pixel.Set(dx, dy, RasterCoverage::kInk);
    uint32_t value = ColorToPixel(color);
    impl_->Composite(pixel, [&](int, int, uint8_t, uint32_t) -> std::optional<uint32_t> { return value; });
}

void RasterDeviceContext::FillRect(const TRect& rect, const LogBrush& brush) {
    if (!impl_->Identity()) {
        QPainterPath path;
        path.addRect(QtRect(rect.Left, rect.Top, rect.Right, rect.Bottom));
        QTransform world = impl_->World();
        RasterCoverage area = impl_->CoverageFor(world.mapRect(path.boundingRect()), 1);
        area.FillPath(path, world);
        impl_->PaintBrush(area, brush, false);
        return;
    }
    RasterCoverage area = impl_->CoverageFor(rect.Left, rect.Top, rect.Right, rect.Bottom);
    impl_->SpanFill(area, RasterShape(RasterShape::kRectangle, PixelBox{rect.Left, rect.Top, rect.Right, rect.Bottom}));
    impl_->PaintBrush(area, brush, false);
}

void RasterDeviceContext::FrameRect(const TRect& rect, const LogBrush& brush) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top)
        return;
    auto [l, t] = impl_->ToDevice(rect.Left, rect.Top);
    auto [r, b] = impl_->ToDevice(rect.Right, rect.Bottom);
    RasterCoverage frame = impl_->CoverageFor(l, t, r, b);
    frame.Span(t, l, r - 1);
    frame.Span(b - 1, l, r - 1);
    for (int64_t y = std::max<int64_t>(t, frame.Box().top()); y < b && y <= frame.Box().bottom(); ++y) {
        frame.Set(l, y, RasterCoverage::kInk);
        frame.Set(r - 1, y, RasterCoverage::kInk);
    }
    impl_->PaintBrush(frame, brush, false);
}

void RasterDeviceContext::DrawFocusRect(const TRect& rect) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top)
        return;
    auto [l, t] = impl_->ToDevice(rect.Left, rect.Top);
    auto [r, b] = impl_->ToDevice(rect.Right, rect.Bottom);
    RasterCoverage frame = impl_->CoverageFor(l, t, r, b);
    frame.Span(t, l, r - 1);
    frame.Span(b - 1, l, r - 1);
    for (int64_t y = std::max<int64_t>(t, frame.Box().top()); y < b && y <= frame.Box().bottom(); ++y) {
        frame.Set(l, y, RasterCoverage::kInk);
        frame.Set(r - 1, y, RasterCoverage::kInk);
    }
    // Every other pixel of the frame is inverted, so drawing it twice removes it.
    impl_->Composite(frame, [](int x, int y, uint8_t, uint32_t dest) -> std::optional<uint32_t> {
        if ((x + y) % 2 != 0)
            return std::nullopt;
        return dest ^ 0xFFFFFFu;
    });
}

bool RasterDeviceContext::ExtFloodFill(int32_t x, int32_t y, TColor color, int type) {
    return impl_->FloodFill(x, y, color, type);
}

void RasterDeviceContext::PatBlt(const TRect& rect, uint32_t rop) {
    int64_t l = rect.Left, r = rect.Right, t = rect.Top, b = rect.Bottom;
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    auto [dl, dt] = impl_->ToDevice(l, t);
    auto [dr, db] = impl_->ToDevice(r, b);
    RasterCoverage area = impl_->CoverageFor(std::min(dl, dr), std::min(dt, db), std::max(dl, dr), std::max(dt, db));
    impl_->SpanFill(area, RasterShape(RasterShape::kRectangle,
                                      PixelBox{std::min(dl, dr), std::min(dt, db), std::max(dl, dr), std::max(dt, db)}));
    const LogBrush& brush = impl_->State.Brush;
    impl_->Composite(area, [&](int x, int y, uint8_t, uint32_t dest) -> std::optional<uint32_t> {
        uint32_t pattern = 0;
        if (Rop3UsesPattern(rop)) {
            std::optional<uint32_t> value = impl_->BrushAt(brush, x, y);
            if (!value)
                return std::nullopt;
            pattern = *value;
        }
        return ApplyRop3(rop, pattern, 0, dest);
    });
}

void RasterDeviceContext::TextOut(int32_t x, int32_t y, std::string_view bytes) {
    impl_->TextOutput(x, y, 0, nullptr, bytes);
}

void RasterDeviceContext::ExtTextOut(int32_t x, int32_t y, unsigned options, const TRect* rect,
                                     std::string_view bytes) {
    impl_->TextOutput(x, y, options, rect, bytes);
}

TSize RasterDeviceContext::GetTextExtentPoint(std::string_view bytes) {
    return impl_->State.Font->TextExtent(bytes);
}

TextMetric RasterDeviceContext::GetTextMetrics() { return impl_->State.Font->Metrics(); }

std::vector<uint8_t> RasterDeviceContext::EnumFontCharsets(std::string_view faceName) {
    return rpt::EnumFontCharsets(faceName);
}

void RasterDeviceContext::StretchDIBits(const TRect& dest, const TRect& source, const Dib& dib, uint32_t rop) {
    impl_->Blit(dest, source, dib, rop);
}

void RasterDeviceContext::DrawIcon(const TRect& dest, const Dib& icon) { impl_->Icon(dest, icon); }

int RasterDeviceContext::Escape(int, std::string_view) { return 0; }

} // namespace rpt

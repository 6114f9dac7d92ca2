#include "platform/MetafilePlayback.h"

#include "platform/MetafileDib.h"
#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rpt {

namespace {

constexpr LogPen kNullPen{psClear, 0, clBlack};
constexpr int32_t kMaxFontPixels = 32767;
constexpr int32_t kMaxPenPixels = 32767;
constexpr size_t kMaxSavedLevels = 1024;
constexpr size_t kMaxCachedFonts = 16;

TRect Normalized(const TRect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

bool Finite(const XForm& t) {
    return std::isfinite(t.eM11) && std::isfinite(t.eM12) && std::isfinite(t.eM21) &&
           std::isfinite(t.eM22) && std::isfinite(t.eDx) && std::isfinite(t.eDy);
}

double Determinant(const XForm& t) {
    return t.eM11 * t.eM22 - t.eM12 * t.eM21;
}

LogBrush ClearBrush() {
    LogBrush brush;
    brush.Style = bsClear;
    return brush;
}

} // namespace

MetafilePlayback::MetafilePlayback(DeviceContext& dc, const TRect& destination, const XForm& base,
                                   const MetafileMapping& mapping, uint32_t objectCapacity)
    : dc_(dc), destination_(Normalized(destination)), base_(base), objects_(objectCapacity),
      state_{mapping, {}, {}, {}, std::nullopt, {}, TA_LEFT | TA_TOP, AD_COUNTERCLOCKWISE} {
    savedLevel_ = dc_.SaveDC();
    initial_ = dc_.GetWorldTransform();
    ApplyBaseClip();
    // Every picture starts from the same attributes, whatever the canvas had.
    state_.pen = LogPen{psSolid, 0, clBlack};
    ApplyPen();
    dc_.SelectBrush(state_.brush);
    dc_.SelectFont(nullptr);
    dc_.SetROP2(R2_COPYPEN);
    dc_.SetTextAlign(TA_LEFT | TA_TOP);
    dc_.SetBkMode(OPAQUE);
    dc_.SetBkColor(clWhite);
    dc_.SetTextColor(clBlack);
    dc_.SetPolyFillMode(ALTERNATE);
    dc_.SetArcDirection(AD_COUNTERCLOCKWISE);
}

MetafilePlayback::~MetafilePlayback() {
    dc_.RestoreDC(savedLevel_);
}

MetafileMapping& MetafilePlayback::Mapping() {
    dirty_ = true;
    return state_.mapping;
}

void MetafilePlayback::SetWorldTransform(const XForm& transform) {
    state_.world = transform;
    dirty_ = true;
}

void MetafilePlayback::ModifyWorldTransform(const XForm& transform, int mode) {
    switch (mode) {
    case MWT_IDENTITY: state_.world = XForm{}; break;
    case MWT_LEFTMULTIPLY: state_.world = ComposeXForm(transform, state_.world); break;
    case MWT_RIGHTMULTIPLY: state_.world = ComposeXForm(state_.world, transform); break;
    case MWT_SET: state_.world = transform; break;
    default: return;
    }
    dirty_ = true;
}

void MetafilePlayback::SaveDC() {
    // Each level holds a copy of the whole state here and in the context.
    if (stack_.size() >= kMaxSavedLevels)
        return;
    contextLevels_.push_back(dc_.SaveDC());
    stack_.push_back(state_);
}

void MetafilePlayback::RestoreDC(int level) {
    size_t depth = stack_.size();
    size_t index;
    if (level < 0) {
        size_t back = static_cast<size_t>(-static_cast<int64_t>(level));
        if (back > depth)
            return;
        index = depth - back;
    } else if (level > 0 && static_cast<size_t>(level) <= depth) {
        index = static_cast<size_t>(level) - 1;
    } else {
        return;
    }
    dc_.RestoreDC(contextLevels_[index]);
    state_ = stack_[index];
    stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(index), stack_.end());
    contextLevels_.resize(index);
    dirty_ = true;
    devicePen_.reset();
}

void MetafilePlayback::SelectObject(uint32_t slot) {
    const MetafileObject* object = objects_.Find(slot);
    if (!object)
        return;
    switch (object->kind) {
    case MetafileObject::Pen: SelectPen(object->pen); break;
    case MetafileObject::Brush: SelectBrush(object->brush); break;
    case MetafileObject::Font: SelectFont(object->font); break;
    case MetafileObject::Other: break;
    }
}

void MetafilePlayback::SelectPen(const LogPen& pen) {
    state_.pen = pen;
    ApplyPen();
}

void MetafilePlayback::ApplyPen() {
    // The context takes pen widths in device pixels: a logical width follows
    // the scale of the mapping, a zero width stays one pixel wide.
    LogPen device = state_.pen;
    if (device.Width > 0) {
        double scale = std::sqrt(std::fabs(Determinant(Composed())));
        device.Width = std::clamp(Round(device.Width * (std::isfinite(scale) ? scale : 1.0)), 1,
                                  kMaxPenPixels);
    }
    if (!devicePen_ || *devicePen_ != device) {
        dc_.SelectPen(device);
        devicePen_ = device;
    }
}

void MetafilePlayback::SelectBrush(const LogBrush& brush) {
    state_.brush = brush;
    dc_.SelectBrush(brush);
}

void MetafilePlayback::SelectFont(const std::optional<LogFont>& font) {
    state_.font = font;
}

void MetafilePlayback::SetTextColor(TColor color) { dc_.SetTextColor(color & 0x00FFFFFF); }
void MetafilePlayback::SetBkColor(TColor color) { dc_.SetBkColor(color & 0x00FFFFFF); }

void MetafilePlayback::SetBkMode(int mode) {
    if (mode == TRANSPARENT || mode == OPAQUE)
        dc_.SetBkMode(mode);
}

void MetafilePlayback::SetTextAlign(unsigned align) {
    state_.textAlign = align;
    // The player keeps the current position for TA_UPDATECP itself.
    dc_.SetTextAlign(align & (TA_CENTER | TA_BASELINE));
}

void MetafilePlayback::SetPolyFillMode(int mode) {
    if (mode == ALTERNATE || mode == WINDING)
        dc_.SetPolyFillMode(mode);
}

void MetafilePlayback::SetROP2(int rop2) {
    if (rop2 >= R2_BLACK && rop2 <= R2_WHITE)
        dc_.SetROP2(rop2);
}

void MetafilePlayback::SetArcDirection(int direction) {
    if (direction == AD_COUNTERCLOCKWISE || direction == AD_CLOCKWISE) {
        state_.arcDirection = direction;
        dc_.SetArcDirection(direction);
    }
}

XForm MetafilePlayback::Composed() const {
    return ComposeXForm(
        ComposeXForm(ComposeXForm(state_.world, state_.mapping.Transform()), base_), initial_);
}

bool MetafilePlayback::Sync() {
    if (dirty_) {
        XForm t = Composed();
        double det = Determinant(t);
        drawable_ = Finite(t) && std::isfinite(det) && det != 0;
        if (drawable_) {
            dc_.SetWorldTransform(t);
            ApplyPen();
        }
        dirty_ = false;
        positionSynced_ = false;
    }
    return drawable_;
}

void MetafilePlayback::ApplyBaseClip() {
    dc_.SetWorldTransform(initial_);
    dc_.IntersectClipRect(destination_);
    dirty_ = true;
}

void MetafilePlayback::IntersectClipRect(const TRect& rect) {
    if (Sync())
        dc_.IntersectClipRect(Normalized(rect));
}

void MetafilePlayback::IntersectViewportClipRect(const TRect& rect) {
    XForm t = ComposeXForm(base_, initial_);
    if (!Finite(t))
        return;
    dc_.SetWorldTransform(t);
    dc_.IntersectClipRect(Normalized(rect));
    dirty_ = true;
}

void MetafilePlayback::ResetClip() {
    dc_.ResetClip();
    ApplyBaseClip();
}

void MetafilePlayback::SyncPosition() {
    if (!positionSynced_) {
        dc_.MoveTo(state_.position.X, state_.position.Y);
        positionSynced_ = true;
    }
}

void MetafilePlayback::MoveTo(TPoint p) {
    state_.position = p;
    if (recording_) {
        path_.MoveTo(p);
    } else if (Sync()) {
        dc_.MoveTo(p.X, p.Y);
        positionSynced_ = true;
    }
}

void MetafilePlayback::LineTo(TPoint p) {
    TPoint from = state_.position;
    state_.position = p;
    if (recording_) {
        path_.LineTo(from, p);
    } else if (Sync()) {
        state_.position = from;
        SyncPosition();
        state_.position = p;
        dc_.LineTo(p.X, p.Y);
    }
}

void MetafilePlayback::Rectangle(const TRect& r) {
    if (recording_) {
        TPoint corners[] = {{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
        path_.AddFigure(corners, true);
    } else if (Sync()) {
        dc_.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    }
}

void MetafilePlayback::RoundRect(const TRect& r, int32_t w, int32_t h) {
    if (recording_)
        Rectangle(r);
    else if (Sync())
        dc_.RoundRect(r.Left, r.Top, r.Right, r.Bottom, w, h);
}

void MetafilePlayback::Ellipse(const TRect& r) {
    if (recording_)
        path_.AddFigure(FlattenEllipse(r.Left, r.Top, r.Right, r.Bottom), true);
    else if (Sync())
        dc_.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
}

void MetafilePlayback::PathArc(const TRect& r, TPoint start, TPoint end, bool lineFromPosition,
                               int closeMode) {
    std::vector<TPoint> points = FlattenArc(r.Left, r.Top, r.Right, r.Bottom, start.X, start.Y,
                                            end.X, end.Y, state_.arcDirection == AD_CLOCKWISE);
    if (points.empty())
        return;
    if (closeMode == 2)
        points.insert(points.begin(), TPoint{Round((r.Left + static_cast<double>(r.Right)) / 2),
                                             Round((r.Top + static_cast<double>(r.Bottom)) / 2)});
    if (lineFromPosition) {
        TPoint from = state_.position;
        state_.position = points.back();
        if (recording_) {
            path_.PolylineTo(from, points);
        } else if (Sync()) {
            points.insert(points.begin(), from);
            dc_.Polyline(points);
            positionSynced_ = false;
        }
        return;
    }
    path_.AddFigure(points, closeMode != 0);
}

void MetafilePlayback::Arc(const TRect& r, TPoint start, TPoint end) {
    if (recording_)
        PathArc(r, start, end, false, 0);
    else if (Sync())
        dc_.Arc(r.Left, r.Top, r.Right, r.Bottom, start.X, start.Y, end.X, end.Y);
}

void MetafilePlayback::ArcTo(const TRect& r, TPoint start, TPoint end) {
    PathArc(r, start, end, true, 0);
}

void MetafilePlayback::Chord(const TRect& r, TPoint start, TPoint end) {
    if (recording_)
        PathArc(r, start, end, false, 1);
    else if (Sync())
        dc_.Chord(r.Left, r.Top, r.Right, r.Bottom, start.X, start.Y, end.X, end.Y);
}

void MetafilePlayback::Pie(const TRect& r, TPoint start, TPoint end) {
    if (recording_)
        PathArc(r, start, end, false, 2);
    else if (Sync())
        dc_.Pie(r.Left, r.Top, r.Right, r.Bottom, start.X, start.Y, end.X, end.Y);
}

void MetafilePlayback::Polygon(std::span<const TPoint> points) {
    if (points.empty())
        return;
    if (recording_)
        path_.AddFigure(points, true);
    else if (Sync())
        dc_.Polygon(points);
}

void MetafilePlayback::Polyline(std::span<const TPoint> points) {
    if (points.empty())
        return;
    if (recording_)
        path_.AddFigure(points, false);
    else if (Sync())
        dc_.Polyline(points);
}

void MetafilePlayback::PolylineTo(std::span<const TPoint> points) {
    if (points.empty())
        return;
    TPoint from = state_.position;
    state_.position = points.back();
    if (recording_) {
        path_.PolylineTo(from, points);
    } else if (Sync()) {
        std::vector<TPoint> line;
        line.reserve(points.size() + 1);
        line.push_back(from);
        line.insert(line.end(), points.begin(), points.end());
        dc_.Polyline(line);
        positionSynced_ = false;
    }
}

void MetafilePlayback::PolyBezier(std::span<const TPoint> points) {
    if (points.size() < 4)
        return;
    points = points.first(1 + (points.size() - 1) / 3 * 3);
    if (recording_) {
        path_.MoveTo(points.front());
        path_.BezierTo(points.front(), points.subspan(1));
    } else if (Sync()) {
        dc_.PolyBezier(points);
    }
}

void MetafilePlayback::PolyBezierTo(std::span<const TPoint> points) {
    points = points.first(points.size() / 3 * 3);
    if (points.empty())
        return;
    TPoint from = state_.position;
    state_.position = points.back();
    if (recording_) {
        path_.BezierTo(from, points);
    } else if (Sync()) {
        std::vector<TPoint> curve;
        curve.reserve(points.size() + 1);
        curve.push_back(from);
        curve.insert(curve.end(), points.begin(), points.end());
        dc_.PolyBezier(curve);
        positionSynced_ = false;
    }
}

void MetafilePlayback::PolyPolygon(std::span<const TPoint> points, std::span<const int32_t> counts) {
    if (recording_) {
        size_t at = 0;
        for (int32_t count : counts) {
            path_.AddFigure(points.subspan(at, static_cast<size_t>(count)), true);
            at += static_cast<size_t>(count);
        }
    } else if (!counts.empty() && Sync()) {
        dc_.PolyPolygon(points, counts);
    }
}

void MetafilePlayback::PolyPolyline(std::span<const TPoint> points, std::span<const int32_t> counts) {
    size_t at = 0;
    for (int32_t count : counts) {
        Polyline(points.subspan(at, static_cast<size_t>(count)));
        at += static_cast<size_t>(count);
    }
}

void MetafilePlayback::SetPixel(TPoint p, TColor color) {
    if (!recording_ && Sync())
        dc_.SetPixel(p.X, p.Y, color & 0x00FFFFFF);
}

void MetafilePlayback::FloodFill(TPoint p, TColor color, int type) {
    if (!recording_ && Sync())
        dc_.ExtFloodFill(p.X, p.Y, color & 0x00FFFFFF,
                         type == FLOODFILLSURFACE ? FLOODFILLSURFACE : FLOODFILLBORDER);
}

void MetafilePlayback::PatBlt(const TRect& r, uint32_t rop) {
    if (!recording_ && Sync())
        dc_.PatBlt(Normalized(r), rop);
}

void MetafilePlayback::FillRect(const TRect& r, const LogBrush& brush) {
    if (!recording_ && Sync())
        dc_.FillRect(Normalized(r), brush);
}

void MetafilePlayback::Text(TPoint p, unsigned options, const TRect* clip, std::string_view bytes) {
    if (recording_)
        return;
    // Text stays upright and takes only the scale of the mapping, so it is
    // placed in the context's own coordinates.
    XForm t = ComposeXForm(ComposeXForm(state_.world, state_.mapping.Transform()), base_);
    double det = Determinant(t);
    if (!Finite(t) || !std::isfinite(det) || det == 0)
        return;
    bool updateCp = state_.textAlign & TA_UPDATECP;
    TPoint ref = updateCp ? state_.position : p;
    auto map = [&](double x, double y) {
        return TPoint{Round(x * t.eM11 + y * t.eM21 + t.eDx), Round(x * t.eM12 + y * t.eM22 + t.eDy)};
    };
    double scaleX = std::hypot(t.eM11, t.eM12);
    double scaleY = std::hypot(t.eM21, t.eM22);

    std::optional<LogFont> device;
    if (state_.font) {
        LogFont f = *state_.font;
        auto scaled = [](int32_t v, double s) {
            int32_t r = Round(v * s);
            return r == 0 && v != 0 ? (v < 0 ? -1 : 1) : r;
        };
        // Sizes a font system can make and angles within one turn, whatever the file says.
        f.Height = std::clamp(scaled(f.Height, scaleY), -kMaxFontPixels, kMaxFontPixels);
        f.Width = std::clamp(scaled(f.Width, scaleX), -kMaxFontPixels, kMaxFontPixels);
        f.Weight = std::clamp(f.Weight, 0, 1000);
        int32_t turn = det > 0 ? Round(std::atan2(-t.eM12, t.eM11) * 1800 / std::numbers::pi) : 0;
        f.Escapement = ((f.Escapement % 3600 + turn) % 3600 + 3600) % 3600;
        f.Orientation = ((f.Orientation % 3600 + turn) % 3600 + 3600) % 3600;
        device = f;
    }
    HFONT font;
    if (device) {
        // Pictures switch between a few fonts; each is made once.
        auto cached = std::find_if(fonts_.begin(), fonts_.end(),
                                   [&](const auto& entry) { return entry.first == *device; });
        if (cached != fonts_.end()) {
            font = cached->second;
        } else {
            font = Font::Create(*device);
            if (fonts_.size() >= kMaxCachedFonts)
                fonts_.erase(fonts_.begin());
            fonts_.emplace_back(*device, font);
        }
    }
    dc_.SelectFont(font);
    dc_.SetWorldTransform(initial_);
    dirty_ = true;

    TPoint at = map(ref.X, ref.Y);
    unsigned drawOptions = options & (ETO_OPAQUE | ETO_CLIPPED);
    if (clip) {
        TPoint a = map(clip->Left, clip->Top), b = map(clip->Right, clip->Bottom);
        TRect box = Normalized({a.X, a.Y, b.X, b.Y});
        dc_.ExtTextOut(at.X, at.Y, drawOptions, &box, bytes);
    } else if (drawOptions) {
        dc_.ExtTextOut(at.X, at.Y, drawOptions, nullptr, bytes);
    } else {
        dc_.TextOut(at.X, at.Y, bytes);
    }
    if (updateCp && scaleX > 0) {
        unsigned horizontal = state_.textAlign & TA_CENTER;
        int32_t advance = Round(dc_.GetTextExtentPoint(bytes).cx / scaleX);
        if (horizontal == TA_LEFT)
            state_.position.X = Round(static_cast<double>(state_.position.X) + advance);
        else if (horizontal == TA_RIGHT)
            state_.position.X = Round(static_cast<double>(state_.position.X) - advance);
    }
}

std::optional<MetafilePlayback::Placement> MetafilePlayback::Place(const TRect& dest,
                                                                    const TRect& source,
                                                                    const MetafileBitmap& bitmap) {
    const Dib& dib = bitmap.Pixels;
    Placement placement;
    placement.mirrorX = (dest.Right < dest.Left) != (source.Right < source.Left);
    placement.mirrorY = (dest.Bottom < dest.Top) != (source.Bottom < source.Top);
    TRect src = Normalized(source);
    if (bitmap.BottomUp) {
        int64_t top = static_cast<int64_t>(dib.Height) - src.Bottom;
        int64_t bottom = static_cast<int64_t>(dib.Height) - src.Top;
        src.Top = static_cast<int32_t>(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX));
        src.Bottom = static_cast<int32_t>(std::clamp<int64_t>(bottom, INT32_MIN, INT32_MAX));
    }
    src.Left = std::clamp(src.Left, 0, dib.Width);
    src.Right = std::clamp(src.Right, 0, dib.Width);
    src.Top = std::clamp(src.Top, 0, dib.Height);
    src.Bottom = std::clamp(src.Bottom, 0, dib.Height);
    placement.source = src;
    placement.dest = Normalized(dest);
    if (recording_ || src.Width() <= 0 || src.Height() <= 0 ||
        placement.dest.Left == placement.dest.Right || placement.dest.Top == placement.dest.Bottom ||
        !Sync())
        return std::nullopt;
    return placement;
}

namespace {

// The source part of a bitmap, mirrored as asked.
Dib Crop(const Dib& dib, const TRect& src, bool mirrorX, bool mirrorY) {
    Dib part(src.Width(), src.Height());
    part.HasAlpha = dib.HasAlpha;
    for (int32_t y = 0; y < part.Height; ++y)
        for (int32_t x = 0; x < part.Width; ++x)
            part.At(mirrorX ? part.Width - 1 - x : x, mirrorY ? part.Height - 1 - y : y) =
                dib.At(src.Left + x, src.Top + y);
    return part;
}

} // namespace

void MetafilePlayback::StretchDib(const TRect& dest, const TRect& source,
                                  const MetafileBitmap& bitmap, uint32_t rop) {
    auto placement = Place(dest, source, bitmap);
    if (!placement)
        return;
    if (!placement->mirrorX && !placement->mirrorY) {
        dc_.StretchDIBits(placement->dest, placement->source, bitmap.Pixels, rop);
        return;
    }
    Dib part = Crop(bitmap.Pixels, placement->source, placement->mirrorX, placement->mirrorY);
    dc_.StretchDIBits(placement->dest, {0, 0, part.Width, part.Height}, part, rop);
}

void MetafilePlayback::AlphaDib(const TRect& dest, const TRect& source,
                                const MetafileBitmap& bitmap, uint8_t constantAlpha,
                                bool perPixelAlpha) {
    auto placement = Place(dest, source, bitmap);
    if (!placement)
        return;
    Dib part = Crop(bitmap.Pixels, placement->source, placement->mirrorX, placement->mirrorY);
    // The record's pixels are premultiplied by their alpha; the context
    // takes them straight.
    for (uint32_t& pixel : part.Pixels) {
        uint32_t a = perPixelAlpha ? pixel >> 24 : 255;
        uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        if (perPixelAlpha && a > 0 && a < 255) {
            r = std::min<uint32_t>(255, r * 255 / a);
            g = std::min<uint32_t>(255, g * 255 / a);
            b = std::min<uint32_t>(255, b * 255 / a);
        }
        a = a * constantAlpha / 255;
        pixel = (a << 24) | (r << 16) | (g << 8) | b;
    }
    part.HasAlpha = true;
    dc_.DrawIcon(placement->dest, part);
}

void MetafilePlayback::BeginPath() {
    path_.Clear();
    recording_ = true;
}

void MetafilePlayback::AbortPath() {
    path_.Clear();
    recording_ = false;
}

void MetafilePlayback::CloseFigure() {
    if (recording_)
        path_.CloseFigure();
}

void MetafilePlayback::DrawPathFigures(bool fill, bool stroke) {
    recording_ = false;
    if (path_.Empty() || !Sync()) {
        path_.Clear();
        return;
    }
    if (fill) {
        std::vector<TPoint> points;
        std::vector<int32_t> counts;
        for (const auto& figure : path_.Figures()) {
            if (figure.points.size() < 3)
                continue;
            points.insert(points.end(), figure.points.begin(), figure.points.end());
            counts.push_back(static_cast<int32_t>(figure.points.size()));
        }
        if (!counts.empty()) {
            dc_.SelectPen(kNullPen);
            dc_.PolyPolygon(points, counts);
            devicePen_.reset();
            ApplyPen();
        }
    }
    if (stroke) {
        dc_.SelectBrush(ClearBrush());
        for (const auto& figure : path_.Figures()) {
            if (figure.points.size() < 2)
                continue;
            if (figure.closed)
                dc_.Polygon(figure.points);
            else
                dc_.Polyline(figure.points);
        }
        dc_.SelectBrush(state_.brush);
    }
    path_.Clear();
}

void MetafilePlayback::FillPath() { DrawPathFigures(true, false); }
void MetafilePlayback::StrokePath() { DrawPathFigures(false, true); }
void MetafilePlayback::StrokeAndFillPath() { DrawPathFigures(true, true); }

void MetafilePlayback::SelectClipPath() {
    recording_ = false;
    bool any = false;
    TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const auto& figure : path_.Figures())
        for (TPoint p : figure.points) {
            any = true;
            box = {std::min(box.Left, p.X), std::min(box.Top, p.Y), std::max(box.Right, p.X),
                   std::max(box.Bottom, p.Y)};
        }
    path_.Clear();
    if (any)
        IntersectClipRect(box);
}

} // namespace rpt

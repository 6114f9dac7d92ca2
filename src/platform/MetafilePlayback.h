#pragma once
// The device context as a metafile's records see it: their mapping, world
// transform, selected objects, current position, saved states and path,
// played onto a real DeviceContext. Coordinates are the metafile's logical
// ones; the composed transform (world, page mapping, frame to destination,
// and whatever the context had) is handed to the context before each
// drawing call. The context is saved on construction and restored on
// destruction, whatever happened in between, and clipped to the destination.
// Both formats' players share it, so it carries the whole state machine they
// need (mapping, objects, paths, text and bitmaps), which makes it long.
#include "platform/DeviceContext.h"
#include "platform/MetafileDib.h"
#include "platform/MetafileMapping.h"
#include "platform/MetafileObjectTable.h"
#include "platform/MetafilePath.h"

#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace rpt {

// ModifyWorldTransform modes.
enum : int { MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3, MWT_SET = 4 };

class MetafilePlayback {
public:
    // base maps viewport space onto the destination; mapping is the page
    // mapping the records start with.
    MetafilePlayback(DeviceContext& dc, const TRect& destination, const XForm& base,
                     const MetafileMapping& mapping, uint32_t objectCapacity);
    ~MetafilePlayback();
    MetafilePlayback(const MetafilePlayback&) = delete;
    MetafilePlayback& operator=(const MetafilePlayback&) = delete;

    DeviceContext& Context() { return dc_; }
    // Changing the mapping through this reference takes effect at the next drawing call.
    MetafileMapping& Mapping();
    void SetWorldTransform(const XForm& transform);
    void ModifyWorldTransform(const XForm& transform, int mode);
    void SaveDC();
    // Negative: that many levels back; positive: the absolute level. Levels
    // that the records did not save are left alone.
    void RestoreDC(int level);

    MetafileObjectTable& Objects() { return objects_; }
    void SelectObject(uint32_t slot);
    void SelectPen(const LogPen& pen);
    void SelectBrush(const LogBrush& brush);
    // nullopt selects the stock system font.
    void SelectFont(const std::optional<LogFont>& font);
    const LogBrush& Brush() const { return state_.brush; }
    const std::optional<LogFont>& SelectedFont() const { return state_.font; }

    void SetTextColor(TColor color);
    void SetBkColor(TColor color);
    void SetBkMode(int mode);
    void SetTextAlign(unsigned align);
    void SetPolyFillMode(int mode);
    void SetROP2(int rop2);
    void SetArcDirection(int direction);

    void IntersectClipRect(const TRect& rect);
    // A rectangle in viewport space (the region records' coordinates).
    void IntersectViewportClipRect(const TRect& rect);
    // Back to the destination's clip.
    void ResetClip();

    void MoveTo(TPoint p);
    void LineTo(TPoint p);
    void Rectangle(const TRect& r);
    void RoundRect(const TRect& r, int32_t w, int32_t h);
    void Ellipse(const TRect& r);
    void Arc(const TRect& r, TPoint start, TPoint end);
    void ArcTo(const TRect& r, TPoint start, TPoint end);
    void Chord(const TRect& r, TPoint start, TPoint end);
    void Pie(const TRect& r, TPoint start, TPoint end);
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    void PolylineTo(std::span<const TPoint> points);
    void PolyBezier(std::span<const TPoint> points);
    void PolyBezierTo(std::span<const TPoint> points);
    void PolyPolygon(std::span<const TPoint> points, std::span<const int32_t> counts);
    void PolyPolyline(std::span<const TPoint> points, std::span<const int32_t> counts);
    void SetPixel(TPoint p, TColor color);
    void FloodFill(TPoint p, TColor color, int type);
    void PatBlt(const TRect& r, uint32_t rop);
    void FillRect(const TRect& r, const LogBrush& brush);
    // Text at the reference point (or the current position with
    // TA_UPDATECP), upright, in the selected font scaled to the device.
    void Text(TPoint p, unsigned options, const TRect* clip, std::string_view bytes);
    // The source rectangle is in the bitmap's own rows: bottom row first
    // when the bitmap was stored that way.
    void StretchDib(const TRect& dest, const TRect& source, const MetafileBitmap& bitmap,
                    uint32_t rop);
    // The same, blended over what is there: the bitmap's own (premultiplied)
    // alpha when perPixelAlpha, times the constant alpha.
    void AlphaDib(const TRect& dest, const TRect& source, const MetafileBitmap& bitmap,
                  uint8_t constantAlpha, bool perPixelAlpha);

    void BeginPath();
    void EndPath() { recording_ = false; }
    void AbortPath();
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void SelectClipPath();

private:
    struct State {
        MetafileMapping mapping;
        XForm world;
        LogPen pen;
        LogBrush brush;
        std::optional<LogFont> font;
        TPoint position;
        unsigned textAlign = TA_LEFT | TA_TOP;
        int arcDirection = AD_COUNTERCLOCKWISE;
    };

    struct Placement {
        TRect dest;
        TRect source; // rows from the top, inside the bitmap
        bool mirrorX = false;
        bool mirrorY = false;
    };
    // Where a bitmap's source part goes; nothing when nothing would show.
    std::optional<Placement> Place(const TRect& dest, const TRect& source,
                                   const MetafileBitmap& bitmap);

    // Hands the composed transform to the context; false when it maps
    // nothing drawable (a zero or non-finite scale), and then nothing is drawn.
    bool Sync();
    XForm Composed() const;
    void ApplyBaseClip();
    // Selects the current pen with its width in device pixels, when that changed.
    void ApplyPen();
    // Moves the context's pen to the tracked position when a transform change lost it.
    void SyncPosition();
    void DrawPathFigures(bool fill, bool stroke);
    void PathArc(const TRect& r, TPoint start, TPoint end, bool lineFromPosition, int closeMode);

    DeviceContext& dc_;
    TRect destination_;
    XForm base_;
    XForm initial_;
    int savedLevel_ = 0;
    MetafileObjectTable objects_;
    State state_;
    std::vector<State> stack_;
    std::vector<int> contextLevels_;
    bool dirty_ = true;
    bool drawable_ = true;
    bool recording_ = false;
    bool positionSynced_ = false;
    MetafilePath path_;
    std::optional<LogPen> devicePen_;
    std::vector<std::pair<LogFont, HFONT>> fonts_; // by the description asked for
};

} // namespace rpt

#include "platform/WmfPlayer.h"

#include "platform/MetafileCursor.h"
#include "platform/MetafileDib.h"
#include "platform/MetafilePlayback.h"

#include <string>
#include <vector>

namespace rpt {

namespace {

enum WmfFunction : uint16_t {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPATTERNBRUSH = 0x01F9,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SETVIEWPORTORG = 0x020D,
    META_SETVIEWPORTEXT = 0x020E,
    META_OFFSETWINDOWORG = 0x020F,
    META_OFFSETVIEWPORTORG = 0x0211,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_SCALEWINDOWEXT = 0x0410,
    META_SCALEVIEWPORTEXT = 0x0412,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_FLOODFILL = 0x0419,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538,
    META_EXTFLOODFILL = 0x0548,
    META_ROUNDRECT = 0x061C,
    META_PATBLT = 0x061D,
    META_CREATEREGION = 0x06FF,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_BITBLT = 0x0922,
    META_DIBBITBLT = 0x0940,
    META_EXTTEXTOUT = 0x0A32,
    META_STRETCHBLT = 0x0B23,
    META_DIBSTRETCHBLT = 0x0B41,
    META_SETDIBTODEV = 0x0D33,
    META_STRETCHDIB = 0x0F43,
    META_CREATEPALETTE = 0x00F7,
};

TPoint ReadPointYX(MetafileCursor& in) {
    int16_t y = in.I16();
    int16_t x = in.I16();
    return {x, y};
}

// Rectangles are stored bottom, right, top, left.
TRect ReadRectReversed(MetafileCursor& in) {
    int16_t b = in.I16(), r = in.I16(), t = in.I16(), l = in.I16();
    return {l, t, r, b};
}

std::vector<TPoint> ReadPoints(MetafileCursor& in, size_t count) {
    if (count > in.Remaining() / 4)
        throw EInvalidGraphic("Metafile record is truncated");
    std::vector<TPoint> points(count);
    for (TPoint& p : points) {
        p.X = in.I16();
        p.Y = in.I16();
    }
    return points;
}

// Hatch codes follow the brush styles in the same order, two places on.
LogBrush MakeBrush(uint32_t style, TColor color, uint32_t hatch) {
    constexpr uint32_t BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2;
    LogBrush brush;
    brush.Color = color & 0x00FFFFFF;
    if (style == BS_NULL)
        brush.Style = bsClear;
    else if (style == BS_HATCHED && hatch <= 5)
        brush.Style = static_cast<TBrushStyle>(bsHorizontal + hatch);
    else if (style == BS_SOLID || style == BS_HATCHED)
        brush.Style = bsSolid;
    else
        brush.Style = bsSolid;
    return brush;
}

LogPen MakePen(uint32_t style, int32_t width, TColor color) {
    LogPen pen;
    uint32_t kind = style & 0x0F;
    pen.Style = kind <= psInsideFrame ? static_cast<TPenStyle>(kind) : psSolid;
    pen.Width = width < 0 ? -width : width;
    pen.Color = color & 0x00FFFFFF;
    return pen;
}

void AddObject(MetafilePlayback& playback, MetafileObject object) {
    playback.Objects().Add(std::move(object));
}

std::string ReadText(MetafileCursor& in, int16_t count) {
    if (count <= 0)
        return {};
    auto bytes = in.Take(static_cast<size_t>(count));
    if (count & 1)
        in.Skip(std::min<size_t>(1, in.Remaining()));
    return std::string(bytes.begin(), bytes.end());
}

// The blit records address their source rows from the top, as a device
// would; the DIB records from the bitmap's own first stored row.
void PlayDib(MetafilePlayback& playback, const TRect& dest, const TRect& source,
             std::span<const uint8_t> packed, uint32_t usage, uint32_t rop, bool sourceFromTop) {
    if (auto bitmap = DecodePackedMetafileDib(packed, usage)) {
        if (sourceFromTop)
            bitmap->BottomUp = false;
        playback.StretchDib(dest, source, *bitmap, rop);
    }
}

TRect Box(int32_t x, int32_t y, int32_t w, int32_t h) {
    return {x, y, x + w, y + h};
}

} // namespace

void WmfPlayer::Play(DeviceContext& dc, const TRect& destination) const {
    // In doubles: a destination from a hostile report may span the whole int32 range.
    double width = static_cast<double>(destination.Right) - destination.Left;
    double height = static_cast<double>(destination.Bottom) - destination.Top;
    if (width == 0 || height == 0)
        return;
    int dpiX = dc.GetDeviceCaps(LOGPIXELSX), dpiY = dc.GetDeviceCaps(LOGPIXELSY);
    MetafileMapping mapping(dpiX > 0 ? dpiX / 25.4 : 96 / 25.4, dpiY > 0 ? dpiY / 25.4 : 96 / 25.4);
    // The picture's window lands on the destination; records may move either.
    mapping.SetMapMode(MM_ANISOTROPIC);
    mapping.SetWindowOrg(info_.FrameLeft, info_.FrameTop);
    mapping.SetWindowExt(info_.FrameRight - info_.FrameLeft, info_.FrameBottom - info_.FrameTop);
    mapping.SetViewportOrg(destination.Left, destination.Top);
    mapping.SetViewportExt(width, height);
    MetafilePlayback playback(dc, destination, XForm{}, mapping, info_.ObjectCapacity);

    MetafileCursor in(bytes_);
    in.Seek(info_.FirstRecord);
    for (size_t records = 0; in.Remaining() >= 6 && records < kMaxMetafileRecords; ++records) {
        size_t start = in.Position();
        uint32_t words = in.U32();
        uint16_t function = in.U16();
        if (function == META_EOF || words < 3 || words > in.Remaining() / 2 + 3)
            break;
        MetafileCursor params(in.Slice(in.Position(), size_t{words} * 2 - 6));
        in.Seek(start + size_t{words} * 2);
        try {
            PlayRecord(playback, function, params);
        } catch (const EInvalidGraphic&) {
            // A record shorter than its parameters draws nothing; the rest
            // of the picture still shows.
        }
    }
}

void WmfPlayer::PlayRecord(MetafilePlayback& playback, uint16_t function, MetafileCursor& in) {
    switch (function) {
    case META_SAVEDC: playback.SaveDC(); break;
    case META_RESTOREDC: playback.RestoreDC(in.I16()); break;
    case META_SETBKMODE: playback.SetBkMode(in.U16()); break;
    case META_SETMAPMODE: playback.Mapping().SetMapMode(in.U16()); break;
    case META_SETROP2: playback.SetROP2(in.U16()); break;
    case META_SETPOLYFILLMODE: playback.SetPolyFillMode(in.U16()); break;
    case META_SETTEXTALIGN: playback.SetTextAlign(in.U16()); break;
    case META_SETBKCOLOR: playback.SetBkColor(static_cast<TColor>(in.U32())); break;
    case META_SETTEXTCOLOR: playback.SetTextColor(static_cast<TColor>(in.U32())); break;
    case META_SETWINDOWORG: {
        TPoint p = ReadPointYX(in);
        playback.Mapping().SetWindowOrg(p.X, p.Y);
        break;
    }
    case META_SETWINDOWEXT: {
        TPoint p = ReadPointYX(in);
        playback.Mapping().SetWindowExt(p.X, p.Y);
        break;
    }
    case META_SETVIEWPORTORG: {
        TPoint p = ReadPointYX(in);
        playback.Mapping().SetViewportOrg(p.X, p.Y);
        break;
    }
    case META_SETVIEWPORTEXT: {
        TPoint p = ReadPointYX(in);
        playback.Mapping().SetViewportExt(p.X, p.Y);
        break;
    }
    case META_OFFSETWINDOWORG: {
        TPoint p = ReadPointYX(in);
        playback.Mapping().OffsetWindowOrg(p.X, p.Y);
        break;
    }
    case META_OFFSETVIEWPORTORG: {
        TPoint p = ReadPointYX(in);
        playback.Mapping().OffsetViewportOrg(p.X, p.Y);
        break;
    }
    case META_SCALEWINDOWEXT:
    case META_SCALEVIEWPORTEXT: {
        int16_t yDenom = in.I16(), yNum = in.I16(), xDenom = in.I16(), xNum = in.I16();
        if (function == META_SCALEWINDOWEXT)
            playback.Mapping().ScaleWindowExt(xNum, xDenom, yNum, yDenom);
        else
            playback.Mapping().ScaleViewportExt(xNum, xDenom, yNum, yDenom);
        break;
    }
    case META_SELECTOBJECT: playback.SelectObject(in.U16()); break;
    case META_DELETEOBJECT: playback.Objects().Remove(in.U16()); break;
    case META_CREATEPENINDIRECT: {
        uint16_t style = in.U16();
        int16_t width = in.I16();
        in.Skip(2);
        TColor color = static_cast<TColor>(in.U32());
        MetafileObject object;
        object.kind = MetafileObject::Pen;
        object.pen = MakePen(style, width, color);
        AddObject(playback, object);
        break;
    }
    case META_CREATEBRUSHINDIRECT: {
        uint16_t style = in.U16();
        TColor color = static_cast<TColor>(in.U32());
        uint16_t hatch = in.U16();
        MetafileObject object;
        object.kind = MetafileObject::Brush;
        object.brush = MakeBrush(style, color, hatch);
        AddObject(playback, object);
        break;
    }
    case META_DIBCREATEPATTERNBRUSH: {
        in.Skip(2);
        uint16_t usage = in.U16();
        MetafileObject object;
        object.kind = MetafileObject::Brush;
        if (auto bitmap = DecodePackedMetafileDib(in.Take(in.Remaining()), usage))
            object.brush.Pattern = std::make_shared<const Dib>(std::move(bitmap->Pixels));
        AddObject(playback, object);
        break;
    }
    case META_CREATEFONTINDIRECT: {
        MetafileObject object;
        object.kind = MetafileObject::Font;
        LogFont& f = object.font;
        f.Height = in.I16();
        f.Width = in.I16();
        f.Escapement = in.I16();
        f.Orientation = in.I16();
        f.Weight = in.I16();
        f.Italic = in.U8() != 0;
        f.Underline = in.U8() != 0;
        f.StrikeOut = in.U8() != 0;
        f.CharSet = in.U8();
        f.OutPrecision = in.U8();
        f.ClipPrecision = in.U8();
        f.Quality = in.U8();
        f.PitchAndFamily = in.U8();
        auto name = in.Take(std::min<size_t>(in.Remaining(), LF_FACESIZE));
        for (uint8_t c : name) {
            if (!c)
                break;
            f.FaceName.push_back(static_cast<char>(c));
        }
        AddObject(playback, object);
        break;
    }
    // Objects the player does not draw with still take their slot, so the
    // numbers of the later objects stay right.
    case META_CREATEPATTERNBRUSH:
    case META_CREATEREGION:
    case META_CREATEPALETTE:
        AddObject(playback, MetafileObject{});
        break;
    case META_INTERSECTCLIPRECT: playback.IntersectClipRect(ReadRectReversed(in)); break;
    case META_MOVETO: playback.MoveTo(ReadPointYX(in)); break;
    case META_LINETO: playback.LineTo(ReadPointYX(in)); break;
    case META_RECTANGLE: playback.Rectangle(ReadRectReversed(in)); break;
    case META_ELLIPSE: playback.Ellipse(ReadRectReversed(in)); break;
    case META_ROUNDRECT: {
        int16_t h = in.I16(), w = in.I16();
        playback.RoundRect(ReadRectReversed(in), w, h);
        break;
    }
    case META_ARC:
    case META_PIE:
    case META_CHORD: {
        TPoint end = ReadPointYX(in);
        TPoint start = ReadPointYX(in);
        TRect box = ReadRectReversed(in);
        if (function == META_ARC)
            playback.Arc(box, start, end);
        else if (function == META_PIE)
            playback.Pie(box, start, end);
        else
            playback.Chord(box, start, end);
        break;
    }
    case META_POLYGON:
    case META_POLYLINE: {
        auto points = ReadPoints(in, in.U16());
        if (function == META_POLYGON)
            playback.Polygon(points);
        else
            playback.Polyline(points);
        break;
    }
    case META_POLYPOLYGON: {
        uint16_t polygons = in.U16();
        if (polygons > in.Remaining() / 2)
            break;
        std::vector<int32_t> counts(polygons);
        size_t total = 0;
        for (int32_t& count : counts) {
            count = in.U16();
            total += static_cast<size_t>(count);
        }
        auto points = ReadPoints(in, total);
        playback.PolyPolygon(points, counts);
        break;
    }
    case META_SETPIXEL: {
        TColor color = static_cast<TColor>(in.U32());
        playback.SetPixel(ReadPointYX(in), color);
        break;
    }
    case META_FLOODFILL: {
        TColor color = static_cast<TColor>(in.U32());
        playback.FloodFill(ReadPointYX(in), color, FLOODFILLBORDER);
        break;
    }
    case META_EXTFLOODFILL: {
        uint16_t mode = in.U16();
        TColor color = static_cast<TColor>(in.U32());
        playback.FloodFill(ReadPointYX(in), color, mode);
        break;
    }
    case META_PATBLT: {
        uint32_t rop = in.U32();
        int16_t h = in.I16(), w = in.I16();
        TPoint p = ReadPointYX(in);
        playback.PatBlt(Box(p.X, p.Y, w, h), rop);
        break;
    }
    case META_TEXTOUT: {
        int16_t count = in.I16();
        std::string text = ReadText(in, count);
        playback.Text(ReadPointYX(in), 0, nullptr, text);
        break;
    }
    case META_EXTTEXTOUT: {
        TPoint p = ReadPointYX(in);
        int16_t count = in.I16();
        uint16_t options = in.U16();
        TRect clip;
        bool hasRect = options & (ETO_OPAQUE | ETO_CLIPPED);
        if (hasRect) {
            clip.Left = in.I16();
            clip.Top = in.I16();
            clip.Right = in.I16();
            clip.Bottom = in.I16();
        }
        std::string text = ReadText(in, count);
        playback.Text(p, options, hasRect ? &clip : nullptr, text);
        break;
    }
    case META_STRETCHDIB: {
        uint32_t rop = in.U32();
        uint16_t usage = in.U16();
        int16_t sh = in.I16(), sw = in.I16(), sy = in.I16(), sx = in.I16();
        int16_t dh = in.I16(), dw = in.I16(), dy = in.I16(), dx = in.I16();
        PlayDib(playback, Box(dx, dy, dw, dh), Box(sx, sy, sw, sh), in.Take(in.Remaining()), usage, rop, false);
        break;
    }
    case META_DIBSTRETCHBLT:
    case META_STRETCHBLT: {
        // Without a bitmap the record carries one reserved word and paints the brush.
        bool withBitmap = in.Size() > 22;
        uint32_t rop = in.U32();
        int16_t sh = in.I16(), sw = in.I16(), sy = in.I16(), sx = in.I16();
        if (!withBitmap)
            in.Skip(2);
        int16_t dh = in.I16(), dw = in.I16(), dy = in.I16(), dx = in.I16();
        if (!withBitmap)
            playback.PatBlt(Box(dx, dy, dw, dh), rop);
        else if (function == META_DIBSTRETCHBLT)
            PlayDib(playback, Box(dx, dy, dw, dh), Box(sx, sy, sw, sh), in.Take(in.Remaining()),
                    DIB_RGB_COLORS, rop, true);
        else if (auto bitmap = DecodeMetafileBitmap16(in.Take(in.Remaining())))
            playback.StretchDib(Box(dx, dy, dw, dh), Box(sx, sy, sw, sh), *bitmap, rop);
        break;
    }
    case META_DIBBITBLT:
    case META_BITBLT: {
        bool withBitmap = in.Size() > 18;
        uint32_t rop = in.U32();
        int16_t sy = in.I16(), sx = in.I16();
        if (!withBitmap)
            in.Skip(2);
        int16_t h = in.I16(), w = in.I16(), dy = in.I16(), dx = in.I16();
        if (!withBitmap)
            playback.PatBlt(Box(dx, dy, w, h), rop);
        else if (function == META_DIBBITBLT)
            PlayDib(playback, Box(dx, dy, w, h), Box(sx, sy, w, h), in.Take(in.Remaining()),
                    DIB_RGB_COLORS, rop, true);
        else if (auto bitmap = DecodeMetafileBitmap16(in.Take(in.Remaining())))
            playback.StretchDib(Box(dx, dy, w, h), Box(sx, sy, w, h), *bitmap, rop);
        break;
    }
    case META_SETDIBTODEV: {
        uint16_t usage = in.U16();
        in.Skip(4);
        int16_t sy = in.I16(), sx = in.I16(), h = in.I16(), w = in.I16();
        TPoint p = ReadPointYX(in);
        PlayDib(playback, Box(p.X, p.Y, w, h), Box(sx, sy, w, h), in.Take(in.Remaining()), usage,
                SRCCOPY, false);
        break;
    }
    default:
        break;
    }
}

} // namespace rpt

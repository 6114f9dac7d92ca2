#include "platform/EmfPlayer.h"

#include "platform/MetafileCursor.h"
#include "platform/MetafileDib.h"
#include "platform/MetafilePlayback.h"
#include "platform/MetafileText.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <string>
#include <vector>

namespace rpt {

namespace {

enum EmfRecord : uint32_t {
    EMR_HEADER = 1,
    EMR_POLYBEZIER = 2,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETVIEWPORTORGEX = 12,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_MOVETOEX = 27,
    EMR_INTERSECTCLIPRECT = 30,
    EMR_SCALEVIEWPORTEXTEX = 31,
    EMR_SCALEWINDOWEXTEX = 32,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_ARC = 45,
    EMR_CHORD = 46,
    EMR_PIE = 47,
    EMR_CREATEPALETTE = 49,
    EMR_EXTFLOODFILL = 53,
    EMR_LINETO = 54,
    EMR_ARCTO = 55,
    EMR_SETARCDIRECTION = 57,
    EMR_BEGINPATH = 59,
    EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61,
    EMR_FILLPATH = 62,
    EMR_STROKEANDFILLPATH = 63,
    EMR_STROKEPATH = 64,
    EMR_SELECTCLIPPATH = 67,
    EMR_ABORTPATH = 68,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76,
    EMR_STRETCHBLT = 77,
    EMR_SETDIBITSTODEVICE = 80,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTA = 83,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYBEZIERTO16 = 88,
    EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91,
    EMR_CREATEMONOBRUSH = 93,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95,
    EMR_SMALLTEXTOUT = 108,
    EMR_ALPHABLEND = 114,
};

constexpr uint32_t kStockObject = 0x80000000u;
enum StockObject : uint32_t {
    WHITE_BRUSH = 0, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH,
    WHITE_PEN, BLACK_PEN, NULL_PEN, DC_BRUSH = 18, DC_PEN = 19,
};
constexpr uint32_t RGN_AND = 1, RGN_COPY = 5;
constexpr uint32_t PS_GEOMETRIC = 0x00010000;
constexpr uint32_t ETO_NO_RECT = 0x100, ETO_SMALL_CHARS = 0x200;

TPoint ReadPoint(MetafileCursor& in) {
    int32_t x = in.I32();
    int32_t y = in.I32();
    return {x, y};
}

TRect ReadRect(MetafileCursor& in) {
    int32_t l = in.I32(), t = in.I32(), r = in.I32(), b = in.I32();
    return {l, t, r, b};
}

std::vector<TPoint> ReadPoints(MetafileCursor& in, uint32_t count, bool small) {
    if (count > in.Remaining() / (small ? 4 : 8))
        throw EInvalidGraphic("Metafile record is truncated");
    std::vector<TPoint> points(count);
    for (TPoint& p : points) {
        p.X = small ? in.I16() : in.I32();
        p.Y = small ? in.I16() : in.I32();
    }
    return points;
}

XForm ReadXForm(MetafileCursor& in) {
    XForm t;
    t.eM11 = in.F32();
    t.eM12 = in.F32();
    t.eM21 = in.F32();
    t.eM22 = in.F32();
    t.eDx = in.F32();
    t.eDy = in.F32();
    return t;
}

LogBrush SolidBrush(TColor color) {
    LogBrush brush;
    brush.Color = color;
    return brush;
}

LogBrush MakeBrush(uint32_t style, TColor color, uint32_t hatch) {
    constexpr uint32_t BS_NULL = 1, BS_HATCHED = 2;
    LogBrush brush = SolidBrush(color & 0x00FFFFFF);
    if (style == BS_NULL)
        brush.Style = bsClear;
    else if (style == BS_HATCHED && hatch <= 5)
        brush.Style = static_cast<TBrushStyle>(bsHorizontal + hatch);
    return brush;
}

void SelectStock(MetafilePlayback& playback, uint32_t which) {
    switch (which) {
    case WHITE_BRUSH: case DC_BRUSH: playback.SelectBrush(SolidBrush(clWhite)); break;
    case LTGRAY_BRUSH: playback.SelectBrush(SolidBrush(RGB(0xC0, 0xC0, 0xC0))); break;
    case GRAY_BRUSH: playback.SelectBrush(SolidBrush(RGB(0x80, 0x80, 0x80))); break;
    case DKGRAY_BRUSH: playback.SelectBrush(SolidBrush(RGB(0x40, 0x40, 0x40))); break;
    case BLACK_BRUSH: playback.SelectBrush(SolidBrush(clBlack)); break;
    case NULL_BRUSH: {
        LogBrush brush;
        brush.Style = bsClear;
        playback.SelectBrush(brush);
        break;
    }
    case WHITE_PEN: playback.SelectPen({psSolid, 0, clWhite}); break;
    case BLACK_PEN: case DC_PEN: playback.SelectPen({psSolid, 0, clBlack}); break;
    case NULL_PEN: playback.SelectPen({psClear, 0, clBlack}); break;
    case 10: case 11: case 12: case 13: case 14: case 16: case 17:
        playback.SelectFont(std::nullopt);
        break;
    default: break;
    }
}

// A bitmap given by offsets into its record.
std::optional<MetafileBitmap> RecordDib(const MetafileCursor& record, uint32_t offInfo,
                                        uint32_t cbInfo, uint32_t offBits, uint32_t cbBits,
                                        uint32_t usage, bool keepAlpha = false) {
    if (cbInfo == 0)
        return std::nullopt;
    return DecodeMetafileDib(record.Slice(offInfo, cbInfo), record.Slice(offBits, cbBits), usage,
                             keepAlpha);
}

TRect Box(int32_t x, int32_t y, int32_t w, int32_t h) {
    auto end = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    return {x, y, end(static_cast<int64_t>(x) + w), end(static_cast<int64_t>(y) + h)};
}

uint8_t SelectedCharset(const MetafilePlayback& playback) {
    const auto& font = playback.SelectedFont();
    return font ? font->CharSet : uint8_t{ANSI_CHARSET};
}

void PlayPolyPoly(MetafilePlayback& playback, MetafileCursor& in, bool polygon, bool small) {
    in.Skip(16);
    uint32_t polys = in.U32();
    uint32_t total = in.U32();
    if (polys > in.Remaining() / 4)
        throw EInvalidGraphic("Metafile record is truncated");
    std::vector<int32_t> counts(polys);
    uint64_t sum = 0;
    for (int32_t& count : counts) {
        uint32_t c = in.U32();
        sum += c;
        count = static_cast<int32_t>(std::min<uint32_t>(c, INT32_MAX));
    }
    if (sum != total)
        return;
    auto points = ReadPoints(in, total, small);
    if (polygon)
        playback.PolyPolygon(points, counts);
    else
        playback.PolyPolyline(points, counts);
}

} // namespace

void EmfPlayer::Play(DeviceContext& dc, const TRect& destination) const {
    double frameWidth = info_.FrameRight - info_.FrameLeft;
    double frameHeight = info_.FrameBottom - info_.FrameTop;
    // In doubles: a destination from a hostile report may span the whole int32 range.
    double width = static_cast<double>(destination.Right) - destination.Left;
    double height = static_cast<double>(destination.Bottom) - destination.Top;
    if (width == 0 || height == 0 || !(frameWidth > 0) ||
        !(frameHeight > 0))
        return;
    // Reference-device pixels of the frame land on the destination.
    XForm base;
    base.eM11 = width / frameWidth;
    base.eM22 = height / frameHeight;
    base.eDx = destination.Left - info_.FrameLeft * base.eM11;
    base.eDy = destination.Top - info_.FrameTop * base.eM22;
    MetafileMapping mapping(info_.PixelsPerMmX, info_.PixelsPerMmY);
    MetafilePlayback playback(dc, destination, base, mapping, info_.ObjectCapacity);

    MetafileCursor in(bytes_);
    in.Seek(info_.FirstRecord);
    for (size_t records = 0; in.Remaining() >= 8 && records < kMaxMetafileRecords; ++records) {
        size_t start = in.Position();
        uint32_t type = in.U32();
        uint32_t size = in.U32();
        if (type == EMR_EOF || size < 8 || size - 8 > in.Remaining())
            break;
        MetafileCursor record(in.Slice(start, size));
        in.Seek(start + size);
        record.Skip(8);
        try {
            PlayRecord(playback, type, record);
        } catch (const EInvalidGraphic&) {
            // A record shorter than its parameters draws nothing; the rest
            // of the picture still shows.
        }
    }
}

void EmfPlayer::PlayRecord(MetafilePlayback& playback, uint32_t type, MetafileCursor& in) {
    switch (type) {
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO: case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16: case EMR_POLYLINETO16: {
        bool small = type >= EMR_POLYBEZIER16;
        in.Skip(16);
        auto points = ReadPoints(in, in.U32(), small);
        switch (small ? type - EMR_POLYBEZIER16 + EMR_POLYBEZIER : type) {
        case EMR_POLYBEZIER: playback.PolyBezier(points); break;
        case EMR_POLYGON: playback.Polygon(points); break;
        case EMR_POLYLINE: playback.Polyline(points); break;
        case EMR_POLYBEZIERTO: playback.PolyBezierTo(points); break;
        case EMR_POLYLINETO: playback.PolylineTo(points); break;
        }
        break;
    }
    case EMR_POLYPOLYLINE: PlayPolyPoly(playback, in, false, false); break;
    case EMR_POLYPOLYGON: PlayPolyPoly(playback, in, true, false); break;
    case EMR_POLYPOLYLINE16: PlayPolyPoly(playback, in, false, true); break;
    case EMR_POLYPOLYGON16: PlayPolyPoly(playback, in, true, true); break;
    case EMR_SETWINDOWEXTEX: {
        TPoint p = ReadPoint(in);
        playback.Mapping().SetWindowExt(p.X, p.Y);
        break;
    }
    case EMR_SETWINDOWORGEX: {
        TPoint p = ReadPoint(in);
        playback.Mapping().SetWindowOrg(p.X, p.Y);
        break;
    }
    case EMR_SETVIEWPORTEXTEX: {
        TPoint p = ReadPoint(in);
        playback.Mapping().SetViewportExt(p.X, p.Y);
        break;
    }
    case EMR_SETVIEWPORTORGEX: {
        TPoint p = ReadPoint(in);
        playback.Mapping().SetViewportOrg(p.X, p.Y);
        break;
    }
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
        int32_t xNum = in.I32(), xDenom = in.I32(), yNum = in.I32(), yDenom = in.I32();
        if (type == EMR_SCALEWINDOWEXTEX)
            playback.Mapping().ScaleWindowExt(xNum, xDenom, yNum, yDenom);
        else
            playback.Mapping().ScaleViewportExt(xNum, xDenom, yNum, yDenom);
        break;
    }
    case EMR_SETPIXELV: {
        TPoint p = ReadPoint(in);
        playback.SetPixel(p, static_cast<TColor>(in.U32()));
        break;
    }
    case EMR_SETMAPMODE: playback.Mapping().SetMapMode(in.I32()); break;
    case EMR_SETBKMODE: playback.SetBkMode(in.I32()); break;
    case EMR_SETPOLYFILLMODE: playback.SetPolyFillMode(in.I32()); break;
    case EMR_SETROP2: playback.SetROP2(in.I32()); break;
    case EMR_SETTEXTALIGN: playback.SetTextAlign(in.U32()); break;
    case EMR_SETTEXTCOLOR: playback.SetTextColor(static_cast<TColor>(in.U32())); break;
    case EMR_SETBKCOLOR: playback.SetBkColor(static_cast<TColor>(in.U32())); break;
    case EMR_SETARCDIRECTION: playback.SetArcDirection(in.I32()); break;
    case EMR_MOVETOEX: playback.MoveTo(ReadPoint(in)); break;
    case EMR_LINETO: playback.LineTo(ReadPoint(in)); break;
    case EMR_INTERSECTCLIPRECT: playback.IntersectClipRect(ReadRect(in)); break;
    case EMR_EXTSELECTCLIPRGN: {
        uint32_t dataSize = in.U32();
        uint32_t mode = in.U32();
        if (mode == RGN_COPY && dataSize == 0) {
            playback.ResetClip();
        } else if ((mode == RGN_COPY || mode == RGN_AND) && dataSize >= 32) {
            // The region is clipped to by its bounding rectangle.
            in.Skip(16);
            TRect bound = ReadRect(in);
            if (mode == RGN_COPY)
                playback.ResetClip();
            playback.IntersectViewportClipRect(bound);
        }
        break;
    }
    case EMR_SAVEDC: playback.SaveDC(); break;
    case EMR_RESTOREDC: playback.RestoreDC(in.I32()); break;
    case EMR_SETWORLDTRANSFORM: playback.SetWorldTransform(ReadXForm(in)); break;
    case EMR_MODIFYWORLDTRANSFORM: {
        XForm t = ReadXForm(in);
        playback.ModifyWorldTransform(t, in.I32());
        break;
    }
    case EMR_SELECTOBJECT: {
        uint32_t index = in.U32();
        if (index & kStockObject)
            SelectStock(playback, index & ~kStockObject);
        else
            playback.SelectObject(index);
        break;
    }
    case EMR_DELETEOBJECT: playback.Objects().Remove(in.U32()); break;
    case EMR_CREATEPEN: {
        uint32_t slot = in.U32();
        uint32_t style = in.U32();
        int32_t width = in.I32();
        in.Skip(4);
        MetafileObject object;
        object.kind = MetafileObject::Pen;
        uint32_t kind = style & 0x0F;
        object.pen.Style = kind <= psInsideFrame ? static_cast<TPenStyle>(kind) : psSolid;
        object.pen.Width = width < 0 ? 0 : width;
        object.pen.Color = static_cast<TColor>(in.U32()) & 0x00FFFFFF;
        playback.Objects().Put(slot, object);
        break;
    }
    case EMR_EXTCREATEPEN: {
        uint32_t slot = in.U32();
        in.Skip(16);
        uint32_t style = in.U32();
        uint32_t width = in.U32();
        uint32_t brushStyle = in.U32();
        TColor color = static_cast<TColor>(in.U32());
        MetafileObject object;
        object.kind = MetafileObject::Pen;
        uint32_t kind = style & 0x0F;
        object.pen.Style = brushStyle == 1 ? psClear
                           : kind <= psInsideFrame ? static_cast<TPenStyle>(kind) : psSolid;
        // A cosmetic pen is one device pixel wide whatever the mapping.
        object.pen.Width = (style & PS_GEOMETRIC) ? static_cast<int32_t>(std::min<uint32_t>(width, INT32_MAX)) : 0;
        object.pen.Color = color & 0x00FFFFFF;
        playback.Objects().Put(slot, object);
        break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        uint32_t slot = in.U32();
        uint32_t style = in.U32();
        TColor color = static_cast<TColor>(in.U32());
        MetafileObject object;
        object.kind = MetafileObject::Brush;
        object.brush = MakeBrush(style, color, in.U32());
        playback.Objects().Put(slot, object);
        break;
    }
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT: {
        uint32_t slot = in.U32();
        uint32_t usage = in.U32();
        uint32_t offInfo = in.U32(), cbInfo = in.U32(), offBits = in.U32(), cbBits = in.U32();
        MetafileObject object;
        object.kind = MetafileObject::Brush;
        if (auto bitmap = RecordDib(in, offInfo, cbInfo, offBits, cbBits, usage))
            object.brush.Pattern = std::make_shared<const Dib>(std::move(bitmap->Pixels));
        // A monochrome brush paints in the text and background colours.
        object.brush.Monochrome = type == EMR_CREATEMONOBRUSH;
        playback.Objects().Put(slot, object);
        break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        uint32_t slot = in.U32();
        MetafileObject object;
        object.kind = MetafileObject::Font;
        LogFont& f = object.font;
        f.Height = in.I32();
        f.Width = in.I32();
        f.Escapement = in.I32();
        f.Orientation = in.I32();
        f.Weight = in.I32();
        f.Italic = in.U8() != 0;
        f.Underline = in.U8() != 0;
        f.StrikeOut = in.U8() != 0;
        f.CharSet = in.U8();
        f.OutPrecision = in.U8();
        f.ClipPrecision = in.U8();
        f.Quality = in.U8();
        f.PitchAndFamily = in.U8();
        auto name = in.Take(std::min<size_t>(in.Remaining(), LF_FACESIZE * 2));
        size_t length = 0;
        while (length + 1 < name.size() && (name[length] | name[length + 1]))
            length += 2;
        f.FaceName = EncodeUtf16ForCharset(name.first(length), ANSI_CHARSET);
        playback.Objects().Put(slot, object);
        break;
    }
    case EMR_CREATEPALETTE:
        playback.Objects().Put(in.U32(), MetafileObject{});
        break;
    case EMR_ELLIPSE: playback.Ellipse(ReadRect(in)); break;
    case EMR_RECTANGLE: playback.Rectangle(ReadRect(in)); break;
    case EMR_ROUNDRECT: {
        TRect box = ReadRect(in);
        int32_t w = in.I32(), h = in.I32();
        playback.RoundRect(box, w, h);
        break;
    }
    case EMR_ARC: case EMR_CHORD: case EMR_PIE: case EMR_ARCTO: {
        TRect box = ReadRect(in);
        TPoint start = ReadPoint(in);
        TPoint end = ReadPoint(in);
        if (type == EMR_ARC) playback.Arc(box, start, end);
        else if (type == EMR_CHORD) playback.Chord(box, start, end);
        else if (type == EMR_PIE) playback.Pie(box, start, end);
        else playback.ArcTo(box, start, end);
        break;
    }
    case EMR_EXTFLOODFILL: {
        TPoint p = ReadPoint(in);
        TColor color = static_cast<TColor>(in.U32());
        playback.FloodFill(p, color, in.I32());
        break;
    }
    case EMR_BEGINPATH: playback.BeginPath(); break;
    case EMR_ENDPATH: playback.EndPath(); break;
    case EMR_CLOSEFIGURE: playback.CloseFigure(); break;
    case EMR_FILLPATH: playback.FillPath(); break;
    case EMR_STROKEANDFILLPATH: playback.StrokeAndFillPath(); break;
    case EMR_STROKEPATH: playback.StrokePath(); break;
    case EMR_SELECTCLIPPATH: playback.SelectClipPath(); break;
    case EMR_ABORTPATH: playback.AbortPath(); break;
    case EMR_BITBLT:
    case EMR_STRETCHBLT: {
        in.Skip(16);
        int32_t x = in.I32(), y = in.I32(), w = in.I32(), h = in.I32();
        uint32_t rop = in.U32();
        int32_t sx = in.I32(), sy = in.I32();
        in.Skip(24 + 4);
        uint32_t usage = in.U32();
        uint32_t offInfo = in.U32(), cbInfo = in.U32(), offBits = in.U32(), cbBits = in.U32();
        int32_t sw = w, sh = h;
        if (type == EMR_STRETCHBLT) {
            sw = in.I32();
            sh = in.I32();
        }
        if (cbInfo == 0) {
            playback.PatBlt(Box(x, y, w, h), rop);
        } else if (auto bitmap = RecordDib(in, offInfo, cbInfo, offBits, cbBits, usage)) {
            // These records keep their rows top-down in source coordinates.
            bitmap->BottomUp = false;
            playback.StretchDib(Box(x, y, w, h), Box(sx, sy, sw, sh), *bitmap, rop);
        }
        break;
    }
    case EMR_ALPHABLEND: {
        in.Skip(16);
        int32_t x = in.I32(), y = in.I32(), w = in.I32(), h = in.I32();
        uint32_t blend = in.U32();
        int32_t sx = in.I32(), sy = in.I32();
        in.Skip(24 + 4);
        uint32_t usage = in.U32();
        uint32_t offInfo = in.U32(), cbInfo = in.U32(), offBits = in.U32(), cbBits = in.U32();
        int32_t sw = in.I32(), sh = in.I32();
        // The blend function: operation, flags, constant alpha, alpha format.
        auto constantAlpha = static_cast<uint8_t>(blend >> 16);
        bool perPixelAlpha = (blend >> 24) & 1;
        if (auto bitmap = RecordDib(in, offInfo, cbInfo, offBits, cbBits, usage, perPixelAlpha)) {
            bitmap->BottomUp = false;
            playback.AlphaDib(Box(x, y, w, h), Box(sx, sy, sw, sh), *bitmap, constantAlpha,
                              perPixelAlpha);
        }
        break;
    }
    case EMR_SETDIBITSTODEVICE:
    case EMR_STRETCHDIBITS: {
        in.Skip(16);
        int32_t x = in.I32(), y = in.I32(), sx = in.I32(), sy = in.I32();
        int32_t sw = in.I32(), sh = in.I32();
        uint32_t offInfo = in.U32(), cbInfo = in.U32(), offBits = in.U32(), cbBits = in.U32();
        uint32_t usage = in.U32();
        uint32_t rop = SRCCOPY;
        int32_t w = sw, h = sh;
        if (type == EMR_STRETCHDIBITS) {
            rop = in.U32();
            w = in.I32();
            h = in.I32();
        }
        if (auto bitmap = RecordDib(in, offInfo, cbInfo, offBits, cbBits, usage))
            playback.StretchDib(Box(x, y, w, h), Box(sx, sy, sw, sh), *bitmap, rop);
        break;
    }
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW: {
        in.Skip(16 + 12);
        TPoint p = ReadPoint(in);
        uint32_t chars = in.U32();
        uint32_t offString = in.U32();
        uint32_t options = in.U32();
        TRect clip = ReadRect(in);
        bool wide = type == EMR_EXTTEXTOUTW;
        if (chars > in.Size())
            break;
        auto bytes = in.Slice(offString, size_t{chars} * (wide ? 2 : 1));
        std::string text = wide ? EncodeUtf16ForCharset(bytes, SelectedCharset(playback))
                                : std::string(bytes.begin(), bytes.end());
        bool hasClip = (options & (ETO_OPAQUE | ETO_CLIPPED)) && clip.Right > clip.Left &&
                       clip.Bottom > clip.Top;
        playback.Text(p, options, hasClip ? &clip : nullptr, text);
        break;
    }
    case EMR_SMALLTEXTOUT: {
        TPoint p = ReadPoint(in);
        uint32_t chars = in.U32();
        uint32_t options = in.U32();
        in.Skip(12);
        TRect clip;
        bool hasClip = !(options & ETO_NO_RECT);
        if (hasClip)
            clip = ReadRect(in);
        bool wide = !(options & ETO_SMALL_CHARS);
        if (chars > in.Size())
            break;
        auto bytes = in.Take(size_t{chars} * (wide ? 2 : 1));
        std::string text = wide ? EncodeUtf16ForCharset(bytes, SelectedCharset(playback))
                                : std::string(bytes.begin(), bytes.end());
        playback.Text(p, options, hasClip ? &clip : nullptr, text);
        break;
    }
    default:
        break;
    }
}

} // namespace rpt

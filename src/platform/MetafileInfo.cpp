#include "platform/MetafileInfo.h"

#include "platform/MetafileCursor.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace rpt {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;
constexpr size_t kWmfHeaderSize = 18;
constexpr uint32_t kEmfSignature = 0x464D4520;
constexpr size_t kEmfMinimumHeader = 88;
constexpr uint32_t EMR_HEADER = 1, EMR_EOF = 14;
// Writers often count their objects wrong in the header; a table this large
// still costs nothing until records fill it.
constexpr uint32_t kMinObjectCapacity = 1024;
constexpr uint16_t META_EOF = 0x0000, META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C;
constexpr uint16_t META_MOVETO = 0x0214, META_LINETO = 0x0213, META_RECTANGLE = 0x041B,
                   META_ELLIPSE = 0x0418, META_POLYGON = 0x0324, META_POLYLINE = 0x0325;

[[noreturn]] void Invalid(const char* why) {
    throw EInvalidGraphic(std::string("Invalid metafile: ") + why);
}

// The extent of what a picture without a window draws, from its plainest records.
struct Bounds {
    double left = std::numeric_limits<double>::max(), top = left;
    double right = std::numeric_limits<double>::lowest(), bottom = right;
    void Add(double x, double y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    bool Valid() const { return right > left && bottom > top; }
};

void AddWmfRecordBounds(uint16_t function, MetafileCursor params, Bounds& bounds) {
    auto pair = [&] {
        int16_t a = params.I16();
        int16_t b = params.I16();
        return std::pair{a, b};
    };
    switch (function) {
    case META_MOVETO:
    case META_LINETO: {
        if (params.Remaining() < 4)
            return;
        auto [y, x] = pair();
        bounds.Add(x, y);
        break;
    }
    case META_RECTANGLE:
    case META_ELLIPSE: {
        if (params.Remaining() < 8)
            return;
        auto [b, r] = pair();
        auto [t, l] = pair();
        bounds.Add(l, t);
        bounds.Add(r, b);
        break;
    }
    case META_POLYGON:
    case META_POLYLINE: {
        size_t count = std::min<size_t>(params.U16(), params.Remaining() / 4);
        for (size_t i = 0; i < count; ++i) {
            auto [x, y] = pair();
            bounds.Add(x, y);
        }
        break;
    }
    default: break;
    }
}

TMetafile::Info ReadWmf(std::span<const uint8_t> bytes) {
    TMetafile::Info info;
    MetafileCursor in(bytes);
    std::optional<TMetafile::Info> placeable;
    if (bytes.size() >= 4 && MetafileCursor(bytes).U32() == kPlaceableKey) {
        if (bytes.size() < kPlaceableSize)
            Invalid("the placeable header is truncated");
        in.Skip(6);
        int16_t left = in.I16(), top = in.I16(), right = in.I16(), bottom = in.I16();
        uint16_t inch = in.U16();
        in.Skip(6);
        if (inch == 0)
            inch = 1440;
        info.FrameLeft = left;
        info.FrameTop = top;
        info.FrameRight = right;
        info.FrameBottom = bottom;
        info.WidthMm = std::fabs(static_cast<double>(right) - left) * 25.4 / inch;
        info.HeightMm = std::fabs(static_cast<double>(bottom) - top) * 25.4 / inch;
        placeable = info;
    }
    if (in.Remaining() < kWmfHeaderSize)
        Invalid("the header is truncated");
    uint16_t type = in.U16();
    uint16_t headerWords = in.U16();
    in.Skip(2 + 4);
    uint16_t objects = in.U16();
    in.Skip(4 + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        Invalid("not a Windows metafile");
    info.ObjectCapacity = std::max<uint32_t>(objects, kMinObjectCapacity);
    info.FirstRecord = in.Position();

    std::optional<std::pair<int16_t, int16_t>> windowOrg, windowExt;
    Bounds bounds;
    for (size_t records = 0; in.Remaining() >= 6; ++records) {
        if (records >= kMaxMetafileRecords)
            Invalid("too many records");
        size_t start = in.Position();
        uint32_t words = in.U32();
        uint16_t function = in.U16();
        if (function == META_EOF)
            break;
        if (words < 3 || words > in.Remaining() / 2 + 3)
            Invalid("a record runs past the end of the file");
        MetafileCursor params(in.Slice(in.Position(), size_t{words} * 2 - 6));
        in.Seek(start + size_t{words} * 2);
        if (params.Remaining() >= 4 && (function == META_SETWINDOWORG || function == META_SETWINDOWEXT)) {
            int16_t y = params.I16(), x = params.I16();
            auto& slot = function == META_SETWINDOWORG ? windowOrg : windowExt;
            if (!slot)
                slot = std::pair{x, y};
        } else if (!placeable && params.Remaining() >= 2) {
            AddWmfRecordBounds(function, params, bounds);
        }
    }
    if (placeable)
        return info;
    // Without a placeable header the window the records set up is the picture;
    // without one either, whatever the simple records draw; its logical units
    // count as pixels at 96 per inch.
    if (windowExt && windowExt->first != 0 && windowExt->second != 0) {
        double x0 = windowOrg ? windowOrg->first : 0, y0 = windowOrg ? windowOrg->second : 0;
        info.FrameLeft = x0;
        info.FrameTop = y0;
        info.FrameRight = x0 + windowExt->first;
        info.FrameBottom = y0 + windowExt->second;
    } else if (bounds.Valid()) {
        info.FrameLeft = bounds.left;
        info.FrameTop = bounds.top;
        info.FrameRight = bounds.right;
        info.FrameBottom = bounds.bottom;
    } else {
        info.FrameRight = info.FrameBottom = 96;
    }
    info.WidthMm = std::fabs(info.FrameRight - info.FrameLeft) * 25.4 / 96;
    info.HeightMm = std::fabs(info.FrameBottom - info.FrameTop) * 25.4 / 96;
    return info;
}

TMetafile::Info ReadEmf(std::span<const uint8_t> bytes) {
    TMetafile::Info info;
    info.Enhanced = true;
    MetafileCursor in(bytes);
    in.Skip(4);
    uint32_t headerSize = in.U32();
    if (headerSize < kEmfMinimumHeader || headerSize > bytes.size() || headerSize % 4)
        Invalid("the enhanced header is truncated");
    int32_t bounds[4], frame[4];
    for (int32_t& v : bounds)
        v = in.I32();
    for (int32_t& v : frame)
        v = in.I32();
    if (in.U32() != kEmfSignature)
        Invalid("not an enhanced metafile");
    in.Skip(12);
    info.ObjectCapacity = std::max<uint32_t>(in.U16(), kMinObjectCapacity);
    in.Skip(2 + 12);
    int32_t deviceX = in.I32(), deviceY = in.I32(), mmX = in.I32(), mmY = in.I32();
    if (deviceX > 0 && deviceY > 0 && mmX > 0 && mmY > 0) {
        info.PixelsPerMmX = static_cast<double>(deviceX) / mmX;
        info.PixelsPerMmY = static_cast<double>(deviceY) / mmY;
    }
    double widthMm = (static_cast<double>(frame[2]) - frame[0]) / 100;
    double heightMm = (static_cast<double>(frame[3]) - frame[1]) / 100;
    if (widthMm > 0 && heightMm > 0) {
        info.FrameLeft = frame[0] / 100.0 * info.PixelsPerMmX;
        info.FrameTop = frame[1] / 100.0 * info.PixelsPerMmY;
        info.FrameRight = frame[2] / 100.0 * info.PixelsPerMmX;
        info.FrameBottom = frame[3] / 100.0 * info.PixelsPerMmY;
    } else {
        // No usable frame: the bounds, inclusive device pixels, stand in.
        info.FrameLeft = bounds[0];
        info.FrameTop = bounds[1];
        info.FrameRight = static_cast<double>(bounds[2]) + 1;
        info.FrameBottom = static_cast<double>(bounds[3]) + 1;
        widthMm = (info.FrameRight - info.FrameLeft) / info.PixelsPerMmX;
        heightMm = (info.FrameBottom - info.FrameTop) / info.PixelsPerMmY;
    }
    info.WidthMm = std::max(0.0, widthMm);
    info.HeightMm = std::max(0.0, heightMm);
    info.FirstRecord = headerSize;

    in.Seek(headerSize);
    for (size_t records = 0; in.Remaining() >= 8; ++records) {
        if (records >= kMaxMetafileRecords)
            Invalid("too many records");
        size_t start = in.Position();
        uint32_t type = in.U32();
        uint32_t size = in.U32();
        if (size < 8 || size - 8 > in.Remaining())
            Invalid("a record runs past the end of the file");
        in.Seek(start + size);
        if (type == EMR_EOF)
            break;
    }
    return info;
}

} // namespace

TMetafile::Info ReadMetafileInfo(std::span<const uint8_t> bytes) {
    if (bytes.size() >= 8 && MetafileCursor(bytes).U32() == EMR_HEADER)
        return ReadEmf(bytes);
    if (bytes.size() < kWmfHeaderSize)
        Invalid("the file is too short");
    return ReadWmf(bytes);
}

} // namespace rpt

#include "reader/TReportDecoder.h"

#include "device/EQuillet.h"
#include "device/Translate.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"

#include <bit>
#include <algorithm>

namespace rpt {

namespace {

// A kind or flag byte strictly above this marks data stored by reference.
constexpr uint8_t kByReference = 0x80;

} // namespace

void TReportDecoder::CheckAvailable(int64_t count) const {
    if (count < 0 || count > stream_.Remaining())
        throw EReadError();
}

void TReportDecoder::Bytes(void* buffer, int64_t count) {
    CheckAvailable(count);
    stream_.ReadBuffer(buffer, count);
}

uint8_t TReportDecoder::Byte() {
    uint8_t b = 0;
    stream_.ReadBuffer(&b, 1);
    return b;
}

int16_t TReportDecoder::Int16() {
    uint8_t b[2];
    stream_.ReadBuffer(b, 2);
    return static_cast<int16_t>(uint16_t(b[0] | b[1] << 8));
}

int32_t TReportDecoder::Int32() {
    uint8_t b[4];
    stream_.ReadBuffer(b, 4);
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                uint32_t(b[3]) << 24);
}

double TReportDecoder::Single() {
    return static_cast<double>(std::bit_cast<float>(static_cast<uint32_t>(Int32())));
}

std::string TReportDecoder::String() {
    int32_t length = Byte();
    if (formatVersion_ >= 2016 && length >= 0xC0)
        length = (length - 0xC0) * 256 + Byte();
    std::string text(static_cast<size_t>(std::min<int64_t>(length, stream_.Remaining())), '\0');
    if (static_cast<int32_t>(text.size()) != length)
        throw EReadError();
    stream_.ReadBuffer(text.data(), length);
    return text;
}

std::string TReportDecoder::SlotString() { return SlotStringAt(0); }

std::string TReportDecoder::SlotStringAt(int depth) {
    const uint8_t size = Byte();
    const uint8_t length = Byte();
    const bool reference = length >= 254;
    if (size > kMaxSlotSize || (reference && size < 4) || (!reference && length > size))
        RaiseError(Translate("Invalid slot string found in report file."));
    uint8_t slot[kMaxSlotSize] = {};
    Bytes(slot, size);
    if (!reference)
        return std::string(reinterpret_cast<const char*>(slot), length);

    // A chain of references deeper than any writer makes is taken for a loop.
    if (depth >= kMaxSlotReferenceDepth)
        RaiseError(Translate("Slot string reference loop found in report file."));
    const int32_t offset = static_cast<int32_t>(uint32_t(slot[0]) | uint32_t(slot[1]) << 8 |
                                  uint32_t(slot[2]) << 16 | uint32_t(slot[3]) << 24);
    const int64_t resume = stream_.Position();
    stream_.SetPosition(offset);
    std::string text = SlotStringAt(depth + 1);
    stream_.SetPosition(resume);
    return text;
}

TInchPoint TReportDecoder::Point() {
    TInchPoint p;
    p.X = Single();
    p.Y = Single();
    return p;
}

TInchRect TReportDecoder::Rect() {
    TInchPoint lt = Point();
    TInchPoint rb = Point();
    return {lt.X, lt.Y, rb.X, rb.Y};
}

std::vector<TInchPoint> TReportDecoder::PointList() {
    const int32_t highest = Int16();
    const int64_t count = int64_t(highest) + 1;
    if (count < 0)
        throw EReadError();
    CheckAvailable(count * 8);
    std::vector<TInchPoint> points(static_cast<size_t>(count));
    for (TInchPoint& p : points)
        p = Point();
    return points;
}

std::vector<uint8_t> TReportDecoder::GraphicData(bool byReference, int32_t* offset) {
    int64_t resume = -1;
    if (byReference) {
        const int32_t at = Int32();
        if (offset)
            *offset = at;
        resume = stream_.Position();
        stream_.SetPosition(at);
    }
    const int32_t size = Int32();
    CheckAvailable(size);
    std::vector<uint8_t> data(static_cast<size_t>(size));
    stream_.ReadBuffer(data.data(), size);
    if (byReference)
        stream_.SetPosition(resume);
    return data;
}

TGraphicBlock TReportDecoder::Graphic() {
    const uint8_t k = Byte();
    TGraphicBlock block;
    block.Kind = k & 0x7F;
    block.ByReference = k > kByReference;
    if (block.Kind < 1 || block.Kind > 3)
        RaiseError(Translate("Invalid graphic kind found in report file."));
    block.Data = GraphicData(block.ByReference, &block.Offset);
    return block;
}

TGraphicBlock TReportDecoder::PatternBitmap() {
    const uint8_t f = Byte();
    TGraphicBlock block;
    block.Kind = 1;
    block.ByReference = f > kByReference;
    block.Data = GraphicData(block.ByReference, &block.Offset);
    return block;
}

TBrushValue TReportDecoder::BrushDesc() {
    TBrushValue brush;
    brush.Color = Int32();
    brush.Style = Byte();
    if (Byte() != 0)
        brush.Pattern = PatternBitmap();
    return brush;
}

TPenValue TReportDecoder::PenDesc() {
    TPenValue pen;
    pen.Color = Int32();
    pen.Mode = Byte();
    pen.Style = Byte();
    pen.Width = Single();
    return pen;
}

TFontValue TReportDecoder::FontDesc() {
    TFontValue font;
    font.Name = String();
    font.Color = Int32();
    font.Pitch = Byte();
    font.Charset = formatVersion_ >= 2018 ? Byte() : 1;
    font.Height = Single();
    font.Bold = Byte() != 0;
    font.Italic = Byte() != 0;
    font.Underline = Byte() != 0;
    font.StrikeOut = Byte() != 0;
    font.Rotation = formatVersion_ >= 2000 ? Int16() : 0;
    return font;
}

TImageValue TReportDecoder::ImageBlock() {
    TImageValue image;
    image.Data = GraphicData(false);
    image.Type = String();
    image.Rect.Left = Single();
    image.Rect.Top = Single();
    image.Rect.Right = Single();
    image.Rect.Bottom = Single();
    return image;
}

TRawData TReportDecoder::RawData() {
    const int32_t n = Int32();
    TRawData raw;
    raw.Start = stream_.Position();
    raw.Count = n == 0 ? stream_.Remaining() : n;
    CheckAvailable(raw.Count);
    return raw;
}

TOperandValue TReportDecoder::Operand(TOperandKind kind) {
    switch (kind) {
    case TOperandKind::okByte: return int32_t(Byte());
    case TOperandKind::okInt16: return int32_t(Int16());
    case TOperandKind::okInt32: return Int32();
    case TOperandKind::okSingle: return Single();
    case TOperandKind::okString: return String();
    case TOperandKind::okSlotString: return SlotString();
    case TOperandKind::okInchPoint: return Point();
    case TOperandKind::okInchRect: return Rect();
    case TOperandKind::okPointList: return PointList();
    case TOperandKind::okGraphic: return Graphic();
    case TOperandKind::okOptionalPattern: {
        TPatternValue pattern;
        if (Byte() != 0)
            pattern.Bitmap = PatternBitmap();
        return pattern;
    }
    case TOperandKind::okBrushDesc: return BrushDesc();
    case TOperandKind::okPenDesc: return PenDesc();
    case TOperandKind::okFontDesc: return FontDesc();
    case TOperandKind::okImageBlock: return ImageBlock();
    case TOperandKind::okRawData: return RawData();
    case TOperandKind::okSampleWidth:
        if (formatVersion_ >= 2000)
            return Single();
        return TAbsent{};
    }
    return TAbsent{};
}

std::vector<TOperandValue> TReportDecoder::Operands(const TCommandSpec& command) {
    std::vector<TOperandValue> values;
    values.reserve(command.Operands.size());
    for (const TOperandSpec& operand : command.Operands)
        values.push_back(Operand(operand.Kind));
    return values;
}

} // namespace rpt

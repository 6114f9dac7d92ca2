#pragma once
// Reads the operand kinds of a report file from a stream, laid out as the
// file's format version says. Every size and count is checked against the
// bytes left in the stream before anything is allocated, and references are
// followed to a bounded depth, so hostile files end in an error, never in a
// crash, a hang or a huge allocation.
#include "reader/ReportFormat.h"
#include "reader/ReportOperands.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rpt {

class TStream;

class TReportDecoder {
public:
    static constexpr int kMaxSlotSize = 128;
    static constexpr int kMaxSlotReferenceDepth = 16;

    TReportDecoder(TStream& stream, int32_t formatVersion)
        : stream_(stream), formatVersion_(formatVersion) {}

    uint8_t Byte();
    int16_t Int16();
    int32_t Int32();
    double Single();
    void Bytes(void* buffer, int64_t count);

    // The text as stored, macros not expanded.
    std::string String();
    std::string SlotString();
    TInchPoint Point();
    TInchRect Rect();
    std::vector<TInchPoint> PointList();
    // A size and that many bytes, at the current position or, by reference,
    // at the offset read here; reading goes on after the offset.
    std::vector<uint8_t> GraphicData(bool byReference, int32_t* offset = nullptr);
    // Kind byte and data; a kind other than 1..3 is refused.
    TGraphicBlock Graphic();
    // Flag byte and the data of a bitmap.
    TGraphicBlock PatternBitmap();
    TBrushValue BrushDesc();
    TPenValue PenDesc();
    TFontValue FontDesc();
    TImageValue ImageBlock();
    // Reads the count and leaves the stream at the first data byte; the
    // caller moves past the data.
    TRawData RawData();

    TOperandValue Operand(TOperandKind kind);
    std::vector<TOperandValue> Operands(const TCommandSpec& command);

private:
    std::string SlotStringAt(int depth);
    void CheckAvailable(int64_t count) const;

    TStream& stream_;
    int32_t formatVersion_;
};

} // namespace rpt

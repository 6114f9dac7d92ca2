#pragma once
// Operand values as a report file stores them: inches, file colours and the
// bytes of embedded graphics, before anything is converted or applied.
#include "platform/Color.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace rpt {

struct TInchPoint {
    double X = 0;
    double Y = 0;
};

struct TInchRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

// An embedded bitmap (1), metafile (2) or icon (3) file.
struct TGraphicBlock {
    uint8_t Kind = 0;
    bool ByReference = false;
    int32_t Offset = 0; // where the data lies, for data stored by reference
    std::vector<uint8_t> Data;
};

struct TPatternValue {
    std::optional<TGraphicBlock> Bitmap;
};

struct TBrushValue {
    TColor Color = 0;
    uint8_t Style = 0;
    std::optional<TGraphicBlock> Pattern;
};

struct TPenValue {
    TColor Color = 0;
    uint8_t Mode = 0;
    uint8_t Style = 0;
    double Width = 0; // inches
};

struct TFontValue {
    std::string Name;
    TColor Color = 0;
    uint8_t Pitch = 0;
    uint8_t Charset = 1;
    double Height = 0; // inches
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int16_t Rotation = 0;
};

struct TImageValue {
    std::vector<uint8_t> Data;
    std::string Type;
    TInchRect Rect;
};

// Raw printer data that follows in the file: Count bytes from Start.
struct TRawData {
    int64_t Start = 0;
    int64_t Count = 0;
};

// An operand that this format version does not carry.
struct TAbsent {};

// Byte, Int16 and Int32 operands are held as int32_t, Singles as double.
using TOperandValue =
    std::variant<TAbsent, int32_t, double, std::string, TInchPoint, TInchRect,
                 std::vector<TInchPoint>, TGraphicBlock, TPatternValue, TBrushValue, TPenValue,
                 TFontValue, TImageValue, TRawData>;

} // namespace rpt

#pragma once
// The page commands of a report file: code, name and operands in file order.
// The playback and the command dump both read a command's operands from this
// one table, so what is played and what is listed cannot differ.
#include <cstdint>
#include <span>

namespace rpt {

enum class TOperandKind : uint8_t {
    okByte,
    okInt16,
    okInt32,
    okSingle,
    okString,
    okSlotString,
    okInchPoint,
    okInchRect,
    okPointList,
    okGraphic,
    okOptionalPattern, // Byte flag, then a PatternBitmap when it is not 0
    okBrushDesc,
    okPenDesc,
    okFontDesc,
    okImageBlock,
    okRawData,         // Int32 N, then N bytes (0: up to the end of the file)
    okSampleWidth,     // a Single, present from format 2000 on
};

struct TOperandSpec {
    TOperandKind Kind;
    const char* Name;
};

struct TCommandSpec {
    uint8_t Code;
    const char* Name;
    std::span<const TOperandSpec> Operands;
};

constexpr uint8_t kEndOfPage = 82;
constexpr uint8_t kPageMarker = 'P';

// The command with the code, or null when the code is not a command.
const TCommandSpec* FindCommand(uint8_t code);
// Every command, in code order.
std::span<const TCommandSpec> Commands();
// "Byte", "InchRect", ... for listings.
const char* OperandKindName(TOperandKind kind);

} // namespace rpt

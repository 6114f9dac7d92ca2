#include "reader/ReportFormat.h"

#include <array>

namespace rpt {

namespace {

using K = TOperandKind;

constexpr TOperandSpec kFourCorners[] = {
    {K::okSingle, "x1"}, {K::okSingle, "y1"}, {K::okSingle, "x2"}, {K::okSingle, "y2"},
    {K::okSingle, "x3"}, {K::okSingle, "y3"}, {K::okSingle, "x4"}, {K::okSingle, "y4"}};
constexpr TOperandSpec kTwoCorners[] = {
    {K::okSingle, "x1"}, {K::okSingle, "y1"}, {K::okSingle, "x2"}, {K::okSingle, "y2"}};
constexpr TOperandSpec kPoint[] = {{K::okSingle, "x"}, {K::okSingle, "y"}};
constexpr TOperandSpec kRect[] = {{K::okInchRect, "rect"}};
constexpr TOperandSpec kPoints[] = {{K::okPointList, "points"}};
constexpr TOperandSpec kText[] = {{K::okSingle, "y"}, {K::okString, "text"}, {K::okSingle, "x"}};
constexpr TOperandSpec kBlock[] = {
    {K::okSingle, "y"}, {K::okString, "text"}, {K::okSingle, "x"}, {K::okSingle, "width"}};
constexpr TOperandSpec kByte[] = {{K::okByte, "value"}};
constexpr TOperandSpec kColor[] = {{K::okInt32, "colour"}};
constexpr TOperandSpec kSingle[] = {{K::okSingle, "value"}};
constexpr TOperandSpec kString[] = {{K::okString, "text"}};
constexpr std::span<const TOperandSpec> kNone{};

constexpr TOperandSpec kBrushCopy[] = {{K::okGraphic, "bitmap"},
                                       {K::okInchRect, "dest"},
                                       {K::okInchRect, "source"},
                                       {K::okInt32, "colour"}};
constexpr TOperandSpec kCopyRect[] = {
    {K::okInchRect, "dest"}, {K::okInt32, "canvas"}, {K::okInchRect, "source"}};
constexpr TOperandSpec kDraw[] = {{K::okGraphic, "graphic"}, {K::okSingle, "x"}, {K::okSingle, "y"}};
constexpr TOperandSpec kFloodFill[] = {
    {K::okSingle, "x"}, {K::okSingle, "y"}, {K::okInt32, "colour"}, {K::okInt32, "fill style"}};
constexpr TOperandSpec kPrintBitmap[] = {{K::okGraphic, "bitmap"},
                                         {K::okSingle, "x"},
                                         {K::okSingle, "y"},
                                         {K::okSingle, "scale x"},
                                         {K::okSingle, "scale y"}};
constexpr TOperandSpec kPrintBitmapRect[] = {{K::okGraphic, "bitmap"},
                                             {K::okSingle, "x1"},
                                             {K::okSingle, "y1"},
                                             {K::okSingle, "x2"},
                                             {K::okSingle, "y2"}};
constexpr TOperandSpec kRoundRect[] = {{K::okSingle, "x1"}, {K::okSingle, "y1"},
                                       {K::okSingle, "x2"}, {K::okSingle, "y2"},
                                       {K::okSingle, "corner width"}, {K::okSingle, "corner height"}};
constexpr TOperandSpec kStretchDraw[] = {{K::okGraphic, "graphic"}, {K::okInchRect, "rect"}};
constexpr TOperandSpec kTextRect[] = {
    {K::okInchRect, "rect"}, {K::okSingle, "x"}, {K::okSingle, "y"}, {K::okString, "text"}};
constexpr TOperandSpec kRawData[] = {{K::okRawData, "data"}};
constexpr TOperandSpec kImage[] = {{K::okImageBlock, "image"}};
constexpr TOperandSpec kReportVar[] = {{K::okString, "name"}, {K::okSlotString, "value"}};
constexpr TOperandSpec kBrush[] = {{K::okBrushDesc, "brush"}};
constexpr TOperandSpec kPattern[] = {{K::okOptionalPattern, "pattern"}};
constexpr TOperandSpec kFont[] = {{K::okFontDesc, "font"}};
constexpr TOperandSpec kFontHeight[] = {{K::okSingle, "height"}, {K::okSampleWidth, "sample width"}};
constexpr TOperandSpec kRotation[] = {{K::okInt16, "degrees"}};
constexpr TOperandSpec kPen[] = {{K::okPenDesc, "pen"}};
constexpr TOperandSpec kWidth[] = {{K::okSingle, "width"}};
constexpr TOperandSpec kLineMetrics[] = {
    {K::okSingle, "ascent"}, {K::okSingle, "descent"}, {K::okSingle, "line height"}};

constexpr TCommandSpec kCommands[] = {
    {1, "arc", kFourCorners},
    {2, "brush copy", kBrushCopy},
    {3, "chord", kFourCorners},
    {4, "copy rectangle", kCopyRect},
    {5, "draw graphic", kDraw},
    {6, "draw focus rectangle", kRect},
    {7, "ellipse", kTwoCorners},
    {8, "fill rectangle", kRect},
    {9, "flood fill", kFloodFill},
    {10, "frame rectangle", kRect},
    {11, "line to", kPoint},
    {12, "move to", kPoint},
    {13, "pie", kFourCorners},
    {14, "polygon", kPoints},
    {15, "polyline", kPoints},
    {16, "print bitmap", kPrintBitmap},
    {17, "print bitmap in rectangle", kPrintBitmapRect},
    {18, "rectangle", kTwoCorners},
    {19, "tab rectangle", kTwoCorners},
    {20, "round rectangle", kRoundRect},
    {21, "stretch draw", kStretchDraw},
    {22, "text in rectangle", kTextRect},
    {23, "print centred", kText},
    {24, "print left", kText},
    {25, "print right", kText},
    {26, "background mode", kByte},
    {27, "background colour", kColor},
    {28, "spare", kSingle},
    {29, "spare", kSingle},
    {30, "raw printer data", kString},
    {31, "raw printer data block", kRawData},
    {32, "print block", kBlock},
    {33, "print block", kBlock},
    {34, "bitmap combine mode", kByte},
    {35, "frame mode", kByte},
    {36, "image", kImage},
    {37, "report variable", kReportVar},
    {40, "brush", kBrush},
    {41, "brush colour", kColor},
    {42, "brush style", kByte},
    {43, "brush pattern", kPattern},
    {50, "font", kFont},
    {51, "font name", kString},
    {52, "font colour", kColor},
    {53, "font pitch", kByte},
    {54, "font height", kFontHeight},
    {55, "bold", kByte},
    {56, "underline", kByte},
    {57, "italic", kByte},
    {58, "strike-out", kByte},
    {59, "superscript", kByte},
    {60, "subscript", kByte},
    {61, "rotation", kRotation},
    {62, "vertical text alignment", kByte},
    {63, "character set", kByte},
    {70, "pen", kPen},
    {71, "pen colour", kColor},
    {72, "pen mode", kByte},
    {73, "pen style", kByte},
    {74, "pen width", kWidth},
    {82, "end of page", kNone},
    {83, "line metrics", kLineMetrics},
    {84, "output to preview only", kNone},
    {85, "output to printer only", kNone},
    {86, "output to preview and printer", kNone},
    {87, "orientation for the following pages", kByte},
    {88, "paper bin", kString},
};

constexpr auto kByCode = [] {
    std::array<const TCommandSpec*, 256> table{};
    for (const TCommandSpec& command : kCommands)
        table[command.Code] = &command;
    return table;
}();

} // namespace

const TCommandSpec* FindCommand(uint8_t code) { return kByCode[code]; }

std::span<const TCommandSpec> Commands() { return kCommands; }

const char* OperandKindName(TOperandKind kind) {
    switch (kind) {
    case K::okByte: return "Byte";
    case K::okInt16: return "Int16";
    case K::okInt32: return "Int32";
    case K::okSingle: return "Single";
    case K::okString: return "String";
    case K::okSlotString: return "SlotString";
    case K::okInchPoint: return "InchPoint";
    case K::okInchRect: return "InchRect";
    case K::okPointList: return "PointList";
    case K::okGraphic: return "Graphic";
    case K::okOptionalPattern: return "PatternBitmap";
    case K::okBrushDesc: return "BrushDesc";
    case K::okPenDesc: return "PenDesc";
    case K::okFontDesc: return "FontDesc";
    case K::okImageBlock: return "ImageBlock";
    case K::okRawData: return "RawData";
    case K::okSampleWidth: return "Single";
    }
    return "?";
}

} // namespace rpt

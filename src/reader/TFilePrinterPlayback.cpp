// The page playback of TFilePrinter: one handler per page command, fed with
// the operands that the command table lists, read in file order.
#include "device/EQuillet.h"
#include "device/Translate.h"
#include "platform/Exceptions.h"
#include "platform/Graphics.h"
#include "platform/Stream.h"
#include "reader/GraphicFactory.h"
#include "reader/TFilePrinter.h"

#include <algorithm>

namespace rpt {

namespace {

constexpr const char* kWidthSample =
    "abcdefg hijklmnop qrstuv wxyz ABCDEFG HIJKLMNOP QRSTUV WXYZ 0123456789";
// The width fitting takes a few dozen steps for real fonts; a hostile height
// of thousands of inches would otherwise realise a new font for every step.
constexpr int kMaxFittingSteps = 2000;

// Typed views of the decoded operands of one command.
class Operands {
public:
    explicit Operands(std::vector<TOperandValue>& values) : values_(values) {}
    double Num(size_t i) const { return std::get<double>(values_.at(i)); }
    int32_t Int(size_t i) const { return std::get<int32_t>(values_.at(i)); }
    uint8_t Byte(size_t i) const { return static_cast<uint8_t>(Int(i)); }
    bool Flag(size_t i) const { return Int(i) != 0; }
    const std::string& Text(size_t i) const { return std::get<std::string>(values_.at(i)); }
    const TInchRect& Rect(size_t i) const { return std::get<TInchRect>(values_.at(i)); }
    const std::vector<TInchPoint>& Points(size_t i) const {
        return std::get<std::vector<TInchPoint>>(values_.at(i));
    }
    const TGraphicBlock& Graphic(size_t i) const { return std::get<TGraphicBlock>(values_.at(i)); }
    template <class T> const T& As(size_t i) const { return std::get<T>(values_.at(i)); }
    bool Present(size_t i) const { return !std::holds_alternative<TAbsent>(values_.at(i)); }

private:
    std::vector<TOperandValue>& values_;
};

const TBitmap& AsBitmap(const TGraphic& graphic) {
    auto* bitmap = dynamic_cast<const TBitmap*>(&graphic);
    if (!bitmap)
        throw EInvalidCast();
    return *bitmap;
}

} // namespace

void TFilePrinter::PrintPage(int32_t n) {
    GotoPage(n);
    UpdateStatus();
    // Every command consumes at least its code byte and the stream ends, so
    // the loop ends at command 82 or with the stream's read error.
    for (;;) {
        const uint8_t code = ReadByte();
        const TCommandSpec* command = FindCommand(code);
        if (!command)
            UnexpectedCode();
        if (code == kEndOfPage)
            break;
        std::vector<TOperandValue> operands = ReadOperands(*command);
        PlayCommand(code, operands);
    }
    if (NextOrientation != 2) {
        SetOrientation(NextOrientation);
        NextOrientation = 2;
    }
}

void TFilePrinter::PlayCommand(uint8_t code, std::vector<TOperandValue>& values) {
    const Operands op(values);
    switch (code) {
    case 1:
        Arc(op.Num(0), op.Num(1), op.Num(2), op.Num(3), op.Num(4), op.Num(5), op.Num(6), op.Num(7));
        break;
    case 2: {
        auto graphic = MakeGraphic(op.Graphic(0));
        BrushCopy(ToDev(op.Rect(1)), AsBitmap(*graphic), ToDev(op.Rect(2)), op.Int(3));
        break;
    }
    case 3:
        Chord(op.Num(0), op.Num(1), op.Num(2), op.Num(3), op.Num(4), op.Num(5), op.Num(6),
              op.Num(7));
        break;
    case 4: CopyRect(ToDev(op.Rect(0)), op.Int(1), ToDev(op.Rect(2))); break;
    case 5: {
        auto graphic = MakeGraphic(op.Graphic(0));
        Draw(op.Num(1), op.Num(2), *graphic);
        break;
    }
    case 6: DrawFocusRect(ToDev(op.Rect(0))); break;
    case 7: Ellipse(op.Num(0), op.Num(1), op.Num(2), op.Num(3)); break;
    case 8: FillRect(ToDev(op.Rect(0))); break;
    case 9:
        FloodFill(op.Num(0), op.Num(1), op.Int(2), op.Int(3) == 0 ? fsSurface : fsBorder);
        break;
    case 10: FrameRect(ToDev(op.Rect(0))); break;
    case 11: LineTo(op.Num(0), op.Num(1)); break;
    case 12: MoveTo(op.Num(0), op.Num(1)); break;
    case 13:
        Pie(op.Num(0), op.Num(1), op.Num(2), op.Num(3), op.Num(4), op.Num(5), op.Num(6), op.Num(7));
        break;
    case 14:
    case 15: {
        const auto& inches = op.Points(0);
        std::vector<TPoint> points(inches.size());
        std::transform(inches.begin(), inches.end(), points.begin(), [this](const TInchPoint& p) {
            return TPoint{UnitToDevX(p.X), UnitToDevY(p.Y)};
        });
        if (code == 14)
            Polygon(points);
        else
            Polyline(points);
        break;
    }
    case 16: {
        auto graphic = MakeGraphic(op.Graphic(0));
        PrintBitmap(op.Num(1), op.Num(2), op.Num(3), op.Num(4), AsBitmap(*graphic));
        break;
    }
    case 17: {
        auto graphic = MakeGraphic(op.Graphic(0));
        PrintBitmapRect(op.Num(1), op.Num(2), op.Num(3), op.Num(4), AsBitmap(*graphic));
        break;
    }
    case 18: Rectangle(op.Num(0), op.Num(1), op.Num(2), op.Num(3)); break;
    case 19: TabRectangle(op.Num(0), op.Num(1), op.Num(2), op.Num(3)); break;
    case 20: RoundRect(op.Num(0), op.Num(1), op.Num(2), op.Num(3), op.Num(4), op.Num(5)); break;
    case 21: {
        auto graphic = MakeGraphic(op.Graphic(0));
        StretchDraw(ToDev(op.Rect(1)), *graphic);
        break;
    }
    case 22: TextRect(ToDev(op.Rect(0)), op.Num(1), op.Num(2), op.Text(3)); break;
    case 23:
        CursorY = op.Num(0);
        PrintCenter(op.Text(1), op.Num(2));
        break;
    case 24:
        CursorY = op.Num(0);
        PrintLeft(op.Text(1), op.Num(2));
        break;
    case 25:
        CursorY = op.Num(0);
        PrintRight(op.Text(1), op.Num(2));
        break;
    case 26: SetBackMode(op.Byte(0)); break;
    case 27: SetBackColor(op.Int(0)); break;
    case 28:
    case 29: break;
    case 30: PrintData(op.Text(0)); break;
    case 31: {
        // The renderer reads the bytes only when output goes ahead; the
        // playback goes on after them either way.
        const TRawData& raw = op.As<TRawData>(0);
        PrintDataStream(*InputStream, static_cast<int32_t>(raw.Count));
        InputStream->SetPosition(raw.Start + raw.Count);
        break;
    }
    case 32:
    case 33:
        CursorY = op.Num(0);
        PrintBlock(op.Text(1), op.Num(2), op.Num(3));
        break;
    case 34: BitmapRopAnd = op.Flag(0); break;
    case 35: SetFrameMode(op.Byte(0)); break;
    case 36: {
        const TImageValue& image = op.As<TImageValue>(0);
        TMemoryStream stream(image.Data);
        stream.SetPosition(0);
        PrintImageRect(image.Rect.Left, image.Rect.Top, image.Rect.Right, image.Rect.Bottom, stream,
                       image.Type);
        break;
    }
    case 37: SetReportVar(op.Text(0), op.As<std::string>(1)); break;
    case 40: ApplyBrush(op.As<TBrushValue>(0)); break;
    case 41: GetCanvas().Brush().SetColor(op.Int(0)); break;
    case 42: GetCanvas().Brush().SetStyle(static_cast<TBrushStyle>(op.Byte(0))); break;
    case 43:
        if (const auto& pattern = op.As<TPatternValue>(0); pattern.Bitmap)
            LoadPattern(*pattern.Bitmap);
        break;
    case 50:
        ApplyFont(op.As<TFontValue>(0));
        FontChanged();
        break;
    case 51: SetFontName(op.Text(0)); break;
    case 52: SetFontColor(op.Int(0)); break;
    case 53: SetFontPitch(op.Byte(0)); break;
    case 54:
        SetFontHeight(op.Num(0));
        if (op.Present(1))
            FitFontWidth(op.Num(0), op.Num(1));
        break;
    case 55: SetBold(op.Flag(0)); break;
    case 56: SetUnderline(op.Flag(0)); break;
    case 57: SetItalic(op.Flag(0)); break;
    case 58: SetStrikeOut(op.Flag(0)); break;
    case 59: SetSuperscript(op.Flag(0)); break;
    case 60: SetSubscript(op.Flag(0)); break;
    case 61: SetFontRotation(op.Int(0)); break;
    case 62: SetFontAlign(op.Byte(0)); break;
    case 63: SetFontCharset(op.Byte(0)); break;
    case 70: ApplyPen(op.As<TPenValue>(0)); break;
    case 71: GetCanvas().Pen().SetColor(op.Int(0)); break;
    case 72: GetCanvas().Pen().SetMode(static_cast<TPenMode>(op.Byte(0))); break;
    case 73: GetCanvas().Pen().SetStyle(static_cast<TPenStyle>(op.Byte(0))); break;
    case 74: GetCanvas().Pen().SetWidth(PenWidthToDev(op.Num(0))); break;
    case 83:
        LineAscent = op.Num(0);
        LineDescent = op.Num(1);
        LineHeight = op.Num(2);
        break;
    case 84: OutputToPreviewOnly(); break;
    case 85: OutputToPrinterOnly(); break;
    case 86: OutputToBoth(); break;
    case 87: NextOrientation = op.Byte(0); break;
    case 88: SelectBin(op.Text(0)); break;
    default: UnexpectedCode();
    }
}

void TFilePrinter::FitFontWidth(double height, double sampleWidth) {
    auto sampleInches = [this] { return TextWidth(kWidthSample) * 100 / ZoomFactor; };
    double width = sampleInches();
    for (int step = 0; width > sampleWidth && step < kMaxFittingSteps; ++step) {
        const double pixelsPerInch = YDPI * ZoomFactor / 100;
        SetFontHeight((GetFontHeight() * pixelsPerInch - 1.1) / pixelsPerInch);
        const double previous = width;
        width = sampleInches();
        if (width >= previous) {
            SetFontHeight(height);
            return;
        }
    }
}

} // namespace rpt

#include "reader/TFilePrinter.h"

#include "device/EQuillet.h"
#include "device/TQLDevice.h"
#include "device/TQLStringObject.h"
#include "device/Translate.h"
#include "platform/Convert.h"
#include "platform/DevMode.h"
#include "platform/Exceptions.h"
#include "platform/Graphics.h"
#include "platform/Rounding.h"
#include "platform/Stream.h"
#include "platform/UserInterface.h"
#include "reader/GraphicFactory.h"

#include <ctime>
#include <unordered_set>

namespace rpt {

namespace {

constexpr size_t kMaxFontNameLength = 60;

std::string FormatText(const std::string& pattern, const std::string& value) {
    std::string text = pattern;
    if (auto at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

} // namespace

TFilePrinter::TFilePrinter(TComponent* owner) : TCanvasReport(owner) {
    streamMode_ = smMemory;
    fileName_.clear();
    SetUnits(unInch);
    SetUnitsFactor(1);
    DirectLines = true;
    NextOrientation = 2;
}

TFilePrinter::~TFilePrinter() {
    ClearVariables();
    CloseStream();
}

// ---- stream and header ----

bool TFilePrinter::OpenStream() {
    if (StreamOpen)
        return true;
    try {
        switch (streamMode_) {
        case smMemory: {
            auto memory = std::make_unique<TMemoryStream>();
            memory->LoadFromFile(fileName_);
            ownedStream_ = std::move(memory);
            InputStream = ownedStream_.get();
            break;
        }
        case smFile:
        case smTempFile:
            ownedStream_ = std::make_unique<TFileStream>(fileName_);
            InputStream = ownedStream_.get();
            break;
        case smUser:
            if (!Stream)
                RaiseError(Translate("StreamMode is smUser but Stream is nil"));
            InputStream = Stream;
            InputStream->SetPosition(0);
            break;
        }
    } catch (const EStreamError&) {
        ownedStream_.reset();
        InputStream = nullptr;
        UI().ShowError(FormatText(Translate("Error initializing input stream \"%s\""), fileName_));
        return false;
    }
    StreamOpen = true;
    return true;
}

void TFilePrinter::CloseStream() {
    ownedStream_.reset();
    InputStream = nullptr;
    StreamOpen = false;
}

TReportDecoder TFilePrinter::Decoder() {
    if (!InputStream)
        RaiseError(Translate("Report file is not open."));
    return TReportDecoder(*InputStream, FormatVersion);
}

void TFilePrinter::ReadHeader() {
    if (!OpenStream())
        return;
    const int64_t resume = InputStream->Position();
    TFileHeader header = TFileHeader::Read(*InputStream);
    FileHeader = header;
    FormatVersion = header.FormatVersion;
    if (FormatVersion >= 2010) {
        std::string title = header.Title;
        ExpandMacros(title);
        JobTitle = title;
    }
    TotalPages = header.TotalPages;
    PageWidth = header.PageWidth;
    PageHeight = header.PageHeight;
    if (!NoPrinters())
        ApplyPrinterBlock(header);
    std::string output = header.OutputFileName;
    ExpandMacros(output);
    if (!output.empty())
        SetOutputFileName(output);
    if (resume > 0)
        InputStream->SetPosition(resume);
}

void TFilePrinter::ApplyPrinterBlock(const TFileHeader& header) {
    SetOrientation(header.Orientation);
    TDevMode* mode = DevMode();
    if (FormatVersion >= 2000) {
        if (mode)
            mode->dmDefaultSource = header.PaperBin;
        SetCollate(header.Collate != 0);
        SetDuplex(header.Duplex);
    }
    if (mode) {
        mode->dmCopies = header.Copies;
        mode->dmPaperSize = header.PaperSize;
        mode->dmPaperWidth = header.PaperWidth;
        mode->dmPaperLength = header.PaperLength;
    }
}

int32_t TFilePrinter::GetPageCount() {
    if (!StreamOpen)
        ReadHeader();
    return TotalPages;
}

void TFilePrinter::ResetPagePosition() {
    CurrentPage = 0;
    PrevPagePos = 0;
    CurPagePos = 0;
    NextPagePos = static_cast<int32_t>(FileHeader.FirstPagePos);
}

// ---- page chain ----

void TFilePrinter::UnexpectedCode() {
    if (Printing)
        AbortJob();
    RaiseError(Translate("Unexpected code found in report file."));
}

void TFilePrinter::ExpectCode(uint8_t code) {
    if (ReadByte() != code)
        UnexpectedCode();
}

void TFilePrinter::ReadPageHeader() {
    CurPagePos = static_cast<int32_t>(InputStream->Position());
    ExpectCode(kPageMarker);
    PrevPagePos = ReadInt32();
    NextPagePos = ReadInt32();
    CurrentPage = ReadInt16();
    if (FormatVersion < 2000) {
        ReadByte();
    } else {
        PageWidth = ReadFloat();
        PageHeight = ReadFloat();
    }
}

void TFilePrinter::ReadPageRecordAt(int32_t offset) {
    InputStream->SetPosition(offset);
    ReadPageHeader();
}

void TFilePrinter::GotoPage(int32_t n) {
    if (!InputStream)
        RaiseError(Translate("Report file is not open."));
    const int32_t target = static_cast<uint16_t>(n);
    if (target == CurrentPage) {
        ReadPageRecordAt(CurPagePos);
        return;
    }
    // Links that lead back to a record already passed would walk for ever:
    // such a chain is as malformed as a record without its marker.
    std::unordered_set<int32_t> visited;
    if (CurrentPage != 0)
        visited.insert(CurPagePos);
    auto step = [&](int32_t link) {
        if (link <= 0) {
            ReadPageRecordAt(CurPagePos);
            return false;
        }
        if (!visited.insert(link).second)
            UnexpectedCode();
        ReadPageRecordAt(link);
        return true;
    };
    while (target < CurrentPage)
        if (!step(PrevPagePos))
            return;
    while (target > CurrentPage)
        if (!step(NextPagePos))
            return;
}

// ---- operand readers ----

uint8_t TFilePrinter::ReadByte() { return Decoder().Byte(); }
int16_t TFilePrinter::ReadInt16() { return Decoder().Int16(); }
int32_t TFilePrinter::ReadInt32() { return Decoder().Int32(); }
double TFilePrinter::ReadFloat() { return Decoder().Single(); }
void TFilePrinter::ReadBytes(void* buffer, int64_t count) { Decoder().Bytes(buffer, count); }

std::string TFilePrinter::ReadString() {
    std::string text = Decoder().String();
    ExpandMacros(text);
    return text;
}

std::string TFilePrinter::ReadSlotString() { return Decoder().SlotString(); }

TPoint TFilePrinter::ReadPoint() {
    TInchPoint p = Decoder().Point();
    return TPoint{InchToDevX(p.X), InchToDevY(p.Y)};
}

TRect TFilePrinter::ReadRect() { return ToDev(Decoder().Rect()); }

TRect TFilePrinter::ToDev(const TInchRect& r) const {
    return TRect{InchToDevX(r.Left), InchToDevY(r.Top), InchToDevX(r.Right),
                 InchToDevY(r.Bottom)};
}

std::unique_ptr<TGraphic> TFilePrinter::ReadGraphic() {
    return MakeGraphic(Decoder().Graphic());
}

void TFilePrinter::ReadPatternBitmap(TBitmap& bitmap) {
    GraphicByRef = ReadByte() > 0x80;
    ReadGraphicData(bitmap);
}

void TFilePrinter::ReadGraphicData(TGraphic& graphic) {
    const bool byReference = GraphicByRef;
    GraphicByRef = false;
    LoadGraphic(graphic, Decoder().GraphicData(byReference));
}

void TFilePrinter::LoadPattern(const TGraphicBlock& block) {
    auto pattern = std::make_shared<TBitmap>();
    LoadGraphic(*pattern, block.Data);
    GetCanvas().Brush().SetPattern(std::move(pattern));
}

void TFilePrinter::ApplyBrush(const TBrushValue& brush) {
    TBrush& target = GetCanvas().Brush();
    target.SetColor(brush.Color);
    target.SetStyle(static_cast<TBrushStyle>(brush.Style));
    if (brush.Pattern)
        LoadPattern(*brush.Pattern);
}

void TFilePrinter::ReadBrushDesc() { ApplyBrush(Decoder().BrushDesc()); }

int32_t TFilePrinter::PenWidthToDev(double inches) const {
    return Round(XDPI * inches * ScaleX * ZoomFactor / 10000);
}

void TFilePrinter::ApplyPen(const TPenValue& pen) {
    TPen& target = GetCanvas().Pen();
    target.SetColor(pen.Color);
    target.SetMode(static_cast<TPenMode>(pen.Mode));
    target.SetStyle(static_cast<TPenStyle>(pen.Style));
    target.SetWidth(PenWidthToDev(pen.Width));
}

void TFilePrinter::ReadPenDesc() { ApplyPen(Decoder().PenDesc()); }

void TFilePrinter::ApplyFont(const TFontValue& font) {
    FontRecord.Name = font.Name.substr(0, kMaxFontNameLength);
    FontRecord.Color = font.Color;
    FontRecord.Pitch = font.Pitch;
    FontRecord.Charset = font.Charset;
    FontRecord.Size = font.Height * 72;
    FontRecord.Height = font.Height;
    FontRecord.Bold = font.Bold;
    FontRecord.Italic = font.Italic;
    FontRecord.Underline = font.Underline;
    FontRecord.StrikeOut = font.StrikeOut;
    FontRecord.Rotation = font.Rotation;
}

void TFilePrinter::ReadFontDesc() { ApplyFont(Decoder().FontDesc()); }

std::vector<TOperandValue> TFilePrinter::ReadOperands(const TCommandSpec& command) {
    TReportDecoder in = Decoder();
    std::vector<TOperandValue> values;
    values.reserve(command.Operands.size());
    for (const TOperandSpec& operand : command.Operands) {
        if (operand.Kind == TOperandKind::okString)
            values.emplace_back(ReadString());
        else
            values.push_back(in.Operand(operand.Kind));
    }
    return values;
}

// ---- report variables ----

void TFilePrinter::SetReportVar(const std::string& name, const std::string& value) {
    for (size_t i = 0; i < Variables.Count(); ++i)
        if (SameTextAscii(Variables.Strings(i), name)) {
            Variables.SetObject(i, std::make_unique<TQLStringObject>(value));
            return;
        }
    Variables.AddObject(name, std::make_unique<TQLStringObject>(value));
}

std::string TFilePrinter::GetReportVar(const std::string& name) {
    for (size_t i = 0; i < Variables.Count(); ++i)
        if (SameTextAscii(Variables.Strings(i), name)) {
            auto* value = dynamic_cast<TQLStringObject*>(Variables.Objects(i));
            return value ? value->Value : std::string();
        }
    return {};
}

void TFilePrinter::ClearVariables() { Variables.Clear(); }

} // namespace rpt

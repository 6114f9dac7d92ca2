#pragma once
// The report file reader: opens a report file in one of four stream modes,
// reads its header into the engine, finds any page through the chain of page
// records, plays one page's commands onto the canvas renderer and prints a
// whole file or a page range as one print job.
#include "canvas/TCanvasReport.h"
#include "platform/StringList.h"
#include "reader/ReportFormat.h"
#include "reader/ReportOperands.h"
#include "reader/TFileHeader.h"
#include "reader/TReportDecoder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rpt {

class TBitmap;
class TGraphic;
class TStream;

enum TStreamMode : uint8_t { smMemory = 0, smFile = 1, smUser = 2, smTempFile = 3 };

class TFilePrinter : public TCanvasReport {
public:
    explicit TFilePrinter(TComponent* owner);
    ~TFilePrinter() override;

    const std::string& GetFileName() const { return fileName_; }
    void SetFileName(const std::string& name) { fileName_ = name; }
    TStreamMode GetStreamMode() const { return streamMode_; }
    void SetStreamMode(TStreamMode mode) { streamMode_ = mode; }

    // Printing is the job of this component: Start and Execute print the
    // whole file, Finish has nothing left to close.
    void Start() override;
    void Finish() override;
    void Execute() override;
    // One print job over pages first..last (0: from page 1; below 1 or at
    // least the page count: to the last page); copies above 0 replace the
    // file's copy count.
    void PrintRange(int32_t first, int32_t last, int32_t copies);

    void SetReportVar(const std::string& name, const std::string& value) override;
    std::string GetReportVar(const std::string& name) override;
    void ClearVariables();

    // Positions the input stream on the first command of page n, or of the
    // nearer end of the chain when there is no page n.
    virtual void GotoPage(int32_t n);
    // Plays the commands of page n onto the engine.
    virtual void PrintPage(int32_t n);

    // Reads the header first when the file is not open.
    int32_t GetPageCount();
    // False (after an error box) when the file cannot be opened or read.
    bool OpenStream();
    // Frees the input stream unless the owner supplied it.
    void CloseStream();
    void ReadHeader();
    void ReadPageHeader();
    // Places the reader before the first page record, as a job does after
    // reading the header.
    void ResetPagePosition();

    uint8_t ReadByte();
    int16_t ReadInt16();
    int32_t ReadInt32();
    double ReadFloat();
    void ReadBytes(void* buffer, int64_t count);
    // A String with its macros expanded.
    std::string ReadString();
    std::string ReadSlotString();
    TPoint ReadPoint();
    TRect ReadRect();
    // A new bitmap, metafile or icon; the caller owns it.
    std::unique_ptr<TGraphic> ReadGraphic();
    void ReadPatternBitmap(TBitmap& bitmap);
    void ReadGraphicData(TGraphic& graphic);
    void ReadBrushDesc();
    void ReadPenDesc();
    void ReadFontDesc();
    void ExpectCode(uint8_t code);
    // Marks a running job aborted and raises the reader's error for a byte
    // that is not what the format puts there.
    [[noreturn]] void UnexpectedCode();
    // The operands of a command in file order; Strings have their macros
    // expanded, everything else is as the file stores it.
    std::vector<TOperandValue> ReadOperands(const TCommandSpec& command);

    // Owner-supplied input for smUser; never freed here.
    TStream* Stream = nullptr;
    // The stream being read while the file is open.
    TStream* InputStream = nullptr;
    bool StreamOpen = false;
    int32_t FormatVersion = 0;
    int32_t PrevPagePos = 0;
    int32_t CurPagePos = 0;
    int32_t NextPagePos = 0;
    double PageWidth = 8.5;
    double PageHeight = 11;
    bool GraphicByRef = false;
    uint8_t NextOrientation = 2;
    // Name, with a TQLStringObject holding the value.
    TStringList Variables;
    // The header as the file stores it, from the last ReadHeader.
    TFileHeader FileHeader;

protected:
    TReportDecoder Decoder();

private:
    void ApplyPrinterBlock(const TFileHeader& header);
    void PlayCommand(uint8_t code, std::vector<TOperandValue>& operands);
    void FitFontWidth(double height, double sampleWidth);
    void LoadPattern(const TGraphicBlock& block);
    void ApplyBrush(const TBrushValue& brush);
    void ApplyPen(const TPenValue& pen);
    void ApplyFont(const TFontValue& font);
    int32_t PenWidthToDev(double inches) const;
    TRect ToDev(const TInchRect& rect) const;
    void ReadPageRecordAt(int32_t offset);

    std::string fileName_;
    TStreamMode streamMode_ = smMemory;
    std::unique_ptr<TStream> ownedStream_;
};

} // namespace rpt

#pragma once
// The base of the report engine: the whole state of one report job (units and
// coordinate conversion, cursor, lines and columns, fonts, pens and brushes,
// tab cells, text macros, page counting and selection) and the operations
// every engine shares. The drawing and text operations are abstract here; the
// canvas renderer carries them out.
#include "device/TQLBaseComponent.h"
#include "engine/TDispatchTarget.h"
#include "engine/TFontRecord.h"
#include "engine/TTabStop.h"
#include "engine/TTextControl.h"
#include "platform/Canvas.h"
#include "platform/Color.h"
#include "platform/Geometry.h"
#include "platform/StringList.h"

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace rpt {

class TBaseReport;
class TBitmap;
class TGraphic;
class TQLDevice;
class TStream;
struct TDevMode;

using TNotifyEvent = std::function<void(TBaseReport& sender)>;
// Answers true while more pages follow; Page refers to CurrentPage.
using TPrintPageEvent = std::function<bool(TBaseReport& sender, int32_t& page)>;
using TDecodeImageEvent = std::function<void(TBaseReport& sender, TStream& image,
                                             const std::string& imageType, TBitmap& bitmap)>;

// Destination kinds of OutputKind and OutputKinds.
constexpr int32_t kOutputPrinter = 0;
constexpr int32_t kOutputPreview = 1;

// Report units of SetUnits.
enum TReportUnits : uint8_t { unInch, unMM, unCM, unPoint, unUser };

// An argument of NextTab that leaves the cell's own setting in force.
constexpr int32_t kTabDefault = -32768;

class TBaseReport : public TQLBaseComponent {
public:
    explicit TBaseReport(TComponent* owner);
    ~TBaseReport() override;

    // Copies the job settings into another report; any other destination
    // raises EInvalidCast.
    void AssignTo(TObject& dest) const;

    // ---- virtual operations, in the order the engine introduces them ----

    virtual void DoPrint();
    virtual bool DoPrintPage();
    virtual void DoSpareEvent1();
    virtual void DoSpareEvent2();
    virtual void DoSpareEvent3();
    virtual void DoNewColumn();
    virtual void DoSpareEvent4();
    virtual void DoSpareEvent5();
    virtual void DoSpareEvent6();

    // Pulls the canvas font's attributes into FontRecord, marking it dirty
    // where anything differs.
    virtual void FontChanged(TGraphicsObject* sender = nullptr);
    virtual void HookFontChange();
    virtual void UnhookFontChange();

    // 0 for a printer engine; the preview answers 1.
    virtual int32_t OutputKind() const;

    // Text at the cursor's baseline, starting at, centred on or ending at x
    // (report units); PrintBlock fills width by widening the inner blanks.
    virtual void PrintCenter(const std::string& text, double x) = 0;
    virtual void PrintLeft(const std::string& text, double x) = 0;
    virtual void PrintRight(const std::string& text, double x) = 0;
    virtual void PrintBlock(const std::string& text, double x, double width) = 0;

    // The printer device's canvas while it prints; raises otherwise.
    virtual TCanvas& GetCanvas();

    virtual void SetFrameMode(uint8_t mode);
    // Sets the device context's text background colour; answers the previous one.
    virtual TColor SetBackColor(TColor color);
    virtual void SetScaleX(double percent);
    virtual void SetScaleY(double percent);
    virtual void SetBackMode(uint8_t mode);
    virtual void SetOrientation(uint8_t orientation);

    virtual void TabRectangle(double x1, double y1, double x2, double y2) = 0;

    // Pixel extent of the text in the font selected into the canvas now.
    virtual TSize GetTextExtent(const std::string& text);

    // Drawing operations: doubles are report units, TRect and TPoint device pixels.
    virtual void Arc(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                     double y4) = 0;
    virtual void BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source,
                           TColor color) = 0;
    virtual void Chord(double x1, double y1, double x2, double y2, double x3, double y3,
                       double x4, double y4) = 0;
    // A report file carries a 32-bit value where the source canvas would be.
    virtual void CopyRect(const TRect& dest, int32_t canvasValue, const TRect& source) = 0;
    virtual void Draw(double x, double y, const TGraphic& graphic) = 0;
    virtual void DrawFocusRect(const TRect& rect) = 0;
    virtual void Ellipse(double x1, double y1, double x2, double y2) = 0;
    virtual void FillRect(const TRect& rect) = 0;
    virtual void FloodFill(double x, double y, TColor color, TFillStyle fillStyle) = 0;
    virtual void FrameRect(const TRect& rect) = 0;
    virtual void LineTo(double x, double y) = 0;
    virtual void MoveTo(double x, double y) = 0;
    virtual void Pie(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                     double y4) = 0;
    virtual void Polygon(std::span<const TPoint> points) = 0;
    virtual void Polyline(std::span<const TPoint> points) = 0;
    // scaleX and scaleY are plain multipliers of the bitmap's pixel size.
    virtual void PrintBitmap(double x, double y, double scaleX, double scaleY,
                             const TBitmap& bitmap) = 0;
    virtual void PrintBitmapRect(double x1, double y1, double x2, double y2,
                                 const TBitmap& bitmap) = 0;
    virtual void PrintImageRect(double x1, double y1, double x2, double y2, TStream& image,
                                const std::string& imageType) = 0;
    virtual void Rectangle(double x1, double y1, double x2, double y2) = 0;
    virtual void RoundRect(double x1, double y1, double x2, double y2, double x3, double y3) = 0;
    virtual void StretchDraw(const TRect& rect, const TGraphic& graphic) = 0;
    virtual void TextRect(const TRect& rect, double x, double y, const std::string& text) = 0;
    // Raw printer data.
    virtual void PrintData(const std::string& data) = 0;
    virtual void PrintDataStream(TStream& stream, int32_t count) = 0;

    virtual void OutputToPreviewOnly();
    virtual void OutputToPrinterOnly();
    virtual void OutputToBoth();

    virtual void SpareHook1();
    virtual void SpareHook2();
    virtual void SpareHook3();

    virtual void Start() = 0;
    virtual void Finish() = 0;
    // Start, the pages through the events, Finish (also when Start fails).
    virtual void Execute();
    virtual void NewPage();

    virtual void SpareHook4();

    virtual void AbortPage();
    // The first paper bin whose name contains the text, ignoring case.
    virtual bool SelectBin(const std::string& name);

    virtual void UpdateLineHeight();

    virtual void NextTab(int32_t left, int32_t right, int32_t top, int32_t bottom,
                         int32_t shade);
    // Width of a string in report units, zoom included.
    virtual double TextWidth(const std::string& text);
    virtual void DispatchTo(TDispatchTarget& object, intptr_t a, intptr_t b);
    virtual void PrintTab(const std::string& text);

    virtual std::string GetUserMacro(int32_t number);
    virtual void SetReportVar(const std::string& name, const std::string& value);
    // A bare engine answers the name itself.
    virtual std::string GetReportVar(const std::string& name);

    virtual void SetBrush(TColor color, TBrushStyle style, const TBitmap* bitmap);
    virtual void SetPlainFont(const std::string& name, double points);
    // A negative width is a physical thickness (hundredths, or below -10000
    // ten-thousandths, of an inch).
    virtual void SetPen(TColor color, TPenStyle style, int32_t width, TPenMode mode);

    // ---- units and coordinates ----

    double UnitToInchX(double u) const { return u / UnitsFactor; }
    double UnitToInchY(double u) const { return u / UnitsFactor; }
    double InchToUnitX(double i) const { return i * UnitsFactor; }
    double InchToUnitY(double i) const { return i * UnitsFactor; }
    // Converted positions stay within this many pixels of the origin: far
    // beyond any page (nearly 900,000 inches at 600 dpi), and leaving the
    // drawing code room to add extents and take differences without overflow.
    static constexpr int32_t kDeviceCoordinateLimit = 1 << 29;
    int32_t InchToDevX(double i) const;
    int32_t InchToDevY(double i) const;
    int32_t UnitToDevX(double u) const { return InchToDevX(UnitToInchX(u)); }
    int32_t UnitToDevY(double u) const { return InchToDevY(UnitToInchY(u)); }

    void SetUnits(uint8_t kind);
    void SetUnitsFactor(double factor);
    double GetScaleX() const { return ScaleX; }
    double GetScaleY() const { return ScaleY; }

    void SetOriginX(double u) { OriginX = UnitToInchX(u); }
    void SetOriginY(double u) { OriginY = UnitToInchY(u); }
    double GetOriginX() const { return InchToUnitX(OriginX); }
    double GetOriginY() const { return InchToUnitY(OriginY); }

    void SetMarginLeft(double u);
    void SetMarginRight(double u);
    void SetMarginTop(double u);
    void SetMarginBottom(double u);
    double GetMarginLeft() const { return marginLeftGiven_; }
    double GetMarginRight() const { return marginRightGiven_; }
    double GetMarginTop() const { return marginTopGiven_; }
    double GetMarginBottom() const { return marginBottomGiven_; }

    void SetAreaLeft(double u);
    void SetAreaRight(double u);
    void SetAreaTop(double u);
    void SetAreaBottom(double u);
    void ResetArea();

    double ColumnLeft() const { return (ColumnNumber - 1) * ColumnWidth + AreaLeft; }
    void SetColumnNumber(int32_t n);
    void SetLineNumber(int32_t n);
    void Home();
    void ResetColumns();
    // Moves the cursor along the text direction by a width from TextWidth.
    void AdvanceX(double width);
    bool PushPos();
    bool PopPos();

    double TextTop() const { return InchToUnitY(CursorY - LineAscent); }
    double TextBaseline() const { return InchToUnitY(CursorY); }
    double TextBottom() const { return InchToUnitY(CursorY + LineDescent); }
    double LineTop() const { return TextBottom() - InchToUnitY(LineHeight); }
    double LineBottom() const { return TextBottom(); }

    void SetLinesPerInch(int32_t n);

    // Resolution and unprintable edges of the selected printer (96 DPI and
    // none without printers).
    void ReadDeviceMetrics();
    // Re-reads the metrics and turns the remembered margins into page positions.
    // The constructor runs it as a printer engine; an engine of another
    // OutputKind runs it again from its own constructor.
    void RecalcPageMetrics();
    bool NoPrinters() const;

    // ---- job lifecycle ----

    void CheckPrinting() const;
    void CheckNotPrinting() const;
    void AbortJob();
    bool OutputSuppressed() const;
    bool PageSelected(int32_t page) const;
    void ResetJobState();

    void SelectPrinterIndex(int32_t index);
    bool SelectPrinter(const std::string& name);
    void SetCopies(int32_t copies);
    void SetDuplex(int32_t duplex);
    void SetCollate(bool collate);
    // The selected printer's settings record, or null without printers.
    TDevMode* DevMode() const;
    void SetOutputFileName(const std::string& name);
    std::string DeviceName() const;
    std::string DriverName() const;
    std::string PortName() const;

    // ---- pens, brushes, destinations ----

    // A new pen (the caller owns it); a negative width is hundredths of an inch.
    std::unique_ptr<TPen> CreatePen(TColor color, TPenStyle style, int32_t width,
                                    TPenMode mode) const;
    void ClearLineBuffers();

    // ---- fonts ----

    void SetFontName(const std::string& name);
    void SetFontColor(TColor color);
    void SetFontPitch(uint8_t pitch);
    void SetFontCharset(uint8_t charset);
    void SetFontSize(double points);
    void SetFontHeight(double u);
    double GetFontHeight() const { return InchToUnitY(FontRecord.Height); }
    void SetBold(bool value);
    void SetUnderline(bool value);
    void SetItalic(bool value);
    void SetStrikeOut(bool value);
    void SetSuperscript(bool value);
    void SetSubscript(bool value);
    void SetFontRotation(int32_t degrees);
    void SetFontAlign(uint8_t align);

    // Realises FontRecord (through the font cache) into the canvas's context.
    void SelectFont();
    // Puts back the font that SelectFont replaced.
    void DeselectFont();
    // Brings the record's handle and metrics up to date.
    void RefreshFont();
    void ClearFontCache();
    // Realised fonts, most recently used first.
    const std::list<TFontRecord>& FontCache() const { return fontCache_; }
    TFontRecord GetFontRecord() const { return FontRecord; }
    void ApplyFontRecord(const TFontRecord& record);
    bool PushFont();
    bool PopFont();

    // ---- formatted text (strings holding code blocks opened by character 1) ----

    void ApplyFormatCodes(const std::string& codes);
    // The next run of plain text from pos (1-based), applying the codes before it.
    void NextFormattedRun(const std::string& s, int32_t& pos, std::string& text);
    // startX plus the pixel width of the text, with tab stops.
    int32_t TabbedTextWidth(const std::string& text, int32_t startX);
    // Pixel width of the whole string; the current font is kept.
    int32_t FormattedTextWidth(const std::string& s);

    // ---- tab cells ----

    // Makes the stops the current tab list (an empty list clears it).
    void SetTabs(std::vector<TTabStop> stops);
    void RestartTabs();
    void ClearTabs();
    bool PopTabs();
    // 0: the current tab; n >= 1: the n-th tab of the list; null past its end.
    const TTabStop* TabAt(int32_t n) const;
    double TabTextWidth(int32_t n) const;
    void SetShadePercent(int32_t percent);

    // ---- macros and status line ----

    // Replaces every macro marker in the text, in place.
    void ExpandMacros(std::string& text);
    std::string MacroText(int32_t number);
    void UpdateStatus();
    void SetStatusLabel(TTextControl* label);
    TTextControl* StatusLabel() const { return statusLabel_; }
    void SetStatusText(const TStringList& list);
    void SetMacroData(const TStringList& list);
    const TStringList& StatusText() const { return statusText_; }
    const TStringList& MacroData() const { return macroData_; }

    // ---- state read and written directly by the engines ----

    bool CellPrinting = false;
    TFontRecord FontRecord;
    bool FontDirty = true;
    uint8_t OutputKinds = 0x1F; // bit n for kind n
    int32_t TotalPages = 9999;
    double TabStep = 0.5;       // report units
    uint8_t FrameMode = 0;
    int32_t DevOffsetX = 0;
    int32_t DevOffsetY = 0;
    double PenPosX = 0;         // report units, origin added
    double PenPosY = 0;
    bool DirectLines = false;
    double UnprintableLeft = 0;
    double UnprintableRight = 0;
    double UnprintableTop = 0;
    double UnprintableBottom = 0;
    double LineAscent = 0;
    double LineDescent = 0;
    double LineHeight = 0;
    double MarginLeft = 0;
    double MarginRight = 0;
    double MarginTop = 0;
    double MarginBottom = 0;
    double AreaLeft = 0;
    double AreaRight = 0;
    double AreaTop = 0;
    double AreaBottom = 0;
    double CursorX = 0;
    double CursorY = 0;
    double ColumnWidth = 0;
    double JobDateTime = 0;     // days since 1899-12-30
    uint8_t TabJustify = 4;
    int32_t CurrentPage = 0;
    bool SkipPage = false;
    int32_t XDPI = 300;
    int32_t YDPI = 300;
    int32_t LineNumber = 0;
    int32_t ColumnNumber = 0;
    int32_t ColumnCount = 0;
    bool Aborted = false;
    bool Printing = false;
    double OriginX = 0;
    double OriginY = 0;
    int32_t FirstPage = 1;
    int32_t LastPage = 9999;
    std::string PageSelection;
    std::string StatusFormat;
    uint8_t LineSpacingMode = 0;
    int32_t LinesPerInch = 6;
    uint8_t Units = unInch;
    double UnitsFactor = 1.0;
    int32_t ShadePercent = 0;
    TColor ShadeColor = 0;
    TColor ShadePenColor = 0;
    std::string JobTitle = "Quillet Report";
    uint8_t BackMode = 0;
    uint8_t Orientation = 0;    // 0 portrait, 1 landscape, 2 the printer's own
    int32_t Copies = 1;
    double ScaleX = 100;
    double ScaleY = 100;
    double ZoomFactor = 100;
    double PaperHeight = 11;    // report units, used without printers
    double PaperWidth = 8.5;
    bool BitmapRopAnd = false;
    int32_t StatusCounter1 = 1;
    int32_t StatusCounter2 = 1;

    TNotifyEvent OnPrint;
    TPrintPageEvent OnPrintPage;
    TNotifyEvent OnSpareEvent1;
    TNotifyEvent OnSpareEvent2;
    TNotifyEvent OnSpareEvent3;
    TNotifyEvent OnNewColumn;
    TNotifyEvent OnSpareEvent4;
    TNotifyEvent OnSpareEvent5;
    TNotifyEvent OnSpareEvent6;
    TDecodeImageEvent OnDecodeImage;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    TQLDevice& Device() const;

private:
    struct TTabList {
        std::vector<TTabStop> Stops;
    };

    void SetStyle(TFontStyle style, bool value);
    void PrintInCell(const std::string& text);

    std::vector<std::pair<double, double>> positionStack_;
    std::vector<TFontRecord> fontStack_;
    std::list<TFontRecord> fontCache_;
    std::function<void(TGraphicsObject*)> savedFontChange_;
    bool fontChangeHooked_ = false;
    bool fontUpdating_ = false;
    HFONT previousFont_;
    TStringList macroData_;
    std::shared_ptr<TTabList> tabList_;
    int32_t currentTab_ = 0; // 1-based index into the tab list; 0 is none
    bool tabActive_ = false;
    bool tabsRestart_ = false;
    double marginLeftGiven_ = 0;
    double marginRightGiven_ = 0;
    double marginTopGiven_ = 0;
    double marginBottomGiven_ = 0;
    TTextControl* statusLabel_ = nullptr;
    TStringList statusText_;
};

} // namespace rpt

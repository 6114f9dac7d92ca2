#include "engine/TBaseReport.h"

#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "device/Translate.h"
#include "platform/DeviceContext.h"
#include "platform/Exceptions.h"
#include "platform/Rounding.h"

#include <cmath>
#include <algorithm>
#include <limits>
#include <numbers>

namespace rpt {

namespace {

// The device offset is added after rounding; the sum stays inside the
// device coordinate range.
int32_t AddOffset(int32_t pixels, int32_t offset) {
    const int64_t sum = static_cast<int64_t>(pixels) + offset;
    constexpr int64_t limit = TBaseReport::kDeviceCoordinateLimit;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, -limit, limit));
}

// A device that reports no resolution is treated like the screen.
constexpr int32_t kFallbackDpi = 96;

} // namespace

TBaseReport::TBaseReport(TComponent* owner) : TQLBaseComponent(owner) {
    OutputKinds = 0x1F;
    if (!NoPrinters())
        Device().PrinterIndex();
    RecalcPageMetrics();
    CurrentPage = 0;
    StatusFormat = Translate("Printing page %p");
    SetCopies(1);
    FirstPage = 1;
    LastPage = 9999;
    PageSelection.clear();
    TotalPages = LastPage;
    LineSpacingMode = 0;
    SetLinesPerInch(6);
    SetShadePercent(0);
    ShadeColor = 0;
    ShadePenColor = 0;
    SetBackMode(0);
    JobTitle = "Quillet Report";
    StatusCounter1 = 1;
    StatusCounter2 = 1;
    TabStep = 0.5;
}

TBaseReport::~TBaseReport() {
    ClearFontCache();
    ClearLineBuffers();
    positionStack_.clear();
    fontStack_.clear();
    while (PopTabs()) {
    }
    ClearTabs();
    if (statusLabel_)
        RemoveFreeNotification(statusLabel_);
    // The shared device may already be gone at program end.
    if (SharedDeviceCreated() && !NoPrinters() && Device().Printing())
        Device().CancelJob();
}

TQLDevice& TBaseReport::Device() const { return SharedDevice(); }

bool TBaseReport::NoPrinters() const { return Device().Printers().Empty(); }

void TBaseReport::AssignTo(TObject& dest) const {
    auto* report = dynamic_cast<TBaseReport*>(&dest);
    if (!report)
        throw EInvalidCast();
    report->FirstPage = FirstPage;
    report->LastPage = LastPage;
    report->PageSelection = PageSelection;
    report->SetStatusLabel(statusLabel_);
    report->StatusFormat = StatusFormat;
    report->SetStatusText(statusText_);
    report->LineSpacingMode = LineSpacingMode;
    report->LineHeight = LineHeight;
    report->SetLinesPerInch(LinesPerInch);
    report->SetUnits(Units);
    report->SetUnitsFactor(UnitsFactor);
    report->SetMarginLeft(GetMarginLeft());
    report->SetMarginRight(GetMarginRight());
    report->SetMarginTop(GetMarginTop());
    report->SetMarginBottom(GetMarginBottom());
    report->SetShadePercent(ShadePercent);
    report->ShadeColor = ShadeColor;
    report->ShadePenColor = ShadePenColor;
    report->JobTitle = JobTitle;
    report->SetBackMode(BackMode);
    report->SetCopies(Copies);
    report->SetOrientation(Orientation);
    report->SetScaleX(ScaleX);
    report->SetScaleY(ScaleY);
    report->SetMacroData(macroData_);
    report->OnPrint = OnPrint;
    report->OnPrintPage = OnPrintPage;
    report->OnNewColumn = OnNewColumn;
    report->OnSpareEvent1 = OnSpareEvent1;
    report->OnSpareEvent2 = OnSpareEvent2;
    report->OnSpareEvent3 = OnSpareEvent3;
    report->OnSpareEvent4 = OnSpareEvent4;
    report->OnSpareEvent5 = OnSpareEvent5;
}

int32_t TBaseReport::InchToDevX(double i) const {
    return AddOffset(
        Round(((i + OriginX) * (ScaleX * ZoomFactor / 10000) - UnprintableLeft) * XDPI),
        DevOffsetX);
}

int32_t TBaseReport::InchToDevY(double i) const {
    return AddOffset(
        Round(((i + OriginY) * (ScaleY * ZoomFactor / 10000) - UnprintableTop) * YDPI),
        DevOffsetY);
}

void TBaseReport::SetUnits(uint8_t kind) {
    Units = kind;
    switch (kind) {
    case unInch: UnitsFactor = 1; break;
    case unMM: UnitsFactor = 25.4; break;
    case unCM: UnitsFactor = 2.54; break;
    case unPoint: UnitsFactor = 72; break;
    default: break;
    }
}

void TBaseReport::SetUnitsFactor(double factor) {
    if (!(factor > 0) || !std::isfinite(factor))
        return;
    UnitsFactor = factor;
    if (factor == 1)
        Units = unInch;
    else if (factor == 25.4)
        Units = unMM;
    else if (factor == 2.54)
        Units = unCM;
    else if (factor == 72)
        Units = unPoint;
    else
        Units = unUser;
}

void TBaseReport::SetScaleX(double percent) { ScaleX = percent; }
void TBaseReport::SetScaleY(double percent) { ScaleY = percent; }

void TBaseReport::SetMarginLeft(double u) {
    marginLeftGiven_ = u;
    MarginLeft = UnitToInchX(u);
    SetAreaLeft(InchToUnitX(MarginLeft));
}

void TBaseReport::SetMarginRight(double u) {
    marginRightGiven_ = u;
    if (NoPrinters())
        MarginRight = UnitToInchX(PaperWidth - u);
    else
        MarginRight = static_cast<double>(Device().PrintableWidth()) / XDPI + UnprintableLeft +
                      UnprintableRight - UnitToInchX(u);
    SetAreaRight(InchToUnitX(MarginRight));
}

void TBaseReport::SetMarginTop(double u) {
    marginTopGiven_ = u;
    MarginTop = UnitToInchY(u);
    SetAreaTop(InchToUnitY(MarginTop));
}

void TBaseReport::SetMarginBottom(double u) {
    marginBottomGiven_ = u;
    if (NoPrinters())
        MarginBottom = UnitToInchY(PaperHeight - u);
    else
        MarginBottom = static_cast<double>(Device().PrintableHeight()) / YDPI + UnprintableTop +
                       UnprintableBottom - UnitToInchY(u);
    SetAreaBottom(InchToUnitY(MarginBottom));
}

void TBaseReport::SetAreaLeft(double u) {
    AreaLeft = UnitToInchX(u);
    if (CursorX < AreaLeft)
        CursorX = AreaLeft;
}

void TBaseReport::SetAreaRight(double u) {
    AreaRight = UnitToInchX(u);
    if (CursorX > AreaRight)
        CursorX = AreaRight;
}

void TBaseReport::SetAreaTop(double u) {
    AreaTop = UnitToInchY(u);
    if (CursorY < AreaTop)
        CursorY = AreaTop;
}

void TBaseReport::SetAreaBottom(double u) {
    AreaBottom = UnitToInchY(u);
    if (CursorY > AreaBottom)
        CursorY = AreaBottom;
}

void TBaseReport::ResetArea() {
    AreaLeft = MarginLeft;
    AreaRight = MarginRight;
    AreaTop = MarginTop;
    AreaBottom = MarginBottom;
}

void TBaseReport::SetColumnNumber(int32_t n) {
    ColumnNumber = n;
    CursorX = ColumnLeft();
    RestartTabs();
}

void TBaseReport::SetLineNumber(int32_t n) {
    LineNumber = n;
    UpdateLineHeight();
    RestartTabs();
    CursorX = ColumnLeft();
    CursorY = n * LineHeight + AreaTop - LineDescent;
}

void TBaseReport::Home() {
    SetColumnNumber(1);
    SetLineNumber(1);
}

void TBaseReport::ResetColumns() {
    ColumnWidth = AreaRight - AreaLeft;
    ColumnCount = 1;
    SetColumnNumber(1);
}

void TBaseReport::AdvanceX(double width) {
    const double across = ScaleX * ZoomFactor;
    const double down = ScaleY * ZoomFactor;
    const double inches = UnitToInchX(width) * 10000;
    if (FontRecord.Rotation == 0) {
        if (across != 0)
            CursorX += inches / across;
        return;
    }
    const double angle = FontRecord.Rotation * std::numbers::pi / 180;
    if (across != 0)
        CursorX += std::cos(angle) * inches / across;
    if (down != 0)
        CursorY -= std::sin(angle) * inches / down;
}

bool TBaseReport::PushPos() {
    positionStack_.emplace_back(CursorX, CursorY);
    return true;
}

bool TBaseReport::PopPos() {
    if (positionStack_.empty())
        return false;
    CursorX = positionStack_.back().first;
    CursorY = positionStack_.back().second;
    positionStack_.pop_back();
    return true;
}

void TBaseReport::SetLinesPerInch(int32_t n) {
    if (n <= 0)
        return;
    LinesPerInch = n;
    UpdateLineHeight();
}

void TBaseReport::UpdateLineHeight() {
    if (!Printing)
        return;
    RefreshFont();
    LineAscent = FontRecord.Ascent;
    LineDescent = FontRecord.Descent;
    if (LineSpacingMode == 0)
        LineHeight = 1.0 / LinesPerInch;
    else if (LineSpacingMode == 1)
        LineHeight = FontRecord.Size / 60;
}

void TBaseReport::ReadDeviceMetrics() {
    UnprintableLeft = UnprintableRight = UnprintableTop = UnprintableBottom = 0;
    if (NoPrinters()) {
        XDPI = YDPI = 96;
        return;
    }
    TQLDevice& device = Device();
    device.SetState(dsIC);
    const int32_t kind = OutputKind();
    if (kind != 0 && kind != 2 && kind != 4)
        return;
    device.ApplyDevMode(false);
    DeviceContext* context = device.Handle();
    if (!context)
        return;
    const int logX = context->GetDeviceCaps(LOGPIXELSX);
    const int logY = context->GetDeviceCaps(LOGPIXELSY);
    XDPI = logX > 0 ? logX : kFallbackDpi;
    YDPI = logY > 0 ? logY : kFallbackDpi;
    const double ox = context->GetDeviceCaps(PHYSICALOFFSETX);
    const double oy = context->GetDeviceCaps(PHYSICALOFFSETY);
    const double pw = context->GetDeviceCaps(PHYSICALWIDTH);
    const double ph = context->GetDeviceCaps(PHYSICALHEIGHT);
    const double hr = context->GetDeviceCaps(HORZRES);
    const double vr = context->GetDeviceCaps(VERTRES);
    UnprintableLeft = ox / XDPI;
    UnprintableRight = (pw - (hr + ox)) / XDPI;
    UnprintableTop = oy / YDPI;
    UnprintableBottom = (ph - (vr + oy)) / YDPI;
}

void TBaseReport::RecalcPageMetrics() {
    CheckNotPrinting();
    ReadDeviceMetrics();
    SetMarginLeft(GetMarginLeft());
    SetMarginRight(GetMarginRight());
    SetMarginTop(GetMarginTop());
    SetMarginBottom(GetMarginBottom());
    ResetArea();
}

void TBaseReport::SpareHook1() {}
void TBaseReport::SpareHook2() {}
void TBaseReport::SpareHook3() {}
void TBaseReport::SpareHook4() {}

} // namespace rpt

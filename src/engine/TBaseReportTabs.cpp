// Tab cells: a line of text laid out in cells with margins, justification,
// borders and shading.
#include "engine/TBaseReport.h"

#include "device/ShadeToColor.h"
#include "platform/DeviceContext.h"
#include "platform/Rounding.h"

#include <algorithm>

namespace rpt {

namespace {

constexpr char kTab = '\t';
const std::string kMacroPrefix = "\xFD$QLC";

// Keeps the canvas pen and brush and puts them back on every path.
class CanvasToolsGuard {
public:
    explicit CanvasToolsGuard(TCanvas& canvas) : canvas_(canvas) {
        pen_.Assign(canvas.Pen());
        brush_.Assign(canvas.Brush());
    }
    ~CanvasToolsGuard() {
        canvas_.Pen().Assign(pen_);
        canvas_.Brush().Assign(brush_);
    }
    CanvasToolsGuard(const CanvasToolsGuard&) = delete;
    CanvasToolsGuard& operator=(const CanvasToolsGuard&) = delete;

private:
    TCanvas& canvas_;
    TPen pen_;
    TBrush brush_;
};

class BackModeGuard {
public:
    BackModeGuard(DeviceContext& context, int mode)
        : context_(context), saved_(context.SetBkMode(mode)) {}
    ~BackModeGuard() { context_.SetBkMode(saved_); }
    BackModeGuard(const BackModeGuard&) = delete;
    BackModeGuard& operator=(const BackModeGuard&) = delete;

private:
    DeviceContext& context_;
    int saved_;
};

} // namespace

void TBaseReport::SetTabs(std::vector<TTabStop> stops) {
    tabList_.reset();
    if (!stops.empty())
        tabList_ = std::make_shared<TTabList>(TTabList{std::move(stops)});
    RestartTabs();
}

void TBaseReport::RestartTabs() {
    currentTab_ = 0;
    tabActive_ = false;
    tabsRestart_ = tabList_ && !tabList_->Stops.empty();
}

void TBaseReport::ClearTabs() {
    tabList_.reset();
    RestartTabs();
}

bool TBaseReport::PopTabs() { return false; }

const TTabStop* TBaseReport::TabAt(int32_t n) const {
    if (n < 0 || !tabList_)
        return nullptr;
    const int32_t index = n == 0 ? currentTab_ : n;
    if (index < 1 || static_cast<size_t>(index) > tabList_->Stops.size())
        return nullptr;
    return &tabList_->Stops[static_cast<size_t>(index - 1)];
}

double TBaseReport::TabTextWidth(int32_t n) const {
    const TTabStop* tab = TabAt(n);
    return tab ? InchToUnitX(tab->Width - 2 * tab->Margin) : 0;
}

void TBaseReport::SetShadePercent(int32_t percent) {
    ShadePercent = std::clamp(percent, 0, 100);
}

void TBaseReport::NextTab(int32_t left, int32_t right, int32_t top, int32_t bottom,
                          int32_t shade) {
    CheckPrinting();
    if (OutputSuppressed())
        return;
    const int32_t count = tabList_ ? static_cast<int32_t>(tabList_->Stops.size()) : 0;
    int32_t next = currentTab_ > 0 && currentTab_ < count ? currentTab_ + 1 : 0;
    if (next == 0 && tabsRestart_ && count > 0) {
        next = 1;
        tabsRestart_ = false;
    }
    currentTab_ = next;
    if (currentTab_ == 0) {
        tabActive_ = false;
        return;
    }
    tabActive_ = true;
    const TTabStop& tab = *TabAt(0);
    if (tab.Width <= 0)
        return;
    const double offset = (ColumnNumber - 1) * ColumnWidth;
    const double x1 = InchToUnitX(offset + tab.Position);
    const double x2 = InchToUnitX(offset + tab.Position + tab.Width);
    const double width = x2 - x1;
    const double lineTop = LineTop();
    const double lineBottom = LineBottom();
    const double height = InchToUnitY(LineHeight);
    TCanvas& canvas = GetCanvas();

    int32_t percent = shade != kTabDefault ? shade : tab.Shade;
    if (percent == 0)
        percent = ShadePercent;
    if (percent > 0) {
        CanvasToolsGuard tools(canvas);
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(
            ShadeToColor(ShadeColor, static_cast<uint8_t>(std::min(percent, 100))));
        SetPen(ShadePenColor, psClear, 1, pmMask);
        BackModeGuard background(canvas.Handle(), TRANSPARENT);
        TabRectangle(x1, lineTop, x2, lineBottom);
    }

    // Borders use the canvas pen as it was, or a black pen of the given width.
    CanvasToolsGuard tools(canvas);
    TPen original;
    original.Assign(canvas.Pen());
    auto border = [&](int32_t argument, bool own, double fromX, double fromY, double toX,
                      double toY) {
        const bool explicitWidth = argument != kTabDefault && argument != 0;
        if (!explicitWidth && !(argument == kTabDefault && own))
            return;
        if (explicitWidth)
            canvas.Pen().Assign(*CreatePen(clBlack, psSolid, argument, pmCopy));
        else
            canvas.Pen().Assign(original);
        MoveTo(fromX, fromY);
        LineTo(toX, toY);
    };
    border(left, tab.LeftBorder, x1, lineBottom, x1, lineBottom - height);
    border(right, tab.RightBorder, x2, lineTop, x2, lineTop + height);
    border(top, tab.TopBorder, x1, lineTop, x1 + width, lineTop);
    border(bottom, tab.BottomBorder, x2, lineBottom, x2 - width, lineBottom);
}

void TBaseReport::PrintInCell(const std::string& text) {
    const TTabStop* tab = TabAt(0);
    if (!tabActive_ || !tab) {
        PrintLeft(text, InchToUnitX(CursorX));
        return;
    }
    const double offset = (ColumnNumber - 1) * ColumnWidth;
    const double x = offset + tab->Position;
    const uint8_t justify = TabJustify == 4 ? tab->Justify : TabJustify;
    switch (justify) {
    case 0:
        PrintCenter(text, InchToUnitX(x + tab->Width / 2));
        break;
    case 2:
        PrintRight(text, InchToUnitX(x + tab->Width - tab->Margin));
        break;
    case 3:
        PrintBlock(text, InchToUnitX(x + tab->Margin), InchToUnitX(tab->Width - 2 * tab->Margin));
        break;
    default: {
        std::string rest = text;
        const double step = UnitToInchX(TabStep);
        double start = x + tab->Margin;
        // Embedded tabs move on to the next default tab position of the cell.
        for (size_t at = rest.find(kTab); at != std::string::npos; at = rest.find(kTab)) {
            CellPrinting = true;
            PrintLeft(rest.substr(0, at), InchToUnitX(start));
            rest.erase(0, at + 1);
            if (step > 0)
                start = x + (Trunc((CursorX - x + 0.001) / step) + 1) * step;
            else
                start = CursorX;
        }
        CellPrinting = false;
        PrintLeft(rest, InchToUnitX(start));
        break;
    }
    }
    tabActive_ = false;
}

void TBaseReport::PrintTab(const std::string& text) {
    NextTab(kTabDefault, kTabDefault, kTabDefault, kTabDefault, kTabDefault);
    std::string fitted = text;
    // Only a cell has a width to fit; a text with macros is fitted after expansion.
    if (tabActive_ && TabAt(0) && fitted.find(kMacroPrefix) == std::string::npos) {
        const double room = TabTextWidth(0);
        while (!fitted.empty() && TextWidth(fitted) > room)
            fitted.pop_back();
    }
    size_t at = fitted.find(kTab);
    while (at != std::string::npos) {
        PrintInCell(fitted.substr(0, at));
        NextTab(kTabDefault, kTabDefault, kTabDefault, kTabDefault, kTabDefault);
        fitted.erase(0, at + 1);
        at = fitted.find(kTab);
    }
    PrintInCell(fitted);
}

} // namespace rpt

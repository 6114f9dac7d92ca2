// The report job: guards, page selection, the generic page sequence and the
// job settings passed on to the printer device.
#include "engine/TBaseReport.h"

#include "device/EQuillet.h"
#include "device/TQLDevice.h"
#include "device/Translate.h"
#include "platform/Convert.h"
#include "platform/Exceptions.h"

namespace rpt {

void TBaseReport::DoPrint() {
    if (OnPrint)
        OnPrint(*this);
}

bool TBaseReport::DoPrintPage() {
    if (!OnPrintPage)
        return false;
    return OnPrintPage(*this, CurrentPage);
}

void TBaseReport::DoSpareEvent1() {
    if (OnSpareEvent1)
        OnSpareEvent1(*this);
}

void TBaseReport::DoSpareEvent2() {
    if (OnSpareEvent2)
        OnSpareEvent2(*this);
}

void TBaseReport::DoSpareEvent3() {
    if (OnSpareEvent3)
        OnSpareEvent3(*this);
}

void TBaseReport::DoNewColumn() {
    if (OnNewColumn)
        OnNewColumn(*this);
}

void TBaseReport::DoSpareEvent4() {
    if (OnSpareEvent4)
        OnSpareEvent4(*this);
}

void TBaseReport::DoSpareEvent5() {
    if (OnSpareEvent5)
        OnSpareEvent5(*this);
}

void TBaseReport::DoSpareEvent6() {
    if (OnSpareEvent6)
        OnSpareEvent6(*this);
}

void TBaseReport::CheckPrinting() const {
    if (!Printing)
        throw EQuillet(Translate("Invalid method call.  Quillet is not printing."));
    if (Aborted)
        Abort();
}

void TBaseReport::CheckNotPrinting() const {
    if (Printing)
        throw EQuillet(Translate("Invalid method call.  Quillet already printing."));
}

void TBaseReport::AbortJob() {
    Aborted = true;
    SkipPage = true;
}

void TBaseReport::AbortPage() {
    CheckPrinting();
    if (SkipPage)
        return;
    SkipPage = true;
    --CurrentPage;
}

bool TBaseReport::OutputSuppressed() const {
    if (SkipPage)
        return true;
    const int32_t kind = OutputKind();
    return kind < 0 || kind > 7 || !(OutputKinds & (1u << kind));
}

bool TBaseReport::PageSelected(int32_t page) const {
    if (PageSelection.empty())
        return FirstPage <= page && page <= LastPage;
    std::string token;
    int32_t rangeStart = -1;
    // Closes the pending token: does it select the page?
    auto closeToken = [&]() {
        bool selected = false;
        if (token.empty()) {
            selected = rangeStart != -1 && page >= rangeStart;
        } else {
            const std::string word = UpperCaseAscii(token);
            if (word == "E" || word == "EVEN")
                selected = page % 2 == 0;
            else if (word == "O" || word == "ODD")
                selected = page % 2 != 0;
            else if (word == "A" || word == "ALL")
                selected = true;
            else if (word == "R")
                selected = false;
            else {
                const int32_t last = StrToInt(token);
                selected = rangeStart == -1 ? page == last : rangeStart <= page && page <= last;
            }
        }
        rangeStart = -1;
        token.clear();
        return selected;
    };
    for (const char c : PageSelection) {
        if (c == '-') {
            rangeStart = token.empty() ? 1 : StrToInt(token);
            token.clear();
        } else if (c == ',') {
            if (closeToken())
                return true;
        } else {
            token += c;
        }
    }
    return closeToken();
}

void TBaseReport::Execute() {
    try {
        Start();
        if (OnPrint || !OnPrintPage) {
            DoPrint();
        } else {
            while (DoPrintPage() && !Aborted)
                NewPage();
        }
    } catch (...) {
        Finish();
        throw;
    }
    Finish();
}

void TBaseReport::NewPage() {
    CheckPrinting();
    ++CurrentPage;
    UpdateStatus();
    SkipPage = !(PageSelected(CurrentPage) && !Aborted);
    SetOriginX(0);
    SetOriginY(0);
    RestartTabs();
    SetMarginBottom(GetMarginBottom());
    SetMarginRight(GetMarginRight());
    ResetArea();
    if (ColumnCount > 1)
        DoNewColumn();
    Home();
}

void TBaseReport::ResetJobState() {
    SetBrush(clBlack, bsClear, nullptr);
    SetPen(clBlack, psSolid, 1, pmCopy);
    SetOriginX(0);
    SetOriginY(0);
    ResetColumns();
    ClearTabs();
    ResetArea();
    Home();
    TabJustify = 4;
}

void TBaseReport::SelectPrinterIndex(int32_t index) {
    CheckNotPrinting();
    if (index < -1)
        return;
    if (!NoPrinters())
        Device().SelectPrinterIndex(index);
    RecalcPageMetrics();
}

bool TBaseReport::SelectPrinter(const std::string& name) {
    CheckNotPrinting();
    return Device().SelectPrinter(name, true) || Device().SelectPrinter(name, false);
}

void TBaseReport::SetCopies(int32_t copies) {
    CheckNotPrinting();
    if (!NoPrinters() && copies > 0)
        Device().SetCopies(copies);
    Copies = copies;
}

void TBaseReport::SetOrientation(uint8_t orientation) {
    if (!NoPrinters() && orientation != 2) {
        Device().SetOrientation(orientation);
        ReadDeviceMetrics();
    }
    Orientation = orientation;
}

void TBaseReport::SetDuplex(int32_t duplex) {
    if (duplex >= 0 && duplex <= 2)
        Device().SetDuplex(static_cast<uint8_t>(duplex));
}

void TBaseReport::SetCollate(bool collate) { Device().SetCollate(collate); }

bool TBaseReport::SelectBin(const std::string& name) { return Device().SelectBin(name, false); }

TDevMode* TBaseReport::DevMode() const { return NoPrinters() ? nullptr : Device().DevMode(); }

void TBaseReport::SetOutputFileName(const std::string& name) {
    if (NoPrinters())
        return;
    CheckNotPrinting();
    Device().SetOutputFileName(name);
}

std::string TBaseReport::DeviceName() const {
    return OutputKind() == kOutputPreview ? Translate("Preview") : Device().DeviceName();
}

std::string TBaseReport::DriverName() const {
    return OutputKind() == kOutputPreview ? Translate("Preview") : Device().DriverName();
}

std::string TBaseReport::PortName() const {
    return OutputKind() == kOutputPreview ? Translate("Screen") : Device().PortName();
}

void TBaseReport::DispatchTo(TDispatchTarget& object, intptr_t a, intptr_t b) {
    CheckPrinting();
    object.Dispatch(*this, a, b);
}

} // namespace rpt

#include "device/TQLDevice.h"

#include "device/EQuillet.h"
#include "device/TQLDeviceItem.h"
#include "device/Translate.h"
#include "platform/Convert.h"
#include "platform/DeviceContext.h"
#include "platform/Graphics.h"
#include "platform/PrinterDriver.h"
#include "platform/PrinterProfile.h"
#include "platform/UserInterface.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace rpt {

namespace {

constexpr size_t kDeviceListStep = 1024;
constexpr size_t kDeviceListSpare = 128;
constexpr size_t kProfileValueSize = 256;
// More bins than any printer has; a driver answering more is cut here.
constexpr int32_t kMaxBins = 1024;

// Upper case of the system's 8-bit code page (Windows-1252).
std::string AnsiUpperCase(std::string_view text) {
    std::string result(text);
    for (char& ch : result) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            ch = static_cast<char>(c - 0x20);
        else if (c == 0x9A || c == 0x9C || c == 0x9E)
            ch = static_cast<char>(c - 0x10);
        else if (c == 0xFF)
            ch = static_cast<char>(0x9F);
    }
    return result;
}

class TBinNumber : public TObject {
public:
    explicit TBinNumber(uint16_t value) : Value(value) {}
    uint16_t Value;
};

const TQLDeviceItem& ItemAt(const TStringList& printers, size_t index) {
    return static_cast<const TQLDeviceItem&>(*printers.Objects(index));
}

} // namespace

TQLDevice::TQLDevice(std::unique_ptr<PrinterProfile> profile,
                     std::unique_ptr<PrinterDriver> driver)
    : profile_(profile ? std::move(profile) : std::make_unique<NoPrinterProfile>()),
      driver_(std::move(driver)) {}

TQLDevice::~TQLDevice() {
    canvas_.reset();
    handle_.reset();
    devMode_.reset();
    printer_.reset();
}

char* TQLDevice::NextToken(char*& cursor) {
    if (!cursor)
        return nullptr;
    while (*cursor == ' ')
        ++cursor;
    char* start = cursor;
    char* comma = std::strchr(cursor, ',');
    if (comma) {
        *comma = '\0';
        cursor = comma + 1;
    } else {
        cursor = nullptr;
    }
    return start;
}

const TStringList& TQLDevice::Printers() {
    if (!printers_)
        BuildPrinters();
    return *printers_;
}

void TQLDevice::BuildPrinters() {
    auto list = std::make_unique<TStringList>();
    const std::string section = "DEVICES";
    std::vector<char> names(kDeviceListStep);
    size_t length = 0;
    for (;;) {
        length = profile_->GetProfileString(section, nullptr, "", names);
        if (length + kDeviceListSpare < names.size())
            break;
        names.assign(names.size() + kDeviceListStep, '\0');
    }
    std::vector<char> value(kProfileValueSize);
    size_t at = 0;
    while (at < length && names[at] != '\0') {
        const size_t nameLength = strnlen(&names[at], length - at);
        const std::string device(&names[at], nameLength);
        at += nameLength + 1;
        profile_->GetProfileString(section, &device, "", value);
        char* cursor = value.data();
        const std::string driver = NextToken(cursor);
        while (char* port = NextToken(cursor)) {
            if (device == "Rendering Subsystem")
                continue;
            list->AddObject(device + " on " + port,
                            std::make_unique<TQLDeviceItem>(device, driver, port));
        }
    }
    printers_ = std::move(list);
}

int32_t TQLDevice::FindPrinter(const std::string& device, const std::string& port) {
    const TStringList& printers = Printers();
    const std::string wantedDevice = UpperCaseAscii(device);
    const std::string wantedPort = UpperCaseAscii(port);
    for (size_t i = 0; i < printers.Count(); ++i) {
        const TQLDeviceItem& item = ItemAt(printers, i);
        if (UpperCaseAscii(item.DeviceName) == wantedDevice &&
            UpperCaseAscii(item.PortName) == wantedPort)
            return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t TQLDevice::DefaultPrinterIndex() {
    const int32_t last = static_cast<int32_t>(Printers().Count()) - 1;
    std::vector<char> value(kProfileValueSize);
    const std::string key = "DEVICE";
    profile_->GetProfileString("WINDOWS", &key, "", value);
    if (value[0] == '\0')
        return last;
    char* cursor = value.data();
    char* device = NextToken(cursor);
    NextToken(cursor); // the driver
    char* port = NextToken(cursor);
    // An entry without a port cannot name a listed printer.
    if (!device || !port)
        return last;
    const int32_t found = FindPrinter(device, port);
    return found >= 0 ? found : last;
}

int32_t TQLDevice::PrinterIndex() {
    if (printerIndex_ < 0) {
        printerIndex_ = -2;
        SelectPrinterIndex(-1);
    }
    return printerIndex_;
}

void TQLDevice::SelectPrinterIndex(int32_t index) {
    CheckNotPrinting();
    if (index == printerIndex_ || index >= static_cast<int32_t>(Printers().Count()))
        return;
    if (index < 0)
        index = DefaultPrinterIndex();
    if (index >= 0)
        LoadPrinter(index);
}

bool TQLDevice::SelectPrinter(const std::string& name, bool exact) {
    CheckNotPrinting();
    const TStringList& printers = Printers();
    const bool joined = name.find(" on ") != std::string::npos;
    const std::string wanted = AnsiUpperCase(name);
    for (size_t i = 0; i < printers.Count(); ++i) {
        const TQLDeviceItem& item = ItemAt(printers, i);
        const std::string display = item.DeviceName + " on " + item.PortName;
        bool match;
        if (exact)
            match = joined ? name == display : name == item.DeviceName;
        else
            match = !name.empty() && AnsiUpperCase(display).find(wanted) != std::string::npos;
        if (match) {
            SelectPrinterIndex(static_cast<int32_t>(i));
            return true;
        }
    }
    return false;
}

void TQLDevice::LoadPrinter(int32_t index) {
    if (index == printerIndex_)
        return;
    ReleasePrinter();
    printerIndex_ = index;
    const TQLDeviceItem& item = ItemAt(Printers(), static_cast<size_t>(index));
    deviceName_ = item.DeviceName;
    driverName_ = item.DriverName;
    portName_ = item.PortName;
    if (driver_)
        printer_ = driver_->OpenPrinter(deviceName_);
    if (!printer_)
        return;
    if (printer_->DocumentProperties(nullptr, nullptr, 0) <= 0)
        return;
    devMode_ = std::make_unique<TDevMode>();
    settingsChanged_ = false;
    if (printer_->DocumentProperties(devMode_.get(), devMode_.get(), DM_OUT_BUFFER) < 0)
        ReleasePrinter();
}

void TQLDevice::ReleasePrinter() {
    SetState(dsNone);
    if (devMode_) {
        devMode_.reset();
        settingsChanged_ = false;
        printerIndex_ = -2;
    }
    printer_.reset();
    bins_.reset();
    deviceName_.clear();
    driverName_.clear();
    portName_.clear();
}

void TQLDevice::SetState(TDeviceState newState) {
    const bool noPrinters = Printers().Empty();
    // A context that could not be made is asked for again rather than
    // answered as held.
    const bool contextMissing = newState != dsNone && !noPrinters && !handle_;
    if (newState == state_ && !contextMissing)
        return;
    if (state_ == dsDC && newState == dsIC && !contextMissing)
        return;
    if (handle_) {
        SaveCanvasState();
        handle_.reset();
    }
    if (newState != dsNone && !noPrinters) {
        if (PrinterIndex() < 0)
            throw EQuillet(Translate("No printer is selected."));
        const TQLDeviceItem& item = ItemAt(Printers(), static_cast<size_t>(printerIndex_));
        if (driver_)
            handle_ = newState == dsIC
                          ? driver_->CreateIC(item.DriverName, item.DeviceName, item.PortName,
                                              devMode_.get())
                          : driver_->CreateDC(item.DriverName, item.DeviceName, item.PortName,
                                              devMode_.get());
        if (!handle_)
            throw EQuillet(Translate("Invalid Printer - " + deviceName_ + " on " + portName_ +
                                     " (" + driverName_ + ")"));
        if (canvas_)
            canvas_->SetHandle(handle_.get());
    }
    state_ = newState;
}

DeviceContext* TQLDevice::Handle() {
    SetState(dsIC);
    return handle_.get();
}

TQLCanvas& TQLDevice::Canvas() {
    if (!canvas_) {
        auto canvas = std::make_unique<TQLCanvas>(*this);
        if (DeviceContext* context = Handle()) {
            canvas->SetHandle(context);
            canvas->Font().SetPixelsPerInch(context->GetDeviceCaps(LOGPIXELSY));
        }
        canvas_ = std::move(canvas);
    }
    return *canvas_;
}

void TQLDevice::ApplyDevMode(bool force) {
    if (!force && !(state_ == dsIC && settingsChanged_))
        return;
    settingsChanged_ = false;
    SaveCanvasState();
    if (devMode_ && handle_ && driver_)
        driver_->ResetDC(*handle_, *devMode_);
    RestoreCanvasState();
}

void TQLDevice::SaveCanvasState() {
    canvasSaved_ = canvas_ != nullptr;
    if (!canvas_)
        return;
    const TBrush& brush = canvas_->Brush();
    saved_.brushColor = brush.Color();
    saved_.brushStyle = brush.Style();
    saved_.brushPattern.reset();
    if (brush.HasPattern() && !brush.Pattern()->Empty()) {
        saved_.brushPattern = std::make_shared<TBitmap>();
        saved_.brushPattern->Assign(*brush.Pattern());
    }
    const TPen& pen = canvas_->Pen();
    saved_.penColor = pen.Color();
    saved_.penMode = pen.Mode();
    saved_.penStyle = pen.Style();
    saved_.penWidth = pen.Width();
    const TFont& font = canvas_->Font();
    saved_.fontName = font.Name();
    saved_.fontSize = font.Size();
    saved_.fontColor = font.Color();
    saved_.fontStyle = font.Style();
    canvas_->SetHandle(nullptr);
}

void TQLDevice::RestoreCanvasState() {
    if (!canvasSaved_ || !canvas_)
        return;
    canvas_->SetHandle(handle_.get());
    if (handle_)
        canvas_->Font().SetPixelsPerInch(handle_->GetDeviceCaps(LOGPIXELSY));
    TBrush& brush = canvas_->Brush();
    brush.SetColor(saved_.brushColor);
    brush.SetStyle(static_cast<TBrushStyle>(saved_.brushStyle));
    if (saved_.brushPattern)
        brush.SetPattern(std::move(saved_.brushPattern));
    TPen& pen = canvas_->Pen();
    pen.SetColor(saved_.penColor);
    pen.SetMode(static_cast<TPenMode>(saved_.penMode));
    pen.SetStyle(static_cast<TPenStyle>(saved_.penStyle));
    pen.SetWidth(saved_.penWidth);
    TFont& font = canvas_->Font();
    font.SetName(saved_.fontName);
    font.SetSize(saved_.fontSize);
    font.SetColor(saved_.fontColor);
    font.SetStyle(saved_.fontStyle);
}

int32_t TQLDevice::PrintableWidth() {
    SetState(dsIC);
    ApplyDevMode(false);
    return handle_ ? handle_->GetDeviceCaps(HORZRES) : 0;
}

int32_t TQLDevice::PrintableHeight() {
    SetState(dsIC);
    ApplyDevMode(false);
    return handle_ ? handle_->GetDeviceCaps(VERTRES) : 0;
}

TDevMode* TQLDevice::DevMode() {
    if (Printers().Empty())
        return nullptr;
    PrinterIndex();
    return devMode_.get();
}

void TQLDevice::SetOrientation(uint8_t value) {
    TDevMode* record = DevMode();
    // Only portrait and landscape are orientations; anything else keeps the
    // printer's setting.
    if (!record || value > 1)
        return;
    const auto wanted = static_cast<int16_t>(value + 1);
    if (record->dmOrientation != wanted) {
        record->dmOrientation = wanted;
        record->dmFields |= DM_ORIENTATION;
        settingsChanged_ = true;
    }
}

int32_t TQLDevice::MaxCopies() {
    if (Printers().Empty())
        return 1;
    SetState(dsIC);
    if (!driver_)
        return 1;
    return driver_->DeviceCapabilities(deviceName_, portName_, DC_COPIES, {}, devMode_.get());
}

void TQLDevice::SetCopies(int32_t count) {
    CheckNotPrinting();
    TDevMode* record = DevMode();
    if (!record || count <= 0 || count > INT16_MAX)
        return;
    // The driver's maximum is itself a count the printer can make.
    if (count > MaxCopies())
        return;
    if (record->dmCopies != count) {
        record->dmCopies = static_cast<int16_t>(count);
        record->dmFields |= DM_COPIES;
        settingsChanged_ = true;
    }
}

bool TQLDevice::SupportsDuplex() {
    const TDevMode* record = DevMode();
    return record && (record->dmFields & DM_DUPLEX);
}

void TQLDevice::SetDuplex(uint8_t value) {
    CheckNotPrinting();
    TDevMode* record = DevMode();
    if (!record || !SupportsDuplex() || value > 2)
        return;
    const auto wanted = static_cast<int16_t>(value + 1);
    if (record->dmDuplex != wanted) {
        record->dmDuplex = wanted;
        record->dmFields |= DM_DUPLEX;
        settingsChanged_ = true;
    }
}

bool TQLDevice::SupportsCollate() {
    const TDevMode* record = DevMode();
    return record && (record->dmFields & DM_COLLATE);
}

void TQLDevice::SetCollate(bool value) {
    CheckNotPrinting();
    TDevMode* record = DevMode();
    if (!record || !SupportsCollate())
        return;
    if (value != (record->dmCollate == DMCOLLATE_TRUE)) {
        record->dmCollate = value ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
        record->dmFields |= DM_COLLATE;
        settingsChanged_ = true;
    }
}

const TStringList& TQLDevice::Bins() {
    if (!bins_)
        BuildBins();
    return *bins_;
}

uint16_t TQLDevice::BinNumber(size_t index) {
    return static_cast<const TBinNumber&>(*Bins().Objects(index)).Value;
}

void TQLDevice::BuildBins() {
    auto list = std::make_unique<TStringList>();
    SetState(dsIC);
    if (!Printers().Empty() && driver_) {
        const int32_t count = std::min(
            driver_->DeviceCapabilities(deviceName_, portName_, DC_BINNAMES, {}, nullptr),
            kMaxBins);
        if (count > 0) {
            std::vector<uint8_t> names(static_cast<size_t>(count) * kBinNameLength);
            std::vector<uint8_t> numbers(static_cast<size_t>(count) * 2);
            if (driver_->DeviceCapabilities(deviceName_, portName_, DC_BINNAMES, names,
                                            nullptr) >= 0) {
                driver_->DeviceCapabilities(deviceName_, portName_, DC_BINS, numbers, nullptr);
                for (int32_t i = 0; i < count; ++i) {
                    const char* field = reinterpret_cast<const char*>(&names[i * kBinNameLength]);
                    const uint16_t number =
                        static_cast<uint16_t>(numbers[i * 2] | (numbers[i * 2 + 1] << 8));
                    list->AddObject(std::string(field, strnlen(field, kBinNameLength)),
                                    std::make_unique<TBinNumber>(number));
                }
            }
        }
    }
    bins_ = std::move(list);
}

bool TQLDevice::SelectBin(const std::string& name, bool exact) {
    const TStringList& bins = Bins();
    const std::string wanted = AnsiUpperCase(name);
    for (size_t i = 0; i < bins.Count(); ++i) {
        const std::string& bin = bins.Strings(i);
        // An empty name asks for no bin in particular.
        const bool match = exact ? bin == name
                                 : !name.empty() && AnsiUpperCase(bin).find(wanted) !=
                                                        std::string::npos;
        if (!match)
            continue;
        TDevMode* record = DevMode();
        if (!record)
            return false;
        const auto number = static_cast<int16_t>(BinNumber(i));
        if (record->dmDefaultSource != number) {
            record->dmDefaultSource = number;
            record->dmFields |= DM_DEFAULTSOURCE;
            settingsChanged_ = true;
        }
        return true;
    }
    return false;
}

void TQLDevice::SetOutputFileName(const std::string& name) {
    CheckNotPrinting();
    outputFileName_.reset();
    if (!name.empty())
        outputFileName_ = name;
}

void TQLDevice::CheckPrinting() const {
    if (!printing_)
        throw EQuillet(Translate("Invalid method call.  Device is not printing."));
}

void TQLDevice::CheckNotPrinting() const {
    if (printing_)
        throw EQuillet(Translate("Invalid method call.  Device already printing."));
}

bool TQLDevice::AbortProc() {
    UI().ProcessMessages();
    return !aborted_;
}

void TQLDevice::BeginJob() {
    CheckNotPrinting();
    ApplyDevMode(false);
    SetState(dsDC);
    printing_ = true;
    aborted_ = false;
    Canvas().Refresh();
    if (handle_ && driver_) {
        const TDocInfo info{Title, outputFileName_};
        driver_->SetAbortProc(*handle_, [this](int) { return AbortProc(); });
        driver_->StartDoc(*handle_, info);
    }
    pageOpen_ = false;
}

void TQLDevice::PageBreak(bool startNext) {
    CheckPrinting();
    if (pageOpen_ && handle_ && driver_)
        driver_->EndPage(*handle_);
    pageOpen_ = false;
    if (settingsChanged_)
        ApplyDevMode(true);
    else if (canvas_)
        canvas_->Refresh();
    if (startNext && handle_ && driver_)
        driver_->StartPage(*handle_);
    pageOpen_ = startNext;
}

void TQLDevice::EndJob() {
    CheckPrinting();
    // The device is idle afterwards even when the spooler refuses the
    // document and the driver raises, so that the refusal can be reported
    // and the next job can start.
    struct Idle {
        TQLDevice& device;
        ~Idle() {
            device.pageOpen_ = false;
            device.printing_ = false;
            device.aborted_ = false;
            device.SetState(dsNone);
        }
    } idle{*this};
    if (pageOpen_ && handle_ && driver_)
        driver_->EndPage(*handle_);
    pageOpen_ = false;
    if (!aborted_ && handle_ && driver_)
        driver_->EndDoc(*handle_);
}

void TQLDevice::CancelJob() {
    CheckPrinting();
    if (handle_ && driver_)
        driver_->AbortDoc(*handle_);
    aborted_ = true;
    EndJob();
}

} // namespace rpt

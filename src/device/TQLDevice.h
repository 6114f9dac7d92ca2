#pragma once
// The printer device: the installed printers read from the system profile,
// the selected printer with its settings record, one information or device
// context with a canvas on it, and the bracket of a print job and its pages.
// One instance serves the whole process (SharedDevice).
#include "device/TQLCanvas.h"
#include "platform/Component.h"
#include "platform/DevMode.h"
#include "platform/StringList.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace rpt {

class DeviceContext;
class PrinterConnection;
class PrinterDriver;
class PrinterProfile;
class TBitmap;

enum TDeviceState : uint8_t { dsNone, dsIC, dsDC };

class TQLDevice : public TObject {
public:
    // The driver may be null for a profile without printers.
    TQLDevice(std::unique_ptr<PrinterProfile> profile, std::unique_ptr<PrinterDriver> driver);
    ~TQLDevice() override;
    TQLDevice(const TQLDevice&) = delete;
    TQLDevice& operator=(const TQLDevice&) = delete;

    // Display names "device on port", one per port, each owning a TQLDeviceItem.
    const TStringList& Printers();
    // Selects the system's default printer first when none is selected; -2
    // when there is none to select.
    int32_t PrinterIndex();
    // A negative index selects the system's default printer.
    void SelectPrinterIndex(int32_t index);
    bool SelectPrinter(const std::string& name, bool exact);
    // Index of the entry with these device and port names (ASCII letters
    // compared without case), or -1.
    int32_t FindPrinter(const std::string& device, const std::string& port);

    // Names of the selected printer; empty when none is selected.
    const std::string& DeviceName() const { return deviceName_; }
    const std::string& DriverName() const { return driverName_; }
    const std::string& PortName() const { return portName_; }

    TDeviceState State() const { return state_; }
    void SetState(TDeviceState newState);
    // The current context (making an information context when none is held);
    // null only when no printer is installed.
    DeviceContext* Handle();
    TQLCanvas& Canvas();
    // Resets the context with the settings record when forced, or when an
    // information context is held and the settings changed.
    void ApplyDevMode(bool force);
    int32_t PrintableWidth();
    int32_t PrintableHeight();

    // The selected printer's settings record; null without printers or
    // when the printer gave none.
    TDevMode* DevMode();
    bool SettingsChanged() const { return settingsChanged_; }
    void SetOrientation(uint8_t value);
    void SetCopies(int32_t count);
    int32_t MaxCopies();
    void SetDuplex(uint8_t value);
    bool SupportsDuplex();
    void SetCollate(bool value);
    bool SupportsCollate();
    // Paper bin names of the selected printer.
    const TStringList& Bins();
    uint16_t BinNumber(size_t index);
    bool SelectBin(const std::string& name, bool exact);
    void SetOutputFileName(const std::string& name);
    const std::optional<std::string>& OutputFileName() const { return outputFileName_; }

    // Document name given to the spooler.
    std::string Title;

    void BeginJob();
    // Ends the open page, applies changed settings, and starts the next page
    // when asked.
    void PageBreak(bool startNext);
    void EndJob();
    void CancelJob();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    bool PageOpen() const { return pageOpen_; }
    void CheckPrinting() const;
    void CheckNotPrinting() const;
    // Called while the job spools: lets pending window messages run and
    // answers false once the job was cancelled.
    bool AbortProc();

    // Splits a comma-separated field off a NUL-terminated buffer in place:
    // skips leading spaces, ends the field at the next comma and moves the
    // cursor past it (or to null after the last field).
    static char* NextToken(char*& cursor);

private:
    struct SavedCanvasState {
        TColor brushColor = 0;
        uint8_t brushStyle = 0;
        std::shared_ptr<TBitmap> brushPattern;
        std::string fontName;
        int32_t fontSize = 0;
        TColor fontColor = 0;
        uint8_t fontStyle = 0;
        uint8_t penMode = 0;
        uint8_t penStyle = 0;
        int32_t penWidth = 0;
        TColor penColor = 0;
    };

    void BuildPrinters();
    int32_t DefaultPrinterIndex();
    void LoadPrinter(int32_t index);
    void ReleasePrinter();
    void BuildBins();
    void SaveCanvasState();
    void RestoreCanvasState();

    std::unique_ptr<PrinterProfile> profile_;
    std::unique_ptr<PrinterDriver> driver_;
    std::string deviceName_;
    std::string driverName_;
    std::string portName_;
    std::unique_ptr<DeviceContext> handle_;
    std::unique_ptr<PrinterConnection> printer_;
    std::unique_ptr<TDevMode> devMode_;
    TDeviceState state_ = dsNone;
    bool printing_ = false;
    bool aborted_ = false;
    std::unique_ptr<TStringList> printers_;
    std::unique_ptr<TStringList> bins_;
    int32_t printerIndex_ = -2;
    std::optional<std::string> outputFileName_;
    // Declared after the context so that it is freed before it.
    std::unique_ptr<TQLCanvas> canvas_;
    bool canvasSaved_ = false;
    bool settingsChanged_ = false;
    SavedCanvasState saved_;
    bool pageOpen_ = false;
};

} // namespace rpt

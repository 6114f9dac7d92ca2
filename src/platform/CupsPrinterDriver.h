#pragma once
// The printer driver over CUPS: printers are the scheduler's destinations
// (a private scheduler named by CUPS_SERVER works the same), their settings
// records come from the printers' defaults, and a print job's pages are
// spooled as PDF and submitted when the document ends, or written to the
// job's output file when it names one.
#include "platform/PdfSpoolingDriver.h"

#include <map>
#include <memory>
#include <string>

namespace rpt {

class CupsDestination;

class CupsPrinterDriver : public PdfSpoolingDriver {
public:
    CupsPrinterDriver();
    ~CupsPrinterDriver() override;

    std::unique_ptr<PrinterConnection> OpenPrinter(const std::string& deviceName) override;
    int32_t DeviceCapabilities(const std::string& device, const std::string& port,
                               uint16_t capability, std::span<uint8_t> output,
                               const TDevMode* devMode) override;

protected:
    PageGeometry PageFor(const std::string& device, const TDevMode* devMode) override;
    bool Knows(const std::string& device) override;
    std::unique_ptr<PrintJobSink> SinkFor(const std::string& device, const TDevMode& settings,
                                          const TDocInfo& info) override;

private:
    // The destination as first looked up (null when the scheduler does not
    // know it); a job looks it up afresh when it starts.
    const CupsDestination* Lookup(const std::string& device);
    std::map<std::string, std::shared_ptr<const CupsDestination>> destinations_;
};

} // namespace rpt

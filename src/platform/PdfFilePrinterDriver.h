#pragma once
// The built-in PDF printer: one printer, "PDF", whose jobs are written to a
// PDF file chosen when it is made. Its paper is the report's page, with no
// unprintable edges; it works with no printer installed.
#include "platform/PageGeometry.h"
#include "platform/PdfSpoolingDriver.h"
#include "platform/PrinterProfile.h"

#include <memory>
#include <string>

namespace rpt {

class PdfFilePrinterDriver : public PdfSpoolingDriver {
public:
    static constexpr const char* kDeviceName = "PDF";
    static constexpr const char* kDriverName = "rptview PDF";
    static constexpr const char* kPortName = "FILE:";
    static constexpr int32_t kResolution = 600;

    // The page in inches, as the report gives it: wider than high means
    // landscape paper unless a report asks otherwise.
    PdfFilePrinterDriver(double pageWidth, double pageHeight, std::string outputFile);

    // The profile listing this printer as the only and default one.
    static std::unique_ptr<PrinterProfile> Profile();

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
    PrinterMedia media_;
    bool landscape_;
    std::string outputFile_;
};

} // namespace rpt

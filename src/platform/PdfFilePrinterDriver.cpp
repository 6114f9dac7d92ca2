#include "platform/PdfFilePrinterDriver.h"

#include "platform/IniPrinterProfile.h"
#include "platform/PaperSizes.h"
#include "platform/PrintOutputFile.h"
#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>

namespace rpt {

namespace {

// A page size the file cannot have is replaced by letter paper.
int32_t HundredthsOfMm(double inches, int32_t fallback) {
    if (!std::isfinite(inches) || inches < 0.1 || inches > 200)
        return fallback;
    return Round(inches * 2540.0);
}

class PdfPrinterConnection : public PrinterConnection {
public:
    PdfPrinterConnection(const PrinterMedia& media, bool landscape)
        : media_(media), landscape_(landscape) {}

    int32_t DocumentProperties(TDevMode* out, const TDevMode* in, uint32_t mode) override {
        if (mode == 0)
            return sizeof(TDevMode);
        if (!(mode & DM_OUT_BUFFER) || !out)
            return 1;
        TDevMode settings;
        settings.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH |
                            DM_COPIES;
        settings.dmOrientation = landscape_ ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        settings.dmPaperSize = PaperCodeForSize(media_.Width, media_.Length);
        settings.dmPaperWidth = static_cast<int16_t>(std::clamp(media_.Width / 10, 1, 32767));
        settings.dmPaperLength = static_cast<int16_t>(std::clamp(media_.Length / 10, 1, 32767));
        settings.dmCopies = 1;
        if ((mode & DM_IN_BUFFER) && in && (in->dmFields & DM_ORIENTATION))
            settings.dmOrientation = in->dmOrientation;
        *out = settings;
        return 1;
    }

private:
    PrinterMedia media_;
    bool landscape_;
};

} // namespace

PdfFilePrinterDriver::PdfFilePrinterDriver(double pageWidth, double pageHeight,
                                           std::string outputFile)
    : outputFile_(std::move(outputFile)) {
    const int32_t width = HundredthsOfMm(pageWidth, 21590);
    const int32_t height = HundredthsOfMm(pageHeight, 27940);
    media_.Width = std::min(width, height);
    media_.Length = std::max(width, height);
    media_.Name = MediaNameForSize(media_.Width, media_.Length);
    landscape_ = width > height;
}

std::unique_ptr<PrinterProfile> PdfFilePrinterDriver::Profile() {
    const std::string entry = std::string(kDriverName) + "," + kPortName;
    return std::make_unique<IniPrinterProfile>(std::string("[DEVICES]\n") + kDeviceName + "=" +
                                               entry + "\n[WINDOWS]\nDEVICE=" + kDeviceName +
                                               "," + entry + "\n");
}

std::unique_ptr<PrinterConnection> PdfFilePrinterDriver::OpenPrinter(const std::string& name) {
    if (!Knows(name))
        return nullptr;
    return std::make_unique<PdfPrinterConnection>(media_, landscape_);
}

bool PdfFilePrinterDriver::Knows(const std::string& device) { return device == kDeviceName; }

PageGeometry PdfFilePrinterDriver::PageFor(const std::string&, const TDevMode* devMode) {
    // The paper stays the report's page whatever paper code a report asks
    // for; only its orientation follows the record.
    const bool landscape = devMode ? devMode->dmOrientation == DMORIENT_LANDSCAPE : landscape_;
    return PageGeometry::From(media_, landscape, kResolution);
}

std::unique_ptr<PrintJobSink> PdfFilePrinterDriver::SinkFor(const std::string&, const TDevMode&,
                                                            const TDocInfo&) {
    // The file named when the printer was made is the user's own choice; an
    // output file a report names is not used.
    return std::make_unique<PrintOutputFile>(outputFile_, false);
}

int32_t PdfFilePrinterDriver::DeviceCapabilities(const std::string& device, const std::string&,
                                                 uint16_t capability, std::span<uint8_t>,
                                                 const TDevMode*) {
    if (!Knows(device))
        return -1;
    switch (capability) {
    case DC_COPIES: return 1;
    case DC_BINNAMES:
    case DC_BINS: return 0;
    default: return -1;
    }
}

} // namespace rpt

#include "cli/PrintingSystems.h"

#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "platform/CupsPrinterDriver.h"
#include "platform/CupsPrinterProfile.h"
#include "platform/PdfFilePrinterDriver.h"

namespace rpt::cli {

CupsPrinterDriver& InstallCupsPrinters() {
    auto driver = std::make_unique<CupsPrinterDriver>();
    CupsPrinterDriver& installed = *driver;
    ReplaceSharedDevice(
        std::make_unique<TQLDevice>(std::make_unique<CupsPrinterProfile>(), std::move(driver)));
    return installed;
}

PdfFilePrinterDriver& InstallPdfPrinter(double pageWidth, double pageHeight,
                                        const std::string& outputFile) {
    auto driver = std::make_unique<PdfFilePrinterDriver>(pageWidth, pageHeight, outputFile);
    PdfFilePrinterDriver& installed = *driver;
    ReplaceSharedDevice(
        std::make_unique<TQLDevice>(PdfFilePrinterDriver::Profile(), std::move(driver)));
    return installed;
}

} // namespace rpt::cli

#pragma once
// The printing systems the tool's commands work with, put in place of the
// shared printer device before any report component is made.
#include <string>

namespace rpt {
class CupsPrinterDriver;
class PdfFilePrinterDriver;
}

namespace rpt::cli {

// The printers of the CUPS scheduler (CUPS_SERVER chooses a private one);
// answers their driver (owned by the shared device).
CupsPrinterDriver& InstallCupsPrinters();
// The built-in PDF printer, writing to `outputFile` on paper of the given
// size in inches; answers its driver (owned by the shared device).
PdfFilePrinterDriver& InstallPdfPrinter(double pageWidth, double pageHeight,
                                        const std::string& outputFile);

} // namespace rpt::cli

#include "cli/OpenReport.h"

#include "reader/TFilePrinter.h"

namespace rpt::cli {

bool OpenReport(TFilePrinter& printer, const std::string& path) {
    printer.SetFileName(path);
    printer.SetStreamMode(smFile);
    if (!printer.OpenStream())
        return false;
    printer.ReadHeader();
    printer.ResetPagePosition();
    return true;
}

} // namespace rpt::cli

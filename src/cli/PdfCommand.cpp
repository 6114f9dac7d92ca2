#include "cli/CliCommand.h"
#include "cli/ErrorCountingInterface.h"
#include "cli/OpenReport.h"
#include "cli/PageSelectionArgument.h"
#include "cli/PrintingSystems.h"
#include "cli/UsageError.h"
#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "platform/Exceptions.h"
#include "platform/PdfFilePrinterDriver.h"
#include "reader/TFilePrinter.h"

#include <optional>
#include <string>
#include <vector>

namespace rpt::cli {

int RunPdf(std::span<const std::string_view> args, std::FILE* out) {
    std::optional<std::string> pages;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "-p" || arg == "--pages") {
            if (i + 1 >= args.size())
                throw UsageError("pdf: -p needs a page selection");
            pages = PageSelectionArgument("pdf", args[++i]);
        } else if (arg.starts_with("-") && arg.size() > 1) {
            throw UsageError("pdf: unknown option '" + std::string(arg) + "'");
        } else {
            files.emplace_back(arg);
        }
    }
    if (files.size() != 2)
        throw UsageError("pdf: needs the report FILE and the OUTPUT.pdf to write");
    const std::string& report = files[0];
    const std::string& output = files[1];

    const ErrorCountingInterface boxes;
    double pageWidth = 0, pageHeight = 0;
    {
        // The PDF printer's paper is the report's page, read before the
        // printer is made.
        ReplaceSharedDevice(nullptr);
        TFilePrinter probe(nullptr);
        if (!OpenReport(probe, report))
            return 1;
        pageWidth = probe.PageWidth;
        pageHeight = probe.PageHeight;
    }
    const PdfFilePrinterDriver& driver = InstallPdfPrinter(pageWidth, pageHeight, output);
    TFilePrinter printer(nullptr);
    printer.SetFileName(report);
    printer.SetStreamMode(smFile);
    if (pages)
        printer.PageSelection = *pages;
    printer.PrintRange(0, 0, 0);
    if (boxes.Errors() > 0)
        return 1;
    if (driver.PagesStarted() == 0)
        throw Exception("No page of the report was selected; \"" + output + "\" was not written.");
    std::fprintf(out, "wrote %d pages to %s\n", driver.PagesStarted(), output.c_str());
    return 0;
}

} // namespace rpt::cli

#include "cli/CliCommand.h"
#include "cli/ErrorCountingInterface.h"
#include "cli/PageSelectionArgument.h"
#include "cli/PrintingSystems.h"
#include "cli/UsageError.h"
#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "platform/CupsPrinterDriver.h"
#include "platform/Exceptions.h"
#include "platform/PrintOutputFile.h"
#include "reader/TFilePrinter.h"

#include <optional>
#include <string>

namespace rpt::cli {

namespace {

constexpr int kMaxCopies = 9999;

struct PrintArguments {
    std::optional<std::string> Printer;
    std::optional<std::string> Pages;
    int Copies = 0;
    bool Overwrite = false;
    std::string File;
};

PrintArguments ParsePrintArguments(std::span<const std::string_view> args) {
    PrintArguments parsed;
    bool haveFile = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        auto value = [&](const char* option) {
            if (i + 1 >= args.size())
                throw UsageError(std::string("print: ") + option + " needs a value");
            return args[++i];
        };
        if (arg == "--printer")
            parsed.Printer = std::string(value("--printer"));
        else if (arg == "-p" || arg == "--pages")
            parsed.Pages = PageSelectionArgument("print", value("-p"));
        else if (arg == "--copies")
            parsed.Copies = CountArgument("print", "--copies", value("--copies"), kMaxCopies);
        else if (arg == "--overwrite")
            parsed.Overwrite = true;
        else if (arg.starts_with("-") && arg.size() > 1)
            throw UsageError("print: unknown option '" + std::string(arg) + "'");
        else if (haveFile)
            throw UsageError("print: only one FILE may be given");
        else {
            parsed.File = std::string(arg);
            haveFile = true;
        }
    }
    if (!haveFile)
        throw UsageError("print: no FILE given");
    return parsed;
}

// Consent to replace a print file the report names, for the command's lifetime.
class OverwriteConsentScope {
public:
    explicit OverwriteConsentScope(bool allowed)
        : previous_(SetOverwriteConsent(allowed ? OverwriteConsent([](const std::string&) {
              return true;
          })
                                                : OverwriteConsent())) {}
    ~OverwriteConsentScope() { SetOverwriteConsent(std::move(previous_)); }
    OverwriteConsentScope(const OverwriteConsentScope&) = delete;
    OverwriteConsentScope& operator=(const OverwriteConsentScope&) = delete;

private:
    OverwriteConsent previous_;
};

} // namespace

int RunPrint(std::span<const std::string_view> args, std::FILE* out) {
    const PrintArguments parsed = ParsePrintArguments(args);
    const CupsPrinterDriver& driver = InstallCupsPrinters();
    const OverwriteConsentScope consent(parsed.Overwrite);
    const ErrorCountingInterface boxes;
    TFilePrinter printer(nullptr);
    printer.SetFileName(parsed.File);
    printer.SetStreamMode(smFile);
    if (parsed.Printer && !printer.NoPrinters()) {
        if (!printer.SelectPrinter(*parsed.Printer))
            throw Exception("There is no printer named \"" + *parsed.Printer + "\".");
        // Selecting by name keeps the old page metrics; the chosen
        // printer's are read again.
        printer.SelectPrinterIndex(SharedDevice().PrinterIndex());
    }
    if (parsed.Pages)
        printer.PageSelection = *parsed.Pages;
    printer.PrintRange(0, 0, parsed.Copies);
    if (boxes.Errors() > 0)
        return 1;
    if (driver.PagesStarted() == 0)
        throw Exception("No page of the report was selected; nothing was printed.");
    const TQLDevice& device = SharedDevice();
    std::fprintf(out, "printed %s on %s on %s\n", parsed.File.c_str(), device.DeviceName().c_str(),
                 device.PortName().c_str());
    return 0;
}

} // namespace rpt::cli

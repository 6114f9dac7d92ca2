#include "cli/CliCommand.h"
#include "cli/PrintingSystems.h"
#include "cli/UsageError.h"
#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "device/TQLDeviceItem.h"

#include <string>

namespace rpt::cli {

namespace {

const char* YesNo(bool value) { return value ? "yes" : "no"; }

} // namespace

int RunPrinters(std::span<const std::string_view> args, std::FILE* out) {
    if (!args.empty())
        throw UsageError("printers: unexpected argument '" + std::string(args[0]) + "'");
    InstallCupsPrinters();
    TQLDevice& device = SharedDevice();
    const TStringList& printers = device.Printers();
    if (printers.Empty()) {
        std::fprintf(out, "No printers are installed.\n");
        return 0;
    }
    const int32_t defaultIndex = device.PrinterIndex();
    for (size_t i = 0; i < printers.Count(); ++i) {
        device.SelectPrinterIndex(static_cast<int32_t>(i));
        const auto& item = static_cast<const TQLDeviceItem&>(*printers.Objects(i));
        std::fprintf(out, "%s%s\n", printers.Strings(i).c_str(),
                     static_cast<int32_t>(i) == defaultIndex ? "  (default)" : "");
        std::fprintf(out, "  driver:        %s\n", item.DriverName.c_str());
        const TStringList& bins = device.Bins();
        std::string sources;
        for (size_t b = 0; b < bins.Count(); ++b)
            sources += (b ? ", " : "") + bins.Strings(b) + " (" +
                       std::to_string(device.BinNumber(b)) + ")";
        std::fprintf(out, "  paper sources: %s\n", sources.empty() ? "-" : sources.c_str());
        std::fprintf(out, "  duplex:        %s\n", YesNo(device.SupportsDuplex()));
        std::fprintf(out, "  collation:     %s\n", YesNo(device.SupportsCollate()));
        std::fprintf(out, "  copies:        up to %d\n", device.MaxCopies());
    }
    return 0;
}

} // namespace rpt::cli

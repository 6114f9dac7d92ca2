#include "cli/CliCommand.h"
#include "cli/OpenReport.h"
#include "cli/OperandText.h"
#include "cli/TextFormat.h"
#include "cli/UsageError.h"
#include "platform/Convert.h"
#include "reader/TFilePrinter.h"
#include "reader/TReportScanner.h"

#include <ctime>
#include <optional>
#include <string>

namespace rpt::cli {

namespace {

void PrintPage(std::FILE* out, const TPageInfo& page) {
    std::fprintf(out, "%10d  P   page %d  prev=%d next=%d width=%s height=%s\n", page.Offset,
                 page.Number, page.Prev, page.Next, SingleText(page.Width).c_str(),
                 SingleText(page.Height).c_str());
}

void PrintCommand(std::FILE* out, int64_t offset, const TCommandSpec& command,
                  const std::vector<TOperandValue>& operands) {
    std::string line;
    for (size_t i = 0; i < command.Operands.size() && i < operands.size(); ++i) {
        std::string text = OperandText(command.Operands[i], operands[i]);
        if (!text.empty())
            line += "  " + text;
    }
    std::fprintf(out, "%10lld  %-3d %s%s\n", static_cast<long long>(offset), command.Code,
                 command.Name, line.c_str());
}

} // namespace

int RunDump(std::span<const std::string_view> args, std::FILE* out) {
    std::optional<int32_t> only;
    std::string path;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--page" || arg.starts_with("--page=")) {
            std::string value;
            if (arg == "--page") {
                if (i + 1 >= args.size())
                    throw UsageError("dump: --page needs a page number");
                value = args[++i];
            } else {
                value = arg.substr(7);
            }
            const auto number = TryStrToInt(value);
            if (!number || *number < 1 || *number > 65535)
                throw UsageError("dump: '" + value + "' is not a page number");
            only = *number;
        } else if (arg.starts_with("-") && arg != "-") {
            throw UsageError("dump: unknown option '" + std::string(arg) + "'");
        } else if (path.empty()) {
            path = arg;
        } else {
            throw UsageError("dump: only one FILE may be given");
        }
    }
    if (path.empty())
        throw UsageError("dump: no FILE given");

    TFilePrinter printer(nullptr);
    if (!OpenReport(printer, path))
        return 1;
    // Date and time macros expand to the moment of the listing, as they
    // would at the start of a job.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    printer.JobDateTime = 25569.0 + (double(now) + double(local.tm_gmtoff)) / 86400.0;

    const TFileHeader& h = printer.FileHeader;
    std::fprintf(out, "%10d  %c   header  format=%d title=%s pages=%d\n", 0,
                 h.VersionCode, h.FormatVersion, QuotedText(h.Title).c_str(), h.TotalPages);
    bool found = false;
    // Output is flushed as it goes, so whatever was read before a malformed
    // record or command stays visible above its error.
    TReportScanner scanner(printer);
    scanner.Scan(
        [&](const TPageInfo& page) {
            if (only && page.Number != *only)
                return;
            found = true;
            PrintPage(out, page);
            std::fflush(out);
            scanner.ScanCommands([&](int64_t offset, const TCommandSpec& command,
                                     const std::vector<TOperandValue>& operands) {
                PrintCommand(out, offset, command, operands);
            });
            std::fflush(out);
        },
        nullptr);
    if (only && !found) {
        std::fprintf(stderr, "rpt: dump: no page %d in %s\n", *only, path.c_str());
        return 1;
    }
    return 0;
}

} // namespace rpt::cli

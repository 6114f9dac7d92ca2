// The rpt tool: looks into report files from the command line.
#include "cli/CliCommand.h"
#include "cli/UsageError.h"
#include "platform/Exceptions.h"
#include "platform/TextCodec.h"
#include "platform/UserInterface.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rpt::cli {

namespace {

constexpr CliCommand kCommands[] = {
    {"info", "show the header and the page chain of a report file",
     "Usage: rpt info [--json] FILE\n"
     "\n"
     "Shows the header of the report file and every page record of its chain,\n"
     "values as the file stores them.\n"
     "\n"
     "  --json   write one JSON object instead of aligned lines\n",
     RunInfo},
    {"dump", "list the page commands of a report file",
     "Usage: rpt dump [--page N] FILE\n"
     "\n"
     "Lists every command of every page in file order, one line each: file\n"
     "offset, command code, command name and its operands (texts after macro\n"
     "expansion, embedded graphics as kind and size).\n"
     "\n"
     "  --page N   list only page N\n",
     RunDump},
    {"render", "draw pages as the viewer shows them, to PNG",
     "Usage: rpt render [OPTIONS] FILE OUTPUT.png\n"
     "\n"
     "Plays pages through the preview exactly as the viewer shows them and\n"
     "writes each page bitmap (margin frame, shadow and rulers included) to PNG.\n"
     "Needs no display.\n"
     "\n"
     "  -p, --pages RANGE        N, A-B or all (default 1); with more than one\n"
     "                           page OUTPUT must hold %d, the page number\n"
     "  -z, --zoom Z             a percentage 10..200, or width or page (default 100)\n"
     "  -r, --dpi N              the screen resolution to take (default 96)\n"
     "  --rulers KIND            none, in, cm, hin, vin, hcm or vcm (default none)\n"
     "  --shadow PX              drop shadow depth (default 0)\n"
     "  --grid H[,V]             grid spacing in inches (default none)\n"
     "  --margin PERCENT         margin around the page (default 2.5)\n"
     "  --margin-method M        fixed or scaled (default fixed)\n"
     "  --mono                   a one-bit page bitmap\n"
     "  --box WxH                the scroll box for the fitting zooms (default 608x364)\n",
     RunRender},
    {"text", "list the texts each page draws",
     "Usage: rpt text [-p RANGE] FILE\n"
     "\n"
     "Writes the texts each page draws, in playback order, one text operation a\n"
     "line, after macro expansion and with formatting codes removed, in UTF-8;\n"
     "every page ends with a form feed.\n"
     "\n"
     "  -p, --pages RANGE   N, A-B or all (default all)\n",
     RunText},
    {"printers", "list the installed printers",
     "Usage: rpt printers\n"
     "\n"
     "Lists the printers of the CUPS scheduler (CUPS_SERVER names another one)\n"
     "as \"DEVICE on PORT\", the default one marked, each with its driver, paper\n"
     "sources and their bin numbers, duplex and collation support and the\n"
     "largest copy count.\n",
     RunPrinters},
    {"print", "print a report file on a printer",
     "Usage: rpt print [--printer NAME] [-p PAGES] [--copies N] [--overwrite] FILE\n"
     "\n"
     "Prints the report file as one job on the default printer or on the named\n"
     "one (the display name, the device name, or any part of the display name).\n"
     "The report's own settings (copies, collation, duplex, paper, bin) apply.\n"
     "\n"
     "  --printer NAME   print on this printer\n"
     "  -p PAGES         a page selection: 3, 2-4, 1,3,5-, odd, even, all,r\n"
     "                   (r: in reverse order)\n"
     "  --copies N       N copies instead of the report's own count\n"
     "  --overwrite      let a print file the report names replace an existing\n"
     "                   file (without it such a job is refused)\n",
     RunPrint},
    {"pdf", "convert a report file to PDF",
     "Usage: rpt pdf [-p PAGES] FILE OUTPUT.pdf\n"
     "\n"
     "Writes the report's pages into a PDF file through the same playback as\n"
     "printing, one PDF page per report page in the report's page size and\n"
     "orientation, with the fonts embedded and the text selectable. Needs no\n"
     "printer. Raw printer data in the report is left out.\n"
     "\n"
     "  -p PAGES   a page selection, as for rpt print\n",
     RunPdf},
};

void PrintOverview(std::FILE* out) {
    std::fprintf(out,
                 "Usage: rpt COMMAND [OPTIONS] FILE\n"
                 "       rpt --help | --version\n"
                 "       rpt COMMAND --help\n"
                 "\n"
                 "Commands:\n");
    for (const CliCommand& c : kCommands)
        std::fprintf(out, "  %-8s %s\n", c.Name, c.Summary);
}

const CliCommand* Find(std::string_view name) {
    for (const CliCommand& c : kCommands)
        if (name == c.Name)
            return &c;
    return nullptr;
}

int Run(std::span<const std::string_view> args) {
    if (args.empty())
        throw UsageError("no command given");
    const std::string_view first = args[0];
    if (first == "--help" || first == "-h" || first == "help") {
        PrintOverview(stdout);
        return 0;
    }
    if (first == "--version") {
        std::printf("rpt %s\n", RPT_VERSION);
        return 0;
    }
    const CliCommand* command = Find(first);
    if (!command)
        throw UsageError("unknown command '" + std::string(first) + "'");
    const auto rest = args.subspan(1);
    for (std::string_view arg : rest)
        if (arg == "--help" || arg == "-h") {
            std::fputs(command->Help, stdout);
            return 0;
        }
    return command->Run(rest, stdout);
}

} // namespace

std::span<const CliCommand> AllCommands() { return kCommands; }

} // namespace rpt::cli

int main(int argc, char** argv) {
    using namespace rpt;
    SetUserInterface(std::make_unique<ConsoleUserInterface>());
    std::vector<std::string_view> args(argv + 1, argv + argc);
    try {
        const int status = cli::Run(args);
        std::fflush(stdout);
        return status;
    } catch (const cli::UsageError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "rpt: %s\nTry 'rpt --help'.\n", e.what());
        return 2;
    } catch (const Exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "rpt: %s\n", Windows1252ToUtf8(e.Message()).c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "rpt: %s\n", e.what());
        return 1;
    }
}

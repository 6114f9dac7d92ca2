#pragma once
// One subcommand of the rpt tool: its name, a line for the overview, its
// full help text, and the function that runs it on the remaining arguments
// and answers the exit status.
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace rpt::cli {

struct CliCommand {
    const char* Name;
    const char* Summary;
    const char* Help;
    int (*Run)(std::span<const std::string_view> args, std::FILE* out);
};

// The tool's commands, in the order --help lists them.
std::span<const CliCommand> AllCommands();

int RunInfo(std::span<const std::string_view> args, std::FILE* out);
int RunDump(std::span<const std::string_view> args, std::FILE* out);
int RunPrinters(std::span<const std::string_view> args, std::FILE* out);
int RunPrint(std::span<const std::string_view> args, std::FILE* out);
int RunPdf(std::span<const std::string_view> args, std::FILE* out);
int RunRender(std::span<const std::string_view> args, std::FILE* out);
int RunText(std::span<const std::string_view> args, std::FILE* out);

} // namespace rpt::cli

#include "cli/CliCommand.h"
#include "cli/OpenReport.h"
#include "cli/TextFormat.h"
#include "cli/UsageError.h"
#include "reader/TFilePrinter.h"
#include "reader/TReportScanner.h"

#include <exception>
#include <string>
#include <vector>

namespace rpt::cli {

namespace {

struct Field {
    const char* name;
    std::string text; // for the aligned listing
    std::string json;
};

std::vector<Field> HeaderFields(const TFileHeader& h) {
    auto number = [](long v) { return Field{nullptr, std::to_string(v), std::to_string(v)}; };
    auto single = [](double v) {
        std::string s = SingleText(v);
        return Field{nullptr, s, (s == "nan" || s == "inf" || s == "-inf") ? "null" : s};
    };
    auto named = [](const char* name, Field f) {
        f.name = name;
        return f;
    };
    return {
        named("format_version", number(h.FormatVersion)),
        named("title", Field{nullptr, QuotedText(h.Title), JsonString(h.Title)}),
        named("total_pages", number(h.TotalPages)),
        named("page_width", single(h.PageWidth)),
        named("page_height", single(h.PageHeight)),
        named("orientation", number(h.Orientation)),
        named("paper_bin", number(h.PaperBin)),
        named("collate", number(h.Collate)),
        named("duplex", number(h.Duplex)),
        named("copies", number(h.Copies)),
        named("paper_size", number(h.PaperSize)),
        named("paper_width", number(h.PaperWidth)),
        named("paper_length", number(h.PaperLength)),
        named("output_file", Field{nullptr, QuotedText(h.OutputFileName), JsonString(h.OutputFileName)}),
    };
}

std::string JsonNumber(double v) {
    std::string s = SingleText(v);
    return (s == "nan" || s == "inf" || s == "-inf") ? "null" : s;
}

void PrintText(std::FILE* out, const std::vector<Field>& fields, const std::vector<TPageInfo>& pages) {
    for (const Field& f : fields)
        std::fprintf(out, "%-15s %s\n", (std::string(f.name) + ":").c_str(), f.text.c_str());
    std::fprintf(out, "%-15s %zu\n", "pages:", pages.size());
    for (const TPageInfo& p : pages)
        std::fprintf(out, "  page %-6d offset %-10d prev %-10d next %-10d %s x %s in\n", p.Number,
                     p.Offset, p.Prev, p.Next, SingleText(p.Width).c_str(),
                     SingleText(p.Height).c_str());
}

void PrintJson(std::FILE* out, const std::vector<Field>& fields, const std::vector<TPageInfo>& pages) {
    std::fprintf(out, "{\n");
    for (const Field& f : fields)
        std::fprintf(out, "  \"%s\": %s,\n", f.name, f.json.c_str());
    std::fprintf(out, "  \"pages\": [");
    for (size_t i = 0; i < pages.size(); ++i) {
        const TPageInfo& p = pages[i];
        std::fprintf(out,
                     "%s\n    {\"number\": %d, \"offset\": %d, \"prev\": %d, \"next\": %d, "
                     "\"width\": %s, \"height\": %s}",
                     i ? "," : "", p.Number, p.Offset, p.Prev, p.Next, JsonNumber(p.Width).c_str(),
                     JsonNumber(p.Height).c_str());
    }
    std::fprintf(out, "%s]\n}\n", pages.empty() ? "" : "\n  ");
}

} // namespace

int RunInfo(std::span<const std::string_view> args, std::FILE* out) {
    bool json = false;
    std::string path;
    for (std::string_view arg : args) {
        if (arg == "--json")
            json = true;
        else if (arg.starts_with("-") && arg != "-")
            throw UsageError("info: unknown option '" + std::string(arg) + "'");
        else if (path.empty())
            path = arg;
        else
            throw UsageError("info: only one FILE may be given");
    }
    if (path.empty())
        throw UsageError("info: no FILE given");

    TFilePrinter printer(nullptr);
    if (!OpenReport(printer, path))
        return 1;
    const std::vector<Field> fields = HeaderFields(printer.FileHeader);
    std::vector<TPageInfo> pages;
    // What was read is shown even when the chain turns out malformed; the
    // error follows on standard error.
    std::exception_ptr failure;
    try {
        TReportScanner(printer).Scan([&](const TPageInfo& page) { pages.push_back(page); }, nullptr);
    } catch (...) {
        failure = std::current_exception();
    }
    if (json)
        PrintJson(out, fields, pages);
    else
        PrintText(out, fields, pages);
    std::fflush(out);
    if (failure)
        std::rethrow_exception(failure);
    return 0;
}

} // namespace rpt::cli

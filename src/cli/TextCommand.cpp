// rpt text: the texts each page draws, in playback order, one text operation
// a line, pages ended by a form feed.
#include "cli/CliCommand.h"
#include "cli/PageRangeArgument.h"
#include "cli/UsageError.h"
#include "preview/ImageBlockDecoder.h"
#include "preview/TTextExtractor.h"

#include <string>

namespace rpt::cli {

int RunText(std::span<const std::string_view> args, std::FILE* out) {
    PageRange pages{1, 0};
    std::vector<std::string_view> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-p" || args[i] == "--pages") {
            if (i + 1 >= args.size())
                throw UsageError("text: " + std::string(args[i]) + " needs a value");
            pages = PageRangeArgument("text", args[++i]);
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            throw UsageError("text: unknown option '" + std::string(args[i]) + "'");
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 1)
        throw UsageError("text: expects one FILE");

    TTextExtractor extractor(nullptr);
    extractor.SetFileName(std::string(positional[0]));
    extractor.SetStreamMode(smFile);
    extractor.OnDecodeImage = DecodeImageBlock;
    if (!extractor.Open())
        return 1;
    int32_t last = pages.Last == 0 ? extractor.TotalPages : pages.Last;
    for (int32_t page = pages.First; page <= last; ++page) {
        for (const std::string& line : extractor.PageText(page))
            std::fprintf(out, "%s\n", line.c_str());
        std::fputc('\f', out);
        if (extractor.CurrentPage < page)
            break; // past the end of the chain
    }
    return 0;
}

} // namespace rpt::cli

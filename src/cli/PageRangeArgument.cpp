#include "cli/PageRangeArgument.h"

#include "cli/UsageError.h"
#include "platform/Convert.h"

#include <string>

namespace rpt::cli {

namespace {
int32_t PageNumber(std::string_view command, std::string_view whole, std::string_view text) {
    auto value = TryStrToInt(text);
    if (!value || *value < 1 || *value > 65535 || text.find('$') != std::string_view::npos ||
        text.find('x') != std::string_view::npos)
        throw UsageError(std::string(command) + ": '" + std::string(whole) +
                         "' is not a page number, a range A-B or all");
    return *value;
}
} // namespace

PageRange PageRangeArgument(std::string_view command, std::string_view text) {
    if (text == "all")
        return PageRange{1, 0};
    size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        int32_t page = PageNumber(command, text, text);
        return PageRange{page, page};
    }
    int32_t first = PageNumber(command, text, text.substr(0, dash));
    int32_t last = PageNumber(command, text, text.substr(dash + 1));
    if (last < first)
        throw UsageError(std::string(command) + ": the range '" + std::string(text) +
                         "' ends before it starts");
    return PageRange{first, last};
}

} // namespace rpt::cli

#pragma once
// The -p argument of the rendering commands: "N", "A-B" or "all".
#include <cstdint>
#include <string_view>

namespace rpt::cli {

struct PageRange {
    int32_t First = 1;
    int32_t Last = 1; // 0: to the last page of the file
};

// Raises UsageError for anything else.
PageRange PageRangeArgument(std::string_view command, std::string_view text);

} // namespace rpt::cli

#pragma once
// The -p argument of the printing commands: a page selection as the report
// engine reads it ("3", "2-4", "1,3,5-", "odd", "all,r" for every page in
// reverse order), checked before any job starts.
#include <string>
#include <string_view>

namespace rpt::cli {

// Raises UsageError for text the engine could not read.
std::string PageSelectionArgument(std::string_view command, std::string_view text);

// A count argument of 1 to `maximum`; raises UsageError otherwise.
int CountArgument(std::string_view command, std::string_view option, std::string_view text,
                  int maximum);

} // namespace rpt::cli

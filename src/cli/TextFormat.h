#pragma once
// Texts and numbers as the rpt tool prints them.
#include <string>
#include <string_view>

namespace rpt::cli {

// The shortest decimal text that reads back as the same single-precision
// value, which is how the file stores it ("8.5", not "8.500000").
std::string SingleText(double value);
// A file text decoded from Windows-1252 to UTF-8, with control characters
// shown as \xNN, in double quotes.
std::string QuotedText(std::string_view bytes);
// A file text decoded from Windows-1252 to UTF-8 as a JSON string literal.
std::string JsonString(std::string_view bytes);

} // namespace rpt::cli

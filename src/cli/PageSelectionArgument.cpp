#include "cli/PageSelectionArgument.h"

#include "cli/UsageError.h"
#include "platform/Convert.h"

#include <charconv>

namespace rpt::cli {

namespace {

bool IsPageNumber(std::string_view text) {
    if (text.empty() || text.size() > 6)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool IsSelectionToken(std::string_view token) {
    const std::string word = UpperCaseAscii(token);
    if (word == "A" || word == "ALL" || word == "E" || word == "EVEN" || word == "O" ||
        word == "ODD" || word == "R")
        return true;
    const size_t dash = token.find('-');
    if (dash == std::string_view::npos)
        return IsPageNumber(token);
    const std::string_view from = token.substr(0, dash);
    const std::string_view to = token.substr(dash + 1);
    return (from.empty() || IsPageNumber(from)) && (to.empty() || IsPageNumber(to)) &&
           !(from.empty() && to.empty());
}

} // namespace

std::string PageSelectionArgument(std::string_view command, std::string_view text) {
    std::string_view rest = text;
    bool any = false;
    while (true) {
        const size_t comma = rest.find(',');
        const std::string_view token = rest.substr(0, comma);
        if (!IsSelectionToken(token))
            throw UsageError(std::string(command) + ": '" + std::string(text) +
                             "' is not a page selection");
        any = true;
        if (comma == std::string_view::npos)
            break;
        rest = rest.substr(comma + 1);
    }
    if (!any)
        throw UsageError(std::string(command) + ": empty page selection");
    return std::string(text);
}

int CountArgument(std::string_view command, std::string_view option, std::string_view text,
                  int maximum) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > maximum)
        throw UsageError(std::string(command) + ": " + std::string(option) + " needs a number from 1 to " +
                         std::to_string(maximum) + ", not '" + std::string(text) + "'");
    return value;
}

} // namespace rpt::cli

#include "platform/Convert.h"

#include "platform/Exceptions.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace rpt {

std::optional<int32_t> TryStrToInt(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    size_t i = 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > (base == 16 ? 0xFFFFFFFFull : 0x80000000ull))
            return std::nullopt;
    }
    if (base == 16) {
        // Hexadecimal spells the 32-bit pattern.
        auto pattern = static_cast<uint32_t>(value);
        int32_t v = static_cast<int32_t>(pattern);
        return negative ? static_cast<int32_t>(0u - pattern) : v;
    }
    if (negative)
        return static_cast<int32_t>(-static_cast<int64_t>(value));
    if (value > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<double> TryStrToFloat(std::string_view text) {
    // sign? digits* ('.' digits*)? (e sign? digits+)? with at least one digit.
    size_t i = 0, n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        size_t exp = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i, ++exp;
        if (exp == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    std::string copy(text);
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int32_t StrToInt(std::string_view text) {
    if (auto v = TryStrToInt(text))
        return *v;
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

double StrToFloat(std::string_view text) {
    if (auto v = TryStrToFloat(text))
        return *v;
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string FloatToStrFixed(double value, int decimals) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::string UpperCaseAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace rpt

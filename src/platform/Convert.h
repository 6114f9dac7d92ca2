#pragma once
// Strict number conversion: the whole text must be the number. Whole numbers
// take an optional sign and decimal digits, or "$" and hexadecimal digits;
// floating numbers take "." as the decimal point and an optional exponent.
// Failures raise EConvertError with the platform's message.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rpt {

std::optional<int32_t> TryStrToInt(std::string_view text);
std::optional<double> TryStrToFloat(std::string_view text);
int32_t StrToInt(std::string_view text);  // "'x' is not a valid integer value"
double StrToFloat(std::string_view text); // "'x' is not a valid floating point value"

std::string IntToStr(int64_t value);
// Fixed notation with the given number of decimals, "." as decimal point.
std::string FloatToStrFixed(double value, int decimals);

// ASCII letter case only, as the file's 8-bit texts are compared.
std::string UpperCaseAscii(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);

} // namespace rpt

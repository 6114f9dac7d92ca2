#pragma once
// Dates and times as days since 1899-12-30 (the fraction is the time of day),
// and their formatting by the patterns of the platform's date-time formatter.
#include <cstdint>
#include <string>
#include <vector>

namespace rpt {

using TDateTime = double;

// The locale's formats, in the formatter's own pattern letters: "d" day,
// "m" month, "y" year, "h" hour, "n" minute, "s" second, "/" and ":" the
// separators below, "ampm" the designators.
struct FormatSettings {
    std::string ShortDateFormat = "m/d/yyyy";
    std::string LongDateFormat = "dddd, mmmm d, yyyy";
    std::string ShortTimeFormat = "h:nn ampm";
    std::string LongTimeFormat = "h:nn:ss ampm";
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::vector<std::string> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::vector<std::string> LongMonthNames{"January", "February", "March",     "April",
                                            "May",     "June",     "July",      "August",
                                            "September", "October", "November", "December"};
    std::vector<std::string> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::vector<std::string> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

    // The user's locale, with names in the system's 8-bit code page.
    static FormatSettings System();
};

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
// 1 for Sunday to 7 for Saturday.
int DayOfWeek(TDateTime value);
// The local date and time now.
TDateTime Now();

// Patterns (letters in any case): d dd ddd dddd, ddddd short date, dddddd
// long date, m mm mmm mmmm, yy yyyy, h hh, n nn, s ss, z zzz, t short time,
// tt long time, c short date and long time, ampm, am/pm, a/p, / and :, and
// literal text in single or double quotes. "m" right after an hour is minutes.
std::string FormatDateTime(const std::string& format, TDateTime value,
                           const FormatSettings& settings);
std::string FormatDateTime(const std::string& format, TDateTime value);

} // namespace rpt

#include "platform/DateTime.h"

#include "platform/TextCodec.h"

#include <QLocale>

#include <chrono>
#include <cmath>
#include <ctime>

namespace rpt {

namespace {

constexpr double kMsPerDay = 86400000.0;
// 0001-01-01 and 9999-12-31 as day numbers.
constexpr double kMinDay = -693593;
constexpr double kMaxDay = 2958465;
// 1899-12-30 counted from 1970-01-01.
constexpr int64_t kEpochOffset = 25569;

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

double Sanitize(TDateTime value) {
    if (!std::isfinite(value))
        return 0;
    return std::fmin(std::fmax(value, kMinDay), kMaxDay + 0.99999999);
}

// Whole days and milliseconds of the day; the time of a negative value is
// its fraction's magnitude, as the date part counts toward zero.
void Split(TDateTime value, int64_t& days, int64_t& ms) {
    value = Sanitize(value);
    if (value >= 0) {
        const int64_t total = std::llround(value * kMsPerDay);
        days = total / static_cast<int64_t>(kMsPerDay);
        ms = total % static_cast<int64_t>(kMsPerDay);
        return;
    }
    days = static_cast<int64_t>(std::trunc(value));
    ms = std::llround(std::fabs(value - static_cast<double>(days)) * kMsPerDay);
    if (ms >= static_cast<int64_t>(kMsPerDay))
        ms = static_cast<int64_t>(kMsPerDay) - 1;
}

std::string Pad(int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return digits;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const std::string& s, size_t at, const char* word) {
    for (size_t k = 0; word[k]; ++k)
        if (at + k >= s.size() || Lower(s[at + k]) != word[k])
            return false;
    return true;
}

bool UsesTwelveHourClock(const std::string& format) {
    char quote = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (StartsWithNoCase(format, i, "ampm") || StartsWithNoCase(format, i, "am/pm") ||
                   StartsWithNoCase(format, i, "a/p")) {
            return true;
        }
    }
    return false;
}

const std::string& NameAt(const std::vector<std::string>& names, int index) {
    static const std::string empty;
    return index >= 0 && static_cast<size_t>(index) < names.size() ? names[index] : empty;
}

// A pattern that names another pattern ("ddddd" inside the short date format)
// is followed only this deep.
constexpr int kMaxNesting = 3;

void Append(std::string& out, const std::string& format, TDateTime value,
            const FormatSettings& fs, int depth) {
    if (depth > kMaxNesting)
        return;
    int64_t days = 0, ms = 0;
    Split(value, days, ms);
    int year = 0, month = 0, day = 0;
    CivilFromDays(days - kEpochOffset, year, month, day);
    const int hour = static_cast<int>(ms / 3600000);
    const int minute = static_cast<int>(ms / 60000 % 60);
    const int second = static_cast<int>(ms / 1000 % 60);
    const int milli = static_cast<int>(ms % 1000);
    const bool twelveHour = UsesTwelveHourClock(format);
    const int clockHour = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;

    bool afterHour = false;
    size_t i = 0;
    while (i < format.size()) {
        const char original = format[i];
        const char c = Lower(original);
        size_t run = 1;
        while (i + run < format.size() && Lower(format[i + run]) == c)
            ++run;
        bool hourToken = false;
        switch (c) {
        case '\'':
        case '"': {
            const size_t close = format.find(original, i + 1);
            const size_t end = close == std::string::npos ? format.size() : close;
            out.append(format, i + 1, end - i - 1);
            i = close == std::string::npos ? format.size() : close + 1;
            continue;
        }
        case '/':
            out += fs.DateSeparator;
            run = 1;
            break;
        case ':':
            out += fs.TimeSeparator;
            run = 1;
            break;
        case 'c':
            Append(out, fs.ShortDateFormat, value, fs, depth + 1);
            if (ms != 0) {
                out += ' ';
                Append(out, fs.LongTimeFormat, value, fs, depth + 1);
            }
            run = 1;
            break;
        case 'd':
            run = std::min<size_t>(run, 6);
            if (run == 1)
                out += std::to_string(day);
            else if (run == 2)
                out += Pad(day, 2);
            else if (run == 3)
                out += NameAt(fs.ShortDayNames, DayOfWeek(value) - 1);
            else if (run == 4)
                out += NameAt(fs.LongDayNames, DayOfWeek(value) - 1);
            else if (run == 5)
                Append(out, fs.ShortDateFormat, value, fs, depth + 1);
            else
                Append(out, fs.LongDateFormat, value, fs, depth + 1);
            break;
        case 'm':
            if (afterHour && run <= 2) {
                out += run == 1 ? std::to_string(minute) : Pad(minute, 2);
                break;
            }
            run = std::min<size_t>(run, 4);
            if (run == 1)
                out += std::to_string(month);
            else if (run == 2)
                out += Pad(month, 2);
            else if (run == 3)
                out += NameAt(fs.ShortMonthNames, month - 1);
            else
                out += NameAt(fs.LongMonthNames, month - 1);
            break;
        case 'y':
            out += run <= 2 ? Pad(year % 100, 2) : Pad(year, 4);
            break;
        case 'h':
            run = std::min<size_t>(run, 2);
            out += run == 1 ? std::to_string(clockHour) : Pad(clockHour, 2);
            hourToken = true;
            break;
        case 'n':
            run = std::min<size_t>(run, 2);
            out += run == 1 ? std::to_string(minute) : Pad(minute, 2);
            break;
        case 's':
            run = std::min<size_t>(run, 2);
            out += run == 1 ? std::to_string(second) : Pad(second, 2);
            break;
        case 'z':
            run = run >= 3 ? 3 : 1;
            out += run == 1 ? std::to_string(milli) : Pad(milli, 3);
            break;
        case 't':
            run = std::min<size_t>(run, 2);
            Append(out, run == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, value, fs, depth + 1);
            break;
        case 'a':
            if (StartsWithNoCase(format, i, "ampm")) {
                out += hour < 12 ? fs.TimeAMString : fs.TimePMString;
                run = 4;
            } else if (StartsWithNoCase(format, i, "am/pm")) {
                const bool upper = original == 'A';
                out += hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
                run = 5;
            } else if (StartsWithNoCase(format, i, "a/p")) {
                const bool upper = original == 'A';
                out += hour < 12 ? (upper ? 'A' : 'a') : (upper ? 'P' : 'p');
                run = 3;
            } else {
                out += original;
                run = 1;
            }
            break;
        default:
            out += original;
            run = 1;
            // Blanks and separators keep a following "m" reading as minutes.
            if (c == ' ' || c == '.' || c == ',')
                hourToken = afterHour;
            break;
        }
        afterHour = hourToken || (afterHour && (c == '/' || c == ':'));
        i += run;
    }
}

// Converts a locale pattern of the platform's own letters to the
// formatter's; `t` (time zone) has no counterpart and is left out.
std::string FromLocalePattern(const QString& pattern, QChar dateSep, QChar timeSep) {
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            qsizetype close = pattern.indexOf(u'\'', i + 1);
            if (close < 0)
                close = pattern.size();
            const QString literal = pattern.mid(i + 1, close - i - 1);
            out += literal.isEmpty() ? QStringLiteral("\"'\"") : u'"' + literal + u'"';
            i = close;
            continue;
        }
        switch (c.unicode()) {
        case 'd': out += u'd'; break;
        case 'M': case 'L': out += u'm'; break;
        case 'y': out += u'y'; break;
        case 'h': case 'H': out += u'h'; break;
        case 'm': out += u'n'; break;
        case 's': out += u's'; break;
        case 'z': out += u'z'; break;
        case 'A': case 'a':
            out += QStringLiteral("ampm");
            if (i + 1 < pattern.size() && (pattern[i + 1] == u'P' || pattern[i + 1] == u'p'))
                ++i;
            break;
        case 't': break;
        default:
            if (c == dateSep && !dateSep.isNull())
                out += u'/';
            else if (c == timeSep && !timeSep.isNull())
                out += u':';
            else if (c.isLetter())
                out += u'"' + QString(c) + u'"';
            else
                out += c;
        }
    }
    return Utf8ToWindows1252(out.trimmed().toStdString());
}

QChar FirstSeparator(const QString& pattern) {
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && !c.isLetter() && !c.isSpace())
            return c;
    }
    return QChar();
}

char ToByte(QChar c, char fallback) {
    if (c.isNull())
        return fallback;
    const std::string bytes = Utf8ToWindows1252(QString(c).toStdString());
    return bytes.size() == 1 ? bytes[0] : fallback;
}

std::string Bytes(const QString& text) { return Utf8ToWindows1252(text.toStdString()); }

} // namespace

FormatSettings FormatSettings::System() {
    const QLocale locale = QLocale::system();
    FormatSettings fs;
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
    const QChar dateSep = FirstSeparator(shortDate);
    const QChar timeSep = FirstSeparator(shortTime);
    fs.DateSeparator = ToByte(dateSep, '/');
    fs.TimeSeparator = ToByte(timeSep, ':');
    fs.ShortDateFormat = FromLocalePattern(shortDate, dateSep, timeSep);
    fs.LongDateFormat = FromLocalePattern(locale.dateFormat(QLocale::LongFormat), dateSep, timeSep);
    fs.ShortTimeFormat = FromLocalePattern(shortTime, dateSep, timeSep);
    fs.LongTimeFormat = FromLocalePattern(locale.timeFormat(QLocale::LongFormat), dateSep, timeSep);
    fs.TimeAMString = Bytes(locale.amText());
    fs.TimePMString = Bytes(locale.pmText());
    for (int m = 1; m <= 12; ++m) {
        fs.ShortMonthNames[m - 1] = Bytes(locale.monthName(m, QLocale::ShortFormat));
        fs.LongMonthNames[m - 1] = Bytes(locale.monthName(m, QLocale::LongFormat));
    }
    // The platform counts Monday as 1 and Sunday as 7.
    for (int d = 1; d <= 7; ++d) {
        const int weekday = d == 1 ? 7 : d - 1;
        fs.ShortDayNames[d - 1] = Bytes(locale.dayName(weekday, QLocale::ShortFormat));
        fs.LongDayNames[d - 1] = Bytes(locale.dayName(weekday, QLocale::LongFormat));
    }
    return fs;
}

TDateTime EncodeDate(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month),
                                             static_cast<unsigned>(day)) +
                               kEpochOffset);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / kMsPerDay;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    int64_t days = 0, ms = 0;
    Split(value, days, ms);
    CivilFromDays(days - kEpochOffset, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
    int64_t days = 0, ms = 0;
    Split(value, days, ms);
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    millisecond = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime value) {
    int64_t days = 0, ms = 0;
    Split(value, days, ms);
    // Day 0 (1899-12-30) was a Saturday.
    const int64_t weekday = ((days % 7) + 7 + 6) % 7; // 0 Sunday
    return static_cast<int>(weekday) + 1;
}

TDateTime Now() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        now.time_since_epoch()).count() % 1000;
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms));
}

std::string FormatDateTime(const std::string& format, TDateTime value,
                           const FormatSettings& settings) {
    std::string out;
    Append(out, format, value, settings, 0);
    return out;
}

std::string FormatDateTime(const std::string& format, TDateTime value) {
    static const FormatSettings system = FormatSettings::System();
    return FormatDateTime(format, value, system);
}

} // namespace rpt

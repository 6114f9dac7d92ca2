#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace rpt {
namespace {

TEST(DateTime, DaysCountFromTheLastDaysOf1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    int y = 0, m = 0, d = 0;
    DecodeDate(EncodeDate(2024, 2, 29) + 0.75, y, m, d);
    EXPECT_EQ((std::array{y, m, d}), (std::array{2024, 2, 29}));
    EXPECT_EQ(DayOfWeek(EncodeDate(2000, 1, 1)), 7); // a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 13)), 1); // a Sunday
}

TEST(DateTime, TimeIsTheFractionRoundedToMilliseconds) {
    int h = 0, n = 0, s = 0, z = 0;
    DecodeTime(EncodeDate(2026, 3, 7) + EncodeTime(23, 59, 59, 999), h, n, s, z);
    EXPECT_EQ((std::array{h, n, s, z}), (std::array{23, 59, 59, 999}));
    // A value a hair below midnight rounds to the next day, not to 24:00.
    int y = 0, m = 0, d = 0;
    const double almost = EncodeDate(2026, 3, 7) + 1 - 1e-10;
    DecodeDate(almost, y, m, d);
    DecodeTime(almost, h, n, s, z);
    EXPECT_EQ((std::array{d, h, n, s}), (std::array{8, 0, 0, 0}));
}

TEST(DateTime, NonFiniteAndFarValuesStayInsideTheCalendar) {
    int y = 0, m = 0, d = 0;
    DecodeDate(std::nan(""), y, m, d);
    EXPECT_EQ(y, 1899);
    DecodeDate(1e300, y, m, d);
    EXPECT_EQ(y, 9999);
    DecodeDate(-1e300, y, m, d);
    EXPECT_EQ(y, 1);
}

FormatSettings Portuguese() {
    FormatSettings fs;
    fs.DateSeparator = '-';
    fs.TimeSeparator = '.';
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.LongDateFormat = "dddd, d 'de' mmmm 'de' yyyy";
    fs.ShortTimeFormat = "hh:nn";
    fs.LongTimeFormat = "hh:nn:ss";
    fs.TimeAMString = "manhã";
    fs.TimePMString = "tarde";
    fs.LongMonthNames[2] = "março";
    fs.LongDayNames[6] = "sábado";
    return fs;
}

struct FormatCase {
    const char* pattern;
    double time; // added to 2026-03-07
    const char* english;
    const char* portuguese;
};

class FormatDateTimeTable : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatDateTimeTable, FollowsTheLocaleSettings) {
    const FormatCase& c = GetParam();
    const TDateTime value = EncodeDate(2026, 3, 7) + c.time;
    EXPECT_EQ(FormatDateTime(c.pattern, value, FormatSettings{}), c.english);
    EXPECT_EQ(FormatDateTime(c.pattern, value, Portuguese()), c.portuguese);
}

const double kAfternoon = EncodeTime(14, 5, 9, 30);

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatDateTimeTable,
    testing::Values(
        FormatCase{"ddddd", kAfternoon, "3/7/2026", "07-03-2026"},
        FormatCase{"dddddd", kAfternoon, "Saturday, March 7, 2026", "sábado, 7 de março de 2026"},
        FormatCase{"mm/dd/yy", kAfternoon, "03/07/26", "03-07-26"},
        FormatCase{"dd/mm/yy", kAfternoon, "07/03/26", "07-03-26"},
        FormatCase{"t", kAfternoon, "2:05 PM", "14.05"},
        FormatCase{"tt", kAfternoon, "2:05:09 PM", "14.05.09"},
        FormatCase{"hh:nn ampm", kAfternoon, "02:05 PM", "02.05 tarde"},
        FormatCase{"hh:nn ampm", 0.0, "12:00 AM", "12.00 manhã"},
        FormatCase{"hh:nn ampm", 0.5, "12:00 PM", "12.00 tarde"},
        FormatCase{"hh:nn", kAfternoon, "14:05", "14.05"},
        FormatCase{"h:m:s.zzz", kAfternoon, "14:5:9.030", "14.5.9.030"},
        FormatCase{"ddd mmm d yyyy", kAfternoon, "Sat Mar 7 2026", "Sat Mar 7 2026"},
        FormatCase{"'dd' \"mm\" dd", kAfternoon, "dd mm 07", "dd mm 07"},
        FormatCase{"h a/p am/pm", kAfternoon, "2 p pm", "2 p pm"},
        FormatCase{"c", 0.0, "3/7/2026", "07-03-2026"},
        FormatCase{"c", kAfternoon, "3/7/2026 2:05:09 PM", "07-03-2026 14.05.09"}));

TEST(FormatDateTime, APatternThatNamesItselfEndsInsteadOfRecursing) {
    FormatSettings fs;
    fs.ShortDateFormat = "[ddddd]";
    const std::string text = FormatDateTime("ddddd", EncodeDate(2026, 3, 7), fs);
    EXPECT_LT(text.size(), 20u);
    EXPECT_EQ(text.substr(0, 3), "[[[");
}

TEST(FormatDateTime, TheSystemLocaleGivesUsableFormats) {
    const FormatSettings fs = FormatSettings::System();
    EXPECT_FALSE(fs.ShortDateFormat.empty());
    EXPECT_FALSE(fs.LongTimeFormat.empty());
    const std::string date = FormatDateTime("ddddd", EncodeDate(2026, 3, 27));
    EXPECT_NE(date.find("27"), std::string::npos) << date;
    const std::string time = FormatDateTime("tt", EncodeTime(13, 45, 10, 0));
    EXPECT_NE(time.find("45"), std::string::npos) << time;
    EXPECT_EQ(time.find('t'), std::string::npos) << time;
}

} // namespace
} // namespace rpt

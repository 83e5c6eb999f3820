#include <plotvane/chart.h>

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "text/formatter_p.h"

using plotvane::Formatter;
namespace Chart = plotvane::Chart;

namespace {
std::string fmt(const char* code, double v) {
    Formatter f;
    return f.format(code, v);
}
// 2024-03-05 (a Tuesday) 13:07:09.25
const double kSample = Chart::chartTime(2024, 3, 5, 13, 7, 9) + 0.25;
}  // namespace

TEST(FormatDate, EveryCode) {
    EXPECT_EQ(fmt("yyyy", kSample), "2024");
    EXPECT_EQ(fmt("yyy", kSample), "024");
    EXPECT_EQ(fmt("yy", kSample), "24");
    EXPECT_EQ(fmt("y", kSample), "2024");
    EXPECT_EQ(fmt("mmm", kSample), "Mar");
    EXPECT_EQ(fmt("mm", kSample), "03");
    EXPECT_EQ(fmt("m", kSample), "3");
    EXPECT_EQ(fmt("M", kSample), "M");
    EXPECT_EQ(fmt("MM", kSample), "MA");
    EXPECT_EQ(fmt("MMM", kSample), "MAR");
    EXPECT_EQ(fmt("dd", kSample), "05");
    EXPECT_EQ(fmt("d", kSample), "5");
    EXPECT_EQ(fmt("w", kSample), "Tue");
    EXPECT_EQ(fmt("hh", kSample), "13");
    EXPECT_EQ(fmt("h", kSample), "13");
    EXPECT_EQ(fmt("nn", kSample), "07");
    EXPECT_EQ(fmt("n", kSample), "7");
    EXPECT_EQ(fmt("ss", kSample), "09");
    EXPECT_EQ(fmt("s", kSample), "9");
    EXPECT_EQ(fmt("f", kSample), "2");
    EXPECT_EQ(fmt("ff", kSample), "25");
    EXPECT_EQ(fmt("fff", kSample), "250");
    EXPECT_EQ(fmt("a", kSample), "pm");

    EXPECT_EQ(fmt("mmm dd, yyyy", Chart::chartTime(2024, 3, 5)), "Mar 05, 2024");
    EXPECT_EQ(fmt("yyyy-mm-dd hh:nn:ss.fff", kSample), "2024-03-05 13:07:09.250");
    EXPECT_EQ(fmt("yyy", Chart::chartTime(2005, 1, 1)), "005");
    EXPECT_EQ(fmt("yyyy", Chart::chartTime(33, 1, 1)), "0033");
    // Longer runs split from the left; other letters print as they stand.
    EXPECT_EQ(fmt("mmmm", kSample), "Mar3");
    EXPECT_EQ(fmt("yyyyyy", kSample), "202424");
    EXPECT_EQ(fmt("ddd", kSample), "055");
    EXPECT_EQ(fmt("Q: dd", kSample), "Q: 05");
    EXPECT_EQ(fmt("fff", Chart::chartTime(2024, 1, 1) + 0.99996), "999");  // truncated, not rounded
}

TEST(FormatDate, QuotesAndEscapes) {
    EXPECT_EQ(fmt("yyyy 'year' mm", kSample), "2024 year 03");
    EXPECT_EQ(fmt("d \"dd of\" mmm", kSample), "5 dd of Mar");
    // Codes that do not start with a letter are number codes for format(); formatDate takes them.
    Formatter f;
    EXPECT_STREQ(f.formatDate("\\d\\a\\y d", kSample), "day 5");
    EXPECT_STREQ(f.formatDate("'unterminated yyyy", kSample), "unterminated yyyy");
    EXPECT_EQ(fmt("yyyy\\", kSample), "2024");
    // A quoted or escaped "a" does not switch to the 12-hour clock.
    EXPECT_EQ(fmt("h 'a'", kSample), "13 a");
    EXPECT_EQ(fmt("h \\a", kSample), "13 a");
    EXPECT_EQ(fmt("mm/dd/yy\nhh:nn:ss", kSample), "03/05/24\n13:07:09");
}

TEST(FormatDate, TwelveAndTwentyFourHours) {
    double day = Chart::chartTime(2024, 3, 5);
    EXPECT_EQ(fmt("hh:nn a", day + 13 * 3600 + 7 * 60), "01:07 pm");
    EXPECT_EQ(fmt("hh:nn", day + 13 * 3600 + 7 * 60), "13:07");
    EXPECT_EQ(fmt("h:nn a", day), "12:00 am");
    EXPECT_EQ(fmt("h:nn", day), "0:00");
    EXPECT_EQ(fmt("h:nn a", day + 12 * 3600), "12:00 pm");
    EXPECT_EQ(fmt("h:nn a", day + 11 * 3600 + 59 * 60), "11:59 am");
    EXPECT_EQ(fmt("h:nna", day + 23 * 3600 + 59 * 60 + 59), "11:59pm");
    EXPECT_EQ(fmt("hh:nn:ss", day + 86399.9), "23:59:59");
}

TEST(FormatDate, LeapYearsAndWeekDays) {
    EXPECT_EQ(fmt("yyyy-mm-dd w", Chart::chartTime(2024, 2, 29)), "2024-02-29 Thu");
    EXPECT_EQ(fmt("yyyy-mm-dd", Chart::chartTime(2024, 2, 28) + 86400), "2024-02-29");
    EXPECT_EQ(fmt("yyyy-mm-dd", Chart::chartTime(2023, 2, 28) + 86400), "2023-03-01");
    EXPECT_EQ(fmt("yyyy-mm-dd", Chart::chartTime(1900, 2, 28) + 86400), "1900-03-01");
    EXPECT_EQ(fmt("yyyy-mm-dd", Chart::chartTime(2000, 2, 28) + 86400), "2000-02-29");
    EXPECT_EQ(fmt("yyyy-mm-dd", Chart::chartTime(2100, 2, 28) + 86400), "2100-03-01");
    EXPECT_EQ(fmt("yyyy-mm-dd", Chart::chartTime(2024, 12, 31) + 86400), "2025-01-01");
    EXPECT_EQ(fmt("w", Chart::chartTime(2024, 1, 7)), "Sun");
    EXPECT_EQ(fmt("w", Chart::chartTime(2024, 1, 13, 23, 59, 59)), "Sat");
    EXPECT_EQ(fmt("w yyyy-mm-dd", 0), "Mon 0001-01-01");
}

TEST(FormatDate, NamesSetAndInherited) {
    Formatter chart;
    Formatter axis(&chart);
    const char* months[] = {"janvier", "f\xC3\xA9vrier", "mars"};
    chart.setMonthNames(months, 3);
    const char* days[] = {"dim", "lun", "mar", "mer", "jeu", "ven", "sam", "extra"};
    chart.setWeekDayNames(days, 8);
    chart.setAMPM("AM", "PM");

    double feb = Chart::chartTime(2024, 2, 4, 15, 0, 0);  // a Sunday
    EXPECT_STREQ(axis.format("mmm w h a", feb), "f\xC3\xA9vrier dim 3 PM");
    EXPECT_STREQ(axis.format("MMM", feb), "F\xC3\xA9V");  // three characters, not three bytes
    EXPECT_STREQ(axis.format("mmm|", Chart::chartTime(2024, 5, 1)), "|");  // names not given are empty
    EXPECT_STREQ(axis.getMonthNames()[0], "janvier");
    EXPECT_STREQ(axis.getWeekDayNames()[6], "sam");

    // The part's own names win over the chart's; unsetting falls back again.
    const char* mine[] = {"J"};
    axis.setMonthNames(mine, 1);
    EXPECT_STREQ(axis.format("mmm", feb), "");
    EXPECT_STREQ(axis.format("mmm", Chart::chartTime(2024, 1, 1)), "J");
    axis.setMonthNames(nullptr, 0);
    EXPECT_STREQ(axis.format("mmm", feb), "f\xC3\xA9vrier");
    chart.setMonthNames(nullptr, 0);
    EXPECT_STREQ(axis.format("mmm", feb), "Feb");
    axis.setAMPM(nullptr, "p.m.");
    EXPECT_STREQ(axis.format("ha", feb), "3p.m.");
    EXPECT_STREQ(axis.format("ha", Chart::chartTime(2024, 1, 1, 9)), "9");
}

TEST(FormatDate, OutputStaysInTheBuffer) {
    Formatter f;
    std::string longName(1000, 'x');
    const char* names[12];
    for (const char*& n : names) n = longName.c_str();
    f.setMonthNames(names, 12);
    std::string text = f.format("mmm mmm", kSample);
    EXPECT_EQ(text, std::string(255, 'x'));

    std::string longCode(5000, 'y');
    text = f.format(longCode.c_str(), kSample);
    EXPECT_LE(text.size(), 255u);
    EXPECT_GE(text.size(), 240u);
    EXPECT_EQ(text.substr(0, 8), "20242024");

    std::string accented;
    for (int i = 0; i < 200; ++i) accented += "\xC3\xA9";
    names[2] = accented.c_str();
    f.setMonthNames(names, 12);
    EXPECT_EQ(std::string(f.format("mmm", kSample)), accented.substr(0, 254));  // whole characters only

    std::string literal = "'" + std::string(400, 'z') + "'";
    EXPECT_EQ(std::string(f.formatDate(literal.c_str(), kSample)), std::string(255, 'z'));
}

TEST(FormatDate, MissingAndOddValues) {
    EXPECT_EQ(fmt("yyyy", Chart::NoValue), "");
    Formatter f;
    EXPECT_STREQ(f.formatDate("", kSample), "");
    EXPECT_STREQ(f.formatDate(nullptr, kSample), "");
    EXPECT_STREQ(f.formatDate("yyyy", std::numeric_limits<double>::quiet_NaN()), "");
    // Far outside the calendar's useful range: anything, as long as it is defined and fits.
    for (double v : {-1e300, -1.0, 1e18, 1.6e308, -1.7e308}) {
        std::string text = f.format("yyyy-mm-dd hh:nn:ss.fff w a", v);
        EXPECT_LE(text.size(), 255u);
    }
    EXPECT_STREQ(f.format("yyyy-mm-dd hh:nn:ss", -1), "0000-12-31 23:59:59");
}

#include <plotvane/chart.h>

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include <cstdlib>

using namespace plotvane;

TEST(ChartTime, CalendarArithmetic) {
    EXPECT_EQ(Chart::chartTime(1, 1, 1), 0);
    EXPECT_EQ(Chart::chartTime(2000, 3, 1) - Chart::chartTime(2000, 2, 28), 2 * 86400);
    EXPECT_EQ(Chart::chartTime(1900, 3, 1) - Chart::chartTime(1900, 2, 28), 86400);
    EXPECT_EQ(Chart::chartTime(2024, 3, 1) - Chart::chartTime(2024, 2, 28), 2 * 86400);
    EXPECT_EQ(Chart::chartTime(2023, 12, 31, 23, 59, 60), Chart::chartTime(2024, 1, 1));
    // Hours and minutes beyond their ranges simply add their seconds.
    EXPECT_EQ(Chart::chartTime(2024, 1, 1, 25), Chart::chartTime(2024, 1, 2, 1));
    EXPECT_EQ(Chart::chartTime(2024, 1, 1, 0, -1), Chart::chartTime(2023, 12, 31, 23, 59));
}

TEST(ChartTime, DatesRoundTripAcrossCenturies) {
    struct Case { int y, m, d; } cases[] = {{1, 1, 1},     {1600, 2, 29}, {1800, 1, 1}, {1899, 12, 31},
                                            {1900, 2, 28}, {2000, 2, 29}, {2024, 3, 5}, {2100, 3, 1},
                                            {2199, 12, 31}, {9999, 12, 31}};
    for (const Case& c : cases) {
        double t = Chart::chartTime(c.y, c.m, c.d, 13, 14, 15);
        EXPECT_EQ(Chart::getChartYMD(t), c.y * 10000 + c.m * 100 + c.d) << c.y << "-" << c.m << "-" << c.d;
    }
    EXPECT_EQ(Chart::getChartYMD(Chart::chartTime(2024, 3, 5)), 20240305);
    EXPECT_EQ(Chart::getChartYMD(Chart::chartTime(2024, 3, 5) - 1), 20240304);
}

TEST(ChartTime, WeekDays) {
    EXPECT_EQ(Chart::getChartWeekDay(Chart::chartTime(2024, 1, 7)), 0);  // a Sunday
    EXPECT_EQ(Chart::getChartWeekDay(Chart::chartTime(2024, 1, 8, 23, 59, 59)), 1);
    EXPECT_EQ(Chart::getChartWeekDay(0), 1);  // 0001-01-01 was a Monday
    EXPECT_EQ(Chart::getChartWeekDay(Chart::chartTime(2000, 2, 29)), 2);
}

TEST(ChartTime, AbsurdTimesStayDefined) {
    // Only that nothing traps or hangs; the values mean nothing.
    Chart::getChartYMD(Chart::NoValue);
    Chart::getChartYMD(-Chart::NoValue);
    Chart::getChartYMD(0.0 / 0.0);
    Chart::getChartWeekDay(Chart::NoValue);
    SUCCEED();
}

TEST(ChartTime, FromOperatingSystemTimeUsesLocalTime) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(Chart::chartTime2(0), Chart::chartTime(1970, 1, 1));
    EXPECT_EQ(Chart::chartTime2(86400 * 366LL + 3600), Chart::chartTime(1971, 1, 2, 1));
    setenv("TZ", "EST5", 1);
    tzset();
    EXPECT_EQ(Chart::chartTime2(0), Chart::chartTime(1969, 12, 31, 19));
    unsetenv("TZ");
    tzset();
}

TEST(ChartTime, UtcFormsIgnoreTheTimeZone) {
    setenv("TZ", "EST5EDT", 1);
    tzset();
    const long long newYear2024 = 1704067200;
    EXPECT_EQ(Chart::chartTimeUTC(newYear2024), Chart::chartTime(2024, 1, 1));
    EXPECT_EQ(Chart::getChartYMD(Chart::chartTime2(newYear2024)), 20231231);
    EXPECT_EQ(Chart::chartTimeUTC(-1), Chart::chartTime(1969, 12, 31, 23, 59, 59));
    for (long long t : {0LL, -1LL, newYear2024, -62135596800LL, 253402300799LL})
        EXPECT_EQ(Chart::unixTimeUTC(Chart::chartTimeUTC(t)), t);
    // Fractions of a second round down, before 1970 too.
    EXPECT_EQ(Chart::unixTimeUTC(Chart::chartTimeUTC(-2) + 0.5), -2);
    EXPECT_EQ(Chart::unixTimeUTC(Chart::chartTimeUTC(7) + 0.999), 7);
    auto now = std::chrono::system_clock::now();
    EXPECT_EQ(Chart::systemTimeUTC(Chart::chartTimeUTC(now)), std::chrono::floor<std::chrono::seconds>(now));
    EXPECT_EQ(Chart::chartTimeUTC(std::chrono::system_clock::time_point(std::chrono::seconds(newYear2024))),
              Chart::chartTime(2024, 1, 1));
    EXPECT_EQ(Chart::unixTimeUTC(0.0 / 0.0), std::numeric_limits<long long>::min());
    EXPECT_EQ(Chart::unixTimeUTC(1e300), std::numeric_limits<long long>::max());
    unsetenv("TZ");
    tzset();
}

TEST(BSearch, InterpolatesBetweenNeighbours) {
    const double v[] = {10, 20, 30};
    DoubleArray values(v, 3);
    EXPECT_DOUBLE_EQ(Chart::bSearch(values, 25), 1.5);
    EXPECT_DOUBLE_EQ(Chart::bSearch(values, 12.5), 0.25);
    EXPECT_EQ(Chart::bSearch(values, 5), 0);
    EXPECT_EQ(Chart::bSearch(values, 35), 2);
    EXPECT_EQ(Chart::bSearch(values, 20), 1);
    EXPECT_EQ(Chart::bSearch(values, 30), 2);
    EXPECT_EQ(Chart::bSearch(DoubleArray(), 1), -1);
    EXPECT_EQ(Chart::bSearch(DoubleArray(v, -4), 1), -1);
    const double repeated[] = {1, 2, 2, 2, 3};
    EXPECT_EQ(Chart::bSearch(DoubleArray(repeated, 5), 2), 1);  // the first of equal values
}

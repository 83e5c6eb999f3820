#include "foundation/periodstarts_p.h"

#include <plotvane/chart.h>

#include <gtest/gtest.h>

using namespace plotvane;

namespace {
constexpr double kDay = 86400;
}

TEST(PeriodStarts, FirstTimeStartsOnlyWithinTheMargin) {
    const double noon = Chart::chartTime(2024, 3, 5, 12);
    // Noon is half a day into its period: a margin of a few seconds does not reach back to midnight.
    PeriodStarts narrow(DatePeriod::Day, 1, 0.05);
    EXPECT_EQ(narrow.next(noon), PeriodStarts::NotAStart);
    EXPECT_EQ(narrow.next(noon + kDay / 2), PeriodStarts::MajorStart);
    // A margin of 13 hours does; an unusable margin counts as none.
    PeriodStarts wide(DatePeriod::Day, 1, 13 * 3600);
    EXPECT_EQ(wide.next(noon), PeriodStarts::MajorStart);
    PeriodStarts missing(DatePeriod::Day, 1, Chart::NoValue);
    EXPECT_EQ(missing.next(Chart::chartTime(2024, 3, 5)), PeriodStarts::MajorStart);
    EXPECT_EQ(missing.next(Chart::chartTime(2024, 3, 5, 1)), PeriodStarts::NotAStart);
}

TEST(PeriodStarts, StepsWeeksMonthsAndYears) {
    // Every third month start is major, counting from the first.
    PeriodStarts months(DatePeriod::Month, 3, 0.05);
    std::vector<int> kinds;
    for (int m = 1; m <= 7; ++m) kinds.push_back(months.next(Chart::chartTime(2023, m, 1)));
    EXPECT_EQ(kinds, (std::vector<int>{1, -1, -1, 1, -1, -1, 1}));
    // Weeks turn over on Sunday: 2024-03-09 was a Saturday.
    PeriodStarts weeks(DatePeriod::Week, 1, 0);
    weeks.next(Chart::chartTime(2024, 3, 8));
    EXPECT_EQ(weeks.next(Chart::chartTime(2024, 3, 9)), PeriodStarts::NotAStart);
    EXPECT_EQ(weeks.next(Chart::chartTime(2024, 3, 10)), PeriodStarts::MajorStart);
    // Years far from the present and a step below one.
    PeriodStarts years(DatePeriod::Year, 0, 0.05);
    EXPECT_EQ(years.next(Chart::chartTime(1800, 1, 1)), PeriodStarts::MajorStart);
    EXPECT_EQ(years.next(Chart::chartTime(1800, 12, 31)), PeriodStarts::NotAStart);
    EXPECT_EQ(years.next(Chart::chartTime(2200, 1, 1)), PeriodStarts::MajorStart);
}

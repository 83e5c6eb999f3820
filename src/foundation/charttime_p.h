#ifndef PLOTVANE_FOUNDATION_CHARTTIME_P_H
#define PLOTVANE_FOUNDATION_CHARTTIME_P_H

namespace plotvane {

struct CalendarDate {
    long long year = 1;
    int month = 1;      // 1-12
    int day = 1;        // 1-31
    int dayOfYear = 0;  // 0-365
};

bool isLeapYear(long long year);
// Days from 0001-01-01 to January 1st of the year.
long long daysBeforeYear(long long year);
int daysInMonth(long long year, int month);
// The calendar date of a chart time (the time of day is dropped).
CalendarDate calendarDateOf(double t);
long long floorDiv(long long a, long long b);
// Truncation toward zero that stays defined for NaN and huge values.
long long truncateTime(double v);

}  // namespace plotvane

#endif

// Chart time counts seconds from 0001-01-01 00:00:00 in the proleptic Gregorian calendar, with no
// time zone. Day numbers are computed with 64-bit integers so that far-off years stay exact.
#include <plotvane/chart.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

#include "foundation/charttime_p.h"

namespace plotvane {

namespace {
constexpr int kDaysBeforeMonth[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};
}  // namespace

bool isLeapYear(long long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

long long daysBeforeYear(long long year) {
    long long y = year - 1;
    return y * 365 + floorDiv(y, 4) - floorDiv(y, 100) + floorDiv(y, 400);
}

long long floorDiv(long long a, long long b) {
    long long q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

long long truncateTime(double v) {
    // Beyond a billion years (and for NaN) the calendar means nothing; keep the arithmetic defined.
    constexpr double kLimit = 3e16;
    if (!(v > -kLimit)) return static_cast<long long>(-kLimit);
    if (!(v < kLimit)) return static_cast<long long>(kLimit);
    return static_cast<long long>(v);
}

CalendarDate calendarDateOf(double t) {
    // About ten billion years either way keeps the year estimate below within 64 bits.
    constexpr long long kDayLimit = 4000000000000LL;
    long long days = std::clamp(truncateTime(std::floor(t / 86400.0)), -kDayLimit, kDayLimit);
    // Guess the year from the mean year length, then correct by at most a step or two.
    long long year = floorDiv(days * 400, 146097) + 1;
    while (daysBeforeYear(year) > days) --year;
    while (daysBeforeYear(year + 1) <= days) ++year;
    int dayOfYear = static_cast<int>(days - daysBeforeYear(year));
    const int* table = kDaysBeforeMonth[isLeapYear(year) ? 1 : 0];
    int month = 1;
    while (month < 12 && dayOfYear >= table[month]) ++month;
    CalendarDate date;
    date.year = year;
    date.month = month;
    date.day = dayOfYear - table[month - 1] + 1;
    date.dayOfYear = dayOfYear;
    return date;
}

int daysInMonth(long long year, int month) {
    const int* table = kDaysBeforeMonth[isLeapYear(year) ? 1 : 0];
    return table[month] - table[month - 1];
}

namespace Chart {

double chartTime(int year, int month, int day, int hour, int minute, int second) {
    if (month < 1 || month > 12) month = month < 1 ? 1 : 12;
    long long days = daysBeforeYear(year) + kDaysBeforeMonth[isLeapYear(year) ? 1 : 0][month - 1] + day - 1;
    return static_cast<double>(days) * 86400.0 + hour * 3600.0 + minute * 60.0 + second;
}

double chartTime2(long long t) {
    std::time_t when = static_cast<std::time_t>(t);
    std::tm local{};
    if (!localtime_r(&when, &local)) return chartTime(1970, 1, 1) + static_cast<double>(t);
    return chartTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                     local.tm_sec);
}

double chartTimeUTC(long long t) { return chartTime(1970, 1, 1) + static_cast<double>(t); }

long long unixTimeUTC(double t) {
    double seconds = std::floor(t - chartTime(1970, 1, 1));
    // Chart times from year 1 to far past 9999 fit; anything else (NaN too) is pinned to the ends.
    if (!(seconds > -9.2e18)) return std::numeric_limits<long long>::min();
    if (seconds >= 9.2e18) return std::numeric_limits<long long>::max();
    return static_cast<long long>(seconds);
}

int getChartYMD(double t) {
    CalendarDate d = calendarDateOf(t);
    return static_cast<int>(d.year * 10000 + d.month * 100 + d.day);
}

int getChartWeekDay(double t) { return static_cast<int>(truncateTime(t / 86400 + 1) % 7); }

}  // namespace Chart
}  // namespace plotvane

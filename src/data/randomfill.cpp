// The value generators behind RanSeries and RanTable.
//
// Everything derives from ISAAC words scaled into [0, 1], so a seed reproduces the same data on every
// platform; no library random function or distribution is used. Gaussian values come from Marsaglia's
// polar method (two uniform draws per pair, rejecting points outside the unit circle). The 2D field is
// uniform noise integrated along rows and columns (each value adds its left neighbour and the one
// above), which turns noise into smooth hills, then stretched to the asked range. Date series either
// add a fixed step in seconds or, for steps of a month or more and for weekday-only series, step
// through the calendar by years, months, days and time of day.
#include "data/randomfill_p.h"

#include <algorithm>
#include <cmath>

#include "foundation/charttime_p.h"

namespace plotvane {

void fillUniform(Isaac& rng, double* out, size_t n, double minValue, double maxValue) {
    for (size_t i = 0; i < n; ++i) out[i] = minValue + (maxValue - minValue) * rng.unit();
}

double walkStep(Isaac& rng, double from, double minDelta, double maxDelta, double lowerLimit,
                double upperLimit) {
    return withinLimits([&] { return from + minDelta + (maxDelta - minDelta) * rng.unit(); }, lowerLimit,
                        upperLimit);
}

void fillWalk(Isaac& rng, double* out, size_t n, double startValue, double minDelta, double maxDelta,
              double lowerLimit, double upperLimit) {
    if (n == 0) return;
    out[0] = startValue;
    for (size_t i = 1; i < n; ++i)
        out[i] = walkStep(rng, out[i - 1], minDelta, maxDelta, lowerLimit, upperLimit);
}

void fillGaussian(Isaac& rng, double* out, size_t n, double mean, double stdDev) {
    size_t i = 0;
    while (i < n) {
        double a = 2 * rng.unit() - 1;
        double b = 2 * rng.unit() - 1;
        double s = a * a + b * b;
        if (s > 1 || s == 0) continue;
        double f = stdDev * std::sqrt(-2 * std::log(s) / s);
        out[i++] = a * f + mean;
        if (i < n) out[i++] = b * f + mean;
    }
}

void fill2D(Isaac& rng, double* out, size_t xLen, size_t yLen, double minValue, double maxValue) {
    const size_t n = xLen * yLen;
    if (n == 0) return;
    fillUniform(rng, out, n, -1, 1);
    for (size_t k = 1; k < n; ++k) {
        size_t row = k / xLen, column = k % xLen;
        if (row == 0)
            out[k] += out[k - 1];
        else if (column == 0)
            out[k] += out[k - xLen];
        else
            out[k] += (out[k - 1] + out[k - xLen]) / 2;
    }
    auto [low, high] = std::minmax_element(out, out + n);
    const double lo = *low, hi = *high;
    for (size_t k = 0; k < n; ++k)
        out[k] = hi > lo ? minValue + (out[k] - lo) * (maxValue - minValue) / (hi - lo)
                         : (minValue + maxValue) / 2;
}

long long addMonths(long long t, long long months) {
    const long long days = floorDiv(t, 86400), timeOfDay = t - days * 86400;
    CalendarDate date = calendarDateOf(static_cast<double>(days) * 86400);
    long long monthIndex = date.year * 12 + (date.month - 1) + months;
    long long year = floorDiv(monthIndex, 12);
    int month = static_cast<int>(monthIndex - year * 12) + 1;
    int day = std::min(date.day, daysInMonth(year, month));
    long long dayOfYear = 0;
    for (int m = 1; m < month; ++m) dayOfYear += daysInMonth(year, m);
    return (daysBeforeYear(year) + dayOfYear + day - 1) * 86400 + timeOfDay;
}

int weekDayOf(long long t) {
    long long days = floorDiv(t, 86400) + 1;  // day 0 was a Monday
    return static_cast<int>(days - floorDiv(days, 7) * 7);
}

namespace {

// A calendar step: whole months (a year being 12) and seconds (a month counted as 30 days).
struct CalendarStep {
    long long months = 0;
    long long seconds = 0;
    int sign = 1;
};

CalendarStep splitStep(double tickInc) {
    CalendarStep step;
    long long total = truncateTime(std::round(tickInc));
    step.sign = total < 0 ? -1 : 1;
    total = total < 0 ? -total : total;
    step.seconds =
        total % 60 + (total / 60) % 60 * 60 + (total / 3600) % 24 * 3600 + (total / 86400) % 30 * 86400;
    step.months = (total / 2592000) % 12 + total / 31104000 * 12;
    return step;
}

long long applyStep(long long t, const CalendarStep& step) {
    return addMonths(t, step.sign * step.months) + step.sign * step.seconds;
}

bool isWeekend(long long t) {
    int day = weekDayOf(t);
    return day == 0 || day == 6;
}

}  // namespace

void fillDates(double* out, size_t n, double startTime, double tickInc, bool weekDayOnly) {
    if (!(tickInc >= 2592000) && !weekDayOnly) {
        for (size_t i = 0; i < n; ++i) out[i] = startTime + static_cast<double>(i) * tickInc;
        return;
    }
    const CalendarStep step = splitStep(tickInc);
    long long t = truncateTime(std::round(startTime));
    for (size_t i = 0; i < n; ++i) {
        out[i] = static_cast<double>(t);
        t = applyStep(t, step);
        // Steps of whole weeks would land on the weekend for ever: after a dozen tries, walk by days.
        for (int tries = 0; weekDayOnly && isWeekend(t); ++tries)
            t = tries < 12 ? applyStep(t, step) : t + step.sign * 86400;
    }
}

}  // namespace plotvane

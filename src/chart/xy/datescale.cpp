// The date/time auto-scaler.
//
// Time does not come in powers of ten, so the step is taken from a ladder of steps people read
// easily (15 s, 1 min, 6 h, 1 day, 1 month ...) rather than from nice numbers; below 15 seconds and
// above ten years the decimal rules take over again, counting in seconds or in years. On the ladder
// months are 30 days and years 360 days, which keeps the step arithmetic exact; the calendar comes
// back when ticks are laid: a step of 29 days or more is split into years, months and the rest and
// added to the calendar date, so monthly ticks land on the first of every month rather than
// drifting by a day or two per tick.
//
// The first tick is aligned to a unit so that ticks fall on round times: the step itself, except
// where a coarser unit reads better over a long range (six-month steps start in January, ten- and
// fifteen-day steps start on the first of a month, twelve-hour steps at midnight).
#include <algorithm>
#include <cmath>

#include "chart/xy/scalemath_p.h"
#include "foundation/charttime_p.h"

namespace plotvane {

namespace {

constexpr double kDay = 86400;
constexpr double kMonth = 2592000;
constexpr double kYear = 31104000;
constexpr double kCalendarStep = 2505600;  // 29 days
// Steps are added in 1/10000 s, the finest fraction a date label can show.
constexpr double kTimeResolution = 1e-4;

struct LadderRow {
    double step;
    double minors[3];
};

constexpr LadderRow kLadder[] = {
    {15, {1, 5, 0}},
    {20, {1, 5, 10}},
    {30, {5, 10, 15}},
    {60, {10, 15, 30}},
    {120, {20, 30, 60}},
    {300, {60, 150, 0}},
    {600, {60, 120, 300}},
    {1200, {120, 300, 600}},
    {1800, {300, 600, 900}},
    {3600, {300, 900, 1800}},
    {7200, {900, 1800, 3600}},
    {10800, {900, 1800, 3600}},
    {21600, {3600, 7200, 10800}},
    {43200, {7200, 10800, 21600}},
    {86400, {10800, 21600, 43200}},
    {172800, {21600, 43200, 86400}},
    {259200, {21600, 43200, 86400}},
    {345600, {43200, 86400, 172800}},
    {432000, {21600, 43200, 86400}},
    {864000, {86400, 172800, 432000}},
    {1296000, {86400, 259200, 432000}},
    {2592000, {432000, 864000, 1296000}},
    {5184000, {864000, 1296000, 2592000}},
    {7776000, {864000, 1296000, 2592000}},
    {15552000, {2592000, 5184000, 7776000}},
    {31104000, {5184000, 7776000, 15552000}},
    {62208000, {15552000, 31104000, 0}},
    {93312000, {31104000, 0, 0}},
    {124416000, {31104000, 62208000, 0}},
    {155520000, {31104000, 0, 0}},
    {311040000, {31104000, 62208000, 155520000}},
};

double roundToResolution(double t) {
    if (!(std::fabs(t) < 1e14)) return t;
    return std::round(t / kTimeResolution) * kTimeResolution;
}

// The step for a wanted step, and its minor step for M minor intervals.
double chooseStep(double wanted, int m, double& minor) {
    if (wanted < 15) {
        double step = std::max(niceNumber(wanted), kTimeResolution);
        minor = std::max(minorStepFor(step, m), kTimeResolution);
        return step;
    }
    if (wanted > 311040000) {
        double years = niceNumber(wanted / kYear);
        minor = minorStepFor(years, m) * kYear;
        return years * kYear;
    }
    for (const LadderRow& row : kLadder) {
        if (row.step < wanted) continue;
        minor = row.step;
        for (double c : row.minors) {
            if (c > 0 && c > wanted / m) {
                minor = c;
                break;
            }
        }
        return row.step;
    }
    minor = kYear;
    return 311040000;
}

double alignUnitFor(double step, double range) {
    if (step == 15552000 && range >= 93312000) return kYear;
    if ((step == 864000 || step == 1296000) && range >= 7776000) return kMonth;
    if (step == 43200 && range >= 172800) return kDay;
    return step;
}

long long daysBeforeMonth(long long year, int month) {
    long long days = 0;
    for (int m = 1; m < month; ++m) days += daysInMonth(year, m);
    return days;
}

double dayStart(const CalendarDate& d) {
    return static_cast<double>(daysBeforeYear(d.year) + d.dayOfYear) * kDay;
}

}  // namespace

double alignDate(double t, double unit) {
    // Beyond a few billion years the calendar means nothing; keep the arithmetic defined.
    if (!(unit > 0) || !(std::fabs(t) < 1e15) || !(unit < 1e15)) return t;
    if (unit <= kDay) return roundToResolution(unit * std::floor(t / unit));
    double months = unit / kMonth;
    if (months >= 1 && std::fabs(months - std::round(months)) < 1e-9) {
        CalendarDate d = calendarDateOf(t);
        int month = std::llround(months) % 12 == 0 ? 1 : d.month;
        return static_cast<double>(daysBeforeYear(d.year) + daysBeforeMonth(d.year, month)) * kDay;
    }
    return std::floor(t / kDay) * kDay;
}

double addDateStep(double t, double k, double step) {
    double total = k * step;
    // Far outside any calendar a date axis can show, plain seconds are as good as anything.
    if (std::fabs(step) < kCalendarStep || !(std::fabs(total) < 1e15) || !(std::fabs(t) < 1e15))
        return roundToResolution(t + total);
    int sign = total < 0 ? -1 : 1;
    double rest = std::fabs(total);
    long long years = static_cast<long long>(std::floor(rest / kYear));
    rest -= static_cast<double>(years) * kYear;
    long long months = static_cast<long long>(std::floor(rest / kMonth));
    rest -= static_cast<double>(months) * kMonth;

    CalendarDate d = calendarDateOf(t);
    double timeOfDay = t - dayStart(d);
    long long monthIndex = d.year * 12 + (d.month - 1) + sign * (years * 12 + months);
    long long year = floorDiv(monthIndex, 12);
    int month = static_cast<int>(monthIndex - year * 12) + 1;
    int day = std::min(d.day, daysInMonth(year, month));
    long long days = daysBeforeYear(year) + daysBeforeMonth(year, month) + day - 1;
    return roundToResolution(static_cast<double>(days) * kDay + timeOfDay + sign * rest);
}

ScaleResult scaleDate(const ScaleRequest& q) {
    ScaleResult r;
    double lo = q.lo;
    double hi = q.hi;
    if (lo == hi) {
        bool bothFixed = q.fixedLo && q.fixedHi;
        if (!q.fixedLo || bothFixed) lo -= 60;
        if (!q.fixedHi || bothFixed) hi += 60;
        if (lo < 0 && hi > 0 && !q.fixedLo) {
            lo = 0;
            if (!q.fixedHi) hi = 120;
        }
    }
    double t = q.extendHi && !q.fixedHi ? q.topExtension : 0;
    double b = q.extendLo && !q.fixedLo ? q.bottomExtension : 0;
    if ((t > 0 || b > 0) && t + b < 1) {
        double span = hi - lo;
        double newLo = lo - b * span / (1 - t - b);
        hi += t * span / (1 - t - b);
        lo = lo >= 0 ? std::max(newLo, 0.0) : lo;
    }

    double range = hi - lo;
    int m = std::max(q.minorPerMajor, 1);
    double step;
    double minor;
    if (q.majorInc > 0) {
        step = std::max(q.majorInc, kTimeResolution);
        minor = q.minorInc > 0 && q.minorInc < step ? q.minorInc : step;
    } else {
        step = chooseStep(range / std::max(q.intervals, 1), m, minor);
        if (q.minTickInc > step) {
            double unused;
            step = chooseStep(q.minTickInc, 1, unused);
            minor = step;
        } else if (q.minTickInc > minor) {
            minor = step;
        }
    }

    double first = q.majorInc > 0 && q.fixedLo ? lo : alignDate(lo, alignUnitFor(step, range));
    r.lower = q.roundLo && !q.fixedLo ? first : lo;
    r.upper = hi;
    if (q.roundHi && !q.fixedHi) {
        for (int k = 0; k <= kMaxTicks + 1; ++k) {
            double v = addDateStep(first, k, step);
            if (v >= hi - range * 1e-10) {
                r.upper = v;
                break;
            }
        }
    }
    r.step = step;
    r.minorStep = minor;
    majorTicks(first, r.lower, r.upper, step, addDateStep, r.majors);
    if (minor < step) minorTicks(r.majors, r.lower, r.upper, minor, addDateStep, r.minors);
    return r;
}

}  // namespace plotvane

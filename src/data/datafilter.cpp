// Filters that pick label positions out of a series.
//
// The date filters walk the chart times in order and give each one the id of the period it falls in
// (second, minute, hour, day, week, month, year). A time whose id differs from the one before starts a
// period. Counting those starts, every majorTickStep-th becomes a major position and the rest minor
// ones. Before the first time, the "previous" id is that of the first time less the initial margin
// (less one more second): so the first time is a start exactly when the margin reaches back into the
// period before, which keeps a label from being placed on a period that is mostly off the chart.
// Elements already marked (NoValue, or -1.7e308 from an earlier filter) are passed over untouched.
#include "data/datafilter_p.h"

#include <plotvane/constants.h>

#include <cmath>
#include <cstdlib>

#include "data/arraystats_p.h"
#include "foundation/charttime_p.h"

namespace plotvane {

void selectRegularSpacing(std::vector<double>& a, int majorTickStep, int minorTickStep, int initialMargin) {
    const long long major = majorTickStep < 1 ? 1 : majorTickStep;
    const long long minor = minorTickStep < 1 ? major : minorTickStep;
    for (size_t i = 0; i < a.size(); ++i) {
        long long k = std::llabs(static_cast<long long>(i) - initialMargin);
        if (k % major == 0) continue;
        a[i] = k % minor == 0 ? Chart::MinorTickOnly : Chart::NoValue;
    }
}

namespace {

long long periodId(long long t, DatePeriod period) {
    switch (period) {
        case DatePeriod::Second:
            return t;
        case DatePeriod::Minute:
            return t / 60;
        case DatePeriod::Hour:
            return t / 3600;
        case DatePeriod::Day:
            return t / 86400;
        case DatePeriod::Week:
            return (t / 86400 + 1) / 7;
        case DatePeriod::Month: {
            CalendarDate d = calendarDateOf(static_cast<double>(t));
            return d.year * 12 + d.month;
        }
        case DatePeriod::Year:
            return calendarDateOf(static_cast<double>(t)).year;
    }
    return t;
}

long long wholeSeconds(double v) {
    return truncateTime(std::floor(v + 0.5));
}

}  // namespace

void selectStartOf(std::vector<double>& a, DatePeriod period, int majorTickStep, double initialMargin) {
    bool started = false;
    long long previous = 0;
    long long counter = majorTickStep;
    for (double& v : a) {
        if (!isValidValue(v) || v == Chart::MinorTickOnly) continue;
        if (!started) {
            double margin = isValidValue(initialMargin) ? initialMargin : 0;
            previous = periodId(wholeSeconds(v - margin) - 1, period);
            started = true;
        }
        long long id = periodId(wholeSeconds(v), period);
        if (id != previous) {
            if (++counter < majorTickStep) {
                v = Chart::MinorTickOnly;
            } else {
                counter = 0;
            }
        } else {
            v = Chart::NoValue;
        }
        previous = id;
    }
}

}  // namespace plotvane

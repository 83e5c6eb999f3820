#include "foundation/periodstarts_p.h"

#include <plotvane/constants.h>

#include <cmath>

#include "foundation/charttime_p.h"

namespace plotvane {

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
            // Weeks start on Sunday: day 0 (0001-01-01) was a Monday.
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

long long wholeSeconds(double v) { return truncateTime(std::floor(v + 0.5)); }

}  // namespace

PeriodStarts::PeriodStarts(DatePeriod period, int step, double initialMargin)
    : period_(period),
      step_(step < 1 ? 1 : step),
      initialMargin_(std::isfinite(initialMargin) && initialMargin != Chart::NoValue ? initialMargin : 0),
      counter_(step_) {}

PeriodStarts::Kind PeriodStarts::next(double t) {
    if (!started_) {
        previous_ = periodId(wholeSeconds(t - initialMargin_) - 1, period_);
        started_ = true;
    }
    long long id = periodId(wholeSeconds(t), period_);
    if (id == previous_) return NotAStart;
    previous_ = id;
    // Counting up to step - 1, not step, keeps a step of INT_MAX from overflowing.
    if (counter_ < step_ - 1) {
        ++counter_;
        return MinorStart;
    }
    counter_ = 0;
    return MajorStart;
}

}  // namespace plotvane

#ifndef PLOTVANE_FOUNDATION_PERIODSTARTS_P_H
#define PLOTVANE_FOUNDATION_PERIODSTARTS_P_H

namespace plotvane {

enum class DatePeriod { Second, Minute, Hour, Day, Week, Month, Year };

// Walks chart times in order and tells which of them start a new period (a new day, a new year):
// every step-th start is major, the starts between are minor. The first time counts as a start
// only when its period began within initialMargin seconds before it, so a label never lands on a
// period that lies mostly off the chart. Shared by the axis label filters and ArrayMath.
class PeriodStarts {
public:
    enum Kind { NotAStart = 0, MajorStart = 1, MinorStart = -1 };

    PeriodStarts(DatePeriod period, int step, double initialMargin);
    Kind next(double t);

private:
    DatePeriod period_;
    int step_;
    double initialMargin_;
    bool started_ = false;
    long long previous_ = 0;
    int counter_;
};

}  // namespace plotvane

#endif

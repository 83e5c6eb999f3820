// Filters that pick label positions out of a series: by index, or by the chart times that start a
// new period. Elements already marked (NoValue, or -1.7e308 from an earlier filter) are passed over
// untouched, so filters can be chained.
#include "data/datafilter_p.h"

#include <plotvane/constants.h>

#include <cstdlib>

#include "data/arraystats_p.h"

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

void selectStartOf(std::vector<double>& a, DatePeriod period, int majorTickStep, double initialMargin) {
    PeriodStarts starts(period, majorTickStep, initialMargin);
    for (double& v : a) {
        if (!isValidValue(v) || v == Chart::MinorTickOnly) continue;
        switch (starts.next(v)) {
            case PeriodStarts::MajorStart:
                break;
            case PeriodStarts::MinorStart:
                v = Chart::MinorTickOnly;
                break;
            case PeriodStarts::NotAStart:
                v = Chart::NoValue;
                break;
        }
    }
}

}  // namespace plotvane

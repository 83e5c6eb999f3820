// Aggregation of a source series over groups marked in another, as used to turn daily data into
// weekly or monthly bars: the marker array carries a value where a group begins (typically the output
// of a date filter) and NoValue elsewhere. Each group's valid source values are combined by the chosen
// method; groups are formed only over the indexes both arrays have.
#include "data/aggregate_p.h"

#include <plotvane/constants.h>

#include <algorithm>

#include "data/arraystats_p.h"

namespace plotvane {

namespace {

double combine(std::vector<double>& values, int method, double param) {
    switch (method) {
        case Chart::AggregateSum:
            return sumOf(values);
        case Chart::AggregateAvg:
            return meanOf(values);
        case Chart::AggregateCount:
            return static_cast<double>(values.size());
        default:
            break;
    }
    if (values.empty()) return Chart::NoValue;
    switch (method) {
        case Chart::AggregateStdDev:
            return stdDevOf(values);
        case Chart::AggregateMin:
            return *std::min_element(values.begin(), values.end());
        case Chart::AggregateMax:
            return *std::max_element(values.begin(), values.end());
        case Chart::AggregateMed:
            return percentileOf(values, 50);
        case Chart::AggregatePercentile:
            return percentileOf(values, param);
        case Chart::AggregateFirst:
            return values.front();
        case Chart::AggregateLast:
            return values.back();
        default:
            return Chart::NoValue;
    }
}

}  // namespace

std::vector<double> aggregateGroups(const std::vector<double>& markers, const double* src, size_t srcLen,
                                    int method, double param) {
    if (!src) srcLen = 0;
    const size_t grouped = std::min(markers.size(), srcLen);
    std::vector<double> out;
    std::vector<double> group;
    for (size_t i = 0; i < grouped; ++i) {
        if (i > 0 && markers[i] != Chart::NoValue) {
            out.push_back(combine(group, method, param));
            group.clear();
        }
        if (isValidValue(src[i])) group.push_back(src[i]);
    }
    if (grouped > 0) out.push_back(combine(group, method, param));
    for (size_t i = markers.size(); i < srcLen; ++i) out.push_back(orNoValue(src[i]));
    return out;
}

}  // namespace plotvane

#ifndef PLOTVANE_DATA_AGGREGATE_P_H
#define PLOTVANE_DATA_AGGREGATE_P_H

#include <cstddef>
#include <vector>

namespace plotvane {

// Combines src over the groups that markers define: a group starts at index 0 and at every marker
// that is not NoValue. One value per group, then the source values beyond the markers unchanged.
std::vector<double> aggregateGroups(const std::vector<double>& markers, const double* src, size_t srcLen,
                                    int method, double param);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_DATA_DATAFILTER_P_H
#define PLOTVANE_DATA_DATAFILTER_P_H

#include <vector>

#include "foundation/periodstarts_p.h"

namespace plotvane {

// Label-position filters: a kept value is a major position, -1.7e308 a minor one, NoValue neither.

// Index-based: major every majorTickStep elements from initialMargin, minor every minorTickStep.
void selectRegularSpacing(std::vector<double>& a, int majorTickStep, int minorTickStep, int initialMargin);

// Chart times that start a new period; every majorTickStep-th start is major, the others minor.
void selectStartOf(std::vector<double>& a, DatePeriod period, int majorTickStep, double initialMargin);

}  // namespace plotvane

#endif

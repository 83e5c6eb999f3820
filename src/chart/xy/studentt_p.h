#ifndef PLOTVANE_CHART_XY_STUDENTT_P_H
#define PLOTVANE_CHART_XY_STUDENTT_P_H

namespace plotvane {

// The probability that Student's t with `dof` degrees of freedom exceeds t (t >= 0).
double studentTUpperTail(double t, double dof);

// The t whose upper tail is q (0 < q <= 0.5): the quantile of probability 1 - q. NoValue for a
// q or dof out of range.
double studentTQuantileUpper(double q, double dof);

}  // namespace plotvane

#endif

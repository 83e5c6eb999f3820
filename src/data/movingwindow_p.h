#ifndef PLOTVANE_DATA_MOVINGWINDOW_P_H
#define PLOTVANE_DATA_MOVINGWINDOW_P_H

#include <cstddef>
#include <vector>

namespace plotvane {

// Moving-window statistics over the valid elements of a: the window holds the last n valid values,
// the first n - 1 valid elements become NoValue, NoValue elements stay, and n < 2 changes nothing.
void movAvg(std::vector<double>& a, int n);
void movMax(std::vector<double>& a, int n);
void movMin(std::vector<double>& a, int n);
void movStdDev(std::vector<double>& a, int n);
void movPercentile(std::vector<double>& a, int n, double p);
// Over the pairs (a[i], b[i]) that are both valid; every element without a full window of pairs
// behind it becomes NoValue.
void movCorr(std::vector<double>& a, int n, const double* b, size_t bLen);

// The percentile kernel on a compact list of valid values, exposed so that tests can hold its two
// strategies (a sorted window for small n, rank counting for large n) against each other.
void movingPercentile(const double* x, size_t m, size_t n, double p, double* out, bool rankCounting);

}  // namespace plotvane

#endif

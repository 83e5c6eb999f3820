#ifndef PLOTVANE_DATA_LOWESS_P_H
#define PLOTVANE_DATA_LOWESS_P_H

#include <cstddef>
#include <vector>

namespace plotvane {

// Smooths the points (x[i], y[i]), x ascending, into fitted; every point is fitted (no interpolation
// step). smoothness is the fraction of points in each neighbourhood, iterations the number of
// robustness passes.
void lowessSorted(const double* x, const double* y, size_t n, double smoothness, int iterations,
                  double* fitted);

// The array form: smooths the pairs (x[i], a[i]) that are both valid, in any order of x, and makes
// every other element NoValue. A null x means x = 0, 1, 2, ... Arrays shorter than 2 are unchanged.
void lowessFilter(std::vector<double>& a, const double* x, size_t xLen, double smoothness, int iterations);

}  // namespace plotvane

#endif

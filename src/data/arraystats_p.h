#ifndef PLOTVANE_DATA_ARRAYSTATS_P_H
#define PLOTVANE_DATA_ARRAYSTATS_P_H

#include <plotvane/constants.h>

#include <cstddef>
#include <vector>

namespace plotvane {

// A value that takes part in arithmetic and statistics: neither NoValue nor NaN.
inline bool isValidValue(double v) {
    return v == v && v != Chart::NoValue;
}
// NaN stands for NoValue wherever it is given as an argument or produced by arithmetic.
inline double orNoValue(double v) {
    return v == v ? v : Chart::NoValue;
}

// The valid values of a, in order.
std::vector<double> validValues(const double* a, size_t n);
// Writes values over the valid elements of a, in order: the inverse of validValues.
void scatterOverValid(std::vector<double>& a, const std::vector<double>& values);

// Statistics of a list of valid values; all of them give 0 for an empty list.
double sumOf(const std::vector<double>& values);
double meanOf(const std::vector<double>& values);
double stdDevOf(const std::vector<double>& values);
// Reorders values (selection, no full sort). A NaN p gives NoValue.
double percentileOf(std::vector<double>& values, double p);
// The interpolation between neighbouring order statistics that every percentile here shares.
double interpolatePercentile(double lower, double upper, double fraction);
// pos = (n - 1) * p / 100 with p clamped into [0, 100]; split into its whole and fractional parts.
void percentilePosition(size_t n, double p, size_t* k, double* fraction);

}  // namespace plotvane

#endif

// Statistics over lists of valid values, shared by the whole-array statistics, aggregation and the
// moving windows. Sums are compensated (Neumaier) so that long arrays of mixed magnitudes keep their
// small terms; the standard deviation takes two passes so that a large common offset cannot cancel
// the spread away.
#include "data/arraystats_p.h"

#include <algorithm>
#include <cmath>

namespace plotvane {

std::vector<double> validValues(const double* a, size_t n) {
    std::vector<double> out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i)
        if (isValidValue(a[i])) out.push_back(a[i]);
    return out;
}

void scatterOverValid(std::vector<double>& a, const std::vector<double>& values) {
    size_t j = 0;
    for (double& v : a) {
        if (j == values.size()) break;
        if (isValidValue(v)) v = orNoValue(values[j++]);
    }
}

double sumOf(const std::vector<double>& values) {
    double sum = 0, compensation = 0;
    for (double v : values) {
        double t = sum + v;
        if (std::fabs(sum) >= std::fabs(v))
            compensation += (sum - t) + v;
        else
            compensation += (v - t) + sum;
        sum = t;
    }
    double total = sum + compensation;
    // Infinite terms leave NaN in the compensation; the plain sum is then the honest answer.
    return std::isfinite(total) ? total : sum;
}

double meanOf(const std::vector<double>& values) {
    return values.empty() ? 0 : sumOf(values) / static_cast<double>(values.size());
}

double stdDevOf(const std::vector<double>& values) {
    if (values.empty()) return 0;
    double mean = meanOf(values);
    double squares = 0;
    for (double v : values) squares += (v - mean) * (v - mean);
    double variance = squares / static_cast<double>(values.size());
    return variance > 0 ? std::sqrt(variance) : 0;
}

void percentilePosition(size_t n, double p, size_t* k, double* fraction) {
    double pos = static_cast<double>(n - 1) * std::clamp(p, 0.0, 100.0) / 100;
    double whole = std::floor(pos);
    *k = std::min(static_cast<size_t>(whole), n - 1);
    *fraction = pos - whole;
}

double interpolatePercentile(double lower, double upper, double fraction) {
    if (fraction == 0) return lower;
    return (1 - fraction) * lower + fraction * upper;
}

double percentileOf(std::vector<double>& values, double p) {
    if (p != p) return Chart::NoValue;
    if (values.empty()) return 0;
    if (values.size() == 1) return values[0];
    size_t k;
    double fraction;
    percentilePosition(values.size(), p, &k, &fraction);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
    double lower = values[k];
    if (fraction == 0) return lower;
    // After nth_element the next order statistic is the smallest of the upper part.
    double upper = *std::min_element(values.begin() + static_cast<std::ptrdiff_t>(k) + 1, values.end());
    return interpolatePercentile(lower, upper, fraction);
}

}  // namespace plotvane

// LOWESS: Cleveland's locally weighted regression smoother (1979), in the form of his reference
// routine, so that results agree with other faithful implementations to rounding.
//
// For each point, the ns = f*n nearest neighbours (found by sliding a window along the sorted x) are
// weighted by the tricube of their distance over the largest distance in the window h; points closer
// than 0.001*h weigh 1 and points beyond 0.999*h nothing, and ties at the far edge join the window.
// A straight line fitted by weighted least squares gives the smoothed value, unless the x spread is
// tiny against the whole range, when the weighted mean is used. Robustness passes then weight each
// point by the plain bisquare of its residual over six times the median absolute residual, and refit.
// A point whose neighbourhood has no weight keeps its value.
#include "data/lowess_p.h"

#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>

#include "data/arraystats_p.h"

namespace plotvane {

namespace {

// The weighted local line at xs over the window [left, right] (growing over ties beyond right).
// Returns false when no point carries weight.
bool localFit(const double* x, const double* y, size_t n, double xs, size_t left, size_t right,
              const double* robustness, std::vector<double>& w, double* fit) {
    const double range = x[n - 1] - x[0];
    const double h = std::max(xs - x[left], x[right] - xs);
    const double h9 = 0.999 * h, h1 = 0.001 * h;
    double total = 0;
    size_t j = left;
    for (; j < n; ++j) {
        w[j] = 0;
        double r = std::fabs(x[j] - xs);
        if (r <= h9) {
            if (r <= h1) {
                w[j] = 1;
            } else {
                double q = r / h;
                q = 1 - q * q * q;
                w[j] = q * q * q;
            }
            if (robustness) w[j] *= robustness[j];
            total += w[j];
        } else if (x[j] > xs) {
            break;
        }
    }
    const size_t end = j;
    if (total <= 0) return false;
    for (j = left; j < end; ++j) w[j] /= total;
    if (h > 0) {
        double mean = 0;
        for (j = left; j < end; ++j) mean += w[j] * x[j];
        double slope = xs - mean;
        double spread = 0;
        for (j = left; j < end; ++j) spread += w[j] * (x[j] - mean) * (x[j] - mean);
        if (std::sqrt(spread) > 0.001 * range) {
            slope /= spread;
            for (j = left; j < end; ++j) w[j] *= slope * (x[j] - mean) + 1;
        }
    }
    double value = 0;
    for (j = left; j < end; ++j) value += w[j] * y[j];
    *fit = value;
    return true;
}

void fitAll(const double* x, const double* y, size_t n, size_t ns, const double* robustness,
            std::vector<double>& w, double* fitted) {
    size_t left = 0, right = ns - 1;
    for (size_t i = 0; i < n; ++i) {
        // Slide the window right while that brings it closer to x[i].
        while (right + 1 < n && x[i] - x[left] > x[right + 1] - x[i]) {
            ++left;
            ++right;
        }
        if (!localFit(x, y, n, x[i], left, right, robustness, w, &fitted[i])) fitted[i] = y[i];
    }
}

// Bisquare weights from the residuals; false when reweighting cannot help.
bool robustnessWeights(const double* y, const double* fitted, size_t n, double* weights) {
    std::vector<double> residual(n);
    for (size_t i = 0; i < n; ++i) residual[i] = std::fabs(y[i] - fitted[i]);
    std::vector<double> sorted(residual);
    size_t m1 = n / 2;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(m1), sorted.end());
    double scale;
    if (n % 2 == 0) {
        double below = *std::max_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(m1));
        scale = 3 * (sorted[m1] + below);
    } else {
        scale = 6 * sorted[m1];
    }
    // When the median residual is rounding noise against the typical one (a near-perfect fit with a
    // few outliers), bisquare weights would only amplify the noise: stop reweighting.
    double meanResidual = 0;
    for (double r : residual) meanResidual += r / static_cast<double>(n);
    if (!(scale > 1e-7 * meanResidual)) return false;
    for (size_t i = 0; i < n; ++i) {
        double q = residual[i] / scale;
        weights[i] = q < 1 ? (1 - q * q) * (1 - q * q) : 0;
    }
    return true;
}

}  // namespace

void lowessSorted(const double* x, const double* y, size_t n, double smoothness, int iterations,
                  double* fitted) {
    if (n == 0) return;
    if (n == 1) {
        fitted[0] = y[0];
        return;
    }
    double f = smoothness > 0 ? std::min(smoothness, 1.0) : 0;
    size_t ns = static_cast<size_t>(f * static_cast<double>(n) + 1e-7);
    ns = std::max<size_t>(2, std::min(n, ns));
    iterations = std::clamp(iterations, 0, 50);
    std::vector<double> w(n), robustness(n, 1);
    fitAll(x, y, n, ns, nullptr, w, fitted);
    for (int pass = 0; pass < iterations; ++pass) {
        if (!robustnessWeights(y, fitted, n, robustness.data())) break;
        fitAll(x, y, n, ns, robustness.data(), w, fitted);
    }
}

void lowessFilter(std::vector<double>& a, const double* x, size_t xLen, double smoothness, int iterations) {
    if (a.size() < 2) return;
    const size_t paired = x ? std::min(a.size(), xLen) : a.size();
    std::vector<size_t> where;
    for (size_t i = 0; i < paired; ++i) {
        double xi = x ? x[i] : static_cast<double>(i);
        if (isValidValue(a[i]) && isValidValue(xi)) where.push_back(i);
    }
    auto xAt = [x](size_t i) { return x ? x[i] : static_cast<double>(i); };
    std::stable_sort(where.begin(), where.end(), [&](size_t i, size_t j) { return xAt(i) < xAt(j); });
    const size_t n = where.size();
    std::vector<double> xs(n), ys(n), fitted(n);
    for (size_t k = 0; k < n; ++k) {
        xs[k] = xAt(where[k]);
        ys[k] = a[where[k]];
    }
    lowessSorted(xs.data(), ys.data(), n, smoothness, iterations, fitted.data());
    std::fill(a.begin(), a.end(), Chart::NoValue);
    for (size_t k = 0; k < n; ++k) a[where[k]] = orNoValue(fitted[k]);
}

}  // namespace plotvane

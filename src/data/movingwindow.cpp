// Moving-window statistics in time linear in the array length.
//
// Every operation first gathers the valid values into a compact list (missing values neither enter a
// window nor take a slot), runs a kernel over that list, and writes the results back over the valid
// elements. The kernels:
//  - average: a running sum; the sum is recomputed from the window every n steps so that rounding
//    cannot drift and an infinite value that has left the window stops poisoning it.
//  - standard deviation: a sliding Welford update of the mean and the sum of squared deviations,
//    never the textbook n*sum(x^2) - sum(x)^2, which cancels catastrophically when the values sit on a
//    large offset; also recomputed (two passes) every n steps.
//  - maximum, minimum: a monotone deque of candidate indexes in a power-of-two ring.
//  - percentile: a sorted copy of the window for small windows (a binary search and a short move per
//    step), and for large ones counts over the ranks of all values in a Fenwick tree, which finds the
//    k-th smallest in O(log m).
//  - correlation: sliding co-moments (means, variances and covariance updated by removing the oldest
//    pair and adding the newest), recomputed every n steps.
#include "data/movingwindow_p.h"

#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

#include "data/arraystats_p.h"

namespace plotvane {

namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
// Windows up to this size keep a sorted copy; beyond it the rank-counting tree is cheaper.
constexpr size_t kSortedWindowLimit = 256;

// A sum of squared deviations this small against the mean is rounding noise of a constant window.
bool isRoundingNoise(double squares, double mean, size_t n) {
    double noise = 64 * kEpsilon * mean;
    return squares <= static_cast<double>(n) * noise * noise;
}

template <class Kernel>
void overValid(std::vector<double>& a, int n, Kernel kernel) {
    if (n < 2) return;
    std::vector<double> x = validValues(a.data(), a.size());
    std::vector<double> out(x.size(), Chart::NoValue);
    size_t window = static_cast<size_t>(n);
    if (x.size() >= window) kernel(x.data(), x.size(), window, out.data());
    scatterOverValid(a, out);
}

void averageKernel(const double* x, size_t m, size_t n, double* out) {
    const double count = static_cast<double>(n);
    double sum = 0;
    for (size_t j = 0; j < n; ++j) sum += x[j];
    out[n - 1] = sum / count;
    size_t untilRecompute = n;
    for (size_t j = n; j < m; ++j) {
        if (--untilRecompute == 0) {
            sum = 0;
            for (size_t k = j + 1 - n; k <= j; ++k) sum += x[k];
            untilRecompute = n;
        } else {
            sum += x[j] - x[j - n];
        }
        out[j] = sum / count;
    }
}

template <class Better>
void extremeKernel(const double* x, size_t m, size_t n, double* out, Better better) {
    size_t capacity = 1;
    while (capacity < std::min(n, m) + 1) capacity <<= 1;
    const size_t mask = capacity - 1;
    std::vector<size_t> deque(capacity);
    size_t head = 0, tail = 0;  // running counters; slots are counter & mask
    for (size_t j = 0; j < m; ++j) {
        while (tail != head && !better(x[deque[(tail - 1) & mask]], x[j])) --tail;
        deque[tail++ & mask] = j;
        if (deque[head & mask] + n <= j) ++head;
        if (j + 1 >= n) out[j] = x[deque[head & mask]];
    }
}

struct Deviation {
    double mean = 0, squares = 0;
};

Deviation twoPass(const double* x, size_t n) {
    Deviation d;
    for (size_t k = 0; k < n; ++k) d.mean += x[k];
    d.mean /= static_cast<double>(n);
    for (size_t k = 0; k < n; ++k) d.squares += (x[k] - d.mean) * (x[k] - d.mean);
    return d;
}

double windowStdDev(const Deviation& d, size_t n) {
    if (!(d.squares > 0) || isRoundingNoise(d.squares, d.mean, n)) return 0;
    return std::sqrt(d.squares / static_cast<double>(n));
}

void stdDevKernel(const double* x, size_t m, size_t n, double* out) {
    const double count = static_cast<double>(n);
    Deviation d = twoPass(x, n);
    out[n - 1] = windowStdDev(d, n);
    size_t untilRecompute = n;
    for (size_t j = n; j < m; ++j) {
        if (--untilRecompute == 0) {
            d = twoPass(x + j + 1 - n, n);
            untilRecompute = n;
        } else {
            double incoming = x[j], outgoing = x[j - n];
            double change = incoming - outgoing;
            double mean = d.mean + change / count;
            d.squares += change * (incoming - mean + outgoing - d.mean);
            d.mean = mean;
        }
        out[j] = windowStdDev(d, n);
    }
}

void sortedWindowPercentile(const double* x, size_t m, size_t n, double p, double* out) {
    size_t k;
    double fraction;
    percentilePosition(n, p, &k, &fraction);
    const size_t upperIndex = std::min(k + 1, n - 1);
    std::vector<double> window(x, x + n);
    std::sort(window.begin(), window.end());
    out[n - 1] = interpolatePercentile(window[k], window[upperIndex], fraction);
    for (size_t j = n; j < m; ++j) {
        // Replace the outgoing value by the incoming one, shifting only the values between them.
        auto gone = std::lower_bound(window.begin(), window.end(), x[j - n]);
        double incoming = x[j];
        auto place = std::upper_bound(window.begin(), window.end(), incoming);
        if (place > gone) {
            std::move(gone + 1, place, gone);
            *(place - 1) = incoming;
        } else {
            std::move_backward(place, gone, gone + 1);
            *place = incoming;
        }
        out[j] = interpolatePercentile(window[k], window[upperIndex], fraction);
    }
}

// Counts of present ranks with prefix sums and k-th-present search in O(log size).
class RankCounter {
  public:
    explicit RankCounter(size_t size) : tree_(size + 1, 0) {
        top_ = 1;
        while (top_ * 2 <= size) top_ *= 2;
    }
    void add(size_t rank, int delta) {
        for (size_t i = rank + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
    }
    // The rank of the k-th present element, counting from 0.
    size_t kth(size_t k) const {
        size_t pos = 0;
        int64_t remaining = static_cast<int64_t>(k) + 1;
        for (size_t step = top_; step > 0; step >>= 1) {
            if (pos + step < tree_.size() && tree_[pos + step] < remaining) {
                pos += step;
                remaining -= tree_[pos];
            }
        }
        return pos;
    }

  private:
    std::vector<int64_t> tree_;
    size_t top_;
};

void rankCountingPercentile(const double* x, size_t m, size_t n, double p, double* out) {
    size_t k;
    double fraction;
    percentilePosition(n, p, &k, &fraction);
    const size_t upperIndex = std::min(k + 1, n - 1);
    // Ties are broken by position so that every value owns one rank.
    std::vector<size_t> byValue(m);
    std::iota(byValue.begin(), byValue.end(), size_t{0});
    std::sort(byValue.begin(), byValue.end(),
              [x](size_t i, size_t j) { return x[i] < x[j] || (x[i] == x[j] && i < j); });
    std::vector<size_t> rank(m);
    for (size_t r = 0; r < m; ++r) rank[byValue[r]] = r;
    RankCounter counter(m);
    for (size_t j = 0; j < m; ++j) {
        counter.add(rank[j], 1);
        if (j >= n) counter.add(rank[j - n], -1);
        if (j + 1 >= n) {
            double lower = x[byValue[counter.kth(k)]];
            double upper = fraction == 0 ? lower : x[byValue[counter.kth(upperIndex)]];
            out[j] = interpolatePercentile(lower, upper, fraction);
        }
    }
}

struct CoMoments {
    double meanA = 0, meanB = 0, squaresA = 0, squaresB = 0, products = 0;

    void add(double a, double b, double count) {
        double da = a - meanA, db = b - meanB;
        meanA += da / count;
        meanB += db / count;
        squaresA += da * (a - meanA);
        squaresB += db * (b - meanB);
        products += da * (b - meanB);
    }
    // count is the number of pairs before the removal, at least 2.
    void remove(double a, double b, double count) {
        double restA = meanA - (a - meanA) / (count - 1);
        double restB = meanB - (b - meanB) / (count - 1);
        squaresA -= (a - restA) * (a - meanA);
        squaresB -= (b - restB) * (b - meanB);
        products -= (a - restA) * (b - meanB);
        meanA = restA;
        meanB = restB;
    }
    double correlation(size_t n) const {
        if (!(squaresA > 0) || !(squaresB > 0) || isRoundingNoise(squaresA, meanA, n) ||
            isRoundingNoise(squaresB, meanB, n))
            return Chart::NoValue;
        double r = products / (std::sqrt(squaresA) * std::sqrt(squaresB));
        return r == r ? std::clamp(r, -1.0, 1.0) : Chart::NoValue;
    }
};

CoMoments twoPassCoMoments(const double* a, const double* b, size_t n) {
    CoMoments c;
    for (size_t k = 0; k < n; ++k) {
        c.meanA += a[k];
        c.meanB += b[k];
    }
    c.meanA /= static_cast<double>(n);
    c.meanB /= static_cast<double>(n);
    for (size_t k = 0; k < n; ++k) {
        double da = a[k] - c.meanA, db = b[k] - c.meanB;
        c.squaresA += da * da;
        c.squaresB += db * db;
        c.products += da * db;
    }
    return c;
}

}  // namespace

void movingPercentile(const double* x, size_t m, size_t n, double p, double* out, bool rankCounting) {
    if (n < 1 || m < n) return;
    if (p != p) return;  // outputs keep the NoValue they were given
    if (rankCounting)
        rankCountingPercentile(x, m, n, p, out);
    else
        sortedWindowPercentile(x, m, n, p, out);
}

void movAvg(std::vector<double>& a, int n) {
    overValid(a, n, averageKernel);
}

void movMax(std::vector<double>& a, int n) {
    overValid(a, n, [](const double* x, size_t m, size_t w, double* out) {
        extremeKernel(x, m, w, out, [](double kept, double incoming) { return kept > incoming; });
    });
}

void movMin(std::vector<double>& a, int n) {
    overValid(a, n, [](const double* x, size_t m, size_t w, double* out) {
        extremeKernel(x, m, w, out, [](double kept, double incoming) { return kept < incoming; });
    });
}

void movStdDev(std::vector<double>& a, int n) {
    overValid(a, n, stdDevKernel);
}

void movPercentile(std::vector<double>& a, int n, double p) {
    overValid(a, n, [p](const double* x, size_t m, size_t w, double* out) {
        movingPercentile(x, m, w, p, out, w > kSortedWindowLimit);
    });
}

void movCorr(std::vector<double>& a, int n, const double* b, size_t bLen) {
    if (n < 2) return;
    // Gather the complete pairs; every other element ends up NoValue.
    std::vector<double> pa, pb;
    std::vector<size_t> where;
    size_t paired = std::min(a.size(), b ? bLen : 0);
    for (size_t i = 0; i < paired; ++i) {
        if (isValidValue(a[i]) && isValidValue(b[i])) {
            pa.push_back(a[i]);
            pb.push_back(b[i]);
            where.push_back(i);
        }
    }
    std::fill(a.begin(), a.end(), Chart::NoValue);
    const size_t window = static_cast<size_t>(n), m = pa.size();
    if (m < window) return;
    const double count = static_cast<double>(window);
    CoMoments c = twoPassCoMoments(pa.data(), pb.data(), window);
    a[where[window - 1]] = c.correlation(window);
    size_t untilRecompute = window;
    for (size_t j = window; j < m; ++j) {
        if (--untilRecompute == 0) {
            c = twoPassCoMoments(pa.data() + j + 1 - window, pb.data() + j + 1 - window, window);
            untilRecompute = window;
        } else {
            c.remove(pa[j - window], pb[j - window], count);
            c.add(pa[j], pb[j], count);
        }
        a[where[j]] = c.correlation(window);
    }
}

}  // namespace plotvane

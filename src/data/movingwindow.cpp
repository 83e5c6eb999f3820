// Moving-window statistics in time linear in the array length.
//
// The windows stream over the array in place: each valid value is pushed into a window object that
// keeps what it needs of the last n values in a ring, and is replaced by the window's answer (missing
// values neither enter a window nor take a slot). No buffer grows with the array, except where a
// statistic needs all values at once (ranks for large percentile windows, and the pairs of movCorr).
//
//  - average: a running sum; the sum is recomputed from the window every n steps so that rounding
//    cannot drift and an infinite value that has left the window stops poisoning it.
//  - standard deviation: a sliding Welford update of the mean and the sum of squared deviations,
//    never the textbook n*sum(x^2) - sum(x)^2, which cancels catastrophically when the values sit on a
//    large offset; also recomputed (two passes) every n steps.
//  - maximum, minimum: a monotone deque of candidates in a power-of-two ring.
//  - percentile: a sorted copy of the window for small windows (a binary search and a short shift per
//    step), and for large ones counts over the ranks of all values in a Fenwick tree, which finds the
//    k-th smallest in O(log m).
//  - correlation: sliding co-moments (means, variances and covariance updated by removing the oldest
//    pair and adding the newest), recomputed every n steps.
#include "data/movingwindow_p.h"

#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
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

// True when there is a window to slide: n is at least 2 and enough valid values exist to fill it.
// Otherwise the array is already final (unchanged, or every valid element missing).
bool prepare(std::vector<double>& a, int n) {
    if (n < 2) return false;
    size_t valid = static_cast<size_t>(std::count_if(a.begin(), a.end(), isValidValue));
    if (valid >= static_cast<size_t>(n)) return true;
    for (double& v : a)
        if (isValidValue(v)) v = Chart::NoValue;
    return false;
}

template <class Window>
void slide(std::vector<double>& a, Window window) {
    for (double& v : a)
        if (isValidValue(v)) v = orNoValue(window.push(v));
}

// The last n values, in arrival order modulo a rotation.
class Ring {
  public:
    explicit Ring(size_t n) : values_(n) {}
    bool full() const { return filled_ == values_.size(); }
    // Stores x and returns the value it displaces (the oldest, once the ring is full).
    double push(double x) {
        double old = values_[next_];
        values_[next_] = x;
        if (++next_ == values_.size()) next_ = 0;
        if (filled_ < values_.size()) ++filled_;
        return old;
    }
    const double* data() const { return values_.data(); }

  private:
    std::vector<double> values_;
    size_t next_ = 0, filled_ = 0;
};

class AverageWindow {
  public:
    explicit AverageWindow(size_t n) : ring_(n), n_(n), count_(static_cast<double>(n)), untilRecompute_(n) {}
    double push(double x) {
        if (!ring_.full()) {
            ring_.push(x);
            sum_ += x;
            return ring_.full() ? sum_ / count_ : Chart::NoValue;
        }
        double old = ring_.push(x);
        if (--untilRecompute_ == 0) {
            sum_ = 0;
            for (size_t k = 0; k < n_; ++k) sum_ += ring_.data()[k];
            untilRecompute_ = n_;
        } else {
            sum_ += x - old;
        }
        return sum_ / count_;
    }

  private:
    Ring ring_;
    size_t n_;
    double count_, sum_ = 0;
    size_t untilRecompute_;
};

class StdDevWindow {
  public:
    explicit StdDevWindow(size_t n) : ring_(n), n_(n), count_(static_cast<double>(n)), untilRecompute_(n) {}
    double push(double x) {
        if (!ring_.full()) {
            ring_.push(x);
            double k = static_cast<double>(++filled_), d = x - mean_;
            mean_ += d / k;
            squares_ += d * (x - mean_);
            return ring_.full() ? value() : Chart::NoValue;
        }
        double old = ring_.push(x);
        if (--untilRecompute_ == 0) {
            recompute();
            untilRecompute_ = n_;
        } else {
            double change = x - old, mean = mean_ + change / count_;
            squares_ += change * (x - mean + old - mean_);
            mean_ = mean;
        }
        return value();
    }

  private:
    void recompute() {
        const double* v = ring_.data();
        mean_ = 0;
        for (size_t k = 0; k < n_; ++k) mean_ += v[k];
        mean_ /= count_;
        squares_ = 0;
        for (size_t k = 0; k < n_; ++k) squares_ += (v[k] - mean_) * (v[k] - mean_);
    }
    double value() const {
        if (!(squares_ > 0) || isRoundingNoise(squares_, mean_, n_)) return 0;
        return std::sqrt(squares_ / count_);
    }

    Ring ring_;
    size_t n_, filled_ = 0;
    double count_, mean_ = 0, squares_ = 0;
    size_t untilRecompute_;
};

// Candidates for the extreme in a power-of-two ring, each better than every later one.
template <class Better>
class ExtremeWindow {
  public:
    explicit ExtremeWindow(size_t n) : n_(n) {
        size_t capacity = 1;
        while (capacity < n + 1) capacity <<= 1;
        mask_ = capacity - 1;
        slots_.resize(capacity);
    }
    double push(double x) {
        while (tail_ != head_ && !Better()(slot(tail_ - 1).value, x)) --tail_;
        slot(tail_++) = {x, arrived_};
        if (slot(head_).arrival + n_ <= arrived_) ++head_;
        return ++arrived_ >= n_ ? slot(head_).value : Chart::NoValue;
    }

  private:
    struct Slot {
        double value;
        size_t arrival;
    };
    Slot& slot(size_t counter) { return slots_[counter & mask_]; }

    std::vector<Slot> slots_;
    size_t n_, mask_, head_ = 0, tail_ = 0, arrived_ = 0;
};

// A sorted copy of the window; each step moves the outgoing value's slot to where the incoming one
// belongs, shifting only the values between them.
class SortedPercentileWindow {
  public:
    SortedPercentileWindow(size_t n, double p) : ring_(n) {
        percentilePosition(n, p, &k_, &fraction_);
        upper_ = std::min(k_ + 1, n - 1);
        sorted_.reserve(n);
    }
    double push(double x) {
        if (!ring_.full()) {
            ring_.push(x);
            sorted_.insert(std::upper_bound(sorted_.begin(), sorted_.end(), x), x);
            return ring_.full() ? value() : Chart::NoValue;
        }
        double old = ring_.push(x);
        size_t i =
            static_cast<size_t>(std::lower_bound(sorted_.begin(), sorted_.end(), old) - sorted_.begin());
        while (i + 1 < sorted_.size() && sorted_[i + 1] < x) {
            sorted_[i] = sorted_[i + 1];
            ++i;
        }
        while (i > 0 && sorted_[i - 1] > x) {
            sorted_[i] = sorted_[i - 1];
            --i;
        }
        sorted_[i] = x;
        return value();
    }

  private:
    double value() const { return interpolatePercentile(sorted_[k_], sorted_[upper_], fraction_); }

    Ring ring_;
    std::vector<double> sorted_;
    size_t k_, upper_;
    double fraction_;
};

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
    if (n < 1 || m < n || p != p) return;  // outputs keep the NoValue they were given
    if (rankCounting) {
        rankCountingPercentile(x, m, n, p, out);
        return;
    }
    SortedPercentileWindow window(n, p);
    for (size_t j = 0; j < m; ++j) {
        double v = window.push(x[j]);
        if (j + 1 >= n) out[j] = v;
    }
}

void movAvg(std::vector<double>& a, int n) {
    if (prepare(a, n)) slide(a, AverageWindow(static_cast<size_t>(n)));
}

void movMax(std::vector<double>& a, int n) {
    if (prepare(a, n)) slide(a, ExtremeWindow<std::greater<double>>(static_cast<size_t>(n)));
}

void movMin(std::vector<double>& a, int n) {
    if (prepare(a, n)) slide(a, ExtremeWindow<std::less<double>>(static_cast<size_t>(n)));
}

void movStdDev(std::vector<double>& a, int n) {
    if (prepare(a, n)) slide(a, StdDevWindow(static_cast<size_t>(n)));
}

void movPercentile(std::vector<double>& a, int n, double p) {
    if (!prepare(a, n)) return;
    const size_t window = static_cast<size_t>(n);
    if (p != p) {
        for (double& v : a)
            if (isValidValue(v)) v = Chart::NoValue;
    } else if (window <= kSortedWindowLimit) {
        slide(a, SortedPercentileWindow(window, p));
    } else {
        // Ranks need every value at once.
        std::vector<double> x = validValues(a.data(), a.size());
        std::vector<double> out(x.size(), Chart::NoValue);
        rankCountingPercentile(x.data(), x.size(), window, p, out.data());
        scatterOverValid(a, out);
    }
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

#include <plotvane/arraymath.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "data/arraystats_p.h"
#include "data/movingwindow_p.h"

using namespace plotvane;
using Chart::NoValue;

namespace {

using Values = std::vector<double>;

// Deterministic noise with missing values sprinkled in and a few repeated values.
Values noisy(size_t n, unsigned seed, double offset = 0) {
    Values v(n);
    unsigned s = seed;
    for (size_t i = 0; i < n; ++i) {
        s = s * 1103515245u + 12345u;
        unsigned r = (s >> 8) % 1000;
        v[i] = r < 60 ? NoValue : offset + (r % 97 == 0 ? 5.0 : (static_cast<double>(r) - 500) / 37);
    }
    return v;
}

// The definition, one window at a time.
template <class Statistic>
Values reference(const Values& a, int n, Statistic statistic) {
    Values out = a;
    Values seen;
    for (double& v : out) {
        if (v == NoValue) continue;
        seen.push_back(v);
        if (seen.size() < static_cast<size_t>(n)) {
            v = NoValue;
            continue;
        }
        Values window(seen.end() - n, seen.end());
        v = statistic(window);
    }
    return out;
}

void expectClose(const Values& actual, const Values& expected, double tolerance, const char* what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < actual.size(); ++i) {
        if (expected[i] == NoValue || actual[i] == NoValue) {
            EXPECT_EQ(actual[i], expected[i]) << what << " at " << i;
        } else {
            EXPECT_NEAR(actual[i], expected[i], tolerance * std::max(1.0, std::fabs(expected[i])))
                << what << " at " << i;
        }
    }
}

}  // namespace

TEST(MovingWindow, WarmUpAndMissingValues) {
    Values a = {1, 2, 3, 4};
    movAvg(a, 2);
    EXPECT_EQ(a, (Values{NoValue, 1.5, 2.5, 3.5}));

    // Missing values neither enter the window nor take a warm-up slot.
    Values b = {NoValue, 4, NoValue, 2, 9, NoValue, 1};
    movMax(b, 2);
    EXPECT_EQ(b, (Values{NoValue, NoValue, NoValue, 4, 9, NoValue, 9}));
    Values c = {NoValue, 4, NoValue, 2, 9, NoValue, 1};
    movMin(c, 3);
    EXPECT_EQ(c, (Values{NoValue, NoValue, NoValue, NoValue, 2, NoValue, 1}));

    // Windows below 2 change nothing; a window longer than the data leaves no value.
    for (int n : {1, 0, -5}) {
        Values d = {3, NoValue, 1};
        movAvg(d, n);
        movStdDev(d, n);
        movPercentile(d, n, 30);
        movMax(d, n);
        EXPECT_EQ(d, (Values{3, NoValue, 1}));
    }
    Values e = {3, NoValue, 1};
    movPercentile(e, 3, 50);
    EXPECT_EQ(e, (Values{NoValue, NoValue, NoValue}));
    Values empty;
    movAvg(empty, 3);
    movCorr(empty, 3, nullptr, 0);
    EXPECT_TRUE(empty.empty());
}

TEST(MovingWindow, KernelsMatchTheDefinition) {
    Values base = noisy(3000, 7);
    for (int n : {2, 3, 10, 257, 600}) {
        auto check = [&](auto apply, auto statistic, double tolerance, const char* what) {
            Values a = base;
            apply(a, n);
            expectClose(a, reference(base, n, statistic), tolerance, what);
        };
        check([](Values& a, int w) { movAvg(a, w); }, [](Values& w) { return meanOf(w); }, 1e-12, "avg");
        check([](Values& a, int w) { movStdDev(a, w); }, [](Values& w) { return stdDevOf(w); }, 1e-9,
              "stddev");
        check([](Values& a, int w) { movMax(a, w); },
              [](Values& w) { return *std::max_element(w.begin(), w.end()); }, 0, "max");
        check([](Values& a, int w) { movMin(a, w); },
              [](Values& w) { return *std::min_element(w.begin(), w.end()); }, 0, "min");
        for (double p : {0.0, 12.5, 50.0, 90.0, 100.0}) {
            check([p](Values& a, int w) { movPercentile(a, w, p); },
                  [p](Values& w) { return percentileOf(w, p); }, 1e-12, "percentile");
        }
    }
}

TEST(MovingWindow, PercentileStrategiesAgreeOnTies) {
    // Few distinct values: order statistics are all ties.
    Values x(2000);
    for (size_t i = 0; i < x.size(); ++i) x[i] = static_cast<double>((i * 7919) % 5);
    for (size_t n : {1, 2, 5, 64, 700}) {
        for (double p : {0.0, 33.3, 50.0, 99.0}) {
            Values sorted(x.size(), NoValue), ranked(x.size(), NoValue);
            movingPercentile(x.data(), x.size(), n, p, sorted.data(), false);
            movingPercentile(x.data(), x.size(), n, p, ranked.data(), true);
            EXPECT_EQ(sorted, ranked) << n << " " << p;
        }
    }
    Values a = {5, 1, 3, 2, 4};
    movPercentile(a, 4, 25);  // windows {5,1,3,2} and {1,3,2,4}
    EXPECT_EQ(a, (Values{NoValue, NoValue, NoValue, 1.75, 1.75}));
    Values b = {5, 1, 3};
    movPercentile(b, 2, std::nan(""));
    EXPECT_EQ(b, (Values{NoValue, NoValue, NoValue}));
}

TEST(MovingWindow, StandardDeviationKeepsItsPrecisionOnLargeOffsets) {
    // Naive sums of squares lose every digit of the spread at this offset.
    Values base = noisy(5000, 11, 1e9);
    Values a = base;
    movStdDev(a, 20);
    expectClose(a, reference(base, 20, [](Values& w) { return stdDevOf(w); }), 1e-6, "offset stddev");

    // A window that has become constant reports exactly 0, also after varied values have left it.
    Values c = {1e9 + 0.3, 1e9 - 7, 1e9 + 2, 1e9, 1e9, 1e9, 1e9};
    movStdDev(c, 3);
    EXPECT_EQ(c[5], 0);
    EXPECT_EQ(c[6], 0);
    Values flat(100, 42);
    movStdDev(flat, 10);
    EXPECT_EQ(flat[50], 0);
}

TEST(MovingWindow, CorrelationOverCompletePairs) {
    Values a = {1, 2, NoValue, 3, 4, 5, 6};
    Values b = {2, 4, 1, NoValue, 8, 7, 12};
    movCorr(a, 3, b.data(), b.size());
    // Pairs: (1,2) (2,4) (4,8) (5,7) (6,12).
    EXPECT_EQ(a[0], NoValue);
    EXPECT_EQ(a[1], NoValue);
    EXPECT_EQ(a[2], NoValue);
    EXPECT_EQ(a[3], NoValue);
    EXPECT_NEAR(a[4], 1.0, 1e-12);
    double ma = 11.0 / 3, mb = 19.0 / 3;
    double sab = (2 - ma) * (4 - mb) + (4 - ma) * (8 - mb) + (5 - ma) * (7 - mb);
    double saa = (2 - ma) * (2 - ma) + (4 - ma) * (4 - ma) + (5 - ma) * (5 - ma);
    double sbb = (4 - mb) * (4 - mb) + (8 - mb) * (8 - mb) + (7 - mb) * (7 - mb);
    EXPECT_NEAR(a[5], sab / std::sqrt(saa * sbb), 1e-12);
    EXPECT_TRUE(a[6] > -1 && a[6] <= 1);

    // Beyond b there is no pair; a constant side has no correlation.
    Values c = {1, 2, 3, 4};
    Values shorter = {5, 5, 5};
    movCorr(c, 2, shorter.data(), shorter.size());
    EXPECT_EQ(c, (Values{NoValue, NoValue, NoValue, NoValue}));

    // Long sliding runs agree with a fresh computation of each window.
    Values x = noisy(4000, 3, 1e6), y = noisy(4000, 5);
    Values got = x;
    movCorr(got, 25, y.data(), y.size());
    size_t checked = 0;
    std::vector<size_t> pairs;
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i] == NoValue || y[i] == NoValue) {
            EXPECT_EQ(got[i], NoValue);
            continue;
        }
        pairs.push_back(i);
        if (pairs.size() < 25) continue;
        double mx = 0, my = 0;
        for (size_t k = pairs.size() - 25; k < pairs.size(); ++k) {
            mx += x[pairs[k]] / 25;
            my += y[pairs[k]] / 25;
        }
        double sxy = 0, sxx = 0, syy = 0;
        for (size_t k = pairs.size() - 25; k < pairs.size(); ++k) {
            double dx = x[pairs[k]] - mx, dy = y[pairs[k]] - my;
            sxy += dx * dy;
            sxx += dx * dx;
            syy += dy * dy;
        }
        EXPECT_NEAR(got[i], sxy / std::sqrt(sxx * syy), 1e-8) << i;
        ++checked;
    }
    EXPECT_GT(checked, 3000u);
}

TEST(MovingWindow, HugeWindowsOverLongArraysStayLinear) {
    // A quadratic implementation would take hours here.
    Values big = noisy(500000, 9);
    auto start = std::chrono::steady_clock::now();
    for (int n : {250000, 499999, 500000, 0x7fffffff}) {
        Values a = big, b = big, c = big, d = big;
        movAvg(a, n);
        movStdDev(b, n);
        movMax(c, n);
        movPercentile(d, n, 75);
        if (n > 480000) {
            EXPECT_EQ(std::count(a.begin(), a.end(), NoValue), static_cast<long>(a.size()));
        }
    }
    Values e = big;
    movCorr(e, 250000, big.data(), big.size());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

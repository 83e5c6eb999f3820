#include <plotvane/arraymath.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/lowess_p.h"

using namespace plotvane;
using Chart::NoValue;

namespace {

using Values = std::vector<double>;

// The independent reference: Debian's statsmodels, every point fitted (delta 0), results in input order.
const char* kReferenceScript = R"(
import sys
from statsmodels.nonparametric.smoothers_lowess import lowess
lines = open(sys.argv[1]).read().split('\n')
out = []
for i in range(0, len(lines) - 2, 3):
    frac, it = lines[i].split()
    x = [float(v) for v in lines[i + 1].split()]
    y = [float(v) for v in lines[i + 2].split()]
    fit = lowess(y, x, frac=float(frac), it=int(it), delta=0.0, return_sorted=False)
    out.append(' '.join(repr(float(v)) for v in fit))
print('\n'.join(out))
)";

struct Case {
    double smoothness;
    int iterations;
    Values x, y;  // may hold NoValue; the reference sees only the complete pairs
};

// Noisy sine samples at irregularly spaced, shuffled x, with outliers and a few missing values.
//
// The reference routine gives full distance weight to neighbours closer than 0.001 of the window's
// radius and none beyond 0.999 of it, where statsmodels applies the tricube curve throughout. On
// whole-number x below 1000 no neighbour can fall inside those bands, so the two must agree to rounding.
Case makeCase(size_t n, double smoothness, int iterations, unsigned seed) {
    Case c{smoothness, iterations, {}, {}};
    unsigned s = seed;
    auto next = [&s] {
        s = s * 1664525u + 1013904223u;
        return (s >> 8) / 16777216.0;
    };
    double x = 0;
    for (size_t i = 0; i < n; ++i) {
        x += 1 + std::floor(2.99 * next());
        double y = 10 * std::sin(x / 25) + 2 * (next() - 0.5);
        if (i % 37 == 5) y += 30 * (next() - 0.3);
        c.x.push_back(x);
        c.y.push_back(y);
    }
    for (size_t i = n - 1; i > 0; --i) {
        size_t j = static_cast<size_t>(next() * static_cast<double>(i + 1)) % (i + 1);
        std::swap(c.x[i], c.x[j]);
        std::swap(c.y[i], c.y[j]);
    }
    c.y[17] = NoValue;
    c.x[41] = NoValue;
    return c;
}

std::vector<Values> runReference(const std::vector<Case>& cases) {
    std::string dir = testing::TempDir();
    std::string input = dir + "/plotvane_lowess_cases.txt", script = dir + "/plotvane_lowess_reference.py";
    std::ofstream(script) << kReferenceScript;
    std::ofstream in(input);
    in.precision(17);
    for (const Case& c : cases) {
        in << c.smoothness << " " << c.iterations << "\n";
        std::ostringstream xs, ys;
        xs.precision(17);
        ys.precision(17);
        for (size_t i = 0; i < c.x.size(); ++i) {
            if (c.x[i] == NoValue || c.y[i] == NoValue) continue;
            xs << c.x[i] << " ";
            ys << c.y[i] << " ";
        }
        in << xs.str() << "\n" << ys.str() << "\n";
    }
    in.close();
    std::vector<Values> results;
    std::string command = "/usr/bin/python3 " + script + " " + input + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return results;
    std::string text;
    char buffer[4096];
    while (size_t got = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
    pclose(pipe);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream values(line);
        Values v;
        double d;
        while (values >> d) v.push_back(d);
        results.push_back(v);
    }
    if (results.size() != cases.size())
        ADD_FAILURE() << "reference failed (needs python3-statsmodels):\n" << text;
    return results;
}

}  // namespace

TEST(Lowess, AgreesWithStatsmodels) {
    std::vector<Case> cases;
    unsigned seed = 1;
    for (double f : {0.05, 0.1, 0.33, 0.7, 1.0})
        for (int it : {0, 1, 3}) cases.push_back(makeCase(311, f, it, seed++));
    std::vector<Values> expected = runReference(cases);
    ASSERT_EQ(expected.size(), cases.size());
    for (size_t k = 0; k < cases.size(); ++k) {
        const Case& c = cases[k];
        ArrayMath* m = ArrayMath::create(DoubleArray(c.y.data(), static_cast<int>(c.y.size())));
        m->lowess(DoubleArray(c.x.data(), static_cast<int>(c.x.size())), c.smoothness, c.iterations);
        size_t j = 0;
        for (size_t i = 0; i < c.y.size(); ++i) {
            double got = m->getValue(static_cast<int>(i));
            if (c.x[i] == NoValue || c.y[i] == NoValue) {
                EXPECT_EQ(got, NoValue);
                continue;
            }
            ASSERT_LT(j, expected[k].size());
            double want = expected[k][j++];
            EXPECT_NEAR(got, want, 1e-9 * std::max(1.0, std::fabs(want)))
                << "f " << c.smoothness << " it " << c.iterations << " at " << i;
        }
        EXPECT_EQ(j, expected[k].size());
        m->destroy();
    }
}

TEST(Lowess, LinesSurviveAndEdgeCases) {
    // A local linear fit reproduces a straight line, with or without robustness passes.
    Values line;
    for (int i = 0; i < 50; ++i) line.push_back(3 - 0.5 * i);
    for (int it : {0, 2}) {
        ArrayMath* m = ArrayMath::create(DoubleArray(line.data(), 50));
        m->lowess(0.2, it);
        for (int i = 0; i < 50; ++i) EXPECT_NEAR(m->getValue(i), line[static_cast<size_t>(i)], 1e-9);
        m->destroy();
    }
    // An outlier drags the plain fit of a noisy line, and the robustness passes undo it.
    Values spike = line;
    for (size_t i = 0; i < spike.size(); ++i) spike[i] += std::sin(static_cast<double>(i * i));
    spike[25] += 40;
    ArrayMath* plain = ArrayMath::create(DoubleArray(spike.data(), 50));
    ArrayMath* robust = ArrayMath::create(DoubleArray(spike.data(), 50));
    plain->lowess(0.3, 0);
    robust->lowess(0.3, 4);
    EXPECT_GT(std::fabs(plain->getValue(24) - line[24]), 4);
    EXPECT_LT(std::fabs(robust->getValue(24) - line[24]), 0.2);
    plain->destroy();
    robust->destroy();
    // A perfect line with one outlier: the median residual is rounding noise, so no reweighting.
    spike = line;
    spike[25] = 100;
    Values xs(50), once(50), many(50);
    for (size_t i = 0; i < 50; ++i) xs[i] = static_cast<double>(i);
    lowessSorted(xs.data(), spike.data(), 50, 0.3, 0, once.data());
    lowessSorted(xs.data(), spike.data(), 50, 0.3, 5, many.data());
    EXPECT_EQ(once, many);

    // Short arrays stay; a single complete pair keeps its value; x shorter than the data.
    Values one = {4};
    ArrayMath* m = ArrayMath::create(DoubleArray(one.data(), 1));
    m->lowess(0.5, 60);
    EXPECT_EQ(m->getValue(0), 4);
    m->destroy();
    Values y = {1, 2, 3};
    Values x = {0, NoValue};
    m = ArrayMath::create(DoubleArray(y.data(), 3));
    m->lowess(DoubleArray(x.data(), 2), -1, -1);
    EXPECT_EQ(m->getValue(0), 1);
    EXPECT_EQ(m->getValue(1), NoValue);
    EXPECT_EQ(m->getValue(2), NoValue);
    m->destroy();

    // All x equal: no spread, so every fit is the weighted mean.
    Values same = {2, 2, 2, 2};
    Values ys = {1, 2, 3, 6};
    Values fitted(4);
    lowessSorted(same.data(), ys.data(), 4, 1, 0, fitted.data());
    for (double f : fitted) EXPECT_DOUBLE_EQ(f, 3);
}

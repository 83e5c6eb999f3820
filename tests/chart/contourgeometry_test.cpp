#include <gtest/gtest.h>
#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "chart/xy/delaunay_p.h"
#include "chart/xy/isolines_p.h"

using namespace plotvane;

namespace {

double signedArea(const std::vector<double>& x, const std::vector<double>& y, const std::array<int, 3>& t) {
    return ((x[t[1]] - x[t[0]]) * (y[t[2]] - y[t[0]]) - (y[t[1]] - y[t[0]]) * (x[t[2]] - x[t[0]])) / 2;
}

// Whether point p lies clearly inside the circumcircle of triangle t.
bool insideCircumcircle(const std::vector<double>& x, const std::vector<double>& y, const std::array<int, 3>& t,
                        size_t p) {
    double ax = x[t[0]] - x[p], ay = y[t[0]] - y[p];
    double bx = x[t[1]] - x[p], by = y[t[1]] - y[p];
    double cx = x[t[2]] - x[p], cy = y[t[2]] - y[p];
    double det = (ax * ax + ay * ay) * (bx * cy - cx * by) - (bx * bx + by * by) * (ax * cy - cx * ay) +
                 (cx * cx + cy * cy) * (ax * by - bx * ay);
    return det > 1e-9;
}

// Every edge is shared by at most two triangles, and inner edges by exactly two: no overlaps.
void expectManifold(const std::vector<std::array<int, 3>>& tris) {
    std::multiset<std::pair<int, int>> directed;
    for (const auto& t : tris)
        for (int k = 0; k < 3; ++k) directed.insert({t[k], t[(k + 1) % 3]});
    for (const auto& e : directed) EXPECT_EQ(directed.count(e), 1u) << e.first << "-" << e.second;
}

}  // namespace

TEST(Delaunay, RandomPointsGiveAnEmptyCircleTriangulationOfTheirHull) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(0, 1);
    // The square's corners make the hull the unit square; the points are far from the origin so
    // the scaling is exercised too.
    std::vector<double> x = {1000, 1001, 1000, 1001}, y = {-5, -5, -4, -4};
    for (int i = 0; i < 600; ++i) {
        x.push_back(1000 + u(rng));
        y.push_back(-5 + u(rng));
    }
    auto tris = delaunayTriangles(x, y);
    ASSERT_FALSE(tris.empty());
    double area = 0;
    for (const auto& t : tris) {
        double a = signedArea(x, y, t);
        EXPECT_GT(a, 0);
        area += a;
    }
    EXPECT_NEAR(area, 1, 1e-9);
    expectManifold(tris);
    size_t violations = 0;
    for (const auto& t : tris)
        for (size_t p = 0; p < x.size(); ++p) violations += insideCircumcircle(x, y, t, p);
    EXPECT_EQ(violations, 0u);
}

TEST(Delaunay, DegenerateInputs) {
    // Cocircular points everywhere: a regular grid still gives a valid cover of the square.
    std::vector<double> gx, gy;
    for (int j = 0; j < 12; ++j)
        for (int i = 0; i < 12; ++i) {
            gx.push_back(i);
            gy.push_back(j);
        }
    auto grid = delaunayTriangles(gx, gy);
    double area = 0;
    for (const auto& t : grid) area += signedArea(gx, gy, t);
    EXPECT_NEAR(area, 121, 1e-9);
    EXPECT_EQ(grid.size(), 2u * 11 * 11);
    expectManifold(grid);

    // Repeated points are left out: the triangles are those of the distinct points.
    std::vector<double> x = {0, 1, 0, 1, 0.3, 0, 1, 0.3}, y = {0, 0, 1, 1, 0.6, 0, 1, 0.6};
    auto tris = delaunayTriangles(x, y);
    EXPECT_EQ(tris.size(), 4u);
    for (const auto& t : tris)
        for (int v : t) EXPECT_LT(v, 5);

    EXPECT_TRUE(delaunayTriangles({0, 1, 2, 3}, {0, 1, 2, 3}).empty());  // all on one line
    EXPECT_TRUE(delaunayTriangles({0, 1}, {0, 1}).empty());
    EXPECT_TRUE(delaunayTriangles({5, 5, 5}, {1, 1, 1}).empty());
    EXPECT_TRUE(delaunayTriangles({0, 1, NAN}, {0, 1, 0}).empty());
}

TEST(IsoLines, ClosedAroundAPeakOpenAtTheRimOfTheGridAndOfHoles) {
    const int n = 41;
    std::vector<double> xs(n), ys(n), z(n * n);
    for (int i = 0; i < n; ++i) xs[i] = ys[i] = -2 + 4.0 * i / (n - 1);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) z[j * n + i] = xs[i] * xs[i] + ys[j] * ys[j];
    IsoGrid g{n, n, z.data(), xs.data(), ys.data()};
    auto lines = traceIsoLines(g, {1, 5});
    // r = 1 is one closed ring near the circle; r = 2.24 leaves the grid in four arcs.
    ASSERT_EQ(lines[0].size(), 1u);
    EXPECT_TRUE(lines[0][0].closed);
    const std::vector<double>& p = lines[0][0].points;
    EXPECT_EQ(p[0], p[p.size() - 2]);
    EXPECT_EQ(p[1], p[p.size() - 1]);
    for (size_t k = 0; k < p.size(); k += 2) EXPECT_NEAR(std::hypot(p[k], p[k + 1]), 1, 0.01);
    ASSERT_EQ(lines[1].size(), 4u);
    for (const IsoLine& l : lines[1]) EXPECT_FALSE(l.closed);

    // A missing sample on the ring cuts it open at the hole.
    z[20 * n + 30] = Chart::NoValue;  // (1, 0)
    lines = traceIsoLines(g, {1});
    ASSERT_EQ(lines[0].size(), 1u);
    EXPECT_FALSE(lines[0][0].closed);

    // Flat, degenerate or unusable input gives no lines.
    std::vector<double> flat(n * n, 3);
    IsoGrid f{n, n, flat.data(), xs.data(), ys.data()};
    EXPECT_TRUE(traceIsoLines(f, {3})[0].empty());
    IsoGrid row{n, 1, flat.data(), xs.data(), ys.data()};
    EXPECT_TRUE(traceIsoLines(row, {1})[0].empty());
    EXPECT_TRUE(traceIsoLines(g, {2, 1})[0].empty());  // levels not in order
}

TEST(IsoLines, SaddleCellsFollowTheirCentre) {
    // Two opposite corners above the level: joined through the middle when the centre is above.
    std::vector<double> xs = {0, 1}, ys = {0, 1};
    for (double low : {1.2, 0.0}) {
        bool centreAbove = low > 1;  // the mean of 2, low, low, 2 against 1.5
        std::vector<double> z = {2, low, low, 2};  // (0,0) and (1,1) high, (1,0) and (0,1) low
        IsoGrid g{2, 2, z.data(), xs.data(), ys.data()};
        auto lines = traceIsoLines(g, {1.5});
        ASSERT_EQ(lines[0].size(), 2u);
        // Each piece cuts off one corner: the low ones when the centre is high.
        for (const IsoLine& l : lines[0]) {
            double mx = (l.points[0] + l.points[2]) / 2, my = (l.points[1] + l.points[3]) / 2;
            bool nearLowCorner = (mx > 0.5) != (my > 0.5);
            EXPECT_EQ(nearLowCorner, centreAbove) << low;
        }
    }
}

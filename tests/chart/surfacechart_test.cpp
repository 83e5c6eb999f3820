#include <gtest/gtest.h>

#include <plotvane/owned.h>
#include <plotvane/threedchart.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "barchart.h"
#include "chart/other/surfacegrid_p.h"
#include "draw/drawtest.h"
#include "support/golden.h"
#include "threedview.h"

using namespace plotvane;
using namespace threedview;
using plotvane_test::matchesGoldenPNG;
using plotvane_test::matchesGoldenText;
using plotvane_test::textDump;

namespace {

int channelGap(int a, int b) {
    int g = 0;
    for (int shift : {0, 8, 16}) g = std::max(g, std::abs(((a >> shift) & 0xff) - ((b >> shift) & 0xff)));
    return g;
}

// A 6 x 6 grid whose z is f(x) + g(y): every cell is flat, and the bumps make cells hide others.
const double kF[6] = {0, 4, -2, 5, 1, 3};
const double kG[6] = {0, 3, -3, 2, 6, -1};
constexpr int kW = 300, kD = 260, kH = 160, kCx = 260, kCy = 230;

Owned<SurfaceChart> flatCellSurface(double elevation, double rotation, double perspective) {
    static double xs[6] = {0, 1, 2, 3, 4, 5};
    static double zs[36];
    for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 6; ++i) zs[j * 6 + i] = kF[i] + kG[j];
    Owned<SurfaceChart> c(SurfaceChart::create(520, 460, 0xffffff));
    c->setPlotRegion(kCx, kCy, kW, kD, kH);
    c->setViewAngle(elevation, rotation, 0);
    c->setPerspective(perspective);
    c->setWallVisibility(false, false, false);
    c->setData(DoubleArray(xs, 6), DoubleArray(xs, 6), DoubleArray(zs, 36));
    c->xAxis()->setLinearScale(0, 5, 1, 0);
    c->yAxis()->setLinearScale(0, 5, 1, 0);
    c->zAxis()->setLinearScale(-5, 11, 4, 0);
    c->setShadingMode(Chart::RectangularShading);
    c->setLighting(1, 0, 0, 1);
    c->setBackSideBrightness(1);
    c->colorAxis()->setColorGradient(true);
    return c;
}

}  // namespace

// Each cell is painted in its own colour; at sample pixels the ray from the viewer is cast into
// every cell's plane, and the pixel must show the nearest cell it meets, whatever the view.
TEST(SurfaceChart, EveryPixelShowsTheNearestCell) {
    const double views[][3] = {{30, 45, 12}, {20, 135, 0}, {55, 250, 30}, {-25, 30, 0}, {25, 30, 12}, {-25, 30, 12}, {75, 300, 0},
                               {10, 200, 60}, {90, 10, 0}};
    int totalContested = 0;
    for (const auto& v : views) {
        SCOPED_TRACE(testing::Message() << "elevation " << v[0] << " rotation " << v[1] << " perspective " << v[2]);
        Owned<SurfaceChart> c = flatCellSurface(v[0], v[1], v[2]);
        DrawArea* d = c->makeChart();
        const View view(v[0] == 90 ? 89.999 : v[0], v[1], v[2], kCx, kCy, kW, kD, kH);
        auto model = [](int i, int j) {
            return V3{i * kW / 5.0, (kF[i] + kG[j] + 5) * kH / 16.0, kD - j * kD / 5.0};
        };
        // The two routes to the screen agree.
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < 6; ++i) {
                double sx, sy;
                view.screen(model(i, j), sx, sy);
                ASSERT_NEAR(c->getXCoor(i, j, kF[i] + kG[j]), sx, 0.51);
                ASSERT_NEAR(c->getYCoor(i, j, kF[i] + kG[j]), sy, 0.51);
            }
        // The nearest cell the line of sight through (sx, sy) meets, the others it meets, and
        // whether it passes clear of every cell's border.
        auto cast = [&](double sx, double sy, std::vector<int>& others) {
            int nearest = -1;
            double best = -1e300;
            for (int j = 0; j < 5; ++j) {
                for (int i = 0; i < 5; ++i) {
                    const V3 a = view.toView(model(i, j)), b = view.toView(model(i + 1, j)),
                             e = view.toView(model(i, j + 1));
                    double depth;
                    V3 at;
                    if (!view.hit(sx, sy, a, cross(b - a, e - a), depth, at)) continue;
                    const V3 q = view.toModel(at);
                    const double u = q.x / (kW / 5.0) - i, w = (kD - q.z) / (kD / 5.0) - j;
                    const double margin = 0.05;
                    const bool inside = u > margin && u < 1 - margin && w > margin && w < 1 - margin;
                    const bool outside = u < -margin || u > 1 + margin || w < -margin || w > 1 + margin;
                    if (!inside && !outside) return -2;
                    if (!inside) continue;
                    if (depth > best) {
                        if (nearest >= 0) others.push_back(nearest);
                        best = depth;
                        nearest = j * 5 + i;
                    } else {
                        others.push_back(j * 5 + i);
                    }
                }
            }
            return nearest;
        };
        auto colorOf = [&](int cell) {
            const int i = cell % 5, j = cell / 5;
            return c->colorAxis()->getColor((kF[i] + kF[i + 1] + kG[j] + kG[j + 1]) / 2) & 0xffffff;
        };
        int contested = 0;
        for (int py = 2; py < 458; py += 3) {
            for (int px = 2; px < 518; px += 3) {
                std::vector<int> others, unused;
                const int nearest = cast(px + 0.5, py + 0.5, others);
                if (nearest < 0) continue;
                // Pixels within reach of an edge on the picture are blended with their neighbours.
                bool steady = true;
                for (const std::array<double, 2>& o : {std::array<double, 2>{2.5, 0.5}, {-1.5, 0.5}, {0.5, 2.5}, {0.5, -1.5}})
                    steady = steady && cast(px + o[0], py + o[1], unused) == nearest;
                const int expected = colorOf(nearest);
                for (int o : others) steady = steady && channelGap(colorOf(o), expected) >= 24;
                if (!steady) continue;
                contested += !others.empty();
                const int got = d->getPixel(px, py) & 0xffffff;
                ASSERT_LE(channelGap(got, expected), 3)
                    << "pixel (" << px << ", " << py << ") should show cell " << nearest % 5 << ", " << nearest / 5;
            }
        }
        totalContested += contested;
    }
    EXPECT_GT(totalContested, 300);
}

// Views at the poles, extreme perspectives, flat and tiny grids, holes, non-finite values and a
// million points: each gives a picture, never a crash, and holes leave the background showing.
TEST(SurfaceChart, DegenerateInputStillDraws) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const double views[][2] = {{90, 0}, {270, 0}, {30, 12}, {30, 0}, {30, 100}};
    const double xs[4] = {0, 1, 2, 3};
    for (const auto& v : views) {
        Owned<SurfaceChart> c(SurfaceChart::create(300, 260));
        c->setViewAngle(v[0]);
        c->setPerspective(v[1]);
        const double flat[16] = {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2};
        c->setData(DoubleArray(xs, 4), DoubleArray(xs, 4), DoubleArray(flat, 16));
        MemBlock png = c->makeChart(Chart::PNG);
        EXPECT_GT(png.len, 0);
    }
    const double bad[16] = {1, nan, 2, 3, inf, 1, 2, -inf, 0, 1, Chart::NoValue, 2, 1, 2, 3, 1};
    const double xsBad[4] = {0, nan, 2, 3};
    for (int form = 0; form < 3; ++form) {
        Owned<SurfaceChart> c(SurfaceChart::create(300, 260));
        if (form == 0) c->setData(DoubleArray(xs, 4), DoubleArray(xs, 4), DoubleArray(bad, 16));
        if (form == 1) c->setData(DoubleArray(xsBad, 4), DoubleArray(xs, 4), DoubleArray(bad, 16));
        if (form == 2) c->setData(DoubleArray(xs, 1), DoubleArray(xs, 4), DoubleArray(bad, 4));
        c->setInterpolation(30, 30);
        EXPECT_GT(c->makeChart(Chart::PNG).len, 0);
    }
    // A hole in the middle of a surface seen from straight above shows the floor through it.
    {
        double z[25];
        for (int k = 0; k < 25; ++k) z[k] = k == 12 ? Chart::NoValue : 1;
        const double g[5] = {0, 1, 2, 3, 4};
        Owned<SurfaceChart> c(SurfaceChart::create(300, 300, 0xffffff));
        c->setPlotRegion(150, 150, 200, 200, 100);
        c->setViewAngle(90, 0, 0);
        c->setPerspective(0);
        c->setWallColor(0x00ff00);
        c->setData(DoubleArray(g, 5), DoubleArray(g, 5), DoubleArray(z, 25));
        c->setLighting(1, 0, 0, 1);
        DrawArea* d = c->makeChart();
        EXPECT_EQ(d->getPixel(c->getXCoor(2.3, 2.3, 1), c->getYCoor(2.3, 2.3, 1)) & 0xffffff, 0x00ff00);
        EXPECT_NE(d->getPixel(c->getXCoor(0.5, 0.5, 1), c->getYCoor(0.5, 0.5, 1)) & 0xffffff, 0x00ff00);
    }
    std::vector<double> big(1000 * 1000), axis(1000);
    for (int i = 0; i < 1000; ++i) axis[i] = i;
    for (size_t k = 0; k < big.size(); ++k) big[k] = std::sin(k % 1000 * 0.01) * std::cos(k / 1000 * 0.013);
    Owned<SurfaceChart> c(SurfaceChart::create(400, 300));
    c->setData(DoubleArray(axis.data(), 1000), DoubleArray(axis.data(), 1000), DoubleArray(big.data(), 1000000));
    EXPECT_GT(c->makeChart(Chart::PNG).len, 0);
}

namespace {

// matplotlib's Delaunay-linear interpolation of the points at the grid; empty when unavailable.
std::vector<double> referenceSamples(const std::vector<double>& x, const std::vector<double>& y,
                                     const std::vector<double>& z, const std::vector<double>& gx,
                                     const std::vector<double>& gy) {
    const std::string input = ::testing::TempDir() + "surface_reference_input.txt";
    {
        std::ofstream f(input);
        f.precision(17);
        for (const std::vector<double>* row : {&x, &y, &z, &gx, &gy}) {
            for (double v : *row) f << v << " ";
            f << "\n";
        }
    }
    const std::string command =
        "/usr/bin/python3 " + plotvane_test::testPath("chart/surface_reference.py") + " " + input + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string text;
    char buffer[4096];
    while (size_t got = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
    if (pclose(pipe) != 0) return {};
    std::istringstream values(text);
    std::vector<double> out;
    for (std::string v; values >> v;) out.push_back(v == "nan" ? std::nan("") : std::stod(v));
    return out;
}

}  // namespace

// Scattered points, with x and y in very different units, are joined into triangles in the box's
// proportions and sampled linearly: the samples match matplotlib's Delaunay-linear interpolation of
// the points scaled the same way, holes outside the hull included.
TEST(SurfaceChart, ScatteredDataFollowTheirTriangles) {
    std::vector<double> x, y, z;
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8 & 0xffff) / 65535.0;
    };
    for (int k = 0; k < 90; ++k) {
        x.push_back(-2 + 4 * next());
        y.push_back(1000 + 500 * next());
        z.push_back(std::sin(2 * x.back()) + (y.back() - 1000) / 200);
    }
    const SurfaceData data = arrangeSurfaceData(DoubleArray(x.data(), 90), DoubleArray(y.data(), 90),
                                                DoubleArray(z.data(), 90));
    ASSERT_TRUE(data.scattered);
    const SurfaceGrid g = sampleSurface(data, 23, 19, true);
    ASSERT_EQ(g.xs.size(), 23u);
    ASSERT_EQ(g.ys.size(), 19u);
    const auto [x0, x1] = std::minmax_element(x.begin(), x.end());
    const auto [y0, y1] = std::minmax_element(y.begin(), y.end());
    auto unitX = [&](double v) { return (v - *x0) / (*x1 - *x0); };
    auto unitY = [&](double v) { return (v - *y0) / (*y1 - *y0); };
    std::vector<double> ux, uy, gx, gy;
    for (double v : x) ux.push_back(unitX(v));
    for (double v : y) uy.push_back(unitY(v));
    for (double v : g.xs) gx.push_back(unitX(v));
    for (double v : g.ys) gy.push_back(unitY(v));
    const std::vector<double> reference = referenceSamples(ux, uy, z, gx, gy);
    if (reference.empty()) GTEST_SKIP() << "matplotlib is not importable by /usr/bin/python3";
    ASSERT_EQ(reference.size(), g.z.size());
    int inside = 0, disputed = 0;
    for (size_t k = 0; k < g.z.size(); ++k) {
        const bool ours = g.z[k] != Chart::NoValue, theirs = !std::isnan(reference[k]);
        if (ours != theirs) {
            ++disputed;  // a sample on the hull, where rounding decides
            continue;
        }
        if (!ours) continue;
        ++inside;
        ASSERT_NEAR(g.z[k], reference[k], 1e-9) << "sample " << k % 23 << ", " << k / 23;
    }
    EXPECT_GT(inside, 23 * 19 / 2);
    EXPECT_LE(disputed, 3);

    // Triples filling most of a grid keep it, with a hole where one is missing; collinear points
    // give nothing to paint.
    const double gxs[8] = {0, 1, 2, 0, 1, 2, 0, 1}, gys[8] = {0, 0, 0, 1, 1, 1, 2, 2};
    const double gzs[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const SurfaceData grid = arrangeSurfaceData(DoubleArray(gxs, 8), DoubleArray(gys, 8), DoubleArray(gzs, 8));
    ASSERT_FALSE(grid.scattered);
    EXPECT_EQ(grid.grid.z, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, Chart::NoValue}));
    const double line[5] = {0, 1, 2, 3, 4}, lineZ[5] = {1, 5, 2, 4, 3}, lineY[5] = {0, 2, 4, 6, 8};
    const SurfaceGrid flat =
        sampleSurface(arrangeSurfaceData(DoubleArray(line, 5), DoubleArray(lineY, 5), DoubleArray(lineZ, 5)), 0, 0, true);
    EXPECT_TRUE(std::all_of(flat.z.begin(), flat.z.end(), [](double v) { return v == Chart::NoValue; }));
}

// With smooth shading the colour runs across a cell, from each corner's colour to the next; with
// rectangular shading the whole cell takes the colour of its mean height.
TEST(SurfaceChart, SmoothShadingRunsColourAcrossACell) {
    const double xy[2] = {0, 1}, z[4] = {0, 10, 10, 20};
    for (int mode : {Chart::SmoothShading, Chart::RectangularShading}) {
        Owned<SurfaceChart> c(SurfaceChart::create(300, 300, 0xffffff));
        c->setPlotRegion(150, 150, 240, 240, 100);
        c->setViewAngle(90, 0, 0);
        c->setPerspective(0);
        c->setWallVisibility(false, false, false);
        c->setData(DoubleArray(xy, 2), DoubleArray(xy, 2), DoubleArray(z, 4));
        c->zAxis()->setLinearScale(0, 20, 5, 0);
        c->colorAxis()->setColorGradient(true);
        c->setLighting(1, 0, 0, 1);
        c->setShadingMode(mode);
        DrawArea* d = c->makeChart();
        for (const std::array<double, 2>& at : {std::array<double, 2>{0.1, 0.1}, {0.9, 0.1}, {0.5, 0.5}, {0.85, 0.9}}) {
            const double height = 10 * at[0] + 10 * at[1];
            const int got = d->getPixel(c->getXCoor(at[0], at[1], height), c->getYCoor(at[0], at[1], height)) & 0xffffff;
            const int own = c->colorAxis()->getColor(height) & 0xffffff, mean = c->colorAxis()->getColor(10) & 0xffffff;
            SCOPED_TRACE(testing::Message() << "mode " << mode << " at " << at[0] << ", " << at[1]);
            if (mode == Chart::SmoothShading)
                EXPECT_LE(channelGap(got, own), std::max(16, channelGap(own, mean) / 4));
            else
                EXPECT_LE(channelGap(got, mean), 2);
        }
    }
}

TEST(SurfaceChart, ShortColourAxisStillRunsThroughItsColours) {
    // A bar too short for a second major tick maps heights as a long one does, not all to one colour.
    auto colours = [](int length) {
        Owned<SurfaceChart> c = flatCellSurface(30, 45, 0);
        ColorAxis* axis = c->setColorAxis(500, 20, Chart::TopRight, length, Chart::Left);
        c->layout();
        return std::vector<int>{axis->getColor(-4), axis->getColor(3), axis->getColor(10)};
    };
    std::vector<int> reference = colours(200);
    EXPECT_NE(reference[0], reference[2]);
    for (int length : {10, 3}) EXPECT_EQ(colours(length), reference) << length;
}

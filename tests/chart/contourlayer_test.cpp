#include <gtest/gtest.h>
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "chart/barchart.h"
#include "chart/contourchart.h"
#include "draw/drawtest.h"
#include "chart/xy/contourlayer_p.h"
#include "support/golden.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

using Polyline = std::vector<std::pair<double, double>>;

ContourLayerImpl* contourImpl(ContourLayer* l) { return dynamic_cast<ContourLayerImpl*>(l); }

std::vector<uint32_t> pixelsOf(XYChart* c) {
    DrawArea* d = c->makeChart();
    const uint32_t* p = d->getPixels();
    return std::vector<uint32_t>(p, p + static_cast<size_t>(d->getWidth()) * d->getHeight());
}

double distanceToPolyline(double x, double y, const Polyline& l) {
    double best = std::numeric_limits<double>::infinity();
    for (size_t k = 0; k < l.size(); ++k) {
        const auto& a = l[k];
        const auto& b = k + 1 < l.size() ? l[k + 1] : l[k];
        double dx = b.first - a.first, dy = b.second - a.second;
        double len = dx * dx + dy * dy;
        double t = len > 0 ? std::clamp(((x - a.first) * dx + (y - a.second) * dy) / len, 0.0, 1.0) : 0;
        best = std::min(best, std::hypot(x - a.first - t * dx, y - a.second - t * dy));
    }
    return best;
}

// The largest distance from a point of one set of lines to the nearest line of the other.
double farthest(const std::vector<Polyline>& from, const std::vector<Polyline>& to) {
    double worst = 0;
    for (const Polyline& l : from)
        for (const auto& p : l) {
            double d = std::numeric_limits<double>::infinity();
            for (const Polyline& m : to) d = std::min(d, distanceToPolyline(p.first, p.second, m));
            worst = std::max(worst, d);
        }
    return worst;
}

// The lines of every level from the independent tracer, in data coordinates; empty when it is
// not available.
std::vector<std::vector<Polyline>> referenceLines(const ContourGrid& g, const std::vector<double>& levels) {
    std::string input = ::testing::TempDir() + "contour_reference_input.txt";
    {
        std::ofstream f(input);
        f.precision(17);
        f << g.xs.size() << " " << g.ys.size() << "\n";
        for (double v : g.xs) f << v << " ";
        f << "\n";
        for (double v : g.ys) f << v << " ";
        f << "\n";
        for (double v : g.z) {
            if (v == Chart::NoValue)
                f << "nan ";
            else
                f << v << " ";
        }
        f << "\n";
        for (double v : levels) f << v << " ";
        f << "\n";
    }
    std::string command = "/usr/bin/python3 " + testPath("chart/contour_reference.py") + " " + input + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::vector<std::vector<Polyline>> out;
    if (!pipe) return out;
    std::string text;
    char buffer[4096];
    while (size_t got = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
    if (pclose(pipe) != 0) return {};
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("level", 0) == 0) {
            out.emplace_back();
            continue;
        }
        if (out.empty()) return {};
        std::istringstream values(line);
        Polyline p;
        double x, y;
        while (values >> x >> y) p.push_back({x, y});
        out.back().push_back(p);
    }
    return out.size() == levels.size() ? out : std::vector<std::vector<Polyline>>();
}

}  // namespace

TEST(ContourLayer, LinesAgreeWithAnIndependentTracerAndCloseAroundPeaks) {
    // An uneven grid, wider than high, so a transposed or misplaced line shows.
    Points p = gridPoints(47, 33, -3, 3, -2.5, 3, peaks);
    ContourGrid g;
    ASSERT_TRUE(arrangeAsGrid(p.x, p.y, p.z, g));
    for (bool exact : {true, false}) {
        ContourLayer* layer;
        XYPtr c = contourChart(p, &layer);
        layer->setExactContour(false, exact);
        c->xAxis()->setLinearScale(-3, 3);
        c->yAxis()->setLinearScale(-2.5, 3);
        c->makeChart();
        ContourLayerImpl* l = contourImpl(layer);
        std::vector<double> levels;
        for (const auto& level : l->levels()) levels.push_back(level.value);
        ASSERT_GE(levels.size(), 6u);
        auto reference = referenceLines(g, levels);
        if (reference.empty()) GTEST_SKIP() << "neither contourpy nor matplotlib is importable by /usr/bin/python3";
        AxisImpl* xa = impl(c.get())->axisImpl(0);
        AxisImpl* ya = impl(c.get())->axisImpl(2);
        for (size_t k = 0; k < levels.size(); ++k) {
            std::vector<Polyline> ours, theirs;
            for (const IsoLine& line : l->levels()[k].lines) {
                Polyline pl;
                for (size_t i = 0; i + 1 < line.points.size(); i += 2) pl.push_back({line.points[i], line.points[i + 1]});
                ours.push_back(pl);
                // A line that does not end at the rim of the data is a closed loop.
                if (!line.closed) {
                    for (const auto& end : {pl.front(), pl.back()}) {
                        bool atRim = std::fabs(end.first - 40) <= 1 || std::fabs(end.first - 340) <= 1 ||
                                     std::fabs(end.second - 30) <= 1 || std::fabs(end.second - 270) <= 1;
                        EXPECT_TRUE(atRim) << "open line ends inside at " << end.first << "," << end.second;
                    }
                }
            }
            for (const Polyline& ref : reference[k]) {
                Polyline pl;
                for (const auto& q : ref) pl.push_back({xa->pixelOf(q.first), ya->pixelOf(q.second)});
                theirs.push_back(pl);
            }
            ASSERT_EQ(ours.empty(), theirs.empty()) << levels[k];
            if (ours.empty()) continue;
            EXPECT_LE(farthest(ours, theirs), 1.0) << "level " << levels[k] << (exact ? " on cells" : " on pixels");
            EXPECT_LE(farthest(theirs, ours), 1.0) << "level " << levels[k] << (exact ? " on cells" : " on pixels");
        }
    }
}

TEST(ContourLayer, GridOrderDoesNotChangeThePicture) {
    Points sorted = gridPoints(30, 20, 0, 5, 10, 14, [](double u, double v) { return std::sin(u) * std::cos(v); });
    std::vector<uint32_t> expected = pixelsOf(contourChart(sorted).get());

    // Rows from the top, columns from the right, and the points in random order.
    Points reversed = sorted;
    std::reverse(reversed.x.begin(), reversed.x.end());
    std::reverse(reversed.y.begin(), reversed.y.end());
    std::reverse(reversed.z.begin(), reversed.z.end());
    Points shuffled = sorted;
    std::vector<size_t> order(sorted.x.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(3));
    for (size_t i = 0; i < order.size(); ++i) {
        shuffled.x[i] = sorted.x[order[i]];
        shuffled.y[i] = sorted.y[order[i]];
        shuffled.z[i] = sorted.z[order[i]];
    }
    for (const Points* p : {&reversed, &shuffled}) EXPECT_TRUE(pixelsOf(contourChart(*p).get()) == expected);

    // Swapped axes put (x, y) where an unswapped chart puts (y, x). The lines, traced on the cells,
    // match as point sets; their pieces may be chained from other starting points.
    Points exchanged = sorted;
    std::swap(exchanged.x, exchanged.y);
    std::vector<uint32_t> fills[2];
    std::vector<Polyline> lines[2];
    for (int k = 0; k < 2; ++k) {
        ContourLayer* layer;
        XYPtr c = contourChart(k ? sorted : exchanged, &layer);
        layer->setExactContour(false, true);
        c->swapXY(k == 1);
        c->makeChart();
        for (const auto& level : contourImpl(layer)->levels())
            for (const IsoLine& l : level.lines) {
                Polyline pl;
                for (size_t i = 0; i + 1 < l.points.size(); i += 2) pl.push_back({l.points[i], l.points[i + 1]});
                lines[k].push_back(pl);
            }
        XYPtr bare = contourChart(k ? sorted : exchanged, &layer);
        layer->setContourColor(Chart::Transparent);
        bare->swapXY(k == 1);
        fills[k] = pixelsOf(bare.get());
    }
    EXPECT_TRUE(fills[0] == fills[1]);
    ASSERT_FALSE(lines[0].empty());
    EXPECT_LE(farthest(lines[0], lines[1]), 0.2);
    EXPECT_LE(farthest(lines[1], lines[0]), 0.2);
}

TEST(ContourLayer, TrianglesAndCellsAgreeOnAPlaneWithoutCracks) {
    auto plane = [](double u, double v) { return u + 2 * v; };
    Points grid = gridPoints(7, 6, 0, 6, 0, 5, plane);
    // One point more in the middle of a cell turns the grid into scattered points.
    Points scattered = grid;
    scattered.x.push_back(2.5);
    scattered.y.push_back(2.5);
    scattered.z.push_back(plane(2.5, 2.5));
    std::vector<uint32_t> a, b;
    for (const Points* p : {&grid, &scattered}) {
        ContourLayer* layer;
        XYPtr c = contourChart(*p, &layer);
        layer->setContourColor(Chart::Transparent);
        c->xAxis()->setLinearScale(0, 6);
        c->yAxis()->setLinearScale(0, 5);
        (p == &grid ? a : b) = pixelsOf(c.get());
        EXPECT_EQ(contourImpl(layer)->levels().size(), 0u);
    }
    // Inside the plot area (its border lines aside) every pixel is filled, and the two routes
    // differ only where rounding puts a value on the other side of a band's edge.
    size_t differ = 0, total = 0;
    for (int y = 32; y <= 268; ++y)
        for (int x = 42; x <= 338; ++x) {
            size_t i = static_cast<size_t>(y) * 420 + x;
            ASSERT_NE(a[i] & 0xffffff, 0xff00ffu) << x << "," << y;
            ASSERT_NE(b[i] & 0xffffff, 0xff00ffu) << x << "," << y;
            differ += a[i] != b[i];
            ++total;
        }
    EXPECT_LT(differ, total / 200);
}

TEST(ContourLayer, ExactBandEdgesBlendTheColoursOnEitherSide) {
    Points p = gridPoints(5, 5, 0, 4, 0, 4, [](double u, double v) { return u + v; });
    for (bool exact : {false, true}) {
        ContourLayer* layer;
        XYPtr c = contourChart(p, &layer);
        layer->setContourColor(Chart::Transparent);
        layer->colorAxis()->setColorGradient(false);
        layer->setExactContour(exact, false);
        std::vector<uint32_t> px = pixelsOf(c.get());
        const std::vector<int>& bands = contourImpl(layer)->colorAxisImpl().mapper()->colors();
        size_t blended = 0;
        for (int y = 32; y <= 268; ++y)
            for (int x = 42; x <= 338; ++x) {
                uint32_t v = px[static_cast<size_t>(y) * 420 + x] & 0xffffff;
                blended += std::none_of(bands.begin(), bands.end(), [v](int b) { return static_cast<uint32_t>(b) == v; });
            }
        // Without exactness every pixel is a band's colour; with it, the pixels along each of the
        // band edges are mixed, about one per pixel of edge length.
        if (exact)
            EXPECT_GT(blended, 1000u);
        else
            EXPECT_EQ(blended, 0u);
    }
}

TEST(ContourLayer, ScatteredPointsFillTheirHullWithoutCracks) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(0, 1);
    Points p;
    for (double cx : {0.0, 1.0})
        for (double cy : {0.0, 1.0}) {
            p.x.push_back(cx);
            p.y.push_back(cy);
        }
    for (int i = 0; i < 300; ++i) {
        p.x.push_back(u(rng));
        p.y.push_back(u(rng));
    }
    for (size_t i = 0; i < p.x.size(); ++i) p.z.push_back(peaks(p.x[i] * 6 - 3, p.y[i] * 6 - 3));
    ContourLayer* layer;
    XYPtr c = contourChart(p, &layer);
    c->xAxis()->setLinearScale(0, 1);
    c->yAxis()->setLinearScale(0, 1);
    std::vector<uint32_t> px = pixelsOf(c.get());
    for (int y = 31; y <= 269; ++y)
        for (int x = 41; x <= 339; ++x) ASSERT_NE(px[static_cast<size_t>(y) * 420 + x] & 0xffffff, 0xff00ffu) << x << "," << y;
    EXPECT_GE(contourImpl(layer)->levels().size(), 5u);
}

TEST(ContourLayer, MissingValuesHolesBoundsAndHeatMapCells) {
    Points p = gridPoints(11, 11, 0, 10, 0, 10, [](double u, double v) { return u + v; });
    p.z[5 * 11 + 5] = Chart::NoValue;
    p.z[2 * 11 + 8] = NAN;
    ContourLayer* layer;
    XYPtr c = contourChart(p, &layer);
    layer->setZBounds(15, 4);  // taken in order
    std::vector<uint32_t> px = pixelsOf(c.get());
    auto at = [&](double u, double v) {
        return px[static_cast<size_t>(c->getYCoor(v)) * 420 + c->getXCoor(u)] & 0xffffff;
    };
    EXPECT_EQ(at(5, 5), 0xff00ffu);
    EXPECT_EQ(at(8, 2), 0xff00ffu);
    EXPECT_NE(at(5, 7), 0xff00ffu);
    EXPECT_NE(at(2.5, 2.5), 0xff00ffu);
    // Values past the bounds take the colours at the bounds.
    ColorAxis* axis = layer->colorAxis();
    EXPECT_EQ(axis->getMinValue(), 4);
    EXPECT_EQ(axis->getMaxValue(), 15);
    EXPECT_EQ(at(0.2, 0.2), static_cast<uint32_t>(axis->getColor(4)) & 0xffffff);
    EXPECT_EQ(at(9.8, 9.8), static_cast<uint32_t>(axis->getColor(15)) & 0xffffff);
    for (const auto& level : contourImpl(layer)->levels()) {
        EXPECT_GT(level.value, 4);
        EXPECT_LT(level.value, 15);
    }

    // A heat map: one colour from each grid point halfway to the next, and no lines.
    Points cells = gridPoints(4, 3, 0, 3, 0, 2, [](double u, double v) { return u + 4 * v; });
    XYPtr h = contourChart(cells, &layer);
    layer->setHeatMap();
    h->xAxis()->setLinearScale(-1, 4);
    h->yAxis()->setLinearScale(-1, 3);
    px = pixelsOf(h.get());
    auto cell = [&](double u, double v) {
        return px[static_cast<size_t>(h->getYCoor(v)) * 420 + h->getXCoor(u)] & 0xffffff;
    };
    axis = layer->colorAxis();
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i)
            for (double d : {-0.45, 0.0, 0.45}) {
                uint32_t want = static_cast<uint32_t>(axis->getColor(i + 4 * j)) & 0xffffff;
                EXPECT_EQ(cell(i + d, j + d), want) << i << "," << j << " " << d;
            }
    EXPECT_TRUE(contourImpl(layer)->levels().empty());
    // The cells reach half a cell beyond the outer points, and no further.
    EXPECT_EQ(cell(-0.6, 1), 0xff00ffu);
    EXPECT_EQ(cell(1, 2.6), 0xff00ffu);
}

TEST(ContourLayer, HostileDataDrawsOrLeavesTheContourOut) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        Points points;
        bool filled;
    };
    std::vector<Case> cases;
    cases.push_back({"all equal", gridPoints(5, 5, 0, 1, 0, 1, [](double, double) { return 3.0; }), true});
    cases.push_back({"all missing", gridPoints(5, 5, 0, 1, 0, 1, [](double, double) { return Chart::NoValue; }), false});
    cases.push_back({"infinities", gridPoints(5, 5, 0, 1, 0, 1, [inf](double u, double) { return u > 0.5 ? inf : -u; }), true});
    cases.push_back({"one row", gridPoints(9, 1, 0, 1, 0, 0, [](double u, double) { return u; }), false});
    cases.push_back({"one column", gridPoints(1, 9, 0, 0, 0, 1, [](double, double v) { return v; }), false});
    cases.push_back({"one point", gridPoints(1, 1, 2, 2, 3, 3, [](double, double) { return 1.0; }), false});
    cases.push_back({"no points", Points(), false});
    Points ragged = gridPoints(5, 5, 0, 1, 0, 1, [](double u, double v) { return u * v; });
    ragged.z.resize(7);
    ragged.x[3] = NAN;
    ragged.y[4] = inf;
    cases.push_back({"ragged", ragged, true});
    Points line;
    for (int i = 0; i < 9; ++i) {
        line.x.push_back(i);
        line.y.push_back(2 * i);
        line.z.push_back(i);
    }
    cases.push_back({"points on a line", line, false});
    for (Case& k : cases) {
        ContourLayer* layer;
        XYPtr c = contourChart(k.points, &layer);
        layer->setSmoothInterpolation(k.filled);
        layer->setExactContour(true, true);
        std::vector<uint32_t> px = pixelsOf(c.get());
        EXPECT_EQ((px[150 * 420 + 190] & 0xffffff) != 0xff00ffu, k.filled) << k.name;
        MemBlock png = c->makeChart(Chart::PNG);
        EXPECT_GT(png.len, 0) << k.name;
    }

    // A colour scale of one pair takes the colours away: the plot shows through, lines remain.
    Points p = gridPoints(5, 5, 0, 1, 0, 1, [](double u, double v) { return u + v; });
    ContourLayer* layer;
    XYPtr c = contourChart(p, &layer);
    const double pair[] = {0, 0xff0000};
    layer->colorAxis()->setColorScale(DoubleArray(pair, 2));
    std::vector<uint32_t> px = pixelsOf(c.get());
    EXPECT_EQ(px[150 * 420 + 100] & 0xffffff, 0xff00ffu);
    EXPECT_FALSE(contourImpl(layer)->levels().empty());
}

TEST(ContourLayer, LargeGridsAndSmoothInterpolation) {
    Points big = gridPoints(2000, 2000, -3, 3, -3, 3, peaks);
    ContourLayer* layer;
    XYPtr c = contourChart(big, &layer);
    layer->setExactContour(true, true);
    MemBlock png = c->makeChart(Chart::PNG);
    EXPECT_GT(png.len, 0);
    EXPECT_GE(contourImpl(layer)->levels().size(), 6u);

    // A smooth surface passes through the grid values and stays near the linear one, whose
    // corners it shares.
    // Grid points fall on pixels: 50 pixels apart across, 40 down.
    Points coarse = gridPoints(7, 7, -3, 3, -3, 3, peaks);
    XYPtr linear = contourChart(coarse);
    XYPtr smooth = contourChart(coarse, &layer);
    layer->setSmoothInterpolation(true);
    for (XYChart* chart : {linear.get(), smooth.get()}) {
        chart->xAxis()->setLinearScale(-3, 3);
        chart->yAxis()->setLinearScale(-3, 3);
    }
    std::vector<uint32_t> a = pixelsOf(linear.get()), b = pixelsOf(smooth.get());
    for (int i = 1; i < 6; ++i) {
        double u = -3 + i;
        size_t at = static_cast<size_t>(linear->getYCoor(u)) * 420 + linear->getXCoor(u);
        EXPECT_EQ(a[at], b[at]) << u;
    }
    EXPECT_NE(a, b);
}

TEST(ContourLayer, GoldenDumpsAndPictures) {
    struct Golden {
        const char* name;
        XYPtr chart;
    };
    std::vector<Golden> goldens;
    ContourLayer* layer;

    Points peaksGrid = gridPoints(61, 61, -3, 3, -3, 3, peaks);
    goldens.push_back({"contour_peaks", contourChart(peaksGrid, &layer, false)});
    layer->setContourColor(0x80000000);

    Points ramp = gridPoints(40, 30, 0, 10, 0, 10, [](double u, double v) { return u + v; });
    goldens.push_back({"contour_banded_scale", contourChart(ramp, &layer, false)});
    const double stops[] = {4, 0x2166ac, 8, 0x67a9cf, 12, 0xfddbc7, 16, 0xef8a62};
    layer->colorAxis()->setColorGradient(false, IntArray(), 0x053061, 0x67001f);
    layer->colorAxis()->setColorScale(DoubleArray(stops, 8), 0x053061, 0x67001f);
    layer->setContourColor(0x000000, 0x808080);

    std::mt19937 rng(9);
    std::uniform_real_distribution<double> u(-3, 3);
    Points scattered;
    for (int i = 0; i < 400; ++i) {
        scattered.x.push_back(u(rng));
        scattered.y.push_back(u(rng));
        scattered.z.push_back(peaks(scattered.x.back(), scattered.y.back()));
    }
    goldens.push_back({"contour_scattered", contourChart(scattered, &layer, false)});

    Points cells = gridPoints(12, 8, 1, 12, 1, 8, [](double x, double y) { return std::sin(x / 2) * y; });
    goldens.push_back({"heat_map", contourChart(cells, &layer, false)});
    layer->setHeatMap();
    layer->colorAxis()->setColorGradient(false);

    for (Golden& g : goldens) {
        EXPECT_TRUE(matchesGoldenText("chart", std::string(g.name) + ".agf", drawtest::withRelativeIds(textDump(g.chart.get()))));
        MemBlock png = g.chart->makeChart(Chart::PNG);
        EXPECT_TRUE(matchesGoldenPNG("chart", std::string(g.name) + ".png",
                                     std::string(png.data, static_cast<size_t>(png.len)), 8));
    }
}

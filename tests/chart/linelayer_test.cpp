#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "chart/linechart.h"
#include "chart/xy/lineobj_p.h"
#include "support/pinnedfonts.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const double NV = Chart::NoValue;

DoubleArray arr(const std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); }

// The golden cases, each a small chart a user might make.
XYChartPtr multiSeriesChart() {
    static const std::vector<double> a{30, 45, 38, 60, 52, 70}, b{20, 25, 42, 35, 48, 40}, c{10, 18, 15, 22, 30, 26};
    XYChartPtr chart = newChart(true, 360, 260);
    chart->addLegend(50, 22, false, "", 8)->setBackground(Chart::Transparent);
    LineLayer* layer = chart->addLineLayer();
    layer->addDataSet(arr(a), 0xcc0000, "North")->setDataSymbol(Chart::CircleSymbol, 7);
    layer->addDataSet(arr(b), 0x0066cc, "South")->setDataSymbol(Chart::SquareSymbol, 6);
    layer->addDataSet(arr(c), 0x009900, "West")->setDataSymbol(Chart::TriangleSymbol, 8);
    layer->setLineWidth(2);
    layer->setDataLabelFormat("{value}");
    return chart;
}

XYChartPtr monotoneSplineChart() {
    static const std::vector<double> y{0, 0, 1, 10, 10, 11, 30, 31};
    XYChartPtr chart = newChart();
    chart->addSplineLayer(arr(y), 0x3366cc)->setMonotonicity(Chart::MonotonicXY);
    return chart;
}

XYChartPtr stepChart() {
    static const std::vector<double> a{5, 7, 6, 9, 8}, b{15, 17, 16, 19, 18}, c{25, 27, 26, 29, 28};
    XYChartPtr chart = newChart();
    chart->addStepLineLayer(arr(a), 0xcc0000)->setAlignment(Chart::Left);
    chart->addStepLineLayer(arr(b), 0x009900)->setAlignment(Chart::Center);
    chart->addStepLineLayer(arr(c), 0x0000cc)->setAlignment(Chart::Right);
    return chart;
}

XYChartPtr scatterChart() {
    static const std::vector<double> x1{1, 2, 3, 4, 5}, y1{3, 5, 2, 6, 4}, x2{1.5, 2.5, 3.5, 4.5}, y2{1, 4, 3, 5};
    XYChartPtr chart = newChart();
    chart->addScatterLayer(arr(x1), arr(y1), "Group A", Chart::DiamondSymbol, 9, 0xcc0000);
    chart->addScatterLayer(arr(x2), arr(y2), "Group B", Chart::CircleSymbol, 7, 0x0066cc, 0x000000);
    return chart;
}

XYChartPtr gapChart() {
    static const std::vector<double> y{4, 6, NV, 5, 7, NV, NV, 3, 4};
    XYChartPtr chart = newChart();
    LineLayer* layer = chart->addLineLayer(arr(y), 0x0066cc);
    layer->setGapColor(chart->dashLineColor(0xcc0000, Chart::DashLine), 1);
    layer->setLineWidth(2);
    return chart;
}

struct Case {
    const char* name;
    XYChartPtr (*make)();
};
const Case kCases[] = {{"line_multi", multiSeriesChart},
                       {"spline_monotone", monotoneSplineChart},
                       {"step_alignments", stepChart},
                       {"scatter_groups", scatterChart},
                       {"line_gaps", gapChart}};

std::string pngOf(XYChart* c) {
    MemBlock b = c->makeChart(Chart::PNG);
    return std::string(b.data, static_cast<size_t>(b.len));
}

}  // namespace

TEST(LineLayer, GoldenDumps) {
    for (const Case& k : kCases) {
        XYChartPtr c = k.make();
        EXPECT_TRUE(matchesGoldenText("chart", std::string(k.name) + ".agf", chartDump(c.get()))) << k.name;
    }
}

TEST(LineLayer, GoldenPictures) {
    PLOTVANE_SKIP_UNLESS_PINNED_FONTS();
    // Labels hold text, whose rasterising may move by a shade between font engine versions.
    for (const Case& k : kCases) {
        XYChartPtr c = k.make();
        MemBlock png = c->makeChart(Chart::PNG);
        EXPECT_TRUE(plotvane_test::matchesGoldenPNG("chart", std::string(k.name) + ".png",
                                                    std::string(png.data, static_cast<size_t>(png.len)), 48));
    }
}

TEST(LineLayer, SameChartSameBytesTwiceAndOnFourThreads) {
    for (const Case& k : kCases) {
        std::string first = pngOf(k.make().get());
        EXPECT_EQ(pngOf(k.make().get()), first) << k.name;
        std::vector<std::string> results(4);
        std::vector<std::thread> threads;
        for (size_t t = 0; t < results.size(); ++t)
            threads.emplace_back([&, t] { results[t] = pngOf(k.make().get()); });
        for (std::thread& t : threads) t.join();
        for (const std::string& r : results) EXPECT_EQ(r, first) << k.name;
    }
}

TEST(LineLayer, MissingValuesBreakOrBridgeTheLine) {
    const std::vector<double> y{1, NV, 3};
    auto segments = [&](XYChart* c) { return polylines(chartDump(c)); };
    // x pixels 40, 170, 300; values 1 and 3 at y pixels 170 and 110.
    auto newChart = [] {
        XYChartPtr c = plotvane_test::newChart();
        c->yAxis()->setLinearScale(0, 6);
        return c;
    };
    {
        // Two lone points: nothing to join.
        XYChartPtr c = newChart();
        c->addLineLayer(arr(y), 0x0000ff);
        EXPECT_TRUE(segments(c.get()).empty());
        EXPECT_EQ(chartDump(c.get()).find("0x0000ff"), std::string::npos);
    }
    {
        XYChartPtr c = newChart();
        c->addLineLayer(arr(y), 0x0000ff)->setGapColor(Chart::SameAsMainColor);
        std::string dump = chartDump(c.get());
        EXPECT_NE(dump.find("Line(40, 170, 300, 110, 0x0000ff, 1)"), std::string::npos) << dump;
    }
    {
        XYChartPtr c = newChart();
        c->addLineLayer(arr(y), 0x0000ff)->setGapColor(0xff0000, 2);
        std::string dump = chartDump(c.get());
        EXPECT_NE(dump.find("Line(40, 170, 300, 110, 0xff0000, 2)"), std::string::npos) << dump;
    }
    {
        // A spline bridges in its own colour by default; NaN is a missing value too.
        const std::vector<double> withNaN{1, std::numeric_limits<double>::quiet_NaN(), 3};
        XYChartPtr c = newChart();
        c->addSplineLayer(arr(withNaN), 0x0000ff);
        std::string dump = chartDump(c.get());
        EXPECT_NE(dump.find("Line(40, 170, 300, 110, 0x0000ff, 1)"), std::string::npos) << dump;
    }
}

TEST(LineLayer, LineObjectsReportYAndGaps) {
    const std::vector<double> y{1, 2, NV, 4};
    XYChartPtr c = newChart();
    c->xAxis()->setLinearScale(0, 3);
    c->yAxis()->setLinearScale(0, 6);
    LineLayer* layer = c->addLineLayer(arr(y));
    EXPECT_EQ(layer->getLine(0), nullptr);
    c->layout();
    LineObj* line = layer->getLine(0);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(layer->getLine(1), nullptr);
    // x pixels 40 + 86.67 i, y pixels 200 - 30 v.
    EXPECT_NEAR(line->getY(40), 170, 1e-9);
    EXPECT_NEAR(line->getY(40 + 260.0 / 6), 155, 1e-9);
    EXPECT_FALSE(line->isGap());
    EXPECT_NEAR(line->getY(40 + 260.0 * 5 / 6), 95, 1e-9);  // across the missing value
    EXPECT_TRUE(line->isGap());
    EXPECT_EQ(line->getY(20), Chart::NoValue);
    EXPECT_EQ(line->getY(310), Chart::NoValue);
    // A plain line is drawn straight from its data, so asking for its points first changes
    // nothing in the drawing, and they stay there after it.
    XYChartPtr fresh = newChart();
    fresh->xAxis()->setLinearScale(0, 3);
    fresh->yAxis()->setLinearScale(0, 6);
    fresh->addLineLayer(arr(y));
    EXPECT_EQ(chartDump(c.get()), chartDump(fresh.get()));
    EXPECT_NEAR(line->getY(40), 170, 1e-9);
}

TEST(LineLayer, SplineShapes) {
    const std::vector<double> y{0, 0, 10, 10};
    XYChartPtr c = newChart();
    c->yAxis()->setLinearScale(-10, 20);
    SplineLayer* straight = c->addSplineLayer(arr(y));
    straight->setTension(1);
    SplineLayer* round = c->addSplineLayer(arr(y));
    round->setMonotonicity(Chart::MonotonicNone);
    SplineLayer* automatic = c->addSplineLayer(arr(y));
    c->layout();
    double x1 = straight->getXCoor(1), x2 = straight->getXCoor(2), x3 = straight->getXCoor(3);
    double bottom = straight->getYCoor(0), top = straight->getYCoor(10);
    // Tension 1 runs straight from point to point.
    EXPECT_NEAR(straight->getLine()->getY(x1 + (x2 - x1) / 4), bottom + (top - bottom) / 4, 0.5);
    EXPECT_NEAR(straight->getLine()->getY(x1 / 2 + 20), bottom, 1e-6);
    // Without monotonicity the curve swings below the flat start and above the flat end; the
    // automatic setting finds the data monotonic and keeps the flats flat.
    double lowest = 0, highest = 1e9;
    for (double x = round->getXCoor(0); x <= x3; x += 0.5) {
        lowest = std::max(lowest, round->getLine()->getY(x));
        highest = std::min(highest, round->getLine()->getY(x));
        double v = automatic->getLine()->getY(x);
        EXPECT_LE(v, bottom + 1e-9);
        EXPECT_GE(v, top - 1e-9);
    }
    EXPECT_GT(lowest, bottom + 1);
    EXPECT_LT(highest, top - 1);
    EXPECT_EQ(automatic->getLine()->getY(x1 / 2 + 20), bottom);
}

TEST(LineLayer, StepAlignments) {
    const std::vector<double> y{5, 7, 6};
    for (int alignment : {Chart::Left, Chart::BottomLeft, Chart::Right, Chart::TopRight, Chart::Center}) {
        XYChartPtr c = newChart();
        c->xAxis()->setLinearScale(0, 2);
        c->yAxis()->setLinearScale(0, 10);
        StepLineLayer* layer = c->addStepLineLayer(arr(y));
        layer->setAlignment(alignment);
        c->layout();
        LineObj* line = layer->getLine();
        auto yAt = [&](double value) { return static_cast<double>(layer->getYCoor(value)); };
        // x pixels 40, 170, 300.
        int family = (alignment - 1) % 3;
        if (family == 0) {
            EXPECT_EQ(line->getY(100), yAt(5)) << alignment;
            EXPECT_EQ(line->getY(250), yAt(7)) << alignment;
        } else if (family == 2) {
            EXPECT_EQ(line->getY(100), yAt(7)) << alignment;
            EXPECT_EQ(line->getY(250), yAt(6)) << alignment;
        } else {
            EXPECT_EQ(line->getY(100), yAt(5));
            EXPECT_EQ(line->getY(120), yAt(7));
            EXPECT_EQ(line->getY(200), yAt(7));
            EXPECT_EQ(line->getY(240), yAt(6));
            EXPECT_EQ(line->getY(320), yAt(6));  // half a step past the last point
        }
    }
}

TEST(LineLayer, LinesNeverStackAndShareTheirDepth) {
    const std::vector<double> a{1, 2, 3}, b{3, 2, 1};
    auto make = [&](int method) {
        XYChartPtr c = newChart();
        LineLayer* layer = c->addLineLayer(method);
        layer->addDataSet(arr(a), 0xff0000);
        layer->addDataSet(arr(b), 0x0000ff);
        layer->setDataCombineMethod(Chart::Percentage);
        return c;
    };
    XYChartPtr stacked = make(Chart::Stack);
    EXPECT_EQ(chartDump(stacked.get()), chartDump(make(Chart::Overlay).get()));
    EXPECT_EQ(stacked->yAxis()->getMaxValue(), 3.5);

    // Depth 12 over three data sets: ribbons 4 pixels deep.
    XYChartPtr c = newChart();
    LineLayer* layer = c->addLineLayer(arr(a), 0xff0000, "", 12);
    layer->addDataSet(arr(b), 0x00ff00);
    layer->addDataSet(arr(a), 0x0000ff);
    std::string dump = chartDump(c.get());
    std::smatch m;
    std::regex ribbon("Shape\\(0xff0000, false, false, Line, (\\d+), (\\d+), (\\d+), (\\d+), 0x000000, false, "
                      "Line, \\d+, \\d+, (\\d+), (\\d+),");
    ASSERT_TRUE(std::regex_search(dump, m, ribbon)) << dump;
    EXPECT_EQ(std::stoi(m[5]) - std::stoi(m[3]), 4);
    EXPECT_EQ(std::stoi(m[4]) - std::stoi(m[6]), 4);
}

TEST(LineLayer, ScatterDrawsOnlySymbols) {
    XYChartPtr c = scatterChart();
    std::string dump = chartDump(c.get());
    EXPECT_TRUE(polylines(dump).empty());
    // Each group's symbol is drawn once and stamped at every point.
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n') > 0, true);
    size_t defines = 0, stamps = 0;
    for (size_t at = 0; (at = dump.find("DefineSymbol(", at)) != std::string::npos; ++at) defines += dump[at - 1] == '\n';
    for (size_t at = 0; (at = dump.find("\nMergeWithScaling(", at)) != std::string::npos; ++at) ++stamps;
    EXPECT_EQ(stamps, 9u);
    EXPECT_GE(defines, 2u);
}

TEST(LineLayer, SymbolScaleSizesEachPoint) {
    const std::vector<double> y{1, 2, 3}, z{4, NV, 12};
    XYChartPtr c = newChart();
    LineLayer* layer = c->addLineLayer(arr(y), 0xff0000);
    layer->getDataSet(0)->setDataSymbol(Chart::SquareSymbol, 7);
    layer->setSymbolScale(arr(z));
    std::string dump = chartDump(c.get());
    // Sizes other than the cached symbol's are drawn directly; the point without a z has none.
    EXPECT_EQ(dump.find("MergeWithScaling("), std::string::npos);
    EXPECT_NE(dump.find("Shape(0xff0000, false, false, Line, 38.5, "), std::string::npos) << dump;  // 4 wide
    EXPECT_NE(dump.find("Shape(0xff0000, false, false, Line, 294.5, "), std::string::npos) << dump;  // 12 wide
    size_t shapes = 0;
    for (size_t at = 0; (at = dump.find("Shape(0xff0000", at)) != std::string::npos; ++at) ++shapes;
    EXPECT_EQ(shapes, 2u);
}

TEST(LineLayer, OddDataNeverCrashes) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<double>> sets{{}, {5}, {NV}, {nan, nan}, {3, 3, 3, 3}, {NV, 2, NV}, {1, inf, -inf, 2},
                                                {1e300, -1e300, 0}};
    for (const auto& y : sets) {
        XYChartPtr c = newChart();
        c->addLineLayer(arr(y))->getDataSet(0)->setDataSymbol(Chart::CircleSymbol);
        c->addSplineLayer(arr(y))->setDataLabelFormat("{value}");
        c->addStepLineLayer(arr(y))->setAlignment(Chart::Center);
        c->addLineLayer(arr(y), -1, "", 5)->setGapColor(Chart::SameAsMainColor);
        c->addScatterLayer(arr(y), arr(y));
        EXPECT_FALSE(chartDump(c.get()).empty());
        c->makeChart(Chart::SVG);
    }
    // A single point draws its symbol and no line.
    XYChartPtr c = newChart();
    const std::vector<double> one{5};
    c->addLineLayer(arr(one))->getDataSet(0)->setDataSymbol(Chart::SquareSymbol, 5);
    std::string dump = chartDump(c.get());
    EXPECT_TRUE(polylines(dump).empty());
    EXPECT_NE(dump.find("MergeWithScaling("), std::string::npos);
}

TEST(LineLayer, LongSeriesCostFollowsThePixels) {
    // A long random walk viewed through a window of 100 points (the timing lives in the W1
    // benchmark; here the drawing must not grow with the data).
    std::vector<double> y(300000);
    uint32_t state = 12345;
    double v = 0;
    for (double& e : y) {
        state = state * 1664525u + 1013904223u;
        v += (state >> 8) / 16777216.0 - 0.5;
        e = v;
    }
    {
        XYChartPtr c = newChart();
        c->xAxis()->setLinearScale(150000, 150099);
        c->addLineLayer(arr(y));
        std::vector<std::vector<double>> lines = polylines(chartDump(c.get()));
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_LE(lines[0].size() / 2, 102u);  // the window plus the crossings at its edges
        // From just beyond the left edge to just beyond the right one.
        EXPECT_EQ(lines[0].front(), 40);
        EXPECT_EQ(lines[0][lines[0].size() - 2], 300);
    }
    {
        // The whole walk over 260 columns: at most four points per column remain.
        XYChartPtr c = newChart();
        c->addLineLayer(arr(y));
        std::string dump = chartDump(c.get());
        std::vector<std::vector<double>> lines = polylines(dump);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_LE(lines[0].size() / 2, 4u * 262);
        // Fast line mode thins the points before the line is built, to the same drawing.
        XYChartPtr fast = newChart();
        fast->addLineLayer(arr(y))->setFastLineMode();
        EXPECT_EQ(chartDump(fast.get()), dump);
    }
}

TEST(LineLayer, LeavingThePlotEndsTheRun) {
    // Inside the plot the points stream straight into the polyline; a spike beyond the top is
    // cut at the edge, and the line comes back from the edge as a new polyline.
    XYChartPtr c = newChart();
    c->xAxis()->setLinearScale(0, 5);  // 52 pixels per item
    c->yAxis()->setLinearScale(0, 9);  // 20 pixels per unit
    c->addLineLayer(arr({2, 3, 4, 20, 5, 6}), 0xff0000);
    std::vector<std::vector<double>> lines = polylines(chartDump(c.get()));
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].size(), 8u);
    ASSERT_EQ(lines[1].size(), 6u);
    // The top edge of the plot is y = 20; the spike is at x = 196.
    EXPECT_EQ(std::vector<double>(lines[0].begin(), lines[0].begin() + 6), (std::vector<double>{40, 160, 92, 140, 144, 120}));
    EXPECT_NEAR(lines[0][7], 20, 1e-9);
    EXPECT_GT(lines[0][6], 144);
    EXPECT_LT(lines[0][6], 196);
    EXPECT_GT(lines[1][0], 196);
    EXPECT_NEAR(lines[1][1], 20, 1e-9);
    EXPECT_EQ(std::vector<double>(lines[1].begin() + 2, lines[1].end()), (std::vector<double>{248, 100, 300, 80}));
}

TEST(LineLayer, ThinningKeepsEveryColumnsReach) {
    std::vector<LinePoint> p{{0.1, 5, false}, {0.2, 9, false}, {0.3, 1, false}, {0.4, 4, false},
                             {0.5, 6, false}, {0.9, 3, false}, {1.5, 2, false}, {2.1, 7, false},
                             {2.2, 8, true},  {2.3, 0, false}, {2.4, 1, false}, {2.5, 2, false}};
    thinColumns(p);
    std::vector<double> ys;
    for (const LinePoint& q : p) ys.push_back(q.y);
    // Column 0: first 5, highest 9, lowest 1, last 3. Column 2 is split by its break.
    EXPECT_EQ(ys, (std::vector<double>{5, 9, 1, 3, 2, 7, 8, 0, 1, 2}));
    EXPECT_TRUE(p[6].breakAfter);

    // Range feed: far points go, the crossing segment and its break survive.
    MultiLine line;
    RangeFeed feed(line, 0, 10);
    for (double x : {-30.0, -20.0, -10.0}) feed.add(x, x);
    feed.add(NV, 0);
    feed.add(5, 5);
    feed.add(20, 20);
    feed.add(-5, -5);  // crosses the whole range
    feed.add(-6, -6);
    feed.add(30, 30);
    std::vector<double> xs;
    for (const LinePoint& q : line.points()) xs.push_back(q.x);
    EXPECT_EQ(xs, (std::vector<double>{-10, 5, 20, -5, -6, 30}));
    EXPECT_TRUE(line.points()[0].breakAfter);
}

TEST(LineLayer, SwappedAxesTurnTheLine) {
    const std::vector<double> y{1, 4, 2, 5};
    XYChartPtr c = newChart();
    c->swapXY();
    c->xAxis()->setLinearScale(0, 3);   // 180 pixels, 60 per item
    c->yAxis()->setLinearScale(0, 13);  // 260 pixels, 20 per unit
    c->addLineLayer(arr(y), 0xff0000);
    std::vector<std::vector<double>> lines = polylines(chartDump(c.get()));
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].size(), 8u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[0][2 * i], c->getYCoor(y[static_cast<size_t>(i)])) << i;
        EXPECT_EQ(lines[0][2 * i + 1], c->getXCoor(i)) << i;
    }
}

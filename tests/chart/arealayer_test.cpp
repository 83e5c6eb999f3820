#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "chart/linechart.h"
#include "chart/shapes.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const double NV = Chart::NoValue;

DoubleArray arr(const std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); }

// The plot of newChart() runs from x 40 to 300 and from y 200 up to 20.
double yPixel(double v, double lo, double hi) { return 200 - (v - lo) / (hi - lo) * 180; }

std::string png(XYChart* c) {
    MemBlock b = c->makeChart(Chart::PNG);
    return std::string(b.data, static_cast<size_t>(b.len));
}

XYChartPtr stackedGapChart() {
    static const std::vector<double> a{3, 4, 5, NV, 4, 6}, b{2, 3, NV, NV, 3, 2}, c{4, 2, 3, NV, 5, 4};
    XYChartPtr chart = newChart();
    AreaLayer* layer = chart->addAreaLayer();
    layer->addDataSet(arr(a), 0xcc3333);
    layer->addDataSet(arr(b), 0x33aa33);
    layer->addDataSet(arr(c), 0x3366cc);
    return chart;
}

XYChartPtr percentageGapChart() {
    static const std::vector<double> a{30, 20, 45, 50, 10}, b{50, NV, 30, 25, 60}, c{20, 40, NV, 25, 30};
    XYChartPtr chart = newChart();
    AreaLayer* layer = chart->addAreaLayer(Chart::Percentage);
    layer->addDataSet(arr(a), 0xdd8844);
    layer->addDataSet(arr(b), 0x4488dd);
    layer->addDataSet(arr(c), 0x88cc44);
    layer->setGapColor(0x999999);
    return chart;
}

XYChartPtr area3DChart() {
    static const std::vector<double> a{20, 35, 28, 50, 42, 60}, b{40, 32, 48, 37, 53, 45};
    XYChartPtr chart = newChart();
    AreaLayer* layer = chart->addAreaLayer(Chart::Overlay, 16);
    layer->addDataSet(arr(a), 0x66aaee);
    layer->addDataSet(arr(b), 0xee9944);
    return chart;
}

XYChartPtr stackOf(const std::vector<std::vector<double>>& sets, int method = Chart::Stack) {
    XYChartPtr c = newChart();
    AreaLayer* layer = c->addAreaLayer(method);
    int colors[] = {0xff0000, 0x00ff00, 0x0000ff, 0xffff00};
    for (size_t k = 0; k < sets.size(); ++k) layer->addDataSet(arr(sets[k]), colors[k % 4]);
    return c;
}

}  // namespace

TEST(AreaLayer, GoldenDumpsAndPictures) {
    struct Case {
        const char* name;
        XYChartPtr (*make)();
    } cases[] = {{"area_stacked_gap", stackedGapChart}, {"area_percentage_gap", percentageGapChart},
                 {"area_3d", area3DChart}};
    for (const Case& k : cases) {
        XYChartPtr c = k.make();
        EXPECT_TRUE(matchesGoldenText("chart", std::string(k.name) + ".agf", chartDump(c.get()))) << k.name;
        EXPECT_TRUE(matchesGoldenPNG("chart", std::string(k.name) + ".png", png(c.get()), 48)) << k.name;
    }
}

TEST(AreaLayer, StackTopsAreTheRunningSumsOnTheAxis) {
    // Random signed data: each area's top at each x is the sum of the values so far, placed on a
    // fixed axis by its own linear map, independent of the layer's arithmetic.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-3, 10);
    std::vector<std::vector<double>> sets(3, std::vector<double>(9));
    for (auto& s : sets)
        for (double& v : s) v = std::round(value(random) * 4) / 4;
    XYChartPtr c = stackOf(sets);
    c->yAxis()->setLinearScale(-10, 40);
    c->xAxis()->setLinearScale(0, 8);
    std::vector<FilledShape> shapes = filledShapes(chartDump(c.get()));
    ASSERT_EQ(shapes.size(), 3u);
    for (int i = 0; i < 9; ++i) {
        double x = 40 + 260.0 * i / 8, sum = 0;
        for (size_t ds = 0; ds < 3; ++ds) {
            sum += sets[ds][static_cast<size_t>(i)];
            // The top edge is where the polygon's vertices at this x are, one of them the sum.
            bool found = false;
            for (const Vertex& p : shapes[ds].vertices)
                if (std::fabs(p.x - x) < 1e-9 && std::fabs(p.y - yPixel(sum, -10, 40)) < 1e-9) found = true;
            EXPECT_TRUE(found) << "data set " << ds << " item " << i;
        }
    }
}

TEST(AreaLayer, StackingAndPercentageLevels) {
    // Signed values are summed as they come: levels 1 and 4, then 2 and 1.
    XYChartPtr c = stackOf({{1, 2}, {3, -1}});
    c->yAxis()->setLinearScale(0, 5);
    std::vector<FilledShape> s = filledShapes(chartDump(c.get()));
    ASSERT_EQ(s.size(), 2u);
    EXPECT_NEAR(topAt(s[0], 40), yPixel(1, 0, 5), 1e-9);
    EXPECT_NEAR(topAt(s[0], 300), yPixel(2, 0, 5), 1e-9);
    EXPECT_NEAR(topAt(s[1], 40), yPixel(4, 0, 5), 1e-9);
    // The second area folds back below the first's top at the second item.
    bool down = false;
    for (const Vertex& p : s[1].vertices) down = down || (p.x == 300 && std::fabs(p.y - yPixel(1, 0, 5)) < 1e-9);
    EXPECT_TRUE(down);

    // A column of zeros is shared equally: 50 and 100; the axis is the percentage axis.
    XYChartPtr z = stackOf({{0, 1}, {0, 3}}, Chart::Percentage);
    s = filledShapes(chartDump(z.get()));
    ASSERT_EQ(s.size(), 2u);
    EXPECT_NEAR(topAt(s[0], 40), yPixel(50, 0, 100), 1e-9);
    EXPECT_NEAR(topAt(s[1], 40), yPixel(100, 0, 100), 1e-9);
    EXPECT_NEAR(topAt(s[0], 300), yPixel(25, 0, 100), 1e-9);
}

TEST(AreaLayer, MissingValuesAndGapColours) {
    // A missing middle value with the others present: no thickness there, and nothing breaks.
    XYChartPtr c = stackOf({{1, 1, 1}, {2, NV, 2}, {1, 1, 1}});
    c->yAxis()->setLinearScale(0, 5);
    std::vector<FilledShape> s = filledShapes(chartDump(c.get()));
    ASSERT_EQ(s.size(), 3u);
    EXPECT_NEAR(topAt(s[1], 170), yPixel(1, 0, 5), 1e-9);
    EXPECT_NEAR(topAt(s[2], 170), yPixel(2, 0, 5), 1e-9);

    // Missing in every data set: each area is bridged in its own colour (one polygon each) ...
    const std::vector<std::vector<double>> hole{{1, NV, 1}, {2, NV, 2}};
    c = stackOf(hole);
    s = filledShapes(chartDump(c.get()));
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].fill, "0xff0000");
    // ... a transparent gap leaves the two sides apart (single points draw nothing) ...
    c = stackOf({{1, 1, NV, 1, 1}, {2, 2, NV, 2, 2}});
    dynamic_cast<AreaLayer*>(c->getLayer(0))->setGapColor(Chart::Transparent);
    s = filledShapes(chartDump(c.get()));
    ASSERT_EQ(s.size(), 4u);
    for (const FilledShape& f : s) EXPECT_TRUE(f.fill == "0xff0000" || f.fill == "0x00ff00");
    // ... and a gap colour of its own fills the break with a quadrilateral of that colour.
    c = stackOf({{1, 1, NV, 1, 1}, {2, 2, NV, 2, 2}});
    dynamic_cast<AreaLayer*>(c->getLayer(0))->setGapColor(0x808080);
    s = filledShapes(chartDump(c.get()));
    int gaps = 0;
    for (const FilledShape& f : s)
        if (f.fill == "0x808080") {
            ++gaps;
            EXPECT_EQ(f.vertices.size(), 4u);
            EXPECT_NEAR(f.vertices[0].x, 105, 1e-9);
            EXPECT_NEAR(f.vertices[1].x, 235, 1e-9);
        }
    EXPECT_EQ(gaps, 2);

    // An overlaid area breaks at its own missing values only.
    XYChartPtr o = newChart();
    o->addAreaLayer(arr({2, NV, 3}), 0xff0000)->setGapColor(Chart::Transparent);
    EXPECT_TRUE(filledShapes(chartDump(o.get())).empty());
}

TEST(AreaLayer, OddDataNeverCrashesNorBlowsTheAxis) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<double>> sets{{}, {5}, {NV}, {nan, nan}, {1, inf, -inf, 2}, {1e300, -1e300, 0},
                                                {NV, 2, NV, 3}};
    for (const auto& y : sets) {
        for (int method : {Chart::Overlay, Chart::Stack, Chart::Percentage}) {
            XYChartPtr c = newChart();
            AreaLayer* layer = c->addAreaLayer(method, 8);
            layer->addDataSet(arr(y));
            layer->addDataSet(arr(y));
            layer->setDataLabelFormat("{value} {percent} {accPercent}");
            layer->setAggregateLabelFormat("{totalValue}");
            EXPECT_FALSE(chartDump(c.get()).empty());
            c->makeChart(Chart::SVG);
            EXPECT_NE(layer->getImageCoor(0, 1), nullptr);
        }
        // On a log axis the base line 0 sits at the axis's low end.
        XYChartPtr log = newChart();
        log->yAxis()->setLogScale(1, 1000);
        log->addAreaLayer(arr(y));
        png(log.get());
    }
    // One infinite value leaves the axis scaled to the finite ones.
    XYChartPtr c = newChart();
    c->addAreaLayer(arr({1, inf, 3, 4}));
    c->layout();
    EXPECT_LT(c->yAxis()->getMaxValue(), 100);
    EXPECT_GE(c->yAxis()->getMaxValue(), 4);
}

TEST(AreaLayer, LongSeriesCostFollowsThePixels) {
    std::vector<double> y(400000);
    uint32_t state = 99;
    double v = 0;
    for (double& e : y) {
        state = state * 1664525u + 1013904223u;
        v += (state >> 8) / 16777216.0 - 0.5;
        e = v;
    }
    XYChartPtr c = newChart();
    c->addAreaLayer(arr(y));
    std::vector<FilledShape> s = filledShapes(chartDump(c.get()));
    ASSERT_EQ(s.size(), 1u);
    // At most four points a column along the top, and the base's two ends.
    EXPECT_LE(s[0].vertices.size(), 4u * 262 + 4u * 262);
    // A window of 50 points draws about 50 of them.
    c = newChart();
    c->xAxis()->setLinearScale(200000, 200049);
    c->addAreaLayer(arr(y));
    s = filledShapes(chartDump(c.get()));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_LE(s[0].vertices.size(), 2u * 52 + 8);
    for (const Vertex& p : s[0].vertices) {
        EXPECT_GE(p.x, 40);
        EXPECT_LE(p.x, 300);
    }
}

TEST(AreaLayer, LabelsSitInsideThickEnoughAreas) {
    XYChartPtr c = stackOf({{10, 10, 10}, {1, 1, 1}});
    c->yAxis()->setLinearScale(0, 20);
    AreaLayer* layer = dynamic_cast<AreaLayer*>(c->getLayer(0));
    layer->setDataLabelFormat("L{value}");
    auto count = [](const std::string& dump, const std::string& text) {
        size_t n = 0;
        for (size_t at = 0; (at = dump.find("Text(\"" + text + "\"", at)) != std::string::npos; ++at) ++n;
        return n;
    };
    std::string dump = chartDump(c.get());
    EXPECT_EQ(count(dump, "L10"), 3u);
    EXPECT_EQ(count(dump, "L1"), 3u);
    // The 9-pixel area holds no label once the minimum is 10 pixels.
    c = stackOf({{10, 10, 10}, {1, 1, 1}});
    c->yAxis()->setLinearScale(0, 20);
    layer = dynamic_cast<AreaLayer*>(c->getLayer(0));
    layer->setDataLabelFormat("L{value}");
    layer->setMinLabelSize(10);
    dump = chartDump(c.get());
    EXPECT_EQ(count(dump, "L10"), 3u);
    EXPECT_EQ(count(dump, "L1"), 0u);
}

TEST(AreaLayer, SwappedAxesTurnTheAreaAndItsHotSpots) {
    XYChartPtr c = newChart();
    c->swapXY();
    c->yAxis()->setLinearScale(0, 10);
    AreaLayer* layer = c->addAreaLayer(arr({2, 8}), 0xff0000);
    std::vector<FilledShape> s = filledShapes(chartDump(c.get()));
    ASSERT_EQ(s.size(), 1u);
    // x runs down the plot (first item at the bottom), values run right from the left edge.
    double maxX = 0;
    for (const Vertex& p : s[0].vertices) maxX = std::max(maxX, p.x);
    EXPECT_NEAR(maxX, 40 + 260 * 0.8, 1e-9);
    EXPECT_STREQ(layer->getImageCoor(0, 0), "shape=\"poly\" coords=\"92,200,92,110,40,110,40,200\"");
    EXPECT_STREQ(layer->getImageCoor(0, 5), "");
}

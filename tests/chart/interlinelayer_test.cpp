#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/linechart.h"
#include "chart/shapes.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const double NV = Chart::NoValue;

DoubleArray arr(const std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); }

// A rising and a falling line on fixed scales, and the band between them added once laid out.
struct Band {
    XYChartPtr chart;
    LineLayer* first;
    LineLayer* second;
};

Band band(const std::vector<double>& a, const std::vector<double>& b, bool swapped = false) {
    Band k{newChart(), nullptr, nullptr};
    if (swapped) k.chart->swapXY();
    k.chart->xAxis()->setLinearScale(0, static_cast<double>(a.size() - 1));
    k.chart->yAxis()->setLinearScale(0, 10);
    k.first = k.chart->addLineLayer(arr(a), 0x000000);
    k.second = k.chart->addLineLayer(arr(b), 0x0000ff);
    k.chart->layout();
    return k;
}

double maxX(const FilledShape& s) {
    double m = -1e300;
    for (const Vertex& p : s.vertices) m = std::max(m, p.x);
    return m;
}

double minX(const FilledShape& s) {
    double m = 1e300;
    for (const Vertex& p : s.vertices) m = std::min(m, p.x);
    return m;
}

}  // namespace

TEST(InterLineLayer, GoldenDumpAndPicture) {
    Band k = band({1, 6, 3, 8, 5, 9}, {7, 4, 6, 2, 7, 3});
    k.chart->addInterLineLayer(k.first->getLine(0), k.second->getLine(0), 0x66cc66, 0xcc6666);
    EXPECT_TRUE(matchesGoldenText("chart", "interline_crossing.agf", chartDump(k.chart.get())));
    MemBlock png = k.chart->makeChart(Chart::PNG);
    std::string bytes(png.data, static_cast<size_t>(png.len));
    EXPECT_TRUE(matchesGoldenPNG("chart", "interline_crossing.png", bytes, 48));
}

TEST(InterLineLayer, CutExactlyWhereTheLinesCross) {
    // 0 -> 10 against 9 -> 2: the difference 17t - 9 vanishes at t = 9/17.
    const double crossing = 40 + 260.0 * 9 / 17;
    Band k = band({0, 10}, {9, 2});
    k.chart->addInterLineLayer(k.first->getLine(0), k.second->getLine(0), 0x00ff00, 0xffff00);
    std::vector<FilledShape> s = filledShapes(chartDump(k.chart.get()));
    ASSERT_EQ(s.size(), 2u);
    // Before the crossing the second line is above: colour21; after it colour12.
    EXPECT_EQ(s[0].fill, "0xffff00");
    EXPECT_EQ(s[1].fill, "0x00ff00");
    EXPECT_NEAR(maxX(s[0]), crossing, 1e-9);
    EXPECT_NEAR(minX(s[1]), crossing, 1e-9);
    EXPECT_NEAR(topAt(s[0], 40), 200 - 18 * 9, 1e-9);

    // The picture agrees: two columns either side of the crossing, halfway between the lines.
    std::vector<uint32_t> px = pngPixels(k.chart.get());
    ASSERT_EQ(px.size(), 320u * 240u);
    int c = static_cast<int>(crossing);
    auto at = [&](int x) {
        double t = (x + 0.5 - 40) / 260, y = 200 - 18 * ((10 * t + 9 - 7 * t) / 2);
        return px[static_cast<size_t>(static_cast<int>(y) * 320 + x)] & 0xffffff;
    };
    EXPECT_EQ(at(c - 3), 0xffff00u);
    EXPECT_EQ(at(c + 4), 0x00ff00u);
}

TEST(InterLineLayer, StepsGapsAndMissingLines) {
    // A step line against a level line: the colours change at the riser, exactly at its x.
    XYChartPtr c = newChart();
    c->xAxis()->setLinearScale(0, 4);
    c->yAxis()->setLinearScale(0, 10);
    StepLineLayer* steps = c->addStepLineLayer(arr({2, 2, 8, 8, 8}), 0x000000);
    LineLayer* level = c->addLineLayer(arr({5, 5, 5, 5, 5}), 0x000000);
    c->layout();
    c->addInterLineLayer(steps->getLine(0), level->getLine(0), 0x00ff00, 0xff0000);
    std::vector<FilledShape> s = filledShapes(chartDump(c.get()));
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].fill, "0xff0000");
    EXPECT_NEAR(maxX(s[0]), 170, 1e-9);
    EXPECT_NEAR(minX(s[1]), 170, 1e-9);

    // Across a bridged missing value the gap colours take over.
    Band h = band({1, 2, NV, 2, 1}, {8, 8, 8, 8, 8});
    InterLineLayer* layer = h.chart->addInterLineLayer(h.first->getLine(0), h.second->getLine(0), 0x00ff00);
    layer->setGapColor(0x0000ff, 0x888888);
    s = filledShapes(chartDump(h.chart.get()));
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].fill, "0x00ff00");
    EXPECT_EQ(s[1].fill, "0x888888");  // the second line is above across the gap
    EXPECT_NEAR(minX(s[1]), 105, 1e-9);
    EXPECT_NEAR(maxX(s[1]), 235, 1e-9);
    EXPECT_EQ(s[2].fill, "0x00ff00");

    // A missing line, or one made before layout, draws nothing and breaks nothing.
    XYChartPtr m = newChart();
    LineLayer* only = m->addLineLayer(arr({1, 2, 3}));
    m->addInterLineLayer(only->getLine(0), nullptr, 0xff0000);
    m->addInterLineLayer(nullptr, nullptr, 0xff0000, 0x00ff00)->setGapColor(0x0000ff);
    EXPECT_TRUE(filledShapes(chartDump(m.get())).empty());
}

TEST(InterLineLayer, SwappedAxesKeepAboveMeaningLargerValues) {
    Band k = band({0, 10}, {9, 2}, true);
    k.chart->addInterLineLayer(k.first->getLine(0), k.second->getLine(0), 0x00ff00, 0xffff00);
    std::vector<FilledShape> s = filledShapes(chartDump(k.chart.get()));
    ASSERT_EQ(s.size(), 2u);
    // x runs up the plot from its bottom, so the part before the crossing (the second line
    // larger, further right) is the lower one.
    for (const FilledShape& f : s) {
        double top = 1e300, bottom = -1e300;
        for (const Vertex& p : f.vertices) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        bool before = f.fill == "0xffff00";
        EXPECT_NEAR(before ? bottom : top, before ? 200 : 20, 1e-9) << f.fill;
        EXPECT_NEAR(before ? top : bottom, 200 - 180.0 * 9 / 17, 1e-9) << f.fill;
    }
}

#include <gtest/gtest.h>

#include <plotvane/pyramidchart.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "barchart.h"
#include "draw/drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using plotvane_test::matchesGoldenPNG;
using plotvane_test::matchesGoldenText;
using plotvane_test::textDump;

namespace {

struct PyramidDeleter {
    void operator()(PyramidChart* c) const { c->destroy(); }
};
using PyramidPtr = std::unique_ptr<PyramidChart, PyramidDeleter>;

const int kColors[] = {0xe03030, 0x30b040, 0x3050e0, 0xe0c020, 0xa040c0, 0x20b0c0};

}  // namespace

// Seen level (elevation 0), layers meet in horizontal lines, so the colour runs down the axis give
// each layer's height: its share of the whole, from the base of a cone and from the top of a funnel.
TEST(PyramidChart, LayerHeightsFollowTheShares) {
    const double values[] = {10, 25, 5, 40, 20};
    for (bool funnel : {false, true}) {
        PyramidPtr c(PyramidChart::create(300, 300, 0xffffff));
        if (funnel) c->setFunnelSize(150, 150, 100, 200);
        else c->setConeSize(150, 150, 100, 200);
        c->setViewAngle(0);
        c->setLighting(1, 0, 0, 1);
        c->setData(DoubleArray(values, 5));
        for (int i = 0; i < 5; ++i) c->getLayer(i)->setColor(kColors[i]);
        DrawArea* d = c->makeChart();
        std::vector<int> rows(5, 0);
        for (int y = 40; y < 260; ++y) {
            const int px = d->getPixel(150, y) & 0xffffff;
            for (int i = 0; i < 5; ++i) rows[size_t(i)] += px == kColors[i];
        }
        for (int i = 0; i < 5; ++i) EXPECT_NEAR(rows[size_t(i)], 2 * values[i], 1.5) << "layer " << i;
        // Layer 0 lies at the base of a cone, at the top of a funnel.
        EXPECT_EQ(d->getPixel(150, funnel ? 55 : 245) & 0xffffff, kColors[0]);
    }
}

// Side labels of many thin layers, on both sides, never overlap and stay inside the chart when
// they fit; odd data gives a chart without the layers that have no number.
TEST(PyramidChart, LabelsApartAndOddDataSurvived) {
    std::vector<double> many;
    for (int i = 0; i < 40; ++i) many.push_back(1 + i % 5);
    PyramidPtr c(PyramidChart::create(400, 700));
    c->setPyramidSize(200, 350, 100, 600);
    c->setData(DoubleArray(many.data(), int(many.size())));
    c->setLeftLabel("{index}");
    c->setRightLabel("layer {index}");
    MemBlock png = c->makeChart(Chart::PNG);
    ASSERT_GT(png.len, 0);
    // The labels as drawn: text records at distinct rows, each line height apart.
    const std::string dump = textDump(c.get());
    std::vector<int> leftY, rightY;
    size_t at = 0;
    while ((at = dump.find("Text(\"", at)) != std::string::npos) {
        const size_t end = dump.find(')', at);
        const std::string rec = dump.substr(at, end - at);
        int x = 0, y = 0;
        const size_t args = rec.rfind("\", ");
        if (std::sscanf(rec.c_str() + args + 3, "%*d, %*d, %d, %d", &x, &y) == 2) (x < 200 ? leftY : rightY).push_back(y);
        at = end;
    }
    for (auto* ys : {&leftY, &rightY}) {
        ASSERT_EQ(ys->size(), 40u);
        std::sort(ys->begin(), ys->end());
        for (size_t i = 1; i < ys->size(); ++i) EXPECT_GE((*ys)[i] - (*ys)[i - 1], 8) << i;
        EXPECT_GE(ys->front(), 0);
        EXPECT_LE(ys->back(), 700);
    }

    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<double>> odd = {{}, {0, 0, 0}, {nan, 3, inf, -2}, {5}, {-inf}};
    for (const auto& data : odd) {
        PyramidPtr p(PyramidChart::create(200, 200));
        p->setFunnelSize(100, 100, 80, 150, 2, -1);
        p->setData(DoubleArray(data.data(), int(data.size())));
        p->setCenterLabel("{percent}");
        p->setPyramidSides(1);
        p->setViewAngle(-30, 10, 5);
        EXPECT_GT(p->makeChart(Chart::PNG).len, 0);
        EXPECT_EQ(p->getLayer(-1), nullptr);
        EXPECT_EQ(p->getLayer(int(data.size())), nullptr);
    }
}

namespace {

PyramidPtr goldenPyramid(int shape) {
    static const double values[] = {156, 123, 211, 179, 90};
    static const char* names[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};
    PyramidPtr c(PyramidChart::create(420, 320, 0xffffff));
    if (shape == 0) c->setPyramidSize(210, 160, 100, 260);
    if (shape == 1) c->setConeSize(210, 160, 100, 260);
    if (shape == 2) c->setFunnelSize(210, 160, 100, 260);
    c->setData(DoubleArray(values, 5), StringArray(names, 5));
    c->setRightLabel("{label}");
    c->setLeftLabel("{percent|1}%");
    c->setLayerGap(0.01);
    if (shape == 0) c->setLayerBorder(0xffffff);
    if (shape == 1) c->setGradientShading(1.3, 0.7);
    return c;
}

}  // namespace

TEST(PyramidChart, GoldenDumpsAndPictures) {
    const char* names[] = {"pyramid", "cone", "funnel"};
    for (int shape = 0; shape < 3; ++shape) {
        const std::string name = std::string(names[shape]) + "_labels";
        EXPECT_TRUE(matchesGoldenText("chart", name + ".agf", drawtest::withRelativeIds(textDump(goldenPyramid(shape).get()))));
        PyramidPtr c = goldenPyramid(shape);
        MemBlock png = c->makeChart(Chart::PNG);
        EXPECT_TRUE(matchesGoldenPNG("chart", name + ".png", std::string(png.data, size_t(png.len)), 48));
    }
}

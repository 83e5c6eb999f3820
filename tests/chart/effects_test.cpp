// Whole charts in the lit looks: stored pictures, as shading is judged by eye once and then kept.
// The charts carry no text, so a font engine update does not move them; the slack covers only
// rounding in the lighting arithmetic.
#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "chart/testlayer.h"
#include "support/golden.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

constexpr int kSlack = 4;

// A 360 x 240 chart with a white plot area, light grid and label-free axes; `depth` leaves room
// above and to the right for 3D layers.
XYPtr quietChart(int depth = 0) {
    XYPtr c = makeXYChart(360, 240);
    c->setPlotArea(30, 20 + depth, 310 - depth, 190 - depth, 0xffffff, -1, 0xc0c0c0, 0xe8e8e8, 0xe8e8e8);
    for (Axis* a : {c->xAxis(), c->yAxis()}) a->setLabelStyle("", 8, Chart::Transparent);
    return c;
}

// One bar layer per look, each with one data set; the looks stand side by side in every slot.
void addBarLooks(XYChart* c, const std::vector<std::function<void(BarLayer*)>>& looks, const double (&values)[4]) {
    static const int colors[] = {0x3366cc, 0xcc3366, 0x66aa33, 0xee9922};
    const int n = static_cast<int>(looks.size());
    for (int k = 0; k < n; ++k) {
        BarLayer* layer = c->addBarLayer(Chart::Side);
        double shifted[4];
        for (int i = 0; i < 4; ++i) shifted[i] = values[i] * (1 + 0.15 * k);
        layer->addDataSet(DoubleArray(shifted, 4), colors[k % 4]);
        layer->setBarWidth(20);
        looks[static_cast<size_t>(k)](layer);
        // Each look takes its own place in the slot, next to the others.
        double offset = -0.36 + 0.72 * k / std::max(n - 1, 1);
        layer->setXData(offset, 3 + offset);
    }
}

std::string pngOf(XYChart* c) {
    MemBlock png = c->makeChart(Chart::PNG);
    return std::string(png.data, static_cast<size_t>(png.len));
}

}  // namespace

TEST(LitChartsGolden, CylinderAndPhongBars) {
    XYPtr c = quietChart();
    const double values[4] = {42, 65, 30, 78};
    addBarLooks(c.get(),
                {[](BarLayer* l) { l->setBorderColor(Chart::Transparent, Chart::cylinderEffect()); },
                 [](BarLayer* l) { l->setBorderColor(Chart::Transparent, Chart::phongLighting()); },
                 [](BarLayer* l) {
                     l->setBorderColor(0x333333, Chart::cylinderEffect(Chart::DirectionHorizontal, 0.4, 0.6, 1.0, 20));
                 }},
                values);
    EXPECT_TRUE(matchesGoldenPNG("chart", "lit_bars_cylinder_phong.png", pngOf(c.get()), kSlack));
}

TEST(LitChartsGolden, GlassAndSoftLitBarsWithRoundedCorners) {
    XYPtr c = quietChart();
    const double values[4] = {42, -25, 30, 78};
    addBarLooks(c.get(),
                {[](BarLayer* l) {
                     l->setBorderColor(Chart::Transparent, Chart::glassEffect());
                     l->setRoundedCorners(8);
                 },
                 [](BarLayer* l) {
                     l->setBorderColor(Chart::Transparent, Chart::softLighting());
                     l->setRoundedCorners(6, 6, 6, 6);
                 },
                 [](BarLayer* l) {
                     l->setBorderColor(0x333333, Chart::glassEffect(Chart::ReducedGlare, Chart::Left));
                     l->setRoundedCorners(7, 4);
                 }},
                values);
    EXPECT_TRUE(matchesGoldenPNG("chart", "lit_bars_glass_soft_rounded.png", pngOf(c.get()), kSlack));
}

TEST(LitChartsGolden, ThreeDLinesShadedAsTubes) {
    XYPtr c = quietChart(24);
    const double a[] = {30, 45, 38, 52, 61, 58}, b[] = {22, 28, 35, 31, 40, 47}, low[] = {10, 16, 14, 22, 25, 18};
    LineLayer* layer = c->addLineLayer(Chart::Overlay, 24);
    layer->addDataSet(DoubleArray(a, 6), 0xe74c3c);
    layer->addDataSet(DoubleArray(b, 6), 0xf39c12);
    layer->addDataSet(DoubleArray(low, 6), 0x27ae60);
    layer->setBorderColor(Chart::Transparent, Chart::cylinderEffect());
    layer->setLineWidth(3);
    EXPECT_TRUE(matchesGoldenPNG("chart", "lit_line_tubes_3d.png", pngOf(c.get()), kSlack));
}

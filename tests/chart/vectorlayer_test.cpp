#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "chart/linechart.h"
#include "chart/shapes.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const double NV = Chart::NoValue;

DoubleArray arr(const std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); }

// A chart whose axes put value v at pixel 40 + 26 v across and 200 - 18 v up (both 0 to 10).
XYChartPtr fixedChart() {
    XYChartPtr c = newChart();
    c->xAxis()->setLinearScale(0, 10);
    c->yAxis()->setLinearScale(0, 10);
    return c;
}

struct Ends {
    double tipX, tipY, startX, startY;
    bool drawn;
};

// The arrow's tip and start from its hot spot (once laid out): the band around it, tip side first.
Ends endsOf(XYChart* c, VectorLayer* layer, int item) {
    c->layout();
    std::string text = layer->getImageCoor(0, item);
    if (text.empty()) return {0, 0, 0, 0, false};
    std::istringstream in(text.substr(text.find("coords=\"") + 8));
    std::vector<double> v;
    for (std::string n; std::getline(in, n, ',');) v.push_back(std::stod(n));
    return {(v[0] + v[2]) / 2, (v[1] + v[3]) / 2, (v[4] + v[6]) / 2, (v[5] + v[7]) / 2, true};
}

}  // namespace

TEST(VectorLayer, GoldenDumpAndPicture) {
    std::vector<double> x, y, len, dir;
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 3; ++j) {
            x.push_back(i * 2);
            y.push_back(j * 2.5);
            len.push_back(8 + 4 * j);
            dir.push_back(i * 40 + j * 25);
        }
    XYChartPtr c = fixedChart();
    c->addVectorLayer(arr(x), arr(y), arr(len), arr(dir), Chart::PixelScale, 0x2255aa);
    EXPECT_TRUE(matchesGoldenText("chart", "vector_field.agf", chartDump(c.get())));
    MemBlock png = c->makeChart(Chart::PNG);
    EXPECT_TRUE(matchesGoldenPNG("chart", "vector_field.png", std::string(png.data, static_cast<size_t>(png.len)), 48));
}

TEST(VectorLayer, DirectionsLengthsAndScales) {
    XYChartPtr c = fixedChart();
    // Up, right, and a negative length turned round to point left; then one axis unit across.
    VectorLayer* layer = c->addVectorLayer(arr({5, 5, 5, 5}), arr({5, 5, 5, 5}), arr({10, 10, -10, 1}),
                                           arr({0, 90, 90, 90}));
    Ends up = endsOf(c.get(), layer, 0), right = endsOf(c.get(), layer, 1), left = endsOf(c.get(), layer, 2);
    EXPECT_NEAR(up.startX, 170, 0.5);
    EXPECT_NEAR(up.startY, 110, 0.5);
    EXPECT_NEAR(up.tipX, 170, 0.5);
    EXPECT_NEAR(up.tipY, 100, 0.5);
    EXPECT_NEAR(right.tipX, 180, 0.5);
    EXPECT_NEAR(left.tipX, 160, 0.5);
    EXPECT_NEAR(left.tipY, 110, 0.5);
    EXPECT_NEAR(endsOf(c.get(), layer, 3).tipX, 171, 0.5);

    XYChartPtr x = fixedChart();
    layer = x->addVectorLayer(arr({5}), arr({5}), arr({2}), arr({90}), Chart::XAxisScale);
    EXPECT_NEAR(endsOf(x.get(), layer, 0).tipX, 170 + 52, 0.5);
    XYChartPtr y = fixedChart();
    layer = y->addVectorLayer(arr({5}), arr({5}), arr({-2}), arr({0}), Chart::YAxisScale);
    EXPECT_NEAR(endsOf(y.get(), layer, 0).tipY, 110 + 36, 0.5);  // turned round: down by two units
}

TEST(VectorLayer, EndPointsMarginsAndAlignment) {
    // Each arrow runs to the next point; the last has none.
    XYChartPtr c = fixedChart();
    VectorLayer* layer = c->addVectorLayer(arr({1, 4, 6}), arr({1, 5, 2}), arr({}), arr({}), Chart::EndPoints);
    Ends first = endsOf(c.get(), layer, 0);
    EXPECT_NEAR(first.startX, 66, 0.5);
    EXPECT_NEAR(first.startY, 182, 0.5);
    EXPECT_NEAR(first.tipX, 144, 0.5);
    EXPECT_NEAR(first.tipY, 110, 0.5);
    EXPECT_FALSE(endsOf(c.get(), layer, 2).drawn);
    // Given end points instead of the next point.
    XYChartPtr g = fixedChart();
    layer = g->addVectorLayer(arr({1}), arr({1}), arr({1}), arr({6}), Chart::EndPoints);
    EXPECT_NEAR(endsOf(g.get(), layer, 0).tipY, 92, 0.5);

    // Margins of 2: the arrow starts 2 pixels out and is 4 pixels shorter; 3 pixels vanish.
    XYChartPtr m = fixedChart();
    layer = m->addVectorLayer(arr({5, 5}), arr({5, 5}), arr({20, 3}), arr({90, 90}));
    layer->setVectorMargin(2);
    Ends e = endsOf(m.get(), layer, 0);
    EXPECT_NEAR(e.startX, 172, 0.5);
    EXPECT_NEAR(e.tipX, 188, 0.5);
    EXPECT_FALSE(endsOf(m.get(), layer, 1).drawn);

    // Centred on the point, and ending at it.
    layer->setVectorMargin(0, 0);
    layer->setArrowAlignment(Chart::Center);
    e = endsOf(m.get(), layer, 0);
    EXPECT_NEAR(e.startX, 160, 0.5);
    EXPECT_NEAR(e.tipX, 180, 0.5);
    layer->setArrowAlignment(Chart::TopCenter);
    EXPECT_NEAR(endsOf(m.get(), layer, 0).tipX, 170, 0.5);
}

TEST(VectorLayer, ShapesLabelsAndOddData) {
    XYChartPtr c = fixedChart();
    VectorLayer* layer =
        c->addVectorLayer(arr({5}), arr({5}), arr({40}), arr({90}), Chart::PixelScale, 0xff0000, "Wind");
    const int head[] = {0, 0, -6, 10, 0, 6, 6, 10};
    const int stem[] = {-2, 0, 2, 0, 2, 100, -2, 100};
    layer->setArrowHead(IntArray(head, 8));
    layer->setArrowStem(IntArray(stem, 8));
    layer->setDataLabelFormat("{dir}/{len}");
    std::string dump = chartDump(c.get());
    std::vector<FilledShape> s = filledShapes(dump);
    ASSERT_EQ(s.size(), 2u);
    // The stem spans from the start (170) to the head's back (10 pixels before the tip at 210);
    // the head has the user's four corners with its tip at 210.
    double lo = 1e300, hi = -1e300;
    for (const Vertex& p : s[0].vertices) {
        lo = std::min(lo, p.x);
        hi = std::max(hi, p.x);
    }
    EXPECT_NEAR(lo, 170, 1e-9);
    EXPECT_NEAR(hi, 200, 1e-9);
    ASSERT_EQ(s[1].vertices.size(), 4u);
    EXPECT_NEAR(s[1].vertices[0].x, 210, 1e-9);
    EXPECT_NE(dump.find("Text(\"90/40\""), std::string::npos);
    EXPECT_NE(c->getLayer(0)->getLegendIcon(0), nullptr);

    // A short polygon restores the defaults: a triangle head and a stroked stem.
    XYChartPtr d = fixedChart();
    layer = d->addVectorLayer(arr({5}), arr({5}), arr({40}), arr({90}));
    layer->setArrowHead(IntArray(head, 8));
    layer->setArrowStem(IntArray(stem, 8));
    layer->setArrowHead(IntArray(head, 4));
    layer->setArrowStem(IntArray());
    s = filledShapes(chartDump(d.get()));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].vertices.size(), 3u);

    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::vector<double> odd{nan, inf, -inf, NV, 0, 1e300, -1e300};
    for (int scale : {Chart::PixelScale, Chart::XAxisScale, Chart::YAxisScale, Chart::EndPoints, 99}) {
        XYChartPtr o = newChart();
        VectorLayer* v = o->addVectorLayer(arr(odd), arr(odd), arr(odd), arr(odd), scale);
        v->setArrowHead(-5, -5);
        v->setVectorMargin(nan, inf);
        v->setIconSize(-1, 100000);
        EXPECT_FALSE(chartDump(o.get()).empty());
        o->makeChart(Chart::PNG);
        for (int i = -1; i < 9; ++i) v->getImageCoor(0, i);
    }
}

TEST(VectorLayer, ArrowsStopAtThePlotEdges) {
    // Plot x runs from 40 to 300. Pointing right from x = 287: the stem crosses the right edge and
    // the head lies beyond it; the second arrow's head straddles the top edge (y = 20).
    XYChartPtr c = fixedChart();
    c->addVectorLayer(arr({9.5, 5}), arr({5, 8.5}), arr({60, 30}), arr({90, 0}), Chart::PixelScale, 0x2255aa);
    std::string dump = chartDump(c.get());
    std::vector<FilledShape> heads = filledShapes(dump);
    ASSERT_EQ(heads.size(), 1u);
    for (const Vertex& p : heads[0].vertices) {
        EXPECT_GE(p.y, 20 - 1e-9);
        EXPECT_LE(p.x, 300 + 1e-9);
    }
    std::istringstream in(dump);
    int stems = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Line(", 0) != 0 || line.find("0x2255aa") == std::string::npos) continue;
        ++stems;
        std::istringstream f(line.substr(5));
        std::vector<double> v;
        for (std::string n; v.size() < 4 && std::getline(f, n, ',');) v.push_back(std::stod(n));
        EXPECT_LE(std::max(v[0], v[2]), 300 + 1e-9) << line;
        EXPECT_GE(std::min(v[1], v[3]), 20 - 1e-9) << line;
    }
    EXPECT_EQ(stems, 2);
}

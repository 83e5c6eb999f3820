#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "draw/drawtest.h"
#include "draw/imageoracle.h"
#include "support/golden.h"

using namespace plotvane;
using plotvane_test::LibpngView;
using plotvane_test::matchesGoldenPNG;
using plotvane_test::matchesGoldenText;
using plotvane_test::readWithLibpng;

namespace {

using ChartPtr = Owned<BaseChart>;

LibpngView pictureOf(BaseChart* c) {
    MemBlock b = c->makeChart(Chart::PNG);
    return readWithLibpng(std::string(b.data ? b.data : "", static_cast<size_t>(std::max(b.len, 0))));
}

uint32_t pixelAt(const LibpngView& v, int x, int y) { return v.pixels[static_cast<size_t>(y * v.width + x)] & 0xffffff; }

}  // namespace

TEST(MultiChart, MembersArePaintedInOrderAtTheirPlaces) {
    ChartPtr empty(MultiChart::create(60, 40, 0x123456));
    LibpngView bare = pictureOf(empty.get());
    ASSERT_TRUE(bare.ok);
    for (uint32_t p : bare.pixels) ASSERT_EQ(p & 0xffffff, 0x123456u);

    ChartPtr red(XYChart::create(40, 30, 0xff0000)), blue(XYChart::create(40, 30, 0x0000ff));
    MultiChart* m = MultiChart::create(100, 60, 0xffffff);
    ChartPtr owner(m);
    m->addChart(10, 10, red.get());
    m->addChart(30, 20, blue.get());  // overlaps the red one
    m->addChart(0, 0, nullptr);
    EXPECT_EQ(m->getChartCount(), 2);
    LibpngView v = pictureOf(m);
    ASSERT_TRUE(v.ok);
    EXPECT_EQ(pixelAt(v, 5, 5), 0xffffffu);
    EXPECT_EQ(pixelAt(v, 15, 15), 0xff0000u);
    EXPECT_EQ(pixelAt(v, 45, 35), 0x0000ffu);  // the later member covers the earlier
    EXPECT_EQ(pixelAt(v, 65, 45), 0x0000ffu);
    EXPECT_EQ(pixelAt(v, 75, 55), 0xffffffu);
    // Vector output carries the members too.
    EXPECT_GT(m->makeChart(Chart::SVG).len, empty->makeChart(Chart::SVG).len);
}

TEST(MultiChart, OffsetsAddUpThroughNestingAndStopAtCycles) {
    auto* outer = MultiChart::create(300, 300);
    auto* inner = MultiChart::create(200, 200);
    ChartPtr o(outer), i(inner), leaf(XYChart::create(50, 50));
    outer->addChart(100, 50, inner);
    inner->addChart(20, 30, leaf.get());
    EXPECT_EQ(leaf->getAbsOffsetX(), 120);
    EXPECT_EQ(leaf->getAbsOffsetY(), 80);
    EXPECT_EQ(inner->getAbsOffsetX(leaf.get()), 120);
    EXPECT_EQ(outer->getAbsOffsetY(inner), 50);
    EXPECT_EQ(outer->getAbsOffsetX(leaf.get()), 0);  // not a direct member

    EXPECT_EQ(outer->getChart(-1), nullptr);
    outer->setMainChart(inner);
    EXPECT_EQ(outer->getChart(-1), inner);
    EXPECT_EQ(outer->getChart(outer->getChartCount()), nullptr);
    EXPECT_EQ(outer->getChart(-2), nullptr);

    // A cycle answers instead of recursing forever.
    inner->addChart(5, 5, outer);
    EXPECT_GE(leaf->getAbsOffsetX(), 0);
}

TEST(MultiChart, PieBesideTwoXYChartsGolden) {
    // A dashboard of three members, without text so that font updates leave it alone: a pie on
    // the left, a line chart and a bar chart stacked on the right over the shared background.
    const double shares[] = {35, 25, 20, 12, 8}, line[] = {3, 5, 4, 7, 6, 8}, bars[] = {2, 6, 3, 5};
    Owned<PieChart> pie(PieChart::create(200, 200, Chart::Transparent));
    PieChart* p = pie.get();
    p->setPieSize(100, 100, 80);
    p->setData(DoubleArray(shares, 5));
    p->setLabelFormat(" ");
    auto xy = [](int bg) {
        XYChart* c = XYChart::create(260, 110, bg);
        c->setPlotArea(20, 10, 220, 80, 0xffffff, -1, 0x888888, 0xdddddd);
        for (Axis* a : {c->xAxis(), c->yAxis()}) a->setColors(0x000000, Chart::Transparent);
        return c;
    };
    Owned<XYChart> top(xy(0xeef4fb)), bottom(xy(0xfbf1e8));
    top->addLineLayer(DoubleArray(line, 6), 0x2255aa)->setLineWidth(2);
    bottom->addBarLayer(DoubleArray(bars, 4), 0xcc6633);
    MultiChart* m = MultiChart::create(480, 240, 0xf4f4f4, 0x444444);
    ChartPtr owner(m);
    m->addChart(10, 20, pie.get());
    m->addChart(210, 10, top.get());
    m->addChart(210, 125, bottom.get());
    m->setMainChart(top.get());
    EXPECT_EQ(m->getChart(-1), static_cast<BaseChart*>(top.get()));
    MemBlock dump = m->makeChart(8);
    EXPECT_TRUE(matchesGoldenText("chart", "multi_pie_xy.agf",
                                  drawtest::withRelativeIds(std::string(dump.data, static_cast<size_t>(dump.len)))));
    MemBlock png = m->makeChart(Chart::PNG);
    EXPECT_TRUE(matchesGoldenPNG("chart", "multi_pie_xy.png", std::string(png.data, static_cast<size_t>(png.len)), 48));
}

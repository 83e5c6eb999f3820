#include <plotvane/chart.h>
#include <plotvane/drawarea.h>
#include <plotvane/xychart.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "chart/testchart.h"
#include "chart/testlayer.h"
#include "draw/drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

// A small chart with data on both y axes and all four axes in use, labels hidden so that the
// dump holds no text (and no font metrics).
XYPtr fourAxisChart() {
    XYPtr c = makeXYChart(320, 240);
    c->setPlotArea(40, 30, 240, 170, 0xf4f4f4, -1, -1, 0xc0c0c0, 0xd0d0d0);
    addBlocks(c.get(), {-20, 35, 60, 10}, 0x3366cc);
    Layer* second = addBlocks(c.get(), {2, 4, 3, 5}, 0xcc3333);
    second->setUseYAxis2();
    c->xAxis2()->setLinearScale(0, 3, 1);
    for (Axis* a : {c->xAxis(), c->xAxis2(), c->yAxis(), c->yAxis2()}) a->setLabelStyle("", 8, Chart::Transparent);
    return c;
}

std::string dumpFor(XYChart* c) { return drawtest::withRelativeIds(dumpOf(c->makeChart())); }

}  // namespace

TEST(XYChartGolden, PlotAreaBackgroundsGridsAndAxes) {
    struct Case {
        const char* name;
        std::function<void(XYChart*)> setUp;
    };
    const Case cases[] = {
        {"plain_grid", [](XYChart*) {}},
        {"minor_grid",
         [](XYChart* c) {
             c->yAxis()->setTickDensity(40, 10);
             c->getPlotArea()->setGridColor(0x999999, 0xbbbbbb, 0xeeeeee, 0xdddddd);
             c->getPlotArea()->setGridWidth(2, 1, 1, 1);
         }},
        {"bands_horizontal", [](XYChart* c) { c->getPlotArea()->setBackground(0xffffff, 0xe8f0ff, 0x000080); }},
        {"bands_vertical", [](XYChart* c) { c->getPlotArea()->setAltBgColor(false, 0xfff8e8, Chart::Transparent); }},
        {"four_quadrants",
         [](XYChart* c) {
             c->getPlotArea()->set4QBgColor(0xffe0e0, 0xe0ffe0, 0xe0e0ff, 0xffffe0);
             c->setAxisAtOrigin(Chart::XYAxisAtOrigin, Chart::XAxisSymmetric);
         }},
        {"swapped_axes_on_far_sides",
         [](XYChart* c) {
             c->swapXY();
             c->setXAxisOnTop();
             c->setYAxisOnRight();
         }},
        {"marks_zones_depth",
         [](XYChart* c) {
             c->yAxis()->addZone(20, 40, 0xfff0c0);
             c->xAxis()->addZone(0.5, 1.5, 0x80c0ffc0);
             c->yAxis()->addMark(50, 0xff0000)->setLineWidth(2);
             c->yAxis2()->addMark(3, 0x008000)->setDrawOnTop(true);
             c->getLayer(0)->set3D(8);
             c->addAxis(Chart::Left, 40)->setLinearScale(0, 1, 0.25);
         }},
    };
    for (const Case& k : cases) {
        XYPtr c = fourAxisChart();
        k.setUp(c.get());
        EXPECT_TRUE(matchesGoldenText("chart", std::string("plotarea_") + k.name + ".agf", dumpFor(c.get()))) << k.name;
    }
}

TEST(XYChart, AxisSidesFollowSwapAndFlags) {
    XYPtr c = makeXYChart();
    EXPECT_EQ(c->xAxis()->getAlignment(), Chart::Bottom);
    EXPECT_EQ(c->xAxis2()->getAlignment(), Chart::Top);
    EXPECT_EQ(c->yAxis()->getAlignment(), Chart::Left);
    EXPECT_EQ(c->yAxis2()->getAlignment(), Chart::Right);
    c->setYAxisOnRight();
    EXPECT_EQ(c->yAxis()->getAlignment(), Chart::Right);
    EXPECT_EQ(c->yAxis2()->getAlignment(), Chart::Left);
    c->swapXY();
    EXPECT_EQ(c->xAxis()->getAlignment(), Chart::Left);
    EXPECT_EQ(c->yAxis()->getAlignment(), Chart::Top);
    c->setXAxisOnTop();
    EXPECT_EQ(c->xAxis()->getAlignment(), Chart::Right);
    EXPECT_EQ(c->addAxis(Chart::Center, 10), nullptr);
    EXPECT_EQ(c->addAxis(7, 10), nullptr);
    Axis* extra = c->addAxis(Chart::Bottom, 30);
    ASSERT_NE(extra, nullptr);
    c->setPlotArea(20, 20, 200, 100);
    c->layoutAxes();
    EXPECT_EQ(extra->getY(), 150);
}

TEST(XYChart, LayerOrderAndTheGrid) {
    XYPtr c = makeXYChart(300, 200);
    c->setPlotArea(20, 20, 260, 160, Chart::Transparent, -1, -1, 0x00ff00);
    Layer* a = addBlocks(c.get(), {1, 2}, 0x0000a1);
    Layer* b = addBlocks(c.get(), {1, 2}, 0x0000b1);
    Layer* l3 = addBlocks(c.get(), {1, 2}, 0x0000c1);
    EXPECT_EQ(c->getLayerCount(), 3);
    EXPECT_EQ(c->getLayer(0), a);
    EXPECT_EQ(c->getLayerByZ(0), l3) << "added last, drawn first";
    EXPECT_EQ(c->getLayer(3), nullptr);
    EXPECT_EQ(c->getLayerByZ(-1), nullptr);
    l3->moveFront();
    EXPECT_EQ(c->getLayerByZ(0), b);
    a->moveBack(l3);
    EXPECT_EQ(c->getLayerByZ(2), l3);
    EXPECT_EQ(c->getLayerByZ(1), a);
    c->getPlotArea()->moveGridBefore(a);  // a and b under the grid
    Layer* d = addBlocks(c.get(), {1, 2}, 0x0000d1);
    std::vector<std::string> lines = linesOf(dumpOf(c->makeChart()));
    int grid = lineWith(lines, "0x00ff00");
    ASSERT_GE(grid, 0);
    EXPECT_LT(lineWith(lines, "0x0000b1"), grid);
    EXPECT_LT(lineWith(lines, "0x0000a1"), grid);
    EXPECT_GT(lineWith(lines, "0x0000d1"), grid) << "a new layer goes in front of the grid";
    EXPECT_GT(lineWith(lines, "0x0000c1"), lineWith(lines, "0x0000d1"));
    (void)d;
}

TEST(XYChart, ClippingBorderAndHiddenAxes) {
    {
        XYPtr c = makeXYChart(300, 200);
        c->setPlotArea(20, 30, 200, 100);
        addBlocks(c.get(), {1, 2});
        c->setClipping(5);
        std::vector<std::string> lines = linesOf(dumpOf(c->makeChart()));
        EXPECT_GE(lineWith(lines, "SetClipRect(15, 25, 225, 135)"), 0);
        EXPECT_GE(lineWith(lines, "RoundedRect(20, 30, 220, 130, 0, 0x000000, Chart.Transparent)"), 0) << "border";
        // Nothing was bound to yAxis2: its line does not show.
        EXPECT_EQ(lineWith(lines, "Line(220, 130, 220, 30"), -1);
    }
    {
        XYPtr c = makeXYChart(300, 200);
        c->setPlotArea(20, 30, 200, 100);
        addBlocks(c.get(), {-1, 2});
        c->setAxisAtOrigin();
        std::vector<std::string> lines = linesOf(dumpOf(c->makeChart()));
        EXPECT_EQ(lineWith(lines, "SetClipRect"), -1);
        EXPECT_EQ(lineWith(lines, "Chart.Transparent)"), -1) << "no border";
        int zero = c->getYCoor(0);
        EXPECT_GE(lineWith(lines, "Line(20, " + std::to_string(zero) + ", 220, " + std::to_string(zero)), 0)
            << "the x axis runs through y = 0";
    }
}

TEST(XYChart, PackPlotAreaMakesRoomForAxes) {
    XYPtr c = makeXYChart(400, 300);
    c->setPlotArea(0, 0, 100, 100);
    addBlocks(c.get(), {100, 2000});
    c->yAxis()->setTitle("Y");
    c->packPlotArea(10, 20, 390, 280);
    PlotArea* p = c->getPlotArea();
    int left = c->yAxis()->getThickness();
    int bottom = c->xAxis()->getThickness();
    EXPECT_GT(left, 10);
    EXPECT_EQ(p->getLeftX(), 10 + left);
    EXPECT_EQ(p->getRightX(), 390);
    EXPECT_EQ(p->getTopY(), 20);
    EXPECT_EQ(p->getBottomY(), 280 - bottom);
    EXPECT_EQ(c->getYCoor(c->yAxis()->getMinValue()), p->getBottomY()) << "axes laid out for the new rectangle";

    // Too narrow: the rectangle widens around the plot in proportion to the axes. With no right
    // axis the whole shortage (100 + left) goes to the left.
    c->packPlotArea(0, 0, 100, 100, 200);
    EXPECT_EQ(p->getWidth(), 200);
    EXPECT_EQ(p->getLeftX(), -100);
    std::string metrics = c->getChartMetrics();
    EXPECT_NE(metrics.find("vw=200"), std::string::npos) << metrics;
}

TEST(XYChart, ZoneColoursSplitAtTheAxisValue) {
    XYPtr c = makeXYChart(300, 200);
    c->setPlotArea(20, 20, 200, 100);
    addBlocks(c.get(), {0, 100});
    c->yAxis()->setLinearScale(0, 100);
    int zone = c->yZoneColor(50, 0xff0000, 0x0000ff);
    c->getPlotArea()->setBackground(zone);
    std::vector<std::string> lines = linesOf(dumpOf(c->makeChart()));
    // Pixels past the split (below it on screen) are below the value.
    EXPECT_GE(lineWith(lines, "ZoneColor(0xfffe0000, true, 70, 0xff0000, 0x0000ff)"), 0);
}

TEST(XYChart, ZoneColoursFollowAxesTurnedAfterTheColourIsMade) {
    // Each case turns the axes round after the zone colours exist; the colours must still fall on
    // the side of the threshold they were given for.
    struct Case {
        const char* name;
        std::function<void(XYChart*)> turn;
    };
    const Case cases[] = {
        {"plain", [](XYChart*) {}},
        {"reversed", [](XYChart* c) { c->yAxis()->setReverse(); c->xAxis()->setReverse(); }},
        {"upside down", [](XYChart* c) { c->yAxis()->setLinearScale(100, 0); c->xAxis()->setLinearScale(1, 0); }},
        {"synced backwards", [](XYChart* c) { c->syncYAxis(-1, 100); }},
        {"swapped", [](XYChart* c) { c->swapXY(); }},
        {"swapped and reversed", [](XYChart* c) { c->swapXY(); c->yAxis()->setReverse(); c->xAxis()->setReverse(); }},
    };
    const int below = 0xff0000, above = 0x0000ff;
    for (const Case& k : cases) {
        for (bool onY : {true, false}) {
            XYPtr c = makeXYChart(300, 200);
            c->setPlotArea(20, 20, 200, 100, Chart::Transparent, -1, -1, Chart::Transparent);
            addBlocks(c.get(), {0, 100}, Chart::Transparent);
            const Axis* axis = onY ? (std::string(k.name) == "synced backwards" ? c->yAxis2() : c->yAxis()) : c->xAxis();
            double threshold = onY ? 30 : 0.5, low = onY ? 10 : 0.2, high = onY ? 60 : 0.8;
            int zone = onY ? c->yZoneColor(threshold, below, above, axis) : c->xZoneColor(threshold, below, above);
            c->getPlotArea()->setBackground(zone);
            k.turn(c.get());
            DrawArea* d = c->makeChart();
            // The pixel where the axis puts v, half way across the plot area in the other direction.
            bool axisVertical = onY != (std::string(k.name).rfind("swapped", 0) == 0);
            auto colourAt = [&](double v) {
                int along = onY ? c->getYCoor(v, axis) : c->getXCoor(v);
                return axisVertical ? d->getPixel(120, along) : d->getPixel(along, 70);
            };
            EXPECT_EQ(colourAt(low), below) << k.name << (onY ? " y" : " x");
            EXPECT_EQ(colourAt(high), above) << k.name << (onY ? " y" : " x");
        }
    }
}

TEST(XYChart, MarkLineCanBeRestyled) {
    XYPtr c = makeXYChart(300, 200);
    c->setPlotArea(20, 20, 200, 100);
    addBlocks(c.get(), {0, 100});
    c->yAxis()->setLinearScale(0, 100);
    Mark* mark = c->yAxis()->addMark(50, 0xff0000);
    Line* line = mark->getLine();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(mark->getLine(), line);
    line->setColor(0x00aa00);
    line->setWidth(3);
    Mark* hidden = c->xAxis()->addMark(0.5, 0x0000ff);
    hidden->getLine()->setWidth(0);
    Mark* recoloured = c->yAxis()->addMark(20, 0x0000ff);
    recoloured->getLine()->setColor(0x123456);
    recoloured->setMarkColor(0x654321);
    std::vector<std::string> lines = linesOf(dumpOf(c->makeChart()));
    // The mark places its line across the plot area at its value.
    EXPECT_GE(lineWith(lines, "Line(20, 70, 220, 70, 0x00aa00, 3)"), 0);
    EXPECT_EQ(lineWith(lines, "0x0000ff, "), -1);
    EXPECT_GE(lineWith(lines, "Line(20, 100, 220, 100, 0x654321, 1)"), 0);
}

#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "chart/testchart.h"
#include "chart/testlayer.h"
#include "draw/drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

XYPtr chartWith(const std::function<void(XYChart*)>& setUp) {
    XYPtr c = makeXYChart(320, 240);
    c->setPlotArea(60, 30, 220, 160);
    addBlocks(c.get(), {12, 47, 30, 85}, 0x3366cc);
    c->xAxis()->setTitle("Item");
    c->yAxis()->setTitle("Value");
    c->yAxis()->setLinearScale(0, 100, 20);
    setUp(c.get());
    return c;
}

std::string dumpOf(XYChart* c) { return drawtest::withRelativeIds(plotvane_test::dumpOf(c->makeChart())); }

}  // namespace

TEST(SlantedAxis, AnAngleAlongTheSideDrawsAsTheUprightAxis) {
    XYPtr upright = chartWith([](XYChart*) {});
    XYPtr turned = chartWith([](XYChart* c) {
        c->xAxis()->setAngle(90);
        c->yAxis()->setAngle(360);
    });
    turned->layout();
    upright->layout();
    EXPECT_EQ(turned->xAxis()->getThickness(), upright->xAxis()->getThickness());
    EXPECT_EQ(turned->yAxis()->getThickness(), upright->yAxis()->getThickness());
    EXPECT_EQ(dumpOf(turned.get()), dumpOf(upright.get()));
}

TEST(SlantedAxis, TurnedAxesCountTicksAndRoomByTheirDirection) {
    // A left axis laid down flat has labels running along it: one interval per 50 pixels.
    XYPtr flat = chartWith([](XYChart* c) {
        c->yAxis()->setLinearScale(Chart::NoValue, Chart::NoValue);
        c->yAxis()->setAngle(90);
    });
    XYPtr upright = chartWith([](XYChart* c) { c->yAxis()->setLinearScale(Chart::NoValue, Chart::NoValue); });
    flat->layout();
    upright->layout();
    EXPECT_LT(flat->yAxis()->getTicks().len, upright->yAxis()->getTicks().len);

    // Leaning outward, the labels and title reach further from the plot than upright ones, and
    // every label still stands outside the plot area.
    XYPtr leaning = chartWith([](XYChart* c) { c->yAxis()->setAngle(330); });
    leaning->layout();
    EXPECT_GT(leaning->yAxis()->getThickness(), 0);
    std::string dump = dumpOf(leaning.get());
    for (const std::string& l : linesOf(dump)) {
        if (l.find("Text(\"") == std::string::npos || l.find("Item") != std::string::npos) continue;
        if (l.find("0x000000)") == std::string::npos) continue;
        int a, b, x, y;
        size_t at = l.find("\", ");
        if (std::sscanf(l.c_str() + at + 3, "%d, %d, %d, %d", &a, &b, &x, &y) != 4) continue;
        if (y > 190) continue;  // the x axis's labels
        EXPECT_LT(x, 60) << l;
    }
    // Bad angles are ignored.
    XYPtr ignored = chartWith([](XYChart* c) { c->yAxis()->setAngle(Chart::NoValue * 10); });
    XYPtr plain = chartWith([](XYChart*) {});
    EXPECT_EQ(dumpOf(ignored.get()), dumpOf(plain.get()));
}

TEST(SlantedAxis, GoldenDump) {
    XYPtr c = chartWith([](XYChart* chart) {
        chart->yAxis()->setAngle(340);
        chart->xAxis()->setAngle(75);
        chart->yAxis()->setTickLength(4, 2);
        chart->yAxis()->setLinearScale(0, 100, 20, 10);
    });
    EXPECT_TRUE(matchesGoldenText("chart", "axis_slanted.agf", dumpOf(c.get())));
}

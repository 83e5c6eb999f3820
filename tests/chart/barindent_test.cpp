#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <string>

#include "chart/barchart.h"
#include "draw/drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const double kValues[] = {5, 8, 3, 6};
const double kNumericX[] = {10, 20, 30, 40};

// Four bars on a numeric x axis: the data's own x values, or their indices when none are given.
XYPtr numericBars(bool withX, bool indent = true) {
    XYPtr c = makeXYChart(320, 240);
    c->setPlotArea(50, 40, 240, 160);
    if (!indent) c->xAxis()->setIndent(false);
    BarLayer* layer = c->addBarLayer(DoubleArray(kValues, 4), 0x3366cc);
    if (withX) layer->setXData(DoubleArray(kNumericX, 4));
    layer->setMinImageMapSize(0);
    return c;
}

}  // namespace

TEST(BarIndent, BarsOnANumericAxisStayInsideThePlotArea) {
    for (bool withX : {false, true}) {
        XYPtr c = numericBars(withX);
        c->layout();
        Layer* layer = c->getLayer(0);
        Rect first = barRect(layer, 0, 0), last = barRect(layer, 0, 3);
        ASSERT_TRUE(first.valid && last.valid) << withX;
        EXPECT_GT(first.left, 50) << withX;
        EXPECT_LT(last.right, 290) << withX;
        // Half a step of room at least: the axis reaches beyond the outer x values.
        EXPECT_LE(c->xAxis()->getMinValue(), withX ? 5 : -0.5) << withX;
        EXPECT_GE(c->xAxis()->getMaxValue(), withX ? 45 : 3.5) << withX;
    }
    // Without the indent the axis ends at the outer bars' centres and cuts them in half.
    XYPtr flat = numericBars(true, false);
    flat->layout();
    EXPECT_LT(barRect(flat->getLayer(0), 0, 0).left, 50);
    EXPECT_EQ(flat->xAxis()->getMinValue(), 10);

    // A single bar gets a step of 1 around it; a log x axis keeps its lower end above zero.
    XYPtr one = makeXYChart(320, 240);
    one->setPlotArea(50, 40, 240, 160);
    const double x = 0.25;
    BarLayer* single = one->addBarLayer(DoubleArray(kValues, 1));
    single->setXData(DoubleArray(&x, 1));
    one->xAxis()->setLogScale(true);
    one->layout();
    EXPECT_GT(one->xAxis()->getMinValue(), 0);
    EXPECT_GE(one->xAxis()->getMaxValue(), 0.75);
}

TEST(BarIndent, GoldenDump) {
    XYPtr c = numericBars(true);
    EXPECT_TRUE(matchesGoldenText("chart", "bar_numeric_x.agf", drawtest::withRelativeIds(textDump(c.get()))));
}

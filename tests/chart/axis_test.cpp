#include <plotvane/chart.h>
#include <plotvane/xychart.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "chart/testlayer.h"
#include "chart/xy/axis_p.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

std::vector<double> ticksOf(Axis* a) {
    DoubleArray t = a->getTicks();
    return std::vector<double>(t.data, t.data + t.len);
}

// A chart whose y axis is 200 pixels long and x axis 300, with one layer of the given data.
XYPtr chartWith(const std::vector<double>& data) {
    XYPtr c = makeXYChart(400, 300);
    c->setPlotArea(50, 50, 300, 200);
    addBlocks(c.get(), data);
    return c;
}

}  // namespace

TEST(Axis, AutoScaleFromLayerData) {
    {
        XYPtr c = chartWith({0, 100});
        c->yAxis()->setAutoScale(0, 0, 0);
        c->layoutAxes();
        std::vector<double> t = ticksOf(c->yAxis());
        ASSERT_EQ(t.size(), 11u);
        EXPECT_EQ(t.front(), 0);
        EXPECT_EQ(t.back(), 100);
        EXPECT_STREQ(c->yAxis()->getLabel(50), "50");
        EXPECT_EQ(c->getYCoor(0), 250);
        EXPECT_EQ(c->getYCoor(100), 50);
    }
    {
        // Four of five intervals above zero, one below, the step covering both sides.
        XYPtr c = chartWith({-30, 70});
        c->yAxis()->setAutoScale(0, 0, 0);
        c->yAxis()->setTickDensity(40);
        c->layoutAxes();
        EXPECT_EQ(c->yAxis()->getMinValue(), -50);
        EXPECT_EQ(c->yAxis()->getMaxValue(), 100);
        EXPECT_EQ(ticksOf(c->yAxis()), (std::vector<double>{-50, 0, 50, 100}));
    }
    {
        // The chart's defaults for a y axis: 10% head-room and a strong pull to zero.
        XYPtr c = chartWith({3, 97});
        c->layoutAxes();
        EXPECT_EQ(c->yAxis()->getMinValue(), 0);
        EXPECT_EQ(c->yAxis()->getMaxValue(), 120);
        // An enumerated x axis gets no extensions: 0 and 1 at the ends.
        EXPECT_EQ(c->getXCoor(0), 50);
        EXPECT_EQ(c->getXCoor(1), 350);
    }
    {
        XYPtr c = chartWith({5});
        c->yAxis()->setAutoScale(0, 0, 0);
        c->yAxis()->setRounding(false, false);
        c->layoutAxes();
        EXPECT_DOUBLE_EQ(c->yAxis()->getMinValue(), 2.5);
        EXPECT_DOUBLE_EQ(c->yAxis()->getMaxValue(), 7.5);
    }
    {
        XYPtr c = chartWith({0, 0});
        c->yAxis()->setAutoScale(0, 0, 0);
        c->layoutAxes();
        EXPECT_EQ(c->yAxis()->getMinValue(), 0);
        EXPECT_EQ(c->yAxis()->getMaxValue(), 100);
    }
}

TEST(Axis, DegenerateDataKeepsTheChartDrawable) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // No layer, a layer of missing values, NaN, and values at the edge of the double range.
    std::vector<std::vector<double>> cases = {{}, {Chart::NoValue, Chart::NoValue}, {nan, nan}, {-1e300, 1e300}, {1e300},
                                              {-1e300}};
    for (size_t k = 0; k < cases.size(); ++k) {
        XYPtr c = makeXYChart(400, 300);
        c->setPlotArea(50, 50, 300, 200);
        if (k > 0) addBlocks(c.get(), cases[k]);
        MemBlock dump = c->makeChart(8);
        EXPECT_GT(dump.len, 0) << k;
        double lo = c->yAxis()->getMinValue(), hi = c->yAxis()->getMaxValue();
        if (k < 3) {
            EXPECT_EQ(lo, Chart::NoValue) << k;
            EXPECT_TRUE(ticksOf(c->yAxis()).empty()) << k;
            EXPECT_EQ(c->getYCoor(1), Chart::NoIntValue) << k;
            continue;
        }
        ASSERT_TRUE(std::isfinite(lo) && std::isfinite(hi) && lo < hi) << k;
        EXPECT_LE(ticksOf(c->yAxis()).size(), 10001u) << k;
        int p = c->getYCoor(cases[k][0]);
        EXPECT_GE(p, 40) << k;
        EXPECT_LE(p, 260) << k;
    }
}

TEST(Axis, InfinitiesAreMissingAndTheWholeDoubleRangeFits) {
    // One infinity among finite values is a gap, as NaN is: the axis still scales the rest.
    const double inf = std::numeric_limits<double>::infinity();
    XYPtr gap = chartWith({1, Chart::NoValue, 4});
    gap->layoutAxes();
    for (double bad : {inf, -inf}) {
        XYPtr c = chartWith({1, bad, 4});
        c->layoutAxes();
        EXPECT_EQ(c->yAxis()->getMinValue(), gap->yAxis()->getMinValue()) << bad;
        EXPECT_EQ(c->yAxis()->getMaxValue(), gap->yAxis()->getMaxValue()) << bad;
        EXPECT_EQ(c->getYCoor(bad), Chart::NoIntValue) << bad;
    }
    // Values at the end of the double range lie on their axis, not beyond a bound cut short.
    const std::vector<std::vector<double>> extremes = {{1e308}, {-1e308}, {-1e308, 1e308}, {1.79e308, 1}};
    for (const std::vector<double>& data : extremes) {
        XYPtr c = chartWith(data);
        c->layoutAxes();
        const double lo = c->yAxis()->getMinValue(), hi = c->yAxis()->getMaxValue();
        ASSERT_TRUE(std::isfinite(lo) && std::isfinite(hi) && lo < hi) << data[0];
        for (double v : data) {
            EXPECT_LE(lo, v);
            EXPECT_GE(hi, v);
            EXPECT_GE(c->getYCoor(v), 50) << v;
            EXPECT_LE(c->getYCoor(v), 250) << v;
        }
        EXPECT_FALSE(ticksOf(c->yAxis()).empty());
        EXPECT_GT(c->makeChart(8).len, 0);
    }
}

TEST(Axis, LogAxisKeepsThePositiveSide) {
    XYPtr c = chartWith({-5, 0, 2, 1000});
    c->yAxis()->setLogScale(true);
    c->yAxis()->setAutoScale(0, 0, 0);
    c->layoutAxes();
    ASSERT_GT(c->yAxis()->getMinValue(), 0);
    EXPECT_LE(c->yAxis()->getMinValue(), 2);
    EXPECT_GE(c->yAxis()->getMaxValue(), 1000);
    for (double t : ticksOf(c->yAxis())) EXPECT_GT(t, 0);
    EXPECT_EQ(c->getYCoor(-5), c->getYCoor(-1)) << "non-positive values all fall at the far end";

    // Labels are found by their place on the log scale: a linear tolerance over 0.01 ... 1e12 took
    // 1, 100 and 10000 for the first label.
    XYPtr wide = chartWith({1, 2});
    wide->yAxis()->setLogScale(0.01, 1e12, 100);
    wide->layoutAxes();
    for (double v : {0.01, 1.0, 100.0, 10000.0, 1e12}) {
        const char* label = wide->yAxis()->getLabel(v);
        ASSERT_NE(label, nullptr) << v;
        EXPECT_DOUBLE_EQ(std::atof(label), v);
    }
    EXPECT_EQ(wide->yAxis()->getLabel(2), nullptr);
    EXPECT_EQ(wide->yAxis()->getLabel(-1), nullptr);

    // Nothing positive at all: the axis may stay empty, but nothing breaks.
    XYPtr negative = chartWith({-5, -1});
    negative->yAxis()->setLogScale(true);
    EXPECT_GT(negative->makeChart(8).len, 0);
}

TEST(Axis, DatesFrom1800To2200) {
    XYPtr c = makeXYChart(500, 300);
    c->setPlotArea(50, 30, 400, 200);
    Layer* layer = addBlocks(c.get(), {1, 2, 3});
    std::vector<double> x{Chart::chartTime(1800, 1, 1), Chart::chartTime(2000, 6, 1), Chart::chartTime(2200, 1, 1)};
    layer->setXData(DoubleArray(x.data(), 3));
    c->layoutAxes();
    std::vector<double> t = ticksOf(c->xAxis());
    ASSERT_FALSE(t.empty());
    EXPECT_GE(t.front(), x[0]);
    EXPECT_LE(t.back(), x[2]);
    // Ticks on New Year's days are labelled with the year alone.
    EXPECT_STREQ(c->xAxis()->getLabel(Chart::chartTime(1900, 1, 1)), "1900");
    EXPECT_EQ(c->getXCoor(x[0]), 50);
    EXPECT_EQ(c->getXCoor(x[2]), 450);
}

TEST(Axis, LabelsFormatsAndCustomLabels) {
    XYPtr c = chartWith({0, 100});
    const char* names[] = {"A", "B", "C"};
    c->xAxis()->setLabels(StringArray(names, 3));
    c->xAxis()->addLabel(2, "last");
    c->yAxis()->setLinearScale(0, 100, 25);
    c->yAxis()->setLabelFormat("{value}%");
    c->layoutAxes();
    EXPECT_STREQ(c->xAxis()->getLabel(1), "B");
    EXPECT_EQ(c->xAxis()->getLabel(1.5), nullptr);
    EXPECT_STREQ(c->xAxis()->getLabel(2), "last");
    EXPECT_STREQ(c->yAxis()->getLabel(50), "50%");
    EXPECT_STREQ(c->yAxis()->getFormattedLabel(0.5, "{value|2}"), "0.50");
    EXPECT_STREQ(c->yAxis()->getFormattedLabel(12, ""), "12%");

    // Every second label, numbers with the decimals that the ticks need.
    XYPtr fine = chartWith({0, 1});
    fine->yAxis()->setLinearScale(0, 1, 0.25);
    fine->yAxis()->setLabelStep(2);
    fine->layoutAxes();
    EXPECT_STREQ(fine->yAxis()->getLabel(0.5), "0.5");
    EXPECT_EQ(fine->yAxis()->getLabel(0.25), nullptr);
}

TEST(Axis, EnumScaleLabelsEveryCategoryOfTheData) {
    XYPtr c = chartWith({2.6, 7.4});
    c->yAxis()->setEnumScale();
    c->layoutAxes();
    EXPECT_EQ(ticksOf(c->yAxis()), (std::vector<double>{3, 4, 5, 6, 7}));
    EXPECT_STREQ(c->yAxis()->getLabel(5), "5");
}

TEST(Axis, CoordinateRoundTrips) {
    struct Case {
        const char* name;
        double lo, hi;
        int kind;  // 0 linear, 1 log, 2 date
    };
    const Case cases[] = {{"linear", -40, 260, 0}, {"log", 0.5, 5e4, 1}, {"date", Chart::chartTime(2020, 1, 1), Chart::chartTime(2021, 3, 1), 2}};
    for (const Case& k : cases) {
        for (bool swapped : {false, true}) {
            XYPtr c = makeXYChart(500, 400);
            c->setPlotArea(60, 40, 380, 300);
            c->swapXY(swapped);
            std::vector<double> x{k.lo, k.hi}, y{k.lo, k.hi};
            Layer* layer = addBlocks(c.get(), y);
            layer->setXData(DoubleArray(x.data(), 2));
            for (Axis* a : {c->xAxis(), c->yAxis()}) {
                if (k.kind == 0) a->setLinearScale(k.lo, k.hi);
                if (k.kind == 1) a->setLogScale(k.lo, k.hi);
                if (k.kind == 2) a->setDateScale(k.lo, k.hi);
            }
            c->layoutAxes();
            for (int step = 0; step <= 10; ++step) {
                double f = step / 10.0;
                double v = k.kind == 1 ? k.lo * std::pow(k.hi / k.lo, f) : k.lo + f * (k.hi - k.lo);
                // One pixel's worth of value at v.
                double px = std::fabs(c->getXValue(c->getXCoor(v) + 1) - c->getXValue(c->getXCoor(v)));
                EXPECT_NEAR(c->getXValue(c->getXCoor(v)), v, px) << k.name << swapped << step;
                double py = std::fabs(c->getYValue(c->getYCoor(v) + 1) - c->getYValue(c->getYCoor(v)));
                EXPECT_NEAR(c->getYValue(c->getYCoor(v)), v, py) << k.name << swapped << step;
                EXPECT_EQ(layer->getXCoor(v), c->getXCoor(v)) << k.name << swapped << step;
                EXPECT_EQ(layer->getYCoor(v), c->getYCoor(v)) << k.name << swapped << step;
            }
            // Larger x values lie right, or (swapped) higher up; larger y values up, or right.
            int x0 = c->getXCoor(x[0]), x1 = c->getXCoor(x[1]);
            int y0 = c->getYCoor(y[0]), y1 = c->getYCoor(y[1]);
            if (swapped) {
                EXPECT_EQ(x0, 340);
                EXPECT_EQ(x1, 40);
                EXPECT_EQ(y0, 60);
                EXPECT_EQ(y1, 440);
            } else {
                EXPECT_EQ(x0, 60);
                EXPECT_EQ(x1, 440);
                EXPECT_EQ(y0, 340);
                EXPECT_EQ(y1, 40);
            }
        }
    }
}

TEST(Axis, SyncAndCopy) {
    XYPtr c = chartWith({0, 100});
    c->yAxis()->setLinearScale(0, 100, 20);
    c->syncYAxis(2, 10);
    Axis* extra = c->addAxis(Chart::Left, 50);
    extra->copyAxis(c->yAxis());
    c->layoutAxes();
    EXPECT_EQ(c->yAxis2()->getMinValue(), 10);
    EXPECT_EQ(c->yAxis2()->getMaxValue(), 210);
    EXPECT_EQ(c->yAxis2()->getCoor(110), c->yAxis()->getCoor(50));
    EXPECT_EQ(extra->getCoor(40), c->yAxis()->getCoor(40));
    EXPECT_EQ(ticksOf(extra), ticksOf(c->yAxis()));
    EXPECT_EQ(extra->getX(), 0);
}

TEST(Axis, ThicknessIsTicksLabelsAndTitle) {
    XYPtr c = chartWith({0, 100});
    c->layoutAxes();
    Axis* y = c->yAxis();
    int plain = y->getThickness();
    EXPECT_GT(plain, 3 + 3) << "ticks, gap and labels";
    y->setTitle("Title");
    int titled = y->getThickness();
    EXPECT_GT(titled, plain + 3);
    y->setTickLength(-5);
    EXPECT_EQ(y->getThickness(), titled - 3) << "inward ticks take no room";
    EXPECT_EQ(c->yAxis2()->getThickness(), 0) << "an unused axis is hidden";
}

TEST(Axis, LabelFiltersTravelAsOneInteger) {
    LabelFilter f = unpackLabelFilter(Chart::StartOfDayFilter(3, 0.05));
    EXPECT_EQ(f.tag, Chart::Plotvane_StartOfDayFilterTag);
    EXPECT_EQ(f.step, 3);
    EXPECT_DOUBLE_EQ(f.initialMargin, 0.05);
    f = unpackLabelFilter(Chart::StartOfHourFilter(1, 3600));
    EXPECT_EQ(f.tag, Chart::Plotvane_StartOfHourFilterTag);
    EXPECT_DOUBLE_EQ(f.initialMargin, 3600);
    f = unpackLabelFilter(Chart::RegularSpacingFilter(5, 2));
    EXPECT_EQ(f.tag, Chart::Plotvane_RegularSpacingFilterTag);
    EXPECT_EQ(f.step, 5);
    EXPECT_DOUBLE_EQ(f.initialMargin, 2);
    f = unpackLabelFilter(Chart::SelectItemFilter(70000));
    EXPECT_EQ(f.tag, Chart::Plotvane_SelectItemFilterTag);
    EXPECT_EQ(f.step, 70000);
    EXPECT_EQ(unpackLabelFilter(Chart::NonePassFilter()).tag, Chart::Plotvane_NonePassFilterTag);
    EXPECT_EQ(unpackLabelFilter(0).tag, Chart::Plotvane_AllPassFilterTag);

    // Through the axis: days in full, hours in between.
    XYPtr c = makeXYChart(600, 300);
    c->setPlotArea(50, 30, 500, 200);
    Layer* layer = addBlocks(c.get(), {1, 2});
    std::vector<double> x{Chart::chartTime(2024, 3, 5), Chart::chartTime(2024, 3, 7)};
    layer->setXData(DoubleArray(x.data(), 2));
    c->xAxis()->setDateScale(x[0], x[1], 6 * 3600);
    c->xAxis()->setMultiFormat(Chart::StartOfDayFilter(), "{value|mmm dd}", Chart::AllPassFilter(), "{value|hh:nn}");
    c->layoutAxes();
    EXPECT_STREQ(c->xAxis()->getLabel(x[0]), "Mar 05");
    EXPECT_STREQ(c->xAxis()->getLabel(x[0] + 6 * 3600), "06:00");
}

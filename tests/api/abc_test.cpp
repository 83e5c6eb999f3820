#include <plotvane/owned.h>
#include <plotvane/plotvane.h>
#include <plotvane/plotvane_abc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dashboard.h"

namespace {

TEST(AbcWrappers, OneWrapperPerAxisAndDataSetAlsoPastTheFirstTen) {
    abc::XYChart c(400, 300);
    abc::Axis* x = c.xAxis();
    abc::Axis* y = c.yAxis();
    ASSERT_NE(x, nullptr);
    EXPECT_NE(x, y);
    EXPECT_EQ(c.xAxis(), x);

    std::vector<abc::Axis*> added;
    for (int i = 0; i < 25; ++i) added.push_back(c.addAxis(PV_Left, 10 * i));
    for (size_t i = 0; i < added.size(); ++i)
        for (size_t j = 0; j < i; ++j) ASSERT_NE(added[i], added[j]);
    // Found again after the cache has grown twice.
    EXPECT_EQ(c.xAxis(), x);
    EXPECT_EQ(c.yAxis(), y);
    EXPECT_EQ(c.yAxis2(), c.yAxis2());

    abc::BarLayer* bars = c.addBarLayer(PV_Side);
    const double values[] = {1, 2, 3};
    std::vector<abc::DataSet*> sets;
    for (int i = 0; i < 23; ++i) sets.push_back(bars->addDataSet(values, 3));
    ASSERT_EQ(bars->getDataSetCount(), 23);
    for (int i = 0; i < 23; ++i) {
        EXPECT_EQ(bars->getDataSet(i), sets[i]) << i;
        EXPECT_NE(sets[i], nullptr);
    }
    EXPECT_EQ(bars->getDataSet(99), nullptr);
}

// Run under the sanitized build, a chart destroyed twice or never is reported here.
TEST(AbcWrappers, CopiesShareTheChartAndTheLastOneDestroysIt) {
    auto* survivor = new abc::XYChart(200, 100);
    abc::TextBox* title = nullptr;
    {
        abc::XYChart original(200, 100);
        abc::XYChart copy(original);
        EXPECT_EQ(copy.pvXYChart(), original.pvXYChart());
        EXPECT_EQ(copy.pvBaseChart(), original.pvBaseChart());
        {
            abc::XYChart inner(copy);
            inner.yAxis()->setLinearScale(0, 50);
            title = inner.addTitle("kept");
        }
        // The chart outlived the copy that configured it, and this copy's objects are its own.
        EXPECT_EQ(copy.getWidth(), 200);
        title = copy.addTitle("kept");
        title->setFontColor(0xff0000);
        abc::XYChart(*survivor).xAxis()->setTitle("through a temporary copy");
    }
    EXPECT_EQ(survivor->getHeight(), 100);
    abc::XYChart last(*survivor);
    delete survivor;
    const char* data = nullptr;
    int len = 0;
    EXPECT_TRUE(last.makeChart2(PV_PNG, &data, &len));
    EXPECT_GT(len, 0);
}

TEST(AbcWrappers, DataHelpersAndBorrowedObjects) {
    const double a[] = {1, 2, 3, 4};
    abc::ArrayMath m(a, 4);
    abc::ArrayMath alias(m);
    alias.mul(2).add(1);
    EXPECT_DOUBLE_EQ(m.sum(), 24);
    EXPECT_EQ(m.count(), 4);

    abc::XYChart c(100, 80);
    abc::DrawArea* d = c.makeChart3();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->getWidth(), 100);
    // The chart's own surface is borrowed: dropping the wrapper's copy must not free it.
    { abc::DrawArea view(*d); }
    EXPECT_EQ(c.getDrawArea()->getHeight(), 80);

    abc::DrawArea own;
    own.setSize(10, 10);
    EXPECT_EQ(own.getWidth(), 10);
}

TEST(AbcWrappers, DashboardWritesTheSamePngAsTheCppRoute) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const double kSeriesA[] = {56, 72, 65, 80, 91, 77, 68, 84, 95, 88, 73, 62};
    static const double kSeriesB[] = {42, 55, 61, 58, 70, 66, 59, 72, 81, 76, 64, 50};
    static const double kSeriesC[] = {30, 38, 45, 52, 49, 57, 63, 60, 68, 71, 55, 47};
    static const double kTarget[] = {50, 58, 60, 66, 75, 70, 64, 74, 85, 80, 66, 55};

    abc::XYChart c(600, 400);
    c.addTitle("Monthly results", "bold", 14);
    c.setPlotArea(70, 60, 500, 280, 0xffffff, -1, PV_Transparent, 0xdddddd);
    c.addLegend(70, 28, false, "", 9)->setBackground(PV_Transparent);
    c.addLineLayer(kTarget, 12, 0xcc3311, "Target")->setLineWidth(2);
    abc::BarLayer* bars = c.addBarLayer(PV_Side);
    bars->addDataSet(kSeriesA, 12, 0x4477aa, "North");
    bars->addDataSet(kSeriesB, 12, 0x66ccee, "South");
    bars->addDataSet(kSeriesC, 12, 0x228833, "West");
    c.xAxis()->setLabels(kMonths, 12);
    c.xAxis()->setTitle("Month");
    c.yAxis()->setTitle("Units");
    c.yAxis()->setLinearScale(0, 110, 10);
    const char* data = nullptr;
    int len = 0;
    ASSERT_TRUE(c.makeChart2(PV_PNG, &data, &len));
    const std::string wrapped(data, static_cast<size_t>(len));

    auto reference = plotvane::own(buildDashboard());
    const plotvane::MemBlock m = reference->makeChart(plotvane::Chart::PNG);
    ASSERT_GT(m.len, 0);
    EXPECT_TRUE(wrapped == std::string(m.data, static_cast<size_t>(m.len)));
}

}  // namespace

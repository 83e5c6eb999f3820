#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <type_traits>

using namespace plotvane;

// What a chart hands out stays the chart's, and a chart goes through destroy(): deleting either
// does not compile.
static_assert(!std::is_destructible_v<TextBox>);
static_assert(!std::is_destructible_v<LegendBox>);
static_assert(!std::is_destructible_v<Line>);
static_assert(!std::is_destructible_v<DrawArea>);
static_assert(!std::is_destructible_v<Axis>);
static_assert(!std::is_destructible_v<Layer>);
static_assert(!std::is_destructible_v<PlotArea>);
static_assert(!std::is_destructible_v<BarLayer>);
static_assert(!std::is_destructible_v<LineLayer>);
static_assert(!std::is_destructible_v<Mark>);
static_assert(!std::is_destructible_v<XYChart>);

TEST(Owned, DestroysWhatCreateReturned) {
    Owned<XYChart> c(XYChart::create(100, 80));
    ASSERT_TRUE(c);
    auto d = own(XYChart::create(50, 40));
    EXPECT_EQ(d->getWidth(), 50);
    Owned<DrawArea> area = own(DrawArea::create());
    area->setSize(10, 10);
    Owned<XYChart> none;
    c.reset();
    EXPECT_FALSE(c);
}

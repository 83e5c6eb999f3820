#include <gtest/gtest.h>
#include <plotvane/plotvane.h>

#include <vector>

#include "chart/testlayer.h"
#include "chart/xy/coloraxis_p.h"
#include "chart/xy/colormapper_p.h"

using namespace plotvane;
using plotvane_test::makeXYChart;
using plotvane_test::XYPtr;

namespace {

// A contour layer over a 2 x 2 grid whose z runs from lo to hi, laid out.
ContourLayer* rampLayer(XYChart* c, double lo, double hi) {
    static const double x[] = {0, 1, 0, 1}, y[] = {0, 0, 1, 1};
    const double z[] = {lo, lo, hi, hi};
    c->setPlotArea(40, 20, 200, 200);
    ContourLayer* layer = c->addContourLayer(DoubleArray(x, 4), DoubleArray(y, 4), DoubleArray(z, 4));
    return layer;
}

}  // namespace

TEST(ColorMapper, ContinuousGradientSplitsTicksIntoFineBands) {
    const int under = 0x111111, over = 0x222222;
    ColorMapper m = ColorMapper::fromGradient({0, 10, 20}, {0x0000ff, 0xff0000}, true, under, over);
    // (3 + 1022) / 2 = 512 parts per interval.
    ASSERT_EQ(m.thresholds().size(), 1025u);
    EXPECT_EQ(m.thresholds().front(), 0);
    EXPECT_GT(m.thresholds().back(), 20);
    EXPECT_LT(m.thresholds().back(), 20 + 1e-9);
    EXPECT_EQ(m.colors().size(), 1024u + 2);
    // The top value lies in the last band, only values past it overflow.
    EXPECT_EQ(m.getColor(20), 0xff0000);
    EXPECT_EQ(m.getColor(20.001), over);
    EXPECT_EQ(m.getColor(0), 0x0000ff);
    EXPECT_EQ(m.getColor(-0.001), under);
    // Halfway up the colour is halfway between the ends, and the walk from a bucket agrees with a
    // plain search everywhere.
    int mid = m.getColor(10);
    EXPECT_NEAR((mid >> 16) & 0xff, 0x80, 1);
    EXPECT_NEAR(mid & 0xff, 0x7f, 1);
    for (int k = 0; k <= 2000; ++k) {
        double z = k * 0.01 - 0.001;
        size_t i = static_cast<size_t>(std::upper_bound(m.thresholds().begin(), m.thresholds().end(), z) -
                                       m.thresholds().begin());
        ASSERT_EQ(m.getColor(z), m.colors()[i]) << z;
    }
}

TEST(ColorMapper, GradientPositionsAndFadingToTransparent) {
    EXPECT_EQ(ColorMapper::gradientAt({0xff0000, Chart::Transparent}, 0.5), static_cast<int>(0x80ff0000));
    EXPECT_EQ(ColorMapper::gradientAt({0x000000, 0xffffff}, 0.5), 0x808080);
    EXPECT_EQ(ColorMapper::gradientAt({0x000000, 0xffffff}, -1), 0x000000);
    EXPECT_EQ(ColorMapper::gradientAt({0x000000, 0xffffff}, 7), 0xffffff);
    // One band takes the gradient's middle; without thresholds the first colour answers.
    ColorMapper one = ColorMapper::fromGradient({0, 1}, {0x000000, 0xffffff}, false, -1, -1);
    EXPECT_EQ(one.getColor(0.5), 0x808080);
    EXPECT_EQ(one.getColor(5), 0xffffff);
}

TEST(ColorAxis, ExplicitBandedScaleWithUnderAndOverflow) {
    XYPtr c = makeXYChart();
    ColorAxis* axis = rampLayer(c.get(), 0, 1)->colorAxis();
    EXPECT_EQ(axis->getColor(5), Chart::Transparent);  // no scale yet
    const double stops[] = {0, 0xff0000, 10, 0x00ff00, 20, 0x0000ff, 30};
    axis->setColorGradient(false, IntArray(), 0x123456, 0x654321);
    axis->setColorScale(DoubleArray(stops, 7), 0x123456, 0x654321);
    EXPECT_EQ(axis->getColor(-1), 0x123456);
    EXPECT_EQ(axis->getColor(0), 0xff0000);
    EXPECT_EQ(axis->getColor(15), 0x00ff00);
    EXPECT_EQ(axis->getColor(30), 0x0000ff);
    EXPECT_EQ(axis->getColor(30.01), 0x654321);
    EXPECT_FALSE(axis->isSmooth());
    // The scale follows the stops, so it survives layout over other data.
    c->layout();
    EXPECT_EQ(axis->getMinValue(), 0);
    EXPECT_EQ(axis->getMaxValue(), 30);
    EXPECT_EQ(axis->getColor(15), 0x00ff00);

    // Stops out of order are sorted; palette-style colours stand for their low 16 bits.
    const double shuffled[] = {10, static_cast<double>(static_cast<int>(0xffff8123u)), 0, 0xff0000, 20};
    axis->setColorScale(DoubleArray(shuffled, 5));
    EXPECT_EQ(axis->getColor(5), 0xff0000);
    EXPECT_EQ(axis->getColor(15), 0x8123);

    // One pair removes the colours, and layout does not bring them back.
    axis->setColorScale(DoubleArray(stops, 2));
    EXPECT_EQ(axis->getColor(5), Chart::Transparent);
    c->layout();
    EXPECT_EQ(axis->getColor(0.5), Chart::Transparent);
}

TEST(ColorAxis, LevelsBoundTheTicksAndLabelsDoNotCrowd) {
    for (int levels : {4, 16, 40}) {
        XYPtr c = makeXYChart();
        ColorAxis* axis = rampLayer(c.get(), 0, 97)->colorAxis();
        axis->setLevels(levels);
        c->layout();
        auto* a = dynamic_cast<ColorAxisImpl*>(axis);
        int majors = 0;
        for (const AxisTick& t : a->scale().getTicks()) majors += t.kind == TickKind::Major;
        EXPECT_LE(majors - 1, levels + 1) << levels;
        EXPECT_GE(majors - 1, std::min(levels, 10) / 2) << levels;
        // Labelled ticks stand at least a label's height apart on the 200-pixel bar.
        std::vector<double> labelled;
        for (const AxisTick& t : a->scale().getTicks())
            if (a->getLabel(t.value)) labelled.push_back(a->pixelOf(t.value));
        for (size_t k = 1; k < labelled.size(); ++k) EXPECT_GE(std::fabs(labelled[k] - labelled[k - 1]), 10) << levels;
        EXPECT_TRUE(axis->isSmooth());
    }
}

TEST(ColorAxis, BoxFollowsOrientationAlignmentAndMargins) {
    XYPtr c = makeXYChart();
    ContourLayer* layer = rampLayer(c.get(), 0, 100);
    ColorAxis* axis = layer->setColorAxis(380, 20, Chart::TopRight, 150, Chart::Left);
    axis->setBoxMargin(4, 6, 8, 10);
    c->layout();
    int w = axis->getBoxWidth(), h = axis->getBoxHeight();
    // A vertical bar of 150 pixels plus room for half a label at each end, and the margins.
    EXPECT_GE(h, 150 + 18);
    EXPECT_LE(h, 150 + 18 + 20);
    EXPECT_GT(w, 20 + 10);
    // Labels on the left: the axis line is the bar's left edge, the box's last column x = 380.
    EXPECT_EQ(axis->getX(), 381 - 6 - 20);
    axis->setWidth(8);
    axis->setCompactAxis();
    EXPECT_LT(axis->getBoxWidth(), w);
    EXPECT_EQ(axis->getX(), 381 - 6 - 8);

    XYPtr c2 = makeXYChart();
    axis = rampLayer(c2.get(), 0, 100)->setColorAxis(50, 280, Chart::BottomLeft, 200, Chart::Bottom);
    axis->setBoxMargin(4, 6, 8, 10);
    c2->layout();
    EXPECT_LT(axis->getBoxHeight(), axis->getBoxWidth());
    // Labels below: the axis line is the bar's bottom edge, 8 + 20 pixels below the box's top.
    EXPECT_EQ(axis->getY(), 281 - axis->getBoxHeight() + 8 + 20);
}

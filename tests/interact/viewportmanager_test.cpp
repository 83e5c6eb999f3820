#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace plotvane;

namespace {

Owned<ViewPortManager> managerFor(const char* metrics = "w=600&h=400&vl=50&vt=30&vw=500&vh=340") {
    auto m = own(ViewPortManager::create());
    m->setChartMetrics(metrics);
    return m;
}

void expectValid(const ViewPortManager& m) {
    constexpr double eps = 1e-12;
    double l = m.getViewPortLeft(), t = m.getViewPortTop(), w = m.getViewPortWidth(), h = m.getViewPortHeight();
    ASSERT_TRUE(std::isfinite(l) && std::isfinite(t) && std::isfinite(w) && std::isfinite(h));
    EXPECT_GE(l, -eps);
    EXPECT_GE(t, -eps);
    EXPECT_LE(l + w, 1 + eps);
    EXPECT_LE(t + h, 1 + eps);
    EXPECT_GE(w, m.getZoomInWidthLimit() - eps);
    EXPECT_LE(w, m.getZoomOutWidthLimit() + eps);
    EXPECT_GE(h, m.getZoomInHeightLimit() - eps);
    EXPECT_LE(h, m.getZoomOutHeightLimit() + eps);
}

}  // namespace

TEST(ViewPortManager, ZoomsCentreAndStopAtTheLimits) {
    auto m = managerFor();
    EXPECT_TRUE(m->canZoomIn(0));
    EXPECT_FALSE(m->canZoomOut(0));
    EXPECT_TRUE(m->zoomAt(2, 300, 200, 2));
    EXPECT_DOUBLE_EQ(m->getViewPortLeft(), 0.25);
    EXPECT_DOUBLE_EQ(m->getViewPortTop(), 0.25);
    EXPECT_DOUBLE_EQ(m->getViewPortWidth(), 0.5);
    EXPECT_DOUBLE_EQ(m->getViewPortHeight(), 0.5);

    // Horizontal zooms leave the height alone; repeated ones end at the limit.
    int changes = 0;
    while (m->zoomAt(0, 300, 200, 2) && changes < 100) ++changes;
    EXPECT_LT(changes, 100);
    EXPECT_DOUBLE_EQ(m->getViewPortWidth(), 0.01);
    EXPECT_DOUBLE_EQ(m->getViewPortHeight(), 0.5);
    EXPECT_FALSE(m->canZoomIn(0));
    EXPECT_TRUE(m->canZoomIn(1));
    EXPECT_FALSE(m->zoomAt(0, 300, 200, 2));
    // The clamped zoom stays centred where it was asked.
    EXPECT_NEAR(m->getViewPortLeft() + 0.005, 0.5, 1e-9);

    // A dragged rectangle of half the plot shows half the view.
    auto z = managerFor();
    EXPECT_TRUE(z->zoomTo(2, 300, 200, 50, 30));
    EXPECT_DOUBLE_EQ(z->getViewPortWidth(), 0.5);
    EXPECT_DOUBLE_EQ(z->getViewPortHeight(), 0.5);
    EXPECT_DOUBLE_EQ(z->getViewPortLeft(), 0);
    // Wheel zoom keeps the point under the mouse in place.
    double before = z->getViewPortLeft() + z->getViewPortWidth() * (175.0 - 50) / 500;
    EXPECT_TRUE(z->zoomAround(175, 100, 1.25, 1));
    EXPECT_NEAR(z->getViewPortLeft() + z->getViewPortWidth() * (175.0 - 50) / 500, before, 1e-12);
    EXPECT_FALSE(z->zoomAround(175, 100, 0, 1));
}

TEST(ViewPortManager, DragsStopAtTheDataEdge) {
    auto m = managerFor();
    ASSERT_TRUE(m->zoomAt(2, 300, 200, 4));
    m->startDrag();
    EXPECT_TRUE(m->dragTo(0, 100, 0));  // content right, view left
    EXPECT_DOUBLE_EQ(m->getViewPortLeft(), 0.375 - 100 * 0.25 / 500);
    EXPECT_TRUE(m->dragTo(0, 100000, 0));
    EXPECT_DOUBLE_EQ(m->getViewPortLeft(), 0);
    EXPECT_FALSE(m->dragTo(0, 200000, 0));
    EXPECT_TRUE(m->dragTo(2, -100000, -100000));
    EXPECT_DOUBLE_EQ(m->getViewPortLeft(), 0.75);
    EXPECT_DOUBLE_EQ(m->getViewPortTop(), 0.75);
    // Vertical drags do not move the view sideways.
    m->startDrag();
    EXPECT_TRUE(m->dragTo(1, 300, 300));
    EXPECT_DOUBLE_EQ(m->getViewPortLeft(), 0.75);
}

TEST(ViewPortManager, PlotAreaTests) {
    auto m = managerFor("w=200&h=100&vl=10&vt=20&vw=100&vh=50&zz=9&vl");
    EXPECT_EQ(m->getPlotAreaLeft(), 10);
    EXPECT_EQ(m->getPlotAreaHeight(), 50);
    EXPECT_TRUE(m->inPlotArea(110, 70));
    EXPECT_FALSE(m->inPlotArea(111, 70));
    EXPECT_TRUE(m->inExtendedPlotArea(115, 75));
    EXPECT_TRUE(m->inExtendedPlotArea(5, 15));
    EXPECT_FALSE(m->inExtendedPlotArea(116, 70));
    m->setPlotAreaMouseMargin(100, 100, 100, 100);
    EXPECT_TRUE(m->inExtendedPlotArea(199, 99));
    EXPECT_FALSE(m->inExtendedPlotArea(200, 99));
    m->setChartMetrics(nullptr);
    EXPECT_EQ(m->getPlotAreaWidth(), 0);
    EXPECT_FALSE(m->zoomAt(2, 0, 0, 2));
}

TEST(ViewPortManager, FullRangesAndAxes) {
    auto m = managerFor();
    m->setFullRange("y", 1, 100);
    EXPECT_NEAR(m->getViewPortAtValue("y", 10, true), 0.5, 1e-12);
    EXPECT_NEAR(m->getValueAtViewPort("y", 0.5, true), 10, 1e-12);
    EXPECT_NEAR(m->getValueAtViewPort("y", 0.5), 50.5, 1e-12);
    EXPECT_EQ(m->getCustomAttr("y_max"), 100);

    // A view on the newest tenth follows new data when anchored at the maximum.
    m->setFullRange("x", 0, 100);
    m->setViewPortLeft(0.9);
    m->setViewPortWidth(0.1);
    EXPECT_TRUE(m->updateFullRangeH("x", 0, 200, 2));
    EXPECT_DOUBLE_EQ(m->getViewPortLeft() + m->getViewPortWidth(), 1);
    EXPECT_NEAR(m->getViewPortWidth(), 0.05, 1e-12);
    EXPECT_FALSE(m->updateFullRangeH("x", 0, 200, 2));
    // Unshifted, the same values stay in view.
    EXPECT_TRUE(m->updateFullRangeH("x", 0, 400, 1));
    EXPECT_NEAR(m->getViewPortLeft(), 0.475, 1e-12);

    // The first chart's automatic scale becomes the full range; the next chart shows the view of it,
    // a vertical axis counting from the bottom.
    const double data[] = {0, 40, 80};
    auto chart = [&data] {
        auto c = own(XYChart::create(400, 300));
        c->setPlotArea(40, 20, 320, 240);
        c->addLineLayer(DoubleArray(data, 3));
        return c;
    };
    auto v = managerFor();
    auto first = chart();
    v->syncLinearAxisWithViewPort("y", first->yAxis());
    v->commitPendingSyncAxis(first.get());
    double lo = v->getCustomAttr("y_min"), hi = v->getCustomAttr("y_max");
    ASSERT_LT(lo, hi);
    EXPECT_LE(lo, 0);
    EXPECT_GE(hi, 80);
    v->setViewPortTop(0.1);
    v->setViewPortHeight(0.5);
    auto next = chart();
    v->syncLinearAxisWithViewPort("y", next->yAxis());
    next->layout();
    EXPECT_DOUBLE_EQ(next->yAxis()->getMinValue(), lo + 0.4 * (hi - lo));
    EXPECT_DOUBLE_EQ(next->yAxis()->getMaxValue(), lo + 0.9 * (hi - lo));
    v->clearAllRanges();
    EXPECT_EQ(v->getCustomAttr("y_min"), 0);
}

// updateFullRangeHV does what the H or V form does; for both directions each side of the view port
// moves as it would had its own dimension been given the new range alone.
TEST(ViewPortManager, UpdateFullRangeByDirection) {
    const double oldMin = 0, oldMax = 100, newMin = 20, newMax = 180;
    auto viewed = [&](const char* otherId) {
        auto m = managerFor();
        m->setFullRange("x", oldMin, oldMax);
        m->setFullRange(otherId, oldMin, oldMax);
        m->setViewPortLeft(0.6);
        m->setViewPortWidth(0.3);
        m->setViewPortTop(0.1);
        m->setViewPortHeight(0.2);
        return m;
    };
    auto expectSameView = [](const ViewPortManager& a, const ViewPortManager& b) {
        EXPECT_DOUBLE_EQ(a.getViewPortLeft(), b.getViewPortLeft());
        EXPECT_DOUBLE_EQ(a.getViewPortWidth(), b.getViewPortWidth());
        EXPECT_DOUBLE_EQ(a.getViewPortTop(), b.getViewPortTop());
        EXPECT_DOUBLE_EQ(a.getViewPortHeight(), b.getViewPortHeight());
    };
    const int directions[] = {Chart::DirectionHorizontal, Chart::DirectionVertical,
                              Chart::DirectionHorizontalVertical};
    for (int updateType = 0; updateType <= 3; ++updateType)
        for (int direction : directions) {
            SCOPED_TRACE(testing::Message() << "direction " << direction << ", update type " << updateType);
            auto byDirection = viewed("x");
            auto apart = viewed("y");
            EXPECT_TRUE(byDirection->updateFullRangeHV(direction, "x", newMin, newMax, updateType));
            if (direction != Chart::DirectionVertical) apart->updateFullRangeH("x", newMin, newMax, updateType);
            if (direction != Chart::DirectionHorizontal)
                apart->updateFullRangeV(direction == Chart::DirectionVertical ? "x" : "y", newMin, newMax, updateType);
            expectSameView(*byDirection, *apart);
            EXPECT_EQ(byDirection->getCustomAttr("x_max"), newMax);
            EXPECT_FALSE(byDirection->updateFullRangeHV(direction, "x", newMin, newMax, updateType));
        }
    // Both sides really move (update type 2 follows the maximum), and unknown directions do nothing.
    auto m = viewed("x");
    ASSERT_TRUE(m->updateFullRangeHV(Chart::DirectionHorizontalVertical, "x", 0, 200, 2));
    EXPECT_NEAR(m->getViewPortLeft(), 0.8, 1e-12);
    EXPECT_NEAR(m->getViewPortTop(), 0.55, 1e-12);
    for (int direction : {-1, 3}) {
        EXPECT_FALSE(m->updateFullRangeHV(direction, "x", 0, 400, 2));
        EXPECT_EQ(m->getCustomAttr("x_max"), 200);
    }
    EXPECT_FALSE(m->updateFullRangeHV(Chart::DirectionHorizontal, nullptr, 0, 400, 2));
}

TEST(ViewPortManager, RandomSequencesKeepTheInvariants) {
    std::mt19937 rng(20261206);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int run = 0; run < 50; ++run) {
        auto m = managerFor();
        std::uniform_int_distribution<int> op(0, 7), px(-200, 800), dir(0, 2);
        std::uniform_real_distribution<double> ratio(0.1, 6);
        m->setFullRange("x", 0, 100);
        for (int step = 0; step < 300; ++step) {
            int x = px(rng), y = px(rng);
            switch (op(rng)) {
                case 0: m->zoomAt(dir(rng), x, y, step % 17 == 0 ? nan : ratio(rng)); break;
                case 1: m->zoomTo(dir(rng), x, y, step % 5 == 0 ? x : px(rng), step % 7 == 0 ? y : px(rng)); break;
                case 2: m->startDrag(); break;
                case 3: m->dragTo(dir(rng), x - 300, y - 200); break;
                case 4: m->zoomAround(x, y, ratio(rng), step % 13 == 0 ? nan : ratio(rng)); break;
                case 5: m->updateFullRangeHV(dir(rng), "x", px(rng) * 0.5, px(rng) * 2.0, dir(rng) + 1); break;
                case 6: m->updateFullRangeV("x", step % 11 == 0 ? nan : px(rng), px(rng), dir(rng)); break;
                case 7: m->setChartMetrics(step % 3 == 0 ? "vw=0&vh=0" : "w=600&h=400&vl=50&vt=30&vw=500&vh=340"); break;
            }
            SCOPED_TRACE(step);
            expectValid(*m);
            if (HasFatalFailure() || HasNonfatalFailure()) return;
        }
    }
}

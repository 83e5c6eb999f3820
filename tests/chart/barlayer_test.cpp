#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "chart/barchart.h"
#include "chart/testchart.h"
#include "chart/xy/axis_p.h"
#include "chart/xy/layer_p.h"
#include "draw/drawtest.h"
#include "support/golden.h"
#include "support/pinnedfonts.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

LayerImpl* layerImpl(Layer* layer) { return dynamic_cast<LayerImpl*>(layer); }

int countLines(const std::string& text, const std::string& part) {
    int n = 0;
    for (const std::string& l : linesOf(text)) n += l.find(part) != std::string::npos;
    return n;
}

// A chart whose x slot is exactly 100 pixels (three items over a 300-pixel plot).
XYPtr hundredPixelSlots() { return barChart(3, 380); }

BarLayer* sideLayer(XYChart* c, int count, int items = 3) {
    static const double values[] = {5, 6, 7, 8, 9, 4};
    BarLayer* layer = c->addBarLayer(Chart::Side);
    for (int k = 0; k < count; ++k) layer->addDataSet(DoubleArray(values + k, items));
    layer->setMinImageMapSize(0);
    return layer;
}

}  // namespace

TEST(BarLayer, SlotGapsWidthsAndOverlap) {
    {
        XYPtr c = hundredPixelSlots();
        BarLayer* layer = sideLayer(c.get(), 3);
        c->layout();
        // Group 75, bars trunc(75 / 3.4) = 22, stepping 22 + trunc(9 / 2) = 26.
        EXPECT_EQ(layerImpl(layer)->getDataOffset(0), -26);
        EXPECT_EQ(layerImpl(layer)->getDataOffset(1), 0);
        EXPECT_EQ(layerImpl(layer)->getDataOffset(2), 26);
        int centre = c->getXCoor(1);
        for (int k = 0; k < 3; ++k) {
            Rect r = barRect(layer, k, 1);
            ASSERT_TRUE(r.valid);
            EXPECT_EQ(r.width() + 1, 22) << k;
            EXPECT_NEAR((r.left + r.right) / 2.0, centre + 26 * (k - 1), 1) << k;
        }
    }
    {
        XYPtr c = hundredPixelSlots();
        BarLayer* layer = sideLayer(c.get(), 2);
        layer->setOverlapRatio(0.5);
        c->layout();
        // Bars trunc(75 / 1.5) = 50 wide, half a bar apart: they overlap by half a bar.
        Rect first = barRect(layer, 0, 0), second = barRect(layer, 1, 0);
        EXPECT_EQ(first.width() + 1, 50);
        EXPECT_EQ(second.width() + 1, 50);
        EXPECT_EQ(second.left - first.left, 25);
    }
    for (int plotWidth : {200, 500}) {
        XYPtr c = barChart(3, plotWidth + 80);
        BarLayer* layer = sideLayer(c.get(), 2);
        layer->setBarWidth(30, 10);
        c->layout();
        EXPECT_EQ(barRect(layer, 0, 0).width() + 1, 10) << plotWidth;
        EXPECT_EQ(barRect(layer, 1, 0).left - barRect(layer, 0, 0).left, 20) << plotWidth;
    }
    {
        // No gaps at all: the three bars fill the slot, each trunc(100 / 3) wide.
        XYPtr c = hundredPixelSlots();
        BarLayer* layer = sideLayer(c.get(), 3);
        layer->setBarGap(0, 0);
        c->layout();
        EXPECT_EQ(barRect(layer, 0, 1).width() + 1, 33);
        EXPECT_EQ(barRect(layer, 1, 1).left - barRect(layer, 0, 1).left, 33);
    }
}

TEST(BarLayer, TouchingBarsMeetOnUnevenX) {
    XYPtr c = makeXYChart(400, 300);
    c->setPlotArea(50, 40, 300, 200);
    const double x[] = {0, 1, 3, 7, 8}, v[] = {4, 5, 6, 7, 3};
    BarLayer* layer = c->addBarLayer(DoubleArray(v, 5), 0x3366cc);
    layer->setXData(DoubleArray(x, 5));
    layer->setBarGap(Chart::TouchBar);
    layer->setMinImageMapSize(0);
    c->layout();
    for (int i = 0; i + 1 < 5; ++i) {
        Rect r = barRect(layer, 0, i), next = barRect(layer, 0, i + 1);
        EXPECT_EQ(r.right, next.left) << i;
        EXPECT_NEAR(r.right, (c->getXCoor(x[i]) + c->getXCoor(x[i + 1])) / 2.0, 1) << i;
    }

    // Touching sub-bars split their group exactly.
    XYPtr c2 = hundredPixelSlots();
    BarLayer* two = sideLayer(c2.get(), 2);
    two->setBarGap(0.2, Chart::TouchBar);
    c2->layout();
    EXPECT_EQ(barRect(two, 0, 0).right, barRect(two, 1, 0).left);
    EXPECT_EQ(barRect(two, 1, 0).right - barRect(two, 0, 0).left, 80);
}

TEST(BarLayer, StacksKeepSignsApartAndSkipMissing) {
    XYPtr c = barChart(2);
    BarLayer* layer = c->addBarLayer(Chart::Stack);
    const double a[] = {3, 2}, b[] = {-2, Chart::NoValue}, d[] = {4, 5};
    layer->addDataSet(DoubleArray(a, 2));
    layer->addDataSet(DoubleArray(b, 2));
    layer->addDataSet(DoubleArray(d, 2));
    layer->setMinImageMapSize(0);
    c->layout();
    // Item 0: positives 0..3..7, the negative 0..-2.
    EXPECT_EQ(barRect(layer, 0, 0).bottom, c->getYCoor(0));
    EXPECT_EQ(barRect(layer, 0, 0).top, c->getYCoor(3));
    EXPECT_EQ(barRect(layer, 2, 0).bottom, c->getYCoor(3));
    EXPECT_EQ(barRect(layer, 2, 0).top, c->getYCoor(7));
    EXPECT_EQ(barRect(layer, 1, 0).top, c->getYCoor(0));
    EXPECT_EQ(barRect(layer, 1, 0).bottom, c->getYCoor(-2));
    // Item 1: the missing value takes no room.
    EXPECT_FALSE(barRect(layer, 1, 1).valid);
    EXPECT_EQ(barRect(layer, 2, 1).bottom, c->getYCoor(2));
    EXPECT_EQ(barRect(layer, 2, 1).top, c->getYCoor(7));
    // The axis fits both ends of the stacks.
    EXPECT_LE(c->yAxis()->getMinValue(), -2);
    EXPECT_GE(c->yAxis()->getMaxValue(), 7);
}

TEST(BarLayer, PercentagesShareZeroTotals) {
    XYPtr c = barChart(3);
    BarLayer* layer = c->addBarLayer(Chart::Percentage);
    const double a[] = {1, 0, Chart::NoValue}, b[] = {1, 0, Chart::NoValue}, d[] = {-2, Chart::NoValue, kNaN};
    layer->addDataSet(DoubleArray(a, 3));
    layer->addDataSet(DoubleArray(b, 3));
    layer->addDataSet(DoubleArray(d, 3));
    layer->setMinImageMapSize(0);
    layer->setDataLabelStyle();
    std::string dump = textDump(c.get());
    // 1, 1, |-2| end at 25, 50 and 100.
    EXPECT_EQ(barRect(layer, 0, 0).top, c->getYCoor(25));
    EXPECT_EQ(barRect(layer, 1, 0).top, c->getYCoor(50));
    EXPECT_EQ(barRect(layer, 2, 0).top, c->getYCoor(100));
    EXPECT_EQ(barRect(layer, 2, 0).bottom, c->getYCoor(50));
    // Two zeros share the bar; nothing present draws nothing.
    EXPECT_EQ(barRect(layer, 0, 1).top, c->getYCoor(50));
    EXPECT_EQ(barRect(layer, 1, 1).top, c->getYCoor(100));
    for (int k = 0; k < 3; ++k) EXPECT_FALSE(barRect(layer, k, 2).valid) << k;
    EXPECT_EQ(countLines(dump, "Text(\"50.00%\""), 3);
    EXPECT_EQ(countLines(dump, "Text(\"25.00%\""), 2);
}

TEST(BarLayer, BadInputNeverBreaksTheChart) {
    {
        // Zero, negative and missing values on a log axis: bars only where the axis can place them,
        // grown from the plot area's edge (their base 0 lies at minus infinity), upright or swapped.
        for (bool swapped : {false, true}) {
            XYPtr c = barChart(5);
            c->yAxis()->setLogScale(true);
            c->swapXY(swapped);
            const double v[] = {0, -5, 10, 1000, kNaN};
            BarLayer* layer = c->addBarLayer(DoubleArray(v, 5), 0x3366cc);
            layer->setMinImageMapSize(0);
            std::string dump = textDump(c.get());
            EXPECT_FALSE(dump.empty());
            Rect r = barRect(layer, 0, 3);
            ASSERT_TRUE(r.valid);
            if (swapped) {
                EXPECT_EQ(r.right, c->getYCoor(1000));
                EXPECT_EQ(r.left, 50);
            } else {
                EXPECT_EQ(r.top, c->getYCoor(1000));
                EXPECT_EQ(r.bottom, 200);
            }
            for (int i : {0, 1}) {
                Rect low = barRect(layer, 0, i);
                if (low.valid) {
                    EXPECT_EQ(swapped ? low.right - low.left : low.bottom - low.top, 0) << i;
                }
            }
            EXPECT_FALSE(barRect(layer, 0, 4).valid);
            EXPECT_EQ(layer->getDataSet(0)->getValue(4), Chart::NoValue);
        }
    }
    {
        // Bars along a log x axis keep to slots no wider than the plot.
        XYPtr c = makeXYChart(400, 300);
        c->setPlotArea(50, 40, 300, 200);
        const double x[] = {1, 10, 100}, v[] = {3, 4, 5};
        BarLayer* layer = c->addBarLayer(DoubleArray(v, 3), 0x3366cc);
        layer->setXData(DoubleArray(x, 3));
        c->xAxis()->setLogScale(true);
        layer->setMinImageMapSize(0);
        EXPECT_FALSE(textDump(c.get()).empty());
        for (int i = 0; i < 3; ++i) {
            Rect r = barRect(layer, 0, i);
            ASSERT_TRUE(r.valid) << i;
            EXPECT_LE(r.width(), 300) << i;
            EXPECT_NEAR((r.left + r.right) / 2.0, c->getXCoor(x[i]), 1) << i;
        }
    }
    {
        // Absurd widths and gaps, a zero-height bar, huge values, mixed signs in percentages.
        XYPtr c = barChart(3);
        const double v[] = {0, 1e300, -1e300}, w[] = {-1, 0, 2};
        BarLayer* layer = c->addBarLayer(Chart::Percentage, 100000);
        layer->addDataSet(DoubleArray(v, 3), -1, "a");
        layer->addDataSet(DoubleArray(w, 3), -1, "b");
        layer->setBarGap(5, -40);
        layer->setBarWidth(-7, -3);
        layer->setOverlapRatio(kNaN);
        layer->setRoundedCorners(-4, 1 << 30);
        layer->setIconSize(-1, 1 << 30);
        layer->setBarShape(IntArray(), 3, 1);
        layer->setBarShape(0x7fffffff);
        layer->setBarShape(Chart::CircleShape, -1000, 1 << 30);
        EXPECT_FALSE(textDump(c.get()).empty());
    }
    {
        // A zero-height bar is its edge alone.
        XYPtr c = barChart(1);
        const double v[] = {0};
        c->yAxis()->setLinearScale(0, 10);
        BarLayer* layer = c->addBarLayer(DoubleArray(v, 1), 0x123456);
        layer->setBorderColor(0x654321, Chart::glassEffect());
        std::string dump = textDump(c.get());
        EXPECT_EQ(countLines(dump, "0x123456"), 1);
        EXPECT_EQ(countLines(dump, "Gradient"), 0);
    }
    {
        // A layer without data sets draws nothing and has no hot spots.
        XYPtr c = barChart(3);
        BarLayer* layer = c->addBarLayer();
        std::string dump = textDump(c.get());
        EXPECT_STREQ(layer->getImageCoor(0, 0), "");
        XYPtr bare = barChart(3);
        EXPECT_EQ(countLines(dump, "RoundedRect"), countLines(textDump(bare.get()), "RoundedRect"));
    }
}

TEST(BarLayer, FactoriesSetCombineMethodIndentAndColours) {
    XYPtr c = makeXYChart(300, 200);
    const double v[] = {3, kNaN, 5};
    EXPECT_EQ(layerImpl(c->addBarLayer())->combineMethod(), Chart::Side);
    EXPECT_EQ(dynamic_cast<AxisImpl*>(c->xAxis())->scale().getIndent(), 1);
    EXPECT_EQ(layerImpl(c->addBarLayer(DoubleArray(v, 3)))->combineMethod(), Chart::Overlay);

    const int colors[] = {0x111111, 0x222222};
    const char* names[] = {"one", "two", "three"};
    BarLayer* multi = c->addBarLayer(DoubleArray(v, 3), IntArray(colors, 2), StringArray(names, 3), 4);
    ASSERT_EQ(multi->getDataSetCount(), 3);
    for (int k = 0; k < 3; ++k) {
        DataSet* ds = multi->getDataSet(k);
        EXPECT_STREQ(ds->getDataName(), names[k]);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ds->getValue(i), i == k && k != 1 ? v[i] : Chart::NoValue) << k << i;
    }
    EXPECT_EQ(multi->getDataSet(1)->getDataColor(), 0x222222);
    EXPECT_EQ(multi->getDataSet(2)->getDataColor(), -1);
    EXPECT_EQ(layerImpl(multi)->combineMethod(), Chart::Overlay);
    EXPECT_EQ(c->addBarLayer(DoubleArray(v, 3), IntArray(colors, 2))->getDataSetCount(), 3);

    // An indent chosen by the program is kept.
    XYPtr flat = makeXYChart(300, 200);
    flat->xAxis()->setIndent(false);
    flat->addBarLayer(DoubleArray(v, 3));
    EXPECT_EQ(dynamic_cast<AxisImpl*>(flat->xAxis())->scale().getIndent(), 0);
}

TEST(BarLayer, OffsetsCentreAlignedPointsAndHorizontalBars) {
    {
        // A layer aligned to the second data set puts its points on that data set's bars.
        XYPtr c = hundredPixelSlots();
        BarLayer* bars = sideLayer(c.get(), 3);
        Layer* blocks = addBlocks(c.get(), {5, 6, 7});
        blocks->alignLayer(bars, 1);
        c->layout();
        for (int i = 0; i < 3; ++i) {
            Rect r = barRect(bars, 2, i);
            EXPECT_NEAR((r.left + r.right) / 2.0, blocks->getXCoor(i) + 26, 1) << i;
            EXPECT_EQ(blocks->getXCoor(i), c->getXCoor(i)) << i;
        }
        blocks->alignLayer(bars, 2);
        EXPECT_EQ(blocks->getXCoor(0), c->getXCoor(0) + 26);
    }
    XYPtr c = hundredPixelSlots();
    BarLayer* layer = sideLayer(c.get(), 4);
    c->swapXY();
    c->layout();
    for (int k = 0; k < 4; ++k) {
        Rect r = barRect(layer, k, 2);
        ASSERT_TRUE(r.valid);
        // Lying bars: the slot runs down the screen, the value to the right of the base.
        EXPECT_NEAR((r.top + r.bottom) / 2.0, c->getXCoor(2) + layerImpl(layer)->getDataOffset(k), 1) << k;
        EXPECT_EQ(r.left, c->getYCoor(0)) << k;
        EXPECT_GT(r.right, r.left) << k;
    }
}

TEST(BarLayer, ShapesCornersLightingAndIcons) {
    const double v[] = {4, -3};
    auto dumpWith = [&](auto style, bool threeD = false) {
        XYPtr c = barChart(2);
        c->addLegend(60, 4, false);
        BarLayer* layer = c->addBarLayer(DoubleArray(v, 2), 0x3366cc, "bars", threeD ? 5 : 0);
        style(layer);
        return textDump(c.get());
    };
    // Rounded value ends: the top corners of the upward bar, the bottom ones of the downward bar.
    std::string rounded = dumpWith([](BarLayer* l) { l->setRoundedCorners(6); });
    EXPECT_EQ(countLines(rounded, ", 6, 6, 0, 0, "), 1);
    EXPECT_EQ(countLines(rounded, ", 0, 0, 6, 6, "), 1);

    std::string diamond = dumpWith([](BarLayer* l) { l->setBarShape(Chart::DiamondShape); });
    EXPECT_EQ(countLines(diamond, "Shape(0x3366cc"), 3);  // two bars and the legend icon
    EXPECT_EQ(countLines(diamond, "EndDefineSymbol"), 1);
    std::string reset = dumpWith([](BarLayer* l) {
        l->setBarShape(Chart::DiamondShape);
        l->setBarShape(Chart::SquareShape);
    });
    EXPECT_EQ(countLines(reset, "Shape(0x3366cc"), 0);
    std::string oneItem = dumpWith([](BarLayer* l) { l->setBarShape(Chart::TriangleShape, 0, 1); });
    EXPECT_EQ(countLines(oneItem, "Shape(0x3366cc"), 1);

    std::string cylinders = dumpWith([](BarLayer* l) { l->setBarShape(Chart::CircleShape); }, true);
    EXPECT_EQ(countLines(cylinders, "LinearLightingColor"), 3);  // walls and icon
    EXPECT_GE(countLines(cylinders, "Arc, "), 2);
    std::string prisms = dumpWith([](BarLayer* l) { l->setBarShape(Chart::StarShape(5)); }, true);
    EXPECT_GE(countLines(prisms, "Shape(0x193366"), 10);  // the walls, in the shadow colour

    std::string lit = dumpWith([](BarLayer* l) { l->setBorderColor(Chart::Transparent, Chart::barLighting()); });
    EXPECT_EQ(countLines(lit, "LinearLightingColor"), 3);
    std::string glass = dumpWith([](BarLayer* l) { l->setBorderColor(Chart::Transparent, Chart::glassEffect()); });
    EXPECT_EQ(countLines(glass, "LinearGradientColor"), 3);  // a glare on each bar and on the icon
    std::string soft = dumpWith([](BarLayer* l) { l->setBorderColor(Chart::Transparent, Chart::softLighting()); });
    EXPECT_EQ(countLines(soft, "LinearGradientColor"), 0);
    EXPECT_EQ(countLines(soft, "LinearLightingColor"), 3);
    std::string framed = dumpWith([](BarLayer* l) { l->setBorderColor(0x000000, Chart::flatBorder(2)); });
    EXPECT_EQ(countLines(framed, "Shape(0x000000"), 3);

    XYPtr c = barChart(2);
    BarLayer* layer = c->addBarLayer(DoubleArray(v, 2), 0x3366cc, "bars");
    layer->setIconSize(12, 20);
    c->addLegend(60, 4);
    c->layout();
    DrawArea* icon = layer->getLegendIcon(0);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->getWidth(), 20);
    EXPECT_EQ(icon->getHeight(), 12);
}

TEST(BarLayer, GoldenDumps) {
    for (BarCase which : {BarCase::Side, BarCase::Stacked, BarCase::Percentage, BarCase::ThreeD, BarCase::Negative}) {
        XYPtr c = goldenBarChart(which);
        EXPECT_TRUE(matchesGoldenText("chart", std::string(barCaseName(which)) + ".agf", drawtest::withRelativeIds(textDump(c.get()))));
    }
}

TEST(BarLayer, GoldenPictures) {
    PLOTVANE_SKIP_UNLESS_PINNED_FONTS();
    // Labels hold text, whose rasterising may move by a shade between font engine versions.
    for (BarCase which : {BarCase::Side, BarCase::Stacked, BarCase::Percentage, BarCase::ThreeD, BarCase::Negative}) {
        XYPtr c = goldenBarChart(which);
        MemBlock png = c->makeChart(Chart::PNG);
        EXPECT_TRUE(matchesGoldenPNG("chart", std::string(barCaseName(which)) + ".png",
                                     std::string(png.data, static_cast<size_t>(png.len)), 48));
    }
}

TEST(BarLayer, SameChartSameOutputTwiceAndOnFourThreads) {
    auto render = [] {
        XYPtr c = goldenBarChart(BarCase::ThreeD);
        BarLayer* extra = c->addBarLayer(Chart::Stack);
        const double v[] = {1, 2, 3, 4};
        extra->addDataSet(DoubleArray(v, 4), -1, "extra");
        extra->setBorderColor(Chart::Transparent, Chart::glassEffect());
        extra->setBarShape(Chart::DiamondShape);
        return drawtest::withRelativeIds(textDump(c.get()));
    };
    std::string first = render();
    EXPECT_EQ(render(), first);
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < results.size(); ++t) threads.emplace_back([&results, &render, t] { results[t] = render(); });
    for (std::thread& t : threads) t.join();
    for (const std::string& r : results) EXPECT_EQ(r, first);
}

TEST(BarLayer, DepthAndOverlapDecideWhatIsInFront) {
    const double a[] = {5, 6}, b[] = {4, 7};
    {
        XYPtr c = barChart(2);
        BarLayer* layer = c->addBarLayer(Chart::Depth, 10);
        layer->addDataSet(DoubleArray(a, 2), 0x111111);
        layer->addDataSet(DoubleArray(b, 2), 0x222222);
        layer->setMinImageMapSize(0);
        std::vector<std::string> lines = linesOf(textDump(c.get()));
        // Each data set gets half the depth; the second stands behind the first and is drawn first.
        Rect front = barRect(layer, 0, 0), back = barRect(layer, 1, 0);
        EXPECT_EQ(back.left - front.left, 5);
        EXPECT_LT(lineWith(lines, "0x222222)"), lineWith(lines, "0x111111)"));
    }
    {
        // Lying 3D bars recede upwards: the lower bar of a slot is painted first.
        XYPtr c = barChart(2);
        c->swapXY();
        BarLayer* layer = c->addBarLayer(Chart::Side, 8);
        layer->addDataSet(DoubleArray(a, 2), 0x111111);
        layer->addDataSet(DoubleArray(b, 2), 0x222222);
        std::vector<std::string> lines = linesOf(textDump(c.get()));
        EXPECT_GT(barRect(layer, 1, 0).top, barRect(layer, 0, 0).top);
        EXPECT_LT(lineWith(lines, "0x222222)"), lineWith(lines, "0x111111)"));
    }
    for (bool firstOnTop : {false, true}) {
        XYPtr c = barChart(2);
        BarLayer* layer = c->addBarLayer(Chart::Side);
        layer->addDataSet(DoubleArray(a, 2), 0x111111);
        layer->addDataSet(DoubleArray(b, 2), 0x222222);
        layer->setOverlapRatio(0.3, firstOnTop);
        std::vector<std::string> lines = linesOf(textDump(c.get()));
        bool firstLast = lineWith(lines, "0x111111)") > lineWith(lines, "0x222222)");
        EXPECT_EQ(firstLast, firstOnTop);
    }
}

#include <plotvane/chart.h>
#include <plotvane/drawarea.h>
#include <plotvane/legendbox.h>
#include <plotvane/xychart.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "chart/testchart.h"
#include "chart/testlayer.h"
#include "draw/drawtest.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

DoubleArray view(const std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); }

LayerImpl* implOf(Layer* l) { return dynamic_cast<LayerImpl*>(l); }

}  // namespace

TEST(Layer, XPositionsAndDataEntry) {
    XYPtr c = makeXYChart();
    std::vector<double> five{1, 2, 3, 4, 5};
    Layer* ranged = addBlocks(c.get(), five);
    ranged->setXData(0, 100);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ranged->getXPosition(i), 25 * i);
    EXPECT_EQ(ranged->getDataSet(0)->getPosition(2), 50);

    Layer* single = addBlocks(c.get(), std::vector<double>{7});
    single->setXData(0, 100);
    EXPECT_EQ(single->getXPosition(0), 50);
    EXPECT_EQ(single->getXPosition(1), Chart::NoValue);

    Layer* enumerated = addBlocks(c.get(), five);
    EXPECT_EQ(enumerated->getXPosition(3), 3);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> x{10, nan, 30};
    Layer* explicitX = addBlocks(c.get(), {1, nan, 3});
    explicitX->setXData(view(x));
    EXPECT_EQ(explicitX->getXPosition(1), Chart::NoValue);
    EXPECT_EQ(explicitX->getXPosition(5), Chart::NoValue);
    DataSet* ds = explicitX->getDataSet(0);
    EXPECT_EQ(ds->getValue(1), Chart::NoValue) << "NaN is missing";
    EXPECT_EQ(ds->getValue(-1), Chart::NoValue);
    EXPECT_EQ(ds->getValue(3), Chart::NoValue);
    EXPECT_EQ(explicitX->getDataSet(1), nullptr);
    EXPECT_EQ(explicitX->getDataSet(-1), nullptr);
    EXPECT_EQ(explicitX->getDataSetByZ(0), ds);

    // The chart's trim window applies to every array a layer is given.
    std::vector<double> ten{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    struct Case {
        int start, len;
        std::vector<double> kept;
    };
    for (const Case& k : {Case{2, 3, {2, 3, 4}}, Case{8, 0x7fffffff, {8, 9}}, Case{12, 0x7fffffff, {}}}) {
        XYPtr t = makeXYChart();
        t->setTrimData(k.start, k.len);
        DataSet* d = addBlocks(t.get(), ten)->getDataSet(0);
        std::vector<double> got;
        for (int i = 0; d->getValue(i) != Chart::NoValue; ++i) got.push_back(d->getValue(i));
        EXPECT_EQ(got, k.kept) << k.start;
    }
}

TEST(Layer, NearestIndexUsesPixels) {
    XYPtr c = makeXYChart(400, 300);
    c->setPlotArea(50, 50, 300, 200);
    Layer* l = addBlocks(c.get(), {1, 2, 3});
    std::vector<double> x{0, 10, 30};
    l->setXData(view(x));
    c->xAxis()->setLinearScale(0, 30);
    c->layoutAxes();
    EXPECT_EQ(l->getXIndexOf(10), 1);
    EXPECT_EQ(l->getXIndexOf(11), -1) << "outside the tolerance";
    EXPECT_EQ(l->getXIndexOf(11, 2), 1);
    EXPECT_EQ(l->getNearestXValue(24), 30);
    EXPECT_EQ(c->getNearestXValue(c->getXCoor(12)), 10);
    Layer* empty = addBlocks(c.get());
    EXPECT_EQ(empty->getXIndexOf(10), -1);
}

TEST(Layer, DataValuesAndIds) {
    // Values as the layer holds them: NaN and infinities are missing, so is anything out of range.
    XYPtr c = makeXYChart(300, 200);
    const double inf = std::numeric_limits<double>::infinity();
    Layer* a = addBlocks(c.get(), {1, std::nan(""), inf, -inf, 5});
    Layer* b = addBlocks(c.get(), std::vector<double>{2});
    EXPECT_EQ(a->getDataValue(0, 0), 1);
    for (int i : {1, 2, 3, 5, -1}) EXPECT_EQ(a->getDataValue(0, i), Chart::NoValue) << i;
    EXPECT_EQ(a->getDataValue(0, 4), 5);
    EXPECT_EQ(a->getDataValue(1, 0), Chart::NoValue);
    EXPECT_EQ(a->getDataValue(-1, 0), Chart::NoValue);
    EXPECT_LT(a->getLayerId(), b->getLayerId());
    EXPECT_STREQ(c->getJsChartModel(), "{}");
}

TEST(Layer, ColoursLegendKeysAndDepth) {
    XYPtr c = makeXYChart(500, 400);
    c->setPlotArea(50, 50, 400, 300);
    LegendBox* legend = c->addLegend(10, 10);
    Layer* a = addBlocks(c.get(), {1, 2}, -1, "one");
    a->addDataSet(view({3, 4}), -1, "two");
    Layer* b = addBlocks(c.get(), std::vector<double>{5}, -1, "three");
    b->addDataSet(view({6}), 0xff0000, "four");
    b->set3D();
    c->layout();
    EXPECT_EQ(a->getDataSet(0)->getDataColor(), Chart::DataColor);
    EXPECT_EQ(a->getDataSet(1)->getDataColor(), Chart::DataColor + 1);
    EXPECT_EQ(b->getDataSet(0)->getDataColor(), Chart::DataColor + 2);
    EXPECT_EQ(b->getDataSet(1)->getDataColor(), 0xff0000);
    // 300 / 40 = 7, not below 4: the automatic depth.
    EXPECT_EQ(implOf(b)->getDepthX(), 7);
    EXPECT_EQ(implOf(b)->getDepthY(), 7);
    // It follows the plot area through later layouts.
    c->packPlotArea(0, 0, 499, 399);
    const int side = std::min(c->getPlotArea()->getWidth(), c->getPlotArea()->getHeight());
    EXPECT_GE(side, 360);
    EXPECT_EQ(implOf(b)->getDepthX(), side / 40);
    (void)legend;

    Layer* r = addBlocks(c.get(), std::vector<double>{1}, -1, "x");
    r->addDataSet(view({1}), -1, "y");
    r->addDataSet(view({1}), -1, "z");
    LayerImpl* ri = implOf(r);
    EXPECT_EQ(ri->getLegendZ(0), 30010);
    r->setLegend(Chart::ReverseLegend);
    EXPECT_EQ(ri->getLegendZ(0), 30030);
    EXPECT_EQ(ri->getLegendZ(2), 30010);
    r->setLegendOrder(Chart::NormalLegend, 5);
    EXPECT_EQ(ri->getLegendZ(1), 25);
}

TEST(Layer, LegendShowsNamedDataSetsInLayerOrder) {
    XYPtr c = makeXYChart(500, 400);
    c->setPlotArea(50, 50, 300, 300);
    c->addLegend(400, 50)->setKeySize(10, 10);
    Layer* first = addBlocks(c.get(), std::vector<double>{1}, 0x112233, "First");
    first->addDataSet(view({2}), 0x445566);  // no name: no entry
    Layer* second = addBlocks(c.get(), std::vector<double>{3}, 0x778899, "Second");
    second->getDataSet(0)->setDataSymbol(Chart::SquareSymbol, 5, 0x00aa00);
    second->moveFront();
    std::vector<std::string> lines = linesOf(dumpOf(c->makeChart()));
    // Entries sort by layer, whatever the drawing order; the unnamed data set has none.
    int one = lineWith(lines, "Text(\"First\""), two = lineWith(lines, "Text(\"Second\"");
    ASSERT_GE(one, 0);
    EXPECT_GT(two, one);
    int texts = 0;
    for (const std::string& s : lines) texts += s.rfind("Text(", 0) == 0 && s.find("0x000000)") != std::string::npos;
    EXPECT_GE(texts, 2);
    EXPECT_NE(first->getLegendIcon(0), second->getLegendIcon(0));
    EXPECT_EQ(first->getLegendIcon(0), nullptr) << "a plain box";
    ASSERT_NE(second->getDataSet(0)->getLegendIcon(), nullptr);
    EXPECT_EQ(second->getDataSet(0)->getLegendIcon()->getWidth(), 5);
}

TEST(Layer, CombineMethodsGiveSpans) {
    XYPtr c = makeXYChart();
    Layer* stack = addBlocks(c.get(), Chart::Stack);
    stack->addDataSet(view({3, 1}));
    stack->addDataSet(view({-2, Chart::NoValue}));
    stack->addDataSet(view({4, 2}));
    LayerImpl* s = implOf(stack);
    EXPECT_EQ(s->spanOf(2, 0).end, 7) << "positives stack on positives";
    EXPECT_EQ(s->spanOf(1, 0).end, -2);
    EXPECT_EQ(s->spanOf(2, 1).base, 1) << "a missing value takes no room";
    EXPECT_FALSE(s->spanOf(1, 1).present);
    c->layoutAxes();
    EXPECT_EQ(s->getMaxY(dynamic_cast<AxisImpl*>(c->yAxis())), 7);
    EXPECT_EQ(s->getMinY(dynamic_cast<AxisImpl*>(c->yAxis())), -2);

    Layer* percent = addBlocks(c.get(), Chart::Percentage);
    for (const auto& v : {std::vector<double>{1, 0}, std::vector<double>{1, 0}, std::vector<double>{2, Chart::NoValue}})
        percent->addDataSet(view(v));
    LayerImpl* p = implOf(percent);
    EXPECT_EQ(p->spanOf(0, 0).end, 25);
    EXPECT_EQ(p->spanOf(1, 0).end, 50);
    EXPECT_EQ(p->spanOf(2, 0).end, 100);
    EXPECT_EQ(p->spanOf(0, 1).end, 50) << "zeros share the bar";
    EXPECT_EQ(p->spanOf(1, 1).end, 100);
    EXPECT_EQ(p->countAllZero(0, 3, 1), 2);
    EXPECT_EQ(p->countAllZero(0, 3, 0), -1);
    EXPECT_EQ(p->getAccValue(0, 3, 0), 4);

    // Groups stack separately.
    Layer* grouped = addBlocks(c.get(), Chart::Stack);
    grouped->addDataSet(view({5}));
    grouped->addDataGroup("second");
    grouped->addDataSet(view({6}));
    EXPECT_EQ(implOf(grouped)->spanOf(1, 0).base, 0);

    // A percentage layer scales its axis to 0-100 and labels it with "%".
    XYPtr pc = makeXYChart();
    pc->setPlotArea(40, 20, 300, 200);
    Layer* share = addBlocks(pc.get(), Chart::Percentage);
    share->addDataSet(view({1, 3}));
    share->addDataSet(view({3, 1}));
    pc->layoutAxes();
    EXPECT_EQ(pc->yAxis()->getMinValue(), 0);
    EXPECT_EQ(pc->yAxis()->getMaxValue(), 100);
    EXPECT_STREQ(pc->yAxis()->getLabel(100), "100%");
}

TEST(Layer, RangesFollowTheDataAndItsChanges) {
    XYPtr c = makeXYChart();
    AxisImpl* y = dynamic_cast<AxisImpl*>(c->yAxis());
    AxisImpl* y2 = dynamic_cast<AxisImpl*>(c->yAxis2());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Unstacked ranges end at the values: missing ones are skipped, a data set on the other axis
    // counts only there, and a side layer's base line does not widen the range.
    Layer* side = addBlocks(c.get(), Chart::Side);
    side->setBaseLine(-50);
    side->addDataSet(view({Chart::NoValue, 4, nan, -3, Chart::NoValue}));
    side->addDataSet(view({9, -7}))->setUseYAxis2();
    side->addDataSet(view({Chart::NoValue, nan}));
    LayerImpl* s = implOf(side);
    EXPECT_EQ(s->getMinY(y), -3);
    EXPECT_EQ(s->getMaxY(y), 4);
    EXPECT_EQ(s->getMinY(y2), -7);
    EXPECT_EQ(s->getMaxY(y2), 9);
    // New data replace what was found before.
    side->getDataSet(0)->setData(view({-1e300, 2}));
    EXPECT_EQ(s->getMinY(y), -1e300);
    EXPECT_EQ(s->getMaxY(y), 2);
    side->getDataSet(0)->setData(view({Chart::NoValue}));
    EXPECT_EQ(s->getMinY(y), Chart::NoValue) << "nothing present on the axis";
    EXPECT_EQ(s->getMaxY(y), Chart::NoValue);
    // Overlay agrees with the spans of its points, however the values are spread.
    std::vector<double> walk(1001);
    for (size_t i = 0; i < walk.size(); ++i) walk[i] = i % 7 == 3 ? Chart::NoValue : std::sin(i * 0.37) * i;
    Layer* overlay = addBlocks(c.get(), walk);
    LayerImpl* o = implOf(overlay);
    double lo = Chart::NoValue, hi = Chart::NoValue;
    for (int i = 0; i < static_cast<int>(walk.size()); ++i) {
        Span sp = o->spanOf(0, i);
        if (!sp.present) continue;
        lo = lo == Chart::NoValue ? sp.end : std::min(lo, sp.end);
        hi = hi == Chart::NoValue ? sp.end : std::max(hi, sp.end);
    }
    EXPECT_EQ(o->getMinY(y), lo);
    EXPECT_EQ(o->getMaxY(y), hi);

    // x ranges: enumerated, evenly spread (either way round), one point, explicit x data.
    EXPECT_EQ(o->getMinX(), 0);
    EXPECT_EQ(o->getMaxX(), 1000);
    overlay->setXData(7, -0.1);
    EXPECT_EQ(o->getMinX(), overlay->getXPosition(1000));
    EXPECT_EQ(o->getMaxX(), 7);
    Layer* one = addBlocks(c.get(), std::vector<double>{5});
    one->setXData(10, 20);
    EXPECT_EQ(implOf(one)->getMinX(), 15);
    EXPECT_EQ(implOf(one)->getMaxX(), 15);
    one->setXData(view({nan, 3, -2, Chart::NoValue}));
    EXPECT_EQ(implOf(one)->getMinX(), -2);
    EXPECT_EQ(implOf(one)->getMaxX(), 3);
    EXPECT_EQ(implOf(addBlocks(c.get()))->getMinX(), Chart::NoValue) << "no data, no range";
}

TEST(Layer, LabelFields) {
    XYPtr c = makeXYChart();
    const char* names[] = {"Jan", "Feb"};
    c->xAxis()->setLabels(StringArray(names, 2));
    Layer* l = addBlocks(c.get(), Chart::Stack);
    l->addDataSet(view({1, 0}), -1, "A");
    l->addDataSet(view({3, 0}), -1, "B");
    l->addDataSet(view({Chart::NoValue, 0}), -1, "C");
    std::vector<double> extra{7, 8};
    l->addExtraField(view(extra));
    c->layoutAxes();
    LayerImpl* li = implOf(l);
    EXPECT_EQ(li->formatLabel("{dataSetName} {value} of {totalValue} at {xLabel}", 1, 0), "B 3 of 4 at Jan");
    EXPECT_EQ(li->formatLabel("{percent}|{accPercent}|{gpercent}", 1, 0), "75.00|100.00|75.00");
    EXPECT_EQ(li->formatLabel("{percent|0}", 0, 1), "33") << "zeros share equally";
    EXPECT_EQ(li->formatLabel("{value}", -1, 0), "4") << "a whole item's label shows its total";
    EXPECT_EQ(li->formatLabel("{field0}/{layerId}/{dataItem}/{unknown}", 0, 1), "8/0/1/{unknown}");
    Layer* cancel = addBlocks(c.get(), Chart::Overlay);
    cancel->addDataSet(view({2}));
    cancel->addDataSet(view({-2}));
    EXPECT_EQ(implOf(cancel)->formatLabel("{percent}", 0, 0), "[undef]");

    // Labels are drawn in the label pass when a format or a colour asks for them.
    l->getDataSet(0)->setDataLabelFormat("<{value}>");
    std::string dump = dumpOf(c->makeChart());
    EXPECT_NE(dump.find("\"<1>\""), std::string::npos);
    EXPECT_EQ(dump.find("\"<3>\""), std::string::npos);
}

TEST(Layer, SymbolsAreDrawnOnceAndStamped) {
    XYPtr c = makeXYChart(400, 300);
    c->setPlotArea(40, 20, 300, 200);
    Layer* l = addBlocks(c.get(), {1, 2, 3, Chart::NoValue, 5});
    l->getDataSet(0)->setDataSymbol(Chart::CircleSymbol, 8);
    l->addDataSet(view({2, 2}))->setDataSymbol(Chart::SquareSymbol, 7, c->linearGradientColor(0, 0, 9, 9, 0, 0xffffff));
    std::string dump = drawtest::withRelativeIds(dumpOf(c->makeChart()));
    std::vector<std::string> lines = linesOf(dump);
    int defines = 0, merges = 0;
    for (const std::string& s : lines) {
        defines += s.rfind("DefineSymbol(", 0) == 0;
        merges += s.rfind("MergeWithScaling(0,", 0) == 0;
    }
    EXPECT_EQ(defines, 1) << "the gradient symbol is drawn in place";
    EXPECT_EQ(merges, 4) << "one stamp per present point";
    // A circle has a centre pixel: its even size became odd.
    EXPECT_NE(dump.find("MergeWithScaling(0, "), std::string::npos);
    EXPECT_NE(lineWith(lines, ", 9, 9, 0)"), -1);
}

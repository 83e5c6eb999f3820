#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "chart/barchart.h"
#include "chart/testchart.h"
#include "draw/drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const double kUp[] = {5, -3, 4}, kMore[] = {2, -2, 3};

// The top-left corner of the recorded text `text`; valid is false when there is none.
struct TextAt {
    int x = 0, y = 0;
    bool valid = false;
};

TextAt textAt(const std::string& dump, const std::string& text) {
    TextAt t;
    std::string key = "Text(\"" + text + "\", ";
    for (const std::string& l : linesOf(dump)) {
        size_t at = l.find(key);
        if (at == std::string::npos) continue;
        int a, b;
        t.valid = std::sscanf(l.c_str() + at + key.size(), "%d, %d, %d, %d", &a, &b, &t.x, &t.y) == 4;
        return t;
    }
    return t;
}

// A stacked layer of two data sets whose labels read "a<value>" and "b<value>", styled by `style`.
struct Stack {
    XYPtr chart;
    BarLayer* layer;
    std::string dump;
};

Stack stackWith(const std::function<void(BarLayer*)>& style, bool swapped = false) {
    Stack s{barChart(3), nullptr, ""};
    s.layer = s.chart->addBarLayer(Chart::Stack);
    s.layer->addDataSet(DoubleArray(kUp, 3), 0x3366cc, "a");
    s.layer->addDataSet(DoubleArray(kMore, 3), 0xcc3333, "b");
    s.layer->setDataLabelFormat("{dataSetName}{value}");
    s.layer->setMinImageMapSize(0);
    if (swapped) s.chart->swapXY();
    style(s.layer);
    s.dump = textDump(s.chart.get());
    return s;
}

}  // namespace

TEST(DataLabels, BarLabelsTakeTheStyleAlignmentInsideTheBar) {
    // Without an alignment the labels stand in the middle of each segment.
    Stack centred = stackWith([](BarLayer* l) { l->setDataLabelStyle(); });
    for (int i = 0; i < 3; ++i) {
        Rect r = barRect(centred.layer, 0, i);
        TextAt t = textAt(centred.dump, "a" + std::to_string(static_cast<int>(kUp[i])));
        ASSERT_TRUE(t.valid) << i;
        EXPECT_GT(t.y, r.top) << i;
        EXPECT_LT(t.y, (r.top + r.bottom) / 2) << i;
    }

    // Top means the value end: the top of a rising segment, the bottom of a falling one.
    Stack top = stackWith([](BarLayer* l) { l->setDataLabelStyle()->setAlignment(Chart::Top); });
    Rect rising = barRect(top.layer, 1, 0), falling = barRect(top.layer, 1, 1);
    TextAt high = textAt(top.dump, "b2"), low = textAt(top.dump, "b-2");
    ASSERT_TRUE(high.valid && low.valid);
    EXPECT_EQ(high.y, rising.top);
    EXPECT_GT(low.y, textAt(centred.dump, "b-2").y);
    EXPECT_LT(low.y, falling.bottom);

    // The style's position moves every label by that much.
    Stack moved = stackWith([](BarLayer* l) {
        TextBox* style = l->setDataLabelStyle();
        style->setAlignment(Chart::Top);
        style->setPos(3, -2);
    });
    for (const char* label : {"a5", "a-3", "b2", "b-2", "b3"}) {
        TextAt was = textAt(top.dump, label), now = textAt(moved.dump, label);
        ASSERT_TRUE(was.valid && now.valid) << label;
        EXPECT_EQ(now.x - was.x, 3) << label;
        EXPECT_EQ(now.y - was.y, -2) << label;
    }

    // Lying bars: Right is the value end, and the left end for bars that point left.
    Stack lying = stackWith([](BarLayer* l) { l->setDataLabelStyle()->setAlignment(Chart::Right); }, true);
    Rect right = barRect(lying.layer, 0, 0), left = barRect(lying.layer, 0, 1);
    TextAt rightLabel = textAt(lying.dump, "a5"), leftLabel = textAt(lying.dump, "a-3");
    ASSERT_TRUE(rightLabel.valid && leftLabel.valid);
    EXPECT_GT(rightLabel.x, (right.left + right.right) / 2);
    EXPECT_EQ(leftLabel.x, left.left);

    // Bars shorter than the minimum label size carry their labels beyond the value end.
    Stack outside = stackWith([](BarLayer* l) {
        l->setDataLabelStyle()->setAlignment(Chart::Top);
        l->setMinLabelSize(1000);
    });
    EXPECT_LT(textAt(outside.dump, "b2").y, barRect(outside.layer, 1, 0).top);
    EXPECT_GT(textAt(outside.dump, "b-2").y, barRect(outside.layer, 1, 1).bottom);
}

TEST(DataLabels, AggregateLabelsHangBeyondTheStack) {
    Stack s = stackWith([](BarLayer* l) {
        l->setDataLabelFormat("");
        l->setAggregateLabelStyle();
    });
    // The totals 7 and 7 sit above their stacks; the falling stack's -5 below it.
    TextAt total = textAt(s.dump, "-5");
    ASSERT_TRUE(total.valid);
    EXPECT_GT(total.y, barRect(s.layer, 1, 1).bottom);
    Stack centred = stackWith([](BarLayer* l) {
        l->setDataLabelFormat("");
        l->setAggregateLabelStyle()->setAlignment(Chart::Center);
    });
    TextAt middle = textAt(centred.dump, "-5");
    ASSERT_TRUE(middle.valid);
    EXPECT_LT(middle.y, total.y);
}

TEST(DataLabels, CustomLabelsOfOneItemKeepEachOther) {
    // A custom label for the first data set, the stack's total and the group at the same item are
    // three labels; adding one never drops another.
    Stack s = stackWith([](BarLayer* l) {
        l->setDataLabelFormat("");
        l->addCustomDataLabel(0, 1, "first");
        l->addCustomAggregateLabel(1, "total");
        l->addCustomGroupLabel(0, 1, "group");
    });
    EXPECT_TRUE(textAt(s.dump, "first").valid) << s.dump;
    EXPECT_TRUE(textAt(s.dump, "total").valid);
}

TEST(DataLabels, LineLabelsClearTheSymbolAndTurnInward) {
    XYPtr c = makeXYChart(320, 240);
    c->setPlotArea(50, 40, 240, 160);
    const double v[] = {1, 4, 9};
    LineLayer* layer = c->addLineLayer(DoubleArray(v, 3), 0x3366cc);
    c->yAxis()->setLinearScale(0, 9);
    layer->getDataSet(0)->setDataSymbol(Chart::SquareSymbol, 9);
    layer->setDataLabelFormat("p{value}");
    layer->setDataLabelStyle();
    std::string dump = textDump(c.get());
    c->layout();
    int y0 = c->getYCoor(1), y2 = c->getYCoor(9);
    // Above the symbol by default; the top point's label turns below it, the first one rightward.
    TextAt first = textAt(dump, "p1"), last = textAt(dump, "p9");
    ASSERT_TRUE(first.valid && last.valid);
    EXPECT_LT(first.y, y0 - 4);
    EXPECT_GE(first.x, 50);
    EXPECT_GT(last.y, y2 + 4);

    // Right of the point: the label ends left of the symbol.
    XYPtr c2 = makeXYChart(320, 240);
    c2->setPlotArea(50, 40, 240, 160);
    LineLayer* l2 = c2->addLineLayer(DoubleArray(v, 3), 0x3366cc);
    l2->getDataSet(0)->setDataSymbol(Chart::SquareSymbol, 9);
    l2->setDataLabelFormat("p{value}");
    l2->setDataLabelStyle()->setAlignment(Chart::Right);
    std::string dump2 = textDump(c2.get());
    TextAt middle = textAt(dump2, "p4");
    ASSERT_TRUE(middle.valid);
    EXPECT_LT(middle.x, c2->getXCoor(1) - 4);
}

TEST(DataLabels, GoldenDump) {
    XYPtr c = barChart(3);
    BarLayer* bars = c->addBarLayer(Chart::Stack);
    bars->addDataSet(DoubleArray(kUp, 3), 0x3366cc);
    bars->addDataSet(DoubleArray(kMore, 3), 0xcc3333);
    TextBox* style = bars->setDataLabelStyle("", 8, 0xffffff);
    style->setAlignment(Chart::Top);
    style->setPos(0, 1);
    bars->setAggregateLabelStyle();
    const double line[] = {6, 2, 8};
    LineLayer* points = c->addLineLayer(DoubleArray(line, 3), 0x008000);
    points->getDataSet(0)->setDataSymbol(Chart::CircleSymbol, 7);
    points->setDataLabelStyle()->setAlignment(Chart::Left);
    EXPECT_TRUE(matchesGoldenText("chart", "data_labels.agf", drawtest::withRelativeIds(textDump(c.get()))));
}

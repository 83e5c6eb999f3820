// Label tables: sizes from content and styles, spans, style inheritance as painted, odd shapes
// and sizes, and a styled table as a golden picture.

#include <plotvane/basechart.h>
#include <plotvane/drawarea.h>
#include <plotvane/drawobj.h>
#include <plotvane/pvmltable.h>
#include <plotvane/xychart.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "chart/testchart.h"
#include "chart/testlayer.h"
#include "draw/drawtest.h"
#include "support/golden.h"
#include "support/pinnedfonts.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

PVMLTable* tableOn(ChartPtr& tc, int cols, int rows) {
    PVMLTable* t = tc->api()->addTable(10, 10, Chart::TopLeft, cols, rows);
    t->getStyle()->setFontStyle(kFont);
    return t;
}

int natural(PVMLTable* t, int col, int row) { return t->getCell(col, row)->getWidth(); }

// Where a text was drawn: Text("text", font, flags, x, y, colour) in a dump.
std::pair<int, int> textAt(const std::string& dump, const char* text) {
    size_t at = dump.find(std::string("Text(\"") + text + "\"");
    EXPECT_NE(at, std::string::npos) << text;
    int font = 0, flags = 0, x = 0, y = 0;
    if (at != std::string::npos)
        std::sscanf(dump.c_str() + at + 7 + std::strlen(text), ", %d, %d, %d, %d", &font, &flags, &x, &y);
    return {x, y};
}

}  // namespace

TEST(PVMLTable, SizesFollowContentSpansAndFixedColumns) {
    auto tc = makeTestChart(400, 300);
    PVMLTable* t = tableOn(tc, 2, 2);
    t->setText(0, 0, "a");
    t->setText(1, 0, "bbbb");
    int a = natural(t, 0, 0), b = natural(t, 1, 0);
    t->setCell(0, 1, 2, 1, "a much wider spanning cell of text");
    int w = natural(t, 0, 1);
    ASSERT_GT(w, a + b);
    // Both free columns widen in proportion to the widths they had.
    auto grown = [&](int c) { return static_cast<int>(std::ceil(static_cast<double>(c) * w / (a + b))); };
    EXPECT_EQ(t->getWidth(), grown(a) + grown(b));
    EXPECT_EQ(t->getHeight(), t->getCell(0, 0)->getHeight() + t->getCell(0, 1)->getHeight());
    EXPECT_EQ(t->getColWidth(0), grown(a));
    EXPECT_EQ(t->getColWidth(1), grown(b));
    EXPECT_EQ(t->getRowHeight(1), t->getCell(0, 1)->getHeight());
    EXPECT_EQ(t->getColWidth(2), 0);
    EXPECT_EQ(t->getRowHeight(-1), 0);

    // A column style's width holds whatever the cells contain; a span over it widens the other.
    t->getColStyle(0)->setWidth(50);
    EXPECT_EQ(t->getWidth(), std::max(50 + b, w));
    t->getColStyle(1)->setWidth(20);
    EXPECT_EQ(t->getWidth(), 70);

    // Spans are clamped to the grid; slots outside it are ignored.
    PVMLTable* u = tableOn(tc, 3, 2);
    TextBox* big = u->setCell(1, 1, 10, 10, "x");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(u->getCell(2, 1), big);
    EXPECT_EQ(u->setCell(3, 0, 1, 1, "out"), nullptr);
    EXPECT_EQ(u->getCell(-1, 0), nullptr);
    EXPECT_EQ(u->getRowStyle(2), nullptr);
    // A new span takes over the cells it overlaps; the slots they left are empty again.
    u->setCell(0, 1, 2, 1, "over");
    EXPECT_EQ(u->getCell(0, 1), u->getCell(1, 1));
    EXPECT_NE(u->getCell(2, 1), u->getCell(1, 1));
    // Inserting inside a span widens it; inserting before it moves it.
    TextBox* wide = u->getCell(0, 1);
    EXPECT_EQ(u->insertCol(1), 1);
    EXPECT_EQ(u->getCell(2, 1), wide);
    EXPECT_EQ(u->insertRow(0), 0);
    EXPECT_EQ(u->getCell(0, 2), wide);
    EXPECT_EQ(u->getColCount(), 4);
    EXPECT_EQ(u->getRowCount(), 3);
    EXPECT_EQ(u->insertRow(9), -1);
}

TEST(PVMLTable, EmptyHugeAndNegativeTables) {
    auto tc = makeTestChart(200, 100);
    PVMLTable* empty = tableOn(tc, 0, 0);
    EXPECT_EQ(empty->getWidth(), 0);
    EXPECT_EQ(empty->getCell(0, 0), nullptr);
    EXPECT_EQ(empty->appendRow(), 0);
    EXPECT_EQ(empty->appendCol(), 0);
    empty->setText(0, 0, "grown");
    EXPECT_GT(empty->getWidth(), 0);
    PVMLTable* negative = tableOn(tc, -5, 3);
    EXPECT_EQ(negative->getColCount(), 0);
    EXPECT_EQ(tc->api()->addTable(0, 0, Chart::TopLeft, 1 << 16, 1 << 16), nullptr);

    PVMLTable* many = tableOn(tc, 100, 100);
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < 100; ++c) many->setText(c, r, std::to_string(r * 100 + c).c_str());
    many->setCell(10, 10, 500, 500, "spans to the end");
    EXPECT_GT(many->getWidth(), 100);
    EXPECT_NE(tc->makeChart(), nullptr);
}

TEST(PVMLTable, LaterStyleWinsAndEmptySlotsArePainted) {
    auto tc = makeTestChart(200, 100);
    PVMLTable* t = tc->api()->addTable(10, 10, Chart::TopLeft, 3, 1);
    t->getStyle()->setFontStyle(kFont);
    t->getStyle()->setBackground(Chart::Transparent, Chart::Transparent);
    t->getColStyle(0)->setWidth(30);
    t->getColStyle(2)->setWidth(30);
    t->getRowStyle(0)->setHeight(20);
    t->getRowStyle(0)->setBackground(0xff0000);
    t->getColStyle(1)->setWidth(30);
    t->getColStyle(1)->setBackground(0x0000ff);  // made after the row style: wins
    t->getColStyle(0)->setBackground(0x00ff00);  // older than the row style: loses
    t->setText(0, 0, "");
    t->setText(1, 0, "");
    DrawArea* d = tc->makeChart();
    EXPECT_EQ(d->getPixel(25, 20) & 0xffffff, 0xff0000);
    EXPECT_EQ(d->getPixel(55, 20) & 0xffffff, 0x0000ff);
    EXPECT_EQ(d->getPixel(85, 20) & 0xffffff, 0xff0000);  // no cell: painted with the row's fill
}

TEST(PVMLTable, StyledFreeTableGolden) {
    auto tc = makeTestChart(320, 160);
    PVMLTable* t = tc->api()->addTable(160, 80, Chart::Center, 4, 3);
    t->getStyle()->setFontStyle(kFont);
    t->getStyle()->setFontSize(9);
    t->getStyle()->setMargin(4);
    t->getRowStyle(0)->setBackground(0x335577, 0xffffff);
    t->getRowStyle(0)->setFontColor(0xffffff);
    t->getColStyle(0)->setBackground(0xeeeeee);
    t->setCell(0, 0, 1, 1, "Region");
    t->setCell(1, 0, 3, 1, "<*font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf*>Quarterly sales");
    t->setText(0, 1, "North");
    t->setText(0, 2, "South");
    t->setText(1, 1, "12");
    t->setCell(2, 1, 2, 2, "<*color=CC0000*>merged<*br*>cell");
    TextBox* hot = t->getCell(1, 2);
    hot->setText("7");
    hot->setBackground(0xffee88, 0xcc8800);
    hot->setAlignment(Chart::Right);
    EXPECT_TRUE(matchesGoldenText("chart", "table_styled.agf", drawtest::withRelativeIds(dumpOf(tc->makeChart()))));
    PLOTVANE_SKIP_UNLESS_PINNED_FONTS();
    MemBlock png = tc->api()->makeChart(Chart::PNG);
    EXPECT_TRUE(matchesGoldenPNG("chart", "table_styled.png", std::string(png.data, static_cast<size_t>(png.len)), 48));
}

TEST(PVMLTable, UnderTheXAxisWithSpanningCells) {
    XYPtr c = makeXYChart(360, 240);
    const double values[] = {3, 5, 4, 6};
    const char* quarters[] = {"Q1", "Q2", "Q3", "Q4"};
    c->setPlotArea(40, 20, 300, 140, 0xffffff, -1, Chart::Transparent, Chart::Transparent, Chart::Transparent);
    c->addBarLayer(DoubleArray(values, 4), 0x3377cc);
    c->xAxis()->setLabels(StringArray(quarters, 4));
    c->layout();  // the labels become the table's columns once the axis has them
    PVMLTable* t = c->xAxis()->makeLabelTable();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(c->xAxis()->makeLabelTable(), t);
    t->getStyle()->setFontStyle(kFont);
    EXPECT_EQ(t->appendRow(), 1);
    EXPECT_EQ(t->appendRow(), 2);
    t->setCell(0, 1, 2, 1, "First half");
    t->setCell(2, 1, 9, 1, "Second half");  // the span stops at the table's end
    TextBox* year = t->setCell(0, 2, 4, 1, "2024");
    ASSERT_NE(year, nullptr);
    year->setBackground(0xeeeeee, 0x888888);
    DrawArea* d = c->makeChart();
    // The table stands under the axis, its columns the categories' width.
    EXPECT_EQ(t->getColCount(), 4);
    EXPECT_EQ(t->getWidth(), 300);
    EXPECT_TRUE(matchesGoldenText("chart", "table_under_axis.agf", drawtest::withRelativeIds(dumpOf(d))));
    PLOTVANE_SKIP_UNLESS_PINNED_FONTS();
    MemBlock png = c->makeChart(Chart::PNG);
    EXPECT_TRUE(matchesGoldenPNG("chart", "table_under_axis.png", std::string(png.data, static_cast<size_t>(png.len)), 48));
}

TEST(PVMLTable, OverATopAxisTheLabelsStayNextToTheAxis) {
    // Rows added to a table over a top axis go upwards, away from the plot, as they go downwards
    // under a bottom axis.
    const double values[] = {3, 5, 4, 6};
    const char* quarters[] = {"Q1", "Q2", "Q3", "Q4"};
    for (bool top : {false, true}) {
        XYPtr c = makeXYChart(360, 260);
        c->setPlotArea(40, 80, 300, 120, 0xffffff, -1, Chart::Transparent, Chart::Transparent, Chart::Transparent);
        c->setXAxisOnTop(top);
        c->addBarLayer(DoubleArray(values, 4), 0x3377cc);
        c->xAxis()->setLabels(StringArray(quarters, 4));
        c->layout();
        PVMLTable* t = c->xAxis()->makeLabelTable();
        ASSERT_NE(t, nullptr);
        t->getStyle()->setFontStyle(kFont);
        EXPECT_EQ(t->appendRow(), 1);
        t->setCell(0, 1, 4, 1, "Year");
        std::string dump = dumpOf(c->makeChart());
        int label = textAt(dump, "Q1").second, year = textAt(dump, "Year").second;
        if (top) {
            EXPECT_LT(label, 80);
            EXPECT_LT(year, label);
        } else {
            EXPECT_GT(label, 200);
            EXPECT_GT(year, label);
        }
    }
}

TEST(PVMLTable, BesideVerticalAxes) {
    // Four labels up a left and a right axis: the labels fill column 0, one row each from the
    // bottom up, rows an equal share of the axis; columns added go outward, so on the left axis
    // the table grows leftwards and the plot area gives way to it.
    const double values[] = {3, 5, 4, 6};
    const char* levels[] = {"Low", "Mid", "High", "Top"};
    for (int round = 0; round < 3; ++round) {
        // The third round reverses the left axis: its rows then run downwards with the labels.
        bool left = round != 1, reversed = round == 2;
        XYPtr c = makeXYChart(360, 260);
        c->setPlotArea(80, 20, 200, 200, 0xffffff, -1, Chart::Transparent, Chart::Transparent, Chart::Transparent);
        c->addBarLayer(DoubleArray(values, 4), 0x3377cc)->setUseYAxis2(!left);
        Axis* axis = left ? c->yAxis() : c->yAxis2();
        axis->setLabels(StringArray(levels, 4));
        axis->setReverse(reversed);
        c->layout();
        PVMLTable* t = axis->makeLabelTable();
        ASSERT_NE(t, nullptr);
        t->getStyle()->setFontStyle(kFont);
        EXPECT_EQ(t->getRowCount(), 4);
        EXPECT_EQ(t->getColCount(), 1);
        EXPECT_EQ(t->appendCol(), 1);
        t->setCell(1, 0, 1, 2, "Lower half");
        t->setText(1, 2, "Upper");
        DrawArea* d = c->makeChart();
        EXPECT_EQ(t->getHeight(), 200);
        std::string dump = dumpOf(d);
        auto low = textAt(dump, "Low"), top = textAt(dump, "Top"), lower = textAt(dump, "Lower half"),
             upper = textAt(dump, "Upper");
        // Up the axis from the first label (down when reversed), inside its 200 pixels.
        EXPECT_EQ(low.second > top.second, !reversed);
        for (int y : {low.second, top.second}) {
            EXPECT_GE(y, 20);
            EXPECT_LE(y, 220);
        }
        // Labels next to the axis, the added column beyond them.
        if (left) {
            EXPECT_LT(lower.first, low.first);
            EXPECT_LT(low.first, 80);
        } else {
            EXPECT_GT(lower.first, low.first);
            EXPECT_GT(low.first, 280);
        }
        EXPECT_EQ(lower.second > upper.second, !reversed);
    }
}

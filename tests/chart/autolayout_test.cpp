#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/xy/axis_p.h"
#include "chart/xy/xychart_p.h"
#include "chart/linechart.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

struct Rect {
    std::string what;
    int left, top, right, bottom;  // right and bottom one past the last pixel
};

Rect boxOf(const std::string& what, TextBox* b) {
    return {what, b->getLeftX(), b->getTopY(), b->getLeftX() + b->getWidth(), b->getTopY() + b->getHeight()};
}

Rect boxOf(const std::string& what, LegendBox* b) {
    return {what, b->getLeftX(), b->getTopY(), b->getLeftX() + b->getWidth(), b->getTopY() + b->getHeight()};
}

bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void expectApart(const std::vector<Rect>& rects) {
    for (size_t i = 0; i < rects.size(); ++i)
        for (size_t j = i + 1; j < rects.size(); ++j)
            EXPECT_FALSE(overlap(rects[i], rects[j])) << rects[i].what << " overlaps " << rects[j].what;
}

void expectInside(const Rect& r, int width, int height) {
    EXPECT_GE(r.left, 0) << r.what;
    EXPECT_GE(r.top, 0) << r.what;
    EXPECT_LE(r.right, width) << r.what;
    EXPECT_LE(r.bottom, height) << r.what;
}

// The plot rectangle with the axes' labels and titles, where they were painted.
Rect plotWithAxes(XYChart* c) {
    PixelRect e = static_cast<XYChartImpl*>(c)->plotArea().extentWithAxes();
    return {"plot and axes", e.left, e.top, e.right, e.bottom};
}

const double kSales[] = {42, 67, 55, 80, 73, 91};
const double kTarget[] = {50, 55, 60, 65, 70, 75};
const char* kMonths[] = {"January", "February", "March", "April", "May", "June"};

// The program a new user writes first: no plot area, a legend given only a corner.
XYChartPtr firstProgram(int width, int height, bool placeLegend, TextBox** title) {
    XYChartPtr c(XYChart::create(width, height));
    *title = c->addTitle("Sales against target, first half year");
    if (placeLegend) c->addLegend(10, 5, false);
    else c->getLegend();
    c->addLineLayer(DoubleArray(kSales, 6), 0x3366cc, "Sales");
    c->addLineLayer(DoubleArray(kTarget, 6), 0xcc3333, "Target");
    c->xAxis()->setLabels(StringArray(kMonths, 6));
    c->yAxis()->setTitle("Units sold");
    c->xAxis()->setTitle("Month");
    return c;
}

}  // namespace

TEST(AutoLayout, FirstProgramPlacesPlotAxesTitleAndLegendApart) {
    for (bool placeLegend : {false, true}) {
        for (auto [w, h] : {std::pair{480, 320}, std::pair{300, 200}, std::pair{900, 260}}) {
            SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + (placeLegend ? " placed legend" : ""));
            TextBox* title = nullptr;
            XYChartPtr c = firstProgram(w, h, placeLegend, &title);
            ASSERT_NE(c->makeChart(), nullptr);
            PlotArea* p = c->getPlotArea();
            ASSERT_GT(p->getWidth(), w / 3);
            ASSERT_GT(p->getHeight(), h / 5);
            EXPECT_GT(c->xAxis()->getTicks().len, 1);
            EXPECT_GT(c->yAxis()->getTicks().len, 1);
            for (int i = 0; i < 6; ++i) {
                for (double v : {kSales[i], kTarget[i]}) {
                    int x = c->getXCoor(i), y = c->getYCoor(v);
                    EXPECT_TRUE(x >= p->getLeftX() && x <= p->getRightX()) << x;
                    EXPECT_TRUE(y >= p->getTopY() && y <= p->getBottomY()) << y;
                }
            }
            std::vector<Rect> rects = {boxOf("title", title), boxOf("legend", c->getLegend()),
                                       plotWithAxes(c.get())};
            for (const Rect& r : rects) expectInside(r, w, h);
            expectApart(rects);
            EXPECT_GT(c->getLegend()->getWidth(), 0);
        }
    }
}

TEST(AutoLayout, TitlesOnEachEdgeStack) {
    XYChartPtr c(XYChart::create(400, 300));
    std::vector<Rect> rects;
    TextBox* top1 = c->addTitle("First top title");
    TextBox* left = c->addTitle(Chart::Left, "Left title");
    TextBox* top2 = c->addTitle(Chart::TopLeft, "Second top title", "", 10);
    TextBox* bottom1 = c->addTitle(Chart::Bottom, "Bottom title");
    TextBox* bottom2 = c->addTitle(Chart::BottomRight, "Source: nowhere", "", 8);
    TextBox* right = c->addTitle(Chart::Right, "Right title");
    c->addBarLayer(DoubleArray(kSales, 6), 0x3366cc, "Sales");
    c->makeChart();
    for (auto [name, box] : {std::pair{"top 1", top1}, {"top 2", top2}, {"bottom 1", bottom1},
                             {"bottom 2", bottom2}, {"left", left}, {"right", right}}) {
        rects.push_back(boxOf(name, box));
        expectInside(rects.back(), 400, 300);
    }
    EXPECT_LT(top1->getTopY(), top2->getTopY());
    EXPECT_GT(bottom1->getTopY(), bottom2->getTopY());
    rects.push_back(plotWithAxes(c.get()));
    expectApart(rects);
}

TEST(AutoLayout, PlacedPlotAreaKeepsTitlesWhereTheyWere) {
    XYChartPtr c(XYChart::create(400, 300));
    TextBox* a = c->addTitle("One");
    TextBox* b = c->addTitle("Two");
    c->setPlotArea(50, 50, 300, 200);
    c->addLegend(50, 5);
    c->addLineLayer(DoubleArray(kSales, 6), 0x3366cc, "Sales");
    c->makeChart();
    EXPECT_EQ(a->getTopY(), b->getTopY());
    EXPECT_EQ(c->getLegend()->getTopY(), 5);
    EXPECT_EQ(c->getPlotArea()->getLeftX(), 50);
    EXPECT_EQ(c->getPlotArea()->getWidth(), 300);
}

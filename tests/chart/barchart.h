#ifndef PLOTVANE_TESTS_CHART_BARCHART_H
#define PLOTVANE_TESTS_CHART_BARCHART_H

// Small bar charts shared by the bar layer tests: the golden cases, and helpers to read bar
// rectangles back from a laid-out chart.

#include <plotvane/plotvane.h>

#include <cstdio>
#include <string>

#include "chart/testlayer.h"

namespace plotvane_test {

inline const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun"};

// A 320 x 240 chart with a 240 x 160 plot area and month labels for `items` x positions.
inline XYPtr barChart(int items, int width = 320, int height = 240) {
    XYPtr c = makeXYChart(width, height);
    c->setPlotArea(50, 40, width - 80, height - 80);
    c->xAxis()->setLabels(plotvane::StringArray(kMonths, items));
    return c;
}

// The golden cases, each a complete chart.
enum class BarCase { Side, Stacked, Percentage, ThreeD, Negative };

inline XYPtr goldenBarChart(BarCase which) {
    using namespace plotvane;
    static const double a[] = {5, 8, 3, 6}, b[] = {4, 2, 7, 5}, c3[] = {2, 6, 4, 3};
    static const double signedA[] = {5, -3, 4, -6}, signedB[] = {-2, 4, 3, -1};
    XYPtr c = barChart(4);
    c->addLegend(60, 4, false, "", 8)->setBackground(Chart::Transparent, Chart::Transparent);
    BarLayer* layer = nullptr;
    switch (which) {
        case BarCase::Side:
            layer = c->addBarLayer(Chart::Side);
            layer->setDataLabelStyle();
            layer->setMinLabelSize(1000);
            break;
        case BarCase::Stacked:
            layer = c->addBarLayer(Chart::Stack);
            layer->setAggregateLabelStyle();
            break;
        case BarCase::Percentage:
            layer = c->addBarLayer(Chart::Percentage);
            layer->setDataLabelStyle();
            break;
        case BarCase::ThreeD:
            layer = c->addBarLayer(Chart::Side, 6);
            layer->setDataLabelStyle();
            layer->setMinLabelSize(1000);
            break;
        case BarCase::Negative:
            layer = c->addBarLayer(Chart::Side);
            layer->addDataSet(DoubleArray(signedA, 4), 0x3366cc, "Profit");
            layer->addDataSet(DoubleArray(signedB, 4), 0xcc3333, "Change");
            layer->setDataLabelStyle();
            layer->setMinLabelSize(1000);
            c->setAxisAtOrigin(Chart::XAxisAtOrigin);
            return c;
    }
    layer->addDataSet(DoubleArray(a, 4), 0x3366cc, "North");
    layer->addDataSet(DoubleArray(b, 4), 0x66aa33, "South");
    layer->addDataSet(DoubleArray(c3, 4), 0xee9922, "West");
    return c;
}

inline const char* barCaseName(BarCase which) {
    switch (which) {
        case BarCase::Side: return "bar_side";
        case BarCase::Stacked: return "bar_stacked";
        case BarCase::Percentage: return "bar_percentage";
        case BarCase::ThreeD: return "bar_3d";
        case BarCase::Negative: return "bar_negative";
    }
    return "";
}

inline std::string textDump(plotvane::BaseChart* c) {
    plotvane::MemBlock m = c->makeChart(8);
    return std::string(m.data ? m.data : "", static_cast<size_t>(m.len > 0 ? m.len : 0));
}

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool valid = false;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// The hot-spot rectangle of one bar (image-map minimum size 0, so it is the bar itself).
inline Rect barRect(plotvane::Layer* layer, int dataSet, int item) {
    Rect r;
    const char* coor = layer->getImageCoor(dataSet, item);
    r.valid = std::sscanf(coor, "shape=\"rect\" coords=\"%d,%d,%d,%d\"", &r.left, &r.top, &r.right, &r.bottom) == 4;
    return r;
}

}  // namespace plotvane_test

#endif

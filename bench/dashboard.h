// The W3 dashboard, shared by the benchmarks that build it: 600 x 400, a side-by-side bar layer of
// 3 series x 12 months, one line series of width 2 in front of it, title, legend, axis titles,
// month labels and a fixed 0-110 y scale. The caller renders and destroys it. Unplaced, the chart
// lays out its plot area and legend itself. `change` lowers the line by change % 7, so that
// consecutive numbers give dashboards with new data.
#ifndef PLOTVANE_BENCH_DASHBOARD_H
#define PLOTVANE_BENCH_DASHBOARD_H

#include <plotvane/plotvane.h>

inline plotvane::XYChart* buildDashboard(bool placed = true, int change = 0) {
    using namespace plotvane;
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const double kSeriesA[] = {56, 72, 65, 80, 91, 77, 68, 84, 95, 88, 73, 62};
    static const double kSeriesB[] = {42, 55, 61, 58, 70, 66, 59, 72, 81, 76, 64, 50};
    static const double kSeriesC[] = {30, 38, 45, 52, 49, 57, 63, 60, 68, 71, 55, 47};
    static const double kTarget[] = {50, 58, 60, 66, 75, 70, 64, 74, 85, 80, 66, 55};

    double target[12];
    for (int k = 0; k < 12; ++k) target[k] = kTarget[k] - change % 7;
    XYChart* c = XYChart::create(600, 400);
    c->addTitle("Monthly results", "bold", 14);
    if (placed) {
        c->setPlotArea(70, 60, 500, 280, 0xffffff, -1, Chart::Transparent, 0xdddddd);
        c->addLegend(70, 28, false, "", 9)->setBackground(Chart::Transparent);
    } else {
        c->getLegend()->setBackground(Chart::Transparent);
    }
    // The layer added first is drawn in front: the line goes over the bars.
    c->addLineLayer(DoubleArray(target, 12), 0xcc3311, "Target")->setLineWidth(2);
    BarLayer* bars = c->addBarLayer(Chart::Side);
    bars->addDataSet(DoubleArray(kSeriesA, 12), 0x4477aa, "North");
    bars->addDataSet(DoubleArray(kSeriesB, 12), 0x66ccee, "South");
    bars->addDataSet(DoubleArray(kSeriesC, 12), 0x228833, "West");
    c->xAxis()->setLabels(StringArray(kMonths, 12));
    c->xAxis()->setTitle("Month");
    c->yAxis()->setTitle("Units");
    c->yAxis()->setLinearScale(0, 110, 10);
    return c;
}

#endif

// A daily series over eighteen months on a date axis: the axis picks month ticks and writes the
// year only where it changes; a zone marks the summer break.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    const int days = 548;
    std::vector<double> when(days), visitors(days);
    double start = Chart::chartTime(2024, 1, 1);
    for (int i = 0; i < days; ++i) {
        when[i] = start + i * 86400.0;
        // A weekly rhythm on top of a slow yearly swing.
        visitors[i] = 900 + 350 * std::sin(i * 2 * M_PI / 365) + 120 * std::sin(i * 2 * M_PI / 7) + (i % 13) * 9;
    }

    XYChart* c = XYChart::create(720, 400);
    c->addTitle("Daily visitors", "bold", 14);
    c->setPlotArea(70, 50, 620, 280, 0xffffff, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
    c->xAxis()->setMultiFormat(Chart::StartOfYearFilter(), "<*font=bold*>{value|mmm yyyy}",
                               Chart::StartOfMonthFilter(), "{value|mmm}");
    c->xAxis()->addZone(Chart::chartTime(2024, 7, 1), Chart::chartTime(2024, 9, 1), 0xfdebd0);
    c->yAxis()->setTitle("Visitors");

    LineLayer* layer = c->addLineLayer(DoubleArray(visitors.data(), days), 0x1f618d, "Visitors");
    layer->setXData(DoubleArray(when.data(), days));

    c->makeChart("date_axis_chart.png");
    c->makeChart("date_axis_chart.svg");
    c->makeChart("date_axis_chart.pdf");
    c->destroy();
    return 0;
}

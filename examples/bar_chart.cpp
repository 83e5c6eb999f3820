// A simple bar chart: one series of monthly revenue, glass-lit bars with their values on top.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double revenue[] = {85, 156, 179.5, 211, 123, 98, 142, 188, 201, 170, 132, 160};
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

    XYChart* c = XYChart::create(600, 400);
    c->addTitle("Monthly revenue", "bold", 14);
    c->setPlotArea(70, 50, 500, 290, 0xf8f8f8, -1, Chart::Transparent, 0xdddddd);

    BarLayer* layer = c->addBarLayer(DoubleArray(revenue, 12), 0x3377cc);
    layer->setBorderColor(Chart::Transparent, Chart::glassEffect());
    layer->setRoundedCorners(4);
    layer->setAggregateLabelStyle("", 8);

    c->xAxis()->setLabels(StringArray(months, 12));
    c->yAxis()->setTitle("k$");

    c->makeChart("bar_chart.png");
    c->makeChart("bar_chart.svg");
    c->makeChart("bar_chart.pdf");
    c->destroy();
    return 0;
}

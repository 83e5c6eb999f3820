// Gains and losses: bars below zero in their own colour, the x axis through zero, labels outside.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double change[] = {4.2, -1.8, 2.5, -3.9, 0, 5.1, -0.7, 1.4};
    const char* weeks[] = {"W1", "W2", "W3", "W4", "W5", "W6", "W7", "W8"};

    XYChart* c = XYChart::create(600, 360);
    c->addTitle("Weekly change (%)", "bold", 14);
    c->setPlotArea(60, 50, 510, 260, 0xffffff, -1, Chart::Transparent, 0xe0e0e0);
    c->setAxisAtOrigin(Chart::XAxisAtOrigin);

    // The colour switches at zero, so one data set paints gains green and losses red.
    BarLayer* layer = c->addBarLayer(Chart::Side);
    layer->addDataSet(DoubleArray(change, 8), c->yZoneColor(0, 0xcc3333, 0x33aa55));
    layer->setBorderColor(Chart::Transparent);
    layer->setDataLabelFormat("{value|1}");
    layer->setMinLabelSize(1000);

    c->xAxis()->setLabels(StringArray(weeks, 8));
    c->xAxis()->setTickLength(0);
    c->yAxis()->setLinearScale(-6, 6, 2);

    c->makeChart("negative_bar_chart.png");
    c->makeChart("negative_bar_chart.svg");
    c->makeChart("negative_bar_chart.pdf");
    c->destroy();
    return 0;
}

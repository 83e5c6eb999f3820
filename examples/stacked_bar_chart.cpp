// Stacked bars: three products per quarter, soft-lit, with the total above each stack.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double widgets[] = {100, 125, 245, 147, 67};
    const double gadgets[] = {85, 156, 179, 211, 123};
    const double gizmos[] = {97, 87, 56, 267, 157};
    const char* quarters[] = {"Q1 2025", "Q2 2025", "Q3 2025", "Q4 2025", "Q1 2026"};

    XYChart* c = XYChart::create(600, 400);
    c->addTitle("Units sold by product", "bold", 14);
    c->setPlotArea(70, 70, 500, 270, 0xffffff, -1, Chart::Transparent, 0xdddddd);
    c->addLegend(70, 32, false, "", 9)->setBackground(Chart::Transparent);

    BarLayer* layer = c->addBarLayer(Chart::Stack);
    layer->addDataSet(DoubleArray(widgets, 5), 0x4477aa, "Widgets");
    layer->addDataSet(DoubleArray(gadgets, 5), 0x66ccee, "Gadgets");
    layer->addDataSet(DoubleArray(gizmos, 5), 0x228833, "Gizmos");
    layer->setBorderColor(Chart::Transparent, Chart::softLighting(Chart::Left));
    layer->setBarGap(0.35);
    layer->setAggregateLabelStyle("bold", 9);
    layer->setDataLabelStyle("", 8, 0xffffff);

    c->xAxis()->setLabels(StringArray(quarters, 5));
    c->yAxis()->setTitle("Units");

    c->makeChart("stacked_bar_chart.png");
    c->makeChart("stacked_bar_chart.svg");
    c->makeChart("stacked_bar_chart.pdf");
    c->destroy();
    return 0;
}

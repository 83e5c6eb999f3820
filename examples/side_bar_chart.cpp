// Bars side by side: three regions per quarter, each bar labelled with its value, a little gap
// between the bars of a group and a wider one between groups.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    double north[] = {120, 135, 128, 160};
    double south[] = {98, 112, 125, 131};
    double west[] = {64, 80, 95, 88};
    const char* quarters[] = {"Q1 2024", "Q2 2024", "Q3 2024", "Q4 2024"};

    XYChart* c = XYChart::create(600, 380);
    c->addTitle("Revenue by region (USD thousands)", "bold", 12);
    c->setPlotArea(60, 65, 510, 270, 0xffffff, -1, Chart::Transparent, 0xe5e7e9);
    c->addLegend(60, 30, false, "", 9)->setBackground(Chart::Transparent);
    BarLayer* bars = c->addBarLayer(Chart::Side);
    bars->addDataSet(DoubleArray(north, 4), 0x2e86c1, "North");
    bars->addDataSet(DoubleArray(south, 4), 0x28b463, "South");
    bars->addDataSet(DoubleArray(west, 4), 0xf39c12, "West");
    bars->setBarGap(0.3, 0.1);
    bars->setBorderColor(Chart::Transparent, Chart::barLighting());
    bars->setDataLabelFormat("{value}");
    bars->setDataLabelStyle("", 8);
    c->xAxis()->setLabels(StringArray(quarters, 4));
    c->makeChart("side_bar_chart.png");
    c->makeChart("side_bar_chart.svg");
    c->makeChart("side_bar_chart.pdf");
    c->destroy();
    return 0;
}

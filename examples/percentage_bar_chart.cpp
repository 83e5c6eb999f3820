// Percentage bars lying on their side: the share of each answer per age group, labelled inside.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double agree[] = {45, 38, 30, 22};
    const double neutral[] = {25, 27, 30, 28};
    const double disagree[] = {30, 35, 40, 50};
    const char* groups[] = {"18-29", "30-44", "45-64", "65+"};

    XYChart* c = XYChart::create(600, 360);
    c->addTitle("Do you agree?", "bold", 14);
    c->setPlotArea(80, 70, 480, 250, Chart::Transparent, -1, Chart::Transparent, Chart::Transparent);
    c->addLegend(80, 32, false, "", 9)->setBackground(Chart::Transparent);
    c->swapXY();

    BarLayer* layer = c->addBarLayer(Chart::Percentage);
    layer->addDataSet(DoubleArray(agree, 4), 0x2b83ba, "Agree");
    layer->addDataSet(DoubleArray(neutral, 4), 0xcccccc, "Neutral");
    layer->addDataSet(DoubleArray(disagree, 4), 0xd7191c, "Disagree");
    layer->setBorderColor(0xffffff);
    layer->setBarGap(0.2);
    layer->setDataLabelStyle("", 9);

    c->xAxis()->setLabels(StringArray(groups, 4));
    c->xAxis()->setReverse();

    c->makeChart("percentage_bar_chart.png");
    c->makeChart("percentage_bar_chart.svg");
    c->makeChart("percentage_bar_chart.pdf");
    c->destroy();
    return 0;
}

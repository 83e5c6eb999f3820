// Box-whisker items of five groups, each box in its own colour with whiskers and median in a
// darker shade of it, the mean as a diamond, and a legend entry per group.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double q3[] = {72, 80, 65, 88, 76}, q1[] = {55, 61, 48, 70, 60}, max[] = {90, 96, 82, 99, 92},
                 min[] = {38, 45, 30, 52, 41}, median[] = {63, 70, 57, 80, 66}, mean[] = {62, 71.5, 56, 78, 68};
    const int colors[] = {0x4477aa, 0x66ccee, 0x228833, 0xccbb44, 0xee6677};
    const char* names[] = {"Group A", "Group B", "Group C", "Group D", "Group E"};

    XYChart* c = XYChart::create(600, 380);
    c->addTitle("Test scores by group", "bold", 13);
    c->setPlotArea(60, 70, 510, 260, 0xffffff, -1, Chart::Transparent, 0xe4e4e4);
    c->addLegend(60, 30, false, "", 9)->setBackground(Chart::Transparent);
    c->getLegend()->setCols(5);
    BoxWhiskerLayer* layer = c->addBoxWhiskerLayer2(DoubleArray(q3, 5), DoubleArray(q1, 5), DoubleArray(max, 5),
                                                    DoubleArray(min, 5), DoubleArray(median, 5), IntArray(colors, 5),
                                                    0.6, StringArray(names, 5));
    layer->setLineWidth(2);
    layer->setRoundedCorners(3);
    layer->addDataSet(DoubleArray(mean, 5), 0x222222)->setDataSymbol(Chart::DiamondSymbol, 9, 0xffffff);
    c->xAxis()->setLabels(StringArray(names, 5));
    c->yAxis()->setTitle("Score");

    c->makeChart("boxwhisker_chart.png");
    c->makeChart("boxwhisker_chart.svg");
    c->makeChart("boxwhisker_chart.pdf");
    c->destroy();
    return 0;
}

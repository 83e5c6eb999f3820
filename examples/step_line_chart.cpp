// A price schedule as step lines: the same tariff changes drawn with the step before, between
// and after each change point.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    double tariff[] = {10, 10, 14, 14, 12, 18, 18, 16, 20};
    const char* labels[] = {"Left", "Center", "Right"};
    const int alignments[] = {Chart::Left, Chart::Center, Chart::Right};
    const int colors[] = {0xc0392b, 0x239b56, 0x2874a6};

    XYChart* c = XYChart::create(600, 400);
    c->addTitle("Tariff Steps", "bold", 14);
    c->setPlotArea(90, 60, 480, 280, 0xffffff, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
    c->addLegend(90, 28, false, "", 9)->setBackground(Chart::Transparent);
    c->xAxis()->setTitle("Week");
    c->yAxis()->setTitle("Price");

    for (int k = 0; k < 3; ++k) {
        double shifted[9];
        for (int i = 0; i < 9; ++i) shifted[i] = tariff[i] + 8 * k;
        StepLineLayer* layer = c->addStepLineLayer(DoubleArray(shifted, 9), colors[k], labels[k]);
        layer->setAlignment(alignments[k]);
        layer->setLineWidth(2);
        layer->getDataSet(0)->setDataSymbol(Chart::DiamondSymbol, 7);
    }

    c->makeChart("step_line_chart.png");
    c->makeChart("step_line_chart.svg");
    c->makeChart("step_line_chart.pdf");
    c->destroy();
    return 0;
}

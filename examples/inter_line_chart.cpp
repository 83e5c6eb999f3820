// An inter-line band between a budget and the actual spending: green where spending stays under
// the budget, red where it goes over, cut exactly where the two lines cross.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double budget[] = {50, 52, 54, 56, 58, 60, 62, 64, 66, 68, 70, 72};
    const double actual[] = {40, 47, 58, 63, 55, 49, 57, 70, 74, 61, 58, 66};
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

    XYChart* c = XYChart::create(600, 400);
    c->addTitle("Spending against budget", "bold", 14);
    c->setPlotArea(70, 70, 500, 270, 0xffffff, -1, Chart::Transparent, 0xdddddd);
    c->addLegend(70, 32, false, "", 9)->setBackground(Chart::Transparent);

    LineLayer* budgetLayer = c->addLineLayer(DoubleArray(budget, 12), 0x333333, "Budget");
    budgetLayer->setLineWidth(2);
    LineLayer* actualLayer = c->addLineLayer(DoubleArray(actual, 12), 0x2255aa, "Actual");
    actualLayer->setLineWidth(2);
    c->xAxis()->setLabels(StringArray(months, 12));
    c->yAxis()->setTitle("k$");

    // The lines exist once the chart is laid out.
    c->layout();
    c->addInterLineLayer(budgetLayer->getLine(0), actualLayer->getLine(0), 0x8044bb66, 0x80ee4444);

    c->makeChart("inter_line_chart.png");
    c->makeChart("inter_line_chart.svg");
    c->makeChart("inter_line_chart.pdf");
    c->destroy();
    return 0;
}

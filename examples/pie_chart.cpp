// A flat pie with labels round the circle, each joined to its sector, starting at 3 o'clock;
// white edges 3 pixels wide set the sectors apart.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double costs[] = {25, 18, 15, 12, 8, 30, 35};
    const char* items[] = {"Labor", "Licenses", "Taxes", "Legal", "Insurance", "Facilities", "Production"};

    PieChart* c = PieChart::create(520, 320);
    c->addTitle("Project costs", "bold", 13);
    c->setPieSize(260, 170, 105);
    c->setStartAngle(90);
    c->setData(DoubleArray(costs, 7), StringArray(items, 7));
    c->setLabelPos(18, Chart::LineColor);
    c->setSectorStyle(Chart::LocalGradientShading, 0xffffff, 3);

    c->makeChart("pie_chart.png");
    c->makeChart("pie_chart.svg");
    c->makeChart("pie_chart.pdf");
    c->destroy();
    return 0;
}

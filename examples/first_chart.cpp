// The first chart a program writes: two lines, a title and a legend, and nothing placed by hand.
// The chart stacks its title, puts the legend above the plot and fits the plot and its axes in
// what is left.
#include <plotvane/plotvane.h>

#include <vector>

using namespace plotvane;

int main() {
    std::vector<double> sales = {42, 67, 55, 80, 73, 91};
    std::vector<double> target = {50, 55, 60, 65, 70, 75};
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun"};

    Owned<XYChart> c(XYChart::create(480, 320));
    c->addTitle("Sales against target");
    c->addTitle("First half year", "", 9);
    c->getLegend();
    c->addLineLayer(sales, 0x3366cc, "Sales")->setLineWidth(2);
    c->addLineLayer(target, 0xcc3333, "Target");
    c->xAxis()->setLabels(months);
    c->yAxis()->setTitle("Units");

    bool ok = c->makeChart("first_chart.png") && c->makeChart("first_chart.svg") && c->makeChart("first_chart.pdf");
    return ok ? 0 : 1;
}

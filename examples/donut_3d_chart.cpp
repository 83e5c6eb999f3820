// A 3D donut with rounded, glossy sectors, one pulled out, and labels in two columns at the sides.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double share[] = {31, 22, 17, 12, 9, 9};
    const char* regions[] = {"North", "South", "East", "West", "Central", "Overseas"};

    PieChart* c = PieChart::create(600, 340);
    c->addTitle("Sales by region", "bold", 13);
    c->setDonutSize(300, 170, 115, 55);
    c->set3D(24);
    c->setData(DoubleArray(share, 6), StringArray(regions, 6));
    c->setSectorStyle(Chart::RoundedEdgeShading);
    c->setLabelLayout(Chart::SideLayout);
    c->setLabelStyle("", 9)->setMargin(4);
    c->setExplode(1, 18);

    c->makeChart("donut_3d_chart.png");
    c->makeChart("donut_3d_chart.svg");
    c->makeChart("donut_3d_chart.pdf");
    c->destroy();
    return 0;
}

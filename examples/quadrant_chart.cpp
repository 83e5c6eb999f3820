// Axes through the origin over a four-quadrant background: products placed by growth and
// margin change, each quadrant in its own tint.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    double growth[] = {12, -8, 25, 4, -15, 18, -3, 9, -20, 30};
    double margin[] = {5, 9, -4, -12, -6, 14, 3, -9, 11, -2};

    XYChart* c = XYChart::create(520, 480);
    c->addTitle("Sales growth (%, across) against margin change (points, up)", "bold", 12);
    c->setPlotArea(40, 50, 440, 400, 0xffffff, -1, 0x999999)->set4QBgColor(0xe8f8f5, 0xfef9e7, 0xfdedec, 0xebf5fb);
    c->setAxisAtOrigin(Chart::XYAxisAtOrigin, Chart::XAxisSymmetric + Chart::YAxisSymmetric);
    c->addScatterLayer(DoubleArray(growth, 10), DoubleArray(margin, 10), "Products", Chart::DiamondSymbol, 11,
                       0x6c3483);
    c->makeChart("quadrant_chart.png");
    c->makeChart("quadrant_chart.svg");
    c->makeChart("quadrant_chart.pdf");
    c->destroy();
    return 0;
}

// Two groups of measurements as a scatter chart, each with its own symbol.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    RanSeries* r = RanSeries::create(7);
    XYChart* c = XYChart::create(600, 420);
    c->addTitle("Height and Weight", "bold", 14);
    c->setPlotArea(90, 60, 480, 300, 0xffffff, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
    c->addLegend(90, 28, false, "", 9)->setBackground(Chart::Transparent);
    c->xAxis()->setTitle("Height (cm)");
    c->yAxis()->setTitle("Weight (kg)");

    // Each series is copied by the layer, so the generator's buffers may be reused.
    c->addScatterLayer(r->getGaussianSeries(60, 165, 7), r->getGaussianSeries(60, 60, 8), "Group A",
                       Chart::CircleSymbol, 9, 0x80c0392b);
    c->addScatterLayer(r->getGaussianSeries(60, 178, 6), r->getGaussianSeries(60, 76, 9), "Group B",
                       Chart::DiamondSymbol, 11, 0x802874a6, 0x1b4f72);

    c->makeChart("scatter_chart.png");
    c->makeChart("scatter_chart.svg");
    c->makeChart("scatter_chart.pdf");
    c->destroy();
    r->destroy();
    return 0;
}

// Points with drop lines to all three walls, so each point's x, y and z can be read off the walls'
// grids; symbols and lines coloured by height.
#include <plotvane/plotvane.h>

#include <vector>

using namespace plotvane;

int main() {
    RanSeries* r = RanSeries::create(7);
    const int n = 12;
    DoubleArray xs = r->getSeries(n, 1, 9), ys = r->getSeries(n, 1, 9), zs = r->getSeries(n, 1, 9);
    std::vector<double> x(xs.data, xs.data + n), y(ys.data, ys.data + n), z(zs.data, zs.data + n);

    ThreeDScatterChart* c = ThreeDScatterChart::create(620, 520);
    c->addTitle("Read off the walls", "bold", 14);
    c->setPlotRegion(290, 270, 300, 300, 200);
    c->setViewAngle(25, 35);
    for (Axis* a : {c->xAxis(), c->yAxis(), c->zAxis()}) a->setLinearScale(0, 10, 2);
    ThreeDScatterGroup* g = c->addScatterGroup(DoubleArray(x.data(), n), DoubleArray(y.data(), n),
                                               DoubleArray(z.data(), n), "", Chart::GlassSphere2Shape, 13,
                                               Chart::SameAsMainColor);
    g->setDropLine(Chart::SameAsMainColor);
    g->setDropLineWalls(true, true, true);
    c->xAxis()->setTitle("x");
    c->yAxis()->setTitle("y");
    c->zAxis()->setTitle("z");

    c->makeChart("threed_scatter_walls_chart.png");
    c->makeChart("threed_scatter_walls_chart.svg");
    c->makeChart("threed_scatter_walls_chart.pdf");
    c->destroy();
    r->destroy();
    return 0;
}

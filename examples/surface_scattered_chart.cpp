// A surface through 300 scattered measurements: the points are joined into triangles and the
// surface is sampled over them on a 60 x 60 grid. Outside the points' outline there is no surface.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    RanSeries* r = RanSeries::create(11);
    const int n = 300;
    DoubleArray xs = r->getSeries(n, 0, 100), ys = r->getSeries(n, 0, 50);
    std::vector<double> x(xs.data, xs.data + n), y(ys.data, ys.data + n), z;
    for (int k = 0; k < n; ++k) z.push_back(std::sin(x[k] / 15) * std::cos(y[k] / 10) * 20 + y[k] / 5);

    SurfaceChart* c = SurfaceChart::create(680, 560);
    c->addTitle("Scattered measurements", "bold", 14);
    c->setPlotRegion(310, 290, 340, 340, 200);
    c->setViewAngle(35, 30);
    c->setData(DoubleArray(x.data(), n), DoubleArray(y.data(), n), DoubleArray(z.data(), n));
    c->setInterpolation(60, 60);
    c->setSurfaceDataGrid(0x70000000);
    c->xAxis()->setTitle("Distance (m)");
    c->yAxis()->setTitle("Width (m)");
    c->zAxis()->setTitle("Level");

    c->makeChart("surface_scattered_chart.png");
    c->makeChart("surface_scattered_chart.svg");
    c->makeChart("surface_scattered_chart.pdf");
    c->destroy();
    r->destroy();
    return 0;
}

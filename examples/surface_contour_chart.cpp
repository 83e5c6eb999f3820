// A ripple seen from low down, with the data grid and contour lines drawn on the surface, one shade
// per half cell, and its underside in grey where it curls away from the viewer.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    const int n = 30;
    std::vector<double> x(n), y(n), z;
    for (int i = 0; i < n; ++i) x[i] = y[i] = -6 + 12.0 * i / (n - 1);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const double r = std::hypot(x[i], y[j]);
            z.push_back(r == 0 ? 1 : std::sin(r) / r);
        }
    SurfaceChart* c = SurfaceChart::create(680, 540);
    c->addTitle("A ripple from low down", "bold", 14);
    c->setPlotRegion(310, 280, 340, 340, 200);
    c->setViewAngle(12, 30);
    c->setData(DoubleArray(x.data(), n), DoubleArray(y.data(), n), DoubleArray(z.data(), n * n));
    c->setShadingMode(Chart::TriangularShading);
    c->setSurfaceDataGrid(0x60000000);
    c->setContourColor(0x000000);
    c->setBackSideColor(0xaaaaaa);
    c->setBackSideLighting(true);
    c->setWallThickness(4);
    c->colorAxis()->setColorGradient(false);

    c->makeChart("surface_contour_chart.png");
    c->makeChart("surface_contour_chart.svg");
    c->makeChart("surface_contour_chart.pdf");
    c->destroy();
    return 0;
}

// A coarse 9 x 9 grid with smooth shading: colour and light run across each cell, so the few cells
// do not show as flat patches, while the data grid drawn over them shows where the cells are.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    const int n = 9;
    std::vector<double> x(n), y(n), z;
    for (int i = 0; i < n; ++i) x[i] = y[i] = -2 + 4.0 * i / (n - 1);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) z.push_back(std::exp(-x[i] * x[i] - y[j] * y[j]) * 4 + x[i] / 2);

    SurfaceChart* c = SurfaceChart::create(640, 520);
    c->addTitle("A hill on nine points a side", "bold", 14);
    c->setPlotRegion(290, 270, 320, 320, 180);
    c->setData(DoubleArray(x.data(), n), DoubleArray(y.data(), n), DoubleArray(z.data(), n * n));
    c->setShadingMode(Chart::SmoothShading);
    c->setSurfaceDataGrid(0x80000000);
    c->colorAxis()->setColorGradient(true);
    c->colorAxis()->setTitle("Height");

    c->makeChart("surface_smooth_chart.png");
    c->makeChart("surface_smooth_chart.svg");
    c->makeChart("surface_smooth_chart.pdf");
    c->destroy();
    return 0;
}

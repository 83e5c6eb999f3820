// A lit surface of two peaks and a pit, resampled on a finer grid, with the axes' grid lines drawn
// on the surface and a colour axis beside the box as its legend.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    const int n = 21;
    std::vector<double> x(n), y(n), z;
    for (int i = 0; i < n; ++i) x[i] = y[i] = -3 + 6.0 * i / (n - 1);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            double u = x[i], v = y[j];
            z.push_back(3 * (1 - u) * (1 - u) * std::exp(-u * u - (v + 1) * (v + 1)) -
                        10 * (u / 5 - u * u * u - std::pow(v, 5)) * std::exp(-u * u - v * v) -
                        std::exp(-(u + 1) * (u + 1) - v * v) / 3);
        }
    }
    SurfaceChart* c = SurfaceChart::create(720, 600);
    c->addTitle("Two peaks and a pit", "bold", 14);
    c->setPlotRegion(330, 290, 360, 360, 220);
    c->setViewAngle(30, 45);
    c->setData(DoubleArray(x.data(), n), DoubleArray(y.data(), n), DoubleArray(z.data(), n * n));
    c->setInterpolation(80, 80);
    c->setSurfaceAxisGrid(0x80000000);
    c->colorAxis()->setTitle("Height");
    c->xAxis()->setTitle("x");
    c->yAxis()->setTitle("y");
    c->zAxis()->setTitle("z");

    c->makeChart("surface_chart.png");
    c->makeChart("surface_chart.svg");
    c->makeChart("surface_chart.pdf");
    c->destroy();
    return 0;
}

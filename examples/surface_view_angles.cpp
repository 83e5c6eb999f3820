// The peaks function seen from four sides: lit, with the axes' grid and contour lines drawn on the
// surface, each view in its own chart of one picture. Wherever the view stands, nearer parts of
// the surface cover farther ones.
#include <plotvane/plotvane.h>

#include <cmath>
#include <cstdio>
#include <vector>

using namespace plotvane;

int main() {
    const int n = 40;
    std::vector<double> x(n), y(n), z;
    for (int i = 0; i < n; ++i) x[i] = y[i] = -3 + 6.0 * i / (n - 1);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const double u = x[i], v = y[j];
            z.push_back(3 * (1 - u) * (1 - u) * std::exp(-u * u - (v + 1) * (v + 1)) -
                        10 * (u / 5 - u * u * u - std::pow(v, 5)) * std::exp(-u * u - v * v) -
                        std::exp(-(u + 1) * (u + 1) - v * v) / 3);
        }
    const double views[4][2] = {{30, 45}, {20, 135}, {45, 225}, {10, 315}};
    MultiChart* m = MultiChart::create(760, 660, 0xffffff);
    m->addTitle("Peaks from four sides", "bold", 14);
    std::vector<SurfaceChart*> charts;
    for (int k = 0; k < 4; ++k) {
        SurfaceChart* c = SurfaceChart::create(370, 310, Chart::Transparent);
        char title[64];
        std::snprintf(title, sizeof title, "Elevation %g, rotation %g", views[k][0], views[k][1]);
        c->addTitle(title, "", 9);
        c->setPlotRegion(160, 165, 170, 170, 110);
        c->setViewAngle(views[k][0], views[k][1]);
        c->setData(DoubleArray(x.data(), n), DoubleArray(y.data(), n), DoubleArray(z.data(), n * n));
        c->setLighting(0.5, 0.6, 0.4, 8);
        c->setSurfaceAxisGrid(0x80000000);
        c->setContourColor(0x404040);
        c->setWallThickness(3);
        c->colorAxis()->setLabelStyle("", 7);
        m->addChart(k % 2 * 375 + 5, k / 2 * 320 + 30, c);
        charts.push_back(c);
    }
    m->makeChart("surface_view_angles.png");
    m->makeChart("surface_view_angles.svg");
    m->makeChart("surface_view_angles.pdf");
    m->destroy();
    for (SurfaceChart* c : charts) c->destroy();
    return 0;
}

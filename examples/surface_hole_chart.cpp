// A surface with a round hole where the data are missing, between walls of no thickness: the floor
// shows through the hole.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    const int n = 50;
    std::vector<double> x(n), y(n), z;
    for (int i = 0; i < n; ++i) x[i] = y[i] = -3 + 6.0 * i / (n - 1);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const bool hole = std::hypot(x[i] - 0.8, y[j] + 0.5) < 1.1;
            z.push_back(hole ? Chart::NoValue : std::cos(x[i]) * std::cos(y[j] / 1.5) * 3);
        }

    SurfaceChart* c = SurfaceChart::create(640, 520);
    c->addTitle("Missing data leave a hole", "bold", 14);
    c->setPlotRegion(290, 280, 320, 320, 160);
    c->setViewAngle(50, 30);
    c->setWallThickness(0);
    c->setWallColor(0xf4f4f4, 0xe8e8e8, 0xe8e8e8, 0x888888);
    c->setData(DoubleArray(x.data(), n), DoubleArray(y.data(), n), DoubleArray(z.data(), n * n));
    c->setContourColor(0x555555);

    c->makeChart("surface_hole_chart.png");
    c->makeChart("surface_hole_chart.svg");
    c->makeChart("surface_hole_chart.pdf");
    c->destroy();
    return 0;
}

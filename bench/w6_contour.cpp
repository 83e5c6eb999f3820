// W6: an 800 x 600 PNG filled contour of the peaks function on a 400 x 400 grid, 20 levels,
// contour lines over the fills and a colour axis. Times building, rendering and PNG encoding into
// memory (the data are made beforehand): CPU time of the first chart and the median of 5, peak
// memory; then matplotlib draws the same chart in the same run.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "benchclock.h"

using namespace plotvane;

namespace {

using benchclock::cpuSeconds;
using benchclock::peakKilobytes;

double peaks(double u, double v) {
    return 3 * (1 - u) * (1 - u) * std::exp(-u * u - (v + 1) * (v + 1)) -
           10 * (u / 5 - u * u * u - std::pow(v, 5)) * std::exp(-u * u - v * v) -
           std::exp(-(u + 1) * (u + 1) - v * v) / 3;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = 400;
    std::vector<double> x, y, z;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            double u = -3 + 6.0 * i / (n - 1), v = -3 + 6.0 * j / (n - 1);
            x.push_back(u);
            y.push_back(v);
            z.push_back(peaks(u, v));
        }
    DoubleArray xs(x.data(), n * n), ys(y.data(), n * n), zs(z.data(), n * n);
    std::vector<double> times;
    int bytes = 0;
    for (int run = 0; run < 5; ++run) {
        double start = cpuSeconds();
        XYChart* c = XYChart::create(800, 600);
        c->addTitle("Peaks", "bold", 14);
        c->setPlotArea(70, 50, 600, 500, -1, -1, Chart::Transparent, Chart::Transparent);
        ContourLayer* layer = c->addContourLayer(xs, ys, zs);
        layer->setContourColor(0x000000);
        ColorAxis* axis = layer->setColorAxis(690, 50, Chart::TopLeft, 500, Chart::Right);
        axis->setLinearScale(-7, 9, 0.8);  // 20 levels
        MemBlock png = c->makeChart(Chart::PNG);
        bytes = png.len;
        times.push_back(cpuSeconds() - start);
        if (run == 0 && argc > 1) c->makeChart(argv[1]);
        c->destroy();
    }
    double first = times[0];
    std::sort(times.begin(), times.end());
    std::printf("W6 contour 400x400 grid, 20 levels, 800x600 PNG: %.4f s (median of 5 CPU), first %.4f s, %d PNG bytes\n",
                times[2], first, bytes);
    std::printf("  peak memory: %.1f MB\n", peakKilobytes() / 1024.0);
    std::fflush(stdout);
    // The peer, in the same run; Debian's interpreter has Debian's matplotlib.
    std::string peer = std::string(PLOTVANE_BENCH_DIR) + "/peers/matplotlib_w6.py";
    if (std::system(("/usr/bin/python3 " + peer + " 2>/dev/null").c_str()) != 0)
        std::printf("  matplotlib: not available\n");
    return 0;
}

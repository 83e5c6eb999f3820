// W8: a 700 x 600 PNG surface of the peaks function on a 200 x 200 grid, coloured by its colour
// axis and lit, with hidden parts hidden. Times building, rendering and PNG encoding into memory
// (the data are made beforehand), and the drawing alone (layout, record, replay onto the canvas):
// CPU time of the first chart and the median of 7, peak memory. Then matplotlib's plot_surface and
// gnuplot's pm3d with depth ordering draw the same chart in the same run.
#include <plotvane/plotvane.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "benchclock.h"
#include "chartruns.h"

using namespace plotvane;

int main(int argc, char** argv) {
    const int n = 200;
    std::vector<double> axis(n), z;
    for (int i = 0; i < n; ++i) axis[i] = -3 + 6.0 * i / (n - 1);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const double u = axis[i], v = axis[j];
            z.push_back(3 * (1 - u) * (1 - u) * std::exp(-u * u - (v + 1) * (v + 1)) -
                        10 * (u / 5 - u * u * u - std::pow(v, 5)) * std::exp(-u * u - v * v) -
                        std::exp(-(u + 1) * (u + 1) - v * v) / 3);
        }
    auto build = [&] {
        SurfaceChart* c = SurfaceChart::create(700, 600);
        c->setPlotRegion(330, 290, 360, 360, 220);
        c->setData(DoubleArray(axis.data(), n), DoubleArray(axis.data(), n), DoubleArray(z.data(), n * n));
        c->colorAxis()->setTitle("Height");
        return c;
    };
    if (argc > 1) {
        SurfaceChart* c = build();
        c->makeChart(argv[1]);
        c->destroy();
        return 0;
    }
    const int runs = 7;
    const chartruns::OneChart f = chartruns::oneChartRuns(build, runs);
    std::printf("W8 surface 200x200 grid, lit, 700x600 PNG: %.4f s (median of %d CPU), first %.4f s, %zu PNG bytes\n",
                f.encoded, runs, f.first, f.bytes);
    std::printf("  drawing alone (layout, record, replay): %.4f s; encoding and the rest: %.4f s\n", f.drawing,
                f.encoded - f.drawing);
    std::printf("  peak memory: %.1f MB\n", benchclock::peakKilobytes() / 1024.0);
    std::fflush(stdout);
    // The peers, in the same run; Debian's interpreter has Debian's matplotlib.
    const std::string peer = std::string(PLOTVANE_BENCH_DIR) + "/peers/surface_w8.py";
    if (std::system(("/usr/bin/python3 " + peer + " 2>/dev/null").c_str()) != 0)
        std::printf("  peers: not available\n");
    return 0;
}

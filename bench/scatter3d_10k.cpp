// A 10,000-point 3D scatter: 700 x 600 PNG, circles coloured by height through the colour axis,
// walls with grids, axis labels. Times building, rendering and PNG encoding into memory (the data
// are made beforehand), and the drawing alone: CPU time of the first chart and the median of 7.
#include <plotvane/plotvane.h>

#include <cstdio>
#include <vector>

#include "benchclock.h"
#include "chartruns.h"

using namespace plotvane;

int main(int argc, char** argv) {
    const int n = 10000;
    RanSeries* r = RanSeries::create(5);
    DoubleArray xs = r->getSeries(n, 0, 100), ys = r->getSeries(n, 0, 100), zs = r->getSeries(n, 0, 50);
    const std::vector<double> x(xs.data, xs.data + n), y(ys.data, ys.data + n), z(zs.data, zs.data + n);
    r->destroy();
    auto build = [&] {
        ThreeDScatterChart* c = ThreeDScatterChart::create(700, 600);
        c->setPlotRegion(330, 290, 360, 360, 220);
        c->addScatterGroup(DoubleArray(x.data(), n), DoubleArray(y.data(), n), DoubleArray(z.data(), n), "",
                           Chart::CircleSymbol, 7, Chart::SameAsMainColor);
        c->colorAxis()->setTitle("Height");
        return c;
    };
    if (argc > 1) {
        ThreeDScatterChart* c = build();
        c->makeChart(argv[1]);
        c->destroy();
        return 0;
    }
    const int runs = 7;
    const chartruns::OneChart f = chartruns::oneChartRuns(build, runs);
    std::printf("3D scatter of 10,000 points, 700x600 PNG: %.4f s (median of %d CPU), first %.4f s, %zu PNG bytes\n",
                f.encoded, runs, f.first, f.bytes);
    std::printf("  drawing alone (layout, record, replay): %.4f s\n", f.drawing);
    std::printf("  peak memory: %.1f MB\n", benchclock::peakKilobytes() / 1024.0);
    return 0;
}

// W3: the 600 x 400 dashboard: a side-by-side bar layer of 3 series x 12 months, one line series
// of width 2 over it, title, legend, axis titles, month labels and a fixed 0-110 y scale. 200 charts
// are built, rendered and encoded to PNG in memory; prints charts per second at default settings
// and with fast compression (true colour, zlib level 1: palette mode 128 + 1), and the drawing
// alone (layout, record and replay, no encoding) per chart. Medians of 5 runs, in CPU time.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "benchclock.h"
#include "dashboard.h"

using namespace plotvane;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Seconds for `count` charts built, rendered and encoded; paletteMode < 0 keeps the default.
double encodeRun(int count, int paletteMode, size_t& bytes) {
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        XYChart* c = buildDashboard();
        if (paletteMode >= 0) c->getDrawArea()->setPaletteMode(paletteMode);
        MemBlock png = c->makeChart(Chart::PNG);
        bytes = static_cast<size_t>(std::max(png.len, 0));
        c->destroy();
    }
    return benchclock::cpuSeconds() - start;
}

// Seconds spent painting (recording) and replaying onto the canvas, summed over `count` charts.
double drawingRun(int count) {
    double total = 0;
    for (int k = 0; k < count; ++k) {
        XYChart* c = buildDashboard();
        double start = benchclock::cpuSeconds();
        DrawArea* d = c->makeChart();
        d->getCanvas();
        total += benchclock::cpuSeconds() - start;
        c->destroy();
    }
    return total;
}

}  // namespace

int main() {
    const int charts = 200, runs = 5;
    std::vector<double> plain, fast, drawing;
    size_t plainBytes = 0, fastBytes = 0;
    for (int r = 0; r < runs; ++r) {
        plain.push_back(encodeRun(charts, -1, plainBytes));
        fast.push_back(encodeRun(charts, 128 + 1, fastBytes));
        drawing.push_back(drawingRun(charts));
    }
    std::printf("W3 dashboard, %d charts, median of %d runs, CPU time\n", charts, runs);
    std::printf("  default PNG:          %8.1f charts/s  (%zu bytes per chart)\n", charts / median(plain), plainBytes);
    std::printf("  fast PNG (mode 129):  %8.1f charts/s  (%zu bytes per chart)\n", charts / median(fast), fastBytes);
    std::printf("  drawing alone:        %8.3f ms per chart (layout, record, replay)\n", 1000 * median(drawing) / charts);
    return 0;
}

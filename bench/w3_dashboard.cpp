// W3: the 600 x 400 dashboard: a side-by-side bar layer of 3 series x 12 months, one line series
// of width 2 over it, title, legend, axis titles, month labels and a fixed 0-110 y scale. 200 charts
// are built, rendered and encoded to PNG in memory; prints charts per second at default settings
// and with fast compression (true colour, zlib level 1: palette mode 128 + 1), and the drawing
// alone (layout, record and replay, no encoding) per chart. Medians of 5 runs, in CPU time, beside
// the CPU time of the process's first chart. One variant per process, so none warms another.
// "new" is the default made with a new line each time: the PNG encoder cannot take the last
// picture's work over below the first changed row.
//
//   bench_w3_dashboard default|new|fast|drawing
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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
// With `changing`, each chart has a new line.
double encodeRun(int count, int paletteMode, bool changing, size_t& bytes) {
    static int change = 0;
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        XYChart* c = buildDashboard(true, changing ? ++change : 0);
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

int main(int argc, char** argv) {
    const char* which = argc > 1 ? argv[1] : "";
    const bool drawing = std::strcmp(which, "drawing") == 0, fast = std::strcmp(which, "fast") == 0;
    const bool changing = std::strcmp(which, "new") == 0;
    if (!drawing && !fast && !changing && std::strcmp(which, "default") != 0) {
        std::fprintf(stderr, "usage: %s default|new|fast|drawing\n", argv[0]);
        return 2;
    }
    const int charts = 200, runs = 5;
    auto once = [&](int count, size_t& bytes) {
        return drawing ? drawingRun(count) : encodeRun(count, fast ? 128 + 1 : -1, changing, bytes);
    };
    size_t bytes = 0;
    double first = once(1, bytes);
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) times.push_back(once(charts, bytes));
    std::printf("W3 dashboard, %s, %d charts, median of %d runs, CPU time\n", which, charts, runs);
    if (drawing)
        std::printf("  drawing alone:        %8.3f ms per chart (layout, record, replay)\n", 1000 * median(times) / charts);
    else
        std::printf("  %-22s%8.1f charts/s  (%zu bytes per chart)\n",
                    fast ? "fast PNG (mode 129):" : changing ? "new line each chart:" : "default PNG:",
                    charts / median(times), bytes);
    std::printf("  first chart of the process: %.2f ms CPU\n", 1000 * first);
    return 0;
}

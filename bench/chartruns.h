#ifndef PLOTVANE_BENCH_CHARTRUNS_H
#define PLOTVANE_BENCH_CHARTRUNS_H

// The timed loops every chart benchmark shares: charts built by a callable, rendered and encoded to
// PNG in memory, or drawn alone (layout, record and replay onto the canvas, no encoding). CPU time.

#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "benchclock.h"

namespace chartruns {

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Seconds for `count` charts; paletteMode < 0 keeps the default. `bytes` gets one chart's PNG size.
template <class Build>
double encodeRun(Build build, int count, std::size_t& bytes, int paletteMode = -1) {
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        auto* c = build();
        if (paletteMode >= 0) c->getDrawArea()->setPaletteMode(paletteMode);
        plotvane::MemBlock png = c->makeChart(plotvane::Chart::PNG);
        bytes = static_cast<std::size_t>(std::max(png.len, 0));
        c->destroy();
    }
    return benchclock::cpuSeconds() - start;
}

// Seconds spent drawing, summed over `count` charts.
template <class Build>
double drawingRun(Build build, int count) {
    double total = 0;
    for (int k = 0; k < count; ++k) {
        auto* c = build();
        double start = benchclock::cpuSeconds();
        c->makeChart()->getCanvas();
        total += benchclock::cpuSeconds() - start;
        c->destroy();
    }
    return total;
}

// One large chart: the first of the process, then the medians of `runs` encoded and drawn alone.
struct OneChart {
    double first = 0, encoded = 0, drawing = 0;
    std::size_t bytes = 0;
};

template <class Build>
OneChart oneChartRuns(Build build, int runs) {
    OneChart f;
    f.first = encodeRun(build, 1, f.bytes);
    std::vector<double> encoded, drawing;
    for (int k = 0; k < runs; ++k) {
        encoded.push_back(encodeRun(build, 1, f.bytes));
        drawing.push_back(drawingRun(build, 1));
    }
    f.encoded = median(encoded);
    f.drawing = median(drawing);
    return f;
}

}  // namespace chartruns

#endif

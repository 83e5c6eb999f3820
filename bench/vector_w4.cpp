// W4: the W3 dashboard written as SVG and as PDF into memory, the whole way a program would: the
// chart built through XYChart, laid out, recorded and written. Prints charts per second (median
// of 5 runs of 200 charts, CPU time) and the size of one document.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "benchclock.h"
#include "dashboard.h"

using namespace plotvane;

namespace {

// Seconds for `count` charts built and written in `format`; `bytes` gets one document's size.
double run(int format, int count, int& bytes) {
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        XYChart* c = buildDashboard();
        MemBlock doc = c->makeChart(format);
        bytes = doc.len;
        c->destroy();
    }
    return benchclock::cpuSeconds() - start;
}

void report(const char* name, int format) {
    const int charts = 200, runs = 5;
    int bytes = 0;
    run(format, 10, bytes);  // fonts and caches warm
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) times.push_back(run(format, charts, bytes));
    std::sort(times.begin(), times.end());
    std::printf("W4 %s: %.0f charts/s (median of %d runs of %d charts, CPU time), %d bytes each\n", name,
                charts / times[runs / 2], runs, charts, bytes);
}

}  // namespace

int main() {
    report("SVG", Chart::SVG);
    report("PDF", Chart::PDF);
    return 0;
}

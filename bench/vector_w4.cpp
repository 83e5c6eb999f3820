// W4: the W3 dashboard written as SVG or as PDF into memory, the whole way a program would: the
// chart built through XYChart, laid out, recorded and written. Prints the CPU time of the process's
// first chart, then charts per second (median of 5 runs of 200 charts after a warm-up, CPU time)
// and the size of one document. One format per process, so that neither warms the other.
//
//   bench_vector_w4 svg|pdf
#include <algorithm>
#include <cstdio>
#include <cstring>
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
    double first = run(format, 1, bytes);
    run(format, 10, bytes);  // fonts and caches warm
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) times.push_back(run(format, charts, bytes));
    std::sort(times.begin(), times.end());
    std::printf("W4 %s: %.0f charts/s (median of %d runs of %d charts, CPU time), %d bytes each; "
                "first chart of the process %.2f ms CPU\n",
                name, charts / times[runs / 2], runs, charts, bytes, first * 1000);
}

}  // namespace

int main(int argc, char** argv) {
    const char* which = argc > 1 ? argv[1] : "";
    if (std::strcmp(which, "svg") == 0) {
        report("SVG", Chart::SVG);
    } else if (std::strcmp(which, "pdf") == 0) {
        report("PDF", Chart::PDF);
    } else {
        std::fprintf(stderr, "usage: %s svg|pdf\n", argv[0]);
        return 2;
    }
    return 0;
}

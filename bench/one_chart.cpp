// One W3 dashboard in a fresh process: the chart built through XYChart, laid out, drawn and written
// as a PNG, then exit. one_chart_process.sh times whole runs of it, so the figure includes loading
// the library, finding and opening the fonts and encoding.
//
//   bench_one_chart [file.png] [auto]   (default one_chart.png in the current folder; "auto" leaves
//                                        the layout to the chart)
#include <cstdio>
#include <cstring>

#include "dashboard.h"

int main(int argc, char** argv) {
    const char* out = argc > 1 ? argv[1] : "one_chart.png";
    plotvane::XYChart* c = buildDashboard(!(argc > 2 && std::strcmp(argv[2], "auto") == 0));
    bool ok = c->makeChart(out);
    c->destroy();
    if (!ok) std::fprintf(stderr, "bench_one_chart: cannot write %s\n", out);
    return ok ? 0 : 1;
}

// W10: the W3 dashboard built through the flat C interface, beside the same chart built through
// C++ in the same process. 200 charts per run are built, rendered and encoded to PNG in memory;
// the two routes take turns run by run so drift on a shared machine falls on both. Prints charts
// per second of each (median of 7 runs, CPU time) and the C route's difference in percent.
#include <plotvane/plotvane.h>
#include <plotvane/plotvane_c.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "benchclock.h"
#include "dashboard.h"
#include "dashboard_c.h"

using namespace plotvane;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double cppRun(int count) {
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        XYChart* c = buildDashboard();
        c->makeChart(Chart::PNG);
        c->destroy();
    }
    return benchclock::cpuSeconds() - start;
}

double cRun(int count) {
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        PvBaseChart* c = XYChart2BaseChart(buildDashboardC());
        const char* data = nullptr;
        int len = 0;
        CBaseChart_makeChart2(c, PV_PNG, &data, &len);
        CBaseChart_destroy(c);
    }
    return benchclock::cpuSeconds() - start;
}

}  // namespace

int main() {
    const int charts = 200, runs = 7;
    cppRun(5);
    cRun(5);
    std::vector<double> cpp, c;
    for (int r = 0; r < runs; ++r) {
        cpp.push_back(cppRun(charts));
        c.push_back(cRun(charts));
    }
    const double cppRate = charts / median(cpp), cRate = charts / median(c);
    std::printf("W10 dashboard PNG, %d charts, median of %d runs, CPU time\n", charts, runs);
    std::printf("  through C++:          %8.1f charts/s\n", cppRate);
    std::printf("  through the C calls:  %8.1f charts/s  (%+.1f%%)\n", cRate, 100 * (cRate - cppRate) / cppRate);
    return 0;
}

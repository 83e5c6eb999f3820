// W1: an 800 x 600 PNG line chart of a 1,000,000-point random walk with a title, axis titles and
// labels. Times building the chart, rendering and PNG encoding into memory (the data are made
// beforehand), prints the first chart of the process, the median of 5 runs after it, the stages of one run, the size of the polyline that
// reached the recorder, and the process's peak memory beside the caller's data.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "benchclock.h"

using namespace plotvane;

namespace {

using benchclock::Clock;
using benchclock::cpuSeconds;
using benchclock::peakKilobytes;
using benchclock::since;

// Stages in CPU seconds; the total also as wall time.
struct Timing {
    double build, layout, png, total, wall;
    int bytes;
    size_t dumpPoints;
};

Timing runOnce(const std::vector<double>& y, bool countPoints) {
    Timing t{};
    Clock::time_point wallStart = Clock::now();
    double start = cpuSeconds();
    XYChart* c = XYChart::create(800, 600);
    c->addTitle("One million steps of a random walk", "bold", 14);
    c->setPlotArea(70, 50, 690, 490, 0xffffff, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
    c->xAxis()->setTitle("Step");
    c->yAxis()->setTitle("Position");
    c->addLineLayer(DoubleArray(y.data(), static_cast<int>(y.size())), 0x2874a6, "Walk");
    double built = cpuSeconds();
    t.build = built - start;
    c->layout();
    double laid = cpuSeconds();
    t.layout = laid - built;
    MemBlock png = c->makeChart(Chart::PNG);
    double done = cpuSeconds();
    t.png = done - laid;
    t.total = done - start;
    t.wall = since(wallStart);
    t.bytes = png.len;
    if (countPoints) {
        MemBlock dump = c->makeChart(8);
        std::string text(dump.data, static_cast<size_t>(dump.len));
        size_t at = text.find("PolyLine(0x2874a6");
        if (at != std::string::npos) t.dumpPoints = static_cast<size_t>(std::count(text.begin() + at, text.begin() + text.find('\n', at), ',') - 1) / 2;
    }
    c->destroy();
    return t;
}

}  // namespace

int main() {
    std::vector<double> y(1000000);
    std::mt19937 random(42);
    std::normal_distribution<double> step(0, 1);
    double v = 0;
    for (double& e : y) e = v += step(random);
    long before = peakKilobytes();

    const Timing first = runOnce(y, false);
    std::vector<double> totals, walls;
    for (int run = 0; run < 5; ++run) {
        Timing t = runOnce(y, false);
        totals.push_back(t.total);
        walls.push_back(t.wall);
    }
    std::sort(totals.begin(), totals.end());
    std::sort(walls.begin(), walls.end());
    Timing one = runOnce(y, true);
    std::printf("W1 line 1M points, 800x600 PNG: %.4f s CPU, %.4f s wall (medians of 5 after the first)\n", totals[2],
                walls[2]);
    std::printf("  first chart of the process: %.4f s CPU\n", first.total);
    // Lines are mapped to pixels as they are painted, so layout itself is short.
    std::printf("  one run (CPU): build %.4f s, layout %.4f s, paint + encode %.4f s, %d PNG bytes\n", one.build,
                one.layout, one.png, one.bytes);
    std::printf("  points reaching the recorder: %zu of %zu\n", one.dumpPoints, y.size());
    std::printf("  peak memory: %.1f MB (data %.1f MB; %.1f MB above the process with its data)\n",
                peakKilobytes() / 1024.0, y.size() * sizeof(double) / 1048576.0, (peakKilobytes() - before) / 1024.0);
    return 0;
}

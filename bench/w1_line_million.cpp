// W1: an 800 x 600 PNG line chart of a 1,000,000-point random walk with a title, axis titles and
// labels. Times building the chart, rendering and PNG encoding into memory (the data are made
// beforehand), prints the median of 5 runs, the stages of one run, the size of the polyline that
// reached the recorder, and the process's peak memory beside the caller's data.
#include <plotvane/plotvane.h>

#include "benchclock.h"


#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace plotvane;

namespace {

using benchclock::Clock;
using benchclock::peakKilobytes;
using benchclock::since;

struct Timing {
    double build, layout, png, total;
    int bytes;
    size_t dumpPoints;
};

Timing runOnce(const std::vector<double>& y, bool countPoints) {
    Timing t{};
    Clock::time_point start = Clock::now();
    XYChart* c = XYChart::create(800, 600);
    c->addTitle("One million steps of a random walk", "bold", 14);
    c->setPlotArea(70, 50, 690, 490, 0xffffff, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
    c->xAxis()->setTitle("Step");
    c->yAxis()->setTitle("Position");
    c->addLineLayer(DoubleArray(y.data(), static_cast<int>(y.size())), 0x2874a6, "Walk");
    t.build = since(start);
    Clock::time_point laid = Clock::now();
    c->layout();
    t.layout = since(laid);
    Clock::time_point encoded = Clock::now();
    MemBlock png = c->makeChart(Chart::PNG);
    t.png = since(encoded);
    t.total = since(start);
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

    std::vector<double> totals;
    for (int run = 0; run < 5; ++run) totals.push_back(runOnce(y, false).total);
    std::sort(totals.begin(), totals.end());
    Timing one = runOnce(y, true);
    std::printf("W1 line 1M points, 800x600 PNG: %.4f s (median of 5)\n", totals[2]);
    std::printf("  one run: build %.4f s, layout %.4f s, render + encode %.4f s, %d PNG bytes\n", one.build,
                one.layout, one.png, one.bytes);
    std::printf("  points reaching the recorder: %zu of %zu\n", one.dumpPoints, y.size());
    std::printf("  peak memory: %.1f MB (data %.1f MB; %.1f MB above the process with its data)\n",
                peakKilobytes() / 1024.0, y.size() * sizeof(double) / 1048576.0, (peakKilobytes() - before) / 1024.0);
    return 0;
}

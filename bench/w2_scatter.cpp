// W2: an 800 x 600 PNG scatter chart of two series of 50,000 normally distributed points each,
// circle symbols 7 pixels across, a legend and titles. Times building, rendering and PNG encoding
// into memory (the data are made beforehand) and prints the first chart of the process, the median
// of 5 runs after it, and peak memory.
#include <plotvane/plotvane.h>

#include "benchclock.h"


#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

using namespace plotvane;

namespace {

using benchclock::Clock;
using benchclock::peakKilobytes;
using benchclock::since;

DoubleArray view(const std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); }

}  // namespace

int main() {
    const int n = 50000;
    std::mt19937 random(7);
    std::normal_distribution<double> a(0, 1), b(1.5, 0.8);
    std::vector<double> x1(n), y1(n), x2(n), y2(n);
    for (int i = 0; i < n; ++i) {
        x1[static_cast<size_t>(i)] = a(random);
        y1[static_cast<size_t>(i)] = a(random);
        x2[static_cast<size_t>(i)] = b(random);
        y2[static_cast<size_t>(i)] = b(random);
    }
    std::vector<double> times, cpu;
    int bytes = 0;
    double first = 0;
    for (int run = 0; run < 6; ++run) {
        Clock::time_point start = Clock::now();
        double cpuStart = benchclock::cpuSeconds();
        XYChart* c = XYChart::create(800, 600);
        c->addTitle("Two normal clouds", "bold", 14);
        c->setPlotArea(70, 70, 690, 470, 0xffffff, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
        c->addLegend(70, 35, false, "", 10)->setBackground(Chart::Transparent);
        c->xAxis()->setTitle("x");
        c->yAxis()->setTitle("y");
        c->addScatterLayer(view(x1), view(y1), "Cloud A", Chart::CircleSymbol, 7, 0xc0392b);
        c->addScatterLayer(view(x2), view(y2), "Cloud B", Chart::CircleSymbol, 7, 0x2874a6);
        MemBlock png = c->makeChart(Chart::PNG);
        bytes = png.len;
        c->destroy();
        if (run == 0) {
            first = benchclock::cpuSeconds() - cpuStart;
            continue;
        }
        times.push_back(since(start));
        cpu.push_back(benchclock::cpuSeconds() - cpuStart);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("W2 scatter 2 x 50k points, 800x600 PNG: %.4f s wall, %.4f s CPU (medians of 5 after the first), %d PNG bytes\n",
                times[2], cpu[2], bytes);
    std::printf("  first chart of the process: %.4f s CPU\n", first);
    std::printf("  peak memory: %.1f MB\n", peakKilobytes() / 1024.0);
    return 0;
}

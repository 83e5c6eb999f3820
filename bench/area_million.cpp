// An 800 x 600 PNG area chart of the W1 random walk (1,000,000 points) filled down to zero, with a
// title and axis titles: build, render and PNG encoding into memory, median of 5 runs in CPU and
// wall time, the vertices that reached the recorder, and peak memory beside the caller's data.
// With a file name as argument the walk is also written there as raw doubles, so that
// peers/matplotlib_area.py fills the very same data.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "benchclock.h"

using namespace plotvane;
using benchclock::Clock;
using benchclock::cpuSeconds;
using benchclock::peakKilobytes;
using benchclock::since;

namespace {

XYChart* areaChart(const std::vector<double>& y) {
    XYChart* c = XYChart::create(800, 600);
    c->addTitle("One million steps of a random walk", "bold", 14);
    c->setPlotArea(70, 50, 690, 490, 0xffffff, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
    c->xAxis()->setTitle("Step");
    c->yAxis()->setTitle("Position");
    c->addAreaLayer(DoubleArray(y.data(), static_cast<int>(y.size())), 0x2874a6, "Walk");
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<double> y(1000000);
    std::mt19937 random(42);
    std::normal_distribution<double> step(0, 1);
    double v = 0;
    for (double& e : y) e = v += step(random);
    if (argc > 1) {
        FILE* f = std::fopen(argv[1], "wb");
        if (!f || std::fwrite(y.data(), sizeof(double), y.size(), f) != y.size()) return 1;
        std::fclose(f);
    }
    long before = peakKilobytes();

    double firstCpu = 0;
    std::vector<double> cpu, wall;
    for (int run = 0; run < 6; ++run) {
        Clock::time_point w = Clock::now();
        double start = cpuSeconds();
        XYChart* c = areaChart(y);
        MemBlock png = c->makeChart(Chart::PNG);
        double used = cpuSeconds() - start;
        double elapsed = since(w);
        c->destroy();
        if (png.len <= 0) return 1;
        // The first chart of the process warms fonts and caches; the rest are the median.
        if (run == 0)
            firstCpu = used;
        else {
            cpu.push_back(used);
            wall.push_back(elapsed);
        }
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());

    XYChart* c = areaChart(y);
    MemBlock dump = c->makeChart(8);
    std::string text(dump.data, static_cast<size_t>(dump.len));
    size_t at = text.find("Shape(0x2874a6");
    size_t vertices = 0;
    if (at != std::string::npos)
        vertices = static_cast<size_t>(std::count(text.begin() + at, text.begin() + text.find('\n', at), 'L'));
    c->destroy();

    std::printf("area 1M points, 800x600 PNG: %.4f s CPU, %.4f s wall (medians of 5); first chart %.4f s CPU\n", cpu[2],
                wall[2], firstCpu);
    std::printf("  polygon vertices reaching the recorder: %zu of %zu points\n", vertices, y.size());
    std::printf("  peak memory: %.1f MB (data %.1f MB; %.1f MB above the process with its data)\n",
                peakKilobytes() / 1024.0, y.size() * sizeof(double) / 1048576.0, (peakKilobytes() - before) / 1024.0);
    return 0;
}

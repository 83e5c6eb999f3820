// Image maps: the map of a 10,000-point scatter chart (laid out and drawn beforehand), with the
// default link and a tool tip, beside 2,500 and 40,000 points for its growth, and ImageMapHandler
// finding points among the 10,000 areas after parsing. Prints medians of 7 runs in CPU time, and
// the parse time.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "benchclock.h"

using namespace plotvane;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The map of an n-point scatter chart, drawn beforehand: median CPU seconds of 7 runs.
double mapSeconds(int n, std::mt19937& random, std::string& map) {
    std::uniform_real_distribution<double> u(0, 100);
    std::vector<double> x(static_cast<size_t>(n)), y(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        x[static_cast<size_t>(i)] = u(random);
        y[static_cast<size_t>(i)] = u(random);
    }
    XYChart* c = XYChart::create(1000, 800);
    c->setPlotArea(60, 40, 900, 700);
    c->addScatterLayer(DoubleArray(x.data(), n), DoubleArray(y.data(), n), "Points", Chart::CircleSymbol, 5);
    c->makeChart();
    std::vector<double> times;
    for (int run = 0; run < 7; ++run) {
        double start = benchclock::cpuSeconds();
        map = c->getHTMLImageMap("point.html", "", "title='({x|2}, {value|2})'");
        times.push_back(benchclock::cpuSeconds() - start);
    }
    c->destroy();
    return median(times);
}

}  // namespace

int main() {
    std::mt19937 random(11);
    std::string map;
    // Growth with the points: a quarter and four times the 10,000 of the goal.
    for (int n : {2500, 40000}) {
        double seconds = mapSeconds(n, random, map);
        std::printf("scatter image map: %d points, %.2f ms, %.0f ns per point\n", n, 1e3 * seconds, 1e9 * seconds / n);
    }
    double seconds = mapSeconds(10000, random, map);
    size_t areas = static_cast<size_t>(std::count(map.begin(), map.end(), '\n'));

    double parseStart = benchclock::cpuSeconds();
    ImageMapHandler* h = ImageMapHandler::create(map.c_str());
    double parse = benchclock::cpuSeconds() - parseStart;

    // Probes spread over the plot: hits and misses, never the same area twice in a row.
    std::uniform_int_distribution<int> px(60, 960), py(40, 740);
    const int probes = 2000;
    std::vector<int> points;
    for (int k = 0; k < 2 * probes; ++k) points.push_back(k % 2 ? py(random) : px(random));
    std::vector<double> findTimes;
    int hits = 0;
    for (int run = 0; run < 7; ++run) {
        double start = benchclock::cpuSeconds();
        for (int k = 0; k < probes; ++k) hits += h->getHotSpot(points[2 * k], points[2 * k + 1]) > 0;
        findTimes.push_back((benchclock::cpuSeconds() - start) / probes);
    }
    std::printf("scatter image map: %zu areas, %zu bytes, %.2f ms (median of 7)\n", areas, map.size(), 1e3 * seconds);
    std::printf("handler: parse %.2f ms; getHotSpot %.2f us per probe among %zu areas (%d hits in %d probes)\n",
                1e3 * parse, 1e6 * median(findTimes), areas, hits / 7, probes);
    h->destroy();
    return 0;
}

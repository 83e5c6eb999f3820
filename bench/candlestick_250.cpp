// A 600 x 400 candlestick chart of 250 daily candles (a seeded random walk) with title and axis
// titles: 200 charts built, rendered and encoded to PNG in memory, charts per second, beside
// which W3's figure is the yardstick. Medians of 5 runs, in CPU time.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "chartruns.h"

using namespace plotvane;

namespace {

struct Prices {
    std::vector<double> high, low, open, close;
    Prices() {
        uint32_t state = 2024;
        auto uniform = [&state] {
            state = state * 1664525u + 1013904223u;
            return (state >> 8) / 16777216.0;
        };
        double last = 100;
        for (int i = 0; i < 250; ++i) {
            double o = last, c = o + (uniform() - 0.5) * 4;
            open.push_back(o);
            close.push_back(c);
            high.push_back(std::max(o, c) + uniform() * 2);
            low.push_back(std::min(o, c) - uniform() * 2);
            last = c;
        }
    }
};

DoubleArray view(const std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); }

XYChart* build(const Prices& p) {
    XYChart* c = XYChart::create(600, 400);
    c->addTitle("250 trading days", "bold", 14);
    c->setPlotArea(60, 50, 510, 300, 0xffffff, -1, Chart::Transparent, 0xdddddd);
    c->addCandleStickLayer(view(p.high), view(p.low), view(p.open), view(p.close), 0x00aa00, 0xcc0000);
    c->xAxis()->setTitle("Day");
    c->yAxis()->setTitle("Price");
    return c;
}

}  // namespace

int main() {
    const int charts = 200, runs = 5;
    Prices p;
    std::vector<double> times, drawing;
    size_t bytes = 0;
    for (int r = 0; r < runs; ++r) {
        times.push_back(chartruns::encodeRun([&] { return build(p); }, charts, bytes));
        drawing.push_back(chartruns::drawingRun([&] { return build(p); }, charts));
    }
    std::printf("candlesticks, 250 candles, %d charts, median of %d runs, CPU time\n", charts, runs);
    std::printf("  default PNG:          %8.1f charts/s  (%zu bytes per chart)\n", charts / chartruns::median(times), bytes);
    std::printf("  drawing alone:        %8.3f ms per chart (layout, record, replay)\n", 1000 * chartruns::median(drawing) / charts);
    return 0;
}

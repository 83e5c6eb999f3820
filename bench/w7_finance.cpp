// W7: an 800 x 800 finance chart of 250 daily candles (a seeded random walk) with a 20-day moving
// average, volume bars and MACD (12, 26, 9) and RSI (14) panels, built, rendered and encoded to PNG
// in memory; beside it the same chart over 20 years of days (5,000 candles). Seconds per chart,
// medians of 5 runs of 20 charts, in CPU time.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "benchclock.h"

using namespace plotvane;

namespace {

struct Prices {
    std::vector<double> t, high, low, open, close, vol;
    explicit Prices(int n) {
        uint32_t state = 2024;
        auto uniform = [&state] {
            state = state * 1664525u + 1013904223u;
            return (state >> 8) / 16777216.0;
        };
        double last = 100, day = Chart::chartTime(2000, 1, 3);
        for (int i = 0; i < n; ++i) {
            double o = last, c = std::max(o * (1 + (uniform() - 0.5) * 0.04), 1.0);
            t.push_back(day);
            day += (i % 5 == 4 ? 3 : 1) * 86400.0;
            open.push_back(o);
            close.push_back(c);
            high.push_back(std::max(o, c) * (1 + uniform() * 0.01));
            low.push_back(std::min(o, c) * (1 - uniform() * 0.01));
            vol.push_back(1e5 + uniform() * 9e5);
            last = c;
        }
    }
};

DoubleArray view(const std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); }

double run(const Prices& p, int count) {
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        FinanceChart* c = FinanceChart::create(800);
        c->addTitle("W7", "bold", 12);
        c->setData(view(p.t), view(p.high), view(p.low), view(p.open), view(p.close), view(p.vol), 30);
        c->addMainChart(440);
        c->addCandleStick(0x00aa00, 0xcc0000);
        c->addSimpleMovingAvg(20, 0x0000ff);
        c->addVolBars(100, 0x8000aa00, 0x80cc0000, 0x80888888);
        c->addMACD(130, 12, 26, 9, 0x0000ff, 0xff00ff, 0x008800);
        c->addRSI(130, 14, 0x800080, 20, 0xff6666, 0x6666ff);
        c->makeChart(Chart::PNG);
        c->destroy();
    }
    return (benchclock::cpuSeconds() - start) / count;
}

double median(const Prices& p, int count, int runs) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) times.push_back(run(p, count));
    std::sort(times.begin(), times.end());
    return times[runs / 2];
}

}  // namespace

int main() {
    Prices year(280), twenty(5030);
    std::printf("finance chart, 800x800 PNG, median of 5 runs, CPU time per chart\n");
    std::printf("  W7, 250 candles:      %8.4f s\n", median(year, 20, 5));
    std::printf("  20 years, 5,000 days: %8.4f s\n", median(twenty, 5, 5));
    return 0;
}

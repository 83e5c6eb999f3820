// A 600 x 400 box-whisker chart of 200 boxes (quartiles, whiskers, medians, per-box colours), with
// title and axis titles: 200 charts built, rendered and encoded to PNG in memory, charts per
// second, beside which W3's figure is the yardstick. Medians of 5 runs, in CPU time.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "chartruns.h"

using namespace plotvane;

namespace {

struct Data {
    std::vector<double> top, bottom, max, min, median;
    std::vector<int> colors;
    Data() {
        for (int i = 0; i < 200; ++i) {
            double centre = 50 + 20 * std::sin(i / 15.0), spread = 8 + 3 * std::cos(i / 7.0);
            median.push_back(centre + spread * 0.1 * std::sin(i));
            top.push_back(centre + spread);
            bottom.push_back(centre - spread);
            max.push_back(centre + 2.2 * spread);
            min.push_back(centre - 2.5 * spread);
            colors.push_back(i % 2 ? 0x4477aa : 0x66ccee);
        }
    }
};

DoubleArray view(const std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); }

XYChart* build(const Data& d) {
    XYChart* c = XYChart::create(600, 400);
    c->addTitle("200 distributions", "bold", 14);
    c->setPlotArea(60, 50, 510, 300, 0xffffff, -1, Chart::Transparent, 0xdddddd);
    c->addBoxWhiskerLayer2(view(d.top), view(d.bottom), view(d.max), view(d.min), view(d.median),
                           IntArray(d.colors.data(), 200));
    c->xAxis()->setTitle("Sample");
    c->yAxis()->setTitle("Value");
    return c;
}

}  // namespace

int main() {
    const int charts = 200, runs = 5;
    Data d;
    std::vector<double> times, drawing;
    size_t bytes = 0;
    for (int r = 0; r < runs; ++r) {
        times.push_back(chartruns::encodeRun([&] { return build(d); }, charts, bytes));
        drawing.push_back(chartruns::drawingRun([&] { return build(d); }, charts));
    }
    std::printf("box-whisker, 200 boxes, %d charts, median of %d runs, CPU time\n", charts, runs);
    std::printf("  default PNG:          %8.1f charts/s  (%zu bytes per chart)\n", charts / chartruns::median(times), bytes);
    std::printf("  drawing alone:        %8.3f ms per chart (layout, record, replay)\n", 1000 * chartruns::median(drawing) / charts);
    return 0;
}

// W9: a 600 x 600 radar chart of 3 filled series over 12 labelled spokes, with data labels on one
// series, a legend and a title. 200 charts are built, rendered and encoded to PNG in memory;
// prints charts per second (median of 5 runs, CPU time) at default settings and with fast
// compression, the first chart of the process beside the warm median chart, and the drawing
// alone (layout, record and replay, no encoding). The same chart made again lets the PNG encoder
// take over the last picture's work, so the charts are also made with new numbers each time.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "chartruns.h"

using namespace plotvane;

namespace {

const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const double kA[] = {62, 70, 81, 75, 90, 84, 77, 69, 88, 92, 73, 66};
const double kB[] = {45, 52, 40, 61, 58, 66, 70, 64, 55, 49, 60, 51};
const double kC[] = {20, 28, 35, 30, 26, 38, 42, 33, 29, 24, 31, 36};

// `change` moves the first series, so that consecutive charts differ from the plot area down.
PolarChart* buildRadar(int change) {
    double a[12];
    for (int k = 0; k < 12; ++k) a[k] = kA[k] - change % 7;
    PolarChart* c = PolarChart::create(600, 600, 0xffffff);
    c->addTitle("Sales by month", "bold", 14);
    c->setPlotArea(300, 320, 220, 0xf8f8ff, 0x808080);
    c->setPlotAreaBg(0xf8f8ff, 0xeaeef8);
    c->addLegend(10, 30, false, "", 9)->setBackground(Chart::Transparent);
    c->angularAxis()->setLabels(StringArray(kMonths, 12));
    c->addAreaLayer(DoubleArray(a, 12), 0x80e03030, "North")->setBorderColor(0xe03030);
    c->addAreaLayer(DoubleArray(kB, 12), 0x8030a040, "South")->setBorderColor(0x30a040);
    PolarAreaLayer* l = c->addAreaLayer(DoubleArray(kC, 12), 0x803050e0, "West");
    l->setBorderColor(0x3050e0);
    l->setDataLabelFormat("{value}");
    return c;
}

double oneChart() {
    double start = benchclock::cpuSeconds();
    PolarChart* c = buildRadar(0);
    MemBlock png = c->makeChart(Chart::PNG);
    double t = benchclock::cpuSeconds() - start;
    if (png.len <= 0) std::printf("no PNG\n");
    c->destroy();
    return t;
}

double run(int count, std::vector<double>& each) {
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) each.push_back(oneChart());
    return benchclock::cpuSeconds() - start;
}

}  // namespace

int main() {
    const int charts = 200, runs = 5;
    auto sameChart = [] { return buildRadar(0); };
    double first = oneChart();
    std::vector<double> totals, each, fast, drawing, changing;
    for (int r = 0; r < runs; ++r) {
        totals.push_back(run(charts, each));
        size_t bytes = 0;
        fast.push_back(chartruns::encodeRun(sameChart, charts, bytes, 128 + 1));  // true colour, zlib level 1
        drawing.push_back(chartruns::drawingRun(sameChart, charts));
        int change = 0;
        changing.push_back(chartruns::encodeRun([&] { return buildRadar(++change); }, charts, bytes));
    }
    std::printf("W9 radar, %d charts, median of %d runs, CPU time\n", charts, runs);
    std::printf("  default PNG:     %8.1f charts/s\n", charts / chartruns::median(totals));
    std::printf("  new numbers each: %7.1f charts/s\n", charts / chartruns::median(changing));
    std::printf("  fast PNG (129):  %8.1f charts/s\n", charts / chartruns::median(fast));
    std::printf("  first chart:     %8.2f ms  (warm median %.2f ms)\n", 1000 * first, 1000 * chartruns::median(each));
    std::printf("  drawing alone:   %8.3f ms per chart\n", 1000 * chartruns::median(drawing) / charts);
    return 0;
}

// W5: a 600 x 400 pie of 8 sectors with labels outside (name and percentage), a legend and a
// title, and the same data as a 3D donut with side labels. 200 charts of each are built, rendered
// and encoded to PNG in memory; prints charts per second at default settings and with fast
// compression (true colour, zlib level 1: palette mode 128 + 1), and the drawing alone (layout,
// record and replay, no encoding) per chart. Medians of 5 runs, in CPU time.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "benchclock.h"

using namespace plotvane;

namespace {

const double kValues[] = {25, 18, 15, 12, 10, 9, 6, 5};
const char* kNames[] = {"Rent", "Salaries", "Materials", "Energy", "Transport", "Marketing", "Insurance", "Other"};

PieChart* buildPie(bool donut) {
    PieChart* c = PieChart::create(600, 400);
    c->addTitle("Monthly expenses", "bold", 13);
    c->addLegend(470, 60, true, "", 9);
    c->setData(DoubleArray(kValues, 8), StringArray(kNames, 8));
    if (donut) {
        c->setDonutSize(250, 210, 120, 60);
        c->set3D(25);
        c->setLabelLayout(Chart::SideLayout);
    } else {
        c->setPieSize(250, 210, 120);
        c->setLabelFormat("{label} ({percent|1}%)");
    }
    return c;
}

// paletteMode < 0 keeps the default.
double run(int count, bool donut, int paletteMode, size_t& bytes) {
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        PieChart* c = buildPie(donut);
        if (paletteMode >= 0) c->getDrawArea()->setPaletteMode(paletteMode);
        MemBlock png = c->makeChart(Chart::PNG);
        bytes = static_cast<size_t>(std::max(png.len, 0));
        c->destroy();
    }
    return benchclock::cpuSeconds() - start;
}

double drawingRun(int count, bool donut) {
    double total = 0;
    for (int k = 0; k < count; ++k) {
        PieChart* c = buildPie(donut);
        double start = benchclock::cpuSeconds();
        c->makeChart()->getCanvas();
        total += benchclock::cpuSeconds() - start;
        c->destroy();
    }
    return total;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    const int charts = 200, runs = 5;
    std::printf("W5 pie, %d charts, median of %d runs, CPU time\n", charts, runs);
    for (bool donut : {false, true}) {
        std::vector<double> plain, fast, drawing;
        size_t plainBytes = 0, fastBytes = 0;
        for (int r = 0; r < runs; ++r) {
            plain.push_back(run(charts, donut, -1, plainBytes));
            fast.push_back(run(charts, donut, 128 + 1, fastBytes));
            drawing.push_back(drawingRun(charts, donut));
        }
        std::printf("  %s\n", donut ? "3D donut, side labels" : "flat pie, labels outside");
        std::printf("    default PNG:          %8.1f charts/s  (%zu bytes per chart)\n", charts / median(plain), plainBytes);
        std::printf("    fast PNG (mode 129):  %8.1f charts/s  (%zu bytes per chart)\n", charts / median(fast), fastBytes);
        std::printf("    drawing alone:        %8.3f ms per chart\n", 1000 * median(drawing) / charts);
    }
    return 0;
}

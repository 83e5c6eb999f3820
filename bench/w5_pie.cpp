// W5: a 600 x 400 pie of 8 sectors with labels outside (name and percentage), a legend and a
// title, and the same data as a 3D donut with side labels. 200 charts of each are built, rendered
// and encoded to PNG in memory; prints charts per second at default settings and with fast
// compression (true colour, zlib level 1: palette mode 128 + 1), and the drawing alone (layout,
// record and replay, no encoding) per chart. Medians of 5 runs, in CPU time.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "chartruns.h"

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
}  // namespace

int main() {
    const int charts = 200, runs = 5;
    std::printf("W5 pie, %d charts, median of %d runs, CPU time\n", charts, runs);
    for (bool donut : {false, true}) {
        std::vector<double> plain, fast, drawing;
        size_t plainBytes = 0, fastBytes = 0;
        for (int r = 0; r < runs; ++r) {
            auto build = [donut] { return buildPie(donut); };
            plain.push_back(chartruns::encodeRun(build, charts, plainBytes));
            fast.push_back(chartruns::encodeRun(build, charts, fastBytes, 128 + 1));
            drawing.push_back(chartruns::drawingRun(build, charts));
        }
        std::printf("  %s\n", donut ? "3D donut, side labels" : "flat pie, labels outside");
        std::printf("    default PNG:          %8.1f charts/s  (%zu bytes per chart)\n", charts / chartruns::median(plain), plainBytes);
        std::printf("    fast PNG (mode 129):  %8.1f charts/s  (%zu bytes per chart)\n", charts / chartruns::median(fast), fastBytes);
        std::printf("    drawing alone:        %8.3f ms per chart\n", 1000 * chartruns::median(drawing) / charts);
    }
    return 0;
}

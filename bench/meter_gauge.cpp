// A 250 x 250 angular meter with zones, ticks, labels and one pointer, built, rendered and
// encoded to PNG in memory: charts per second. Then the same meter drawn once, with only its
// pointer redrawn on the dynamic layer for each frame: frames per second. Both also without the PNG
// encoding (layout, record and replay only). Medians of 5 runs of 200, in CPU time; the first
// chart of the process is reported apart.
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "chartruns.h"

using namespace plotvane;

namespace {

AngularMeter* buildGauge(double value, bool withPointer) {
    AngularMeter* m = AngularMeter::create(250, 250, 0xeeeeee, 0x888888);
    m->setMeter(125, 135, 100, -135, 135);
    m->setScale(0, 100, 10, 5, 1);
    m->addZone(0, 60, 0x99dd77);
    m->addZone(60, 85, 0xffdd44);
    m->addZone(85, 100, 0xee5544);
    m->addText(125, 190, "load %", "bold", 9, 0x333333, Chart::Center);
    if (withPointer) m->addPointer(value, 0x3366cc);
    return m;
}

double fullCharts(int count) {
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        AngularMeter* m = buildGauge(k % 100, true);
        m->makeChart(Chart::PNG);
        m->destroy();
    }
    return benchclock::cpuSeconds() - start;
}

// Frames drawn onto the canvas and, when `encode`, encoded to PNG.
double pointerFrames(int count, bool encode) {
    AngularMeter* m = buildGauge(0, false);
    // Invisible in the base drawing; each frame paints it on the dynamic layer.
    MeterPointer* p = m->addPointer(0, Chart::Transparent);
    m->makeChart();
    p->setColor(0x3366cc);
    double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        DrawArea* d = m->initDynamicLayer();
        p->setPos(k % 100);
        p->paint(d);
        if (encode)
            d->outPNG();
        else
            d->getCanvas();
        m->removeDynamicLayer();
    }
    double seconds = benchclock::cpuSeconds() - start;
    m->destroy();
    return seconds;
}

}  // namespace

int main() {
    double first = benchclock::cpuSeconds();
    fullCharts(1);
    first = benchclock::cpuSeconds() - first;
    const int charts = 200, runs = 5;
    std::vector<double> full, frames, drawing, frameDrawing;
    for (int r = 0; r < runs; ++r) {
        full.push_back(fullCharts(charts));
        frames.push_back(pointerFrames(charts, true));
        drawing.push_back(chartruns::drawingRun([] { return buildGauge(50, true); }, charts));
        frameDrawing.push_back(pointerFrames(charts, false));
    }
    using chartruns::median;
    std::printf("Angular meter 250x250, %d charts, median of %d runs, CPU time\n", charts, runs);
    std::printf("  first chart of the process: %8.2f ms\n", 1000 * first);
    std::printf("  whole chart to PNG:         %8.1f charts/s\n", charts / median(full));
    std::printf("  pointer on dynamic layer:   %8.1f frames/s\n", charts / median(frames));
    std::printf("  whole chart, drawing alone: %8.3f ms per chart\n", 1000 * median(drawing) / charts);
    std::printf("  pointer frame, drawing alone: %6.3f ms per frame\n", 1000 * median(frameDrawing) / charts);
    return 0;
}

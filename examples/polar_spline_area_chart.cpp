// Polar splines: a smooth filled loop through five readings, and a smooth line whose missing
// reading is bridged by a grey line; a zone on each axis. The angles run anticlockwise.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double area[] = {6, 9, 4, 8, 5};
    const double line[] = {3, 5, Chart::NoValue, 4, 2.5};
    const char* sensors[] = {"A", "B", "C", "D", "E"};

    PolarChart* c = PolarChart::create(400, 420, 0xffffff);
    c->addTitle("Sensor readings", "bold", 13);
    c->setPlotArea(200, 225, 140, 0xffffff, 0x808080);
    c->setStartAngle(0, false);
    c->angularAxis()->setLabels(StringArray(sensors, 5));
    c->radialAxis()->setLinearScale(0, 10, 2);
    c->radialAxis()->addZone(8, 10, 0xfff0d0);
    c->angularAxis()->addZone(1, 2, 0xe0f0ff);
    c->addSplineAreaLayer(DoubleArray(area, 5), 0xa0308030, "Today");
    PolarSplineLineLayer* s = c->addSplineLineLayer(DoubleArray(line, 5), 0x8000a0, "Yesterday");
    s->setLineWidth(2);
    s->setGapColor(0xa0a0a0, 1);
    c->addLegend(10, 30, false, "", 9)->setBackground(Chart::Transparent);

    bool ok = c->makeChart("polar_spline_area_chart.png") && c->makeChart("polar_spline_area_chart.svg") &&
              c->makeChart("polar_spline_area_chart.pdf");
    c->destroy();
    return ok ? 0 : 1;
}

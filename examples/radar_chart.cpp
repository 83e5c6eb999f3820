// A radar chart: three cars scored on eight qualities, each a translucent filled polygon, with the
// scores of one of them written at its corners.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double a[] = {82, 64, 90, 45, 70, 58, 77, 66};
    const double b[] = {55, 80, 48, 72, 40, 85, 50, 62};
    const double c3[] = {30, 42, 35, 50, 28, 38, 45, 33};
    const char* qualities[] = {"Speed", "Range", "Cost", "Comfort", "Safety", "Space", "Looks", "Noise"};

    PolarChart* c = PolarChart::create(460, 460, 0xffffff);
    c->addTitle("Three cars compared", "bold", 13);
    c->setPlotArea(230, 250, 150, 0xf4f8ff, 0x8090a0);
    // Rings alternate in two shades of blue.
    c->setPlotAreaBg(0xf4f8ff, 0xe4ecf8);
    c->addLegend(10, 30, false, "", 9)->setBackground(Chart::Transparent);
    c->angularAxis()->setLabels(StringArray(qualities, 8));
    c->radialAxis()->setLinearScale(0, 100, 25);

    // Colours with an alpha byte let the polygons behind show through.
    c->addAreaLayer(DoubleArray(a, 8), 0x80e03030, "Model A")->setBorderColor(0xe03030);
    c->addAreaLayer(DoubleArray(b, 8), 0x8030a040, "Model B")->setBorderColor(0x30a040);
    PolarAreaLayer* m = c->addAreaLayer(DoubleArray(c3, 8), 0x803050e0, "Model C");
    m->setBorderColor(0x3050e0);
    m->setDataSymbol(Chart::CircleSymbol, 6, 0x3050e0);
    m->setDataLabelFormat("{value}");

    bool ok = c->makeChart("radar_chart.png") && c->makeChart("radar_chart.svg") && c->makeChart("radar_chart.pdf");
    c->destroy();
    return ok ? 0 : 1;
}

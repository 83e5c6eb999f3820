// A polar line on a logarithmic radial axis: a signal's strength by bearing, spanning three
// decades, drawn on round rings with the bearings clockwise from east; ticks every 10 degrees, the
// mast's bearing and the detection threshold marked, the mast's sector shaded at the rim, and the
// bearing axis titled.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    std::vector<double> strength, bearing;
    for (int i = 0; i < 36; ++i) {
        bearing.push_back(i * 10);
        strength.push_back(std::pow(10, 0.5 + 2.5 * (0.5 + 0.5 * std::sin(i * 3.14159265358979 / 9))));
    }
    int n = static_cast<int>(strength.size());

    PolarChart* c = PolarChart::create(420, 470, 0xffffff);
    c->addTitle("Signal strength by bearing", "bold", 13);
    c->setPlotArea(210, 235, 160, 0xffffff, 0x404040);
    c->setGridStyle(false);
    c->setStartAngle(90);
    c->radialAxis()->setLogScale(1, 1000);
    c->radialAxis()->setLabelFormat("{value} mW");
    c->radialAxis()->addMark(10, 0x20a040, "threshold", "", 8)->setLineWidth(2);
    AngularAxis* bearings = c->angularAxis();
    bearings->setLinearScale(0, 360, 30, 10);
    bearings->setTickLength(6, 3);
    bearings->setTitle("Bearing (degrees clockwise from east)", "", 9);
    bearings->addMark(135, 0x2060c0, "mast", "bold", 9)->setLineWidth(2);
    // Between 120 and 160 pixels from the centre: the outer ring of the plot area.
    bearings->addZone(105, 165, 120, 160, 0xdde8f8, 0x9ab4dc);
    PolarLineLayer* l = c->addLineLayer(DoubleArray(strength.data(), n), 0xc03000, "Strength");
    l->setAngles(DoubleArray(bearing.data(), n));
    l->setLineWidth(2);
    l->setDataSymbol(Chart::DiamondSymbol, 7, 0xffc000);

    bool ok = c->makeChart("polar_log_line_chart.png") && c->makeChart("polar_log_line_chart.svg") &&
              c->makeChart("polar_log_line_chart.pdf");
    c->destroy();
    return ok ? 0 : 1;
}

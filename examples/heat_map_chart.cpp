// A heat map: activity per hour of each weekday, one cell per value in a colour from the colour
// axis, with the colour axis below the plot area.
#include <plotvane/plotvane.h>

#include <cmath>
#include <string>
#include <vector>

using namespace plotvane;

int main() {
    const char* days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    std::vector<double> x, y, z;
    for (int d = 0; d < 7; ++d) {
        for (int h = 0; h < 24; ++h) {
            double work = d < 5 ? std::exp(-(h - 11) * (h - 11) / 12.0) + 0.7 * std::exp(-(h - 15) * (h - 15) / 6.0) : 0;
            double leisure = d >= 5 ? 0.9 * std::exp(-(h - 14) * (h - 14) / 20.0) : 0.3 * std::exp(-(h - 20) * (h - 20) / 4.0);
            x.push_back(h);
            y.push_back(d);
            z.push_back(100 * (work + leisure) + 5 * ((d * 7 + h * 3) % 5));
        }
    }
    XYChart* c = XYChart::create(640, 360);
    c->addTitle("Visits per hour", "bold", 14);
    c->setPlotArea(60, 45, 550, 210, -1, -1, Chart::Transparent, Chart::Transparent);
    // Label axes put hour h and day d at the values h and d; the indent leaves room for the
    // outer cells, which reach half a step beyond their points.
    const char* hours[24];
    std::vector<std::string> hourText;
    for (int h = 0; h < 24; ++h) hourText.push_back(std::to_string(h) + "h");
    for (int h = 0; h < 24; ++h) hours[h] = hourText[h].c_str();
    c->xAxis()->setLabels(StringArray(hours, 24));
    c->xAxis()->setLabelStep(3);
    c->xAxis()->setIndent(true);
    c->yAxis()->setLabels(StringArray(days, 7));
    c->yAxis()->setIndent(true);
    c->yAxis()->setReverse();

    ContourLayer* layer = c->addContourLayer(DoubleArray(x.data(), static_cast<int>(x.size())),
                                             DoubleArray(y.data(), static_cast<int>(y.size())),
                                             DoubleArray(z.data(), static_cast<int>(z.size())));
    layer->setHeatMap();
    const int gradient[] = {0xffffcc, 0xfed976, 0xfd8d3c, 0xe31a1c, 0x800026};
    ColorAxis* axis = layer->setColorAxis(60, 300, Chart::TopLeft, 550, Chart::Bottom);
    axis->setColorGradient(true, IntArray(gradient, 5));
    axis->setWidth(12);

    c->makeChart("heat_map_chart.png");
    c->makeChart("heat_map_chart.svg");
    c->makeChart("heat_map_chart.pdf");
    c->destroy();
    return 0;
}

// Rainfall over a region as a contour chart with an explicit banded colour scale: four bands from
// 20 to 100 mm, darker colours below and above the scale for the values outside it.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    std::vector<double> x, y, z;
    for (int j = 0; j <= 40; ++j) {
        for (int i = 0; i <= 50; ++i) {
            double u = i * 2.0, v = j * 2.0;
            x.push_back(u);
            y.push_back(v);
            z.push_back(60 + 45 * std::sin(u / 25) * std::cos(v / 30) + 25 * std::exp(-((u - 70) * (u - 70) + (v - 20) * (v - 20)) / 300));
        }
    }
    XYChart* c = XYChart::create(600, 460);
    c->addTitle("Rainfall (mm)", "bold", 14);
    c->setPlotArea(60, 50, 400, 320, -1, -1, Chart::Transparent, Chart::Transparent);
    c->xAxis()->setTitle("Distance east (km)");
    c->yAxis()->setTitle("Distance north (km)");

    ContourLayer* layer = c->addContourLayer(DoubleArray(x.data(), static_cast<int>(x.size())),
                                             DoubleArray(y.data(), static_cast<int>(y.size())),
                                             DoubleArray(z.data(), static_cast<int>(z.size())));
    // The stops: value, colour, value, colour ... ending with the top value.
    const double stops[] = {20, 0xd1e5f0, 40, 0x92c5de, 60, 0x4393c3, 80, 0x2166ac, 100};
    ColorAxis* axis = layer->setColorAxis(480, 50, Chart::TopLeft, 320, Chart::Right);
    axis->setColorGradient(false, IntArray(), 0xf7f7f7, 0x053061);
    axis->setColorScale(DoubleArray(stops, 9), 0xf7f7f7, 0x053061);
    axis->setBoundingBox(0xf4f4f4, 0xaaaaaa);
    axis->setRoundedCorners(6);
    layer->setContourColor(0x404040);

    c->makeChart("banded_contour_chart.png");
    c->makeChart("banded_contour_chart.svg");
    c->makeChart("banded_contour_chart.pdf");
    c->destroy();
    return 0;
}

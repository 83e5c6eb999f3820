// Soil moisture measured at 150 scattered places: the points are triangulated and the surface
// between them filled and contoured, with the places marked on top.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    RanSeries* r = RanSeries::create(17);
    const int n = 150;
    DoubleArray xs = r->getSeries(n, 0, 100);
    std::vector<double> x(xs.data, xs.data + n);
    DoubleArray ys = r->getSeries(n, 0, 100);
    std::vector<double> y(ys.data, ys.data + n), z;
    for (int i = 0; i < n; ++i)
        z.push_back(30 + 12 * std::sin(x[i] / 15) + 10 * std::cos(y[i] / 20) + 0.1 * (x[i] - y[i]));

    XYChart* c = XYChart::create(600, 480);
    c->addTitle("Soil moisture (%)", "bold", 14);
    c->setPlotArea(60, 50, 400, 360, 0xeeeeee, -1, Chart::Transparent, Chart::Transparent);
    c->xAxis()->setTitle("x (m)");
    c->yAxis()->setTitle("y (m)");

    DoubleArray xa(x.data(), n), ya(y.data(), n);
    c->addScatterLayer(xa, ya, "", Chart::CircleSymbol, 4, 0x000000, Chart::Transparent);
    ContourLayer* layer = c->addContourLayer(xa, ya, DoubleArray(z.data(), n));
    layer->setContourColor(0x60000000);
    layer->setColorAxis(480, 50, Chart::TopLeft, 360, Chart::Right)->setTitle("Moisture");
    // The scatter layer was added first, so it is drawn in front of the contour.

    c->makeChart("scattered_contour_chart.png");
    c->makeChart("scattered_contour_chart.svg");
    c->makeChart("scattered_contour_chart.pdf");
    c->destroy();
    r->destroy();
    return 0;
}

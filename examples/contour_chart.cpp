// A filled contour of a surface with two peaks and a pit, contour lines at every level and a
// colour axis beside the plot area as its legend.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    // z on a 61 x 61 grid over [-3, 3] x [-3, 3], given point by point.
    const int n = 61;
    std::vector<double> x, y, z;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            double u = -3 + 6.0 * i / (n - 1), v = -3 + 6.0 * j / (n - 1);
            x.push_back(u);
            y.push_back(v);
            z.push_back(3 * (1 - u) * (1 - u) * std::exp(-u * u - (v + 1) * (v + 1)) -
                        10 * (u / 5 - u * u * u - std::pow(v, 5)) * std::exp(-u * u - v * v) -
                        std::exp(-(u + 1) * (u + 1) - v * v) / 3);
        }
    }
    XYChart* c = XYChart::create(600, 500);
    c->addTitle("Two peaks and a pit", "bold", 14);
    c->setPlotArea(60, 50, 420, 400, -1, -1, Chart::Transparent, Chart::Transparent);
    c->xAxis()->setTitle("x");
    c->yAxis()->setTitle("y");

    ContourLayer* layer = c->addContourLayer(DoubleArray(x.data(), static_cast<int>(x.size())),
                                             DoubleArray(y.data(), static_cast<int>(y.size())),
                                             DoubleArray(z.data(), static_cast<int>(z.size())));
    layer->setContourColor(0x80000000);
    ColorAxis* axis = layer->setColorAxis(500, 50, Chart::TopLeft, 400, Chart::Right);
    axis->setTitle("Height");

    c->makeChart("contour_chart.png");
    c->makeChart("contour_chart.svg");
    c->makeChart("contour_chart.pdf");
    c->destroy();
    return 0;
}

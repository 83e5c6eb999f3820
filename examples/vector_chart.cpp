// A vector field: the rotation of the plane about the origin, an arrow at every grid point whose
// length grows with the distance from the centre.
#include <plotvane/plotvane.h>

#include <cmath>
#include <vector>

using namespace plotvane;

int main() {
    std::vector<double> xs, ys, lengths, directions;
    for (int i = -5; i <= 5; ++i)
        for (int j = -5; j <= 5; ++j) {
            if (i == 0 && j == 0) continue;
            xs.push_back(i);
            ys.push_back(j);
            // Perpendicular to the radius, clockwise from up.
            double angle = std::atan2(j, i) * 180 / 3.14159265358979323846;
            directions.push_back(std::fmod(360 - angle, 360));
            lengths.push_back(0.2 * std::hypot(i, j));
        }
    int n = static_cast<int>(xs.size());

    XYChart* c = XYChart::create(500, 500);
    c->addTitle("Rotation field", "bold", 14);
    c->setPlotArea(60, 50, 400, 400, 0xffffff, -1, Chart::Transparent, 0xeeeeee, 0xeeeeee);
    VectorLayer* layer = c->addVectorLayer(DoubleArray(xs.data(), n), DoubleArray(ys.data(), n),
                                           DoubleArray(lengths.data(), n), DoubleArray(directions.data(), n),
                                           Chart::XAxisScale, 0x2255aa, "Flow");
    layer->setArrowAlignment(Chart::Center);
    c->xAxis()->setLinearScale(-6, 6, 1);
    c->yAxis()->setLinearScale(-6, 6, 1);

    c->makeChart("vector_chart.png");
    c->makeChart("vector_chart.svg");
    c->makeChart("vector_chart.pdf");
    c->destroy();
    return 0;
}

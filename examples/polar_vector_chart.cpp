// A polar vector field: a swirl round the centre, arrows centred on four rings of points, each
// turned a little further outwards and longer the further out it stands.
#include <plotvane/plotvane.h>

#include <vector>

using namespace plotvane;

int main() {
    std::vector<double> r, a, lengths, directions;
    for (int ring = 1; ring <= 4; ++ring)
        for (int k = 0; k < 12; ++k) {
            r.push_back(ring * 2);
            a.push_back(k * 30);
            lengths.push_back(6 + ring * 4);
            directions.push_back(k * 30 + 90 + ring * 10);
        }
    int n = static_cast<int>(r.size());

    PolarChart* c = PolarChart::create(420, 440, 0xffffff);
    c->addTitle("Swirl", "bold", 13);
    c->setPlotArea(210, 235, 160, 0xffffff, 0x808080);
    c->radialAxis()->setLinearScale(0, 10, 2);
    PolarVectorLayer* v = c->addVectorLayer(DoubleArray(r.data(), n), DoubleArray(a.data(), n),
                                            DoubleArray(lengths.data(), n), DoubleArray(directions.data(), n),
                                            Chart::PixelScale, 0x2060c0);
    v->setArrowHead(7, 7);
    v->setArrowAlignment(Chart::Center);

    bool ok = c->makeChart("polar_vector_chart.png") && c->makeChart("polar_vector_chart.svg") &&
              c->makeChart("polar_vector_chart.pdf");
    c->destroy();
    return ok ? 0 : 1;
}

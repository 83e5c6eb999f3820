// Two groups of points in a 3D box, coloured by height through the colour axis, each with a drop
// line to the floor; a legend names the groups.
#include <plotvane/plotvane.h>

#include <vector>

using namespace plotvane;

int main() {
    RanSeries* r = RanSeries::create(3);
    const int n = 40;
    auto series = [&](double lo, double hi) {
        DoubleArray s = r->getSeries(n, lo, hi);
        return std::vector<double>(s.data, s.data + s.len);
    };
    std::vector<double> x1 = series(0, 10), y1 = series(0, 10), z1 = series(0, 8);
    std::vector<double> x2 = series(2, 8), y2 = series(2, 8), z2 = series(4, 10);
    auto arr = [](std::vector<double>& v) { return DoubleArray(v.data(), static_cast<int>(v.size())); };

    ThreeDScatterChart* c = ThreeDScatterChart::create(640, 520);
    c->addTitle("Points above the floor", "bold", 14);
    c->setPlotRegion(300, 270, 320, 320, 200);
    c->addLegend(10, 30, false, "", 9)->setBackground(Chart::Transparent);
    ThreeDScatterGroup* g1 = c->addScatterGroup(arr(x1), arr(y1), arr(z1), "Circles", Chart::CircleSymbol, 11,
                                                Chart::SameAsMainColor);
    g1->setDropLine(0x888888);
    ThreeDScatterGroup* g2 = c->addScatterGroup(arr(x2), arr(y2), arr(z2), "Diamonds", Chart::DiamondSymbol, 13, Chart::SameAsMainColor);
    g2->setDropLine(0x888888);
    c->xAxis()->setTitle("x");
    c->yAxis()->setTitle("y");
    c->zAxis()->setTitle("z");
    c->colorAxis()->setTitle("Height");

    c->makeChart("threed_scatter_chart.png");
    c->makeChart("threed_scatter_chart.svg");
    c->makeChart("threed_scatter_chart.pdf");
    c->destroy();
    r->destroy();
    return 0;
}

// A cone of layers with a gradient across each face, labels on both sides.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double tonnes[] = {420, 310, 250, 140, 80};
    const char* grades[] = {"Gravel", "Sand", "Clay", "Silt", "Loam"};

    PyramidChart* c = PyramidChart::create(480, 360);
    c->addTitle("Material moved", "bold", 13);
    c->setConeSize(240, 190, 110, 280);
    c->setViewAngle(20);
    c->setData(DoubleArray(tonnes, 5), StringArray(grades, 5));
    c->setLeftLabel("{value} t");
    c->setRightLabel("{label}");
    c->setGradientShading(1.25, 0.75);
    c->setLayerGap(0.015);

    c->makeChart("cone_chart.png");
    c->makeChart("cone_chart.svg");
    c->makeChart("cone_chart.pdf");
    c->destroy();
    return 0;
}

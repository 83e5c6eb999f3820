// A four-sided pyramid of layers seen from above, percentages on the left, names on the right.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double people[] = {156, 123, 211, 179, 90};
    const char* stages[] = {"Visitors", "Sign-ups", "Trials", "Customers", "Advocates"};

    PyramidChart* c = PyramidChart::create(480, 360);
    c->addTitle("Audience", "bold", 13);
    c->setPyramidSize(240, 190, 110, 280);
    c->setData(DoubleArray(people, 5), StringArray(stages, 5));
    c->setLeftLabel("{percent|1}%");
    c->setRightLabel("{label}");
    c->setCenterLabel("{value}", "bold", 9, 0xffffff);
    c->setLayerGap(0.01);
    c->setLayerBorder(0xffffff);

    c->makeChart("pyramid_chart.png");
    c->makeChart("pyramid_chart.svg");
    c->makeChart("pyramid_chart.pdf");
    c->destroy();
    return 0;
}

// A sales funnel: the first stage at the wide top, a tube for the last ones, labels on both sides.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double deals[] = {1200, 860, 540, 310, 180};
    const char* stages[] = {"Leads", "Qualified", "Proposals", "Negotiation", "Won"};

    PyramidChart* c = PyramidChart::create(480, 360);
    c->addTitle("Sales funnel", "bold", 13);
    c->setFunnelSize(240, 200, 120, 260, 0.22, 0.25);
    c->setData(DoubleArray(deals, 5), StringArray(stages, 5));
    c->setLeftLabel("{percent|0}%");
    c->setRightLabel("{label}: {value}");
    c->setLayerGap(0.01);
    c->setLighting(0.6, 0.5, 0.8, 16);

    c->makeChart("funnel_chart.png");
    c->makeChart("funnel_chart.svg");
    c->makeChart("funnel_chart.pdf");
    c->destroy();
    return 0;
}

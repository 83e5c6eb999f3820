// A 3D area chart: two series side by side in depth, each with a roof along its top edge and a
// wall at its end.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double north[] = {30, 45, 38, 60, 52, 70, 66, 80};
    const double south[] = {50, 42, 58, 47, 63, 55, 72, 61};
    const char* weeks[] = {"W1", "W2", "W3", "W4", "W5", "W6", "W7", "W8"};

    XYChart* c = XYChart::create(600, 400);
    c->addTitle("Orders per week", "bold", 14);
    c->setPlotArea(70, 80, 460, 250, 0xf4f4f4, -1, Chart::Transparent, 0xcccccc, 0xcccccc);
    c->addLegend(70, 32, false, "", 9)->setBackground(Chart::Transparent);

    AreaLayer* layer = c->addAreaLayer(Chart::Overlay, 24);
    layer->addDataSet(DoubleArray(north, 8), 0x66aaee, "North");
    layer->addDataSet(DoubleArray(south, 8), 0xee9944, "South");

    c->xAxis()->setLabels(StringArray(weeks, 8));
    c->yAxis()->setTitle("Orders");

    c->makeChart("area_3d_chart.png");
    c->makeChart("area_3d_chart.svg");
    c->makeChart("area_3d_chart.pdf");
    c->destroy();
    return 0;
}

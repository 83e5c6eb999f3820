// 3D bars side by side, the second series drawn as cylinders, values on top of each bar.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double year1[] = {57, 68, 71, 62, 80};
    const double year2[] = {64, 72, 69, 75, 88};
    const char* regions[] = {"North", "South", "East", "West", "Central"};

    XYChart* c = XYChart::create(600, 400);
    c->addTitle("Sales by region", "bold", 14);
    c->setPlotArea(70, 70, 480, 270, 0xf0f0f0, 0xfafafa, Chart::Transparent, 0xcccccc);
    c->addLegend(70, 32, false, "", 9)->setBackground(Chart::Transparent);

    BarLayer* layer = c->addBarLayer(Chart::Side, 10);
    layer->addDataSet(DoubleArray(year1, 5), 0xee7733, "2025");
    // Shapes go by data group: the second group's bars are cylinders.
    layer->addDataGroup();
    layer->addDataSet(DoubleArray(year2, 5), 0x0077bb, "2026");
    layer->setBarShape(Chart::CircleShape, 1);
    layer->setBarGap(0.3, 0.15);
    layer->setDataLabelStyle("", 8);
    layer->setMinLabelSize(1000);

    c->xAxis()->setLabels(StringArray(regions, 5));
    c->yAxis()->setTitle("Sales");

    c->makeChart("bar_3d_chart.png");
    c->makeChart("bar_3d_chart.svg");
    c->makeChart("bar_3d_chart.pdf");
    c->destroy();
    return 0;
}

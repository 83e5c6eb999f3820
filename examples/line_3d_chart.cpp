// Lines as 3D ribbons: three series, each on its own ribbon behind the one before.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    double a[] = {30, 45, 38, 52, 61, 58, 70, 66};
    double b[] = {22, 28, 35, 31, 40, 47, 44, 53};
    double c3[] = {10, 16, 14, 22, 25, 30, 34, 31};
    const char* years[] = {"2017", "2018", "2019", "2020", "2021", "2022", "2023", "2024"};

    XYChart* c = XYChart::create(600, 380);
    c->addTitle("Subscribers by plan (thousands)", "bold", 12);
    c->setPlotArea(60, 70, 460, 250, 0xffffff, -1, Chart::Transparent, 0xdddddd);
    c->addLegend(60, 30, false, "", 9)->setBackground(Chart::Transparent);
    LineLayer* layer = c->addLineLayer(Chart::Overlay, 15);
    layer->addDataSet(DoubleArray(a, 8), 0xe74c3c, "Premium");
    layer->addDataSet(DoubleArray(b, 8), 0xf39c12, "Standard");
    layer->addDataSet(DoubleArray(c3, 8), 0x27ae60, "Basic");
    c->xAxis()->setLabels(StringArray(years, 8));
    c->makeChart("line_3d_chart.png");
    c->makeChart("line_3d_chart.svg");
    c->makeChart("line_3d_chart.pdf");
    c->destroy();
    return 0;
}

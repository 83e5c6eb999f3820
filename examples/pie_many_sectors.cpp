// Two large sectors and many small ones: crowded labels move apart, clear of the pie.
#include <plotvane/plotvane.h>

#include <string>
#include <vector>

using namespace plotvane;

int main() {
    std::vector<double> values = {140, 95};
    for (int i = 0; i < 20; ++i) values.push_back(1 + i % 4);
    std::vector<std::string> names = {"Steel", "Timber"};
    for (int i = 2; i < static_cast<int>(values.size()); ++i) names.push_back("Part " + std::to_string(i));
    std::vector<const char*> labels;
    for (const std::string& n : names) labels.push_back(n.c_str());

    PieChart* c = PieChart::create(560, 360);
    c->setPieSize(280, 190, 110);
    c->setStartAngle(20);
    c->setData(DoubleArray(values.data(), static_cast<int>(values.size())),
               StringArray(labels.data(), static_cast<int>(labels.size())));
    c->setLabelFormat("{label} {percent|1}%");
    c->setJoinLine(Chart::LineColor);
    c->setSectorStyle(Chart::FlatShading, 0xffffff);

    c->makeChart("pie_many_sectors.png");
    c->makeChart("pie_many_sectors.svg");
    c->makeChart("pie_many_sectors.pdf");
    c->destroy();
    return 0;
}

// A right-to-left chart: Arabic and Hebrew titles, axis labels and legend entries, with numbers and
// brackets inside the right-to-left text.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double rainfall[] = {61, 54, 32, 12, 3, 0.5};
    const double visitors[] = {22, 28, 35, 41, 38, 30};
    // January to June, in Arabic.
    const char* months[] = {"\xd9\x8a\xd9\x86\xd8\xa7\xd9\x8a\xd8\xb1", "\xd9\x81\xd8\xa8\xd8\xb1\xd8\xa7\xd9\x8a\xd8\xb1",
                            "\xd9\x85\xd8\xa7\xd8\xb1\xd8\xb3", "\xd8\xa3\xd8\xa8\xd8\xb1\xd9\x8a\xd9\x84",
                            "\xd9\x85\xd8\xa7\xd9\x8a\xd9\x88", "\xd9\x8a\xd9\x88\xd9\x86\xd9\x8a\xd9\x88"};

    XYChart* c = XYChart::create(600, 400);
    // "Rainfall and visitors (2024)"
    c->addTitle("\xd8\xa7\xd9\x84\xd8\xa3\xd9\x85\xd8\xb7\xd8\xa7\xd8\xb1 \xd9\x88\xd8\xa7\xd9\x84\xd8\xb2\xd9\x88\xd8\xa7\xd8\xb1 (2024)",
                "DejaVuSans-Bold.ttf", 15);
    // "Annual report" in Hebrew, under the title.
    c->addTitle(Chart::Bottom, "\xd7\x93\xd7\x95\xd7\x97 \xd7\xa9\xd7\xa0\xd7\xaa\xd7\x99 [\xd7\x98\xd7\x99\xd7\x95\xd7\x98\xd7\x94]",
                "DejaVuSans.ttf", 10);
    c->setPlotArea(70, 60, 460, 270, 0xf8f8f8, -1, Chart::Transparent, 0xdddddd);
    LegendBox* legend = c->addLegend(70, 30, false, "DejaVuSans.ttf", 10);
    legend->setBackground(Chart::Transparent);

    // "Rain (mm)" and "Visitors (thousands)".
    c->addBarLayer(DoubleArray(rainfall, 6), 0x3377cc, "\xd8\xa7\xd9\x84\xd9\x85\xd8\xb7\xd8\xb1 (mm)");
    LineLayer* line = c->addLineLayer(DoubleArray(visitors, 6), 0xcc5533,
                                      "\xd7\x9e\xd7\x91\xd7\xa7\xd7\xa8\xd7\x99\xd7\x9d (\xd7\x90\xd7\x9c\xd7\xa4\xd7\x99\xd7\x9d)");
    line->setLineWidth(2);
    line->setUseYAxis2();

    c->xAxis()->setLabels(StringArray(months, 6));
    c->xAxis()->setLabelStyle("DejaVuSans.ttf", 10);
    c->yAxis()->setTitle("\xd9\x85\xd9\x84\xd9\x85", "DejaVuSans.ttf", 10);
    c->yAxis2()->setTitle("\xd7\x90\xd7\x9c\xd7\xa4\xd7\x99\xd7\x9d", "DejaVuSans.ttf", 10);

    c->makeChart("rtl_chart.png");
    c->makeChart("rtl_chart.svg");
    c->makeChart("rtl_chart.pdf");
    c->destroy();
    return 0;
}

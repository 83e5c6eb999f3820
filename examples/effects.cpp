// Lighting and border effects: glass, soft-lit, flat-bordered and cylinder bars side by side, a
// 3D line lit as a tube, and text boxes wearing the same effects.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const double heights[] = {56, 72, 64, 81};
    const double trend[] = {40, 55, 62, 74};
    const char* looks[] = {"Glass", "Soft lighting", "Flat border", "Cylinder"};

    XYChart* c = XYChart::create(720, 460, 0xf4f6fa, 0x888888, Chart::glassEffect(Chart::ReducedGlare));
    c->setRoundedFrame();
    c->addTitle("Lighting effects", "bold", 14);
    c->setPlotArea(70, 60, 600, 270, 0xffffff, -1, Chart::Transparent, 0xdddddd);
    c->xAxis()->setLabels(StringArray(looks, 4));

    // The effect belongs to a layer, so each look is a layer with one bar in its own slot.
    const int effects[] = {Chart::glassEffect(), Chart::softLighting(), Chart::flatBorder(3), Chart::cylinderEffect()};
    const int colors[] = {0x3366cc, 0x66aa33, 0xee9922, 0xcc3366};
    for (int k = 0; k < 4; ++k) {
        double values[4] = {Chart::NoValue, Chart::NoValue, Chart::NoValue, Chart::NoValue};
        values[k] = heights[k];
        BarLayer* layer = c->addBarLayer(DoubleArray(values, 4), colors[k], looks[k]);
        layer->setBorderColor(0x333333, effects[k]);
        layer->setRoundedCorners(k == 0 ? 8 : 0);
    }

    LineLayer* line = c->addLineLayer(DoubleArray(trend, 4), 0x8844cc, "Trend (tube)");
    line->set3D(10);
    line->setBorderColor(Chart::Transparent, Chart::cylinderEffect());

    LegendBox* legend = c->addLegend(70, 380, false, "", 9);
    legend->setBackground(0xffffff, 0x999999, Chart::softLighting(Chart::Top, 2));
    legend->setKeyBorder(Chart::Transparent, Chart::glassEffect(Chart::NormalGlare, Chart::Top, 1));

    TextBox* note = c->addText(470, 425, "Glass box", "bold", 10, 0xffffff);
    note->setBackground(0x3366cc, Chart::Transparent, Chart::glassEffect());
    note->setRoundedCorners(8);
    TextBox* flat = c->addText(590, 425, "Cylinder", "bold", 10, 0xffffff);
    flat->setBackground(0xcc3366, Chart::Transparent, Chart::cylinderEffect(Chart::DirectionHorizontal));

    c->makeChart("effects.png");
    c->makeChart("effects.svg");
    c->makeChart("effects.pdf");
    c->destroy();
    return 0;
}

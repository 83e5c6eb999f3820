// Chart and plot-area dressing: a rounded frame with a soft drop shadow, a title on its own
// band, alternating plot-area stripes; then a picture made on a DrawArea used as the wallpaper of
// a second chart, and a metal-coloured background with a thick frame for a third.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    double rain[] = {78, 62, 55, 48, 52, 41, 38, 45, 60, 83, 92, 88};
    const char* months[] = {"J", "F", "M", "A", "M", "J", "J", "A", "S", "O", "N", "D"};

    XYChart* c = XYChart::create(600, 380, 0xfdfefe, 0x566573);
    c->setRoundedFrame(0xffffff, 18);
    c->setDropShadow();
    c->addTitle("Rainfall, millimetres", "bold", 13, 0xffffff)->setBackground(0x2e4053);
    c->setPlotArea(60, 60, 500, 260)->setAltBgColor(true, 0xf2f3f4, 0xffffff);
    c->addBarLayer(DoubleArray(rain, 12), 0x5dade2)->setBorderColor(0x2874a6);
    c->xAxis()->setLabels(StringArray(months, 12));
    c->makeChart("rounded_frame.png");
    c->makeChart("rounded_frame.svg");
    c->makeChart("rounded_frame.pdf");
    c->destroy();

    // The wallpaper is an ordinary picture file; here we paint one first.
    DrawArea* tile = DrawArea::create();
    tile->setSize(40, 40, 0xeaf2f8);
    tile->line(0, 40, 40, 0, 0xd4e6f1, 3);
    tile->outPNG("wallpaper_tile.png");
    tile->destroy();

    XYChart* w = XYChart::create(600, 300);
    w->setWallpaper("wallpaper_tile.png");
    w->addTitle("A tiled wallpaper behind a transparent plot area", "bold", 12);
    w->setPlotArea(60, 50, 500, 200, Chart::Transparent, -1, 0x85929e);
    w->addLineLayer(DoubleArray(rain, 12), 0x1b4f72)->setLineWidth(3);
    w->xAxis()->setLabels(StringArray(months, 12));
    w->makeChart("wallpaper.png");
    w->makeChart("wallpaper.svg");
    w->makeChart("wallpaper.pdf");
    w->destroy();

    XYChart* m = XYChart::create(600, 300, Chart::silverColor());
    m->setThickFrame(8, 0x7b7d7d, 0x424949, 0xf8f9f9);
    m->addTitle("Silver background, thick frame", "bold", 12);
    m->setPlotArea(60, 50, 500, 200, 0xffffff, -1, 0x888888, 0xdddddd);
    m->addBarLayer(DoubleArray(rain, 12), Chart::goldColor());
    m->xAxis()->setLabels(StringArray(months, 12));
    m->makeChart("metal_background.png");
    m->makeChart("metal_background.svg");
    m->makeChart("metal_background.pdf");
    m->destroy();
    return 0;
}

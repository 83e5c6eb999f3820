// Drawing directly on a DrawArea: lines, polygons, sectors and rings, gradients, patterns, dash
// lines, metal colours, a shaded triangle and a symbol merged several times.
#include <plotvane/plotvane.h>

#include <cmath>
#include <cstdio>

using namespace plotvane;

int main() {
    DrawArea* d = DrawArea::create();
    d->setSize(800, 600, 0xf4f4f4);

    // Lines of several widths, one of them dashed, and a zig-zag polyline.
    for (int w = 1; w <= 6; ++w) d->line(20, 20 + 14 * w, 260, 20 + 14 * w, 0x203060, w);
    d->line(20, 120, 260, 120, d->dashLineColor(0xcc0000, Chart::DashLine), 2);
    d->line(20, 130, 260, 130, d->dashLineColor(0x008800, Chart::DotDashLine), 2);
    for (int k = 0; k < 12; ++k) d->lineTo(20 + 20 * k, 150 + (k % 2) * 20, 40 + 20 * k, 150 + ((k + 1) % 2) * 20, 0x6a3d9a, 2);
    d->initLineTo();

    // A polygon and a star filled with gradients.
    int px[] = {300, 380, 360, 320}, py[] = {30, 50, 150, 130};
    d->polygon(px, py, 4, 0x000000, d->linearGradientColor(300, 30, 380, 150, 0xffd700, 0xff4500));
    double sx[10], sy[10];
    for (int k = 0; k < 10; ++k) {
        double r = k % 2 ? 25 : 60, a = k * 36 * 3.14159265358979 / 180;
        sx[k] = 480 + r * std::sin(a);
        sy[k] = 95 - r * std::cos(a);
    }
    int stops[] = {0, 0xffffff, 128, 0x3399ff, 256, 0x003366};
    d->polygon(DoubleArray(sx, 10), DoubleArray(sy, 10), 0x003366, d->radialGradientColor(480, 95, 60, 60, IntArray(stops, 6)));

    // Sectors of a pie, a ring and a ring sector.
    const int colors[] = {0xe41a1c, 0x377eb8, 0x4daf4a, 0x984ea3, 0xff7f00};
    const double shares[] = {90, 60, 110, 40, 60};
    double a = 0;
    for (int k = 0; k < 5; ++k) {
        d->sector(130, 320, 90, 90, a, a + shares[k], 0xffffff, colors[k]);
        a += shares[k];
    }
    d->ring(330, 320, 80, 80, 45, 45, 0x333333, d->angleGradientColor(330, 320, 0, 360, 1, 1, IntArray(stops, 6)));
    d->ringSector(530, 320, 90, 70, 40, 30, 200, 340, 0x000000, 0x66c2a5);

    // Metal colours, plain and brushed, and a patterned box.
    d->rect(640, 30, 780, 80, 0x555555, Chart::goldColor());
    d->rect(640, 90, 780, 140, 0x555555, Chart::brushedSilverColor(2, 90));
    d->roundedRect(640, 150, 780, 200, 12, 12, 12, 12, 0x333333, Chart::metalColor(0x4682b4, 0));
    int checker[] = {0xdddddd, 0x999999, 0x999999, 0xdddddd};
    d->rect(640, 230, 780, 400, 0x000000, d->patternColor(IntArray(checker, 4), 2));

    // A shaded triangle, brighter at one corner.
    d->gouraudShading(60, 560, 0.4, 260, 560, 1.0, 160, 440, 1.8, 0x2266aa);
    d->commitAllSuperPixels();

    // A small symbol merged along a line.
    DrawArea* symbol = DrawArea::create();
    symbol->setSize(24, 24, Chart::Transparent);
    symbol->circle(12, 12, 10, 10, 0x000000, 0xffcc00);
    symbol->line(6, 12, 18, 12, 0x000000, 2);
    for (int k = 0; k < 8; ++k) d->merge(symbol, 320 + 56 * k, 500, Chart::Center, k * 25);
    symbol->destroy();

    // The same drawing in every form; the suffix picks the writer.
    bool ok = true;
    for (const char* name : {"drawing_demo.png", "drawing_demo.svg", "drawing_demo.pdf", "drawing_demo.agf"}) {
        if (!d->out(name)) {
            std::fprintf(stderr, "drawing_demo: cannot write %s\n", name);
            ok = false;
        }
    }
    d->destroy();
    return ok ? 0 : 1;
}

// One small chart in a fresh process: the W3 dashboard's amount of drawing (600 x 400, 3 series x 12
// months of bars, a line series of width 2, title, legend, axis titles, month and value labels,
// about 40 bars and 60 texts in the default fonts) drawn on a DrawArea through the public
// interface and written as a PNG, then exit. one_chart_process.sh times whole runs of it, so the
// figure includes loading the library, finding and opening the fonts and encoding.
//
//   bench_one_chart [file.png]   (default one_chart.png in the current folder)
#include <plotvane/plotvane.h>

#include <cstdio>

using namespace plotvane;

int main(int argc, char** argv) {
    const char* out = argc > 1 ? argv[1] : "one_chart.png";
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const double kData[3][12] = {{56, 62, 48, 71, 80, 75, 90, 86, 70, 64, 58, 60},
                                        {40, 45, 52, 49, 60, 68, 72, 70, 61, 55, 47, 42},
                                        {30, 28, 35, 41, 44, 50, 58, 55, 47, 40, 36, 31}};
    static const double kLine[12] = {48, 50, 46, 56, 63, 66, 75, 72, 62, 55, 49, 46};
    static const int kColors[4] = {0x5588cc, 0xee7733, 0x66aa55, 0xcc2244};
    const int left = 60, top = 60, right = 580, bottom = 350;

    DrawArea* d = DrawArea::create();
    d->setSize(600, 400, 0xffffff);
    d->text("Monthly Revenue by Region", "bold", 0, 15, 15, 0, false, 300, 8, 0x000000, Chart::Top);
    d->rect(left, top, right, bottom, 0x888888, 0xf8f8f8);

    // Fixed scale 0-110: grid lines with their labels.
    char label[32];
    for (int v = 0; v <= 110; v += 10) {
        int y = bottom - (bottom - top) * v / 110;
        d->hline(left + 1, right - 1, y, 0xdddddd);
        std::snprintf(label, sizeof label, "%d", v);
        d->text(label, "", 0, 8, 8, 0, false, left - 5, y, 0x000000, Chart::Right);
    }

    // Bars side by side, month labels under each group.
    const double group = (right - left) / 12.0;
    for (int m = 0; m < 12; ++m) {
        double x0 = left + group * m + group * 0.15;
        for (int s = 0; s < 3; ++s) {
            int bx = static_cast<int>(x0 + s * group * 0.23);
            int by = bottom - static_cast<int>((bottom - top) * kData[s][m] / 110);
            d->rect(bx, by, bx + static_cast<int>(group * 0.23) - 1, bottom - 1, 0x444444, kColors[s]);
        }
        d->text(kMonths[m], "", 0, 8, 8, 0, false, static_cast<int>(left + group * (m + 0.5)), bottom + 4, 0x000000,
                Chart::Top);
    }

    // The line series over the bars.
    for (int m = 0; m < 11; ++m) {
        double x1 = left + group * (m + 0.5), x2 = left + group * (m + 1.5);
        double y1 = bottom - (bottom - top) * kLine[m] / 110, y2 = bottom - (bottom - top) * kLine[m + 1] / 110;
        d->lineTo(x1, y1, x2, y2, kColors[3], 2);
    }
    d->initLineTo();

    // Axis titles and the legend.
    d->text("Revenue (USD k)", "bold", 0, 10, 10, 90, false, 8, (top + bottom) / 2, 0x000000, Chart::Left);
    d->text("Month", "bold", 0, 10, 10, 0, false, (left + right) / 2, 378, 0x000000, Chart::Top);
    static const char* const kNames[4] = {"North", "South", "West", "Average"};
    for (int s = 0; s < 4; ++s) {
        int x = 140 + 110 * s;
        d->rect(x, 36, x + 9, 45, 0x444444, kColors[s]);
        d->text(kNames[s], "", 0, 9, 9, 0, false, x + 14, 34, 0x000000, Chart::TopLeft);
    }

    bool ok = d->outPNG(out);
    d->destroy();
    if (!ok) std::fprintf(stderr, "bench_one_chart: cannot write %s\n", out);
    return ok ? 0 : 1;
}

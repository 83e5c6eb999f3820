// A 1,000,000-point random walk drawn as one anti-aliased polyline of width 1 on 800 x 600, through
// initLineTo/lineTo, beside cairo stroking the same points in the same process. Prints the median
// of several runs of each and their ratio (data generation excluded).
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "draw/drawbmp_p.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 800, kHeight = 600, kPoints = 1000000, kRuns = 5;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    std::vector<double> xs(kPoints), ys(kPoints);
    std::mt19937_64 rng(42);
    std::normal_distribution<double> step(0, 1);
    double y = 0, lo = 0, hi = 0;
    for (int i = 0; i < kPoints; ++i) {
        y += step(rng);
        ys[static_cast<size_t>(i)] = y;
        lo = std::min(lo, y);
        hi = std::max(hi, y);
    }
    for (int i = 0; i < kPoints; ++i) {
        xs[static_cast<size_t>(i)] = 10 + (kWidth - 20.0) * i / (kPoints - 1);
        ys[static_cast<size_t>(i)] = 10 + (kHeight - 20.0) * (ys[static_cast<size_t>(i)] - lo) / (hi - lo);
    }

    std::vector<double> ours, theirs;
    unsigned long checksum = 0;
    for (int run = 0; run < kRuns; ++run) {
        plotvane::DrawBMP* canvas = plotvane::DrawBMP::create();
        canvas->setSize(kWidth, kHeight, 0x00ffffff);
        auto start = Clock::now();
        canvas->initLineTo(xs[0], ys[0]);
        for (int i = 1; i < kPoints; ++i)
            canvas->lineTo(xs[static_cast<size_t>(i)], ys[static_cast<size_t>(i)], 0x000080, 1);
        canvas->initLineTo();
        ours.push_back(secondsSince(start));
        checksum += canvas->getPixels()[300 * kWidth + 400];
        delete canvas;

        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        start = Clock::now();
        cairo_set_source_rgb(cr, 0, 0, 0.5);
        cairo_set_line_width(cr, 1);
        cairo_move_to(cr, xs[0], ys[0]);
        for (int i = 1; i < kPoints; ++i)
            cairo_line_to(cr, xs[static_cast<size_t>(i)], ys[static_cast<size_t>(i)]);
        cairo_stroke(cr);
        cairo_surface_flush(surface);
        theirs.push_back(secondsSince(start));
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    const double a = median(ours), b = median(theirs);
    std::printf("plotvane lineTo, %d points, 800x600, width 1, anti-aliased: %.4f s (median of %d)\n",
                kPoints, a, kRuns);
    std::printf("cairo stroke of the same points: %.4f s (median of %d)\n", b, kRuns);
    std::printf("speed-up over cairo: %.1fx   (checksum %lu)\n", b / a, checksum);
    return 0;
}

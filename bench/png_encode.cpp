// PNG encoding alone, on two pictures: one W3 dashboard as rendered (600 x 400) and a chart-like
// 800 x 600 picture drawn here. writePNG at default settings against libpng alone on the same
// rows (filtering off, same colour form; for the palette form libpng gets the indices built
// beforehand) at zlib's default level and at level 1. Then the same in true colour (palette mode
// 2). Prints medians of alternating runs, the medians of the per-run ratios, and the file sizes.
// writePNG takes over the work of the picture its thread encoded just before when they share
// rows; a one-pixel picture goes between the timed runs so that each starts from nothing.
// Optional arguments: the number of runs, and the one form to run (0 palette, 1 true colour).
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <vector>

#include "dashboard.h"
#include "draw/drawbmp_p.h"
#include "draw/imageio_p.h"

using namespace plotvane;

namespace {

int runs = 31;

uint32_t blend(uint32_t a, uint32_t b, double t) {
    auto channel = [&](int shift) {
        double v = ((a >> shift) & 0xff) * (1 - t) + ((b >> shift) & 0xff) * t;
        return static_cast<uint32_t>(std::lround(v)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

// White background, grey plot area with grid lines, three bar series and an anti-aliased line.
std::vector<uint32_t> chartPicture(int width, int height) {
    std::vector<uint32_t> p(static_cast<size_t>(width) * height, 0xffffff);
    for (int y = 50; y < 550; ++y)
        for (int x = 70; x < 770; ++x) p[y * width + x] = (y % 50 == 0 || x % 70 == 0) ? 0xdddddd : 0xf4f4f4;
    const uint32_t bars[3] = {0xff3333, 0x33ff33, 0x6666ff};
    for (int month = 0; month < 12; ++month)
        for (int s = 0; s < 3; ++s) {
            int x0 = 80 + month * 57 + s * 16, barHeight = 60 + (month * 37 + s * 91) % 400;
            for (int y = 550 - barHeight; y < 550; ++y)
                for (int x = x0; x < x0 + 14; ++x) p[y * width + x] = bars[s];
        }
    for (int x = 70; x < 770; ++x) {  // a sine line 2 px wide, coverage-blended into what is below
        double centre = 300 + 150 * std::sin(x / 60.0);
        for (int y = static_cast<int>(centre) - 3; y <= static_cast<int>(centre) + 3; ++y) {
            // Coverage in 16 steps, as an anti-aliasing rasteriser produces it.
            double coverage = std::round(std::clamp(1.5 - std::fabs(y - centre), 0.0, 1.0) * 16) / 16;
            if (coverage > 0) p[y * width + x] = blend(p[y * width + x], 0x000000, coverage);
        }
    }
    return p;
}

std::vector<uint32_t> dashboardPicture(int& width, int& height) {
    XYChart* c = buildDashboard();
    RasterImage image = c->makeChart()->getCanvas()->image();
    width = image.width;
    height = image.height;
    std::vector<uint32_t> pixels(image.pixels, image.pixels + static_cast<size_t>(width) * height);
    c->destroy();
    return pixels;
}

void toStream(png_structp png, png_bytep data, size_t n) {
    static_cast<vek::ostrstream*>(png_get_io_ptr(png))->write(reinterpret_cast<const char*>(data), static_cast<int>(n));
}

// libpng alone: rows as given, colour type and palette given, no filtering.
bool libpngAlone(vek::ostrstream& out, int width, int height, png_bytep* rows, int colorType,
                 const png_color* palette, int paletteSize, int level, bool fromARGB) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, toStream, nullptr);
    png_set_IHDR(png, info, width, height, 8, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (paletteSize) png_set_PLTE(png, info, palette, paletteSize);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    if (level >= 0) png_set_compression_level(png, level);
    png_write_info(png, info);
    if (fromARGB) {
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// CPU time of this thread: on a shared machine, time spent waiting for a core is not the encoder's.
double threadMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Timing {
    double oursMs, defaultMs, level1Ms, toDefault, toLevel1;
};

// Runs the three encoders in turn (the machine is shared: all see the same load); medians of
// each and of the per-turn ratios of ours to the other two.
template <class Ours, class Forget, class Default, class Level1>
Timing medians(Ours&& ours, Forget&& forget, Default&& atDefault, Level1&& atLevel1) {
    std::vector<double> a, b, c, ab, ac;
    auto time = [](auto&& run) {
        double start = threadMs();
        run();
        return threadMs() - start;
    };
    for (int i = 0; i < runs; ++i) {
        forget();
        a.push_back(time(ours));
        b.push_back(time(atDefault));
        c.push_back(time(atLevel1));
        ab.push_back(a.back() / b.back());
        ac.push_back(a.back() / c.back());
    }
    return Timing{median(a), median(b), median(c), median(ab), median(ac)};
}

int colorTypeOf(const vek::ostrstream& out) { return static_cast<unsigned char>(out.data()[25]); }

void benchPicture(const char* name, const std::vector<uint32_t>& pixels, int width, int height, int onlyForm) {
    RasterImage image{pixels.data(), width, height};
    // Numbered in order of first appearance, as writePNG does, so zlib sees the same bytes.
    std::vector<png_color> palette;
    std::vector<uint8_t> indices(pixels.size());
    std::map<uint32_t, int> indexOf;
    for (size_t i = 0; i < pixels.size(); ++i) {
        uint32_t c = pixels[i] & 0xffffff;
        auto found = indexOf.emplace(c, static_cast<int>(palette.size()));
        if (found.second) palette.push_back(png_color{png_byte(c >> 16), png_byte(c >> 8), png_byte(c)});
        indices[i] = static_cast<uint8_t>(found.first->second);
    }
    std::vector<png_bytep> indexRows(height), argbRows(height);
    for (int y = 0; y < height; ++y) {
        indexRows[y] = indices.data() + static_cast<size_t>(y) * width;
        argbRows[y] = reinterpret_cast<png_bytep>(const_cast<uint32_t*>(pixels.data()) + static_cast<size_t>(y) * width);
    }
    std::printf("%s, %d x %d, %zu colours, median of %d runs\n", name, width, height, palette.size(), runs);
    std::printf("  %-12s %9s %9s %9s %8s %8s %8s %8s %8s %6s\n", "form", "writePNG", "libpng", "level 1", "ratio",
                "ratio", "bytes", "libpng", "level 1", "type");
    for (int form = 0; form < 2; ++form) {
        if (onlyForm >= 0 && form != onlyForm) continue;
        const bool indexed = form == 0 && palette.size() <= 256;
        RasterSettings settings;
        settings.paletteMode = form == 0 ? 0 : 2;
        vek::ostrstream ours, atDefault, atLevel1;
        auto theirs = [&](vek::ostrstream& out, int level) {
            out.reset();
            libpngAlone(out, width, height, indexed ? indexRows.data() : argbRows.data(),
                        indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, indexed ? palette.data() : nullptr,
                        indexed ? static_cast<int>(palette.size()) : 0, level, !indexed);
        };
        const uint32_t dot = 0;
        vek::ostrstream forget;
        Timing t = medians(
            [&] {
                ours.reset();
                writePNG(ours, image, settings);
            },
            [&] { writePNG(forget, RasterImage{&dot, 1, 1}, settings); },
            [&] { theirs(atDefault, -1); }, [&] { theirs(atLevel1, 1); });
        std::printf("  %-12s %7.2fms %7.2fms %7.2fms %7.2fx %7.2fx %8d %8d %8d %6d\n",
                    form == 0 ? "default" : "true colour", t.oursMs, t.defaultMs, t.level1Ms, t.toDefault, t.toLevel1,
                    ours.tell(), atDefault.tell(), atLevel1.tell(), colorTypeOf(ours));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) runs = std::max(1, std::atoi(argv[1]));
    int onlyForm = argc > 2 ? std::atoi(argv[2]) : -1;
    int width = 0, height = 0;
    std::vector<uint32_t> dashboard = dashboardPicture(width, height);
    benchPicture("W3 dashboard", dashboard, width, height, onlyForm);
    benchPicture("Chart-like picture", chartPicture(800, 600), 800, 600, onlyForm);
    return 0;
}

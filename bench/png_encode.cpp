// PNG encoding of a chart-like 800 x 600 picture: writePNG against libpng alone on the same pixels
// and settings (filtering off, same zlib level, same colour form). For the palette form libpng
// alone is handed indices built beforehand, so the ratio shows what finding the palette costs.
// Also shows that true colour is written without alpha when no pixel needs it, and the level-1
// true-colour mode (palette mode 129). Prints medians of alternating runs and of their ratios.
// Optional arguments: the number of runs, and the one form to run (0, 1 or 2). Under callgrind, one
// run of one form makes the inclusive costs of writePNG and libpngAlone comparable counts.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <vector>

#include "draw/imageio_p.h"

using namespace plotvane;

namespace {

const int kWidth = 800, kHeight = 600;
int runs = 31;

uint32_t blend(uint32_t a, uint32_t b, double t) {
    auto channel = [&](int shift) {
        double v = ((a >> shift) & 0xff) * (1 - t) + ((b >> shift) & 0xff) * t;
        return static_cast<uint32_t>(std::lround(v)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

// White background, grey plot area with grid lines, three bar series and an anti-aliased line.
std::vector<uint32_t> chartPicture() {
    std::vector<uint32_t> p(static_cast<size_t>(kWidth) * kHeight, 0xffffff);
    for (int y = 50; y < 550; ++y)
        for (int x = 70; x < 770; ++x) p[y * kWidth + x] = (y % 50 == 0 || x % 70 == 0) ? 0xdddddd : 0xf4f4f4;
    const uint32_t bars[3] = {0xff3333, 0x33ff33, 0x6666ff};
    for (int month = 0; month < 12; ++month)
        for (int s = 0; s < 3; ++s) {
            int x0 = 80 + month * 57 + s * 16, height = 60 + (month * 37 + s * 91) % 400;
            for (int y = 550 - height; y < 550; ++y)
                for (int x = x0; x < x0 + 14; ++x) p[y * kWidth + x] = bars[s];
        }
    for (int x = 70; x < 770; ++x) {  // a sine line 2 px wide, coverage-blended into what is below
        double centre = 300 + 150 * std::sin(x / 60.0);
        for (int y = static_cast<int>(centre) - 3; y <= static_cast<int>(centre) + 3; ++y) {
            // Coverage in 16 steps, as an anti-aliasing rasteriser produces it.
            double coverage = std::round(std::clamp(1.5 - std::fabs(y - centre), 0.0, 1.0) * 16) / 16;
            if (coverage > 0) p[y * kWidth + x] = blend(p[y * kWidth + x], 0x000000, coverage);
        }
    }
    return p;
}

void toStream(png_structp png, png_bytep data, size_t n) {
    static_cast<vek::ostrstream*>(png_get_io_ptr(png))->write(reinterpret_cast<const char*>(data), static_cast<int>(n));
}

// libpng alone: rows as given, colour type and palette given, no filtering.
bool libpngAlone(vek::ostrstream& out, png_bytep* rows, int colorType, int bitDepth, const png_color* palette,
                 int paletteSize, int level, bool fromARGB) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, toStream, nullptr);
    png_set_IHDR(png, info, kWidth, kHeight, bitDepth, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
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

// Runs the two encoders alternately (the machine is shared: both see the same load) and returns
// the median time of each and the median of the per-pair ratios.
template <class A, class B>
void medians(A&& first, B&& second, double& firstMs, double& secondMs, double& ratio) {
    std::vector<double> a, b, r;
    auto time = [](auto&& run) {
        double start = threadMs();
        run();
        return threadMs() - start;
    };
    for (int i = 0; i < runs; ++i) {
        a.push_back(time(first));
        b.push_back(time(second));
        r.push_back(a.back() / b.back());
    }
    firstMs = median(a);
    secondMs = median(b);
    ratio = median(r);
}

int colorTypeOf(const vek::ostrstream& out) { return static_cast<unsigned char>(out.data()[25]); }

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) runs = std::max(1, std::atoi(argv[1]));
    int onlyForm = argc > 2 ? std::atoi(argv[2]) : -1;
    std::vector<uint32_t> pixels = chartPicture();
    RasterImage image{pixels.data(), kWidth, kHeight};

    // Palette form, chosen automatically. libpng alone gets the same palette and indices.
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
    std::printf("800x600 chart-like picture, %zu colours, median of %d runs\n", palette.size(), runs);
    std::vector<png_bytep> indexRows(kHeight), argbRows(kHeight);
    for (int y = 0; y < kHeight; ++y) {
        indexRows[y] = indices.data() + static_cast<size_t>(y) * kWidth;
        argbRows[y] = reinterpret_cast<png_bytep>(pixels.data() + static_cast<size_t>(y) * kWidth);
    }

    struct Row {
        const char* name;
        RasterSettings settings;
        int libpngType, libpngLevel;
        bool palette;
    };
    RasterSettings automatic, trueColor, level1;
    trueColor.paletteMode = 2;
    level1.paletteMode = 129;
    const Row rows[] = {
        {"default (palette chosen)", automatic, PNG_COLOR_TYPE_PALETTE, -1, true},
        {"true colour (mode 2)", trueColor, PNG_COLOR_TYPE_RGB, -1, false},
        {"true colour level 1 (mode 129)", level1, PNG_COLOR_TYPE_RGB, 1, false},
    };
    std::printf("%-32s %10s %10s %8s %10s %10s %10s\n", "form", "writePNG", "libpng", "ratio", "bytes", "libpng", "colortype");
    for (int form = 0; form < 3; ++form) {
        if (onlyForm >= 0 && form != onlyForm) continue;
        const Row& row = rows[form];
        vek::ostrstream ours, theirs;
        double oursMs = 0, theirsMs = 0, ratio = 0;
        medians(
            [&] {
                ours.reset();
                writePNG(ours, image, row.settings);
            },
            [&] {
                theirs.reset();
                libpngAlone(theirs, row.palette ? indexRows.data() : argbRows.data(), row.libpngType, 8,
                            row.palette ? palette.data() : nullptr, row.palette ? static_cast<int>(palette.size()) : 0,
                            row.libpngLevel, !row.palette);
            },
            oursMs, theirsMs, ratio);
        std::printf("%-32s %8.2fms %8.2fms %7.2fx %10d %10d %10d\n", row.name, oursMs, theirsMs, ratio, ours.tell(),
                    theirs.tell(), colorTypeOf(ours));
    }
    return 0;
}

// Colour reduction by popularity: colours are binned by their top four bits of red, green and
// blue, the most populated bins (their mean colours) become the palette, and every pixel takes
// the nearest palette colour, looked up once per bin. Dithering adds a 4 x 4 ordered threshold
// before binning, so flat gradients break into patterns instead of bands.
#include "draw/quantize_p.h"

#include <algorithm>
#include <vector>

#include "draw/canvas_p.h"

namespace plotvane {

namespace {

constexpr int kBayer[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

int binOf(uint32_t c) {
    return static_cast<int>(((c >> 12) & 0xf00) | ((c >> 8) & 0xf0) | ((c >> 4) & 0xf));
}

uint32_t dithered(uint32_t c, int x, int y) {
    const int d = kBayer[(y & 3) * 4 + (x & 3)] - 8;
    auto ch = [&](int shift) {
        return static_cast<uint32_t>(std::clamp(static_cast<int>((c >> shift) & 255) + d, 0, 255)) << shift;
    };
    return (c & 0xff000000u) | ch(16) | ch(8) | ch(0);
}

}  // namespace

void reduceColors(Canvas& cv, int colorCount, bool dither) {
    colorCount = std::clamp(colorCount, 2, 256);
    cv.commitSuperPixels();
    const int w = cv.width(), h = cv.height();
    uint32_t* px = cv.pixels();
    std::vector<long long> count(4096), sum(4096 * 3);
    auto source = [&](int x, int y) {
        const uint32_t c = px[cv.index(x, y)];
        return dither ? dithered(c, x, y) : c;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = source(x, y);
            if ((c >> 24) == 255) continue;
            const int b = binOf(c);
            ++count[b];
            sum[b * 3] += (c >> 16) & 255;
            sum[b * 3 + 1] += (c >> 8) & 255;
            sum[b * 3 + 2] += c & 255;
        }
    std::vector<int> bins;
    for (int b = 0; b < 4096; ++b)
        if (count[b]) bins.push_back(b);
    std::sort(bins.begin(), bins.end(),
              [&](int a, int b) { return count[a] != count[b] ? count[a] > count[b] : a < b; });
    bins.resize(std::min<size_t>(bins.size(), static_cast<size_t>(colorCount)));
    std::vector<uint32_t> palette;
    for (int b : bins)
        palette.push_back(static_cast<uint32_t>(
            (sum[b * 3] / count[b]) << 16 | (sum[b * 3 + 1] / count[b]) << 8 | (sum[b * 3 + 2] / count[b])));
    if (palette.empty()) return;
    std::vector<int> nearest(4096, -1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = source(x, y);
            if ((c >> 24) == 255) continue;
            const int b = binOf(c);
            if (nearest[b] < 0) {
                long best = -1;
                for (size_t i = 0; i < palette.size(); ++i) {
                    const long dr = static_cast<long>((c >> 16) & 255) - ((palette[i] >> 16) & 255);
                    const long dg = static_cast<long>((c >> 8) & 255) - ((palette[i] >> 8) & 255);
                    const long db = static_cast<long>(c & 255) - (palette[i] & 255);
                    const long d = dr * dr + dg * dg + db * db;
                    if (best < 0 || d < best) {
                        best = d;
                        nearest[b] = static_cast<int>(i);
                    }
                }
            }
            px[cv.index(x, y)] = (c & 0xff000000u) | palette[static_cast<size_t>(nearest[b])];
        }
}

}  // namespace plotvane

// WBMP (wireless bitmap, type 0): one bit per pixel, white above half brightness. Brightness is
// the plain sum r + g + b (0..765), thresholded at 382, optionally dithered first with the same
// ordered matrix or error diffusion as the colour palettes, so that greys and anti-aliased edges
// survive as patterns.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "draw/dither_p.h"
#include "draw/imageio_p.h"

namespace plotvane {

namespace {

constexpr int kThreshold = 382;
constexpr int kWhite = 765;

// The WBMP multi-byte integer: 7 bits per byte, most significant group first, bit 7 on all but the last.
void putMultiByte(vek::ostream& out, uint32_t v) {
    char groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<char>(v & 0x7f);
        v >>= 7;
    } while (v);
    while (n > 1) out << static_cast<char>(groups[--n] | 0x80);
    out << groups[0];
}

int brightness(uint32_t c) { return static_cast<int>(((c >> 16) & 0xff) + ((c >> 8) & 0xff) + (c & 0xff)); }

}  // namespace

bool writeWMP(vek::ostream& out, const RasterImage& image, const RasterSettings& settings) {
    if (!image.pixels || image.width < 1 || image.height < 1) return false;
    out << '\0' << '\0';
    putMultiByte(out, static_cast<uint32_t>(image.width));
    putMultiByte(out, static_cast<uint32_t>(image.height));

    int method = settings.ditherMethod;
    ErrorDiffusion<1> diffusion(method == 2 ? image.width : 0);
    std::vector<char> row(static_cast<size_t>(image.width + 7) / 8);
    for (int y = 0; y < image.height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        const uint32_t* source = image.pixels + static_cast<size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) {
            int value = brightness(source[x]);
            if (method == 1) value += orderedDitherOffset(x, y, kThreshold);
            if (method == 2) value = std::min(kWhite, std::max(0, value + diffusion.owed(x, 0)));
            bool white = value > kThreshold;
            if (method == 2) {
                int error = white ? value - kWhite : value;
                diffusion.spread(x, &error);
            }
            if (white) row[x >> 3] = static_cast<char>(row[x >> 3] | (0x80 >> (x & 7)));
        }
        if (method == 2) diffusion.nextRow();
        out.write(row.data(), static_cast<int>(row.size()));
    }
    return true;
}

}  // namespace plotvane

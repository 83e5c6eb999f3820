// Finishing touches on rendered glyph bitmaps.
//
// The rasteriser gives plain coverage; what the text engine adds is done here, on bytes, so it works
// the same for outline glyphs and for glyphs from bitmap strikes. Synthetic bold smears every pixel
// one pixel to the right (saturating), which thickens vertical stems the way a heavier weight
// would. Synthetic italic is done on the outline where there is one; for monochrome and strike
// glyphs each row is slid right by a quarter of its distance above the baseline instead. Sub-pixel
// (LCD) bitmaps are first quantised to three levels, which keeps the later colour fringes from
// shimmering between sizes, then low-pass filtered across sub-pixels with a five-tap kernel that
// sums to 288/256: slightly brighter than unity so thin stems keep their weight. The filtered
// bitmap spreads two sub-pixels each way, so it grows by two pixels and starts one pixel further
// left. For grey delivery, the three sub-pixels of a pixel are folded with green weighted double.

#include "text/glyphbitmap_p.h"

#include <algorithm>

namespace plotvane {

void makeHollowBox(GlyphBitmap& b) {
    int w = b.width / b.bytesPerPixel;
    b.bytesPerPixel = 1;
    b.resize(w, b.rows);
    for (int y = 0; y < b.rows; ++y) {
        unsigned char* r = b.row(y);
        if (y == 0 || y == b.rows - 1) {
            std::fill(r, r + w, 255);
        } else if (w > 0) {
            r[0] = 255;
            r[w - 1] = 255;
        }
    }
}

void emboldenBitmap(GlyphBitmap& b) {
    int step = b.bytesPerPixel;
    GlyphBitmap out = b;
    out.resize(b.width + step, b.rows);
    for (int y = 0; y < b.rows; ++y) {
        const unsigned char* src = b.row(y);
        unsigned char* dst = out.row(y);
        for (int x = 0; x < out.width; ++x) {
            int v = (x < b.width ? src[x] : 0) + (x >= step ? src[x - step] : 0);
            dst[x] = static_cast<unsigned char>(std::min(v, 255));
        }
    }
    b = std::move(out);
}

namespace {

// round(v / 4) with halves away from zero, in the fixed-point form the shear matrix implies.
int quarterRounded(int v) { return v >= 0 ? (v * 64 + 128) >> 8 : -((-v * 64 + 128) >> 8); }

}  // namespace

void slantBitmap(GlyphBitmap& b) {
    if (b.rows == 0) return;
    auto shift = [&b](int y) { return quarterRounded(b.bytesPerPixel * (b.top - y)); };
    int maxShift = shift(0), minShift = shift(b.rows - 1);
    GlyphBitmap out = b;
    out.resize(b.width + maxShift - minShift, b.rows);
    for (int y = 0; y < b.rows; ++y) std::copy(b.row(y), b.row(y) + b.width, out.row(y) + shift(y) - minShift);
    out.left = b.left + minShift / b.bytesPerPixel;
    b = std::move(out);
}

void filterLcd(GlyphBitmap& b) {
    static const int kTaps[5] = {16, 80, 96, 80, 16};
    constexpr int kPad = 6;
    GlyphBitmap out = b;
    out.resize(b.width + kPad, b.rows);
    std::vector<int> padded(static_cast<size_t>(b.width + 2 * kPad));
    for (int y = 0; y < b.rows; ++y) {
        std::fill(padded.begin(), padded.end(), 0);
        const unsigned char* src = b.row(y);
        for (int x = 0; x < b.width; ++x) {
            int v = src[x];
            padded[static_cast<size_t>(x + kPad)] = v < 64 ? 0 : v < 192 ? 128 : 255;
        }
        unsigned char* dst = out.row(y);
        for (int x = 0; x < out.width; ++x) {
            int sum = 0;
            for (int k = 0; k < 5; ++k) sum += kTaps[k] * padded[static_cast<size_t>(x + 1 + k)];
            dst[x] = static_cast<unsigned char>(std::min(sum >> 8, 255));
        }
    }
    out.left = b.left - 1;
    b = std::move(out);
}

void reduceLcdToGrey(GlyphBitmap& b) {
    int w = b.width / 3;
    GlyphBitmap out = b;
    out.bytesPerPixel = 1;
    out.resize(w, b.rows);
    for (int y = 0; y < b.rows; ++y) {
        const unsigned char* src = b.row(y);
        unsigned char* dst = out.row(y);
        for (int x = 0; x < w; ++x) dst[x] = static_cast<unsigned char>((src[3 * x] + 2 * src[3 * x + 1] + src[3 * x + 2]) / 4);
    }
    b = std::move(out);
}

}  // namespace plotvane

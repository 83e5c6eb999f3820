#ifndef PLOTVANE_TEXT_GLYPHBITMAP_P_H
#define PLOTVANE_TEXT_GLYPHBITMAP_P_H

#include <cstddef>
#include <vector>

namespace plotvane {

// A glyph's coverage bitmap while it is being finished: rows of bytes, one per pixel, or three
// per pixel (red, green, blue coverage) in the LCD form.
struct GlyphBitmap {
    int width = 0;  // bytes per row
    int rows = 0;
    int bytesPerPixel = 1;
    int left = 0;  // pixels from the pen to the first column
    int top = 0;   // rows above the baseline
    std::vector<unsigned char> data;

    void resize(int w, int h) {
        width = w;
        rows = h;
        data.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    }
    unsigned char* row(int y) { return data.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

// Replaces the bitmap by a one-pixel hollow rectangle of the same size (the missing-glyph box).
void makeHollowBox(GlyphBitmap& b);
// Synthetic bold: one pixel wider, each pixel smeared onto its right neighbour.
void emboldenBitmap(GlyphBitmap& b);
// Synthetic italic for glyphs that had no outline to shear: rows slide right by a quarter of their
// height above the baseline.
void slantBitmap(GlyphBitmap& b);
// LCD bitmaps: quantise and filter each row with the taps 16, 80, 96, 80, 16 (two pixels wider).
void filterLcd(GlyphBitmap& b);
// LCD to grey: each pixel's three values become (r + 2g + b) / 4.
void reduceLcdToGrey(GlyphBitmap& b);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_DRAW_GLYPHBLEND_P_H
#define PLOTVANE_DRAW_GLYPHBLEND_P_H

#include <cstdint>

namespace plotvane {

class Canvas;
class GlyphContainer;
struct Glyph;

// Blends glyph coverage bitmaps onto a canvas through gamma tables.
class GlyphBlender {
public:
    // Glyphs [first, end) of the container, each at its rounded pen position (x0, y0 on the
    // baseline, plus its offsets and dx, dy) moved by its left bearing and up by its top; then,
    // for a turn of 90, 180 or 270, turned that far counter-clockwise about the pixel corner
    // (dx, dy) (DrawBackend::turnedText). Other turns draw nothing.
    void draw(Canvas& canvas, const GlyphContainer& glyphs, int first, int end, int dx, int dy, uint32_t color,
              int turn = 0);
    // The same, pixel by pixel through the general path only: the oracle for the fast path.
    void drawReference(Canvas& canvas, const GlyphContainer& glyphs, int first, int end, int dx, int dy,
                       uint32_t color, int turn = 0);

    // Kind and gamma x 100 of a text anti-alias mode, with the automatic kind replaced by the
    // process default (sub-pixel colour, gamma 1.4) and kind 3 read as 4.
    static void decodeMode(int mode, int& kind, int& gamma);

private:
    struct Placement;
    void run(Canvas& canvas, const GlyphContainer& glyphs, int first, int end, int dx, int dy, uint32_t color,
             int turn, bool fast);
    void blendPlaced(Canvas& canvas, const Placement& p, int kind, uint32_t color, bool fast);
    void blendGeneral(Canvas& canvas, const Placement& p, int kind, uint32_t color);
    void blendGreyLiteral(Canvas& canvas, const Placement& p, int kind, uint32_t color);
    void onePixel(Canvas& canvas, uint32_t& word, int kind, uint32_t color, uint32_t coverage);
    void setGamma(int gamma);
    int gamma_ = 0;
    uint8_t forward_[256] = {};
    uint8_t back_[256] = {};
};

}  // namespace plotvane

#endif

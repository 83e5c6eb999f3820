#ifndef PLOTVANE_DRAW_CANVAS_P_H
#define PLOTVANE_DRAW_CANVAS_P_H

// The pixel store every raster stage writes into: the ARGB buffer, the clip rectangle, the brush
// table and the super-pixel pool. Lines, fillers, text and merges all end in plot() (a literal
// colour blended at one pixel) or pixel() (any colour, brushes evaluated at the pixel).
//
// Brush look-up follows chains of ids at most 20 links deep; a sub drawing also looks in its
// parents' tables. Brushes that need a base colour re-enter colorAt(), so a nesting counter and a
// budget of steps shared by the whole evaluation stop cycles that a chain of bases could form.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/blend_p.h"
#include "draw/brush_p.h"
#include "draw/superpixel_p.h"
#include "foundation/floors_p.h"

namespace plotvane {

class DrawBMP;

struct ClipRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // inclusive
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

class Canvas final : public BrushContext {
public:
    explicit Canvas(const DrawBMP& owner);

    int width() const { return width_; }
    int height() const { return height_; }
    uint32_t* pixels() { return pixels_.data(); }
    const uint32_t* pixels() const { return pixels_.data(); }
    std::vector<uint32_t>& buffer() { return pixels_; }
    size_t index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + x; }
    // Replaces the buffer (width * height words); false, with nothing changed, when it cannot be had.
    bool reset(int width, int height, uint32_t fill);
    void adopt(std::vector<uint32_t>&& pixels, int width, int height);

    ClipRect clip;
    void resetClip() { clip = ClipRect{0, 0, width_ - 1, height_ - 1}; }
    bool antiAlias() const;
    int textMode() const;

    // Brushes.
    Canvas* parent = nullptr;
    bool subDraw = false;
    void setBrush(uint32_t id, BrushPtr brush);
    ColorBrush* findBrush(uint32_t id) const;
    uint32_t colorAt(uint32_t c, int x, int y) override;
    const Box& shapeBox() const override { return shapeBox_; }
    void setShapeBox(const Box& box) { shapeBox_ = box; }
    static bool isCode(uint32_t c) { return c >= kFirstCode; }

    // Blends a literal colour into a stored word.
    void blendInto(uint32_t& word, uint32_t c) {
        if (SuperPixelPool::isReference(word))
            superPixels.blendOver(word, c);
        else
            word = blend(c, word);
    }
    // Blends a literal colour into n words `step` apart (unclipped). An opaque colour over a canvas
    // without super pixels is a plain store, which is what most chart shapes come down to.
    void blendRun(uint32_t* word, std::ptrdiff_t step, int n, uint32_t c) {
        if ((c >> 24) != 0 || !superPixels.empty()) {
            blendRunOver(word, step, n, c);
        } else if (step == 1) {
            std::fill_n(word, n, c);
        } else {
            for (int i = 0; i < n; ++i) word[i * step] = c;
        }
    }
    // A literal colour at one pixel, clipped.
    void plot(int x, int y, uint32_t c) {
        if (clip.contains(x, y)) blendInto(pixels_[index(x, y)], c);
    }
    // Any colour (brush ids evaluated here) at one pixel, clipped.
    void pixel(int x, int y, uint32_t c) {
        if (c == kTransparent || !clip.contains(x, y)) return;
        if (isCode(c)) c = colorAt(c, x, y);
        blendInto(pixels_[index(x, y)], c);
    }
    // Overwrites one pixel (no blending), releasing a super pixel first.
    void store(size_t i, uint32_t c) {
        if (SuperPixelPool::isReference(pixels_[i])) superPixels.release(pixels_[i]);
        pixels_[i] = canonical(c);
    }
    // The plain colour of a pixel, super pixels averaged.
    uint32_t plainAt(size_t i) const {
        const uint32_t w = pixels_[i];
        return SuperPixelPool::isReference(w) ? superPixels.resolve(w) : w;
    }
    void commitSuperPixels() {
        superPixels.commitAll(pixels_.data(), static_cast<long long>(pixels_.size()));
    }

    // Overwrites the clip rectangle with c (brushes evaluated per pixel).
    void setBgColor(uint32_t c);

    SuperPixelPool superPixels;

private:
    // blendRun's translucent colours, and any colour over super pixels.
    void blendRunOver(uint32_t* word, std::ptrdiff_t step, int n, uint32_t c);

    const DrawBMP& owner_;
    int width_ = 1;
    int height_ = 1;
    std::vector<uint32_t> pixels_;
    std::vector<BrushPtr> brushes_;
    Box shapeBox_;
    int nesting_ = 0;
    int steps_ = 0;
};

}  // namespace plotvane

#endif

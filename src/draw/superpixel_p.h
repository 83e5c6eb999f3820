#ifndef PLOTVANE_DRAW_SUPERPIXEL_P_H
#define PLOTVANE_DRAW_SUPERPIXEL_P_H

// Super pixels: sixteen-sample anti-aliasing for shaded triangles that meet along shared edges,
// where blending coverage-weighted colours pixel by pixel would leave seams.
//
// A stored word 0xff800000 | i refers to two-colour record i (base c0, overlay c1, a mask of the
// samples showing c1); 0xffc00000 | i to sixteen-sample record i. The two-colour form covers the
// usual case of one edge through a pixel; a second edge that lands on the complementary or a
// disjoint set of samples with a colour within +-10 of the first collapses the pixel back to a
// plain colour. Anything else upgrades the record to sixteen samples. commitAll() turns every
// reference back into its averaged colour.

#include <array>
#include <cstdint>
#include <vector>

namespace plotvane {

class SuperPixelPool {
public:
    static bool isReference(uint32_t word) { return word >= 0xff800000u; }

    // Sizes the sixteen-sample pool for a canvas of `pixels` pixels when it is first needed.
    void setCanvasSize(long long pixels) { canvasPixels_ = pixels; }

    // Adds colour c (literal) covering the samples of mask (partial, non-zero) to the stored word.
    // Returns false (the word untouched) when no record can be had.
    bool append(uint32_t& word, uint32_t c, uint32_t mask);
    // Blends c over every sample of the referenced record; an opaque c replaces the record.
    void blendOver(uint32_t& word, uint32_t c);
    // The plain colour a reference stands for (for reading pixels before commit).
    uint32_t resolve(uint32_t word) const;
    // Frees the record and stores its plain colour.
    void release(uint32_t& word);
    void commitAll(uint32_t* pixels, long long count);
    void clear();
    // True when no stored word can refer to a record.
    bool empty() const { return !any_; }

private:
    struct TwoColor {
        uint32_t c0, c1, mask;
    };
    uint32_t newTwo(uint32_t c0, uint32_t c1, uint32_t mask);
    uint32_t newSixteen();
    void freeRecord(uint32_t word);

    std::vector<TwoColor> two_;
    std::vector<uint32_t> freeTwo_;
    std::vector<std::array<uint32_t, 16>> sixteen_;
    std::vector<uint32_t> freeSixteen_;
    long long canvasPixels_ = 0;
    bool any_ = false;
};

}  // namespace plotvane

#endif

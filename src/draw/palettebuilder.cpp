// The palette form of a picture. Charts are mostly a handful of flat colours plus the shades that
// anti-aliasing adds, so the exact palette usually fits in 256 entries: colours are numbered in
// order of first appearance, and the scan gives up at the 257th colour. The scan goes eight
// pixels at a time: one vector compare tells whether all eight have the colour of the pixel
// before them, as they do inside long runs, and their index is then stored at once; a second
// whether they repeat the row above, as columns, bars and boxes do, whose indices are then
// copied. Otherwise each of the eight is looked up in a small open-addressed table. Looking
// pixels up one by one costs less in the short runs of text and edges than finding where each run
// ends, whose branch the processor cannot predict. A picture with more colours is either left to
// true colour or, when a palette is forced, quantised by the octree and dithered.
#include "draw/palettebuilder_p.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "draw/dither_p.h"
#include "draw/octree_p.h"

namespace plotvane {

namespace {

constexpr uint32_t kRGB = 0xffffff;

// Bit k is set when p[k] has colour rgb, for k = 0..7.
unsigned matchMask8(const uint32_t* p, uint32_t rgb) {
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kRGB));
    const __m128i colour = _mm_set1_epi32(static_cast<int>(rgb));
    __m128i low = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), mask);
    __m128i high = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4)), mask);
    low = _mm_cmpeq_epi32(low, colour);
    high = _mm_cmpeq_epi32(high, colour);
    return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(low)) |
                                 _mm_movemask_ps(_mm_castsi128_ps(high)) << 4);
#else
    unsigned match = 0;
    for (int k = 0; k < 8; ++k) match |= unsigned(((p[k] ^ rgb) & kRGB) == 0) << k;
    return match;
#endif
}

// Bit k is set when p[k] and q[k] have the same colour, for k = 0..7.
unsigned sameMask8(const uint32_t* p, const uint32_t* q) {
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kRGB));
    auto same4 = [&](const uint32_t* a, const uint32_t* b) {
        __m128i x = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)),
                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)));
        return _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(x, mask), _mm_setzero_si128())));
    };
    return static_cast<unsigned>(same4(p, q) | same4(p + 4, q + 4) << 4);
#else
    unsigned match = 0;
    for (int k = 0; k < 8; ++k) match |= unsigned(((p[k] ^ q[k]) & kRGB) == 0) << k;
    return match;
#endif
}

// Colour to index for at most 256 colours, by open addressing in four times as many slots: a
// look-up nearly always ends at its first slot, and no colour is ever evicted.
class ColourNumbers {
public:
    explicit ColourNumbers(PaletteImage& result) : result_(result) {
        for (uint32_t& c : colour_) c = kEmpty;
    }
    int count() const { return count_; }
    // The index of a colour, numbering it when new; -1 past 256 colours.
    int indexOf(uint32_t rgb) {
        uint32_t slot = (rgb * 0x9e3779b1u) >> (32 - kBits);
        while (colour_[slot] != rgb) {
            if (colour_[slot] == kEmpty) {
                if (count_ == 256) return -1;
                colour_[slot] = rgb;
                index_[slot] = static_cast<uint8_t>(count_);
                result_.palette[count_] = rgb;
                return count_++;
            }
            slot = (slot + 1) & ((1u << kBits) - 1);
        }
        return index_[slot];
    }

private:
    static constexpr int kBits = 10;
    static constexpr uint32_t kEmpty = 0xffffffffu;  // colours are 24-bit
    PaletteImage& result_;
    int count_ = 0;
    uint32_t colour_[1 << kBits];
    uint8_t index_[1 << kBits] = {};
};

// Numbers the colours of the picture; false once there are more than 256. Eight pixels of the
// colour before them, or repeating the row above, are stored at once; other pixels are looked up
// one by one, which costs less than finding where their short runs end.
bool exactPalette(const RasterImage& image, int transparentRGB, PaletteImage& result) {
    ColourNumbers numbers(result);
    if (transparentRGB >= 0) numbers.indexOf(static_cast<uint32_t>(transparentRGB));
    const size_t total = static_cast<size_t>(image.width) * image.height;
    result.indices.resize(total);
    const uint32_t* pixels = image.pixels;
    uint8_t* indices = result.indices.data();
    uint32_t lastRGB = pixels[0] & kRGB;
    int lastIndex = numbers.indexOf(lastRGB);
    size_t i = 0;
    const size_t width = static_cast<size_t>(image.width);
    for (; total - i >= 8; i += 8) {
        if (matchMask8(pixels + i, lastRGB) == 0xff) {
            std::memset(indices + i, lastIndex, 8);
            continue;
        }
        if (i >= width && sameMask8(pixels + i, pixels + i - width) == 0xff) {
            std::memcpy(indices + i, indices + i - width, 8);
            lastRGB = pixels[i + 7] & kRGB;
            lastIndex = indices[i + 7];
            continue;
        }
        for (size_t k = i; k < i + 8; ++k) {
            lastRGB = pixels[k] & kRGB;
            lastIndex = numbers.indexOf(lastRGB);
            if (lastIndex < 0) return false;
            indices[k] = static_cast<uint8_t>(lastIndex);
        }
    }
    for (; i < total; ++i) {
        int index = numbers.indexOf(pixels[i] & kRGB);
        if (index < 0) return false;
        indices[i] = static_cast<uint8_t>(index);
    }
    result.colorCount = numbers.count();
    result.transparentIndex = transparentRGB >= 0 ? 0 : -1;
    return true;
}

// Empty, but keeping the storage of the index image for the next picture.
void clear(PaletteImage& result) {
    result.colorCount = 0;
    std::memset(result.palette, 0, sizeof result.palette);
    result.transparentIndex = -1;
}

int quantisedPalette(const RasterImage& image, int transparentRGB, int ditherMethod, PaletteImage& result) {
    bool reserve = transparentRGB >= 0;
    Octree octree(reserve ? 255 : 256, reserve ? 1 : 0);
    size_t total = static_cast<size_t>(image.width) * image.height;
    for (size_t i = 0; i < total; ++i) {
        uint32_t rgb = image.pixels[i] & 0xffffff;
        if (!reserve || rgb != static_cast<uint32_t>(transparentRGB)) octree.addColor(rgb);
    }
    for (uint32_t& c : result.palette) c = 0;
    int count = octree.makePalette(result.palette);
    if (reserve) {
        result.palette[0] = static_cast<uint32_t>(transparentRGB);
        ++count;
    }
    result.indices.resize(total);
    makeDitherImage(image, octree, ditherMethod, transparentRGB, 0, result.indices.data());
    result.colorCount = count;
    result.transparentIndex = reserve ? 0 : -1;
    return count;
}

}  // namespace

int makePaletteImage(const RasterImage& image, int transparentColor, int paletteMode, int ditherMethod,
                     PaletteImage& result) {
    if (!image.pixels || image.width < 1 || image.height < 1) return 0;
    int transparentRGB = hasTransparentRGB(transparentColor) ? (transparentColor & 0xffffff) : -1;
    clear(result);
    if (exactPalette(image, transparentRGB, result)) return result.colorCount;
    clear(result);
    if (paletteMode != 1) return 0;
    return quantisedPalette(image, transparentRGB, ditherMethod, result);
}

}  // namespace plotvane

// The palette form of a picture. Charts are mostly a handful of flat colours plus the shades that
// anti-aliasing adds, so the exact palette usually fits in 256 entries: colours are numbered in
// order of first appearance through an ordered map, and the scan gives up at the 257th colour.
// The scan goes by runs, not pixels. A colour is looked up once where its run starts, asking a
// small direct-mapped cache before the map, since the colours of a chart recur all over it. The
// run is then followed eight pixels at a time: one vector compare gives a bit per pixel, the
// lowest clear bit is where the run ends, and the run's index is stored eight bytes at a time
// (the bytes stored past its end belong to the runs after it, which overwrite them). A picture
// with more colours is either left to true colour or, when a palette is forced, quantised by the
// octree and dithered.
#include "draw/palettebuilder_p.h"

#include <cstring>
#include <map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "draw/dither_p.h"
#include "draw/octree_p.h"

namespace plotvane {

namespace {

constexpr int kCacheBits = 10;
constexpr uint32_t kRGB = 0xffffff;

bool sameRGB(uint32_t pixel, uint32_t rgb) { return ((pixel ^ rgb) & kRGB) == 0; }

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
    for (int k = 0; k < 8; ++k) match |= unsigned(sameRGB(p[k], rgb)) << k;
    return match;
#endif
}

// Stores `index` for the run of colour rgb that starts at `from`; returns where the run ends.
size_t fillRun(const uint32_t* pixels, uint8_t* indices, size_t from, size_t total, uint32_t rgb, uint8_t index) {
    const uint64_t eight = index * 0x0101010101010101ull;
    size_t i = from;
    while (total - i >= 8) {
        std::memcpy(indices + i, &eight, 8);
        unsigned match = matchMask8(pixels + i, rgb);
        if (match != 0xff) return i + static_cast<size_t>(__builtin_ctz(~match));
        i += 8;
    }
    for (; i < total && sameRGB(pixels[i], rgb); ++i) indices[i] = index;
    return i;
}

// Numbers the colours of the picture; false once there are more than 256.
bool exactPalette(const RasterImage& image, int transparentRGB, PaletteImage& result) {
    std::map<uint32_t, int> indexOf;
    int count = 0;
    auto enter = [&](uint32_t rgb) {
        result.palette[count] = rgb;
        indexOf.emplace(rgb, count);
        return count++;
    };
    if (transparentRGB >= 0) enter(static_cast<uint32_t>(transparentRGB));

    // Colours are 24-bit, so the all-ones word marks an empty cache slot.
    uint32_t cacheColor[1 << kCacheBits];
    uint8_t cacheIndex[1 << kCacheBits];
    for (uint32_t& c : cacheColor) c = 0xffffffffu;
    size_t total = static_cast<size_t>(image.width) * image.height;
    result.indices.resize(total);
    for (size_t i = 0; i < total;) {
        uint32_t rgb = image.pixels[i] & kRGB;
        uint32_t slot = (rgb * 0x9e3779b1u) >> (32 - kCacheBits);
        if (cacheColor[slot] != rgb) {
            auto found = indexOf.find(rgb);
            int index;
            if (found != indexOf.end()) {
                index = found->second;
            } else {
                if (count == 256) return false;
                index = enter(rgb);
            }
            cacheColor[slot] = rgb;
            cacheIndex[slot] = static_cast<uint8_t>(index);
        }
        i = fillRun(image.pixels, result.indices.data(), i, total, rgb, cacheIndex[slot]);
    }
    result.colorCount = count;
    result.transparentIndex = transparentRGB >= 0 ? 0 : -1;
    return true;
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
    result = PaletteImage();
    if (exactPalette(image, transparentRGB, result)) return result.colorCount;
    result = PaletteImage();
    if (paletteMode != 1) return 0;
    return quantisedPalette(image, transparentRGB, ditherMethod, result);
}

}  // namespace plotvane

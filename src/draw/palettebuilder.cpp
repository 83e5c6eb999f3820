// The palette form of a picture. Charts are mostly a handful of flat colours plus the shades that
// anti-aliasing adds, so the exact palette usually fits in 256 entries: colours are numbered in
// order of first appearance through an ordered map, and the scan gives up at the 257th colour.
// Neighbouring pixels nearly always repeat a colour seen a moment ago, so a small direct-mapped
// cache answers most look-ups before the map is asked. A picture with more colours is either left
// to true colour or, when a palette is forced, quantised by the octree and dithered.
#include "draw/palettebuilder_p.h"

#include <map>

#include "draw/dither_p.h"
#include "draw/octree_p.h"

namespace plotvane {

namespace {

constexpr int kCacheBits = 10;

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
    uint32_t previous = 0xffffffffu;
    uint8_t previousIndex = 0;
    for (size_t i = 0; i < total; ++i) {
        uint32_t rgb = image.pixels[i] & 0xffffff;
        if (rgb == previous) {  // runs of one colour are the common case
            result.indices[i] = previousIndex;
            continue;
        }
        previous = rgb;
        uint32_t slot = ((rgb * 0x9e3779b1u) >> (32 - kCacheBits));
        if (cacheColor[slot] == rgb) {
            result.indices[i] = previousIndex = cacheIndex[slot];
            continue;
        }
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
        result.indices[i] = previousIndex = static_cast<uint8_t>(index);
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

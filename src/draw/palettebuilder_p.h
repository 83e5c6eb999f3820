#ifndef PLOTVANE_DRAW_PALETTEBUILDER_P_H
#define PLOTVANE_DRAW_PALETTEBUILDER_P_H

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "draw/imageio_p.h"

namespace plotvane {

// Hands out storage without value-initialising it, for buffers that are written in full anyway
// (zero-filling a 480 KB index image costs as much as writing it).
template <class T>
struct UninitializedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };
    UninitializedAllocator() = default;
    template <class U>
    UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
};

// A picture as indices into a palette of at most 256 RGB colours.
struct PaletteImage {
    int colorCount = 0;
    uint32_t palette[256] = {};
    std::vector<uint8_t, UninitializedAllocator<uint8_t>> indices;  // width * height
    int transparentIndex = -1;
};

// True when the setting names an RGB colour to be marked transparent (rather than none, or one
// of the alpha requests -1 and -2 and the reserved codes down to -10).
inline bool hasTransparentRGB(int transparentColor) {
    return transparentColor != static_cast<int>(0xff000000) && (transparentColor > -1 || transparentColor < -10);
}

// Alpha is wanted in a true-colour file: on request, or when the background is not opaque.
inline bool needsAlpha(const RasterSettings& settings) {
    return settings.transparentColor == -1 || settings.bgHasTransparency;
}

// Builds the palette form of a picture: the exact colours when there are at most 256, otherwise a
// quantised palette when paletteMode is 1. Returns the colour count; 0 when true colour is needed.
// The storage of `result` is reused.
int makePaletteImage(const RasterImage& image, int transparentColor, int paletteMode, int ditherMethod,
                     PaletteImage& result);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_DRAW_CANVASLIMITS_P_H
#define PLOTVANE_DRAW_CANVASLIMITS_P_H

// The largest picture the library makes, loads or decodes. A request past it fails and leaves
// the picture as it was, so the size an area reports is always the size it writes. The pixel
// limit bounds a canvas to 500 MB.

namespace plotvane {

constexpr int kMaxCanvasSide = 100000;
constexpr long long kMaxCanvasPixels = 125000000;

// Positions, offsets and sizes of objects are clamped to this at the public calls, so that the
// sums and differences made in layout cannot overflow.
constexpr int kMaxCoordinate = 1 << 24;

constexpr int clampCoordinate(int v) {
    return v < -kMaxCoordinate ? -kMaxCoordinate : v > kMaxCoordinate ? kMaxCoordinate : v;
}

constexpr bool acceptableCanvas(long long width, long long height) {
    return width >= 1 && height >= 1 && width <= kMaxCanvasSide && height <= kMaxCanvasSide &&
           width * height <= kMaxCanvasPixels;
}

}  // namespace plotvane

#endif

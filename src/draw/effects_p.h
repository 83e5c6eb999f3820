#ifndef PLOTVANE_DRAW_EFFECTS_P_H
#define PLOTVANE_DRAW_EFFECTS_P_H

#include <cstdint>
#include <vector>

namespace plotvane {

class Canvas;
class AAShape;

// Corner radii in the order top-left, top-right, bottom-right, bottom-left.
// The outline of a rounded rectangle: straight sides in the four edge colours (top, right, bottom,
// left) and quarter-ellipse corners in the colour of the adjacent top or bottom side.
void buildRoundedRect(AAShape& shape, double x1, double y1, double x2, double y2, const int radii[4],
                      const uint32_t edgeColors[4]);
// The same rectangle drawn straight onto the canvas, when it has whole-pixel corners, no rounding
// and a plain fill: the pixels the shape would give, without building it. False, drawing nothing,
// for every other rectangle.
bool drawSquareRect(Canvas& canvas, double x1, double y1, double x2, double y2, const int radii[4],
                    const uint32_t edgeColors[4], uint32_t fill);
// Replaces what lies outside rounded corners of the whole canvas with bg (anti-aliased).
void clipRoundedCorners(Canvas& canvas, const int radii[4], uint32_t bg);
// The shadow alone, over the surroundings, on the grown canvas; the picture sits at (left, top).
struct ShadowLayer {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0, left = 0, top = 0;
};

// Grows the canvas around its picture and puts a blurred shadow of the picture beneath it. The
// vector writers, which cannot blur, take the shadow from `layer` when one is given.
void addDropShadow(Canvas& canvas, int xOffset, int yOffset, int blurRadius, uint32_t color, uint32_t surround,
                   ShadowLayer* layer = nullptr);

}  // namespace plotvane

#endif

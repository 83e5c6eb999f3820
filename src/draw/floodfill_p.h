#ifndef PLOTVANE_DRAW_FLOODFILL_P_H
#define PLOTVANE_DRAW_FLOODFILL_P_H

#include <cstdint>

namespace plotvane {

class Canvas;

// Replaces the 4-connected region of pixels equal to the seed pixel with color (no blending).
void floodFill(Canvas& canvas, int x, int y, uint32_t color);
// Replaces the 4-connected region around the seed that stops at pixels of the border colour.
void floodFillToBorder(Canvas& canvas, int x, int y, uint32_t color, uint32_t border);

}  // namespace plotvane

#endif

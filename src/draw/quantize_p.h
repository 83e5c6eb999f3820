#ifndef PLOTVANE_DRAW_QUANTIZE_P_H
#define PLOTVANE_DRAW_QUANTIZE_P_H

namespace plotvane {

class Canvas;

// Reduces the picture to at most colorCount colours (2-256), optionally with ordered dithering.
// Transparency is kept as it is.
void reduceColors(Canvas& canvas, int colorCount, bool dither);

}  // namespace plotvane

#endif

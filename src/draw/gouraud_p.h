#ifndef PLOTVANE_DRAW_GOURAUD_P_H
#define PLOTVANE_DRAW_GOURAUD_P_H

#include <cstdint>

namespace plotvane {

class Canvas;

// A triangle (x, y, brightness) x 3 in `color` with the brightness interpolated across it.
// Pixels it covers only partly become super pixels until the next commit.
void gouraudTriangle(Canvas& canvas, const double v[9], uint32_t color);

}  // namespace plotvane

#endif

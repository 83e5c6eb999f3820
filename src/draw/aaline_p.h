#ifndef PLOTVANE_DRAW_AALINE_P_H
#define PLOTVANE_DRAW_AALINE_P_H

#include <cstdint>

namespace plotvane {

class Canvas;

// A straight line `width` pixels across its major axis, anti-aliased unless the canvas says
// otherwise or the line is an exact diagonal from integer coordinates. skipFirst leaves out the
// first step, which a polyline's previous segment has already painted.
void drawLine(Canvas& canvas, double x1, double y1, double x2, double y2, uint32_t color, int width,
              bool skipFirst = false);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_CHART_XY_LINEPEN_P_H
#define PLOTVANE_CHART_XY_LINEPEN_P_H

// Draws the path of a line object onto a drawing area: clipped to a box of the layer's frame,
// thinned per pixel column, turned into screen points, and emitted as polylines.

#include <vector>

#include "chart/xy/lineobj_p.h"

namespace plotvane {

class DrawArea;

struct LineStyle {
    int color;
    int width;  // below 1: not drawn
};

class LinePen {
public:
    // Frame points map to the screen exchanged when `swapped`, after subtracting (dx, dy).
    LinePen(DrawArea* d, const FrameBox& clip, bool swapped, double dx, double dy)
        : d_(d), clip_(clip), swapped_(swapped), dx_(dx), dy_(dy) {}
    // Segments after a break point take the gap style, the others the line style.
    void draw(const std::vector<LinePoint>& path, LineStyle line, LineStyle gap);

private:
    void flush();

    DrawArea* d_;
    FrameBox clip_;
    bool swapped_;
    double dx_;
    double dy_;
    std::vector<LinePoint> run_;  // the polyline being collected, in one style
    LineStyle runStyle_{0, 0};
};

}  // namespace plotvane

#endif

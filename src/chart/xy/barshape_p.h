#ifndef PLOTVANE_CHART_XY_BARSHAPE_P_H
#define PLOTVANE_CHART_XY_BARSHAPE_P_H

// Drawing one bar: a rectangle, a polygon scaled into the bar's box, or a cylinder, flat or with
// 3D depth, shaded by a lighting effect code and optionally with rounded corners. The bar layer
// decides where bars go; this decides how one looks, and the legend icons use it too.

#include <vector>

namespace plotvane {

class DrawArea;

// What a bar is shaped like. kind 0 is the plain rectangle; the circle kinds give cylinders; any
// other kind is a polygon outline from the symbol shape builder (kind 14 with `polygon`).
struct BarShape {
    int code = 0;
    std::vector<int> polygon;
};

struct BarBox {
    // Screen pixels, inclusive, left <= right and top <= bottom.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    // The end the value is at: Chart::Top, Chart::Bottom, Chart::Left or Chart::Right.
    int valueEnd = 8;
    // The back face is this far right and up.
    int depthX = 0;
    int depthY = 0;
    int fillColor = 0;
    int edgeColor = 0;
    int shadowColor = 0;
    int shadowEdgeColor = 0;
};

struct BarLook {
    // Raised border width, or a glass, soft-lighting, bar-lighting or flat-border code.
    int effect = 0;
    // Value end first (two corners), then the base end.
    int radii[4] = {0, 0, 0, 0};
    const BarShape* shape = nullptr;
};

void drawBar(DrawArea* d, const BarBox& box, const BarLook& look);

// The four corner radii of setRoundedCorners, where Chart::NoIntValue marks an omitted argument:
// r1 alone rounds the value end, r1 and r2 the value end and the base, four give each corner.
void roundedCornerRadii(int r1, int r2, int r3, int r4, int out[4]);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_VECTOR_VECTORPATH_P_H
#define PLOTVANE_VECTOR_VECTORPATH_P_H

// Outlines for vector files. The recorder hands filled shapes over as an unordered list of edges
// (straight lines and y-monotonic pieces of ellipses, the form a scanline filler wants); a vector
// file wants closed contours. traceShape chains the edges end to start (walking an edge backwards
// when that is the way it joins) and hands the contours to a sink; the SVG and PDF writers each
// have a sink that writes their own path syntax in their own coordinates.

#include <vector>

#include "draw/drawbackend_p.h"

namespace plotvane {

// Coordinates are pixels of the drawing; arcs run from angle a0 to a1 in degrees clockwise from
// 12 o'clock on the ellipse (cx + rx sin a, cy - ry cos a), and end where the next item starts.
class PathSink {
public:
    virtual ~PathSink() = default;
    virtual void moveTo(double x, double y) = 0;
    virtual void lineTo(double x, double y) = 0;
    virtual void arcTo(double cx, double cy, double rx, double ry, double a0, double a1) = 0;
    virtual void closePath() = 0;
};

// The contours of a filled shape; false when there is nothing to fill.
bool traceShape(const std::vector<PathItem>& edges, PathSink& sink);
// The edge lines drawn in `color`, as open subpaths; false when no edge has that colour.
bool traceEdges(const std::vector<PathItem>& edges, int color, PathSink& sink);
// The distinct edge colours of a shape, in order of first appearance (no Transparent).
std::vector<int> edgeColors(const std::vector<PathItem>& edges);
// A rectangle with corner radii top-left, top-right, bottom-right, bottom-left (clamped to fit),
// clockwise from the top-left corner.
void roundedRectPath(double x1, double y1, double x2, double y2, const int radii[4], PathSink& sink);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_CHART_XY_DELAUNAY_P_H
#define PLOTVANE_CHART_XY_DELAUNAY_P_H

#include <array>
#include <vector>

namespace plotvane {

// The triangles of a Delaunay triangulation of the points (x[i], y[i]), counter-clockwise in a
// y-up frame, as indexes into the points. Points that repeat an earlier one are left out; points
// all on one line give no triangles.
std::vector<std::array<int, 3>> delaunayTriangles(const std::vector<double>& x, const std::vector<double>& y);

}  // namespace plotvane

#endif

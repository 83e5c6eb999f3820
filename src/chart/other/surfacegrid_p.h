#ifndef PLOTVANE_CHART_OTHER_SURFACEGRID_P_H
#define PLOTVANE_CHART_OTHER_SURFACEGRID_P_H

// The data of a surface chart, arranged once when given, and the grid it is painted on.

#include <plotvane/arrays.h>

#include <vector>

#include "chart/xy/contourfield_p.h"

namespace plotvane {

// Data on a grid, with NoValue at its holes; or scattered points, each with a z value.
struct SurfaceData {
    ContourGrid grid;
    std::vector<double> x, y, z;
    bool scattered = false;
};

// x and y of equal length give the grid's lines and z holds rows of x for each y; x, y and z of
// equal length give one point each, kept on their common grid when it is at least half filled.
// Non-finite values count as missing. Grids past 4,000,000 points are refused (left empty).
SurfaceData arrangeSurfaceData(DoubleArray x, DoubleArray y, DoubleArray z);

// z at (xs[i], ys[j]) in z[j * xs.size() + i], xs and ys ascending.
struct SurfaceGrid {
    std::vector<double> xs, ys, z;
};

// The grid to paint: the data's own, or xSamples x ySamples even samples (fewer than 2: keep that
// direction) by straight lines or smooth curves. Scattered data are always sampled, linearly over
// their Delaunay triangles, on 50 samples a side unless asked otherwise.
SurfaceGrid sampleSurface(const SurfaceData& data, int xSamples, int ySamples, bool smooth);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_CHART_XY_ISOLINES_P_H
#define PLOTVANE_CHART_XY_ISOLINES_P_H

#include <vector>

namespace plotvane {

// Samples of a field on a rectangular grid: row j holds the values at (xs[0..nx), ys[j]);
// Chart::NoValue marks a missing sample. The positions must be monotonic along each direction.
struct IsoGrid {
    int nx = 0;
    int ny = 0;
    const double* z = nullptr;
    const double* xs = nullptr;
    const double* ys = nullptr;
};

// A level line as x0, y0, x1, y1 ...; a closed one repeats its first point at the end.
struct IsoLine {
    std::vector<double> points;
    bool closed = false;
};

// The lines of every level, in the order of the levels.
std::vector<std::vector<IsoLine>> traceIsoLines(const IsoGrid& grid, const std::vector<double>& levels);

}  // namespace plotvane

#endif

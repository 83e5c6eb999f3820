#ifndef PLOTVANE_CHART_XY_CONTOURFIELD_P_H
#define PLOTVANE_CHART_XY_CONTOURFIELD_P_H

// The z field of a contour layer, and its sampling at the pixels of the plot area.

#include <array>
#include <vector>

namespace plotvane {

// Points that form a full grid: z of (xs[i], ys[j]) at z[j * xs.size() + i], with xs and ys
// ascending. Missing z values are NoValue.
struct ContourGrid {
    std::vector<double> xs;
    std::vector<double> ys;
    std::vector<double> z;
};

// Arranges (x[k], y[k], z[k]) as a grid when every pair of a distinct x and a distinct y occurs
// exactly once; false otherwise.
bool arrangeAsGrid(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& z,
                   ContourGrid& grid);

// Samples in rows: sample (i, j) stands at data coordinates (along[i], across[j]) where along is the
// screen's horizontal direction. alongIsX tells which data axis runs horizontally.
struct PixelField {
    int width = 0;
    int height = 0;
    std::vector<double> z;  // NoValue where there is no data
};

enum class GridMethod { Linear, Smooth, Cells };

// Samples a grid at the data coordinates of the sample columns (cols) and rows (rows).
void sampleGrid(const ContourGrid& grid, GridMethod method, const std::vector<double>& cols,
                const std::vector<double>& rows, bool colsAreX, PixelField& out);

// Samples triangles whose corners are given in sample coordinates (column, row, z).
void sampleTriangles(const std::vector<std::array<int, 3>>& triangles, const std::vector<double>& col,
                     const std::vector<double>& row, const std::vector<double>& z, PixelField& out);

}  // namespace plotvane

#endif

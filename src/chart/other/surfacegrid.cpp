// Surface data: arranged as a grid or kept as scattered points, then sampled onto the grid that is
// painted. Grids are resampled with the contour layer's stencils; scattered points are joined into
// Delaunay triangles made in the box's proportions (each axis's range scaled to one, so that units
// of x and y do not bend the triangles) and sampled linearly over them. Outside the points' convex
// hull the grid has holes.
#include "chart/other/surfacegrid_p.h"

#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>

#include "chart/xy/delaunay_p.h"

namespace plotvane {

namespace {

constexpr size_t kMaxGridPoints = 4000000;
constexpr size_t kMaxScatteredPoints = 200000;
constexpr int kScatteredSamples = 50;

bool present(double v) { return v != Chart::NoValue && std::isfinite(v); }

std::vector<double> evenSamples(double lo, double hi, int count) {
    std::vector<double> r(count);
    for (int i = 0; i < count; ++i) r[i] = count == 1 ? lo : lo + (hi - lo) * i / (count - 1);
    return r;
}

std::vector<double> distinct(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

SurfaceData fromGrid(DoubleArray xData, DoubleArray yData, DoubleArray zData) {
    SurfaceData d;
    const int nx = xData.len, ny = yData.len;
    std::vector<int> cols, rows;
    for (int i = 0; i < nx; ++i)
        if (present(xData[i])) cols.push_back(i);
    for (int j = 0; j < ny; ++j)
        if (present(yData[j])) rows.push_back(j);
    if (cols.size() * rows.size() > kMaxGridPoints) return d;
    std::stable_sort(cols.begin(), cols.end(), [&](int a, int b) { return xData[a] < xData[b]; });
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return yData[a] < yData[b]; });
    // Equal coordinates would make cells of no width: the first of them stays.
    cols.erase(std::unique(cols.begin(), cols.end(), [&](int a, int b) { return xData[a] == xData[b]; }), cols.end());
    rows.erase(std::unique(rows.begin(), rows.end(), [&](int a, int b) { return yData[a] == yData[b]; }), rows.end());
    for (int i : cols) d.grid.xs.push_back(xData[i]);
    for (int j : rows) d.grid.ys.push_back(yData[j]);
    for (int j : rows)
        for (int i : cols) {
            const double z = zData[static_cast<size_t>(j) * nx + i];
            d.grid.z.push_back(present(z) ? z : Chart::NoValue);
        }
    return d;
}

SurfaceData fromPoints(DoubleArray xData, DoubleArray yData, DoubleArray zData) {
    SurfaceData d;
    for (int k = 0; k < zData.len; ++k) {
        if (!present(xData[k]) || !present(yData[k])) continue;
        d.x.push_back(xData[k]);
        d.y.push_back(yData[k]);
        d.z.push_back(present(zData[k]) ? zData[k] : Chart::NoValue);
    }
    std::vector<double> xs = distinct(d.x), ys = distinct(d.y);
    const size_t places = xs.size() * ys.size();
    if (places <= kMaxGridPoints && places <= 2 * d.x.size()) {
        d.grid.xs = std::move(xs);
        d.grid.ys = std::move(ys);
        d.grid.z.assign(places, Chart::NoValue);
        for (size_t k = 0; k < d.x.size(); ++k) {
            const size_t i = std::lower_bound(d.grid.xs.begin(), d.grid.xs.end(), d.x[k]) - d.grid.xs.begin();
            const size_t j = std::lower_bound(d.grid.ys.begin(), d.grid.ys.end(), d.y[k]) - d.grid.ys.begin();
            d.grid.z[j * d.grid.xs.size() + i] = d.z[k];
        }
        d.x = d.y = d.z = std::vector<double>();
        return d;
    }
    // Only points with a z value take part in the triangles.
    size_t kept = 0;
    for (size_t k = 0; k < d.x.size() && kept < kMaxScatteredPoints; ++k) {
        if (d.z[k] == Chart::NoValue) continue;
        d.x[kept] = d.x[k];
        d.y[kept] = d.y[k];
        d.z[kept++] = d.z[k];
    }
    d.x.resize(kept);
    d.y.resize(kept);
    d.z.resize(kept);
    d.scattered = true;
    return d;
}

SurfaceGrid sampleScattered(const SurfaceData& d, int xSamples, int ySamples) {
    SurfaceGrid g;
    if (d.x.empty()) return g;
    const auto [x0, x1] = std::minmax_element(d.x.begin(), d.x.end());
    const auto [y0, y1] = std::minmax_element(d.y.begin(), d.y.end());
    const double xLo = *x0, xSpan = *x1 - *x0, yLo = *y0, ySpan = *y1 - *y0;
    // Points on one line span no area: nothing to draw.
    if (!(xSpan > 0) || !(ySpan > 0) || !std::isfinite(xSpan) || !std::isfinite(ySpan)) return g;
    const int nx = xSamples >= 2 ? xSamples : kScatteredSamples, ny = ySamples >= 2 ? ySamples : kScatteredSamples;
    std::vector<double> u(d.x.size()), v(d.y.size()), col(d.x.size()), row(d.y.size());
    for (size_t k = 0; k < d.x.size(); ++k) {
        u[k] = (d.x[k] - xLo) / xSpan;
        v[k] = (d.y[k] - yLo) / ySpan;
        col[k] = u[k] * (nx - 1);
        row[k] = v[k] * (ny - 1);
    }
    PixelField field;
    field.width = nx;
    field.height = ny;
    field.z.assign(static_cast<size_t>(nx) * ny, Chart::NoValue);
    sampleTriangles(delaunayTriangles(u, v), col, row, d.z, field);
    g.xs = evenSamples(xLo, *x1, nx);
    g.ys = evenSamples(yLo, *y1, ny);
    g.z = std::move(field.z);
    return g;
}

}  // namespace

SurfaceData arrangeSurfaceData(DoubleArray x, DoubleArray y, DoubleArray z) {
    if (!x.data || !y.data || !z.data || x.len <= 0 || y.len <= 0 || z.len <= 0) return SurfaceData();
    if (static_cast<size_t>(x.len) * static_cast<size_t>(y.len) == static_cast<size_t>(z.len)) return fromGrid(x, y, z);
    if (x.len == y.len && y.len == z.len) return fromPoints(x, y, z);
    return SurfaceData();
}

SurfaceGrid sampleSurface(const SurfaceData& d, int xSamples, int ySamples, bool smooth) {
    if (d.scattered) return sampleScattered(d, xSamples, ySamples);
    const ContourGrid& data = d.grid;
    const bool resampleX = xSamples >= 2 && data.xs.size() >= 2;
    const bool resampleY = ySamples >= 2 && data.ys.size() >= 2;
    SurfaceGrid g;
    if (!resampleX && !resampleY) {
        g.xs = data.xs;
        g.ys = data.ys;
        g.z = data.z;
        return g;
    }
    g.xs = resampleX ? evenSamples(data.xs.front(), data.xs.back(), xSamples) : data.xs;
    g.ys = resampleY ? evenSamples(data.ys.front(), data.ys.back(), ySamples) : data.ys;
    PixelField field;
    sampleGrid(data, smooth ? GridMethod::Smooth : GridMethod::Linear, g.xs, g.ys, true, field);
    g.z = std::move(field.z);
    return g;
}

}  // namespace plotvane

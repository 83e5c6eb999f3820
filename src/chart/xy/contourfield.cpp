// Sampling a contour layer's z data at the pixels of the plot area.
//
// A grid is sampled separably: every sample column and every sample row gets a small stencil of
// grid indexes and weights along its own data axis, and a sample's value is the weighted sum over
// the product of its column's and its row's stencils. Linear stencils give the bilinear surface,
// whose level lines are straight within each cell; smooth stencils are cubic Hermite splines with
// slopes from centred differences (exact on uneven spacing, passing through every grid value);
// cell stencils pick the nearest grid value, each grid point owning the band halfway to its
// neighbours. A missing value in a smooth stencil drops that sample back to the linear one; a
// missing value in a linear one leaves the sample empty, so holes are as big as the cells that
// touch a missing point and no bigger.
//
// Triangles are sampled by their barycentric weights at every sample inside them, shared edges
// included on both sides, so neighbouring triangles leave no sample between them unfilled.
#include "chart/xy/contourfield_p.h"

#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

bool strictlyMonotonic(const double* p, size_t n, size_t stride, bool& ascending) {
    ascending = n < 2 || p[stride] > p[0];
    for (size_t k = 1; k < n; ++k) {
        double a = p[(k - 1) * stride], b = p[k * stride];
        if (ascending ? !(b > a) : !(b < a)) return false;
    }
    return true;
}

// The common layout: rows of equal y, x running fastest, both in order.
bool arrangeRowMajor(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& z,
                     ContourGrid& g) {
    size_t n = x.size();
    size_t nx = 1;
    while (nx < n && y[nx] == y[0]) ++nx;
    if (n % nx) return false;
    size_t ny = n / nx;
    for (size_t k = 0; k < n; ++k)
        if (x[k] != x[k % nx] || y[k] != y[k - k % nx]) return false;
    bool ascX, ascY;
    if (!strictlyMonotonic(x.data(), nx, 1, ascX) || !strictlyMonotonic(y.data(), ny, nx, ascY)) return false;
    g.xs.resize(nx);
    g.ys.resize(ny);
    g.z.resize(n);
    for (size_t i = 0; i < nx; ++i) g.xs[i] = x[ascX ? i : nx - 1 - i];
    for (size_t j = 0; j < ny; ++j) g.ys[j] = y[(ascY ? j : ny - 1 - j) * nx];
    for (size_t j = 0; j < ny; ++j)
        for (size_t i = 0; i < nx; ++i)
            g.z[j * nx + i] = z[(ascY ? j : ny - 1 - j) * nx + (ascX ? i : nx - 1 - i)];
    return true;
}

std::vector<double> distinct(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

// Up to four grid indexes with their weights.
struct Stencil {
    int index[4] = {0, 0, 0, 0};
    double weight[4] = {0, 0, 0, 0};
    int count = 0;
};

// The interval [i, i + 1] of ascending positions that holds u and the place t in it; false outside.
bool bracket(const std::vector<double>& p, double u, int& i, double& t) {
    size_t m = p.size();
    if (m == 0 || !std::isfinite(u)) return false;
    double tol = (p.back() - p.front()) * 1e-9;
    if (m == 1) {
        i = 0;
        t = 0;
        return std::fabs(u - p[0]) <= std::fabs(p[0]) * 1e-12;
    }
    if (u < p.front() - tol || u > p.back() + tol) return false;
    i = static_cast<int>(std::upper_bound(p.begin(), p.end(), u) - p.begin()) - 1;
    i = std::clamp(i, 0, static_cast<int>(m) - 2);
    t = std::clamp((u - p[i]) / (p[i + 1] - p[i]), 0.0, 1.0);
    return true;
}

Stencil linearStencil(const std::vector<double>& p, double u) {
    Stencil s;
    int i;
    double t;
    if (!bracket(p, u, i, t)) return s;
    if (p.size() == 1) {
        s.count = 1;
        s.weight[0] = 1;
        return s;
    }
    s.count = 2;
    s.index[0] = i;
    s.index[1] = i + 1;
    s.weight[0] = 1 - t;
    s.weight[1] = t;
    return s;
}

Stencil smoothStencil(const std::vector<double>& p, double u) {
    int i;
    double t;
    int m = static_cast<int>(p.size());
    if (m < 3 || !bracket(p, u, i, t)) return linearStencil(p, u);
    double d = p[i + 1] - p[i];
    double t2 = t * t, t3 = t2 * t;
    double h00 = 2 * t3 - 3 * t2 + 1, h10 = t3 - 2 * t2 + t, h01 = -2 * t3 + 3 * t2, h11 = t3 - t2;
    // Weights of samples i - 1 ... i + 2 (slots 0 ... 3).
    double w[4] = {0, h00, h01, 0};
    // The slope at i, then at i + 1, each as a difference of two samples over their distance.
    int a = std::max(i - 1, 0), b = i + 1;
    double k = h10 * d / (p[b] - p[a]);
    w[b - i + 1] += k;
    w[a - i + 1] -= k;
    a = i;
    b = std::min(i + 2, m - 1);
    k = h11 * d / (p[b] - p[a]);
    w[b - i + 1] += k;
    w[a - i + 1] -= k;
    Stencil s;
    for (int slot = 0; slot < 4; ++slot) {
        int idx = i - 1 + slot;
        if (idx < 0 || idx >= m || w[slot] == 0) continue;
        s.index[s.count] = idx;
        s.weight[s.count] = w[slot];
        ++s.count;
    }
    return s;
}

Stencil cellStencil(const std::vector<double>& p, double u) {
    Stencil s;
    size_t m = p.size();
    if (m == 0 || !std::isfinite(u)) return s;
    double first = m > 1 ? (p[1] - p[0]) / 2 : 0.5;
    double last = m > 1 ? (p[m - 1] - p[m - 2]) / 2 : 0.5;
    if (u < p.front() - first || u > p.back() + last) return s;
    size_t i = static_cast<size_t>(std::upper_bound(p.begin(), p.end(), u) - p.begin());
    if (i == m || (i > 0 && u - p[i - 1] <= p[i] - u)) --i;
    s.count = 1;
    s.index[0] = static_cast<int>(i);
    s.weight[0] = 1;
    return s;
}

Stencil stencilFor(GridMethod method, const std::vector<double>& p, double u) {
    switch (method) {
        case GridMethod::Smooth: return smoothStencil(p, u);
        case GridMethod::Cells: return cellStencil(p, u);
        default: return linearStencil(p, u);
    }
}

}  // namespace

bool arrangeAsGrid(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& z,
                   ContourGrid& g) {
    size_t n = x.size();
    if (n == 0 || y.size() != n || z.size() != n) return false;
    if (arrangeRowMajor(x, y, z, g)) return true;
    std::vector<double> xs = distinct(x), ys = distinct(y);
    if (xs.size() * ys.size() != n) return false;
    std::vector<double> cells(n, Chart::NoValue);
    std::vector<char> seen(n, 0);
    for (size_t k = 0; k < n; ++k) {
        size_t i = static_cast<size_t>(std::lower_bound(xs.begin(), xs.end(), x[k]) - xs.begin());
        size_t j = static_cast<size_t>(std::lower_bound(ys.begin(), ys.end(), y[k]) - ys.begin());
        size_t at = j * xs.size() + i;
        if (seen[at]) return false;
        seen[at] = 1;
        cells[at] = z[k];
    }
    g.xs = std::move(xs);
    g.ys = std::move(ys);
    g.z = std::move(cells);
    return true;
}

void sampleGrid(const ContourGrid& grid, GridMethod method, const std::vector<double>& cols,
                const std::vector<double>& rows, bool colsAreX, PixelField& out) {
    out.width = static_cast<int>(cols.size());
    out.height = static_cast<int>(rows.size());
    out.z.assign(cols.size() * rows.size(), Chart::NoValue);
    const std::vector<double>& colAxis = colsAreX ? grid.xs : grid.ys;
    const std::vector<double>& rowAxis = colsAreX ? grid.ys : grid.xs;
    size_t nx = grid.xs.size();
    if (grid.z.size() != nx * grid.ys.size() || nx == 0) return;
    std::vector<Stencil> colStencils(cols.size()), colLinear;
    for (size_t i = 0; i < cols.size(); ++i) colStencils[i] = stencilFor(method, colAxis, cols[i]);
    if (method == GridMethod::Smooth) {
        colLinear.resize(cols.size());
        for (size_t i = 0; i < cols.size(); ++i) colLinear[i] = linearStencil(colAxis, cols[i]);
    }
    // Grid index of (column stencil index a, row stencil index b).
    size_t colStride = colsAreX ? 1 : nx;
    size_t rowStride = colsAreX ? nx : 1;
    const double* z = grid.z.data();
    auto sum = [&](const Stencil& c, const Stencil& r, double& v) {
        double acc = 0;
        for (int b = 0; b < r.count; ++b) {
            const double* line = z + static_cast<size_t>(r.index[b]) * rowStride;
            double across = 0;
            for (int a = 0; a < c.count; ++a) {
                double s = line[static_cast<size_t>(c.index[a]) * colStride];
                if (s == Chart::NoValue) return false;
                across += c.weight[a] * s;
            }
            acc += r.weight[b] * across;
        }
        v = acc;
        return true;
    };
    for (size_t j = 0; j < rows.size(); ++j) {
        Stencil r = stencilFor(method, rowAxis, rows[j]);
        if (r.count == 0) continue;
        Stencil rLinear = method == GridMethod::Smooth ? linearStencil(rowAxis, rows[j]) : r;
        double* dst = out.z.data() + j * cols.size();
        for (size_t i = 0; i < cols.size(); ++i) {
            const Stencil& c = colStencils[i];
            if (c.count == 0) continue;
            double v;
            if (sum(c, r, v) || (method == GridMethod::Smooth && sum(colLinear[i], rLinear, v))) dst[i] = v;
        }
    }
}

void sampleTriangles(const std::vector<std::array<int, 3>>& triangles, const std::vector<double>& col,
                     const std::vector<double>& row, const std::vector<double>& z, PixelField& out) {
    const int w = out.width, h = out.height;
    for (const auto& t : triangles) {
        double c[3], r[3], v[3];
        bool ok = true;
        for (int k = 0; k < 3; ++k) {
            size_t p = static_cast<size_t>(t[static_cast<size_t>(k)]);
            c[k] = col[p];
            r[k] = row[p];
            v[k] = z[p];
            ok = ok && v[k] != Chart::NoValue && std::isfinite(c[k]) && std::isfinite(r[k]);
        }
        if (!ok) continue;
        double area = (c[1] - c[0]) * (r[2] - r[0]) - (r[1] - r[0]) * (c[2] - c[0]);
        if (!(std::fabs(area) > 1e-12)) continue;
        int i0 = std::max(0, static_cast<int>(std::ceil(std::min({c[0], c[1], c[2]}) - 1e-9)));
        int i1 = std::min(w - 1, static_cast<int>(std::floor(std::max({c[0], c[1], c[2]}) + 1e-9)));
        int j0 = std::max(0, static_cast<int>(std::ceil(std::min({r[0], r[1], r[2]}) - 1e-9)));
        int j1 = std::min(h - 1, static_cast<int>(std::floor(std::max({r[0], r[1], r[2]}) + 1e-9)));
        const double eps = 1e-9;
        for (int j = j0; j <= j1; ++j) {
            double* dst = out.z.data() + static_cast<size_t>(j) * static_cast<size_t>(w);
            for (int i = i0; i <= i1; ++i) {
                double w0 = ((c[1] - i) * (r[2] - j) - (r[1] - j) * (c[2] - i)) / area;
                double w1 = ((c[2] - i) * (r[0] - j) - (r[2] - j) * (c[0] - i)) / area;
                double w2 = 1 - w0 - w1;
                if (w0 < -eps || w1 < -eps || w2 < -eps) continue;
                dst[i] = w0 * v[0] + w1 * v[1] + w2 * v[2];
            }
        }
    }
}

}  // namespace plotvane

// Surface charts: z over an (x, y) grid, drawn as a lit, coloured height field inside the 3D box.
//
// Hidden surfaces. The picture is painted back to front, but not by sorting faces on depth, which
// fails where faces interpenetrate or overlap unevenly. A height field has a simpler order: a point
// of the surface can only be hidden by surface that lies, seen from above, on the straight line
// from that point towards the viewer's position over the grid. So a cell can only hide cells whose
// column is no nearer to the viewer's column (in x) and whose row is no nearer to the viewer's row
// (in y). Painting columns from the farthest to the nearest, and within a column the rows from the
// farthest to the nearest, puts every cell after all cells it may hide, from any view angle, with
// or without perspective (with none the viewer is far along the view direction). Everything drawn
// on the surface (data grid, axis grid, contour lines) is drawn right after its own cell, so the
// cells in front cover it like the surface itself. The order needs no depth buffer, so raster, SVG
// and PDF output show the same picture.
//
// A cell is one quadrilateral (rectangular and smooth shading) or two triangles split on a diagonal
// (triangular shading; the farther triangle first). Its colour is the colour axis's colour of its
// mean z; its brightness is ambient plus diffuse plus specular light from the viewer's upper left
// on its normal (Newell's, for cells that are not flat), or for smooth shading the mean of its
// corners' brightness from normals averaged over the cells round each corner. The underside faces
// away from the viewer; it takes its own colour, its brightness factor, and light only if asked.
//
// Data may be gridded (z for each x of each y) or one point per (x, y, z) triple on a common grid;
// missing or non-finite z leaves holes: cells touching them are not drawn. Interpolation resamples
// the grid evenly, along x and then along y, by straight lines or by cubic Hermite curves whose
// slopes come from the neighbouring points.
#include <plotvane/threedchart.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "chart/other/threedchart_p.h"

namespace plotvane {

namespace {

// Grids past this many points are refused (a 2,000 x 2,000 grid).
constexpr size_t kMaxGridPoints = 4000000;
constexpr int kMaxSamples = 2000;

bool present(double v) { return v != Chart::NoValue && std::isfinite(v); }

int shade(int color, double b) {
    if (!std::isfinite(b)) b = 1;
    auto channel = [b](int c) {
        const double v = b <= 1 ? c * std::max(b, 0.0) : c + (255 - c) * std::min(b - 1, 1.0);
        return std::clamp(static_cast<int>(v + 0.5), 0, 255);
    };
    return (color & 0xff000000) | (channel((color >> 16) & 0xff) << 16) | (channel((color >> 8) & 0xff) << 8) |
           channel(color & 0xff);
}

// Values at the sample positions `at` of a curve through (xs, vs); missing values break it.
void resample(const std::vector<double>& xs, const double* vs, int stride, const std::vector<double>& at, bool smooth,
              double* out, int outStride) {
    const int n = static_cast<int>(xs.size());
    auto v = [&](int k) { return vs[static_cast<size_t>(k) * stride]; };
    auto slope = [&](int k) {
        const int a = k > 0 && present(v(k - 1)) ? k - 1 : k, b = k + 1 < n && present(v(k + 1)) ? k + 1 : k;
        return a == b ? 0.0 : (v(b) - v(a)) / (xs[b] - xs[a]);
    };
    int k = 0;
    for (size_t s = 0; s < at.size(); ++s) {
        const double t = at[s];
        while (k + 2 < n && xs[k + 1] < t) ++k;
        double r = Chart::NoValue;
        if (n == 1) {
            r = v(0);
        } else {
            const double x0 = xs[k], x1 = xs[k + 1], v0 = v(k), v1 = v(k + 1), h = x1 - x0;
            if (present(v0) && present(v1) && h > 0) {
                const double u = std::clamp((t - x0) / h, 0.0, 1.0);
                if (!smooth) {
                    r = v0 + (v1 - v0) * u;
                } else {
                    const double u2 = u * u, u3 = u2 * u;
                    r = (2 * u3 - 3 * u2 + 1) * v0 + (u3 - 2 * u2 + u) * h * slope(k) + (-2 * u3 + 3 * u2) * v1 +
                        (u3 - u2) * h * slope(k + 1);
                }
            }
        }
        out[s * outStride] = r;
    }
}

std::vector<double> evenSamples(double lo, double hi, int count) {
    std::vector<double> r(count);
    for (int i = 0; i < count; ++i) r[i] = count == 1 ? lo : lo + (hi - lo) * i / (count - 1);
    return r;
}

// Indices 0 .. n-1 by the distance of key(i) from `eye`, the farthest first.
template <class Key>
std::vector<int> farToNear(int n, double eye, Key key) {
    std::vector<int> order(std::max(n, 0));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return std::fabs(key(a) - eye) > std::fabs(key(b) - eye); });
    return order;
}

}  // namespace

class SurfaceChartImpl final : public SurfaceChart, public ThreeDChartImpl {
public:
    void setData(DoubleArray xData, DoubleArray yData, DoubleArray zData) override;
    void setInterpolation(int xSamples, int ySamples, bool isSmooth) override;
    void setLighting(double ambient, double diffuse, double specular, double shininess) override;
    void setShadingMode(int shadingMode, int wireframeColor) override;
    void setSurfaceAxisGrid(int majorX, int majorY, int minorX, int minorY) override;
    void setSurfaceDataGrid(int xGridColor, int yGridColor) override;
    void setContourColor(int contourColor, int minorContourColor) override;
    void setBackSideBrightness(double b) override { backBrightness_ = std::isfinite(b) ? b : 0.5; }
    void setBackSideColor(int color) override { backColor_ = color; }
    void setBackSideLighting(bool lighting) override { backLighting_ = lighting; }

    void initSurface() { initFrame(); }

protected:
    void layoutContents() override;
    void paintContents(int farCorner) override;

private:
    struct Cell {
        Point3D model[4];
        Point3D shown[4];  // transformed
        double z[4];
    };
    void buildGrid();
    void paintCell(DrawArea* d, const Cell& c, int i, int j);
    void fillFace(DrawArea* d, const Point3D* model, const Point3D* shown, const double* z, int count,
                  const double* cornerLight);
    double lightOn(const Point3D& modelNormal) const;
    void segment(DrawArea* d, const Point3D& a, const Point3D& b, int color);
    void paintAxisGrid(DrawArea* d, const Cell& c, int i, int j);
    void paintContours(DrawArea* d, const Cell& c);
    double vertexLight(int i, int j) const;

    // The data as given, on its own grid.
    std::vector<double> dataX_, dataY_, dataZ_;
    // The grid painted: the data or its resampling.
    std::vector<double> gx_, gy_, gz_;
    int xSamples_ = 0, ySamples_ = 0;
    bool smoothInterpolation_ = true;

    double ambient_ = 0.5, diffuse_ = 0.5, specular_ = 0.3, shininess_ = 8;
    int shadingMode_ = Chart::SmoothShading;
    int wireframeColor_ = Chart::Transparent;
    int axisGrid_[4] = {Chart::Transparent, Chart::Transparent, Chart::Transparent, Chart::Transparent};
    int dataGrid_[2] = {Chart::Transparent, Chart::Transparent};
    int contour_[2] = {Chart::Transparent, Chart::Transparent};
    double backBrightness_ = 0.5;
    int backColor_ = -1;
    bool backLighting_ = false;

    // Paint state.
    std::vector<Point3D> model_, shown_;
    std::vector<double> vertexLight_;
    Point3D eye_;
    std::vector<double> levels_[2];
};

SurfaceChart* SurfaceChart::create(int width, int height, int bgColor, int edgeColor, int raisedEffect) {
    auto* c = new SurfaceChartImpl();
    c->setSize(width, height);
    c->setBackground(bgColor, edgeColor, raisedEffect);
    c->initSurface();
    return c;
}

void SurfaceChartImpl::setData(DoubleArray xData, DoubleArray yData, DoubleArray zData) {
    dataX_.clear();
    dataY_.clear();
    dataZ_.clear();
    const int nx = std::max(xData.len, 0), ny = std::max(yData.len, 0), nz = std::max(zData.len, 0);
    if (!xData.data || !yData.data || !zData.data || nx == 0 || ny == 0) return;
    std::vector<int> cols, rows;
    for (int i = 0; i < nx; ++i)
        if (present(xData[i])) cols.push_back(i);
    for (int j = 0; j < ny; ++j)
        if (present(yData[j])) rows.push_back(j);
    if (static_cast<size_t>(nx) * ny == static_cast<size_t>(nz)) {
        if (static_cast<size_t>(cols.size()) * rows.size() > kMaxGridPoints) return;
        std::stable_sort(cols.begin(), cols.end(), [&](int a, int b) { return xData[a] < xData[b]; });
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return yData[a] < yData[b]; });
        // Equal coordinates would make cells of no width: the first of them stays.
        cols.erase(std::unique(cols.begin(), cols.end(), [&](int a, int b) { return xData[a] == xData[b]; }),
                   cols.end());
        rows.erase(std::unique(rows.begin(), rows.end(), [&](int a, int b) { return yData[a] == yData[b]; }),
                   rows.end());
        for (int i : cols) dataX_.push_back(xData[i]);
        for (int j : rows) dataY_.push_back(yData[j]);
        for (int j : rows)
            for (int i : cols) {
                const double z = zData[static_cast<size_t>(j) * nx + i];
                dataZ_.push_back(present(z) ? z : Chart::NoValue);
            }
    } else if (nx == ny && ny == nz) {
        for (int k : cols) dataX_.push_back(xData[k]);
        for (int k : rows) dataY_.push_back(yData[k]);
        std::sort(dataX_.begin(), dataX_.end());
        dataX_.erase(std::unique(dataX_.begin(), dataX_.end()), dataX_.end());
        std::sort(dataY_.begin(), dataY_.end());
        dataY_.erase(std::unique(dataY_.begin(), dataY_.end()), dataY_.end());
        if (dataX_.size() * dataY_.size() > kMaxGridPoints) {
            dataX_.clear();
            dataY_.clear();
            return;
        }
        dataZ_.assign(dataX_.size() * dataY_.size(), Chart::NoValue);
        for (int k = 0; k < nz; ++k) {
            if (!present(xData[k]) || !present(yData[k]) || !present(zData[k])) continue;
            const size_t i = std::lower_bound(dataX_.begin(), dataX_.end(), xData[k]) - dataX_.begin();
            const size_t j = std::lower_bound(dataY_.begin(), dataY_.end(), yData[k]) - dataY_.begin();
            dataZ_[j * dataX_.size() + i] = zData[k];
        }
    }
}

void SurfaceChartImpl::setInterpolation(int xSamples, int ySamples, bool isSmooth) {
    if (ySamples == -1) ySamples = xSamples;
    xSamples_ = std::clamp(xSamples, 0, kMaxSamples);
    ySamples_ = std::clamp(ySamples, 0, kMaxSamples);
    smoothInterpolation_ = isSmooth;
}

void SurfaceChartImpl::setLighting(double ambient, double diffuse, double specular, double shininess) {
    auto ok = [](double v) { return std::isfinite(v) && v != Chart::NoValue; };
    if (ok(ambient)) ambient_ = ambient;
    if (ok(diffuse)) diffuse_ = diffuse;
    if (ok(specular)) specular_ = specular;
    if (ok(shininess)) shininess_ = shininess;
}

void SurfaceChartImpl::setShadingMode(int shadingMode, int wireframeColor) {
    if (shadingMode >= Chart::SmoothShading && shadingMode <= Chart::RectangularFrame) shadingMode_ = shadingMode;
    wireframeColor_ = wireframeColor;
}

void SurfaceChartImpl::setSurfaceAxisGrid(int majorX, int majorY, int minorX, int minorY) {
    if (majorY == -1) majorY = majorX;
    if (minorX == -1) minorX = Chart::Transparent;
    if (minorY == -1) minorY = minorX;
    axisGrid_[0] = majorX;
    axisGrid_[1] = majorY;
    axisGrid_[2] = minorX;
    axisGrid_[3] = minorY;
}

void SurfaceChartImpl::setSurfaceDataGrid(int xGridColor, int yGridColor) {
    dataGrid_[0] = xGridColor;
    dataGrid_[1] = yGridColor == -1 ? xGridColor : yGridColor;
}

void SurfaceChartImpl::setContourColor(int contourColor, int minorContourColor) {
    contour_[0] = contourColor;
    contour_[1] = minorContourColor == -1 ? Chart::Transparent : minorContourColor;
}

void SurfaceChartImpl::buildGrid() {
    const bool resampleX = xSamples_ >= 2 && dataX_.size() >= 2;
    const bool resampleY = ySamples_ >= 2 && dataY_.size() >= 2;
    gx_ = resampleX ? evenSamples(dataX_.front(), dataX_.back(), xSamples_) : dataX_;
    gy_ = resampleY ? evenSamples(dataY_.front(), dataY_.back(), ySamples_) : dataY_;
    const size_t nx = dataX_.size(), ny = dataY_.size();
    std::vector<double> rowsDone(gx_.size() * ny);
    for (size_t j = 0; j < ny; ++j) {
        if (resampleX)
            resample(dataX_, &dataZ_[j * nx], 1, gx_, smoothInterpolation_, &rowsDone[j * gx_.size()], 1);
        else
            std::copy(&dataZ_[j * nx], &dataZ_[j * nx] + nx, &rowsDone[j * nx]);
    }
    gz_.assign(gx_.size() * gy_.size(), Chart::NoValue);
    for (size_t i = 0; i < gx_.size(); ++i) {
        if (resampleY)
            resample(dataY_, &rowsDone[i], static_cast<int>(gx_.size()), gy_, smoothInterpolation_, &gz_[i],
                     static_cast<int>(gx_.size()));
        else
            for (size_t j = 0; j < ny; ++j) gz_[j * gx_.size() + i] = rowsDone[j * gx_.size() + i];
    }
}

void SurfaceChartImpl::layoutContents() {
    buildGrid();
    double zMin = Chart::NoValue, zMax = Chart::NoValue;
    for (double z : gz_) {
        if (!present(z)) continue;
        zMin = zMin == Chart::NoValue ? z : std::min(zMin, z);
        zMax = zMax == Chart::NoValue ? z : std::max(zMax, z);
    }
    const bool any = zMin != Chart::NoValue;
    xAxisImpl().layout(any ? gx_.front() : Chart::NoValue, any ? gx_.back() : Chart::NoValue);
    yAxisImpl().layout(any ? gy_.front() : Chart::NoValue, any ? gy_.back() : Chart::NoValue);
    zAxisImpl().layout(zMin, zMax);
    colorAxisImpl().layoutScale(zMin, zMax);
}

double SurfaceChartImpl::lightOn(const Point3D& modelNormal) const {
    return engine().computeBrightness(engine().transformNormal(modelNormal), 1, diffuse_, specular_, shininess_);
}

double SurfaceChartImpl::vertexLight(int i, int j) const { return vertexLight_[j * gx_.size() + i]; }

void SurfaceChartImpl::fillFace(DrawArea* d, const Point3D* model, const Point3D* shown, const double* z, int count,
                                const double* cornerLight) {
    double meanZ = 0;
    for (int k = 0; k < count; ++k) meanZ += z[k] / count;
    Point3D n = polygonNormal(model, count);
    if (n.y < 0) n = {-n.x, -n.y, -n.z};  // the upper side
    Point3D centre;
    for (int k = 0; k < count; ++k) {
        centre.x += model[k].x / count;
        centre.y += model[k].y / count;
        centre.z += model[k].z / count;
    }
    const bool front = dot(n, eye_ - centre) >= 0;
    const int base = colorAxisImpl().getColor(meanZ);
    int color;
    if (front) {
        double b = 0;
        if (cornerLight) {
            for (int k = 0; k < count; ++k) b += cornerLight[k] / count;
        } else {
            b = lightOn(n);
        }
        color = shade(base, b);
    } else {
        const int under = backColor_ == -1 ? base : backColor_;
        const double b = backLighting_ ? lightOn({-n.x, -n.y, -n.z}) : 1;
        color = shade(under, b * backBrightness_);
    }
    const bool frame = shadingMode_ == Chart::TriangularFrame || shadingMode_ == Chart::RectangularFrame;
    int edge = color;
    if (wireframeColor_ != Chart::Transparent) edge = wireframeColor_;
    if (frame) {
        color = Chart::Transparent;
        if (edge == Chart::Transparent || edge == color) edge = Chart::LineColor;
    }
    double xs[4], ys[4], cx = 0, cy = 0;
    for (int k = 0; k < count; ++k) {
        xs[k] = engine().toDisplayX(shown[k]);
        ys[k] = engine().toDisplayY(shown[k]);
        cx += xs[k] / count;
        cy += ys[k] / count;
    }
    if (edge == color) {
        // Neighbouring faces overlap by half a pixel instead of each drawing its outline: no seam
        // shows between them, at a fraction of the cost of stroking every edge.
        for (int k = 0; k < count; ++k) {
            const double dx = xs[k] - cx, dy = ys[k] - cy, len = std::hypot(dx, dy);
            if (len > 0) {
                xs[k] += 0.5 * dx / len;
                ys[k] += 0.5 * dy / len;
            }
        }
        edge = Chart::Transparent;
    }
    d->polygon(DoubleArray(xs, count), DoubleArray(ys, count), edge, color);
}

void SurfaceChartImpl::segment(DrawArea* d, const Point3D& a, const Point3D& b, int color) {
    const Point3D ta = engine().transformPoint(a), tb = engine().transformPoint(b);
    d->line(engine().toDisplayX(ta), engine().toDisplayY(ta), engine().toDisplayX(tb), engine().toDisplayY(tb), color,
            1);
}

void SurfaceChartImpl::paintAxisGrid(DrawArea* d, const Cell& c, int i, int j) {
    // Corners: 0 (i, j), 1 (i+1, j), 2 (i+1, j+1), 3 (i, j+1).
    const AxisImpl* axes[2] = {&xAxisImpl(), &yAxisImpl()};
    const double lo[2] = {gx_[i], gy_[j]}, hi[2] = {gx_[i + 1], gy_[j + 1]};
    for (int a = 0; a < 2; ++a) {
        for (const AxisTick& t : axes[a]->scale().getTicks()) {
            const int colorIndex = t.kind == TickKind::Major ? a : t.kind == TickKind::Minor ? 2 + a : -1;
            if (colorIndex < 0 || axisGrid_[colorIndex] == Chart::Transparent) continue;
            const double last = a == 0 ? gx_.size() - 2 : gy_.size() - 2;
            const int index = a == 0 ? i : j;
            // A tick on a shared edge belongs to the cell after it, the last edge to the last cell.
            if (!(t.value >= lo[a] && (t.value < hi[a] || (index == last && t.value == hi[a])))) continue;
            const double u = (t.value - lo[a]) / (hi[a] - lo[a]);
            auto mix = [u](const Point3D& p, const Point3D& q) {
                return Point3D{p.x + (q.x - p.x) * u, p.y + (q.y - p.y) * u, p.z + (q.z - p.z) * u};
            };
            if (a == 0)
                segment(d, mix(c.model[0], c.model[1]), mix(c.model[3], c.model[2]), axisGrid_[colorIndex]);
            else
                segment(d, mix(c.model[0], c.model[3]), mix(c.model[1], c.model[2]), axisGrid_[colorIndex]);
        }
    }
}

void SurfaceChartImpl::paintContours(DrawArea* d, const Cell& c) {
    static const int tris[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (const auto& tri : tris) {
        double lo = c.z[tri[0]], hi = lo;
        for (int k : tri) {
            lo = std::min(lo, c.z[k]);
            hi = std::max(hi, c.z[k]);
        }
        for (int kind = 0; kind < 2; ++kind) {
            if (contour_[kind] == Chart::Transparent) continue;
            const std::vector<double>& levels = levels_[kind];
            for (auto it = std::lower_bound(levels.begin(), levels.end(), lo); it != levels.end() && *it <= hi; ++it) {
                const double level = *it;
                Point3D ends[2];
                int found = 0;
                for (int e = 0; e < 3 && found < 2; ++e) {
                    const int p = tri[e], q = tri[(e + 1) % 3];
                    const double zp = c.z[p], zq = c.z[q];
                    if ((zp < level) == (zq < level) || zp == zq) continue;
                    const double u = (level - zp) / (zq - zp);
                    ends[found++] = {c.model[p].x + (c.model[q].x - c.model[p].x) * u,
                                     c.model[p].y + (c.model[q].y - c.model[p].y) * u,
                                     c.model[p].z + (c.model[q].z - c.model[p].z) * u};
                }
                if (found == 2) segment(d, ends[0], ends[1], contour_[kind]);
            }
        }
    }
}

void SurfaceChartImpl::paintCell(DrawArea* d, const Cell& c, int i, int j) {
    if (shadingMode_ == Chart::TriangularShading || shadingMode_ == Chart::TriangularFrame) {
        static const int tris[2][3] = {{0, 1, 2}, {0, 2, 3}};
        auto distance = [&](const int* t) {
            Point3D m{};
            for (int k = 0; k < 3; ++k) {
                m.x += c.model[t[k]].x / 3;
                m.y += c.model[t[k]].y / 3;
                m.z += c.model[t[k]].z / 3;
            }
            const Point3D v = eye_ - m;
            return dot(v, v);
        };
        const bool firstFarther = distance(tris[0]) >= distance(tris[1]);
        for (int n = 0; n < 2; ++n) {
            const int* t = tris[firstFarther ? n : 1 - n];
            const Point3D model[3] = {c.model[t[0]], c.model[t[1]], c.model[t[2]]};
            const Point3D shown[3] = {c.shown[t[0]], c.shown[t[1]], c.shown[t[2]]};
            const double z[3] = {c.z[t[0]], c.z[t[1]], c.z[t[2]]};
            fillFace(d, model, shown, z, 3, nullptr);
        }
    } else if (shadingMode_ == Chart::SmoothShading) {
        const double light[4] = {vertexLight(i, j), vertexLight(i + 1, j), vertexLight(i + 1, j + 1),
                                 vertexLight(i, j + 1)};
        fillFace(d, c.model, c.shown, c.z, 4, light);
    } else {
        fillFace(d, c.model, c.shown, c.z, 4, nullptr);
    }
    if (dataGrid_[0] != Chart::Transparent) {
        segment(d, c.model[0], c.model[3], dataGrid_[0]);
        segment(d, c.model[1], c.model[2], dataGrid_[0]);
    }
    if (dataGrid_[1] != Chart::Transparent) {
        segment(d, c.model[0], c.model[1], dataGrid_[1]);
        segment(d, c.model[3], c.model[2], dataGrid_[1]);
    }
    paintAxisGrid(d, c, i, j);
    paintContours(d, c);
}

void SurfaceChartImpl::paintContents(int) {
    const int nx = static_cast<int>(gx_.size()), ny = static_cast<int>(gy_.size());
    if (nx < 2 || ny < 2 || zAxisImpl().scale().isEmpty()) return;
    DrawArea* d = getRawDrawArea();
    eye_ = engine().eyeInModel();
    std::vector<double> mx(nx), mz(ny);
    for (int i = 0; i < nx; ++i) mx[i] = modelOf(gx_[i], gy_[0], 0).x;
    for (int j = 0; j < ny; ++j) mz[j] = modelOf(gx_[0], gy_[j], 0).z;
    model_.assign(gz_.size(), Point3D{});
    shown_.assign(gz_.size(), Point3D{});
    for (int j = 0; j < ny; ++j) {
        for (int i = 0; i < nx; ++i) {
            const size_t k = static_cast<size_t>(j) * nx + i;
            const double z = gz_[k];
            model_[k] = {mx[i], present(z) ? modelOf(gx_[0], gy_[0], z).y : std::nan(""), mz[j]};
            shown_[k] = engine().transformPoint(model_[k]);
        }
    }
    engine().setIntensity(ambient_, 1);
    engine().setLightDirection({-1, 1, 1});
    engine().setViewDirection({0, 0, 1});
    if (shadingMode_ == Chart::SmoothShading) {
        // Corner normals: the sum of the normals of the cells round the corner.
        std::vector<Point3D> normals(gz_.size());
        for (int j = 0; j + 1 < ny; ++j) {
            for (int i = 0; i + 1 < nx; ++i) {
                const size_t k[4] = {size_t(j) * nx + i, size_t(j) * nx + i + 1, size_t(j + 1) * nx + i + 1,
                                     size_t(j + 1) * nx + i};
                const Point3D q[4] = {model_[k[0]], model_[k[1]], model_[k[2]], model_[k[3]]};
                Point3D n = polygonNormal(q, 4);
                if (!std::isfinite(n.x + n.y + n.z)) continue;
                if (n.y < 0) n = {-n.x, -n.y, -n.z};
                for (size_t v : k) {
                    normals[v].x += n.x;
                    normals[v].y += n.y;
                    normals[v].z += n.z;
                }
            }
        }
        vertexLight_.resize(gz_.size());
        for (size_t v = 0; v < normals.size(); ++v) vertexLight_[v] = lightOn(normalised(normals[v]));
    }
    for (int kind = 0; kind < 2; ++kind) {
        levels_[kind].clear();
        for (const AxisTick& t : colorAxisImpl().scale().getTicks())
            if ((t.kind == TickKind::Major) == (kind == 0) && t.kind != TickKind::Micro)
                levels_[kind].push_back(t.value);
    }

    const std::vector<int> cols = farToNear(nx - 1, eye_.x, [&](int i) { return (mx[i] + mx[i + 1]) / 2; });
    const std::vector<int> rows = farToNear(ny - 1, eye_.z, [&](int j) { return (mz[j] + mz[j + 1]) / 2; });
    Cell c;
    for (int i : cols) {
        for (int j : rows) {
            const size_t k[4] = {size_t(j) * nx + i, size_t(j) * nx + i + 1, size_t(j + 1) * nx + i + 1,
                                 size_t(j + 1) * nx + i};
            bool whole = true;
            for (int n = 0; n < 4; ++n) {
                c.z[n] = gz_[k[n]];
                c.model[n] = model_[k[n]];
                c.shown[n] = shown_[k[n]];
                whole = whole && present(c.z[n]) && std::isfinite(c.shown[n].x + c.shown[n].y);
            }
            if (whole) paintCell(d, c, i, j);
        }
    }
}

}  // namespace plotvane

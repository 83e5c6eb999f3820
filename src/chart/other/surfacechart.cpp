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
// cells in front cover it like the surface itself. The cells go to the engine's paint list in this
// order, which the engine keeps. The order needs no depth buffer, so raster, SVG and PDF output
// show the same picture.
//
// A cell is one quadrilateral (rectangular and smooth shading) or two triangles split on a diagonal
// (triangular shading; the farther triangle first). Its colour is the colour axis's colour of its
// mean z; its brightness is ambient plus diffuse plus specular light from the viewer's upper left
// on its normal (Newell's, for cells that are not flat), or for smooth shading the mean of its
// corners' brightness from normals averaged over the cells round each corner. Smooth shading also
// splits a cell that is large on the picture and uneven in shade into smaller cells of the same
// bilinear patch, so colour and light run across it. The underside faces away from the viewer; it
// takes its own colour, its brightness factor, and light only if asked.
//
// Data may be gridded (z for each x of each y) or one point per (x, y, z) triple. Triples on a
// common grid at least half filled keep that grid; sparser ones are scattered points, joined into
// Delaunay triangles (made in the box's proportions, each axis's range scaled to one) and sampled
// linearly onto an even grid. Missing or non-finite z leaves holes: cells touching them are not
// drawn, and scattered data have none outside their points' convex hull. Interpolation resamples a
// grid evenly, by straight lines or by smooth curves, with the contour layer's sampling.
#include <plotvane/threedchart.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "chart/other/threedchart_p.h"
#include "chart/other/surfacegrid_p.h"

namespace plotvane {

namespace {

constexpr int kMaxSamples = 2000;
// Smooth shading splits a cell into at most kMaxSubcells a side, one per kShadeStep levels of colour
// between its corners, none smaller than kMinSubcell pixels.
constexpr int kMaxSubcells = 12;
constexpr int kShadeStep = 6;
constexpr double kMinSubcell = 3;

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
    void addContents(int farCorner) override;

private:
    struct Cell {
        int point[4];  // the engine's
        Point3D model[4];
        double z[4];
    };
    void buildGrid();
    void addCell(const Cell& c, int i, int j);
    void addSmoothCell(const Cell& c, const double* light);
    void addFace(const int* points, const double* z, int count, const double* cornerLight);
    double lightOn(const Point3D& modelNormal) const;
    void segment(const Point3D& a, const Point3D& b, int color);
    void addAxisGrid(const Cell& c, int i, int j);
    void addContours(const Cell& c);
    double vertexLight(int i, int j) const;

    SurfaceData data_;
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
    std::vector<double> vertexLight_;
    Point3D eye_;
    std::vector<double> levels_[2];
    struct GridTick {
        double value;
        int color;
    };
    std::vector<GridTick> gridTicks_[2];  // x, y; ascending
};

SurfaceChart* SurfaceChart::create(int width, int height, int bgColor, int edgeColor, int raisedEffect) {
    auto* c = new SurfaceChartImpl();
    c->setSize(width, height);
    c->setBackground(bgColor, edgeColor, raisedEffect);
    c->initSurface();
    return c;
}

void SurfaceChartImpl::setData(DoubleArray xData, DoubleArray yData, DoubleArray zData) {
    data_ = arrangeSurfaceData(xData, yData, zData);
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
    SurfaceGrid g = sampleSurface(data_, xSamples_, ySamples_, smoothInterpolation_);
    gx_ = std::move(g.xs);
    gy_ = std::move(g.ys);
    gz_ = std::move(g.z);
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

void SurfaceChartImpl::addFace(const int* points, const double* z, int count, const double* cornerLight) {
    Point3D model[4];
    double meanZ = 0;
    Point3D centre;
    for (int k = 0; k < count; ++k) {
        model[k] = engine().modelPoint(points[k]);
        meanZ += z[k] / count;
        centre.x += model[k].x / count;
        centre.y += model[k].y / count;
        centre.z += model[k].z / count;
    }
    Point3D n = polygonNormal(model, count);
    if (n.y < 0) n = {-n.x, -n.y, -n.z};  // the upper side
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
    engine().createSurface(points, count, color, edge, edge == color, PaintLayer::Contents);
}

void SurfaceChartImpl::segment(const Point3D& a, const Point3D& b, int color) {
    engine().createEdge(engine().createPoint(a), engine().createPoint(b), color, 1, PaintLayer::Contents, 0, 0, 0, true);
}

void SurfaceChartImpl::addAxisGrid(const Cell& c, int i, int j) {
    // Corners: 0 (i, j), 1 (i+1, j), 2 (i+1, j+1), 3 (i, j+1).
    const double lo[2] = {gx_[i], gy_[j]}, hi[2] = {gx_[i + 1], gy_[j + 1]};
    const bool last[2] = {i + 2 == static_cast<int>(gx_.size()), j + 2 == static_cast<int>(gy_.size())};
    for (int a = 0; a < 2; ++a) {
        const std::vector<GridTick>& ticks = gridTicks_[a];
        // A tick on a shared edge belongs to the cell after it, the last edge to the last cell.
        for (auto t = std::lower_bound(ticks.begin(), ticks.end(), lo[a],
                                       [](const GridTick& g, double v) { return g.value < v; });
             t != ticks.end() && (t->value < hi[a] || (last[a] && t->value == hi[a])); ++t) {
            const double u = (t->value - lo[a]) / (hi[a] - lo[a]);
            auto mix = [u](const Point3D& p, const Point3D& q) {
                return Point3D{p.x + (q.x - p.x) * u, p.y + (q.y - p.y) * u, p.z + (q.z - p.z) * u};
            };
            if (a == 0)
                segment(mix(c.model[0], c.model[1]), mix(c.model[3], c.model[2]), t->color);
            else
                segment(mix(c.model[0], c.model[3]), mix(c.model[1], c.model[2]), t->color);
        }
    }
}

void SurfaceChartImpl::addContours(const Cell& c) {
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
            if (levels.empty()) continue;
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
                if (found == 2) segment(ends[0], ends[1], contour_[kind]);
            }
        }
    }
}

// A cell whose corners differ in shade more than the eye can miss, and that is large enough on the
// picture, is painted as a grid of smaller cells over the same bilinear patch, each in the colour
// and light of its own centre: the colour then runs across the cell instead of stepping at its
// edges. The small cells are a height field too, so the far-to-near order holds inside the cell.
void SurfaceChartImpl::addSmoothCell(const Cell& c, const double* light) {
    ThreeDEngine& e = engine();
    double reach = 0;
    for (int k = 0; k < 4; ++k) {
        const Point3D& p = e.shownPoint(c.point[k]);
        const Point3D& q = e.shownPoint(c.point[(k + 1) % 4]);
        reach = std::max({reach, std::fabs(p.x - q.x), std::fabs(p.y - q.y)});
    }
    // Cells too small to split, as in any dense grid, need no look at their shades.
    if (reach < 2 * kMinSubcell) {
        addFace(c.point, c.z, 4, light);
        return;
    }
    int lowest[3] = {255, 255, 255}, highest[3] = {0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        const int shaded = shade(colorAxisImpl().getColor(c.z[k]), light[k]);
        for (int ch = 0; ch < 3; ++ch) {
            const int v = (shaded >> (8 * ch)) & 0xff;
            lowest[ch] = std::min(lowest[ch], v);
            highest[ch] = std::max(highest[ch], v);
        }
    }
    const int spread = std::max({highest[0] - lowest[0], highest[1] - lowest[1], highest[2] - lowest[2]});
    const int steps = std::clamp(std::min(spread / kShadeStep, static_cast<int>(reach / kMinSubcell)), 1, kMaxSubcells);
    if (steps == 1) {
        addFace(c.point, c.z, 4, light);
        return;
    }
    const int side = steps + 1;
    int point[(kMaxSubcells + 1) * (kMaxSubcells + 1)];
    double z[(kMaxSubcells + 1) * (kMaxSubcells + 1)], lit[(kMaxSubcells + 1) * (kMaxSubcells + 1)];
    for (int b = 0; b <= steps; ++b) {
        for (int a = 0; a <= steps; ++a) {
            const double s = double(a) / steps, t = double(b) / steps;
            const double w[4] = {(1 - s) * (1 - t), s * (1 - t), s * t, (1 - s) * t};
            Point3D m{};
            double zv = 0, lv = 0;
            for (int k = 0; k < 4; ++k) {
                m.x += w[k] * c.model[k].x;
                m.y += w[k] * c.model[k].y;
                m.z += w[k] * c.model[k].z;
                zv += w[k] * c.z[k];
                lv += w[k] * light[k];
            }
            const int v = b * side + a;
            point[v] = e.createPoint(m);
            z[v] = zv;
            lit[v] = lv;
        }
    }
    auto model = [&](int v) { return e.modelPoint(point[v]); };
    const std::vector<int> cols = farToNear(steps, eye_.x, [&](int a) { return (model(a).x + model(a + 1).x) / 2; });
    const std::vector<int> rows =
        farToNear(steps, eye_.z, [&](int b) { return (model(b * side).z + model((b + 1) * side).z) / 2; });
    for (int a : cols) {
        for (int b : rows) {
            const int v[4] = {b * side + a, b * side + a + 1, (b + 1) * side + a + 1, (b + 1) * side + a};
            const int qp[4] = {point[v[0]], point[v[1]], point[v[2]], point[v[3]]};
            const double qz[4] = {z[v[0]], z[v[1]], z[v[2]], z[v[3]]};
            const double ql[4] = {lit[v[0]], lit[v[1]], lit[v[2]], lit[v[3]]};
            addFace(qp, qz, 4, ql);
        }
    }
}

void SurfaceChartImpl::addCell(const Cell& c, int i, int j) {
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
            const int points[3] = {c.point[t[0]], c.point[t[1]], c.point[t[2]]};
            const double z[3] = {c.z[t[0]], c.z[t[1]], c.z[t[2]]};
            addFace(points, z, 3, nullptr);
        }
    } else if (shadingMode_ == Chart::SmoothShading) {
        const double light[4] = {vertexLight(i, j), vertexLight(i + 1, j), vertexLight(i + 1, j + 1),
                                 vertexLight(i, j + 1)};
        addSmoothCell(c, light);
    } else {
        addFace(c.point, c.z, 4, nullptr);
    }
    if (dataGrid_[0] != Chart::Transparent) {
        segment(c.model[0], c.model[3], dataGrid_[0]);
        segment(c.model[1], c.model[2], dataGrid_[0]);
    }
    if (dataGrid_[1] != Chart::Transparent) {
        segment(c.model[0], c.model[1], dataGrid_[1]);
        segment(c.model[3], c.model[2], dataGrid_[1]);
    }
    addAxisGrid(c, i, j);
    addContours(c);
}

// The grid's points go to the engine first, row by row, so that point (i, j) is first + j nx + i;
// cells then follow in painting order, each with what is drawn on it.
void SurfaceChartImpl::addContents(int) {
    const int nx = static_cast<int>(gx_.size()), ny = static_cast<int>(gy_.size());
    if (nx < 2 || ny < 2 || zAxisImpl().scale().isEmpty()) return;
    ThreeDEngine& e = engine();
    eye_ = e.eyeInModel();
    std::vector<double> mx(nx), mz(ny);
    for (int i = 0; i < nx; ++i) mx[i] = modelOf(gx_[i], gy_[0], 0).x;
    for (int j = 0; j < ny; ++j) mz[j] = modelOf(gx_[0], gy_[j], 0).z;
    e.commitTransform();
    int first = -1;
    for (int j = 0; j < ny; ++j) {
        for (int i = 0; i < nx; ++i) {
            const double z = gz_[static_cast<size_t>(j) * nx + i];
            const int k = e.createPoint({mx[i], present(z) ? modelOf(gx_[0], gy_[0], z).y : std::nan(""), mz[j]});
            if (first < 0) first = k;
        }
    }
    e.commitTransform();
    auto vertex = [first](size_t k) { return first + static_cast<int>(k); };
    e.setIntensity(ambient_, 1);
    e.setLightDirection({-1, 1, 1});
    e.setViewDirection({0, 0, 1});
    if (shadingMode_ == Chart::SmoothShading) {
        // Corner normals: the sum of the normals of the cells round the corner.
        std::vector<Point3D> normals(gz_.size());
        for (int j = 0; j + 1 < ny; ++j) {
            for (int i = 0; i + 1 < nx; ++i) {
                const size_t k[4] = {size_t(j) * nx + i, size_t(j) * nx + i + 1, size_t(j + 1) * nx + i + 1,
                                     size_t(j + 1) * nx + i};
                const Point3D q[4] = {e.modelPoint(vertex(k[0])), e.modelPoint(vertex(k[1])),
                                      e.modelPoint(vertex(k[2])), e.modelPoint(vertex(k[3]))};
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
        if (contour_[kind] == Chart::Transparent) continue;
        for (const AxisTick& t : colorAxisImpl().scale().getTicks())
            if ((t.kind == TickKind::Major) == (kind == 0) && t.kind != TickKind::Micro)
                levels_[kind].push_back(t.value);
    }
    const AxisImpl* gridAxes[2] = {&xAxisImpl(), &yAxisImpl()};
    for (int a = 0; a < 2; ++a) {
        gridTicks_[a].clear();
        for (const AxisTick& t : gridAxes[a]->scale().getTicks()) {
            const int colorIndex = t.kind == TickKind::Major ? a : t.kind == TickKind::Minor ? 2 + a : -1;
            if (colorIndex >= 0 && axisGrid_[colorIndex] != Chart::Transparent)
                gridTicks_[a].push_back({t.value, axisGrid_[colorIndex]});
        }
        std::sort(gridTicks_[a].begin(), gridTicks_[a].end(),
                  [](const GridTick& p, const GridTick& q) { return p.value < q.value; });
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
                c.point[n] = vertex(k[n]);
                c.z[n] = gz_[k[n]];
                c.model[n] = e.modelPoint(c.point[n]);
                const Point3D& shown = e.shownPoint(c.point[n]);
                whole = whole && present(c.z[n]) && std::isfinite(e.toDisplayX(shown) + e.toDisplayY(shown));
            }
            if (whole) addCell(c, i, j);
        }
    }
}

}  // namespace plotvane

// The contour layer: z values at (x, y) points coloured through its colour axis, with contour lines
// at the axis's ticks.
//
// The data are arranged once: points that form a full grid (in any order) are interpolated cell
// by cell; any other set of points is triangulated and interpolated over its triangles. Painting
// samples the interpolated surface at every pixel of the plot area (or four times per pixel when
// exact band edges are asked for) and colours each sample by the axis, so the bands meet without
// cracks whatever the cells or triangles. The result is one picture merged into the drawing.
//
// Contour lines are traced on the very samples that were coloured, so each line runs along the
// edge of its band; with exact lines a linear grid is traced on its own cells instead, which is
// independent of the output's resolution. Lines are drawn only for levels strictly inside the
// range of the data: a level at the lowest or highest value would trace single points.
#include "chart/xy/contourlayer_p.h"

#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

#include "chart/xy/delaunay_p.h"
#include "chart/xy/xychart_p.h"

namespace plotvane {

namespace {

// Pixels sampled per side at most; larger plot areas are cut to the drawing surface anyway.
constexpr int kMaxSide = 20000;

std::vector<double> normalized(XYChartImpl* chart, DoubleArray a) {
    DoubleArray v = chart->filterData(a);
    std::vector<double> out;
    if (!v.data) return out;
    out.assign(v.data, v.data + v.len);
    for (double& d : out)
        if (!std::isfinite(d)) d = Chart::NoValue;
    return out;
}

void widen(double v, double& lo, double& hi) {
    if (v == Chart::NoValue) return;
    if (lo == Chart::NoValue || v < lo) lo = v;
    if (hi == Chart::NoValue || v > hi) hi = v;
}

// Drops the points of a polyline that lie within a tenth of a pixel of the straight run they are
// in: a line traced on pixels has a point at every pixel it crosses, most of them on a straight run.
void simplify(std::vector<double>& pts) {
    constexpr double kTolerance = 0.1;
    constexpr size_t kMaxRun = 64;
    size_t n = pts.size() / 2;
    if (n < 3) return;
    std::vector<double> out{pts[0], pts[1]};
    size_t anchor = 0;
    while (anchor + 1 < n) {
        size_t end = anchor + 1;
        for (size_t next = anchor + 2; next < n && next - anchor <= kMaxRun; ++next) {
            double ax = pts[2 * anchor], ay = pts[2 * anchor + 1];
            double dx = pts[2 * next] - ax, dy = pts[2 * next + 1] - ay;
            double len = std::hypot(dx, dy);
            bool straight = len > 0;
            for (size_t k = anchor + 1; k < next && straight; ++k)
                straight = std::fabs((pts[2 * k] - ax) * dy - (pts[2 * k + 1] - ay) * dx) <= kTolerance * len;
            if (!straight) break;
            end = next;
        }
        out.push_back(pts[2 * end]);
        out.push_back(pts[2 * end + 1]);
        anchor = end;
    }
    pts.swap(out);
}

int averageColor(const int c[4]) {
    unsigned out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        unsigned sum = 0;
        for (int k = 0; k < 4; ++k) sum += (static_cast<unsigned>(c[k]) >> shift) & 0xffu;
        out |= ((sum + 2) / 4) << shift;
    }
    return static_cast<int>(out);
}

}  // namespace

ContourLayer::~ContourLayer() = default;

ContourLayerImpl::ContourLayerImpl(XYChartImpl* chart) : axis_(std::make_unique<ColorAxisImpl>(chart)) {}

void ContourLayerImpl::setPoints(DoubleArray xData, DoubleArray yData) {
    x_ = normalized(chart(), xData);
    y_ = normalized(chart(), yData);
    dirty_ = true;
}

void ContourLayerImpl::setZData(DoubleArray zData) {
    z_ = normalized(chart(), zData);
    dirty_ = true;
}

void ContourLayerImpl::setZBounds(double minZ, double maxZ) {
    auto open = [](double v) { return v == Chart::NoValue || v == Chart::DataBound || !std::isfinite(v); };
    zLow_ = open(minZ) ? Chart::NoValue : minZ;
    zHigh_ = open(maxZ) ? Chart::NoValue : maxZ;
    if (zLow_ != Chart::NoValue && zHigh_ != Chart::NoValue && zLow_ > zHigh_) std::swap(zLow_, zHigh_);
    dirty_ = true;
}

void ContourLayerImpl::setContourColor(int contourColor, int minorContourColor) {
    if (contourColor != -1) contourColor_ = contourColor;
    if (minorContourColor != -1) minorContourColor_ = minorContourColor;
}

void ContourLayerImpl::setContourWidth(int contourWidth, int minorContourWidth) {
    if (contourWidth >= 0) contourWidth_ = std::min(contourWidth, 1000);
    if (minorContourWidth >= 0) minorContourWidth_ = std::min(minorContourWidth, 1000);
}

void ContourLayerImpl::setExactContour(bool contour, bool markContour) {
    exactFill_ = contour;
    exactLines_ = markContour;
}

ColorAxis* ContourLayerImpl::setColorAxis(int x, int y, int alignment, int length, int orientation) {
    axis_->setAxisPos(x, y, alignment);
    axis_->setLength(length);
    axis_->setSide(orientation);
    return axis_.get();
}

double ContourLayerImpl::zBounded(double z) const {
    if (z == Chart::NoValue) return z;
    if (zLow_ != Chart::NoValue) z = std::max(z, zLow_);
    if (zHigh_ != Chart::NoValue) z = std::min(z, zHigh_);
    return z;
}

const ContourLayerImpl::Prepared& ContourLayerImpl::prepared() {
    if (!dirty_) return prepared_;
    dirty_ = false;
    Prepared p;
    size_t n = std::min({x_.size(), y_.size(), z_.size()});
    p.minX = p.maxX = p.minY = p.maxY = p.minZ = p.maxZ = Chart::NoValue;
    p.posMinX = p.negMaxX = p.posMinY = p.negMaxY = Chart::NoValue;
    for (size_t k = 0; k < n; ++k) {
        if (x_[k] == Chart::NoValue || y_[k] == Chart::NoValue) continue;
        p.x.push_back(x_[k]);
        p.y.push_back(y_[k]);
        p.z.push_back(zBounded(z_[k]));
        widen(x_[k], p.minX, p.maxX);
        widen(y_[k], p.minY, p.maxY);
        widen(p.z.back(), p.minZ, p.maxZ);
        if (x_[k] > 0 && (p.posMinX == Chart::NoValue || x_[k] < p.posMinX)) p.posMinX = x_[k];
        if (x_[k] < 0 && (p.negMaxX == Chart::NoValue || x_[k] > p.negMaxX)) p.negMaxX = x_[k];
        if (y_[k] > 0 && (p.posMinY == Chart::NoValue || y_[k] < p.posMinY)) p.posMinY = y_[k];
        if (y_[k] < 0 && (p.negMaxY == Chart::NoValue || y_[k] > p.negMaxY)) p.negMaxY = y_[k];
    }
    p.isGrid = arrangeAsGrid(p.x, p.y, p.z, p.grid);
    if (p.isGrid) {
        // The grid holds everything painting needs.
        p.x = p.y = p.z = std::vector<double>();
    } else {
        p.triangles = delaunayTriangles(p.x, p.y);
    }
    prepared_ = std::move(p);
    return prepared_;
}

void ContourLayerImpl::extent(bool alongX, double& lo, double& hi) {
    const Prepared& p = prepared();
    lo = alongX ? p.minX : p.minY;
    hi = alongX ? p.maxX : p.maxY;
    if (!heatMap_ || !p.isGrid || lo == Chart::NoValue) return;
    const std::vector<double>& v = alongX ? p.grid.xs : p.grid.ys;
    lo -= v.size() > 1 ? (v[1] - v[0]) / 2 : 0.5;
    hi += v.size() > 1 ? (v[v.size() - 1] - v[v.size() - 2]) / 2 : 0.5;
}

double ContourLayerImpl::getMinX() {
    double lo, hi;
    extent(true, lo, hi);
    return lo;
}

double ContourLayerImpl::getMaxX() {
    double lo, hi;
    extent(true, lo, hi);
    return hi;
}

double ContourLayerImpl::getPosMinX() { return prepared().posMinX; }
double ContourLayerImpl::getNegMaxX() { return prepared().negMaxX; }

double ContourLayerImpl::getMinY(const AxisImpl* axis) {
    if (axis != layerYAxis()) return Chart::NoValue;
    double lo, hi;
    extent(false, lo, hi);
    return lo;
}

double ContourLayerImpl::getMaxY(const AxisImpl* axis) {
    if (axis != layerYAxis()) return Chart::NoValue;
    double lo, hi;
    extent(false, lo, hi);
    return hi;
}

double ContourLayerImpl::getPosMinY(const AxisImpl* axis) {
    return axis == layerYAxis() ? prepared().posMinY : Chart::NoValue;
}

double ContourLayerImpl::getNegMaxY(const AxisImpl* axis) {
    return axis == layerYAxis() ? prepared().negMaxY : Chart::NoValue;
}

void ContourLayerImpl::layoutChart() {
    LayerImpl::layoutChart();
    const Prepared& p = prepared();
    PlotAreaImpl& plot = chart()->plotArea();
    int length = axis_->isVertical() ? plot.getHeight() : plot.getWidth();
    axis_->setDefaultPlace(plot.getRightX() + 10, plot.getTopY(), Chart::TopLeft, length);
    axis_->layoutScale(p.minZ, p.maxZ);
}

bool ContourLayerImpl::sampleField(int left, int top, int width, int height, double step, PixelField& field) {
    const Prepared& p = prepared();
    AxisImpl* xa = xAxis();
    AxisImpl* ya = layerYAxis();
    bool colsAreX = !xa->isVertical();
    AxisImpl* across = colsAreX ? xa : ya;
    AxisImpl* down = colsAreX ? ya : xa;
    double offset = step < 1 ? -step / 2 : 0;
    std::vector<double> cols(static_cast<size_t>(width)), rows(static_cast<size_t>(height));
    for (int i = 0; i < width; ++i) cols[static_cast<size_t>(i)] = across->valueAt(left + offset + i * step);
    for (int j = 0; j < height; ++j) rows[static_cast<size_t>(j)] = down->valueAt(top + offset + j * step);
    if (p.isGrid) {
        GridMethod method = heatMap_ ? GridMethod::Cells : smooth_ ? GridMethod::Smooth : GridMethod::Linear;
        sampleGrid(p.grid, method, cols, rows, colsAreX, field);
        return true;
    }
    if (p.triangles.empty()) return false;
    field.width = width;
    field.height = height;
    field.z.assign(static_cast<size_t>(width) * static_cast<size_t>(height), Chart::NoValue);
    std::vector<double> c(p.x.size()), r(p.x.size());
    for (size_t k = 0; k < p.x.size(); ++k) {
        double px = xa->pixelOf(p.x[k]), py = ya->pixelOf(p.y[k]);
        double sx = colsAreX ? px : py, sy = colsAreX ? py : px;
        c[k] = sx == Chart::NoValue ? NAN : (sx - left - offset) / step;
        r[k] = sy == Chart::NoValue ? NAN : (sy - top - offset) / step;
    }
    sampleTriangles(p.triangles, c, r, p.z, field);
    return true;
}

void ContourLayerImpl::paintFill(DrawArea* d, int left, int top, int width, int height) {
    double step = exactFill_ ? 0.5 : 1;
    int fine = exactFill_ ? 2 : 1;
    PixelField field;
    if (!sampleField(left, top, width * fine, height * fine, step, field)) return;
    if (const ColorMapper* m = axis_->mapper()) {
        std::vector<int> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), Chart::Transparent);
        auto colorAt = [&](size_t i) { return field.z[i] == Chart::NoValue ? Chart::Transparent : m->getColor(field.z[i]); };
        bool any = false;
        for (int j = 0; j < height; ++j) {
            for (int i = 0; i < width; ++i) {
                int c;
                if (fine == 1) {
                    c = colorAt(static_cast<size_t>(j) * width + i);
                } else {
                    size_t w = static_cast<size_t>(field.width);
                    size_t a = static_cast<size_t>(2 * j) * w + 2 * i;
                    int four[4] = {colorAt(a), colorAt(a + 1), colorAt(a + w), colorAt(a + w + 1)};
                    c = averageColor(four);
                }
                pixels[static_cast<size_t>(j) * width + i] = c;
                any = any || c != Chart::Transparent;
            }
        }
        if (any) {
            fills_.push_back(std::move(pixels));
            const std::vector<int>& kept = fills_.back();
            d->merge(IntArray(kept.data(), static_cast<int>(kept.size())), width, left, top);
        }
    }
    traceLines(field, left, top, step);
}

void ContourLayerImpl::traceLines(const PixelField& field, int left, int top, double step) {
    levels_.clear();
    const Prepared& p = prepared();
    bool majorShows = contourColor_ != Chart::Transparent && contourWidth_ >= 1;
    int minorColor = minorContourColor_ == -1 ? contourColor_ : minorContourColor_;
    int minorWidth = minorContourWidth_ < 0 ? contourWidth_ : minorContourWidth_;
    bool minorShows = minorColor != Chart::Transparent && minorWidth >= 1;
    if (heatMap_ || p.minZ == Chart::NoValue || (!majorShows && !minorShows)) return;
    std::vector<double> values;
    for (const AxisTick& t : axis_->scale().getTicks()) {
        if (!(t.value > p.minZ && t.value < p.maxZ)) continue;
        values.push_back(t.value);
        levels_.push_back({t.value, t.kind == TickKind::Major, {}});
    }
    if (values.empty()) return;
    std::vector<std::vector<IsoLine>> lines;
    AxisImpl* xa = xAxis();
    bool onCells = exactLines_ && p.isGrid && !smooth_;
    if (onCells) {
        // Grid positions in screen pixels; the tracer's first coordinate follows the data's x.
        std::vector<double> xs(p.grid.xs.size()), ys(p.grid.ys.size());
        for (size_t i = 0; i < xs.size(); ++i) xs[i] = xa->pixelOf(p.grid.xs[i]);
        for (size_t j = 0; j < ys.size(); ++j) ys[j] = layerYAxis()->pixelOf(p.grid.ys[j]);
        IsoGrid g{static_cast<int>(xs.size()), static_cast<int>(ys.size()), p.grid.z.data(), xs.data(), ys.data()};
        lines = traceIsoLines(g, values);
        if (xa->isVertical())
            for (auto& level : lines)
                for (IsoLine& l : level)
                    for (size_t k = 0; k + 1 < l.points.size(); k += 2) std::swap(l.points[k], l.points[k + 1]);
    } else {
        std::vector<double> xs(static_cast<size_t>(field.width)), ys(static_cast<size_t>(field.height));
        double offset = step < 1 ? -step / 2 : 0;
        for (size_t i = 0; i < xs.size(); ++i) xs[i] = left + offset + static_cast<double>(i) * step;
        for (size_t j = 0; j < ys.size(); ++j) ys[j] = top + offset + static_cast<double>(j) * step;
        IsoGrid g{field.width, field.height, field.z.data(), xs.data(), ys.data()};
        lines = traceIsoLines(g, values);
    }
    for (size_t k = 0; k < levels_.size(); ++k) {
        for (IsoLine& l : lines[k]) simplify(l.points);
        levels_[k].lines = std::move(lines[k]);
    }
}

void ContourLayerImpl::paintLines(DrawArea* d) {
    for (const Level& level : levels_) {
        int color = level.major || minorContourColor_ == -1 ? contourColor_ : minorContourColor_;
        int width = level.major || minorContourWidth_ < 0 ? contourWidth_ : minorContourWidth_;
        if (color == Chart::Transparent || width < 1) continue;
        for (const IsoLine& l : level.lines) {
            d->initLineTo();
            for (size_t k = 2; k + 1 < l.points.size(); k += 2)
                d->lineTo(l.points[k - 2], l.points[k - 1], l.points[k], l.points[k + 1], color, width);
        }
    }
    d->initLineTo();
}

void ContourLayerImpl::paint(DrawArea* d) {
    PlotAreaImpl& plot = chart()->plotArea();
    int left = std::max(plot.getLeftX(), 0);
    int top = std::max(plot.getTopY(), 0);
    int right = std::min(plot.getRightX(), d->getWidth() - 1);
    int bottom = std::min(plot.getBottomY(), d->getHeight() - 1);
    int width = std::min(right - left + 1, kMaxSide);
    int height = std::min(bottom - top + 1, kMaxSide);
    levels_.clear();
    if (width < 1 || height < 1 || prepared().minZ == Chart::NoValue) return;
    paintFill(d, left, top, width, height);
    paintLines(d);
}

void ContourLayerImpl::postPaint(DrawArea* d) {
    LayerImpl::postPaint(d);
    axis_->paintAxis(d);
}

ContourLayer* XYChartImpl::addContourLayer(DoubleArray xData, DoubleArray yData, DoubleArray zData) {
    auto* layer = new ContourLayerImpl(this);
    addLayer(layer);
    plotArea().setScaleMode(PlotAreaImpl::kContourMode);
    layer->setPoints(xData, yData);
    layer->setZData(zData);
    return layer;
}

}  // namespace plotvane

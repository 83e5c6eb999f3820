// The 3D frame: view, walls, wall grids and axes.
//
// The box is [0, W] x [0, H] x [0, D] in model space (x across, y up, z in depth), centred on the
// origin before it is turned by M = Rz(-twist) Rx(-elevation) Ry(rotation). Its eight corners are
// numbered by one bit per dimension; the corner that ends up deepest is the farthest from the
// viewer, and the three box faces that meet there are the walls, each extruded outwards by its
// thickness. Which faces of an extrusion show is decided against the viewer's position in model
// space, so it holds with and without perspective.
//
// Each axis runs along a box edge that touches none of the walls' far sides: the x axis along the
// near edge of the floor, the y axis along its side edge, the z axis up the side corner that is
// leftmost on the picture (or rightmost, when asked). Labels sit off the edge in the direction
// away from the box's centre on the picture.
#include "chart/other/threedchart_p.h"

#include <plotvane/chart.h>

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kEdgeBrightness[3] = {0.75, 0.55, 0.45};
// The mark id of the axes; chart types number their own marks from 0.
constexpr int kAxesMark = -1;

double& at(Point3D& p, int dim) { return dim == 0 ? p.x : dim == 1 ? p.y : p.z; }
double at(const Point3D& p, int dim) { return dim == 0 ? p.x : dim == 1 ? p.y : p.z; }

void axisDefaults(AxisImpl& a, int titleAlignment) {
    a.setAutoScale(0, 0, 0);
    a.setTickDensity(50, 10);
    a.setLabelStyle("", 8, Chart::TextColor, 0)->setMargin(2, 2, 0, 0);
    a.setTitle("", "bold", 8, Chart::TextColor)->setAlignment(titleAlignment);
    a.setLabelGap(3);
    a.setTickLength(0, 0);
    a.setSide(Chart::Bottom);
}

// The box alignment that puts a text on the side of its anchor that direction (ux, uy) points to.
int alignmentToward(double ux, double uy) {
    const int col = ux > 0.3 ? 0 : ux < -0.3 ? 2 : 1;
    const int row = uy > 0.3 ? 0 : uy < -0.3 ? 2 : 1;
    static const int codes[3][3] = {{Chart::TopLeft, Chart::TopCenter, Chart::TopRight},
                                    {Chart::Left, Chart::Center, Chart::Right},
                                    {Chart::BottomLeft, Chart::BottomCenter, Chart::BottomRight}};
    return codes[row][col];
}

}  // namespace

ThreeDChartImpl::ThreeDChartImpl()
    : x_(std::make_unique<AxisImpl>(this, Chart::Bottom)),
      y_(std::make_unique<AxisImpl>(this, Chart::Bottom)),
      z_(std::make_unique<AxisImpl>(this, Chart::Bottom)),
      color_(std::make_unique<ColorAxisImpl>(this)) {
    axisDefaults(*x_, Chart::Center);
    axisDefaults(*y_, Chart::Center);
    axisDefaults(*z_, Chart::Left);
    z_->setTickDensity(20, -1);
    color_->syncAxis(z_.get(), 1, 0);
    color_->setSide(Chart::Right);
    color_->setAxisBorder(Chart::Transparent, Chart::cylinderEffect(Chart::Center, 0.5, 0.5, 0.75, 8));
    color_->setLength(-1);
}

ThreeDChartImpl::~ThreeDChartImpl() = default;

void ThreeDChartImpl::initFrame() {
    const int w = getWidth(), h = getHeight();
    setPlotRegion(w / 2, h / 2, w / 2, w / 2, h / 2);
}

void ThreeDChartImpl::setPlotRegion(int cx, int cy, int xWidth, int yDepth, int zHeight) {
    cx_ = cx;
    cy_ = cy;
    xWidth_ = std::max(xWidth, 0);
    yDepth_ = std::max(yDepth, 0);
    zHeight_ = std::max(zHeight, 0);
}

void ThreeDChartImpl::setViewAngle(double elevation, double rotation, double twist) {
    auto usable = [](double v) { return v != Chart::NoValue && std::isfinite(v); };
    if (usable(elevation)) elevation_ = elevation;
    if (usable(rotation)) rotation_ = -rotation;
    if (usable(twist)) twist_ = twist;
}

void ThreeDChartImpl::setPerspective(double perspective) {
    if (perspective != Chart::NoValue && std::isfinite(perspective)) perspective_ = std::max(perspective, 0.0);
}

ColorAxis* ThreeDChartImpl::setColorAxis(int x, int y, int alignment, int length, int orientation) {
    color_->setAxisPos(x, y, alignment);
    color_->setLength(length);
    color_->setSide(orientation);
    return color_.get();
}

void ThreeDChartImpl::setWallVisibility(bool xyVisible, bool yzVisible, bool zxVisible) {
    wallVisible_[0] = xyVisible;
    wallVisible_[1] = yzVisible;
    wallVisible_[2] = zxVisible;
}

void ThreeDChartImpl::setWallColor(int xyColor, int yzColor, int zxColor, int borderColor) {
    if (yzColor == -1) yzColor = xyColor;
    if (zxColor == -1) zxColor = yzColor;
    const int colors[3] = {xyColor, yzColor, zxColor};
    for (int i = 0; i < 3; ++i)
        if (colors[i] != -1) wallColor_[i] = colors[i];
    if (borderColor != -1) wallBorder_ = borderColor;
}

void ThreeDChartImpl::setWallThickness(int xyThickness, int yzThickness, int zxThickness) {
    if (yzThickness == -1) yzThickness = xyThickness;
    if (zxThickness == -1) zxThickness = yzThickness;
    const int t[3] = {xyThickness, yzThickness, zxThickness};
    for (int i = 0; i < 3; ++i)
        if (t[i] >= 0) wallThickness_[i] = std::min(t[i], 10000);
}

void ThreeDChartImpl::setWallGrid(int majorX, int majorY, int majorZ, int minorX, int minorY, int minorZ) {
    if (majorY == -1) majorY = majorX;
    if (majorZ == -1) majorZ = majorY;
    if (minorX == -1) minorX = majorX;
    if (minorY == -1) minorY = majorY;
    if (minorZ == -1) minorZ = majorZ;
    const int major[3] = {majorX, majorY, majorZ}, minor[3] = {minorX, minorY, minorZ};
    for (int i = 0; i < 3; ++i) {
        if (major[i] != -1) majorGrid_[i] = major[i];
        if (minor[i] != -1) minorGrid_[i] = minor[i];
    }
}

Point3D ThreeDChartImpl::modelOf(double x, double y, double z) const {
    auto coor = [](const AxisImpl& a, double v) {
        if (v == Chart::NoValue || !std::isfinite(v) || a.scale().isEmpty()) return std::nan("");
        const double c = a.coorOf(v);
        return c == Chart::NoValue ? std::nan("") : c;
    };
    return {coor(*x_, x), coor(*z_, z), yDepth_ - coor(*y_, y)};
}

int ThreeDChartImpl::getXCoor(double x, double y, double z) {
    const double v = engine_.toDisplayX(engine_.transformPoint(modelOf(x, y, z)));
    return std::isfinite(v) ? static_cast<int>(std::floor(std::clamp(v, -1e9, 1e9) + 0.5)) : 0;
}

int ThreeDChartImpl::getYCoor(double x, double y, double z) {
    const double v = engine_.toDisplayY(engine_.transformPoint(modelOf(x, y, z)));
    return std::isfinite(v) ? static_cast<int>(std::floor(std::clamp(v, -1e9, 1e9) + 0.5)) : 0;
}

void ThreeDChartImpl::onLayoutChart() {
    engine_ = ThreeDEngine();
    engine_.setTranslate(-xWidth_ / 2.0, -zHeight_ / 2.0, -yDepth_ / 2.0);
    double e = elevation_;
    if (e == 90) e = 89.999;
    if (e == 270) e = 269.999;
    const double a = -e * kPi / 180, r = -rotation_ * kPi / 180, t = -twist_ * kPi / 180;
    const double rz[3][3] = {{std::cos(t), std::sin(t), 0}, {-std::sin(t), std::cos(t), 0}, {0, 0, 1}};
    const double rx[3][3] = {{1, 0, 0}, {0, std::cos(a), std::sin(a)}, {0, -std::sin(a), std::cos(a)}};
    const double ry[3][3] = {{std::cos(r), 0, -std::sin(r)}, {0, 1, 0}, {std::sin(r), 0, std::cos(r)}};
    double zx[3][3] = {}, m[3][3] = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) zx[i][j] += rz[i][k] * rx[k][j];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) m[i][j] += zx[i][k] * ry[k][j];
    engine_.setTransform(m);
    if (perspective_ > 0) {
        const double p = perspective_ / 100;
        engine_.setPerspective(0.5 * std::hypot(xWidth_, yDepth_) * (1 + p) / p);
    }
    engine_.setDisplayScale(1, -1, cx_, cy_);

    // By default the colour axis stands to the right of the box's picture.
    double top = 1e9, right = -1e9;
    for (int i = 0; i < 8; ++i) {
        const Point3D t3 = engine_.transformPoint(corner(i));
        right = std::max(right, engine_.toDisplayX(t3));
        top = std::min(top, engine_.toDisplayY(t3));
    }
    color_->setDefaultPlace(static_cast<int>(right) + 30, static_cast<int>(top), Chart::TopLeft, zHeight_);

    x_->place(0, 0, xWidth_);
    y_->place(0, 0, yDepth_);
    z_->place(0, 0, zHeight_);
    layoutContents();
}

Point3D ThreeDChartImpl::corner(int index) const {
    return {index & 1 ? double(xWidth_) : 0.0, index & 2 ? double(zHeight_) : 0.0, index & 4 ? double(yDepth_) : 0.0};
}

int ThreeDChartImpl::farthestCorner() const {
    int far = 0;
    double depth = 1e300;
    for (int i = 0; i < 8; ++i) {
        const double z = engine_.transformPoint(corner(i)).z;
        if (z < depth) {
            depth = z;
            far = i;
        }
    }
    return far;
}

void ThreeDChartImpl::wallFace(const Point3D* p, int edgeColor, int fillColor) {
    int points[4];
    for (int i = 0; i < 4; ++i) points[i] = engine_.createPoint(p[i]);
    engine_.createSurface(points, 4, fillColor, edgeColor, false, PaintLayer::Walls);
}

void ThreeDChartImpl::gridLine(Point3D a, Point3D b, int color) {
    engine_.createEdge(engine_.createPoint(a), engine_.createPoint(b), color, 1, PaintLayer::WallGrid);
}

// Walls by the dimension they are perpendicular to: the floor (xy) across the upright, the yz wall
// across x, the zx wall across depth.
void ThreeDChartImpl::addWalls(int far) {
    static const int wallDim[3] = {1, 0, 2};
    const double size[3] = {double(xWidth_), double(zHeight_), double(yDepth_)};
    const Point3D eye = engine_.eyeInModel();
    for (int w = 0; w < 3; ++w) {
        const int t = wallThickness_[w];
        if (!wallVisible_[w] || t <= 0) continue;
        const int dim = wallDim[w];
        const bool high = far & (dim == 0 ? 1 : dim == 1 ? 2 : 4);
        Point3D lo{0, 0, 0}, hi{size[0], size[1], size[2]};
        if (high) {
            at(lo, dim) = size[dim];
            at(hi, dim) = size[dim] + t;
        } else {
            at(lo, dim) = -t;
            at(hi, dim) = 0;
        }
        for (int fd = 0; fd < 3; ++fd) {
            for (int side = 0; side < 2; ++side) {
                Point3D centre{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
                at(centre, fd) = side ? at(hi, fd) : at(lo, fd);
                const double toEye = at(eye, fd) - at(centre, fd);
                if (side ? toEye <= 0 : toEye >= 0) continue;
                const int u = (fd + 1) % 3, v = (fd + 2) % 3;
                Point3D q[4];
                for (int k = 0; k < 4; ++k) {
                    q[k] = centre;
                    at(q[k], u) = (k == 1 || k == 2) ? at(hi, u) : at(lo, u);
                    at(q[k], v) = k >= 2 ? at(hi, v) : at(lo, v);
                }
                const int color = fd == dim ? wallColor_[w] : adjustBrightness(wallColor_[w], kEdgeBrightness[fd]);
                wallFace(q, wallBorder_, color);
            }
        }
    }
    for (int w = 0; w < 3; ++w) {
        if (!wallVisible_[w]) continue;
        const int dim = wallDim[w];
        const bool high = far & (dim == 0 ? 1 : dim == 1 ? 2 : 4);
        const int u = (dim + 1) % 3, v = (dim + 2) % 3;
        Point3D q[4];
        for (int k = 0; k < 4; ++k) {
            at(q[k], dim) = high ? size[dim] : 0;
            at(q[k], u) = (k == 1 || k == 2) ? size[u] : 0;
            at(q[k], v) = k >= 2 ? size[v] : 0;
        }
        wallFace(q, wallBorder_, wallColor_[w]);
    }
}

void ThreeDChartImpl::addWallGrid(int far) {
    const double size[3] = {double(xWidth_), double(zHeight_), double(yDepth_)};
    // Model dimension of each data axis, its grid colours' index, and the walls it crosses.
    struct GridAxis {
        AxisImpl* axis;
        int dim;
        int colorIndex;
    };
    const GridAxis gridAxes[3] = {{x_.get(), 0, 0}, {z_.get(), 1, 2}, {y_.get(), 2, 1}};
    static const int wallDim[3] = {1, 0, 2};
    for (int minorPass = 1; minorPass >= 0; --minorPass) {
        for (const GridAxis& s : gridAxes) {
            if (s.axis->scale().isEmpty()) continue;
            const int color = minorPass ? minorGrid_[s.colorIndex] : majorGrid_[s.colorIndex];
            for (const AxisTick& tick : s.axis->scale().getTicks()) {
                if ((tick.kind == TickKind::Major) == bool(minorPass)) continue;
                if (tick.kind == TickKind::Micro) continue;
                double c = s.axis->coorOf(tick.value);
                if (c == Chart::NoValue || !std::isfinite(c)) continue;
                if (s.dim == 2) c = yDepth_ - c;
                for (int w = 0; w < 3; ++w) {
                    const int dim = wallDim[w];
                    if (!wallVisible_[w] || dim == s.dim) continue;
                    const bool high = far & (dim == 0 ? 1 : dim == 1 ? 2 : 4);
                    const int other = 3 - dim - s.dim;
                    Point3D a, b;
                    at(a, dim) = at(b, dim) = high ? size[dim] : 0;
                    at(a, s.dim) = at(b, s.dim) = c;
                    at(a, other) = 0;
                    at(b, other) = size[other];
                    gridLine(a, b, color);
                }
            }
        }
    }
}

void ThreeDChartImpl::paintAxisAlong(DrawArea* d, AxisImpl& axis, int dim, Point3D from, Point3D to) {
    if (axis.scale().isEmpty()) return;
    const Point3D c = engine_.transformPoint({xWidth_ / 2.0, zHeight_ / 2.0, yDepth_ / 2.0});
    const Point3D ta = engine_.transformPoint(from), tb = engine_.transformPoint(to);
    const double ax = engine_.toDisplayX(ta), ay = engine_.toDisplayY(ta);
    const double bx = engine_.toDisplayX(tb), by = engine_.toDisplayY(tb);
    double ux = (ax + bx) / 2 - engine_.toDisplayX(c), uy = (ay + by) / 2 - engine_.toDisplayY(c);
    const double len = std::hypot(ux, uy);
    if (!(len > 0)) return;
    ux /= len;
    uy /= len;
    d->line(ax, ay, bx, by, axis.axisColor(), 1);
    const int align = alignmentToward(ux, uy);
    const double gap = axis.labelGap();
    double extent = 0;
    for (const AxisTick& tick : axis.scale().getTicks()) {
        if (tick.kind != TickKind::Major) continue;
        const char* text = axis.getLabel(tick.value);
        double cv = axis.coorOf(tick.value);
        if (!text || !*text || cv == Chart::NoValue || !std::isfinite(cv)) continue;
        Point3D p = from;
        at(p, dim) = dim == 2 ? yDepth_ - cv : cv;
        const Point3D tp = engine_.transformPoint(p);
        const auto box = axis.labelStyle().copyWith(text, 0, 0, Chart::TopLeft);
        if (!box->isVisible()) continue;
        box->setPos(static_cast<int>(std::lround(engine_.toDisplayX(tp) + ux * gap)),
                    static_cast<int>(std::lround(engine_.toDisplayY(tp) + uy * gap)));
        box->setAlignment(align);
        extent = std::max(extent, std::fabs(ux) * box->getWidth() + std::fabs(uy) * box->getHeight());
        box->paint(d);
    }
    const std::string& title = axis.titleStyle().text();
    if (title.empty()) return;
    const double reach = gap + extent + 4;
    const auto box = axis.titleStyle().copyWith(title, 0, 0, Chart::TopLeft);
    box->setPos(static_cast<int>(std::lround((ax + bx) / 2 + ux * reach)),
                static_cast<int>(std::lround((ay + by) / 2 + uy * reach)));
    box->setAlignment(alignmentToward(ux, uy));
    box->paint(d);
}

void ThreeDChartImpl::paintAxes(DrawArea* d, int far) {
    const double size[3] = {double(xWidth_), double(zHeight_), double(yDepth_)};
    const bool fx = far & 1, fv = far & 2, fd = far & 4;
    const double floorY = fv ? size[1] : 0;
    const double nearD = fd ? 0 : size[2], nearX = fx ? 0 : size[0];
    paintAxisAlong(d, *x_, 0, {0, floorY, nearD}, {size[0], floorY, nearD});
    paintAxisAlong(d, *y_, 2, {nearX, floorY, 0}, {nearX, floorY, size[2]});
    // The z axis stands on one of the two side corners of the floor, beside the walls.
    const Point3D first{fx ? size[0] : 0, 0, nearD}, second{nearX, 0, fd ? size[2] : 0};
    const double firstX = engine_.toDisplayX(engine_.transformPoint(first));
    const double secondX = engine_.toDisplayX(engine_.transformPoint(second));
    const bool wantRight = zAxisPos_ == Chart::Right;
    const Point3D base = (firstX <= secondX) != wantRight ? first : second;
    paintAxisAlong(d, *z_, 1, base, {base.x, size[1], base.z});
}

void ThreeDChartImpl::onPaint() {
    DrawArea* d = getRawDrawArea();
    const int far = farthestCorner();
    addWalls(far);
    addWallGrid(far);
    // Axes lie on edges the contents may stand in front of.
    engine_.createMark(kAxesMark, PaintLayer::Axes);
    addContents(far);
    engine_.commitTransform();
    engine_.paint(d, [&](int id) {
        if (id == kAxesMark)
            paintAxes(d, far);
        else
            paintMark(d, id);
    });
    color_->paintAxis(d);
}

}  // namespace plotvane

#include "chart/other/threedengine_p.h"

#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace plotvane {

namespace {

// Walls and cells have four corners, triangles three.
constexpr int kMaxCorners = 8;

}  // namespace

Point3D normalised(const Point3D& v) {
    const double len = std::sqrt(dot(v, v));
    if (!(len > 0) || !std::isfinite(len)) return v;
    return {v.x / len, v.y / len, v.z / len};
}

Point3D polygonNormal(const Point3D* p, int count) {
    Point3D n;
    for (int i = 0; i < count; ++i) {
        const Point3D& a = p[i];
        const Point3D& b = p[(i + 1) % count];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return normalised(n);
}

void ThreeDEngine::setTransform(const double m[3][3]) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) m_[r][c] = m[r][c];
    // Cofactors of M are the transpose of its inverse times the determinant.
    double cof[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            cof[r][c] = m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1];
        }
    }
    const double det = m[0][0] * cof[0][0] + m[0][1] * cof[0][1] + m[0][2] * cof[0][2];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) n_[r][c] = det != 0 ? cof[r][c] / det : m[c][r];
}

void ThreeDEngine::setDisplayScale(double sx, double sy, double ox, double oy) {
    sx_ = sx;
    sy_ = sy;
    ox_ = ox;
    oy_ = oy;
}

void ThreeDEngine::setLightDirection(Point3D v) { light_ = normalised(v); }
void ThreeDEngine::setViewDirection(Point3D v) { view_ = normalised(v); }

void ThreeDEngine::setIntensity(double ambient, double light) {
    ambient_ = ambient;
    intensity_ = light;
}

Point3D ThreeDEngine::transformVector(Point3D v) const {
    return {m_[0][0] * v.x + m_[0][1] * v.y + m_[0][2] * v.z, m_[1][0] * v.x + m_[1][1] * v.y + m_[1][2] * v.z,
            m_[2][0] * v.x + m_[2][1] * v.y + m_[2][2] * v.z};
}

Point3D ThreeDEngine::transformPoint(Point3D p) const {
    Point3D t = transformVector({p.x + translate_.x, p.y + translate_.y, p.z + translate_.z});
    if (distance_ < 1e6) {
        const double f = distance_ == t.z ? 100 : distance_ / (distance_ - t.z);
        t.x *= f;
        t.y *= f;
    }
    return t;
}

Point3D ThreeDEngine::transformNormal(Point3D n) const {
    return normalised({n_[0][0] * n.x + n_[0][1] * n.y + n_[0][2] * n.z,
                       n_[1][0] * n.x + n_[1][1] * n.y + n_[1][2] * n.z,
                       n_[2][0] * n.x + n_[2][1] * n.y + n_[2][2] * n.z});
}

Point3D ThreeDEngine::eyeInModel() const {
    // M is a rotation, so its transpose takes the viewer back into model space.
    const double d = distance_ < 1e6 ? distance_ : 1e9;
    return {m_[2][0] * d - translate_.x, m_[2][1] * d - translate_.y, m_[2][2] * d - translate_.z};
}

double ThreeDEngine::computeBrightness(const Point3D& n, double ambient, double diffuse, double specular,
                                       double shininess) const {
    double b = ambient * ambient_;
    const double d = dot(n, light_);
    if ((d < 0 && diffuse >= 0) || (d > 0 && diffuse < 0)) return b;
    b += diffuse * d * intensity_;
    const Point3D r{2 * d * n.x - light_.x, 2 * d * n.y - light_.y, 2 * d * n.z - light_.z};
    const double q = dot(r, view_);
    if (q > 0) b += intensity_ * std::pow(q, shininess) * specular;
    return b;
}

int ThreeDEngine::createPoint(Point3D model) {
    model_.push_back(model);
    return static_cast<int>(model_.size()) - 1;
}

void ThreeDEngine::commitTransform() {
    for (size_t k = shown_.size(); k < model_.size(); ++k) shown_.push_back(transformPoint(model_[k]));
}

void ThreeDEngine::createEdge(int a, int b, int color, int width, PaintLayer layer, double key, int dx, int dy,
                              bool overlapping) {
    edges_.push_back({a, b, color, width, dx, dy, overlapping});
    items_.push_back({Item::Edge, layer, key, static_cast<int>(edges_.size()) - 1});
}

void ThreeDEngine::createSurface(const int* points, int count, int fillColor, int edgeColor, bool seamless,
                                 PaintLayer layer, double key) {
    if (count < 3 || count > kMaxCorners) return;
    surfaces_.push_back({static_cast<int>(corners_.size()), count, fillColor, edgeColor, seamless});
    corners_.insert(corners_.end(), points, points + count);
    items_.push_back({Item::Surface, layer, key, static_cast<int>(surfaces_.size()) - 1});
}

void ThreeDEngine::createMark(int id, PaintLayer layer, double key) { items_.push_back({Item::Mark, layer, key, id}); }

void ThreeDEngine::clearItems() {
    edges_.clear();
    surfaces_.clear();
    corners_.clear();
    items_.clear();
}

std::vector<size_t> ThreeDEngine::paintOrder() const {
    std::vector<size_t> order(items_.size());
    std::iota(order.begin(), order.end(), size_t(0));
    auto before = [this](size_t a, size_t b) {
        const Item &p = items_[a], &q = items_[b];
        return p.layer != q.layer ? p.layer < q.layer : p.key < q.key;
    };
    // A surface chart makes its many cells in order already.
    if (!std::is_sorted(order.begin(), order.end(), before)) std::stable_sort(order.begin(), order.end(), before);
    return order;
}

void ThreeDEngine::paintItem(DrawArea* d, const Item& item) const {
    if (item.kind == Item::Edge) {
        const Edge3D& e = edges_[static_cast<size_t>(item.index)];
        const Point3D &a = shown_[static_cast<size_t>(e.a)], &b = shown_[static_cast<size_t>(e.b)];
        double ax = toDisplayX(a) + e.dx, ay = toDisplayY(a) + e.dy, bx = toDisplayX(b) + e.dx, by = toDisplayY(b) + e.dy;
        const double len = std::hypot(bx - ax, by - ay);
        if (e.overlapping && len > 0) {
            const double ux = 0.5 * (bx - ax) / len, uy = 0.5 * (by - ay) / len;
            ax -= ux;
            ay -= uy;
            bx += ux;
            by += uy;
        }
        d->line(ax, ay, bx, by, e.color, e.width);
        return;
    }
    const Surface3D& s = surfaces_[static_cast<size_t>(item.index)];
    double xs[kMaxCorners], ys[kMaxCorners], cx = 0, cy = 0;
    const int count = s.count;
    for (int k = 0; k < count; ++k) {
        const Point3D& p = shown_[static_cast<size_t>(corners_[static_cast<size_t>(s.first + k)])];
        xs[k] = toDisplayX(p);
        ys[k] = toDisplayY(p);
        cx += xs[k] / count;
        cy += ys[k] / count;
    }
    if (s.seamless) {
        // Half a pixel of overlap hides the seams between neighbours at a fraction of the cost of
        // stroking every edge.
        for (int k = 0; k < count; ++k) {
            const double dx = xs[k] - cx, dy = ys[k] - cy, len = std::hypot(dx, dy);
            if (len > 0) {
                xs[k] += 0.5 * dx / len;
                ys[k] += 0.5 * dy / len;
            }
        }
    }
    // polygonEx records one plain polygon, far cheaper than an edge-by-edge shape.
    d->polygonEx(DoubleArray(xs, count), DoubleArray(ys, count), s.seamless ? Chart::Transparent : s.edgeColor,
                 s.fillColor);
}

}  // namespace plotvane

// Delaunay triangulation of scattered points (Bowyer-Watson).
//
// Takes points; gives triangles whose circumcircles hold no other point, which keeps them as
// close to equilateral as the points allow: linear interpolation over them is then the least
// surprising surface through scattered data, and it needs no grid.
//
// The points are scaled into the unit square and inserted one at a time into a large triangle
// that encloses them all. Each insertion finds the triangle that holds the new point by walking
// across neighbours from the last triangle made, removes every triangle whose circumcircle holds
// the point (a connected cavity grown from that triangle), and fans new triangles from the point to
// the cavity's rim. Inserting the points in a snaking order of horizontal strips keeps every walk
// short, so the whole costs about n^1.5 for n points at worst and far less for even scatter.
//
// Rounding can make the circumcircle tests disagree with each other near degenerate (cocircular
// or collinear) points; the cavity is then grown until the point sees every rim edge from inside,
// which keeps the mesh valid (no overlaps, no gaps) even where it is not exactly Delaunay. The
// triangles that use a corner of the enclosing triangle are dropped at the end; with the corners
// far away, what is left covers the convex hull of the points but for slivers along nearly straight
// stretches of the hull.
#include "chart/xy/delaunay_p.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace plotvane {

namespace {

struct Tri {
    int v[3];
    int n[3];  // n[k]: the triangle across the edge opposite v[k]; -1 none
    bool alive;
};

class Mesh {
public:
    Mesh(std::vector<double> x, std::vector<double> y) : x_(std::move(x)), y_(std::move(y)) {}

    void run(const std::vector<int>& order, int super);
    std::vector<std::array<int, 3>> result(int realCount) const;

private:
    double orient(int a, int b, double px, double py) const {
        return (x_[b] - x_[a]) * (py - y_[a]) - (y_[b] - y_[a]) * (px - x_[a]);
    }
    bool inCircle(const Tri& t, double px, double py) const;
    int locate(double px, double py);
    void insert(int p);
    int newTri(int a, int b, int c);

    std::vector<double> x_, y_;
    std::vector<Tri> tris_;
    std::vector<int> free_;
    int last_ = 0;
    std::vector<int> mark_;  // insertion number of the cavity a triangle was put in
    int stamp_ = 0;
    std::vector<int> startAt_;  // new triangle by the first rim vertex of its rim edge
    std::vector<int> cavity_;
};

bool Mesh::inCircle(const Tri& t, double px, double py) const {
    double ax = x_[t.v[0]] - px, ay = y_[t.v[0]] - py;
    double bx = x_[t.v[1]] - px, by = y_[t.v[1]] - py;
    double cx = x_[t.v[2]] - px, cy = y_[t.v[2]] - py;
    double det = (ax * ax + ay * ay) * (bx * cy - cx * by) - (bx * bx + by * by) * (ax * cy - cx * ay) +
                 (cx * cx + cy * cy) * (ax * by - bx * ay);
    return det > 0;
}

int Mesh::newTri(int a, int b, int c) {
    Tri t{{a, b, c}, {-1, -1, -1}, true};
    if (!free_.empty()) {
        int id = free_.back();
        free_.pop_back();
        tris_[static_cast<size_t>(id)] = t;
        return id;
    }
    tris_.push_back(t);
    mark_.push_back(0);
    return static_cast<int>(tris_.size()) - 1;
}

int Mesh::locate(double px, double py) {
    int t = last_;
    if (t < 0 || t >= static_cast<int>(tris_.size()) || !tris_[static_cast<size_t>(t)].alive) t = -1;
    for (size_t steps = 0; t >= 0 && steps < tris_.size(); ++steps) {
        const Tri& tri = tris_[static_cast<size_t>(t)];
        int next = -1;
        // Starting the edge checks at a varying edge keeps the walk from circling.
        for (int k = 0; k < 3 && next < 0; ++k) {
            int e = static_cast<int>((steps + static_cast<size_t>(k)) % 3);
            if (orient(tri.v[(e + 1) % 3], tri.v[(e + 2) % 3], px, py) < 0) next = tri.n[e];
        }
        if (next < 0) {
            bool inside = true;
            for (int e = 0; e < 3; ++e) inside = inside && orient(tri.v[(e + 1) % 3], tri.v[(e + 2) % 3], px, py) >= 0;
            if (inside) return t;
            break;
        }
        t = next;
    }
    for (size_t k = 0; k < tris_.size(); ++k) {
        const Tri& tri = tris_[k];
        if (!tri.alive) continue;
        bool inside = true;
        for (int e = 0; e < 3; ++e) inside = inside && orient(tri.v[(e + 1) % 3], tri.v[(e + 2) % 3], px, py) >= 0;
        if (inside) return static_cast<int>(k);
    }
    return -1;
}

void Mesh::insert(int p) {
    double px = x_[p], py = y_[p];
    int seed = locate(px, py);
    if (seed < 0) return;
    const Tri& s = tris_[static_cast<size_t>(seed)];
    for (int v : s.v)
        if (x_[v] == px && y_[v] == py) return;  // a repeated point
    ++stamp_;
    cavity_.assign(1, seed);
    mark_[static_cast<size_t>(seed)] = stamp_;
    for (size_t k = 0; k < cavity_.size(); ++k) {
        const Tri t = tris_[static_cast<size_t>(cavity_[k])];
        for (int u : t.n) {
            if (u < 0 || mark_[static_cast<size_t>(u)] == stamp_) continue;
            if (inCircle(tris_[static_cast<size_t>(u)], px, py)) {
                mark_[static_cast<size_t>(u)] = stamp_;
                cavity_.push_back(u);
            }
        }
    }
    // Grow the cavity until the point sees every rim edge from inside.
    for (bool grown = true; grown;) {
        grown = false;
        for (size_t k = 0; k < cavity_.size() && !grown; ++k) {
            const Tri& t = tris_[static_cast<size_t>(cavity_[k])];
            for (int e = 0; e < 3; ++e) {
                int u = t.n[e];
                if (u >= 0 && mark_[static_cast<size_t>(u)] == stamp_) continue;
                if (orient(t.v[(e + 1) % 3], t.v[(e + 2) % 3], px, py) > 0) continue;
                if (u < 0) return;  // cannot happen inside the enclosing triangle; leave the point out
                mark_[static_cast<size_t>(u)] = stamp_;
                cavity_.push_back(u);
                grown = true;
                break;
            }
        }
    }
    struct Rim {
        int a, b, outside;
    };
    std::vector<Rim> rim;
    for (int c : cavity_) {
        const Tri& t = tris_[static_cast<size_t>(c)];
        for (int e = 0; e < 3; ++e) {
            int u = t.n[e];
            if (u >= 0 && mark_[static_cast<size_t>(u)] == stamp_) continue;
            rim.push_back({t.v[(e + 1) % 3], t.v[(e + 2) % 3], u});
        }
    }
    for (int c : cavity_) {
        tris_[static_cast<size_t>(c)].alive = false;
        free_.push_back(c);
    }
    std::vector<int> made;
    made.reserve(rim.size());
    for (const Rim& r : rim) {
        int id = newTri(p, r.a, r.b);
        mark_[static_cast<size_t>(id)] = 0;
        made.push_back(id);
        startAt_[static_cast<size_t>(r.a)] = id;
        Tri& t = tris_[static_cast<size_t>(id)];
        t.n[0] = r.outside;
        if (r.outside >= 0) {
            Tri& o = tris_[static_cast<size_t>(r.outside)];
            for (int e = 0; e < 3; ++e)
                if (o.v[(e + 1) % 3] == r.b && o.v[(e + 2) % 3] == r.a) o.n[e] = id;
        }
    }
    for (int id : made) {
        Tri& t = tris_[static_cast<size_t>(id)];
        t.n[1] = startAt_[static_cast<size_t>(t.v[2])];  // across (b, p)
    }
    for (int id : made) {
        Tri& t = tris_[static_cast<size_t>(id)];
        int next = t.n[1];
        if (next >= 0) tris_[static_cast<size_t>(next)].n[2] = id;  // across (p, a) of the next one
    }
    last_ = made.empty() ? last_ : made.back();
}

void Mesh::run(const std::vector<int>& order, int super) {
    startAt_.assign(x_.size(), -1);
    last_ = newTri(super, super + 1, super + 2);
    for (int p : order) insert(p);
}

std::vector<std::array<int, 3>> Mesh::result(int realCount) const {
    std::vector<std::array<int, 3>> out;
    for (const Tri& t : tris_) {
        if (!t.alive || t.v[0] >= realCount || t.v[1] >= realCount || t.v[2] >= realCount) continue;
        out.push_back({t.v[0], t.v[1], t.v[2]});
    }
    return out;
}

}  // namespace

std::vector<std::array<int, 3>> delaunayTriangles(const std::vector<double>& x, const std::vector<double>& y) {
    size_t n = std::min(x.size(), y.size());
    if (n < 3) return {};
    double minX = x[0], maxX = x[0], minY = y[0], maxY = y[0];
    for (size_t i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) return {};
        minX = std::min(minX, x[i]);
        maxX = std::max(maxX, x[i]);
        minY = std::min(minY, y[i]);
        maxY = std::max(maxY, y[i]);
    }
    double scale = std::max(maxX - minX, maxY - minY);
    if (!(scale > 0) || !std::isfinite(scale)) return {};
    std::vector<double> ux(n + 3), uy(n + 3);
    for (size_t i = 0; i < n; ++i) {
        ux[i] = (x[i] - minX) / scale;
        uy[i] = (y[i] - minY) / scale;
    }
    const double far = 1000;
    ux[n] = -far;
    uy[n] = -far;
    ux[n + 1] = far;
    uy[n + 1] = -far;
    ux[n + 2] = 0.5;
    uy[n + 2] = far;

    int strips = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n) / 4)));
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    auto stripOf = [&](int i) { return std::min(static_cast<int>(uy[static_cast<size_t>(i)] * strips), strips - 1); };
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        int sa = stripOf(a), sb = stripOf(b);
        if (sa != sb) return sa < sb;
        double xa = ux[static_cast<size_t>(a)], xb = ux[static_cast<size_t>(b)];
        return sa % 2 ? xa > xb : xa < xb;
    });
    Mesh mesh(std::move(ux), std::move(uy));
    mesh.run(order, static_cast<int>(n));
    return mesh.result(static_cast<int>(n));
}

}  // namespace plotvane

#ifndef PLOTVANE_TESTS_CHART_THREEDVIEW_H
#define PLOTVANE_TESTS_CHART_THREEDVIEW_H

// The 3D charts' view worked out on its own, for tests to check the engine against.

#include <cmath>

namespace threedview {

constexpr double kPi = 3.14159265358979;

struct V3 {
    double x, y, z;
};
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double dotp(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The view worked out on its own: the box centred on the origin, turned about the upright by the
// rotation, tilted by the elevation, seen from a viewer on +z at the perspective distance.
struct View {
    double m[3][3];
    double centre[3];  // box half sizes, moved to the origin
    double distance;   // 0: parallel
    double cx, cy;

    View(double elevation, double rotation, double perspective, double cxIn, double cyIn, double w, double d,
         double h)
        : centre{w / 2, h / 2, d / 2}, cx(cxIn), cy(cyIn) {
        const double e = -elevation * kPi / 180, r = rotation * kPi / 180;
        const double rx[3][3] = {{1, 0, 0}, {0, std::cos(e), std::sin(e)}, {0, -std::sin(e), std::cos(e)}};
        const double ry[3][3] = {{std::cos(r), 0, -std::sin(r)}, {0, 1, 0}, {std::sin(r), 0, std::cos(r)}};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                m[i][j] = 0;
                for (int k = 0; k < 3; ++k) m[i][j] += rx[i][k] * ry[k][j];
            }
        const double p = perspective / 100;
        distance = p > 0 ? 0.5 * std::hypot(w, d) * (1 + p) / p : 0;
    }
    V3 toView(V3 q) const {
        const double a[3] = {q.x - centre[0], q.y - centre[1], q.z - centre[2]};
        return {m[0][0] * a[0] + m[0][1] * a[1] + m[0][2] * a[2], m[1][0] * a[0] + m[1][1] * a[1] + m[1][2] * a[2],
                m[2][0] * a[0] + m[2][1] * a[1] + m[2][2] * a[2]};
    }
    V3 toModel(V3 v) const {
        return {m[0][0] * v.x + m[1][0] * v.y + m[2][0] * v.z + centre[0],
                m[0][1] * v.x + m[1][1] * v.y + m[2][1] * v.z + centre[1],
                m[0][2] * v.x + m[1][2] * v.y + m[2][2] * v.z + centre[2]};
    }
    void screen(V3 q, double& sx, double& sy) const {
        const V3 v = toView(q);
        const double f = distance > 0 ? distance / (distance - v.z) : 1;
        sx = cx + v.x * f;
        sy = cy - v.y * f;
    }
    // Where the line of sight through screen point (sx, sy) meets the plane through p with normal
    // n (view space); false when it runs along the plane. Returns the view-space depth.
    bool hit(double sx, double sy, V3 p, V3 n, double& depth, V3& at) const {
        const double X = sx - cx, Y = cy - sy;
        // Points of the ray: (X s, Y s, z) with s = (d - z) / d, or s = 1 without perspective.
        double z;
        if (distance > 0) {
            const double a = n.x * X / distance + n.y * Y / distance;
            const double denom = n.z - a;
            if (std::fabs(denom) < 1e-12) return false;
            z = (dotp(n, p) - n.x * X - n.y * Y) / denom;
        } else {
            if (std::fabs(n.z) < 1e-12) return false;
            z = (dotp(n, p) - n.x * X - n.y * Y) / n.z;
        }
        const double s = distance > 0 ? (distance - z) / distance : 1;
        depth = z;
        at = {X * s, Y * s, z};
        return true;
    }
};

}  // namespace threedview

#endif

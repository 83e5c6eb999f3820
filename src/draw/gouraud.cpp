// Gouraud-shaded triangles for 3D surfaces.
//
// Consumes three vertices with a brightness factor each and a colour; produces, per pixel of the
// triangle's bounding box, a 4 x 4 sample coverage mask and the colour adjusted by the brightness
// interpolated at the pixel centre. Fully covered pixels are blended directly; partly covered ones
// go to the super-pixel pool, so neighbouring triangles that share an edge fill complementary
// samples and the seam disappears on commit. Samples on an edge belong to the triangle for which
// the edge is a top or left edge, so shared edges are never counted twice.
#include "draw/gouraud_p.h"

#include <algorithm>
#include <cmath>

#include "draw/canvas_p.h"

namespace plotvane {

namespace {

struct EdgeFn {
    double a, b, c;
    bool topLeft;
    double at(double x, double y) const { return a * x + b * y + c; }
    bool inside(double x, double y) const {
        const double e = at(x, y);
        return e > 0 || (e == 0 && topLeft);
    }
};

EdgeFn edgeFn(double x0, double y0, double x1, double y1) {
    EdgeFn e{y0 - y1, x1 - x0, x0 * y1 - x1 * y0, false};
    e.topLeft = e.a > 0 || (e.a == 0 && e.b < 0);
    return e;
}

}  // namespace

void gouraudTriangle(Canvas& cv, const double v[9], uint32_t color) {
    for (int i = 0; i < 9; ++i)
        if (!std::isfinite(v[i])) return;
    double x[3] = {v[0], v[3], v[6]}, y[3] = {v[1], v[4], v[7]}, br[3] = {v[2], v[5], v[8]};
    const double area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    if (area == 0 || color == kTransparent) return;
    if (area < 0) {
        std::swap(x[1], x[2]);
        std::swap(y[1], y[2]);
        std::swap(br[1], br[2]);
    }
    const EdgeFn e[3] = {edgeFn(x[1], y[1], x[2], y[2]), edgeFn(x[2], y[2], x[0], y[0]),
                         edgeFn(x[0], y[0], x[1], y[1])};
    const double norm = std::fabs(area);
    const double bx0 = std::max<double>(cv.clip.left, std::floor(std::min({x[0], x[1], x[2]})));
    const double bx1 = std::min<double>(cv.clip.right, std::floor(std::max({x[0], x[1], x[2]})));
    const double by0 = std::max<double>(cv.clip.top, std::floor(std::min({y[0], y[1], y[2]})));
    const double by1 = std::min<double>(cv.clip.bottom, std::floor(std::max({y[0], y[1], y[2]})));
    if (!(bx0 <= bx1 && by0 <= by1)) return;
    for (int py = static_cast<int>(by0); py <= static_cast<int>(by1); ++py) {
        for (int px = static_cast<int>(bx0); px <= static_cast<int>(bx1); ++px) {
            uint32_t mask = 0;
            for (int k = 0; k < 16; ++k) {
                const double sx = px + ((k & 3) + 0.5) / 4, sy = py + ((k >> 2) + 0.5) / 4;
                if (e[0].inside(sx, sy) && e[1].inside(sx, sy) && e[2].inside(sx, sy)) mask |= 1u << k;
            }
            if (mask == 0) continue;
            const double cx = px + 0.5, cy = py + 0.5;
            const double w0 = std::clamp(e[0].at(cx, cy) / norm, 0.0, 1.0),
                         w1 = std::clamp(e[1].at(cx, cy) / norm, 0.0, 1.0);
            const double w2 = std::clamp(1 - w0 - w1, 0.0, 1.0);
            const double b = br[0] * w0 + br[1] * w1 + br[2] * w2;
            uint32_t c = Canvas::isCode(color) ? cv.colorAt(color, px, py) : color;
            c = rawColorAdjustBrightness(c, static_cast<int>(std::lround(std::clamp(b, -1e6, 1e6) * 1024)));
            uint32_t& word = cv.pixels()[cv.index(px, py)];
            if (mask == 0xffffu || !cv.antiAlias()) {
                if (mask == 0xffffu || __builtin_popcount(mask) >= 8) cv.blendInto(word, c);
            } else if (!cv.superPixels.append(word, c, mask)) {
                cv.blendInto(word, withCoverage(c, static_cast<uint32_t>(__builtin_popcount(mask))));
            }
        }
    }
}

}  // namespace plotvane

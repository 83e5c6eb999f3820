// Image warps: every destination pixel is mapped back to a source point and sampled with the
// chosen resampling filter. The mapping is all a warp is; the sampling, the background for points
// beyond the picture and the buffer swap are shared.
//
// Sphere and cylinders map the picture onto the visible half of the solid (arcsine of the
// normalised position); triangles squeeze each row (or column) towards the apex; shear slants the
// picture into a canvas grown to hold it; a wave displaces pixels along (longitudinal) or across
// its direction by amplitude * sin(2 pi s / period + start angle).
#include "draw/warp_p.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "draw/canvas_p.h"
#include "draw/resample_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr int kMaxSide = 32768;
// Warps beyond this many pixels are refused: they would take seconds and gigabytes.
constexpr long long kMaxPixels = 1LL << 24;

int side(int v) {
    return std::clamp(v, 1, kMaxSide);
}

}  // namespace

bool warp(Canvas& cv, int width, int height, const WarpMap& map, uint32_t bg, int filter, double blur) {
    if (static_cast<long long>(width) * height > kMaxPixels) return false;
    cv.commitSuperPixels();
    try {
        std::vector<uint32_t> out(static_cast<size_t>(width) * static_cast<size_t>(height));
        const Sampler sampler(cv.buffer(), cv.width(), cv.height(), filter, blur);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                double sx = 0, sy = 0;
                map(x, y, sx, sy);
                const uint32_t b = Canvas::isCode(bg) ? canonical(cv.colorAt(bg, x, y)) : canonical(bg);
                out[static_cast<size_t>(y) * width + x] = sampler.at(sx, sy, b);
            }
        cv.adopt(std::move(out), width, height);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void affineWarp(Canvas& cv, const double m[6], uint32_t bg, int filter, double blur) {
    for (int i = 0; i < 6; ++i)
        if (!std::isfinite(m[i])) return;
    warp(
        cv, cv.width(), cv.height(),
        [m](int x, int y, double& sx, double& sy) {
            sx = m[0] * x + m[1] * y + m[2];
            sy = m[3] * x + m[4] * y + m[5];
        },
        bg, filter, blur);
}

void sphereWarp(Canvas& cv, int xDiameter, int yDiameter, uint32_t bg, int filter, double blur) {
    const int w = side(xDiameter), h = side(yDiameter);
    const double sw = cv.width(), sh = cv.height();
    warp(
        cv, w, h,
        [=](int x, int y, double& sx, double& sy) {
            const double nx = (x + 0.5) / w * 2 - 1, ny = (y + 0.5) / h * 2 - 1;
            if (nx * nx + ny * ny > 1) {
                sx = sy = -1e9;
                return;
            }
            const double lx = nx / std::sqrt(std::max(1e-12, 1 - ny * ny));
            sx = (0.5 + std::asin(std::clamp(lx, -1.0, 1.0)) / kPi) * sw - 0.5;
            sy = (0.5 + std::asin(ny) / kPi) * sh - 0.5;
        },
        bg, filter, blur);
}

void cylinderWarp(Canvas& cv, bool horizontal, int diameter, uint32_t bg, int filter, double blur) {
    const int w = horizontal ? cv.width() : side(diameter), h = horizontal ? side(diameter) : cv.height();
    const double sw = cv.width(), sh = cv.height();
    warp(
        cv, w, h,
        [=](int x, int y, double& sx, double& sy) {
            if (horizontal) {
                sx = x;
                sy = (0.5 + std::asin((y + 0.5) / h * 2 - 1) / kPi) * sh - 0.5;
            } else {
                sy = y;
                sx = (0.5 + std::asin((x + 0.5) / w * 2 - 1) / kPi) * sw - 0.5;
            }
        },
        bg, filter, blur);
}

void triangleWarp(Canvas& cv, bool vertical, int size, uint32_t bg, int filter, double blur) {
    const int w = vertical ? cv.width() : side(size), h = vertical ? side(size) : cv.height();
    const double sw = cv.width(), sh = cv.height();
    warp(
        cv, w, h,
        [=](int x, int y, double& sx, double& sy) {
            if (vertical) {
                const double frac = (y + 0.5) / h, half = frac * w / 2, mid = w / 2.0;
                sx = ((x + 0.5 - (mid - half)) / (2 * half)) * sw - 0.5;
                sy = frac * sh - 0.5;
            } else {
                const double frac = (x + 0.5) / w, half = frac * h / 2, mid = h / 2.0;
                sy = ((y + 0.5 - (mid - half)) / (2 * half)) * sh - 0.5;
                sx = frac * sw - 0.5;
            }
        },
        bg, filter, blur);
}

void shearWarp(Canvas& cv, double xShear, double yShear, uint32_t bg, int filter, double blur) {
    if (!(std::isfinite(xShear) && std::isfinite(yShear))) return;
    xShear = std::clamp(xShear, -16.0, 16.0);
    yShear = std::clamp(yShear, -16.0, 16.0);
    const double sw = cv.width(), sh = cv.height();
    const int w = side(static_cast<int>(std::ceil(sw + std::fabs(xShear) * sh)));
    const int h = side(static_cast<int>(std::ceil(sh + std::fabs(yShear) * sw)));
    const double ox = xShear < 0 ? -xShear * sh : 0, oy = yShear < 0 ? -yShear * sw : 0;
    const double det = 1 - xShear * yShear;
    if (std::fabs(det) < 1e-9) return;
    warp(
        cv, w, h,
        [=](int x, int y, double& sx, double& sy) {
            const double u = x - ox, v = y - oy;
            sx = (u - xShear * v) / det;
            sy = (v - yShear * u) / det;
        },
        bg, filter, blur);
}

void waveWarp(Canvas& cv, int period, double amplitude, double direction, double startAngle,
              bool longitudinal, uint32_t bg, int filter, double blur) {
    if (period == 0 || !(std::isfinite(amplitude) && std::isfinite(direction) && std::isfinite(startAngle)))
        return;
    const double a = direction * kPi / 180, ux = std::cos(a), uy = std::sin(a);
    const double phase = startAngle * kPi / 180;
    warp(
        cv, cv.width(), cv.height(),
        [=](int x, int y, double& sx, double& sy) {
            const double s = x * ux + y * uy;
            const double d = amplitude * std::sin(2 * kPi * s / period + phase);
            sx = longitudinal ? x + d * ux : x - d * uy;
            sy = longitudinal ? y + d * uy : y + d * ux;
        },
        bg, filter, blur);
}

}  // namespace plotvane

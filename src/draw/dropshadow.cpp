// Drop shadow: the canvas grows so a shadow offset by (dx, dy) and blurred by `radius` fits, the
// picture keeps its pixels at the new origin, and the shadow goes beneath it.
//
// The shadow is the picture's opacity, blurred separably with a Gaussian of sigma = radius / 2
// (weights exp(-d^2 / (2 sigma^2))) over a window of twice the radius, then painted in the shadow
// colour over the colour of the surroundings. The picture is blended over it, so semi-transparent
// parts show the shadow through.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "draw/canvas_p.h"
#include "draw/canvaslimits_p.h"
#include "draw/effects_p.h"

namespace plotvane {

namespace {

void blurLine(const float* in, float* out, int n, std::ptrdiff_t stride, const std::vector<float>& k,
              int radius) {
    for (int i = 0; i < n; ++i) {
        float sum = 0;
        for (int d = -radius; d <= radius; ++d) {
            const int j = i + d;
            if (j >= 0 && j < n) sum += in[j * stride] * k[static_cast<size_t>(d + radius)];
        }
        out[i * stride] = sum;
    }
}

}  // namespace

void addDropShadow(Canvas& cv, int dx, int dy, int radius, uint32_t color, uint32_t surround, ShadowLayer* layer) {
    // The drawing area clamped the arguments; replaying a stream made elsewhere must not overflow.
    dx = std::clamp(dx, -4096, 4096);
    dy = std::clamp(dy, -4096, 4096);
    radius = std::clamp(radius, 0, 1024);
    const int left = std::max(0, radius - dx), right = std::max(0, dx + radius);
    const int top = std::max(0, radius - dy), bottom = std::max(0, dy + radius);
    const int w = cv.width(), h = cv.height();
    const int nw = std::max(1, w + left + right), nh = std::max(1, h + top + bottom);
    if (!acceptableCanvas(nw, nh)) return;
    cv.commitSuperPixels();
    try {
        std::vector<float> alpha(static_cast<size_t>(nw) * nh, 0.0f), tmp(alpha.size());
        const uint32_t* src = cv.pixels();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int sx = x + left + dx, sy = y + top + dy;
                if (sx >= 0 && sy >= 0 && sx < nw && sy < nh)
                    alpha[static_cast<size_t>(sy) * nw + sx] =
                        static_cast<float>(255 - (src[static_cast<size_t>(y) * w + x] >> 24));
            }
        // The canvas grows by the full radius, but the blur window stops at 100 pixels, which
        // keeps the cost linear in the picture for any argument.
        const int window = std::min(radius, 100);
        if (window > 0) {
            const double sigma = window / 2.0;
            std::vector<float> k(static_cast<size_t>(2 * window + 1));
            float sum = 0;
            for (int d = -window; d <= window; ++d)
                sum += k[static_cast<size_t>(d + window)] =
                    static_cast<float>(std::exp(-d * d / (2 * sigma * sigma)));
            for (float& v : k) v /= sum;
            for (int y = 0; y < nh; ++y)
                blurLine(&alpha[static_cast<size_t>(y) * nw], &tmp[static_cast<size_t>(y) * nw], nw, 1, k,
                         window);
            for (int x = 0; x < nw; ++x)
                blurLine(&tmp[static_cast<size_t>(x)], &alpha[static_cast<size_t>(x)], nh, nw, k, window);
        }
        std::vector<uint32_t> out(alpha.size()), shadowOnly(layer ? alpha.size() : 0);
        for (int y = 0; y < nh; ++y)
            for (int x = 0; x < nw; ++x) {
                const size_t i = static_cast<size_t>(y) * nw + x;
                const uint32_t c = Canvas::isCode(color) ? cv.colorAt(color, x, y) : color;
                const uint32_t a = static_cast<uint32_t>(std::lround(std::clamp(alpha[i], 0.0f, 255.0f)));
                const uint32_t around = Canvas::isCode(surround) ? cv.colorAt(surround, x, y) : surround;
                uint32_t p = blend(withOpacity(canonical(c), a), canonical(around));
                if (layer) shadowOnly[i] = p;
                const int ox = x - left, oy = y - top;
                if (ox >= 0 && oy >= 0 && ox < w && oy < h)
                    p = blend(src[static_cast<size_t>(oy) * w + ox], p);
                out[i] = p;
            }
        cv.adopt(std::move(out), nw, nh);
        if (layer) *layer = ShadowLayer{std::move(shadowOnly), nw, nh, left, top};
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace plotvane

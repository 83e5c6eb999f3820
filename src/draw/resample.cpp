// Resampling: resizing and point sampling with one of fourteen filters.
//
// Consumes ARGB pixels; produces ARGB pixels. Colours are filtered premultiplied by opacity, so a
// transparent neighbour does not bleed its (meaningless) colour into the edge of a shape, and are
// divided back at the end. resizeTo works separably: each destination column (then row) gathers
// the source pixels within the filter's support, widened by 1/scale when the picture shrinks and
// multiplied by the blur factor, weighted and normalised. At scale 1 the box filter (index 0)
// reaches exactly one source pixel, so it copies.
#include "draw/resample_p.h"

#include <algorithm>
#include <cmath>

#include "draw/blend_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;

double sinc(double x) {
    return x == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
}

struct Premul {
    float r, g, b, a;
};

Premul premultiply(uint32_t c) {
    if (c >= kFirstCode) c = kTransparent;
    const float a = static_cast<float>(255 - (c >> 24));
    return {((c >> 16) & 255) * a, ((c >> 8) & 255) * a, (c & 255) * a, a};
}

uint32_t unpremultiply(double r, double g, double b, double a) {
    const long alpha = std::lround(std::clamp(a, 0.0, 255.0));
    if (alpha == 0) return kTransparent;
    auto ch = [&](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v / a, 0.0, 255.0))); };
    return (static_cast<uint32_t>(255 - alpha) << 24) | (ch(r) << 16) | (ch(g) << 8) | ch(b);
}

// Weights of one destination index over the source line.
struct Taps {
    int first = 0;
    std::vector<float> w;
};

std::vector<Taps> buildTaps(int srcLen, int dstLen, int filter, double blur) {
    const double scale = static_cast<double>(dstLen) / srcLen;
    const double widen = scale < 1 ? 1 / scale : 1.0;
    const double support = std::max(0.5, filterSupport(filter) * widen * blur);
    std::vector<Taps> taps(static_cast<size_t>(dstLen));
    for (int i = 0; i < dstLen; ++i) {
        const double centre = (i + 0.5) / scale - 0.5;
        int j0 = static_cast<int>(std::ceil(centre - support)),
            j1 = static_cast<int>(std::floor(centre + support));
        j0 = std::max(j0, 0);
        j1 = std::min(j1, srcLen - 1);
        Taps& t = taps[static_cast<size_t>(i)];
        t.first = j0;
        double sum = 0;
        for (int j = j0; j <= j1; ++j) {
            const double w = filterWeight(filter, (j - centre) / widen / blur);
            t.w.push_back(static_cast<float>(w));
            sum += w;
        }
        if (sum == 0 || t.w.empty()) {
            t.first = std::clamp(static_cast<int>(std::floor(centre + 0.5)), 0, srcLen - 1);
            t.w.assign(1, 1.0f);
            continue;
        }
        for (float& w : t.w) w = static_cast<float>(w / sum);
    }
    return taps;
}

}  // namespace

double filterSupport(int filter) {
    static const double support[14] = {0.5, 1.0, 1.5,  2.0, 1.0, 2.0, 2.0,
                                       4.0, 3.0, 1.25, 1.0, 1.0, 1.0, 3.2383};
    return filter >= 0 && filter < 14 ? support[filter] : 1.0;
}

double besselJ1(double x) {
    const double ax = std::fabs(x);
    if (ax < 8.0) {
        const double y = x * x;
        const double p =
            x * (72362614232.0 +
                 y * (-7895059235.0 +
                      y * (242396853.1 + y * (-2972611.439 + y * (15704.48260 + y * (-30.16036606))))));
        const double q = 144725228442.0 +
                         y * (2300535178.0 + y * (18583304.74 + y * (99447.43394 + y * (376.9991397 + y))));
        return p / q;
    }
    const double z = 8.0 / ax, y = z * z, xx = ax - 2.356194491;
    const double p =
        1.0 + y * (0.183105e-2 + y * (-0.3516396496e-4 + y * (0.2457520174e-5 + y * (-0.240337019e-6))));
    const double q = 0.04687499995 + y * (-0.2002690873e-3 +
                                          y * (0.8449199096e-5 + y * (-0.88228987e-6 + y * 0.105787412e-6)));
    const double v = std::sqrt(0.636619772 / ax) * (std::cos(xx) * p - z * std::sin(xx) * q);
    return x < 0 ? -v : v;
}

double filterWeight(int filter, double x) {
    if (filter == 0) return x >= -0.5 && x < 0.5 ? 1.0 : 0.0;
    x = std::fabs(x);
    switch (filter) {
        case 2:
            return x < 0.5 ? 0.75 - x * x : x < 1.5 ? 0.5 * (x - 1.5) * (x - 1.5) : 0;
        case 3:
            return x < 1 ? (x / 2 - 1) * x * x + 2.0 / 3 : x < 2 ? (2 - x) * (2 - x) * (2 - x) / 6 : 0;
        case 4:
            return x < 1 ? (2 * x - 3) * x * x + 1 : 0;
        case 5:
            return x < 1 ? (x * x * (3 * x - 5) + 2) / 2 : x < 2 ? (((5 - x) * x - 8) * x + 4) / 2 : 0;
        case 6:
            return x < 1   ? (7.0 / 6 * x - 2) * x * x + 8.0 / 9
                   : x < 2 ? ((-7.0 / 18 * x + 2) * x - 10.0 / 3) * x + 16.0 / 9
                           : 0;
        case 7:
            return x < 4 ? sinc(x) : 0;
        case 8:
            return x < 3 ? sinc(x) * sinc(x / 3) : 0;
        case 9:
            return x < 1.25 ? std::exp(-2 * x * x) * std::sqrt(2 / kPi) : 0;
        case 10:
            return x < 1 ? 0.5 + 0.5 * std::cos(kPi * x) : 0;
        case 11:
            return x < 1 ? 0.54 + 0.46 * std::cos(kPi * x) : 0;
        case 12:
            return x < 1 ? 0.42 + 0.5 * std::cos(kPi * x) + 0.08 * std::cos(2 * kPi * x) : 0;
        case 13:
            return x == 0 ? kPi / 4 : x < 3.2383 ? besselJ1(kPi * x) / (2 * x) : 0;
        default:
            return x < 1 ? 1 - x : 0;
    }
}

void resizeTo(const uint32_t* src, int sw, int sh, uint32_t* dst, int dw, int dh, int filter, double blur) {
    blur = blur > 0 && std::isfinite(blur) ? std::min(blur, 16.0) : 1.0;
    const std::vector<Taps> hTaps = buildTaps(sw, dw, filter, blur), vTaps = buildTaps(sh, dh, filter, blur);
    // Horizontal pass into a dw x sh premultiplied buffer, then vertical into the destination.
    std::vector<Premul> mid(static_cast<size_t>(dw) * sh);
    std::vector<Premul> line(static_cast<size_t>(sw));
    for (int y = 0; y < sh; ++y) {
        for (int x = 0; x < sw; ++x)
            line[static_cast<size_t>(x)] = premultiply(src[static_cast<size_t>(y) * sw + x]);
        for (int x = 0; x < dw; ++x) {
            const Taps& t = hTaps[static_cast<size_t>(x)];
            Premul acc{0, 0, 0, 0};
            for (size_t k = 0; k < t.w.size(); ++k) {
                const Premul& p = line[static_cast<size_t>(t.first) + k];
                acc.r += p.r * t.w[k];
                acc.g += p.g * t.w[k];
                acc.b += p.b * t.w[k];
                acc.a += p.a * t.w[k];
            }
            mid[static_cast<size_t>(y) * dw + x] = acc;
        }
    }
    for (int y = 0; y < dh; ++y) {
        const Taps& t = vTaps[static_cast<size_t>(y)];
        for (int x = 0; x < dw; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (size_t k = 0; k < t.w.size(); ++k) {
                const Premul& p = mid[(static_cast<size_t>(t.first) + k) * dw + x];
                r += p.r * t.w[k];
                g += p.g * t.w[k];
                b += p.b * t.w[k];
                a += p.a * t.w[k];
            }
            dst[static_cast<size_t>(y) * dw + x] = unpremultiply(r, g, b, a);
        }
    }
}

Sampler::Sampler(const std::vector<uint32_t>& pixels, int width, int height, int filter, double blur)
    : pixels_(pixels),
      width_(width),
      height_(height),
      filter_(filter),
      blur_(blur > 0 && std::isfinite(blur) ? std::min(blur, 16.0) : 1.0) {
    // Point sampling costs the square of the radius per pixel: keep it within a few pixels.
    blur_ = std::min(blur_, kMaxRadius / filterSupport(filter));
    radius_ = std::max(0.5, filterSupport(filter) * blur_);
}

uint32_t Sampler::at(double x, double y, uint32_t outside) const {
    if (!(x >= -0.5 && y >= -0.5 && x < width_ - 0.5 && y < height_ - 0.5)) return outside;
    const int x0 = std::max(0, static_cast<int>(std::ceil(x - radius_)));
    const int x1 = std::min(width_ - 1, static_cast<int>(std::floor(x + radius_)));
    const int y0 = std::max(0, static_cast<int>(std::ceil(y - radius_)));
    const int y1 = std::min(height_ - 1, static_cast<int>(std::floor(y + radius_)));
    // The filter is separable: one weight per column and per row.
    double wx[kMaxTaps], wy[kMaxTaps];
    for (int i = x0; i <= x1; ++i) wx[i - x0] = filterWeight(filter_, (i - x) / blur_);
    for (int j = y0; j <= y1; ++j) wy[j - y0] = filterWeight(filter_, (j - y) / blur_);
    double r = 0, g = 0, b = 0, a = 0, sum = 0;
    for (int j = y0; j <= y1; ++j) {
        if (wy[j - y0] == 0) continue;
        for (int i = x0; i <= x1; ++i) {
            const double w = wy[j - y0] * wx[i - x0];
            if (w == 0) continue;
            const Premul p = premultiply(pixels_[static_cast<size_t>(j) * width_ + i]);
            r += p.r * w;
            g += p.g * w;
            b += p.b * w;
            a += p.a * w;
            sum += w;
        }
    }
    if (sum == 0) {
        const int i = std::clamp(static_cast<int>(std::floor(x + 0.5)), 0, width_ - 1);
        const int j = std::clamp(static_cast<int>(std::floor(y + 0.5)), 0, height_ - 1);
        return canonical(pixels_[static_cast<size_t>(j) * width_ + i]);
    }
    return unpremultiply(r / sum, g / sum, b / sum, a / sum);
}

}  // namespace plotvane

// A continuous gradient over n scale values becomes about a thousand fine bands: few enough for a
// binary search per pixel, many enough that neighbouring bands differ by less than a colour step.
// The top threshold is nudged up so the top value of the scale still falls in the last band.
#include "chart/xy/colormapper_p.h"

#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

constexpr int kMaxIntervals = 1023;

void raiseTop(std::vector<double>& t) {
    if (t.empty()) return;
    double& top = t.back();
    top = top == 0 ? 1e-300 : top + std::fabs(top) / 1e12;
}

// Fine thresholds: each interval split into k equal parts, ending exactly at the last value.
std::vector<double> splitIntervals(const std::vector<double>& v, int& parts) {
    int n = static_cast<int>(v.size());
    parts = (n + 1022) / (n - 1);
    std::vector<double> t;
    t.reserve(static_cast<size_t>((n - 1) * parts + 1));
    for (int i = 0; i + 1 < n; ++i)
        for (int j = 0; j < parts; ++j) t.push_back(v[i] + (v[i + 1] - v[i]) * j / parts);
    t.push_back(v.back());
    return t;
}

}  // namespace

const std::vector<int>& defaultColorGradient() {
    static const std::vector<int> colors = {0x0000c0, 0x0000ff, 0x0030ff, 0x0060ff, 0x0090ff, 0x00c0ff,
                                            0x00ffff, 0x30ffc0, 0x60ff90, 0x90ff60, 0xc0ff30, 0xffff00,
                                            0xffcc00, 0xff8800, 0xff5500, 0xff0000};
    return colors;
}

int ColorMapper::gradientAt(const std::vector<int>& c, double p) {
    if (c.empty()) return Chart::Transparent;
    int k = static_cast<int>(c.size());
    double jf = std::floor(p);
    if (jf < 0) return c.front();
    if (jf >= k - 1) return c.back();
    int j = static_cast<int>(jf);
    double f = p - jf;
    unsigned a = static_cast<unsigned>(c[j]);
    unsigned b = static_cast<unsigned>(c[j + 1]);
    if (f == 0) return c[j];
    if (a == static_cast<unsigned>(Chart::Transparent)) a = 0xff000000u | (b & 0xffffffu);
    if (b == static_cast<unsigned>(Chart::Transparent)) b = 0xff000000u | (a & 0xffffffu);
    unsigned out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        double x = ((a >> shift) & 0xff) * (1 - f) + ((b >> shift) & 0xff) * f;
        out |= (static_cast<unsigned>(std::floor(x + 0.5)) & 0xffu) << shift;
    }
    return static_cast<int>(out);
}

ColorMapper ColorMapper::fromGradient(const std::vector<double>& values, const std::vector<int>& gradient,
                                      bool continuous, int underflowColor, int overflowColor) {
    ColorMapper m;
    const std::vector<int>& g = gradient.empty() ? defaultColorGradient() : gradient;
    int n = static_cast<int>(values.size());
    int parts = 1;
    if (continuous && n - 1 >= 1 && n - 1 <= kMaxIntervals)
        m.thresholds_ = splitIntervals(values, parts);
    else
        m.thresholds_ = values;
    raiseTop(m.thresholds_);
    int bands = std::max(static_cast<int>(m.thresholds_.size()) - 1, 0);
    int k = static_cast<int>(g.size());
    m.colors_.reserve(static_cast<size_t>(bands + 2));
    m.colors_.push_back(underflowColor == -1 ? g.front() : underflowColor);
    for (int i = 0; i < bands; ++i) {
        double p = bands == 1 ? (k - 1) / 2.0 : static_cast<double>(i) * (k - 1) / (bands - 1);
        m.colors_.push_back(gradientAt(g, p));
    }
    m.colors_.push_back(overflowColor == -1 ? g.back() : overflowColor);
    m.buildBuckets();
    return m;
}

ColorMapper ColorMapper::fromStops(const std::vector<double>& values, const std::vector<int>& colors,
                                   bool continuous, int underflowColor, int overflowColor) {
    if (continuous) return fromGradient(values, colors, true, underflowColor, overflowColor);
    ColorMapper m;
    m.thresholds_ = values;
    raiseTop(m.thresholds_);
    m.colors_.push_back(underflowColor == -1 ? colors.front() : underflowColor);
    for (size_t i = 0; i + 1 < colors.size(); ++i) m.colors_.push_back(colors[i]);
    m.colors_.push_back(overflowColor == -1 ? colors.back() : overflowColor);
    m.buildBuckets();
    return m;
}

void ColorMapper::buildBuckets() {
    buckets_.clear();
    bucketScale_ = 0;
    size_t n = thresholds_.size();
    if (n < 2) return;
    double span = thresholds_.back() - thresholds_.front();
    if (!(span > 0) || !std::isfinite(span)) return;
    size_t count = 2 * n;
    bucketScale_ = static_cast<double>(count) / span;
    buckets_.resize(count + 1);
    for (size_t b = 0; b <= count; ++b) {
        double start = thresholds_.front() + static_cast<double>(b) / bucketScale_;
        buckets_[b] = static_cast<int>(std::upper_bound(thresholds_.begin(), thresholds_.end(), start) -
                                       thresholds_.begin());
    }
}

int ColorMapper::getColor(double z) const {
    if (colors_.empty()) return Chart::Transparent;
    if (thresholds_.empty()) return colors_.front();
    size_t n = thresholds_.size();
    size_t i;
    if (!(z >= thresholds_.front())) {
        i = 0;
    } else if (z >= thresholds_.back()) {
        i = n;
    } else if (bucketScale_ > 0) {
        // The bucket only gives a start; the two walks make the count exact whatever it rounded to.
        double b = std::min((z - thresholds_.front()) * bucketScale_, static_cast<double>(buckets_.size() - 1));
        i = static_cast<size_t>(buckets_[static_cast<size_t>(b)]);
        while (i < n && thresholds_[i] <= z) ++i;
        while (i > 0 && thresholds_[i - 1] > z) --i;
    } else {
        i = static_cast<size_t>(std::upper_bound(thresholds_.begin(), thresholds_.end(), z) - thresholds_.begin());
    }
    return colors_[std::min(i, colors_.size() - 1)];
}

}  // namespace plotvane

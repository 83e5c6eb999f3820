#include "vector/vectorbrush_p.h"

#include <cmath>
#include <cstdio>

#include "draw/brush_p.h"
#include "draw/imageio_p.h"

namespace plotvane {

uint32_t adjustColorBrightness(uint32_t color, int k) {
    uint32_t t = color & 0xff000000u;
    if (t == 0xff000000u) return kTransparent;
    if (k < 0) return t;
    uint32_t out = t;
    int m = k > 1024 ? (k / 2 + 262144) / k : 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int c = static_cast<int>((color >> shift) & 255);
        c = k <= 1024 ? (c * k) >> 10 : 255 - (((255 - c) * m) >> 8);
        out |= static_cast<uint32_t>(c < 0 ? 0 : c > 255 ? 255 : c) << shift;
    }
    return out;
}

int meanShadedColor(const double v[9], int color) {
    if (isDynamicColor(color)) return color;
    double k = (v[2] + v[5] + v[8]) / 3;
    if (!(k > -4 && k < 4)) k = 1;
    return static_cast<int>(adjustColorBrightness(static_cast<uint32_t>(color), static_cast<int>(std::floor(k * 1024 + 0.5))));
}

uint32_t averageColor(const std::vector<uint32_t>& pixels) {
    if (pixels.empty()) return 0x808080;
    uint64_t sum[4] = {0, 0, 0, 0};
    for (uint32_t px : pixels)
        for (int i = 0; i < 4; ++i) sum[i] += (px >> (8 * i)) & 255;
    uint32_t out = 0;
    for (int i = 0; i < 4; ++i) out |= static_cast<uint32_t>(sum[i] / pixels.size()) << (8 * i);
    return out;
}

const VectorPaint* BrushTable::find(int id) const {
    for (const BrushTable* t = this; t; t = t->parent_) {
        auto it = t->brushes_.find(id);
        if (it != t->brushes_.end()) return &it->second;
    }
    return nullptr;
}

uint32_t BrushTable::mainColor(int color) const {
    // Brush chains are short; the bound only guards against a brush that names itself.
    for (int depth = 0; depth < 20 && isDynamicColor(color); ++depth) {
        const VectorPaint* p = find(color);
        if (!p) return kTransparent;
        switch (p->kind) {
            case VectorPaint::Solid: return p->color;
            case VectorPaint::Linear:
            case VectorPaint::Radial: return static_cast<uint32_t>(p->stops[1]);
            case VectorPaint::Pattern: return averageColor(p->pixels);
            case VectorPaint::Dash:
            case VectorPaint::Zone: color = p->colorA; break;
            case VectorPaint::None: return kTransparent;
        }
    }
    return isDynamicColor(color) ? kTransparent : static_cast<uint32_t>(color);
}

void BrushTable::alias(int id, int base) {
    const VectorPaint* p = isDynamicColor(base) ? find(base) : nullptr;
    if (p) {
        define(id, VectorPaint(*p));
        return;
    }
    VectorPaint solid;
    solid.kind = isDynamicColor(base) ? VectorPaint::None : VectorPaint::Solid;
    solid.color = static_cast<uint32_t>(base);
    define(id, std::move(solid));
}

void BrushTable::adjustBrightness(int id, int base, double factor) {
    int k = static_cast<int>(std::floor(factor * 1024 + 0.5));
    alias(id, base);
    VectorPaint& p = brushes_[id];
    switch (p.kind) {
        case VectorPaint::Solid: p.color = adjustColorBrightness(p.color, k); break;
        case VectorPaint::Linear:
        case VectorPaint::Radial:
            for (size_t i = 1; i < p.stops.size(); i += 2)
                p.stops[i] = static_cast<int>(adjustColorBrightness(static_cast<uint32_t>(p.stops[i]), k));
            break;
        case VectorPaint::Pattern:
            for (uint32_t& px : p.pixels) px = adjustColorBrightness(px, k);
            p.encoded.clear();
            break;
        default: break;
    }
}

void BrushTable::transformed(int id, int base, const double m[6]) {
    alias(id, base);
    VectorPaint& p = brushes_[id];
    if (!p.isGradient()) return;
    // The colour at pixel q is the base's colour at M q, so the gradient moves by the inverse of M.
    double det = m[0] * m[4] - m[1] * m[3];
    if (std::fabs(det) < 1e-12) return;
    double inv[6] = {m[4] / det, -m[1] / det, 0, -m[3] / det, m[0] / det, 0};
    inv[2] = -(inv[0] * m[2] + inv[1] * m[5]);
    inv[5] = -(inv[3] * m[2] + inv[4] * m[5]);
    const double* t = p.matrix;
    double r[6] = {inv[0] * t[0] + inv[1] * t[3], inv[0] * t[1] + inv[1] * t[4], inv[0] * t[2] + inv[1] * t[5] + inv[2],
                   inv[3] * t[0] + inv[4] * t[3], inv[3] * t[1] + inv[4] * t[4], inv[3] * t[2] + inv[4] * t[5] + inv[5]};
    for (int i = 0; i < 6; ++i) p.matrix[i] = r[i];
    p.transformed = true;
}

void BrushTable::dashLine(int id, int color, int pattern) {
    VectorPaint p;
    p.kind = VectorPaint::Dash;
    p.colorA = color;
    p.dash = pattern;
    define(id, std::move(p));
}

namespace {

bool validStops(const std::vector<int>& stops) { return stops.size() >= 4; }

}  // namespace

void BrushTable::linearGradient(int id, double x1, double y1, double x2, double y2, bool periodic, bool relative,
                                const std::vector<int>& stops) {
    VectorPaint p;
    if (validStops(stops)) {
        p.kind = VectorPaint::Linear;
        p.x1 = x1, p.y1 = y1, p.x2 = x2, p.y2 = y2;
        p.periodic = periodic;
        p.relative = relative;
        p.stops.assign(stops.begin(), stops.end() - (stops.size() & 1));
    }
    define(id, std::move(p));
}

void BrushTable::radialGradient(int id, double cx, double cy, double rx, double ry, bool periodic,
                                const std::vector<int>& stops) {
    VectorPaint p;
    if (validStops(stops)) {
        if (rx > 0 && ry > 0) {
            p.kind = VectorPaint::Radial;
            p.x1 = cx, p.y1 = cy, p.x2 = rx, p.y2 = ry;
            p.periodic = periodic;
            p.stops.assign(stops.begin(), stops.end() - (stops.size() & 1));
        } else {
            p.kind = VectorPaint::Solid;  // a flat gradient shows its outermost colour
            p.color = static_cast<uint32_t>(stops[(stops.size() & ~size_t(1)) - 1]);
        }
    }
    define(id, std::move(p));
}

void BrushTable::angleGradient(int id, const double d[6], const std::vector<int>& stops, int width, int height) {
    VectorPaint p;
    if (validStops(stops) && width > 0 && height > 0 && static_cast<long long>(width) * height <= kMaxAngleTilePixels) {
        BrushPtr brush = makeAngleGradientBrush(d, stops);
        p.kind = VectorPaint::Pattern;
        p.width = width, p.height = height;
        p.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                p.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = brush->getColor(x, y);
    } else if (validStops(stops)) {
        uint32_t sum[4] = {0, 0, 0, 0};
        uint32_t n = static_cast<uint32_t>(stops.size() / 2);
        for (uint32_t i = 0; i < n; ++i)
            for (int c = 0; c < 4; ++c) sum[c] += (static_cast<uint32_t>(stops[2 * i + 1]) >> (8 * c)) & 255;
        p.kind = VectorPaint::Solid;
        p.color = 0;
        for (int c = 0; c < 4; ++c) p.color |= (sum[c] / n) << (8 * c);
    }
    define(id, std::move(p));
}

void BrushTable::lighting(int id, int base, VectorPaint::Kind kind, const double g[4], bool periodic, bool relative,
                          const std::vector<int>& table) {
    uint32_t color = mainColor(base);
    std::vector<int> stops;
    stops.reserve(table.size());
    for (size_t i = 0; i + 1 < table.size(); i += 2) {
        stops.push_back(table[i]);
        stops.push_back(static_cast<int>(adjustColorBrightness(color, table[i + 1])));
    }
    if (kind == VectorPaint::Radial)
        radialGradient(id, g[0], g[1], g[2], g[3], periodic, stops);
    else
        linearGradient(id, g[0], g[1], g[2], g[3], periodic, relative, stops);
}

void BrushTable::pattern(int id, int width, int height, int startX, int startY, const std::vector<int>& pixels) {
    VectorPaint p;
    if (width > 0 && height > 0 && static_cast<size_t>(width) * static_cast<size_t>(height) <= pixels.size()) {
        p.kind = VectorPaint::Pattern;
        p.width = width, p.height = height;
        p.x1 = startX, p.y1 = startY;
        p.pixels.assign(pixels.begin(), pixels.begin() + static_cast<long>(width) * height);
    }
    define(id, std::move(p));
}

void BrushTable::patternFile(int id, int startX, int startY, const char* fileName) {
    VectorPaint p;
    std::vector<unsigned char> file;
    readImageBytes(fileName, file);
    const int length = static_cast<int>(file.size());
    const int type = getImageType(file.data(), length);
    int w = 0, h = 0;
    // A file that does not decode to the size its header claims paints nothing, as in the raster.
    if (decodeImage(file.data(), length, type, p.pixels, w, h)) {
        p.kind = VectorPaint::Pattern;
        p.width = w, p.height = h;
        p.x1 = startX, p.y1 = startY;
        p.imageType = type;
        p.encoded.assign(file.begin(), file.end());
    }
    define(id, std::move(p));
}

void BrushTable::zone(int id, bool horizontal, int split, int colorA, int colorB) {
    VectorPaint p;
    p.kind = VectorPaint::Zone;
    p.horizontal = horizontal;
    p.split = split;
    p.colorA = colorA;
    p.colorB = colorB;
    define(id, std::move(p));
}

}  // namespace plotvane

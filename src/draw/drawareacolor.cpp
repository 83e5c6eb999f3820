// Colours of a DrawArea: palette lookup, the dynamic colour stack, and the factories that bind
// dynamic colours to brushes. A factory only checks its arguments and stores a MetaBrush in the
// recorder of the area that owns the colours (the parent, for a sub area); the brush's record is
// written when the colour is first drawn with.
//
// Metal colours (0xff8xxxxx) become, on first use, a lighting over the built-in metal table, in
// the direction packed in the code, optionally under a brushed texture; the result is cached per
// code, as are brightness adjustments of dynamic colours.

#include <algorithm>
#include <cmath>

#include "draw/angles_p.h"
#include "draw/drawarea_p.h"
#include "draw/drawbmp_p.h"
#include "draw/metabrush_p.h"
#include "draw/opcodes_p.h"

namespace plotvane {

namespace {

constexpr int kTransparent = Chart::Transparent;
constexpr int kRelativeLighting = static_cast<int>(0x80000001);
constexpr int kMaxDynamicColors = 0x10000;

bool isDynamicId(int c) { return (static_cast<uint32_t>(c) >> 16) == 0xfffeu; }
bool isContextEntry(int c) {
    uint32_t v = static_cast<uint32_t>(c);
    return v >= 0xffff0004u && v <= 0xffff0007u;
}

std::vector<int> evenPrefix(IntArray a) {
    if (!a.data || a.len < 2) return {};
    return std::vector<int>(a.data, a.data + (a.len & ~1));
}

// The start and end of a gradient across the bounding box of a shape, in fractions of the box.
void relativeVector(double angle, double xy[4]) {
    double c = cosDeg(angle) / 2, s = sinDeg(angle) / 2;
    xy[0] = 0.5 - c;
    xy[1] = 0.5 - s;
    xy[2] = 0.5 + c;
    xy[3] = 0.5 + s;
}

}  // namespace

int DrawAreaImpl::newBrush(MetaBrush* brush) {
    colorRoot_->meta()->setBrush(brush->id(), brush);
    return brush->id();
}

int DrawAreaImpl::dynamicIndex(int color) const {
    if (!isDynamicId(color)) return -1;
    int n = color & 0xffff;
    return n < static_cast<int>(colors_->slots.size()) ? n : -1;
}

int DrawAreaImpl::dynamicColor() {
    std::vector<int>& slots = colors_->slots;
    if (static_cast<int>(slots.size()) >= kMaxDynamicColors) return kTransparent;
    slots.push_back(1);
    return static_cast<int>(0xfffe0000u + static_cast<uint32_t>(slots.size() - 1));
}

void DrawAreaImpl::freeColor(int color) {
    int n = dynamicIndex(color);
    if (n < 0 || n != static_cast<int>(colors_->slots.size()) - 1) return;
    colors_->slots.pop_back();
    colorRoot_->meta()->setBrush(color, nullptr);
}

void DrawAreaImpl::setColorTable(const int* colors, int count, int offset) {
    auto resolve = [this](int c) { return getARGBColor(c); };
    if (count < 0) colors_->palette.setColors(offset, colors, resolve);
    else colors_->palette.setColors(offset, colors, count, resolve);
}

void DrawAreaImpl::setColorTable(IntArray colors, int offset) { setColorTable(colors.data, std::max(0, colors.len), offset); }

int DrawAreaImpl::codedARGBColor(int color) {
    uint32_t c = static_cast<uint32_t>(color);
    if ((c & 0xfff00000u) == 0xff800000u) return resolveMetal(color);
    if ((c >> 16) != 0xffffu) return color;
    int n = static_cast<int>(c & 0xffff);
    if (n == 0xffff) return kTransparent;
    if (n >= 0x8000) return n;
    return colors_->palette.lookup(n);
}

int DrawAreaImpl::cachedDerived(int request, int key) const {
    for (const ColorState::Derived& d : colors_->derived)
        if (d.request == request && d.key == key) return d.result;
    return 0;
}

int DrawAreaImpl::resolveMetal(int request) {
    if (int cached = cachedDerived(request, 0)) return cached;
    uint32_t code = static_cast<uint32_t>(request);
    uint32_t t = (code >> 12) & 15;
    int base;
    if (t < 15) {
        base = static_cast<int>((t * 17) << 24 | (((code >> 8) & 15) * 17) << 16 | (((code >> 4) & 15) * 17) << 8 |
                                (code & 15) * 17);
    } else if (code & 0x800) {
        base = static_cast<int>(0xffff0000u | (code & 0x7ff));
    } else {
        base = static_cast<int>(0xfffe0000u + (code & 0x7ff));
    }
    static const int metalTable[] = {0, 1024, 48, 2048, 128, 4096, 208, 2048, 256, 1024};
    int angle = static_cast<int>((code >> 16) & 3) * 45;
    int result = lightingColor(IntArray(metalTable, 10), IntArray(), base, angle, 1.0, kRelativeLighting, 0);
    int texture = static_cast<int>((code >> 18) & 3);
    if (texture && isDynamicId(result)) {
        int id = dynamicColor();
        if (id != kTransparent) result = newBrush(MetaBrush::brushedTexture(id, result, 12 + 12 * texture));
    }
    colors_->derived.push_back({request, 0, result});
    return result;
}

std::vector<int> DrawAreaImpl::resolvedGradient(IntArray gradient) {
    std::vector<int> out = evenPrefix(gradient);
    for (size_t k = 1; k < out.size(); k += 2) out[k] = getARGBColor(out[k]);
    return out;
}

IntArray DrawAreaImpl::getARGBGradient(IntArray gradient) {
    std::vector<int> resolved = resolvedGradient(gradient);
    if (gradient.data && gradient.len % 2) resolved.push_back(gradient[gradient.len - 1]);
    gradientBuffer_.assign(std::max<size_t>(1024, resolved.size()), 0);
    std::copy(resolved.begin(), resolved.end(), gradientBuffer_.begin());
    return IntArray(gradientBuffer_.data(), static_cast<int>(resolved.size()));
}

IntArray DrawAreaImpl::getARGBColor(IntArray colors) {
    colorBuffer_.clear();
    for (int k = 0; colors.data && k < colors.len; ++k) colorBuffer_.push_back(getARGBColor(colors[k]));
    return IntArray(colorBuffer_.data(), static_cast<int>(colorBuffer_.size()));
}

int DrawAreaImpl::getARGBColor(int color, int x, int y) { return getCanvas()->getARGBColor(getARGBColor(color), x, y); }

bool DrawAreaImpl::isOpaque(int color) { return static_cast<uint32_t>(getARGBColor(color)) < 0x01000000u; }

bool DrawAreaImpl::isDynamic(int color) { return (static_cast<uint32_t>(color) >> 24) == 0xffu && color != kTransparent; }

int DrawAreaImpl::halfColor(int color) { return adjustBrightness(color, 0.5); }

int DrawAreaImpl::adjustBrightness(int color, double brightness) {
    if (!std::isfinite(brightness)) return color;
    double scaled = std::max(-1e9, std::min(1e9, brightness * 1024));
    int k = static_cast<int>(std::lround(scaled));
    if (k == 1024) return color;
    int c = isContextEntry(color) ? color : getARGBColor(color);
    if (!isDynamicId(c) && !isContextEntry(c)) return rawColorAdjustBrightness(c, k);
    if (isDynamicId(c) && dynamicIndex(c) < 0) return kTransparent;
    int key = k | 0x10000000;
    if (int cached = cachedDerived(c, key)) return cached;
    int id = dynamicColor();
    if (id == kTransparent) return id;
    newBrush(MetaBrush::brightnessAdjustment(id, c, brightness));
    colors_->derived.push_back({c, key, id});
    return id;
}

int DrawAreaImpl::dashLineColor(int color, int patternCode) {
    if (patternCode == 0) return color;
    int c = isContextEntry(color) ? color : getARGBColor(color);
    if (c == kTransparent) return kTransparent;
    int id = dynamicColor();
    if (id == kTransparent) return id;
    return newBrush(MetaBrush::dashLine(id, c, patternCode));
}

int DrawAreaImpl::patternColor(IntArray pixels, int height, int startX, int startY) {
    return patternColor(pixels.data, pixels.len, height, startX, startY);
}

int DrawAreaImpl::patternColor(const int* pixels, int length, int height, int startX, int startY) {
    if (!pixels || length < 1 || height < 1) return kTransparent;
    int width = length / height;
    if (width == 0) {
        width = 1;
        height = length;
    }
    int id = dynamicColor();
    if (id == kTransparent) return id;
    auto* brush = new MetaBrush(kOpPatternColor, id);
    brush->i(width).i(height).i(startX).i(startY).ints(std::vector<int>(pixels, pixels + width * height));
    return newBrush(brush);
}

int DrawAreaImpl::patternColor(const char* filename, int startX, int startY) {
    if (!filename || !*filename) return kTransparent;
    int id = dynamicColor();
    if (id == kTransparent) return id;
    auto* brush = new MetaBrush(kOpPatternColor2, id);
    brush->i(startX).i(startY).s(filename);
    return newBrush(brush);
}

int DrawAreaImpl::gradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor) {
    return linearGradientColor(startX, startY, endX, endY, startColor, endColor, false);
}

int DrawAreaImpl::gradientColor(IntArray gradient, double angle, double scale, int startX, int startY) {
    if (!gradient.data || gradient.len < 4 || !std::isfinite(angle) || !std::isfinite(scale)) return kTransparent;
    if (scale <= 0) scale = 1.0;
    double length = 256 * scale;
    int id = dynamicColor();
    if (id == kTransparent) return id;
    auto* brush = new MetaBrush(kOpLinearGradientColor, id);
    brush->d(startX).d(startY).d(startX + length * cosDeg(angle)).d(startY + length * sinDeg(angle)).b(false);
    brush->stops(evenPrefix(gradient));
    return newBrush(brush);
}

int DrawAreaImpl::gradientColor(const int* gradient, int length, double angle, double scale, int startX,
                                int startY) {
    return gradientColor(IntArray(gradient, length), angle, scale, startX, startY);
}

int DrawAreaImpl::linearGradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor,
                                      bool periodic) {
    int c1 = getARGBColor(startColor), c2 = getARGBColor(endColor);
    if (c1 == c2) return c1;
    int stops[4] = {0, startColor, 256, endColor};
    return preciseLinearGradientColor(startX, startY, endX, endY, IntArray(stops, 4), periodic);
}

int DrawAreaImpl::linearGradientColor(int startX, int startY, int endX, int endY, IntArray gradient,
                                      bool periodic) {
    return preciseLinearGradientColor(startX, startY, endX, endY, gradient, periodic);
}

int DrawAreaImpl::preciseLinearGradientColor(double startX, double startY, double endX, double endY,
                                             IntArray gradient, bool periodic) {
    if (!gradient.data || gradient.len < 4) return kTransparent;
    int id = dynamicColor();
    if (id == kTransparent) return id;
    auto* brush = new MetaBrush(kOpLinearGradientColor, id);
    brush->d(startX).d(startY).d(endX).d(endY).b(periodic).stops(evenPrefix(gradient));
    return newBrush(brush);
}

int DrawAreaImpl::radialGradientColor(int cx, int cy, int rx, int ry, int startColor, int endColor, bool periodic) {
    int stops[4] = {0, startColor, 256, endColor};
    return radialGradientColor(cx, cy, rx, ry, IntArray(stops, 4), periodic);
}

int DrawAreaImpl::radialGradientColor(int cx, int cy, int rx, int ry, IntArray gradient, bool periodic) {
    if (!gradient.data || gradient.len < 4) return kTransparent;
    int id = dynamicColor();
    if (id == kTransparent) return id;
    auto* brush = new MetaBrush(kOpRadialGradientColor, id);
    brush->i(cx).i(cy).i(rx).i(ry).b(periodic).stops(evenPrefix(gradient));
    return newBrush(brush);
}

int DrawAreaImpl::angleGradientColor(double cx, double cy, double startAngle, double endAngle, double xScale,
                                     double yScale, IntArray gradient) {
    if (!gradient.data || gradient.len < 4) return kTransparent;
    if (startAngle == endAngle) return getARGBColor(gradient[1]);
    int id = dynamicColor();
    if (id == kTransparent) return id;
    auto* brush = new MetaBrush(kOpAngleGradientColor, id);
    brush->d(cx).d(cy).d(startAngle).d(endAngle).d(xScale).d(yScale).stops(evenPrefix(gradient));
    return newBrush(brush);
}

// A literal base colour turns the lighting table into a plain gradient of brightened and darkened
// versions of it; a dynamic base needs a lighting brush that adjusts it pixel by pixel.
int DrawAreaImpl::lightingColor(IntArray table, IntArray, int baseColor, double angle, double scale, int mode,
                                int param) {
    int base = getARGBColor(baseColor);
    if (base == kTransparent) return base;
    if (!table.data || table.len < 4 || !std::isfinite(angle) || !std::isfinite(scale)) return base;
    if (scale <= 0) scale = 1.0;
    std::vector<int> pairs = evenPrefix(table);
    double xy[4];
    relativeVector(angle, xy);
    if (isDynamicId(base)) {
        int id = dynamicColor();
        if (id == kTransparent) return id;
        if (mode == kRelativeLighting) return newBrush(MetaBrush::relativeLinearLighting(id, base, xy, pairs));
        auto* brush = new MetaBrush(kOpLightingColor, id);
        brush->color(base).d(angle).d(scale).d(mode).d(param).b(false).ints(pairs);
        return newBrush(brush);
    }
    for (size_t k = 1; k < pairs.size(); k += 2) pairs[k] = rawColorAdjustBrightness(base, pairs[k]);
    if (mode == kRelativeLighting) {
        int id = dynamicColor();
        if (id == kTransparent) return id;
        return newBrush(MetaBrush::relativeLinearGradient(id, xy, false, pairs));
    }
    return gradientColor(IntArray(pairs.data(), static_cast<int>(pairs.size())), -angle, scale, mode, param);
}

int DrawAreaImpl::linearLightingColor(IntArray table, IntArray, int baseColor, int startX, int startY, int endX,
                                      int endY) {
    int base = getARGBColor(baseColor);
    if (base == kTransparent || !table.data || table.len < 4) return base;
    int id = dynamicColor();
    if (id == kTransparent) return id;
    auto* brush = new MetaBrush(kOpLinearLightingColor, id);
    brush->color(base).d(startX).d(startY).d(endX).d(endY).b(false).ints(evenPrefix(table));
    return newBrush(brush);
}

int DrawAreaImpl::radialLightingColor(IntArray table, IntArray, int baseColor, int cx, int cy, int rx, int ry) {
    int base = getARGBColor(baseColor);
    if (base == kTransparent || !table.data || table.len < 4) return base;
    int id = dynamicColor();
    if (id == kTransparent) return id;
    auto* brush = new MetaBrush(kOpRadialLightingColor, id);
    brush->color(base).i(cx).i(cy).i(rx).i(ry).ints(evenPrefix(table));
    return newBrush(brush);
}

int DrawAreaImpl::zoneColor(const ZoneSplitter* split, int colorA, int colorB) {
    if (!split) return colorA;
    int id = dynamicColor();
    if (id == kTransparent) return id;
    return newBrush(new MetaXYZoneBrush(id, split, colorA, colorB));
}

int DrawAreaImpl::zColor(IntArray gradient, double zLow, double zHigh) {
    if (!gradient.data || gradient.len < 4 || !std::isfinite(zLow) || !std::isfinite(zHigh) || zLow == zHigh ||
        !std::isfinite(256 / (zHigh - zLow)))
        return kTransparent;
    int id = dynamicColor();
    if (id == kTransparent) return id;
    auto* brush = new MetaZColorBrush(id, evenPrefix(gradient), zLow, zHigh);
    brush->transform(0, 0, zLow);
    return newBrush(brush);
}

int DrawAreaImpl::transformZColor(int zColor, double a, double b, double c) {
    auto* brush = dynamic_cast<MetaZColorBrush*>(colorRoot_->meta()->findBrush(zColor));
    if (!brush) return kTransparent;
    if (std::isfinite(a) && std::isfinite(b) && std::isfinite(c)) brush->transform(a, b, c);
    return zColor;
}

int DrawAreaImpl::transformZColor(int zColor, double x1, double y1, double z1, double x2, double y2, double z2,
                                  double x3, double y3, double z3) {
    // Cramer's rule on z = a*x + b*y + c through the three points, relative to the first.
    double ux = x2 - x1, uy = y2 - y1, uz = z2 - z1, vx = x3 - x1, vy = y3 - y1, vz = z3 - z1;
    double det = ux * vy - uy * vx;
    if (!(std::fabs(det) > 1e-12)) return transformZColor(zColor, 0, 0, (z1 + z2 + z3) / 3);
    double a = (uz * vy - uy * vz) / det, b = (ux * vz - uz * vx) / det;
    return transformZColor(zColor, a, b, z1 - a * x1 - b * y1);
}

void DrawAreaImpl::reduceColors(int colorCount, bool dither) { getCanvas()->reduceColors(colorCount, dither); }

}  // namespace plotvane

// Symbol shapes and the stamped symbol of a data set.
//
// A shape code carries its kind in the low byte and its parameters above: the arm width of a
// cross (bits 12-23, in 1/4095 of the size), the side count of a polygon or star (bits 12 and
// up), and the angle and proportions of an arrow. Every polygonal kind is built as an outline in
// a w x h box, so bars and legend keys can ask for the same outlines. Circles and spheres are
// drawn as circles; the plain crosses (codes without parameters) as two lines in the fill colour.
//
// Stamping: the symbol is drawn into a sub drawing of its own size that shares the chart's
// palette and dynamic colours, and merged wherever a point needs it. The recorder keeps one copy
// of a merged drawing, so ten thousand points cost ten thousand merge records, not ten thousand
// shapes. A size other than the symbol's own, or a dynamic fill colour (whose pattern is laid out
// relative to the chart), is drawn in place instead.
#include "chart/xy/symbols_p.h"

#include <plotvane/constants.h>
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxSymbolSize = 4096;
constexpr int kMaxSides = 100;

int kindOf(int code) { return code & 0xff; }

// Brushes laid out relative to the chart (gradients, patterns, zones) cannot be stamped elsewhere.
bool isDynamicColor(int color) { return (static_cast<unsigned>(color) >> 16) == 0xfffeu; }

int sidesOf(int code, int fallback) {
    int n = (code >> 12) & 0xfff;
    return n >= 3 ? std::min(n, kMaxSides) : fallback;
}

void push(std::vector<double>& out, double x, double y) {
    out.push_back(x);
    out.push_back(y);
}

// A regular polygon or star with n points, the first one straight up (or half a step turned).
std::vector<double> radial(int n, bool star, bool turned, double cx, double cy, double a, double b) {
    std::vector<double> out;
    int points = star ? 2 * n : n;
    double start = turned ? kPi / points : 0;
    for (int i = 0; i < points; ++i) {
        double t = start + 2 * kPi * i / points;
        double r = star && (i % 2) ? 0.45 : 1.0;
        push(out, cx + a * r * std::sin(t), cy - b * r * std::cos(t));
    }
    return out;
}

std::vector<double> crossOutline(int code, double cx, double cy, double a, double b) {
    double k = ((code >> 12) & 0xfff) / 4095.0;
    double u = a * k;
    double v = b * k;
    std::vector<double> out;
    const double pts[12][2] = {{-u, -b}, {u, -b}, {u, -v}, {a, -v}, {a, v}, {u, v},
                               {u, b},   {-u, b}, {-u, v}, {-a, v}, {-a, -v}, {-u, -v}};
    bool diagonal = kindOf(code) == Chart::Cross2Symbol;
    for (const auto& p : pts) {
        double x = p[0], y = p[1];
        if (diagonal) {
            // Turned by 45 degrees, scaled back into the box.
            double r = std::sqrt(0.5);
            double tx = (x - y * a / b) * r, ty = (x * b / a + y) * r;
            x = tx;
            y = ty;
        }
        push(out, cx + x, cy + y);
    }
    return out;
}

std::vector<double> arrowOutline(int code, double cx, double cy, double a, double b) {
    auto unpack = [code](int shift, int steps) { return ((static_cast<unsigned>(code) >> shift) & 0x3f) / double(steps); };
    double angle = unpack(26, 60) * 360;
    double width = unpack(20, 50);
    double stemWidth = unpack(14, 50);
    double stemLength = unpack(8, 50);
    double headBase = -b + 2 * b * (1 - stemLength);
    double hw = a * (width > 0 ? width : 1);
    double sw = hw * (stemWidth > 0 ? stemWidth : 0.5);
    const double pts[7][2] = {{0, -b}, {hw, headBase}, {sw, headBase}, {sw, b}, {-sw, b}, {-sw, headBase}, {-hw, headBase}};
    double c = std::cos(angle * kPi / 180), s = std::sin(angle * kPi / 180);
    std::vector<double> out;
    for (const auto& p : pts) push(out, cx + p[0] * c - p[1] * s, cy + p[0] * s + p[1] * c);
    return out;
}

std::vector<double> customOutline(const std::vector<int>& custom, double cx, double cy, double w, double h) {
    std::vector<double> out;
    if (custom.size() < 6) return out;
    int minX = custom[0], maxX = custom[0], minY = custom[1], maxY = custom[1];
    for (size_t i = 0; i + 1 < custom.size(); i += 2) {
        minX = std::min(minX, custom[i]);
        maxX = std::max(maxX, custom[i]);
        minY = std::min(minY, custom[i + 1]);
        maxY = std::max(maxY, custom[i + 1]);
    }
    double sx = maxX > minX ? w / (double(maxX) - minX) : 0;
    double sy = maxY > minY ? h / (double(maxY) - minY) : 0;
    for (size_t i = 0; i + 1 < custom.size(); i += 2)
        push(out, cx - w / 2 + (custom[i] - double(minX)) * sx, cy - h / 2 + (custom[i + 1] - double(minY)) * sy);
    return out;
}

}  // namespace

std::vector<double> symbolOutline(int code, const std::vector<int>& custom, double cx, double cy, double w,
                                  double h) {
    double a = w / 2, b = h / 2;
    std::vector<double> out;
    switch (kindOf(code)) {
        case Chart::SquareSymbol:
            push(out, cx - a, cy - b);
            push(out, cx + a, cy - b);
            push(out, cx + a, cy + b);
            push(out, cx - a, cy + b);
            return out;
        case Chart::DiamondSymbol:
            push(out, cx, cy - b);
            push(out, cx + a, cy);
            push(out, cx, cy + b);
            push(out, cx - a, cy);
            return out;
        case Chart::TriangleSymbol:
            push(out, cx, cy - b);
            push(out, cx + a, cy + b);
            push(out, cx - a, cy + b);
            return out;
        case Chart::RightTriangleSymbol:
            push(out, cx - a, cy - b);
            push(out, cx + a, cy);
            push(out, cx - a, cy + b);
            return out;
        case Chart::LeftTriangleSymbol:
            push(out, cx + a, cy - b);
            push(out, cx - a, cy);
            push(out, cx + a, cy + b);
            return out;
        case Chart::InvertedTriangleSymbol:
            push(out, cx - a, cy - b);
            push(out, cx + a, cy - b);
            push(out, cx, cy + b);
            return out;
        case Chart::CrossSymbol:
        case Chart::Cross2Symbol:
            return (code >> 12) ? crossOutline(code, cx, cy, a, b) : out;
        case Chart::Plotvane_PolygonSymbol:
            return radial(sidesOf(code, 5), false, false, cx, cy, a, b);
        case Chart::Plotvane_Polygon2Symbol:
            return radial(sidesOf(code, 5), false, true, cx, cy, a, b);
        case Chart::Plotvane_StarSymbol:
            return radial(sidesOf(code, 5), true, false, cx, cy, a, b);
        case Chart::Plotvane_CustomSymbol:
            return customOutline(custom, cx, cy, w, h);
        case Chart::Plotvane_ArrowSymbol:
            return arrowOutline(code, cx, cy, a, b);
        default:
            return out;
    }
}

void drawSymbolShape(DrawArea* d, int code, const std::vector<int>& custom, double cx, double cy, int w, int h,
                     int fillColor, int edgeColor, int lineWidth) {
    if (!d || w < 1 || h < 1) return;
    if (edgeColor == Chart::SameAsMainColor) edgeColor = fillColor;
    int kind = kindOf(code);
    // The outline runs through pixel centres, so a box of w pixels spans w - 1.
    double bw = w - 1, bh = h - 1;
    int rx = (w - 1) / 2, ry = (h - 1) / 2;
    int icx = static_cast<int>(std::floor(cx + 0.5)), icy = static_cast<int>(std::floor(cy + 0.5));
    switch (kind) {
        case Chart::CircleShape:
        case Chart::CircleShapeNoShading:
            d->circle(icx, icy, rx, ry, edgeColor, fillColor);
            return;
        case Chart::GlassSphereShape:
        case Chart::GlassSphere2Shape:
        case Chart::SolidSphereShape: {
            int base = d->getARGBColor(fillColor);
            int light = kind == Chart::SolidSphereShape ? d->adjustBrightness(base, 1.6) : 0xffffff;
            int shade = kind == Chart::GlassSphere2Shape ? d->adjustBrightness(base, 0.6) : base;
            int brush = d->radialGradientColor(icx - rx / 3, icy - ry / 3, std::max(rx * 4 / 3, 1),
                                               std::max(ry * 4 / 3, 1), light, shade);
            d->circle(icx, icy, rx, ry, edgeColor, brush);
            return;
        }
        default:
            break;
    }
    std::vector<double> outline = symbolOutline(code, custom, cx, cy, bw, bh);
    if (!outline.empty()) {
        d->polygon(DoubleArray(outline.data(), static_cast<int>(outline.size())), edgeColor, fillColor);
        return;
    }
    if ((kind == Chart::CrossSymbol || kind == Chart::Cross2Symbol) && lineWidth > 0) {
        double a = bw / 2, b = bh / 2;
        if (kind == Chart::CrossSymbol) {
            d->line(cx - a, cy, cx + a, cy, fillColor, lineWidth);
            d->line(cx, cy - b, cx, cy + b, fillColor, lineWidth);
        } else {
            d->line(cx - a, cy - b, cx + a, cy + b, fillColor, lineWidth);
            d->line(cx - a, cy + b, cx + a, cy - b, fillColor, lineWidth);
        }
    }
}

DataSymbol::~DataSymbol() { clear(); }

void DataSymbol::dropCache() {
    if (cache_) cache_->destroy();
    cache_ = nullptr;
}

void DataSymbol::clear() {
    dropCache();
    if (custom_) custom_->destroy();
    custom_ = nullptr;
    code_ = 0;
    polygon_.clear();
    imagePath_.clear();
    imageLoaded_ = false;
}

void DataSymbol::setShape(int code, int size, int fillColor, int edgeColor, int lineWidth) {
    clear();
    code_ = code;
    width_ = height_ = std::clamp(size, 0, kMaxSymbolSize);
    fillColor_ = fillColor;
    edgeColor_ = edgeColor;
    lineWidth_ = std::clamp(lineWidth, 0, 100);
}

void DataSymbol::setPolygon(IntArray polygon, int size, int fillColor, int edgeColor) {
    setShape(Chart::Plotvane_CustomSymbol, size, fillColor, edgeColor, 1);
    if (polygon.data && polygon.len > 0) polygon_.assign(polygon.data, polygon.data + polygon.len);
}

void DataSymbol::setImage(const char* path) {
    clear();
    imagePath_ = path ? path : "";
}

void DataSymbol::setDrawing(DrawArea* d) {
    clear();
    if (d) custom_ = d->addRef();
}

int DataSymbol::width() const { return custom_ ? custom_->getWidth() : width_; }
int DataSymbol::height() const { return custom_ ? custom_->getHeight() : height_; }

void DataSymbol::prepare(DrawArea* chartArea, int dataColor, int edgeColor) {
    if (!chartArea) return;
    if (!imagePath_.empty() && !imageLoaded_) {
        imageLoaded_ = true;
        DrawArea* image = DrawArea::create();
        image->setSearchPath(chartArea->getSearchPath());
        if (image->load(imagePath_.c_str()))
            custom_ = image;
        else
            image->destroy();
    }
    if (custom_ || code_ == 0) return;
    // Symbols with a centre pixel have odd sizes.
    int kind = kindOf(code_);
    if (kind == Chart::CircleShape || kind == Chart::CrossSymbol || kind == Chart::GlassSphereShape ||
        kind == Chart::GlassSphere2Shape || kind == Chart::SolidSphereShape) {
        if (width_ % 2 == 0) ++width_;
        if (height_ % 2 == 0) ++height_;
    }
    resolvedFill_ = fillColor_ == -1 ? dataColor : fillColor_;
    resolvedEdge_ = edgeColor_ == -1 ? edgeColor : edgeColor_;
    if (resolvedFill_ == Chart::SameAsMainColor) resolvedFill_ = dataColor;
    dropCache();
    if (width_ < 1 || height_ < 1) return;
    cache_ = chartArea->subDrawArea(width_, height_);
    drawSymbolShape(cache_, code_, polygon_, (width_ - 1) / 2.0, (height_ - 1) / 2.0, width_, height_,
                    resolvedFill_, resolvedEdge_, lineWidth_);
}

void DataSymbol::paint(DrawArea* d, int x, int y) const { paint(d, x, y, width(), height()); }

void DataSymbol::paint(DrawArea* d, int x, int y, int w, int h) const {
    if (!d || w < 1 || h < 1) return;
    if (custom_) {
        d->merge(custom_, x, y, Chart::Center, 0);
        return;
    }
    if (code_ == 0) return;
    bool stamp = cache_ && w == width_ && h == height_ && !isDynamicColor(resolvedFill_) &&
                 !isDynamicColor(resolvedEdge_);
    if (stamp) {
        d->merge(cache_, x, y, Chart::Center, 0);
        return;
    }
    drawSymbolShape(d, code_, polygon_, x, y, w, h, resolvedFill_, resolvedEdge_, lineWidth_);
}

}  // namespace plotvane

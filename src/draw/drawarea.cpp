// DrawAreaImpl: the public drawing operations. Each one checks and clamps its arguments, drops
// calls that cannot paint anything (transparent colours, degenerate sizes, shapes entirely off
// one side of the canvas), and forwards to the recorder. Filled round primitives are built here
// as shapes of straight and elliptic edges.

#include "draw/drawarea_p.h"

#include <plotvane/mutex.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "draw/angles_p.h"
#include "draw/canvaslimits_p.h"
#include "draw/drawbmp_p.h"
#include "draw/imageio_p.h"

namespace plotvane {

namespace {

constexpr int kTransparent = Chart::Transparent;

bool finite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// A sub area: draws into its own recording, which mergeParent hands back to the parent rotated.
class SubDrawArea final : public DrawAreaImpl {
public:
    explicit SubDrawArea(DrawAreaImpl* parent) : DrawAreaImpl(parent) {}

    void mergeParent(int x, int y, double angle) override {
        if (!std::isfinite(angle)) return;
        double a = std::fmod(angle, 360);
        if (a < 0) a += 360;
        double c = cosDeg(a), s = sinDeg(a);
        double w = getWidth(), h = getHeight();
        double ox, oy;
        if (a <= 90) {
            ox = x;
            oy = y + w * s;
        } else if (a <= 180) {
            ox = x - w * c;
            oy = y + w * s - h * c;
        } else if (a <= 270) {
            ox = x - w * c - h * s;
            oy = y - h * c;
        } else {
            ox = x - h * s;
            oy = y;
        }
        parent_->mergeRotated(this, ox, oy, a);
    }
};

struct FontSearchPath {
    vek::Mutex mutex;
    std::string path;
};

FontSearchPath& fontSearchPath() {
    static FontSearchPath instance;
    return instance;
}

}  // namespace

ZoneSplitter::~ZoneSplitter() = default;
DrawArea::~DrawArea() = default;

DrawArea* DrawArea::create() { return new DrawAreaImpl(); }

int DrawArea::alignX(int width, int alignment) {
    switch (alignment) {
        case 2: case 5: case 8: return width / 2;
        case 3: case 6: case 9: return width - 1;
        default: return 0;
    }
}

int DrawArea::alignY(int height, int alignment) {
    if (alignment >= 1 && alignment <= 3) return height - 1;
    if (alignment >= 4 && alignment <= 6) return height / 2;
    return 0;
}

int DrawArea::getImageType(MemBlock data) {
    if (!data.data || data.len < 3) return kImageUnknown;
    return plotvane::getImageType(reinterpret_cast<const unsigned char*>(data.data), data.len);
}

bool DrawArea::getImageSize(MemBlock data, int* width, int* height) {
    int w = 0, h = 0;
    if (data.data && data.len > 0) plotvane::getImageSize(reinterpret_cast<const unsigned char*>(data.data), data.len, w, h);
    if (width) *width = w;
    if (height) *height = h;
    return w > 0 && h > 0;
}

const char* DrawArea::getMediaType(int imageType) {
    switch (imageType) {
        case kImagePNG: return "image/png";
        case kImageGIF: return "image/gif";
        case kImageJPG: return "image/jpeg";
        case kImageBMP: return "image/bmp";
        default: return "application/octet-stream";
    }
}

int DrawArea::rawColorAdjustBrightness(int color, int k) {
    uint32_t c = static_cast<uint32_t>(color);
    uint32_t t = c >> 24;
    if (t == 255) return kTransparent;
    if (k < 0) return static_cast<int>(t << 24);
    uint32_t channels[3] = {(c >> 16) & 0xff, (c >> 8) & 0xff, c & 0xff};
    for (uint32_t& ch : channels) {
        if (k <= 1024) {
            ch = (ch * static_cast<uint32_t>(k)) >> 10;
        } else {
            uint32_t m = static_cast<uint32_t>((k / 2 + 262144) / k);
            ch = 255 - (((255 - ch) * m) >> 8);
        }
    }
    return static_cast<int>((t << 24) | (channels[0] << 16) | (channels[1] << 8) | channels[2]);
}

bool DrawArea::encodePNG(vek::ostream& out, const uint32_t* pixels, int width, int height) {
    if (!pixels || width < 1 || height < 1) return false;
    return plotvane::encodePNG(out, pixels, width, height);
}

void DrawArea::setFontSearchPath(const char* path) {
    FontSearchPath& p = fontSearchPath();
    vek::MutexLock lock(p.mutex);
    p.path = path ? path : "";
}

const char* DrawArea::getFontSearchPath() {
    FontSearchPath& p = fontSearchPath();
    vek::MutexLock lock(p.mutex);
    return p.path.c_str();
}

DrawAreaImpl::DrawAreaImpl() : meta_(MetaDraw::create(this)), colors_(std::make_shared<ColorState>()) {}

DrawAreaImpl::DrawAreaImpl(DrawAreaImpl* parent)
    : parent_(parent),
      meta_(MetaDraw::create(this)),
      textAntiAlias_(parent->textAntiAlias_),
      antiAlias_(parent->antiAlias_),
      colors_(parent->colors_),
      colorRoot_(parent->colorRoot_),
      searchPath_(parent->searchPath_) {
    meta_->setMetaParent(parent->meta_);
}

DrawAreaImpl::~DrawAreaImpl() {
    for (auto& entry : drawAreaCache_) entry.second->destroy();
    for (DrawArea* shape : shapes_) shape->destroy();
    meta_->destroy();
    delete canvas_;
}

DrawArea* DrawAreaImpl::addRef() {
    ++refs_;
    return this;
}

void DrawAreaImpl::destroy() {
    if (--refs_ <= 0) delete this;
}

bool DrawAreaImpl::isEmpty() const { return meta_->isEmpty(); }

DrawBMP* DrawAreaImpl::makeCanvas() {
    if (!canvas_) canvas_ = DrawBMP::create(parent_ ? parent_->canvas_ : nullptr);
    return canvas_;
}

DrawBMP* DrawAreaImpl::getCanvas() {
    DrawBMP* canvas = makeCanvas();
    canvas->setAntiAlias(antiAlias_, textAntiAlias_);
    canvas->setInterlace(interlace_);
    canvas->setTransparentColor(transparentColor_);
    canvas->setDitherMethod(ditherMethod_);
    canvas->setPaletteMode(paletteMode_);
    int end = meta_->drawTo(canvas, replayPos_);
    if (end > 0) replayPos_ = end;
    return canvas;
}

const uint32_t* DrawAreaImpl::getPixels() { return getCanvas()->getPixels(); }

void DrawAreaImpl::resetClip() {
    clip_[0] = 0;
    clip_[1] = 0;
    clip_[2] = width_ - 1;
    clip_[3] = height_ - 1;
}

void DrawAreaImpl::initDynamicLayer() {
    if (meta_->hasDynamicLayer()) removeDynamicLayer(true);
    resetClip();
    meta_->setClipRect(clip_[0], clip_[1], clip_[2], clip_[3]);
    meta_->initDynamicLayer(getCanvas());
    replayPos_ = meta_->streamSize();
    layerColorCount_ = static_cast<int>(colors_->slots.size());
    layerDerivedCount_ = static_cast<int>(colors_->derived.size());
}

void DrawAreaImpl::removeDynamicLayer(bool keepBase) {
    if (!meta_->hasDynamicLayer()) return;
    replayPos_ = meta_->clearDynamicLayer(keepBase, canvas_, layerColorCount_);
    colors_->slots.resize(std::min(colors_->slots.size(), static_cast<size_t>(layerColorCount_)));
    colors_->derived.resize(std::min(colors_->derived.size(), static_cast<size_t>(layerDerivedCount_)));
    resetClip();
    meta_->setClipRect(clip_[0], clip_[1], clip_[2], clip_[3]);
}

void DrawAreaImpl::setSize(int width, int height, int bgColor) {
    if (width < 1 || height < 1)
        setLastError("bad size %d x %d; using %d x %d", width, height, std::max(1, width), std::max(1, height));
    width = std::max(1, width);
    height = std::max(1, height);
    if (!acceptableCanvas(width, height)) {
        setLastError("canvas size %d x %d is past the limit", width, height);
        return;
    }
    width_ = width;
    height_ = height;
    bgColor_ = bgColor;
    meta_->setSize(width_, height_, bgColor);
    resetClip();
}

void DrawAreaImpl::resize(int newWidth, int newHeight, int, double) {
    newWidth = std::max(1, newWidth);
    newHeight = std::max(1, newHeight);
    if (!acceptableCanvas(newWidth, newHeight)) return;
    width_ = newWidth;
    height_ = newHeight;
    meta_->resize(width_, height_);
    resetClip();
}

void DrawAreaImpl::setClipRect(int left, int top, int right, int bottom) {
    clip_[0] = std::max(0, left);
    clip_[1] = std::max(0, top);
    clip_[2] = std::min(width_ - 1, right);
    clip_[3] = std::min(height_ - 1, bottom);
    meta_->setClipRect(clip_[0], clip_[1], clip_[2], clip_[3]);
}

int* DrawAreaImpl::getClipRect(int rect[4]) const {
    if (rect) std::copy(clip_, clip_ + 4, rect);
    return rect;
}

void DrawAreaImpl::setBgColor(int color) {
    bgColor_ = color;
    meta_->setBgColor(color);
}

void DrawAreaImpl::addDropShadow(int mode, int xOffset, int yOffset, int blurRadius, int color) {
    // Offsets and blur past these would only make the picture of a shadow larger than any canvas.
    xOffset = std::clamp(xOffset, -4096, 4096);
    yOffset = std::clamp(yOffset, -4096, 4096);
    blurRadius = std::clamp(blurRadius, 0, 1024);
    int w = width_ + std::max(0, blurRadius - xOffset) + std::max(0, xOffset + blurRadius);
    int h = height_ + std::max(0, blurRadius - yOffset) + std::max(0, yOffset + blurRadius);
    if (!acceptableCanvas(w, h)) return;
    meta_->addDropShadow(mode, xOffset, yOffset, blurRadius, color);
    width_ = w;
    height_ = h;
    resetClip();
}

void DrawAreaImpl::move(double xOffset, double yOffset, int bgColor, int filter, double blur) {
    if (!finite({xOffset, yOffset})) return;
    meta_->affineTransform(1, 0, -xOffset, 0, 1, yOffset, bgColor, filter, blur);
}

void DrawAreaImpl::rotate(double angle, int bgColor, double cx, double cy, int filter, double blur) {
    if (!finite({angle, cx, cy})) return;
    if (cx == -1) cx = (width_ - 1) / 2.0;
    if (cy == -1) cy = (height_ - 1) / 2.0;
    double c = cosDeg(angle), s = sinDeg(angle);
    meta_->affineTransform(c, s, cx - cx * c - cy * s, -s, c, cy - cy * c + cx * s, bgColor, filter, blur);
}

void DrawAreaImpl::hFlip() { meta_->affineTransform(-1, 0, width_ - 1, 0, 1, 0, kTransparent, 1, 1.0); }

void DrawAreaImpl::vFlip() { meta_->affineTransform(1, 0, 0, 0, -1, height_ - 1, kTransparent, 1, 1.0); }

void DrawAreaImpl::affineTransform(double a, double b, double c, double d, double e, double f, int bgColor,
                                   int filter, double blur) {
    if (!finite({a, b, c, d, e, f, blur})) return;
    meta_->affineTransform(a, b, c, d, e, f, bgColor, filter, blur);
}

void DrawAreaImpl::clone(DrawArea* d, int x, int y, int alignment, int newWidth, int newHeight, int, double) {
    auto* target = static_cast<DrawAreaImpl*>(d);
    if (!target || target == this) return;
    int w = std::max(1, newWidth == -1 ? width_ : newWidth);
    int h = std::max(1, newHeight == -1 ? height_ : newHeight);
    target->meta()->merge(this, x - alignX(w, alignment), y - alignY(h, alignment), w, h, 0);
}

void DrawAreaImpl::pixel(int x, int y, int color) { getCanvas()->pixel(x, y, getARGBColor(color)); }

int DrawAreaImpl::getPixel(int x, int y) { return getCanvas()->getPixel(x, y); }

void DrawAreaImpl::commitAllSuperPixels() { meta_->commitSuperPixels(); }

void DrawAreaImpl::hline(int x1, int x2, int y, int color) {
    int c = getARGBColor(color);
    if (c == kTransparent || y < clip_[1] || y > clip_[3]) return;
    if (x1 > x2) std::swap(x1, x2);
    x1 = std::max(x1, clip_[0]);
    x2 = std::min(x2, clip_[2]);
    if (x1 > x2) return;
    meta_->line(x1, y, x2, y, c, 1);
}

void DrawAreaImpl::vline(int y1, int y2, int x, int color) {
    int c = getARGBColor(color);
    if (c == kTransparent || x < clip_[0] || x > clip_[2]) return;
    if (y1 > y2) std::swap(y1, y2);
    y1 = std::max(y1, clip_[1]);
    y2 = std::min(y2, clip_[3]);
    if (y1 > y2) return;
    meta_->line(x, y1, x, y2, c, 1);
}

void DrawAreaImpl::line(double x1, double y1, double x2, double y2, int color, int lineWidth) {
    int c = getARGBColor(color);
    if (c == kTransparent || lineWidth < 1 || !finite({x1, y1, x2, y2})) return;
    lineWidth = std::min(lineWidth, std::max(width_, height_));
    if ((x1 < 0 && x2 < 0) || (x1 > width_ - 1 && x2 > width_ - 1) || (y1 < 0 && y2 < 0) ||
        (y1 > height_ - 1 && y2 > height_ - 1))
        return;
    meta_->line(x1, y1, x2, y2, c, lineWidth);
}

void DrawAreaImpl::initLineTo() { meta_->initLineTo(); }

void DrawAreaImpl::initLineTo(double x, double y) { meta_->initLineTo(x, y); }

void DrawAreaImpl::lineTo(double x1, double y1, double x2, double y2, int color, int lineWidth) {
    int c = getARGBColor(color);
    if (c == kTransparent || lineWidth < 1 || !finite({x1, y1, x2, y2})) return;
    meta_->lineTo(x1, y1, x2, y2, c, std::min(lineWidth, std::max(width_, height_)));
}

void DrawAreaImpl::rect(int x1, int y1, int x2, int y2, int edgeColor, int fillColor, int raisedEffect) {
    roundedRect(x1, y1, x2, y2, 0, 0, 0, 0, edgeColor, fillColor, raisedEffect);
}

void DrawAreaImpl::clipRoundedCorners(int r1, int r2, int r3, int r4, int bgColor) {
    int radii[4] = {std::max(0, r1), std::max(0, r2), std::max(0, r3), std::max(0, r4)};
    std::copy(radii, radii + 4, cornerRadii_);
    if (!radii[0] && !radii[1] && !radii[2] && !radii[3]) return;
    meta_->clipRoundedCorners(radii[0], radii[1], radii[2], radii[3], bgColor);
}

void DrawAreaImpl::polygon(const int* x, const int* y, int count, int edgeColor, int fillColor) {
    if (!x || !y || count < 3) return;
    std::vector<double> dx(x, x + count), dy(y, y + count);
    polygon(DoubleArray(dx.data(), count), DoubleArray(dy.data(), count), edgeColor, fillColor);
}

void DrawAreaImpl::polygon(IntArray x, IntArray y, int edgeColor, int fillColor) {
    polygon(x.data, y.data, std::min(x.len, y.len), edgeColor, fillColor);
}

void DrawAreaImpl::polygon(DoubleArray xy, int edgeColor, int fillColor) {
    if (!xy.data || xy.len < 6) return;
    int n = xy.len / 2;
    std::vector<double> x(static_cast<size_t>(n)), y(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        x[static_cast<size_t>(k)] = xy[2 * k];
        y[static_cast<size_t>(k)] = xy[2 * k + 1];
    }
    polygon(DoubleArray(x.data(), n), DoubleArray(y.data(), n), edgeColor, fillColor);
}

void DrawAreaImpl::polygon(DoubleArray x, DoubleArray y, int edgeColor, int fillColor) {
    int n = std::min(x.len, y.len);
    if (n < 3 || !x.data || !y.data) return;
    int edge = getARGBColor(edgeColor), fill = getARGBColor(fillColor);
    if (edge == kTransparent && fill == kTransparent) return;
    for (int k = 0; k < n; ++k)
        if (!finite({x[k], y[k]})) return;
    MetaShape shape(meta_);
    for (int k = 0; k < n; ++k) {
        int next = (k + 1) % n;
        shape.lineEdge(x[k], y[k], x[next], y[next], edge);
    }
    shape.fill(fill);
}

void DrawAreaImpl::polygonEx(DoubleArray x, DoubleArray y, int edgeColor, int fillColor, double scale,
                             double angle, double xOffset, double yOffset) {
    int n = std::min(x.len, y.len);
    if (n < 3 || !x.data || !y.data || !finite({scale, angle, xOffset, yOffset})) return;
    int edge = getARGBColor(edgeColor), fill = getARGBColor(fillColor);
    if (edge == kTransparent && fill == kTransparent) return;
    double c = cosDeg(angle), s = sinDeg(angle);
    std::vector<double> px, py;
    px.reserve(static_cast<size_t>(n));
    py.reserve(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        double u = x[k] * scale, v = y[k] * scale;
        if (!finite({u, v})) return;
        px.push_back(xOffset + u * c - v * s);
        py.push_back(yOffset + u * s + v * c);
    }
    meta_->polygon(px, py, edge, fill);
}

void DrawAreaImpl::exactPolygon(DoubleArray x, DoubleArray y, int color) {
    int n = std::min(x.len, y.len);
    if (n < 3 || !x.data || !y.data || getARGBColor(color) == kTransparent) return;
    std::vector<double> px(x.data, x.data + n), py(y.data, y.data + n);
    for (int k = 0; k < n; ++k)
        if (!finite({px[static_cast<size_t>(k)], py[static_cast<size_t>(k)]})) return;
    meta_->exactPolygon(px, py, color);
}

void DrawAreaImpl::surface(int x1, int y1, int x2, int y2, int depthX, int depthY, int edgeColor, int fillColor) {
    surfaceEx(x1, y1, x2, y2, depthX, depthY, edgeColor, fillColor, false);
}

void DrawAreaImpl::surfaceEx(int x1, int y1, int x2, int y2, int depthX, int depthY, int edgeColor, int fillColor,
                             bool noEdges) {
    int edge = getARGBColor(edgeColor), fill = getARGBColor(fillColor);
    if (fill == kTransparent && (noEdges || edge == kTransparent)) return;
    double x[4] = {double(x1), double(x2), double(x2) + depthX, double(x1) + depthX};
    double y[4] = {double(y1), double(y2), double(y2) + depthY, double(y1) + depthY};
    MetaShape shape(meta_);
    for (int k = 0; k < 4; ++k) shape.lineEdge(x[k], y[k], x[(k + 1) % 4], y[(k + 1) % 4], edge);
    shape.fill(fill, false, noEdges);
}

void DrawAreaImpl::sector(int cx, int cy, int rx, int ry, double a1, double a2, int edgeColor, int fillColor) {
    ringSector(cx, cy, rx, ry, 0, 0, a1, a2, edgeColor, fillColor);
}

void DrawAreaImpl::ringSector(int cx, int cy, int rx, int ry, int irx, int iry, double a1, double a2,
                              int edgeColor, int fillColor) {
    ringSectorEx(cx, cy, rx, ry, irx, iry, a1, a2, edgeColor, edgeColor, edgeColor, edgeColor, true, fillColor);
}

void DrawAreaImpl::ringSectorEx(int cx, int cy, int rx, int ry, int irx, int iry, double a1, double a2,
                                int outerEdgeColor, int innerEdgeColor, int startEdgeColor, int endEdgeColor,
                                bool drawEdges, int fillColor) {
    if (!finite({a1, a2}) || a1 == a2 || rx < 0 || ry < 0 || (rx == 0 && ry == 0)) return;
    if (a2 < a1) std::swap(a1, a2);
    if (a2 - a1 >= 360) {
        ringEx(cx, cy, rx, ry, irx, iry, outerEdgeColor, innerEdgeColor, drawEdges, fillColor, false, false);
        return;
    }
    int fill = getARGBColor(fillColor);
    int edges[4] = {outerEdgeColor, innerEdgeColor, startEdgeColor, endEdgeColor};
    bool anyEdge = false;
    for (int& e : edges) {
        e = drawEdges ? getARGBColor(e) : kTransparent;
        anyEdge = anyEdge || e != kTransparent;
    }
    if (fill == kTransparent && !anyEdge) return;
    irx = std::max(0, irx);
    iry = std::max(0, iry);
    bool hollow = irx > 0 || iry > 0;
    MetaShape::normalizeArc(a1, a2);
    MetaShape shape(meta_);
    shape.arcEdge(cx, cy, rx, ry, a1, a2, edges[0]);
    if (hollow) shape.arcEdge(cx, cy, irx, iry, a1, a2, edges[1]);
    shape.chordEdge(cx, cy, irx, iry, a1, cx, cy, rx, ry, a1, edges[2]);
    shape.chordEdge(cx, cy, irx, iry, a2, cx, cy, rx, ry, a2, edges[3]);
    shape.fill(fill, false, !drawEdges);
}

void DrawAreaImpl::circle(int cx, int cy, int rx, int ry, int edgeColor, int fillColor) {
    ring(cx, cy, rx, ry, 0, 0, edgeColor, fillColor);
}

void DrawAreaImpl::ring(int cx, int cy, int rx, int ry, int irx, int iry, int edgeColor, int fillColor) {
    ringEx(cx, cy, rx, ry, irx, iry, edgeColor, edgeColor, true, fillColor, false, false);
}

void DrawAreaImpl::ringEx(int cx, int cy, int rx, int ry, int irx, int iry, int outerEdgeColor, int innerEdgeColor,
                          bool drawEdges, int fillColor, bool startFlag, bool lowerEdgeOnly) {
    if (rx < 0 || ry < 0 || (rx == 0 && ry == 0)) return;
    int fill = getARGBColor(fillColor);
    int outer = drawEdges ? getARGBColor(outerEdgeColor) : kTransparent;
    int inner = drawEdges ? getARGBColor(innerEdgeColor) : kTransparent;
    if (fill == kTransparent && outer == kTransparent && inner == kTransparent) return;
    MetaShape shape(meta_);
    if (lowerEdgeOnly) shape.arcEdge(cx, cy, rx, ry, 0, 360, 90, 270, outer);
    else shape.arcEdge(cx, cy, rx, ry, 0, 360, outer);
    if (irx > 0 || iry > 0) shape.arcEdge(cx, cy, std::max(0, irx), std::max(0, iry), 0, 360, inner);
    shape.fill(fill, startFlag, !drawEdges);
}

void DrawAreaImpl::arc(int cx, int cy, int rx, int ry, double startAngle, double endAngle, int color) {
    int c = getARGBColor(color);
    if (c == kTransparent || !finite({startAngle, endAngle}) || rx < 0 || ry < 0) return;
    MetaShape shape(meta_);
    shape.arcEdge(cx, cy, rx, ry, startAngle, endAngle, c);
    if (shape.edges().empty()) return;
    shape.fill(kTransparent);
}

void DrawAreaImpl::cylinder(int cx, int cy, int rx, int ry, double a1, double a2, int depthX, int depthY,
                            int edgeColor, int fillColor) {
    int edge = getARGBColor(edgeColor), fill = getARGBColor(fillColor);
    if ((edge == kTransparent && fill == kTransparent) || !finite({a1, a2}) || a1 == a2 || rx < 0 || ry < 0) return;
    MetaShape::normalizeArc(a1, a2);
    MetaShape shape(meta_);
    shape.arcEdge(cx, cy, rx, ry, a1, a2, edge);
    shape.arcEdge(cx + depthX, cy + depthY, rx, ry, a1, a2, edge);
    shape.chordEdge(cx, cy, rx, ry, a1, cx + depthX, cy + depthY, rx, ry, a1, edge);
    shape.chordEdge(cx, cy, rx, ry, a2, cx + depthX, cy + depthY, rx, ry, a2, edge);
    shape.fill(fill);
}

void DrawAreaImpl::circleSegment(int cx, int cy, int rx, int ry, double a1, double a2, int edgeColor,
                                 int fillColor) {
    int edge = getARGBColor(edgeColor), fill = getARGBColor(fillColor);
    if ((edge == kTransparent && fill == kTransparent) || !finite({a1, a2}) || a1 == a2 || rx < 0 || ry < 0) return;
    MetaShape::normalizeArc(a1, a2);
    MetaShape shape(meta_);
    shape.arcEdge(cx, cy, rx, ry, a1, a2, edge);
    shape.chordEdge(cx, cy, rx, ry, a2, cx, cy, rx, ry, a1, edge);
    shape.fill(fill);
}

void DrawAreaImpl::vFill(DoubleArray x, DoubleArray y, double baseY, int fillColor) {
    int n = std::min(x.len, y.len);
    if (n < 2 || !x.data || !y.data || !std::isfinite(baseY)) return;
    std::vector<double> px(x.data, x.data + n), py(y.data, y.data + n);
    px.push_back(x[n - 1]);
    py.push_back(baseY);
    px.push_back(x[0]);
    py.push_back(baseY);
    polygon(DoubleArray(px.data(), n + 2), DoubleArray(py.data(), n + 2), kTransparent, fillColor);
}

// Cardinal spline: each segment is a cubic Hermite curve whose tangents are the tension times
// the chord between the neighbouring points, drawn as short joined line pieces.
void DrawAreaImpl::joinWithSpline(DoubleArray x, DoubleArray y, int color, int lineWidth, double tension) {
    int n = std::min(x.len, y.len);
    if (n < 2 || !x.data || !y.data || !std::isfinite(tension)) return;
    initLineTo();
    for (int k = 0; k + 1 < n; ++k) {
        double x0 = x[std::max(k - 1, 0)], y0 = y[std::max(k - 1, 0)];
        double x1 = x[k], y1 = y[k], x2 = x[k + 1], y2 = y[k + 1];
        double x3 = x[std::min(k + 2, n - 1)], y3 = y[std::min(k + 2, n - 1)];
        double tx1 = tension * (x2 - x0), ty1 = tension * (y2 - y0);
        double tx2 = tension * (x3 - x1), ty2 = tension * (y3 - y1);
        double length = std::hypot(x2 - x1, y2 - y1);
        int steps = std::isfinite(length) ? std::max(1, std::min(100, static_cast<int>(length / 4))) : 1;
        double px = x1, py = y1;
        for (int s = 1; s <= steps; ++s) {
            double t = static_cast<double>(s) / steps, t2 = t * t, t3 = t2 * t;
            double h1 = 2 * t3 - 3 * t2 + 1, h2 = -2 * t3 + 3 * t2, h3 = t3 - 2 * t2 + t, h4 = t3 - t2;
            double qx = h1 * x1 + h2 * x2 + h3 * tx1 + h4 * tx2;
            double qy = h1 * y1 + h2 * y2 + h3 * ty1 + h4 * ty2;
            lineTo(px, py, qx, qy, color, lineWidth);
            px = qx;
            py = qy;
        }
    }
    initLineTo();
}

void DrawAreaImpl::gouraudShading(double x1, double y1, double b1, double x2, double y2, double b2, double x3,
                                  double y3, double b3, int color) {
    if (getARGBColor(color) == kTransparent || !finite({x1, y1, b1, x2, y2, b2, x3, y3, b3})) return;
    double v[9] = {x1, y1, b1, x2, y2, b2, x3, y3, b3};
    meta_->gouraudShading(v, color);
}

// A frame of the given thickness: the band between two rounded rectangles, filled even-odd.
void DrawAreaImpl::roundedFrame(int x1, int y1, int x2, int y2, int r1, int r2, int r3, int r4, int thickness,
                                int frameColor, int outerEdgeColor, int innerEdgeColor) {
    if (thickness < 1) return;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    int fill = getARGBColor(frameColor), outer = getARGBColor(outerEdgeColor), inner = getARGBColor(innerEdgeColor);
    if (fill == kTransparent && outer == kTransparent && inner == kTransparent) return;
    MetaShape shape(meta_);
    auto addRect = [&shape](double l, double t, double r, double b, const int radii[4], int color) {
        double c[4][2] = {{l + radii[0], t + radii[0]}, {r - radii[1], t + radii[1]}, {r - radii[2], b - radii[2]},
                          {l + radii[3], b - radii[3]}};
        // Clockwise from the top-left corner: corner arc, then the side that follows it.
        shape.lineEdge(c[0][0], t, c[1][0], t, color);
        shape.lineEdge(r, c[1][1], r, c[2][1], color);
        shape.lineEdge(c[2][0], b, c[3][0], b, color);
        shape.lineEdge(l, c[3][1], l, c[0][1], color);
        for (int k = 0; k < 4; ++k)
            if (radii[k] > 0) shape.arcEdge(c[k][0], c[k][1], radii[k], radii[k], 270 + 90 * k, 360 + 90 * k, color);
    };
    int outerRadii[4] = {std::max(0, r1), std::max(0, r2), std::max(0, r3), std::max(0, r4)};
    addRect(x1, y1, x2, y2, outerRadii, outer);
    if (x2 - x1 > 2 * thickness && y2 - y1 > 2 * thickness) {
        int innerRadii[4];
        for (int k = 0; k < 4; ++k) innerRadii[k] = std::max(0, outerRadii[k] - thickness);
        addRect(x1 + thickness, y1 + thickness, x2 - thickness, y2 - thickness, innerRadii, inner);
    }
    shape.fill(fill);
}

void DrawAreaImpl::fill(int x, int y, int color, int borderColor) {
    getCanvas()->fill(x, y, getARGBColor(color), getARGBColor(borderColor));
}

void DrawAreaImpl::fill(int x, int y, int color) { getCanvas()->fill(x, y, getARGBColor(color)); }

void DrawAreaImpl::renderGlyphs(GlyphContainer& glyphs, int start, int end, int x, int y, int color) {
    meta_->text(glyphs, start, end, x, y, color, 0);
}

void DrawAreaImpl::renderTurnedGlyphs(GlyphContainer& glyphs, int start, int end, int x, int y, int color,
                                      int turn) {
    if (turn == 0 || turn == 90 || turn == 180 || turn == 270) meta_->text(glyphs, start, end, x, y, color, turn);
}

void DrawAreaImpl::merge(DrawArea* d, int x, int y, int alignment, int transparency) {
    auto* src = static_cast<DrawAreaImpl*>(d);
    if (!src || src == this || transparency >= 255) return;
    int w = src->getWidth(), h = src->getHeight();
    x = clampCoordinate(x), y = clampCoordinate(y);
    meta_->merge(src, x - alignX(w, alignment), y - alignY(h, alignment), w, h, transparency);
}

void DrawAreaImpl::merge(IntArray pixels, int width, int x, int y) {
    if (width <= 0 || !pixels.data) return;
    int height = pixels.len / width;
    if (height <= 0) return;
    meta_->mergeBitMap(pixels.data, width * height, width, clampCoordinate(x), clampCoordinate(y));
}

void DrawAreaImpl::mergeRotated(DrawAreaImpl* src, double x, double y, double angle) {
    if (src && src != this && finite({x, y, angle})) meta_->merge(src, x, y, angle);
}

void DrawAreaImpl::tile(DrawArea* d, int transparency) {
    if (!d || d->isEmpty() || d->getWidth() < 1 || d->getHeight() < 1) return;
    for (int y = 0; y < height_; y += d->getHeight())
        for (int x = 0; x < width_; x += d->getWidth()) merge(d, x, y, Chart::TopLeft, transparency);
}

DrawArea* DrawAreaImpl::subDrawArea(int width, int height) {
    auto* sub = new SubDrawArea(this);
    sub->setSize(std::max(1, width), std::max(1, height), kTransparent);
    return sub;
}

DrawArea* DrawAreaImpl::getDrawAreaCache(const char* name) {
    if (!name) return nullptr;
    for (auto& entry : drawAreaCache_)
        if (entry.first == name) return entry.second;
    return nullptr;
}

void DrawAreaImpl::putDrawAreaCache(const char* name, DrawArea* d) {
    if (!name || !d) return;
    drawAreaCache_.emplace_back(name, d->addRef());
}

int DrawAreaImpl::registerShape(DrawArea* shape) {
    if (!shape) return -1;
    shapes_.push_back(shape->addRef());
    return static_cast<int>(shapes_.size()) - 1;
}

DrawArea* DrawAreaImpl::getRegisteredShape(int id) {
    return id >= 0 && id < static_cast<int>(shapes_.size()) ? shapes_[static_cast<size_t>(id)] : nullptr;
}

void DrawAreaImpl::setSearchPath(const char* path) { searchPath_ = path ? path : ""; }

void DrawAreaImpl::setTransparentColor(int color) {
    transparentColor_ = (color == -1 || color == -2) ? color : getARGBColor(color);
}

void DrawAreaImpl::setAntiAlias(bool shapeAntiAlias, int textAntiAlias) {
    antiAlias_ = shapeAntiAlias;
    textAntiAlias_ = textAntiAlias;
}

void DrawAreaImpl::rAffineTransform(double a, double b, double c, double d, double e, double f, int bgColor,
                                    int filter, double blur) {
    getCanvas()->rAffineTransform(a, b, c, d, e, f, getARGBColor(bgColor), filter, blur);
}

void DrawAreaImpl::sphereTransform(int xDiameter, int yDiameter, int bgColor, int filter, double blur) {
    getCanvas()->sphereTransform(xDiameter, yDiameter, getARGBColor(bgColor), filter, blur);
}

void DrawAreaImpl::hCylinderTransform(int yDiameter, int bgColor, int filter, double blur) {
    getCanvas()->hCylinderTransform(yDiameter, getARGBColor(bgColor), filter, blur);
}

void DrawAreaImpl::vCylinderTransform(int xDiameter, int bgColor, int filter, double blur) {
    getCanvas()->vCylinderTransform(xDiameter, getARGBColor(bgColor), filter, blur);
}

void DrawAreaImpl::vTriangleTransform(int tHeight, int bgColor, int filter, double blur) {
    getCanvas()->vTriangleTransform(tHeight, getARGBColor(bgColor), filter, blur);
}

void DrawAreaImpl::hTriangleTransform(int tWidth, int bgColor, int filter, double blur) {
    getCanvas()->hTriangleTransform(tWidth, getARGBColor(bgColor), filter, blur);
}

void DrawAreaImpl::shearTransform(double xShear, double yShear, int bgColor, int filter, double blur) {
    getCanvas()->shearTransform(xShear, yShear, getARGBColor(bgColor), filter, blur);
}

void DrawAreaImpl::waveTransform(int period, double amplitude, double direction, double startAngle,
                                 bool longitudinal, int bgColor, int filter, double blur) {
    getCanvas()->waveTransform(period, amplitude, direction, startAngle, longitudinal, getARGBColor(bgColor), filter,
                               blur);
}

void DrawAreaImpl::setDefaultFonts(const char* normal, const char* bold, const char* italic,
                                   const char* boldItalic) {
    const char* names[4] = {normal, bold, italic, boldItalic};
    for (int k = 0; k < 4; ++k)
        if (names[k] && *names[k]) fonts_[static_cast<size_t>(k)] = names[k];
}

void DrawAreaImpl::setFontTable(int index, const char* font) {
    if (index < 0 || index >= 256) return;
    if (static_cast<size_t>(index) >= fonts_.size()) fonts_.resize(static_cast<size_t>(index) + 1);
    fonts_[static_cast<size_t>(index)] = font ? font : "";
}

const char* DrawAreaImpl::resolveFont(const char* name) {
    auto entry = [this](int k) {
        return fonts_[static_cast<size_t>(k) < fonts_.size() ? static_cast<size_t>(k) : 0].c_str();
    };
    if (!name || !*name) return entry(0);
    if (std::strchr(name, '.')) return name;
    static const char* const styles[4] = {"normal", "bold", "italic", "boldItalic"};
    for (int k = 0; k < 4; ++k)
        if (std::strcmp(name, styles[k]) == 0) return entry(k);
    if (std::strncmp(name, "font", 4) == 0) {
        const char* rest = name + 4;
        int n = std::atoi(rest);
        if (n == 0 && std::strcmp(rest, "0") != 0) return name;
        return n < 0 || n >= static_cast<int>(fonts_.size()) ? entry(0) : entry(n);
    }
    return name;
}

}  // namespace plotvane

// DrawBMPImpl: the raster back-end, tying the pipeline together.
//
// Each recorded command is turned into work for one stage: lines go to the line walkers
// (aaline.cpp), filled primitives become an AAShape for the fillers (edges.cpp, fill.cpp), text
// goes to the glyph blender, brush definitions fill the canvas's brush table, symbols are sub
// canvases replayed once and merged by id, and the warps resample the picture. The canvas
// (canvas.cpp) holds the pixels, clip rectangle, brushes and super pixels they all write through.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <new>

#include "draw/aaline_p.h"
#include "draw/canvas_p.h"
#include "draw/canvaslimits_p.h"
#include "draw/drawbmp_p.h"
#include "draw/edges_p.h"
#include "draw/effects_p.h"
#include "draw/floodfill_p.h"
#include "draw/glyphblend_p.h"
#include "draw/gouraud_p.h"
#include "draw/quantize_p.h"
#include "draw/resample_p.h"
#include "draw/warp_p.h"
#include "foundation/lasterror_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;

uint32_t u32(int c) {
    return static_cast<uint32_t>(c);
}

// Larger canvases are refused (the old one stays).
bool validSize(int w, int h) { return acceptableCanvas(w, h); }

std::vector<uint32_t> readImageFile(const char* fileName, int& width, int& height) {
    std::vector<uint32_t> pixels;
    std::vector<unsigned char> bytes;
    if (readImageBytes(fileName, bytes) != ImageRead::Ok) return pixels;
    const int length = static_cast<int>(bytes.size());
    if (!decodeImage(bytes.data(), length, getImageType(bytes.data(), length), pixels, width, height))
        pixels.clear();
    return pixels;
}

class DrawBMPImpl final : public DrawBMP {
public:
    explicit DrawBMPImpl(DrawBMPImpl* parent) {
        if (parent) {
            canvas_.parent = &parent->canvas_;
            setAntiAlias(parent->antiAlias(), parent->textAntiAlias());
        }
    }

    // Pixels and queries.
    int getWidth() const override { return canvas_.width(); }
    int getHeight() const override { return canvas_.height(); }
    uint32_t* getPixels() override { return canvas_.pixels(); }
    void pixel(int x, int y, int color) override { canvas_.pixel(x, y, u32(color)); }
    int getPixel(int x, int y) const override {
        if (x < 0 || y < 0 || x >= canvas_.width() || y >= canvas_.height())
            return static_cast<int>(kTransparent);
        return static_cast<int>(canvas_.pixels()[canvas_.index(x, y)]);
    }
    int getARGBColor(int color, int x, int y) override {
        return static_cast<int>(canvas_.colorAt(u32(color), x, y));
    }
    void fill(int x, int y, int color) override { floodFill(canvas_, x, y, u32(color)); }
    void fill(int x, int y, int color, int border) override {
        floodFillToBorder(canvas_, x, y, u32(color), u32(border));
    }
    void reduceColors(int colorCount, bool dither) override {
        plotvane::reduceColors(canvas_, colorCount, dither);
    }

    // Warps.
    void affineTransform(double a, double b, double c, double d, double e, double f, int bg, int filter,
                         double blur) override {
        const double m[6] = {a, b, c, d, e, f};
        affineWarp(canvas_, m, u32(bg), filter, blur);
    }
    void rAffineTransform(double a, double b, double c, double d, double e, double f, int bg, int filter,
                          double blur) override {
        const double det = a * e - b * d;
        if (!(std::isfinite(det) && det != 0)) return;
        const double m[6] = {e / det,  -b / det, (b * f - c * e) / det,
                             -d / det, a / det,  (c * d - a * f) / det};
        affineWarp(canvas_, m, u32(bg), filter, blur);
    }
    void sphereTransform(int xd, int yd, int bg, int filter, double blur) override {
        sphereWarp(canvas_, xd, yd, u32(bg), filter, blur);
    }
    void hCylinderTransform(int yd, int bg, int filter, double blur) override {
        cylinderWarp(canvas_, true, yd, u32(bg), filter, blur);
    }
    void vCylinderTransform(int xd, int bg, int filter, double blur) override {
        cylinderWarp(canvas_, false, xd, u32(bg), filter, blur);
    }
    void vTriangleTransform(int h, int bg, int filter, double blur) override {
        triangleWarp(canvas_, true, h, u32(bg), filter, blur);
    }
    void hTriangleTransform(int w, int bg, int filter, double blur) override {
        triangleWarp(canvas_, false, w, u32(bg), filter, blur);
    }
    void shearTransform(double xs, double ys, int bg, int filter, double blur) override {
        shearWarp(canvas_, xs, ys, u32(bg), filter, blur);
    }
    void waveTransform(int period, double amplitude, double direction, double startAngle, bool longitudinal,
                       int bg, int filter, double blur) override {
        waveWarp(canvas_, period, amplitude, direction, startAngle, longitudinal, u32(bg), filter, blur);
    }

    // Dynamic layer.
    void initDynamicLayer() override {
        canvas_.commitSuperPixels();
        saved_ = canvas_.buffer();
        savedW_ = canvas_.width();
        savedH_ = canvas_.height();
        hasSaved_ = true;
    }
    void clearDynamicLayer(bool keepBase) override {
        canvas_.commitSuperPixels();
        if (!hasSaved_) {
            canvas_.reset(canvas_.width(), canvas_.height(), kTransparent);
            return;
        }
        if (keepBase) {
            std::vector<uint32_t> copy(saved_);
            canvas_.adopt(std::move(copy), savedW_, savedH_);
            return;
        }
        std::vector<uint32_t> current;
        current.swap(canvas_.buffer());
        const int w = canvas_.width(), h = canvas_.height();
        canvas_.adopt(std::move(saved_), savedW_, savedH_);
        saved_ = std::move(current);
        savedW_ = w;
        savedH_ = h;
    }

    // Canvas set-up.
    void setSubDrawMode() override { canvas_.subDraw = true; }
    void setSize(int width, int height, int bg) override {
        width = std::max(1, width);
        height = std::max(1, height);
        if (!validSize(width, height)) {
            setLastError("bad image size %d x %d; kept %d x %d", width, height, canvas_.width(), canvas_.height());
            return;
        }
        shadow_ = ShadowLayer{};
        const int ow = canvas_.width(), oh = canvas_.height();
        std::vector<uint32_t> old;
        if (ow > 1 || oh > 1) {
            canvas_.commitSuperPixels();
            old.swap(canvas_.buffer());
        }
        // A plain background colour goes in as the buffer is made: one pass over the pixels.
        const bool plainBg = !Canvas::isCode(u32(bg));
        if (!canvas_.reset(width, height, plainBg ? u32(bg) : kTransparent)) {
            setLastError("no memory for a %d x %d image", width, height);
            if (!old.empty()) canvas_.adopt(std::move(old), ow, oh);
            return;
        }
        if (plainBg)
            noteBgColor(bg);
        else
            setBgColor(bg);
        for (int y = 0; y < std::min(oh, height) && !old.empty(); ++y)
            std::copy_n(old.begin() + static_cast<std::ptrdiff_t>(y) * ow, std::min(ow, width),
                        canvas_.pixels() + canvas_.index(0, y));
    }
    void resize(int width, int height) override {
        width = std::max(1, width);
        height = std::max(1, height);
        if (!validSize(width, height)) return;
        try {
            canvas_.commitSuperPixels();
            std::vector<uint32_t> out(static_cast<size_t>(width) * height);
            resizeTo(canvas_.pixels(), canvas_.width(), canvas_.height(), out.data(), width, height, 1, 1.0);
            canvas_.adopt(std::move(out), width, height);
        } catch (const std::bad_alloc&) {
        }
    }
    void setClipRect(int left, int top, int right, int bottom) override {
        canvas_.clip = ClipRect{std::max(0, left), std::max(0, top), std::min(canvas_.width() - 1, right),
                                std::min(canvas_.height() - 1, bottom)};
    }
    void setBgColor(int color) override {
        // A lighting or gradient background shades across the whole surface.
        setBoxFor(u32(color), 0, 0, canvas_.width() - 1, canvas_.height() - 1);
        canvas_.setBgColor(u32(color));
        noteBgColor(color);
    }
    void clipRoundedCorners(int r1, int r2, int r3, int r4, int bg) override {
        const int radii[4] = {r1, r2, r3, r4};
        plotvane::clipRoundedCorners(canvas_, radii, u32(bg));
    }
    void addDropShadow(int shadowColor, int xOffset, int yOffset, int blurRadius, int surround) override {
        plotvane::addDropShadow(canvas_, xOffset, yOffset, blurRadius, u32(shadowColor), u32(surround), &shadow_);
    }
    const ShadowLayer& shadowLayer() const override { return shadow_; }

    // Lines.
    void line(double x1, double y1, double x2, double y2, int color, int width) override {
        setBoxFor(u32(color), x1, y1, x2, y2);
        drawLine(canvas_, x1, y1, x2, y2, u32(color), width);
    }
    void initLineTo() override { penValid_ = false; }
    void initLineTo(double x, double y) override {
        penX_ = x;
        penY_ = y;
        penValid_ = true;
        penMoved_ = false;
    }
    void lineTo(double x, double y, int color, int width) override {
        if (penValid_) {
            setBoxFor(u32(color), penX_, penY_, x, y);
            drawLine(canvas_, penX_, penY_, x, y, u32(color), width, penMoved_);
        }
        penX_ = x;
        penY_ = y;
        penMoved_ = penValid_;
        penValid_ = true;
    }

    // Filled shapes.
    void roundedRect(double x1, double y1, double x2, double y2, int radius, int edgeColor,
                     int fillColor) override {
        const int radii[4] = {radius, radius, radius, radius};
        const uint32_t edges[4] = {u32(edgeColor), u32(edgeColor), u32(edgeColor), u32(edgeColor)};
        if (drawSquareRect(canvas_, x1, y1, x2, y2, radii, edges, u32(fillColor))) return;
        shape_.reset();
        buildRoundedRect(shape_, x1, y1, x2, y2, radii, edges);
        shape_.fill(canvas_, u32(fillColor), false, false);
    }
    void multiRoundedRect(double x1, double y1, double x2, double y2, const int radii[4],
                          const int colors[5]) override {
        const uint32_t edges[4] = {u32(colors[0]), u32(colors[1]), u32(colors[2]), u32(colors[3])};
        if (drawSquareRect(canvas_, x1, y1, x2, y2, radii, edges, u32(colors[4]))) return;
        shape_.reset();
        buildRoundedRect(shape_, x1, y1, x2, y2, radii, edges);
        shape_.fill(canvas_, u32(colors[4]), false, false);
    }
    void polygon(const double* x, const double* y, int n, int edgeColor, int fillColor) override {
        polygonShape(x, y, n, u32(edgeColor), false);
        shape_.fill(canvas_, u32(fillColor), false, false);
    }
    void exactPolygon(const double* x, const double* y, int n, int color) override {
        polygonShape(x, y, n, kTransparent, true);
        shape_.fill(canvas_, u32(color), false, true);
    }
    void shape(int fillColor, bool startFlag, bool noEdges, const std::vector<PathItem>& items) override {
        shape_.reset();
        for (const PathItem& p : items) {
            const double* d = p.d;
            if (p.kind == PathItem::Line) {
                shape_.addLine(d[0], d[1], d[2], d[3], u32(p.color), p.flag);
                continue;
            }
            bool finite = true;
            for (double v : p.d) finite = finite && std::isfinite(v);
            if (!finite) continue;
            const bool arc2 = p.kind == PathItem::Arc2;
            const bool drawn = arc2 ? p.flag : u32(p.color) != kTransparent;
            shape_.add(std::make_unique<AAEllipseEdge>(d[0], d[1], p.rx, p.ry, d[2], d[3], d[4], d[5],
                                                       u32(p.color), drawn, arc2 ? d[6] : d[2],
                                                       arc2 ? d[7] : d[3]));
        }
        shape_.fill(canvas_, u32(fillColor), startFlag, noEdges);
    }
    void gouraudShadedTriangle(const double v[9], int color) override {
        gouraudTriangle(canvas_, v, u32(color));
    }
    void commitSuperPixels() override { canvas_.commitSuperPixels(); }

    void text(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color) override {
        glyphBlender_.draw(canvas_, glyphs, first, end, dx, dy, u32(color));
    }
    void turnedText(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color, int turn) override {
        glyphBlender_.draw(canvas_, glyphs, first, end, dx, dy, u32(color), turn);
    }

    // Symbols and merges.
    DrawBackend* createSymbol(int id) override {
        if (symbols_.count(id)) return nullptr;
        auto symbol = std::make_unique<DrawBMPImpl>(this);
        DrawBMPImpl* raw = symbol.get();
        symbols_[id] = std::move(symbol);
        return raw;
    }
    void removeSymbol(int id) override { symbols_.erase(id); }
    void mergeSymbol(int id, int x, int y, int width, int height, int transparency) override {
        DrawBMPImpl* s = symbol(id);
        if (!s || transparency > 254 || width < 1 || height < 1) return;
        Canvas& src = s->canvas_;
        src.commitSuperPixels();
        if (src.width() == width && src.height() == height) {
            mergePixels(src.pixels(), width, height, x, y, transparency);
            return;
        }
        if (!validSize(width, height)) return;
        try {
            std::vector<uint32_t> scaled(static_cast<size_t>(width) * height);
            resizeTo(src.pixels(), src.width(), src.height(), scaled.data(), width, height, 1, 1.0);
            mergePixels(scaled.data(), width, height, x, y, transparency);
        } catch (const std::bad_alloc&) {
        }
    }
    void mergeSymbolRotated(int id, double x, double y, double angle) override;
    void mergeBitMap(const int* pixels, int count, int width, int x, int y) override {
        if (!pixels || width <= 0 || count / width <= 0) return;
        mergePixels(reinterpret_cast<const uint32_t*>(pixels), width, count / width, x, y, 0);
    }
    void loadStream(const unsigned char* data, int length, int imageType, int, int) override {
        std::vector<uint32_t> pixels;
        int w = 0, h = 0;
        if (!data || !decodeImage(data, length, imageType, pixels, w, h) || !validSize(w, h) ||
            pixels.size() < static_cast<size_t>(w) * h)
            return;
        for (uint32_t& p : pixels) p = canonical(p);
        canvas_.adopt(std::move(pixels), w, h);
    }

    // Brushes.
    void adjustBrightness(int id, int base, double factor) override {
        canvas_.setBrush(u32(id), makeBrightnessBrush(canvas_, u32(base), factor));
    }
    void transformedColor(int id, int base, const double m[6]) override {
        canvas_.setBrush(u32(id), makeTransformedBrush(canvas_, u32(base), m));
    }
    void brushedTextureColor(int id, int base, int width) override {
        canvas_.setBrush(u32(id), makeMetalTextureBrush(canvas_, u32(base), width));
    }
    void dashLineColor(int id, int color, int pattern) override {
        canvas_.setBrush(u32(id), makeDashLineBrush(u32(color), pattern));
    }
    void linearGradientColor(int id, double x1, double y1, double x2, double y2, bool periodic,
                             const std::vector<int>& stops) override {
        canvas_.setBrush(u32(id), makeLinearGradientBrush(x1, y1, x2, y2, periodic, stops));
    }
    void radialGradientColor(int id, int cx, int cy, int rx, int ry, bool periodic,
                             const std::vector<int>& stops) override {
        canvas_.setBrush(u32(id), makeRadialGradientBrush(cx, cy, rx, ry, periodic, stops));
    }
    void angleGradientColor(int id, const double d[6], const std::vector<int>& stops) override {
        canvas_.setBrush(u32(id), makeAngleGradientBrush(d, stops));
    }
    void relativeLinearGradientColor(int id, double x1, double y1, double x2, double y2, bool periodic,
                                     const std::vector<int>& stops) override {
        canvas_.setBrush(u32(id), makeRelativeLinearGradientBrush(canvas_, x1, y1, x2, y2, periodic, stops));
    }
    void lightingColor(int id, int base, const double d[4], bool periodic,
                       const std::vector<int>& table) override {
        canvas_.setBrush(u32(id), makeLightingBrush(canvas_, u32(base), d, periodic, table));
    }
    void linearLightingColor(int id, int base, const double d[4], bool periodic,
                             const std::vector<int>& table) override {
        canvas_.setBrush(u32(id), makeLinearLightingBrush(canvas_, u32(base), d, periodic, table));
    }
    void radialLightingColor(int id, int base, int cx, int cy, int rx, int ry,
                             const std::vector<int>& table) override {
        canvas_.setBrush(u32(id), makeRadialLightingBrush(canvas_, u32(base), cx, cy, rx, ry, table));
    }
    void relativeLinearLightingColor(int id, int base, const double d[4], bool periodic,
                                     const std::vector<int>& table) override {
        canvas_.setBrush(u32(id), makeRelativeLinearLightingBrush(canvas_, u32(base), d, periodic, table));
    }
    void patternColor(int id, int width, int height, int startX, int startY,
                      const std::vector<int>& pixels) override {
        canvas_.setBrush(u32(id), makePatternBrush(width, height, startX, startY,
                                                   std::vector<uint32_t>(pixels.begin(), pixels.end())));
    }
    void patternColor2(int id, int startX, int startY, const char* fileName) override {
        int w = 0, h = 0;
        std::vector<uint32_t> tile = readImageFile(fileName, w, h);
        canvas_.setBrush(u32(id),
                         tile.empty() ? nullptr : makePatternBrush(w, h, startX, startY, std::move(tile)));
    }
    void zoneColor(int id, bool horizontal, int split, int colorA, int colorB) override {
        canvas_.setBrush(u32(id), makeZoneBrush(horizontal, split, u32(colorA), u32(colorB)));
    }
    void comment(const char*) override {}

private:
    // Remembers the background colour the canvas has just been filled with.
    void noteBgColor(int color) {
        bgColor_ = u32(color);
        settings_.bgHasTransparency = (canvas_.colorAt(bgColor_, 0, 0) >> 24) != 0;
    }

    DrawBMPImpl* symbol(int id) {
        auto it = symbols_.find(id);
        return it == symbols_.end() ? nullptr : it->second.get();
    }

    void setBoxFor(uint32_t color, double x1, double y1, double x2, double y2) {
        if (Canvas::isCode(color))
            canvas_.setShapeBox({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
    }

    void polygonShape(const double* x, const double* y, int n, uint32_t edgeColor, bool exact) {
        shape_.reset();
        if (!x || !y || n < 2) return;
        for (int i = 0; i < n; ++i) {
            const int j = i + 1 == n ? 0 : i + 1;
            shape_.addLine(x[i], y[i], x[j], y[j], edgeColor, exact);
        }
    }

    // Source pixels (width x height) at (x, y): the transparency fades them, fully transparent ones
    // are skipped, opaque ones copied, the rest blended.
    void mergePixels(const uint32_t* src, int width, int height, int x, int y, int transparency) {
        const ClipRect& c = canvas_.clip;
        const long long x0 = std::max<long long>(x, c.left),
                        x1 = std::min<long long>(static_cast<long long>(x) + width - 1, c.right);
        const long long y0 = std::max<long long>(y, c.top),
                        y1 = std::min<long long>(static_cast<long long>(y) + height - 1, c.bottom);
        const uint32_t keep = 255 - static_cast<uint32_t>(std::clamp(transparency, 0, 255));
        for (long long py = y0; py <= y1; ++py) {
            const uint32_t* row = src + (py - y) * width;
            for (long long px = x0; px <= x1; ++px) {
                uint32_t s = row[px - x];
                if (s >= kFirstCode) continue;
                if (keep < 255) s = ((255 - (255 - (s >> 24)) * keep / 255) << 24) | (s & 0xffffffu);
                const uint32_t t = s >> 24;
                if (t == 255) continue;
                const size_t i = canvas_.index(static_cast<int>(px), static_cast<int>(py));
                if (t == 0)
                    canvas_.store(i, s);
                else
                    canvas_.blendInto(canvas_.pixels()[i], s);
            }
        }
    }

    // mergeSymbolRotated by a multiple of 90 degrees from a whole-pixel corner (x, y), within the
    // destination box [bx0, bx1] x [by0, by1]: every destination pixel centre lands on a source
    // pixel centre, so the box filter reads that one pixel and the merge is a copy. The source (a
    // turned label: small, mostly transparent) is read in the order that walks along destination
    // rows, and the rows of the box, each on a cache line of its own in a large canvas, are asked
    // for together first.
    void mergeTurnedQuarter(const Canvas& src, long long x, long long y, int cs, int sn, int bx0, int bx1, int by0,
                            int by1) {
        for (int py = by0; py <= by1; ++py) {
            __builtin_prefetch(canvas_.pixels() + canvas_.index(bx0, py), 1);
            __builtin_prefetch(canvas_.pixels() + canvas_.index(bx1, py), 1);
        }
        // Source (u, v) lands on destination (x0 + cs u + sn v, y0 - sn u + cs v).
        const long long w = src.width(), h = src.height();
        const long long cu = (cs - sn - 1) / 2, cv = (sn + cs - 1) / 2;
        const long long x0 = x - cs * cu - sn * cv, y0 = y + sn * cu - cs * cv;
        const bool columns = sn != 0;  // a quarter turn: source columns become destination rows
        const long long outer = columns ? w : h, inner = columns ? h : w;
        const long long stepIn = columns ? w : 1, stepOut = columns ? 1 : w;
        const uint32_t* in = src.pixels();
        for (long long o = 0; o < outer; ++o) {
            const uint32_t* s = in + o * stepOut;
            for (long long i = 0; i < inner; ++i, s += stepIn) {
                const uint32_t col = *s;
                if (col >= kTransparent) continue;
                const long long u = columns ? o : i, v = columns ? i : o;
                const long long px = x0 + cs * u + sn * v, py = y0 - sn * u + cs * v;
                if (px < bx0 || px > bx1 || py < by0 || py > by1) continue;
                const size_t at = canvas_.index(static_cast<int>(px), static_cast<int>(py));
                if ((col >> 24) == 0)
                    canvas_.store(at, col);
                else
                    canvas_.blendInto(canvas_.pixels()[at], col);
            }
        }
    }

    Canvas canvas_{*this};
    ShadowLayer shadow_;
    std::map<int, std::unique_ptr<DrawBMPImpl>> symbols_;
    AAShape shape_;
    GlyphBlender glyphBlender_;
    uint32_t bgColor_ = kTransparent;
    std::vector<uint32_t> saved_;
    int savedW_ = 0, savedH_ = 0;
    bool hasSaved_ = false;
    double penX_ = 0, penY_ = 0;
    bool penValid_ = false;
    bool penMoved_ = false;  // the pen has drawn since initLineTo, so the next segment skips its joint
};

// The symbol turned by `angle` degrees (counter-clockwise on screen) about its top-left corner,
// which lands at (x, y): source (u, v) goes to (x + u cos + v sin, y - u sin + v cos).
void DrawBMPImpl::mergeSymbolRotated(int id, double x, double y, double angle) {
    DrawBMPImpl* s = symbol(id);
    if (!s || !(std::isfinite(x) && std::isfinite(y) && std::isfinite(angle))) return;
    if (std::fabs(x) > 1e9 || std::fabs(y) > 1e9) return;
    double a = std::fmod(angle, 360.0);
    if (a < 0) a += 360;
    double cs, sn;
    if (a == 0 || a == 90 || a == 180 || a == 270) {
        const int q = static_cast<int>(a) / 90;
        const int cosTab[4] = {1, 0, -1, 0}, sinTab[4] = {0, 1, 0, -1};
        cs = cosTab[q];
        sn = sinTab[q];
    } else {
        cs = std::cos(a * kPi / 180);
        sn = std::sin(a * kPi / 180);
    }
    Canvas& src = s->canvas_;
    src.commitSuperPixels();
    const double w = src.width(), h = src.height();
    const double cornersX[4] = {0, w * cs, h * sn, w * cs + h * sn},
                 cornersY[4] = {0, -w * sn, h * cs, -w * sn + h * cs};
    const ClipRect& c = canvas_.clip;
    const int bx0 =
        static_cast<int>(std::max<double>(c.left, std::floor(x + *std::min_element(cornersX, cornersX + 4))));
    const int bx1 =
        static_cast<int>(std::min<double>(c.right, std::ceil(x + *std::max_element(cornersX, cornersX + 4))));
    const int by0 =
        static_cast<int>(std::max<double>(c.top, std::floor(y + *std::min_element(cornersY, cornersY + 4))));
    const int by1 = static_cast<int>(
        std::min<double>(c.bottom, std::ceil(y + *std::max_element(cornersY, cornersY + 4))));
    const bool rightAngle = cs * sn == 0;
    if (rightAngle && x == std::floor(x) && y == std::floor(y)) {
        mergeTurnedQuarter(src, static_cast<long long>(x), static_cast<long long>(y), static_cast<int>(cs),
                           static_cast<int>(sn), bx0, bx1, by0, by1);
        return;
    }
    const Sampler sampler(src.buffer(), src.width(), src.height(), rightAngle ? 0 : 1, 1.0);
    for (int py = by0; py <= by1; ++py)
        for (int px = bx0; px <= bx1; ++px) {
            const double X = px + 0.5 - x, Y = py + 0.5 - y;
            const double u = X * cs - Y * sn, v = X * sn + Y * cs;
            const uint32_t col = sampler.at(u - 0.5, v - 0.5, kTransparent);
            if ((col >> 24) == 255) continue;
            const size_t i = canvas_.index(px, py);
            if ((col >> 24) == 0)
                canvas_.store(i, col);
            else
                canvas_.blendInto(canvas_.pixels()[i], col);
        }
}

}  // namespace

DrawBMP* DrawBMP::create(DrawBMP* parent) {
    return new (std::nothrow) DrawBMPImpl(static_cast<DrawBMPImpl*>(parent));
}

}  // namespace plotvane

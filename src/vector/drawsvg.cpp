// The SVG writer. One pass over the replay: every drawing call appends its elements to the body
// buffer and every brush it meets is defined once in the definitions buffer; finish() wraps the two
// in the document frame. Shapes are written twice: first the geometry with an id and no paint
// (the enclosing group says fill='none'), then one "use" per paint (fill, stroke, or each half of a
// zone brush), so one outline serves both and gradients see the outline's bounding box.
//
// Coordinates: a pixel (x, y) of the drawing covers the unit square from (x, y); lines, outlines and
// gradient geometry run through pixel centres, hence the + 0.5 on everything but images and tiles.
// Element ids, symbols' included, come from a counter shared by a document and its symbols, never
// from the drawing's own symbol ids (which count across the process), so a file is the same every
// time the same drawing is written.
#include "vector/drawsvg_p.h"

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "draw/imageio_p.h"
#include "vector/gzip_p.h"
#include "vector/svgbrush_p.h"
#include "vector/vectorbrush_p.h"
#include "vector/vectorpath_p.h"
#include "vector/vectortext_p.h"

namespace plotvane {

namespace {

constexpr char kGroupAttrs[] =
    " font-family='Arial' font-size='11px' fill='none' fill-rule='evenodd' stroke-linecap='square'";

class SVGPathSink : public PathSink {
public:
    explicit SVGPathSink(std::string& d) : d_(d) {}
    void moveTo(double x, double y) override { point(d_.empty() ? "M" : " M", x, y); }
    void lineTo(double x, double y) override { point(" L", x, y); }
    void arcTo(double cx, double cy, double rx, double ry, double a0, double a1) override {
        if (std::fabs(a1 - a0) >= 359.999) {  // one arc command cannot draw a whole ellipse
            double mid = (a0 + a1) / 2;
            arcTo(cx, cy, rx, ry, a0, mid);
            arcTo(cx, cy, rx, ry, mid, a1);
            return;
        }
        double r = a1 * 3.14159265358979323846 / 180;
        d_ += " A";
        appendCoor(d_, rx);
        d_ += ' ';
        appendCoor(d_, ry);
        d_ += std::fabs(a1 - a0) > 180 ? " 0 1 " : " 0 0 ";
        d_ += a1 > a0 ? '1' : '0';
        point("", cx + rx * std::sin(r), cy - ry * std::cos(r));
    }
    void closePath() override { d_ += " Z"; }

private:
    void point(const char* op, double x, double y) {
        d_ += op;
        d_ += ' ';
        appendCoor(d_, x + 0.5);
        d_ += ' ';
        appendCoor(d_, y + 0.5);
    }
    std::string& d_;
};

void appendPoints(std::string& to, const double* x, const double* y, int n, int step = 1) {
    for (int i = 0; i < n; ++i) {
        if (i) to += ' ';
        appendCoor(to, x[i * step] + 0.5);
        to += ',';
        appendCoor(to, y[i * step] + 0.5);
    }
}

// Text content: markup characters as numeric references, other non-ASCII as UTF-8, and a space
// that starts the text or follows another as a no-break space so runs of spaces survive.
bool appendTextChar(std::string& to, int ch, bool afterSpace) {
    if (ch == ' ' && afterSpace) ch = 0xa0;
    if (ch == '<' || ch == '>' || ch == '&') {
        to += "&#";
        appendInt(to, ch);
        to += ';';
    } else if (ch < 0x20 || (ch >= 0xd800 && ch < 0xe000) || ch == 0xfffe || ch == 0xffff || ch > 0x10ffff) {
        return false;  // not allowed in XML
    } else if (ch < 0x80) {
        to += static_cast<char>(ch);
    } else if (ch < 0x800) {
        to += static_cast<char>(0xc0 | (ch >> 6));
        to += static_cast<char>(0x80 | (ch & 63));
    } else if (ch < 0x10000) {
        to += static_cast<char>(0xe0 | (ch >> 12));
        to += static_cast<char>(0x80 | ((ch >> 6) & 63));
        to += static_cast<char>(0x80 | (ch & 63));
    } else {
        to += static_cast<char>(0xf0 | (ch >> 18));
        to += static_cast<char>(0x80 | ((ch >> 12) & 63));
        to += static_cast<char>(0x80 | ((ch >> 6) & 63));
        to += static_cast<char>(0x80 | (ch & 63));
    }
    return true;
}

void appendFamily(std::string& to, const char* family) {
    for (const char* p = family ? family : ""; *p; ++p) {
        if (*p == '"') to += "&#34;";
        else if (*p == '\'') to += "\\'";
        else if (*p == '<') to += "&#60;";
        else if (*p == '&') to += "&#38;";
        else to += *p;
    }
}

class DrawSVGImpl : public DrawSVG {
public:
    DrawSVGImpl(const VectorOptions& options, DrawSVGImpl* parent)
        : DrawSVG(parent ? &parent->brushes_ : nullptr),
          options_(options),
          root_(parent ? parent->root_ : this),
          painter_(defs_, nextId_) {
        symbols_.setParent(parent ? &parent->symbols_ : nullptr);
    }

    bool finish(vek::ostream& out) override;

    void setSubDrawMode() override {}
    void setSize(int width, int height, int bgColor) override {
        commitCurrentLine();
        closeClip();
        width_ = width < 1 ? 1 : width;
        height_ = height < 1 ? 1 : height;
        bgColor_ = bgColor;
    }
    void resize(int width, int height) override;
    void affineTransform(double a, double b, double c, double d, double e, double f, int, int, double) override;
    void setClipRect(int left, int top, int right, int bottom) override;
    void setBgColor(int color) override { bgColor_ = color; }
    void clipRoundedCorners(int r1, int r2, int r3, int r4, int) override;

    void line(double x1, double y1, double x2, double y2, int color, int width) override;

    void roundedRect(double x1, double y1, double x2, double y2, int radius, int edgeColor, int fillColor) override;
    void multiRoundedRect(double x1, double y1, double x2, double y2, const int radii[4], const int colors[5]) override;
    void polygon(const double* x, const double* y, int n, int edgeColor, int fillColor) override;
    void shape(int fillColor, bool startFlag, bool noEdges, const std::vector<PathItem>& edges) override;
    void gouraudShadedTriangle(const double v[9], int color) override;

    void text(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color) override;
    void turnedText(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color, int turn) override;

    DrawBackend* createSymbol(int id) override;
    void removeSymbol(int id) override { symbols_.remove(id); }
    void mergeSymbol(int id, int x, int y, int width, int height, int transparency) override;
    void mergeSymbolRotated(int id, double x, double y, double angle) override;
    void mergeBitMap(const int* pixels, int count, int width, int x, int y) override;
    void loadStream(const unsigned char* data, int length, int imageType, int width, int height) override;


private:
    long long newId() { return root_->nextId_++; }
    int pictureWidth() const override { return width_; }
    int pictureHeight() const override { return height_; }
    void forget(int id) override {
        if (const VectorPaint* p = brushes_.find(id)) root_->painter_.forget(p);
    }
    bool paints(int color, int depth = 0) const;
    // The "use" elements painting element `id`; stroke width 1 is the group default.
    void paint(long long id, int color, bool stroke, int width = 1);
    bool use(long long id, int color, bool stroke, int width, long long clip);
    long long zoneClip(const VectorPaint& zone, bool sideA);
    // Writes the pending polyline as one element.
    void commitCurrentLine() override;
    void closeClip() {
        if (clipOpen_) body_ += "</g>\n";
        clipOpen_ = false;
    }
    void wrapBody(const std::string& transform);
    void writeImage(double x, double y, int width, int height, const char* mediaType, const unsigned char* data,
                    size_t length);
    void writeSymbol(DrawSVGImpl& symbol);
    DrawSVGImpl* findSymbol(int id);
    void writeDocument(std::string& doc);
    long long opacityFilter(int transparency);
    // The background rectangle and its paint.
    void writeBackground(std::string& to);

    VectorOptions options_;
    DrawSVGImpl* root_;
    // Root only: the definitions, the id counter and the brush definitions written so far.
    std::string defs_;
    long long nextId_ = 0;
    SVGBrush painter_;
    std::map<const VectorPaint*, long long> zoneClips_[2];
    std::map<int, long long> opacityFilters_;

    std::string body_;
    int width_ = 1, height_ = 1;
    int bgColor_ = static_cast<int>(kTransparent);
    bool clipOpen_ = false;
    long long roundClip_ = -1;


    SymbolTable<DrawSVGImpl> symbols_;
    bool written_ = false;  // as a symbol
    long long documentId_ = 0;  // as a symbol, once written
};

bool DrawSVGImpl::paints(int color, int depth) const {
    if (!isDynamicColor(color)) return (static_cast<uint32_t>(color) >> 24) != 255;
    const VectorPaint* p = depth < 20 ? brushes_.find(color) : nullptr;
    if (!p) return false;
    switch (p->kind) {
        case VectorPaint::None: return false;
        case VectorPaint::Dash: return paints(p->colorA, depth + 1);
        case VectorPaint::Zone: return paints(p->colorA, depth + 1) || paints(p->colorB, depth + 1);
        default: return true;
    }
}

long long DrawSVGImpl::zoneClip(const VectorPaint& zone, bool sideA) {
    auto& cache = root_->zoneClips_[sideA ? 0 : 1];
    auto it = cache.find(&zone);
    if (it != cache.end()) return it->second;
    long long id = newId();
    // Side A holds the pixels beyond the split line; "everywhere" is a million pixels out.
    const long long far = 1000000;
    long long lo = sideA ? zone.split + 1LL : -far, hi = sideA ? far : zone.split + 1LL;
    SVGBuilder b(root_->defs_);
    b.tag("clipPath", id).tag("rect");
    if (zone.horizontal)
        b.av("x", -far).av("y", lo).av("width", 2 * far).av("height", hi - lo);
    else
        b.av("x", lo).av("y", -far).av("width", hi - lo).av("height", 2 * far);
    b.closeAll();
    cache[&zone] = id;
    return id;
}

bool DrawSVGImpl::use(long long id, int color, bool stroke, int width, long long clip) {
    size_t mark = body_.size();
    SVGBuilder b(body_);
    b.tag("use");
    std::string& href = b.beginAttr("xlink:href") += "#b";
    appendInt(href, id);
    b.endAttr();
    if (clip >= 0) b.url("clip-path", clip);
    bool painted = root_->painter_.shade(b, color, stroke, brushes_);
    if (painted && stroke && width != 1) b.av("stroke-width", static_cast<long long>(width));
    b.close();
    if (!painted) body_.resize(mark);
    return painted;
}

void DrawSVGImpl::paint(long long id, int color, bool stroke, int width) {
    const VectorPaint* zone = isDynamicColor(color) ? brushes_.find(color) : nullptr;
    if (zone && zone->kind == VectorPaint::Zone) {
        use(id, zone->colorA, stroke, width, zoneClip(*zone, true));
        use(id, zone->colorB, stroke, width, zoneClip(*zone, false));
        return;
    }
    use(id, color, stroke, width, -1);
}

void DrawSVGImpl::resize(int width, int height) {
    commitCurrentLine();
    closeClip();
    if (width < 1 || height < 1) return;
    std::string t = "scale(";
    appendNumber(t, double(width) / width_, 6, 8);
    t += ", ";
    appendNumber(t, double(height) / height_, 6, 8);
    t += ')';
    wrapBody(t);
    width_ = width;
    height_ = height;
}

void DrawSVGImpl::affineTransform(double a, double b, double c, double d, double e, double f, int, int, double) {
    commitCurrentLine();
    closeClip();
    // The record maps each new pixel to where it comes from; the content moves the other way.
    double det = a * e - b * d;
    if (std::fabs(det) < 1e-12) return;
    double n[6] = {e / det, -b / det, 0, -d / det, a / det, 0};
    n[2] = -(n[0] * c + n[1] * f);
    n[5] = -(n[3] * c + n[4] * f);
    // In user space (pixels + 0.5): u' = N (u - 0.5) + 0.5.
    double v[6] = {n[0], n[3], n[1], n[4], n[2] + 0.5 - 0.5 * (n[0] + n[1]), n[5] + 0.5 - 0.5 * (n[3] + n[4])};
    std::string t = "matrix(";
    for (int i = 0; i < 6; ++i) {
        if (i) t += ' ';
        appendNumber(t, v[i], 6, 10);
    }
    t += ')';
    wrapBody(t);
}

void DrawSVGImpl::wrapBody(const std::string& transform) {
    body_ = "<g transform='" + transform + "'>\n" + body_ + "</g>\n";
}

void DrawSVGImpl::setClipRect(int left, int top, int right, int bottom) {
    commitCurrentLine();
    closeClip();
    if (left <= 0 && top <= 0 && right >= width_ - 1 && bottom >= height_ - 1) return;
    long long id = newId();
    {
        SVGBuilder b(root_->defs_);
        b.tag("clipPath", id).tag("rect").av("x", static_cast<long long>(left)).av("y", static_cast<long long>(top));
        b.av("width", static_cast<long long>(right < left ? 0 : right - left + 1));
        b.av("height", static_cast<long long>(bottom < top ? 0 : bottom - top + 1));
    }
    body_ += "<g";
    SVGBuilder(body_).url("clip-path", id);
    body_ += ">\n";
    clipOpen_ = true;
}

void DrawSVGImpl::clipRoundedCorners(int r1, int r2, int r3, int r4, int) {
    int radii[4] = {r1, r2, r3, r4};
    std::string d;
    SVGPathSink sink(d);
    // The sink shifts to pixel centres; the clip covers whole pixels.
    roundedRectPath(-0.5, -0.5, width_ - 0.5, height_ - 0.5, radii, sink);
    roundClip_ = newId();
    SVGBuilder b(root_->defs_);
    b.tag("clipPath", roundClip_).tag("path").av("d", d.c_str());
}

void DrawSVGImpl::line(double x1, double y1, double x2, double y2, int color, int width) {
    commitCurrentLine();
    if (width <= 0 || !paints(color)) return;
    long long id = newId();
    SVGBuilder(body_).tag("line", id).coor("x1", x1 + 0.5).coor("y1", y1 + 0.5).coor("x2", x2 + 0.5).coor("y2", y2 + 0.5);
    paint(id, color, true, width);
}

void DrawSVGImpl::commitCurrentLine() {
    size_t n = line_.x.size();
    if (n >= 2 && line_.width > 0 && paints(line_.color)) {
        bool closed = n > 3 && line_.x[0] == line_.x[n - 1] && line_.y[0] == line_.y[n - 1];
        if (closed) --n;
        long long id = newId();
        SVGBuilder b(body_);
        b.tag(closed ? "polygon" : "polyline", id);
        appendPoints(b.beginAttr("points"), line_.x.data(), line_.y.data(), static_cast<int>(n));
        b.endAttr();
        b.close();
        paint(id, line_.color, true, line_.width);
    }
    line_.x.clear();
    line_.y.clear();
}

void DrawSVGImpl::roundedRect(double x1, double y1, double x2, double y2, int radius, int edgeColor, int fillColor) {
    commitCurrentLine();
    bool edge = paints(edgeColor), fill = paints(fillColor);
    if (!edge && !fill) return;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    long long id = newId();
    SVGBuilder b(body_);
    b.tag("rect", id).coor("x", x1 + 0.5).coor("y", y1 + 0.5).coor("width", x2 - x1).coor("height", y2 - y1);
    double r = std::min<double>(radius, std::min(x2 - x1, y2 - y1) / 2);
    if (r > 0) b.coor("rx", r);
    b.close();
    if (fill) paint(id, fillColor, false);
    if (edge) paint(id, edgeColor, true);
}

void DrawSVGImpl::multiRoundedRect(double x1, double y1, double x2, double y2, const int radii[4], const int colors[5]) {
    commitCurrentLine();
    std::string d;
    SVGPathSink sink(d);
    roundedRectPath(x1, y1, x2, y2, radii, sink);
    long long id = newId();
    SVGBuilder(body_).tag("path", id).av("d", d.c_str());
    if (paints(colors[4])) paint(id, colors[4], false);
    if (colors[0] == colors[1] && colors[1] == colors[2] && colors[2] == colors[3]) {
        if (paints(colors[0])) paint(id, colors[0], true);
        return;
    }
    // Sides of different colours: each side is its own open path, from corner to corner.
    std::vector<PathItem> sides(4);
    double xs[5] = {x1, x2, x2, x1, x1}, ys[5] = {y1, y1, y2, y2, y1};
    for (int i = 0; i < 4; ++i) {
        if (!paints(colors[i])) continue;
        PathItem side;
        side.d[0] = xs[i], side.d[1] = ys[i], side.d[2] = xs[i + 1], side.d[3] = ys[i + 1];
        side.flag = true;
        side.color = colors[i];
        std::string sd;
        SVGPathSink sideSink(sd);
        traceEdges({side}, colors[i], sideSink);
        long long sideId = newId();
        SVGBuilder(body_).tag("path", sideId).av("d", sd.c_str());
        paint(sideId, colors[i], true);
    }
}

void DrawSVGImpl::polygon(const double* x, const double* y, int n, int edgeColor, int fillColor) {
    commitCurrentLine();
    bool edge = paints(edgeColor), fill = paints(fillColor);
    if (n < 3 || (!edge && !fill)) return;
    long long id = newId();
    SVGBuilder b(body_);
    b.tag("polygon", id);
    appendPoints(b.beginAttr("points"), x, y, n);
    b.endAttr();
    b.close();
    if (fill) paint(id, fillColor, false);
    if (edge) paint(id, edgeColor, true);
}

void DrawSVGImpl::shape(int fillColor, bool, bool noEdges, const std::vector<PathItem>& edges) {
    commitCurrentLine();
    if (paints(fillColor)) {
        std::string d;
        SVGPathSink sink(d);
        if (traceShape(edges, sink)) {
            long long id = newId();
            SVGBuilder(body_).tag("path", id).av("d", d.c_str());
            paint(id, fillColor, false);
        }
    }
    if (noEdges) return;
    for (int color : edgeColors(edges)) {
        if (!paints(color)) continue;
        std::string d;
        SVGPathSink sink(d);
        if (!traceEdges(edges, color, sink)) continue;
        long long id = newId();
        SVGBuilder(body_).tag("path", id).av("d", d.c_str());
        paint(id, color, true);
    }
}

void DrawSVGImpl::gouraudShadedTriangle(const double v[9], int color) {
    double x[3] = {v[0], v[3], v[6]}, y[3] = {v[1], v[4], v[7]};
    polygon(x, y, 3, static_cast<int>(kTransparent), meanShadedColor(v, color));
}

void DrawSVGImpl::text(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color) {
    commitCurrentLine();
    std::string content;
    std::vector<double> xs;
    for (const TextRun& run : textRuns(glyphs, first, end, dx, dy, color)) {
        if (!paints(run.color)) continue;
        content.clear();
        xs.clear();
        bool afterSpace = true, natural = true;
        double pen = run.xs[0];
        for (size_t i = 0; i < run.chars.size(); ++i) {
            if (!appendTextChar(content, run.chars[i], afterSpace)) continue;
            afterSpace = run.chars[i] == ' ';
            xs.push_back(run.xs[i] + 0.5);
            if (std::fabs(run.xs[i] - pen) > 0.05) natural = false;
            pen = run.xs[i] + run.advances[i];
        }
        if (xs.empty()) continue;
        long long id = newId();
        SVGBuilder b(body_);
        b.tag("text", id);
        std::string& x = b.beginAttr("x");
        for (size_t i = 0; i < (natural ? 1 : xs.size()); ++i) {
            if (i) x += ' ';
            appendCoor(x, xs[i]);
        }
        b.endAttr();
        b.coor("y", run.baseline + 0.5);
        // The style attribute is double-quoted so the family can sit in single quotes.
        std::string& style = b.out();
        style += " style=\"font-family:'";
        appendFamily(style, run.face->getFamilyName());
        style += "';font-size:";
        appendCoor(style, run.face->getSizeInPixels());
        style += "px";
        if (run.face->isItalic()) style += ";font-style:italic";
        if (run.face->isBold()) style += ";font-weight:bold";
        style += ";\"";
        b.text(content);
        b.close();
        paint(id, run.color, false);
    }
}

void DrawSVGImpl::turnedText(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color,
                             int turn) {
    commitCurrentLine();
    // Counter-clockwise on screen is a negative angle in SVG. Text stands half a pixel off its
    // pixel position (pixel centres), and so does the corner it turns about.
    std::string open = "<g transform='rotate(";
    appendInt(open, -turn);
    open += ' ';
    appendCoor(open, dx + 0.5);
    open += ' ';
    appendCoor(open, dy + 0.5);
    open += ")'>\n";
    size_t mark = body_.size();
    body_ += open;
    size_t content = body_.size();
    text(glyphs, first, end, dx, dy, color);
    if (body_.size() == content)
        body_.resize(mark);
    else
        body_ += "</g>\n";
}

DrawBackend* DrawSVGImpl::createSymbol(int id) { return symbols_.create(id, options_, this); }

DrawSVGImpl* DrawSVGImpl::findSymbol(int id) { return symbols_.find(id); }

void DrawSVGImpl::writeSymbol(DrawSVGImpl& symbol) {
    if (symbol.written_) return;
    symbol.written_ = true;
    symbol.commitCurrentLine();
    symbol.closeClip();
    symbol.documentId_ = newId();
    body_ += "<defs><symbol id='g";
    appendInt(body_, symbol.documentId_);
    body_ += "' viewBox='0 0 ";
    appendInt(body_, symbol.width_);
    body_ += ' ';
    appendInt(body_, symbol.height_);
    body_ += "' preserveAspectRatio='none'><g";
    body_ += kGroupAttrs;
    body_ += ">\n";
    symbol.writeBackground(body_);
    body_ += symbol.body_;
    body_ += "</g></symbol></defs>\n";
}

long long DrawSVGImpl::opacityFilter(int transparency) {
    auto& cache = root_->opacityFilters_;
    auto it = cache.find(transparency);
    if (it != cache.end()) return it->second;
    long long id = newId();
    SVGBuilder b(root_->defs_);
    b.tag("filter", id).tag("feColorMatrix").av("type", "matrix");
    std::string& values = b.beginAttr("values");
    values += "1 0 0 0 0 0 1 0 0 0 0 0 1 0 0 0 0 0 ";
    appendNumber(values, (255 - transparency) / 255.0, 4);
    values += " 0";
    b.endAttr();
    cache[transparency] = id;
    return id;
}

void DrawSVGImpl::mergeSymbol(int id, int x, int y, int width, int height, int transparency) {
    commitCurrentLine();
    DrawSVGImpl* symbol = findSymbol(id);
    if (!symbol || width <= 0 || height <= 0 || transparency >= 255) return;
    writeSymbol(*symbol);
    SVGBuilder b(body_);
    b.tag("use");
    std::string& href = b.beginAttr("xlink:href") += "#g";
    appendInt(href, symbol->documentId_);
    b.endAttr();
    b.av("x", static_cast<long long>(x)).av("y", static_cast<long long>(y));
    b.av("width", static_cast<long long>(width)).av("height", static_cast<long long>(height));
    if (transparency > 0) b.url("filter", opacityFilter(transparency));
}

void DrawSVGImpl::mergeSymbolRotated(int id, double x, double y, double angle) {
    commitCurrentLine();
    DrawSVGImpl* symbol = findSymbol(id);
    if (!symbol) return;
    writeSymbol(*symbol);
    SVGBuilder b(body_);
    b.tag("use");
    std::string& href = b.beginAttr("xlink:href") += "#g";
    appendInt(href, symbol->documentId_);
    b.endAttr();
    b.coor("x", x).coor("y", y);
    b.av("width", static_cast<long long>(symbol->width_)).av("height", static_cast<long long>(symbol->height_));
    // The angle turns the symbol counterclockwise on screen, about its origin.
    std::string& t = b.beginAttr("transform") += "rotate(";
    appendNumber(t, -angle, 6, 10);
    t += ' ';
    appendCoor(t, x);
    t += ' ';
    appendCoor(t, y);
    t += ')';
    b.endAttr();
}

void DrawSVGImpl::writeImage(double x, double y, int width, int height, const char* mediaType,
                             const unsigned char* data, size_t length) {
    SVGBuilder b(body_);
    b.tag("image").coor("x", x).coor("y", y);
    b.av("width", static_cast<long long>(width)).av("height", static_cast<long long>(height));
    std::string& href = b.beginAttr("xlink:href");
    href += "data:";
    href += mediaType;
    href += ";base64,";
    appendBase64(href, data, length);
    b.endAttr();
}

void DrawSVGImpl::mergeBitMap(const int* pixels, int count, int width, int x, int y) {
    commitCurrentLine();
    if (!pixels || width <= 0 || count < width) return;
    int height = count / width;
    vek::ostrstream png;
    if (!encodePNG(png, reinterpret_cast<const uint32_t*>(pixels), width, height) || png.tell() == 0) return;
    writeImage(x, y, width, height, "image/png", reinterpret_cast<const unsigned char*>(png.data()),
               static_cast<size_t>(png.tell()));
}

void DrawSVGImpl::loadStream(const unsigned char* data, int length, int imageType, int width, int height) {
    commitCurrentLine();
    if (!data || length <= 0 || width <= 0 || height <= 0) return;
    // The picture becomes the whole canvas, as on the raster.
    setSize(width, height, static_cast<int>(kTransparent));
    static const char* const kTypes[] = {"image/png", "image/gif", "image/jpeg", "image/unknown", "image/bmp"};
    const char* type = imageType >= 0 && imageType <= 4 ? kTypes[imageType] : "image/unknown";
    writeImage(0, 0, width, height, type, data, static_cast<size_t>(length));
}

void DrawSVGImpl::writeBackground(std::string& to) {
    if ((static_cast<uint32_t>(bgColor_) >> 24) == 255 || !paints(bgColor_)) return;
    long long id = newId();
    {
        SVGBuilder(to).tag("rect", id).av("x", 0LL).av("y", 0LL).av("width", static_cast<long long>(width_))
            .av("height", static_cast<long long>(height_));
    }
    std::string saved;
    saved.swap(body_);
    use(id, bgColor_, false, 1, -1);
    to += body_;
    body_.swap(saved);
}

void DrawSVGImpl::writeDocument(std::string& doc) {
    commitCurrentLine();
    closeClip();
    std::string background;
    writeBackground(background);
    doc.reserve(defs_.size() + body_.size() + background.size() + 512);
    if (!options_.has("noxmldecl")) doc += "<?xml version='1.0' encoding='UTF-8' standalone='no'?>\n";
    if (!options_.has("nodoctype"))
        doc += "<!DOCTYPE svg PUBLIC '-//W3C//DTD SVG 20010904//EN' "
               "'http://www.w3.org/TR/2001/REC-SVG-20010904/DTD/svg10.dtd'>\n";
    // A drop shadow grows the picture; the drawing moves to where the raster puts it.
    const bool shadow = shadow_ && !shadow_->pixels.empty();
    const int fullWidth = shadow ? shadow_->width : width_, fullHeight = shadow ? shadow_->height : height_;
    doc += "<svg viewBox='0 0 ";
    appendInt(doc, fullWidth);
    doc += ' ';
    appendInt(doc, fullHeight);
    const char* sizes[2][2] = {{"width", "' width='"}, {"height", "' height='"}};
    for (int i = 0; i < 2; ++i) {
        const char* value = options_.get(sizes[i][0]);
        if (!value) continue;
        doc += sizes[i][1];
        if (*value) {
            for (const char* p = value; *p; ++p)
                if (*p != '\'' && *p != '<' && *p != '&') doc += *p;
        } else {
            appendInt(doc, i == 0 ? fullWidth : fullHeight);
        }
    }
    doc += "' xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' xml:space='preserve'>\n";
    if (!defs_.empty()) {
        doc += "<defs>\n";
        doc += defs_;
        doc += "</defs>\n";
    }
    if (shadow) {
        std::string image;
        image.swap(body_);
        mergeBitMap(reinterpret_cast<const int*>(shadow_->pixels.data()), fullWidth * fullHeight, fullWidth, 0, 0);
        image.swap(body_);
        doc += image;
        doc += "<g transform='translate(";
        appendInt(doc, shadow_->left);
        doc += ' ';
        appendInt(doc, shadow_->top);
        doc += ")'>\n";
    }
    doc += "<g";
    doc += kGroupAttrs;
    doc += ">\n";
    if (roundClip_ >= 0) {
        doc += "<g";
        SVGBuilder(doc).url("clip-path", roundClip_);
        doc += ">\n";
    }
    doc += background;
    doc += body_;
    if (roundClip_ >= 0) doc += "</g>\n";
    doc += "</g>\n";
    if (shadow) doc += "</g>\n";
    doc += "</svg>\n";
}

bool DrawSVGImpl::finish(vek::ostream& out) {
    std::string doc;
    writeDocument(doc);
    if (options_.has("compress")) return writeGzip(out, doc.data(), doc.size(), options_.now());
    int before = out.tell();
    out.write(doc.data(), static_cast<int>(doc.size()));
    return out.tell() - before == static_cast<int>(doc.size());
}

}  // namespace

DrawSVG* DrawSVG::create(const VectorOptions& options) { return new DrawSVGImpl(options, nullptr); }

bool DrawSVG::writeBitmap(vek::ostream& out, const uint32_t* pixels, int width, int height,
                          const VectorOptions& options) {
    if (!pixels || width <= 0 || height <= 0) return false;
    std::unique_ptr<DrawSVG> svg(create(options));
    svg->setSize(width, height, static_cast<int>(kTransparent));
    svg->mergeBitMap(reinterpret_cast<const int*>(pixels), width * height, width, 0, 0);
    return svg->finish(out);
}

}  // namespace plotvane

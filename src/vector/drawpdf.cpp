// The PDF writer. The whole drawing becomes one Form XObject in the drawing's own pixel space
// (y turned upwards, see pdfcontent_p.h) and the page places that form with one matrix, so the page
// options (dpi, size on the page, position) never touch the drawing's content. Each shape is a
// "q ... Q" group that sets its paint and paints its path, so no state leaks from one to the next;
// clip rectangles are the only groups left open across shapes.
//
// Resources: every content stream of the document shares one resource dictionary; graphics
// states are cached per opacity, patterns per brush (and per shape box for brushes that depend on
// it), fonts per font file, and symbols become forms written once.
#include "vector/drawpdf_p.h"

#include <array>
#include <cmath>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "draw/imageio_p.h"
#include "vector/pdfcontent_p.h"
#include "vector/pdfdocument_p.h"
#include "vector/pdffont_p.h"
#include "vector/pdfshading_p.h"
#include "vector/vectorbrush_p.h"
#include "vector/vectortext_p.h"

namespace plotvane {

namespace {

constexpr char kFormGroup[] = "/Group<</S/Transparency/CS/DeviceRGB/I true>>";

struct Box {
    double v[4] = {1e300, 1e300, -1e300, -1e300};  // left, top, right, bottom in pixels
    void add(double x, double y) {
        v[0] = std::min(v[0], x), v[1] = std::min(v[1], y), v[2] = std::max(v[2], x), v[3] = std::max(v[3], y);
    }
};

// The root document's shared state: the file being built, fonts, and cached graphics states.
struct PDFRoot {
    PDFDocument doc;
    PDFFontTable fonts;
    std::map<std::pair<bool, int>, int> alphaStates;
};

class DrawPDFImpl : public DrawPDF {
public:
    DrawPDFImpl(const VectorOptions& options, DrawPDFImpl* parent)
        : DrawPDF(parent ? &parent->brushes_ : nullptr),
          options_(options),
          shared_(parent ? parent->shared_ : std::make_shared<PDFRoot>()),
          c_(content_) {
        symbols_.setParent(parent ? &parent->symbols_ : nullptr);
        setSize(1, 1, static_cast<int>(kTransparent));
        if (!parent) content_.reserve(16384);  // a chart's content, written without regrowing
    }

    bool finish(vek::ostream& out) override;

    void setSubDrawMode() override {}
    void setSize(int width, int height, int bgColor) override {
        commitCurrentLine();
        closeClip();
        width_ = width < 1 ? 1 : width;
        height_ = height < 1 ? 1 : height;
        bgColor_ = bgColor;
        c_.setHeight(height_);
        toForm_ = {1, 0, 0, -1, 0.5, height_ - 0.5};
    }
    void resize(int width, int height) override;
    void affineTransform(double a, double b, double c, double d, double e, double f, int, int, double) override;
    void setClipRect(int left, int top, int right, int bottom) override;
    void setBgColor(int color) override { bgColor_ = color; }
    void clipRoundedCorners(int r1, int r2, int r3, int r4, int) override {
        radii_ = {r1, r2, r3, r4};
        roundClip_ = true;
    }

    void line(double x1, double y1, double x2, double y2, int color, int width) override {
        commitCurrentLine();
        if (width <= 0 || !paints(color)) return;
        std::string& path = pathScratch();
        PDFContent p(path, height_);
        p.point(x1, y1).op("m ").point(x2, y2).op("l ");
        Box box;
        box.add(x1, y1);
        box.add(x2, y2);
        paintPath(path, static_cast<int>(kTransparent), color, width, box);
    }

    void roundedRect(double x1, double y1, double x2, double y2, int radius, int edgeColor, int fillColor) override {
        int radii[4] = {radius, radius, radius, radius};
        int colors[5] = {edgeColor, edgeColor, edgeColor, edgeColor, fillColor};
        multiRoundedRect(x1, y1, x2, y2, radii, colors);
    }
    void multiRoundedRect(double x1, double y1, double x2, double y2, const int radii[4], const int colors[5]) override;
    void polygon(const double* x, const double* y, int n, int edgeColor, int fillColor) override;
    void shape(int fillColor, bool startFlag, bool noEdges, const std::vector<PathItem>& edges) override;
    void gouraudShadedTriangle(const double v[9], int color) override {
        double x[3] = {v[0], v[3], v[6]}, y[3] = {v[1], v[4], v[7]};
        polygon(x, y, 3, static_cast<int>(kTransparent), meanShadedColor(v, color));
    }

    void text(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color) override;
    void turnedText(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color, int turn) override;

    DrawBackend* createSymbol(int id) override;
    void removeSymbol(int id) override { symbols_.remove(id); }
    void mergeSymbol(int id, int x, int y, int width, int height, int transparency) override;
    void mergeSymbolRotated(int id, double x, double y, double angle) override;
    void mergeBitMap(const int* pixels, int count, int width, int x, int y) override;
    void loadStream(const unsigned char* data, int length, int imageType, int width, int height) override;


private:
    PDFDocument& doc() { return shared_->doc; }
    void forget(int id) override;
    int pictureWidth() const override { return width_; }
    int pictureHeight() const override { return height_; }
    bool paints(int color, int depth = 0) const;
    const VectorPaint* zoneOf(int color) const {
        const VectorPaint* p = isDynamicColor(color) ? brushes_.find(color) : nullptr;
        return p && p->kind == VectorPaint::Zone ? p : nullptr;
    }
    // Writes the operators that make `color` the fill or stroke paint; false when it paints nothing.
    bool shade(int color, bool stroke, const Box& box, int depth = 0);
    void setAlpha(int opacity, bool stroke);
    int patternFor(const VectorPaint& p, const Box& box);
    int softMaskFor(const VectorPaint& p, const Box& box);
    // Fills (even-odd) and strokes a path given as construction operators.
    void paintPath(const std::string& path, int fill, int edge, int width, const Box& box);
    void paintOne(const std::string& path, int color, bool stroke, int width, const Box& box);
    void commitCurrentLine() override;
    // Appends the run's glyphs as one path to fill; false when no glyph has an outline.
    bool outlines(const TextRun& run);
    void closeClip() {
        if (clipOpen_) c_.op("Q\n");
        clipOpen_ = false;
    }
    void wrapContent(const PDFMatrix& m);
    // The complete content stream of this drawing, as its form holds it.
    std::string formContent();
    int symbolForm(int id);
    DrawPDFImpl* findSymbol(int id);
    void placeXObject(int num, const PDFMatrix& m);

    // The path of the shape being written; one buffer for all, so shapes allocate nothing.
    std::string& pathScratch() {
        path_.clear();
        return path_;
    }

    VectorOptions options_;
    std::string path_;
    std::shared_ptr<PDFRoot> shared_;
    std::string content_;
    PDFContent c_;
    PDFMatrix toForm_;
    int width_ = 1, height_ = 1;
    int bgColor_ = static_cast<int>(kTransparent);
    bool clipOpen_ = false;
    bool roundClip_ = false;
    std::array<int, 4> radii_ = {0, 0, 0, 0};


    // Patterns by brush, and by shape box for brushes that follow the shape.
    std::map<std::pair<const VectorPaint*, std::array<long long, 4>>, int> patterns_, softMasks_;
    SymbolTable<DrawPDFImpl> symbols_;
    int form_ = 0;  // as a symbol: the form's object number once written
};

void DrawPDFImpl::forget(int id) {
    const VectorPaint* p = brushes_.find(id);
    if (!p) return;
    for (auto* cache : {&patterns_, &softMasks_})
        for (auto it = cache->begin(); it != cache->end();) it = it->first.first == p ? cache->erase(it) : std::next(it);
}

bool DrawPDFImpl::paints(int color, int depth) const {
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

void DrawPDFImpl::setAlpha(int opacity, bool stroke) {
    auto key = std::make_pair(stroke, opacity);
    int& num = shared_->alphaStates[key];
    if (!num) {
        std::string dict = stroke ? "/Type/ExtGState/CA " : "/Type/ExtGState/ca ";
        appendNumber(dict, opacity / 255.0, 4);
        num = doc().addObject(std::move(dict));
        doc().addResource(PDFDocument::ExtGState, num);
    }
    c_.name("/G", num, "gs ");
}

namespace {

// Relative and periodic gradients depend on the filled box; others are made once.
std::array<long long, 4> boxKey(const VectorPaint& p, const double box[4]) {
    std::array<long long, 4> key = {0, 0, 0, 0};
    if (p.relative || p.periodic)
        for (int i = 0; i < 4; ++i) key[static_cast<size_t>(i)] = std::llround(box[i] * 16);
    return key;
}

}  // namespace

int DrawPDFImpl::patternFor(const VectorPaint& p, const Box& box) {
    int& num = patterns_[{&p, boxKey(p, box.v)}];
    if (!num) {
        num = p.kind == VectorPaint::Pattern ? addTilingPattern(doc(), p, toForm_)
                                             : addGradientPattern(doc(), p, toForm_, box.v);
        if (num) doc().addResource(PDFDocument::Pattern, num);
    }
    return num;
}

int DrawPDFImpl::softMaskFor(const VectorPaint& p, const Box& box) {
    int& num = softMasks_[{&p, boxKey(p, box.v)}];
    if (!num) num = addSoftMaskState(doc(), p, toForm_, box.v);
    return num;
}

bool DrawPDFImpl::shade(int color, bool stroke, const Box& box, int depth) {
    if (!isDynamicColor(color)) {
        uint32_t c = static_cast<uint32_t>(color);
        if ((c >> 24) == 255) return false;
        c_.rgb(c, stroke ? "RG " : "rg ");
        if (c >> 24) setAlpha(255 - static_cast<int>(c >> 24), stroke);
        return true;
    }
    const VectorPaint* p = depth < 20 ? brushes_.find(color) : nullptr;
    if (!p) return false;
    switch (p->kind) {
        case VectorPaint::None: return false;
        case VectorPaint::Solid: return shade(static_cast<int>(p->color), stroke, box, depth + 1);
        case VectorPaint::Linear:
        case VectorPaint::Radial:
        case VectorPaint::Pattern: {
            int num = patternFor(*p, box);
            if (!num) return shade(static_cast<int>(averageColor(p->pixels)), stroke, box, depth + 1);
            c_.op(stroke ? "/Pattern CS " : "/Pattern cs ").name("/P", num, stroke ? "SCN " : "scn ");
            int opacity = p->kind == VectorPaint::Pattern ? 255 : gradientOpacity(*p);
            if (opacity < 0) {
                if (int mask = softMaskFor(*p, box)) c_.name("/G", mask, "gs ");
            } else if (opacity < 255) {
                setAlpha(opacity, stroke);
            }
            return true;
        }
        case VectorPaint::Dash: {
            if (!shade(p->colorA, stroke, box, depth + 1)) return false;
            int on1 = (p->dash >> 24) & 255, off1 = (p->dash >> 16) & 255, on2 = (p->dash >> 8) & 255,
                off2 = p->dash & 255;
            if (!stroke || on1 + off1 + on2 + off2 == 0) return true;
            c_.op("0 J [").integer(on1).integer(off1);
            if (on2 + off2 > 0) c_.integer(on2).integer(off2);
            c_.op("] 0 d ");
            return true;
        }
        case VectorPaint::Zone: return shade(p->colorA, stroke, box, depth + 1);  // nested: its first colour
    }
    return false;
}

void DrawPDFImpl::paintOne(const std::string& path, int color, bool stroke, int width, const Box& box) {
    const VectorPaint* zone = zoneOf(color);
    for (int side = 0; side < (zone ? 2 : 1); ++side) {
        size_t mark = content_.size();
        c_.op("q ");
        int paint = color;
        if (zone) {
            // Side 0 holds the pixels beyond the split line.
            const double far = 1e6, edge = zone->split + 1;
            if (zone->horizontal) {
                double y = height_ - edge;
                c_.num(-far).num(side ? y : -far).num(2 * far).num(side ? far : y + far);
            } else {
                c_.num(side ? -far : edge).num(-far).num(side ? edge + far : far).num(2 * far);
            }
            c_.op("re W n ");
            paint = side ? zone->colorB : zone->colorA;
        }
        if (!shade(paint, stroke, box)) {
            content_.resize(mark);
            continue;
        }
        if (stroke && width != 1) c_.integer(width).op("w ");
        content_ += path;
        c_.op(stroke ? "S Q\n" : "f* Q\n");
    }
}

void DrawPDFImpl::paintPath(const std::string& path, int fill, int edge, int width, const Box& box) {
    bool f = paints(fill), e = paints(edge);
    if (f && e && !zoneOf(fill) && !zoneOf(edge)) {
        size_t mark = content_.size();
        c_.op("q ");
        if (shade(fill, false, box) && shade(edge, true, box)) {
            if (width != 1) c_.integer(width).op("w ");
            content_ += path;
            c_.op("B* Q\n");
            return;
        }
        content_.resize(mark);
    }
    if (f) paintOne(path, fill, false, 1, box);
    if (e) paintOne(path, edge, true, width, box);
}

void DrawPDFImpl::commitCurrentLine() {
    size_t n = line_.x.size();
    if (n >= 2 && line_.width > 0 && paints(line_.color)) {
        bool closed = n > 3 && line_.x[0] == line_.x[n - 1] && line_.y[0] == line_.y[n - 1];
        std::string& path = pathScratch();
        PDFContent p(path, height_);
        Box box;
        for (size_t i = 0; i < (closed ? n - 1 : n); ++i) {
            p.point(line_.x[i], line_.y[i]).op(i ? "l " : "m ");
            box.add(line_.x[i], line_.y[i]);
        }
        if (closed) p.op("h ");
        paintPath(path, static_cast<int>(kTransparent), line_.color, line_.width, box);
    }
    line_.x.clear();
    line_.y.clear();
}

void DrawPDFImpl::multiRoundedRect(double x1, double y1, double x2, double y2, const int radii[4], const int colors[5]) {
    commitCurrentLine();
    bool sameEdges = colors[0] == colors[1] && colors[1] == colors[2] && colors[2] == colors[3];
    if (!paints(colors[4]) && !(paints(colors[0]) || paints(colors[1]) || paints(colors[2]) || paints(colors[3])))
        return;
    std::string& path = pathScratch();
    PDFContent p(path, height_);
    bool square = radii[0] <= 0 && radii[1] <= 0 && radii[2] <= 0 && radii[3] <= 0;
    if (square) {
        p.point(std::min(x1, x2), std::max(y1, y2)).num(std::fabs(x2 - x1)).num(std::fabs(y2 - y1)).op("re ");
    } else {
        PDFPathSink sink(p);
        roundedRectPath(x1, y1, x2, y2, radii, sink);
    }
    Box box;
    box.add(x1, y1);
    box.add(x2, y2);
    paintPath(path, colors[4], sameEdges ? colors[0] : static_cast<int>(kTransparent), 1, box);
    if (sameEdges) return;
    double xs[5] = {x1, x2, x2, x1, x1}, ys[5] = {y1, y1, y2, y2, y1};
    for (int i = 0; i < 4; ++i) {
        std::string side;
        PDFContent s(side, height_);
        s.point(xs[i], ys[i]).op("m ").point(xs[i + 1], ys[i + 1]).op("l ");
        paintPath(side, static_cast<int>(kTransparent), colors[i], 1, box);
    }
}

void DrawPDFImpl::polygon(const double* x, const double* y, int n, int edgeColor, int fillColor) {
    commitCurrentLine();
    if (n < 3 || (!paints(edgeColor) && !paints(fillColor))) return;
    std::string& path = pathScratch();
    PDFContent p(path, height_);
    Box box;
    for (int i = 0; i < n; ++i) {
        p.point(x[i], y[i]).op(i ? "l " : "m ");
        box.add(x[i], y[i]);
    }
    p.op("h ");
    paintPath(path, fillColor, edgeColor, 1, box);
}

class BoxSink : public PathSink {
public:
    BoxSink(PathSink& next, Box& box) : next_(next), box_(box) {}
    void moveTo(double x, double y) override {
        box_.add(x, y);
        next_.moveTo(x, y);
    }
    void lineTo(double x, double y) override {
        box_.add(x, y);
        next_.lineTo(x, y);
    }
    void arcTo(double cx, double cy, double rx, double ry, double a0, double a1) override {
        box_.add(cx - rx, cy - ry);
        box_.add(cx + rx, cy + ry);
        next_.arcTo(cx, cy, rx, ry, a0, a1);
    }
    void closePath() override { next_.closePath(); }

private:
    PathSink& next_;
    Box& box_;
};

void DrawPDFImpl::shape(int fillColor, bool, bool noEdges, const std::vector<PathItem>& edges) {
    commitCurrentLine();
    if (paints(fillColor)) {
        std::string& path = pathScratch();
        PDFContent p(path, height_);
        PDFPathSink pdf(p);
        Box box;
        BoxSink sink(pdf, box);
        if (traceShape(edges, sink)) paintPath(path, fillColor, static_cast<int>(kTransparent), 1, box);
    }
    if (noEdges) return;
    for (int color : edgeColors(edges)) {
        if (!paints(color)) continue;
        std::string& path = pathScratch();
        PDFContent p(path, height_);
        PDFPathSink pdf(p);
        Box box;
        BoxSink sink(pdf, box);
        if (traceEdges(edges, color, sink)) paintPath(path, static_cast<int>(kTransparent), color, 1, box);
    }
}

void DrawPDFImpl::text(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color) {
    commitCurrentLine();
    std::string hex;
    for (const TextRun& run : textRuns(glyphs, first, end, dx, dy, color)) {
        if (!paints(run.color)) continue;
        FontFace* face = run.face;
        double size = face->getSizeInPixels();
        if (!(size > 0)) continue;
        PDFFont* font = shared_->fonts.getPDFFont(doc(), face);
        Box box;
        box.add(run.xs.front(), run.baseline - size);
        box.add(run.xs.back() + run.advances.back(), run.baseline + size / 4);
        size_t mark = content_.size();
        c_.op("q ");
        if (!shade(run.color, false, box)) {
            content_.resize(mark);
            continue;
        }
        // CFF-flavoured files (most CJK fonts) are not embedded: their glyphs become paths.
        if (font->isStandIn() && outlines(run)) {
            c_.op("f Q\n");
            continue;
        }
        if (font->isArtificialBold()) {
            shade(run.color, true, box);
            c_.num(size / 30).op("w 2 Tr ");
        }
        c_.op("BT ").name("/F", font->getIndex(), "").num(size).op("Tf ");
        double skew = font->isArtificialItalic() ? 0.25 : 0;
        auto setMatrix = [&](double x) { c_.op("1 0 ").num(skew).op("1 ").point(x, run.baseline).op("Tm "); };
        setMatrix(run.xs[0]);
        // Each glyph sits at its laid-out position: the font's own advance is corrected by a TJ
        // adjustment where they differ, or, without font metrics, every glyph is placed anew.
        content_ += "[<";
        for (size_t i = 0; i < run.chars.size(); ++i) {
            hex.clear();
            int advance = font->encode(run.chars[i], hex);
            content_ += hex;
            if (i + 1 == run.chars.size()) break;
            if (advance < 0) {
                content_ += ">] TJ ";
                setMatrix(run.xs[i + 1]);
                content_ += "[<";
                continue;
            }
            double adjust = advance - (run.xs[i + 1] - run.xs[i]) * 1000 / size;
            if (std::fabs(adjust) >= 0.5) {
                content_ += "> ";
                appendNumber(content_, adjust, 1);
                content_ += " <";
            }
        }
        content_ += ">] TJ ET Q\n";
    }
}

bool DrawPDFImpl::outlines(const TextRun& run) {
    GlyphOutline o;
    bool any = false;
    for (size_t i = 0; i < run.chars.size(); ++i) {
        if (!run.face->getOutline(run.chars[i], o) || o.ops.empty()) continue;
        any = true;
        auto at = [&](size_t k) { c_.point(run.xs[i] + o.xy[2 * k], run.baseline - o.xy[2 * k + 1]); };
        size_t k = 0;
        for (GlyphOutline::Op op : o.ops) {
            switch (op) {
                case GlyphOutline::Move:
                    at(k++);
                    c_.op("m ");
                    break;
                case GlyphOutline::Line:
                    at(k++);
                    c_.op("l ");
                    break;
                case GlyphOutline::Quad: {
                    // The quadratic as a cubic: control points two thirds of the way to its own.
                    double x0 = o.xy[2 * k - 2], y0 = o.xy[2 * k - 1], cx = o.xy[2 * k], cy = o.xy[2 * k + 1];
                    double x1 = o.xy[2 * k + 2], y1 = o.xy[2 * k + 3];
                    auto put = [&](double x, double y) { c_.point(run.xs[i] + x, run.baseline - y); };
                    put(x0 + 2 * (cx - x0) / 3, y0 + 2 * (cy - y0) / 3);
                    put(x1 + 2 * (cx - x1) / 3, y1 + 2 * (cy - y1) / 3);
                    at(k + 1);
                    c_.op("c ");
                    k += 2;
                    break;
                }
                case GlyphOutline::Cubic:
                    at(k);
                    at(k + 1);
                    at(k + 2);
                    c_.op("c ");
                    k += 3;
                    break;
            }
        }
    }
    return any;
}

void DrawPDFImpl::turnedText(const GlyphContainer& glyphs, int first, int end, int dx, int dy, int color,
                             int turn) {
    commitCurrentLine();
    const int q = turn / 90 & 3;
    const int cosTab[4] = {1, 0, -1, 0}, sinTab[4] = {0, 1, 0, -1};
    const double cs = cosTab[q], sn = sinTab[q];
    // Counter-clockwise on screen about the pixel centre the text's positions are taken from.
    const double px = dx + 0.5, py = height_ - static_cast<double>(dy) - 0.5;
    size_t mark = content_.size();
    c_.op("q ").matrix({cs, sn, -sn, cs, px - cs * px + sn * py, py - sn * px - cs * py});
    c_.op("\n");
    size_t inner = content_.size();
    text(glyphs, first, end, dx, dy, color);
    if (content_.size() == inner)
        content_.resize(mark);
    else
        c_.op("Q\n");
}

DrawBackend* DrawPDFImpl::createSymbol(int id) { return symbols_.create(id, options_, this); }

DrawPDFImpl* DrawPDFImpl::findSymbol(int id) { return symbols_.find(id); }

std::string DrawPDFImpl::formContent() {
    commitCurrentLine();
    closeClip();
    std::string head = "2 J\n";
    PDFContent h(head, height_);
    if (roundClip_) {
        h.op("q ");
        PDFPathSink sink(h);
        roundedRectPath(-0.5, -0.5, width_ - 0.5, height_ - 0.5, radii_.data(), sink);
        h.op("W n\n");
    }
    if (paints(bgColor_)) {
        std::string rect = "0 0 ";
        appendInt(rect, width_);
        rect += ' ';
        appendInt(rect, height_);
        rect += " re ";
        std::swap(head, content_);
        Box box;
        box.add(0, 0);
        box.add(width_, height_);
        paintOne(rect, bgColor_, false, 1, box);
        std::swap(head, content_);
    }
    return head + content_ + (roundClip_ ? "Q\n" : "");
}

int DrawPDFImpl::symbolForm(int id) {
    DrawPDFImpl* symbol = findSymbol(id);
    if (!symbol) return 0;
    if (!symbol->form_) {
        std::string dict = "/Type/XObject/Subtype/Form/Resources ";
        appendInt(dict, doc().resourcesNumber());
        dict += " 0 R";
        dict += kFormGroup;
        dict += "/BBox[0 0 ";
        appendInt(dict, symbol->width_);
        dict += ' ';
        appendInt(dict, symbol->height_);
        dict += ']';
        symbol->form_ = doc().addStream(std::move(dict), symbol->formContent());
        doc().addResource(PDFDocument::XObject, symbol->form_);
    }
    return symbol->form_;
}

void DrawPDFImpl::placeXObject(int num, const PDFMatrix& m) {
    c_.op("q ").matrix(m).name("/X", num, "Do Q\n");
}

void DrawPDFImpl::mergeSymbol(int id, int x, int y, int width, int height, int transparency) {
    commitCurrentLine();
    if (width <= 0 || height <= 0 || transparency >= 255) return;
    int form = symbolForm(id);
    if (!form) return;
    const DrawPDFImpl* symbol = findSymbol(id);
    if (transparency > 0) {
        c_.op("q ");
        setAlpha(255 - transparency, false);
        setAlpha(255 - transparency, true);
    }
    placeXObject(form, {double(width) / symbol->width_, 0, 0, double(height) / symbol->height_, double(x),
                        double(height_ - y - height)});
    if (transparency > 0) c_.op("Q\n");
}

void DrawPDFImpl::mergeSymbolRotated(int id, double x, double y, double angle) {
    commitCurrentLine();
    int form = symbolForm(id);
    if (!form) return;
    double h = findSymbol(id)->height_;
    // The symbol turns counterclockwise on screen about its top-left corner at (x, y).
    double r = angle * 3.14159265358979323846 / 180, cs = std::cos(r), sn = std::sin(r);
    placeXObject(form, {cs, sn, -sn, cs, x + h * sn, height_ - y - h * cs});
}

void DrawPDFImpl::mergeBitMap(const int* pixels, int count, int width, int x, int y) {
    commitCurrentLine();
    if (!pixels || width <= 0 || count < width) return;
    int height = count / width;
    int image = addImageObj(doc(), reinterpret_cast<const uint32_t*>(pixels), width, height);
    if (!image) return;
    doc().addResource(PDFDocument::XObject, image);
    placeXObject(image, {double(width), 0, 0, double(height), double(x), double(height_ - y - height)});
}

void DrawPDFImpl::loadStream(const unsigned char* data, int length, int imageType, int width, int height) {
    commitCurrentLine();
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    if (!data || width <= 0 || height <= 0 || !decodeImage(data, length, imageType, pixels, w, h)) return;
    int image = addImageObj(doc(), pixels.data(), w, h);
    if (!image) return;
    // The picture becomes the whole canvas, as on the raster.
    setSize(width, height, static_cast<int>(kTransparent));
    doc().addResource(PDFDocument::XObject, image);
    placeXObject(image, {double(width), 0, 0, double(height), 0, double(height_ - height)});
}

void DrawPDFImpl::setClipRect(int left, int top, int right, int bottom) {
    commitCurrentLine();
    closeClip();
    if (left <= 0 && top <= 0 && right >= width_ - 1 && bottom >= height_ - 1) return;
    c_.op("q ").integer(left).integer(height_ - bottom - 1);
    c_.integer(right < left ? 0 : right - left + 1).integer(bottom < top ? 0 : bottom - top + 1).op("re W n\n");
    clipOpen_ = true;
}

void DrawPDFImpl::wrapContent(const PDFMatrix& m) {
    std::string head = "q ";
    PDFContent(head).matrix(m, "cm\n");
    content_ = head + content_ + "Q\n";
}

void DrawPDFImpl::resize(int width, int height) {
    commitCurrentLine();
    closeClip();
    if (width < 1 || height < 1) return;
    double sx = double(width) / width_, sy = double(height) / height_;
    wrapContent({sx, 0, 0, sy, 0, height - sy * height_});
    int bg = bgColor_;
    setSize(width, height, bg);
}

void DrawPDFImpl::affineTransform(double a, double b, double c, double d, double e, double f, int, int, double) {
    commitCurrentLine();
    closeClip();
    double det = a * e - b * d;
    if (std::fabs(det) < 1e-12) return;
    // The record maps each new pixel to where it comes from; content moves by the inverse, taken
    // here in the content stream's upward space.
    double n0 = e / det, n1 = -b / det, n3 = -d / det, n4 = a / det;
    double n2 = -(n0 * c + n1 * f), n5 = -(n3 * c + n4 * f), H = height_;
    wrapContent({n0, -n3, -n1, n4, n1 * H + n2, H - n4 * H - n5});
}

bool DrawPDFImpl::finish(vek::ostream& out) {
    PDFDocument& d = doc();
    std::string dict = "/Type/XObject/Subtype/Form/Resources ";
    appendInt(dict, d.resourcesNumber());
    dict += " 0 R";
    dict += kFormGroup;
    dict += "/BBox[0 0 ";
    appendInt(dict, width_);
    dict += ' ';
    appendInt(dict, height_);
    dict += ']';
    int form = d.addStream(std::move(dict), formContent());
    d.addResource(PDFDocument::XObject, form);
    shared_->fonts.outFonts(d);
    int pictureWidth = width_, pictureHeight = height_;
    if (shadow_ && !shadow_->pixels.empty()) {
        // A drop shadow grows the picture: its image beneath, the drawing where the raster puts it.
        pictureWidth = shadow_->width;
        pictureHeight = shadow_->height;
        std::string grown;
        PDFContent c(grown);
        if (int image = addImageObj(d, shadow_->pixels.data(), pictureWidth, pictureHeight)) {
            d.addResource(PDFDocument::XObject, image);
            c.op("q ").matrix({double(pictureWidth), 0, 0, double(pictureHeight), 0, 0}).name("/X", image, "Do Q ");
        }
        c.op("q ").matrix({1, 0, 0, 1, double(shadow_->left), double(pictureHeight - shadow_->top - height_)});
        c.name("/X", form, "Do Q");
        std::string outer = "/Type/XObject/Subtype/Form/Resources ";
        appendInt(outer, d.resourcesNumber());
        outer += " 0 R";
        outer += kFormGroup;
        outer += "/BBox[0 0 ";
        appendInt(outer, pictureWidth);
        outer += ' ';
        appendInt(outer, pictureHeight);
        outer += ']';
        form = d.addStream(std::move(outer), grown);
        d.addResource(PDFDocument::XObject, form);
    }

    double scale = 72 / options_.getPositiveDouble("dpi", 96);
    double w = options_.getPositiveDouble("width", pictureWidth), h = options_.getPositiveDouble("height", pictureHeight);
    double pw = options_.getPositiveDouble("pagewidth", w), ph = options_.getPositiveDouble("pageheight", h);
    double left = options_.getDouble("leftx", (pw - w) / 2), top = options_.getDouble("topy", (ph - h) / 2);
    std::string page;
    PDFContent(page).matrix({scale * w / pictureWidth, 0, 0, scale * h / pictureHeight, left * scale, (ph - top - h) * scale})
        .name("/X", form, "Do");
    int contents = d.addStream("", page);

    std::time_t now = options_.now();
    std::tm local{};
    localtime_r(&now, &local);
    char date[160];
    std::snprintf(date, sizeof date, "/CreationDate(D:%04d%02d%02d%02d%02d%02d)/Creator(Plotvane)", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    int info = d.addObject(date);

    int pages = d.reserve();
    std::string pageDict = "/Type/Page/MediaBox[0 0 ";
    appendNumber(pageDict, pw * scale, 3);
    pageDict += ' ';
    appendNumber(pageDict, ph * scale, 3);
    pageDict += "]/Parent ";
    appendInt(pageDict, pages);
    pageDict += " 0 R/Resources ";
    appendInt(pageDict, d.resourcesNumber());
    pageDict += " 0 R/Contents ";
    appendInt(pageDict, contents);
    pageDict += " 0 R";
    pageDict += kFormGroup;
    int pageNum = d.addObject(std::move(pageDict));
    std::string kids = "/Type/Pages/Kids[";
    appendInt(kids, pageNum);
    kids += " 0 R]/Count 1";
    d.setObject(pages, std::move(kids));
    std::string catalog = "/Type/Catalog/Pages ";
    appendInt(catalog, pages);
    catalog += " 0 R/OpenAction[";
    appendInt(catalog, pageNum);
    catalog += " 0 R /XYZ 0 0 1]";
    int root = d.addObject(std::move(catalog));

    int before = out.tell();
    d.write(out, root, info);
    return out.tell() > before;
}

}  // namespace

DrawPDF* DrawPDF::create(const VectorOptions& options) { return new DrawPDFImpl(options, nullptr); }

}  // namespace plotvane

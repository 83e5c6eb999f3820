// The drawing recorder. Every drawing call appends one record to a word stream; nothing is
// painted here. Three things keep recordings small and cheap to replay:
//
// - Polylines. Consecutive lineTo segments that join end to start are collected in a line
//   builder (style nodes for colour and width, point nodes for coordinates) and written as one
//   "PolyLine" (one style) or "MultiLine" (several) when the run breaks or any other drawing
//   record is opened. A run of one segment is written as a plain "Line".
// - Brushes. A dynamic colour only stores its arguments when it is created. The first record
//   that draws with it writes the definition just in front of itself, after resolving the
//   brush's own colours (which may be palette entries or other brushes); the definition is
//   written again only when what those colours resolve to has changed. Definition records never
//   end a pending polyline, so a brush first used by a polyline lands before it.
// - Symbols. A merged drawing is referred to by its object id; the first merge writes a
//   "DefineSymbol" and keeps the source alive, every later merge only references it.
//
// A sub drawing (a child area that will be merged back) looks its brushes up in its parents and
// has them written into the root recording, ahead of the symbol that uses them.

#include "draw/metadraw_p.h"
#include "draw/outputoptions_p.h"

#include <plotvane/mutex.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "draw/angles_p.h"
#include "draw/drawarea_p.h"
#include "draw/drawbmp_p.h"
#include "draw/glyph_p.h"
#include "draw/graphicsstream_p.h"
#include "draw/largeobj_p.h"
#include "draw/metabrush_p.h"
#include "draw/metareplay_p.h"
#include "draw/opcodes_p.h"

namespace plotvane {

int newObjectId() {
    static vek::Mutex mutex;
    static int next = 0;
    vek::MutexLock lock(mutex);
    return next++;
}

void MetaShape::lineEdge(double x1, double y1, double x2, double y2, int color, bool exact) {
    PathItem item;
    item.kind = PathItem::Line;
    item.d[0] = x1;
    item.d[1] = y1;
    item.d[2] = x2;
    item.d[3] = y2;
    item.color = color;
    item.flag = exact;
    edges_.push_back(item);
}

void MetaShape::arcEdge(double cx, double cy, int rx, int ry, double a1, double a2, int color) {
    addArc(PathItem::Arc, cx, cy, rx, ry, a1, a2, 0, 0, color);
}

void MetaShape::arcEdge(double cx, double cy, int rx, int ry, double a1, double a2, double drawA1, double drawA2,
                        int color) {
    addArc(PathItem::Arc2, cx, cy, rx, ry, a1, a2, drawA1, drawA2, color);
}

void MetaShape::chordEdge(double cx1, double cy1, int rx1, int ry1, double a1, double cx2, double cy2, int rx2,
                          int ry2, double a2, int color) {
    lineEdge(cx1 + rx1 * sinDeg(a1), cy1 - ry1 * cosDeg(a1), cx2 + rx2 * sinDeg(a2), cy2 - ry2 * cosDeg(a2), color,
             true);
}

void MetaShape::normalizeArc(double& a1, double& a2) {
    if (a2 < a1) std::swap(a1, a2);
    double shift = std::floor(a1 / 360) * 360;
    a1 -= shift;
    a2 = std::min(a2 - shift, a1 + 360);
}

// Fillers cross each edge with rows, so an arc is cut where y turns: at 0 and 180 degrees.
void MetaShape::addArc(PathItem::Kind kind, double cx, double cy, int rx, int ry, double a1, double a2,
                       double drawA1, double drawA2, int color) {
    if (!std::isfinite(a1) || !std::isfinite(a2) || a1 == a2 || rx < 0 || ry < 0) return;
    normalizeArc(a1, a2);
    for (double start = a1; start < a2;) {
        double next = std::min(a2, (std::floor(start / 180) + 1) * 180);
        double y1 = cy - ry * cosDeg(start);
        double y2 = cy - ry * cosDeg(next);
        PathItem item;
        item.kind = kind;
        item.d[0] = cx;
        item.d[1] = cy;
        item.d[2] = start;
        item.d[3] = next;
        item.d[4] = std::min(y1, y2);
        item.d[5] = std::max(y1, y2);
        item.d[6] = drawA1;
        item.d[7] = drawA2;
        item.rx = rx;
        item.ry = ry;
        item.color = color;
        item.flag = kind == PathItem::Arc2;
        edges_.push_back(item);
        start = next;
    }
}

void MetaShape::fill(int fillColor, bool startFlag, bool noEdges) { meta_->fillShape(edges_, fillColor, startFlag, noEdges); }

namespace {

constexpr int kMaxColorNesting = 11;

class MetaDrawImpl final : public MetaDraw {
public:
    explicit MetaDrawImpl(DrawAreaImpl* owner) : owner_(owner) {}
    ~MetaDrawImpl() override {
        for (auto& entry : brushes_) entry.second->destroy();
    }

    void setMetaParent(MetaDraw* parent) override {
        parent_ = parent;
        cmd(kOpSetSubDrawMode);
    }
    bool isEmpty() const override { return empty_; }
    int getId() override {
        if (id_ < 0) id_ = newObjectId();
        return id_;
    }
    int streamSize() override {
        finish();
        return stream_.size();
    }

    int drawTo(DrawBackend* backend, int from) override {
        if (replaying_ > 0 || !backend) return 0;
        finish();
        ++replaying_;
        int end = replayRecords(stream_.data(), from, stream_.size(), objects_, *backend);
        --replaying_;
        return end;
    }

    void outMeta(vek::ostream& out) override {
        if (replaying_ > 0) return;
        finish();
        ++replaying_;
        dumpRecords(stream_.data(), 0, stream_.size(), objects_, out);
        --replaying_;
    }

    void parseOutputOptions(const char* options) override { options_.parse(options); }
    const char* getOutputOption(const char* key) const override { return options_.get(key); }
    double getOutputOptionAsDouble(const char* key, double defaultValue) const override {
        return options_.getDouble(key, defaultValue);
    }
    double getOutputOptionAsPositiveDouble(const char* key, double defaultValue) const override {
        return options_.getPositiveDouble(key, defaultValue);
    }

    void initDynamicLayer(DrawBMP* canvas) override {
        finish();
        if (canvas) canvas->initDynamicLayer();
        checkpoint_ = stream_.size();
        checkpointOwned_ = owned_.size();
    }
    int clearDynamicLayer(bool keepBase, DrawBMP* canvas, int keepBrushes) override {
        if (checkpoint_ < 0) return stream_.size();
        lines_.clear();
        if (canvas) canvas->clearDynamicLayer(keepBase);
        stream_.truncate(checkpoint_);
        for (size_t k = checkpointOwned_; k < owned_.size(); ++k) {
            if (canvas) canvas->removeSymbol(owned_[k]);
            objects_.release(owned_[k]);
        }
        owned_.resize(checkpointOwned_);
        for (auto it = brushes_.begin(); it != brushes_.end();) {
            if ((it->first & 0xffff) >= keepBrushes) {
                it->second->destroy();
                it = brushes_.erase(it);
            } else {
                it->second->forgetFrom(checkpoint_);
                ++it;
            }
        }
        int at = checkpoint_;
        if (!keepBase) checkpoint_ = -1;
        return at;
    }
    bool hasDynamicLayer() const override { return checkpoint_ >= 0; }

    void setSize(int width, int height, int bgColor) override {
        int bg = resolveColor(bgColor);
        cmd(kOpSetSize);
        stream_.putInt(width);
        stream_.putInt(height);
        stream_.putInt(bg);
    }
    void resize(int width, int height) override {
        cmd(kOpResize);
        stream_.putInt(width);
        stream_.putInt(height);
    }
    void affineTransform(double a, double b, double c, double d, double e, double f, int bgColor, int filter,
                         double blur) override {
        int bg = resolveColor(bgColor);
        cmd(kOpAffineTransform);
        for (double v : {a, b, c, d, e, f}) stream_.putDouble(v);
        stream_.putInt(bg);
        stream_.putInt(filter);
        stream_.putDouble(blur);
    }
    void setClipRect(int left, int top, int right, int bottom) override {
        cmd(kOpSetClipRect);
        for (int v : {left, top, right, bottom}) stream_.putInt(v);
    }
    void setBgColor(int color) override {
        int c = resolveColor(color);
        cmd(kOpSetBgColor);
        stream_.putInt(c);
    }
    void clipRoundedCorners(int r1, int r2, int r3, int r4, int bgColor) override {
        int bg = resolveColor(bgColor);
        cmd(kOpSetBgRoundedClip);
        for (int v : {r1, r2, r3, r4, bg}) stream_.putInt(v);
    }
    void addDropShadow(int mode, int xOffset, int yOffset, int blurRadius, int color) override {
        int c = resolveColor(color);
        cmd(kOpSetBgDropShadow);
        for (int v : {mode, xOffset, yOffset, blurRadius, c}) stream_.putInt(v);
    }
    void line(double x1, double y1, double x2, double y2, int color, int width) override {
        int c = resolveColor(color);
        writeLine(x1, y1, x2, y2, c, width);
    }
    void initLineTo() override { flushLines(); }
    void initLineTo(double x, double y) override {
        flushLines();
        penX_ = x;
        penY_ = y;
    }
    void lineTo(double x1, double y1, double x2, double y2, int color, int width) override {
        int c = resolveColor(color);
        if (lines_.empty() || x1 != penX_ || y1 != penY_) {
            flushLines();
            addNode(kLineStyle, c, width);
            addNode(kLinePoint, x1, y1);
        } else if (c != styleColor_ || width != styleWidth_) {
            addNode(kLineStyle, c, width);
        }
        styleColor_ = c;
        styleWidth_ = width;
        addNode(kLinePoint, x2, y2);
        penX_ = x2;
        penY_ = y2;
    }
    void drawRoundedRect(double x1, double y1, double x2, double y2, int radius, int edgeColor,
                         int fillColor) override {
        int edge = resolveColor(edgeColor);
        int fill = resolveColor(fillColor);
        cmd(kOpRoundedRect);
        for (double v : {x1, y1, x2, y2}) stream_.putDouble(v);
        stream_.putInt(radius);
        stream_.putInt(edge);
        stream_.putInt(fill);
    }
    void drawRoundedRect(double x1, double y1, double x2, double y2, const int radii[4],
                         const int colors[5]) override {
        int c[5];
        for (int k = 0; k < 5; ++k) c[k] = resolveColor(colors[k]);
        cmd(kOpMultiRoundedRect);
        for (double v : {x1, y1, x2, y2}) stream_.putDouble(v);
        for (int k = 0; k < 4; ++k) stream_.putInt(radii[k]);
        for (int v : c) stream_.putInt(v);
    }
    void polygon(const std::vector<double>& x, const std::vector<double>& y, int edgeColor,
                 int fillColor) override {
        int edge = resolveColor(edgeColor);
        int fill = resolveColor(fillColor);
        cmd(kOpPolygon);
        stream_.putInt(edge);
        stream_.putInt(fill);
        stream_.putDoubles(x.data(), static_cast<int>(x.size()));
        stream_.putDoubles(y.data(), static_cast<int>(y.size()));
    }
    void exactPolygon(const std::vector<double>& x, const std::vector<double>& y, int color) override {
        int c = resolveColor(color);
        cmd(kOpExactPolygon);
        stream_.putInt(c);
        stream_.putDoubles(x.data(), static_cast<int>(x.size()));
        stream_.putDoubles(y.data(), static_cast<int>(y.size()));
    }
    void fillShape(const std::vector<PathItem>& edges, int fillColor, bool startFlag, bool noEdges) override {
        std::vector<int> colors;
        colors.reserve(edges.size());
        for (const PathItem& e : edges) colors.push_back(resolveColor(e.color));
        int fill = resolveColor(fillColor);
        cmd(kOpShape);
        stream_.putInt(fill);
        stream_.putInt(startFlag);
        stream_.putInt(noEdges);
        for (size_t k = 0; k < edges.size(); ++k) writePathItem(edges[k], colors[k]);
    }
    void gouraudShading(const double v[9], int color) override {
        int c = resolveColor(color);
        cmd(kOpGouraudShadedTriangle);
        for (int k = 0; k < 9; ++k) stream_.putDouble(v[k]);
        stream_.putInt(c);
    }
    void commitSuperPixels() override { cmd(kOpCommitSuperPixels); }

    void text(GlyphContainer& glyphs, int start, int end, int dx, int dy, int color, int turn) override {
        start = std::max(start, 0);
        end = std::min(end, glyphs.size());
        if (start >= end) return;
        int c = resolveColor(color);
        int lastAsked = -1, lastResolved = -1;
        for (int k = start; k < end; ++k) {
            int own = glyphs[k].color;
            if (own == -1) continue;
            if (own != lastAsked) {
                lastAsked = own;
                lastResolved = resolveColor(own);
            }
            glyphs[k].color = lastResolved;
        }
        int id = newObjectId();
        LargeObj obj;
        obj.type = LargeObj::Glyphs;
        obj.glyphs = &glyphs;
        glyphs.addRef();
        glyphs.markRecorded();
        own(id, std::move(obj));
        cmd(turn ? kOpTurnedText : kOpText);
        for (int v : {id, start, end, dx, dy, c}) stream_.putInt(v);
        if (turn) stream_.putInt(turn);
    }

    void merge(DrawAreaImpl* src, int x, int y, int width, int height, int transparency) override {
        int id = defineSymbol(src);
        if (id < 0) return;
        cmd(kOpMergeWithScaling);
        for (int v : {id, x, y, width, height, transparency}) stream_.putInt(v);
    }
    void merge(DrawAreaImpl* src, double x, double y, double angle) override {
        int id = defineSymbol(src);
        if (id < 0) return;
        cmd(kOpMergeWithRotation);
        stream_.putInt(id);
        stream_.putDouble(x);
        stream_.putDouble(y);
        stream_.putDouble(angle);
    }
    void mergeBitMap(const int* pixels, int count, int width, int x, int y) override {
        int id = newObjectId();
        LargeObj obj;
        obj.type = LargeObj::PixelArray;
        obj.pixels = pixels;
        obj.length = count;
        own(id, std::move(obj));
        cmd(kOpMergeBitMap);
        for (int v : {id, width, x, y}) stream_.putInt(v);
    }
    void loadStream(std::vector<unsigned char>&& file, int imageType, int width, int height) override {
        int id = newObjectId();
        LargeObj obj;
        obj.type = LargeObj::ImageFile;
        obj.bytes = std::move(file);
        own(id, std::move(obj));
        cmd(kOpLoadStream);
        for (int v : {id, imageType, width, height}) stream_.putInt(v);
    }

    void setBrush(int id, MetaBrush* brush) override {
        auto it = brushes_.find(id);
        if (it != brushes_.end()) {
            it->second->destroy();
            brushes_.erase(it);
        }
        if (brush) brushes_[id] = brush;
    }
    int resolveColor(int color) override {
        int c = owner_->getARGBColor(color);
        if (nesting_ >= kMaxColorNesting || (static_cast<uint32_t>(c) >> 16) != 0xfffeu) return c;
        MetaBrush* brush = findBrush(c);
        if (brush) {
            ++nesting_;
            brush->resolve(*root());
            --nesting_;
        }
        return c;
    }
    MetaDraw* root() override { return parent_ ? parent_->root() : this; }
    int writeDefinition(uint32_t opcode, const std::vector<uint32_t>& args) override {
        int at = stream_.openRecord(opcode);
        for (uint32_t w : args) stream_.putWord(w);
        return at;
    }
    MetaBrush* findBrush(int id) override {
        auto it = brushes_.find(id);
        if (it != brushes_.end()) return it->second;
        return parent_ ? parent_->findBrush(id) : nullptr;
    }

private:
    struct LineNode {
        MultiLineItem kind;
        double a, b;  // style: colour and width; point: x and y
    };

    // Opens a record; a drawing record first writes out a pending polyline.
    void cmd(uint32_t opcode) {
        if (isDrawingOp(opcode)) {
            if (!lines_.empty()) flushLines();
            // Sizing and clipping set the stage; they draw nothing a caller would call content.
            if (opcode != kOpSetSize && opcode != kOpSetClipRect) empty_ = false;
        }
        stream_.openRecord(opcode);
    }

    // Makes the recording complete for a reader.
    void finish() {
        flushLines();
        stream_.closeRecord();
    }

    void addNode(MultiLineItem kind, double a, double b) { lines_.push_back({kind, a, b}); }

    void writeLine(double x1, double y1, double x2, double y2, int color, int width) {
        cmd(kOpLine);
        for (double v : {x1, y1, x2, y2}) stream_.putDouble(v);
        stream_.putInt(color);
        stream_.putInt(width);
    }

    void flushLines() {
        if (lines_.empty() || flushing_) return;
        flushing_ = true;
        std::vector<LineNode> run;
        run.swap(lines_);
        int styles = 0;
        for (const LineNode& n : run) styles += n.kind == kLineStyle;
        auto color = [](double v) { return static_cast<int>(static_cast<uint32_t>(static_cast<int64_t>(v))); };
        auto width = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
        if (run.size() == 3) {
            writeLine(run[1].a, run[1].b, run[2].a, run[2].b, color(run[0].a), width(run[0].b));
        } else if (styles == 1) {
            std::vector<double> xy;
            for (size_t k = 1; k < run.size(); ++k) {
                xy.push_back(run[k].a);
                xy.push_back(run[k].b);
            }
            cmd(kOpPolyLine);
            stream_.putInt(color(run[0].a));
            stream_.putInt(width(run[0].b));
            stream_.putDoubles(xy.data(), static_cast<int>(xy.size()));
        } else {
            cmd(kOpMultiLine);
            for (const LineNode& n : run) {
                stream_.putInt(static_cast<int>(n.kind));
                if (n.kind == kLineStyle) {
                    stream_.putInt(color(n.a));
                    stream_.putInt(width(n.b));
                } else {
                    stream_.putDouble(n.a);
                    stream_.putDouble(n.b);
                }
            }
        }
        flushing_ = false;
    }

    void writePathItem(const PathItem& e, int color) {
        stream_.putInt(static_cast<int>(e.kind));
        stream_.putDouble(e.d[0]);
        stream_.putDouble(e.d[1]);
        if (e.kind == PathItem::Line) {
            stream_.putDouble(e.d[2]);
            stream_.putDouble(e.d[3]);
            stream_.putInt(color);
            stream_.putInt(e.flag);
            return;
        }
        stream_.putInt(e.rx);
        stream_.putInt(e.ry);
        int doubles = e.kind == PathItem::Arc ? 4 : 6;
        for (int k = 0; k < doubles; ++k) stream_.putDouble(e.d[2 + k]);
        stream_.putInt(color);
        if (e.kind == PathItem::Arc2) stream_.putInt(e.flag);
    }

    // Defines src's drawing as a symbol once; returns its id, or -1 for a drawing that would
    // contain itself.
    int defineSymbol(DrawAreaImpl* src) {
        if (!src || src->meta() == this) return -1;
        int id = src->meta()->getId();
        if (objects_.contains(id)) return id;
        cmd(kOpDefineSymbol);
        stream_.putInt(id);
        LargeObj obj;
        obj.type = LargeObj::SubDrawing;
        obj.area = src;
        src->addRef();
        own(id, std::move(obj));
        return id;
    }

    void own(int id, LargeObj&& obj) {
        objects_.put(id, std::move(obj));
        owned_.push_back(id);
    }

    DrawAreaImpl* owner_;
    MetaDraw* parent_ = nullptr;
    GraphicsStream stream_;
    std::vector<LineNode> lines_;
    double penX_ = 0, penY_ = 0;
    int styleColor_ = 0, styleWidth_ = 0;
    bool flushing_ = false;
    std::map<int, MetaBrush*> brushes_;
    LargeObjContainer objects_;
    std::vector<int> owned_;
    int checkpoint_ = -1;
    size_t checkpointOwned_ = 0;
    int nesting_ = 0;
    int replaying_ = 0;
    OutputOptions options_;
    bool empty_ = true;
    int id_ = -1;
};

}  // namespace

MetaDraw* MetaDraw::create(DrawAreaImpl* owner) { return new MetaDrawImpl(owner); }

}  // namespace plotvane

#ifndef PLOTVANE_DRAW_METADRAW_P_H
#define PLOTVANE_DRAW_METADRAW_P_H

// The drawing recorder behind a DrawArea: every drawing call becomes a record in a word stream
// (graphicsstream_p.h), which is replayed into a DrawBackend on demand or dumped as text.

#include <plotvane/ostrstream.h>

#include <cstdint>
#include <vector>

#include "draw/drawbackend_p.h"

namespace plotvane {

class DrawAreaImpl;
class DrawBMP;
class MetaBrush;
class MetaDraw;

// A new id from the process-wide counter shared by every recorder, so that a symbol keeps its id
// in every drawing it is merged into.
int newObjectId();

// Collects the straight and elliptic edges of one filled shape; fill() records it.
class MetaShape {
public:
    explicit MetaShape(MetaDraw* meta) : meta_(meta) {}
    void reset() { edges_.clear(); }
    // exact false: ends within 0.001 of an integer are snapped to it when filled.
    void lineEdge(double x1, double y1, double x2, double y2, int color, bool exact = false);
    // An elliptic edge from angle a1 to a2 (degrees clockwise from 12 o'clock, either order).
    void arcEdge(double cx, double cy, int rx, int ry, double a1, double a2, int color);
    // The same, with the edge line drawn only between the angles drawA1 and drawA2.
    void arcEdge(double cx, double cy, int rx, int ry, double a1, double a2, double drawA1, double drawA2,
                 int color);
    // A straight edge from angle a1 on the first ellipse to angle a2 on the second, unsnapped so that
    // it meets arcEdge's pieces exactly: a corner that lands on a sampled row then gives one crossing,
    // not two. Angles must be in arcEdge's range (see normalizeArc).
    void chordEdge(double cx1, double cy1, int rx1, int ry1, double a1, double cx2, double cy2, int rx2, int ry2,
                   double a2, int color);
    void fill(int fillColor, bool startFlag = false, bool noEdges = false);
    // Puts a1 <= a2 into the range arcEdge works in (a1 in [0, 360), a2 at most a1 + 360). Edges that
    // join an arc must take their angles from here: cos(a) and cos(a + 360) may differ in the last bit.
    static void normalizeArc(double& a1, double& a2);
    const std::vector<PathItem>& edges() const { return edges_; }

private:
    void addArc(PathItem::Kind kind, double cx, double cy, int rx, int ry, double a1, double a2, double drawA1,
                double drawA2, int color);
    MetaDraw* meta_;
    std::vector<PathItem> edges_;
};

class MetaDraw {
public:
    static MetaDraw* create(DrawAreaImpl* owner);
    virtual ~MetaDraw() = default;
    void destroy() { delete this; }

    // Makes this the recording of a sub drawing of parent: brushes are looked up in the parents.
    virtual void setMetaParent(MetaDraw* parent) = 0;
    virtual bool isEmpty() const = 0;
    virtual int getId() = 0;
    virtual int streamSize() = 0;

    // Replays the records from word index `from` on; returns the new end (0 while already replaying).
    virtual int drawTo(DrawBackend* backend, int from) = 0;
    // The text dump.
    virtual void outMeta(vek::ostream& out) = 0;

    virtual void parseOutputOptions(const char* options) = 0;
    virtual const char* getOutputOption(const char* key) const = 0;
    virtual double getOutputOptionAsDouble(const char* key, double defaultValue) const = 0;
    virtual double getOutputOptionAsPositiveDouble(const char* key, double defaultValue) const = 0;

    // Dynamic layer: a checkpoint that clearDynamicLayer cuts the recording back to. Brushes with an
    // index of keepBrushes or more are dropped. Returns the checkpoint (the new replay position).
    virtual void initDynamicLayer(DrawBMP* canvas) = 0;
    virtual int clearDynamicLayer(bool keepBase, DrawBMP* canvas, int keepBrushes) = 0;
    virtual bool hasDynamicLayer() const = 0;

    // Recording. Colours are resolved through the owning area and its brushes first.
    virtual void setSize(int width, int height, int bgColor) = 0;
    virtual void resize(int width, int height) = 0;
    virtual void affineTransform(double a, double b, double c, double d, double e, double f, int bgColor,
                                 int filter, double blur) = 0;
    virtual void setClipRect(int left, int top, int right, int bottom) = 0;
    virtual void setBgColor(int color) = 0;
    virtual void clipRoundedCorners(int r1, int r2, int r3, int r4, int bgColor) = 0;
    virtual void addDropShadow(int mode, int xOffset, int yOffset, int blurRadius, int color) = 0;
    virtual void line(double x1, double y1, double x2, double y2, int color, int width) = 0;
    virtual void initLineTo() = 0;
    virtual void initLineTo(double x, double y) = 0;
    virtual void lineTo(double x1, double y1, double x2, double y2, int color, int width) = 0;
    virtual void drawRoundedRect(double x1, double y1, double x2, double y2, int radius, int edgeColor,
                                 int fillColor) = 0;
    virtual void drawRoundedRect(double x1, double y1, double x2, double y2, const int radii[4],
                                 const int colors[5]) = 0;
    virtual void polygon(const std::vector<double>& x, const std::vector<double>& y, int edgeColor,
                         int fillColor) = 0;
    virtual void exactPolygon(const std::vector<double>& x, const std::vector<double>& y, int color) = 0;
    virtual void fillShape(const std::vector<PathItem>& edges, int fillColor, bool startFlag, bool noEdges) = 0;
    virtual void gouraudShading(const double v[9], int color) = 0;
    virtual void commitSuperPixels() = 0;
    // turn: 0, or 90, 180 or 270 degrees counter-clockwise about (dx, dy).
    virtual void text(GlyphContainer& glyphs, int start, int end, int dx, int dy, int color, int turn) = 0;

    // Symbols: src's recording is defined once and referenced by id.
    virtual void merge(DrawAreaImpl* src, int x, int y, int width, int height, int transparency) = 0;
    virtual void merge(DrawAreaImpl* src, double x, double y, double angle) = 0;
    // Pixels are referenced, not copied.
    virtual void mergeBitMap(const int* pixels, int count, int width, int x, int y) = 0;
    virtual void loadStream(std::vector<unsigned char>&& file, int imageType, int width, int height) = 0;

    // Brushes: stored now, written when first drawn with.
    virtual void setBrush(int id, MetaBrush* brush) = 0;
    virtual int resolveColor(int color) = 0;
    virtual MetaDraw* root() = 0;
    // Writes a definition record; returns its start.
    virtual int writeDefinition(uint32_t opcode, const std::vector<uint32_t>& args) = 0;
    // The brush under an id here or in a parent, or null.
    virtual MetaBrush* findBrush(int id) = 0;
};

}  // namespace plotvane

#endif

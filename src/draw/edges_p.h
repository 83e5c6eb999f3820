#ifndef PLOTVANE_DRAW_EDGES_P_H
#define PLOTVANE_DRAW_EDGES_P_H

// Edges of filled shapes and the shape that collects them.
//
// An edge is y-monotonic: it answers the rows it spans (minY <= y < maxY, so a horizontal edge
// spans none), its crossing x at a row, and how to draw itself as a one-pixel anti-aliased line in
// its own colour once the interior is filled. AALineEdge is a straight segment; AAEllipseEdge one
// y-monotonic piece of an ellipse, whose drawn outline may cover a different angle range than its
// crossings (pieces of one arc share the outline). Edges with NaN or infinite coordinates are never
// built: a shape simply lacks them.

#include <cstdint>
#include <memory>
#include <vector>

#include "draw/brush_p.h"

namespace plotvane {

class Canvas;

class AAEdge {
public:
    virtual ~AAEdge() = default;
    double getMinY() const { return minY_; }
    double getMaxY() const { return maxY_; }
    bool hasIntersection(double y) const { return minY_ <= y && y < maxY_; }
    virtual double getX(double y) const = 0;
    // True when getX gives the same x on every row.
    virtual bool isVertical() const { return false; }
    virtual void draw(Canvas& canvas) const = 0;
    // Grows box to hold the edge.
    virtual void extendBox(BrushContext::Box& box) const = 0;

protected:
    double minY_ = 0, maxY_ = 0;
    uint32_t color_ = 0xff000000u;
};

class AALineEdge final : public AAEdge {
public:
    // Inexact edges snap end coordinates within 0.001 of an integer to it.
    AALineEdge(double x1, double y1, double x2, double y2, uint32_t color, bool exact);
    double getX(double y) const override;
    bool isVertical() const override { return x1_ == x2_; }
    void draw(Canvas& canvas) const override;
    void extendBox(BrushContext::Box& box) const override;

private:
    double x1_, y1_, x2_, y2_;
    double slope_ = 0;  // dx/dy, from the lower end
};

class AAEllipseEdge final : public AAEdge {
public:
    // Crossings from the piece between angles a0 and a1 (degrees clockwise from 12 o'clock) over
    // rows minY..maxY; the outline is drawn from drawFrom to drawTo when `drawn` is set.
    AAEllipseEdge(double cx, double cy, double rx, double ry, double a0, double a1, double minY, double maxY,
                  uint32_t color, bool drawn, double drawFrom, double drawTo);
    double getX(double y) const override;
    void draw(Canvas& canvas) const override;
    void extendBox(BrushContext::Box& box) const override;

private:
    double cx_, cy_, rx_, ry_;
    double side_;  // +1 for the right half of the ellipse, -1 for the left
    bool drawn_;
    double drawFrom_, drawTo_;
};

// Draws an elliptic arc outline (a polyline of short anti-aliased segments).
void drawArcOutline(Canvas& canvas, double cx, double cy, double rx, double ry, double from, double to,
                    uint32_t color);

class AAShape {
public:
    void reset() { edges_.clear(); }
    void add(std::unique_ptr<AAEdge> edge) { edges_.push_back(std::move(edge)); }
    void addLine(double x1, double y1, double x2, double y2, uint32_t color, bool exact);
    size_t size() const { return edges_.size(); }
    const std::vector<std::unique_ptr<AAEdge>>& edges() const { return edges_; }
    // Even-odd fill of the interior (skipped for Transparent), then the edge lines unless noEdges.
    // start: skip the first row and widen spans by half a pixel, so shapes that meet leave no gap.
    void fill(Canvas& canvas, uint32_t color, bool start, bool noEdges) const;

private:
    std::vector<std::unique_ptr<AAEdge>> edges_;
};

// The two fillers, exposed so tests can hold them pixel-equal. aaEdgeFill looks at every edge on
// every row; aaEdgeFill2 keeps the edges sorted by minY with an active list.
void aaEdgeFill(Canvas& canvas, const std::vector<const AAEdge*>& edges, uint32_t color, bool start);
void aaEdgeFill2(Canvas& canvas, const std::vector<const AAEdge*>& edges, uint32_t color, bool start);

}  // namespace plotvane

#endif

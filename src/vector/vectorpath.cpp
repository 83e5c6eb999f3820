#include "vector/vectorpath_p.h"

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kJoin = 0.01;  // end points closer than this join

struct Point {
    double x, y;
};

Point arcPoint(const PathItem& e, double a) {
    double r = a * kPi / 180;
    return {e.d[0] + e.rx * std::sin(r), e.d[1] - e.ry * std::cos(r)};
}

double snap(double v, bool exact) {
    if (exact) return v;
    double r = std::floor(v + 0.5);
    return std::fabs(v - r) < 0.001 ? r : v;
}

// One edge as the sink sees it: its two ends and, for arcs, the angle range.
struct Edge {
    const PathItem* item;
    Point a, b;
    double a0 = 0, a1 = 0;
};

Edge makeEdge(const PathItem& item, bool strokeRange) {
    Edge e{&item, {0, 0}, {0, 0}};
    if (item.kind == PathItem::Line) {
        e.a = {item.d[0], item.d[1]};
        e.b = {snap(item.d[2], item.flag), snap(item.d[3], item.flag)};
    } else {
        bool useRange = strokeRange && item.kind == PathItem::Arc2;
        e.a0 = useRange ? item.d[6] : item.d[2];
        e.a1 = useRange ? item.d[7] : item.d[3];
        e.a = arcPoint(item, e.a0);
        e.b = arcPoint(item, e.a1);
    }
    return e;
}

bool near(Point p, Point q) { return std::fabs(p.x - q.x) < kJoin && std::fabs(p.y - q.y) < kJoin; }

void emit(const Edge& e, bool reversed, PathSink& sink) {
    Point end = reversed ? e.a : e.b;
    if (e.item->kind == PathItem::Line)
        sink.lineTo(end.x, end.y);
    else
        sink.arcTo(e.item->d[0], e.item->d[1], e.item->rx, e.item->ry, reversed ? e.a1 : e.a0,
                   reversed ? e.a0 : e.a1);
}

// Chains edges into runs; closed runs for fills, open ones for strokes.
void chain(std::vector<Edge>& edges, bool close, PathSink& sink) {
    std::vector<bool> used(edges.size(), false);
    size_t next = 0;
    for (size_t start = 0; start < edges.size(); ++start) {
        if (used[start]) continue;
        used[start] = true;
        const Edge& first = edges[start];
        sink.moveTo(first.a.x, first.a.y);
        emit(first, false, sink);
        Point pen = first.b;
        next = start + 1;
        for (;;) {
            // Edges usually come in order, so the search starts right after the last one taken.
            size_t found = edges.size();
            bool reversed = false;
            for (size_t k = 0; k < edges.size() && found == edges.size(); ++k) {
                size_t i = (next + k) % edges.size();
                if (used[i]) continue;
                if (near(edges[i].a, pen)) found = i;
                else if (near(edges[i].b, pen)) found = i, reversed = true;
            }
            if (found == edges.size()) break;
            used[found] = true;
            emit(edges[found], reversed, sink);
            pen = reversed ? edges[found].a : edges[found].b;
            next = found + 1;
            if (close && near(pen, first.a)) break;
        }
        if (close) sink.closePath();
    }
}

}  // namespace

bool traceShape(const std::vector<PathItem>& items, PathSink& sink) {
    std::vector<Edge> edges;
    edges.reserve(items.size());
    for (const PathItem& item : items) {
        Edge e = makeEdge(item, false);
        if (item.kind == PathItem::Line && near(e.a, e.b)) continue;
        edges.push_back(e);
    }
    if (edges.empty()) return false;
    chain(edges, true, sink);
    return true;
}

bool traceEdges(const std::vector<PathItem>& items, int color, PathSink& sink) {
    std::vector<Edge> edges;
    for (const PathItem& item : items) {
        if (item.color != color) continue;
        if (item.kind == PathItem::Arc2 && !item.flag) continue;
        edges.push_back(makeEdge(item, true));
    }
    if (edges.empty()) return false;
    chain(edges, false, sink);
    return true;
}

std::vector<int> edgeColors(const std::vector<PathItem>& items) {
    std::vector<int> colors;
    for (const PathItem& item : items) {
        if (static_cast<unsigned>(item.color) == 0xff000000u) continue;
        if (item.kind == PathItem::Arc2 && !item.flag) continue;
        if (std::find(colors.begin(), colors.end(), item.color) == colors.end()) colors.push_back(item.color);
    }
    return colors;
}

void roundedRectPath(double x1, double y1, double x2, double y2, const int radii[4], PathSink& sink) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    double limit = std::min(x2 - x1, y2 - y1) / 2;
    double r[4];
    for (int i = 0; i < 4; ++i) r[i] = std::max(0.0, std::min<double>(radii[i], limit));
    sink.moveTo(x1 + r[0], y1);
    sink.lineTo(x2 - r[1], y1);
    if (r[1] > 0) sink.arcTo(x2 - r[1], y1 + r[1], r[1], r[1], 0, 90);
    sink.lineTo(x2, y2 - r[2]);
    if (r[2] > 0) sink.arcTo(x2 - r[2], y2 - r[2], r[2], r[2], 90, 180);
    sink.lineTo(x1 + r[3], y2);
    if (r[3] > 0) sink.arcTo(x1 + r[3], y2 - r[3], r[3], r[3], 180, 270);
    sink.lineTo(x1, y1 + r[0]);
    if (r[0] > 0) sink.arcTo(x1 + r[0], y1 + r[0], r[0], r[0], 270, 360);
    sink.closePath();
}

}  // namespace plotvane

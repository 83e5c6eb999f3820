// Level lines of a field sampled on a rectangular grid (marching squares).
//
// Takes the samples and the levels; gives, per level, the polylines along which the field
// interpolated linearly along the grid lines equals the level. A sample counts as above a level
// when it is at or above it, so every grid edge whose two ends lie on different sides holds exactly
// one crossing, computed from the edge alone: the two cells that share the edge agree on the point,
// and the pieces join into unbroken lines that close wherever the level's region is closed inside
// the grid. A cell with a missing corner has no lines, so holes end the lines at their rim.
//
// One pass over the cells finds, by binary search over the sorted levels, only the levels between
// a cell's lowest and highest corner, so the cost follows the cells plus the length of the lines,
// not cells times levels. A saddle cell (opposite corners on the same side) is resolved by the
// mean of its corners: when the centre is above the level, the above corners are joined through
// the middle.
//
// The pieces of one level are chained by the grid edges they end on: every edge id is shared by at
// most two pieces, so sorting the piece ends by edge id pairs them up.
#include "chart/xy/isolines_p.h"

#include <plotvane/constants.h>

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace plotvane {

namespace {

struct Piece {
    int64_t a;
    int64_t b;
};

// Edge ids: 2 * (j * nx + i) runs from sample (i, j) to (i + 1, j), the next id from (i, j) to (i, j + 1).
int64_t hEdge(const IsoGrid& g, int i, int j) { return 2 * (static_cast<int64_t>(j) * g.nx + i); }
int64_t vEdge(const IsoGrid& g, int i, int j) { return 2 * (static_cast<int64_t>(j) * g.nx + i) + 1; }

void crossing(const IsoGrid& g, int64_t edge, double level, double& x, double& y) {
    int64_t k = edge / 2;
    int i = static_cast<int>(k % g.nx);
    int j = static_cast<int>(k / g.nx);
    bool vertical = edge & 1;
    double z0 = g.z[k];
    double z1 = vertical ? g.z[k + g.nx] : g.z[k + 1];
    double t = (level - z0) / (z1 - z0);
    t = std::clamp(t, 0.0, 1.0);
    if (vertical) {
        x = g.xs[i];
        y = g.ys[j] + t * (g.ys[j + 1] - g.ys[j]);
    } else {
        x = g.xs[i] + t * (g.xs[i + 1] - g.xs[i]);
        y = g.ys[j];
    }
}

void addCellPieces(const IsoGrid& g, int i, int j, const double c[4], double level, std::vector<Piece>& out) {
    // Corners counter-clockwise from (i, j): 0 (i, j), 1 (i + 1, j), 2 (i + 1, j + 1), 3 (i, j + 1).
    int code = (c[0] >= level) | (c[1] >= level) << 1 | (c[2] >= level) << 2 | (c[3] >= level) << 3;
    int64_t s = hEdge(g, i, j), e = vEdge(g, i + 1, j), n = hEdge(g, i, j + 1), w = vEdge(g, i, j);
    switch (code) {
        case 1: case 14: out.push_back({w, s}); break;
        case 2: case 13: out.push_back({s, e}); break;
        case 3: case 12: out.push_back({w, e}); break;
        case 4: case 11: out.push_back({e, n}); break;
        case 6: case 9: out.push_back({s, n}); break;
        case 7: case 8: out.push_back({w, n}); break;
        case 5:
        case 10: {
            bool centreAbove = (c[0] + c[1] + c[2] + c[3]) / 4 >= level;
            // Cut off the corners that stay apart: those below the centre's side.
            bool cutEvenCorners = (code == 5) != centreAbove;  // corners 0 and 2
            if (cutEvenCorners) {
                out.push_back({w, s});
                out.push_back({e, n});
            } else {
                out.push_back({s, e});
                out.push_back({n, w});
            }
            break;
        }
        default: break;
    }
}

std::vector<IsoLine> chain(const IsoGrid& g, const std::vector<Piece>& pieces, double level) {
    std::vector<IsoLine> lines;
    size_t n = pieces.size();
    if (n == 0) return lines;
    // Piece ends sorted by edge; partner[end] is the other piece end on the same edge, or -1.
    std::vector<int64_t> ends(2 * n);
    std::iota(ends.begin(), ends.end(), 0);
    auto edgeOf = [&](int64_t end) { return end & 1 ? pieces[end / 2].b : pieces[end / 2].a; };
    std::sort(ends.begin(), ends.end(), [&](int64_t p, int64_t q) { return edgeOf(p) < edgeOf(q); });
    std::vector<int64_t> partner(2 * n, -1);
    for (size_t k = 0; k + 1 < ends.size(); ++k) {
        if (edgeOf(ends[k]) != edgeOf(ends[k + 1])) continue;
        partner[ends[k]] = ends[k + 1];
        partner[ends[k + 1]] = ends[k];
        ++k;
    }
    std::vector<char> used(n, 0);
    for (size_t start = 0; start < n; ++start) {
        if (used[start]) continue;
        // Walk back to an open end, or once round a loop.
        int64_t end = static_cast<int64_t>(2 * start);  // leave the piece by its "a" end
        bool closed = false;
        for (size_t steps = 0; steps <= n; ++steps) {
            int64_t p = partner[end];
            if (p < 0) break;
            int64_t piece = p / 2;
            if (static_cast<size_t>(piece) == start) {
                closed = true;
                break;
            }
            end = p ^ 1;  // out through the piece's other end
        }
        // `end` is now the free end (or, for a loop, the a-end of start); go forward from it.
        IsoLine line;
        line.closed = closed;
        int64_t at = closed ? static_cast<int64_t>(2 * start) : end;
        double x, y;
        crossing(g, edgeOf(at), level, x, y);
        line.points.push_back(x);
        line.points.push_back(y);
        for (;;) {
            size_t piece = static_cast<size_t>(at / 2);
            if (used[piece]) break;
            used[piece] = 1;
            int64_t out = at ^ 1;
            crossing(g, edgeOf(out), level, x, y);
            line.points.push_back(x);
            line.points.push_back(y);
            int64_t next = partner[out];
            if (next < 0) break;
            at = next;
        }
        if (line.points.size() >= 4) lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

std::vector<std::vector<IsoLine>> traceIsoLines(const IsoGrid& g, const std::vector<double>& levels) {
    std::vector<std::vector<IsoLine>> result(levels.size());
    if (g.nx < 2 || g.ny < 2 || !g.z || !g.xs || !g.ys || levels.empty()) return result;
    if (!std::is_sorted(levels.begin(), levels.end())) return result;
    std::vector<std::vector<Piece>> pieces(levels.size());
    for (int j = 0; j + 1 < g.ny; ++j) {
        const double* row = g.z + static_cast<int64_t>(j) * g.nx;
        const double* up = row + g.nx;
        for (int i = 0; i + 1 < g.nx; ++i) {
            double c[4] = {row[i], row[i + 1], up[i + 1], up[i]};
            if (c[0] == Chart::NoValue || c[1] == Chart::NoValue || c[2] == Chart::NoValue ||
                c[3] == Chart::NoValue)
                continue;
            double lo = std::min(std::min(c[0], c[1]), std::min(c[2], c[3]));
            double hi = std::max(std::max(c[0], c[1]), std::max(c[2], c[3]));
            // Levels in (lo, hi] separate the corners.
            auto first = std::upper_bound(levels.begin(), levels.end(), lo);
            for (auto it = first; it != levels.end() && *it <= hi; ++it)
                addCellPieces(g, i, j, c, *it, pieces[static_cast<size_t>(it - levels.begin())]);
        }
    }
    for (size_t k = 0; k < levels.size(); ++k) result[k] = chain(g, pieces[k], levels[k]);
    return result;
}

}  // namespace plotvane

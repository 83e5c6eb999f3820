// Replay of a recording into a DrawBackend. Records are walked by their length words; each one is
// decoded by its opcode and handed to the back-end operation of the same name. A record that
// is too short for its arguments, of unknown kind, or longer than its arguments is reported to
// the back-end as a comment and skipped (an over-long one is still drawn), so one damaged record
// costs only itself. Polylines are handed over as initLineTo(start), lineTo ..., initLineTo().
//
// A chart with many labels records one text record after another, and each names a glyph container
// of its own that was filled long before and has left the cache since: blending would wait first
// for the container, then for its glyph records. While a text record is drawn, the container of the
// record two ahead and the glyph records of the one right after are asked for, so each arrives in
// the cache by the time its record comes up.

#include "draw/metareplay_p.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "draw/brush_p.h"
#include "draw/drawarea_p.h"
#include "draw/glyph_p.h"
#include "draw/graphicsstream_p.h"
#include "draw/largeobj_p.h"
#include "draw/opcodes_p.h"

namespace plotvane {

std::string skipMessage(const char* message, uint32_t opcode, int remainingWords) {
    char tail[64];
    std::snprintf(tail, sizeof tail, " %d, skipping %d bytes", static_cast<int>(opcode), remainingWords * 4);
    return std::string(message) + tail;
}

namespace {

void replayPolyLine(const std::vector<double>& xy, int color, int width, DrawBackend& b) {
    if (xy.size() < 4) return;
    b.initLineTo(xy[0], xy[1]);
    for (size_t k = 2; k + 1 < xy.size(); k += 2) b.lineTo(xy[k], xy[k + 1], color, width);
    b.initLineTo();
}

// A z colour's position a*x + b*y + c is a linear gradient along (a, b) through the point where
// the position is 0; a level plane is its one colour along any vector.
void replayZColor(int id, double a, double b, double c, std::vector<int> stops, DrawBackend& back) {
    double n = a * a + b * b;
    if (!(n > 1e-18) || !std::isfinite(n) || !std::isfinite(c)) {
        std::vector<uint32_t> table = buildGradientTable(stops, 257);
        int at = std::isfinite(c) ? static_cast<int>(std::clamp(c, 0.0, 256.0)) : 0;
        int color = static_cast<int>(table[static_cast<size_t>(at)]);
        back.linearGradientColor(id, 0, 0, 1, 0, false, {0, color, 256, color});
        return;
    }
    double x1 = -c * a / n, y1 = -c * b / n;
    back.linearGradientColor(id, x1, y1, x1 + 256 * a / n, y1 + 256 * b / n, false, stops);
}

// Returns false on an unknown item kind.
bool replayMultiLine(RecordReader& r, DrawBackend& b) {
    int color = 0, width = 1;
    bool started = false;
    while (r.ok() && r.remaining() > 0) {
        uint32_t kind = r.word();
        if (kind == kLineStyle) {
            color = r.i();
            width = r.i();
        } else if (kind == kLinePoint) {
            double x = r.d(), y = r.d();
            if (!r.ok()) break;
            if (started) {
                b.lineTo(x, y, color, width);
            } else {
                b.initLineTo(x, y);
                started = true;
            }
        } else {
            return false;
        }
    }
    if (started) b.initLineTo();
    return true;
}

bool readPathItems(RecordReader& r, std::vector<PathItem>& items) {
    while (r.ok() && r.remaining() > 0) {
        PathItem e;
        uint32_t kind = r.word();
        if (kind > kPathArc2) return false;
        e.kind = static_cast<PathItem::Kind>(kind);
        e.d[0] = r.d();
        e.d[1] = r.d();
        if (e.kind == PathItem::Line) {
            e.d[2] = r.d();
            e.d[3] = r.d();
            e.color = r.i();
            e.flag = r.b();
        } else {
            e.rx = r.i();
            e.ry = r.i();
            int doubles = e.kind == PathItem::Arc ? 4 : 6;
            for (int k = 0; k < doubles; ++k) e.d[2 + k] = r.d();
            e.color = r.i();
            if (e.kind == PathItem::Arc2) e.flag = r.b();
        }
        if (r.ok()) items.push_back(e);
    }
    return true;
}

// Decodes and draws one record; returns the message for a record it could not handle, or null.
const char* replayOne(uint32_t op, RecordReader& r, const LargeObjContainer& objects, DrawBackend& b) {
    switch (op) {
        case kOpSetSize: {
            int w = r.i(), h = r.i(), bg = r.i();
            if (r.ok()) b.setSize(w, h, bg);
            break;
        }
        case kOpResize: {
            int w = r.i(), h = r.i();
            if (r.ok()) b.resize(w, h);
            break;
        }
        case kOpAffineTransform: {
            double m[6];
            for (double& v : m) v = r.d();
            int bg = r.i(), filter = r.i();
            double blur = r.d();
            if (r.ok()) b.affineTransform(m[0], m[1], m[2], m[3], m[4], m[5], bg, filter, blur);
            break;
        }
        case kOpSetClipRect: {
            int v[4];
            for (int& x : v) x = r.i();
            if (r.ok()) b.setClipRect(v[0], v[1], v[2], v[3]);
            break;
        }
        case kOpSetBgColor: {
            int c = r.i();
            if (r.ok()) b.setBgColor(c);
            break;
        }
        case kOpSetBgRoundedClip:
        case kOpSetBgDropShadow: {
            int v[5];
            for (int& x : v) x = r.i();
            if (!r.ok()) break;
            if (op == kOpSetBgRoundedClip) b.clipRoundedCorners(v[0], v[1], v[2], v[3], v[4]);
            else b.addDropShadow(v[0], v[1], v[2], v[3], v[4]);
            break;
        }
        case kOpLine: {
            double x1 = r.d(), y1 = r.d(), x2 = r.d(), y2 = r.d();
            int c = r.i(), w = r.i();
            if (r.ok()) b.line(x1, y1, x2, y2, c, w);
            break;
        }
        case kOpPolyLine: {
            int c = r.i(), w = r.i();
            std::vector<double> xy = r.doubles();
            if (r.ok()) replayPolyLine(xy, c, w, b);
            break;
        }
        case kOpMultiLine:
            if (!replayMultiLine(r, b)) return "Unknown path type";
            break;
        case kOpRoundedRect: {
            double x1 = r.d(), y1 = r.d(), x2 = r.d(), y2 = r.d();
            int radius = r.i(), edge = r.i(), fill = r.i();
            if (r.ok()) b.roundedRect(x1, y1, x2, y2, radius, edge, fill);
            break;
        }
        case kOpMultiRoundedRect: {
            double x1 = r.d(), y1 = r.d(), x2 = r.d(), y2 = r.d();
            int radii[4], colors[5];
            for (int& v : radii) v = r.i();
            for (int& v : colors) v = r.i();
            if (r.ok()) b.multiRoundedRect(x1, y1, x2, y2, radii, colors);
            break;
        }
        case kOpPolygon: {
            int edge = r.i(), fill = r.i();
            std::vector<double> x = r.doubles(), y = r.doubles();
            int n = static_cast<int>(std::min(x.size(), y.size()));
            if (r.ok()) b.polygon(x.data(), y.data(), n, edge, fill);
            break;
        }
        case kOpExactPolygon: {
            int c = r.i();
            std::vector<double> x = r.doubles(), y = r.doubles();
            int n = static_cast<int>(std::min(x.size(), y.size()));
            if (r.ok()) b.exactPolygon(x.data(), y.data(), n, c);
            break;
        }
        case kOpShape: {
            int fill = r.i();
            bool start = r.b(), noEdges = r.b();
            std::vector<PathItem> items;
            if (!readPathItems(r, items)) return "Unknown path type";
            if (r.ok()) b.shape(fill, start, noEdges, items);
            break;
        }
        case kOpGouraudShadedTriangle: {
            double v[9];
            for (double& x : v) x = r.d();
            int c = r.i();
            if (r.ok()) b.gouraudShadedTriangle(v, c);
            break;
        }
        case kOpCommitSuperPixels:
            b.commitSuperPixels();
            break;
        case kOpText:
        case kOpTurnedText: {
            int id = r.i(), first = r.i(), end = r.i(), dx = r.i(), dy = r.i(), c = r.i();
            int turn = op == kOpTurnedText ? r.i() : 0;
            const LargeObj* obj = objects.get(id);
            if (!r.ok() || !obj || !obj->glyphs) break;
            if (turn)
                b.turnedText(*obj->glyphs, first, end, dx, dy, c, turn);
            else
                b.text(*obj->glyphs, first, end, dx, dy, c);
            break;
        }
        case kOpDefineSymbol: {
            int id = r.i();
            const LargeObj* obj = objects.get(id);
            if (!r.ok() || !obj || !obj->area) break;
            if (DrawBackend* symbol = b.createSymbol(id)) obj->area->meta()->drawTo(symbol, 0);
            break;
        }
        case kOpMergeWithScaling: {
            int v[6];
            for (int& x : v) x = r.i();
            if (r.ok()) b.mergeSymbol(v[0], v[1], v[2], v[3], v[4], v[5]);
            break;
        }
        case kOpMergeWithRotation: {
            int id = r.i();
            double x = r.d(), y = r.d(), angle = r.d();
            if (r.ok()) b.mergeSymbolRotated(id, x, y, angle);
            break;
        }
        case kOpMergeBitMap: {
            int id = r.i(), width = r.i(), x = r.i(), y = r.i();
            const LargeObj* obj = objects.get(id);
            if (r.ok() && obj && obj->pixels) b.mergeBitMap(obj->pixels, obj->length, width, x, y);
            break;
        }
        case kOpLoadStream: {
            int id = r.i(), type = r.i(), w = r.i(), h = r.i();
            const LargeObj* obj = objects.get(id);
            if (r.ok() && obj && !obj->bytes.empty())
                b.loadStream(obj->bytes.data(), static_cast<int>(obj->bytes.size()), type, w, h);
            break;
        }
        case kOpSetSubDrawMode:
            b.setSubDrawMode();
            break;
        case kOpAdjustBrightness: {
            int id = r.i(), base = r.i();
            double f = r.d();
            if (r.ok()) b.adjustBrightness(id, base, f);
            break;
        }
        case kOpTransformedColor: {
            int id = r.i(), base = r.i();
            double m[6];
            for (double& v : m) v = r.d();
            if (r.ok()) b.transformedColor(id, base, m);
            break;
        }
        case kOpBrushedTextureColor:
        case kOpDashLineColor: {
            int id = r.i(), base = r.i(), v = r.i();
            if (!r.ok()) break;
            if (op == kOpDashLineColor) b.dashLineColor(id, base, v);
            else b.brushedTextureColor(id, base, v);
            break;
        }
        case kOpLinearGradientColor:
        case kOpRelativeLinearGradientColor: {
            int id = r.i();
            double x1 = r.d(), y1 = r.d(), x2 = r.d(), y2 = r.d();
            bool periodic = r.b();
            std::vector<int> stops = r.ints();
            if (!r.ok()) break;
            if (op == kOpLinearGradientColor) b.linearGradientColor(id, x1, y1, x2, y2, periodic, stops);
            else b.relativeLinearGradientColor(id, x1, y1, x2, y2, periodic, stops);
            break;
        }
        case kOpRadialGradientColor: {
            int id = r.i(), cx = r.i(), cy = r.i(), rx = r.i(), ry = r.i();
            bool periodic = r.b();
            std::vector<int> stops = r.ints();
            if (r.ok()) b.radialGradientColor(id, cx, cy, rx, ry, periodic, stops);
            break;
        }
        case kOpAngleGradientColor: {
            int id = r.i();
            double d[6];
            for (double& v : d) v = r.d();
            std::vector<int> stops = r.ints();
            if (r.ok()) b.angleGradientColor(id, d, stops);
            break;
        }
        case kOpLightingColor:
        case kOpLinearLightingColor:
        case kOpRelativeLinearLightingColor: {
            int id = r.i(), base = r.i();
            double d[4];
            for (double& v : d) v = r.d();
            bool periodic = r.b();
            std::vector<int> table = r.ints();
            if (!r.ok()) break;
            if (op == kOpLightingColor) b.lightingColor(id, base, d, periodic, table);
            else if (op == kOpLinearLightingColor) b.linearLightingColor(id, base, d, periodic, table);
            else b.relativeLinearLightingColor(id, base, d, periodic, table);
            break;
        }
        case kOpRadialLightingColor: {
            int id = r.i(), base = r.i(), cx = r.i(), cy = r.i(), rx = r.i(), ry = r.i();
            std::vector<int> table = r.ints();
            if (r.ok()) b.radialLightingColor(id, base, cx, cy, rx, ry, table);
            break;
        }
        case kOpPatternColor: {
            int id = r.i(), w = r.i(), h = r.i(), sx = r.i(), sy = r.i();
            std::vector<int> pixels = r.ints();
            if (r.ok()) b.patternColor(id, w, h, sx, sy, pixels);
            break;
        }
        case kOpPatternColor2: {
            int id = r.i(), sx = r.i(), sy = r.i();
            std::string file = r.s();
            if (r.ok()) b.patternColor2(id, sx, sy, file.c_str());
            break;
        }
        case kOpZColor: {
            int id = r.i();
            double a = r.d(), bb = r.d(), c = r.d();
            std::vector<int> stops = r.ints();
            if (r.ok()) replayZColor(id, a, bb, c, stops, b);
            break;
        }
        case kOpZoneColor: {
            int id = r.i();
            bool horizontal = r.b();
            int split = r.i(), a = r.i(), c = r.i();
            if (r.ok()) b.zoneColor(id, horizontal, split, a, c);
            break;
        }
        default:
            return "Unknown OpCode";
    }
    return nullptr;
}

// The glyph container the text record at pos draws and the glyphs it draws, or null; next is where
// the record after it starts.
const GlyphContainer* textAt(const uint32_t* words, int pos, int to, const LargeObjContainer& objects, int& first,
                             int& end, int& next) {
    next = to;
    if (pos + 7 > to) return nullptr;
    int length = static_cast<int>(words[pos]);
    uint32_t op = words[pos + 1];
    if (length < 7 || length > to - pos || (op != kOpText && op != kOpTurnedText)) return nullptr;
    next = pos + length;
    const LargeObj* obj = objects.get(static_cast<int>(words[pos + 2]));
    first = static_cast<int>(words[pos + 3]);
    end = static_cast<int>(words[pos + 4]);
    return obj ? obj->glyphs : nullptr;
}

// Every cache line that [begin, end) touches.
void prefetchRange(const void* begin, const void* end) {
    auto line = reinterpret_cast<uintptr_t>(begin) & ~uintptr_t{63};
    for (; line < reinterpret_cast<uintptr_t>(end); line += 64) __builtin_prefetch(reinterpret_cast<const void*>(line));
}

void prefetchAhead(const uint32_t* words, int pos, int to, const LargeObjContainer& objects) {
    int first, end, afterNext, unused;
    if (const GlyphContainer* c = textAt(words, pos, to, objects, first, end, afterNext)) {
        first = std::max(first, 0);
        end = std::min(end, c->size());
        if (first < end) prefetchRange(&(*c)[first], &(*c)[end - 1] + 1);
    }
    if (const GlyphContainer* c = textAt(words, afterNext, to, objects, first, end, unused))
        prefetchRange(c, c + 1);
}

}  // namespace

int replayRecords(const uint32_t* words, int from, int to, const LargeObjContainer& objects, DrawBackend& backend) {
    int pos = std::max(from, 0);
    while (pos + 2 <= to) {
        int length = static_cast<int>(words[pos]);
        uint32_t op = words[pos + 1];
        if (length < 2 || length > to - pos) {
            backend.comment(skipMessage("Unknown OpCode", op, to - pos - 2).c_str());
            break;
        }
        if (op == kOpText || op == kOpTurnedText) prefetchAhead(words, pos + length, to, objects);
        RecordReader r(words + pos + 2, length - 2);
        const char* problem = replayOne(op, r, objects, backend);
        if (problem) {
            backend.comment(skipMessage(problem, op, length - 2).c_str());
        } else if (!r.ok()) {
            const OpInfo* info = findOp(op);
            std::string message = std::string("Insufficient input when reading format list ") + (info ? info->signature : "");
            backend.comment(skipMessage(message.c_str(), op, length - 2).c_str());
        } else if (r.remaining() > 0) {
            backend.comment(skipMessage("Extra bytes following OpCode", op, r.remaining()).c_str());
        }
        pos += length;
    }
    return to;
}

}  // namespace plotvane

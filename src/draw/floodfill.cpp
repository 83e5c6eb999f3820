// Flood fills, scanline by scanline within the clip rectangle.
//
// Consumes a seed and a region rule; produces the region overwritten with the colour (brushes
// evaluated per pixel). The horizontal run through each seed is filled whole, then every run of
// region pixels in the rows above and below becomes a new seed. A visited map, rather than the
// colour written, marks what is done, so a colour that still matches the rule (a brush, or a border
// fill with the border colour) cannot loop forever.
#include "draw/floodfill_p.h"

#include <vector>

#include "draw/canvas_p.h"

namespace plotvane {

namespace {

template <class Inside>
void fillRegion(Canvas& cv, int sx, int sy, uint32_t color, Inside inside) {
    const ClipRect c = cv.clip;
    if (!c.contains(sx, sy) || !inside(cv.index(sx, sy))) return;
    const int w = c.right - c.left + 1;
    std::vector<bool> done(static_cast<size_t>(w) * static_cast<size_t>(c.bottom - c.top + 1));
    auto seen = [&](int x, int y) { return done[static_cast<size_t>(y - c.top) * w + (x - c.left)]; };
    std::vector<std::pair<int, int>> stack{{sx, sy}};
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        if (seen(x, y)) continue;
        int l = x, r = x;
        while (l > c.left && !seen(l - 1, y) && inside(cv.index(l - 1, y))) --l;
        while (r < c.right && !seen(r + 1, y) && inside(cv.index(r + 1, y))) ++r;
        for (int i = l; i <= r; ++i) {
            done[static_cast<size_t>(y - c.top) * w + (i - c.left)] = true;
            cv.store(cv.index(i, y), Canvas::isCode(color) ? cv.colorAt(color, i, y) : color);
        }
        for (int ny : {y - 1, y + 1}) {
            if (ny < c.top || ny > c.bottom) continue;
            bool inRun = false;
            for (int i = l; i <= r; ++i) {
                const bool in = !seen(i, ny) && inside(cv.index(i, ny));
                if (in && !inRun) stack.emplace_back(i, ny);
                inRun = in;
            }
        }
    }
}

}  // namespace

void floodFill(Canvas& cv, int x, int y, uint32_t color) {
    if (color == kTransparent || !cv.clip.contains(x, y)) return;
    cv.commitSuperPixels();
    const uint32_t seed = cv.pixels()[cv.index(x, y)];
    if (seed == canonical(color)) return;
    const uint32_t* px = cv.pixels();
    fillRegion(cv, x, y, color, [px, seed](size_t i) { return px[i] == seed; });
}

void floodFillToBorder(Canvas& cv, int x, int y, uint32_t color, uint32_t border) {
    if (color == kTransparent || !cv.clip.contains(x, y)) return;
    cv.commitSuperPixels();
    const uint32_t* px = cv.pixels();
    border = canonical(border);
    fillRegion(cv, x, y, color, [px, border](size_t i) { return px[i] != border; });
}

}  // namespace plotvane

#ifndef PLOTVANE_TESTS_DRAW_RASTERTEST_H
#define PLOTVANE_TESTS_DRAW_RASTERTEST_H

// Small helpers shared by the raster tests.

#include <cstdint>
#include <memory>

#include "draw/drawbmp_p.h"

namespace rastertest {

struct CanvasDeleter {
    void operator()(plotvane::DrawBMP* c) const { delete c; }
};
using CanvasPtr = std::unique_ptr<plotvane::DrawBMP, CanvasDeleter>;

inline CanvasPtr makeCanvas(int w, int h, uint32_t bg = 0x00ffffffu, bool antiAlias = true) {
    CanvasPtr c(plotvane::DrawBMP::create());
    c->setAntiAlias(antiAlias, 1);
    c->setSize(w, h, static_cast<int>(bg));
    return c;
}

inline uint32_t px(const plotvane::DrawBMP& c, int x, int y) {
    return static_cast<uint32_t>(c.getPixel(x, y));
}

inline int col(uint32_t c) {
    return static_cast<int>(c);
}

}  // namespace rastertest

#endif

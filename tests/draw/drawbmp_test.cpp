#include "draw/drawbmp_p.h"

#include <gtest/gtest.h>

#include "draw/blend_p.h"
#include "rastertest.h"

using namespace plotvane;
using namespace rastertest;

namespace {
constexpr uint32_t kWhite = 0x00ffffffu;

// A symbol of 3 x 2 pixels: a red top row and a blue bottom row, with one transparent pixel.
DrawBMP* defineSymbol(DrawBMP& c, int id) {
    auto* s = static_cast<DrawBMP*>(c.createSymbol(id));
    s->setSize(3, 2, 0x00ff0000);
    s->line(0, 1, 2, 1, 0x000000ff, 1);
    s->pixel(2, 0, 0);
    s->setClipRect(0, 0, 2, 1);
    return s;
}
}  // namespace

TEST(DrawBMP, SizeClipAndBackground) {
    auto c = makeCanvas(0, -5);
    EXPECT_EQ(c->getWidth(), 1);
    EXPECT_EQ(c->getHeight(), 1);
    c->setSize(4, 3, 0x00112233);
    EXPECT_EQ(px(*c, 3, 2), 0x00112233u);
    c->pixel(0, 0, 0x00000001);
    // Growing keeps the old top-left pixels.
    c->setSize(6, 5, 0x00445566);
    EXPECT_EQ(px(*c, 0, 0), 0x00000001u);
    EXPECT_EQ(px(*c, 3, 2), 0x00112233u);
    EXPECT_EQ(px(*c, 4, 2), 0x00445566u);
    EXPECT_EQ(px(*c, 5, 4), 0x00445566u);
    // Refused sizes leave the canvas alone.
    c->setSize(1 << 30, 1 << 30, 0);
    EXPECT_EQ(c->getWidth(), 6);
    // Background and pixels respect the clip rectangle.
    c->setClipRect(1, 1, 2, 2);
    c->setBgColor(0x00000000);
    EXPECT_EQ(px(*c, 1, 1), 0x00000000u);
    EXPECT_EQ(px(*c, 3, 3), 0x00445566u);
    c->pixel(3, 3, 0x00ff0000);
    EXPECT_EQ(px(*c, 3, 3), 0x00445566u);
    EXPECT_EQ(px(*c, -1, 0), kTransparent);
    // Transparent and invisible colours change nothing.
    c->pixel(1, 1, static_cast<int>(0xff000000u));
    c->pixel(1, 1, static_cast<int>(0xff00ff00u));
    EXPECT_EQ(px(*c, 1, 1), 0x00000000u);
}

TEST(DrawBMP, SymbolsMergedScaledAndRotated) {
    auto c = makeCanvas(10, 10);
    defineSymbol(*c, 7);
    c->mergeSymbol(7, 2, 3, 3, 2, 0);
    EXPECT_EQ(px(*c, 2, 3), 0x00ff0000u);
    EXPECT_EQ(px(*c, 4, 3), 0x00000000u);
    EXPECT_EQ(px(*c, 3, 4), 0x000000ffu);
    // Transparency 255 merges nothing; 128 fades.
    auto f = makeCanvas(10, 10);
    defineSymbol(*f, 7);
    f->mergeSymbol(7, 0, 0, 3, 2, 255);
    EXPECT_EQ(px(*f, 0, 0), kWhite);
    f->mergeSymbol(7, 0, 0, 3, 2, 128);
    EXPECT_EQ(px(*f, 0, 0), blend(0x80ff0000u, kWhite));
    // Merged at another size the symbol is resampled into place.
    f->mergeSymbol(7, 4, 4, 6, 4, 0);
    EXPECT_EQ(px(*f, 4, 4), 0x00ff0000u);
    EXPECT_EQ(px(*f, 4, 7), 0x000000ffu);
    // Unknown ids and removed symbols merge nothing.
    f->removeSymbol(7);
    f->mergeSymbol(7, 0, 5, 3, 2, 0);
    EXPECT_EQ(px(*f, 0, 5), kWhite);

    // Turned by 90 degrees about its top-left corner, which lands at (x, y + w).
    auto r = makeCanvas(10, 10);
    defineSymbol(*r, 1);
    r->mergeSymbolRotated(1, 2, 2 + 3, 90);
    // Source (u, v) goes to (x + v, y - u): the red row becomes column 2, the blue row column 3.
    EXPECT_EQ(px(*r, 2, 4), 0x00ff0000u);
    EXPECT_EQ(px(*r, 2, 3), 0x00ff0000u);
    EXPECT_EQ(px(*r, 3, 4), 0x000000ffu);
    EXPECT_EQ(px(*r, 3, 2), 0x000000ffu);
    EXPECT_EQ(px(*r, 2, 2), 0x00000000u);
    EXPECT_EQ(px(*r, 4, 4), kWhite);
    r->mergeSymbolRotated(1, 5, 5, 33);
    r->mergeSymbolRotated(1, 1e300, 5, 33);

    // Raw pixel arrays.
    const int bits[4] = {0x00010203, static_cast<int>(0xff000000u), 0x40000000, 0x00070809};
    r->mergeBitMap(bits, 4, 2, 8, 8);
    EXPECT_EQ(px(*r, 8, 8), 0x00010203u);
    EXPECT_EQ(px(*r, 9, 8), kWhite);
    EXPECT_EQ(px(*r, 8, 9), blend(0x40000000u, kWhite));
    r->mergeBitMap(bits, 4, 0, 0, 0);
    r->mergeBitMap(bits, 1, 2, 0, 0);
}

TEST(DrawBMP, DynamicLayerRestores) {
    auto c = makeCanvas(5, 5);
    c->clearDynamicLayer(true);  // without a saved layer: transparent
    EXPECT_EQ(px(*c, 0, 0), kTransparent);
    c->setBgColor(0x00ffffff);
    c->pixel(1, 1, 0x00ff0000);
    c->initDynamicLayer();
    c->pixel(2, 2, 0x0000ff00);
    c->clearDynamicLayer(true);
    EXPECT_EQ(px(*c, 1, 1), 0x00ff0000u);
    EXPECT_EQ(px(*c, 2, 2), kWhite);
    c->pixel(3, 3, 0x000000ff);
    c->clearDynamicLayer(true);  // the saved copy is kept for the next restore
    EXPECT_EQ(px(*c, 3, 3), kWhite);
    c->pixel(4, 4, 0x000000ff);
    c->clearDynamicLayer(false);  // swaps: the drawing becomes the saved copy
    EXPECT_EQ(px(*c, 4, 4), kWhite);
    c->clearDynamicLayer(false);
    EXPECT_EQ(px(*c, 4, 4), 0x000000ffu);
}

TEST(DrawBMP, FloodFills) {
    auto c = makeCanvas(10, 10);
    const double x[4] = {2, 7, 7, 2}, y[4] = {2, 2, 7, 7};
    c->polygon(x, y, 4, 0x00000000, static_cast<int>(0xff000000u));
    c->fill(4, 4, 0x00ff0000);
    EXPECT_EQ(px(*c, 4, 4), 0x00ff0000u);
    EXPECT_EQ(px(*c, 6, 6), 0x00ff0000u);
    EXPECT_EQ(px(*c, 0, 0), kWhite);
    c->fill(0, 0, 0x0000ff00, 0x00000000);
    EXPECT_EQ(px(*c, 9, 9), 0x0000ff00u);
    EXPECT_EQ(px(*c, 4, 4), 0x00ff0000u);
    c->fill(0, 0, 0x0000ff00);  // already that colour
    c->fill(-3, 40, 0x00000000);
    // The border fill stops at the border even when the fill colour matches nothing.
    auto d = makeCanvas(6, 6);
    d->fill(0, 0, 0x00ffffff, 0x00000000);
    EXPECT_EQ(px(*d, 5, 5), kWhite);
}

TEST(DrawBMP, RoundedShapesCornersAndShadow) {
    auto c = makeCanvas(30, 30);
    c->roundedRect(2, 2, 27, 27, 8, 0x00000000, 0x00ff0000);
    EXPECT_EQ(px(*c, 15, 15), 0x00ff0000u);
    EXPECT_EQ(px(*c, 3, 3), kWhite);
    EXPECT_EQ(px(*c, 15, 2), 0x00000000u);
    const int radii[4] = {0, 0, 0, 0}, colors[5] = {0x0000ff, 0x00ff00, 0x000000ff, 0x00ffff00, 0x00808080};
    auto m = makeCanvas(20, 20);
    m->multiRoundedRect(2, 2, 17, 17, radii, colors);
    EXPECT_EQ(px(*m, 10, 2), 0x000000ffu);
    EXPECT_EQ(px(*m, 17, 10), 0x0000ff00u);
    EXPECT_EQ(px(*m, 2, 10), 0x00ffff00u);
    EXPECT_EQ(px(*m, 10, 10), 0x00808080u);

    // An arc shape: a filled circle of radius 8 from two half-ellipse pieces.
    auto a = makeCanvas(20, 20);
    std::vector<PathItem> items(2);
    for (int i = 0; i < 2; ++i) {
        PathItem& p = items[static_cast<size_t>(i)];
        p.kind = PathItem::Arc;
        p.d[0] = 10, p.d[1] = 10, p.d[2] = 180.0 * i, p.d[3] = 180.0 * (i + 1), p.d[4] = 2, p.d[5] = 18;
        p.rx = p.ry = 8;
        p.color = 0x00000000;
    }
    a->shape(0x0000ff00, false, false, items);
    EXPECT_EQ(px(*a, 10, 10), 0x0000ff00u);
    EXPECT_EQ(px(*a, 10, 2), 0x00000000u);
    EXPECT_EQ(px(*a, 3, 3), kWhite);

    auto r = makeCanvas(20, 20, 0x00000000u);
    r->clipRoundedCorners(6, 0, 6, 0, static_cast<int>(0xff000000u));
    EXPECT_EQ(px(*r, 0, 0), kTransparent);
    EXPECT_EQ(px(*r, 19, 0), 0x00000000u);
    EXPECT_EQ(px(*r, 19, 19), kTransparent);
    EXPECT_EQ(px(*r, 5, 5), 0x00000000u);
    EXPECT_NE(px(*r, 1, 2) >> 24, 0u);

    auto s = makeCanvas(10, 10, 0x00ff0000u);
    s->addDropShadow(0x000000, 3, 3, 2, static_cast<int>(0xff000000u));  // black shadow, clear surroundings
    EXPECT_EQ(s->getWidth(), 10 + 0 + 5);
    EXPECT_EQ(s->getHeight(), 15);
    EXPECT_EQ(px(*s, 0, 0), 0x00ff0000u);
    EXPECT_EQ(px(*s, 0, 14), kTransparent);
    EXPECT_EQ(px(*s, 11, 6) & 0x00ffffffu, 0u);
    EXPECT_LT(px(*s, 11, 6) >> 24, 64u);
    EXPECT_GT(px(*s, 14, 14) >> 24, 200u);
}

TEST(DrawBMP, LoadAndReduce) {
    auto c = makeCanvas(8, 8);
    const unsigned char junk[4] = {1, 2, 3, 4};
    c->loadStream(junk, 4, 0, 8, 8);
    EXPECT_EQ(c->getWidth(), 8);
    c->patternColor2(static_cast<int>(0xfffe0001u), 0, 0, "/nonexistent/tile.png");
    c->linearGradientColor(static_cast<int>(0xfffe0002u), 0, 0, 7, 0, false,
                           {0, 0x000000ff, 256, 0x00ff0000});
    c->setBgColor(static_cast<int>(0xfffe0002u));
    c->reduceColors(2, false);
    for (int x = 0; x < 8; ++x) {
        const uint32_t p = px(*c, x, 3);
        EXPECT_TRUE(p == px(*c, 0, 3) || p == px(*c, 7, 3)) << x;
    }
    EXPECT_NE(px(*c, 0, 3), px(*c, 7, 3));
    c->reduceColors(16, true);
}

TEST(DrawBMP, QuarterTurnsCopyAsTheFilteredPathSamples) {
    // A symbol with opaque, semi-transparent and transparent pixels, merged turned by quarter turns
    // from a whole-pixel corner (the exact copy) and from a corner a hair away (the filtered path,
    // which then reads the same pixels); both land over a patterned, partly clipped canvas.
    auto merged = [](double x, double y, double angle) {
        auto c = makeCanvas(24, 20);
        for (int y0 = 0; y0 < 20; ++y0)
            for (int x0 = 0; x0 < 24; ++x0) c->pixel(x0, y0, static_cast<int>((x0 * 0x0a0b0c + y0 * 0x131211) & 0xffffff));
        auto* s = static_cast<DrawBMP*>(c->createSymbol(4));
        s->setSize(7, 4, static_cast<int>(kTransparent));
        for (int v = 0; v < 4; ++v)
            for (int u = 0; u < 7; ++u)
                if ((u + v) % 3 != 0) s->pixel(u, v, static_cast<int>(((u * 37 + v * 91) % 3 == 0 ? 0x80000000u : 0u) | (u * 0x2a0000 + v * 0x3c)));
        c->setClipRect(1, 2, 21, 17);
        c->mergeSymbolRotated(4, x, y, angle);
        return c;
    };
    for (double angle : {0.0, 90.0, 180.0, 270.0, -90.0, 450.0}) {
        for (auto corner : {std::make_pair(8.0, 9.0), std::make_pair(-2.0, 3.0), std::make_pair(19.0, 18.0)}) {
            auto exact = merged(corner.first, corner.second, angle);
            auto filtered = merged(corner.first + 1e-7, corner.second + 1e-7, angle);
            int differing = 0;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 24; ++x) differing += px(*exact, x, y) != px(*filtered, x, y);
            EXPECT_EQ(differing, 0) << angle << " at " << corner.first << ", " << corner.second;
        }
    }
}

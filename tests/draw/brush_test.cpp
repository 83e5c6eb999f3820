#include "draw/brush_p.h"

#include <gtest/gtest.h>

#include "draw/blend_p.h"
#include "rastertest.h"

using namespace plotvane;
using namespace rastertest;

namespace {
constexpr uint32_t kId = 0xfffe0000u;
int id(int n) {
    return static_cast<int>(kId + static_cast<uint32_t>(n));
}
uint32_t at(DrawBMP& c, int color, int x, int y) {
    return static_cast<uint32_t>(c.getARGBColor(color, x, y));
}
}  // namespace

TEST(Brushes, GradientTablesAndRamps) {
    // Interpolation in 256ths with 0x80 rounding, all four channels.
    const auto table = buildGradientTable({0, 0x00000000, 256, static_cast<int>(0x80ff00ffu)}, 256);
    ASSERT_EQ(table.size(), 256u);
    EXPECT_EQ(table[0], 0x00000000u);
    EXPECT_EQ(table[128], 0x40800080u);
    EXPECT_EQ(table[255], 0x80fe00feu);
    // Before the first stop and after the last the end colours hold.
    const auto inner = buildGradientTable({64, 0x000000ff, 128, 0x00ff0000}, 256);
    EXPECT_EQ(inner[10], 0x000000ffu);
    EXPECT_EQ(inner[200], 0x00ff0000u);

    auto c = makeCanvas(10, 10);
    const std::vector<int> stops{0, 0x00000000, 256, 0x00ffffff};
    c->linearGradientColor(id(1), 0, 0, 256, 0, false, stops);
    c->linearGradientColor(id(2), 0, 0, 256, 0, true, stops);
    EXPECT_EQ(at(*c, id(1), 100, 7), 0x00646464u);
    // Clamped to entry 255, which is position 255 of 256.
    EXPECT_EQ(at(*c, id(1), 300, 0), 0x00fefefeu);
    EXPECT_EQ(at(*c, id(1), -30, 0), 0x00000000u);
    EXPECT_EQ(at(*c, id(2), 300, 0), at(*c, id(2), 44, 0));  // periodic
    EXPECT_EQ(at(*c, id(2), -30, 0), at(*c, id(2), 226, 0));

    // Stops past 256 keep one table entry per position (the precise gradients).
    const auto precise = buildGradientTable({0, 0x00000000, 1000, 0x00ffffff}, 1000);
    ASSERT_EQ(precise.size(), 1000u);
    EXPECT_EQ(precise[500], 0x00808080u);
    c->linearGradientColor(id(11), 0, 0, 1000, 0, true, {0, 0x00000000, 1000, 0x00ffffff});
    EXPECT_EQ(at(*c, id(11), 500, 3), 0x00808080u);
    EXPECT_EQ(at(*c, id(11), 1500, 3), 0x00808080u);

    // Radial: distance from the centre scaled so the radius reaches the table's end.
    c->radialGradientColor(id(3), 50, 50, 10, 20, false, stops);
    EXPECT_EQ(at(*c, id(3), 50, 50), 0x00000000u);
    EXPECT_EQ(at(*c, id(3), 55, 50), at(*c, id(3), 50, 60));
    EXPECT_EQ(at(*c, id(3), 90, 90), 0x00fefefeu);

    // Angle gradient: clockwise from 12 o'clock, 0 to 180 degrees.
    const double ad[6] = {50, 50, 0, 180, 1, 1};
    c->angleGradientColor(id(4), ad, stops);
    EXPECT_EQ(at(*c, id(4), 50, 10), 0x00000000u);
    EXPECT_EQ(at(*c, id(4), 90, 50) & 255, 0x80u);
    EXPECT_GT(at(*c, id(4), 50, 90) & 255, 0xf8u);
    EXPECT_EQ(at(*c, id(4), 10, 49), 0x00000000u);  // past the end, nearer the start
}

TEST(Brushes, PatternsWrapNegativeRemainders) {
    auto c = makeCanvas(10, 10);
    // 3 x 2 tile starting at (1, 1).
    c->patternColor(id(5), 3, 2, 1, 1, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(at(*c, id(5), 1, 1), 1u);
    EXPECT_EQ(at(*c, id(5), 3, 2), 6u);
    EXPECT_EQ(at(*c, id(5), 0, 0), 6u);    // (-1 mod 3, -1 mod 2) = (2, 1)
    EXPECT_EQ(at(*c, id(5), -5, 1), 1u);   // (-5 - 1) mod 3 = 0
    EXPECT_EQ(at(*c, id(5), -4, -2), 5u);  // (-5 mod 3, -3 mod 2) = (1, 1)
    // A pattern smaller than its claimed size defines nothing: the id stays as it is.
    c->patternColor(id(6), 4, 4, 0, 0, {1, 2});
    EXPECT_EQ(at(*c, id(6), 0, 0), kId + 6);
}

TEST(Brushes, ChainsParentsAndBaseColours) {
    auto c = makeCanvas(10, 10);
    // Brightness over a zone brush over two literal colours.
    c->zoneColor(id(7), true, 4, 0x00202020, 0x00808080);
    c->adjustBrightness(id(8), id(7), 2.0);
    EXPECT_EQ(at(*c, id(8), 0, 5), rawColorAdjustBrightness(0x00202020u, 2048));
    EXPECT_EQ(at(*c, id(8), 0, 4), 0x00c0c0c0u);
    // A chain of 25 zone links stops after 20 steps with the id it reached.
    for (int n = 10; n < 35; ++n) c->zoneColor(id(n), true, 0, id(n + 1), id(n + 1));
    EXPECT_EQ(at(*c, id(10), 0, 0), kId + 30);
    // Brushes whose base is themselves end quickly, even over a whole canvas: a lighting brush
    // hands an unresolved base back as it is, so each level would otherwise branch 20 ways.
    c->adjustBrightness(id(40), id(40), 0.5);
    EXPECT_GE(at(*c, id(40), 0, 0), 0xff000000u);
    const double d[4] = {0, 0, 9, 9};
    c->linearLightingColor(id(41), id(41), d, false, {0, 512, 256, 2048});
    c->setBgColor(id(41));
    EXPECT_EQ(px(*c, 5, 5), kTransparent);
    // Unknown ids come back unchanged; redefining an id replaces the brush.
    EXPECT_EQ(at(*c, id(999), 0, 0), kId + 999);
    c->zoneColor(id(7), true, 4, 0x00111111, 0x00111111);
    EXPECT_EQ(at(*c, id(7), 0, 0), 0x00111111u);

    // A sub drawing finds its parent's brushes only in sub-draw mode.
    DrawBackend* sub = c->createSymbol(3);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(c->createSymbol(3), nullptr);
    auto* subCanvas = static_cast<DrawBMP*>(sub);
    EXPECT_EQ(at(*subCanvas, id(7), 0, 0), kId + 7);
    sub->setSubDrawMode();
    EXPECT_EQ(at(*subCanvas, id(7), 0, 0), 0x00111111u);
    sub->zoneColor(id(7), true, 4, 0x00222222, 0x00222222);
    EXPECT_EQ(at(*subCanvas, id(7), 0, 0), 0x00222222u);
}

TEST(Brushes, LightingTextureAndTransform) {
    auto c = makeCanvas(10, 10);
    // A flat lighting profile of 2.0 brightens like brightness adjustment; 0.5 halves.
    const double d[4] = {0, 0, 256, 0};
    c->linearLightingColor(id(1), 0x00808080, d, false, {0, 2048, 256, 2048});
    EXPECT_EQ(at(*c, id(1), 5, 5), 0x00c0c0c0u);
    c->linearLightingColor(id(2), 0x40808080, d, false, {0, 512, 256, 512});
    EXPECT_EQ(at(*c, id(2), 5, 5), 0x40404040u);
    c->linearLightingColor(id(3), static_cast<int>(kTransparent), d, false, {0, 512, 256, 512});
    EXPECT_EQ(at(*c, id(3), 5, 5), kTransparent);
    // Relative lighting follows the box of the shape being filled.
    const double rd[4] = {0, 0, 1, 0};
    c->relativeLinearLightingColor(id(4), 0x00ffffff, rd, false, {0, 0, 256, 1024});
    const double x[4] = {2, 8, 8, 2}, y[4] = {2, 2, 8, 8};
    c->exactPolygon(x, y, 4, id(4));
    EXPECT_LT(px(*c, 2, 4) & 255, 10u);
    EXPECT_GT(px(*c, 7, 4) & 255, 180u);

    // Brushed texture: deterministic, and the incremental row sum equals a fresh one.
    c->brushedTextureColor(id(5), 0x00808080, 36);
    const uint32_t a = at(*c, id(5), 7, 3);
    for (int xx = 0; xx < 7; ++xx) at(*c, id(5), xx, 3);
    EXPECT_EQ(at(*c, id(5), 7, 3), a);
    EXPECT_NE(at(*c, id(5), 7, 3), at(*c, id(5), 7, 300));
    c->brushedTextureColor(id(6), static_cast<int>(kTransparent), 36);
    EXPECT_EQ(at(*c, id(6), 1, 1), kTransparent);

    // Transformed: the base seen at (2x, y + 1) in 12-bit fixed point.
    c->zoneColor(id(9), false, 9, 0x00ff0000, 0x0000ff00);
    const double m[6] = {2, 0, 0, 0, 1, 1};
    c->transformedColor(id(10), id(9), m);
    EXPECT_EQ(at(*c, id(10), 4, 0), 0x0000ff00u);
    EXPECT_EQ(at(*c, id(10), 5, 0), 0x00ff0000u);
}

TEST(Brushes, SetBgColorWithABrushFillsEveryPixel) {
    auto c = makeCanvas(8, 4);
    c->zoneColor(id(1), false, 3, 0x00ff0000, static_cast<int>(0xff000000u));
    c->setBgColor(id(1));
    EXPECT_EQ(px(*c, 3, 2), kTransparent);
    EXPECT_EQ(px(*c, 4, 2), 0x00ff0000u);
    c->setBgColor(static_cast<int>(0xff123456u));
    EXPECT_EQ(px(*c, 4, 2), kTransparent);
    EXPECT_TRUE(c->settings().bgHasTransparency);
}

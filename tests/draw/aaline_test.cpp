#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>

#include "draw/aaline_p.h"
#include "draw/brush_p.h"
#include "draw/canvas_p.h"
#include "rastertest.h"

using namespace plotvane;
using namespace rastertest;

namespace {
int paintedCount(DrawBMP& c, uint32_t bg = 0x00ffffffu) {
    int n = 0;
    for (int y = 0; y < c.getHeight(); ++y)
        for (int x = 0; x < c.getWidth(); ++x) n += px(c, x, y) != bg;
    return n;
}
}  // namespace

TEST(Lines, CrispAxisLinesAndShadedSlopes) {
    auto c = makeCanvas(20, 20);
    c->line(2, 5, 12, 5, 0x000000, 1);
    for (int x = 2; x <= 12; ++x) EXPECT_EQ(px(*c, x, 5), 0x000000u) << x;
    EXPECT_EQ(px(*c, 1, 5), 0x00ffffffu);
    EXPECT_EQ(px(*c, 13, 5), 0x00ffffffu);
    EXPECT_EQ(px(*c, 6, 4), 0x00ffffffu);  // the neighbours of an exact line stay untouched
    EXPECT_EQ(px(*c, 6, 6), 0x00ffffffu);

    // Half way between rows: one full centre pixel plus a half-intensity neighbour.
    auto d = makeCanvas(20, 20);
    d->line(2, 5.5, 12, 5.5, 0x000000, 1);
    EXPECT_EQ(px(*d, 6, 6), 0x000000u);
    EXPECT_EQ(px(*d, 6, 5), 0x00808080u) << std::hex << px(*d, 6, 5);

    // An exact diagonal from integer coordinates uses the integer walker: no shaded neighbours.
    auto e = makeCanvas(20, 20);
    e->line(1, 1, 11, 11, 0x000000, 1);
    EXPECT_EQ(paintedCount(*e), 11);
    auto f = makeCanvas(20, 20);
    f->line(1, 1.5, 11, 11.5, 0x000000, 1);
    EXPECT_GT(paintedCount(*f), 11);
}

TEST(Lines, WidthRunsAndClamping) {
    // Width 3: one pixel either side of the centre row.
    auto c = makeCanvas(20, 20);
    c->line(2, 10, 12, 10, 0x000000, 3);
    EXPECT_EQ(px(*c, 5, 9), 0x000000u);
    EXPECT_EQ(px(*c, 5, 11), 0x000000u);
    EXPECT_EQ(px(*c, 5, 8), 0x00ffffffu);
    EXPECT_EQ(px(*c, 5, 12), 0x00ffffffu);
    // Width 500 on a 2 x 100 canvas is cut to the larger side, 100: rows -49..50 around row 0.
    auto t = makeCanvas(2, 100);
    t->line(0, 0, 1, 0, 0x000000, 500);
    EXPECT_EQ(px(*t, 0, 50), 0x000000u);
    EXPECT_EQ(px(*t, 0, 51), 0x00ffffffu);
    // Huge widths are cut to 30 here: rows 15 - 14 to 15 + 15, so row 0 stays clear.
    auto h = makeCanvas(30, 30);
    h->line(0, 15, 29, 15, 0x000000, 2000000000);
    EXPECT_EQ(paintedCount(*h), 29 * 30);
    EXPECT_EQ(px(*h, 3, 0), 0x00ffffffu);
    auto z = makeCanvas(10, 10);
    z->line(0, 5, 9, 5, 0x000000, 0);
    z->line(0, 5, 9, 5, static_cast<int>(0xff000000u), 1);
    EXPECT_EQ(paintedCount(*z), 0);
}

TEST(Lines, FarOutsideHugeAndInvalidCoordinates) {
    auto c = makeCanvas(50, 50);
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    const auto start = std::chrono::steady_clock::now();
    c->line(nan, 3, 10, 10, 0x000000, 1);
    c->line(-inf, 3, 10, 10, 0x000000, 1);
    c->line(-100, -5, 200, -3, 0x000000, 1);  // both ends above the canvas
    EXPECT_EQ(paintedCount(*c), 0);
    // A segment a billion pixels long through the canvas costs only what it touches.
    c->line(-1e9, 25, 1e9, 25, 0x000000, 1);
    for (int x = 0; x < 50; ++x) EXPECT_EQ(px(*c, x, 25), 0x000000u);
    EXPECT_EQ(paintedCount(*c), 50);
    c->line(-1e308, -1e308, 1e308, 1e308, 0x0000ff, 3);
    c->line(1e308, -1e308, -1e308, 1e308, 0x0000ff, 1);
    c->line(25, -1e308, 25.3, 1e308, 0x00ff00, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(px(*c, 25, 10), 0x0000ff00u);
    // Clip rectangle: nothing outside it.
    auto k = makeCanvas(20, 20);
    k->setClipRect(5, 5, 9, 9);
    k->line(0, 7, 19, 7.3, 0x000000, 5);
    EXPECT_EQ(px(*k, 4, 7), 0x00ffffffu);
    EXPECT_EQ(px(*k, 10, 7), 0x00ffffffu);
    EXPECT_EQ(px(*k, 7, 7), 0x000000u);
}

TEST(Lines, PolylineJointsBlendOnceAndDashesCountCentrePixels) {
    auto c = makeCanvas(20, 10);
    c->initLineTo(0, 5);
    c->lineTo(5, 5, static_cast<int>(0x80000000u), 1);
    c->lineTo(10, 5, static_cast<int>(0x80000000u), 1);
    c->initLineTo();
    EXPECT_EQ(px(*c, 5, 5), px(*c, 3, 5));
    EXPECT_EQ(px(*c, 7, 5), px(*c, 3, 5));

    // 0x04020000: four on, two off, repeating every six pixels of the line.
    auto d = makeCanvas(30, 5);
    const int dash = static_cast<int>(0xfffe0003u);
    d->dashLineColor(dash, 0x000000, 0x04020000);
    d->line(0, 2, 17, 2, dash, 1);
    const char* expected = "XXXX..XXXX..XXXX..";
    for (int x = 0; x < 18; ++x) EXPECT_EQ(px(*d, x, 2) == 0x000000u, expected[x] == 'X') << x;
    // Drawing elsewhere restarts the count.
    d->line(0, 4, 5, 4, dash, 1);
    EXPECT_EQ(px(*d, 0, 4), 0x000000u);
    EXPECT_EQ(px(*d, 4, 4), 0x00ffffffu);
}

TEST(Lines, NoAntiAliasRoundsEndPoints) {
    auto c = makeCanvas(20, 20, 0x00ffffffu, false);
    c->line(2.4, 5.4, 12.4, 8.6, 0x000000, 1);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const uint32_t p = px(*c, x, y);
            EXPECT_TRUE(p == 0x000000u || p == 0x00ffffffu);
        }
    EXPECT_EQ(px(*c, 2, 5), 0x000000u);
    EXPECT_EQ(px(*c, 12, 9), 0x000000u);
    EXPECT_EQ(paintedCount(*c), 11);
}

TEST(Lines, ClippedSegmentsMatchUnclippedOnes) {
    // A segment leaving a 24 x 24 canvas goes through the clipping arithmetic; the same segment
    // moved into the middle of a 104 x 104 canvas does not. The pixels they share must agree.
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> eighths(-30 * 8, 54 * 8);
    for (int round = 0; round < 200; ++round) {
        const double x1 = eighths(rng) / 8.0, y1 = eighths(rng) / 8.0, x2 = eighths(rng) / 8.0,
                     y2 = eighths(rng) / 8.0;
        const int width = 1 + round % 3;
        // Both ends beyond one edge of the small canvas: skipped there by rule, whatever the width.
        if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 > 23 && x2 > 23) || (y1 > 23 && y2 > 23))
            continue;
        auto small = makeCanvas(24, 24);
        auto big = makeCanvas(104, 104);
        small->line(x1, y1, x2, y2, 0x40000080, width);
        big->line(x1 + 40, y1 + 40, x2 + 40, y2 + 40, 0x40000080, width);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                ASSERT_EQ(px(*small, x, y), px(*big, x + 40, y + 40))
                    << "round " << round << " at " << x << "," << y << " (" << x1 << "," << y1 << ")-(" << x2
                    << "," << y2 << ")";
    }
}

TEST(Lines, AxisParallelRunsMatchTheStepWalk) {
    // Lines parallel to an axis are painted as whole runs. A brush that answers the same colour at
    // every pixel keeps them on the step-by-step walk, so the two routes must paint alike: centres
    // on, between and off pixel rows, widths 1-5, both directions, joints, clipping, translucent
    // colours over earlier drawing, whole-pixel ends, with and without anti-aliasing.
    constexpr uint32_t kSolid = 0xfffe0000u;
    auto smooth = makeCanvas(1, 1), jagged = makeCanvas(1, 1, 0x00ffffffu, false);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> coord(-8, 56);
    std::uniform_int_distribution<int> quarters(-32, 224);
    for (int round = 0; round < 400; ++round) {
        const DrawBMP& owner = round % 7 == 6 ? *jagged : *smooth;
        Canvas runs(owner), walk(owner);
        const uint32_t color = round % 3 == 0 ? 0x80c03010u : 0x00204080u;
        for (Canvas* c : {&runs, &walk}) {
            c->reset(48, 40, 0x00ffffffu);
            if (round % 4 == 3) c->clip = ClipRect{3, 5, 40, 30};
            drawLine(*c, 0, 3.5, 47, 36, 0x600000ffu, 3);
        }
        walk.setBrush(kSolid, makePatternBrush(1, 1, 0, 0, {color}));
        // Every eighth round from whole pixels, which take a shorter route of their own.
        const bool whole = round % 8 == 5;
        const double u1 = whole ? std::floor(coord(rng)) : coord(rng), u2 = whole ? std::floor(coord(rng)) : coord(rng);
        const double v = whole ? std::floor(coord(rng)) : round % 2 ? quarters(rng) / 4.0 : coord(rng);
        const bool horizontal = round % 5 < 3, skipFirst = round % 6 == 1;
        const int width = 1 + round % 5;
        const double x1 = horizontal ? u1 : v, y1 = horizontal ? v : u1;
        const double x2 = horizontal ? u2 : v, y2 = horizontal ? v : u2;
        drawLine(runs, x1, y1, x2, y2, color, width, skipFirst);
        drawLine(walk, x1, y1, x2, y2, kSolid, width, skipFirst);
        ASSERT_EQ(runs.buffer(), walk.buffer())
            << "round " << round << ": (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") width " << width;
    }
}

TEST(Lines, LiteralColoursMatchTheBrushWalk) {
    // A literal colour is blended through sources prepared once per line, a brush pixel by pixel:
    // sloped lines of every width, direction and shade, translucent over earlier drawing, clipped,
    // joined and past the canvas, must come out alike.
    constexpr uint32_t kSolid = 0xfffe0000u;
    auto smooth = makeCanvas(1, 1), jagged = makeCanvas(1, 1, 0x00ffffffu, false);
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> coord(-12, 60);
    const uint32_t colors[] = {0x80c03010u, 0x00204080u, 0x10ffffffu, 0xf0000000u};
    for (int round = 0; round < 400; ++round) {
        const DrawBMP& owner = round % 9 == 8 ? *jagged : *smooth;
        Canvas literal(owner), brush(owner);
        const uint32_t color = colors[round % 4];
        for (Canvas* c : {&literal, &brush}) {
            c->reset(48, 40, round % 5 == 4 ? 0x40ffffffu : 0x00ffffffu);
            if (round % 4 == 3) c->clip = ClipRect{3, 5, 40, 30};
            drawLine(*c, 0, 3.5, 47, 36, 0x600000ffu, 3);
        }
        brush.setBrush(kSolid, makePatternBrush(1, 1, 0, 0, {color}));
        const double x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
        const int width = 1 + round % 4;
        const bool skipFirst = round % 6 == 1;
        drawLine(literal, x1, y1, x2, y2, color, width, skipFirst);
        drawLine(brush, x1, y1, x2, y2, kSolid, width, skipFirst);
        ASSERT_EQ(literal.buffer(), brush.buffer())
            << "round " << round << ": (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") width " << width;
    }
}

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "draw/canvas_p.h"
#include "draw/edges_p.h"
#include "draw/effects_p.h"
#include "rastertest.h"
#include "support/areaptr.h"
#include <plotvane/chart.h>

using namespace plotvane;
using namespace rastertest;

namespace {
constexpr uint32_t kWhite = 0x00ffffffu;
}

TEST(Fill, RowsAndSpansFollowPixelAreas) {
    // A rectangle from (2, 2) to (5, 5) without edge lines fills exactly rows 2-4, columns 2-4.
    auto c = makeCanvas(10, 10);
    const double x[4] = {2, 5, 5, 2}, y[4] = {2, 2, 5, 5};
    c->exactPolygon(x, y, 4, 0x000000);
    for (int py = 0; py < 10; ++py)
        for (int pxl = 0; pxl < 10; ++pxl) {
            const bool inside = pxl >= 2 && pxl <= 4 && py >= 2 && py <= 4;
            EXPECT_EQ(px(*c, pxl, py), inside ? 0x000000u : kWhite) << pxl << "," << py;
        }
    // With edge lines the bottom and right sides are drawn by the lines only.
    auto e = makeCanvas(10, 10);
    e->polygon(x, y, 4, 0x0000ff, 0x000000);
    EXPECT_EQ(px(*e, 3, 5), 0x0000ffu);
    EXPECT_EQ(px(*e, 5, 3), 0x0000ffu);
    EXPECT_EQ(px(*e, 3, 3), 0x000000u);

    // Vertices within 0.001 of an integer are snapped: x = 10.0005 crosses at 10, no partial pixel.
    auto s = makeCanvas(20, 10);
    const double sx[4] = {2, 10.0005, 10.0005, 2}, sy[4] = {1, 1, 6, 6};
    s->exactPolygon(sx, sy, 4, 0x000000);
    EXPECT_EQ(px(*s, 9, 3), 0x000000u);
    EXPECT_EQ(px(*s, 10, 3), kWhite);

    // End pixels get their covered fraction in sixteenths: 0.25 of pixel 2 is uncovered.
    auto f = makeCanvas(10, 4);
    const double fx[4] = {2.25, 6.5, 6.5, 2.25}, fy[4] = {0, 0, 3, 3};
    f->exactPolygon(fx, fy, 4, 0x000000);
    EXPECT_EQ(px(*f, 2, 1), blend(withCoverage(0x000000u, 12), kWhite));
    EXPECT_EQ(px(*f, 6, 1), blend(withCoverage(0x000000u, 8), kWhite));
    EXPECT_EQ(px(*f, 4, 1), 0x000000u);
    // Without anti-aliasing an end pixel is all or nothing at one half.
    auto n = makeCanvas(10, 4, kWhite, false);
    const double nx[4] = {2.4, 6.4, 6.4, 2.4};
    n->exactPolygon(nx, fy, 4, 0x000000);
    EXPECT_EQ(px(*n, 2, 1), 0x000000u);
    EXPECT_EQ(px(*n, 6, 1), kWhite);
}

TEST(Fill, RowsAreSampledWhereTheShapeCoversThem) {
    // A filled circle without its edge line, centred on a pixel corner, is symmetric top to bottom
    // and left to right, and covers about pi r^2. Sampling rows at their top edge lost the top row:
    // radius 1 came out as a 2 x 1 dash, and a cloud of small dots looked hatched.
    for (int r = 1; r <= 8; ++r) {
        auto d = plotvane_test::newArea(20, 20);
        d->circle(10, 10, r, r, Chart::Transparent, 0x000000);
        double ink = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const int v = d->getPixel(x, y);
                ASSERT_EQ(v, d->getPixel(19 - x, y)) << "r " << r << " at " << x << "," << y;
                ASSERT_EQ(v, d->getPixel(x, 19 - y)) << "r " << r << " at " << x << "," << y;
                ink += (255 - (v & 0xff)) / 255.0;
            }
        EXPECT_NEAR(ink, M_PI * r * r, 0.12 * M_PI * r * r) << "r " << r;
        if (r == 1) {
            EXPECT_NE(d->getPixel(9, 9), 0xffffff);
            EXPECT_NE(d->getPixel(10, 10), 0xffffff);
            EXPECT_EQ(d->getPixel(9, 8), 0xffffff);
        }
    }
}

TEST(Fill, EvenOddStartFlagAndDegenerateInput) {
    // Two nested squares: the inner one is a hole under even-odd.
    auto c = makeCanvas(20, 20);
    std::vector<PathItem> items;
    auto edge = [&](double x1, double y1, double x2, double y2) {
        PathItem p;
        p.kind = PathItem::Line;
        p.d[0] = x1, p.d[1] = y1, p.d[2] = x2, p.d[3] = y2;
        p.color = static_cast<int>(kTransparent);
        items.push_back(p);
    };
    const double sq[2][4] = {{2, 2, 18, 18}, {6, 6, 12, 12}};
    for (const auto& s : sq) {
        edge(s[0], s[1], s[2], s[1]);
        edge(s[2], s[1], s[2], s[3]);
        edge(s[2], s[3], s[0], s[3]);
        edge(s[0], s[3], s[0], s[1]);
    }
    c->shape(0x000000, false, true, items);
    EXPECT_EQ(px(*c, 4, 4), 0x000000u);
    EXPECT_EQ(px(*c, 8, 8), kWhite);
    // The start flag skips the first row and widens spans by half a pixel.
    auto s = makeCanvas(20, 20);
    s->shape(0x000000, true, true, items);
    EXPECT_EQ(px(*s, 4, 2), kWhite);
    EXPECT_EQ(px(*s, 4, 3), 0x000000u);
    EXPECT_EQ(px(*s, 1, 4), blend(withCoverage(0x000000u, 8), kWhite));

    // NaN vertices drop their edges, huge ones are cut: no crash, no hang.
    auto d = makeCanvas(20, 20);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double hx[3] = {-1e308, 1e308, 10}, hy[3] = {-1e308, -1e308, 1e308};
    d->polygon(hx, hy, 3, 0x0000ff, 0x00ff00);
    EXPECT_EQ(px(*d, 10, 10), 0x0000ff00u);
    const double bx[3] = {nan, 5, 10}, by[3] = {1, 5, 1};
    d->polygon(bx, by, 3, 0x000000, 0x000000);
    d->polygon(hx, hy, 2, 0x000000, 0x000000);
}

namespace {

// Fills the shape with both fillers on two fresh 64 x 64 canvases (clipped in every fifth round)
// and expects the same pixels.
void expectFillersAgree(const DrawBMP& owner, const AAShape& shape, int round, uint32_t color) {
    Canvas a(owner), b(owner);
    a.reset(64, 64, kWhite);
    b.reset(64, 64, kWhite);
    if (round % 5 == 4) a.clip = b.clip = ClipRect{5, 7, 50, 40};
    std::vector<const AAEdge*> edges;
    for (const auto& e : shape.edges()) edges.push_back(e.get());
    const bool start = round % 2 == 1;
    aaEdgeFill(a, edges, color, start);
    aaEdgeFill2(b, edges, color, start);
    ASSERT_EQ(a.buffer(), b.buffer()) << "round " << round;
}

}  // namespace

TEST(Fill, ActiveEdgeFillerMatchesReference) {
    // Random polygons, some with integer rows and many edges: both fillers give the same pixels.
    auto owner = makeCanvas(1, 1);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-10, 74);
    for (int round = 0; round < 30; ++round) {
        AAShape shape;
        const int n = 3 + round * 2;
        std::vector<double> xs(n), ys(n);
        for (int i = 0; i < n; ++i) {
            xs[i] = round % 3 == 0 ? std::floor(coord(rng)) : coord(rng);
            ys[i] = round % 3 == 1 ? std::floor(coord(rng)) : coord(rng);
        }
        for (int i = 0; i < n; ++i)
            shape.addLine(xs[i], ys[i], xs[(i + 1) % n], ys[(i + 1) % n], 0x000000u, false);
        expectFillersAgree(*owner, shape, round, 0x40204080u);
    }
}

TEST(Fill, BandsOfVerticalSidesMatchRowByRow) {
    // Shapes whose sides are vertical are filled a band of rows at a time. Overlapping bars (even-odd
    // holes), boxes with rounded corners (vertical sides between arcs) and sides at whole, half and
    // arbitrary x must come out as the row-by-row filler paints them, start flag, clip and
    // translucent colours included.
    auto owner = makeCanvas(1, 1);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> coord(-6, 70);
    for (int round = 0; round < 120; ++round) {
        auto pick = [&] {
            const double v = coord(rng);
            return round % 3 == 0 ? std::floor(v) : round % 3 == 1 ? std::floor(v) + 0.5 : v;
        };
        AAShape shape;
        const uint32_t sides[4] = {0, 0, 0, 0};
        for (int k = 0; k <= round % 4; ++k) {
            const double x1 = pick(), y1 = pick(), x2 = pick(), y2 = pick();
            if (k == 3) {
                const int radii[4] = {round % 9, 3, 0, 7};
                buildRoundedRect(shape, x1, y1, x2, y2, radii, sides);
                continue;
            }
            shape.addLine(x1, y1, x2, y1, 0, false);
            shape.addLine(x2, y1, x2, y2, 0, false);
            shape.addLine(x2, y2, x1, y2, 0, false);
            shape.addLine(x1, y2, x1, y1, 0, false);
        }
        expectFillersAgree(*owner, shape, round, round % 4 < 2 ? 0x40204080u : 0x00204080u);
    }
}

TEST(Fill, SquareRectanglesMatchTheirShapes) {
    // Boxes with whole-pixel corners skip the shape: they must paint what the shape paints, for
    // reversed, flat and one-pixel boxes, boxes past the canvas or the clip, translucent and
    // transparent fills and edges, one edge colour all round, with and without anti-aliasing.
    // Rounded or fractional boxes and brush fills are left to the shape.
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-8, 40);
    const uint32_t colors[] = {0x00204080u, 0x80ff0000u, kTransparent, 0x00000000u};
    int drawn = 0;
    for (bool aa : {true, false}) {
        auto owner = makeCanvas(1, 1, kWhite, aa);
        for (int round = 0; round < 200; ++round) {
            const double x1 = coord(rng), y1 = coord(rng);
            const double x2 = round % 7 == 0 ? x1 : coord(rng), y2 = round % 11 == 0 ? y1 : coord(rng);
            const int radii[4] = {0, round % 13 == 0 ? 3 : 0, 0, 0};
            const uint32_t fill = colors[round % 4];
            uint32_t edges[4] = {colors[(round + 1) % 4], colors[(round / 4) % 4], 0x00112233u, colors[round % 3]};
            if (round % 3 == 2) std::fill(edges, edges + 4, round % 2 ? 0x00112233u : 0x80112233u);
            Canvas fast(*owner), shaped(*owner);
            fast.reset(32, 32, kWhite);
            shaped.reset(32, 32, kWhite);
            if (round % 5 == 4) fast.clip = shaped.clip = ClipRect{3, 4, 20, 25};
            bool took = drawSquareRect(fast, x1, y1, x2, y2, radii, edges, fill);
            AAShape shape;
            buildRoundedRect(shape, x1, y1, x2, y2, radii, edges);
            shape.fill(shaped, fill, false, false);
            if (!took) continue;
            ++drawn;
            ASSERT_EQ(fast.buffer(), shaped.buffer()) << "round " << round << " aa " << aa;
        }
        Canvas c(*owner);
        c.reset(8, 8, kWhite);
        const int round3[4] = {3, 3, 3, 3}, square[4] = {0, 0, 0, 0};
        const uint32_t e[4] = {0, 0, 0, 0};
        EXPECT_FALSE(drawSquareRect(c, 1, 1, 6, 6, round3, e, 0));
        EXPECT_FALSE(drawSquareRect(c, 1.5, 1, 6, 6, square, e, 0));
        EXPECT_FALSE(drawSquareRect(c, 1, 1, 6, std::numeric_limits<double>::infinity(), square, e, 0));
        EXPECT_FALSE(drawSquareRect(c, 1, 1, 6, 6, square, e, 0xfffe0001u));
        EXPECT_TRUE(drawSquareRect(c, -1e300, -1e300, 1e300, 1e300, square, e, 0x000000u));
        EXPECT_EQ(c.buffer()[0], 0x000000u);
    }
    EXPECT_GT(drawn, 300);
}

TEST(Fill, FloorToIntMatchesFloorAroundWholeNumbers) {
    // Span ends and line centres are floored by conversion: whole numbers, values just either side
    // of them, and negatives (a line's margin reaches left of the canvas) must agree with std::floor.
    for (int k = -40; k <= 40; ++k)
        for (double d : {0.0, 1e-12, -1e-12, 0.25, -0.25, 0.5, -0.5, 0.9999999999, -0.9999999999}) {
            const double v = k + d;
            EXPECT_EQ(floorToInt(v), static_cast<int>(std::floor(v))) << v;
        }
    EXPECT_EQ(floorToInt(-0.0), 0);
    EXPECT_EQ(floorToInt(1e9 + 0.5), 1000000000);
    EXPECT_EQ(floorToInt(-1e9 - 0.5), -1000000001);
}

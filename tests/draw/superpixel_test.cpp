#include "draw/superpixel_p.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "draw/blend_p.h"
#include "rastertest.h"
#include "support/areaptr.h"

using namespace plotvane;
using namespace rastertest;

TEST(SuperPixels, TwoColourRecordsCollapseWhenCloseOrComplementary) {
    SuperPixelPool pool;
    pool.setCanvasSize(100);
    uint32_t w = 0x00ffffffu;
    ASSERT_TRUE(pool.append(w, 0x00ff0000u, 0x00ffu));
    EXPECT_TRUE(SuperPixelPool::isReference(w));
    EXPECT_EQ(pool.resolve(w), mixColors(0x00ff0000u, 8, 0x00ffffffu, 8));
    // The complementary half in a colour within 10 of the first: back to a plain colour.
    ASSERT_TRUE(pool.append(w, 0x00f60a05u, 0xff00u));
    EXPECT_FALSE(SuperPixelPool::isReference(w));
    EXPECT_EQ(w, mixColors(0x00ff0000u, 8, 0x00f60a05u, 8));

    // Complementary but far apart: the record keeps both colours and swaps its mask.
    uint32_t v = 0x00ffffffu;
    pool.append(v, 0x00ff0000u, 0x000fu);
    pool.append(v, 0x000000ffu, 0xfff0u);
    ASSERT_TRUE(SuperPixelPool::isReference(v));
    EXPECT_EQ(pool.resolve(v), mixColors(0x00ff0000u, 4, 0x000000ffu, 12));

    // Disjoint masks of the same colour join; an overlapping one upgrades to sixteen samples.
    uint32_t d = 0x00000000u;
    pool.append(d, 0x00ffffffu, 0x0003u);
    pool.append(d, 0x00ffffffu, 0x0030u);
    EXPECT_EQ(pool.resolve(d), mixColors(0x00ffffffu, 4, 0x00000000u, 12));
    pool.append(d, 0x00ff0000u, 0x0011u);
    EXPECT_EQ(d & 0xffc00000u, 0xffc00000u);
    // Samples: bit 0 and 4 red, bits 1 and 5 white, twelve black.
    uint32_t expected = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t sum = 2 * ((0x00ff0000u >> shift) & 255) + 2 * ((0x00ffffffu >> shift) & 255);
        expected |= ((sum + 8) / 16) << shift;
    }
    EXPECT_EQ(pool.resolve(d), expected);

    // Commit turns every reference into its colour.
    uint32_t pixels[3] = {w, v, d};
    pool.commitAll(pixels, 3);
    for (uint32_t p : pixels) EXPECT_FALSE(SuperPixelPool::isReference(p));
    EXPECT_EQ(pixels[2], expected);
}

TEST(SuperPixels, TrianglesSharingAnEdgeLeaveNoSeam) {
    auto c = makeCanvas(20, 20);
    const double t1[9] = {1.3, 1.1, 1, 18.7, 2.2, 1, 3.1, 17.9, 1};
    const double t2[9] = {18.7, 2.2, 1, 3.1, 17.9, 1, 17.6, 18.4, 1};
    c->gouraudShadedTriangle(t1, 0x00336699);
    c->gouraudShadedTriangle(t2, 0x0033669c);
    c->commitSuperPixels();
    // Along the shared diagonal the two nearly equal colours merge into one plain colour.
    for (int i = 5; i < 15; ++i) {
        const uint32_t p = px(*c, i, 20 - i);
        EXPECT_TRUE(nearColor(p, 0x00336699u, 3)) << i << " " << std::hex << p;
    }
    // Brightness is interpolated: a vertex at factor 0 darkens its corner to black.
    auto d = makeCanvas(20, 20);
    const double t3[9] = {0, 0, 0, 19.99, 0, 1, 0, 19.99, 1};
    d->gouraudShadedTriangle(t3, 0x00ffffff);
    d->commitSuperPixels();
    EXPECT_LT(px(*d, 0, 0) & 255, 40u);
    EXPECT_GT(px(*d, 15, 1) & 255, 200u);
}

TEST(SuperPixels, PlainDrawingOverASuperPixel) {
    auto c = makeCanvas(4, 4);
    const double t[9] = {0, 0, 1, 4, 0, 1, 0, 4, 1};
    c->gouraudShadedTriangle(t, 0x00000000);
    EXPECT_TRUE(SuperPixelPool::isReference(px(*c, 1, 2)));
    c->pixel(1, 2, 0x00ff0000);  // opaque: the record is released
    EXPECT_EQ(px(*c, 1, 2), 0x00ff0000u);
    c->pixel(2, 1, static_cast<int>(0x80ffffffu));  // semi-transparent: blended into the samples
    EXPECT_TRUE(SuperPixelPool::isReference(px(*c, 2, 1)));
    c->commitSuperPixels();
    EXPECT_FALSE(SuperPixelPool::isReference(px(*c, 2, 1)));
}

TEST(SuperPixels, WritersResolveThemBeforeWriting) {
    // A shaded triangle left uncommitted: a written picture shows the resolved colours, not the
    // pool references (dark red along the edges).
    auto d = plotvane_test::newArea(40, 30);
    d->gouraudShading(3.3, 2.7, 1.0, 36.6, 5.2, 0.6, 12.4, 27.5, 1.4, 0x2266aa);
    const std::string path = ::testing::TempDir() + "plotvane_superpixels.png";
    ASSERT_TRUE(d->outPNG(path.c_str()));
    auto loaded = plotvane_test::newArea(1, 1);
    ASSERT_TRUE(loaded->loadPNG(path.c_str()));
    std::remove(path.c_str());
    d->commitAllSuperPixels();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(loaded->getPixel(x, y), d->getPixel(x, y)) << x << "," << y;
}

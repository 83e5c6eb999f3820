#include "draw/resample_p.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "draw/blend_p.h"

#include "rastertest.h"

using namespace plotvane;
using namespace rastertest;

TEST(Resample, BoxAtScaleOneCopiesAndFiltersKeepFlatColours) {
    std::mt19937 rng(3);
    std::vector<uint32_t> src(37 * 23);
    for (uint32_t& p : src) {
        p = rng();
        if ((p >> 24) >= 0x80) p = (p >> 24) == 0xff ? 0xff000000u : p & 0x80ffffffu;
    }
    std::vector<uint32_t> dst(src.size());
    resizeTo(src.data(), 37, 23, dst.data(), 37, 23, 0, 1.0);
    EXPECT_EQ(dst, src);

    // Every filter is normalised: a flat picture stays flat when enlarged or reduced.
    const std::vector<uint32_t> flat(20 * 10, 0x40336699u);
    for (int filter = 0; filter < 14; ++filter) {
        std::vector<uint32_t> up(31 * 17), down(7 * 3);
        resizeTo(flat.data(), 20, 10, up.data(), 31, 17, filter, 1.0);
        resizeTo(flat.data(), 20, 10, down.data(), 7, 3, filter, 1.5);
        for (uint32_t p : up) ASSERT_TRUE(nearColor(p, 0x40336699u, 1)) << filter;
        for (uint32_t p : down) ASSERT_TRUE(nearColor(p, 0x40336699u, 1)) << filter;
    }
}

TEST(Resample, FilterShapes) {
    EXPECT_EQ(filterWeight(0, -0.5), 1.0);
    EXPECT_EQ(filterWeight(0, 0.5), 0.0);
    EXPECT_DOUBLE_EQ(filterWeight(1, 0.25), 0.75);
    EXPECT_DOUBLE_EQ(filterWeight(3, 0), 2.0 / 3);
    EXPECT_DOUBLE_EQ(filterWeight(5, 1), 0);
    EXPECT_DOUBLE_EQ(filterWeight(6, 0), 8.0 / 9);
    EXPECT_DOUBLE_EQ(filterWeight(7, 0), 1);
    EXPECT_NEAR(filterWeight(8, 1.5),
                std::sin(3.14159265358979 * 1.5) / (3.14159265358979 * 1.5) *
                    std::sin(3.14159265358979 * 0.5) / (3.14159265358979 * 0.5),
                1e-12);
    EXPECT_DOUBLE_EQ(filterWeight(13, 0), 3.14159265358979 / 4);
    EXPECT_NEAR(besselJ1(1.0), 0.4400505857, 1e-7);
    EXPECT_NEAR(besselJ1(10.0), 0.0434727462, 1e-7);
    EXPECT_NEAR(besselJ1(-3.0), -0.3390589585, 1e-7);
    EXPECT_DOUBLE_EQ(filterSupport(13), 3.2383);
    EXPECT_DOUBLE_EQ(filterSupport(99), 1.0);
}

TEST(Resample, CanvasResizeAndWarps) {
    auto c = makeCanvas(10, 10, 0x00ff0000u);
    c->resize(40, 5);
    EXPECT_EQ(c->getWidth(), 40);
    EXPECT_EQ(c->getHeight(), 5);
    EXPECT_EQ(px(*c, 39, 4), 0x00ff0000u);

    // An identity affine warp with the triangle filter copies; a horizontal flip mirrors.
    auto d = makeCanvas(6, 3);
    d->pixel(1, 1, 0x000000ff);
    d->affineTransform(1, 0, 0, 0, 1, 0, 0x00ffffff, 1, 1.0);
    EXPECT_EQ(px(*d, 1, 1), 0x000000ffu);
    EXPECT_EQ(px(*d, 2, 1), 0x00ffffffu);
    d->affineTransform(-1, 0, 5, 0, 1, 0, 0x00ffffff, 1, 1.0);
    EXPECT_EQ(px(*d, 4, 1), 0x000000ffu);
    // rAffineTransform maps source to destination: move right by 1.
    d->rAffineTransform(1, 0, 1, 0, 1, 0, 0x0000ff00, 0, 1.0);
    EXPECT_EQ(px(*d, 5, 1), 0x000000ffu);
    EXPECT_EQ(px(*d, 0, 1), 0x0000ff00u);

    // The other warps: sizes and no crash on odd arguments.
    auto e = makeCanvas(20, 20, 0x00808080u);
    e->sphereTransform(30, 30, static_cast<int>(0xff000000u), 1, 1.0);
    EXPECT_EQ(e->getWidth(), 30);
    EXPECT_EQ(px(*e, 15, 15), 0x00808080u);
    EXPECT_EQ(px(*e, 0, 0), 0xff000000u);
    e->hCylinderTransform(10, 0, 3, 1.0);
    EXPECT_EQ(e->getHeight(), 10);
    e->vCylinderTransform(-5, 0, 3, 1.0);
    EXPECT_EQ(e->getWidth(), 1);
    e->vTriangleTransform(12, 0, 8, 2.0);
    e->hTriangleTransform(0, 0, 9, 1.0);
    e->shearTransform(0.5, 0, 0, 1, 1.0);
    e->shearTransform(1e300, std::nan(""), 0, 1, 1.0);
    e->waveTransform(0, 3, 0, 0, false, 0, 1, 1.0);
    e->waveTransform(10, 3, 45, 0, true, 0, 13, 1.0);
    e->affineTransform(std::nan(""), 0, 0, 0, 1, 0, 0, 1, 1.0);
    EXPECT_GE(e->getWidth(), 1);
}

#include <plotvane/drawarea.h>

#include <gtest/gtest.h>

#include <string>

#include "drawtest.h"

using namespace plotvane;
using drawtest::countRecords;
using drawtest::dump;
using drawtest::newArea;

namespace {
const int kRamp[] = {0, 0x000000, 256, 0x0000ff};
IntArray ramp() { return IntArray(kRamp, 4); }
uint32_t pixel(DrawArea* d, int x, int y) { return static_cast<uint32_t>(d->getPixel(x, y)); }
}  // namespace

TEST(ZColor, ThePlaneChoosesTheGradientPosition) {
    auto d = newArea(64, 64);
    // z from 0 to 64 over the table; the plane z = x runs it left to right.
    int z = d->zColor(ramp(), 0, 64);
    ASSERT_TRUE(d->isDynamic(z));
    EXPECT_EQ(d->transformZColor(z, 1, 0, 0), z);
    d->rect(0, 0, 63, 31, Chart::Transparent, z);
    // The same id, moved to z = 64 - y, fills the lower half from the other end.
    d->transformZColor(z, 0, -1, 64);
    d->rect(0, 32, 63, 63, Chart::Transparent, z);
    EXPECT_EQ(pixel(d.get(), 0, 10), 0x000000u);
    EXPECT_NEAR(static_cast<int>(pixel(d.get(), 32, 10) & 0xff), 128, 2);
    EXPECT_GE(static_cast<int>(pixel(d.get(), 63, 10) & 0xff), 250);
    EXPECT_NEAR(static_cast<int>(pixel(d.get(), 5, 48) & 0xff), 64, 2);
    EXPECT_EQ(pixel(d.get(), 5, 48), pixel(d.get(), 60, 48));
    // The definition is written once per plane, under one id, with the plane in gradient positions.
    EXPECT_EQ(countRecords(d.get(), "ZColor"), 2);
    EXPECT_NE(dump(d.get()).find("ZColor(0xfffe0000, 4, 0, 0, ["), std::string::npos) << dump(d.get());
    EXPECT_NE(dump(d.get()).find("ZColor(0xfffe0000, 0, -4, 256, ["), std::string::npos) << dump(d.get());
}

TEST(ZColor, PlanesFromPointsAndBadInput) {
    auto d = newArea(40, 40);
    int z = d->zColor(ramp(), 10, 20);
    // Through (0, 0, 10), (40, 0, 20), (0, 40, 10): z = 10 + x/4, so x = 20 is mid-table.
    d->transformZColor(z, 0, 0, 10, 40, 0, 20, 0, 40, 10);
    d->rect(0, 0, 39, 39, Chart::Transparent, z);
    EXPECT_NEAR(static_cast<int>(pixel(d.get(), 20, 30) & 0xff), 128, 2);
    // Collinear points give a level plane at their mean; beyond the range the ends hold.
    auto level = newArea(10, 10);
    int lz = level->zColor(ramp(), 0, 1);
    level->transformZColor(lz, 0, 0, 5, 1, 1, 5, 2, 2, 5);
    level->rect(0, 0, 9, 9, Chart::Transparent, lz);
    EXPECT_NEAR(static_cast<int>(pixel(level.get(), 4, 4)), 0xff, 2);

    EXPECT_EQ(d->zColor(IntArray(kRamp, 2), 0, 1), Chart::Transparent);
    EXPECT_EQ(d->zColor(ramp(), 3, 3), Chart::Transparent);
    EXPECT_EQ(d->zColor(ramp(), 0, 1.0 / 0.0), Chart::Transparent);
    EXPECT_EQ(d->transformZColor(0x00ff0000, 1, 0, 0), Chart::Transparent);
    int gradient = d->linearGradientColor(0, 0, 10, 0, 0, 0xffffff);
    EXPECT_EQ(d->transformZColor(gradient, 1, 0, 0), Chart::Transparent);
    // A NaN plane leaves the last one in place.
    EXPECT_EQ(d->transformZColor(z, 0.0 / 0.0, 0, 0), z);
}

TEST(ZColor, VectorOutputsShowAGradient) {
    auto d = newArea(50, 50);
    int z = d->zColor(ramp(), 0, 50);
    d->transformZColor(z, 0, 1, 0);
    d->rect(5, 5, 45, 45, Chart::Transparent, z);
    MemBlock svg = d->outSVG();
    std::string text(svg.data, static_cast<size_t>(svg.len));
    EXPECT_NE(text.find("linearGradient"), std::string::npos);
    MemBlock pdf = d->outPDF();
    EXPECT_GT(pdf.len, 0);
}

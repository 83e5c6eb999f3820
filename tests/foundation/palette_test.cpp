#include "foundation/palette_p.h"

#include <plotvane/chart.h>

#include <gtest/gtest.h>

#include <vector>

using namespace plotvane;

namespace {

// Resolves references through the palette itself, as the drawing surface does.
struct PaletteFixture {
    Palette palette;
    int resolve(int c) const {
        uint32_t v = static_cast<uint32_t>(c);
        if ((v & 0xffff0000u) == 0xffff0000u && (v & 0xffffu) < 0x8000u) return palette.lookup(v & 0xffff);
        return c;
    }
    void set(int p, std::vector<int> colors) {
        palette.setColors(p, colors.data(), static_cast<int>(colors.size()), [this](int c) { return resolve(c); });
    }
};

std::vector<int> ramp(int n) {
    std::vector<int> v;
    for (int i = 0; i < n; ++i) v.push_back(0x100 * i + 1);
    return v;
}

}  // namespace

TEST(Palette, LookupWrapsDataColoursOnly) {
    PaletteFixture empty;
    EXPECT_EQ(empty.palette.lookup(7), 7);

    PaletteFixture five;
    five.set(0, ramp(5));
    EXPECT_EQ(five.palette.lookup(7), five.palette.lookup(2));

    PaletteFixture twenty;
    twenty.set(0, ramp(20));
    EXPECT_EQ(twenty.palette.lookup(25), twenty.palette.entries()[13]);

    PaletteFixture forty;
    forty.palette.setColors(0, Chart::defaultPalette, [&](int c) { return forty.resolve(c); });
    ASSERT_EQ(forty.palette.size(), 40);
    EXPECT_EQ(forty.palette.lookup(40), Chart::defaultPalette[8]);
    EXPECT_EQ(forty.palette.lookup(41), Chart::defaultPalette[9]);
    EXPECT_EQ(forty.palette.lookup(72), Chart::defaultPalette[8]);
    EXPECT_EQ(forty.palette.lookup(39), Chart::defaultPalette[39]);
}

TEST(Palette, WritesGrowCutAndResolve) {
    PaletteFixture f;
    f.set(3, {0x123456});
    ASSERT_EQ(f.palette.size(), 4);
    EXPECT_EQ(f.palette.entries()[0], Chart::Transparent);
    EXPECT_EQ(f.palette.entries()[3], 0x123456);

    // An entry may be given as a reference to another one.
    f.set(1, {Chart::Palette + 3});
    EXPECT_EQ(f.palette.entries()[1], 0x123456);

    f.set(Palette::kMaxEntries, {1});
    EXPECT_EQ(f.palette.size(), 4);
    f.set(Palette::kMaxEntries - 2, {1, 2, 3, 4});
    EXPECT_EQ(f.palette.size(), Palette::kMaxEntries);
    EXPECT_EQ(f.palette.entries().back(), 2);
    f.set(-1, {5});
    EXPECT_EQ(f.palette.entries()[0], Chart::Transparent);
}

TEST(Palette, UnterminatedListsAreRefused) {
    PaletteFixture f;
    std::vector<int> longList(Palette::kMaxUnterminated + 1, 0x10);
    longList.back() = -1;
    f.palette.setColors(0, longList.data(), [&](int c) { return f.resolve(c); });
    EXPECT_EQ(f.palette.size(), 0);
    longList[Palette::kMaxUnterminated - 1] = -1;
    f.palette.setColors(0, longList.data(), [&](int c) { return f.resolve(c); });
    EXPECT_EQ(f.palette.size(), Palette::kMaxEntries);  // accepted, then cut at the last entry
}

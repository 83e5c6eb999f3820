#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "draw/octree_p.h"
#include "draw/palettebuilder_p.h"

using namespace plotvane;

namespace {

std::vector<uint32_t> colourful(int count) {
    std::vector<uint32_t> colors(static_cast<size_t>(count));
    uint32_t state = 99;
    for (uint32_t& c : colors) {
        state = state * 1664525u + 1013904223u;
        c = state >> 8;
    }
    return colors;
}

}  // namespace

TEST(Octree, PaletteColoursAreTheMeansOfTheirLeaves) {
    for (int limit : {256, 255}) {
        SCOPED_TRACE(limit);
        auto colors = colourful(20000);
        Octree octree(limit, 1);
        for (uint32_t c : colors) octree.addColor(c);
        uint32_t palette[257] = {};
        int count = octree.makePalette(palette);
        EXPECT_GT(count, 16);
        EXPECT_LE(count, limit);

        // Every added colour maps to a leaf; the leaf's colour is the rounded mean of those colours.
        std::map<int, std::vector<long long>> sums;
        for (uint32_t c : colors) {
            uint32_t mapped = 0;
            int index = octree.mapColor(c >> 16, (c >> 8) & 0xff, c & 0xff, mapped);
            ASSERT_GE(index, 1);
            ASSERT_LE(index, count);
            ASSERT_EQ(mapped, palette[index]);
            auto& s = sums[index];
            if (s.empty()) s.assign(4, 0);
            s[0] += c >> 16, s[1] += (c >> 8) & 0xff, s[2] += c & 0xff, s[3] += 1;
        }
        for (auto& [index, s] : sums) {
            uint32_t mean = 0;
            for (int k = 0; k < 3; ++k) mean = (mean << 8) | static_cast<uint32_t>((s[k] + s[3] / 2) / s[3]);
            EXPECT_EQ(palette[index], mean) << index;
        }
    }
}

TEST(Octree, DitheredColoursOffThePathFindTheNearestLeaf) {
    Octree octree(256, 0);
    octree.addColor(0x000000);
    octree.addColor(0xffffff);
    octree.addColor(0xfff0f0);
    uint32_t palette[256];
    ASSERT_EQ(octree.makePalette(palette), 3);
    uint32_t mapped = 0;
    // Both leave the white branch where no colour was added, and take the closest leaf below.
    EXPECT_EQ(palette[octree.mapColor(0xf0, 0xf8, 0xff, mapped)], 0xffffffu);
    EXPECT_EQ(mapped, 0xffffffu);
    EXPECT_EQ(palette[octree.mapColor(0xff, 0xe0, 0xe0, mapped)], 0xfff0f0u);
}

TEST(PaletteBuilder, ExactForcedAndTransparent) {
    // Exactly 256 colours stay exact, in order of first appearance; one more is refused unless forced.
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 256; ++i) pixels.push_back(0xff000000u | (255 - i) << 8);  // transparency ignored
    PaletteImage indexed;
    ASSERT_EQ(makePaletteImage(RasterImage{pixels.data(), 16, 16}, static_cast<int>(0xff000000), 0, 0, indexed), 256);
    EXPECT_EQ(indexed.palette[0], 0x00ff00u);
    EXPECT_EQ(indexed.indices[255], 255);
    EXPECT_EQ(indexed.transparentIndex, -1);
    pixels.push_back(0x123456);
    RasterImage bigger{pixels.data(), 257, 1};
    EXPECT_EQ(makePaletteImage(bigger, static_cast<int>(0xff000000), 0, 0, indexed), 0);
    EXPECT_EQ(makePaletteImage(bigger, static_cast<int>(0xff000000), 2, 0, indexed), 0);

    // Forced, with a transparent colour: index 0 is reserved for it, the octree fills the rest.
    pixels.push_back(0xffffff);
    RasterImage withWhite{pixels.data(), 258, 1};
    for (int dither : {0, 1, 2}) {
        int count = makePaletteImage(withWhite, 0xffffff, 1, dither, indexed);
        EXPECT_GT(count, 1);
        EXPECT_LE(count, 256);
        EXPECT_EQ(indexed.transparentIndex, 0);
        EXPECT_EQ(indexed.palette[0], 0xffffffu);
        EXPECT_EQ(indexed.indices[257], 0);
        std::set<int> used(indexed.indices.begin(), indexed.indices.end() - 1);
        EXPECT_EQ(used.count(0), 0u) << dither;  // no other pixel takes the transparent entry
        EXPECT_LT(*used.rbegin(), count);
    }

    // A transparent colour that does not occur is still entered first; -1 .. -10 mean none.
    std::vector<uint32_t> two = {0x111111, 0x222222};
    EXPECT_EQ(makePaletteImage(RasterImage{two.data(), 2, 1}, 0xabcdef, 0, 0, indexed), 3);
    EXPECT_EQ(indexed.indices[0], 1);
    for (int none : {-1, -2, -10})
        EXPECT_EQ(makePaletteImage(RasterImage{two.data(), 2, 1}, none, 0, 0, indexed), 2) << none;
    EXPECT_EQ(makePaletteImage(RasterImage{two.data(), 2, 1}, -11, 0, 0, indexed), 3);
}

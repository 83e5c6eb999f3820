#include "draw/blend_p.h"

#include <gtest/gtest.h>

using namespace plotvane;

TEST(Blend, OverOpaqueUsesPackedChannelPairs) {
    // Red at transparency 128 over white: a = 129, so green and blue are (255 * 129 + 128) >> 8.
    EXPECT_EQ(blend(0x80ff0000u, 0x00ffffffu), 0x00ff8080u);
    // Below 128 the transparency is used as it is.
    EXPECT_EQ(blend(0x40000000u, 0x00ffffffu), 0x00404040u);
    // Extremes of the packed arithmetic: no carry from one channel into its neighbour.
    EXPECT_EQ(blend(0x01ffffffu, 0x00ffffffu), 0x00ffffffu);
    EXPECT_EQ(blend(0xfe000000u, 0x00ffffffu), 0x00fefefeu);  // a = 255 still lets 1/256 through
    EXPECT_EQ(blend(0x7f00ff00u, 0x00ff00ffu), 0x007f807fu);
}

TEST(Blend, TransparencyRules) {
    // An opaque source or a transparent destination takes the source.
    EXPECT_EQ(blend(0x00123456u, 0x00abcdefu), 0x00123456u);
    EXPECT_EQ(blend(0x80123456u, kTransparent), 0x80123456u);
    // A source with transparency 255 leaves the pixel, whatever its colour bits.
    EXPECT_EQ(blend(0xff123456u, 0x00abcdefu), 0x00abcdefu);
    EXPECT_EQ(blend(0xff123456u, 0x80abcdefu), 0x80abcdefu);
    EXPECT_EQ(blend(0xff123456u, kTransparent), kTransparent);
    // Both semi-transparent: transparency td*ts/255, channels weighted as stated.
    const uint32_t r = blend(0x80ff0000u, 0x800000ffu);
    EXPECT_EQ(r >> 24, 0x80u * 0x80u / 255);
    const uint32_t k = (255 - 128) * 128, sw = (255 - 128) * 255, den = 65025 - 128 * 128;
    EXPECT_EQ((r >> 16) & 255, (255 * sw) / den);
    EXPECT_EQ(r & 255, (255 * k) / den);
}

TEST(Blend, CoverageAndBrightness) {
    EXPECT_EQ(withCoverage(0x00ff0000u, 16), 0x00ff0000u);
    EXPECT_EQ(withCoverage(0x00ff0000u, 8), 0x80ff0000u);
    EXPECT_EQ(withCoverage(0x00ff0000u, 0), kTransparent);
    EXPECT_EQ(withCoverage(0x80ff0000u, 8), 0xc0ff0000u);
    // Brightening moves towards white: 2.0 on grey 0x80 gives 0xc0.
    EXPECT_EQ(rawColorAdjustBrightness(0x00808080u, 2048), 0x00c0c0c0u);
    EXPECT_EQ(rawColorAdjustBrightness(0x40808080u, 512), 0x40404040u);
    EXPECT_EQ(rawColorAdjustBrightness(0x40808080u, -5), 0x40000000u);
    EXPECT_EQ(rawColorAdjustBrightness(0xff808080u, 512), kTransparent);
    EXPECT_EQ(rawColorAdjustBrightness(0x00123456u, 1024), 0x00123456u);
}

TEST(Blend, FullyTransparentResultsAreCanonical) {
    // Exhaust the transparency pairs: any result with transparency 255 must be exactly 0xff000000.
    for (uint32_t ts = 0; ts < 256; ++ts)
        for (uint32_t td = 0; td < 256; td += 5) {
            const uint32_t r =
                blend((ts << 24) | 0x00a0b0c0u, td == 255 ? kTransparent : (td << 24) | 0x00102030u);
            if ((r >> 24) == 255) {
                EXPECT_EQ(r, kTransparent) << ts << " " << td;
            }
        }
    EXPECT_EQ(mixColors(0xff000000u, 1, 0xff000000u, 1), kTransparent);
    EXPECT_EQ(canonical(0xff123456u), kTransparent);
}

// The precomputed source, the fast path of long runs, agrees with blend() for every transparency
// of the source over opaque, translucent and transparent words.
TEST(Blend, PrecomputedSourceMatchesBlend) {
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (uint32_t ts = 0; ts < 256; ++ts)
        for (int k = 0; k < 200; ++k) {
            const uint32_t s = (ts << 24) | (next() & 0xffffffu);
            const uint32_t td = k % 4 == 0 ? 255 : k % 4 == 1 ? (next() >> 24) : 0;
            const uint32_t d = td == 255 ? kTransparent : (td << 24) | (next() & 0xffffffu);
            ASSERT_EQ(BlendSource(s).over(d), blend(s, d)) << std::hex << s << " over " << d;
        }
}

// Rows are blended four words at a time where the machine allows: every length and alignment, over
// rows that mix opaque, translucent and transparent words, must give what blend() gives word by word.
TEST(Blend, RowsMatchWordByWord) {
    uint32_t seed = 99;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (uint32_t ts : {0u, 1u, 64u, 127u, 128u, 200u, 254u, 255u})
        for (int n = 0; n <= 41; ++n)
            for (int offset = 0; offset < 4; ++offset) {
                const uint32_t s = (ts << 24) | (next() & 0xffffffu);
                uint32_t row[48], expected[48];
                for (int i = 0; i < 48; ++i) {
                    const uint32_t kind = next() % 16;
                    row[i] = kind == 0 ? kTransparent : kind == 1 ? (next() % 255) << 24 | (next() & 0xffffffu)
                                                                   : next() & 0xffffffu;
                    expected[i] = i >= offset && i < offset + n ? blend(s, row[i]) : row[i];
                }
                BlendSource(s).overRow(row + offset, n);
                for (int i = 0; i < 48; ++i)
                    ASSERT_EQ(row[i], expected[i]) << std::hex << s << " n " << std::dec << n << " at " << i;
            }
}

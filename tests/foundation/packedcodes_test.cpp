#include <plotvane/chart.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace plotvane;

namespace {
uint32_t u(int v) { return static_cast<uint32_t>(v); }
}

TEST(SpecialNumbers, NoValueIsExactlyTheParsedNumber) {
    EXPECT_EQ(std::strtod("1.7e308", nullptr), Chart::NoValue);
    uint64_t bits;
    double nv = Chart::NoValue;
    std::memcpy(&bits, &nv, sizeof bits);
    EXPECT_EQ(bits, 0x7FEE42D130773B76ULL);
    EXPECT_NE(1e308, Chart::NoValue);
    EXPECT_EQ(Chart::DataBound, Chart::TouchBar);
}

TEST(PackedCodes, EffectsClampTheirParameters) {
    EXPECT_EQ(u(Chart::glassEffect()), 0x903000u | (3u << 16) | 55u);
    EXPECT_EQ(u(Chart::glassEffect(9, Chart::Left, 0)), 0x903000u | (7u << 16) | 0u);
    EXPECT_EQ(u(Chart::glassEffect(-2, Chart::Bottom, -80)), 0x903000u | (8u << 16) | 50u);
    EXPECT_EQ(u(Chart::glassEffect(1, Chart::Right, 10000)), 0x903000u | (13u << 16) | 4095u);
    // Soft lighting turns the light round: from the top means a glare from the bottom.
    EXPECT_EQ(Chart::softLighting(Chart::Top, 4), Chart::glassEffect(1, Chart::Bottom, 4));
    EXPECT_EQ(Chart::softLighting(Chart::Left, 4), Chart::glassEffect(1, Chart::Right, 4));
    EXPECT_EQ(Chart::softLighting(Chart::Center, 4), Chart::glassEffect(1, Chart::Bottom, 4));

    EXPECT_EQ(Chart::flatBorder(3), 0x600003);
    EXPECT_EQ(Chart::flatBorder(-3), -Chart::flatBorder(3));
    EXPECT_EQ(Chart::flatBorder(0), 0);
    EXPECT_EQ(Chart::flatBorder(99999), 0x600000 | 4095);
    EXPECT_EQ(Chart::flatBorder(-2147483647 - 1), -(0x600000 | 4095));

    EXPECT_EQ(u(Chart::barLighting(0.75, 1.5)), 0x10000000u | ((128 - 85 + 100) << 8) | 75u);
    EXPECT_EQ(u(Chart::barLighting(-1, 1)), 0x10000000u | (100u << 8));
}

TEST(PackedCodes, MetalColours) {
    // Channels reduce to nibbles of 17 and the direction to eighths of a half turn.
    EXPECT_EQ(u(Chart::metalColor(0x00ff8800, 90)), 0xff820000u | 0x0f80u);
    EXPECT_EQ(u(Chart::metalColor(0x00ff8800, -90)), u(Chart::metalColor(0x00ff8800, 90)));
    EXPECT_EQ(u(Chart::metalColor(0x00ffffff, 179)), 0xff840fffu);
    EXPECT_EQ(Chart::metalColor(static_cast<int>(0xf8123456)), Chart::Transparent);
    EXPECT_NE(Chart::metalColor(static_cast<int>(0xf6123456)), Chart::Transparent);
    EXPECT_EQ(Chart::metalColor(-1), Chart::Transparent);
    EXPECT_EQ(u(Chart::metalColor(Chart::DataColor + 1, 0)), 0xff80f809u);
    EXPECT_EQ(u(Chart::metalColor(static_cast<int>(0xfffe0003), 0)), 0xff80f003u);
    EXPECT_EQ(u(Chart::metalColor(static_cast<int>(0xffff8123), 0)), 0xff800082u);
    EXPECT_EQ(u(Chart::brushedMetalColor(0x00ff8800, 1, 0)), 0xff840f80u);
    EXPECT_EQ(Chart::goldColor(), Chart::metalColor(0xffee44));
}

TEST(PackedCodes, SymbolShapes) {
    EXPECT_EQ(Chart::CrossShape(), (2048 << 12) | 8);
    EXPECT_EQ(Chart::Cross2Shape(2), (4095 << 12) | 9);
    EXPECT_EQ(Chart::CrossShape(-1), 8);
    EXPECT_EQ(Chart::PolygonShape(6), (6 << 12) | 11);
    EXPECT_EQ(Chart::StarShape(500), (100 << 12) | 13);
    EXPECT_EQ(Chart::Polygon2Shape(-1), 12);
    uint32_t arrow = u(Chart::ArrowShape(-90, 1, 0.5, 0.5));
    EXPECT_EQ(arrow & 0xff, 18u);
    EXPECT_EQ(arrow >> 26, 45u);  // 270 degrees in sixtieths of a turn
    EXPECT_EQ((arrow >> 20) & 63, 50u);
    EXPECT_EQ((arrow >> 14) & 63, 25u);
    EXPECT_EQ((arrow >> 8) & 63, 25u);
}

TEST(PackedCodes, RgbAndTextModes) {
    EXPECT_EQ(u(Chart::RGB(255, 128, 1)), 0x00ff8001u);
    EXPECT_EQ(u(Chart::RGB(1, 2, 3, 0x80)), 0x80010203u);
    EXPECT_EQ(Chart::ClearTypeColor(1.4), (140 << 6) | 5);
    EXPECT_EQ(Chart::ClearTypeMono(0), 4);
    EXPECT_EQ(Chart::ClearTypeMono(50), (1023 << 6) | 4);
}

TEST(Palettes, BuiltInTables) {
    for (const int* p : {Chart::defaultPalette, Chart::whiteOnBlackPalette, Chart::transparentPalette}) {
        EXPECT_EQ(p[40], -1);
        for (int i = 3; i < 8; ++i) EXPECT_EQ(p[i], 0x808080);
        for (int i = 0; i < 40; ++i) EXPECT_NE(p[i], -1);
    }
    EXPECT_EQ(Chart::defaultPalette[8], 0xff3333);
    EXPECT_EQ(Chart::defaultPalette[39], 0x999999);
    for (int i = 8; i < 40; ++i)
        EXPECT_EQ(u(Chart::transparentPalette[i]), 0x80000000u | u(Chart::whiteOnBlackPalette[i]));
}

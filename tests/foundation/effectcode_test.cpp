#include <plotvane/axis.h>
#include <plotvane/chart.h>

#include <gtest/gtest.h>

#include <string>

#include "foundation/effectcode_p.h"

using namespace plotvane;

TEST(EffectCode, EveryBuilderReadsBack) {
    EffectCode glass = decodeEffect(Chart::glassEffect(Chart::ReducedGlare, Chart::Left, 7));
    EXPECT_EQ(glass.kind, EffectCode::Glass);
    EXPECT_EQ(glass.glare, 2);
    EXPECT_EQ(glass.side, Chart::Left);
    EXPECT_EQ(glass.depth, 7);
    EXPECT_EQ(decodeEffect(Chart::glassEffect(3, Chart::Top, -4)).depth, -4);
    EXPECT_EQ(decodeEffect(Chart::glassEffect(0, Chart::Right, 0)).depth, 0);
    // No glare is soft light, whose packed side is turned round: the light's side comes back.
    for (int side : {Chart::Top, Chart::Bottom, Chart::Left, Chart::Right}) {
        EffectCode soft = decodeEffect(Chart::softLighting(side, 3));
        EXPECT_EQ(soft.kind, EffectCode::SoftLighting);
        EXPECT_EQ(soft.side, side);
        EXPECT_EQ(soft.depth, 3);
    }
    EXPECT_EQ(decodeEffect(Chart::glassEffect(Chart::NoGlare, Chart::Bottom)).kind, EffectCode::SoftLighting);

    EffectCode flat = decodeEffect(Chart::flatBorder(-6));
    EXPECT_EQ(flat.kind, EffectCode::FlatBorder);
    EXPECT_EQ(flat.depth, 6);

    EffectCode bar = decodeEffect(Chart::barLighting(0.5, 2));
    EXPECT_EQ(bar.kind, EffectCode::BarLighting);
    EXPECT_DOUBLE_EQ(bar.start, 0.5);
    EXPECT_DOUBLE_EQ(bar.end, 2);

    EffectCode cyl = decodeEffect(Chart::cylinderEffect(Chart::DirectionVertical, 0.25, 0.5, 1.5, 12));
    EXPECT_EQ(cyl.kind, EffectCode::Cylinder);
    EXPECT_EQ(cyl.orientation, Chart::DirectionVertical);
    EXPECT_DOUBLE_EQ(cyl.ambient, 0.25);
    EXPECT_DOUBLE_EQ(cyl.diffuse, 0.5);
    EXPECT_DOUBLE_EQ(cyl.specular, 1.5);
    EXPECT_EQ(cyl.shininess, 12);
    EXPECT_EQ(decodeEffect(Chart::cylinderEffect()).orientation, Chart::Center);
    EXPECT_EQ(decodeEffect(Chart::phongLighting()).kind, EffectCode::Phong);
}

TEST(EffectCode, PlainNumbersAndStrayValues) {
    EXPECT_EQ(decodeEffect(0).kind, EffectCode::None);
    EXPECT_EQ(decodeEffect(3).kind, EffectCode::Raised);
    EXPECT_EQ(decodeEffect(-2).depth, -2);
    EXPECT_EQ(decodeEffect(0xffff).kind, EffectCode::Raised);
    // Colours, over-long codes and the most negative integer are no effect at all.
    EXPECT_EQ(decodeEffect(0x10000).kind, EffectCode::None);
    EXPECT_EQ(decodeEffect(0x00ff8800).kind, EffectCode::None);
    EXPECT_EQ(decodeEffect(-2147483647 - 1).kind, EffectCode::None);
    EXPECT_EQ(decodeEffect(0x10ff0000).kind, EffectCode::None);
    EXPECT_EQ(decodeEffect(Chart::Transparent).kind, EffectCode::None);
}

TEST(EffectCode, LightingCodesClampTheirTerms) {
    // Out-of-range and non-finite terms stay inside their fields rather than spilling into others.
    EffectCode e = decodeEffect(Chart::cylinderEffect(99, 5, -1, 1.0 / 0.0, 1000));
    EXPECT_EQ(e.kind, EffectCode::Cylinder);
    EXPECT_EQ(e.orientation, 15);
    EXPECT_DOUBLE_EQ(e.ambient, 63 / 32.0);
    EXPECT_DOUBLE_EQ(e.diffuse, 0);
    EXPECT_DOUBLE_EQ(e.specular, 63 / 32.0);
    EXPECT_EQ(e.shininess, 63);
    EffectCode nan = decodeEffect(Chart::phongLighting(0.0 / 0.0, 0.5, 0.5, -3));
    EXPECT_DOUBLE_EQ(nan.ambient, 0);
    EXPECT_EQ(nan.shininess, 0);
}

TEST(EffectCode, PhongProfileShape) {
    EffectCode e = decodeEffect(Chart::cylinderEffect());
    std::vector<int> across = phongProfile(e);
    ASSERT_EQ(across.size(), 34u);
    EXPECT_EQ(across.front(), 0);
    EXPECT_EQ(across[across.size() - 2], 256);
    // The highlight leans towards the light's side and brightens past the plain colour; the far
    // rim gets the ambient light only.
    size_t peak = 1;
    for (size_t k = 1; k < across.size(); k += 2)
        if (across[k] > across[peak]) peak = k;
    EXPECT_LT(across[peak - 1], 128);
    EXPECT_GT(across[peak], 1024);
    EXPECT_NEAR(across.back(), 512, 40);
    std::vector<int> dome = phongProfile(e, true);
    EXPECT_GT(dome[1], dome.back());
}

TEST(ChartHelpers, VersionFiltersAndFonts) {
    int v = Chart::getVersion();
    std::string text = Chart::getDescription();
    std::string dotted = std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xff) + "." +
                         std::to_string(v & 0xffff);
    EXPECT_NE(text.find(dotted), std::string::npos) << text;

    EXPECT_EQ(Chart::encodeFilter(Chart::Plotvane_StartOfDayFilterTag, 2, 0.05), Chart::StartOfDayFilter(2, 0.05));
    EXPECT_EQ(Chart::encodeFilter(Chart::Plotvane_RegularSpacingFilterTag, 0, -5),
              Chart::Plotvane_RegularSpacingFilterTag | (1 << 4));
    // A margin too large for hundredths is kept in whole units.
    EXPECT_EQ(Chart::encodeFilter(Chart::Plotvane_StartOfHourFilterTag, 1, 3600),
              Chart::Plotvane_StartOfHourFilterTag | (1 << 4) | (3600 << 16) | (1 << 30));
    EXPECT_EQ(Chart::arrowShape(90, 0.5), Chart::ArrowShape(90, 0.5));

    std::string report = Chart::testFont("no-such-font-anywhere.ttf");
    EXPECT_FALSE(report.empty());
    EXPECT_EQ(report.back(), '\n');
}

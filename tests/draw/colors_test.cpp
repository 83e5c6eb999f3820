#include <plotvane/chart.h>

#include <gtest/gtest.h>

#include <vector>

#include "draw/drawarea_p.h"
#include "draw/drawtest.h"

using namespace plotvane;
using drawtest::newArea;

namespace {

std::vector<int> ramp(int n) {
    std::vector<int> v;
    for (int i = 0; i < n; ++i) v.push_back(0x010101 * i + 0x100000);
    return v;
}

int ref(int i) { return static_cast<int>(0xffff0000u + static_cast<uint32_t>(i)); }

}  // namespace

TEST(DrawAreaColor, PaletteReferencesWrapOverDataColours) {
    auto empty = newArea();
    EXPECT_EQ(empty->getARGBColor(ref(7)), 7);
    EXPECT_EQ(empty->getARGBColor(ref(0x7fff)), 0x7fff);

    auto five = newArea();
    std::vector<int> c5 = ramp(5);
    five->setColorTable(c5.data(), 5, 0);
    EXPECT_EQ(five->getARGBColor(ref(7)), c5[2]);
    EXPECT_EQ(five->getARGBColor(ref(4)), c5[4]);

    auto twenty = newArea();
    std::vector<int> c20 = ramp(20);
    twenty->setColorTable(IntArray(c20.data(), 20), 0);
    EXPECT_EQ(twenty->getARGBColor(ref(25)), c20[13]);
    EXPECT_EQ(twenty->getARGBColor(ref(19)), c20[19]);

    auto forty = newArea();
    forty->setColorTable(Chart::defaultPalette, -1, 0);
    EXPECT_EQ(forty->getARGBColor(ref(40)), Chart::defaultPalette[8]);
    EXPECT_EQ(forty->getARGBColor(ref(41)), Chart::defaultPalette[9]);
    EXPECT_EQ(forty->getARGBColor(ref(72)), Chart::defaultPalette[8]);
    EXPECT_EQ(forty->getARGBColor(Chart::LineColor), 0x000000);
}

TEST(DrawAreaColor, SpecialCodesAndPaletteWrites) {
    auto d = newArea();
    EXPECT_EQ(d->getARGBColor(-1), Chart::Transparent);
    EXPECT_EQ(d->getARGBColor(Chart::Transparent), Chart::Transparent);
    EXPECT_EQ(d->getARGBColor(static_cast<int>(0xffff8123u)), 0x8123);
    EXPECT_EQ(d->getARGBColor(0x80123456), 0x80123456);

    // An entry may refer to one written earlier; writing past the end fills gaps with Transparent.
    int first[] = {0x111111, 0x222222};
    d->setColorTable(first, 2, 0);
    int later[] = {ref(1)};
    d->setColorTable(later, 1, 4);
    EXPECT_EQ(d->getARGBColor(ref(4)), 0x222222);
    EXPECT_EQ(d->getARGBColor(ref(3)), Chart::Transparent);

    EXPECT_TRUE(d->isOpaque(0x123456));
    EXPECT_FALSE(d->isOpaque(0x01123456));
    EXPECT_TRUE(d->isDynamic(ref(2)));
    EXPECT_FALSE(d->isDynamic(Chart::Transparent));
}

TEST(DrawAreaColor, BrightnessAdjustment) {
    EXPECT_EQ(DrawArea::rawColorAdjustBrightness(0x00808080, 2048), 0x00c0c0c0);
    EXPECT_EQ(DrawArea::rawColorAdjustBrightness(0x40808080, 512), 0x40404040);
    EXPECT_EQ(DrawArea::rawColorAdjustBrightness(0xff123456, 512), Chart::Transparent);
    EXPECT_EQ(DrawArea::rawColorAdjustBrightness(0x20123456, -5), 0x20000000);

    auto d = newArea();
    EXPECT_EQ(d->adjustBrightness(0x00808080, 2.0), 0x00c0c0c0);
    EXPECT_EQ(d->adjustBrightness(0x00808080, 1.0), 0x00808080);
    EXPECT_EQ(d->halfColor(0x00808080), 0x00404040);

    // A brush can only be adjusted by another brush, made once per colour and factor.
    int dash = d->dashLineColor(0xff0000, Chart::DashLine);
    int darker = d->adjustBrightness(dash, 0.5);
    EXPECT_TRUE(d->isDynamic(darker));
    EXPECT_NE(darker, dash);
    EXPECT_EQ(d->adjustBrightness(dash, 0.5), darker);
    EXPECT_NE(d->adjustBrightness(dash, 0.6), darker);
    EXPECT_EQ(d->adjustBrightness(static_cast<int>(0xfffe0100u), 0.5), Chart::Transparent);
}

TEST(DrawAreaColor, FactoryChecks) {
    auto d = newArea();
    EXPECT_EQ(d->gradientColor(0, 0, 10, 10, 0x123456, 0x123456), 0x123456);
    EXPECT_EQ(d->dashLineColor(0x123456, 0), 0x123456);
    EXPECT_EQ(d->dashLineColor(Chart::Transparent, Chart::DashLine), Chart::Transparent);
    EXPECT_EQ(d->patternColor(IntArray(), 3), Chart::Transparent);
    int pixels[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(d->patternColor(pixels, 6, 0), Chart::Transparent);
    int twoStops[2] = {0, 0xff0000};
    EXPECT_EQ(d->preciseLinearGradientColor(0, 0, 1, 1, IntArray(twoStops, 2)), Chart::Transparent);
    EXPECT_EQ(d->gradientColor(IntArray(twoStops, 2)), Chart::Transparent);
    int stops[4] = {0, 0xff0000, 256, 0x0000ff};
    EXPECT_EQ(d->angleGradientColor(10, 10, 30, 30, 1, 1, IntArray(stops, 4)), 0xff0000);

    // Patterns: width is length / height; a height above the length makes a one-pixel column.
    auto widthAndHeight = [&](int length, int height) {
        auto a = newArea();
        a->line(0, 0, 5, 5, a->patternColor(pixels, length, height), 1);
        std::smatch m;
        std::string text = drawtest::dump(a.get());
        std::regex_search(text, m, std::regex("PatternColor\\(0x[0-9a-f]+, (\\d+, \\d+)"));
        return m[1].str();
    };
    EXPECT_EQ(widthAndHeight(3, 4), "1, 3");
    EXPECT_EQ(widthAndHeight(6, 4), "1, 4");
    EXPECT_EQ(widthAndHeight(6, 2), "3, 2");
}

TEST(DrawAreaColor, DynamicColoursAreAStack) {
    auto d = newArea();
    int a = d->dynamicColor();
    int b = d->dynamicColor();
    EXPECT_EQ(static_cast<uint32_t>(a), 0xfffe0000u);
    EXPECT_EQ(static_cast<uint32_t>(b), 0xfffe0001u);
    d->freeColor(a);  // not the newest: ignored
    EXPECT_EQ(static_cast<uint32_t>(d->dynamicColor()), 0xfffe0002u);
    d->freeColor(static_cast<int>(0xfffe0002u));
    d->freeColor(b);
    EXPECT_EQ(static_cast<uint32_t>(d->dynamicColor()), 0xfffe0001u);
}

TEST(DrawAreaColor, MetalColoursResolveOnceIntoCachedBrushes) {
    auto d = newArea();
    d->setColorTable(Chart::defaultPalette, -1, 0);
    int request = static_cast<int>(0xff84f808u);  // texture 1, angle 0, palette entry 8
    int id = d->getARGBColor(request);
    EXPECT_EQ(static_cast<uint32_t>(id) >> 16, 0xfffeu);
    EXPECT_EQ(d->getARGBColor(request), id);
    d->rect(0, 0, 10, 10, Chart::Transparent, request);
    std::string text = drawtest::dump(d.get());
    // A brushed texture of width 24 over a lighting of data colour 0 (0xff3333), defined before use.
    EXPECT_NE(text.find("BrushedTextureColor(0xfffe0001, 0xfffe0000, 24)"), std::string::npos) << text;
    size_t lighting = text.find("RelativeLinearGradientColor(0xfffe0000, 0, 0.5, 1, 0.5, false, [0x000000, 0xff3333");
    EXPECT_NE(lighting, std::string::npos) << text;
    EXPECT_LT(lighting, text.find("BrushedTextureColor"));
    EXPECT_LT(text.find("BrushedTextureColor"), text.find("RoundedRect"));

    // A literal metal colour keeps nibble precision; full transparency is Transparent.
    EXPECT_EQ(Chart::metalColor(0xf8123456), Chart::Transparent);
    EXPECT_EQ(d->getARGBColor(Chart::Transparent), Chart::Transparent);
}

TEST(DrawAreaColor, LightingBackgroundShadesAcrossTheSurface) {
    auto d = newArea(60, 90);
    d->setBgColor(Chart::silverColor());
    // The metal lighting runs top to bottom: the edge is darker than the middle, and it is
    // symmetric rather than one flat colour.
    int edge = d->getPixel(30, 0) & 0xff, middle = d->getPixel(30, 45) & 0xff;
    EXPECT_LT(edge + 10, middle);
    EXPECT_NEAR(d->getPixel(30, 2) & 0xff, d->getPixel(30, 87) & 0xff, 3);
}

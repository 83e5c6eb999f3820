#include <plotvane/chart.h>
#include <plotvane/drawarea.h>

#include <gtest/gtest.h>

#include <string>

#include "drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using drawtest::countRecords;
using plotvane_test::newArea;

namespace {

int brightness(uint32_t c) { return static_cast<int>(((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255)); }

uint32_t pixel(DrawArea* d, int x, int y) { return static_cast<uint32_t>(d->getPixel(x, y)); }

// Every look on one sheet: two rows of boxes, square and rounded.
plotvane_test::AreaPtr effectSheet() {
    auto d = newArea(330, 130, 0xeeeeee);
    const int effects[] = {Chart::glassEffect(),
                           Chart::glassEffect(Chart::ReducedGlare, Chart::Left, 2),
                           Chart::softLighting(Chart::Top, 4),
                           Chart::flatBorder(5),
                           Chart::cylinderEffect(),
                           Chart::phongLighting()};
    for (int k = 0; k < 6; ++k) {
        int x = 10 + 53 * k;
        d->rect(x, 10, x + 44, 55, 0x000000, 0x3366cc, effects[k]);
        d->roundedRect(x, 70, x + 44, 120, 12, 12, 12, 12, 0x000000, 0xcc3333, effects[k]);
    }
    return d;
}

}  // namespace

TEST(BoxEffects, GoldenSheet) {
    auto d = effectSheet();
    MemBlock png = d->outPNG();
    EXPECT_TRUE(plotvane_test::matchesGoldenPNG("draw", "box_effects.png",
                                                std::string(png.data, static_cast<size_t>(png.len)), 6));
}

TEST(BoxEffects, LooksOfEachCode) {
    // Glass: the glare makes the top band lighter than the body below it.
    auto glass = newArea(60, 60);
    glass->rect(5, 5, 54, 54, Chart::Transparent, 0x3366cc, Chart::glassEffect(Chart::NormalGlare, Chart::Top, 0));
    EXPECT_GT(brightness(pixel(glass.get(), 30, 10)), brightness(pixel(glass.get(), 30, 45)) + 60);
    // The same glare on the right side lightens the right instead.
    auto right = newArea(60, 60);
    right->rect(5, 5, 54, 54, Chart::Transparent, 0x3366cc, Chart::glassEffect(Chart::NormalGlare, Chart::Right, 0));
    EXPECT_GT(brightness(pixel(right.get(), 50, 30)), brightness(pixel(right.get(), 10, 30)) + 60);

    // Soft light from the bottom: brighter at the bottom.
    auto soft = newArea(60, 60);
    soft->rect(0, 0, 59, 59, Chart::Transparent, 0x808080, Chart::softLighting(Chart::Bottom, 0));
    EXPECT_GT(brightness(pixel(soft.get(), 30, 57)), brightness(pixel(soft.get(), 30, 2)) + 100);

    // A flat border is the edge colour, as thick as coded, around the fill.
    auto flat = newArea(40, 40);
    flat->rect(0, 0, 39, 39, 0x000000, 0xff0000, Chart::flatBorder(4));
    EXPECT_EQ(pixel(flat.get(), 3, 20), 0x000000u);
    EXPECT_EQ(pixel(flat.get(), 5, 20), 0xff0000u);
    EXPECT_EQ(pixel(flat.get(), 20, 37), 0x000000u);

    // A cylinder's highlight sits left of the middle of an upright box and brightens past the fill.
    auto cyl = newArea(100, 200);
    cyl->rect(0, 0, 99, 199, Chart::Transparent, 0x806040, Chart::cylinderEffect());
    int best = 0;
    for (int x = 0; x < 98; ++x)
        if (brightness(pixel(cyl.get(), x, 100)) > brightness(pixel(cyl.get(), best, 100))) best = x;
    EXPECT_LT(best, 50);
    EXPECT_GT(brightness(pixel(cyl.get(), best, 100)), brightness(0x806040));

    // Bar lighting across a wide box runs top to bottom.
    auto bar = newArea(100, 20);
    bar->rect(0, 0, 99, 19, Chart::Transparent, 0x808080, Chart::barLighting(0.5, 1.5));
    EXPECT_LT(brightness(pixel(bar.get(), 50, 0)), brightness(pixel(bar.get(), 50, 19)));
}

TEST(BoxEffects, EdgeCasesAndVectorOutput) {
    // With no fill there is no body to light: just the outline, nothing else recorded.
    auto outline = newArea(50, 50);
    outline->rect(5, 5, 40, 40, 0x000000, Chart::Transparent, Chart::glassEffect());
    EXPECT_EQ(countRecords(outline.get(), "RoundedRect"), 1);
    EXPECT_EQ(countRecords(outline.get(), "LinearGradientColor"), 0);
    // Tiny, inverted and huge boxes paint without trouble.
    auto d = newArea(50, 50);
    for (int effect : {Chart::glassEffect(), Chart::softLighting(), Chart::flatBorder(4095), Chart::cylinderEffect(),
                       Chart::phongLighting(), 4095, -4095})
    {
        d->rect(10, 10, 10, 10, 0x000000, 0x3366cc, effect);
        d->roundedRect(40, 40, 20, 20, 30, 30, 30, 30, 0x000000, 0x3366cc, effect);
        d->rect(-100000, -100000, 100000, 100000, Chart::Transparent, 0x80ffffff, effect);
    }
    EXPECT_NE(d->getPixels(), nullptr);

    // Vector output paints the same looks with gradients.
    auto sheet = effectSheet();
    MemBlock svg = sheet->outSVG();
    std::string text(svg.data, static_cast<size_t>(svg.len));
    EXPECT_NE(text.find("<linearGradient"), std::string::npos);
    EXPECT_NE(text.find("<radialGradient"), std::string::npos);
    MemBlock pdf = sheet->outPDF();
    std::string doc(pdf.data, static_cast<size_t>(pdf.len));
    EXPECT_NE(doc.find("/ShadingType"), std::string::npos);
}

#include <plotvane/drawarea.h>
#include <plotvane/ttftext.h>

#include <gtest/gtest.h>

#include <string>

#include "support/areaptr.h"

using namespace plotvane;

namespace {

// Draws one 21-pixel markup symbol at the top left of a white area; returns the area.
plotvane_test::AreaPtr symbolArea(const std::string& spec) {
    auto d = plotvane_test::newArea(40, 40);
    const std::string markup = "<*img=" + spec + ",size=21,color=000000*>";
    TTFText* t = d->text(markup.c_str(), "", 10);
    t->draw(0, 0, 0x000000, 7);
    t->destroy();
    return d;
}

// Darkness summed over the area, in pixels' worth of black.
double ink(DrawArea* d) {
    double sum = 0;
    for (int y = 0; y < d->getHeight(); ++y)
        for (int x = 0; x < d->getWidth(); ++x) sum += (255 - (d->getPixel(x, y) & 0xff)) / 255.0;
    return sum;
}

}  // namespace

TEST(MarkupSymbol, ParametersShapeTheSymbol) {
    // A cross's arm width is a fraction of the size; a bare cross has arms of half the size.
    const double thin = ink(symbolArea("@cross(0.2)").get()), plain = ink(symbolArea("@cross").get());
    const double thick = ink(symbolArea("@cross(0.8)").get());
    EXPECT_LT(thin, plain);
    EXPECT_LT(plain, thick);
    EXPECT_LT(ink(symbolArea("@cross2 0.2").get()), ink(symbolArea("@cross2").get()));

    // A square's parameter rounds its corners; the middle of each side stays.
    auto square = symbolArea("@square"), rounded = symbolArea("@square(1)");
    EXPECT_EQ(square->getPixel(1, 1), 0x000000);
    EXPECT_EQ(rounded->getPixel(1, 1), 0xffffff);
    EXPECT_EQ(rounded->getPixel(10, 1), 0x000000);
    EXPECT_LT(ink(rounded.get()), ink(square.get()));

    // Side counts: six points are not five.
    EXPECT_NE(ink(symbolArea("@star(6)").get()), ink(symbolArea("@star").get()));
}

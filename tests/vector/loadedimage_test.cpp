#include <plotvane/chart.h>
#include <plotvane/drawarea.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/areaptr.h"

using namespace plotvane;
using plotvane_test::newArea;

namespace {

std::string text(MemBlock m) { return std::string(m.data ? m.data : "", static_cast<size_t>(m.len > 0 ? m.len : 0)); }

}  // namespace

// A picture loaded into a one-pixel sub drawing (how chart backgrounds and wallpapers are made)
// takes the picture's size, so the vector documents show all of it, not its corner pixel.
TEST(VectorLoadedImage, SymbolTakesThePicturesSize) {
    const std::string path = ::testing::TempDir() + "plotvane_loaded_40x30.png";
    {
        auto picture = newArea(40, 30);
        picture->line(0, 29, 39, 0, 0x0000ff, 3);
        ASSERT_TRUE(picture->outPNG(path.c_str()));
    }
    auto d = newArea(100, 60);
    DrawArea* tile = d->subDrawArea(1, 1);
    ASSERT_TRUE(tile->load(path.c_str()));
    d->tile(tile, 0);
    tile->destroy();
    std::remove(path.c_str());

    const std::string svg = text(d->outSVG());
    EXPECT_NE(svg.find("<symbol id='g"), std::string::npos) << svg.substr(0, 400);
    EXPECT_NE(svg.find("viewBox='0 0 40 30'"), std::string::npos);
    EXPECT_EQ(svg.find("viewBox='0 0 1 1'"), std::string::npos);
    const std::string pdf = text(d->outPDF());
    EXPECT_NE(pdf.find("/BBox[0 0 40 30]"), std::string::npos);
}

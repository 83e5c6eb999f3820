// One picture through the whole raster path: a drawing that uses most primitive and brush
// families, plus a loaded image, compared with a committed golden PNG. It holds no text, so font
// updates do not churn it; the slack only covers rounding differences between compilers.
#include <plotvane/chart.h>
#include <plotvane/drawarea.h>
#include <plotvane/ostrstream.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/golden.h"

using namespace plotvane;

namespace {

// A 16x16 picture written as a PNG file, to be loaded back into a symbol.
std::string writeTestImage() {
    std::vector<uint32_t> pixels(256);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels[static_cast<size_t>(y * 16 + x)] = (x / 4 + y / 4) % 2 ? 0x00cc2222u : 0x00ffffffu;
    vek::ostrstream out;
    EXPECT_TRUE(DrawArea::encodePNG(out, pixels.data(), 16, 16));
    std::string path = ::testing::TempDir() + "plotvane_demo_image.png";
    plotvane_test::writeFile(path, std::string(out.data(), static_cast<size_t>(out.tell())));
    return path;
}

void drawDemonstration(DrawArea* d, const std::string& imagePath) {
    d->setSize(320, 240, 0xf8f8f8);
    for (int w = 1; w <= 5; ++w) d->line(10, 8 + 8 * w, 150, 14 + 8 * w, 0x203060, w);
    d->line(10, 70, 150, 70, d->dashLineColor(0xcc0000, Chart::DashLine), 2);
    d->line(10, 78, 150, 78, d->dashLineColor(0x008800, Chart::DotDashLine), 1);

    double px[] = {170, 230, 250, 190}, py[] = {15, 10, 60, 75};
    d->polygon(DoubleArray(px, 4), DoubleArray(py, 4), 0x000000,
               d->linearGradientColor(170, 10, 250, 75, 0xffcc00, 0xff4400));
    d->rect(260, 10, 310, 40, 0x000000, Chart::metalColor(0x88aacc));
    d->rect(260, 45, 310, 75, 0x000000, Chart::goldColor());

    d->sector(50, 140, 40, 40, 0, 100, 0xffffff, 0x3377bb);
    d->sector(50, 140, 40, 40, 100, 250, 0xffffff, 0xdd4444);
    d->ring(140, 140, 40, 40, 20, 20, 0x000000, d->radialGradientColor(140, 140, 40, 40, 0xffffff, 0x2266aa));
    d->circle(225, 140, 35, 25, 0x000000, 0x66cc99);

    const int checker[4] = {0x000000, 0xffffff, 0xffffff, 0x000000};
    d->rect(270, 110, 310, 170, 0x000000, d->patternColor(IntArray(checker, 4), 2));

    d->gouraudShading(20, 230, 0.5, 120, 230, 1.0, 70, 190, 1.6, 0x2266aa);
    d->commitAllSuperPixels();

    DrawArea* symbol = DrawArea::create();
    symbol->setSize(16, 16, Chart::Transparent);
    symbol->circle(8, 8, 7, 7, 0x000000, 0xffcc00);
    for (int k = 0; k < 4; ++k) d->merge(symbol, 150 + 22 * k, 210, Chart::Center, k * 60);
    symbol->destroy();

    DrawArea* image = DrawArea::create();
    ASSERT_TRUE(image->load(imagePath.c_str()));
    d->merge(image, 290, 210, Chart::Center, 0);
    image->destroy();
}

}  // namespace

TEST(DemoGolden, RasterPictureMatchesReference) {
    std::string imagePath = writeTestImage();
    DrawArea* d = DrawArea::create();
    drawDemonstration(d, imagePath);
    MemBlock png = d->outPNG();
    std::string bytes(png.data, static_cast<size_t>(png.len));
    d->destroy();
    std::remove(imagePath.c_str());
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(plotvane_test::matchesGoldenPNG("draw", "demonstration.png", bytes, 2));
}

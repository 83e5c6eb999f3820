// The SVG and PDF writers describe the same drawing in two languages; rasterised by independent
// renderers (librsvg, poppler) they must give nearly the same picture. Differences are limited to
// anti-aliasing and font hinting: the mean absolute channel difference stays below 3 and no 8x8
// block differs by more than 64 on average.
// TODO once the raster back-end lands: compare both with the drawing's own PNG as well.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "vector/drawpdf_p.h"
#include "vector/drawsvg_p.h"
#include "vectortest.h"

using namespace plotvane;
using namespace vectortest;

TEST(VectorAgreement, SVGAndPDFRasterAlike) {
    if (!haveTool("rsvg-convert") || !haveTool("pdftoppm")) GTEST_SKIP() << "rsvg-convert or pdftoppm missing";
    FakeFace face(13);
    std::unique_ptr<DrawSVG> svg(DrawSVG::create(options()));
    std::unique_ptr<DrawPDF> pdf(DrawPDF::create(options()));
    drawScene(*svg, face);
    drawScene(*pdf, face);
    vek::ostrstream svgOut, pdfOut;
    ASSERT_TRUE(svg->finish(svgOut));
    ASSERT_TRUE(pdf->finish(pdfOut));
    std::string svgPath = tempPath("agree.svg"), pdfPath = tempPath("agree.pdf");
    std::string svgPNG = tempPath("agree_svg.png"), pdfBase = tempPath("agree_pdf");
    plotvane_test::writeFile(svgPath, std::string(svgOut.data(), static_cast<size_t>(svgOut.tell())));
    plotvane_test::writeFile(pdfPath, std::string(pdfOut.data(), static_cast<size_t>(pdfOut.tell())));
    std::string log;
    ASSERT_EQ(run("rsvg-convert -f png -o " + svgPNG + " " + svgPath, &log), 0) << log;
    // 0.75 point per pixel at 96 dpi gives one device pixel per drawing pixel.
    ASSERT_EQ(run("pdftoppm -r 96 -png -singlefile " + pdfPath + " " + pdfBase, &log), 0) << log;
    Raster a = readPNG(svgPNG), b = readPNG(pdfBase + ".png");
    for (const std::string& p : {svgPath, pdfPath, svgPNG, pdfBase + ".png"}) std::remove(p.c_str());
    ASSERT_EQ(a.width, 600);
    ASSERT_EQ(a.height, 400);
    ASSERT_EQ(b.width, a.width);
    ASSERT_EQ(b.height, a.height);

    double total = 0, worstBlock = 0;
    for (int by = 0; by < a.height; by += 8)
        for (int bx = 0; bx < a.width; bx += 8) {
            double block = 0;
            int n = 0;
            for (int y = by; y < std::min(by + 8, a.height); ++y)
                for (int x = bx; x < std::min(bx + 8, a.width); ++x)
                    for (int c = 0; c < 3; ++c, ++n) {
                        size_t i = (static_cast<size_t>(y) * static_cast<size_t>(a.width) + static_cast<size_t>(x)) * 4 +
                                   static_cast<size_t>(c);
                        block += std::abs(int(a.rgba[i]) - int(b.rgba[i]));
                    }
            total += block;
            worstBlock = std::max(worstBlock, block / n);
        }
    double mean = total / (double(a.width) * a.height * 3);
    EXPECT_LT(mean, 3.0);
    EXPECT_LE(worstBlock, 64.0);
    RecordProperty("meanDifference", std::to_string(mean));
    RecordProperty("worstBlock", std::to_string(worstBlock));
    std::printf("mean channel difference %.3f, worst 8x8 block %.1f\n", mean, worstBlock);
}

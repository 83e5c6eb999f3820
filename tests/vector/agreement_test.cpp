// The SVG and PDF writers describe the same drawing in two languages; rasterised by independent
// renderers (librsvg, poppler) they must give nearly the same picture as each other and as our own
// raster back-end. Differences are limited to anti-aliasing and font hinting: the mean absolute
// channel difference stays below 3 and no 8x8 block differs by more than 64 on average. Against our
// raster the block limit is 80: our glyphs are hinted by FreeType, whose stems may sit a pixel
// away from the unhinted outlines of the other renderers.
#include <plotvane/drawarea.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "vector/drawpdf_p.h"
#include "vector/drawsvg_p.h"
#include "vectortest.h"

using namespace plotvane;
using namespace vectortest;

namespace {

// A chart-like drawing through the public surface: lines of several widths, a dash line, filled
// shapes, a gradient and text, upright and turned both ways.
void drawChartLike(DrawArea* d) {
    d->setSize(400, 300, 0xffffff);
    // Grey anti-aliased text, as the other renderers draw it (sub-pixel colour fringes would differ).
    d->setAntiAlias(true, Chart::AntiAlias);
    d->rect(40, 30, 380, 260, 0x000000, 0xf4f4f4);
    for (int k = 0; k < 5; ++k) d->line(40, 60 + 40 * k, 380, 60 + 40 * k, 0xcccccc, 1);
    d->line(40, 250, 380, 90, 0x0044aa, 3);
    d->line(40, 200, 380, 230, d->dashLineColor(0xaa0000, Chart::DashLine), 2);
    double xs[] = {60, 120, 100}, ys[] = {240, 240, 150};
    d->polygon(DoubleArray(xs, 3), DoubleArray(ys, 3), 0x226622, 0x66cc66);
    d->circle(300, 120, 40, 40, 0x333333, d->linearGradientColor(260, 0, 340, 0, 0xff8800, 0xffee88));
    d->sector(200, 150, 50, 50, 0, 120, 0x000000, 0x8866cc);
    d->text("Quarterly figures", "arial.ttf", 0, 14, 14, 0, false, 210, 6, 0x000000, Chart::TopCenter);
    d->text("Sales 2024", "arial.ttf", 0, 10, 10, 0, false, 45, 270, 0x333333, Chart::TopLeft);
    d->text("Units sold", "arial.ttf", 0, 11, 11, 90, false, 22, 145, 0x000066, Chart::Center);
    d->text("Target", "arial.ttf", 0, 11, 11, 270, false, 392, 145, 0x660000, Chart::Center);
}

}  // namespace

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

    Difference d = compare(a, b);
    EXPECT_LT(d.mean, 3.0);
    EXPECT_LE(d.worstBlock, 64.0);
    RecordProperty("meanDifference", std::to_string(d.mean));
    RecordProperty("worstBlock", std::to_string(d.worstBlock));
    std::printf("mean channel difference %.3f, worst 8x8 block %.1f\n", d.mean, d.worstBlock);
}

TEST(VectorAgreement, SVGAndPDFMatchOurRaster) {
    if (!haveTool("rsvg-convert") || !haveTool("pdftoppm")) GTEST_SKIP() << "rsvg-convert or pdftoppm missing";
    DrawArea* d = DrawArea::create();
    drawChartLike(d);
    ThreeWays r = renderThreeWays(d, "own");
    d->destroy();
    ASSERT_TRUE(r.ok) << r.log;
    ASSERT_EQ(r.own.width, 400);
    for (const Raster* other : {&r.fromSVG, &r.fromPDF}) {
        ASSERT_EQ(other->width, r.own.width);
        ASSERT_EQ(other->height, r.own.height);
        Difference diff = compare(r.own, *other);
        EXPECT_LT(diff.mean, 3.0);
        EXPECT_LE(diff.worstBlock, 80.0);
        std::printf("against our raster: mean %.3f, worst 8x8 block %.1f at (%d, %d)\n", diff.mean, diff.worstBlock,
                    diff.worstX, diff.worstY);
    }
}

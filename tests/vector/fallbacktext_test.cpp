#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <string>

#include "text/fontconfiglookup_p.h"
#include "vector/vectortest.h"

using namespace plotvane;

namespace {

// The font-family of the SVG text element that holds `text`.
std::string familyOf(const std::string& svg, const std::string& text) {
    size_t at = svg.find(">" + text);
    if (at == std::string::npos) return "";
    size_t family = svg.rfind("font-family:", at);
    if (family == std::string::npos) return "";
    return svg.substr(family, svg.find(';', family) - family);
}

}  // namespace

TEST(FallbackText, SVGNamesTheFontEachCharacterCameFrom) {
    FontConfigLookup probe;
    if (probe.findCovering(0x4e2d, 0).path.empty()) GTEST_SKIP() << "no installed font has CJK characters";
    Owned<XYChart> c(XYChart::create(400, 60));
    c->enableVectorOutput();
    c->addTitle("Latin 中文", "arial.ttf", 14);
    c->setPlotArea(10, 40, 380, 10);
    MemBlock m = c->makeChart(Chart::SVG);
    std::string svg(m.data, static_cast<size_t>(m.len));
    std::string latin = familyOf(svg, "Latin "), cjk = familyOf(svg, "中文");
    ASSERT_FALSE(latin.empty()) << svg;
    ASSERT_FALSE(cjk.empty()) << svg;
    EXPECT_NE(latin, cjk);
}

TEST(FallbackText, PDFShowsCharactersOfFontsItCannotEmbed) {
    FontConfigLookup probe;
    if (probe.findCovering(0x4e2d, 0).path.empty()) GTEST_SKIP() << "no installed font has CJK characters";
    if (!vectortest::haveTool("pdftoppm") || !vectortest::haveTool("rsvg-convert")) GTEST_SKIP() << "no pdftoppm";
    // Large glyphs on their own, so that the CJK area compares as shapes and not as a few pixels.
    Owned<XYChart> c(XYChart::create(360, 70));
    c->enableVectorOutput();
    c->addText(10, 10, "Ab 中文 عربي", "arial.ttf", 30);
    c->setPlotArea(10, 68, 340, 1, Chart::Transparent, -1, Chart::Transparent, Chart::Transparent);
    vectortest::ThreeWays r = vectortest::renderThreeWays(c->makeChart(), "fallback_pdf");
    ASSERT_TRUE(r.ok) << r.log;
    ASSERT_EQ(r.fromPDF.width, r.own.width);
    ASSERT_EQ(r.fromPDF.height, r.own.height);
    // A "?" in place of each CJK character has a fifth less ink than the picture, and shows.
    auto ink = [](const vectortest::Raster& picture) {
        double sum = 0;
        for (size_t i = 0; i < picture.rgba.size(); i += 4) sum += 255 - picture.rgba[i + 1];
        return sum / 255;
    };
    EXPECT_NEAR(ink(r.fromPDF) / ink(r.own), 1, 0.08);
    EXPECT_LT(vectortest::compare(r.own, r.fromPDF).mean, 5);
}

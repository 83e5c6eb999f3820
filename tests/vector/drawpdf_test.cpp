#include "vector/drawpdf_p.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <string>

#include "vector/pdffont_p.h"
#include "vectortest.h"

using namespace plotvane;
using namespace vectortest;

namespace {

std::string writePDF(const VectorOptions& o, const std::function<void(DrawBackend&)>& draw) {
    std::unique_ptr<DrawPDF> pdf(DrawPDF::create(o));
    draw(*pdf);
    vek::ostrstream out;
    EXPECT_TRUE(pdf->finish(out));
    return std::string(out.data(), static_cast<size_t>(out.tell()));
}

// qpdf finds no damage; returns the qpdf --qdf form (streams inflated) for inspection, or "" when
// the tools are missing.
std::string checkAndExpand(const std::string& pdf, const std::string& name) {
    if (!haveTool("qpdf")) return "";
    std::string path = tempPath(name + ".pdf"), qdf = tempPath(name + ".qdf"), log;
    plotvane_test::writeFile(path, pdf);
    EXPECT_EQ(run("qpdf --check " + path, &log), 0) << log;
    EXPECT_EQ(log.find("WARNING"), std::string::npos) << log;
    EXPECT_EQ(run("qpdf --qdf --object-streams=disable " + path + " " + qdf, &log), 0) << log;
    std::string expanded = plotvane_test::readFile(qdf);
    std::remove(path.c_str());
    std::remove(qdf.c_str());
    return expanded;
}

}  // namespace

TEST(DrawPDF, PageGeometryFollowsOptions) {
    auto square = [](DrawBackend& d) {
        d.setSize(600, 400, 0xffffff);
        d.roundedRect(10, 10, 100, 100, 0, 0x000000, 0xff0000);
    };
    std::string pdf = writePDF(options(), square);
    EXPECT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
    EXPECT_EQ(pdf.substr(pdf.size() - 6), "\n%%EOF");
    EXPECT_NE(pdf.find("/MediaBox[0 0 450 300]"), std::string::npos);  // 0.75 point per pixel
    EXPECT_NE(pdf.find("/CreationDate(D:2023111"), std::string::npos);  // the fixed clock, local time
    EXPECT_NE(pdf.find("/Creator(Plotvane)"), std::string::npos);
    EXPECT_EQ(pdf.find("/Font"), std::string::npos);  // no text, no fonts

    std::string page = writePDF(options({{"dpi", "72"}, {"width", "300"}, {"pagewidth", "400"}, {"pageheight", "500"},
                                          {"topy", "-10"}}),
                                square);
    EXPECT_NE(page.find("/MediaBox[0 0 400 500]"), std::string::npos);
    // Half size across, centred across; 10 pixels above the page top.
    std::string expanded = checkAndExpand(page, "geometry");
    if (!expanded.empty()) {
        EXPECT_NE(expanded.find("0.5 0 0 1 50 110 cm /X"), std::string::npos) << expanded;
    }
    std::string bad = writePDF(options({{"dpi", "-3"}, {"width", "abc"}}), square);
    EXPECT_NE(bad.find("/MediaBox[0 0 450 300]"), std::string::npos);  // both fall back to their defaults
    EXPECT_EQ(writePDF(options(), square), pdf);
    checkAndExpand(pdf, "square");
}

TEST(DrawPDF, ObjectsAndCrossReferencesAgree) {
    std::string pdf = writePDF(options(), [](DrawBackend& d) { d.setSize(20, 20, Chart::Transparent); });
    // Every xref entry points at its "n 0 obj" line.
    size_t xref = pdf.find("xref\n0 ");
    ASSERT_NE(xref, std::string::npos);
    int count = std::atoi(pdf.c_str() + xref + 7);
    size_t entry = pdf.find('\n', xref + 5) + 1;
    for (int num = 0; num < count; ++num, entry += 20) {
        std::string e = pdf.substr(entry, 20);
        if (e[17] == 'f') continue;
        size_t offset = std::stoul(e.substr(0, 10));
        EXPECT_EQ(pdf.compare(offset, std::to_string(num).size() + 6, std::to_string(num) + " 0 obj"), 0) << num;
    }
    EXPECT_NE(pdf.find("startxref\n" + std::to_string(xref) + "\n%%EOF"), std::string::npos);
    // A tiny content stream stays uncompressed; a long one is deflated.
    EXPECT_NE(pdf.find("<</Length 27>>\nstream\n0.75 0 0 0.75 0 0 cm /X"), std::string::npos) << pdf;
    std::string big = writePDF(options(), [](DrawBackend& d) {
        d.setSize(20, 20, Chart::Transparent);
        for (int i = 0; i < 20; ++i) d.line(0, i, 19, i, 0x102030, 1);
    });
    EXPECT_NE(big.find("/Filter/FlateDecode/Length"), std::string::npos);
}

TEST(DrawPDF, PaintOperators) {
    std::string pdf = writePDF(options(), [](DrawBackend& d) {
        d.setSize(100, 100, Chart::Transparent);
        const int g = static_cast<int>(0xfffe0000u), dash = g + 1, zone = g + 2, tile = g + 3;
        d.line(0, 10, 99, 10, static_cast<int>(0x80ff0000u), 3);
        d.dashLineColor(dash, 0x0000ff, 0x04020000);
        d.line(0, 20, 99, 20, dash, 1);
        d.radialGradientColor(g, 50, 50, 40, 20, true, {0, 0xffffff, 256, 0x000000});
        d.roundedRect(10, 10, 90, 90, 8, Chart::Transparent, g);
        d.zoneColor(zone, true, 50, 0xff0000, 0x0000ff);
        double x[3] = {10, 90, 50}, y[3] = {10, 10, 90};
        d.polygon(x, y, 3, Chart::Transparent, zone);
        d.patternColor(tile, 2, 2, 0, 0, {0xff0000, 0x00ff00, 0x0000ff, 0x7f000000});
        d.roundedRect(0, 0, 20, 20, 0, Chart::Transparent, tile);
        d.setClipRect(10, 10, 49, 49);
        d.line(0, 0, 99, 99, 0x000000, 1);
    });
    EXPECT_NE(pdf.find("/CA 0.498"), std::string::npos);
    EXPECT_NE(pdf.find("/ShadingType 3"), std::string::npos);
    EXPECT_NE(pdf.find("/PatternType 1/PaintType 1/TilingType 2"), std::string::npos);
    EXPECT_NE(pdf.find("/SMask"), std::string::npos);  // the tile's transparent pixel
    std::string expanded = checkAndExpand(pdf, "paint");
    if (expanded.empty()) GTEST_SKIP() << "qpdf missing";
    EXPECT_NE(expanded.find("q 1 0 0 RG /G"), std::string::npos);
    EXPECT_NE(expanded.find("gs 3 w 0.5 89.5 m 99.5 89.5 l S Q"), std::string::npos) << expanded;
    EXPECT_NE(expanded.find("q 0 0 1 RG 0 J [4 2 ] 0 d 0.5 79.5 m 99.5 79.5 l S Q"), std::string::npos);
    EXPECT_NE(expanded.find("/Pattern cs /P"), std::string::npos);
    EXPECT_NE(expanded.find(" re W n 1 0 0 rg"), std::string::npos);
    EXPECT_NE(expanded.find(" re W n 0 0 1 rg"), std::string::npos);
    EXPECT_NE(expanded.find("q 10 50 40 40 re W n"), std::string::npos);
}

TEST(DrawPDF, TextEmbedsASubsetAndStaysSearchable) {
    FakeFace face(14);
    FakeFace missing(14, "/nonexistent/font.ttf", "Courier New", true, false);
    std::string pdf = writePDF(options(), [&](DrawBackend& d) {
        d.setSize(300, 80, 0xffffff);
        drawText(d, face, U"Sales \u00e9t\u00e9 \u20ac5", 10, 10, 0x000000);
        drawText(d, face, U"Sales", 10, 40, 0x800000);
        drawText(d, missing, U"Mono", 150, 40, 0x000000);
    });
    EXPECT_EQ(mapFontName("Courier New", true, false), "Courier-Bold");
    EXPECT_EQ(mapFontName("TIMES", false, false), "Times-Roman");
    EXPECT_EQ(mapFontName("Arial", true, true), "Helvetica-BoldOblique");
    EXPECT_EQ(mapFontName("Zapf Dingbats", false, false), "ZapfDingbats");
    EXPECT_EQ(mapFontName("whatever", false, true), "Helvetica-Oblique");
    EXPECT_NE(pdf.find("/BaseFont/Courier-Bold/Encoding/WinAnsiEncoding"), std::string::npos);
    EXPECT_NE(pdf.find("/Subtype/CIDFontType2"), std::string::npos);
    EXPECT_NE(pdf.find("/Length1 "), std::string::npos);
    checkAndExpand(pdf, "text");
    if (!haveTool("pdftotext") || !haveTool("pdffonts")) GTEST_SKIP() << "poppler-utils missing";
    std::string path = tempPath("text.pdf"), out;
    plotvane_test::writeFile(path, pdf);
    EXPECT_EQ(run("pdftotext -raw " + path + " -", &out), 0);
    EXPECT_NE(out.find("Sales \u00e9t\u00e9 \u20ac5"), std::string::npos) << out;
    EXPECT_NE(out.find("Mono"), std::string::npos);
    EXPECT_EQ(run("pdffonts " + path, &out), 0);
    EXPECT_NE(out.find("+DejaVuSans"), std::string::npos) << out;
    EXPECT_NE(out.find("CID TrueType      Identity-H       yes yes yes"), std::string::npos) << out;
    std::remove(path.c_str());
}

TEST(DrawPDF, SymbolsBecomeFormsWrittenOnce) {
    std::unique_ptr<DrawPDF> d(DrawPDF::create(options()));
    d->setSize(100, 100, Chart::Transparent);
    DrawBackend* symbol = d->createSymbol(9);
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(d->createSymbol(9), nullptr);
    symbol->setSubDrawMode();
    symbol->setSize(10, 10, Chart::Transparent);
    symbol->roundedRect(0, 0, 9, 9, 3, 0x000000, 0x00aa00);
    d->mergeSymbol(9, 0, 0, 20, 20, 0);
    d->mergeSymbol(9, 50, 50, 10, 10, 100);
    d->mergeSymbolRotated(9, 30, 70, 90);
    d->mergeSymbol(4, 0, 0, 10, 10, 0);
    vek::ostrstream out;
    ASSERT_TRUE(d->finish(out));
    std::string pdf(out.data(), static_cast<size_t>(out.tell()));
    size_t first = pdf.find("/BBox[0 0 10 10]");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(pdf.find("/BBox[0 0 10 10]", first + 1), std::string::npos);
    std::string expanded = checkAndExpand(pdf, "symbols");
    if (!expanded.empty()) {
        EXPECT_NE(expanded.find("q 2 0 0 2 0 80 cm /X"), std::string::npos) << expanded;
        EXPECT_NE(expanded.find("q 0 1 -1 0 40 30 cm /X"), std::string::npos);
    }
}

#include "vector/drawsvg_p.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <string>

#include "vectortest.h"

using namespace plotvane;
using namespace vectortest;

namespace {

std::string writeSVG(const VectorOptions& o, void (*draw)(DrawBackend&)) {
    std::unique_ptr<DrawSVG> svg(DrawSVG::create(o));
    draw(*svg);
    vek::ostrstream out;
    EXPECT_TRUE(svg->finish(out));
    return std::string(out.data(), static_cast<size_t>(out.tell()));
}

std::string sceneSVG(const VectorOptions& o) {
    static FakeFace face(13);
    std::unique_ptr<DrawSVG> svg(DrawSVG::create(o));
    drawScene(*svg, face);
    vek::ostrstream out;
    EXPECT_TRUE(svg->finish(out));
    return std::string(out.data(), static_cast<size_t>(out.tell()));
}

// Well-formed for xmllint and drawable by rsvg-convert; returns the PNG path ("" when skipped).
std::string checkWithTools(const std::string& svg, const std::string& name) {
    if (!haveTool("xmllint") || !haveTool("rsvg-convert")) return "";
    std::string path = tempPath(name + ".svg"), png = tempPath(name + ".png");
    plotvane_test::writeFile(path, svg);
    std::string log;
    EXPECT_EQ(run("xmllint --noout --nonet " + path, &log), 0) << log;
    EXPECT_EQ(run("rsvg-convert -f png -o " + png + " " + path, &log), 0) << log;
    std::remove(path.c_str());
    return png;
}

}  // namespace

TEST(DrawSVG, DocumentFrameFollowsOptions) {
    auto empty = [](DrawBackend& d) { d.setSize(200, 100, Chart::Transparent); };
    std::string plain = writeSVG(options(), empty);
    EXPECT_EQ(plain.rfind("<?xml version='1.0' encoding='UTF-8' standalone='no'?>\n<!DOCTYPE svg PUBLIC "
                          "'-//W3C//DTD SVG 20010904//EN'", 0), 0u);
    EXPECT_NE(plain.find("<svg viewBox='0 0 200 100' xmlns='http://www.w3.org/2000/svg'"), std::string::npos);
    EXPECT_EQ(plain.find("<defs>"), std::string::npos);  // nothing to define
    EXPECT_NE(plain.find("fill='none' fill-rule='evenodd' stroke-linecap='square'>"), std::string::npos);

    std::string bare = writeSVG(options({{"noxmldecl", ""}, {"nodoctype", ""}, {"width", ""}, {"height", "5cm"}}), empty);
    EXPECT_EQ(bare.rfind("<svg viewBox='0 0 200 100' width='200' height='5cm' xmlns=", 0), 0u);
    EXPECT_EQ(bare.substr(bare.size() - 12), "</g>\n</svg>\n");
}

TEST(DrawSVG, PaintsThroughUseElements) {
    std::string svg = writeSVG(options({{"noxmldecl", ""}, {"nodoctype", ""}}), [](DrawBackend& d) {
        d.setSize(100, 100, 0xffffff);
        d.line(1, 2, 30, 2, static_cast<int>(0x80ff0000u), 1);
        d.line(1, 5, 30, 5, 0x00ff0000, 0);  // zero width draws nothing
        d.line(1, 6, 30, 6, Chart::Transparent, 1);
        double x[3] = {10, 50, 10}, y[3] = {10, 10, 50};
        d.polygon(x, y, 3, 0x000000, 0x00ff00);
        d.polygon(x, y, 2, 0x000000, 0x00ff00);  // not a polygon
        d.initLineTo(0, 0);
        d.lineTo(10, 10, 0x0000ff, 2);
        d.lineTo(20, 0, 0x0000ff, 2);
        d.lineTo(30, 10, 0x00ff00, 1);  // new style, new element from the pen
        d.initLineTo();
    });
    // Half-transparent red: opacity 127/255 to four digits, on a use of the line at pixel centres.
    EXPECT_NE(svg.find("<line id='b0' x1='1.5' y1='2.5' x2='30.5' y2='2.5'/>\n"
                       "<use xlink:href='#b0' stroke='#ff0000' stroke-opacity='0.498'/>"),
              std::string::npos)
        << svg;
    EXPECT_EQ(svg.find("y1='5.5'"), std::string::npos);
    EXPECT_EQ(svg.find("y1='6.5'"), std::string::npos);
    EXPECT_NE(svg.find("<polygon id='b1' points='10.5,10.5 50.5,10.5 10.5,50.5'/>\n<use xlink:href='#b1' "
                       "fill='#00ff00'/>\n<use xlink:href='#b1' stroke='#000000'/>"),
              std::string::npos);
    EXPECT_NE(svg.find("<polyline id='b2' points='0.5,0.5 10.5,10.5 20.5,0.5'/>\n<use xlink:href='#b2' "
                       "stroke='#0000ff' stroke-width='2'/>"),
              std::string::npos);
    EXPECT_NE(svg.find("points='20.5,0.5 30.5,10.5'"), std::string::npos);
    // The background comes first in the picture group.
    EXPECT_NE(svg.find("stroke-linecap='square'>\n<rect id='b4' x='0' y='0' width='100' height='100'/>\n<use "
                       "xlink:href='#b4' fill='#ffffff'/>"),
              std::string::npos)
        << svg;
}

TEST(DrawSVG, BrushesBecomeDefinitions) {
    std::string svg = writeSVG(options(), [](DrawBackend& d) {
        d.setSize(100, 100, Chart::Transparent);
        const int g = static_cast<int>(0xfffe0000u), r = g + 1, dash = g + 2, zone = g + 3, unused = g + 4;
        d.linearGradientColor(g, 0, 0, 100, 0, true, {0, 0xff0000, 128, 0x00ff00, 128, 0x0000ff, 256, static_cast<int>(0x80000000u)});
        d.radialGradientColor(r, 50, 50, 40, 20, false, {0, 0xffffff, 256, 0x000000});
        d.dashLineColor(dash, 0x112233, 0x04020000);
        d.zoneColor(zone, true, 50, 0xff0000, 0x0000ff);
        d.dashLineColor(unused, 0x445566, 0x01010101);
        d.roundedRect(0, 0, 99, 99, 5, Chart::Transparent, g);
        d.roundedRect(10, 10, 20, 20, 0, Chart::Transparent, r);
        d.roundedRect(10, 10, 20, 20, 0, Chart::Transparent, r);  // defined once
        d.line(0, 0, 99, 99, dash, 1);
        d.roundedRect(30, 30, 60, 80, 0, Chart::Transparent, zone);
        d.line(0, 0, 9, 9, static_cast<int>(0xfffe0099u), 1);  // no brush: nothing
    });
    EXPECT_NE(svg.find("<linearGradient id='b1' x1='0.5' y1='0.5' x2='100.5' y2='0.5' spreadMethod='repeat' "
                       "gradientUnits='userSpaceOnUse'><stop offset='0' stop-color='#ff0000'/><stop offset='0.5' "
                       "stop-color='#00ff00'/><stop offset='0.501' stop-color='#0000ff'/><stop offset='1' "
                       "stop-color='#000000' stop-opacity='0.498'/></linearGradient>"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<radialGradient id='b3' cx='50.5' cy='101' r='40' gradientTransform='scale(1, 0.5)' "
                       "spreadMethod='pad'"),
              std::string::npos)
        << svg;
    EXPECT_EQ(svg.find("radialGradient id='b5'"), std::string::npos);
    EXPECT_NE(svg.find("stroke='#112233' stroke-linecap='butt' stroke-dasharray='4,2'/>"), std::string::npos);
    EXPECT_EQ(svg.find("#445566"), std::string::npos);  // never used, never written
    // The zone: two uses, each clipped to one side of y = 50.
    EXPECT_NE(svg.find("<clipPath id='b7'><rect x='-1000000' y='51' width='2000000' height='999949'/></clipPath>"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<use xlink:href='#b6' clip-path='url(#b7)' fill='#ff0000'/>\n<use xlink:href='#b6' clip-path='url(#b8)' fill='#0000ff'/>"),
              std::string::npos);
    EXPECT_EQ(svg.find("id='b9'"), std::string::npos);
    EXPECT_NE(checkWithTools(svg, "brushes"), "x");
}

TEST(DrawSVG, TextIsEscapedAndStyled) {
    FakeFace face(12, kDejaVu, "Deja\"Vu' <&>");
    FakeFace boldItalic(15, kDejaVu, "DejaVu Sans", true, true);
    std::string svg = writeSVG(options({{"noxmldecl", ""}}), [](DrawBackend&) {});
    std::unique_ptr<DrawSVG> d(DrawSVG::create(options()));
    d->setSize(300, 100, 0xffffff);
    drawText(*d, face, U"  a<b>&c \u00e9\u4e2d\U0001F600\x01", 10, 10, 0x102030);
    drawText(*d, boldItalic, U"Bold", 10, 50, 0x7f000000);
    GlyphContainer* spaced = layoutText(boldItalic, U"wide");
    for (int i = 0; i < spaced->size(); ++i) (*spaced)[i].x0 += 3 * i;  // letter spacing
    d->text(*spaced, 0, spaced->size(), 100, 50, 0);
    d->text(*spaced, 2, 2, 100, 50, 0);  // empty range
    spaced->deRef();
    vek::ostrstream out;
    ASSERT_TRUE(d->finish(out));
    svg.assign(out.data(), static_cast<size_t>(out.tell()));
    EXPECT_NE(svg.find("style=\"font-family:'Deja&#34;Vu\\' &#60;&#38;>';font-size:12px;\">\u00a0\u00a0a&#60;b&#62;&#38;c "
                       "\u00e9\u4e2d\U0001F600</text>"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("font-size:15px;font-style:italic;font-weight:bold;\">Bold</text>"), std::string::npos);
    EXPECT_NE(svg.find("fill='#000000' fill-opacity='0.502'"), std::string::npos);
    // Positions that do not follow the advances are given per character.
    size_t wide = svg.find(">wide</text>");
    ASSERT_NE(wide, std::string::npos);
    size_t open = svg.rfind("<text", wide);
    std::string element = svg.substr(open, wide - open);
    EXPECT_EQ(std::count(element.begin(), element.begin() + static_cast<long>(element.find(" y=")), ' '), 5) << element;
    checkWithTools(svg, "text");
}

TEST(DrawSVG, SymbolsAreWrittenOnce) {
    auto write = [](int symbolId) {
        std::unique_ptr<DrawSVG> d(DrawSVG::create(options()));
        d->setSize(100, 100, Chart::Transparent);
        DrawBackend* symbol = d->createSymbol(symbolId);
        EXPECT_NE(symbol, nullptr);
        EXPECT_EQ(d->createSymbol(symbolId), nullptr);
        if (!symbol) return std::string();
        symbol->setSubDrawMode();
        symbol->setSize(10, 10, Chart::Transparent);
        symbol->roundedRect(0, 0, 9, 9, 2, 0x000000, 0xff8800);
        d->mergeSymbol(symbolId, 5, 5, 20, 20, 0);
        d->mergeSymbol(symbolId, 50, 5, 10, 10, 128);
        d->mergeSymbolRotated(symbolId, 50, 50, 30);
        d->mergeSymbol(symbolId + 1, 0, 0, 10, 10, 0);  // unknown: nothing
        vek::ostrstream out;
        EXPECT_TRUE(d->finish(out));
        return std::string(out.data(), static_cast<size_t>(out.tell()));
    };
    std::string svg = write(42);
    // The drawing's symbol ids count across the process; the file must not show them.
    EXPECT_EQ(write(4242), svg);
    size_t def = svg.find("<symbol id='g");
    ASSERT_NE(def, std::string::npos);
    std::string name = svg.substr(def + 12, svg.find('\'', def + 12) - def - 12);
    EXPECT_EQ(svg.find("<symbol", def + 1), std::string::npos);
    EXPECT_NE(svg.find("' viewBox='0 0 10 10' preserveAspectRatio='none'><g font-family=", def), std::string::npos);
    EXPECT_NE(svg.find("<use xlink:href='#" + name + "' x='5' y='5' width='20' height='20'/>"), std::string::npos);
    EXPECT_NE(svg.find("values='1 0 0 0 0 0 1 0 0 0 0 0 1 0 0 0 0 0 0.498 0'"), std::string::npos);
    EXPECT_NE(svg.find("transform='rotate(-30 50 50)'"), std::string::npos);
    checkWithTools(svg, "symbols");
}

TEST(DrawSVG, SceneIsValidAndCompressesExactly) {
    std::string svg = sceneSVG(options());
    std::string png = checkWithTools(svg, "scene");
    if (!png.empty()) {
        Raster r = readPNG(png);
        EXPECT_EQ(r.width, 600);
        EXPECT_EQ(r.height, 400);
        std::remove(png.c_str());
    }
    EXPECT_EQ(sceneSVG(options()), svg);  // the same drawing gives the same bytes

    std::unique_ptr<DrawSVG> d(DrawSVG::create(options({{"compress", ""}})));
    FakeFace face(13);
    drawScene(*d, face);
    vek::ostrstream out;
    ASSERT_TRUE(d->finish(out));
    std::string gz(out.data(), static_cast<size_t>(out.tell()));
    ASSERT_GT(gz.size(), 18u);
    EXPECT_EQ(gz.substr(0, 4), std::string("\x1f\x8b\x08\x00", 4));
    EXPECT_EQ(gz.substr(4, 6), std::string("\x00\xf1\x53\x65\x02\xff", 6));  // fixed clock, XFL 2, OS 255
    auto le32 = [&](size_t at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(gz[at + static_cast<size_t>(i)]);
        return v;
    };
    EXPECT_EQ(le32(gz.size() - 4), svg.size());
    EXPECT_EQ(le32(gz.size() - 8), crc32(0, reinterpret_cast<const Bytef*>(svg.data()), static_cast<uInt>(svg.size())));
    if (haveTool("gzip")) {
        std::string path = tempPath("scene.svgz"), inflated;
        plotvane_test::writeFile(path, gz);
        EXPECT_EQ(run("gzip -dc < " + path, &inflated), 0);
        EXPECT_TRUE(inflated == svg);
        std::remove(path.c_str());
    }
}

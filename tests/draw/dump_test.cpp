#include <plotvane/chart.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/drawarea_p.h"
#include "draw/drawtest.h"
#include "draw/glyph_p.h"
#include "draw/largeobj_p.h"
#include "draw/metareplay_p.h"
#include "support/golden.h"

using namespace plotvane;
using drawtest::dump;
using drawtest::impl;
using drawtest::newArea;

namespace {

class FixedSplit : public ZoneSplitter {
public:
    bool isHorizontalSplit() const override { return true; }
    int getSplitPosition() const override { return 40; }
};

}  // namespace

// One drawing that uses every record kind the recorder writes. Object ids depend on what else
// ran in the process, so the dump is compared with its ids renumbered in order of appearance.
TEST(TextDump, EveryOpcodeFamily) {
    auto d = newArea(320, 240);
    int palette[] = {0xffffff, 0x000000, 0x000000, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0xff3333};
    d->setColorTable(palette, 9, 0);
    d->setBgColor(Chart::BackgroundColor);
    d->setClipRect(0, 0, 319, 239);
    d->move(2, 3);
    d->line(1, 2, 300.5, 4.25, Chart::LineColor, 2);
    d->lineTo(10, 10, 20, 10, 0xff0000, 1);
    d->lineTo(20, 10, 20, 20, 0xff0000, 1);
    d->lineTo(30, 30, 40, 30, 0x00ff00, 1);
    d->lineTo(40, 30, 40, 40, 0x0000ff, 2);
    d->rect(5, 5, 50, 30, 0x000000, d->linearGradientColor(5, 5, 50, 5, 0xff0000, 0x0000ff));
    d->roundedRect(60, 5, 120, 40, 8, 4, 0, 2, 0x000000, d->radialGradientColor(90, 20, 30, 15, 0xffffff, 0x00ff00));
    double px[] = {0, 10, 5}, py[] = {0, 0, 8};
    d->polygonEx(DoubleArray(px, 3), DoubleArray(py, 3), Chart::Transparent, d->dashLineColor(0x000000), 2, 90, 200, 100);
    d->exactPolygon(DoubleArray(px, 3), DoubleArray(py, 3), 0x40ff00ff);
    int stops[] = {0, 0xff0000, 128, 0x00ff00, 256, 0x0000ff};
    d->sector(160, 120, 40, 30, 30, 250, 0x000000, d->angleGradientColor(160, 120, 0, 360, 1, 1, IntArray(stops, 6)));
    d->ringEx(240, 120, 40, 30, 20, 15, 0x000000, 0x222222, true, Chart::metalColor(0x3366cc, 0), false, true);
    int table[] = {0, 1024, 128, 2048, 256, 1024};
    int pattern = d->patternColor(IntArray(table, 6), 2);
    d->circle(40, 200, 20, 20, Chart::Transparent, d->lightingColor(IntArray(table, 6), IntArray(), pattern, 45, 1, 3, 4));
    d->circle(80, 200, 20, 20, Chart::Transparent, d->lightingColor(IntArray(table, 6), IntArray(), pattern, 45, 1, static_cast<int>(0x80000001), 0));
    d->circle(120, 200, 20, 20, Chart::Transparent, d->linearLightingColor(IntArray(table, 6), IntArray(), 0x808080, 0, 0, 10, 10));
    d->circle(160, 200, 20, 20, Chart::Transparent, d->radialLightingColor(IntArray(table, 6), IntArray(), pattern, 160, 200, 20, 20));
    d->cylinder(200, 180, 20, 8, 90, 270, 0, 30, 0x000000, d->patternColor("tile \"1\".png", 1, 2));
    FixedSplit split;
    d->arc(240, 200, 20, 20, 0, 90, d->zoneColor(&split, 0xff0000, 0x0000ff));
    d->gouraudShading(10, 100, 1, 50, 100, 0.5, 30, 140, 1.5, 0xcc8800);
    d->commitAllSuperPixels();
    d->roundedFrame(0, 0, 319, 239, 10, 10, 10, 10, 3, 0x808080, 0x000000, 0x404040);
    d->clipRoundedCorners(10, 10, 0, 0, 0xffffff);
    d->addDropShadow(0, 4, 4, 6, 0x808080);

    auto symbol = newArea(12, 12);
    symbol->circle(6, 6, 5, 5, 0x000000, 0xffcc00);
    d->merge(symbol.get(), 250, 20, Chart::TopLeft, 0);
    d->merge(symbol.get(), 270, 20, Chart::TopLeft, 64);
    DrawArea* sub = d->subDrawArea(30, 10);
    sub->hline(0, 29, 5, d->adjustBrightness(pattern, 0.5));
    sub->mergeParent(280, 60, 30);
    sub->destroy();
    static const int pixels[] = {0xff0000, 0x00ff00, 0x0000ff, 0xffffff};
    d->merge(IntArray(pixels, 4), 2, 300, 200);
    auto* glyphs = new GlyphContainer();
    for (char32_t c : std::u32string(U"Hi \"é\"\n")) {
        Glyph g;
        g.ch = static_cast<int>(c);
        glyphs->glyphs().push_back(g);
    }
    d->renderGlyphs(*glyphs, 0, glyphs->size(), 100, 220, Chart::TextColor);
    impl(d.get())->renderTurnedGlyphs(*glyphs, 0, 2, 20, 200, 0x123456, 270);
    impl(d.get())->renderTurnedGlyphs(*glyphs, 0, 2, 20, 200, 0x123456, 45);  // not a quarter turn: nothing
    glyphs->deRef();
    impl(d.get())->meta()->loadStream(std::vector<unsigned char>{0x89, 'P', 'N', 'G'}, 0, 1, 1);
    d->resize(160, 120);

    EXPECT_TRUE(plotvane_test::matchesGoldenText("draw", "every_opcode.agf", drawtest::withRelativeIds(dump(d.get()))));
}

TEST(TextDump, SymbolicColoursAndDamagedRecords) {
    EXPECT_EQ(colorText(0xff000000u), "Chart.Transparent");
    EXPECT_EQ(colorText(0xffff0000u), "Chart.BackgroundColor");
    EXPECT_EQ(colorText(0xffff0005u), "Chart.ContextColor1");
    EXPECT_EQ(colorText(0xffff0007u), "Chart.SameAsMainColor");
    EXPECT_EQ(colorText(0xffff000au), "Chart.DataColor + 2");
    EXPECT_EQ(colorText(0x00123456u), "0x123456");
    EXPECT_EQ(colorText(0x80ff0000u), "0x80ff0000");

    // Unknown opcode, a record too short for its signature, one with extra words, then a good one.
    std::vector<uint32_t> words = {3, 99, 7,                // unknown
                                   4, 3, 1, 2,              // SetClipRect needs four ints
                                   4, 4, 0x123456, 9,       // SetBgColor with one word too many
                                   4, 1, 10, 20};           // Resize(10, 20)
    LargeObjContainer none;
    vek::ostrstream out;
    dumpRecords(words.data(), 0, static_cast<int>(words.size()), none, out);
    out.ensureNullTerminated();
    EXPECT_EQ(std::string(out.data()),
              "/* Unknown OpCode 99, skipping 4 bytes*/\n"
              "/* Insufficient input when reading format list iiii 3, skipping 0 bytes*/\n"
              "SetBgColor(0x123456)\n"
              "/* Extra bytes following OpCode 4, skipping 4 bytes*/\n"
              "Resize(10, 20)\n");

    drawtest::LoggingBackend b;
    replayRecords(words.data(), 0, static_cast<int>(words.size()), none, b);
    EXPECT_EQ(b.count("setBgColor"), 1);
    EXPECT_EQ(b.count("resize"), 1);
    EXPECT_EQ(b.count("setClipRect"), 0);
    EXPECT_EQ(b.calls[0], "comment: Unknown OpCode 99, skipping 4 bytes");

    // A length word that runs past the end stops the walk.
    std::vector<uint32_t> broken = {50, 4, 0};
    vek::ostrstream out2;
    dumpRecords(broken.data(), 0, 3, none, out2);
    EXPECT_GT(out2.tell(), 0);
}

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

#include "draw/drawarea_p.h"
#include "draw/drawtest.h"
#include "draw/glyph_p.h"

using namespace plotvane;
using drawtest::countRecords;
using drawtest::dump;
using drawtest::impl;
using drawtest::LoggingBackend;
using drawtest::newArea;
using drawtest::recordNames;

namespace {

std::vector<std::string> drawingRecords(DrawArea* d) {
    std::vector<std::string> names;
    for (const std::string& n : recordNames(d))
        if (n != "SetSize") names.push_back(n);
    return names;
}

}  // namespace

TEST(Recorder, BrushIsDefinedLazilyAndOnlyWhenItsBaseChanges) {
    auto d = newArea();
    int unused = d->dashLineColor(0xff0000, Chart::DotLine);
    int dash = d->dashLineColor(0x00ff00, Chart::DashLine);
    EXPECT_EQ(countRecords(d.get(), "DashLineColor"), 0);
    (void)unused;

    d->line(0, 0, 50, 50, dash, 1);
    d->line(0, 10, 50, 60, dash, 1);
    EXPECT_EQ(countRecords(d.get(), "DashLineColor"), 1);
    EXPECT_EQ(drawingRecords(d.get()), (std::vector<std::string>{"DashLineColor", "Line", "Line"}));

    // A base that is a palette entry (7 wraps to entry 1 of three) follows the palette at each use.
    int entry[] = {0x000000, 0x111111, 0x222222};
    d->setColorTable(entry, 3, 0);
    int onPalette = d->dashLineColor(Chart::SameAsMainColor, Chart::DashLine);
    d->line(0, 0, 10, 10, onPalette, 1);
    d->line(0, 0, 10, 10, onPalette, 1);
    int changed[] = {0x333333};
    d->setColorTable(changed, 1, 7);
    d->line(0, 0, 10, 10, onPalette, 1);
    std::string text = dump(d.get());
    EXPECT_EQ(countRecords(d.get(), "DashLineColor"), 3) << text;
    EXPECT_NE(text.find("DashLineColor(0xfffe0002, 0x111111, 1285)"), std::string::npos) << text;
    EXPECT_NE(text.find("DashLineColor(0xfffe0002, 0x333333, 1285)"), std::string::npos) << text;

    // A brush over a brush: the inner one is written first.
    int darker = d->adjustBrightness(d->linearGradientColor(0, 0, 10, 0, 0xff0000, 0x0000ff), 0.5);
    d->rect(0, 0, 10, 10, darker, darker);
    std::vector<std::string> names = recordNames(d.get());
    EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()),
              (std::vector<std::string>{"LinearGradientColor", "AdjustBrightness", "RoundedRect"}));
}

TEST(Recorder, SymbolMergedThreeTimesIsDefinedOnce) {
    auto symbol = newArea(10, 10);
    symbol->circle(5, 5, 4, 4, 0x000000, 0xff0000);
    auto d = newArea();
    for (int k = 0; k < 3; ++k) d->merge(symbol.get(), 10 * k, 0, Chart::TopLeft, 0);
    d->merge(symbol.get(), 0, 0, Chart::TopLeft, 255);  // invisible: nothing
    d->merge(d.get(), 0, 0, Chart::TopLeft, 0);         // itself: nothing
    d->merge(nullptr, 0, 0, Chart::TopLeft, 0);
    EXPECT_EQ(countRecords(d.get(), "DefineSymbol"), 1);
    EXPECT_EQ(countRecords(d.get(), "EndDefineSymbol"), 1);
    EXPECT_EQ(countRecords(d.get(), "MergeWithScaling"), 3);

    // Merging keeps the source alive after its owner lets go.
    DrawArea* raw = symbol.release();
    raw->destroy();
    LoggingBackend b;
    impl(d.get())->meta()->drawTo(&b, 0);
    EXPECT_EQ(b.count("createSymbol"), 1);
    EXPECT_EQ(b.count("mergeSymbol"), 3);
    ASSERT_EQ(b.symbols.size(), 1u);
    EXPECT_EQ(b.symbols[0]->count("shape"), 1);

    // Centre alignment moves the symbol by half its size.
    auto aligned = newArea();
    auto source = newArea(11, 7);
    source->hline(0, 10, 3, 0);
    aligned->merge(source.get(), 50, 50, Chart::Center, 10);
    EXPECT_NE(dump(aligned.get()).find(", 45, 47, 11, 7, 10)"), std::string::npos) << dump(aligned.get());
}

TEST(Recorder, PolylineBuilderJoinsSegments) {
    auto d = newArea();
    d->lineTo(0, 0, 10, 0, 0x000000, 1);
    d->lineTo(10, 0, 10, 10, 0x000000, 1);
    d->lineTo(10, 10, 0, 10, 0x000000, 1);
    d->rect(20, 20, 30, 30, 0, 0);  // any drawing record ends the run
    EXPECT_EQ(drawingRecords(d.get()), (std::vector<std::string>{"PolyLine", "RoundedRect"}));
    EXPECT_NE(dump(d.get()).find("PolyLine(0x000000, 1, [0, 0, 10, 0, 10, 10, 0, 10])"), std::string::npos);

    // A change of style inside a run makes a MultiLine; a break starts a new run.
    auto m = newArea();
    m->lineTo(0, 0, 10, 0, 0xff0000, 1);
    m->lineTo(10, 0, 20, 0, 0x00ff00, 3);
    m->lineTo(50, 50, 60, 60, 0x0000ff, 1);
    m->lineTo(60, 60, 70, 50, 0x0000ff, 1);
    std::string text = dump(m.get());
    EXPECT_NE(text.find("MultiLine(style, 0xff0000, 1, coor, 0, 0, coor, 10, 0, style, 0x00ff00, 3, coor, 20, 0)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("PolyLine(0x0000ff, 1, [50, 50, 60, 60, 70, 50])"), std::string::npos) << text;

    // A single joined segment is still drawn, as a plain line.
    auto single = newArea();
    single->lineTo(1, 2, 3, 4, 0x000000, 2);
    single->initLineTo();
    EXPECT_EQ(drawingRecords(single.get()), (std::vector<std::string>{"Line"}));
    EXPECT_NE(dump(single.get()).find("Line(1, 2, 3, 4, 0x000000, 2)"), std::string::npos);

    // A brush first used by a pending run is defined in front of it.
    auto brushed = newArea();
    brushed->lineTo(0, 0, 5, 5, 0x000000, 1);
    brushed->lineTo(5, 5, 9, 9, brushed->dashLineColor(0xff0000), 1);
    EXPECT_EQ(drawingRecords(brushed.get()), (std::vector<std::string>{"DashLineColor", "MultiLine"}));

    // Replay: initLineTo(start), lineTo for the rest, initLineTo() to end.
    LoggingBackend b;
    impl(d.get())->meta()->drawTo(&b, 0);
    std::vector<std::string> expected = {"initLineTo(0, 0)", "lineTo(10, 0, 1)", "lineTo(10, 10, 1)",
                                         "lineTo(0, 10, 1)", "initLineTo"};
    EXPECT_EQ(std::vector<std::string>(b.calls.begin() + 1, b.calls.begin() + 6), expected);
}

TEST(Recorder, EarlyExitsRecordNothing) {
    auto d = DrawArea::create();
    d->line(0, 0, 10, 10, 0x000000, 0);
    d->line(0, 0, 10, 10, Chart::Transparent, 3);
    d->line(0, 0, 10, 10, -1, 3);
    EXPECT_TRUE(d->isEmpty());
    d->destroy();

    auto a = newArea(100, 80);
    a->line(-5, 10, -1, 70, 0, 1);      // both left of the canvas
    a->line(10, 81, 70, 200, 0, 1);     // both below
    a->line(0, 0, std::nan(""), 5, 0, 1);       // not a number
    a->polygon(DoubleArray(std::vector<double>{0, 10}.data(), 2), DoubleArray(std::vector<double>{0, 10}.data(), 2), 0, 0);
    a->rect(0, 0, 10, 10, Chart::Transparent, Chart::Transparent);
    a->circle(10, 10, 5, 5, Chart::Transparent, -1);
    a->sector(10, 10, 5, 5, 30, 30, 0, 0);
    a->clipRoundedCorners(0, -3, 0, 0, 0);
    a->merge(IntArray(), 0, 0, 0);
    a->gouraudShading(0, 0, 1, 10, 0, 1, 0, 10, 1, Chart::Transparent);
    a->line(0, 0, 10, 10, 0x000000, 0);
    a->line(0, 0, 10, 10, Chart::Transparent, 3);
    EXPECT_EQ(drawingRecords(a.get()), std::vector<std::string>{});
    // A sized and clipped area with nothing on it is still empty.
    a->setClipRect(5, 5, 50, 50);
    EXPECT_TRUE(a->isEmpty());

    // The line width is cut to the longer side.
    a->line(0, 0, 10, 10, 0, 5000);
    EXPECT_NE(dump(a.get()).find("Line(0, 0, 10, 10, 0x000000, 100)"), std::string::npos);
}

TEST(Recorder, SizesAndClipping) {
    auto d = newArea();
    d->setSize(0, -5, 0xffffff);
    int clip[4];
    EXPECT_EQ(d->getWidth(), 1);
    EXPECT_EQ(d->getHeight(), 1);
    d->getClipRect(clip);
    EXPECT_EQ(std::vector<int>(clip, clip + 4), (std::vector<int>{0, 0, 0, 0}));

    d->setSize(100, 50, 0xffffff);
    d->setClipRect(-10, 5, 500, 40);
    d->getClipRect(clip);
    EXPECT_EQ(std::vector<int>(clip, clip + 4), (std::vector<int>{0, 5, 99, 40}));

    d->hline(10, 2, 20, 0x000000);   // reordered
    d->hline(-50, 500, 20, 0x000000);  // cut to the clip rectangle
    d->hline(0, 10, 41, 0x000000);   // below the clip rectangle
    d->vline(60, 0, 50, 0x000000);
    std::string text = dump(d.get());
    EXPECT_NE(text.find("Line(2, 20, 10, 20, 0x000000, 1)"), std::string::npos) << text;
    EXPECT_NE(text.find("Line(0, 20, 99, 20, 0x000000, 1)"), std::string::npos) << text;
    EXPECT_NE(text.find("Line(50, 5, 50, 40, 0x000000, 1)"), std::string::npos) << text;
    EXPECT_EQ(countRecords(d.get(), "Line"), 3);

    // A drop shadow grows the area and resets the clip rectangle.
    d->addDropShadow(0, 5, 5, 10, 0x808080);
    EXPECT_EQ(d->getWidth(), 100 + 5 + 15);
    d->getClipRect(clip);
    EXPECT_EQ(clip[2], d->getWidth() - 1);

    // Flips and rotations are affine transforms with exact coefficients at multiples of 90.
    auto r = newArea(11, 21);
    r->hFlip();
    r->rotate(90);
    std::string rotated = dump(r.get());
    EXPECT_NE(rotated.find("AffineTransform(-1, 0, 10, 0, 1, 0, Chart.Transparent, 1, 1)"), std::string::npos);
    EXPECT_NE(rotated.find("AffineTransform(0, 1, -5, -1, 0, 15, 0xffffff, 1, 1)"), std::string::npos) << rotated;
}

TEST(Recorder, OutputOptions) {
    auto d = newArea();
    MetaDraw* m = impl(d.get())->meta();
    d->setOutputOptions(" Width = 300 ;height=abc; ;=skipped;NoXmlDecl ;DPI=\t72.5\t");
    EXPECT_STREQ(m->getOutputOption("width"), "300");
    EXPECT_STREQ(m->getOutputOption("noxmldecl"), "");
    EXPECT_EQ(m->getOutputOption(""), nullptr);
    EXPECT_EQ(m->getOutputOption("missing"), nullptr);
    EXPECT_DOUBLE_EQ(m->getOutputOptionAsDouble("dpi", 96), 72.5);
    EXPECT_DOUBLE_EQ(m->getOutputOptionAsDouble("height", 7), 0);
    EXPECT_DOUBLE_EQ(m->getOutputOptionAsPositiveDouble("height", 7), 7);
    EXPECT_DOUBLE_EQ(m->getOutputOptionAsDouble("noxmldecl", 3), 3);
    d->setOutputOptions("compress");
    EXPECT_EQ(m->getOutputOption("width"), nullptr);
    EXPECT_STREQ(m->getOutputOption("compress"), "");
}

TEST(Recorder, ReplayIsIncremental) {
    auto d = newArea();
    d->line(0, 0, 10, 10, 0, 1);
    MetaDraw* m = impl(d.get())->meta();
    LoggingBackend b;
    int end = m->drawTo(&b, 0);
    EXPECT_EQ(b.calls, (std::vector<std::string>{"setSize(100, 80, 1.67772e+07)", "line(0, 0, 10, 10, 1)"}));
    b.calls.clear();
    EXPECT_EQ(m->drawTo(&b, end), end);
    EXPECT_TRUE(b.calls.empty());
    d->rect(0, 0, 5, 5, 0, 0);
    int next = m->drawTo(&b, end);
    EXPECT_EQ(b.calls, std::vector<std::string>{"roundedRect"});
    EXPECT_GT(next, end);

    // The area's own canvas replays only what it has not seen.
    d->getCanvas();
    int pos = impl(d.get())->replayPosition();
    d->getCanvas();
    EXPECT_EQ(impl(d.get())->replayPosition(), pos);
}

TEST(Recorder, DynamicLayerIsCutBack) {
    auto d = newArea();
    d->line(0, 0, 10, 10, 0, 1);
    int kept = d->dashLineColor(0x00ff00);
    d->initDynamicLayer();
    int base = impl(d.get())->meta()->streamSize();

    auto symbol = newArea(5, 5);
    symbol->rect(0, 0, 4, 4, 0, 0xff0000);
    d->merge(symbol.get(), 0, 0, Chart::TopLeft, 0);
    int layerColor = d->dashLineColor(0xff0000);
    d->line(0, 0, 20, 20, layerColor, 1);
    d->line(0, 0, 20, 20, kept, 1);
    d->lineTo(0, 0, 5, 5, 0, 1);
    EXPECT_GT(impl(d.get())->meta()->streamSize(), base);

    d->removeDynamicLayer(true);
    EXPECT_EQ(impl(d.get())->meta()->streamSize(), base + 6);  // the clip rectangle set again
    EXPECT_EQ(impl(d.get())->replayPosition(), base);
    EXPECT_EQ(countRecords(d.get(), "DefineSymbol"), 0);
    EXPECT_EQ(countRecords(d.get(), "DashLineColor"), 0);
    // Colours made in the layer are gone; one made before it is defined again when used again.
    EXPECT_EQ(d->dynamicColor(), layerColor);
    d->line(0, 0, 20, 20, kept, 1);
    EXPECT_EQ(countRecords(d.get(), "DashLineColor"), 1);

    // keepBase true leaves the layer open, false closes it.
    d->removeDynamicLayer(true);
    EXPECT_EQ(countRecords(d.get(), "DashLineColor"), 0);
    d->removeDynamicLayer(false);
    d->line(0, 0, 30, 30, 0, 1);
    int lines = countRecords(d.get(), "Line");
    d->removeDynamicLayer(false);
    EXPECT_EQ(countRecords(d.get(), "Line"), lines);
}

TEST(Recorder, SubAreaMergesBackRotated) {
    auto d = newArea(200, 200);
    DrawArea* sub = d->subDrawArea(40, 20);
    int dash = d->dashLineColor(0xff0000);
    sub->line(0, 0, 39, 19, dash, 1);
    sub->mergeParent(100, 50, 90);
    sub->mergeParent(100, 50, -450);  // the same angle
    sub->destroy();
    std::string text = dump(d.get());
    // The parent's brush is written into the parent's recording, before the symbol.
    EXPECT_LT(text.find("DashLineColor"), text.find("DefineSymbol"));
    EXPECT_NE(text.find("SetSubDrawMode()\nSetSize(40, 20, Chart.Transparent)"), std::string::npos) << text;
    EXPECT_NE(text.find(", 100, 90, 90)\n"), std::string::npos) << text;
    EXPECT_EQ(countRecords(d.get(), "MergeWithRotation"), 2);

    auto quadrants = [&](double angle) {
        auto p = newArea(200, 200);
        DrawArea* s = p->subDrawArea(40, 20);
        s->hline(0, 39, 0, 0);
        s->mergeParent(100, 50, angle);
        s->destroy();
        std::string t = dump(p.get());
        size_t at = t.find("MergeWithRotation(");
        return t.substr(t.find(", ", at) + 2, t.find(')', at) - t.find(", ", at) - 2);
    };
    EXPECT_EQ(quadrants(180), "140, 70, 180");
    EXPECT_EQ(quadrants(270), "120, 50, 270");
    EXPECT_EQ(quadrants(0), "100, 50, 0");
}

TEST(Recorder, TextResolvesGlyphColours) {
    auto d = newArea();
    int palette[] = {0xffffff, 0x000000, 0x123456};
    d->setColorTable(palette, 3, 0);
    auto* glyphs = new GlyphContainer();
    for (char c : std::string("abc")) {
        Glyph g;
        g.ch = c;
        glyphs->glyphs().push_back(g);
    }
    (*glyphs)[1].color = Chart::TextColor;
    d->renderGlyphs(*glyphs, 1, 1, 0, 0, Chart::TextColor);  // empty range: nothing
    d->renderGlyphs(*glyphs, 0, 3, 4, 5, Chart::LineColor);
    glyphs->deRef();  // the recording keeps its own reference
    EXPECT_EQ((*glyphs)[1].color, 0x123456);
    EXPECT_NE(dump(d.get()).find("Text(\"abc\", 0, 3, 4, 5, 0x000000)"), std::string::npos) << dump(d.get());
    LoggingBackend b;
    impl(d.get())->meta()->drawTo(&b, 0);
    EXPECT_EQ(b.count("text"), 1);
}

TEST(Recorder, RoundPrimitivesAreYMonotonicArcs) {
    auto d = newArea();
    d->sector(50, 50, 20, 10, 45, 300, 0x000000, 0xff0000);
    LoggingBackend b;
    impl(d.get())->meta()->drawTo(&b, 0);
    int arcs = 0;
    for (const PathItem& e : b.lastShape) {
        if (e.kind == PathItem::Line) continue;
        ++arcs;
        EXPECT_LE(e.d[3] - e.d[2], 180);
        double y1 = 50 - 10 * std::cos(e.d[2] * 3.14159265358979 / 180), y2 = 50 - 10 * std::cos(e.d[3] * 3.14159265358979 / 180);
        EXPECT_NEAR(e.d[4], std::min(y1, y2), 1e-9);
        EXPECT_NEAR(e.d[5], std::max(y1, y2), 1e-9);
    }
    EXPECT_EQ(arcs, 2);  // 45-180 and 180-300
    EXPECT_EQ(b.lastShape.size(), 4u);

    auto ring = newArea();
    ring->ring(50, 50, 20, 20, 10, 10, 0x000000, 0x00ff00);
    LoggingBackend r;
    impl(ring.get())->meta()->drawTo(&r, 0);
    EXPECT_EQ(r.lastShape.size(), 4u);  // two halves of each circle
}

// Vector output must look like the raster: effects the vector formats lack a word for (a blurred
// drop shadow, a gradient fading out, an angle gradient) are still drawn, and a zone fill, whose
// clip reaches far past the page, is not dropped. The tolerance is the agreement test's: a missing
// shadow or a gradient flattened to one colour moves whole 8x8 blocks by far more.
//
// The same drawing written twice gives the same bytes (the PDF's time stamp aside), whatever the
// process drew before.
#include <plotvane/drawarea.h>

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>

#include "support/areaptr.h"
#include "vectortest.h"

using namespace plotvane;
using namespace vectortest;

namespace {

class RowSplit : public ZoneSplitter {
public:
    bool isHorizontalSplit() const override { return true; }
    int getSplitPosition() const override { return 60; }
};

const RowSplit kSplit;

void withShadow(DrawArea* d) {
    d->setSize(160, 120, 0xf0f0f0);
    d->rect(10, 10, 150, 110, 0x336699, 0xdde8ff);
    d->addDropShadow(0x444444, 6, 8, 8, 0xffffff);
}

void fadingGradient(DrawArea* d) {
    // Over black, so that the opacity shows in the colour.
    d->setSize(200, 100, 0x000000);
    const int stops[] = {0, 0x00ffcc00, 256, static_cast<int>(0xf000ccffu)};
    d->rect(10, 10, 190, 90, Chart::Transparent, d->linearGradientColor(10, 0, 190, 0, IntArray(stops, 4)));
}

void angleGradient(DrawArea* d) {
    d->setSize(160, 160, 0xffffff);
    const int stops[] = {0, 0xff0000, 128, 0x00cc00, 256, 0x0000ff};
    d->circle(80, 80, 70, 70, Chart::Transparent, d->angleGradientColor(80, 80, 0, 360, 1, 1, IntArray(stops, 6)));
}

void zoneFill(DrawArea* d) {
    d->setSize(160, 120, 0xffffff);
    const double xs[] = {10, 150, 150, 10}, ys[] = {20, 20, 100, 100};
    d->polygon(DoubleArray(xs, 4), DoubleArray(ys, 4), Chart::Transparent, d->zoneColor(&kSplit, 0xcc3300, 0x3366cc));
}

std::string bytes(MemBlock m) { return std::string(m.data ? m.data : "", static_cast<size_t>(m.len > 0 ? m.len : 0)); }

}  // namespace

TEST(VectorFidelity, EffectsLookAsInTheRaster) {
    if (!haveTool("rsvg-convert") || !haveTool("pdftoppm")) GTEST_SKIP() << "rsvg-convert or pdftoppm missing";
    const std::pair<const char*, std::function<void(DrawArea*)>> cases[] = {
        {"shadow", withShadow}, {"fading", fadingGradient}, {"angle", angleGradient}, {"zone", zoneFill}};
    for (const auto& [name, draw] : cases) {
        plotvane_test::AreaPtr d(DrawArea::create());
        draw(d.get());
        ThreeWays r = renderThreeWays(d.get(), name);
        ASSERT_TRUE(r.ok) << name << ": " << r.log;
        for (const auto& [format, other] : {std::make_pair("SVG", &r.fromSVG), std::make_pair("PDF", &r.fromPDF)}) {
            if (other->width != r.own.width || other->height != r.own.height) {
                ADD_FAILURE() << name << " as " << format << ": " << other->width << " x " << other->height
                              << ", the raster " << r.own.width << " x " << r.own.height;
                continue;
            }
            Difference diff = compare(r.own, *other);
            EXPECT_LT(diff.mean, 3.0) << name << " as " << format;
            EXPECT_LE(diff.worstBlock, 40.0) << name << " as " << format << ": worst block at (" << diff.worstX
                                             << ", " << diff.worstY << ")";
        }
    }
}

TEST(VectorFidelity, SameDrawingSameBytes) {
    auto draw = [] {
        plotvane_test::AreaPtr d = plotvane_test::newArea(120, 80);
        DrawArea* tile = d->subDrawArea(8, 8);
        tile->line(0, 7, 7, 0, 0x0000ff, 1);
        d->tile(tile, 0);
        tile->destroy();
        DrawArea* dot = d->subDrawArea(4, 4);
        dot->rect(0, 0, 3, 3, 0x000000, 0xcc0000);
        d->merge(dot, 100, 60, Chart::TopLeft, 0);
        dot->destroy();
        d->text("Same", "arial.ttf", 0, 10, 10, 0, false, 10, 10, 0x000000, Chart::TopLeft);
        return d;
    };
    // The PDF's creation time is the one part that may differ.
    static const std::regex stamp(R"(/CreationDate\(D:\d+\))");
    auto pdf = [](DrawArea* d) { return std::regex_replace(bytes(d->outPDF()), stamp, ""); };
    plotvane_test::AreaPtr first = draw(), second = draw();
    EXPECT_EQ(bytes(first->outSVG()), bytes(second->outSVG()));
    EXPECT_EQ(pdf(first.get()), pdf(second.get()));
}

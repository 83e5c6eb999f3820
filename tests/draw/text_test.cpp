#include <gtest/gtest.h>

#include <cmath>

#include "draw/blend_p.h"
#include "draw/canvas_p.h"
#include "draw/glyph_p.h"
#include "draw/glyphblend_p.h"
#include "rastertest.h"

using namespace plotvane;
using namespace rastertest;

namespace {

// A hand-made glyph: coverage rows given directly.
class TestGlyph final : public FontGlyph {
public:
    TestGlyph(std::vector<unsigned char> bits, int width, int rows, int fmt, int topRows, int leftBearing)
        : bits_(std::move(bits)) {
        format = fmt;
        pitch = width * (fmt == ColorSubpixel ? 3 : 1);
        this->rows = rows;
        top = topRows;
        left = leftBearing;
        bitmap = bits_.data();
    }
    void addRef() override {}
    void release() override {}

private:
    std::vector<unsigned char> bits_;
};

struct GlyphRun {
    GlyphContainer* glyphs = new GlyphContainer();
    ~GlyphRun() { glyphs->deRef(); }
    void add(FontGlyph* g, double x0, double y0, int color = -1) {
        Glyph gl;
        gl.ch = 'A';
        gl.glyph = g;
        gl.x0 = x0;
        gl.y0 = y0;
        gl.color = color;
        glyphs->glyphs().push_back(gl);
    }
};

uint32_t gammaMix(uint32_t s, uint32_t d, uint32_t a, double gamma) {
    auto f = [&](uint32_t v) { return std::lround(std::pow(v / 255.0, gamma) * 255); };
    auto b = [&](long v) { return static_cast<uint32_t>(std::lround(std::pow(v / 255.0, 1 / gamma) * 255)); };
    return b((f(s) * a + f(d) * (255 - a) + 127) / 255);
}

}  // namespace

TEST(Text, GreyCoverageThroughGammaTables) {
    TestGlyph g({255, 128, 0, 255, 255, 255}, 3, 2, FontGlyph::Grey, 5, 1);
    GlyphRun run;
    run.add(&g, 10, 20);
    auto c = makeCanvas(40, 40);
    c->setAntiAlias(true, 1 | (200 << 6));  // grey, gamma 2.0
    c->text(*run.glyphs, 0, 1, 2, 3, 0x00000000);
    // Pen (10 + 2, 20 + 3), left bearing 1, top 5 rows above the baseline.
    EXPECT_EQ(px(*c, 13, 18), 0x00000000u);
    EXPECT_EQ(px(*c, 14, 18), (gammaMix(0, 255, 128, 2.0) * 0x010101u));
    EXPECT_EQ(px(*c, 15, 18), 0x00ffffffu);
    EXPECT_EQ(px(*c, 15, 19), 0x00000000u);
    EXPECT_EQ(px(*c, 13, 17), 0x00ffffffu);

    // Kind 0 thresholds at one half; a glyph colour overrides the text colour.
    auto d = makeCanvas(40, 40);
    d->setAntiAlias(true, 0);
    GlyphRun second;
    TestGlyph h({127, 128}, 2, 1, FontGlyph::Grey, 0, 0);
    second.add(&h, 5, 5, 0x00ff0000);
    d->text(*second.glyphs, 0, 1, 0, 0, 0x00000000);
    EXPECT_EQ(px(*d, 5, 5), 0x00ffffffu);
    EXPECT_EQ(px(*d, 6, 5), 0x00ff0000u);
    // Empty ranges, spacers, null bitmaps and glyphs far away draw nothing.
    second.add(nullptr, 1, 1);
    second.add(&h, 1e300, 1);
    d->text(*second.glyphs, 1, 3, 0, 0, 0x00000000);
    d->text(*second.glyphs, 2, 1, 0, 0, 0x00000000);
}

TEST(Text, SubPixelKindsAndModes) {
    int kind, gamma;
    GlyphBlender::decodeMode(2, kind, gamma);
    EXPECT_EQ(kind, 5);
    EXPECT_EQ(gamma, 140);
    GlyphBlender::decodeMode(3 | (180 << 6), kind, gamma);
    EXPECT_EQ(kind, 4);
    EXPECT_EQ(gamma, 180);

    TestGlyph g({255, 0, 128}, 1, 1, FontGlyph::ColorSubpixel, 0, 0);
    GlyphRun run;
    run.add(&g, 3, 3);
    auto c = makeCanvas(8, 8);
    c->setAntiAlias(true, 5 | (100 << 6));  // colour sub-pixel, gamma 1.0
    c->text(*run.glyphs, 0, 1, 0, 0, 0x00000000);
    EXPECT_EQ(px(*c, 3, 3), 0x0000ff7fu);
    auto m = makeCanvas(8, 8);
    m->setAntiAlias(true, 4 | (100 << 6));  // monochrome sub-pixel: one averaged coverage
    m->text(*run.glyphs, 0, 1, 0, 0, 0x00000000);
    EXPECT_EQ(px(*m, 3, 3), 0x007f7f7fu);
    // Over a semi-transparent pixel the plain blend applies.
    auto t = makeCanvas(8, 8, 0xff000000u);
    t->text(*run.glyphs, 0, 1, 0, 0, 0x00000000);
    EXPECT_EQ(px(*t, 3, 3) & 0x00ffffffu, 0u);
    EXPECT_EQ(px(*t, 3, 3) >> 24, 127u);  // opacity 128 of 255
}

TEST(Text, FastBlendingMatchesTheGeneralPath) {
    // Grey glyphs with every kind of coverage, some hanging off the canvas, in opaque and
    // semi-transparent colours, over opaque, semi-transparent, transparent and super pixels: the
    // fast loop must leave exactly the words the general one does, in every text mode and turn.
    std::vector<unsigned char> bits;
    for (int i = 0; i < 9 * 7; ++i) bits.push_back(static_cast<unsigned char>(i % 5 == 0 ? 0 : i % 7 == 0 ? 255 : (i * 53) % 256));
    TestGlyph g(bits, 9, 7, FontGlyph::Grey, 6, -1);
    GlyphRun run;
    const double spots[][2] = {{2, 5}, {6.4, 8.6}, {-4, 3}, {27, 20}, {12, 14}, {14, 15}};
    for (int k = 0; k < 6; ++k) run.add(&g, spots[k][0], spots[k][1], k == 4 ? 0x20336699 : -1);
    for (int mode : {0, 1, 1 | (180 << 6), 2, 4, 5}) {
        for (int turn : {0, 90, 180, 270}) {
            for (uint32_t color : {0x00102030u, 0x60a0b0c0u}) {
                const int pivot = turn ? 14 : 1;
                auto owner = makeCanvas(1, 1);
                owner->setAntiAlias(true, mode);
                Canvas fast(*owner), reference(*owner);
                for (Canvas* c : {&fast, &reference}) {
                    ASSERT_TRUE(c->reset(30, 24, 0x00ffffff));
                    for (int i = 0; i < 30 * 24; ++i) {
                        uint32_t& w = c->pixels()[i];
                        w = i % 11 == 0 ? 0x80ff8000u : i % 13 == 0 ? kTransparent : 0x00010101u * static_cast<uint32_t>(i % 256);
                        if (i % 17 == 0) c->superPixels.append(w, 0x000000ffu, 0x00ffu);
                    }
                    c->clip = {0, 1, 28, 23};
                }
                GlyphBlender().draw(fast, *run.glyphs, 0, 6, pivot, pivot, color, turn);
                GlyphBlender().drawReference(reference, *run.glyphs, 0, 6, pivot, pivot, color, turn);
                int differing = 0;
                for (int i = 0; i < 30 * 24; ++i) differing += fast.pixels()[i] != reference.pixels()[i];
                EXPECT_EQ(differing, 0) << "mode " << mode << " turn " << turn << " colour " << std::hex << color;
            }
        }
    }
}

TEST(Text, FastBlendingCoversEveryCoverageAndBackground) {
    // Every coverage over every channel value of an opaque background: the packed three-channel
    // mix must round as the per-channel one does, for the usual gamma and another.
    std::vector<unsigned char> bits;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) bits.push_back(static_cast<unsigned char>(x));
    TestGlyph g(bits, 256, 256, FontGlyph::Grey, 0, 0);
    GlyphRun run;
    run.add(&g, 0, 0);
    for (int mode : {1, 1 | (230 << 6)}) {
        for (uint32_t color : {0x00fe0180u, 0x00000000u, 0x01ffffffu, 0x7f4080c0u}) {
            auto owner = makeCanvas(1, 1);
            owner->setAntiAlias(true, mode);
            Canvas fast(*owner), reference(*owner);
            for (Canvas* c : {&fast, &reference}) {
                ASSERT_TRUE(c->reset(256, 256, 0));
                for (uint32_t y = 0; y < 256; ++y)
                    for (uint32_t x = 0; x < 256; ++x)
                        c->pixels()[y * 256 + x] = (y << 16) | ((255 - y) << 8) | ((y * 7 + x) & 255);
            }
            GlyphBlender().draw(fast, *run.glyphs, 0, 1, 0, 0, color);
            GlyphBlender().drawReference(reference, *run.glyphs, 0, 1, 0, 0, color);
            int differing = 0;
            for (int i = 0; i < 256 * 256; ++i) differing += fast.pixels()[i] != reference.pixels()[i];
            EXPECT_EQ(differing, 0) << "mode " << mode << " colour " << std::hex << color;
        }
    }
}

#include <plotvane/drawarea.h>
#include <plotvane/ttftext.h>

#include <gtest/gtest.h>

#include "support/areaptr.h"

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

using namespace plotvane;
using plotvane_test::AreaPtr;
using plotvane_test::newArea;

namespace {

std::string dumpOf(DrawArea* d) {
    MemBlock b = d->outAGF();
    return std::string(b.data, static_cast<size_t>(b.len));
}

std::vector<uint32_t> pixelsOf(DrawArea* d) {
    const uint32_t* p = d->getPixels();
    return std::vector<uint32_t>(p, p + static_cast<size_t>(d->getWidth()) * static_cast<size_t>(d->getHeight()));
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Two centred lines of two fonts, as a text of the given angle would draw them into a canvas of
// exactly its size.
AreaPtr drawnAt(double angle, int mode, const char* text) {
    AreaPtr probe = newArea(1, 1);
    TTFText* t = probe->text(text, "arial.ttf", 0, 11, 11, angle, false);
    AreaPtr d = newArea(t->getWidth(), t->getHeight());
    d->setAntiAliasText(mode);
    t->drawOn(d.get(), t->getWidth() / 2, t->getHeight() / 2, 0x203080, Chart::Center);
    probe->close(t);
    return d;
}

}  // namespace

TEST(TurnedText, QuarterTurnsAreTheUprightPixelsTurned) {
    const char* text = "Quarter <*font=timesbd.ttf,size=9*>turns<*br*>of text, jpq";
    for (int mode : {Chart::NoAntiAlias, Chart::AntiAlias, Chart::AutoAntiAlias}) {
        AreaPtr upright = drawnAt(0, mode, text);
        const int w = upright->getWidth(), h = upright->getHeight();
        std::vector<uint32_t> a = pixelsOf(upright.get());
        int inked = 0;
        for (uint32_t p : a) inked += p != 0xffffff;
        ASSERT_GT(inked, 100);
        for (int turn : {90, 180, 270}) {
            AreaPtr turned = drawnAt(turn, mode, text);
            ASSERT_EQ(turned->getWidth(), turn == 180 ? w : h) << turn;
            ASSERT_EQ(turned->getHeight(), turn == 180 ? h : w) << turn;
            std::vector<uint32_t> b = pixelsOf(turned.get());
            const int tw = turned->getWidth();
            int differing = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    int tx = turn == 90 ? y : turn == 180 ? w - 1 - x : h - 1 - y;
                    int ty = turn == 90 ? w - 1 - x : turn == 180 ? h - 1 - y : x;
                    differing += a[static_cast<size_t>(y * w + x)] != b[static_cast<size_t>(ty * tw + tx)];
                }
            EXPECT_EQ(differing, 0) << "mode " << mode << ", turn " << turn;
        }
    }
}

TEST(TurnedText, PlainRunsAreRecordedTurnedOtherContentGoesThroughASubDrawing) {
    AreaPtr d = newArea(200, 200);
    d->text("up", "arial.ttf", 0, 10, 10, 90, false, 50, 60, 0x000000, Chart::TopLeft);
    d->text("down", "arial.ttf", 0, 10, 10, -90, false, 80, 60, 0x000000, Chart::TopLeft);
    std::string dump = dumpOf(d.get());
    EXPECT_EQ(count(dump, "TurnedText("), 2) << dump;
    EXPECT_NE(dump.find(", 90)\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find(", 270)\n"), std::string::npos) << dump;
    EXPECT_EQ(count(dump, "DefineSymbol("), 0) << dump;

    // Underlines, backgrounds, images and odd angles keep the upright drawing turned as a whole.
    AreaPtr e = newArea(200, 200);
    e->text("<*underline=1*>under", "arial.ttf", 0, 10, 10, 90, false, 10, 10, 0x000000, Chart::TopLeft);
    e->text("<*bgcolor=FFFF00*>marked", "arial.ttf", 0, 10, 10, 180, false, 10, 10, 0x000000, Chart::TopLeft);
    e->text("dot <*img=@circle,width=5*>", "arial.ttf", 0, 10, 10, 270, false, 10, 10, 0x000000, Chart::TopLeft);
    e->text("slanted", "arial.ttf", 0, 10, 10, 30, false, 10, 10, 0x000000, Chart::TopLeft);
    std::string other = dumpOf(e.get());
    EXPECT_EQ(count(other, "TurnedText("), 0) << other;
    EXPECT_EQ(count(other, "MergeWithRotation("), 4) << other;
}

TEST(TurnedText, VectorOutputTurnsTheTextAboutItsCorner) {
    AreaPtr d = newArea(120, 120);
    d->text("Axis", "arial.ttf", 0, 10, 10, 90, false, 10, 100, 0x000000, Chart::BottomLeft);
    MemBlock svg = d->outSVG();
    std::string s(svg.data, static_cast<size_t>(svg.len));
    EXPECT_NE(s.find("<g transform='rotate(-90 10.5 "), std::string::npos) << s;
    EXPECT_NE(s.find(">Axis</text>"), std::string::npos) << s;
    MemBlock pdf = d->outPDF();
    EXPECT_GT(pdf.len, 0);
}

TEST(TurnedText, LayingTextOutAgainLeavesWhatWasDrawn) {
    const char* text = "A label that will not fit later";
    AreaPtr reference = newArea(300, 300);
    AreaPtr d = newArea(300, 300);
    for (double angle : {0.0, 90.0, 180.0}) {
        TTFText* once = reference->text(text, "arial.ttf", 0, 10, 10, angle, false);
        once->drawOn(reference.get(), 150, 150, 0x000000, Chart::Center);
        reference->close(once);

        TTFText* t = d->text(text, "arial.ttf", 0, 10, 10, angle, false);
        t->drawOn(d.get(), 150, 150, 0x000000, Chart::Center);
        // Truncated to "A lab..." and wrapped: both rewrite the glyph records the drawing refers to.
        t->startLayout(0, 40, 1);
        t->startLayout(0, 60, 3);
        d->close(t);
    }
    std::vector<uint32_t> drawn = pixelsOf(d.get()), expected = pixelsOf(reference.get());
    int differing = 0;
    for (size_t i = 0; i < drawn.size(); ++i) differing += drawn[i] != expected[i];
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(count(dumpOf(d.get()), "..."), 0);
}

TEST(TurnedText, TurnedLabelsDrawnOnFourThreadsAtOnce) {
    auto render = [] {
        AreaPtr d = newArea(160, 160);
        d->setAntiAliasText(Chart::AntiAlias);
        for (int i = 0; i < 30; ++i)
            d->text("Threads", i % 2 ? "arial.ttf" : "timesbd.ttf", 0, 8 + i % 5, 8 + i % 5, 90 * (i % 4), false,
                    5 * i, 4 * i, 0x102030 * (i % 5), Chart::TopLeft);
        return pixelsOf(d.get());
    };
    std::vector<uint32_t> first = render();
    std::vector<std::vector<uint32_t>> results(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < results.size(); ++t) threads.emplace_back([&results, &render, t] { results[t] = render(); });
    for (std::thread& t : threads) t.join();
    for (const auto& r : results) EXPECT_TRUE(r == first);
}

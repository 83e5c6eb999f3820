#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "markuptest.h"

using namespace plotvane;
using namespace markuptest;

namespace {

std::string repeated(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Sane results: sizes within what the drawing area can take, and drawing works.
void expectSane(const std::string& text, int maxWidth = 0, double angle = 0) {
    SCOPED_TRACE(text.substr(0, 60));
    auto d = newArea();
    Markup m(text, maxWidth, 0x7fffffff, angle, d.get());
    EXPECT_GE(m->getWidth(), 0);
    EXPECT_GE(m->getHeight(), 0);
    EXPECT_LE(m->getWidth(), 1 << 30);
    EXPECT_LE(m->getHeight(), 1 << 30);
    m->drawOn(d.get(), 10, 10, 0x000000, Chart::Center);
    if (text.size() < 1000) {
        EXPECT_FALSE(dump(d.get()).empty());
    }
}

}  // namespace

TEST(MarkupRobustness, MalformedMarkupIsTextOrIgnored) {
    // A command never closed runs to the end; the style it sets is applied to nothing.
    Markup open("abc<*color=ff0000 and more text");
    EXPECT_EQ(linesOf(open.t), "abc");
    Markup unknown("a<*frobnicate=7,,=,*>b<**>c");
    EXPECT_EQ(linesOf(unknown.t), "abc");
    Markup closeAlone("a*>b");
    EXPECT_EQ(linesOf(closeAlone.t), "a*>b");
    Markup lone("<*");
    EXPECT_EQ(linesOf(lone.t), "");
    // An end of block at the top ends the text; restoring without a save does nothing.
    Markup ended("a<*/*>b");
    EXPECT_EQ(linesOf(ended.t), "a");
    Markup unsaved("<*/font*><*/font*>ab");
    EXPECT_EQ(linesOf(unsaved.t), "ab");
    // Unterminated nested blocks end with the text.
    Markup nested("a<*block*>b<*block*>c");
    EXPECT_EQ(nested->placed().size(), 2u);

    // Missing images and unknown symbols are empty boxes of the size asked for.
    Markup missing("<*img=/no/such/file.png,width=12,height=9*>");
    EXPECT_EQ(missing->getWidth(), 12);
    EXPECT_EQ(missing->getHeight(), 9);
    Markup unknownSymbol("<*img=@hexagon,size=8*>");
    EXPECT_EQ(unknownSymbol->getWidth(), 8);
    Markup noSize("<*img=@@77*>");
    EXPECT_EQ(noSize->getWidth(), 0);
}

TEST(MarkupRobustness, AbsurdValuesStayInRange) {
    Markup hundred("<*size=100*>a");
    Markup huge("<*size=1e9*>a");
    EXPECT_EQ(huge->getWidth(), hundred->getWidth());
    Markup nan("<*size=nan*>a<*size=inf*>");
    EXPECT_EQ(nan->getWidth(), 0);
    Markup negative("<*size=-5*>abc");
    EXPECT_EQ(negative->getWidth(), 0);
    Markup negativeWidth("<*width=-5*>abc");
    EXPECT_EQ(negativeWidth->getWidth(), Markup("abc").t->getWidth());

    for (double angle : {1e308, -1e308, std::nan(""), HUGE_VAL, -720.5, 0.05}) expectSane("Angle text", 0, angle);
    for (const char* text : {"<*block,angle=nan*>x<*/*>", "<*block,angle=1e300,margin=99999999999*>x<*/*>",
                             "<*block,width=2000000000,height=-7,linespacing=1e300*>x<*/*>",
                             "<*advance=999999999999*>a<*advance=-99999*>b<*advanceto=0x7fffffff*>c",
                             "<*xoffset=-2147483648,yoffset=2147483647,underline=99999*>x",
                             "<*block,maxwidth=1,truncate=-3*>abc def<*/*>", "<*img=,width=-9*>", "<*img=@star(1e300)*>"})
        expectSane(text);
    // Many huge advances on one line add up without overflowing.
    expectSane(repeated("<*advance=1000000*>x", 5000));
    expectSane(repeated("<*advance=1000000*>x", 5000), 300);
}

TEST(MarkupRobustness, DeepNestingAndLongStacksAreBounded) {
    // Deeper blocks than the cap are flattened, with their end commands, into the deepest one.
    std::string deep = repeated("<*block*>", 5000) + "core" + repeated("<*/*>", 5000) + "after";
    Markup m(deep);
    int depth = 0;
    const TTFText* t = m.t;
    while (const auto* b = dynamic_cast<const TTFBlocks*>(t)) {
        ++depth;
        ASSERT_FALSE(b->placed().empty());
        t = b->placed()[0].text;
    }
    EXPECT_EQ(depth, TTFBlocks::kMaxDepth);
    EXPECT_EQ(linesOf(m.t), "#|after");
    expectSane(deep);
    expectSane(repeated("<*block,angle=30*>", 40) + "spin");

    // Saved styles beyond the stack's room are skipped, and so are their restores.
    std::string fonts = repeated("<*font,size=20*>", 1000) + "a" + repeated("<*/font*>", 1000) + "b";
    Markup stacked(fonts);
    Markup plain("b");
    const Glyph& b = runOf(stacked.t, 0)->glyphs()[1];
    EXPECT_EQ(b.ascender, runOf(plain.t, 0)->glyphs()[0].ascender);
}

TEST(MarkupRobustness, MegabyteOfTextLaysOutInBoundedTime) {
    std::string line = "Lorem <*color=cc0000*>ipsum<*color=-1*> dolor sit amet, <*underline=1*>consectetur<*underline=0*> "
                       "adipiscing elit <*size=12*>sed<*size=10*> do eiusmod tempor.\n";
    std::string text = repeated(line, static_cast<int>((1 << 20) / line.size()) + 1);
    std::string words = repeated("lorem ipsum dolor sit amet ", (1 << 20) / 27 + 1);
    auto start = std::chrono::steady_clock::now();
    {
        auto d = newArea();
        Markup wrapped(text, 300, 0x7fffffff, 0, d.get());
        EXPECT_GT(wrapped->lineCount(), 6000);
        wrapped->drawOn(d.get(), 0, 0, 0x000000, Chart::TopLeft);
        Markup oneRun(words, 500);  // one run of a megabyte, broken into its own lines
        EXPECT_GT(oneRun->lineCount(), 10000);
        Markup unbroken(words.substr(0, 1 << 18));
        EXPECT_EQ(unbroken->lineCount(), 1);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 60.0);  // linear: a few seconds even under the sanitizers
}

TEST(MarkupRobustness, TextIsBuiltOnFourThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::vector<std::string> dumps(4);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &dumps] {
            for (int i = 0; i < 30; ++i) {
                auto d = newArea();
                std::string text = "<*block,halign=center,bgcolor=eeeeee*>Thread " + std::to_string(t) +
                                   "<*br*><*font=" + plotvane_test::kDejaVuSansBold + ",size=" + std::to_string(8 + i % 5) +
                                   "*>bold<*/font*> <*img=@circle,size=9,color=ff*><*/*> x<*sub*>2";
                Markup m(text, 150, 3, (i % 3) * 45.0, d.get());
                m->drawOn(d.get(), 150, 100, 0x000000, Chart::Center);
                if (i == 29) dumps[static_cast<size_t>(t)] = dump(d.get());
            }
        });
    }
    for (std::thread& th : threads) th.join();
    for (const std::string& out : dumps) EXPECT_NE(out.find("Text(\"bold "), std::string::npos) << out;
}

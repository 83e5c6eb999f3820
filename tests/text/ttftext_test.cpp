#include <plotvane/ttftext.h>

#include "text/textencoding_p.h"
#include "text/ttftextimpl_p.h"

#include "fontfixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using namespace plotvane;
using namespace plotvane_test;

namespace {

const char* const kFont = "DejaVuSans.ttf";

std::u32string u(const char* s) { return decodeText(s); }

// One run in one style, laid out as a text of that angle lays out its last run.
TTFTextImpl* runOf(const std::u32string& s, const char* font = kFont, double height = 10, double angle = 0,
                   bool vertical = false, int maxWidth = 0, int maxLines = 0x7fffffff) {
    TextStyle style;
    style.font = font;
    style.height = style.width = height;
    style.renderMode = adjustRenderMode(1, angle);
    auto* run = new TTFTextImpl(nullptr, vertical, 0);
    run->addText(s.data(), s.size(), style);
    run->finish(style);
    run->setMeasureByInk(std::fmod(angle, 90) > 0.1);
    run->startLayout(0, maxWidth < 1 ? 0x7fffffff : maxWidth, maxLines);
    return run;
}

// A laid-out run, destroyed at the end of the scope.
struct Text {
    TTFTextImpl* t;
    explicit Text(const char* s, int maxWidth = 0, int maxLines = 0x7fffffff, double angle = 0, bool vertical = false)
        : t(runOf(u(s), kFont, 10, angle, vertical, maxWidth, maxLines)) {}
    explicit Text(TTFTextImpl* impl) : t(impl) {}
    ~Text() { TTFText::destroy(t); }
    TTFTextImpl* operator->() const { return t; }
};

// The characters of the current line, spacers as "_".
std::string line(TTFTextImpl* t) {
    std::string out;
    for (int i = t->lineBegin(); i < t->lineEnd(); ++i) {
        int ch = t->glyphs()[i].ch;
        out += ch == kSpacerChar ? '_' : static_cast<char>(ch);
    }
    return out;
}

int widthOf(const char* s) { return Text(s)->getWidth(); }

}  // namespace

TEST(TextEncoding, Utf8WithFallbacks) {
    EXPECT_EQ(u("caf\xC3\xA9 \xE2\x82\xAC"), (std::u32string{'c', 'a', 'f', 0xe9, ' ', 0x20ac}));
    EXPECT_EQ(u("\xF0\x9F\x98\x80"), std::u32string(1, 0x1f600));
    // Not UTF-8 (and not the C locale's multibyte text either): one code point per byte.
    EXPECT_EQ(u("caf\xE9"), (std::u32string{'c', 'a', 'f', 0xe9}));
    EXPECT_EQ(u("\xC0\xAF"), (std::u32string{0xc0, 0xaf}));          // overlong
    EXPECT_EQ(u("\xED\xA0\x80"), (std::u32string{0xed, 0xa0, 0x80}));  // surrogate
    EXPECT_EQ(u("x\xE2\x82"), (std::u32string{'x', 0xe2, 0x82}));      // cut short
    EXPECT_EQ(u("\xF4\x90\x80\x80"), (std::u32string{0xf4, 0x90, 0x80, 0x80}));  // past U+10FFFF
    EXPECT_EQ(u(nullptr), std::u32string());
    EXPECT_EQ(widenText(L"h\u00e9"), (std::u32string{'h', 0xe9}));

    Text narrow("h\xC3\xA9llo");
    Text wide(runOf(widenText(L"h\u00e9llo")));
    EXPECT_EQ(narrow->getWidth(), wide->getWidth());
    EXPECT_EQ(narrow->glyphs().size(), 5);
    EXPECT_FALSE(narrow->needsBidi());
    EXPECT_TRUE(Text("abc \xD7\x90")->needsBidi());  // Hebrew alef
}

TEST(TextRun, MetricsComeFromTheFace) {
    Text t("Hello world");
    ASSERT_NE(t.t, nullptr);
    EXPECT_GT(t->getWidth(), 40);
    EXPECT_GT(t->getAscender(), 0);
    EXPECT_GT(t->getDescender(), 0);
    EXPECT_EQ(t->getHeight(), t->getAscender() + t->getDescender());
    EXPECT_EQ(t->getLineDistance(), t->glyphs()[0].face->lineHeight);
    EXPECT_EQ(t->getLineWidth(), t->getWidth());
    EXPECT_EQ(t->getLineHeight(), t->getHeight());
    EXPECT_EQ(t->getNextLine(), nullptr);
    // Pen positions run along the baseline.
    const Glyph& h = t->glyphs()[0];
    const Glyph& e = t->glyphs()[1];
    EXPECT_EQ(h.x0, 0);
    EXPECT_EQ(e.x0, h.x1);
    EXPECT_EQ(h.y0, t->getAscender());

    // No face for a height of 0 or less: nothing to draw, no size.
    Text invisible(runOf(u("abc"), kFont, 0));
    EXPECT_EQ(invisible->getWidth(), 0);
    EXPECT_EQ(invisible->glyphs().size(), 0);

    // Huge sizes stand for 100 points; unknown fonts still give text.
    Text huge(runOf(u("a"), kFont, 1e7));
    Text hundred(runOf(u("a"), kFont, 100));
    EXPECT_EQ(huge->getWidth(), hundred->getWidth());
    Text unknown(runOf(u("abc"), "no such font"));
    EXPECT_GT(unknown->getWidth(), 0);

    // A missing character is drawn as the face's box.
    Text missing("a\xF3\xBF\xBF\xBD");
    ASSERT_EQ(missing->glyphs().size(), 2);
    EXPECT_NE(missing->glyphs()[1].glyph, nullptr);
    EXPECT_EQ(missing->glyphs()[1].ch, 0xffffd);

    TTFText::destroy(nullptr);
}

TEST(TextRun, LinesBreakAtBlanksOrInsideOverlongWords) {
    int twoWords = widthOf("aaa bbb");
    Text t("aaa bbb  ccc", twoWords + 2);
    EXPECT_EQ(line(t.t), "aaa bbb");
    EXPECT_EQ(t->getWidth(), twoWords);
    auto* next = dynamic_cast<TTFTextImpl*>(t->getNextLine());
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next, t->getNextLine());  // kept
    EXPECT_EQ(line(next), "ccc");
    EXPECT_EQ(next->getWidth(), widthOf("ccc"));
    EXPECT_EQ(next->getNextLine(), nullptr);

    // A word longer than the line is cut where it overflows; further right it waits for the next line.
    int five = widthOf("abcde");
    EXPECT_FALSE(t->startLayout(0, 5, 3));
    Text word("abcdefghij", five + 1, 3);
    EXPECT_EQ(line(word.t), "abcde");
    EXPECT_EQ(line(dynamic_cast<TTFTextImpl*>(word->getNextLine())), "fghij");
    word->startLayout(10, five + 1, 3);
    EXPECT_EQ(line(word.t), "");
    word->startLayout(0, 1, 3);
    EXPECT_EQ(line(word.t), "a");

    // Trailing blanks leave no continuation.
    Text blanks("ab    ", widthOf("ab") + 1);
    EXPECT_EQ(line(blanks.t), "ab");
    EXPECT_EQ(blanks->getNextLine(), nullptr);
}

TEST(TextRun, LastLineIsTruncatedWithDotsThatFit) {
    for (int maxWidth : {20, 37, 60, 95}) {
        Text t("The quick brown fox jumps", maxWidth, 1);
        std::string l = line(t.t);
        ASSERT_GE(l.size(), 3u) << maxWidth;
        EXPECT_EQ(l.substr(l.size() - 3), "...") << maxWidth;
        EXPECT_LE(t->getWidth(), maxWidth) << l;
        EXPECT_GT(t->getWidth() + widthOf("o"), maxWidth - widthOf(".")) << l;  // no room wasted
    }
    // Dots may run past the end of the text.
    int limit = widthOf("a...");
    ASSERT_GT(widthOf("a@"), limit);
    Text shortText("a@", limit, 1);
    EXPECT_EQ(line(shortText.t), "a...");
    EXPECT_EQ(shortText->getWidth(), limit);
    // Laying out again restores the text.
    EXPECT_FALSE(shortText->startLayout(0, 1000, 1));
    EXPECT_EQ(line(shortText.t), "a@");
    EXPECT_EQ(shortText->glyphs().size(), 2);
    // Nothing fits: the first glyph alone.
    EXPECT_TRUE(shortText->startLayout(0, 3, 1));
    EXPECT_EQ(line(shortText.t), "a");
    EXPECT_TRUE(shortText->startLayout(0, 3, 1));
}

TEST(TextRun, SpacersBackgroundsAndUnderlines) {
    auto* run = new TTFTextImpl(nullptr, false, 1);
    Text owner(run);
    TextStyle style;
    style.font = kFont;
    style.renderMode = 1;
    style.advance = 20;
    style.underline = 2;
    run->addText(u("ab").data(), 2, style);
    style.underline = 0;
    style.bgColor = 0x00ff00;
    run->addText(u("c").data(), 1, style);
    style.bgColor = static_cast<int>(0xff000000);
    style.underline = 2;
    run->addText(u("d").data(), 1, style);
    style.advanceTo = 200;
    run->finish(style);
    run->startLayout(0, 0x7fffffff, 1);
    EXPECT_EQ(line(run), "_abcd_");
    EXPECT_EQ(run->getWidth(), 200);
    EXPECT_EQ(run->glyphs()[1].x0, 20);

    std::vector<TTFTextImpl::Underline> lines = run->underlines(100, 50);
    ASSERT_EQ(lines.size(), 2u);
    const Glyph* g = &run->glyphs()[0];
    auto px = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
    EXPECT_EQ(lines[0].x0, 100);
    EXPECT_EQ(lines[0].x1, 100 + px(g[2].x1) - 1);  // the leading space, a and b merged
    EXPECT_EQ(lines[0].y, 50 + run->getHeight() - run->getDescender() + 2);
    EXPECT_EQ(lines[1].x0, 100 + px(g[4].x0));

    std::vector<TTFTextImpl::Fill> fills = run->backgrounds(0, 0);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].x0, px(g[3].x0));
    EXPECT_EQ(fills[0].y1, run->getHeight() - 1);
    EXPECT_EQ(fills[0].color, 0x00ff00);
}

TEST(TextRun, TurnedTextIsMeasuredByInkAndVerticalTextStacks) {
    Text upright("ace");
    Text turned("  ace", 0, 0x7fffffff, 30);
    EXPECT_EQ(turned->getDescender(), 0);
    EXPECT_EQ(turned->getAscender(), turned->getHeight());
    EXPECT_EQ(turned->getLineDistance(), turned->getHeight());
    EXPECT_LT(turned->getHeight(), upright->getHeight());
    EXPECT_LE(turned->getWidth(), upright->getWidth());
    EXPECT_EQ(line(turned.t), "ace");
    const Glyph& a = turned->glyphs()[2];
    EXPECT_EQ(a.y0 - a.glyph->top, 0);  // ink starts at the top

    Text vertical("abc", 0, 0x7fffffff, 0, true);
    const Glyph& first = vertical->glyphs()[0];
    EXPECT_EQ(vertical->getHeight(), 3 * (first.ascender + first.lineGap));
    EXPECT_GT(vertical->getWidth(), 0);
    EXPECT_LT(vertical->getWidth(), upright->getWidth());

    EXPECT_EQ(adjustRenderMode(2, 45), 1);
    EXPECT_EQ(adjustRenderMode(2, -90), 2);
    EXPECT_EQ(adjustRenderMode(5, 90), 4);
    EXPECT_EQ(adjustRenderMode(5 | (180 << 6), 720), 5 | (180 << 6));
    EXPECT_EQ(adjustRenderMode(5 | (180 << 6), 1), 4 | (180 << 6));
}

TEST(TextRun, FontTestReportsIntoTheBuffer) {
    char buffer[8192];
    EXPECT_TRUE(TTFText::test("arial.ttf", 0, 10, 10, 0, buffer, sizeof buffer));
    EXPECT_NE(std::string(buffer).find("Successfully opened /"), std::string::npos) << buffer;
    char tiny[8] = "xxxxxxx";
    TTFText::test("arial.ttf", 0, 10, 10, 0, tiny, 1);
    EXPECT_EQ(tiny[0], 0);
    EXPECT_EQ(tiny[1], 'x');
    EXPECT_TRUE(TTFText::test("arial.ttf", 0, 10, 10, 0, nullptr, 0));
}

TEST(TextRun, TextIsBuiltOnManyThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            const char* fonts[] = {"arial.ttf", "DejaVuSans.ttf bold", "Times New Roman;DejaVuSans.ttf", "courbi.ttf"};
            for (int i = 0; i < 40; ++i) {
                TTFText* text = TTFText::create(nullptr, "Threads \xE2\x99\x94 and fonts", fonts[(t + i) % 4], 0,
                                                8 + (i % 7), 8 + (i % 7), (i % 3) * 30.0, false, i % 6, 80, 2);
                if (!text || text->getWidth() <= 0) ++failures[static_cast<size_t>(t)];
                if (text && text->getNextLine()) text->getNextLine()->startLayout(0, 80, 1);
                TTFText::destroy(text);
            }
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

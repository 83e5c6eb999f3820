#include <gtest/gtest.h>

#include <cmath>

#include "markuptest.h"
#include "text/pvmlparser_p.h"

using namespace plotvane;
using namespace markuptest;

namespace {

const Glyph& glyph(const TTFBlocks* b, size_t piece, int i) { return runOf(b, piece)->glyphs()[i]; }

}  // namespace

TEST(MarkupScanner, CommandsEscapesAndLineBreaks) {
    std::u32string text = U"a<*color=1*>b<<*c\r\nd<*br*>e<*x";
    PVMLScanner s(text);
    std::vector<std::u32string> pieces;
    for (PVMLToken t = s.next(); t.kind != PVMLToken::End; t = s.next()) {
        std::u32string piece = text.substr(t.begin, t.end - t.begin);
        pieces.push_back(t.kind == PVMLToken::Command ? U"[" + piece + U"]" : t.kind == PVMLToken::LineBreak ? U"/" : piece);
    }
    EXPECT_EQ(pieces, (std::vector<std::u32string>{U"a", U"[color=1]", U"b", U"<*", U"c", U"/", U"d", U"[br]", U"e", U"[x]"}));

    std::u32string items = U" Font = a b ,,size=3,sub, =x";
    std::vector<PVMLItem> split = splitItems(items.data(), items.data() + items.size());
    ASSERT_EQ(split.size(), 4u);
    EXPECT_EQ(split[0].name, U"font");
    EXPECT_EQ(split[0].value, U"a b");
    EXPECT_FALSE(split[2].hasValue);
    EXPECT_TRUE(split[3].name.empty());

    auto structure = [](const std::u32string& c) { return commandStructure(c.data(), c.data() + c.size()); };
    EXPECT_EQ(structure(U"br"), Structure::LineBreak);
    EXPECT_EQ(structure(U" BR "), Structure::LineBreak);
    EXPECT_EQ(structure(U"brx"), Structure::Style);
    EXPECT_EQ(structure(U"block,width=3"), Structure::Block);
    EXPECT_EQ(structure(U"img=@circle"), Structure::Image);
    EXPECT_EQ(structure(U"/"), Structure::EndBlock);
    EXPECT_EQ(structure(U"/block"), Structure::EndBlock);
    EXPECT_EQ(structure(U"/font"), Structure::Style);
    EXPECT_EQ(structure(U"/bgcolor"), Structure::Style);
    EXPECT_EQ(structure(U"/b"), Structure::EndBlock);
    EXPECT_EQ(structure(U"/bgcolorx"), Structure::EndBlock);

    EXPECT_EQ(readInt(U"0x10"), 16);
    EXPECT_EQ(readInt(U"99999999999"), 0x7fffffff);
    EXPECT_EQ(readInt(U"junk"), 0);
    EXPECT_EQ(readColor(U"80FF0000"), static_cast<int>(0x80ff0000));
    EXPECT_EQ(readColor(U"1FF0000FF"), static_cast<int>(0xff0000ff));  // the low 32 bits
    EXPECT_DOUBLE_EQ(readDouble(U"12.5"), 12.5);
}

TEST(Markup, StyleCommandsStyleEachGlyph) {
    // Colour applies from the command on; alpha is kept.
    Markup colour("A<*color=FF0000*>B<*color=8000FF00*>C");
    ASSERT_EQ(colour->placed().size(), 1u);
    EXPECT_EQ(glyph(colour.t, 0, 0).color, -1);
    EXPECT_EQ(glyph(colour.t, 0, 1).color, 0xff0000);
    EXPECT_EQ(glyph(colour.t, 0, 2).color, static_cast<int>(0x8000ff00));

    // "font" saves the style and "/font" brings it back.
    Markup bold("A<*font=" + plotvane_test::kDejaVuSansBold + "*>B<*/font*>C");
    const Glyph& a = glyph(bold.t, 0, 0);
    const Glyph& b = glyph(bold.t, 0, 1);
    const Glyph& c = glyph(bold.t, 0, 2);
    EXPECT_EQ(a.face, c.face);
    ASSERT_NE(b.face, nullptr);
    EXPECT_NE(a.face, b.face);
    EXPECT_TRUE(b.face->isBold());
    EXPECT_GT(b.glyph->advance, a.glyph->advance - 1);

    // "sub" is not saved: "/font" without a "font" before it changes nothing.
    Markup water("H<*sub*>2<*/font*>O");
    EXPECT_LT(glyph(water.t, 0, 1).yOffset, 0);
    EXPECT_EQ(glyph(water.t, 0, 2).yOffset, glyph(water.t, 0, 1).yOffset);
    EXPECT_EQ(glyph(water.t, 0, 2).face, glyph(water.t, 0, 1).face);
    Markup restored("H<*font,sub*>2<*/font*>O");
    EXPECT_EQ(glyph(restored.t, 0, 2).yOffset, 0);
    EXPECT_EQ(glyph(restored.t, 0, 2).face, glyph(restored.t, 0, 0).face);
    Markup super("x<*super*>2");
    // 10 points become 6.5 (half points below 7); the glyph moves up by round(0.4 x 6.5) = 3.
    EXPECT_EQ(glyph(super.t, 0, 1).yOffset, 3);
    EXPECT_EQ(glyph(super.t, 0, 1).face->getSizeInPixels(), 9);

    // Background, underline, offsets; unknown items are ignored.
    Markup styled("<*bgcolor=00FF00,underline=2,xoffset=0x3,yoffset=-4,nonsense=1,blink*>a<*underline=0*>b");
    const Glyph& g = glyph(styled.t, 0, 0);
    EXPECT_EQ(g.bgColor, 0x00ff00);
    EXPECT_EQ(g.underline, 2);
    EXPECT_EQ(g.xOffset, 3);
    EXPECT_EQ(g.yOffset, -4);
    EXPECT_EQ(glyph(styled.t, 0, 1).underline, 0);

    // Every style's closing tag brings back the style before its tag, and the text goes on.
    Markup closed("<*bgcolor=00FF00*>a<*/bgcolor*>b<*underline=1*>c<*/underline*>d<*yoffset=5*>e<*/yoffset*>f"
                  "<*size=20*>g<*/size*>h");
    EXPECT_EQ(lineText(runOf(closed.t, 0)), "abcdefgh");
    EXPECT_EQ(glyph(closed.t, 0, 0).bgColor, 0x00ff00);
    EXPECT_EQ(glyph(closed.t, 0, 1).bgColor, glyph(closed.t, 0, 7).bgColor);
    EXPECT_NE(glyph(closed.t, 0, 1).bgColor, 0x00ff00);
    EXPECT_EQ(glyph(closed.t, 0, 2).underline, 1);
    EXPECT_EQ(glyph(closed.t, 0, 3).underline, 0);
    EXPECT_EQ(glyph(closed.t, 0, 4).yOffset, 5);
    EXPECT_EQ(glyph(closed.t, 0, 5).yOffset, 0);
    EXPECT_EQ(glyph(closed.t, 0, 7).face, glyph(closed.t, 0, 0).face);
    EXPECT_NE(glyph(closed.t, 0, 6).face, glyph(closed.t, 0, 0).face);

    // Advances become spacers before the next character, or at the end of the run.
    Markup spaced("a<*advance=20*>b<*advanceto=100*>");
    EXPECT_EQ(lineText(runOf(spaced.t, 0)), "a_b_");
    EXPECT_EQ(glyph(spaced.t, 0, 2).x0 - glyph(spaced.t, 0, 1).x0, 20);
    EXPECT_EQ(spaced->getWidth(), 100);

    // "<<*" is a literal "<*"; a lone "*>" is text.
    Markup literal("x<<*y*>z");
    EXPECT_EQ(lineText(runOf(literal.t, 0)), "x<*y*>z");
}

TEST(Markup, MixedSizesShareTheLineMetrics) {
    Markup small("ab");
    Markup big("<*size=20*>ab");
    Markup mixed("ab<*size=20*>ab<*size=10*>ab");
    ASSERT_EQ(mixed->placed().size(), 1u);
    EXPECT_EQ(mixed->getAscender(), big->getAscender());
    EXPECT_EQ(mixed->getDescender(), big->getDescender());
    EXPECT_EQ(mixed->getHeight(), big->getHeight());
    EXPECT_EQ(mixed->getWidth(), 2 * small->getWidth() + big->getWidth());
    // Every glyph stands on the one baseline.
    for (int i = 0; i < 6; ++i) EXPECT_EQ(glyph(mixed.t, 0, i).y0, mixed->getAscender()) << i;
    // size= resets the width to follow the height; width= alone stretches.
    Markup wide("<*width=20*>ab");
    EXPECT_EQ(wide->getHeight(), small->getHeight());
    EXPECT_GT(wide->getWidth(), small->getWidth() * 3 / 2);
    Markup reset("<*width=20,size=10*>ab");
    EXPECT_EQ(reset->getWidth(), small->getWidth());

    // A nested block and an image sit on the baseline of the line.
    Markup nested("a<*block*>b<*br*>c<*/*>d<*img=@square,size=30,color=ff*>");
    ASSERT_EQ(nested->placed().size(), 4u);
    const auto& p = nested->placed();
    int baseline = p[0].y + p[0].text->getAscender();
    EXPECT_EQ(p[1].y + p[1].text->getAscender(), baseline);  // the block's last line
    EXPECT_EQ(p[2].y + p[2].text->getAscender(), baseline);
    EXPECT_EQ(p[3].y + 30, baseline);
    EXPECT_EQ(p[3].y, 0);  // the image is the tallest above the baseline
    EXPECT_EQ(nested->getHeight(), 30 + small->getDescender());
}

TEST(Markup, LineBreaksExplicitAndByWidth) {
    Markup one("A");
    Markup br("A<*br*>B");
    Markup newline("A\nB");
    Markup crlf("A\r\nB");
    EXPECT_EQ(linesOf(br.t), "A/B");
    EXPECT_EQ(linesOf(newline.t), "A/B");
    EXPECT_EQ(linesOf(crlf.t), "A/B");
    int distance = one->getLineDistance();
    EXPECT_EQ(br->getHeight(), distance + one->getHeight());
    EXPECT_EQ(newline->getHeight(), br->getHeight());
    EXPECT_EQ(br->placed()[1].y, distance);

    // An empty line keeps its height, and so does a trailing one.
    Markup empty("A\n\nB");
    EXPECT_EQ(linesOf(empty.t), "A//B");
    EXPECT_EQ(empty->getHeight(), 2 * distance + one->getHeight());
    EXPECT_EQ(empty->placed()[2].y, 2 * distance);
    Markup trailing("A<*br*>");
    EXPECT_EQ(trailing->getHeight(), br->getHeight());

    // Breaking by width: at blanks, a word too long for a line is cut.
    Markup words("aaa bbb ccc ddd", Markup("aaa bbb").t->getWidth() + 3);
    EXPECT_EQ(linesOf(words.t), "aaa bbb/ccc ddd");
    Markup narrow("one two three", 1);
    EXPECT_EQ(linesOf(narrow.t), "o/n/e/t/w/o/t/h/r/e/e");
    // A piece that does not fit after others moves to the next line.
    int wordWidth = Markup("word").t->getWidth();
    Markup image("word<*img=@circle,size=40,color=ff*>", wordWidth + 20);
    EXPECT_EQ(linesOf(image.t), "word/#");
    EXPECT_EQ(image->placed()[1].x, 0);
    // A run that cannot start after a piece waits for the next line.
    Markup after("<*img=@circle,size=40,color=ff*>word", wordWidth + 20);
    EXPECT_EQ(linesOf(after.t), "#|/word");
    // Laying out again with another width gives the same as laying out once with it.
    Markup again("aaa bbb ccc ddd", 1);
    again->startLayout(0, Markup("aaa bbb").t->getWidth() + 3, 0x7fffffff);
    EXPECT_EQ(linesOf(again.t), "aaa bbb/ccc ddd");
}

TEST(Markup, AlignmentWithinBlocksAndLines) {
    int wide = Markup("wider line").t->getWidth();
    int narrow = Markup("x").t->getWidth();
    Markup centred("<*block,halign=center,width=200*>wider line<*br*>x<*/*>");
    const TTFBlocks* block = dynamic_cast<const TTFBlocks*>(centred->placed()[0].text);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->getWidth(), 200);
    EXPECT_EQ(block->placed()[0].x, 100 - wide / 2);
    EXPECT_EQ(block->placed()[1].x, 100 - narrow / 2);
    Markup right("<*block,halign=right,width=200*>wider line<*br*>x<*/*>");
    block = dynamic_cast<const TTFBlocks*>(right->placed()[0].text);
    EXPECT_EQ(block->placed()[0].x, 200 - wide);
    EXPECT_EQ(block->placed()[1].x, 200 - narrow);
    // Automatic width: the widest line, narrower lines centred on it.
    Markup automatic("<*block,halign=center*>wider line<*br*>x<*/*>");
    block = dynamic_cast<const TTFBlocks*>(automatic->placed()[0].text);
    EXPECT_EQ(block->getWidth(), wide);
    EXPECT_EQ(block->placed()[1].x, wide / 2 - narrow / 2);

    // Vertical alignment of a line's pieces against a 40-pixel image.
    int height = Markup("x").t->getHeight(), ascender = Markup("x").t->getAscender();
    auto yOf = [](const char* valign) {
        Markup m(std::string("<*block,valign=") + valign + "*>x<*img=@square,size=40,color=ff*><*/*>");
        const auto* b = dynamic_cast<const TTFBlocks*>(m->placed()[0].text);
        return b->placed()[0].y - b->placed()[1].y;
    };
    EXPECT_EQ(yOf("top"), 0);
    EXPECT_EQ(yOf("bottom"), 40 - height);
    EXPECT_EQ(yOf("absmiddle"), 20 - height / 2);
    EXPECT_EQ(yOf("middle"), 20 - ascender / 2);
    EXPECT_EQ(yOf("baseline"), 40 - ascender);
    EXPECT_EQ(yOf("sideways"), yOf("baseline"));
    // A fixed height moves the content down for bottom and centre.
    Markup low("<*block,height=50,valign=bottom*>x<*/*>");
    block = dynamic_cast<const TTFBlocks*>(low->placed()[0].text);
    EXPECT_EQ(block->getHeight(), 50);
    EXPECT_EQ(block->placed()[0].y, 50 - height);

    // Drawing with an alignment other than top-left aligns every line in the text's box.
    auto d = newArea();
    Markup text("wider line\nx", 0, 0x7fffffff, 0, d.get());
    text->drawOn(d.get(), 100, 100, 0x000000, Chart::TopCenter);
    text->drawOn(d.get(), 100, 150, 0x000000, Chart::TopRight);
    std::string out = dump(d.get());
    int left = 100 - wide / 2;
    EXPECT_NE(out.find("\"x\", 0, 1, " + std::to_string(left + (wide - narrow + 1) / 2) + ", "), std::string::npos) << out;
    EXPECT_NE(out.find("\"x\", 0, 1, " + std::to_string(100 - (wide - 1) + wide - narrow) + ", "), std::string::npos) << out;
    // Right to left: the first piece goes rightmost.
    Markup rtl("<*block,rtl=1*>ab<*img=@square,size=10,color=ff*><*/*>");
    rtl->drawOn(d.get(), 0, 0, 0x000000, Chart::TopLeft);
    EXPECT_NE(dump(d.get()).find("\"ab\", 0, 2, 10, "), std::string::npos);
}

TEST(Markup, RotatedTextReportsTheBoundingBox) {
    Markup upright("Rotate me");
    Markup turned90("Rotate me", 0, 0x7fffffff, 90);
    Markup turned270("Rotate me", 0, 0x7fffffff, -90);
    EXPECT_EQ(turned90->getWidth(), upright->getHeight());
    EXPECT_EQ(turned90->getHeight(), upright->getWidth());
    EXPECT_EQ(turned270->getWidth(), upright->getHeight());
    EXPECT_EQ(turned90->getAscender(), turned90->getHeight());
    EXPECT_EQ(turned90->getDescender(), 0);
    Markup full("Rotate me", 0, 0x7fffffff, 360);
    EXPECT_EQ(full->getWidth(), upright->getWidth());
    EXPECT_EQ(full->getHeight(), upright->getHeight());

    // At 45 degrees the box is measured by ink and turned.
    Markup turned45("Rotate me", 0, 0x7fffffff, 45);
    int w = turned45->unrotatedWidth(), h = turned45->unrotatedHeight();
    EXPECT_LT(h, upright->getHeight());  // ink, not the face's line
    double s = std::sin(3.14159265358979 / 4);
    EXPECT_EQ(turned45->getWidth(), static_cast<int>(std::ceil(h * s + w * s - 0.1)));
    EXPECT_EQ(turned45->getHeight(), turned45->getWidth());

    // A nested block turns on its own inside an upright line.
    Markup inner("a<*block,angle=90*>Rotate me<*/*>");
    EXPECT_EQ(inner->placed()[1].text->getHeight(), upright->getWidth());
    EXPECT_EQ(inner->getHeight(), upright->getWidth() + upright->getDescender());

    // Turned text is drawn upright into a sub area merged back turned.
    auto d = newArea();
    Markup drawn("Rotate me", 0, 0x7fffffff, 30, d.get());
    drawn->drawOn(d.get(), 50, 50, 0x000000, Chart::TopLeft);
    std::string out = dump(d.get());
    EXPECT_NE(out.find("MergeWithRotation("), std::string::npos) << out;
    EXPECT_NE(out.find(", 30)"), std::string::npos) << out;
}

TEST(Markup, TruncationEndsTheLastLineInDots) {
    const char* text = "The quick brown fox jumps over the lazy dog again and again";
    Markup two(text, 100, 2);
    ASSERT_EQ(two->lineCount(), 2);
    std::string last = lineText(runOf(two.t, 1));
    EXPECT_EQ(last.substr(last.size() - 3), "...") << linesOf(two.t);
    EXPECT_LE(two->getWidth(), 100);
    EXPECT_TRUE(two->startLayout(0, 100, 2));
    EXPECT_FALSE(two->startLayout(0, 100, 100));
    EXPECT_EQ(linesOf(two.t).find("..."), std::string::npos);

    // Lines past the limit are dropped, the last one kept ends in dots only when it overflows.
    Markup lines("a\nb\nc", 100, 2);
    EXPECT_EQ(linesOf(lines.t), "a/b");
    EXPECT_TRUE(lines->startLayout(0, 100, 2));
    // A block's own maxwidth and truncate.
    Markup block(std::string("<*block,maxwidth=80,truncate=1*>") + text + "<*/*>");
    const auto* inner = dynamic_cast<const TTFBlocks*>(block->placed()[0].text);
    ASSERT_EQ(inner->lineCount(), 1);
    EXPECT_LE(inner->getWidth(), 80);
    std::string only = lineText(runOf(inner, 0));
    EXPECT_EQ(only.substr(only.size() - 3), "...");
}

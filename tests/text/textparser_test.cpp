#include <gtest/gtest.h>

#include <string>

#include "text/textparser_p.h"

using namespace plotvane;

namespace {

void apply(TextParser& p, const std::u32string& command) { p.applyCommand(command.data(), command.data() + command.size()); }

}  // namespace

TEST(TextParser, ClosingTagsBringBackWhatTheirTagChanged) {
    TextStyle start;
    start.color = 0x000000;
    start.height = 10;
    TextParser p(nullptr, start);
    apply(p, U"color=ff0000");
    apply(p, U"size=14");
    apply(p, U"color=00ff00");
    EXPECT_EQ(p.style().color, 0x00ff00);
    apply(p, U"/color");
    EXPECT_EQ(p.style().color, 0xff0000);
    EXPECT_EQ(p.style().height, 14);
    // Closing an outer tag closes what was opened inside it too, as in nested markup.
    apply(p, U"/color");
    EXPECT_EQ(p.style().color, 0x000000);
    EXPECT_EQ(p.style().height, 10);
    // Nothing left to close, and an unknown tag: the style stays as it is.
    apply(p, U"/size");
    apply(p, U"colr=0000ff");
    EXPECT_EQ(p.style().color, 0x000000);
    // font and /font keep saving and restoring the whole style.
    apply(p, U"font,color=0000ff,underline=1");
    apply(p, U"/font");
    EXPECT_EQ(p.style().color, 0x000000);
    EXPECT_EQ(p.style().underline, 0);
}

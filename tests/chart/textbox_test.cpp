#include <plotvane/basechart.h>
#include <plotvane/chart.h>
#include <plotvane/drawobj.h>
#include <plotvane/ttftext.h>

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "chart/testchart.h"
#include "chart/textbox_p.h"

using namespace plotvane;
using namespace plotvane_test;

TEST(TextBox, MarginsComeFromTheFontAndTheBorder) {
    auto tc = makeTestChart(400, 300);
    BaseChart* c = tc->api();
    TTFText* measured = c->getDrawArea()->text("Sample", "", 0, 12, 12, 0, false);
    int textW = measured->getWidth(), textH = measured->getHeight();
    measured->destroy();

    TextBox* box = c->addText(100, 50, "Sample", "", 12);
    // 12 points: 3 above, 2 below, 4 left, 3 right.
    EXPECT_EQ(box->getWidth(), textW + 7);
    EXPECT_EQ(box->getHeight(), textH + 5);
    EXPECT_STREQ(box->getImageCoor(1, 2), ("shape=\"rect\" coords=\"101,52," + std::to_string(100 + textW + 7) + "," +
                                           std::to_string(51 + textH + 5) + "\"")
                                              .c_str());
    box->setBackground(0xffff00, 0x000000, 2);  // a raised border takes effect + 1 on each side
    EXPECT_EQ(box->getWidth(), textW + 7 + 6);
    box->setBackground(0xffff00, 0x000000, Chart::flatBorder(4));
    EXPECT_EQ(box->getWidth(), textW + 7 + 6);
    box->setBackground(0xffff00, 0x000000, Chart::glassEffect());  // its bevel is 5 deep
    EXPECT_EQ(box->getWidth(), textW + 7 + 12);
    box->setBackground(0xffff00, 0x000000, Chart::cylinderEffect());
    EXPECT_EQ(box->getWidth(), textW + 7);
    box->setMargin(1, 2, 3, 4);
    EXPECT_EQ(box->getWidth(), textW + 3);
    EXPECT_EQ(box->getHeight(), textH + 7);
    box->setMargin(0);
    EXPECT_EQ(box->getWidth(), textW);

    // Sized by its text, the box hangs from its position by the alignment.
    box->setAlignment(Chart::BottomRight);
    EXPECT_EQ(box->getLeftX(), 100 - textW + 1);
    EXPECT_EQ(box->getTopY(), 50 - textH + 1);
    box->setAlignment(Chart::Center);
    EXPECT_EQ(box->getLeftX(), 100 - textW / 2);
    // A given size keeps the box's corner at the position; the alignment places the text inside.
    box->setSize(200, 40);
    EXPECT_EQ(box->getLeftX(), 100);
    EXPECT_EQ(box->getTopY(), 50);
    std::string dump = dumpOf(c->makeChart());
    EXPECT_NE(dump.find("\"Sample\", 0, 6, " + std::to_string(100 + 100 - textW / 2) + ", " +
                        std::to_string(50 + 20 - textH / 2)),
              std::string::npos)
        << dump;
}

TEST(TextBox, EmptyBoxesPaintOnlyWhenSized) {
    auto tc = makeTestChart(200, 100);
    BaseChart* c = tc->api();
    TextBox* empty = c->addText(10, 10, "");
    empty->setBackground(0x00ff00);
    TextBox* sized = c->addText(50, 10, "");
    sized->setBackground(0x0000ff);
    sized->setSize(30, 20);
    TextBox* nulls = c->addText(10, 10, nullptr, nullptr);
    EXPECT_EQ(empty->getWidth(), 0);
    EXPECT_EQ(nulls->getHeight(), 0);
    std::string dump = dumpOf(c->makeChart());
    EXPECT_EQ(dump.find("0x00ff00"), std::string::npos);
    EXPECT_NE(dump.find("RoundedRect(50, 10, 79, 29, 0, Chart.Transparent, 0x0000ff)"), std::string::npos) << dump;

    // Bad sizes and angles are ignored or clamped.
    sized->setSize(-5, -5);
    EXPECT_EQ(sized->getWidth(), 0);
    TextBox* text = c->addText(0, 0, "x");
    int width = text->getWidth();
    text->setFontSize(Chart::NoValue * 10, 0);
    text->setFontAngle(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(text->getWidth(), width);
}

TEST(TextBox, TruncationLimitsTheText) {
    auto tc = makeTestChart(400, 300);
    TextBox* box = tc->api()->addText(0, 0, "a long text that will not fit in a narrow box at all");
    int full = box->getWidth();
    box->setTruncate(80, 1);
    EXPECT_LE(box->getWidth(), 80);
    EXPECT_LT(box->getWidth(), full);
    box->setMaxWidth(0);
    EXPECT_EQ(box->getWidth(), full);
}

TEST(TextBox, UnsetStylesFollowTheDefaultBox) {
    auto tc = makeTestChart(400, 300);
    BaseChart* c = tc->api();
    TextBox* plain = c->addText(10, 10, "Plain", "", 10);
    TextBox* own = c->addText(10, 60, "Own", "", 10);
    own->setBackground(0x00ff00, 0x000000, 0);
    own->setMargin(1);
    int plainWidth = plain->getWidth();

    // A later change of the default reaches the box that left the style alone, not the other.
    TextBox* style = tc->defaultTextBox();
    style->setBackground(0xffff00, 0x000000, 3);
    style->setMargin(10);
    EXPECT_EQ(plain->getWidth(), plainWidth - 7 + 20);  // automatic margins (4 + 3) give way to 10 + 10
    int ownWidth = own->getWidth();
    style->setMargin(20);
    EXPECT_EQ(own->getWidth(), ownWidth);
    EXPECT_EQ(plain->getWidth(), plainWidth - 7 + 40);

    MemBlock dump = c->makeChart(8);
    std::string text(dump.data, static_cast<size_t>(dump.len));
    EXPECT_NE(text.find("0xffff00"), std::string::npos);
    EXPECT_NE(text.find("0x00ff00"), std::string::npos);

    // addText sets the font size, so the default's does not reach it.
    int plainHeight = plain->getHeight();
    style->setFontSize(20);
    EXPECT_EQ(plain->getHeight(), plainHeight);

    // A box cannot become its own default, directly or round a loop.
    auto* a = dynamic_cast<TextBoxImpl*>(plain);
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(tc->defaultTextBox()->setDefault(a));
    EXPECT_FALSE(a->setDefault(a));
    EXPECT_EQ(a->getDefault(), tc->defaultTextBox());
}

TEST(TextBox, AnOriginHangsTheBoxByItsAlignmentPoint) {
    auto tc = makeTestChart(200, 100);
    BaseChart* c = tc->api();
    TextBox* box = c->addText(0, 0, "");
    box->setSize(30, 20);
    box->setBackground(0x0000ff);
    // A sized box hangs from its position by the top-left corner, from an origin by the point
    // asked: here its bottom-right pixel lies on the origin.
    box->setOrigin(100, 50, Chart::BottomRight);
    EXPECT_EQ(box->getLeftX(), 71);
    EXPECT_EQ(box->getTopY(), 31);
    box->setPos(5, -6);
    EXPECT_EQ(box->getLeftX(), 76);
    EXPECT_EQ(box->getTopY(), 25);
    // -1 takes the box's own alignment.
    box->setAlignment(Chart::TopRight);
    box->setOrigin(100, 50);
    EXPECT_EQ(box->getLeftX(), 76);
    EXPECT_EQ(box->getTopY(), 44);
    EXPECT_NE(dumpOf(c->makeChart()).find("RoundedRect(76, 44, 105, 63"), std::string::npos);
}

TEST(TextBox, CopyTakesTheBoxNotTheText) {
    auto tc = makeTestChart(200, 100);
    BaseChart* c = tc->api();
    TextBox* source = c->addText(0, 0, "");
    source->setPos(10, 20);
    source->setSize(30, 40);
    source->setBackground(0xff0000, 0x00ff00, 2);
    source->setRoundedCorners(5);
    TextBox* target = c->addText(90, 5, "");
    target->setBackground(0x0000ff);
    target->copy(source);
    target->copy(nullptr);
    target->copy(target);
    EXPECT_EQ(target->getLeftX(), 10);
    EXPECT_EQ(target->getTopY(), 20);
    EXPECT_EQ(target->getWidth(), 30);
    EXPECT_EQ(target->getHeight(), 40);
    const std::string dump = dumpOf(c->makeChart());
    EXPECT_EQ(dump.find("0x0000ff"), std::string::npos) << dump;
    size_t first = dump.find("RoundedRect(10, 20, 39, 59, 5, 0x00ff00, 0xff0000)");
    ASSERT_NE(first, std::string::npos) << dump;
    EXPECT_NE(dump.find("RoundedRect(10, 20, 39, 59, 5, 0x00ff00, 0xff0000)", first + 1), std::string::npos) << dump;
}

#include <plotvane/basechart.h>
#include <plotvane/drawarea.h>
#include <plotvane/legendbox.h>
#include <plotvane/ttftext.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/testchart.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

// Entries without text have an exact width: key 10 + gap 5 at font size 10.
constexpr int kBareWidth = 15;

std::vector<std::vector<int>> entryRects(LegendBox* legend, int count) {
    std::vector<std::vector<int>> rects;
    for (int i = 0; i < count; ++i) rects.push_back(rectOf(legend->getImageCoor(i)));
    return rects;
}

// The order in which the texts appear in the chart's drawing.
std::vector<std::string> textOrder(const std::string& dump, const std::vector<std::string>& texts) {
    std::vector<std::pair<size_t, std::string>> found;
    for (const std::string& t : texts) {
        size_t at = dump.find("\"" + t + "\"");
        if (at != std::string::npos) found.emplace_back(at, t);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> order;
    for (auto& f : found) order.push_back(f.second);
    return order;
}

}  // namespace

TEST(LegendBox, DefaultSizesComeFromTheFont) {
    auto tc = makeTestChart(400, 300);
    LegendBox* legend = tc->api()->addLegend(20, 30, true);
    legend->addKey("", 0xff0000);
    legend->addKey("", 0x00ff00);
    tc->layout();
    std::vector<std::vector<int>> r = entryRects(legend, 2);
    // Margins 10, key 10 x 10 (entry 11 high), line spacing 2.
    EXPECT_EQ(r[0][0], 30);
    EXPECT_EQ(r[0][1], 40);
    EXPECT_EQ(r[0][2] - r[0][0] + 1, kBareWidth);
    EXPECT_EQ(r[1][1], r[0][3] + 1 + 2);
    EXPECT_EQ(legend->getLeftX(), 20);
    EXPECT_EQ(legend->getWidth(), kBareWidth + 20);
    EXPECT_EQ(legend->getHeight(), r[1][3] + 1 - 40 + 20);
    EXPECT_EQ(tc->legend()->getPreferredKeyWidth(), 10);
    EXPECT_EQ(tc->legend()->getPreferredKeyHeight(), 10);

    // The box is drawn in the line colour without fill; each key is a box in the entry colour.
    std::string dump = dumpOf(tc->makeChart());
    EXPECT_NE(dump.find("RoundedRect(20, 30, 54, "), std::string::npos) << dump;
    // The key is centred on the text line when the text is taller.
    int keyTop = 40 + (r[0][3] - r[0][1] + 1 - 10) / 2;
    EXPECT_NE(dump.find("RoundedRect(30, " + std::to_string(keyTop) + ", 39, " + std::to_string(keyTop + 9) +
                        ", 0, 0x000000, 0xff0000)"),
              std::string::npos)
        << dump;

    // Flow mode spaces entries 30 apart.
    auto flow = makeTestChart(400, 300);
    LegendBox* row = flow->api()->addLegend(20, 30, false);
    row->addKey("", 0xff0000);
    row->addKey("", 0x00ff00);
    flow->layout();
    r = entryRects(row, 2);
    EXPECT_EQ(r[1][0], r[0][0] + kBareWidth + 30);
    EXPECT_EQ(r[1][1], r[0][1]);
}

TEST(LegendBox, EntriesSortByKeyAndReverse) {
    for (bool reversed : {false, true}) {
        auto tc = makeTestChart(400, 300);
        LegendBox* legend = tc->api()->addLegend(10, 10, true);
        legend->setReverse(reversed);
        tc->addLayerKey(10030, "thirty", 0x0000ff);
        tc->addLayerKey(10010, "ten", 0x0000ff);
        tc->addLayerKey(10020, "twenty", 0x0000ff);
        tc->addLayerKey(10020, "twenty-b", 0x0000ff);  // equal keys keep their order
        legend->addKey("user one", 0xff0000);           // user entries get 1, 2 ... and lead
        legend->addKey("user two", 0xff0000);
        legend->addKey(10025, "placed", 0x00ff00);
        std::string dump = dumpOf(tc->makeChart());
        std::vector<std::string> expected = {"user one", "user two", "ten", "twenty", "twenty-b", "placed", "thirty"};
        if (reversed) std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(textOrder(dump, expected), expected);
    }
}

TEST(LegendBox, GridColumnsWrapRowByRow) {
    auto tc = makeTestChart(600, 300);
    LegendBox* legend = tc->api()->addLegend(0, 0, 2);
    for (const char* t : {"a", "bb", "ccc", "dddd", "eeeee"}) legend->addKey(t, 0x808080);
    tc->layout();
    std::vector<std::vector<int>> r = entryRects(legend, 5);
    int column = r[1][0] - r[0][0] - 20;  // the widest entry
    EXPECT_EQ(column, r[4][2] - r[4][0] + 1);
    EXPECT_EQ(r[0][1], r[1][1]);
    EXPECT_EQ(r[2][1], r[3][1]);
    EXPECT_GT(r[2][1], r[0][1]);
    EXPECT_GT(r[4][1], r[2][1]);
    EXPECT_EQ(r[4][0], r[0][0]);
    EXPECT_EQ(legend->getWidth(), 2 * column + 20 + 20);

    // A set box width shares itself between the columns.
    auto fixed = makeTestChart(600, 300);
    LegendBox* wide = fixed->api()->addLegend(0, 0, 3);
    wide->setSize(320, 0);
    for (int k = 0; k < 4; ++k) wide->addKey("", 0x808080);
    fixed->layout();
    r = entryRects(wide, 4);
    EXPECT_EQ(r[1][0] - r[0][0], 20 + (320 - 20 - 40) / 3);
    EXPECT_EQ(r[3][0], r[0][0]);
    EXPECT_EQ(wide->getWidth(), 320);
}

TEST(LegendBox, FlowWrapsWhenTheNextEntryWouldReachTheEdge) {
    // Entries are 15 wide and 30 apart: the third ends at 105.
    for (int room : {105, 106}) {
        auto tc = makeTestChart(10 + 20 + room, 200);
        LegendBox* legend = tc->api()->addLegend(10, 10, 0);
        for (int k = 0; k < 3; ++k) legend->addKey("", 0x808080);
        tc->layout();
        std::vector<std::vector<int>> r = entryRects(legend, 3);
        if (room == 105) {
            EXPECT_EQ(r[2][0], r[0][0]);
            EXPECT_GT(r[2][1], r[0][1]);
        } else {
            EXPECT_EQ(r[2][0], r[0][0] + 90);
            EXPECT_EQ(r[2][1], r[0][1]);
        }
    }
}

TEST(LegendBox, LongTextsWrapWithinTheirColumn) {
    auto tc = makeTestChart(300, 300);
    LegendBox* legend = tc->api()->addLegend(0, 0, 2);
    legend->addKey("a rather long legend entry that cannot fit in half the width", 0x808080);
    legend->addKey("short", 0x808080);
    tc->layout();
    std::vector<std::vector<int>> r = entryRects(legend, 2);
    int room = (300 - 20 - 20) / 2;
    EXPECT_LE(r[0][2] - r[0][0] + 1, room);
    EXPECT_LE(legend->getLeftX() + legend->getWidth(), 300);

    // One column is not limited unless the legend has a maximum width.
    auto limited = makeTestChart(300, 300);
    LegendBox* narrow = limited->api()->addLegend(0, 0, true);
    narrow->setMaxWidth(120);
    narrow->addKey("another rather long legend entry", 0x808080);
    limited->layout();
    EXPECT_LE(narrow->getWidth(), 120);
}

TEST(LegendBox, EmptyAndUnplacedLegends) {
    auto tc = makeTestChart(200, 200);
    LegendBox* legend = tc->api()->addLegend(50, 60, true);
    std::string dump = dumpOf(tc->makeChart());
    // Only the margins.
    EXPECT_EQ(legend->getWidth(), 20);
    EXPECT_EQ(legend->getHeight(), 20);
    EXPECT_NE(dump.find("RoundedRect(50, 60, 69, 79"), std::string::npos) << dump;
    EXPECT_STREQ(legend->getImageCoor(0), "");
    EXPECT_STREQ(legend->getImageCoor(-1), "");

    auto hidden = makeTestChart(200, 200);
    LegendBox* never = hidden->api()->getLegend();
    never->addKey("x", 0xff0000);
    hidden->makeChart();
    never->setPos(10, 10);  // too late to lay out: still nothing
    std::string hiddenDump = dumpOf(hidden->makeChart());
    EXPECT_EQ(hiddenDump.find("\"x\""), std::string::npos);
    EXPECT_EQ(never->getWidth(), 0);
}

TEST(LegendBox, AlignmentHangsTheBoxFromItsPosition) {
    struct Case {
        int align;
        int expectLeft, expectTop;  // for a box of w x h at (200, 100)
    };
    auto tc = makeTestChart(400, 300);
    LegendBox* probe = tc->api()->addLegend(0, 0, true);
    probe->addKey("", 0);
    tc->layout();
    int w = probe->getWidth(), h = probe->getHeight();
    const Case cases[] = {{Chart::TopLeft, 200, 100}, {Chart::Center, 200 - (kBareWidth / 2 + 10), 100 - (h - 20) / 2 - 10},
                          {Chart::BottomRight, 200 - w + 1, 100 - h + 1}, {Chart::TopRight, 200 - w + 1, 100}};
    for (const Case& k : cases) {
        auto chart = makeTestChart(400, 300);
        LegendBox* legend = chart->api()->addLegend(200, 100, true);
        legend->setAlignment(k.align);
        legend->addKey("", 0);
        chart->layout();
        EXPECT_EQ(legend->getLeftX(), k.expectLeft) << k.align;
        EXPECT_EQ(legend->getTopY(), k.expectTop) << k.align;
    }
    // A fixed size hangs by the alignment and places the content inside it.
    auto chart = makeTestChart(400, 300);
    LegendBox* legend = chart->api()->addLegend(300, 200, true);
    legend->setAlignment(Chart::BottomRight);
    legend->setSize(101, 60);
    legend->addKey("", 0);
    chart->layout();
    EXPECT_EQ(legend->getLeftX(), 200);
    EXPECT_EQ(legend->getTopY(), 141);
    EXPECT_EQ(legend->getWidth(), 101);
    EXPECT_EQ(legend->getHeight(), 60);
    // At the bottom inside the margin (the offset of the spare height is one short of it).
    EXPECT_EQ(rectOf(legend->getImageCoor(0))[3], 141 + 60 - 10 - 2);
}

TEST(LegendBox, LineStyleKeysAndIcons) {
    DrawArea* icon = DrawArea::create();
    icon->setSize(7, 7, 0x00ff00);
    auto tc = makeTestChart(400, 300);
    LegendBox* legend = tc->api()->addLegend(10, 10, true);
    legend->setLineStyleKey();
    legend->addKey("line", 0xaa0000, 3, icon);
    legend->addKey("box", 0x0000aa);
    icon->destroy();  // the legend keeps its own reference
    tc->layout();
    EXPECT_EQ(tc->legend()->getPreferredKeyWidth(), 20);  // 2 x font width beats 2 x 7
    std::string dump = dumpOf(tc->makeChart());
    std::vector<std::string> lines = linesOf(dump);
    int line = lineWith(lines, "0xaa0000, 3)");
    ASSERT_GE(line, 0) << dump;
    EXPECT_EQ(lines[static_cast<size_t>(line)].rfind("Line(20, ", 0), 0u) << lines[static_cast<size_t>(line)];
    EXPECT_NE(lines[static_cast<size_t>(line)].find(", 39, "), std::string::npos);
    EXPECT_GT(lineWith(lines, "Merge"), line);
    // An entry without a line keeps a box key, now as wide as the line keys.
    EXPECT_NE(dump.find("RoundedRect(20, "), std::string::npos);
    EXPECT_NE(dump.find(", 39, "), std::string::npos);

    // A dynamic colour turns line keys on by itself; set key sizes, spacing and borders are kept.
    auto dyn = makeTestChart(400, 300);
    LegendBox* second = dyn->api()->addLegend(10, 10, true);
    int dash = dyn->api()->dashLineColor(0x123456);
    second->addKey("dashed", dash, 2);
    second->addKey("plain", 0x654321);
    second->setKeySize(12, 6, 3);
    second->setKeySpacing(4, 9);
    second->setKeyBorder(0x00ffff, 1);
    dyn->layout();
    std::vector<std::vector<int>> r = entryRects(second, 2);
    EXPECT_EQ(r[1][1], r[0][3] + 1 + 9);
    std::string dynDump = dumpOf(dyn->makeChart());
    EXPECT_NE(dynDump.find("Line(20, "), std::string::npos) << dynDump;
    EXPECT_NE(dynDump.find("0x00ffff"), std::string::npos);
    EXPECT_EQ(dyn->legend()->getPreferredKeyWidth(), 12);
}

TEST(LegendBox, SizingOnlyEntriesWidenKeysWithoutShowing) {
    DrawArea* icon = DrawArea::create();
    icon->setSize(16, 14, 0x00ff00);
    auto tc = makeTestChart(400, 300);
    tc->api()->addLegend(10, 10, true);
    tc->legend()->addKey(LegendBoxImpl::kSizingOnly, std::make_unique<UserText>("sizer"), 0xff0000, -1, icon);
    tc->api()->getLegend()->addKey("shown", 0x00ff00);
    icon->destroy();
    std::string dump = dumpOf(tc->makeChart());
    EXPECT_EQ(tc->legend()->shownCount(), 1);
    EXPECT_EQ(dump.find("sizer"), std::string::npos);
    EXPECT_NE(dump.find("RoundedRect(20, 20, 35, 33, 0, 0x000000, 0x00ff00)"), std::string::npos) << dump;
}

TEST(LegendBox, UnsetStylesFollowTheChartsDefaultBox) {
    // Left alone, the chart's default box passes nothing on: the legend keeps its own size 10.
    auto plain = makeTestChart(400, 300);
    plain->getLegend()->setPos(10, 10);
    EXPECT_EQ(plain->legend()->getPreferredKeyWidth(), 10);

    auto tc = makeTestChart(400, 300);
    TextBox* style = tc->defaultTextBox();
    style->setFontStyle("bold");
    style->setFontSize(20);
    style->setFontColor(0x123456);
    style->setBackground(0xffeecc, 0x654321);
    LegendBox* legend = tc->getLegend();
    legend->setPos(10, 10);
    legend->addKey("Alpha", 0xff0000);
    // Read while the layers add their keys, before the legend is laid out.
    EXPECT_EQ(tc->legend()->getPreferredKeyHeight(), 20);
    std::string dump = dumpOf(tc->makeChart());
    EXPECT_NE(dump.find("0x654321, 0xffeecc)"), std::string::npos) << dump;
    EXPECT_NE(dump.find("0x123456"), std::string::npos) << dump;
    // The entry is a 20-pixel key, a 10-pixel gap and the text in the default's font and size.
    TTFText* alpha = tc->getRawDrawArea()->text("Alpha", "bold", 0, 20, 20, 0, false);
    std::vector<int> entry = rectOf(legend->getImageCoor(0));
    ASSERT_EQ(entry.size(), 4u);
    EXPECT_EQ(entry[2] - entry[0] + 1, 20 + 10 + alpha->getWidth());
    alpha->destroy();

    // addLegend sets the size and the box, so only the font and its colour come from the default.
    auto given = makeTestChart(400, 300);
    style = given->defaultTextBox();
    style->setFontSize(20);
    style->setFontColor(0x123456);
    style->setBackground(0xffeecc);
    LegendBox* own = given->api()->addLegend(10, 10);
    own->addKey("Beta", 0x00ff00);
    dump = dumpOf(given->makeChart());
    EXPECT_EQ(given->legend()->getPreferredKeyWidth(), 10);
    EXPECT_EQ(dump.find("0xffeecc"), std::string::npos) << dump;
    EXPECT_NE(dump.find("0x123456"), std::string::npos) << dump;
}

TEST(LegendBox, PaintsMovedOntoAnotherArea) {
    // The laid-out legend painted elsewhere with an offset: the same picture, shifted.
    auto tc = makeTestChart(200, 120);
    LegendBox* legend = tc->api()->addLegend(5, 5, true);
    legend->setBackground(0xeeeeee, 0x000000);
    legend->addKey("", 0xaa0000);
    legend->addKey("", 0x0000aa);
    tc->layout();
    DrawArea* here = DrawArea::create();
    DrawArea* moved = DrawArea::create();
    here->setSize(80, 60, 0xffffff);
    moved->setSize(80, 60, 0xffffff);
    legend->paint(here, 0, 0);
    legend->paint(moved, 7, 11);
    int inked = 0;
    for (int y = 0; y + 11 < 60; ++y)
        for (int x = 0; x + 7 < 80; ++x) {
            ASSERT_EQ(moved->getPixel(x + 7, y + 11), here->getPixel(x, y)) << x << "," << y;
            inked += here->getPixel(x, y) != 0xffffff;
        }
    EXPECT_GT(inked, 20);
    here->destroy();
    moved->destroy();
}

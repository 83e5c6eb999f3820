#include <plotvane/basechart.h>
#include <plotvane/chart.h>
#include <plotvane/drawobj.h>
#include <plotvane/legendbox.h>
#include <plotvane/ttftext.h>
#include <plotvane/xychart.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "chart/testchart.h"
#include "chart/testlayer.h"
#include "support/golden.h"
#include "text/pvparser_p.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

std::string blockText(MemBlock b) { return std::string(b.data ? b.data : "", static_cast<size_t>(b.len > 0 ? b.len : 0)); }

std::string scratchName(const std::string& suffix) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "plotvane_" + test->name() + suffix;
}

int countLines(const std::vector<std::string>& lines, const std::string& part) {
    int n = 0;
    for (const std::string& l : lines) n += l.find(part) != std::string::npos;
    return n;
}

}  // namespace

TEST(BaseChart, DefaultChartIsAWhiteCanvasWithoutBorder) {
    auto tc = makeTestChart();
    tc->setSize(0, -5);  // clamped to one pixel
    tc->setSize(480, 360);
    BaseChart* c = tc.get();
    EXPECT_EQ(c->getWidth(), 480);
    EXPECT_EQ(c->getHeight(), 360);
    DrawArea* d = c->makeChart();
    std::vector<std::string> lines = linesOf(dumpOf(d));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "SetSize(480, 360, 0xffffff)");
    // Only the test chart's own plot rectangle: no border, corners or shadow.
    EXPECT_EQ(countLines(lines, "RoundedRect"), 1);
    EXPECT_EQ(lineWith(lines, "Clip("), -1);
    EXPECT_EQ(lineWith(lines, "DropShadow"), -1);
    EXPECT_STREQ(c->getChartMetrics(), "w=480&h=360&vl=0&vt=0&vw=479&vh=359");
    EXPECT_EQ(c->getAbsOffsetX(), 0);
    EXPECT_EQ(c->getAbsOffsetY(), 0);
}

TEST(BaseChart, PipelineRunsOnceAndPaintsByZ) {
    auto tc = makeTestChart(300, 200);
    BaseChart* c = tc.get();
    c->addLine(0, 1, 2, 3, 0x000001)->setZOrder(Chart::GridLinesZ - 1);  // after the plot area
    c->addLine(0, 1, 2, 3, 0x000002);                                     // front
    c->addLine(0, 1, 2, 3, 0x000003)->setZOrder(Chart::ChartBackZ);       // first
    c->addLine(0, 1, 2, 3, 0x000004)->setZOrder(Chart::PlotAreaZ);        // before the plot area
    c->addLine(0, 1, 2, 3, 0x000005);                                     // front, after 2
    c->addLine(0, 1, 2, 3, 0x000006)->setZOrder(-7);                      // before everything
    c->addLegend(10, 10)->addKey("key", 0x123456);
    c->setBorder(0x654321);

    c->layout();
    c->layout();
    EXPECT_EQ(tc->calls, (std::vector<std::string>{"legend", "chart"}));
    std::string first = dumpOf(c->makeChart());
    EXPECT_EQ(tc->calls, (std::vector<std::string>{"legend", "chart", "paint"}));
    std::vector<std::string> lines = linesOf(first);
    std::vector<int> order;
    for (const char* part : {"0x000006", "0x000003", "0x000004", "0xf0f0f0", "0x000001", "0x123456", "0x000002",
                             "0x000005", "0x654321"})
        order.push_back(lineWith(lines, part));
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_GE(order[i], 0) << i;
        if (i > 0) {
            EXPECT_GT(order[i], order[i - 1]) << i;
        }
    }

    // A second output paints nothing again; objects added since come on top, frame or not.
    EXPECT_EQ(dumpOf(c->makeChart()), first);
    EXPECT_EQ(tc->calls.size(), 3u);
    c->addText(5, 5, "late")->setZOrder(Chart::ChartBackZ);
    c->setBorder(0x0000ff);  // kept, but the frame is not drawn again
    std::string second = dumpOf(c->makeChart());
    ASSERT_EQ(second.compare(0, first.size(), first), 0);
    EXPECT_NE(second.find("\"late\"", first.size()), std::string::npos);
    EXPECT_EQ(second.find("0x0000ff"), std::string::npos);
}

TEST(BaseChart, FrameRadiiAreClampedToTheEdgesTheyShare) {
    struct Case {
        int w, h, r1, r2, r3, r4;
        const char* clip;
    };
    const Case cases[] = {
        {200, 100, 500, -1, -1, -1, "SetBgRoundedClip(50, 50, 50, 50, 0xffffff)"},
        {200, 100, 10, 0, 0, 0, "SetBgRoundedClip(10, 0, 0, 0, 0xffffff)"},
        {200, 100, 500, 0, 0, 0, "SetBgRoundedClip(100, 0, 0, 0, 0xffffff)"},
        {200, 100, 0, 0, 500, 0, "SetBgRoundedClip(0, 0, 100, 0, 0xffffff)"},
        // The top-left takes half the top edge; the top-right then sees it and takes half too.
        {300, 400, 500, 500, 0, 0, "SetBgRoundedClip(150, 150, 0, 0, 0xffffff)"},
        {200, 100, -3, 20, -3, -3, "SetBgRoundedClip(0, 20, 0, 0, 0xffffff)"},
    };
    for (const Case& k : cases) {
        auto tc = makeTestChart(k.w, k.h);
        BaseChart* c = tc.get();
        c->setRoundedFrame(0xffffff, k.r1, k.r2, k.r3, k.r4);
        std::string dump = dumpOf(c->makeChart());
        EXPECT_NE(dump.find(k.clip), std::string::npos) << k.clip << "\n" << dump;
    }
    // Corners are reported unclamped, as they were set.
    auto tc = makeTestChart(200, 100);
    tc->setRoundedFrame(0xff0000, 4, 5, 6, 7);
    EXPECT_EQ(tc->getProperty(0x107), 4);
    EXPECT_EQ(tc->getProperty(0x109), 5);
    EXPECT_EQ(tc->getProperty(0x103), 6);
    EXPECT_EQ(tc->getProperty(0x101), 7);
    EXPECT_EQ(tc->getProperty(0x202), 99);
    EXPECT_EQ(tc->getProperty(0x206), 199);
    EXPECT_EQ(tc->getProperty(0x204), 0);
    EXPECT_EQ(tc->getProperty(0x999), 0);
}

TEST(BaseChart, ThickFrameAndBorderColours) {
    auto plain = makeTestChart(100, 80);
    plain->setThickFrame(6, 0x336699, 0x102030, 0xfedcba);
    std::string dump = dumpOf(plain->makeChart());
    // The frame body, its outer edge (the border) and its inner edge; no separate border rectangle.
    EXPECT_NE(dump.find("0x336699"), std::string::npos) << dump;
    EXPECT_NE(dump.find("0x102030"), std::string::npos);
    EXPECT_NE(dump.find("0xfedcba"), std::string::npos);
    EXPECT_EQ(dump.find("RoundedRect(0, 0, 99, 79"), std::string::npos);

    // Without colours the frame takes the border colour for its body, and its inner edge follows
    // the frame colour as given.
    auto bordered = makeTestChart(100, 80);
    bordered->setBorder(0x445566);
    bordered->api()->setThickFrame(5);
    EXPECT_EQ(bordered->getFrameThickness(), 5);
    EXPECT_NE(dumpOf(bordered->makeChart()).find("0x445566"), std::string::npos);

    auto negative = makeTestChart(100, 80);
    negative->api()->setThickFrame(-4, 0x111111);
    EXPECT_EQ(negative->getFrameThickness(), 0);

    // A raised background keeps its border rectangle beside the frame.
    auto raised = makeTestChart(100, 80);
    raised->setBackground(0xcccccc, 0x00aa00, 2);
    std::string raisedDump = dumpOf(raised->makeChart());
    EXPECT_NE(raisedDump.find("SetSize(100, 80, 0xcccccc)"), std::string::npos);
    EXPECT_NE(raisedDump.find("RoundedRect(0, 0, 99, 79, 0, 0x00aa00, Chart.Transparent)"), std::string::npos)
        << raisedDump;

    // The raised border is shaded from the background inside its edge, light at the top left and
    // dark at the bottom right, with or without an edge colour.
    for (int edge : {0x000000, Chart::Transparent}) {
        XYPtr c(XYChart::create(100, 60, 0xcccccc, edge, 3));
        DrawArea* d = c->makeChart();
        auto grey = [&](int x, int y) { return d->getPixel(x, y) & 0xff; };
        const int inner = edge == Chart::Transparent ? 0 : 1;
        EXPECT_GT(grey(50, inner), 0xcc) << edge;
        EXPECT_GT(grey(inner, 30), 0xcc) << edge;
        EXPECT_LT(grey(50, 59 - inner), 0xcc) << edge;
        EXPECT_LT(grey(99 - inner, 30), 0xcc) << edge;
        EXPECT_EQ(grey(50, 30), 0xcc) << edge;
    }
}

TEST(BaseChart, DropShadowGrowsTheSurfaceAndShiftsImageMaps) {
    auto tc = makeTestChart(200, 100);
    BaseChart* c = tc.get();
    // Without a shadow the default geometry (10, 10, 10) adds nothing.
    EXPECT_STREQ(c->getHTMLImageMap("u", "", "", 3, 4), "u@3,4");
    c->setDropShadow(0x808080, 5);
    EXPECT_STREQ(c->getHTMLImageMap("u"), "u@0,0");
    c->setDropShadow(0x808080, 2, 3, 8);
    EXPECT_STREQ(c->getHTMLImageMap("u", "", "", 1, 1), "u@7,6");
    EXPECT_STREQ(c->getHTMLImageMap(nullptr), "@6,5");

    c->setRoundedFrame(0x00ff00, 10);
    DrawArea* d = c->makeChart();
    std::string dump = dumpOf(d);
    // With a shadow the corners are cut to transparency and the outside colour goes to the shadow.
    EXPECT_NE(dump.find("SetBgRoundedClip(10, 10, 10, 10, Chart.Transparent)"), std::string::npos) << dump;
    EXPECT_NE(dump.find("SetBgDropShadow(8421504, 2, 3, 8, 0x00ff00)"), std::string::npos) << dump;
    EXPECT_EQ(d->getWidth(), 200 + 6 + 10);
    EXPECT_EQ(d->getHeight(), 100 + 5 + 11);
    EXPECT_STREQ(c->getChartMetrics(), "w=216&h=116&vl=0&vt=0&vw=199&vh=99");
}

TEST(BaseChart, TitlesSpanTheirEdgeAndMakeRoomForTheFrame) {
    auto tc = makeTestChart(400, 300);
    BaseChart* c = tc.get();
    TextBox* top = c->addTitle("Top");
    TextBox* bottom = c->addTitle(Chart::BottomRight, "Bottom", "", 10);
    TextBox* left = c->addTitle(Chart::Left, "Left side");
    TextBox* right = c->addTitle(Chart::Right, "Right side");
    TextBox* centre = c->addTitle(Chart::Center, "Centre");

    EXPECT_EQ(top->getLeftX(), 0);
    EXPECT_EQ(top->getTopY(), 0);
    EXPECT_EQ(top->getWidth(), 400);
    EXPECT_EQ(bottom->getWidth(), 400);
    EXPECT_EQ(bottom->getTopY() + bottom->getHeight(), 300);
    // Side titles are turned: as tall as the chart, narrow.
    EXPECT_EQ(left->getLeftX(), 0);
    EXPECT_EQ(left->getTopY(), 0);
    EXPECT_EQ(left->getHeight(), 300);
    TTFText* turned = c->getDrawArea()->text("Left side", "bold", 0, 12, 12, 90, false);
    EXPECT_EQ(left->getWidth(), turned->getWidth() + 3 + 2);  // the text's top and bottom margins
    turned->destroy();
    EXPECT_EQ(right->getLeftX() + right->getWidth(), 400);
    EXPECT_EQ(right->getHeight(), 300);
    EXPECT_NEAR(centre->getLeftX() + centre->getWidth() / 2.0, 200, 1);
    EXPECT_NEAR(centre->getTopY() + centre->getHeight() / 2.0, 150, 1);

    int topHeight = top->getHeight(), bottomHeight = bottom->getHeight(), leftWidth = left->getWidth();
    int rightWidth = right->getWidth(), centreWidth = centre->getWidth();
    c->setThickFrame(8, 0x000000);
    // The margins facing the frame grow by its thickness (a top title's lower margin is always
    // one more than automatic).
    EXPECT_EQ(top->getHeight(), topHeight + 8);
    EXPECT_EQ(bottom->getHeight(), bottomHeight + 8);
    EXPECT_EQ(left->getWidth(), leftWidth + 8);
    EXPECT_EQ(right->getWidth(), rightWidth + 8);
    EXPECT_EQ(centre->getWidth(), centreWidth);
    // Set margins are kept as they are.
    top->setMargin(2);
    // (12 points: 3 above and 2 + 1 below the text when automatic.)
    EXPECT_EQ(top->getHeight(), topHeight - 2);
}

TEST(BaseChart, OutputFormatsAndFileNames) {
    auto tc = makeTestChart(120, 90);
    BaseChart* c = tc.get();
    c->addTitle("formats");
    std::string svg = blockText(c->makeChart(Chart::SVG));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    std::string svgz = blockText(c->makeChart(Chart::SVGZ));
    ASSERT_GT(svgz.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(svgz[0]), 0x1f);
    EXPECT_EQ(static_cast<unsigned char>(svgz[1]), 0x8b);
    EXPECT_EQ(blockText(c->makeChart(Chart::PDF)).compare(0, 5, "%PDF-"), 0);
    std::string dump = blockText(c->makeChart(8));
    EXPECT_EQ(dump.compare(0, 8, "SetSize("), 0);
    const char* data = nullptr;
    int len = -1;
    EXPECT_TRUE(c->makeChart(8, &data, &len));
    EXPECT_EQ(std::string(data, static_cast<size_t>(len)), dump);

    // Raster codes: whatever the raster writer gives, any unknown code gives the same as PNG.
    std::string png = blockText(c->makeChart(Chart::PNG));
    EXPECT_EQ(blockText(c->makeChart(42)), png);
    EXPECT_EQ(blockText(c->makeChart(-1)), png);
    for (int format : {0, 1, 2, 3, 4, 9}) {
        bool ok = c->makeChart(format, &data, &len);
        EXPECT_EQ(ok, len > 0) << format;
        EXPECT_EQ(ok, c->makeChart(format).len > 0) << format;
    }

    EXPECT_TRUE(c->makeChart(""));
    EXPECT_TRUE(c->makeChart(static_cast<const char*>(nullptr)));
    std::string agf = scratchName(".AGF");
    ASSERT_TRUE(c->makeChart(agf.c_str()));
    EXPECT_EQ(readFile(agf), dump);
    std::remove(agf.c_str());
    // File names choose the format, ignoring case; unknown suffixes write PNG.
    struct Named {
        const char* suffix;
        const char* magic;
    };
    for (Named n : {Named{".JPEG", "\xff\xd8"}, Named{".tiff", "\x89PNG"}, Named{".Svg", "<?xml"}, Named{".pdf", "%PDF"}}) {
        std::string file = scratchName(n.suffix);
        if (c->makeChart(file.c_str())) {
            EXPECT_EQ(readFile(file).compare(0, std::string(n.magic).size(), n.magic), 0) << n.suffix;
            std::remove(file.c_str());
        }
    }
    EXPECT_FALSE(c->makeChart("/nonexistent-folder/chart.png"));
}

TEST(BaseChart, PaletteAndColours) {
    auto tc = makeTestChart(50, 40);
    BaseChart* c = tc.get();
    EXPECT_EQ(c->getColor(0), 0xffffff);
    EXPECT_EQ(c->getColor(Chart::LineColor), 0x000000);
    c->setColor(Chart::DataColor + 1, 0x112233);
    EXPECT_EQ(c->getColor(9), 0x112233);
    const int list[] = {0x010101, 0x020202, static_cast<int>(0xffffffff), 0x030303};
    c->setColors(Chart::DataColor, list);
    EXPECT_EQ(c->getColor(8), 0x010101);
    EXPECT_EQ(c->getColor(9), 0x020202);
    EXPECT_NE(c->getColor(10), 0x030303);
    const int three[] = {0x0a0a0a, 0x0b0b0b, 0x0c0c0c};
    c->setColors(IntArray(three, 2));
    EXPECT_EQ(c->getColor(0), 0x0a0a0a);
    EXPECT_EQ(c->getColor(1), 0x0b0b0b);
    c->setColors(static_cast<const int*>(nullptr));
    EXPECT_EQ(c->getColor(2), c->getColor(Chart::TextColor));

    EXPECT_EQ(c->autoColor(), Chart::DataColor);
    EXPECT_EQ(c->autoColor(), Chart::DataColor + 1);
    EXPECT_EQ(c->halfColor(0x804020), 0x402010);
    int dash = c->dashLineColor(0xff0000);
    EXPECT_EQ(static_cast<unsigned>(dash) >> 16, 0xfffeu);

    // The background colour stays a palette reference: changing it later re-prepares the canvas.
    DrawArea* d = c->getDrawArea();
    EXPECT_EQ(dumpOf(d).find("SetSize(50, 40, 0x0a0a0a)"), 0u);
    c->setBackground(0x336699);
    EXPECT_EQ(c->getColor(0), 0x336699);
    c->setBackground(Chart::BackgroundColor, 0x000000);
    EXPECT_EQ(c->getColor(0), 0x336699);
    c->setSize(60, 30);
    EXPECT_EQ(d->getWidth(), 60);
    EXPECT_NE(dumpOf(c->makeChart()).find("SetSize(60, 30, 0x336699)"), std::string::npos);
}

TEST(BaseChart, FormatValueAndExtraFields) {
    auto tc = makeTestChart();
    BaseChart* c = tc.get();
    EXPECT_STREQ(c->formatValue(1234.567, "2"), "1234.57");
    c->setNumberFormat(',');
    EXPECT_STREQ(c->formatValue(1234.567, "2"), "1,234.57");
    EXPECT_STREQ(c->formatValue(0.5, "{value|1} of {other}"), "0.5 of {other}");
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    c->setMonthNames(StringArray(months, 12));
    EXPECT_STREQ(c->formatValue(Chart::chartTime(2024, 10, 3), "{value|mmm}"), "Okt");
    c->setAMPM("vm", "nm");
    EXPECT_STREQ(c->formatValue(Chart::chartTime(2024, 10, 3, 15), "{value|a}"), "nm");

    const char* names[] = {"north", "south"};
    c->addExtraField(StringArray(names, 2));
    const double values[] = {1.5, 2.5};
    c->addExtraField(DoubleArray(values, 2));
    PVParser parser("{field0} {field1|1} {field7}", 0);
    for (const char* attr = parser.getNextAttr(); attr; attr = parser.getNextAttr())
        tc->formatCustomAttr(parser, tc->getFormatter(), 0, 1, attr);
    EXPECT_STREQ(parser.getResult(&tc->getFormatter()), "south 2.5 {field7}");
}

TEST(BaseChart, BackgroundImagesTileOrPlaceOnce) {
    const uint32_t pixels[] = {0xff0000, 0x00ff00, 0x0000ff, 0x000000, 0xffffff, 0x808080};
    vek::ostrstream png;
    ASSERT_TRUE(DrawArea::encodePNG(png, pixels, 3, 2));
    std::string file = scratchName(".png");
    writeFile(file, std::string(png.data(), static_cast<size_t>(png.tell())));

    auto tiled = makeTestChart(10, 5);
    tiled->setWallpaper(file.c_str());
    std::vector<std::string> lines = linesOf(dumpOf(tiled->getDrawArea()));
    EXPECT_EQ(countLines(lines, "Merge"), 4 * 3) << dumpOf(tiled->getDrawArea());

    auto once = makeTestChart(10, 5);
    once->setBgImage(file.c_str(), Chart::BottomRight);
    lines = linesOf(dumpOf(once->getDrawArea()));
    EXPECT_EQ(countLines(lines, "Merge"), 1);

    auto missing = makeTestChart(10, 5);
    missing->setWallpaper((file + ".missing").c_str());
    EXPECT_EQ(countLines(linesOf(dumpOf(missing->makeChart())), "Merge"), 0);
    std::remove(file.c_str());
}

TEST(BaseChart, DynamicLayerRollsBack) {
    auto tc = makeTestChart(100, 100);
    BaseChart* c = tc.get();
    DrawArea* d = c->initDynamicLayer();
    ASSERT_EQ(d, c->getDrawArea());
    std::string base = dumpOf(d);
    EXPECT_EQ(tc->calls.size(), 3u);
    d->line(0, 0, 50, 50, 0xff00ff);
    EXPECT_NE(dumpOf(d), base);
    c->removeDynamicLayer();
    EXPECT_EQ(dumpOf(d).find("0xff00ff"), std::string::npos);
    EXPECT_EQ(dumpOf(d).compare(0, base.size(), base), 0);
}

TEST(BaseChart, LegendsAndTables) {
    auto tc = makeTestChart(300, 200);
    BaseChart* c = tc.get();
    // Asked for but never placed: laid out for key sizes, never drawn.
    LegendBox* legend = c->getLegend();
    EXPECT_EQ(legend, c->getLegend());
    legend->addKey("hidden", 0x00ff00);
    std::string dump = dumpOf(c->makeChart());
    EXPECT_EQ(dump.find("hidden"), std::string::npos);
    EXPECT_STREQ(legend->getImageCoor(0), "");

    // Column counts below zero are one column, except the automatic grid.
    auto one = makeTestChart(300, 200);
    one->api()->addLegend(0, 0, -5);
    auto grid = makeTestChart(300, 200);
    grid->api()->addLegend(0, 0, Chart::AutoGrid);
    for (TestChart* chart : {one.get(), grid.get()}) {
        for (int k = 0; k < 9; ++k) chart->getLegend()->addKey("", 0x0000ff);
        chart->layout();
    }
    // Entries without text are 15 pixels wide (key 10, gap 5); 20 pixels apart in a grid, eight of
    // them fit in the 280 pixels inside the margins.
    EXPECT_EQ(rectOf(grid->getLegend()->getImageCoor(7))[0], 10 + 7 * 35);
    EXPECT_EQ(rectOf(grid->getLegend()->getImageCoor(8))[0], 10);
    std::vector<int> first = rectOf(one->getLegend()->getImageCoor(0)), second = rectOf(one->getLegend()->getImageCoor(1));
    EXPECT_EQ(second[0], first[0]);
    EXPECT_EQ(second[1], first[3] + 1 + 2);
}

TEST(BaseChart, ContainerOffsets) {
    auto outer = makeTestChart(500, 500);
    auto inner = makeTestChart(100, 100);
    auto innermost = makeTestChart(10, 10);
    outer->setContainer(nullptr, 7, 7);
    inner->setContainer(outer.get(), 20, 30);
    innermost->setContainer(inner.get(), 1, 2);
    EXPECT_EQ(innermost->getAbsOffsetX(), 21);
    EXPECT_EQ(innermost->getAbsOffsetY(), 32);
}

TEST(BaseChart, DestroyedFreeObjectsLeaveTheChart) {
    auto tc = makeTestChart(300, 200);
    BaseChart* c = tc.get();
    TextBox* title = c->addTitle("gone");
    c->addLine(0, 1, 2, 3, 0x000001);
    Line* late = c->addLine(0, 1, 2, 3, 0x000002);
    TextBox* kept = c->addText(5, 5, "kept");
    title->destroy();
    std::string first = dumpOf(c->makeChart());
    EXPECT_EQ(first.find("\"gone\""), std::string::npos);
    EXPECT_NE(first.find("\"kept\""), std::string::npos);
    EXPECT_NE(first.find("0x000002"), std::string::npos);
    // After painting: what was painted stays painted, objects added later still come.
    late->destroy();
    kept->destroy();
    c->addText(5, 5, "after");
    std::string second = dumpOf(c->makeChart());
    ASSERT_EQ(second.compare(0, first.size(), first), 0);
    EXPECT_NE(second.find("\"after\"", first.size()), std::string::npos);
    // Parts of other objects are not freed: the legend keeps working.
    auto other = makeTestChart(300, 200);
    LegendBox* legend = other->api()->addLegend(10, 10);
    legend->destroy();
    legend->addKey("key", 0x123456);
    EXPECT_NE(dumpOf(other->makeChart()).find("\"key\""), std::string::npos);
}

TEST(BaseChart, BoxImageCoordinatesFollowTheirContainer) {
    auto outer = makeTestChart(500, 500);
    auto inner = makeTestChart(100, 100);
    inner->setContainer(outer.get(), 20, 30);
    TextBox* box = inner->api()->addText(5, 6, "");
    box->setSize(10, 10);
    EXPECT_STREQ(box->getImageCoor(), "shape=\"rect\" coords=\"5,6,14,15\"");
    box->setContainer(inner.get());
    EXPECT_STREQ(box->getImageCoor(1, 1), "shape=\"rect\" coords=\"26,37,35,46\"");
    box->setContainer(nullptr);
    EXPECT_STREQ(box->getImageCoor(), "shape=\"rect\" coords=\"5,6,14,15\"");
}

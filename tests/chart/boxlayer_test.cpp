#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "chart/barchart.h"
#include "chart/pricecharts.h"
#include "chart/testchart.h"
#include "chart/xy/layer_p.h"
#include "draw/drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const double NV = Chart::NoValue;

int countWith(const std::string& dump, const std::string& part) {
    int n = 0;
    for (const std::string& l : linesOf(dump)) n += l.find(part) != std::string::npos;
    return n;
}

struct DrawnRect {
    int left, top, right, bottom, edge, fill;
};

// The rectangles drawn in a colour, in drawing order.
std::vector<DrawnRect> rectsFilled(const std::string& dump, int fill) {
    std::vector<DrawnRect> boxes;
    for (const std::string& l : linesOf(dump)) {
        DrawnRect b{};
        unsigned edge = 0, color = 0;
        int radius = 0;
        if (std::sscanf(l.c_str(), "RoundedRect(%d, %d, %d, %d, %d, 0x%x, 0x%x)", &b.left, &b.top, &b.right, &b.bottom,
                        &radius, &edge, &color) == 7 &&
            static_cast<int>(color) == fill) {
            b.edge = static_cast<int>(edge);
            b.fill = fill;
            boxes.push_back(b);
        }
    }
    return boxes;
}

std::string hex(int color) {
    char b[16];
    std::snprintf(b, sizeof b, "0x%06x", color);
    return b;
}

}  // namespace

TEST(HLOCLayer, ColourModesFollowOpensAndEarlierCloses) {
    {
        // Open above close falls; the rest (and an item without an open) rise.
        XYPtr c = quietChart();
        std::vector<double> high{12, 12, 12}, low{6, 6, 6}, open{10, 8, NV}, close{8, 10, 9};
        c->addHLOCLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close), 0x00aa00, 0xcc0000,
                        Chart::HLOCOpenClose);
        std::string dump = textDump(c.get());
        EXPECT_EQ(countWith(dump, "0xcc0000, 1)"), 3);  // stroke, open and close of the first item
        EXPECT_EQ(countWith(dump, "0x00aa00, 1)"), 5);
    }
    {
        // Each close against the nearest earlier one: 10 rises from the lead value, the missing
        // close rises, 9 falls from 10.
        XYPtr c = quietChart();
        std::vector<double> high{12, 12, 12}, low{6, 6, 6}, close{10, NV, 9};
        c->addHLOCLayer(arrayOf(high), arrayOf(low), DoubleArray(), arrayOf(close), 0x00aa00, 0xcc0000);
        std::string dump = textDump(c.get());
        EXPECT_EQ(countWith(dump, "0xcc0000, 1)"), 2);
        EXPECT_EQ(countWith(dump, "0x00aa00, 1)"), 3);
    }
    {
        // The default method draws everything in the first data set's colour; no high draws no stroke.
        std::vector<double> high{12, NV}, low{6, 7}, open{8, 9}, close{9, 8};
        XYPtr c = quietChart();
        c->addHLOCLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close), 0x123456);
        EXPECT_EQ(countWith(textDump(c.get()), "0x123456, 1)"), 5);
        // The first item rises, the second falls to the first data set's colour.
        XYPtr upDown = quietChart();
        upDown->addHLOCLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close), 0x123456)
            ->setColorMethod(Chart::HLOCUpDown, 0x00aa00, -1);
        std::string dump = textDump(upDown.get());
        EXPECT_EQ(countWith(dump, "0x00aa00, 1)"), 3);
        EXPECT_EQ(countWith(dump, "0x123456, 1)"), 2);
    }
}

TEST(CandleStickLayer, BodiesWicksAndFourColourClasses) {
    {
        // A missing open takes the close: a flat body at 5, with its wick from high to low (one
        // line behind the opaque body).
        XYPtr c = quietChart();
        c->yAxis()->setLinearScale(0, 10);
        std::vector<double> high{8}, low{2}, open{NV}, close{5};
        c->addCandleStickLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close), 0x22aa22, 0xaa2222,
                               0x101010);
        std::string dump = textDump(c.get());
        std::vector<DrawnRect> bodies = rectsFilled(dump, 0x22aa22);
        ASSERT_EQ(bodies.size(), 1u);
        EXPECT_EQ(bodies[0].top, c->getYCoor(5));
        EXPECT_EQ(bodies[0].bottom, bodies[0].top);
        int x = c->getXCoor(0);
        char wick[96];
        std::snprintf(wick, sizeof wick, "Line(%d, %d, %d, %d, 0x101010, 1)", x, c->getYCoor(8), x,
                      c->getYCoor(2));
        EXPECT_EQ(countWith(dump, wick), 1) << dump;
        EXPECT_LT(dump.find(wick), dump.find("0x101010, 0x22aa22)"));
    }
    {
        // An edge in SameAsMainColor follows each candle's fill: rising, rising, falling, rising.
        XYPtr c = quietChart();
        std::vector<double> high{14, 14, 14, 14}, low{8, 8, 8, 8}, open{10, 9, 13, 10}, close{12, 11, 11, 12};
        c->addCandleStickLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close), 0x00ff00, 0xff0000,
                               Chart::SameAsMainColor);
        std::string dump = textDump(c.get());
        EXPECT_EQ(rectsFilled(dump, 0x00ff00).size(), 3u);
        for (const DrawnRect& r : rectsFilled(dump, 0x00ff00)) EXPECT_EQ(r.edge, 0x00ff00);
        ASSERT_EQ(rectsFilled(dump, 0xff0000).size(), 1u);
        EXPECT_EQ(rectsFilled(dump, 0xff0000)[0].edge, 0xff0000);
        EXPECT_EQ(countWith(dump, "0x00ff00, 1)"), 3);  // one wick behind each body
        EXPECT_EQ(countWith(dump, "0xff0000, 1)"), 1);
    }
    {
        // Rising and falling by open and close, and against the close before: four looks.
        XYPtr c = quietChart();
        std::vector<double> high{14, 14, 14, 14}, low{8, 8, 8, 8}, open{10, 13, 9, 12}, close{12, 11, 10, 11};
        CandleStickLayer* layer = c->addCandleStickLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close),
                                                         0x00ff00, 0xff0000);
        layer->setExtraColors(0x008800, -1, 0x880000, 0x440000);
        std::string dump = textDump(c.get());
        // Rose since the lead value; fell and fell since 12; rose but below 11; fell but not below 10.
        ASSERT_EQ(rectsFilled(dump, 0x008800).size(), 1u);
        ASSERT_EQ(rectsFilled(dump, 0x880000).size(), 1u);
        EXPECT_EQ(rectsFilled(dump, 0x880000)[0].edge, 0x440000);
        ASSERT_EQ(rectsFilled(dump, 0x00ff00).size(), 1u);
        ASSERT_EQ(rectsFilled(dump, 0xff0000).size(), 1u);
        EXPECT_LT(rectsFilled(dump, 0x008800)[0].left, rectsFilled(dump, 0x880000)[0].left);
        EXPECT_LT(rectsFilled(dump, 0x880000)[0].left, rectsFilled(dump, 0x00ff00)[0].left);
        EXPECT_LT(rectsFilled(dump, 0x00ff00)[0].left, rectsFilled(dump, 0xff0000)[0].left);
    }
}

TEST(HLOCLayer, DepthTrailsBehindStrokesThatStayAtTheFront) {
    // Item 1: high 15, low 5, open 8, close 12, on a 0-20 scale; 10 pixels deep. The stroke and its
    // ticks stay where the flat chart has them, in the item colour; a ribbon of the depth runs
    // back (right and up on the screen) from each, in the half colour; beside them the plot shows.
    const int red = 0xff0000, shade = DrawArea::rawColorAdjustBrightness(red, 512), white = 0xffffff;
    for (bool swapped : {false, true}) {
        for (int depth : {0, 10}) {
            SCOPED_TRACE(std::string(swapped ? "swapped" : "upright") + ", depth " + std::to_string(depth));
            XYPtr c = quietChart();
            if (swapped) c->swapXY();
            c->yAxis()->setLinearScale(0, 20);
            HLOCLayer* layer = c->addHLOCLayer(arrayOf({14, 15, 14}), arrayOf({6, 5, 6}), arrayOf({9, 8, 9}),
                                               arrayOf({11, 12, 11}), red);
            layer->set3D(depth);
            DrawArea* d = c->makeChart();
            // A pixel `across` the item from its centre, at a value, `back` pixels into the depth.
            int item = layer->getXCoor(1);
            auto at = [&](int across, double value, int back) {
                int v = layer->getYCoor(value);
                int x = (swapped ? v : item + across) + back, y = (swapped ? item + across : v) - back;
                return d->getPixel(x, y) & 0xffffff;
            };
            int behind = depth ? shade : white;
            EXPECT_EQ(at(0, 10, 0), red);       // the stroke
            EXPECT_EQ(at(0, 10, 5), behind);    // its ribbon
            EXPECT_EQ(at(-8, 10, 5), white);
            EXPECT_EQ(at(12, 12, 0), red);      // the close tick
            EXPECT_EQ(at(12, 12, 5), behind);
            EXPECT_EQ(at(-12, 8, 0), red);      // the open tick
            EXPECT_EQ(at(-12, 8, 5), behind);
            EXPECT_EQ(at(0, 17, 5), white);     // above the high
        }
    }
}

TEST(BoxWhiskerLayer, ItemColoursWhiskersMediansAndMarks) {
    std::vector<double> top(10, 7), bottom(10, 4), max(10, 9), min(10, 2), med(10, 5);
    {
        XYPtr c = quietChart();
        BoxWhiskerLayer* layer = c->addBoxWhiskerLayer(arrayOf(top), arrayOf(bottom), arrayOf(max), arrayOf(min),
                                                       arrayOf(med), 0x3366cc, 0x222222);
        layer->setBoxColor(3, 0xff0000);
        std::string dump = textDump(c.get());
        std::vector<DrawnRect> red = rectsFilled(dump, 0xff0000), blue = rectsFilled(dump, 0x3366cc);
        ASSERT_EQ(red.size(), 1u);
        EXPECT_EQ(blue.size(), 9u);
        EXPECT_GT(red[0].left, blue[2].left);
        EXPECT_LT(red[0].left, blue[3].left);
        // Per item: one stem behind the opaque box, two caps and the median, in the whisker colour.
        EXPECT_EQ(countWith(dump, "0x222222, 1)"), 40);
    }
    {
        // Whiskers left to follow their boxes take each box's colour at the brightness; a mark
        // without a symbol is a line across the box in its own colour.
        XYPtr c = quietChart();
        const int colors[] = {0xff8040, 0x40a0ff};
        BoxWhiskerLayer* layer = c->addBoxWhiskerLayer2(DoubleArray(top.data(), 2), DoubleArray(bottom.data(), 2),
                                                        DoubleArray(max.data(), 2), DoubleArray(min.data(), 2),
                                                        DoubleArray(med.data(), 2), IntArray(colors, 2), 0.5);
        const double mean[] = {5.5, NV};
        layer->addDataSet(DoubleArray(mean, 2), 0x00ff00);
        std::string dump = textDump(c.get());
        for (int color : colors)
            EXPECT_EQ(countWith(dump, hex(DrawArea::rawColorAdjustBrightness(color, 512)) + ", 1)"), 4);
        EXPECT_EQ(countWith(dump, "0x00ff00, 1)"), 1);
    }
    {
        // Whiskers in SameAsMainColor follow each box's own colour, alternating or not.
        XYPtr c = quietChart();
        auto four = [](const std::vector<double>& v) { return DoubleArray(v.data(), 4); };
        BoxWhiskerLayer* layer = c->addBoxWhiskerLayer(four(top), four(bottom), four(max), four(min), four(med),
                                                       0x3366cc, Chart::SameAsMainColor);
        layer->setBoxColor(1, 0xff0000);
        layer->setBoxColor(3, 0xff0000);
        std::string dump = textDump(c.get());
        EXPECT_EQ(countWith(dump, "0xff0000, 1)"), 8);  // stem, caps and median of two items
        EXPECT_EQ(countWith(dump, "0x3366cc, 1)"), 8);
    }
    {
        // A box with only a median is a line; only whiskers, a stem between them with caps.
        XYPtr c = quietChart();
        std::vector<double> t{NV, NV}, b{NV, NV}, hi{NV, 8}, lo{NV, 3}, m{5, NV};
        c->addBoxWhiskerLayer(arrayOf(t), arrayOf(b), arrayOf(hi), arrayOf(lo), arrayOf(m), 0x3366cc, 0x222222);
        std::string dump = textDump(c.get());
        EXPECT_TRUE(rectsFilled(dump, 0x3366cc).empty());
        EXPECT_EQ(countWith(dump, "0x222222, 1)"), 4);
    }
}

TEST(BaseBoxLayer, JoinedStemsAndDroppedCapsPaintTheSamePixels) {
    // With opaque colours, thin whiskers and wicks on either side of a flat box become one line
    // behind it, and one-pixel caps on a whisker's end are left out. The same colours given as
    // one-colour gradients are not known to be opaque, so every stem and cap is drawn: both routes
    // must paint the same pixels, for one-pixel items of a crowded chart (stem on or beside the
    // box) and for wide ones. Some items have no box or body, no maximum or high, or extremes on
    // one side of the box.
    struct Route {
        std::vector<uint32_t> pixels;
        int records = 0;
    };
    auto render = [](bool candles, int items, bool gradients) {
        XYPtr c = quietChart();
        std::vector<double> top, bottom, max, min, med;
        for (int i = 0; i < items; ++i) {
            double centre = 10 + 4 * std::sin(i / 5.0), spread = 2 + std::cos(i / 3.0);
            top.push_back(i % 7 == 3 ? NV : centre + (i % 2 ? spread : -spread));
            bottom.push_back(centre - (i % 2 ? spread : -spread));
            max.push_back(i % 11 == 5 ? NV : centre + 2.5 * spread);
            min.push_back(i % 13 == 6 ? centre + 0.5 * spread : centre - 2 * spread);
            med.push_back(centre);
        }
        DrawArea* d = c->getDrawArea();
        auto color = [&](int rgb) {
            const int stops[] = {0, rgb, 256, rgb};
            return gradients ? d->linearGradientColor(0, 0, 0, 240, IntArray(stops, 4)) : rgb;
        };
        if (candles)
            c->addCandleStickLayer(arrayOf(max), arrayOf(min), arrayOf(top), arrayOf(bottom), color(0x00aa00),
                                   color(0xcc0000), color(0x000000));
        else
            c->addBoxWhiskerLayer(arrayOf(top), arrayOf(bottom), arrayOf(max), arrayOf(min), arrayOf(med),
                                  color(0x3366cc), color(0x222222), color(0x000000));
        Route r;
        r.records = static_cast<int>(linesOf(textDump(c.get())).size());
        d = c->makeChart();
        for (int y = 0; y < d->getHeight(); ++y)
            for (int x = 0; x < d->getWidth(); ++x)
                r.pixels.push_back(static_cast<uint32_t>(d->getPixel(x, y)));
        return r;
    };
    for (bool candles : {false, true}) {
        for (int items : {150, 6}) {
            SCOPED_TRACE(std::string(candles ? "candles, " : "boxes, ") + std::to_string(items) + " items");
            Route joined = render(candles, items, false), separate = render(candles, items, true);
            EXPECT_LT(joined.records, separate.records);
            ASSERT_EQ(joined.pixels.size(), separate.pixels.size());
            size_t differ = 0;
            for (size_t k = 0; k < joined.pixels.size(); ++k)
                differ += joined.pixels[k] != separate.pixels[k];
            EXPECT_EQ(differ, 0u);
        }
    }
}

TEST(BoxWhiskerLayer, NamedItemsAndDataSetsGetLegendEntries) {
    XYPtr c = quietChart();
    c->addLegend(40, 0, false, "", 8);
    std::vector<double> top{7, 8, 6}, bottom{4, 5, 3};
    const int colors[] = {0x112233, 0x445566, 0x778899};
    const char* names[] = {"North", "", "South"};
    BoxWhiskerLayer* layer = c->addBoxLayer(arrayOf(top), arrayOf(bottom), 0xabcdef, "All");
    layer->setBoxColors(IntArray(colors, 3), StringArray(names, 3));
    std::string dump = textDump(c.get());
    auto* legend = dynamic_cast<LegendBoxImpl*>(c->getLegend());
    ASSERT_NE(legend, nullptr);
    EXPECT_EQ(legend->shownCount(), 3);
    int all = lineWith(linesOf(dump), "\"All\""), north = lineWith(linesOf(dump), "\"North\""),
        south = lineWith(linesOf(dump), "\"South\"");
    ASSERT_GE(all, 0);
    EXPECT_LT(all, north);
    EXPECT_LT(north, south);
}

TEST(BaseBoxLayer, WidthsGapsHotSpotsAndFields) {
    // Three items over a 300-pixel plot: slots of 100 pixels.
    std::vector<double> high{12, 13, 14}, low{8, 9, 10}, open{9, 12, 11}, close{11, 10, 13};
    auto rectOfItem = [](Layer* layer, int item) { return rectOf(layer->getImageCoor(0, item)); };
    {
        XYPtr c = barChart(3, 380);
        CandleStickLayer* candles =
            c->addCandleStickLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close), 0x00ff00, 0xff0000);
        c->layout();
        std::vector<int> r = rectOfItem(candles, 1);
        ASSERT_EQ(r.size(), 4u);
        EXPECT_EQ(r[2] - r[0] + 1, 90);  // a gap of 0.1
        EXPECT_EQ(r[1], c->getYCoor(13));
        EXPECT_EQ(r[3], c->getYCoor(9));
        // {open} and the other roles in labels and hot-spot queries.
        EXPECT_EQ(dynamic_cast<LayerImpl*>(candles)->formatLabel("{high}/{low}/{open}/{close}", 0, 2), "14/10/11/13");
        // Prices keep the axis off zero.
        EXPECT_GT(c->yAxis()->getMinValue(), 0);
    }
    {
        XYPtr c = barChart(3, 380);
        std::vector<double> t{7, 8, 6}, b{4, 5, 3}, hi{9, 10, 8}, lo{2, 3, 1}, m{5, 6, 4};
        BoxWhiskerLayer* boxes = c->addBoxWhiskerLayer(arrayOf(t), arrayOf(b), arrayOf(hi), arrayOf(lo), arrayOf(m));
        c->layout();
        std::vector<int> r = rectOfItem(boxes, 0);
        ASSERT_EQ(r.size(), 4u);
        EXPECT_EQ(r[2] - r[0] + 1, 80);
        EXPECT_EQ(dynamic_cast<LayerImpl*>(boxes)->formatLabel("{top} {bottom} {max} {min} {med}", 0, 1),
                  "8 5 10 3 6");
        EXPECT_STREQ(boxes->getImageCoor(0, 7), "");
    }
    {
        // A fixed width, and hot spots no smaller than asked.
        XYPtr c = barChart(3, 380);
        BoxWhiskerLayer* boxes = c->addBoxLayer(arrayOf({7, 8, 6}), arrayOf({4, 5, 3}));
        boxes->setDataWidth(10);
        boxes->setMinImageMapSize(30);
        c->layout();
        std::vector<int> r = rectOfItem(boxes, 0);
        ASSERT_EQ(r.size(), 4u);
        EXPECT_EQ(r[2] - r[0], 30);
    }
    {
        // On a swapped chart the items lie along the vertical axis.
        XYPtr c = barChart(3, 380);
        c->swapXY();
        HLOCLayer* hloc = c->addHLOCLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close));
        hloc->setDataWidth(20);
        hloc->setMinImageMapSize(0);
        c->layout();
        std::vector<int> r = rectOfItem(hloc, 1);
        ASSERT_EQ(r.size(), 4u);
        EXPECT_EQ(r[3] - r[1] + 1, 20);
        EXPECT_EQ(r[0], c->getYCoor(9));
        EXPECT_EQ(r[2], c->getYCoor(13));
    }
}

TEST(BaseBoxLayer, BadValuesInAnyRoleNeverBreakTheChart) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    std::vector<double> high{12, inf, nan, NV, 1e300, 14}, low{8, 9, -inf, NV, -1e300, 10},
        open{9, nan, 11, NV, 0, 12}, close{11, 10, inf, NV, 1e300, 13};
    std::vector<double> empty;
    for (int variant = 0; variant < 4; ++variant) {
        XYPtr c = quietChart();
        if (variant == 1) c->swapXY();
        if (variant == 2) c->yAxis()->setLogScale(true);
        if (variant == 3) c->setTrimData(5);
        HLOCLayer* hloc = c->addHLOCLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close));
        hloc->setColorMethod(Chart::HLOCUpDown, 0x00ff00, 0xff0000, nan);
        hloc->setDataGap(nan);
        CandleStickLayer* candles = c->addCandleStickLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close));
        candles->setDataWidth(1 << 30);
        candles->setExtraColors(1, 2, 3, 4, inf);
        candles->setRoundedCorners(-5, 1 << 30);
        BoxWhiskerLayer* boxes = c->addBoxWhiskerLayer(arrayOf(high), arrayOf(low), arrayOf(empty), arrayOf(close),
                                                       arrayOf(open));
        boxes->setBoxColor(-3, 0xff0000);
        boxes->setBoxColor(1 << 30, 0xff0000);
        boxes->setWhiskerBrightness(nan);
        boxes->setBoxColors(IntArray(nullptr, 5), StringArray(nullptr, -2));
        c->addHLOCLayer();
        c->addCandleStickLayer(arrayOf(empty), arrayOf(empty), arrayOf(empty), arrayOf(empty));
        EXPECT_FALSE(textDump(c.get()).empty());
        EXPECT_GT(c->makeChart(Chart::PNG).len, 0);
        // The infinities and the one huge value do not stretch the price axis over the doubles.
        if (variant == 0) {
            EXPECT_LT(c->yAxis()->getMaxValue(), 1e301);
            EXPECT_FALSE(std::isinf(c->yAxis()->getMinValue()));
        }
    }
}

TEST(BaseBoxLayer, GoldenDumpsAndPictures) {
    for (PriceCase which : {PriceCase::HLOC, PriceCase::Candles, PriceCase::BoxWhisker}) {
        XYPtr c = priceChart(which);
        EXPECT_TRUE(matchesGoldenText("chart", std::string(priceCaseName(which)) + ".agf",
                                      drawtest::withRelativeIds(textDump(c.get()))));
        MemBlock png = c->makeChart(Chart::PNG);
        EXPECT_TRUE(matchesGoldenPNG("chart", std::string(priceCaseName(which)) + ".png",
                                     std::string(png.data, static_cast<size_t>(png.len)), 8));
    }
}

TEST(BaseBoxLayer, LabelsHangFromTheirValuesAndKeysShowTheItem) {
    XYPtr c = quietChart();
    c->yAxis()->setLinearScale(0, 20);
    c->addLegend(40, 0, false, "", 8);
    std::vector<double> high{15}, low{5}, open{8}, close{12};
    HLOCLayer* layer = c->addHLOCLayer(arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close), 0x0000cc);
    layer->getDataSet(0)->setDataName("Price");
    layer->getDataSet(0)->setDataLabelFormat("H{high}");
    layer->getDataSet(1)->setDataLabelFormat("L{value}");
    layer->getDataSet(3)->setDataLabelFormat("C{close}");
    std::vector<std::string> lines = linesOf(textDump(c.get()));
    // Text records give the text, then its position: the high's label above the high, the low's
    // below the low, the close's right of the item.
    auto position = [&lines](const std::string& text, int& x, int& y) {
        int at = lineWith(lines, "Text(\"" + text + "\"");
        if (at < 0) return false;
        int font, size;
        std::string format = "Text(\"" + text + "\", %d, %d, %d, %d";
        return std::sscanf(lines[static_cast<size_t>(at)].c_str(), format.c_str(), &font, &size, &x, &y) == 4;
    };
    int hx, hy, lx, ly, cx, cy;
    ASSERT_TRUE(position("H15", hx, hy));
    ASSERT_TRUE(position("L5", lx, ly));
    ASSERT_TRUE(position("C12", cx, cy));
    EXPECT_LT(hy, c->getYCoor(15));
    EXPECT_GT(ly, c->getYCoor(5));
    EXPECT_GT(cx, c->getXCoor(0));
    EXPECT_NEAR(cy, c->getYCoor(12), 10);
    // The legend key is a small HLOC item in the layer's colour.
    DrawArea* icon = layer->getLegendIcon(0);
    ASSERT_NE(icon, nullptr);
    EXPECT_GT(icon->getWidth(), 4);
}

namespace {

struct Segment {
    int x1, y1, x2, y2;
    bool operator<(const Segment& o) const {
        return std::tie(x1, y1, x2, y2) < std::tie(o.x1, o.y1, o.x2, o.y2);
    }
};

// The lines drawn in a colour, sorted.
std::vector<Segment> linesIn(const std::string& dump, int color) {
    std::vector<Segment> out;
    for (const std::string& l : linesOf(dump)) {
        Segment s{};
        unsigned c = 0;
        int width = 0;
        if (std::sscanf(l.c_str(), "Line(%d, %d, %d, %d, 0x%x, %d)", &s.x1, &s.y1, &s.x2, &s.y2, &c, &width) == 6 &&
            static_cast<int>(c) == color)
            out.push_back(s);
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

TEST(BaseBoxLayer, DepthDrawsBoxesAsBarsWithLinesHalfwayIn) {
    // The same items flat and 10 pixels deep: bodies and boxes keep their front face and gain a
    // top and a side in the half colour; wicks, whiskers and caps move halfway into the depth
    // (5 right, 5 up); a median lies on the box's front face and stays where it was.
    auto build = [](int depth, bool candle) {
        XYPtr c = quietChart();
        c->yAxis()->setLinearScale(0, 20);
        Layer* layer;
        // Thick stems stay two lines on the flat chart too, where thin ones would join behind the box.
        if (candle) {
            layer = c->addCandleStickLayer(arrayOf({12, 14}), arrayOf({8, 9}), arrayOf({9, 13}), arrayOf({11, 10}),
                                           0x00ff00, 0xff0000, 0x0000ff);
            layer->setLineWidth(2);
        } else {
            layer = c->addBoxWhiskerLayer(arrayOf({11, 12}), arrayOf({9, 8}), arrayOf({15, 16}), arrayOf({5, 4}),
                                          arrayOf({10, 10.5}), 0x00ff00, 0x0000ff, 0x000001);
            for (int ds : {2, 3}) layer->getDataSet(ds)->setLineWidth(2);
        }
        layer->set3D(depth);
        return textDump(c.get());
    };
    for (bool candle : {true, false}) {
        std::string flat = build(0, candle), deep = build(10, candle);
        EXPECT_EQ(countWith(flat, "Shape(0x007f00"), 0);
        EXPECT_EQ(countWith(deep, "Shape(0x007f00"), candle ? 2 : 4) << deep;
        EXPECT_EQ(rectsFilled(flat, 0x00ff00).size(), candle ? 1u : 2u);
        for (size_t k = 0; k < rectsFilled(flat, 0x00ff00).size(); ++k) {
            EXPECT_EQ(rectsFilled(flat, 0x00ff00)[k].top, rectsFilled(deep, 0x00ff00)[k].top);
            EXPECT_EQ(rectsFilled(flat, 0x00ff00)[k].left, rectsFilled(deep, 0x00ff00)[k].left);
        }
        std::vector<Segment> before = linesIn(flat, 0x0000ff), after = linesIn(deep, 0x0000ff);
        ASSERT_EQ(before.size(), after.size());
        ASSERT_FALSE(before.empty());
        int shifted = 0, kept = 0;
        for (const Segment& s : before) {
            Segment moved{s.x1 + 5, s.y1 - 5, s.x2 + 5, s.y2 - 5};
            bool isShifted = std::binary_search(after.begin(), after.end(), moved);
            bool isKept = std::binary_search(after.begin(), after.end(), s);
            EXPECT_TRUE(isShifted || isKept) << s.x1 << "," << s.y1 << " " << s.x2 << "," << s.y2;
            shifted += isShifted;
            kept += isKept && s.y1 == s.y2 && s.x2 - s.x1 > 2;
        }
        EXPECT_GE(shifted, 4);
        EXPECT_EQ(kept, candle ? 0 : 2);  // the medians
    }
}

TEST(BaseBoxLayer, StemsRunThroughTheMiddleOfTheirBoxes) {
    // Boxes one pixel wide and boxes of odd and even widths, at centres that fall between pixels:
    // every whisker and wick runs down the box's middle pixel (or one of the two middle pixels),
    // never in the column beside it.
    for (bool candles : {false, true}) {
        for (int items : {300, 45, 20}) {
            SCOPED_TRACE(std::string(candles ? "candles, " : "boxes, ") + std::to_string(items) + " items");
            XYPtr c = quietChart();
            std::vector<double> top, bottom, max, min, med;
            for (int i = 0; i < items; ++i) {
                double centre = 10 + 3 * std::sin(i / 4.0);
                top.push_back(centre + 1), bottom.push_back(centre - 1), med.push_back(centre);
                max.push_back(centre + 4), min.push_back(centre - 4);
            }
            const int stem = 0x222222, fill = 0x3366cc;
            if (candles)
                c->addCandleStickLayer(arrayOf(max), arrayOf(min), arrayOf(bottom), arrayOf(top), fill, fill, stem);
            else
                c->addBoxWhiskerLayer(arrayOf(top), arrayOf(bottom), arrayOf(max), arrayOf(min), arrayOf(med), fill,
                                      stem, stem);
            std::string dump = textDump(c.get());
            std::vector<DrawnRect> boxes = rectsFilled(dump, fill);
            ASSERT_EQ(boxes.size(), static_cast<size_t>(items));
            int stems = 0;
            for (const std::string& l : linesOf(dump)) {
                int x1, y1, x2, y2, width;
                unsigned color;
                if (std::sscanf(l.c_str(), "Line(%d, %d, %d, %d, 0x%x, %d)", &x1, &y1, &x2, &y2, &color, &width) != 6 ||
                    static_cast<int>(color) != stem || x1 != x2)
                    continue;
                ++stems;
                bool centred = std::any_of(boxes.begin(), boxes.end(), [&](const DrawnRect& b) {
                    return x1 >= b.left + (b.right - b.left) / 2 && x1 <= b.left + (b.right - b.left + 1) / 2;
                });
                EXPECT_TRUE(centred) << l;
            }
            EXPECT_GE(stems, items);
        }
    }
}

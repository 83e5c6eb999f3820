// Image maps two ways: the charts write them, ImageMapHandler reads them back. Where both agree on
// every area of real charts, the shapes, the escaping and the hit test are right together.

#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "chart/barchart.h"
#include "chart/imagemap_p.h"
#include "chart/polarcharts.h"
#include "chart/pricecharts.h"
#include "chart/imagemapcharts.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

struct Area {
    std::vector<int> xy;
    std::string text;
};

// The integers of an area's coords attribute.
std::vector<int> coordsOf(const std::string& area) {
    std::vector<int> xy;
    std::smatch coords;
    if (!std::regex_search(area, coords, std::regex("coords=\"([^\"]*)\""))) return xy;
    const std::string list = coords[1];
    const std::regex number("-?[0-9]+");
    for (std::sregex_iterator it(list.begin(), list.end(), number), end; it != end; ++it)
        xy.push_back(std::stoi(it->str()));
    return xy;
}

std::vector<Area> areasOf(const std::string& map) {
    std::vector<Area> areas;
    std::regex element("<area [^>]*/>\n");
    for (std::sregex_iterator it(map.begin(), map.end(), element), end; it != end; ++it)
        areas.push_back({coordsOf(it->str()), it->str()});
    return areas;
}

// A point inside the area, whatever its shape: a circle's or rectangle's centre, or the mean of the
// vertices.
void centreOf(const std::vector<int>& xy, int& x, int& y) {
    if (xy.size() == 3) {
        x = xy[0];
        y = xy[1];
        return;
    }
    double sx = 0, sy = 0;
    size_t n = xy.size() / 2;
    for (size_t k = 0; k < n; ++k) {
        sx += xy[2 * k];
        sy += xy[2 * k + 1];
    }
    x = static_cast<int>(sx / n);
    y = static_cast<int>(sy / n);
}

// Whether a circle (x, y, r) or rectangle contains the point; polygons are left to the handler.
bool simpleShapeHolds(const std::vector<int>& xy, int x, int y) {
    if (xy.size() == 3) return (x - xy[0]) * (x - xy[0]) + (y - xy[1]) * (y - xy[1]) <= xy[2] * xy[2];
    return xy.size() == 4 && x >= std::min(xy[0], xy[2]) && x <= std::max(xy[0], xy[2]) &&
           y >= std::min(xy[1], xy[3]) && y <= std::max(xy[1], xy[3]);
}

// Every area lies in the picture and the handler finds each area at its centre. Where symbols may
// overlap, an earlier circle or rectangle that holds the centre may answer instead.
void expectMapAgrees(BaseChart* c, size_t minAreas, bool symbolsOverlap = false) {
    ASSERT_NE(c->makeChart(), nullptr);
    std::string map = c->getHTMLImageMap("go.html", "", "title='{value}'");
    std::vector<Area> areas = areasOf(map);
    EXPECT_GE(areas.size(), minAreas) << map;
    auto h = own(ImageMapHandler::create(map.c_str()));
    for (size_t k = 0; k < areas.size(); ++k) {
        const std::vector<int>& xy = areas[k].xy;
        ASSERT_TRUE(xy.size() == 3 || xy.size() == 4 || (xy.size() >= 6 && xy.size() % 2 == 0)) << areas[k].text;
        int reach = xy.size() == 3 ? xy[2] : 0;
        for (size_t i = 0; i + 1 < xy.size(); i += 2) {
            EXPECT_GE(xy[i] - reach, 0) << areas[k].text;
            EXPECT_LT(xy[i] + reach, c->getWidth()) << areas[k].text;
            EXPECT_GE(xy[i + 1] - reach, 0) << areas[k].text;
            EXPECT_LT(xy[i + 1] + reach, c->getHeight()) << areas[k].text;
        }
        int x, y;
        centreOf(xy, x, y);
        int hit = h->getHotSpot(x, y);
        if (symbolsOverlap && hit >= 1 && hit < static_cast<int>(k + 1)) {
            EXPECT_TRUE(simpleShapeHolds(areas[static_cast<size_t>(hit - 1)].xy, x, y)) << areas[k].text;
        } else {
            EXPECT_EQ(hit, static_cast<int>(k + 1)) << areas[k].text;
        }
    }
}

}  // namespace

TEST(ImageMap, BarChartsAgreeWithTheHandler) {
    for (BarCase which : {BarCase::Side, BarCase::Stacked, BarCase::Percentage, BarCase::ThreeD, BarCase::Negative}) {
        SCOPED_TRACE(barCaseName(which));
        XYPtr c = goldenBarChart(which);
        expectMapAgrees(c.get(), 8);
    }
}

TEST(ImageMap, PriceAndTrendChartsAgreeWithTheHandler) {
    for (PriceCase which : {PriceCase::HLOC, PriceCase::Candles, PriceCase::BoxWhisker, PriceCase::LinearTrend}) {
        SCOPED_TRACE(priceCaseName(which));
        XYPtr c = priceChart(which);
        expectMapAgrees(c.get(), 5);
    }
}

TEST(ImageMap, LineAndAreaChartsAgreeWithTheHandler) {
    const double a[] = {3, 7, 4, 8, 5, 9}, b[] = {6, 2, 5, 1, 4, 2};
    XYPtr line = quietChart();
    line->addLineLayer(DoubleArray(a, 6), 0x3366cc, "A");
    line->addLineLayer(DoubleArray(b, 6), 0xcc3300, "B")->getDataSet(0)->setDataSymbol(Chart::SquareSymbol, 11);
    expectMapAgrees(line.get(), 12);

    XYPtr area = quietChart();
    AreaLayer* layer = area->addAreaLayer(Chart::Stack);
    layer->addDataSet(DoubleArray(a, 6), 0x3366cc, "A");
    layer->addDataSet(DoubleArray(b, 6), 0xcc3300, "B");
    expectMapAgrees(area.get(), 12);
}

TEST(ImageMap, PointsOutsideThePlotAreaHaveNoArea) {
    const double y[] = {1, 5, 50, 5, -40};
    XYPtr c = quietChart();
    c->yAxis()->setLinearScale(0, 10);
    c->addLineLayer(DoubleArray(y, 5));
    c->makeChart();
    std::string map = c->getHTMLImageMap("a.html");
    EXPECT_EQ(areasOf(map).size(), 3u) << map;
    EXPECT_EQ(map.find("x=2&"), std::string::npos);
    EXPECT_EQ(map.find("x=4&"), std::string::npos);
}

TEST(ImageMap, FieldsAreEscapedAndReadBack) {
    const double v[] = {1.5, 2.5};
    XYPtr c = quietChart();
    BarLayer* layer = c->addBarLayer(Chart::Side);
    layer->addDataSet(DoubleArray(v, 2), 0x3366cc, "R&D \"x\"=1%");
    c->makeChart();
    std::string map = c->getHTMLImageMap("a.html?k=1", "", "title='{dataSetName}: {value}'");
    EXPECT_NE(map.find("dataSetName=R%26D%20&#34;x&#34;%3D1%25&"), std::string::npos) << map;
    EXPECT_NE(map.find("title='R&D &#34;x&#34;=1%: 1.5'"), std::string::npos) << map;
    std::vector<Area> areas = areasOf(map);
    ASSERT_EQ(areas.size(), 2u);
    auto h = own(ImageMapHandler::create(map.c_str()));
    int x, y;
    centreOf(areas[1].xy, x, y);
    ASSERT_EQ(h->getHotSpot(x, y), 2);
    EXPECT_STREQ(h->getValue("path"), "a.html");
    EXPECT_STREQ(h->getValue("K"), "1");
    EXPECT_STREQ(h->getValue("dataSetName"), "R&D \"x\"=1%");
    EXPECT_STREQ(h->getValue("value"), "2.5");
    EXPECT_STREQ(h->getValue("title"), "R&D \"x\"=1%: 2.5");
    EXPECT_EQ(h->getValue("nothing"), nullptr);
}

TEST(ImageMap, TemplatesCombineAndDisable) {
    const double v[] = {1, 2, 3};
    XYPtr c = quietChart();
    Layer* layer = c->addLineLayer(DoubleArray(v, 3));
    c->makeChart();
    // Without a per-data-set field the layer gives one area per x, with the item's fields only.
    layer->setHTMLImageMap("", "{default}", "");
    std::string map = c->getHTMLImageMap("a.html", "x={x}&id=5");
    EXPECT_EQ(areasOf(map).size(), 3u);
    EXPECT_NE(map.find("href=\"a.html?x=2&id=5\""), std::string::npos) << map;
    layer->setHTMLImageMap("{disable}");
    EXPECT_STREQ(c->getHTMLImageMap("a.html"), "");
    layer->setHTMLImageMap("", "{none}", "title='{x}'");
    map = c->getHTMLImageMap("a.html");
    EXPECT_NE(map.find("title='1' href=\"a.html\""), std::string::npos) << map;
}

TEST(ImageMap, JoiningAndFitting) {
    EXPECT_EQ(urlJoin("a.html", "x=1"), "a.html?x=1");
    EXPECT_EQ(urlJoin("a.html?p=2", "x=1"), "a.html?p=2&x=1");
    EXPECT_EQ(urlJoin("a.html", "&x=1"), "a.html&x=1");
    EXPECT_EQ(urlJoin("a.html", " "), "a.html");
    EXPECT_EQ(urlJoin("", "x=1"), "");
    EXPECT_EQ(urlJoin("go({queryParam})", "a=1&b=2"), "go(a=1\x1e" "b=2)");
    EXPECT_EQ(combineQuery("{default}&id=5", "x={x}"), "x={x}&id=5");
    EXPECT_EQ(combineQuery("", "x={x}"), "x={x}");

    std::vector<int> sliver{10, 10, 11, 10, 11, 50, 10, 50};
    ASSERT_TRUE(fitHotSpot(sliver));
    EXPECT_EQ(sliver, (std::vector<int>{10, 10, 11, 50}));
    std::vector<int> zeros{0, 0, 0, 0};
    EXPECT_FALSE(fitHotSpot(zeros));
    std::string map;
    appendArea(map, zeros, 5, 5, "", "x");
    appendArea(map, {1, 2}, 0, 0, "", "x");
    EXPECT_EQ(map, "");
    appendArea(map, {9, 8, 1, 2}, 10, 20, "title='t'", "a.html");
    EXPECT_EQ(map, "<area shape=\"rect\" coords=\"11,22,19,28\" title='t' href=\"a.html\" />\n");
}

TEST(ImageMap, PieChartsAgreeWithTheHandler) {
    const double values[] = {25, 18, 15, 12, Chart::NoValue, 6};
    const char* names[] = {"Rent", "Pay & tax", "Materials", "Energy", "None", "Other"};
    auto pie = own(PieChart::create(400, 300));
    pie->setPieSize(200, 150, 90);
    pie->setData(DoubleArray(values, 6), StringArray(names, 6));
    pie->setLabelStyle("", 8, Chart::Transparent);
    expectMapAgrees(pie.get(), 5);
    std::string map = pie->getHTMLImageMap("p.html");
    EXPECT_NE(map.find("sector=1&label=Pay%20%26%20tax&value=18&percent="), std::string::npos) << map;
    EXPECT_EQ(map.find("sector=4&"), std::string::npos);
    EXPECT_STREQ(pie->getHTMLImageMap("{disable}"), "");

    auto donut = own(PieChart::create(400, 300));
    donut->setDonutSize(200, 150, 100, 40);
    donut->setData(DoubleArray(values, 4), StringArray(names, 4));
    donut->setLabelStyle("", 8, Chart::Transparent);
    expectMapAgrees(donut.get(), 4);
}

TEST(ImageMap, LegendEntriesLinkTheirDataSets) {
    XYPtr c = goldenBarChart(BarCase::Side);
    LegendBox* legend = c->getLegend();
    ASSERT_NE(legend, nullptr);
    EXPECT_STREQ(legend->getHTMLImageMap("l.html"), "");  // not placed before layout
    expectMapAgrees(c.get(), 12);
    std::string map = legend->getHTMLImageMap("l.html", "", "title='{dataSetName}'");
    std::vector<Area> areas = areasOf(map);
    ASSERT_EQ(areas.size(), 3u) << map;
    auto h = own(ImageMapHandler::create(map.c_str()));
    int x, y;
    centreOf(areas[2].xy, x, y);
    ASSERT_EQ(h->getHotSpot(x, y), 3);
    EXPECT_STREQ(h->getValue("dataSet"), "2");
    EXPECT_STREQ(h->getValue("dataSetName"), "West");
    EXPECT_STREQ(h->getValue("title"), "West");
}

TEST(ImageMap, AxisLabelsLinkTheirValues) {
    XYPtr c = goldenBarChart(BarCase::Side);
    ASSERT_NE(c->makeChart(), nullptr);
    std::string map = c->xAxis()->getHTMLImageMap("axis.html", "", "title='{label}'");
    std::vector<Area> areas = areasOf(map);
    ASSERT_EQ(areas.size(), 4u) << map;
    auto h = own(ImageMapHandler::create(map.c_str()));
    for (size_t k = 0; k < areas.size(); ++k) {
        int x, y;
        centreOf(areas[k].xy, x, y);
        EXPECT_GE(y, 200);  // below the plot area
        ASSERT_EQ(h->getHotSpot(x, y), static_cast<int>(k + 1)) << map;
        EXPECT_STREQ(h->getValue("value"), std::to_string(k).c_str());
        EXPECT_STREQ(h->getValue("label"), kMonths[k]);
    }
    EXPECT_STREQ(c->yAxis()->getHTMLImageMap("{disable}"), "");
}

TEST(ImageMap, PolarChartsAgreeWithTheHandler) {
    auto radar = radarChart();
    expectMapAgrees(radar.get(), 24, true);
    std::string map = radar->getHTMLImageMap("r.html");
    EXPECT_NE(map.find("shape=\"circle\""), std::string::npos) << map;
    EXPECT_NE(map.find("r.html?x=2&label=Cost&name=Model%20A&value=90\""), std::string::npos) << map;

    auto vectors = vectorFieldChart();
    expectMapAgrees(vectors.get(), 10, true);
    EXPECT_NE(std::string(vectors->getHTMLImageMap("v.html")).find("&dir="), std::string::npos);
    EXPECT_STREQ(radar->getHTMLImageMap("{disable}"), "");

    // The angular axis: an area per spoke label, and the ring outside the circle in segments.
    std::string labels = radar->angularAxis()->getHTMLImageMap("spoke.html");
    std::vector<Area> areas = areasOf(labels);
    ASSERT_EQ(areas.size(), 8u) << labels;
    auto h = own(ImageMapHandler::create(labels.c_str()));
    int x, y;
    centreOf(areas[2].xy, x, y);
    ASSERT_EQ(h->getHotSpot(x, y), 3);
    EXPECT_STREQ(h->getValue("label"), "Cost");
    std::string ring = radar->angularAxis()->getAxisImageMap(8, 30, "ring.html", "", "title='{value}'");
    areas = areasOf(ring);
    ASSERT_EQ(areas.size(), 8u) << ring;
    h = own(ImageMapHandler::create(ring.c_str()));
    for (size_t k = 0; k < areas.size(); ++k) {
        // Each segment runs from one spoke to the next; its middle is half a spoke on.
        centreOf(areas[k].xy, x, y);
        ASSERT_EQ(h->getHotSpot(x, y), static_cast<int>(k + 1)) << ring;
        EXPECT_NEAR(std::stod(h->getValue("value")), k + 0.5, 1e-9) << areas[k].text;
        int dx = x - 200, dy = y - 215;
        EXPECT_GT(dx * dx + dy * dy, 130 * 130) << "outside the circle";
    }
}

TEST(ImageMap, PyramidLayersTileWithoutGaps) {
    const double values[] = {1200, 860, Chart::NoValue, 540, 310, 180};
    const char* names[] = {"Leads", "Qualified", "None", "Proposals", "Negotiation", "Won"};
    for (int shape = 0; shape < 3; ++shape) {
        SCOPED_TRACE(shape);
        auto c = own(PyramidChart::create(480, 360));
        if (shape == 0) c->setPyramidSize(240, 180, 120, 260);
        if (shape == 1) c->setConeSize(240, 180, 120, 260);
        if (shape == 2) c->setFunnelSize(240, 180, 120, 260, 0.22, 0.25);
        c->setData(DoubleArray(values, 6), StringArray(names, 6));
        c->setCenterLabel("");
        c->setViewAngle(20, 0, shape == 1 ? 10 : 0);
        expectMapAgrees(c.get(), 5);
        std::string map = c->getHTMLImageMap("p.html");
        ASSERT_EQ(areasOf(map).size(), 5u) << map;
        EXPECT_NE(map.find("p.html?index=1&label=Qualified&value=860&percent="), std::string::npos) << map;
        EXPECT_EQ(map.find("index=2&"), std::string::npos) << map;
        // Neighbouring layers share their edges: just across the second layer's top edge lies
        // another layer, not a gap.
        auto h = own(ImageMapHandler::create(map.c_str()));
        std::vector<int> second = areasOf(map)[1].xy;
        int x, y;
        centreOf(second, x, y);
        int top = (second[1] + second.back()) / 2;
        int above = h->getHotSpot(x, top - 2);
        EXPECT_TRUE(above != 0 && above != 2) << map;
        EXPECT_EQ(h->getHotSpot(x, top + 2), 2) << map;
    }
}

TEST(ImageMap, ThreeDScatterSymbolsNearestFirst) {
    auto c = dotsScatterChart();
    expectMapAgrees(c.get(), 30, true);
    std::string map = c->getHTMLImageMap("s.html", "", "title='{x},{y},{z}'");
    std::vector<Area> areas = areasOf(map);
    ASSERT_EQ(areas.size(), 30u);
    EXPECT_NE(map.find("s.html?x=3&y=4&z=9&dataSet=0&dataItem=3\""), std::string::npos) << map;
    // The first area is the nearest symbol, painted on top of any other there.
    auto h = own(ImageMapHandler::create(map.c_str()));
    int cx, cy;
    centreOf(areas[0].xy, cx, cy);
    EXPECT_EQ(h->getHotSpot(cx, cy), 1);
}

TEST(ImageMap, AxisSegmentsCarryTheValueAtTheirCentre) {
    const double v[] = {10, 60, 30};
    XYPtr c = quietChart();
    c->addLineLayer(DoubleArray(v, 3));
    c->xAxis()->setLinearScale(0, 100);
    c->yAxis()->setLinearScale(0, 50);
    ASSERT_NE(c->makeChart(), nullptr);
    for (Axis* axis : {c->xAxis(), c->yAxis()}) {
        bool horizontal = axis == c->xAxis();
        SCOPED_TRACE(horizontal ? "x axis" : "y axis");
        std::string map = axis->getAxisImageMap(10, 12, "seg.html", "", "title='{label}'");
        std::vector<Area> areas = areasOf(map);
        ASSERT_EQ(areas.size(), 10u) << map;
        auto h = own(ImageMapHandler::create(map.c_str()));
        double scale = horizontal ? 100 : 50;
        for (size_t k = 0; k < areas.size(); ++k) {
            const std::vector<int>& xy = areas[k].xy;
            ASSERT_EQ(xy.size(), 4u);
            EXPECT_EQ((horizontal ? xy[3] - xy[1] : xy[2] - xy[0]) + 1, 12) << areas[k].text;
            int x, y;
            centreOf(xy, x, y);
            ASSERT_EQ(h->getHotSpot(x, y), static_cast<int>(k + 1)) << map;
            // Segment k of ten covers the k-th tenth of the scale (upwards on the y axis).
            double value = std::stod(h->getValue("value"));
            EXPECT_NEAR(value, scale * (k + 0.5) / 10, scale / 100) << areas[k].text;
            EXPECT_STREQ(h->getValue("label"), h->getValue("title"));
        }
    }
    EXPECT_STREQ(c->xAxis()->getAxisImageMap(0, 10, "a.html"), "");
    EXPECT_STREQ(c->xAxis()->getAxisImageMap(5, 0, "a.html"), "");
    EXPECT_STREQ(c->xAxis()->getAxisImageMap(5, 10, "{disable}"), "");
    // More segments than pixels: one per pixel.
    EXPECT_LE(areasOf(c->xAxis()->getAxisImageMap(1000000, 5, "a.html")).size(), 400u);
}

TEST(ImageMap, VectorAndMultiCharts) {
    XYPtr vectors = windVectorChart();
    expectMapAgrees(vectors.get(), 5, true);
    EXPECT_NE(std::string(vectors->getHTMLImageMap("v.html")).find("&dir=45&len=30\""), std::string::npos);

    // Members keep their own maps, moved to where each sits in the whole.
    XYPtr left = goldenBarChart(BarCase::Side), right = goldenBarChart(BarCase::Stacked);
    auto multi = own(MultiChart::create(2 * left->getWidth() + 20, left->getHeight() + 10));
    multi->addChart(0, 10, left.get());
    multi->addChart(left->getWidth() + 20, 0, right.get());
    expectMapAgrees(multi.get(), 24);
    std::vector<Area> whole = areasOf(multi->getHTMLImageMap("m.html"));
    std::vector<Area> first = areasOf(left->getHTMLImageMap("m.html"));
    ASSERT_GT(first.size(), 0u);
    ASSERT_GT(whole.size(), first.size());
    for (size_t k = 0; k < first.size(); ++k) {
        ASSERT_EQ(first[k].xy.size(), whole[k].xy.size());
        for (size_t i = 0; i < first[k].xy.size(); ++i)
            EXPECT_EQ(whole[k].xy[i], first[k].xy[i] + (i % 2 ? 10 : 0)) << whole[k].text;
    }
}

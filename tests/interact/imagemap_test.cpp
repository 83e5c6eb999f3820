// Image maps two ways: the charts write them, ImageMapHandler reads them back. Where both agree on
// every area of real charts, the shapes, the escaping and the hit test are right together.

#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "chart/barchart.h"
#include "chart/imagemap_p.h"
#include "chart/pricecharts.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

struct Area {
    std::vector<int> xy;
    std::string text;
};

std::vector<Area> areasOf(const std::string& map) {
    std::vector<Area> areas;
    std::regex element("<area [^>]*/>\n");
    for (std::sregex_iterator it(map.begin(), map.end(), element), end; it != end; ++it)
        areas.push_back({coordsOf(it->str().c_str()), it->str()});
    return areas;
}

// A point inside the area, whatever its shape: the rectangle's centre, or the mean of the vertices.
void centreOf(const std::vector<int>& xy, int& x, int& y) {
    double sx = 0, sy = 0;
    size_t n = xy.size() / 2;
    for (size_t k = 0; k < n; ++k) {
        sx += xy[2 * k];
        sy += xy[2 * k + 1];
    }
    x = static_cast<int>(sx / n);
    y = static_cast<int>(sy / n);
}

// Every area lies in the picture and the handler finds each area at its centre.
void expectMapAgrees(BaseChart* c, size_t minAreas) {
    ASSERT_NE(c->makeChart(), nullptr);
    std::string map = c->getHTMLImageMap("go.html", "", "title='{value}'");
    std::vector<Area> areas = areasOf(map);
    EXPECT_GE(areas.size(), minAreas) << map;
    auto h = own(ImageMapHandler::create(map.c_str()));
    for (size_t k = 0; k < areas.size(); ++k) {
        const std::vector<int>& xy = areas[k].xy;
        ASSERT_TRUE(xy.size() == 4 || (xy.size() >= 6 && xy.size() % 2 == 0)) << areas[k].text;
        for (size_t i = 0; i < xy.size(); i += 2) {
            EXPECT_GE(xy[i], 0) << areas[k].text;
            EXPECT_LT(xy[i], c->getWidth()) << areas[k].text;
            EXPECT_GE(xy[i + 1], 0) << areas[k].text;
            EXPECT_LT(xy[i + 1], c->getHeight()) << areas[k].text;
        }
        int x, y;
        centreOf(xy, x, y);
        EXPECT_EQ(h->getHotSpot(x, y), static_cast<int>(k + 1)) << areas[k].text;
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

// The image-map text of every producer, byte for byte against a recorded copy. Maps are what web
// pages are built from, so a faster writer must not move a comma; these cases cover each shape
// route (rectangles, polygons, slivers, boxes around items, text boxes, circles) and each template
// route (default and custom queries, per-item and per-data-set fields, extra fields, escaping,
// arithmetic fields, offsets, disabled layers).

#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart/barchart.h"
#include "chart/polarcharts.h"
#include "chart/pricecharts.h"
#include "chart/imagemapcharts.h"
#include "support/golden.h"
#include "support/pinnedfonts.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

void addMap(std::string& text, const char* title, const char* map) {
    text += "== ";
    text += title;
    text += "\n";
    text += map;
}

// A point's coordinate attributes, on a line of their own.
void addCoor(std::string& text, const char* title, const char* coor) {
    addMap(text, title, coor);
    text += "\n";
}

// Every layer's own coordinate attributes for a few points, whole items and a missing data set.
void addLayerCoors(std::string& text, XYChart* c) {
    for (int i = 0; i < c->getLayerCount(); ++i) {
        Layer* layer = c->getLayer(i);
        addCoor(text, "layer point", layer->getImageCoor(0, 1, 2, 3));
        addCoor(text, "second data set", layer->getImageCoor(1, 2));
        addCoor(text, "item", layer->getImageCoor2(3, 1, 1));
        addCoor(text, "no such data set", layer->getImageCoor(9, 2));
    }
}

const char* const kTip = "title='{dataSetName}: {value}'";

}  // namespace

TEST(ImageMapText, ScatterWithExtraFieldsAndToolTips) {
    std::vector<double> x, y, size;
    std::vector<const char*> notes;
    const char* kinds[] = {"plain", "R&D \"q\"", "50% <off>", "a+b=c #1", "it's"};
    for (int i = 0; i < 60; ++i) {
        x.push_back(i * 1.7 - 3);
        y.push_back(50 + 40 * std::sin(i * 0.37) + (i % 7 == 3 ? 200 : 0));  // some leave the plot
        size.push_back(i * 0.125);
        notes.push_back(kinds[i % 5]);
    }
    y[11] = Chart::NoValue;
    XYPtr c = quietChart(400, 300);
    c->xAxis()->setLinearScale(0, 100);
    c->yAxis()->setLinearScale(0, 100);
    LineLayer* a = c->addScatterLayer(arrayOf(x), arrayOf(y), "Sites & \"labs\"", Chart::CircleSymbol, 9);
    a->addExtraField(StringArray(notes.data(), static_cast<int>(notes.size())));
    a->addExtraField(arrayOf(size));
    std::vector<double> y2(y.rbegin(), y.rend());
    LineLayer* b = c->addScatterLayer(arrayOf(x), arrayOf(y2), "Second", Chart::SquareSymbol, 3);
    b->getDataSet(0)->setSymbolOffset(2, -1);
    ASSERT_NE(c->makeChart(), nullptr);

    std::string text;
    addMap(text, "tool tips", c->getHTMLImageMap("detail.html?from=map", "",
                                                 "title='{dataSetName} #{dataItem}: ({x|2}, {value|1}) {field0} {field1|3}'"));
    addMap(text, "custom query with arithmetic",
           c->getHTMLImageMap("p.html", "{default}&note={field0}&twice={=({value}+{field1})*2|1}&{unknown}",
                              "title='{={x}/2|3}'", 5, 9));
    addMap(text, "item fields only", c->getHTMLImageMap("i.html", "x={x}&id={dataItem}", "title='{x|1}'"));
    addMap(text, "query param", c->getHTMLImageMap("javascript:go('{queryParam}')", "a={value}&b={field1}"));
    addMap(text, "no link", c->getHTMLImageMap("", "", "onclick=\"f({dataItem})\""));
    addMap(text, "nothing at all", c->getHTMLImageMap("", "", ""));
    b->setHTMLImageMap("{disable}");
    a->setHTMLImageMap("own.html", "{default}&layer=a", "{none}");
    addMap(text, "layer settings", c->getHTMLImageMap("chart.html", "", kTip));
    addMap(text, "layer alone", a->getHTMLImageMap("x.html", "v={value}", "", 1, 2));
    addCoor(text, "point", a->getImageCoor(0, 5, 3, 4));
    addCoor(text, "item", a->getImageCoor2(5, 3, 4));
    addCoor(text, "missing point", a->getImageCoor(0, 11));
    addCoor(text, "point outside", a->getImageCoor(0, 3));
    EXPECT_TRUE(matchesGoldenText("imagemap", "scatter.txt", text));
}

TEST(ImageMapText, BarsLinesAndAreas) {
    std::string text;
    for (BarCase which : {BarCase::Side, BarCase::Stacked, BarCase::Percentage, BarCase::ThreeD, BarCase::Negative}) {
        XYPtr c = goldenBarChart(which);
        if (which == BarCase::Stacked) c->swapXY();
        ASSERT_NE(c->makeChart(), nullptr);
        addMap(text, barCaseName(which), c->getHTMLImageMap("bar.html", "", kTip, 3, 4));
        addMap(text, "per item", c->getHTMLImageMap("bar.html", "x={x}&xLabel={xLabel}", "title='{totalValue}'"));
        Layer* layer = c->getLayerByZ(0);
        addCoor(text, "bar", layer->getImageCoor(1, 2, 5, 6));
        addCoor(text, "item", layer->getImageCoor2(2));
    }
    // Thin bars become wider hot spots; many bars make slivers.
    std::vector<double> many;
    for (int i = 0; i < 150; ++i) many.push_back(i % 9 - 2);
    XYPtr thin = quietChart();
    thin->addBarLayer(arrayOf(many), 0x3366cc, "Thin")->setMinImageMapSize(1);
    thin->addBarLayer(arrayOf(many), 0xcc3300, "Wider");
    ASSERT_NE(thin->makeChart(), nullptr);
    addMap(text, "thin bars", thin->getHTMLImageMap("t.html"));

    const double a[] = {3, 7, 4, 8, 5, 9}, b[] = {6, 2, 5, Chart::NoValue, 4, 2};
    XYPtr line = quietChart();
    line->addLineLayer(DoubleArray(a, 6), 0x3366cc, "A");
    line->addSplineLayer(DoubleArray(b, 6), 0xcc3300, "B")->getDataSet(0)->setDataSymbol(Chart::SquareSymbol, 11);
    line->addStepLineLayer(DoubleArray(a, 6), 0x33aa33, "C")->setXData(10, 40);
    ASSERT_NE(line->makeChart(), nullptr);
    addMap(text, "lines", line->getHTMLImageMap("l.html", "", kTip));
    addLayerCoors(text, line.get());

    for (int method : {Chart::Stack, Chart::Percentage, Chart::Overlay}) {
        XYPtr area = quietChart();
        AreaLayer* layer = area->addAreaLayer(method, method == Chart::Overlay ? 5 : 0);
        layer->addDataSet(DoubleArray(a, 6), 0x3366cc, "A");
        layer->addDataSet(DoubleArray(b, 6), 0xcc3300, "B");
        ASSERT_NE(area->makeChart(), nullptr);
        addMap(text, "areas", area->getHTMLImageMap("a.html", "", kTip));
        addLayerCoors(text, area.get());
    }
    EXPECT_TRUE(matchesGoldenText("imagemap", "bars_lines_areas.txt", text));
}

TEST(ImageMapText, PricesTrendsAndVectors) {
    std::string text;
    for (PriceCase which :
         {PriceCase::HLOC, PriceCase::Candles, PriceCase::BoxWhisker, PriceCase::LinearTrend, PriceCase::CubicTrend}) {
        XYPtr c = priceChart(which);
        ASSERT_NE(c->makeChart(), nullptr);
        addMap(text, priceCaseName(which), c->getHTMLImageMap("p.html", "", "title='{x}: {value}'", 2, 1));
        addMap(text, "per data set", c->getHTMLImageMap("p.html", "s={dataSet}&slope={slope|4}"));
        addLayerCoors(text, c.get());
    }
    XYPtr vectors = windVectorChart();
    ASSERT_NE(vectors->makeChart(), nullptr);
    addMap(text, "vectors", vectors->getHTMLImageMap("v.html", "", "title='{dir}/{len}'"));
    addLayerCoors(text, vectors.get());
    EXPECT_TRUE(matchesGoldenText("imagemap", "prices_trends_vectors.txt", text));
}

TEST(ImageMapText, PolarPyramidAndThreeD) {
    std::string text;
    for (Owned<PolarChart>& c : [] {
             std::vector<Owned<PolarChart>> charts;
             charts.push_back(radarChart());
             charts.push_back(logLineChart());
             charts.push_back(splineAreaChart());
             charts.push_back(vectorFieldChart());
             return charts;
         }()) {
        ASSERT_NE(c->makeChart(), nullptr);
        addMap(text, "polar", c->getHTMLImageMap("r.html", "", kTip));
    }
    const double values[] = {1200, 860, Chart::NoValue, 540, 310, 180};
    const char* names[] = {"Leads", "Qualified", "None", "Proposals", "Negotiation", "Won"};
    auto pyramid = own(PyramidChart::create(480, 360));
    pyramid->setFunnelSize(240, 180, 120, 260, 0.22, 0.25);
    pyramid->setData(DoubleArray(values, 6), StringArray(names, 6));
    pyramid->setCenterLabel("");
    ASSERT_NE(pyramid->makeChart(), nullptr);
    addMap(text, "funnel", pyramid->getHTMLImageMap("f.html", "", kTip));

    auto scatter = dotsScatterChart();
    ASSERT_NE(scatter->makeChart(), nullptr);
    addMap(text, "3D scatter", scatter->getHTMLImageMap("s.html", "", "title='{x},{y},{z}'"));
    EXPECT_TRUE(matchesGoldenText("imagemap", "polar_pyramid_3d.txt", text));
}

// Text boxes take their sizes from the fonts, so these maps hold only with the pinned ones.
TEST(ImageMapText, PiesFinanceLegendsAxesAndMultiCharts) {
    PLOTVANE_SKIP_UNLESS_PINNED_FONTS();
    std::string text;
    const double values[] = {25, 18, 15, 12, Chart::NoValue, 6};
    const char* names[] = {"Rent", "Pay & tax", "Materials", "Energy", "None", "Other"};
    for (int kind = 0; kind < 3; ++kind) {
        auto pie = own(PieChart::create(400, 300));
        if (kind == 1)
            pie->setDonutSize(200, 150, 100, 40);
        else
            pie->setPieSize(200, 150, 90);
        if (kind == 2) {
            pie->set3D(15);
            pie->setExplode(1, 12);
        }
        pie->setData(DoubleArray(values, 6), StringArray(names, 6));
        ASSERT_NE(pie->makeChart(), nullptr);
        addMap(text, "pie", pie->getHTMLImageMap("pie.html", "", "title='{label}: {percent|1}%'", 4, 4));
    }

    auto finance = own(FinanceChart::create(600));
    std::vector<double> t, high, low, open, close, volume;
    for (int i = 0; i < 80; ++i) {
        double mid = 100 + 10 * std::sin(i * 0.2) + i * 0.1;
        t.push_back(Chart::chartTime(2024, 1, 1) + 86400.0 * i);
        open.push_back(mid - 0.5);
        close.push_back(mid + (i % 3 - 1));
        high.push_back(mid + 2);
        low.push_back(mid - 2.5);
        volume.push_back(1000 + (i * 37) % 500);
    }
    finance->setData(arrayOf(t), arrayOf(high), arrayOf(low), arrayOf(open), arrayOf(close), arrayOf(volume), 20);
    finance->addMainChart(200);
    finance->addCandleStick(0x00aa00, 0xcc0000);
    finance->addSimpleMovingAvg(10, 0x0000ff);
    finance->addVolBars(60, 0x99ff99, 0xff9999, 0x9999ff);
    finance->addRSI(70, 14, 0x800080, 20, 0xff6666, 0x6666ff);
    ASSERT_NE(finance->makeChart(), nullptr);
    addMap(text, "finance", finance->getHTMLImageMap("fin.html", "", "title='{xLabel}: {value|2}'"));

    XYPtr left = goldenBarChart(BarCase::Side), right = goldenBarChart(BarCase::Stacked);
    auto multi = own(MultiChart::create(2 * left->getWidth() + 20, left->getHeight() + 10));
    multi->addChart(0, 10, left.get());
    multi->addChart(left->getWidth() + 20, 0, right.get());
    ASSERT_NE(multi->makeChart(), nullptr);
    addMap(text, "multi", multi->getHTMLImageMap("m.html", "", kTip, 1, 2));
    addMap(text, "legend", left->getLegend()->getHTMLImageMap("l.html", "", "title='{dataSetName}'"));
    addMap(text, "x axis", left->xAxis()->getHTMLImageMap("ax.html", "", "title='{label}'"));
    addMap(text, "y axis segments", left->yAxis()->getAxisImageMap(6, 10, "ay.html"));
    EXPECT_TRUE(matchesGoldenText("imagemap", "pie_finance_multi.txt", text));
}

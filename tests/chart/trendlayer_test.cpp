#include <plotvane/plotvane.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "chart/barchart.h"
#include "chart/pricecharts.h"
#include "chart/testchart.h"
#include "chart/xy/regression_p.h"
#include "chart/xy/studentt_p.h"
#include "draw/drawtest.h"
#include "support/golden.h"

using namespace plotvane;
using namespace plotvane_test;

namespace {

const double NV = Chart::NoValue;

struct Case {
    std::string name;
    std::vector<double> x, y;
    int degree;
    bool origin;
    double level;
    std::vector<double> at;
    bool coefficients;
};

// An interpreter with numpy, scipy and statsmodels, or empty.
std::string scientificPython() {
    for (const char* p : {"/usr/bin/python3", "python3"}) {
        std::string probe = std::string(p) + " -c 'import numpy, scipy, statsmodels' >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) return p;
    }
    return "";
}

std::string jsonList(const std::vector<double>& v) {
    std::string s = "[";
    char b[40];
    for (size_t i = 0; i < v.size(); ++i) {
        std::snprintf(b, sizeof b, "%s%.17g", i ? "," : "", v[i]);
        s += b;
    }
    return s + "]";
}

// "name key" -> value, as the reference script prints them.
std::map<std::string, double> reference(const std::string& python, const std::vector<Case>& cases,
                                        const std::vector<std::pair<double, int>>& quantiles) {
    std::string json = "{\"cases\": [";
    for (size_t k = 0; k < cases.size(); ++k) {
        const Case& c = cases[k];
        char head[200];
        std::snprintf(head, sizeof head, "%s{\"name\": \"%s\", \"degree\": %d, \"origin\": %s, \"level\": %.17g, ",
                      k ? ", " : "", c.name.c_str(), c.degree, c.origin ? "true" : "false", c.level);
        json += head;
        json += "\"coefficients\": " + std::string(c.coefficients ? "true" : "false");
        json += ", \"x\": " + jsonList(c.x) + ", \"y\": " + jsonList(c.y) + ", \"at\": " + jsonList(c.at) + "}";
    }
    json += "], \"t\": [";
    for (size_t k = 0; k < quantiles.size(); ++k) {
        char b[80];
        std::snprintf(b, sizeof b, "%s[%.17g, %d]", k ? ", " : "", quantiles[k].first, quantiles[k].second);
        json += b;
    }
    json += "]}";
    std::string input = testing::TempDir() + "trend_cases.json";
    writeFile(input, json);
    std::string command = python + " " + testPath("chart/trend_reference.py") + " " + input;
    std::map<std::string, double> values;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return values;
    char name[64], key[64];
    double value;
    while (std::fscanf(pipe, "%63s %63s %lf", name, key, &value) == 3) values[std::string(name) + " " + key] = value;
    pclose(pipe);
    return values;
}

::testing::AssertionResult agrees(double actual, const std::map<std::string, double>& ref, const std::string& key) {
    auto it = ref.find(key);
    if (it == ref.end()) return ::testing::AssertionFailure() << "no reference value for " << key;
    double expected = it->second;
    if (std::fabs(actual - expected) <= 1e-9 * std::max(std::fabs(expected), 1.0))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << key << ": " << actual << " against " << expected;
}

std::vector<Case> referenceCases() {
    std::vector<Case> cases;
    Case linear{"linear", {}, {}, 1, false, 0.95, {-2, 0, 7.5, 23, 30}, true};
    for (int i = 0; i < 24; ++i) linear.x.push_back(i), linear.y.push_back(2.5 + 0.8 * i + 3 * std::sin(1.3 * i));
    cases.push_back(linear);
    Case cubic{"cubic", {}, {}, 3, false, 0.95, {0, 3.3, 14.5}, true};
    for (int i = 0; i < 30; ++i) {
        double x = 0.5 * i;
        cubic.x.push_back(x);
        cubic.y.push_back(1 - 0.4 * x + 0.3 * x * x - 0.02 * x * x * x + std::sin(2.1 * x));
    }
    cases.push_back(cubic);
    // Chart times an hour apart: a degree-5 fit the normal equations could not solve.
    Case times{"chartTime", {}, {}, 5, false, 0.99, {1e9, 1e9 + 5000, 1e9 + 70000, 1e9 + 39 * 3600}, false};
    for (int i = 0; i < 40; ++i)
        times.x.push_back(1e9 + 3600 * i), times.y.push_back(50 + 10 * std::sin(i / 6.0) + 0.3 * std::cos(2.9 * i));
    cases.push_back(times);
    Case origin{"origin", {}, {}, 1, true, 0.9, {0.5, 8, 20}, false};
    for (int i = 1; i <= 15; ++i) origin.x.push_back(i), origin.y.push_back(2.2 * i + 1.5 * std::sin(i));
    cases.push_back(origin);
    Case few{"few", {1, 2, 4, 5}, {3, 4.5, 4, 7}, 1, false, 0.999, {0, 3}, true};
    cases.push_back(few);
    return cases;
}

TrendLayer* trendOf(XYChart* c, const Case& k) {
    TrendLayer* layer = c->addTrendLayer(arrayOf(k.x), arrayOf(k.y));
    layer->setRegressionType(k.origin ? Chart::ConstrainedLinearRegression : k.degree);
    return layer;
}

}  // namespace

TEST(TrendLayer, AgreesWithNumpyAndStatsmodels) {
    std::string python = scientificPython();
    if (python.empty()) GTEST_SKIP() << "python3 with numpy, scipy and statsmodels is not installed";
    std::vector<Case> cases = referenceCases();
    std::vector<std::pair<double, int>> quantiles = {{0.025, 1},  {0.025, 2},   {0.025, 3},    {0.005, 7},
                                                     {0.025, 29}, {0.025, 120}, {1e-8, 5},     {0.4, 60},
                                                     {0.025, 40}, {0.05, 1000}, {0.025, 100000}};
    std::map<std::string, double> ref = reference(python, cases, quantiles);
    ASSERT_FALSE(ref.empty()) << "the reference script printed nothing";

    for (const auto& q : quantiles) {
        // Python's repr of the probability: the shortest text that reads back the same.
        std::string name = "t " + std::string([&] {
                               for (int digits = 1; digits < 18; ++digits) {
                                   char b[40];
                                   std::snprintf(b, sizeof b, "%.*g", digits, q.first);
                                   if (std::strtod(b, nullptr) == q.first) return std::string(b);
                               }
                               return std::string();
                           }()) + "/" + std::to_string(q.second);
        EXPECT_TRUE(agrees(studentTQuantileUpper(q.first, q.second), ref, name));
    }

    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        XYPtr c = quietChart();
        TrendLayer* layer = trendOf(c.get(), k);
        EXPECT_TRUE(agrees(layer->getStdError(), ref, k.name + " stdError"));
        EXPECT_TRUE(agrees(layer->getCorrelation(), ref, k.name + " correlation"));
        if (k.origin) {
            EXPECT_TRUE(agrees(layer->getSlope(), ref, k.name + " slope"));
            EXPECT_EQ(layer->getIntercept(), 0);
        }
        if (k.coefficients) {
            for (int i = 0; i <= k.degree; ++i) EXPECT_TRUE(agrees(layer->getCoefficient(i), ref, k.name + " c" + std::to_string(i)));
            EXPECT_EQ(layer->getCoefficient(k.degree + 1), 0);
            EXPECT_EQ(layer->getIntercept(), layer->getCoefficient(0));
            EXPECT_EQ(layer->getSlope(), layer->getCoefficient(1));
        }
        // The band edges, from the fit and the quantile the layer draws them with.
        PolynomialFit fit;
        ASSERT_TRUE(fit.fit(k.x, k.y, k.degree, k.origin));
        double t = studentTQuantileUpper((1 - k.level) / 2, static_cast<double>(k.x.size()) - k.degree - (k.origin ? 0 : 1));
        for (size_t i = 0; i < k.at.size(); ++i) {
            std::string n = std::to_string(i);
            double v = fit.value(k.at[i]), h = fit.leverage(k.at[i]), s = fit.stdError();
            EXPECT_TRUE(agrees(v, ref, k.name + " fit" + n));
            EXPECT_TRUE(agrees(v - t * s * h, ref, k.name + " confLower" + n));
            EXPECT_TRUE(agrees(v + t * s * h, ref, k.name + " confUpper" + n));
            EXPECT_TRUE(agrees(v - t * s * std::sqrt(1 + h * h), ref, k.name + " predLower" + n));
            EXPECT_TRUE(agrees(v + t * s * std::sqrt(1 + h * h), ref, k.name + " predUpper" + n));
        }
    }
}

TEST(TrendLayer, ExactModelsAndDegenerateFits) {
    auto layerFor = [](XYChart* c, const std::vector<double>& x, const std::vector<double>& y, int type) {
        TrendLayer* layer = c->addTrendLayer(arrayOf(x), arrayOf(y));
        layer->setRegressionType(type);
        return layer;
    };
    XYPtr c = quietChart();
    {
        // Points on a line: slope 2, intercept 1, no scatter, so the bands have no width.
        TrendLayer* line = layerFor(c.get(), {0, 1, 2}, {1, 3, 5}, Chart::LinearRegression);
        EXPECT_NEAR(line->getSlope(), 2, 1e-14);
        EXPECT_NEAR(line->getIntercept(), 1, 1e-14);
        EXPECT_NEAR(line->getStdError(), 0, 1e-14);
        EXPECT_NEAR(line->getCorrelation(), 1, 1e-14);
    }
    {
        // The curved models fit their transforms exactly.
        std::vector<double> x, ye, yl, yc;
        for (int i = 1; i <= 8; ++i) {
            x.push_back(i);
            ye.push_back(2 * std::exp(0.3 * i));
            yl.push_back(1 + 2 * std::log(i));
            yc.push_back(0.5 * i * i * i - i + 4);
        }
        TrendLayer* e = layerFor(c.get(), x, ye, Chart::ExponentialRegression);
        EXPECT_NEAR(e->getSlope(), 0.3, 1e-12);
        EXPECT_NEAR(e->getIntercept(), std::log(2.0), 1e-12);
        TrendLayer* l = layerFor(c.get(), x, yl, Chart::LogarithmicRegression);
        EXPECT_NEAR(l->getSlope(), 2, 1e-12);
        EXPECT_NEAR(l->getIntercept(), 1, 1e-12);
        TrendLayer* p = layerFor(c.get(), x, yc, 3);
        const double expected[] = {4, -1, 0, 0.5};
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(p->getCoefficient(i), expected[i], 1e-9) << i;
        // Below the exponential's base line, the curve keeps below it.
        std::vector<double> below;
        for (double v : ye) below.push_back(10 - v);
        TrendLayer* eb = layerFor(c.get(), x, below, Chart::ExponentialRegression);
        eb->setBaseLine(10);
        EXPECT_NEAR(eb->getSlope(), 0.3, 1e-12);
    }
    {
        // All x equal: no slope, the intercept is that x; one point is the same.
        TrendLayer* v = layerFor(c.get(), {4, 4, 4}, {1, 2, 6}, Chart::LinearRegression);
        EXPECT_EQ(v->getSlope(), NV);
        EXPECT_EQ(v->getIntercept(), 4);
        TrendLayer* one = layerFor(c.get(), {7}, {3}, Chart::LinearRegression);
        EXPECT_EQ(one->getSlope(), NV);
        EXPECT_EQ(one->getIntercept(), 7);
    }
    {
        // Fits the points cannot fix, and no points at all, are undefined.
        const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
        for (TrendLayer* t : {layerFor(c.get(), {1, 2, 3}, {1, 4, 2}, 3), layerFor(c.get(), {}, {}, 1),
                              layerFor(c.get(), {nan, inf, 2}, {1, 2, NV}, 1),
                              layerFor(c.get(), {1, 2, 3}, {5, 5, 5}, Chart::ExponentialRegression)}) {
            t->setBaseLine(5);
            EXPECT_EQ(t->getSlope(), NV);
            EXPECT_EQ(t->getIntercept(), NV);
            EXPECT_EQ(t->getCorrelation(), NV);
            EXPECT_EQ(t->getStdError(), NV);
            EXPECT_EQ(t->getCoefficient(0), NV);
        }
        // Bad points stay out of the fit.
        TrendLayer* clean = layerFor(c.get(), {0, nan, 1, inf, 2}, {1, 8, 3, 9, 5}, 1);
        EXPECT_NEAR(clean->getSlope(), 2, 1e-14);
    }
    EXPECT_FALSE(textDump(c.get()).empty());
}

TEST(TrendLayer, DrawsInsideThePlotWithLineAndHotSpot) {
    {
        // An exploding exponential and a wide band stay inside the plot.
        XYPtr c = quietChart();
        c->yAxis()->setLinearScale(0, 100);
        std::vector<double> x, y;
        for (int i = 0; i < 12; ++i) x.push_back(i), y.push_back(std::exp(0.9 * i) + 3 * std::sin(i));
        TrendLayer* layer = c->addTrendLayer(arrayOf(x), arrayOf(y), 0x0000ff);
        layer->setRegressionType(Chart::ExponentialRegression);
        layer->addPredictionBand(0.99, 0xffcccc);
        DrawArea* d = c->makeChart();
        ASSERT_NE(d, nullptr);
        const uint32_t* pixels = d->getPixels();
        int w = d->getWidth(), h = d->getHeight();
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx) {
                // A pixel's reach for the line's own anti-aliasing.
                bool inside = xx >= 28 && xx <= 292 && yy >= 18 && yy <= 202;
                uint32_t p = pixels[yy * w + xx] & 0xffffff;
                if (!inside) {
                    ASSERT_TRUE(p != 0xffcccc && (p & 0xff) <= (p >> 16 & 0xff) + 0x40) << xx << "," << yy;
                }
            }
    }
    {
        // The fitted line answers y along the plot and has a hot spot around it.
        XYPtr c = quietChart();
        std::vector<double> x{0, 10}, y{0, 10};
        c->yAxis()->setLinearScale(0, 10);
        c->xAxis()->setLinearScale(0, 10);
        TrendLayer* layer = c->addTrendLayer(arrayOf(x), arrayOf(y));
        EXPECT_EQ(layer->getLine(), nullptr);
        c->layout();
        LineObj* line = layer->getLine();
        ASSERT_NE(line, nullptr);
        double px = c->getXCoor(5) - 30;
        EXPECT_NEAR(line->getY(30 + px), c->getYCoor(5), 1);
        std::string coor = layer->getImageCoor(0);
        EXPECT_EQ(coor.rfind("shape=\"poly\" coords=\"", 0), 0u) << coor;
        EXPECT_STREQ(layer->getImageCoor(3), "");
    }
    {
        // The vertical line of equal x spans the plot.
        XYPtr c = quietChart();
        c->xAxis()->setLinearScale(0, 10);
        c->addTrendLayer(arrayOf({4, 4}), arrayOf({2, 8}), 0x00ff00);
        std::vector<std::string> lines = linesOf(textDump(c.get()));
        int at = lineWith(lines, "0x00ff00");
        ASSERT_GE(at, 0);
        std::string x = std::to_string(c->getXCoor(4));
        EXPECT_NE(lines[static_cast<size_t>(at)].find(x + ", 20"), std::string::npos) << lines[static_cast<size_t>(at)];
        EXPECT_NE(lines[static_cast<size_t>(at)].find(x + ", 200"), std::string::npos) << lines[static_cast<size_t>(at)];
    }
}

TEST(TrendLayer, FieldsLegendAndGoldens) {
    XYPtr c = quietChart();
    c->addLegend(40, 0, false, "", 8)->setText("{dataSetName}: {slope|2}x + {intercept|1}");
    c->addTrendLayer(arrayOf({0, 1, 2}), arrayOf({1, 3, 5}), 0xff0000, "Fit");
    EXPECT_NE(textDump(c.get()).find("\"Fit: 2.00x + 1.0\""), std::string::npos);

    for (PriceCase which : {PriceCase::LinearTrend, PriceCase::CubicTrend}) {
        XYPtr g = priceChart(which);
        EXPECT_TRUE(matchesGoldenText("chart", std::string(priceCaseName(which)) + ".agf",
                                      drawtest::withRelativeIds(textDump(g.get()))));
        MemBlock png = g->makeChart(Chart::PNG);
        EXPECT_TRUE(matchesGoldenPNG("chart", std::string(priceCaseName(which)) + ".png",
                                     std::string(png.data, static_cast<size_t>(png.len)), 8));
    }
}

#include <plotvane/owned.h>
#include <plotvane/plotvane.h>
#include <plotvane/plotvane_c.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "dashboard.h"
#include "dashboard_c.h"
#include "gauge.h"
#include "pie.h"
#include "support/golden.h"

using namespace plotvane;

namespace {

std::string bytes(MemBlock m) { return std::string(m.data, static_cast<size_t>(m.len > 0 ? m.len : 0)); }

// The two routes run seconds apart, so a PDF's creation time is the one part that may differ; it
// has a fixed width, so blanking it leaves every offset in place.
std::string withoutCreationDate(std::string pdf) {
    const std::string key = "/CreationDate(D:";
    const size_t at = pdf.find(key);
    if (at != std::string::npos) {
        const size_t end = pdf.find(')', at);
        if (end != std::string::npos) pdf.replace(at + key.size(), end - at - key.size(), end - at - key.size(), '0');
    }
    return pdf;
}

// The C program writes its files into one folder, once for the whole suite.
class FlatApiFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = ::testing::TempDir() + "plotvane_flat_" + std::to_string(getpid());
        ran_ = std::system(("mkdir -p '" + dir_ + "'").c_str()) == 0 &&
               std::system(("'" PLOTVANE_DASHBOARD_C "' '" + dir_ + "'").c_str()) == 0;
    }
    static void TearDownTestSuite() { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    // Renders a fresh C++ chart in each format and compares it with <name>.png, .svg and .pdf.
    static void expectSameFiles(const std::string& name, const std::function<BaseChart*()>& build) {
        ASSERT_TRUE(ran_);
        const struct {
            const char* suffix;
            int format;
        } outputs[] = {{"png", Chart::PNG}, {"svg", Chart::SVG}, {"pdf", Chart::PDF}};
        for (const auto& o : outputs) {
            auto chart = own(build());
            std::string expected = bytes(chart->makeChart(o.format));
            std::string actual = plotvane_test::readFile(dir_ + "/" + name + "." + o.suffix);
            ASSERT_FALSE(expected.empty()) << name << "." << o.suffix;
            if (o.format == Chart::PDF) {
                expected = withoutCreationDate(expected);
                actual = withoutCreationDate(actual);
            }
            EXPECT_TRUE(actual == expected) << name << "." << o.suffix;
        }
    }

    static std::string dir_;
    static bool ran_;
};

std::string FlatApiFiles::dir_;
bool FlatApiFiles::ran_ = false;

TEST_F(FlatApiFiles, CProgramDrawsTheSameChartsAsCpp) {
    expectSameFiles("dashboard", [] { return buildDashboard(); });
    expectSameFiles("pie", [] { return buildPie(); });
    expectSameFiles("gauge", [] { return buildGauge(); });
}

TEST_F(FlatApiFiles, CProgramWritesTheSameImageMapAsCpp) {
    ASSERT_TRUE(ran_);
    auto c = own(buildDashboard());
    c->makeChart(Chart::PNG);
    std::string expected = c->getHTMLImageMap("detail.html", "?x={x}&amp;v={value}", "title='{dataSetName}'");
    // A map with no areas would match trivially.
    ASSERT_NE(expected.find("<area"), std::string::npos);
    expected += c->getLayer(0)->getHTMLImageMap("line.html", "", "", 5, 7);
    EXPECT_EQ(plotvane_test::readFile(dir_ + "/dashboard.map"), expected);
}

// Out-parameters carry what the C++ return value carried.
TEST(FlatApi, ArraysAndBlocksComeBackAsPointerAndCount) {
    PvXYChart* c = buildDashboardC();
    auto* cpp = reinterpret_cast<XYChart*>(c);
    CBaseChart_layout(XYChart2BaseChart(c));
    int len = -1;
    const double* ticks = CAxis_getTicks(CXYChart_yAxis(c), &len);
    const DoubleArray expected = cpp->yAxis()->getTicks();
    ASSERT_EQ(len, expected.len);
    ASSERT_GT(len, 0);
    EXPECT_EQ(ticks[len - 1], expected[len - 1]);

    const char* data = nullptr;
    PvDrawArea* d = CBaseChart_makeChart3(XYChart2BaseChart(c));
    ASSERT_TRUE(CDrawArea_outSVG3(d, &data, &len));
    EXPECT_EQ(std::string(data, static_cast<size_t>(len)), bytes(cpp->getDrawArea()->outSVG()));
    CBaseChart_destroy(XYChart2BaseChart(c));
}

// Charts and layers derive virtually, so a base is not at the derived object's address: a cast
// that reinterprets instead of converting would call into the wrong table.
TEST(FlatApi, CastsReachTheBaseObject) {
    PvXYChart* c = CXYChart_create(300, 200, PV_BackgroundColor, PV_Transparent, 0);
    auto* cpp = reinterpret_cast<XYChart*>(c);
    PvBaseChart* base = XYChart2BaseChart(c);
    EXPECT_EQ(reinterpret_cast<BaseChart*>(base), static_cast<BaseChart*>(cpp));
    EXPECT_EQ(CBaseChart_getWidth(base), 300);

    PvSplineLayer* spline = CXYChart_addSplineLayer2(c);
    PvLayer* layer = LineLayer2Layer(SplineLayer2LineLayer(spline));
    EXPECT_EQ(reinterpret_cast<Layer*>(layer), static_cast<Layer*>(cpp->getLayer(0)));
    CLayer_addDataSet(layer, nullptr, 0, 0x112233, "empty");
    EXPECT_EQ(CLayer_getDataSetCount(layer), 1);

    PvLegendBox* legend = CBaseChart_getLegend(base);
    PvDrawObj* obj = Box2DrawObj(TextBox2Box(LegendBox2TextBox(legend)));
    CDrawObj_setZOrder(obj, 7);
    EXPECT_EQ(CDrawObj_getZOrder(obj), 7);
    CBaseChart_destroy(base);
}

// null_handles_ctypes.py sweeps every function; this covers what ctypes does not pass: out-parameters
// left out.
TEST(FlatApi, NullHandlesAcceptMissingOutParameters) {
    EXPECT_FALSE(CDrawArea_outPDF2(nullptr, nullptr, nullptr));
    EXPECT_FALSE(CBaseChart_makeChart2(nullptr, PV_PNG, nullptr, nullptr));
    EXPECT_EQ(CAxis_getTicks(nullptr, nullptr), nullptr);
}

// A null array with a count is the empty array, not a read through null.
TEST(FlatApi, NullArraysAreEmpty) {
    PvPieChart* c = CPieChart_create(200, 200, PV_BackgroundColor, PV_Transparent, 0);
    CPieChart_setData(c, nullptr, 4, nullptr, 4, nullptr, 2);
    PvXYChart* xy = CXYChart_create(200, 200, PV_BackgroundColor, PV_Transparent, 0);
    EXPECT_NE(CXYChart_addLineLayer(xy, nullptr, 12, -1, "", 0), nullptr);
    CAxis_setLabels(CXYChart_xAxis(xy), nullptr, 3);
    const char* data = nullptr;
    int len = 0;
    EXPECT_TRUE(CBaseChart_makeChart2(PieChart2BaseChart(c), PV_PNG, &data, &len));
    EXPECT_TRUE(CBaseChart_makeChart2(XYChart2BaseChart(xy), PV_PNG, &data, &len));
    CBaseChart_destroy(PieChart2BaseChart(c));
    CBaseChart_destroy(XYChart2BaseChart(xy));
}

}  // namespace

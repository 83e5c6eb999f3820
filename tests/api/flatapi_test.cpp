#include <plotvane/owned.h>
#include <plotvane/plotvane.h>
#include <plotvane/plotvane_c.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "dashboard.h"
#include "dashboard_c.h"
#include "support/golden.h"

using namespace plotvane;

namespace {

std::string bytes(MemBlock m) { return std::string(m.data, static_cast<size_t>(m.len > 0 ? m.len : 0)); }

TEST(FlatApi, CProgramWritesTheSameFilesAsTheCppDashboard) {
    const std::string dir = ::testing::TempDir() + "plotvane_flat_" + std::to_string(getpid());
    ASSERT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
    ASSERT_EQ(std::system(("'" PLOTVANE_DASHBOARD_C "' '" + dir + "'").c_str()), 0);
    const struct {
        const char* suffix;
        int format;
    } outputs[] = {{"png", Chart::PNG}, {"svg", Chart::SVG}, {"pdf", Chart::PDF}};
    for (const auto& o : outputs) {
        auto chart = own(buildDashboard());
        const std::string expected = bytes(chart->makeChart(o.format));
        ASSERT_FALSE(expected.empty()) << o.suffix;
        EXPECT_TRUE(plotvane_test::readFile(dir + "/dashboard." + o.suffix) == expected) << o.suffix;
    }
    std::system(("rm -rf '" + dir + "'").c_str());
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

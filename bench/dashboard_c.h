/* The W3 dashboard of dashboard.h built through the C interface alone, call for call, so the two
   routes can be compared picture for picture and timed side by side. Valid C99 and C++. */
#ifndef PLOTVANE_BENCH_DASHBOARD_C_H
#define PLOTVANE_BENCH_DASHBOARD_C_H

#include <plotvane/plotvane_c.h>

static PvXYChart* buildDashboardC(void) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const double kSeriesA[] = {56, 72, 65, 80, 91, 77, 68, 84, 95, 88, 73, 62};
    static const double kSeriesB[] = {42, 55, 61, 58, 70, 66, 59, 72, 81, 76, 64, 50};
    static const double kSeriesC[] = {30, 38, 45, 52, 49, 57, 63, 60, 68, 71, 55, 47};
    static const double kTarget[] = {50, 58, 60, 66, 75, 70, 64, 74, 85, 80, 66, 55};

    PvXYChart* c = CXYChart_create(600, 400, PV_BackgroundColor, PV_Transparent, 0);
    PvBaseChart* base = XYChart2BaseChart(c);
    PvLegendBox* legend;
    PvLineLayer* line;
    PvLayer* bars;
    PvAxis* x = CXYChart_xAxis(c);
    PvAxis* y = CXYChart_yAxis(c);

    CBaseChart_addTitle(base, "Monthly results", "bold", 14, PV_TextColor, PV_Transparent, PV_Transparent);
    CXYChart_setPlotArea(c, 70, 60, 500, 280, 0xffffff, -1, PV_Transparent, 0xdddddd, PV_Transparent);
    legend = CBaseChart_addLegend(base, 70, 28, false, "", 9);
    CBox_setBackground(TextBox2Box(LegendBox2TextBox(legend)), PV_Transparent, PV_Transparent, 0);
    line = CXYChart_addLineLayer(c, kTarget, 12, 0xcc3311, "Target", 0);
    CLayer_setLineWidth(LineLayer2Layer(line), 2);
    bars = BarLayer2Layer(CXYChart_addBarLayer(c, PV_Side, 0));
    CLayer_addDataSet(bars, kSeriesA, 12, 0x4477aa, "North");
    CLayer_addDataSet(bars, kSeriesB, 12, 0x66ccee, "South");
    CLayer_addDataSet(bars, kSeriesC, 12, 0x228833, "West");
    CAxis_setLabels(x, kMonths, 12);
    CAxis_setTitle(x, "Month", "", 8, PV_TextColor);
    CAxis_setTitle(y, "Units", "", 8, PV_TextColor);
    CAxis_setLinearScale(y, 0, 110, 10, 0);
    return c;
}

#endif

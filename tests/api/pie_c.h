/* The pie of pie.h built through the C interface alone, call for call. Valid C99 and C++. */
#ifndef PLOTVANE_TESTS_API_PIE_C_H
#define PLOTVANE_TESTS_API_PIE_C_H

#include <plotvane/plotvane_c.h>

static PvPieChart* buildPieC(void) {
    static const double kValues[] = {25, 18, 15, 12, 10, 20};
    static const char* const kNames[] = {"Rent", "Salaries", "Materials", "Energy", "Transport", "Other"};

    PvPieChart* c = CPieChart_create(520, 320, PV_BackgroundColor, PV_Transparent, 0);
    PvBaseChart* base = PieChart2BaseChart(c);
    CBaseChart_addTitle(base, "Monthly expenses", "bold", 13, PV_TextColor, PV_Transparent, PV_Transparent);
    CBaseChart_addLegend(base, 400, 60, true, "", 9);
    CPieChart_setPieSize(c, 215, 175, 100);
    CPieChart_setStartAngle(c, 30, true);
    CPieChart_setData(c, kValues, 6, kNames, 6, NULL, 0);
    CPieChart_setLabelFormat(c, "{label} ({percent|1}%)");
    CPieChart_setExplode(c, 2, 12);
    return c;
}

#endif

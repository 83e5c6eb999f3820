// A 520 x 320 pie of six sectors with labels outside (name and percentage), one sector pulled
// out, a title and a vertical legend. pie_c.h builds the same chart through the C interface.
#ifndef PLOTVANE_TESTS_API_PIE_H
#define PLOTVANE_TESTS_API_PIE_H

#include <plotvane/plotvane.h>

inline plotvane::PieChart* buildPie() {
    using namespace plotvane;
    static const double kValues[] = {25, 18, 15, 12, 10, 20};
    static const char* const kNames[] = {"Rent", "Salaries", "Materials", "Energy", "Transport", "Other"};

    PieChart* c = PieChart::create(520, 320);
    c->addTitle("Monthly expenses", "bold", 13);
    c->addLegend(400, 60, true, "", 9);
    c->setPieSize(215, 175, 100);
    c->setStartAngle(30);
    c->setData(DoubleArray(kValues, 6), StringArray(kNames, 6));
    c->setLabelFormat("{label} ({percent|1}%)");
    c->setExplode(2, 12);
    return c;
}

#endif

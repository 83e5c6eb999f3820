/* The meter of gauge.h built through the C interface alone, call for call. Valid C99 and C++. */
#ifndef PLOTVANE_TESTS_API_GAUGE_C_H
#define PLOTVANE_TESTS_API_GAUGE_C_H

#include <plotvane/plotvane_c.h>

static PvAngularMeter* buildGaugeC(void) {
    PvAngularMeter* m = CAngularMeter_create(250, 250, 0xeeeeee, 0x888888, 0);
    PvBaseMeter* base = AngularMeter2BaseMeter(m);
    CAngularMeter_setMeter(m, 125, 135, 100, -135, 135);
    CBaseMeter_setScale(base, 0, 100, 10, 5, 1);
    CAngularMeter_addZone2(m, 0, 60, 0x99dd77, -1);
    CAngularMeter_addZone2(m, 60, 85, 0xffdd44, -1);
    CAngularMeter_addZone(m, 85, 100, 80, 95, 0xee5544, 0x000000);
    CBaseMeter_addPointer(base, 72, 0x3366cc, -1);
    CAngularMeter_addPointer2(m, 40, 0xcc3366, -1, PV_TriangularPointer2, PV_NoValue, PV_NoValue, PV_NoValue);
    return m;
}

#endif

// A 250 x 250 angular meter: a 270-degree scale with major, minor and micro ticks, three coloured
// zones and two pointers, one of them a non-default shape. gauge_c.h builds the same meter through
// the C interface.
#ifndef PLOTVANE_TESTS_API_GAUGE_H
#define PLOTVANE_TESTS_API_GAUGE_H

#include <plotvane/plotvane.h>

inline plotvane::AngularMeter* buildGauge() {
    using namespace plotvane;
    AngularMeter* m = AngularMeter::create(250, 250, 0xeeeeee, 0x888888);
    m->setMeter(125, 135, 100, -135, 135);
    m->setScale(0, 100, 10, 5, 1);
    m->addZone(0, 60, 0x99dd77);
    m->addZone(60, 85, 0xffdd44);
    m->addZone(85, 100, 80, 95, 0xee5544, 0x000000);
    m->addPointer(72, 0x3366cc);
    m->addPointer(40, 0xcc3366, -1, Chart::TriangularPointer2);
    return m;
}

#endif

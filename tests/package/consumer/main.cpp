// A program outside the project, built against an installed copy of the library.
#include <plotvane/plotvane.h>

#include <cstdio>

int main() {
    using namespace plotvane;
    double day = Chart::chartTime(2024, 1, 7);
    if (Chart::getChartWeekDay(day) != 0) return 1;
    vek::ostrstream out;
    out << "consumer ok";
    out.ensureNullTerminated();
    std::puts(out.data());
    return 0;
}

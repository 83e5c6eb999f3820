// Placeholder until label tables land: charts hand out no table.
#include "chart/drawobj_p.h"

namespace plotvane {

NewTable createTable(DrawArea*, int, int, int, int, int) { return NewTable(); }

}  // namespace plotvane

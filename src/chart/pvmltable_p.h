#ifndef PLOTVANE_CHART_PVMLTABLE_P_H
#define PLOTVANE_CHART_PVMLTABLE_P_H

// Label tables, for the chart objects that lay one out themselves (axes).

#include <plotvane/pvmltable.h>

namespace plotvane {

class TextBoxImpl;

// A table of cols x rows empty slots hanging from (x, y) by its alignment; its style takes what it
// does not set from chartDefault (may be null).
PVMLTable* newTable(DrawArea* d, TextBoxImpl* chartDefault, int x, int y, int alignment, int cols, int rows);
// Rows drawn bottom to top, columns right to left.
void setTableReversed(PVMLTable* table, bool rows, bool cols);

}  // namespace plotvane

#endif

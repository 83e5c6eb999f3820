#ifndef PLOTVANE_TEXT_MARKUPSYMBOL_P_H
#define PLOTVANE_TEXT_MARKUPSYMBOL_P_H

#include <string>

namespace plotvane {

class DrawArea;

// The shape code (kind in the low 12 bits, parameter above) of a symbol name used by markup
// images ("circle", "star" ...), or 0 for an unknown name.
int markupSymbolKind(const std::string& name);

// Draws a shape code in the size x size box at (x, y).
void drawMarkupSymbol(DrawArea* d, int shape, int x, int y, int size, int fillColor, int edgeColor);

}  // namespace plotvane

#endif

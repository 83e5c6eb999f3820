#ifndef PLOTVANE_PVMLTABLE_H
#define PLOTVANE_PVMLTABLE_H

// A label table: a grid of text cells drawn as one chart object. Cells may span several rows and
// columns; every cell is a text box whose unset styles come from its row or column style (the one
// created later wins) and then from the table style. Rows and columns are as high and as wide as
// their content, or as a row or column style's given height or width.

#include <plotvane/constants.h>
#include <plotvane/drawobj.h>
#include <plotvane/export.h>

namespace plotvane {

class DrawArea;

class PLOTVANE_API PVMLTable : public DrawObj {
public:
    // The point the table hangs from by its alignment.
    virtual void setPos(int x, int y, int alignment = Chart::TopLeft) = 0;
    // Moves the table by (x, y) from its position.
    virtual void setOrigin(int x, int y) = 0;
    virtual int getWidth() = 0;
    virtual int getHeight() = 0;
    // One column's width or one row's height once laid out; 0 outside the table.
    virtual int getColWidth(int col) = 0;
    virtual int getRowHeight(int row) = 0;
    // Computes the row heights and column widths now (painting and sizes do it when needed).
    virtual void layout() = 0;

    virtual int getColCount() = 0;
    virtual int getRowCount() = 0;
    // Each returns the index of the new row or column, or -1 when the table cannot grow.
    virtual int appendRow() = 0;
    virtual int appendCol() = 0;
    virtual int insertRow(int index) = 0;
    virtual int insertCol(int index) = 0;

    // The cell anchored at (col, row) spanning width columns and height rows, with the text; cells
    // the span overlaps are removed. Null outside the table.
    virtual TextBox* setCell(int col, int row, int width, int height, const char* text) = 0;
    // The cell covering (col, row), made when the slot is empty; null outside the table.
    virtual TextBox* setText(int col, int row, const char* text) = 0;
    virtual TextBox* getCell(int col, int row) = 0;

    // Styles of the whole table, of one row and of one column (null outside the table).
    virtual TextBox* getStyle() = 0;
    virtual TextBox* getRowStyle(int row) = 0;
    virtual TextBox* getColStyle(int col) = 0;

protected:
    ~PVMLTable() override = default;
};

}  // namespace plotvane

#endif

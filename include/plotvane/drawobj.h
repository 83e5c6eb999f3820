#ifndef PLOTVANE_DRAWOBJ_H
#define PLOTVANE_DRAWOBJ_H

// Free-standing chart objects: titles, text boxes and lines. A chart paints them in z order around
// its own drawing; they belong to the chart that made them and live as long as it does.

#include <plotvane/constants.h>
#include <plotvane/export.h>

namespace plotvane {

class BaseChart;
class DrawArea;
class DrawObjList;

class PLOTVANE_API DrawObj {
public:
    // Lower z paints first; objects of equal z keep their order of creation.
    virtual void setZOrder(int z) { zOrder_ = z; }
    virtual int getZOrder() const { return zOrder_; }
    virtual void paint(DrawArea* d) = 0;
    // Takes a title, text, line, table or meter pointer off the chart that made it and frees it;
    // parts of other objects (a legend, an axis's labels, a mark) are not freed and stay as they are.
    virtual void destroy();

protected:
    // The chart that made an object deletes it.
    virtual ~DrawObj();
    friend class DrawObjList;

private:
    int zOrder_ = Chart::ChartFrontZ;
    DrawObjList* list_ = nullptr;  // the chart's list that owns the object, if any
};

class PLOTVANE_API Box : public DrawObj {
public:
    // Takes another box's position, size, background and corners (its text and font stay).
    virtual void copy(const Box* source) = 0;
    virtual void setPos(int x, int y) = 0;
    // 0 (or less) in either dimension: sized by the content.
    virtual void setSize(int width, int height) = 0;
    virtual void setBackground(int color, int edgeColor = Chart::Transparent, int raisedEffect = 0) = 0;
    // Radii of the top-left, top-right, bottom-right and bottom-left corners; -1 copies r1.
    virtual void setRoundedCorners(int r1 = 10, int r2 = -1, int r3 = -1, int r4 = -1) = 0;
    // The chart whose place inside a multi-chart moves the box's image-map coordinates (null: none).
    // The chart must outlive the box.
    virtual void setContainer(const BaseChart* chart) = 0;
    virtual int getLeftX() = 0;
    virtual int getTopY() = 0;
    virtual int getWidth() = 0;
    virtual int getHeight() = 0;
    // The image-map coordinate attributes of the box, moved by the offset.
    virtual const char* getImageCoor(int offsetX = 0, int offsetY = 0) = 0;

protected:
    ~Box() override = default;
};

// A box with a text. A dimension whose size is given hangs from the position by its top-left
// corner and the alignment places the text inside; a dimension sized by the text hangs from the
// position by the alignment.
class PLOTVANE_API TextBox : public Box {
public:
    virtual void setText(const char* text) = 0;
    virtual void setAlignment(int alignment) = 0;
    virtual void setFontStyle(const char* font, int fontIndex = 0) = 0;
    // A width of 0 (or less) is the same as the height.
    virtual void setFontSize(double height, double width = 0) = 0;
    virtual void setFontAngle(double angle, bool vertical = false) = 0;
    virtual void setFontColor(int color) = 0;
    // Negative margins are derived from the font size and the border.
    virtual void setMargin(int m) = 0;
    virtual void setMargin(int leftMargin, int rightMargin, int topMargin, int bottomMargin) = 0;
    virtual void setWidth(int width) = 0;
    virtual void setHeight(int height) = 0;
    // The width (margins included) at which the text wraps; 0 for none.
    virtual void setMaxWidth(int maxWidth) = 0;
    virtual void setTruncate(int maxWidth, int maxLines = 1) = 0;
    // Hangs the box from (x, y) by the alignment point (-1: the box's own alignment), sized or not;
    // a position set with setPos then moves it from there.
    virtual void setOrigin(int x, int y, int alignment = -1) = 0;

protected:
    ~TextBox() override = default;
};

class PLOTVANE_API Line : public DrawObj {
public:
    virtual void setPos(int x1, int y1, int x2, int y2) = 0;
    virtual void setColor(int color) = 0;
    virtual void setWidth(int width) = 0;

protected:
    ~Line() override = default;
};

}  // namespace plotvane

#endif

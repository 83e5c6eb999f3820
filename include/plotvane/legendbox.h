#ifndef PLOTVANE_LEGENDBOX_H
#define PLOTVANE_LEGENDBOX_H

// The legend: one entry per named series, a key (a coloured box, a line sample or an icon) and a
// text, arranged in columns, an automatic grid or a wrapping flow. Its font, margins, background
// and border are those of a text box; its setText sets the template of every entry's text
// ("{dataSetName}" when empty).

#include <plotvane/drawobj.h>

namespace plotvane {

class PLOTVANE_API LegendBox : public virtual TextBox {
public:
    // A number of columns; Chart::AutoGrid fits as many as the width allows; any other value below
    // 1 flows the entries in rows.
    virtual void setCols(int noOfCols) = 0;
    virtual void setReverse(bool b = true) = 0;
    // Entries sort by position; without one, an entry follows those added before it. A drawArea
    // is drawn as the key's icon; the legend keeps its own reference.
    virtual void addKey(const char* text, int color, int lineWidth = -1, DrawArea* drawArea = nullptr) = 0;
    virtual void addKey(int pos, const char* text, int color, int lineWidth = -1, DrawArea* drawArea = nullptr) = 0;
    virtual void setKeySize(int width = -1, int height = -1, int gap = -1) = 0;
    virtual void setKeySpacing(int keySpacing, int lineSpacing = -1) = 0;
    virtual void setKeyBorder(int edgeColor, int raisedEffect = 0) = 0;
    // Entries with a line width show a line sample instead of a box.
    virtual void setLineStyleKey(bool b = true) = 0;
    // The image-map coordinates of one shown entry, empty for an index out of range. It hides the
    // whole box's getImageCoor on purpose: with both in view, getImageCoor(i) would be ambiguous.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"
    virtual const char* getImageCoor(int dataItem, int offsetX = 0, int offsetY = 0) = 0;
#pragma GCC diagnostic pop
    virtual const char* getHTMLImageMap(const char* url, const char* queryFormat = "", const char* extraAttr = "",
                                        int offsetX = 0, int offsetY = 0) = 0;
    // Paints the laid-out legend moved by the offset, on any drawing area (a legend of its own).
    using TextBox::paint;
    virtual void paint(DrawArea* d, int offsetX, int offsetY) = 0;

protected:
    ~LegendBox() override = default;
};

}  // namespace plotvane

#endif

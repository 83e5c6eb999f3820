#ifndef PLOTVANE_PIECHART_H
#define PLOTVANE_PIECHART_H

// One data series as the sectors of a circle: flat or with depth, a full pie or a donut, with
// exploded sectors, labels round the circle or in two columns at the sides, and a legend entry per
// sector. Angles given to these calls are degrees clockwise from 12 o'clock.

#include <plotvane/basechart.h>
#include <plotvane/drawobj.h>

namespace plotvane {

class PLOTVANE_API Sector {
public:
    // -1 leaves a setting as it is (or as the chart has it).
    virtual void setColor(int color, int edgeColor = -1, int joinLineColor = -1) = 0;
    virtual void setStyle(int shadingMethod, int edgeColor = -1, int edgeWidth = -1) = 0;
    // -1: the chart's default distance, a quarter of the radius.
    virtual void setExplode(int distance = -1) = 0;
    virtual void setLabelFormat(const char* format) = 0;
    virtual TextBox* setLabelStyle(const char* font = "", double fontSize = 8, int fontColor = Chart::TextColor) = 0;
    // pos above 32767: side layout at pos & 0x7fff; otherwise circle layout at pos (negative: inside).
    virtual void setLabelPos(int pos, int joinLineColor = -1) = 0;
    virtual void setLabelLayout(int layoutMethod, int pos = -1) = 0;
    virtual void setJoinLine(int joinLineColor, int joinLineWidth = 1) = 0;
    // Image-map coordinates of the sector and of its label (empty without a label).
    virtual const char* getImageCoor(int offsetX = 0, int offsetY = 0) = 0;
    virtual const char* getLabelCoor(int offsetX = 0, int offsetY = 0) = 0;
    virtual double getPercent() = 0;

protected:
    virtual ~Sector();
};

class PLOTVANE_API PieChart : public virtual BaseChart {
public:
    static PieChart* create(int width, int height, int bgColor = Chart::BackgroundColor,
                            int edgeColor = Chart::Transparent, int raisedEffect = 0);

    virtual void setPieSize(int x, int y, int r) = 0;
    // The larger of r and r2 is the radius, the smaller the hole's.
    virtual void setDonutSize(int x, int y, int r, int r2) = 0;
    // depth -1: a twentieth of the chart's height; angle -1: 45 degrees (0 when depth is 0). In shadow
    // mode the pie stays round and its depth is cast along the angle.
    virtual void set3D(int depth = -1, double angle = -1, bool shadowMode = false) = 0;
    // A depth per sector (0 beyond the array).
    virtual void set3D(DoubleArray depths, double angle = 45, bool shadowMode = false) = 0;
    virtual void setSectorStyle(int shadingMethod, int edgeColor = -1, int edgeWidth = -1) = 0;
    virtual void setStartAngle(double startAngle, bool clockWise = true) = 0;
    // sectorNo -1 explodes every sector.
    virtual void setExplode(int sectorNo, int distance = -1) = 0;
    // Sectors startSector to endSector (wrapping round) move out together.
    virtual void setExplodeGroup(int startSector, int endSector, int distance = -1) = 0;
    virtual void setLabelFormat(const char* formatString) = 0;
    virtual TextBox* setLabelStyle(const char* font = "", double fontSize = 8, int fontColor = Chart::TextColor) = 0;
    virtual void setLabelPos(int pos, int joinLineColor = -1) = 0;
    // Side labels are kept between topBound and bottomBound (-1: the chart's top and bottom).
    virtual void setLabelLayout(int layoutMethod, int pos = -1, int topBound = -1, int bottomBound = -1) = 0;
    virtual void setJoinLine(int joinLineColor, int joinLineWidth = -1) = 0;
    virtual void setLineColor(int edgeColor, int joinLineColor = -1) = 0;
    // Names become the sectors' {label}; an icon (an image file) is shown before its label.
    virtual void setData(DoubleArray data, StringArray labels = StringArray(), StringArray icons = StringArray()) = 0;
    // Null outside 0 .. count - 1.
    virtual Sector* sector(int sectorNo) = 0;
};

}  // namespace plotvane

#endif

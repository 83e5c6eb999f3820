#ifndef PLOTVANE_PYRAMIDCHART_H
#define PLOTVANE_PYRAMIDCHART_H

// Values as the stacked layers of a solid seen from slightly above: a pyramid, a cone or a funnel,
// each layer as tall as its share of the total. Labels can sit in the middle of a layer and in a
// column on either side, joined to their layer by a line.
//
// Label templates take {label}, {value}, {percent} and {index}; an empty template shows no label.

#include <plotvane/basechart.h>
#include <plotvane/drawobj.h>

namespace plotvane {

class PLOTVANE_API PyramidLayer {
public:
    // A layer's own label settings (a template of -1 font size or colour keeps the chart's).
    virtual TextBox* setCenterLabel(const char* labelTemplate = "{label}", const char* font = "", double fontSize = -1,
                                    int fontColor = -1) = 0;
    virtual TextBox* setRightLabel(const char* labelTemplate = "{label}", const char* font = "", double fontSize = -1,
                                   int fontColor = -1) = 0;
    virtual TextBox* setLeftLabel(const char* labelTemplate = "{label}", const char* font = "", double fontSize = -1,
                                  int fontColor = -1) = 0;
    virtual void setColor(int color) = 0;
    virtual void setJoinLine(int color, int width = -1) = 0;
    // -1 keeps the chart's.
    virtual void setJoinLineGap(int pyramidGap, int pointerGap = -1, int textGap = -1) = 0;
    virtual void setLayerBorder(int color, int width = -1) = 0;
    // The gap above this layer, as a fraction of the solid's height.
    virtual void setLayerGap(double layerGap) = 0;

protected:
    virtual ~PyramidLayer();
};

class PLOTVANE_API PyramidChart : public virtual BaseChart {
public:
    static PyramidChart* create(int width, int height, int bgColor = Chart::BackgroundColor,
                                int edgeColor = Chart::Transparent, int raisedEffect = 0);

    // The solid's axis is centred on (cx, cy); radius is its widest half-width, height its height.
    // A pyramid and a cone have their apex at the top and layer 0 at the base.
    virtual void setPyramidSize(int cx, int cy, int radius, int height) = 0;
    virtual void setConeSize(int cx, int cy, int radius, int height) = 0;
    // A funnel is widest at the top, where layer 0 is, narrowing to a tube tubeRadius (a fraction of
    // the radius) wide over the bottom tubeHeight (a fraction of the height).
    virtual void setFunnelSize(int cx, int cy, int radius, int height, double tubeRadius = 0.2,
                               double tubeHeight = 0.3) = 0;
    virtual void setData(DoubleArray data, StringArray labels = StringArray()) = 0;

    virtual TextBox* setCenterLabel(const char* labelTemplate = "{label}", const char* font = "",
                                    double fontSize = 8, int fontColor = Chart::TextColor) = 0;
    virtual TextBox* setRightLabel(const char* labelTemplate = "{label}", const char* font = "",
                                   double fontSize = 8, int fontColor = Chart::TextColor) = 0;
    virtual TextBox* setLeftLabel(const char* labelTemplate = "{label}", const char* font = "",
                                  double fontSize = 8, int fontColor = Chart::TextColor) = 0;
    // Sides of a pyramid, 3 to 100 (a cone is always round).
    virtual void setPyramidSides(int noOfSides) = 0;
    // elevation: how far above the solid the viewer is (-80 to 80 degrees); rotation: turns the solid
    // about its axis; twist: tilts the picture about the view direction.
    virtual void setViewAngle(double elevation, double rotation = 0, double twist = 0) = 0;
    // Each face shaded from startBrightness at its left edge to endBrightness at its right.
    virtual void setGradientShading(double startBrightness, double endBrightness) = 0;
    // A light from the viewer's upper left.
    virtual void setLighting(double ambientIntensity = 0.5, double diffuseIntensity = 0.5,
                             double specularIntensity = 1, double shininess = 8) = 0;
    virtual void setJoinLine(int color, int width = -1) = 0;
    // pyramidGap: between the solid and the join line; pointerGap: the line's length out from the
    // widest part of the solid; textGap: between the line and the side label.
    virtual void setJoinLineGap(int pyramidGap, int pointerGap = -1, int textGap = -1) = 0;
    virtual void setLayerBorder(int color, int width = -1) = 0;
    virtual void setLayerGap(double layerGap) = 0;
    // Null outside 0 .. count - 1.
    virtual PyramidLayer* getLayer(int layerNo) = 0;
};

}  // namespace plotvane

#endif

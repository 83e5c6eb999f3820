#ifndef PLOTVANE_AREALAYER_H
#define PLOTVANE_AREALAYER_H

// Area layers fill between each data set's line and a base: the layer's base line, or the data
// set below it when the layer stacks (Chart::Stack, Chart::Percentage). Any other combine method,
// or a single data set, draws each data set from the base line on its own. Inter-line layers
// fill between two lines of other layers, in one colour where the first is above the second and
// another where it is below.

#include <plotvane/layer.h>

namespace plotvane {

class LineObj;

class PLOTVANE_API AreaLayer : public virtual Layer {
public:
    // Areas thinner than this many pixels carry no value label.
    virtual void setMinLabelSize(int s) = 0;
    // The fill across a stretch of missing values: Chart::SameAsMainColor (the default) follows
    // the data set, Chart::Transparent leaves a hole.
    virtual void setGapColor(int fillColor) = 0;

protected:
    ~AreaLayer() override;
};

class PLOTVANE_API InterLineLayer : public virtual Layer {
public:
    // Fills where either line bridges missing values; -1 for the second takes the first.
    virtual void setGapColor(int gapColor12, int gapColor21 = -1) = 0;

protected:
    ~InterLineLayer() override;
};

}  // namespace plotvane

#endif

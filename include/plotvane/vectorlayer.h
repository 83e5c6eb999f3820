#ifndef PLOTVANE_VECTORLAYER_H
#define PLOTVANE_VECTORLAYER_H

// Vector layers draw an arrow from each data point. Directions are degrees clockwise from up;
// lengths are pixels (Chart::PixelScale) or units of the x or y axis (Chart::XAxisScale,
// Chart::YAxisScale). With Chart::EndPoints the arrays give each arrow's end point instead
// (x values, then y values), and when they are empty each arrow runs to the next data point.

#include <plotvane/layer.h>

namespace plotvane {

class PLOTVANE_API VectorLayer : public virtual Layer {
public:
    virtual void setVector(DoubleArray lengths, DoubleArray directions, int lengthScale = Chart::PixelScale) = 0;
    // A head height below 1 takes the width.
    virtual void setArrowHead(int width, int height = -1) = 0;
    // A polygon (x0, y0, x1, y1 ... in pixels, the tip at 0, 0 and the arrow pointing up, so the
    // head lies at positive y); fewer than five numbers restore the default head.
    virtual void setArrowHead(IntArray polygon) = 0;
    // A polygon in the same frame stretched along the arrow from its start to the head; fewer
    // than five numbers restore the plain stem.
    virtual void setArrowStem(IntArray polygon) = 0;
    // Chart::TopCenter: the arrow ends at its point; Chart::Center: it is centred on it; any other
    // value: it starts at it.
    virtual void setArrowAlignment(int alignment) = 0;
    // Pixels cut from the start and the end of every arrow; Chart::NoValue ends take the start's.
    virtual void setVectorMargin(double startMargin, double endMargin = Chart::NoValue) = 0;
    // The legend key's size.
    virtual void setIconSize(int width, int height) = 0;

protected:
    ~VectorLayer() override;
};

}  // namespace plotvane

#endif

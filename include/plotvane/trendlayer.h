#ifndef PLOTVANE_TRENDLAYER_H
#define PLOTVANE_TRENDLAYER_H

// A regression curve fitted to each data set (its values against their x positions), drawn over
// the data's x range, with confidence and prediction bands. Points with a missing, NaN or
// infinite coordinate stay out of the fit. The queries describe the first data set's fit and
// return Chart::NoValue while the fit is undefined (no points, or too few distinct x values).

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/export.h>
#include <plotvane/layer.h>
#include <plotvane/linelayer.h>

namespace plotvane {

class PLOTVANE_API TrendLayer : public virtual Layer {
public:
    // Chart::LinearRegression (the default); Chart::ConstrainedLinearRegression, a line through
    // (0, the layer's base line); Chart::ExponentialRegression, y = base + s e^(a + bx);
    // Chart::LogarithmicRegression, y = a + b ln|x|; 2 to 255, a polynomial of that degree.
    virtual void setRegressionType(int regressionType) = 0;
    // Half the depth of the hot-spot band along the line, in pixels.
    virtual void setImageMapWidth(int width) = 0;
    // The fitted line of the first data set, once the chart is laid out; null before.
    virtual LineObj* getLine() = 0;
    // The straight models' slope and intercept (of the fitted line in ln|y - base| for the
    // exponential model); a polynomial's coefficients of x and 1. With all x equal a straight fit
    // has no slope and its intercept is that x.
    virtual double getSlope() = 0;
    virtual double getIntercept() = 0;
    // The correlation coefficient (for a polynomial, the root of its coefficient of determination).
    virtual double getCorrelation() = 0;
    // The standard error of estimate.
    virtual double getStdError() = 0;
    // The coefficient of x^i of a polynomial (0 and 1 for the straight models).
    virtual double getCoefficient(int i) = 0;
    // A band around the curve holding the fitted mean (confidence) or a new observation
    // (prediction) with the given probability (0.95, or 95 as a percentage). The upper part is
    // filled and edged in the upper colours; lower values of -1 take the upper ones, a line width
    // of -1 the data set's.
    virtual void addConfidenceBand(double confidence, int upperFillColor, int upperEdgeColor = Chart::Transparent,
                                   int upperLineWidth = -1, int lowerFillColor = -1, int lowerEdgeColor = -1,
                                   int lowerLineWidth = -1) = 0;
    virtual void addPredictionBand(double confidence, int upperFillColor, int upperEdgeColor = Chart::Transparent,
                                   int upperLineWidth = -1, int lowerFillColor = -1, int lowerEdgeColor = -1,
                                   int lowerLineWidth = -1) = 0;

protected:
    ~TrendLayer() override;
};

}  // namespace plotvane

#endif

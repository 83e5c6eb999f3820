#ifndef PLOTVANE_CHART_OTHER_BASEMETER_P_H
#define PLOTVANE_CHART_OTHER_BASEMETER_P_H

// What both meters share: the limits, the table of ticks and labels, their styles, pointers and
// colour scales. A meter type supplies the mapping of values to its geometry and paints the
// scale; the paint order (decorations, scale, labels, other objects, pointers) is fixed here.

#include <plotvane/meter.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chart/basechart_p.h"

namespace plotvane {

class LabelBox;
class MeterPointerImpl;

class BaseMeterImpl : public virtual BaseMeter, public virtual BaseChartImpl {
public:
    BaseMeterImpl();
    ~BaseMeterImpl() override;

    void setScale(double lowerLimit, double upperLimit, double majorTickInc, double minorTickInc,
                  double microTickInc) override;
    void setScale(double lowerLimit, double upperLimit, StringArray labels) override;
    void setScale(double lowerLimit, double upperLimit, DoubleArray labels, const char* formatString) override;
    void addLabel(double pos, const char* label) override;
    const char* getLabel(double pos) override;
    DoubleArray getTicks() override;
    TextBox* setLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) override;
    void setLabelFormat(const char* mainLabelFormat) override { labelFormat_ = mainLabelFormat ? mainLabelFormat : ""; }
    void setLabelPos(bool labelInside, int labelOffset) override;
    void setTickLength(int majorLen) override;
    void setTickLength(int majorLen, int minorLen) override;
    void setTickLength(int majorLen, int minorLen, int microLen) override;
    void setLineWidth(int axisWidth, int majorTickWidth, int minorTickWidth, int microTickWidth) override;
    void setMeterColors(int axisColor, int labelColor, int tickColor) override;
    MeterPointer* addPointer(double value, int fillColor, int edgeColor) override;
    void addColorScale(DoubleArray colorStops, int startPos, int startWidth, int endPos, int endWidth,
                       int edgeColor) override;
    int getCoor(double v) override;

    // Degrees clockwise from 12 o'clock (angular) or a pixel along the scale (linear).
    virtual double exactCoor(double v) const = 0;
    virtual void paintPointer(DrawArea* d, const MeterPointerImpl& pointer) = 0;

protected:
    enum TickKind { kMajor, kMinor, kMicro };
    struct Tick {
        double value;
        TickKind kind;
        std::string label;  // empty: no label
    };
    struct ColorScale {
        std::vector<double> stops;  // value, colour pairs, ascending by value
        int startPos, startWidth, endPos, endWidth, edgeColor;
    };
    // One stretch of a colour scale, between two stops, with the band's offsets from the scale line
    // (its base and its far side, outward positive) at any value.
    struct ColorSegment {
        double from, to;
        int fromColor, toColor, edgeColor;
        std::function<double(double value, bool farSide)> offset;
    };

    virtual bool isFullCircle() const { return false; }
    // Meter types may adjust the tick lengths they were given (linear meters' automatic ones).
    virtual int tickLength(TickKind kind) const { return tickLength_[kind]; }
    virtual void paintScale(DrawArea* d, const std::vector<Tick>& ticks) = 0;
    virtual void paintColorSegment(DrawArea* d, const ColorSegment& segment) = 0;
    // Called after everything under the pointers is painted.
    virtual void paintLast(DrawArea*) {}

    void forgetDrawObj(DrawObj* obj) override;

    // Adds an object painted under the scale.
    void addDecoration(std::function<void(DrawArea*)> paint);
    MeterPointerImpl* newPointer(double value, int fillColor, int edgeColor);
    // The label style, and a copy of it showing a text, hanging from (x, y) by an alignment.
    LabelBox& labelStyle();
    std::unique_ptr<LabelBox> makeLabel(const std::string& text, int x, int y, int alignment);
    int tickWidth(TickKind kind) const { return tickWidth_[kind]; }
    int tickColor(TickKind kind) const { return tickColor_[kind]; }

    double lower_ = 0;
    double upper_ = 100;
    int axisColor_;
    int axisWidth_;
    bool labelInside_ = true;
    int labelOffset_ = 0;
    int tickLength_[3] = {-10, -6, -3};
    MeterPointerImpl* lastPointer_ = nullptr;

private:
    void onLayoutLegend() override {}
    void onLayoutChart() override {}
    void onPaint() override;
    std::string onGetHTMLImageMap(const char*, const char*, const char*, int, int) override { return ""; }
    std::vector<Tick> ticksToPaint();
    void paintColorScale(DrawArea* d, const ColorScale& scale);

    std::map<double, std::string> table_;
    std::string labelFormat_;
    std::unique_ptr<LabelBox> labelStyle_;
    int tickWidth_[3] = {1, 1, 1};
    int tickColor_[3] = {Chart::LineColor, Chart::LineColor, Chart::LineColor};
    std::vector<ColorScale> colorScales_;
    std::vector<double> tickList_;
    std::string labelResult_;

protected:
    // Initial styles differ per meter type.
    void initStyles(const char* font, double fontSize, int axisColor, int axisWidth, const int tickWidths[3]);
};

// A pointer: a polygon in a frame where y runs from the pivot (0) to the tip (1000).
class MeterPointerImpl : public MeterPointer {
public:
    MeterPointerImpl(BaseMeterImpl* meter, double value, int fillColor, int edgeColor, int shape,
                     double lengthRatio);

    void setColor(int fillColor, int edgeColor) override;
    void setPos(double value) override;
    void setShape(int pointerType, double lengthRatio, double widthRatio) override;
    void setShape(IntArray pointerCoor, double lengthRatio, double widthRatio) override;
    void setShapeAndOffset(int pointerType, double startOffset, double endOffset, double widthRatio) override;
    void setShapeAndOffset(IntArray pointerCoor, double startOffset, double endOffset, double widthRatio) override;
    void paint(DrawArea* d) override { meter_->paintPointer(d, *this); }

    double value() const { return value_; }
    int fillColor() const { return fillColor_; }
    int edgeColor() const { return edgeColor_; }
    int shape() const { return shape_; }
    double lengthRatio() const { return lengthRatio_; }
    double widthRatio() const { return widthRatio_; }
    double startOffset() const { return startOffset_; }
    // The polygon of the current shape, x and y apart.
    void outline(std::vector<double>& x, std::vector<double>& y) const;

private:
    void applyOffsets(double startOffset, double endOffset, double widthRatio, bool longTypes);

    BaseMeterImpl* meter_;
    double value_;
    int fillColor_;
    int edgeColor_;
    int shape_;
    std::vector<int> custom_;  // x, y pairs; empty: the shape type
    double lengthRatio_;
    double widthRatio_ = 1.0;
    double startOffset_ = 0;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_CHART_XY_AXIS_P_H
#define PLOTVANE_CHART_XY_AXIS_P_H

// The axis object of an XY chart: the scale engine (AxisScale) plus everything that has pixels or
// text in it. The plot area places it (a side, a start point and a length), hands it the data
// range, and asks it to paint its zones, marks and itself; layers ask it for coordinates.

#include <plotvane/axis.h>

#include <memory>
#include <string>
#include <vector>

#include "chart/drawobj_p.h"
#include "chart/pvmltable_p.h"
#include "chart/xy/axisscale_p.h"
#include "chart/xy/labelbox_p.h"
#include "text/formatter_p.h"

namespace plotvane {

class BaseChartImpl;
class DrawArea;

// A rectangle by its corners, left < right and top < bottom.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class MarkImpl final : public Mark, public LabelBox {
public:
    MarkImpl(DrawArea* d, double value, int lineColor);
    void setValue(double value) override { value_ = value; }
    void setMarkColor(int lineColor, int textColor, int tickColor) override;
    void setLineWidth(int width) override { line_->setWidth(width); }
    void setDrawOnTop(bool b) override { onTop_ = b; }
    Line* getLine() override { return line_.get(); }

    double value() const { return value_; }
    bool onTop() const { return onTop_; }
    int tickColor() const { return tickColor_; }
    // Draws the line from (x1, y1) to (x2, y2).
    void paintLine(DrawArea* d, int x1, int y1, int x2, int y2);
    // An alignment of 0 (the default) puts the text where the axis's labels are.
    bool besideAxis() const { return alignment_ == 0; }
    // Draws the text hanging from (x, y) by an alignment chosen by the axis.
    void paintTextAt(DrawArea* d, int x, int y, int alignment);

private:
    double value_;
    std::unique_ptr<Line, DrawObjList::Deleter> line_;
    int tickColor_ = -1;
    bool onTop_ = false;
};

class AxisImpl : public virtual Axis {
public:
    AxisImpl(BaseChartImpl* chart, int alignment);
    ~AxisImpl() override;
    AxisImpl(const AxisImpl&) = delete;
    AxisImpl& operator=(const AxisImpl&) = delete;

    // Axis
    void setLinearScale(double lowerLimit, double upperLimit, double majorTickInc, double minorTickInc) override;
    void setLinearScale(double lowerLimit, double upperLimit, StringArray labels) override;
    void setLinearScale(const char* formula) override;
    void setLogScale(double lowerLimit, double upperLimit, double majorTickInc, double minorTickInc) override;
    void setLogScale(double lowerLimit, double upperLimit, StringArray labels) override;
    void setLogScale(const char* formula) override;
    void setLogScale(bool logScale) override;
    void setEnumScale(bool enumScale) override;
    void setDateScale(double lowerLimit, double upperLimit, double majorTickInc, double minorTickInc) override;
    void setDateScale(double lowerLimit, double upperLimit, StringArray labels) override;
    void setDateScale(const char* formula) override;
    TextBox* setLabels(StringArray labels) override;
    TextBox* setLabels(DoubleArray labels, const char* formatString) override;
    void addLabel(double pos, const char* label) override;

    void setAutoScale(double topExtension, double bottomExtension, double zeroAffinity) override;
    void setRounding(bool roundMin, bool roundMax) override { scale_.setRounding(roundMin, roundMax); }
    void setTickDensity(int majorTickSpacing, int minorTickSpacing) override;
    void setMinTickInc(double inc) override { scale_.setMinTickInc(inc); }
    void setReverse(bool b) override { scale_.setReverse(b); }
    void setIndent(bool indent) override { scale_.setIndent(indent); }

    TextBox* setLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) override;
    void setLabelFormat(const char* formatString) override;
    void setMultiFormat(int filterId, const char* formatString, int filterId2, const char* formatString2,
                        int labelSpan, bool promoteFirst) override;
    void setMultiFormat(int filterId, const char* formatString, int labelSpan, bool promoteFirst) override;
    void setFormatCondition(const char* condition, double operand) override;
    void setLabelStep(int majorTickStep, int minorTickStep, int majorTickOffset, int minorTickOffset) override;
    void setLabelGap(int d) override { labelGap_ = d; }
    void setLabelOffset(double offset) override;
    void setLabelAlignment(int alignment, int minLabelSpace) override;
    PVMLTable* makeLabelTable() override;
    PVMLTable* getLabelTable() override { return labelTable_.get(); }

    TextBox* setTitle(const char* text, const char* font, double fontSize, int fontColor) override;
    void setTitlePos(int alignment, int titleGap) override;
    void setColors(int axisColor, int labelColor, int titleColor, int tickColor) override;
    void setTickLength(int majorTickLen) override;
    void setTickLength(int majorTickLen, int minorTickLen) override;
    void setTickWidth(int majorTickWidth, int minorTickWidth) override;
    void setTickColor(int majorTickColor, int minorTickColor) override;
    void setWidth(int width) override;
    void setLength(int length) override { userLength_ = length; }
    void setOffset(int x, int y) override;
    void setAngle(double startAngle) override;
    void setMargin(int topMargin, int bottomMargin) override;
    void setTickOffset(double offset) override;

    void syncAxis(const Axis* axis, double slope, double intercept) override;
    void copyAxis(const Axis* axis) override;

    Mark* addMark(double value, int lineColor, const char* text, const char* font, double fontSize) override;
    void addZone(double startValue, double endValue, int color) override;

    int getCoor(double v) override { return scale_.getCoor(v); }
    double getMinValue() override { return scale_.getMinValue(); }
    double getMaxValue() override { return scale_.getMaxValue(); }
    int getThickness() override;
    DoubleArray getTicks() override;
    const char* getLabel(double i) override;
    const char* getFormattedLabel(double v, const char* formatString) override;
    const char* getAxisImageMap(int noOfSegments, int mapWidth, const char* url, const char* queryFormat,
                                const char* extraAttr, int offsetX, int offsetY) override;
    const char* getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                int offsetY) override;
    int getX() override { return x_ + offsetX_; }
    int getY() override { return y_ + offsetY_; }
    int getAlignment() override { return alignment_; }

    // For the plot area and the layers.
    AxisScale& scale() { return scale_; }
    const AxisScale& scale() const { return scale_; }
    // Left, Right, Top or Bottom: the side of the plot area the axis stands on.
    void setSide(int alignment);
    bool isVertical() const { return alignment_ == Chart::Left || alignment_ == Chart::Right; }
    int side() const { return alignment_; }
    // The axis starts at (x, y), its left or bottom end, and runs `length` pixels right or up.
    void place(int x, int y, int length);
    // The pixels, on the plot area's side of the axis, where the plot area ends: the axis line
    // moves to `at` (axis at the origin) without moving the scale.
    void moveLine(int at);
    int length() const { return length_; }
    void layout(double dataMin, double dataMax);
    // Values to pixels (absolute, and as an offset from the start end) and back.
    double pixelOf(double v) const { return scale_.pixelOf(v); }
    double coorOf(double v) const { return scale_.coorOf(v); }
    AxisScale::CoorMap coorMap() const { return scale_.coorMap(); }
    double valueAt(double pixel) const { return scale_.valueAtPixel(pixel); }
    bool hasTicks() const { return !scale_.getTicks().empty(); }
    // Auto-scaling settings: a default scale type still undecided, and no label format given.
    bool hasUserFormat() const { return userFormat_; }
    // Whether any setting was made; an untouched secondary axis stays hidden.
    bool isTouched() const { return touched_; }
    void setVisible(bool visible) { visible_ = visible; }
    bool isVisible() const { return visible_; }

    // The styles labels and the title are copied from, for owners that place them themselves.
    const LabelBox& labelStyle() const { return labelStyle_; }
    const LabelBox& titleStyle() const { return title_; }
    int labelGap() const { return labelGap_; }
    int axisColor() const { return axisColor_; }

    // Zones and mark lines lie on the plot rectangle given; `shift` moves the axis's pixels onto
    // it (the back wall of a 3D plot, seen from a front axis).
    void paintZones(DrawArea* d, const PixelRect& plot, int shift) const;
    void paintMarks(DrawArea* d, const PixelRect& plot, int shift, bool onTop);
    void paint(DrawArea* d);
    // Grows r to hold the boxes of the labels and the title where paint would put them.
    void addTextExtent(PixelRect& r);
    // How far labels centred on the end ticks may reach beyond the ends of the axis.
    int labelOverhang();

    struct Zone {
        double start;
        double end;
        int color;
    };
    struct Label {
        double value;
        std::unique_ptr<LabelBox> box;
    };
    // For charts that place the labels themselves (round a circle): each label's value and text
    // in the label style, valid until the scale changes.
    const std::vector<Label>& builtLabels() {
        buildLabels();
        return labels_;
    }
    const std::vector<Zone>& zones() const { return zones_; }
    // For charts that paint ticks, marks and the title themselves.
    const std::vector<std::unique_ptr<MarkImpl>>& marks() const { return marks_; }
    // How a tick is drawn; false when it is not drawn at all.
    bool tickStyle(const AxisTick& t, int& length, int& width, int& color) const;
    // How far ticks reach out from the axis line.
    int tickReach() const;
    // For an axis drawn at an angle: the unit vector across it towards its ticks and labels.
    void labelSide(double& x, double& y) const {
        const Slant s = slant();
        x = s.outX;
        y = s.outY;
    }
    int titlePos() const { return titlePos_; }
    int titleGap() const { return titleGap_; }
    int majorTickLength() const { return majorTickLength_; }
    int majorTickWidth() const { return majorTickWidth_; }
    // A value as its label would show it (the axis's label format when none is given).
    std::string formattedLabel(double v, const char* formatString);
    // An axis area's link or extra attributes: {value} and {label} filled in.
    std::string fillAxisArea(const std::string& tmpl, double value, const std::string& label, int flags);
    static constexpr const char* kAxisQuery = "value={value}&label={label}";

private:

    // The direction an axis drawn at an angle runs in, and the side of it its ticks and labels
    // take (the one facing away from the plot area), as unit vectors on the screen.
    struct Slant {
        double startX, startY;
        double alongX, alongY;
        double outX, outY;
        double sideX, sideY;  // away from the plot area across the axis's side
    };

    void touch() { touched_ = true; }
    bool isSlanted() const { return angle_ != Chart::NoValue; }
    void orient();
    Slant slant() const;
    // Places the labels and the title of a slanted axis; the room they take across the side.
    int placeSlanted();
    void paintSlanted(DrawArea* d);
    void markLaidOutStale();
    void setFormulaScale(const char* formula, AxisScale::ScaleType type);
    // The text of a tick's label, through its format template.
    std::string labelText(const AxisTick& tick);
    void buildLabels();
    // +1 when ticks and labels point right or down from the axis line, -1 when left or up.
    int outward() const { return alignment_ == Chart::Right || alignment_ == Chart::Bottom ? 1 : -1; }
    int lineAt() const;
    // Extent of the labels across the axis.
    int labelDepth();
    // The anchor point and alignment of a label at pixel p along the axis.
    void labelAnchor(int p, int depthBeforeLabels, int& x, int& y, int& alignment) const;
    void turnTitle(bool vertical);
    void placeTitle();
    // Positions a label as painted; false when it shows nothing.
    bool placeLabel(Label& l, int depth);
    void paintTicks(DrawArea* d) const;
    // A label table takes the labels' place: row 0 shows them, one column per label, each as wide
    // as the label's share of the axis. False when the axis has no table.
    bool placeLabelTable();

    BaseChartImpl* chart_;
    DrawArea* area_;
    AxisScale scale_;
    Formatter formatter_;
    int alignment_;
    bool touched_ = false;
    bool visible_ = true;
    bool userFormat_ = false;

    int x_ = 0;
    int y_ = 0;
    int length_ = 0;
    int userLength_ = 0;
    int offsetX_ = 0;
    int offsetY_ = 0;
    int lineShift_ = 0;  // the line moved across from its place (axis at the origin)
    double angle_ = Chart::NoValue;  // degrees clockwise from 12 o'clock; NoValue: along its side
    int marginTop_ = 0;  // top or left end
    int marginBottom_ = 0;

    LabelBox labelStyle_;
    int labelGap_ = 3;
    double labelOffset_ = 0;
    int labelAlignment_ = -1;  // vertical axes; -1: away from the axis line
    int minLabelSpace_ = 0;
    LabelBox title_;
    int titlePos_ = 0;
    int titleGap_ = 3;
    int titleColor_ = -1;

    int axisColor_ = Chart::LineColor;
    int lineWidth_ = 1;
    int tickColor_ = -1;
    int minorTickColor_ = -1;
    int majorTickLength_ = 3;
    int minorTickLength_ = 2;
    int majorTickWidth_ = 1;
    int minorTickWidth_ = -1;
    double tickOffset_ = 0;

    std::vector<std::unique_ptr<MarkImpl>> marks_;
    std::vector<Zone> zones_;

    bool labelsBuilt_ = false;
    std::vector<Label> labels_;
    std::unique_ptr<PVMLTable, DrawObjList::Deleter> labelTable_;
    std::vector<double> tickValues_;
    std::string text_;
};

// Filters of multi-format labels, unpacked from the integers Chart::StartOfDayFilter and the
// others give.
LabelFilter unpackLabelFilter(int filterId);

}  // namespace plotvane

#endif

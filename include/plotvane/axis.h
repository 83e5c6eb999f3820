#ifndef PLOTVANE_AXIS_H
#define PLOTVANE_AXIS_H

// An axis of an XY chart: its scale (linear, logarithmic, date or a list of labels, chosen from
// the data unless given), its ticks, labels and title, and the marks and zones drawn across the
// plot area at its values. Values become pixels only once the chart is laid out.
//
// Overloads stand for the numbered names of the flat interface (setLinearScale2, setLabels2 ...).

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/drawobj.h>
#include <plotvane/export.h>

namespace plotvane {

class PVMLTable;

namespace Chart {
// Label filters for Axis::setMultiFormat, each packed into one integer. The date filters pass the
// first tick of each period (every labelStep-th period); a period that starts less than
// initialMargin seconds before the first tick counts as starting at it.
PLOTVANE_API int StartOfSecondFilter(int labelStep = 1, double initialMargin = 0.05);
PLOTVANE_API int StartOfMinuteFilter(int labelStep = 1, double initialMargin = 0.05);
PLOTVANE_API int StartOfHourFilter(int labelStep = 1, double initialMargin = 0.05);
PLOTVANE_API int StartOfDayFilter(int labelStep = 1, double initialMargin = 0.05);
PLOTVANE_API int StartOfWeekFilter(int labelStep = 1, double initialMargin = 0.05);
PLOTVANE_API int StartOfMonthFilter(int labelStep = 1, double initialMargin = 0.05);
PLOTVANE_API int StartOfYearFilter(int labelStep = 1, double initialMargin = 0.05);
PLOTVANE_API int RegularSpacingFilter(int labelStep = 1, int initialMargin = 0);
PLOTVANE_API int SelectItemFilter(int item);
PLOTVANE_API int AllPassFilter();
PLOTVANE_API int NonePassFilter();
}  // namespace Chart

// A line across the plot area at a value of an axis, with a text.
class PLOTVANE_API Mark : public virtual TextBox {
public:
    virtual void setValue(double value) = 0;
    // -1 for the text colour keeps the line colour; -1 for the tick colour keeps the line colour.
    virtual void setMarkColor(int lineColor, int textColor = -1, int tickColor = -1) = 0;
    virtual void setLineWidth(int width) = 0;
    // In front of the layers rather than behind them.
    virtual void setDrawOnTop(bool b) = 0;
    // The line across the plot area; its colour and width may be changed, the mark places it.
    virtual Line* getLine() = 0;

protected:
    ~Mark() override = default;
};

class PLOTVANE_API Axis {
public:
    // Scales. Bounds of Chart::NoValue are chosen from the data; a major increment of 0 lets the
    // ticks be chosen within the bounds.
    virtual void setLinearScale(double lowerLimit, double upperLimit, double majorTickInc = 0,
                                double minorTickInc = 0) = 0;
    // The labels spread evenly from lowerLimit to upperLimit.
    virtual void setLinearScale(double lowerLimit, double upperLimit, StringArray labels) = 0;
    // "lower, upper[, majorTickInc[, minorTickInc]]"; anything else leaves the scale automatic.
    virtual void setLinearScale(const char* formula) = 0;
    virtual void setLogScale(double lowerLimit, double upperLimit, double majorTickInc = 0,
                             double minorTickInc = 0) = 0;
    virtual void setLogScale(double lowerLimit, double upperLimit, StringArray labels) = 0;
    virtual void setLogScale(const char* formula) = 0;
    virtual void setLogScale(bool logScale) = 0;
    // Categories numbered by the data: a tick and a label at every whole number from the lowest to
    // the highest value, half a step of room at each end when the axis is indented; at most 10,000
    // ticks, else the scale is automatic. false, or any other scale set later, ends it.
    virtual void setEnumScale(bool enumScale = true) = 0;
    virtual void setDateScale(double lowerLimit, double upperLimit, double majorTickInc = 0,
                              double minorTickInc = 0) = 0;
    virtual void setDateScale(double lowerLimit, double upperLimit, StringArray labels) = 0;
    virtual void setDateScale(const char* formula) = 0;
    // A label axis: label i at value i. Both forms return null, and change nothing, for more than
    // 10,000 labels (docs/limits.md).
    virtual TextBox* setLabels(StringArray labels) = 0;
    // Labels at the given values; Chart::MinorTickOnly and Chart::MicroTickOnly make bare ticks.
    virtual TextBox* setLabels(DoubleArray labels, const char* formatString = "") = 0;
    // An extra label; an empty text removes the one at that value.
    virtual void addLabel(double pos, const char* label) = 0;

    virtual void setAutoScale(double topExtension = 0.1, double bottomExtension = 0.1,
                              double zeroAffinity = 0.8) = 0;
    virtual void setRounding(bool roundMin, bool roundMax) = 0;
    // Pixels between major ticks, and between minor ticks (0 or less: no minor ticks).
    virtual void setTickDensity(int majorTickSpacing, int minorTickSpacing = -1) = 0;
    virtual void setMinTickInc(double inc) = 0;
    virtual void setReverse(bool b = true) = 0;
    // Half a step of room at both ends of a label axis, so bars are not cut.
    virtual void setIndent(bool indent) = 0;

    // Labels.
    virtual TextBox* setLabelStyle(const char* font = "", double fontSize = 8, int fontColor = Chart::TextColor,
                                   double fontAngle = 0) = 0;
    virtual void setLabelFormat(const char* formatString) = 0;
    virtual void setMultiFormat(int filterId, const char* formatString, int filterId2, const char* formatString2,
                                int labelSpan = 1, bool promoteFirst = true) = 0;
    virtual void setMultiFormat(int filterId, const char* formatString, int labelSpan = 1,
                                bool promoteFirst = true) = 0;
    // "align", "else", "true", "false", ">=", "<=", "==", "<>" or "!=" on the major step; applies to
    // the next setLabelFormat or setMultiFormat.
    virtual void setFormatCondition(const char* condition, double operand = 0) = 0;
    virtual void setLabelStep(int majorTickStep, int minorTickStep = 0, int majorTickOffset = 0,
                              int minorTickOffset = Chart::NoIntValue) = 0;
    virtual void setLabelGap(int d) = 0;
    // Moves the labels along the axis by a number of pixels.
    virtual void setLabelOffset(double offset) = 0;
    // Left, Center or Right of a vertical axis's label column (Center: under the labels' middle);
    // minLabelSpace widens the column.
    virtual void setLabelAlignment(int alignment, int minLabelSpace = 0) = 0;
    // A table in place of the axis's labels. Under (or over) a horizontal axis, row 0 holds the
    // labels, one column each, and rows added below it hold whatever the program puts there.
    // Beside a vertical axis, column 0 holds the labels, one row each from the bottom up, and
    // columns added go outward, away from the plot.
    virtual PVMLTable* makeLabelTable() = 0;
    virtual PVMLTable* getLabelTable() = 0;

    // Title and style.
    virtual TextBox* setTitle(const char* text, const char* font = "", double fontSize = 8,
                              int fontColor = Chart::TextColor) = 0;
    // Where the title stands beside the labels: the axis's side (0) or an alignment along it.
    virtual void setTitlePos(int alignment, int titleGap = 3) = 0;
    // -1 for the title colour takes the label colour; -1 for the tick colour takes the axis colour.
    virtual void setColors(int axisColor, int labelColor = Chart::TextColor, int titleColor = -1,
                           int tickColor = -1) = 0;
    // Positive lengths point away from the plot area, negative ones into it.
    virtual void setTickLength(int majorTickLen) = 0;
    virtual void setTickLength(int majorTickLen, int minorTickLen) = 0;
    virtual void setTickWidth(int majorTickWidth, int minorTickWidth = -1) = 0;
    virtual void setTickColor(int majorTickColor, int minorTickColor = -1) = 0;
    virtual void setWidth(int width) = 0;
    // A length of 0 or less follows the plot area.
    virtual void setLength(int length) = 0;
    virtual void setOffset(int x, int y) = 0;
    virtual void setAngle(double startAngle) = 0;
    // Pixels kept free of data at the top (or left) and bottom (or right) end.
    virtual void setMargin(int topMargin, int bottomMargin = 0) = 0;
    // Moves the ticks along the axis by a number of pixels.
    virtual void setTickOffset(double offset) = 0;

    // Follows another axis: value = slope * other value + intercept.
    virtual void syncAxis(const Axis* axis, double slope = 1, double intercept = 0) = 0;
    virtual void copyAxis(const Axis* axis) = 0;

    virtual Mark* addMark(double value, int lineColor, const char* text = "", const char* font = "",
                          double fontSize = 8) = 0;
    virtual void addZone(double startValue, double endValue, int color) = 0;

    // Queries, answered once the chart is laid out.
    virtual int getCoor(double v) = 0;
    virtual double getMinValue() = 0;
    virtual double getMaxValue() = 0;
    // Pixels the axis takes beside the plot area: ticks, labels and title.
    virtual int getThickness() = 0;
    // Every tick value, ascending; valid until the next call.
    virtual DoubleArray getTicks() = 0;
    // The text of the label at a tick value, or null.
    virtual const char* getLabel(double i) = 0;
    virtual const char* getFormattedLabel(double v, const char* formatString = "") = 0;
    virtual const char* getAxisImageMap(int noOfSegments, int mapWidth, const char* url,
                                        const char* queryFormat = "", const char* extraAttr = "", int offsetX = 0,
                                        int offsetY = 0) = 0;
    virtual const char* getHTMLImageMap(const char* url, const char* queryFormat = "", const char* extraAttr = "",
                                        int offsetX = 0, int offsetY = 0) = 0;
    // The start point of the axis line and the side of the plot area it stands on.
    virtual int getX() = 0;
    virtual int getY() = 0;
    virtual int getAlignment() = 0;

protected:
    virtual ~Axis();
};

}  // namespace plotvane

#endif

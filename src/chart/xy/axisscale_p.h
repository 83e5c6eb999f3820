#ifndef PLOTVANE_CHART_XY_AXISSCALE_P_H
#define PLOTVANE_CHART_XY_AXISSCALE_P_H

#include <plotvane/arrays.h>
#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace plotvane {

enum class TickKind { Major, Minor, Micro };

// The unit a date axis counts its major step in.
enum class DateUnit { None, Second, Minute, Hour, Day, Week, Month, Year, Decade, Century };

struct AxisTick {
    double value = 0;
    TickKind kind = TickKind::Major;
    int format = -1;  // index into AxisScale::labelFormats(); -1: the tick has no label
    int label = -1;   // index into AxisScale::labels() when an explicit label stands here
};

// An explicit label. A label given as a number keeps it in `number` (NoValue for text labels) with
// the format it is to be shown in; the renderer turns it into the "label" field.
struct AxisLabel {
    double value = 0;  // position on the axis, filled in by the scale
    std::string text;
    double number = Chart::NoValue;
    std::string format;
    TickKind kind = TickKind::Major;  // Minor or Micro: a bare tick (MinorTickOnly, MicroTickOnly)
    bool blank = false;               // holds its place but has neither tick nor label (NoValue)
};

// A label filter of a multi-format plan: one of the label filter tags with its label step (the item
// index for SelectItem) and initial margin (seconds for the date filters, an index for regular
// spacing).
struct LabelFilter {
    int tag = Chart::Plotvane_AllPassFilterTag;
    int step = 1;
    double initialMargin = 0;
};

// The computing half of an axis: it turns a data range and the user's settings into a scale
// (bounds, major, minor and micro ticks, the format of every label) and maps values to pixels and
// back. Nothing here draws, measures text or formats strings; the axis object that owns it feeds
// it the label angle and the pixel geometry and renders what it returns.
class AxisScale {
  public:
    enum ScaleType { Undecided = 0, Linear = 1, Date = 2, Log = 3 };

    // Fixed scales. NoValue for a bound lets it be chosen (rounded, not extended); DataBound takes
    // it exactly from the data. Log increments are ratios; LogTick and LinearTick force the kind of
    // ticks, and k * TickInc asks for linear ticks every k.
    void setLinearScale(double lower, double upper, double majorTickInc = 0, double minorTickInc = 0);
    void setLinearScale(double lower, double upper, const std::vector<AxisLabel>& labels);
    void setLogScale(double lower, double upper, double majorTickInc = 0, double minorTickInc = 0);
    void setLogScale(double lower, double upper, const std::vector<AxisLabel>& labels);
    void setLogScale(bool logScale);
    // A tick at every whole number of the data range; ends with the next scale set.
    void setEnumScale(bool enumScale);
    void setDateScale(double lower, double upper, double majorTickInc = 0, double minorTickInc = 0);
    void setDateScale(double lower, double upper, const std::vector<AxisLabel>& labels);
    // A label axis: label i at value i.
    void setLabels(const std::vector<AxisLabel>& labels);
    // A label added on top of the scale; an empty text removes the one at that value.
    void addLabel(double value, const std::string& text);
    static std::vector<AxisLabel> labelsFromTexts(StringArray texts);
    // MinorTickOnly and MicroTickOnly elements become bare ticks, NoValue elements nothing.
    static std::vector<AxisLabel> labelsFromValues(DoubleArray values, const std::string& format);

    // Auto-scaling. The setters that validate return false and keep the old values on bad input.
    bool setAutoScale(double topExtension, double bottomExtension, double zeroAffinity);
    bool setDefaultAutoScale(double topExtension, double bottomExtension, double zeroAffinity);
    void setRounding(bool roundMin, bool roundMax);
    void setTickDensity(int majorTickSpacing, int minorTickSpacing = 0);
    void setMinTickInc(double inc);
    void setReverse(bool reverse);
    void setIndent(bool indent) { indent_ = indent ? 1 : 0; }
    int getIndent() const { return indent_; }      // -1 until set
    // Whether larger values lie nearer the start end, as configured (reversed, a fixed scale
    // given upside down, or following another scale with a negative slope); known before layout.
    bool runsBackwards() const;
    ScaleType scaleType() const { return type_; }  // as configured; Undecided until chosen

    // Labels. A format condition applies to the next setLabelFormat or setMultiFormat, which then
    // add a conditional entry; without one they replace the whole plan.
    void setLabelStep(int majorStep, int minorStep = 0, int majorOffset = 0,
                      int minorOffset = Chart::NoIntValue);
    void setLabelFormat(const std::string& format);
    bool setFormatCondition(const std::string& condition, double operand = 0);
    void setMultiFormat(const LabelFilter& filter1, const std::string& format1, const LabelFilter& filter2,
                        const std::string& format2, int labelSpan = 1, bool promoteFirst = true);
    void setMultiFormat(const LabelFilter& filter, const std::string& format, int labelSpan = 1,
                        bool promoteFirst = true);

    // Geometry, set by the plot area. Position codes 4 and 6 are vertical, 5 is drawn at `angle`.
    void setOrientation(int position, double angle = 0);
    void setLabelAngle(double angle) { labelAngle_ = angle; }
    void setLength(int length);
    // Margins at the start (origin) end and at the far end, in pixels.
    void setMargins(int startMargin, int endMargin);
    // Pixel of the start end and the direction pixels grow in from there (+1 or -1).
    void setPlacement(double origin, int direction);
    bool isVertical() const;
    bool labelsAlongAxis() const;
    // The alignment point (keypad code) by which a horizontal axis's labels hang at their ticks.
    int labelAnchor(bool labelsBelow) const;

    // Follow another scale through value = slope * other + intercept. The other scale must outlive
    // this one and be laid out first. A zero or non-finite slope is refused. A fixed scale or a
    // label set given later ends the synchronisation.
    bool syncAxis(const AxisScale* other, double slope = 1, double intercept = 0);
    // Take over another scale's settings and follow its scale exactly.
    void copyAxis(const AxisScale& other);

    void layout(double dataMin, double dataMax);

    bool isEmpty() const { return empty_; }
    ScaleType laidOutType() const { return laidOutType_; }
    double getMinValue() const { return empty_ ? Chart::NoValue : lower_; }
    double getMaxValue() const { return empty_ ? Chart::NoValue : upper_; }
    double tickInc() const { return step_; }
    double minorTickInc() const { return minorStep_; }
    const std::vector<AxisTick>& getTicks() const { return ticks_; }
    const std::vector<std::string>& labelFormats() const { return formats_; }
    // The decimals that number labels need ("@" in a format takes this).
    int labelPrecision() const { return precision_; }
    DateUnit dateUnit() const { return dateUnit_; }
    int labelSpan() const { return labelSpan_; }
    const std::vector<AxisLabel>& labels() const { return labelTable_; }
    // A label axis: label i at value i, whatever the bounds.
    bool isLabelAxis() const { return labelMode_ == LabelMode::Enumerated; }
    size_t labelAxisCount() const { return scaleLabels_.size(); }
    // The explicit label at a value (rounded on a label axis), or -1.
    int labelAt(double value) const;

    // Exact positions: offset from the start end along the axis, and pixels after placement.
    // NoValue in or out of range of an empty scale gives NoValue.
    double coorOf(double value) const;
    // coorOf as a value to keep at hand in a loop over many points.
    class CoorMap;
    CoorMap coorMap() const;
    double valueAt(double offset) const;
    double pixelOf(double value) const;
    double valueAtPixel(double pixel) const;
    // floor(pixel + 0.5), or NoIntValue for a missing value.
    int getCoor(double value) const;

  private:
    // How an end of the range is found: chosen and extended, chosen only, from the data, or given.
    enum class Bound { Auto, Chosen, Data, Fixed };
    enum class LabelMode { None, Enumerated, Even };
    enum class Condition { Always, Never, Align, GreaterEqual, LessEqual, Equal, NotEqual };

    struct FormatRule {
        Condition condition = Condition::Always;
        double operand = 0;
        std::string format;
        bool multi = false;
        bool twoFilters = false;
        LabelFilter filter1;
        LabelFilter filter2;
        std::string format2;
        int span = 1;
        bool promoteFirst = true;
    };

    struct Mapping {
        // A value this many axis lengths off the scale is as far as coordinates go.
        static constexpr double kFarRatio = 1e6;

        bool log = false;
        double lo = 0;
        double hi = 1;
        bool reversed = false;
        double slope = 1;  // value = slope * scale value + intercept
        double intercept = 0;
        double ratio(double value) const {
            // An unsynced scale skips the division, which is exact for slope 1 and intercept 0.
            double u = slope == 1 && intercept == 0 ? value : (value - intercept) / slope;
            double r;
            if (log)
                r = u > 0 ? (std::log(u) - std::log(lo)) / (std::log(hi) - std::log(lo)) : -kFarRatio;
            else
                r = (u * 0.5 - lo * 0.5) / (hi * 0.5 - lo * 0.5);  // halves: spans beyond the largest double
            if (std::isnan(r)) r = 0;
            r = std::clamp(r, -kFarRatio, kFarRatio);
            return reversed ? 1 - r : r;
        }
        double valueAtRatio(double r) const;
    };

    void setBounds(double lower, double upper, double majorTickInc, double minorTickInc, ScaleType type);
    void setEvenLabels(double lower, double upper, const std::vector<AxisLabel>& labels, ScaleType type);
    void addRule(FormatRule rule);
    int usableLength() const;
    int intervals() const;
    int minorPerMajor() const;

    void clearResults();
    void layoutAuto(double dataMin, double dataMax);
    void layoutLabels();
    void layoutEnumerated(double dataMin, double dataMax);
    void layoutSynced();
    void finishRange(double lower, double upper, bool log);
    void placeExtraLabels();
    void applyLabelStep();
    void chooseFormats();
    bool ruleHolds(const FormatRule& rule) const;
    void applyRule(const FormatRule& rule, std::vector<size_t>& labelled);
    int addFormat(const std::string& format);
    std::string defaultDateFormat(const std::vector<size_t>& labelled) const;

    // Configuration.
    ScaleType type_ = Undecided;
    double lowerValue_ = Chart::NoValue;
    double upperValue_ = Chart::NoValue;
    Bound lowerBound_ = Bound::Auto;
    Bound upperBound_ = Bound::Auto;
    double majorInc_ = 0;
    double minorInc_ = 0;
    int logTicks_ = 0;
    bool swapped_ = false;  // set by a fixed scale given upside down
    bool reversed_ = false;
    LabelMode labelMode_ = LabelMode::None;
    bool enumScale_ = false;
    std::vector<AxisLabel> scaleLabels_;
    std::vector<AxisLabel> extraLabels_;

    double topExtension_ = Chart::NoValue;
    double bottomExtension_ = Chart::NoValue;
    double zeroAffinity_ = Chart::NoValue;
    double defaultTop_ = 0.1;
    double defaultBottom_ = 0.1;
    double defaultZeroAffinity_ = 0;
    bool roundMin_ = true;
    bool roundMax_ = true;
    double minTickInc_ = 0;
    int majorSpacing_ = 0;
    int minorSpacing_ = 0;
    int indent_ = -1;

    int labelMajorStep_ = 1;
    int labelMinorStep_ = 0;
    int labelMajorOffset_ = 0;
    int labelMinorOffset_ = 0;
    std::vector<FormatRule> rules_;
    bool hasPendingCondition_ = false;
    FormatRule pending_;

    int position_ = Chart::Bottom;
    double axisAngle_ = 0;
    double labelAngle_ = 0;
    int length_ = 0;
    int startMargin_ = 0;
    int endMargin_ = 0;
    double origin_ = 0;
    int direction_ = 1;

    const AxisScale* syncSource_ = nullptr;
    double syncSlope_ = 1;
    double syncIntercept_ = 0;

    // Results of the last layout.
    bool empty_ = true;
    ScaleType laidOutType_ = Undecided;
    double lower_ = 0;
    double upper_ = 0;
    double step_ = 0;
    double minorStep_ = 0;
    Mapping mapping_;
    std::vector<AxisTick> ticks_;
    std::vector<std::string> formats_;
    std::vector<AxisTick> scaleTicks_;  // before labels are placed: what synced scales follow
    std::vector<AxisLabel> labelTable_;
    size_t scaleLabelCount_ = 0;  // labels of the scale itself, before the added ones
    int precision_ = 0;
    DateUnit dateUnit_ = DateUnit::None;
    int labelSpan_ = 1;
};

class AxisScale::CoorMap {
public:
    double operator()(double value) const {
        if (empty_ || value == Chart::NoValue || !std::isfinite(value)) return Chart::NoValue;
        return start_ + mapping_.ratio(value) * length_;
    }

private:
    friend class AxisScale;
    Mapping mapping_;
    double start_ = 0;
    double length_ = 0;
    bool empty_ = true;
};

}  // namespace plotvane

#endif

// The axis's settings: scale choices go to the scale engine as they come, styles are kept here.
// Any setting marks the axis as used, which is what makes a secondary axis show without data.
//
// Label filters travel as one integer (encodeFilter); hundredths or whole units of margin let both a
// 0.05 s margin and a margin of hours fit. A selected item fills bits 4-30.
#include <plotvane/chart.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/basechart_p.h"
#include "chart/xy/axis_p.h"
#include "chart/xy/scalemath_p.h"

namespace plotvane {

namespace {

constexpr int kTagBits = 0xf;
constexpr int kMaxStep = 0xfff;
constexpr int kMarginUnits = 1 << 30;
constexpr int kMaxMargin = 0x3fff;
constexpr int kMaxItem = 0x7ffffff;

// Whole-number lists such as "0, 100, 20"; false when the text is anything else.
bool parseNumbers(const char* text, double out[4], int& count) {
    count = 0;
    if (!text) return false;
    const char* p = text;
    while (*p) {
        while (*p == ' ' || *p == ',' || *p == '\t') ++p;
        if (!*p) break;
        if (count == 4) return false;
        char* end = nullptr;
        double v = std::strtod(p, &end);
        if (end == p || !std::isfinite(v)) return false;
        out[count++] = v;
        p = end;
    }
    return count >= 2;
}

}  // namespace

namespace Chart {
int encodeFilter(int filterTag, int labelStep, double initialMargin) {
    int tag = filterTag & kTagBits;
    int s = std::clamp(labelStep, 1, kMaxStep);
    double m = std::isfinite(initialMargin) ? std::max(initialMargin, 0.0) : 0;
    if (m * 100 <= kMaxMargin) return tag | (s << 4) | (static_cast<int>(std::floor(m * 100 + 0.5)) << 16);
    int whole = static_cast<int>(std::min(std::floor(m + 0.5), double(kMaxMargin)));
    return tag | (s << 4) | (whole << 16) | kMarginUnits;
}
int StartOfSecondFilter(int labelStep, double initialMargin) {
    return encodeFilter(Plotvane_StartOfSecondFilterTag, labelStep, initialMargin);
}
int StartOfMinuteFilter(int labelStep, double initialMargin) {
    return encodeFilter(Plotvane_StartOfMinuteFilterTag, labelStep, initialMargin);
}
int StartOfHourFilter(int labelStep, double initialMargin) {
    return encodeFilter(Plotvane_StartOfHourFilterTag, labelStep, initialMargin);
}
int StartOfDayFilter(int labelStep, double initialMargin) {
    return encodeFilter(Plotvane_StartOfDayFilterTag, labelStep, initialMargin);
}
int StartOfWeekFilter(int labelStep, double initialMargin) {
    return encodeFilter(Plotvane_StartOfWeekFilterTag, labelStep, initialMargin);
}
int StartOfMonthFilter(int labelStep, double initialMargin) {
    return encodeFilter(Plotvane_StartOfMonthFilterTag, labelStep, initialMargin);
}
int StartOfYearFilter(int labelStep, double initialMargin) {
    return encodeFilter(Plotvane_StartOfYearFilterTag, labelStep, initialMargin);
}
int RegularSpacingFilter(int labelStep, int initialMargin) {
    return encodeFilter(Plotvane_RegularSpacingFilterTag, labelStep, initialMargin);
}
int SelectItemFilter(int item) { return Plotvane_SelectItemFilterTag | (std::clamp(item, 0, kMaxItem) << 4); }
int AllPassFilter() { return Plotvane_AllPassFilterTag; }
int NonePassFilter() { return Plotvane_NonePassFilterTag; }
}  // namespace Chart

LabelFilter unpackLabelFilter(int filterId) {
    LabelFilter f;
    f.tag = filterId & kTagBits;
    if (f.tag == Chart::Plotvane_SelectItemFilterTag) {
        f.step = (filterId >> 4) & kMaxItem;
        return f;
    }
    if (f.tag < Chart::Plotvane_StartOfHourFilterTag || f.tag > Chart::Plotvane_StartOfSecondFilterTag)
        f.tag = Chart::Plotvane_AllPassFilterTag;
    f.step = std::max((filterId >> 4) & kMaxStep, 1);
    int margin = (filterId >> 16) & kMaxMargin;
    f.initialMargin = (filterId & kMarginUnits) ? margin : margin / 100.0;
    return f;
}

Axis::~Axis() = default;

AxisImpl::AxisImpl(BaseChartImpl* chart, int alignment)
    : chart_(chart),
      area_(chart->getRawDrawArea()),
      formatter_(&chart->getFormatter()),
      alignment_(Chart::Bottom),
      labelStyle_(area_),
      title_(area_) {
    labelStyle_.setMargin(0);
    title_.setFontStyle("bold", 0);
    setSide(alignment);
}

AxisImpl::~AxisImpl() = default;

void AxisImpl::markLaidOutStale() { labelsBuilt_ = false; }

void AxisImpl::setSide(int alignment) {
    alignment_ = alignment == Chart::Left || alignment == Chart::Right || alignment == Chart::Top ? alignment
                                                                                                   : Chart::Bottom;
    orient();
}

void AxisImpl::orient() {
    if (isSlanted())
        scale_.setOrientation(Chart::Center, angle_);
    else
        scale_.setOrientation(alignment_);
    markLaidOutStale();
}

void AxisImpl::setLinearScale(double lowerLimit, double upperLimit, double majorTickInc, double minorTickInc) {
    touch();
    scale_.setLinearScale(lowerLimit, upperLimit, majorTickInc, minorTickInc);
}

void AxisImpl::setLinearScale(double lowerLimit, double upperLimit, StringArray labels) {
    touch();
    scale_.setLinearScale(lowerLimit, upperLimit, AxisScale::labelsFromTexts(labels));
}

void AxisImpl::setLogScale(double lowerLimit, double upperLimit, double majorTickInc, double minorTickInc) {
    touch();
    scale_.setLogScale(lowerLimit, upperLimit, majorTickInc, minorTickInc);
}

void AxisImpl::setLogScale(double lowerLimit, double upperLimit, StringArray labels) {
    touch();
    scale_.setLogScale(lowerLimit, upperLimit, AxisScale::labelsFromTexts(labels));
}

void AxisImpl::setLogScale(bool logScale) {
    touch();
    scale_.setLogScale(logScale);
}

void AxisImpl::setEnumScale(bool enumScale) {
    touch();
    scale_.setEnumScale(enumScale);
}

void AxisImpl::setDateScale(double lowerLimit, double upperLimit, double majorTickInc, double minorTickInc) {
    touch();
    scale_.setDateScale(lowerLimit, upperLimit, majorTickInc, minorTickInc);
}

void AxisImpl::setDateScale(double lowerLimit, double upperLimit, StringArray labels) {
    touch();
    scale_.setDateScale(lowerLimit, upperLimit, AxisScale::labelsFromTexts(labels));
}

void AxisImpl::setFormulaScale(const char* formula, AxisScale::ScaleType type) {
    double v[4] = {0, 0, 0, 0};
    int n = 0;
    if (!parseNumbers(formula, v, n)) return;
    touch();
    if (type == AxisScale::Log)
        scale_.setLogScale(v[0], v[1], v[2], v[3]);
    else if (type == AxisScale::Date)
        scale_.setDateScale(v[0], v[1], v[2], v[3]);
    else
        scale_.setLinearScale(v[0], v[1], v[2], v[3]);
}

void AxisImpl::setLinearScale(const char* formula) { setFormulaScale(formula, AxisScale::Linear); }
void AxisImpl::setLogScale(const char* formula) { setFormulaScale(formula, AxisScale::Log); }
void AxisImpl::setDateScale(const char* formula) { setFormulaScale(formula, AxisScale::Date); }

// An axis shows no more labels than it may have ticks; longer lists are refused.
TextBox* AxisImpl::setLabels(StringArray labels) {
    if (labels.data && labels.len > kMaxTicks) return nullptr;
    touch();
    scale_.setLabels(AxisScale::labelsFromTexts(labels));
    return &labelStyle_;
}

TextBox* AxisImpl::setLabels(DoubleArray labels, const char* formatString) {
    if (labels.data && labels.len > kMaxTicks) return nullptr;
    touch();
    scale_.setLabels(AxisScale::labelsFromValues(labels, formatString ? formatString : ""));
    return &labelStyle_;
}

void AxisImpl::addLabel(double pos, const char* label) {
    touch();
    scale_.addLabel(pos, label ? label : "");
}

void AxisImpl::setAutoScale(double topExtension, double bottomExtension, double zeroAffinity) {
    touch();
    scale_.setAutoScale(topExtension, bottomExtension, zeroAffinity);
}

void AxisImpl::setTickDensity(int majorTickSpacing, int minorTickSpacing) {
    touch();
    scale_.setTickDensity(majorTickSpacing, minorTickSpacing);
}

TextBox* AxisImpl::setLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) {
    touch();
    labelStyle_.setFontStyle(font, 0);
    labelStyle_.setFontSize(fontSize, 0);
    labelStyle_.setFontColor(fontColor);
    labelStyle_.setFontAngle(fontAngle, false);
    scale_.setLabelAngle(std::isfinite(fontAngle) ? fontAngle : 0);
    markLaidOutStale();
    return &labelStyle_;
}

void AxisImpl::setLabelFormat(const char* formatString) {
    touch();
    std::string f = formatString ? formatString : "";
    userFormat_ = !f.empty();
    scale_.setLabelFormat(f);
}

void AxisImpl::setMultiFormat(int filterId, const char* formatString, int filterId2, const char* formatString2,
                              int labelSpan, bool promoteFirst) {
    touch();
    userFormat_ = true;
    scale_.setMultiFormat(unpackLabelFilter(filterId), formatString ? formatString : "",
                          unpackLabelFilter(filterId2), formatString2 ? formatString2 : "", labelSpan, promoteFirst);
}

void AxisImpl::setMultiFormat(int filterId, const char* formatString, int labelSpan, bool promoteFirst) {
    touch();
    userFormat_ = true;
    scale_.setMultiFormat(unpackLabelFilter(filterId), formatString ? formatString : "", labelSpan, promoteFirst);
}

void AxisImpl::setFormatCondition(const char* condition, double operand) {
    scale_.setFormatCondition(condition ? condition : "", operand);
}

void AxisImpl::setLabelStep(int majorTickStep, int minorTickStep, int majorTickOffset, int minorTickOffset) {
    touch();
    scale_.setLabelStep(majorTickStep, minorTickStep, majorTickOffset, minorTickOffset);
}

void AxisImpl::setLabelOffset(double offset) {
    if (std::isfinite(offset)) labelOffset_ = std::clamp(offset, -1e6, 1e6);
}

void AxisImpl::setLabelAlignment(int alignment, int minLabelSpace) {
    labelAlignment_ = alignment == Chart::Left || alignment == Chart::Center || alignment == Chart::Right ? alignment
                                                                                                          : -1;
    minLabelSpace_ = std::clamp(minLabelSpace, 0, 10000);
}

TextBox* AxisImpl::setTitle(const char* text, const char* font, double fontSize, int fontColor) {
    touch();
    title_.setText(text);
    title_.setFontStyle(font && *font ? font : "bold", 0);
    title_.setFontSize(fontSize, 0);
    title_.setFontColor(fontColor);
    return &title_;
}

void AxisImpl::setTitlePos(int alignment, int titleGap) {
    titlePos_ = alignment;
    titleGap_ = std::clamp(titleGap, -10000, 10000);
}

void AxisImpl::setColors(int axisColor, int labelColor, int titleColor, int tickColor) {
    touch();
    axisColor_ = axisColor;
    labelStyle_.setFontColor(labelColor);
    titleColor_ = titleColor;
    if (titleColor != -1) title_.setFontColor(titleColor);
    tickColor_ = tickColor;
}

void AxisImpl::setTickLength(int majorTickLen) {
    majorTickLength_ = std::clamp(majorTickLen, -10000, 10000);
    minorTickLength_ = static_cast<int>(std::floor(majorTickLength_ * 0.6 + 0.5));
}

void AxisImpl::setTickLength(int majorTickLen, int minorTickLen) {
    majorTickLength_ = std::clamp(majorTickLen, -10000, 10000);
    minorTickLength_ = std::clamp(minorTickLen, -10000, 10000);
}

void AxisImpl::setTickWidth(int majorTickWidth, int minorTickWidth) {
    majorTickWidth_ = std::clamp(majorTickWidth, 0, 1000);
    minorTickWidth_ = minorTickWidth < 0 ? -1 : std::min(minorTickWidth, 1000);
}

void AxisImpl::setTickColor(int majorTickColor, int minorTickColor) {
    tickColor_ = majorTickColor;
    minorTickColor_ = minorTickColor;
}

void AxisImpl::setWidth(int width) { lineWidth_ = std::clamp(width, 0, 1000); }

void AxisImpl::setOffset(int x, int y) {
    offsetX_ = std::clamp(x, -100000, 100000);
    offsetY_ = std::clamp(y, -100000, 100000);
}

void AxisImpl::setAngle(double startAngle) {
    if (!std::isfinite(startAngle)) return;
    touch();
    angle_ = std::fmod(startAngle, 360.0);
    if (angle_ < 0) angle_ += 360;
    orient();
}

void AxisImpl::setMargin(int topMargin, int bottomMargin) {
    marginTop_ = std::clamp(topMargin, 0, 100000);
    marginBottom_ = std::clamp(bottomMargin, 0, 100000);
}

void AxisImpl::setTickOffset(double offset) {
    if (std::isfinite(offset)) tickOffset_ = std::clamp(offset, -1e6, 1e6);
}

void AxisImpl::syncAxis(const Axis* axis, double slope, double intercept) {
    auto* other = dynamic_cast<const AxisImpl*>(axis);
    if (!other) return;
    touch();
    scale_.syncAxis(&other->scale_, slope, intercept);
}

void AxisImpl::copyAxis(const Axis* axis) {
    auto* other = dynamic_cast<const AxisImpl*>(axis);
    if (!other || other == this) return;
    touch();
    scale_.copyAxis(other->scale_);
    orient();
    userFormat_ = other->userFormat_;
    labelGap_ = other->labelGap_;
    labelOffset_ = other->labelOffset_;
    axisColor_ = other->axisColor_;
    lineWidth_ = other->lineWidth_;
    tickColor_ = other->tickColor_;
    minorTickColor_ = other->minorTickColor_;
    majorTickLength_ = other->majorTickLength_;
    minorTickLength_ = other->minorTickLength_;
    majorTickWidth_ = other->majorTickWidth_;
    minorTickWidth_ = other->minorTickWidth_;
    tickOffset_ = other->tickOffset_;
}

Mark* AxisImpl::addMark(double value, int lineColor, const char* text, const char* font, double fontSize) {
    auto mark = std::make_unique<MarkImpl>(area_, value, lineColor);
    mark->setText(text);
    mark->setFontStyle(font, 0);
    mark->setFontSize(fontSize, 0);
    marks_.push_back(std::move(mark));
    return marks_.back().get();
}

void AxisImpl::addZone(double startValue, double endValue, int color) {
    if (startValue == Chart::NoValue || endValue == Chart::NoValue || std::isnan(startValue) || std::isnan(endValue))
        return;
    zones_.push_back({startValue, endValue, color});
}

void AxisImpl::place(int x, int y, int length) {
    x_ = x;
    y_ = y;
    length_ = userLength_ > 0 ? userLength_ : std::max(length, 0);
    lineShift_ = 0;
    scale_.setLength(length_);
    if (isVertical()) {
        scale_.setMargins(marginBottom_, marginTop_);
        scale_.setPlacement(y + offsetY_, -1);
    } else {
        scale_.setMargins(marginTop_, marginBottom_);
        scale_.setPlacement(x + offsetX_, 1);
    }
    markLaidOutStale();
}

void AxisImpl::moveLine(int at) {
    lineShift_ = at - (isVertical() ? x_ + offsetX_ : y_ + offsetY_);
}

void AxisImpl::layout(double dataMin, double dataMax) {
    scale_.setLabelAngle(labelStyle_.fontAngle());
    scale_.layout(dataMin, dataMax);
    markLaidOutStale();
}

DoubleArray AxisImpl::getTicks() {
    tickValues_.clear();
    for (const AxisTick& t : scale_.getTicks()) tickValues_.push_back(t.value);
    return DoubleArray(tickValues_.data(), static_cast<int>(tickValues_.size()));
}

}  // namespace plotvane

// The scale of a meter is a table from values to marks: "^" a major tick labelled with its value,
// "-" a minor tick, ":" a micro tick, any other text a major tick labelled with that text. Scales
// built from increments fill the table once; later addLabel calls edit it. Increments are held to
// a floor (a 2,000th of the span for majors, less for the others) so no call can ask for millions
// of ticks.

#include "chart/other/basemeter_p.h"

#include <algorithm>
#include <cmath>

#include "chart/xy/labelbox_p.h"
#include "foundation/lasterror_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

namespace {

constexpr int kDecorationZ = 4095;
constexpr int kUnderScaleZ = 8191;
constexpr int kUnderPointersZ = 65534;
// Twice what the finest increments make (a mark every 50,000th of the scale).
constexpr size_t kMaxTableEntries = 100000;

bool isGiven(double v) { return std::isfinite(v) && v != Chart::NoValue; }

// True, with the reason left for lastError, when a scale cannot hold that many labels.
bool tooManyLabels(int count) {
    if (count <= 0 || static_cast<size_t>(count) <= kMaxTableEntries) return false;
    setLastError("%d meter labels are more than the scale can hold (at most %zu)", count, kMaxTableEntries);
    return true;
}

// Decorations are chart objects, so the program's own objects interleave with them by z.
class Decoration : public DrawObj {
public:
    explicit Decoration(std::function<void(DrawArea*)> paint) : paint_(std::move(paint)) { setZOrder(kDecorationZ); }
    void paint(DrawArea* d) override { paint_(d); }

private:
    std::function<void(DrawArea*)> paint_;
};

}  // namespace

BaseMeterImpl::BaseMeterImpl() : axisColor_(Chart::LineColor), axisWidth_(1) {}

BaseMeterImpl::~BaseMeterImpl() = default;

void BaseMeterImpl::initStyles(const char* font, double fontSize, int axisColor, int axisWidth,
                               const int tickWidths[3]) {
    labelStyle().setFontStyle(font, 0);
    labelStyle().setFontSize(fontSize, 0);
    axisColor_ = axisColor;
    axisWidth_ = axisWidth;
    std::copy(tickWidths, tickWidths + 3, tickWidth_);
}

LabelBox& BaseMeterImpl::labelStyle() {
    if (!labelStyle_) {
        labelStyle_ = std::make_unique<LabelBox>(getRawDrawArea());
        labelStyle_->setDefault(defaultTextBox());
        labelStyle_->setMargin(0);
        labelStyle_->setFontStyle("bold", 0);
        labelStyle_->setFontSize(10, 0);
    }
    return *labelStyle_;
}

std::unique_ptr<LabelBox> BaseMeterImpl::makeLabel(const std::string& text, int x, int y, int alignment) {
    return labelStyle().copyWith(text, x, y, alignment);
}

void BaseMeterImpl::setScale(double lowerLimit, double upperLimit, double majorTickInc, double minorTickInc,
                             double microTickInc) {
    table_.clear();
    if (!std::isfinite(lowerLimit) || !std::isfinite(upperLimit)) return;
    lower_ = lowerLimit;
    upper_ = upperLimit;
    if (lowerLimit == upperLimit || !isGiven(majorTickInc) || majorTickInc == 0) return;
    double lo = std::min(lowerLimit, upperLimit), hi = std::max(lowerLimit, upperLimit), span = hi - lo;
    if (!std::isfinite(span)) return;
    auto step = [&](double inc, double floorDivisor) {
        return isGiven(inc) && inc != 0 ? std::max(std::fabs(inc), span / floorDivisor) : 0.0;
    };
    double major = step(majorTickInc, 2000), minor = step(minorTickInc, 10000), micro = step(microTickInc, 50000);
    double eps = major * 0.0001;
    double lastMajor = isFullCircle() ? hi - eps : hi + eps;
    // Micro ticks between a and b, exclusive.
    auto addMicros = [&](double a, double b) {
        if (micro <= 0) return;
        for (int k = 1; a + k * micro < b - eps; ++k) table_.emplace(a + k * micro, ":");
    };
    for (int i = 0;; ++i) {
        double v = lo + i * major;
        if (v > lastMajor) break;
        table_.emplace(v, "^");
        double end = std::min(v + major, hi), from = v;
        if (minor > 0) {
            for (int k = 1; v + k * minor < end - eps; ++k) {
                double m = v + k * minor;
                table_.emplace(m, "-");
                addMicros(from, m);
                from = m;
            }
        }
        addMicros(from, end);
    }
}

void BaseMeterImpl::setScale(double lowerLimit, double upperLimit, StringArray labels) {
    if (labels.data && tooManyLabels(labels.len)) return;
    table_.clear();
    if (!std::isfinite(lowerLimit) || !std::isfinite(upperLimit)) return;
    lower_ = lowerLimit;
    upper_ = upperLimit;
    if (!labels.data || labels.len <= 0) return;
    int divisor = isFullCircle() ? labels.len : labels.len - 1;
    double step = (upperLimit - lowerLimit) / (divisor > 1 ? divisor : 1);
    for (int i = 0; i < labels.len; ++i) addLabel(lowerLimit + i * step, labels[i]);
}

void BaseMeterImpl::setScale(double lowerLimit, double upperLimit, DoubleArray labels, const char* formatString) {
    if (labels.data && tooManyLabels(labels.len)) return;
    std::vector<std::string> texts;
    for (int i = 0; labels.data && i < labels.len; ++i)
        texts.push_back(formatValueWithTemplate(getFormatter(), labels[i], formatString));
    std::vector<const char*> pointers;
    for (const std::string& t : texts) pointers.push_back(t.c_str());
    setScale(lowerLimit, upperLimit, StringArray(pointers.data(), static_cast<int>(pointers.size())));
}

void BaseMeterImpl::addLabel(double pos, const char* label) {
    if (!std::isfinite(pos)) return;
    if (!label || !*label) {
        table_.erase(pos);
    } else if (table_.size() < kMaxTableEntries || table_.count(pos)) {
        table_[pos] = label;
    } else {
        setLastError("the meter scale already holds %zu labels", kMaxTableEntries);
    }
}

const char* BaseMeterImpl::getLabel(double pos) {
    auto it = table_.find(pos);
    return it == table_.end() ? nullptr : it->second.c_str();
}

DoubleArray BaseMeterImpl::getTicks() {
    tickList_.clear();
    for (const auto& entry : table_) tickList_.push_back(entry.first);
    return DoubleArray(tickList_.data(), static_cast<int>(tickList_.size()));
}

TextBox* BaseMeterImpl::setLabelStyle(const char* font, double fontSize, int fontColor, double fontAngle) {
    LabelBox& style = labelStyle();
    style.setFontStyle(font, 0);
    if (fontSize >= 0) style.setFontSize(fontSize, 0);
    style.setFontColor(fontColor);
    style.setFontAngle(fontAngle, false);
    return &style;
}

void BaseMeterImpl::setLabelPos(bool labelInside, int labelOffset) {
    labelInside_ = labelInside;
    labelOffset_ = labelOffset;
}

void BaseMeterImpl::setTickLength(int majorLen) {
    setTickLength(majorLen, static_cast<int>(std::floor(majorLen * 0.6 + 0.5)));
}

void BaseMeterImpl::setTickLength(int majorLen, int minorLen) {
    setTickLength(majorLen, minorLen, static_cast<int>(std::floor(minorLen * 0.5 + 0.5)));
}

void BaseMeterImpl::setTickLength(int majorLen, int minorLen, int microLen) {
    tickLength_[kMajor] = majorLen;
    tickLength_[kMinor] = minorLen;
    tickLength_[kMicro] = microLen;
}

void BaseMeterImpl::setLineWidth(int axisWidth, int majorTickWidth, int minorTickWidth, int microTickWidth) {
    axisWidth_ = axisWidth;
    tickWidth_[kMajor] = majorTickWidth;
    tickWidth_[kMinor] = minorTickWidth;
    tickWidth_[kMicro] = microTickWidth;
}

void BaseMeterImpl::setMeterColors(int axisColor, int labelColor, int tickColor) {
    axisColor_ = axisColor;
    if (labelColor != -1) labelStyle().setFontColor(labelColor);
    if (tickColor != -1) std::fill(tickColor_, tickColor_ + 3, tickColor);
}

MeterPointer* BaseMeterImpl::addPointer(double value, int fillColor, int edgeColor) {
    return newPointer(value, fillColor, edgeColor);
}

MeterPointerImpl* BaseMeterImpl::newPointer(double value, int fillColor, int edgeColor) {
    auto* p = new MeterPointerImpl(this, value, fillColor, edgeColor, Chart::DiamondPointer, 1.0);
    addDrawObj(p);
    lastPointer_ = p;
    return p;
}

void BaseMeterImpl::addColorScale(DoubleArray colorStops, int startPos, int startWidth, int endPos, int endWidth,
                                  int edgeColor) {
    std::vector<std::pair<double, double>> pairs;
    for (int i = 0; colorStops.data && i + 1 < colorStops.len; i += 2)
        if (isGiven(colorStops[i]) && std::isfinite(colorStops[i + 1]))
            pairs.emplace_back(colorStops[i], colorStops[i + 1]);
    if (pairs.empty()) return;
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    auto scale = std::make_shared<ColorScale>(ColorScale{{}, startPos, startWidth, endPos, endWidth, edgeColor});
    for (const auto& p : pairs) {
        scale->stops.push_back(p.first);
        scale->stops.push_back(p.second);
    }
    addDecoration([this, scale](DrawArea* d) { paintColorScale(d, *scale); });
}

void BaseMeterImpl::paintColorScale(DrawArea* d, const ColorScale& scale) {
    constexpr int kAutomatic = -2147483647;
    int major = tickLength(kMajor);
    int pos0 = scale.startPos == kAutomatic ? 0 : scale.startPos;
    int width0 = scale.startWidth == kAutomatic ? major : scale.startWidth;
    int pos1 = scale.endPos == kAutomatic ? pos0 : scale.endPos;
    int width1 = scale.endWidth == kAutomatic ? width0 : scale.endWidth;
    double lo = std::min(lower_, upper_), hi = std::max(lower_, upper_);
    // The band's place and width change evenly along the whole scale.
    auto offset = [=](double v, bool farSide) {
        double t = hi == lo ? 0 : (v - lower_) / (upper_ - lower_);
        return pos0 + (pos1 - pos0) * t + (farSide ? width0 + (width1 - width0) * t : 0);
    };
    const std::vector<double>& s = scale.stops;
    for (size_t i = 0; i + 3 < s.size(); i += 2) {
        double v1 = std::clamp(s[i], lo, hi), v2 = std::clamp(s[i + 2], lo, hi);
        if (v1 == v2) continue;
        paintColorSegment(d, {v1, v2, static_cast<int>(s[i + 1]), static_cast<int>(s[i + 3]),
                              scale.edgeColor == -1 ? Chart::Transparent : scale.edgeColor, offset});
    }
}

int BaseMeterImpl::getCoor(double v) {
    double c = exactCoor(v);
    return std::isfinite(c) && std::fabs(c) < 1e9 ? static_cast<int>(std::floor(c + 0.5)) : Chart::NoIntValue;
}

void BaseMeterImpl::forgetDrawObj(DrawObj* obj) {
    BaseChartImpl::forgetDrawObj(obj);
    if (obj == lastPointer_) lastPointer_ = nullptr;
}

void BaseMeterImpl::addDecoration(std::function<void(DrawArea*)> paint) { addDrawObj(new Decoration(std::move(paint))); }

std::vector<BaseMeterImpl::Tick> BaseMeterImpl::ticksToPaint() {
    std::vector<Tick> ticks;
    double lo = std::min(lower_, upper_), hi = std::max(lower_, upper_);
    double eps = (hi - lo) * 1e-9;
    for (const auto& [value, mark] : table_) {
        if (value < lo - eps || value > hi + eps) continue;
        if (mark == "-") {
            ticks.push_back({value, kMinor, ""});
        } else if (mark == ":") {
            ticks.push_back({value, kMicro, ""});
        } else {
            std::string label = mark == "^" ? formatValueWithTemplate(getFormatter(), value, labelFormat_.c_str()) : mark;
            ticks.push_back({value, kMajor, label});
        }
    }
    return ticks;
}

void BaseMeterImpl::onPaint() {
    drawExtraObjs(kUnderScaleZ);
    paintScale(getRawDrawArea(), ticksToPaint());
    drawExtraObjs(kUnderPointersZ);
    paintLast(getRawDrawArea());
}

}  // namespace plotvane

// The axis scale engine: settings in, scale out, and the value <-> pixel mapping.
//
// An axis is laid out once per rendering. The range comes from the user's bounds where given and
// from the data otherwise; the scale type is linear, date or logarithmic (an undecided axis whose
// range lies between 1800 and 2200 is taken to be a date axis). The length in pixels fixes how many
// intervals fit (one per 50 pixels when labels run along the axis, one per 20 when they stand
// across it), and the scalers in linearscale.cpp, logscale.cpp and datescale.cpp do the rest.
// Label axes skip the scalers: their ticks are where their labels are. Synced axes skip them too
// and take the other axis's ticks through value = slope * other + intercept, which is also how
// their coordinates are found, so a synced axis lines up with its source to the pixel.
//
// The mapping is kept as (log?, lo, hi, reversed, slope, intercept) rather than as a function of
// the axis, so that a synced scale can borrow its source's mapping whole.
#include "chart/xy/axisscale_p.h"

#include <plotvane/chart.h>

#include <algorithm>
#include <cmath>

#include "chart/xy/scalemath_p.h"

namespace plotvane {

namespace {

constexpr int kMaxLength = 10000000;

bool isMissing(double v) {
    return v == Chart::NoValue || !std::isfinite(v);
}

// Linear and date increments: TickInc-coded values are unwrapped, the log codes mean automatic.
double plainIncrement(double inc) {
    if (!(inc > 0) || inc >= Chart::LinearTick) return 0;
    return inc >= Chart::TickInc ? inc / Chart::TickInc : inc;
}

bool inDateRange(double v) {
    static const double from = Chart::chartTime(1800, 1, 1);
    static const double to = Chart::chartTime(2200, 1, 1);
    return v >= from && v <= to;
}

double effective(double user, double fallback) {
    return user == Chart::NoValue ? fallback : user;
}

std::vector<AxisTick> mergeTicks(const std::vector<double>& majors, const std::vector<double>& minors) {
    std::vector<AxisTick> ticks;
    ticks.reserve(majors.size() + minors.size());
    for (double v : majors) ticks.push_back({v, TickKind::Major, -1, -1});
    for (double v : minors) ticks.push_back({v, TickKind::Minor, -1, -1});
    std::stable_sort(ticks.begin(), ticks.end(),
                     [](const AxisTick& a, const AxisTick& b) { return a.value < b.value; });
    return ticks;
}

}  // namespace

double AxisScale::Mapping::valueAtRatio(double r) const {
    if (reversed) r = 1 - r;
    double u = log ? std::exp(std::log(lo) + r * (std::log(hi) - std::log(lo))) : lo + r * (hi * 0.5 - lo * 0.5) * 2;
    return slope * u + intercept;
}

void AxisScale::setBounds(double lower, double upper, double majorTickInc, double minorTickInc,
                          ScaleType type) {
    auto boundOf = [](double v) {
        if (v == Chart::DataBound) return Bound::Data;
        return isMissing(v) ? Bound::Chosen : Bound::Fixed;
    };
    type_ = type;
    labelMode_ = LabelMode::None;
    enumScale_ = false;
    scaleLabels_.clear();
    syncSource_ = nullptr;
    lowerBound_ = boundOf(lower);
    upperBound_ = boundOf(upper);
    lowerValue_ = lowerBound_ == Bound::Fixed ? lower : Chart::NoValue;
    upperValue_ = upperBound_ == Bound::Fixed ? upper : Chart::NoValue;
    swapped_ = false;
    if (lowerBound_ == Bound::Fixed && upperBound_ == Bound::Fixed && lowerValue_ > upperValue_) {
        std::swap(lowerValue_, upperValue_);
        swapped_ = majorTickInc == 0;
    }
    majorInc_ = majorTickInc;
    minorInc_ = minorTickInc;
    logTicks_ = 0;
}

void AxisScale::setLinearScale(double lower, double upper, double majorTickInc, double minorTickInc) {
    setBounds(lower, upper, plainIncrement(majorTickInc), plainIncrement(minorTickInc), Linear);
}

void AxisScale::setDateScale(double lower, double upper, double majorTickInc, double minorTickInc) {
    setBounds(lower, upper, plainIncrement(majorTickInc), plainIncrement(minorTickInc), Date);
}

void AxisScale::setLogScale(double lower, double upper, double majorTickInc, double minorTickInc) {
    int logTicks = 0;
    double major = 0;
    double minor = 0;
    if (majorTickInc == Chart::LogTick) {
        logTicks = 1;
    } else if (majorTickInc == Chart::LinearTick) {
        logTicks = 2;
    } else if (majorTickInc >= Chart::TickInc && majorTickInc < Chart::LinearTick) {
        logTicks = 2;
        major = majorTickInc / Chart::TickInc;
    } else if (majorTickInc > 1 && majorTickInc < Chart::TickInc) {
        major = majorTickInc;
    }
    if (logTicks == 2)
        minor = plainIncrement(minorTickInc);
    else if (major > 1 && minorTickInc > 1 && minorTickInc < major)
        minor = minorTickInc;
    setBounds(lower, upper, major, minor, Log);
    logTicks_ = logTicks;
}

void AxisScale::setLogScale(bool logScale) {
    type_ = logScale ? Log : Linear;
    enumScale_ = false;
}

void AxisScale::setEnumScale(bool enumScale) {
    if (enumScale) setBounds(Chart::NoValue, Chart::NoValue, 0, 0, Linear);
    enumScale_ = enumScale;
}

void AxisScale::setEvenLabels(double lower, double upper, const std::vector<AxisLabel>& labels,
                              ScaleType type) {
    auto pick = [](double v, double fallback) {
        return isMissing(v) || v == Chart::DataBound ? fallback : v;
    };
    setBounds(pick(lower, 0), pick(upper, std::max(static_cast<double>(labels.size()) - 1, 0.0)), 0, 0, type);
    // The labels carry the direction themselves: the first one stands at `lower` even above `upper`.
    if (swapped_) std::swap(lowerValue_, upperValue_);
    swapped_ = false;
    labelMode_ = LabelMode::Even;
    scaleLabels_ = labels;
}

void AxisScale::setLinearScale(double lower, double upper, const std::vector<AxisLabel>& labels) {
    setEvenLabels(lower, upper, labels, Linear);
}

void AxisScale::setLogScale(double lower, double upper, const std::vector<AxisLabel>& labels) {
    setEvenLabels(lower, upper, labels, Log);
}

void AxisScale::setDateScale(double lower, double upper, const std::vector<AxisLabel>& labels) {
    setEvenLabels(lower, upper, labels, Date);
}

void AxisScale::setLabels(const std::vector<AxisLabel>& labels) {
    setBounds(Chart::NoValue, Chart::NoValue, 0, 0, labels.empty() ? Undecided : Linear);
    // A label axis ignores its bounds; without labels the axis is back to automatic.
    lowerBound_ = upperBound_ = Bound::Auto;
    if (labels.empty()) return;
    labelMode_ = LabelMode::Enumerated;
    scaleLabels_ = labels;
}

void AxisScale::addLabel(double value, const std::string& text) {
    if (isMissing(value)) return;
    auto same = [value](const AxisLabel& l) { return l.value == value; };
    extraLabels_.erase(std::remove_if(extraLabels_.begin(), extraLabels_.end(), same), extraLabels_.end());
    if (text.empty() || extraLabels_.size() >= static_cast<size_t>(kMaxTicks)) return;
    AxisLabel label;
    label.value = value;
    label.text = text;
    extraLabels_.push_back(label);
}

std::vector<AxisLabel> AxisScale::labelsFromTexts(StringArray texts) {
    std::vector<AxisLabel> labels;
    if (texts.len <= 0 || !texts.data) return labels;
    labels.resize(texts.len);
    for (int i = 0; i < texts.len; ++i) labels[i].text = texts.data[i] ? texts.data[i] : "";
    return labels;
}

std::vector<AxisLabel> AxisScale::labelsFromValues(DoubleArray values, const std::string& format) {
    std::vector<AxisLabel> labels;
    if (values.len <= 0 || !values.data) return labels;
    labels.resize(values.len);
    for (int i = 0; i < values.len; ++i) {
        double v = values.data[i];
        AxisLabel& l = labels[i];
        if (v == Chart::MinorTickOnly)
            l.kind = TickKind::Minor;
        else if (v == Chart::MicroTickOnly)
            l.kind = TickKind::Micro;
        else if (isMissing(v))
            l.blank = true;
        else
            l.number = v;
        l.format = format;
    }
    return labels;
}

bool AxisScale::setAutoScale(double topExtension, double bottomExtension, double zeroAffinity) {
    auto clean = [](double v) { return isMissing(v) ? Chart::NoValue : std::max(v, 0.0); };
    double t = clean(topExtension);
    double b = clean(bottomExtension);
    if (effective(t, defaultTop_) + effective(b, defaultBottom_) >= 1) return false;
    topExtension_ = t;
    bottomExtension_ = b;
    zeroAffinity_ = isMissing(zeroAffinity) ? Chart::NoValue : std::clamp(zeroAffinity, 0.0, 1.0);
    return true;
}

bool AxisScale::setDefaultAutoScale(double topExtension, double bottomExtension, double zeroAffinity) {
    if (isMissing(topExtension) || isMissing(bottomExtension) || isMissing(zeroAffinity)) return false;
    double t = std::max(topExtension, 0.0);
    double b = std::max(bottomExtension, 0.0);
    if (t + b >= 1) return false;
    defaultTop_ = t;
    defaultBottom_ = b;
    defaultZeroAffinity_ = std::clamp(zeroAffinity, 0.0, 1.0);
    return true;
}

void AxisScale::setRounding(bool roundMin, bool roundMax) {
    roundMin_ = roundMin;
    roundMax_ = roundMax;
}

void AxisScale::setTickDensity(int majorTickSpacing, int minorTickSpacing) {
    majorSpacing_ = std::max(majorTickSpacing, 0);
    minorSpacing_ = std::max(minorTickSpacing, 0);
}

void AxisScale::setMinTickInc(double inc) {
    minTickInc_ = isMissing(inc) || inc < 0 ? 0 : inc;
}

void AxisScale::setReverse(bool reverse) {
    reversed_ = reverse;
}

void AxisScale::setOrientation(int position, double angle) {
    position_ = position;
    axisAngle_ = std::isfinite(angle) ? angle : 0;
}

void AxisScale::setLength(int length) {
    length_ = std::clamp(length, 0, kMaxLength);
}

void AxisScale::setMargins(int startMargin, int endMargin) {
    startMargin_ = std::clamp(startMargin, 0, kMaxLength);
    endMargin_ = std::clamp(endMargin, 0, kMaxLength);
}

void AxisScale::setPlacement(double origin, int direction) {
    origin_ = std::isfinite(origin) ? std::clamp(origin, -1e9, 1e9) : 0;
    direction_ = direction < 0 ? -1 : 1;
}

bool AxisScale::isVertical() const {
    if (position_ == Chart::Left || position_ == Chart::Right) return true;
    if (position_ != Chart::Center) return false;
    double a = std::fmod(axisAngle_, 360);
    if (a < 0) a += 360;
    return a >= 300 || a <= 60 || (a >= 120 && a <= 240);
}

bool AxisScale::labelsAlongAxis() const {
    double a = std::isfinite(labelAngle_) ? std::fmod(labelAngle_, 180) : 0;
    if (a < 0) a += 180;
    if (isVertical()) return a >= 75.1 && a <= 104.9;
    return a < 15 || a > 165;
}

int AxisScale::labelAnchor(bool labelsBelow) const {
    double a = std::isfinite(labelAngle_) ? std::fmod(labelAngle_, 180) : 0;
    if (a < 0) a += 180;
    if (a > 15 && a < 75) return labelsBelow ? Chart::TopRight : Chart::BottomLeft;
    if (a > 105 && a < 165) return labelsBelow ? Chart::TopLeft : Chart::BottomRight;
    return labelsBelow ? Chart::TopCenter : Chart::BottomCenter;
}

int AxisScale::usableLength() const {
    return length_ - startMargin_ - endMargin_;
}

int AxisScale::intervals() const {
    int spacing = majorSpacing_ > 0 ? majorSpacing_ : (labelsAlongAxis() ? 50 : 20);
    return std::max(usableLength() / spacing, 1);
}

int AxisScale::minorPerMajor() const {
    if (minorSpacing_ <= 0) return 1;
    return std::max(usableLength() / intervals() / minorSpacing_, 1);
}

bool AxisScale::runsBackwards() const {
    if (syncSource_) return syncSource_->runsBackwards() != (syncSlope_ < 0);
    return reversed_ != swapped_;
}

bool AxisScale::syncAxis(const AxisScale* other, double slope, double intercept) {
    if (other == this || !std::isfinite(slope) || slope == 0 || !std::isfinite(intercept)) return false;
    syncSource_ = other;
    syncSlope_ = slope;
    syncIntercept_ = intercept;
    return true;
}

void AxisScale::copyAxis(const AxisScale& other) {
    if (&other == this) return;
    AxisScale mine = *this;
    *this = other;
    position_ = mine.position_;
    axisAngle_ = mine.axisAngle_;
    length_ = mine.length_;
    startMargin_ = mine.startMargin_;
    endMargin_ = mine.endMargin_;
    origin_ = mine.origin_;
    direction_ = mine.direction_;
    syncAxis(&other, 1, 0);
}

void AxisScale::clearResults() {
    empty_ = true;
    laidOutType_ = Undecided;
    lower_ = upper_ = step_ = minorStep_ = 0;
    mapping_ = Mapping();
    ticks_.clear();
    scaleTicks_.clear();
    formats_.clear();
    labelTable_.clear();
    scaleLabelCount_ = 0;
    precision_ = 0;
    dateUnit_ = DateUnit::None;
    labelSpan_ = 1;
}

void AxisScale::finishRange(double lower, double upper, bool log) {
    lower_ = lower;
    upper_ = upper;
    mapping_ = Mapping();
    mapping_.log = log;
    mapping_.lo = lower;
    mapping_.hi = upper;
    mapping_.reversed = reversed_ != swapped_;
    empty_ = false;
}

void AxisScale::layout(double dataMin, double dataMax) {
    clearResults();
    if (syncSource_)
        layoutSynced();
    else if (labelMode_ != LabelMode::None)
        layoutLabels();
    else if (enumScale_)
        layoutEnumerated(dataMin, dataMax);
    else
        layoutAuto(dataMin, dataMax);
    if (empty_) {
        clearResults();
        return;
    }
    scaleTicks_ = ticks_;
    scaleLabelCount_ = labelTable_.size();
    placeExtraLabels();
    applyLabelStep();
    chooseFormats();
}

void AxisScale::layoutAuto(double dataMin, double dataMax) {
    bool noData = isMissing(dataMin) || isMissing(dataMax) || dataMin > dataMax;
    bool fixedLo = lowerBound_ == Bound::Fixed;
    bool fixedHi = upperBound_ == Bound::Fixed;
    // A log axis ignores bounds it cannot show.
    if (type_ == Log && fixedLo && !(lowerValue_ > 0)) fixedLo = false;
    if (type_ == Log && fixedHi && !(upperValue_ > 0)) fixedHi = false;
    if (noData && !(fixedLo && fixedHi)) return;

    double lo = fixedLo ? lowerValue_ : dataMin;
    double hi = fixedHi ? upperValue_ : dataMax;
    if (lo > hi) {
        if (fixedLo && fixedHi)
            std::swap(lo, hi);
        else if (fixedLo)
            hi = lo;
        else
            lo = hi;
    }
    ScaleType type = type_ != Undecided ? type_ : (inDateRange(lo) && inDateRange(hi) ? Date : Linear);

    auto bound = [](Bound b, bool fixed) {
        return fixed ? Bound::Fixed : (b == Bound::Fixed ? Bound::Chosen : b);
    };
    Bound lb = bound(lowerBound_, fixedLo);
    Bound ub = bound(upperBound_, fixedHi);
    ScaleRequest q;
    q.lo = lo;
    q.hi = hi;
    q.fixedLo = lb == Bound::Fixed || lb == Bound::Data;
    q.fixedHi = ub == Bound::Fixed || ub == Bound::Data;
    q.extendLo = lb == Bound::Auto;
    q.extendHi = ub == Bound::Auto;
    q.roundLo = roundMin_ && !q.fixedLo;
    q.roundHi = roundMax_ && !q.fixedHi;
    if (type == Date) {
        q.topExtension = effective(topExtension_, 0);
        q.bottomExtension = effective(bottomExtension_, 0);
    } else {
        q.topExtension = effective(topExtension_, defaultTop_);
        q.bottomExtension = effective(bottomExtension_, defaultBottom_);
        q.zeroAffinity = effective(zeroAffinity_, defaultZeroAffinity_);
    }
    q.intervals = intervals();
    q.minorPerMajor = minorPerMajor();
    q.minTickInc = minTickInc_;
    q.majorInc = majorInc_;
    q.minorInc = minorInc_;
    q.logTicks = logTicks_;

    ScaleResult r = type == Log ? scaleLog(q) : type == Date ? scaleDate(q) : scaleLinear(q);
    if (r.empty || !std::isfinite(r.lower) || !std::isfinite(r.upper) || !(r.upper > r.lower)) return;
    finishRange(r.lower, r.upper, type == Log);
    laidOutType_ = type;
    step_ = r.step;
    minorStep_ = r.minorStep;
    ticks_ = mergeTicks(r.majors, r.minors);
}

void AxisScale::layoutLabels() {
    size_t n = scaleLabels_.size();
    if (n == 0) return;
    double a;
    double b;
    ScaleType type = labelMode_ == LabelMode::Enumerated ? Linear : type_;
    if (labelMode_ == LabelMode::Enumerated) {
        a = 0;
        b = static_cast<double>(n - 1);
    } else {
        a = lowerValue_;
        b = upperValue_;
        if (type == Log && !(a > 0 && b > 0)) type = Linear;
    }
    bool log = type == Log;
    double span = n > 1 ? static_cast<double>(n - 1) : 1.0;
    labelTable_ = scaleLabels_;
    for (size_t k = 0; k < n; ++k) {
        double f = static_cast<double>(k) / span;
        labelTable_[k].value = log ? a * std::pow(b / a, f) : a + f * (b - a);
    }
    double lo = std::min(a, b);
    double hi = std::max(a, b);
    if (labelMode_ == LabelMode::Enumerated && indent_ == 1) {
        lo -= 0.5;
        hi += 0.5;
    }
    if (lo == hi) {
        lo = log ? lo * (1 - 1e-5) : lo - 1e-5;
        hi = log ? hi * (1 + 1e-5) : hi + 1e-5;
    }
    finishRange(lo, hi, log);
    laidOutType_ = type;
    step_ = std::fabs(b - a) / span;
    minorStep_ = step_;
    for (size_t k = 0; k < n; ++k) {
        const AxisLabel& l = labelTable_[k];
        if (!l.blank) ticks_.push_back({l.value, l.kind, -1, static_cast<int>(k)});
    }
    std::stable_sort(ticks_.begin(), ticks_.end(),
                     [](const AxisTick& x, const AxisTick& y) { return x.value < y.value; });
}

void AxisScale::layoutEnumerated(double dataMin, double dataMax) {
    if (isMissing(dataMin) || isMissing(dataMax) || dataMin > dataMax) return;
    double first = std::round(dataMin), last = std::round(dataMax);
    if (!(last - first < kMaxTicks)) {
        layoutAuto(dataMin, dataMax);
        return;
    }
    double room = indent_ == 1 || first == last ? 0.5 : 0;
    finishRange(first - room, last + room, false);
    laidOutType_ = Linear;
    step_ = minorStep_ = 1;
    for (double v = first; v <= last; ++v) ticks_.push_back({v, TickKind::Major});
}

void AxisScale::layoutSynced() {
    const AxisScale& s = *syncSource_;
    if (s.empty_) return;
    double k = syncSlope_;
    double c = syncIntercept_;
    double a = k * s.lower_ + c;
    double b = k * s.upper_ + c;
    if (!std::isfinite(a) || !std::isfinite(b) || a == b) return;
    empty_ = false;
    lower_ = std::min(a, b);
    upper_ = std::max(a, b);
    mapping_ = s.mapping_;
    mapping_.slope = k * s.mapping_.slope;
    mapping_.intercept = k * s.mapping_.intercept + c;
    bool identity = k == 1 && c == 0;
    laidOutType_ = s.laidOutType_;
    if ((laidOutType_ == Log && (c != 0 || k < 0)) || (laidOutType_ == Date && k != 1)) laidOutType_ = Linear;
    step_ = std::fabs(k) * s.step_;
    minorStep_ = std::fabs(k) * s.minorStep_;
    if (identity) labelTable_.assign(s.labelTable_.begin(), s.labelTable_.begin() + s.scaleLabelCount_);
    for (const AxisTick& t : s.scaleTicks_)
        ticks_.push_back({k * t.value + c, t.kind, -1, identity ? t.label : -1});
    if (k < 0) std::reverse(ticks_.begin(), ticks_.end());
}

void AxisScale::placeExtraLabels() {
    if (extraLabels_.empty()) return;
    double tol = rangeTolerance(lower_, upper_);
    for (const AxisLabel& extra : extraLabels_) {
        if (extra.value < lower_ - tol || extra.value > upper_ + tol) continue;
        auto here = [&](const AxisTick& t) { return std::fabs(t.value - extra.value) <= tol; };
        ticks_.erase(std::remove_if(ticks_.begin(), ticks_.end(), here), ticks_.end());
        auto at = std::lower_bound(ticks_.begin(), ticks_.end(), extra.value,
                                   [](const AxisTick& t, double v) { return t.value < v; });
        ticks_.insert(at, {extra.value, TickKind::Major, -1, static_cast<int>(labelTable_.size())});
        labelTable_.push_back(extra);
    }
}

int AxisScale::labelAt(double value) const {
    if (empty_ || isMissing(value)) return -1;
    double v = labelMode_ == LabelMode::Enumerated && !syncSource_ ? std::round(value) : value;
    double tol = rangeTolerance(lower_, upper_);
    for (size_t i = 0; i < labelTable_.size(); ++i) {
        if (!labelTable_[i].blank && std::fabs(labelTable_[i].value - v) <= tol) return static_cast<int>(i);
    }
    return -1;
}

double AxisScale::coorOf(double value) const { return coorMap()(value); }

AxisScale::CoorMap AxisScale::coorMap() const {
    CoorMap m;
    m.mapping_ = mapping_;
    m.start_ = startMargin_;
    m.length_ = std::max(usableLength(), 0);
    m.empty_ = empty_;
    return m;
}

double AxisScale::valueAt(double offset) const {
    if (empty_ || std::isnan(offset)) return Chart::NoValue;
    int length = usableLength();
    double r = length > 0 ? (offset - startMargin_) / length : 0;
    double v = mapping_.valueAtRatio(std::clamp(r, -Mapping::kFarRatio, Mapping::kFarRatio));
    return std::isfinite(v) ? v : Chart::NoValue;
}

double AxisScale::pixelOf(double value) const {
    double c = coorOf(value);
    return c == Chart::NoValue ? c : origin_ + direction_ * c;
}

double AxisScale::valueAtPixel(double pixel) const {
    return valueAt((pixel - origin_) * direction_);
}

int AxisScale::getCoor(double value) const {
    double p = pixelOf(value);
    if (p == Chart::NoValue) return Chart::NoIntValue;
    return static_cast<int>(std::floor(std::clamp(p, -1e9, 1e9) + 0.5));
}

}  // namespace plotvane

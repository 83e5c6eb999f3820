// Which ticks carry labels, and in which format.
//
// The label step thins the major ticks first: every n-th keeps its label, some of the rest keep a
// bare minor tick. Then a format is chosen for each labelled tick. The user's plan is a list of
// entries, each guarded by a condition on the major step ("align" to a unit, comparisons, always,
// never); the first entry whose condition holds wins. An entry is either one format for every label
// or a multi-format: label filters pick the ticks that start a new period (a new day, a new year)
// for the first format and the others for the second, so an hourly axis can read "Mar 05" at
// midnight and "06:00" in between. Without a plan, numbers use the context precision and dates one
// format chosen from the ticks themselves: a date only when all ticks fall at midnight, a month when
// all fall on the first, a year when all fall on January 1st, the time as well otherwise.
//
// Nothing is formatted here: ticks get an index into a small list of format templates, and the
// renderer fills in the fields ("value", "label", "tickInc") with the formatter.
#include <plotvane/constants.h>

#include <algorithm>
#include <cmath>

#include "chart/xy/axisscale_p.h"
#include "foundation/charttime_p.h"
#include "foundation/periodstarts_p.h"

namespace plotvane {

namespace {

constexpr double kDay = 86400;

DatePeriod periodOf(int tag) {
    switch (tag) {
        case Chart::Plotvane_StartOfSecondFilterTag:
            return DatePeriod::Second;
        case Chart::Plotvane_StartOfMinuteFilterTag:
            return DatePeriod::Minute;
        case Chart::Plotvane_StartOfHourFilterTag:
            return DatePeriod::Hour;
        case Chart::Plotvane_StartOfDayFilterTag:
            return DatePeriod::Day;
        case Chart::Plotvane_StartOfWeekFilterTag:
            return DatePeriod::Week;
        case Chart::Plotvane_StartOfMonthFilterTag:
            return DatePeriod::Month;
        default:
            return DatePeriod::Year;
    }
}

// 1 where the filter passes a tick, -1 where it marks a minor position, 0 elsewhere.
std::vector<int> filterMarks(const LabelFilter& f, const std::vector<double>& values) {
    size_t n = values.size();
    std::vector<int> marks(n, 0);
    int step = std::max(f.step, 1);
    switch (f.tag) {
        case Chart::Plotvane_AllPassFilterTag:
            std::fill(marks.begin(), marks.end(), 1);
            return marks;
        case Chart::Plotvane_NonePassFilterTag:
            return marks;
        case Chart::Plotvane_SelectItemFilterTag:
            if (f.step >= 0 && static_cast<size_t>(f.step) < n) marks[f.step] = 1;
            return marks;
        case Chart::Plotvane_RegularSpacingFilterTag:
            for (size_t i = 0; i < n; ++i) {
                double k = std::fabs(static_cast<double>(i) - f.initialMargin);
                marks[i] = std::fmod(k, step) == 0 ? 1 : 0;
            }
            return marks;
        case Chart::Plotvane_StartOfSecondFilterTag:
        case Chart::Plotvane_StartOfMinuteFilterTag:
        case Chart::Plotvane_StartOfHourFilterTag:
        case Chart::Plotvane_StartOfDayFilterTag:
        case Chart::Plotvane_StartOfWeekFilterTag:
        case Chart::Plotvane_StartOfMonthFilterTag:
        case Chart::Plotvane_StartOfYearFilterTag:
            break;
        default:
            return marks;
    }
    PeriodStarts starts(periodOf(f.tag), step, f.initialMargin);
    for (size_t i = 0; i < n; ++i) marks[i] = starts.next(values[i]);
    return marks;
}

// Decimals (at most 4) that show every value to 1/10000.
int decimalsNeeded(const std::vector<double>& values) {
    int most = 0;
    for (double v : values) {
        double a = std::fabs(v);
        if (!(a < 1e11)) continue;
        double frac = std::fmod(std::round(a * 1e4), 1e4);
        int d = 4;
        while (d > 0 && std::fmod(frac, 10) == 0) {
            frac /= 10;
            --d;
        }
        most = std::max(most, d);
    }
    return most;
}

DateUnit dateUnitOf(double step) {
    if (step < 60) return DateUnit::Second;
    if (step < 3600) return DateUnit::Minute;
    if (step < kDay) return DateUnit::Hour;
    if (step < 2592000) return std::fmod(step, 7 * kDay) == 0 ? DateUnit::Week : DateUnit::Day;
    if (step < 31104000) return DateUnit::Month;
    if (step < 311040000) return DateUnit::Year;
    if (step < 3110400000.0) return DateUnit::Decade;
    return DateUnit::Century;
}

}  // namespace

void AxisScale::setLabelStep(int majorStep, int minorStep, int majorOffset, int minorOffset) {
    labelMajorStep_ = std::max(majorStep, 1);
    labelMinorStep_ = std::max(minorStep, 0);
    labelMajorOffset_ = std::max(majorOffset, 0);
    labelMinorOffset_ = minorOffset == Chart::NoIntValue ? labelMajorOffset_ : std::max(minorOffset, 0);
}

bool AxisScale::setFormatCondition(const std::string& condition, double operand) {
    static const struct {
        const char* name;
        Condition condition;
    } kConditions[] = {
        {"align", Condition::Align}, {"else", Condition::Always},     {"true", Condition::Always},
        {"false", Condition::Never}, {">=", Condition::GreaterEqual}, {"<=", Condition::LessEqual},
        {"==", Condition::Equal},    {"<>", Condition::NotEqual},     {"!=", Condition::NotEqual}};
    for (const auto& c : kConditions) {
        if (condition == c.name) {
            pending_ = FormatRule();
            pending_.condition = c.condition;
            pending_.operand = std::isfinite(operand) ? operand : 0;
            hasPendingCondition_ = true;
            return true;
        }
    }
    return false;
}

void AxisScale::addRule(FormatRule rule) {
    if (hasPendingCondition_) {
        rule.condition = pending_.condition;
        rule.operand = pending_.operand;
        hasPendingCondition_ = false;
        rules_.push_back(rule);
        return;
    }
    rules_.clear();
    // An empty plain format hands the labels back to the automatic choice.
    if (rule.multi || !rule.format.empty()) rules_.push_back(rule);
}

void AxisScale::setLabelFormat(const std::string& format) {
    FormatRule rule;
    rule.format = format;
    addRule(rule);
}

void AxisScale::setMultiFormat(const LabelFilter& filter1, const std::string& format1,
                               const LabelFilter& filter2, const std::string& format2, int labelSpan,
                               bool promoteFirst) {
    FormatRule rule;
    rule.multi = true;
    rule.twoFilters = true;
    rule.filter1 = filter1;
    rule.format = format1;
    rule.filter2 = filter2;
    rule.format2 = format2;
    rule.span = std::max(labelSpan, 1);
    rule.promoteFirst = promoteFirst;
    addRule(rule);
}

void AxisScale::setMultiFormat(const LabelFilter& filter, const std::string& format, int labelSpan,
                               bool promoteFirst) {
    FormatRule rule;
    rule.multi = true;
    rule.filter1 = filter;
    rule.format = format;
    rule.span = std::max(labelSpan, 1);
    rule.promoteFirst = promoteFirst;
    addRule(rule);
}

void AxisScale::applyLabelStep() {
    if (labelMajorStep_ == 1 && labelMajorOffset_ == 0) return;
    std::vector<AxisTick> kept;
    kept.reserve(ticks_.size());
    int index = 0;
    for (AxisTick t : ticks_) {
        if (t.kind == TickKind::Major) {
            int i = index++;
            bool labelled = i >= labelMajorOffset_ && (i - labelMajorOffset_) % labelMajorStep_ == 0;
            if (!labelled) {
                bool minor = labelMinorStep_ > 0 && i >= labelMinorOffset_ &&
                             (i - labelMinorOffset_) % labelMinorStep_ == 0;
                if (!minor) continue;
                t.kind = TickKind::Minor;
            }
        }
        kept.push_back(t);
    }
    ticks_.swap(kept);
}

int AxisScale::addFormat(const std::string& format) {
    auto it = std::find(formats_.begin(), formats_.end(), format);
    if (it != formats_.end()) return static_cast<int>(it - formats_.begin());
    formats_.push_back(format);
    return static_cast<int>(formats_.size() - 1);
}

bool AxisScale::ruleHolds(const FormatRule& rule) const {
    double step = step_;
    double x = rule.operand;
    double tol = std::max(std::fabs(x), std::fabs(step)) * 1e-9;
    switch (rule.condition) {
        case Condition::Always:
            return true;
        case Condition::Never:
            return false;
        case Condition::Align: {
            if (!(x > 0) || !(step > 0)) return false;
            double q = step / x;
            return q >= 1 - 1e-9 && std::fabs(q - std::round(q)) < 1e-6;
        }
        case Condition::GreaterEqual:
            return step >= x - tol;
        case Condition::LessEqual:
            return step <= x + tol;
        case Condition::Equal:
            return std::fabs(step - x) <= tol;
        case Condition::NotEqual:
            return std::fabs(step - x) > tol;
    }
    return false;
}

void AxisScale::applyRule(const FormatRule& rule, std::vector<size_t>& labelled) {
    labelSpan_ = rule.span;
    if (!rule.multi) {
        int f = addFormat(rule.format);
        for (size_t i : labelled) ticks_[i].format = f;
        return;
    }
    std::vector<double> values;
    values.reserve(labelled.size());
    for (size_t i : labelled) values.push_back(ticks_[i].value);
    std::vector<int> first = filterMarks(rule.filter1, values);
    std::vector<int> second =
        rule.twoFilters ? filterMarks(rule.filter2, values) : std::vector<int>(values.size(), 0);
    int f1 = addFormat(rule.format);
    int f2 = rule.twoFilters ? addFormat(rule.format2) : -1;
    for (size_t k = 0; k < labelled.size(); ++k) {
        int f = first[k] == 1 ? f1 : second[k] == 1 ? f2 : -1;
        // The first tick carries the fuller format, so the axis never starts without context.
        if (k == 0 && rule.promoteFirst) f = f1;
        ticks_[labelled[k]].format = f;
    }
}

std::string AxisScale::defaultDateFormat(const std::vector<size_t>& labelled) const {
    bool midnight = true;
    bool firstOfMonth = true;
    bool january = true;
    for (size_t i : labelled) {
        double t = ticks_[i].value;
        if (std::fabs(t - std::round(t / kDay) * kDay) > 1e-3) {
            midnight = false;
            break;
        }
        CalendarDate d = calendarDateOf(std::round(t));
        firstOfMonth = firstOfMonth && d.day == 1;
        january = january && d.month == 1;
    }
    if (!midnight) return labelsAlongAxis() ? "{value|mm/dd/yy\nhh:nn:ss}" : "{value|mm/dd/yy hh:nn:ss}";
    if (firstOfMonth && january) return "{value|yyyy}";
    if (firstOfMonth) return "{value|mm/yyyy}";
    return "{value|mm/dd/yyyy}";
}

void AxisScale::chooseFormats() {
    std::vector<size_t> labelled;
    std::vector<size_t> valueLabels;  // labelled ticks that show their value, not an explicit label
    std::vector<double> values;
    for (size_t i = 0; i < ticks_.size(); ++i) {
        if (ticks_[i].kind != TickKind::Major) continue;
        labelled.push_back(i);
        if (ticks_[i].label < 0) {
            valueLabels.push_back(i);
            values.push_back(ticks_[i].value);
        }
    }
    precision_ = decimalsNeeded(values);
    dateUnit_ = laidOutType_ == Date ? dateUnitOf(step_) : DateUnit::None;
    for (const FormatRule& rule : rules_) {
        if (ruleHolds(rule)) {
            applyRule(rule, labelled);
            return;
        }
    }
    if (valueLabels.size() < labelled.size()) {
        int f = addFormat("{label}");
        for (size_t i : labelled) {
            if (ticks_[i].label >= 0) ticks_[i].format = f;
        }
    }
    if (valueLabels.empty()) return;
    int f = addFormat(laidOutType_ == Date ? defaultDateFormat(valueLabels) : "{value|@}");
    for (size_t i : valueLabels) ticks_[i].format = f;
}

}  // namespace plotvane

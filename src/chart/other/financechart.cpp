// The finance chart: XY charts stacked in a multi-chart, each plot area the full width between the
// margins, the main chart first. Every series is computed over all the points given, history
// included, and only then cut to the shown part, so moving windows are filled from the first shown
// day. The x axis is the index of the trading day; its labels are the time stamps of the days that
// start a period (hour, day, month or year, the shortest that leaves room between labels), so
// weekends and holidays take no room. Only the bottom chart shows them; the others keep the grid.

#include "chart/other/financechart_p.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <plotvane/legendbox.h>

#include "foundation/charttime_p.h"
#include "foundation/lasterror_p.h"

namespace plotvane {

namespace {

bool valid(double v) { return v != Chart::NoValue && std::isfinite(v); }

Series copyOf(DoubleArray a, size_t n) {
    Series s(n, Chart::NoValue);
    if (a.data)
        for (size_t i = 0; i < n && i < static_cast<size_t>(a.len); ++i) s[i] = valid(a.data[i]) ? a.data[i] : Chart::NoValue;
    return s;
}

std::string format(const char* pattern, double a, double b = 0, double c = 0) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
    return buffer;
}

std::string formatInt(const char* pattern, int a, int b = 0, int c = 0) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
    return buffer;
}

// The bound of the other layers' data sets.
constexpr int kMaxPoints = 16777216;
// Points times period for the indicators that scan the window at every point: a tenth of a second
// or so at the bound.
constexpr double kMaxWindowWork = 1e8;

enum class Period { Hour, Day, Month, Year };

// A key that changes exactly when a new period starts.
long long periodKey(double t, Period p) {
    long long s = truncateTime(t);
    if (p == Period::Hour) return floorDiv(s, 3600);
    if (p == Period::Day) return floorDiv(s, 86400);
    CalendarDate d = calendarDateOf(t);
    return p == Period::Year ? d.year : d.year * 12 + d.month;
}

}  // namespace

FinanceChartImpl::FinanceChartImpl(int width) : width_(std::max(width, 1)), nextY_(top_) {
    setSize(width_, top_ + bottom_);
    BaseChartImpl::setBackground(Chart::BackgroundColor, Chart::Transparent, 0);
}

FinanceChartImpl::~FinanceChartImpl() {
    for (XYChart* c : charts_) c->destroy();
}

FinanceChart* FinanceChart::create(int width) { return new FinanceChartImpl(width); }

void FinanceChartImpl::setMargins(int leftMargin, int topMargin, int rightMargin, int bottomMargin) {
    // Margins shape the charts as they are added; afterwards they would tear the stack apart.
    if (!charts_.empty()) return;
    left_ = std::max(leftMargin, 0);
    top_ = std::max(topMargin, 0);
    right_ = std::max(rightMargin, 0);
    bottom_ = std::max(bottomMargin, 0);
    nextY_ = top_;
    setSize(width_, top_ + bottom_);
}

TextBox* FinanceChartImpl::addPlotAreaTitle(int alignment, const char* text) {
    XYChart* c = currentChart();
    if (!c) return BaseChartImpl::addTitle(alignment, text, "", 12, Chart::TextColor, Chart::Transparent, Chart::Transparent);
    return c->addTitle(alignment, text);
}

XYChart* FinanceChartImpl::addMainChart(int height) {
    if (main_) return main_;
    main_ = addIndicator(height);
    setMainChart(main_);
    if (logScale_) main_->yAxis()->setLogScale(true);
    else main_->yAxis()->setAutoScale(0.1, 0.1, 0);
    return main_;
}

XYChart* FinanceChartImpl::addIndicator(int height) {
    height = std::max(height, 1);
    int plotWidth = std::max(width_ - left_ - right_, 1);
    // Every chart reaches the bottom margin, where only the last one's labels stay visible; later
    // charts are transparent, so the overlap shows the one below.
    int offset = charts_.empty() ? 0 : gap_;
    XYChart* c = XYChart::create(width_, offset + height + bottom_, Chart::Transparent);
    c->setPlotArea(left_, offset, plotWidth, height, plotBg_, -1, borderColor_, hGrid_, vGrid_);
    c->getPlotArea()->setGridColor(hGrid_, vGrid_, minorHGrid_, minorVGrid_);
    c->setYAxisOnRight(axisOnRight_);
    c->yAxis()->setLabelStyle(yFont_.c_str(), yFontSize_, yFontColor_);
    c->yAxis()->setMargin(yAxisMargin_, 0);
    c->yAxis()->setAutoScale(0.1, 0.1, 0.8);
    c->xAxis()->setIndent(true);
    LegendBox* legend = c->addLegend(left_ + 3, offset + 1, false, legendFont_.c_str(), legendFontSize_);
    legend->setBackground(legendBg_);
    legend->setFontColor(legendFontColor_);
    legend->setKeySpacing(8);
    addChart(0, nextY_ - offset, c);
    nextY_ += height + offset;
    charts_.push_back(c);
    setSize(width_, nextY_ + bottom_);
    return c;
}

void FinanceChartImpl::setData(DoubleArray timeStamps, DoubleArray highData, DoubleArray lowData,
                               DoubleArray openData, DoubleArray closeData, DoubleArray volData, int extraPoints) {
    if (timeStamps.data && timeStamps.len > kMaxPoints) {
        setLastError("%d time stamps are more than a finance chart takes (at most %d)", timeStamps.len, kMaxPoints);
        return;
    }
    size_t n = timeStamps.data && timeStamps.len > 0 ? static_cast<size_t>(timeStamps.len) : 0;
    time_ = copyOf(timeStamps, n);
    high_ = copyOf(highData, n);
    low_ = copyOf(lowData, n);
    open_ = copyOf(openData, n);
    close_ = copyOf(closeData, n);
    vol_ = copyOf(volData, n);
    extra_ = std::clamp(extraPoints, 0, static_cast<int>(n));
}

void FinanceChartImpl::setDateLabelFormat(const char* yearFormat, const char* firstMonthFormat,
                                          const char* otherMonthFormat, const char* firstDayFormat,
                                          const char* otherDayFormat, const char* firstHourFormat,
                                          const char* otherHourFormat) {
    auto keep = [](std::string& target, const char* given) {
        if (given) target = given;
    };
    keep(yearFormat_, yearFormat);
    keep(firstMonthFormat_, firstMonthFormat);
    keep(otherMonthFormat_, otherMonthFormat);
    keep(firstDayFormat_, firstDayFormat);
    keep(otherDayFormat_, otherDayFormat);
    keep(firstHourFormat_, firstHourFormat);
    keep(otherHourFormat_, otherHourFormat);
}

void FinanceChartImpl::setToolTipDateFormat(const char* monthFormat, const char* dayFormat, const char* hourFormat) {
    if (monthFormat) monthTip_ = monthFormat;
    if (dayFormat) dayTip_ = dayFormat;
    if (hourFormat) hourTip_ = hourFormat;
}

void FinanceChartImpl::setNumberLabelFormat(const char* formatString) {
    if (formatString && *formatString) numberFormat_ = formatString;
}

void FinanceChartImpl::setXAxisStyle(const char* font, double fontSize, int fontColor, double fontAngle) {
    xFont_ = font ? font : "";
    xFontSize_ = fontSize;
    xFontColor_ = fontColor;
    xFontAngle_ = fontAngle;
}

void FinanceChartImpl::setYAxisStyle(const char* font, double fontSize, int fontColor, int axisMargin) {
    yFont_ = font ? font : "";
    yFontSize_ = fontSize;
    yFontColor_ = fontColor;
    yAxisMargin_ = std::max(axisMargin, 0);
}

void FinanceChartImpl::setLegendStyle(const char* font, double fontSize, int fontColor, int bgColor) {
    legendFont_ = font ? font : "";
    legendFontSize_ = fontSize;
    legendFontColor_ = fontColor;
    legendBg_ = bgColor;
}

void FinanceChartImpl::setPlotAreaBorder(int borderColor, int borderGap) {
    borderColor_ = borderColor;
    gap_ = borderGap > 0 ? borderGap : kDefaultGap;
}

void FinanceChartImpl::setPlotAreaStyle(int bgColor, int majorHGridColor, int majorVGridColor, int minorHGridColor,
                                        int minorVGridColor) {
    plotBg_ = bgColor;
    hGrid_ = majorHGridColor;
    vGrid_ = majorVGridColor;
    minorHGrid_ = minorHGridColor;
    minorVGrid_ = minorVGridColor;
}

Axis* FinanceChartImpl::setPercentageAxis() {
    if (!main_) return nullptr;
    Series c = shown(close_);
    auto first = std::find_if(c.begin(), c.end(), valid);
    if (first == c.end() || *first == 0) return nullptr;
    Axis* percent = main_->addAxis(axisOnRight_ ? Chart::Left : Chart::Right, 0);
    percent->syncAxis(main_->yAxis(), 100 / *first, -100);
    percent->setLabelStyle(yFont_.c_str(), yFontSize_, yFontColor_);
    percent->setLabelFormat("{value}%");
    return percent;
}

Series FinanceChartImpl::shown(const Series& full) const {
    if (full.size() <= static_cast<size_t>(extra_)) return {};
    return Series(full.begin() + extra_, full.end());
}

std::string FinanceChartImpl::label(const std::string& name, const Series& full) {
    Series s = shown(full);
    auto last = std::find_if(s.rbegin(), s.rend(), valid);
    if (last == s.rend()) return name;
    XYChart* c = charts_.empty() ? nullptr : charts_.back();
    const char* value = c ? c->formatValue(*last, numberFormat_.c_str()) : nullptr;
    return name + ": " + (value ? value : "");
}

LineLayer* FinanceChartImpl::line(XYChart* chart, const Series& full, int color, const std::string& name) {
    if (!chart) return nullptr;
    Series s = shown(full);
    LineLayer* layer = chart->addLineLayer(viewOf(s), color, label(name, full).c_str());
    return layer;
}

BarLayer* FinanceChartImpl::bars(XYChart* chart, const Series& full, int color, const std::string& name) {
    if (!chart) return nullptr;
    Series s = shown(full);
    BarLayer* layer = chart->addBarLayer(viewOf(s), color, label(name, full).c_str());
    layer->setBorderColor(Chart::Transparent);
    // A day is often narrower than a bar and its gap: touching bars stay visible.
    layer->setBarGap(Chart::TouchBar);
    return layer;
}

BarLayer* FinanceChartImpl::volumeBars(XYChart* chart, int upColor, int downColor, int flatColor,
                                       const std::string& name) {
    Calc delta(close_);
    delta->delta(1);
    Series d = shown(delta.values());
    Series v = shown(vol_);
    // Three overlaid data sets, each holding the days of one colour.
    Series up(v.size(), Chart::NoValue), down = up, flat = up;
    for (size_t i = 0; i < v.size(); ++i)
        (!valid(d[i]) || d[i] == 0 ? flat : d[i] > 0 ? up : down)[i] = v[i];
    BarLayer* layer = chart->addBarLayer(Chart::Overlay);
    layer->addDataSet(viewOf(up), upColor);
    layer->addDataSet(viewOf(down), downColor);
    layer->addDataSet(viewOf(flat), flatColor);
    layer->setBorderColor(Chart::Transparent);
    layer->setBarGap(Chart::TouchBar);
    layer->setLegend(Chart::NoLegend);
    if (LegendBox* legend = chart->getLegend())
        legend->addKey(label(name, vol_).c_str(), valid(d.empty() ? Chart::NoValue : d.back()) && d.back() < 0
                                                  ? downColor
                                                  : upColor);
    return layer;
}

InterLineLayer* FinanceChartImpl::band(const Series& upper, const Series& lower, int lineColor, int fillColor,
                                       const std::string& name) {
    if (!main_) return nullptr;
    LineLayer* top = line(main_, upper, lineColor, name);
    LineLayer* bottom = main_->addLineLayer(viewOf(shown(lower)), lineColor);
    return main_->addInterLineLayer(top->getLine(), bottom->getLine(), fillColor, fillColor);
}

Layer* FinanceChartImpl::addHLOC(int upColor, int downColor) {
    if (!main_) return nullptr;
    HLOCLayer* layer = main_->addHLOCLayer(viewOf(shown(high_)), viewOf(shown(low_)), viewOf(shown(open_)),
                                           viewOf(shown(close_)), upColor, downColor);
    describePrices(layer);
    return layer;
}

Layer* FinanceChartImpl::addCandleStick(int upColor, int downColor) {
    if (!main_) return nullptr;
    CandleStickLayer* layer = main_->addCandleStickLayer(viewOf(shown(high_)), viewOf(shown(low_)),
                                                         viewOf(shown(open_)), viewOf(shown(close_)), upColor,
                                                         downColor, Chart::LineColor);
    describePrices(layer);
    return layer;
}

void FinanceChartImpl::describePrices(Layer* layer) {
    Series t = shown(time_);
    // The typical step between days picks the date format: months, days or times of day.
    std::vector<double> steps;
    for (size_t i = 1; i < t.size(); ++i)
        if (valid(t[i]) && valid(t[i - 1])) steps.push_back(t[i] - t[i - 1]);
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    double step = steps.empty() ? 86400 : steps[steps.size() / 2];
    std::string date = step >= 28 * 86400.0 ? monthTip_ : step >= 86400 ? dayTip_ : hourTip_;
    // The axis labels are blank on most days, so the date comes from a field of the layer's own.
    for (size_t at; (at = date.find("{xLabel")) != std::string::npos;) date.replace(at, 7, "{field0");
    layer->addExtraField(viewOf(t));
    const char* n = numberFormat_.c_str();
    char tip[512];
    std::snprintf(tip, sizeof tip, "title='%s Op:{open|%s}, Hi:{high|%s}, Lo:{low|%s}, Cl:{close|%s}'", date.c_str(), n,
                  n, n, n);
    layer->setHTMLImageMap("", "", tip);

    // The latest day's prices, as far as they are known.
    std::string text;
    const std::pair<const char*, const Series*> parts[] = {
        {"Op:%s", &open_}, {"Hi:%s", &high_}, {"Lo:%s", &low_}, {"Cl:%s", &close_}};
    for (const auto& [pattern, series] : parts) {
        if (series->size() <= static_cast<size_t>(extra_) || !valid(series->back())) continue;
        char part[128];
        std::snprintf(part, sizeof part, pattern, main_->formatValue(series->back(), n));
        text += (text.empty() ? "" : ", ") + std::string(part);
    }
    layer->getDataSet(0)->setDataName(text.c_str());
}

LineLayer* FinanceChartImpl::addCloseLine(int color) { return line(main_, close_, color, "Closing Price"); }

LineLayer* FinanceChartImpl::addMedianPrice(int color) {
    Calc m(high_);
    m->add(viewOf(low_))->div(2);
    return line(main_, m.values(), color, "Median Price");
}

LineLayer* FinanceChartImpl::addTypicalPrice(int color) { return line(main_, typicalPrice(), color, "Typical Price"); }

LineLayer* FinanceChartImpl::addWeightedClose(int color) {
    Calc w(close_);
    w->mul(2)->add(viewOf(high_))->add(viewOf(low_))->div(4);
    return line(main_, w.values(), color, "Weighted Close");
}

LineLayer* FinanceChartImpl::addSimpleMovingAvg(int period, int color) {
    return line(main_, sma(close_, period), color, formatInt("SMA (%d)", period));
}

LineLayer* FinanceChartImpl::addExpMovingAvg(int period, int color) {
    return line(main_, emaOver(close_, period), color, formatInt("EMA (%d)", period));
}

LineLayer* FinanceChartImpl::addTriMovingAvg(int period, int color) {
    int m = period / 2 + 1;
    return line(main_, sma(sma(close_, m), m), color, formatInt("TMA (%d)", period));
}

bool FinanceChartImpl::windowWorkFits(int period, const char* indicator) const {
    // A window longer than the data sees no more than the data.
    double points = static_cast<double>(close_.size());
    if (points * std::min(static_cast<double>(period), points + 1) <= kMaxWindowWork) return true;
    setLastError("%s over %d periods of %.0f points is too much work", indicator, period, points);
    return false;
}

LineLayer* FinanceChartImpl::addWeightedMovingAvg(int period, int color) {
    if (!windowWorkFits(period, "a weighted moving average")) return nullptr;
    size_t n = static_cast<size_t>(std::max(period, 1));
    double weights = n * (n + 1.0) / 2.0;
    Series wma(close_.size(), Chart::NoValue);
    // A window with a missing price has no average.
    for (size_t i = n - 1; i < close_.size(); ++i) {
        double sum = 0;
        size_t k = 0;
        for (; k < n && close_[i - k] != Chart::NoValue; ++k) sum += static_cast<double>(n - k) * close_[i - k];
        if (k == n) wma[i] = sum / weights;
    }
    return line(main_, wma, color, formatInt("WMA (%d)", period));
}

LineLayer* FinanceChartImpl::addParabolicSAR(double accInitial, double accIncrement, double accMaximum,
                                             int symbolType, int symbolSize, int fillColor, int edgeColor) {
    // Stop-and-reverse: starts long, the stop trails the extreme price seen in the trend and
    // accelerates towards it at each new extreme. The stop never enters the range of the two bars
    // before, and a bar that crosses it reverses the trend.
    Series sar(close_.size(), Chart::NoValue);
    bool rising = true;
    int bars = 0;
    double stop = 0, extreme = 0, acc = accInitial;
    double highs[2] = {0, 0}, lows[2] = {0, 0};  // the last bar first
    for (size_t i = 0; i < close_.size(); ++i) {
        double h = high_[i], l = low_[i];
        if (!valid(h) || !valid(l)) continue;
        if (bars++ > 0) {
            stop += acc * (extreme - stop);
            int before = std::min(bars - 1, 2);
            if (rising) {
                for (int k = 0; k < before; ++k) stop = std::min(stop, lows[k]);
                if (l < stop) {
                    rising = false;
                    stop = extreme;
                    extreme = l;
                    acc = accInitial;
                } else if (h > extreme) {
                    extreme = h;
                    acc = std::min(acc + accIncrement, accMaximum);
                }
            } else {
                for (int k = 0; k < before; ++k) stop = std::max(stop, highs[k]);
                if (h > stop) {
                    rising = true;
                    stop = extreme;
                    extreme = h;
                    acc = accInitial;
                } else if (l < extreme) {
                    extreme = l;
                    acc = std::min(acc + accIncrement, accMaximum);
                }
            }
            sar[i] = stop;
        } else {
            stop = l;
            extreme = h;
        }
        highs[1] = highs[0];
        lows[1] = lows[0];
        highs[0] = h;
        lows[0] = l;
    }
    LineLayer* layer = line(main_, sar, Chart::Transparent, "Parabolic SAR");
    if (layer) {
        layer->setLineWidth(0);
        layer->getDataSet(0)->setDataSymbol(symbolType, symbolSize, fillColor, edgeColor);
    }
    return layer;
}

LineLayer* FinanceChartImpl::addComparison(DoubleArray data, int color, const char* name) {
    if (!main_) return nullptr;
    // Scaled to start at the first shown close, so both lines share the price axis.
    Series other = copyOf(data, close_.size());
    Series c = shown(close_), o = shown(other);
    double base = Chart::NoValue;
    for (size_t i = 0; i < c.size(); ++i)
        if (valid(c[i]) && valid(o[i]) && o[i] != 0) {
            base = c[i] / o[i];
            break;
        }
    Calc scaled(other);
    scaled->mul(base);
    return line(main_, scaled.values(), color, name ? name : "");
}

InterLineLayer* FinanceChartImpl::addBand(DoubleArray upperLine, DoubleArray lowerLine, int lineColor,
                                          int fillColor, const char* name) {
    return band(copyOf(upperLine, close_.size()), copyOf(lowerLine, close_.size()), lineColor, fillColor,
                name ? name : "");
}

InterLineLayer* FinanceChartImpl::addBollingerBand(int period, double bandWidth, int lineColor, int fillColor) {
    Series mid = sma(close_, period);
    Calc sd(close_);
    sd->movStdDev(period)->mul(bandWidth);
    Calc upper(mid), lower(mid);
    upper->add(sd->result());
    lower->sub(sd->result())->selectGTZ(DoubleArray(), 0);
    return band(upper.values(), lower.values(), lineColor, fillColor,
                format("Bollinger Band (%g, %g)", period, bandWidth));
}

InterLineLayer* FinanceChartImpl::addDonchianChannel(int period, int lineColor, int fillColor) {
    Calc upper(high_), lower(low_);
    upper->movMax(period);
    lower->movMin(period);
    return band(upper.values(), lower.values(), lineColor, fillColor, formatInt("Donchian (%d)", period));
}

InterLineLayer* FinanceChartImpl::addEnvelop(int period, double range, int lineColor, int fillColor) {
    Series mid = sma(close_, period);
    Calc upper(mid), lower(mid);
    upper->mul(1 + range);
    lower->mul(1 - range);
    return band(upper.values(), lower.values(), lineColor, fillColor,
                format("Envelop (SMA %g +/- %g%%)", period, range * 100));
}

BarLayer* FinanceChartImpl::addVolBars(int height, int upColor, int downColor, int flatColor) {
    if (!main_) return nullptr;
    BarLayer* layer = volumeBars(main_, upColor, downColor, flatColor, "Vol");
    // An axis of its own, scaled so the tallest bar is height pixels tall.
    Axis* axis = main_->addAxis(axisOnRight_ ? Chart::Left : Chart::Right, 0);
    double top = ArrayMath::max(viewOf(shown(vol_)));
    int plotHeight = main_->getPlotArea()->getHeight();
    if (top > 0 && height > 0) axis->setLinearScale(0, top * std::max(plotHeight, height) / height);
    axis->setColors(Chart::Transparent, Chart::Transparent);
    layer->setUseYAxis(axis);
    return layer;
}

void FinanceChartImpl::placeXLabels(XYChart* chart, bool visible) {
    Series t = shown(time_);
    int n = static_cast<int>(t.size());
    int plotWidth = std::max(width_ - left_ - right_, 1);
    int room = std::max(plotWidth / labelSpacing_, 1);
    // The shortest period (and step in it) whose starts leave room between labels; years are thinned
    // as far as needed. A label that starts the next longer period takes the bolder format.
    struct Choice {
        Period period;
        int step;
    };
    const Choice choices[] = {{Period::Hour, 1}, {Period::Hour, 2}, {Period::Hour, 3}, {Period::Hour, 6},
                              {Period::Day, 1},  {Period::Day, 2},  {Period::Day, 5},  {Period::Month, 1},
                              {Period::Month, 2}, {Period::Month, 3}, {Period::Month, 6}, {Period::Year, 1}};
    std::vector<int> starts;
    Choice chosen = choices[0];
    for (const Choice& choice : choices) {
        chosen = choice;
        starts.clear();
        for (int i = 0; i < n; ++i)
            if (valid(t[i]) && (starts.empty() || periodKey(t[i], choice.period) != periodKey(t[starts.back()], choice.period)))
                starts.push_back(i);
        if (static_cast<int>((starts.size() + choice.step - 1) / choice.step) <= room) break;
    }
    int step = chosen.period == Period::Year ? std::max(1, static_cast<int>((starts.size() + room - 1) / room))
                                             : chosen.step;
    Period longer = chosen.period == Period::Hour ? Period::Day
                    : chosen.period == Period::Day ? Period::Month
                                                   : Period::Year;
    const std::string* formats[][2] = {{&firstHourFormat_, &otherHourFormat_},
                                       {&firstDayFormat_, &otherDayFormat_},
                                       {&firstMonthFormat_, &otherMonthFormat_},
                                       {&yearFormat_, &yearFormat_}};
    const std::string** pair = formats[static_cast<int>(chosen.period)];

    Axis* x = chart->xAxis();
    // Blank positions make an axis of n days with ticks only where labels are added.
    x->setLabels(viewOf(Series(n, Chart::NoValue)));
    x->setLabelStyle(xFont_.c_str(), xFontSize_, visible ? xFontColor_ : Chart::Transparent, xFontAngle_);
    long long previousKey = 0;
    for (size_t k = 0; k < starts.size(); k += step) {
        double v = t[starts[k]];
        long long key = periodKey(v, longer);
        bool first = k == 0 || key != previousKey;
        previousKey = key;
        const char* text = chart->formatValue(v, (first ? *pair[0] : *pair[1]).c_str());
        x->addLabel(starts[k], text ? text : "");
    }
}

void FinanceChartImpl::onLayoutChart() {
    for (size_t i = 0; i < charts_.size(); ++i) placeXLabels(charts_[i], i + 1 == charts_.size());
    MultiChartImpl::onLayoutChart();
}

}  // namespace plotvane

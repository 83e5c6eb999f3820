// The indicator charts of the finance chart. Each indicator is an ArrayMath computation over the
// full price arrays (history included); ratios that can meet 0/0 on a flat price use financeDiv with
// the neutral value of that indicator, so a flat stretch draws a level line instead of a gap or a
// spike. Wilder's smoothing (RSI, ADX) is an exponential average with factor 1/n.

#include <algorithm>
#include <cstdio>

#include "chart/other/financechart_p.h"

namespace plotvane {

namespace {

std::string named(const char* pattern, int a, int b = 0, int c = 0) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
    return buffer;
}

Series deltaOf(const Series& x, int offset = 1) {
    Calc c(x);
    c->delta(offset);
    return c.values();
}

Series minus(const Series& a, const Series& b) {
    Calc c(a);
    c->sub(viewOf(b));
    return c.values();
}

// 100 * a / b with 0/0 given as the stated fraction.
Series percentOf(const Series& a, const Series& b, double zeroByZero) {
    Calc c(a);
    c->financeDiv(viewOf(b), zeroByZero)->mul(100);
    return c.values();
}

Series movMax(const Series& x, int n) {
    Calc c(x);
    c->movMax(n);
    return c.values();
}

Series movMin(const Series& x, int n) {
    Calc c(x);
    c->movMin(n);
    return c.values();
}

Series wilder(const Series& x, int n) { return ema(x, 1.0 / std::max(n, 1)); }

// Where the price sits in its n-day range, in percent.
Series rangePosition(const Series& value, const Series& high, const Series& low, int n, double zeroByZero) {
    Series top = movMax(high, n), bottom = movMin(low, n);
    return percentOf(minus(value, bottom), minus(top, bottom), zeroByZero);
}

}  // namespace

Series FinanceChartImpl::typicalPrice() const {
    Calc c(high_);
    c->add(viewOf(low_))->add(viewOf(close_))->div(3);
    return c.values();
}

Series FinanceChartImpl::clv() const {
    Calc c(close_);
    c->mul(2)->sub(viewOf(low_))->sub(viewOf(high_))->financeDiv(viewOf(minus(high_, low_)), 0);
    return c.values();
}

Series FinanceChartImpl::trueRange() const {
    Calc previous(close_);
    previous->shift(1);
    Series prev = previous.values();
    // max(H, prev) - min(L, prev) = H - L + (prev - H)+ + (L - prev)+
    Calc above(prev), below(low_);
    above->sub(viewOf(high_))->selectGTZ(DoubleArray(), 0);
    below->sub(viewOf(prev))->selectGTZ(DoubleArray(), 0);
    Calc tr(high_);
    tr->sub(viewOf(low_))->add(above->result())->add(below->result());
    return tr.values();
}

Series FinanceChartImpl::rsi(int period) const {
    Series d = deltaOf(close_);
    Calc gains(d), moves(d);
    gains->selectGTZ(DoubleArray(), 0);
    moves->abs();
    return percentOf(wilder(gains.values(), period), wilder(moves.values(), period), 0.5);
}

XYChart* FinanceChartImpl::lineChart(int height, const Series& full, int color, const std::string& name) {
    XYChart* c = addIndicator(height);
    line(c, full, color, name);
    return c;
}

XYChart* FinanceChartImpl::oscillator(int height, const Series& full, int color, const std::string& name,
                                      double range, int upColor, int downColor, bool bounded) {
    XYChart* c = addIndicator(height);
    LineLayer* layer = line(c, full, color, name);
    if (bounded) c->yAxis()->setLinearScale(0, 100);
    if (range > 0) addThreshold(c, layer, 50 + range, upColor, 50 - range, downColor);
    return c;
}

XYChart* FinanceChartImpl::convergence(int height, const Series& fast, const Series& slow, int period3, int color,
                                       int signalColor, int divColor, const std::string& name, bool percent) {
    Series value = percent ? percentOf(minus(fast, slow), slow, 0) : minus(fast, slow);
    Series signal = emaOver(value, period3);
    XYChart* c = addIndicator(height);
    line(c, value, color, name);
    line(c, signal, signalColor, named(percent ? "EMA (%d)" : "EXP (%d)", period3));
    bars(c, minus(value, signal), divColor, "Divergence");
    return c;
}

XYChart* FinanceChartImpl::stochastic(int height, const Series& k, int period2, int color1, int color2,
                                      const std::string& name, int period1) {
    XYChart* c = addIndicator(height);
    line(c, k, color1, named(name.c_str(), period1));
    line(c, sma(k, period2), color2, named("%%D (%d)", period2));
    c->yAxis()->setLinearScale(0, 100);
    return c;
}

XYChart* FinanceChartImpl::volumeIndex(int height, const Series& index, int period, int color, int signalColor,
                                       const std::string& name) {
    XYChart* c = addIndicator(height);
    line(c, index, color, name);
    line(c, sma(index, period), signalColor, named((name + " SMA (%d)").c_str(), period));
    return c;
}

XYChart* FinanceChartImpl::addVolIndicator(int height, int upColor, int downColor, int flatColor) {
    XYChart* c = addIndicator(height);
    volumeBars(c, upColor, downColor, flatColor, "Vol");
    c->yAxis()->setAutoScale(0.1, 0, 1);
    return c;
}

XYChart* FinanceChartImpl::addAccDist(int height, int color) {
    Calc adl(clv());
    adl->mul(viewOf(vol_))->acc();
    return lineChart(height, adl.values(), color, "Accumulation/Distribution");
}

void FinanceChartImpl::aroon(int period, Series& up, Series& down) const {
    // Days since the highest high (lowest low) of the last n + 1 days, as 100 (today) to 0 (n ago).
    int n = std::max(period, 1);
    size_t count = close_.size();
    up.assign(count, Chart::NoValue);
    down.assign(count, Chart::NoValue);
    for (size_t i = static_cast<size_t>(n); i < count; ++i) {
        int sinceHigh = -1, sinceLow = -1;
        for (int k = 0; k <= n; ++k) {
            double h = high_[i - k], l = low_[i - k];
            if (h != Chart::NoValue && (sinceHigh < 0 || h > high_[i - sinceHigh])) sinceHigh = k;
            if (l != Chart::NoValue && (sinceLow < 0 || l < low_[i - sinceLow])) sinceLow = k;
        }
        if (sinceHigh >= 0) up[i] = 100.0 * (n - sinceHigh) / n;
        if (sinceLow >= 0) down[i] = 100.0 * (n - sinceLow) / n;
    }
}

XYChart* FinanceChartImpl::addAroon(int height, int period, int upColor, int downColor) {
    if (!windowWorkFits(period, "Aroon")) return nullptr;
    Series up, down;
    aroon(period, up, down);
    XYChart* c = addIndicator(height);
    line(c, up, upColor, "Aroon Up");
    line(c, down, downColor, "Aroon Down");
    c->yAxis()->setLinearScale(0, 100);
    return c;
}

XYChart* FinanceChartImpl::addAroonOsc(int height, int period, int color) {
    if (!windowWorkFits(period, "the Aroon oscillator")) return nullptr;
    Series up, down;
    aroon(period, up, down);
    XYChart* c = lineChart(height, minus(up, down), color, named("Aroon Oscillator (%d)", period));
    c->yAxis()->setLinearScale(-100, 100);
    return c;
}

Series FinanceChartImpl::volumeIndexSeries(bool positive) const {
    // Moves with the price only on days when the volume falls (negative index) or rises (positive
    // index), starting from 1000.
    Series index(close_.size(), Chart::NoValue);
    double level = 1000;
    size_t last = close_.size();
    for (size_t i = 0; i < close_.size(); ++i) {
        if (close_[i] == Chart::NoValue || vol_[i] == Chart::NoValue) continue;
        if (last < i && close_[last] != 0) {
            bool counts = positive ? vol_[i] > vol_[last] : vol_[i] < vol_[last];
            if (counts) level *= close_[i] / close_[last];
        }
        index[i] = level;
        last = i;
    }
    return index;
}

XYChart* FinanceChartImpl::addADX(int height, int period, int posColor, int negColor, int color) {
    Series up = deltaOf(high_), down = deltaOf(low_);
    Calc downMove(down);
    downMove->mul(-1);
    Series dn = downMove.values();
    // Each move counts only where it is positive and beats the other.
    Calc plus(up), minusDm(dn);
    plus->selectGTZ(viewOf(minus(up, dn)), 0)->selectGTZ(DoubleArray(), 0);
    minusDm->selectGTZ(viewOf(minus(dn, up)), 0)->selectGTZ(DoubleArray(), 0);
    Series tr = wilder(trueRange(), period);
    Series plusDi = percentOf(wilder(plus.values(), period), tr, 0);
    Series minusDi = percentOf(wilder(minusDm.values(), period), tr, 0);
    Calc spread(minus(plusDi, minusDi));
    spread->abs();
    Calc total(plusDi);
    total->add(viewOf(minusDi));
    Series dx = percentOf(spread.values(), total.values(), 0);
    XYChart* c = addIndicator(height);
    line(c, plusDi, posColor, "+DI (" + std::to_string(period) + ")");
    line(c, minusDi, negColor, "-DI (" + std::to_string(period) + ")");
    line(c, wilder(dx, period), color, "ADX (" + std::to_string(period) + ")");
    return c;
}

XYChart* FinanceChartImpl::addATR(int height, int period, int color1, int color2) {
    Series tr = trueRange();
    XYChart* c = addIndicator(height);
    line(c, tr, color1, "True Range");
    line(c, emaOver(tr, period), color2, named("Average True Range (%d)", period));
    return c;
}

XYChart* FinanceChartImpl::addBollingerWidth(int height, int period, double width, int color) {
    Calc w(close_);
    w->movStdDev(period)->mul(2 * width);
    char name[96];
    std::snprintf(name, sizeof name, "Bollinger Width (%d, %g)", period, width);
    return lineChart(height, w.values(), color, name);
}

XYChart* FinanceChartImpl::addCCI(int height, int period, int color, double range, int upColor, int downColor) {
    if (!windowWorkFits(period, "CCI")) return nullptr;
    int n = std::max(period, 1);
    Series tp = typicalPrice();
    Series mean = sma(tp, n);
    // Mean absolute deviation from the window's own mean, over the last n valid typical prices.
    Series deviation(tp.size(), Chart::NoValue);
    std::vector<double> window;
    for (size_t i = 0; i < tp.size(); ++i) {
        if (tp[i] == Chart::NoValue) continue;
        window.push_back(tp[i]);
        if (window.size() > static_cast<size_t>(n)) window.erase(window.begin());
        if (window.size() < static_cast<size_t>(n) || mean[i] == Chart::NoValue) continue;
        double sum = 0;
        for (double v : window) sum += std::abs(v - mean[i]);
        deviation[i] = 0.015 * sum / n;
    }
    Calc cci(minus(tp, mean));
    cci->financeDiv(viewOf(deviation), 0);
    XYChart* c = oscillator(height, cci.values(), color, named("CCI (%d)", period), 0, upColor, downColor, false);
    if (range > 0) addThreshold(c, dynamic_cast<LineLayer*>(c->getLayer(0)), range, upColor, -range, downColor);
    return c;
}

XYChart* FinanceChartImpl::addChaikinMoneyFlow(int height, int period, int color) {
    Calc flow(clv());
    flow->mul(viewOf(vol_));
    Calc cmf(sma(flow.values(), period));
    cmf->div(viewOf(sma(vol_, period)));
    XYChart* c = addIndicator(height);
    bars(c, cmf.values(), color, named("Chaikin Money Flow (%d)", period));
    return c;
}

XYChart* FinanceChartImpl::addChaikinOscillator(int height, int color) {
    Calc adl(clv());
    adl->mul(viewOf(vol_))->acc();
    Series a = adl.values();
    return lineChart(height, minus(ema(a, 0.5), ema(a, 2.0 / 11)), color, "Chaikin Oscillator");
}

XYChart* FinanceChartImpl::addChaikinVolatility(int height, int period1, int period2, int color) {
    Calc v(emaOver(minus(high_, low_), period1));
    v->rate(period2)->sub(1)->mul(100);
    return lineChart(height, v.values(), color, named("Chaikin Volatility (%d, %d)", period1, period2));
}

XYChart* FinanceChartImpl::addCLV(int height, int color) {
    return lineChart(height, clv(), color, "Close Location Value");
}

XYChart* FinanceChartImpl::addDPO(int height, int period, int color) {
    Calc average(sma(close_, period));
    average->shift(period / 2 + 1);
    return lineChart(height, minus(close_, average.values()), color, named("DPO (%d)", period));
}

XYChart* FinanceChartImpl::addDonchianWidth(int height, int period, int color) {
    return lineChart(height, minus(movMax(high_, period), movMin(low_, period)), color,
                     named("Donchian Width (%d)", period));
}

XYChart* FinanceChartImpl::addEaseOfMovement(int height, int period, int color1, int color2) {
    Calc mid(high_);
    mid->add(viewOf(low_))->div(2)->delta(1);
    Calc boxRatio(minus(high_, low_));
    boxRatio->financeDiv(viewOf(vol_), 0);
    mid->mul(boxRatio->result());
    Series emv = mid.values();
    XYChart* c = addIndicator(height);
    line(c, emv, color1, "EMV");
    line(c, sma(emv, period), color2, named("EMV EMA (%d)", period));
    return c;
}

XYChart* FinanceChartImpl::addFastStochastic(int height, int period1, int period2, int color1, int color2) {
    return stochastic(height, rangePosition(close_, high_, low_, period1, 0.5), period2, color1, color2,
                      "Fast Stochastic %%K (%d)", period1);
}

XYChart* FinanceChartImpl::addSlowStochastic(int height, int period1, int period2, int color1, int color2) {
    return stochastic(height, sma(rangePosition(close_, high_, low_, period1, 0.5), 3), period2, color1, color2,
                      "Slow Stochastic %%K (%d)", period1);
}

XYChart* FinanceChartImpl::addMACD(int height, int period1, int period2, int period3, int color, int signalColor,
                                   int divColor) {
    return convergence(height, emaOver(close_, period1), emaOver(close_, period2), period3, color, signalColor,
                       divColor, named("MACD (%d, %d)", period1, period2), false);
}

XYChart* FinanceChartImpl::addPPO(int height, int period1, int period2, int period3, int color, int signalColor,
                                  int divColor) {
    return convergence(height, emaOver(close_, period1), emaOver(close_, period2), period3, color, signalColor,
                       divColor, named("PPO (%d, %d)", period1, period2), true);
}

XYChart* FinanceChartImpl::addPVO(int height, int period1, int period2, int period3, int color, int signalColor,
                                  int divColor) {
    return convergence(height, emaOver(vol_, period1), emaOver(vol_, period2), period3, color, signalColor,
                       divColor, named("PVO (%d, %d)", period1, period2), true);
}

XYChart* FinanceChartImpl::addMassIndex(int height, int color, int upColor, int downColor) {
    Series e = ema(minus(high_, low_), 0.2);
    Calc ratio(e);
    ratio->financeDiv(viewOf(ema(e, 0.2)), 1);
    Calc mass(sma(ratio.values(), 25));
    mass->mul(25);
    XYChart* c = addIndicator(height);
    LineLayer* layer = line(c, mass.values(), color, "Mass Index");
    addThreshold(c, layer, 27, upColor, 26.5, downColor);
    return c;
}

XYChart* FinanceChartImpl::addMFI(int height, int period, int color, double range, int upColor, int downColor) {
    Series tp = typicalPrice();
    Series change = deltaOf(tp);
    Calc flow(tp);
    flow->mul(viewOf(vol_));
    Calc positive(flow.values()), negative(flow.values());
    positive->selectGTZ(viewOf(change), 0);
    negative->selectLTZ(viewOf(change), 0);
    Series pos = sma(positive.values(), period);
    Calc total(pos);
    total->add(viewOf(sma(negative.values(), period)));
    return oscillator(height, percentOf(pos, total.values(), 0.5), color, named("Money Flow Index (%d)", period),
                      range, upColor, downColor, true);
}

XYChart* FinanceChartImpl::addMomentum(int height, int period, int color) {
    return lineChart(height, deltaOf(close_, period), color, named("Momentum (%d)", period));
}

XYChart* FinanceChartImpl::addROC(int height, int period, int color) {
    Calc roc(close_);
    roc->rate(period)->sub(1)->mul(100);
    return lineChart(height, roc.values(), color, named("ROC (%d)", period));
}

XYChart* FinanceChartImpl::addTRIX(int height, int period, int color) {
    Calc trix(emaOver(emaOver(emaOver(close_, period), period), period));
    trix->rate(1)->sub(1)->mul(100);
    return lineChart(height, trix.values(), color, named("TRIX (%d)", period));
}

XYChart* FinanceChartImpl::addPerformance(int height, int color) {
    Series shownClose = shown(close_);
    auto base = std::find_if(shownClose.begin(), shownClose.end(), [](double v) { return v != Chart::NoValue; });
    Calc perf(close_);
    if (base == shownClose.end() || *base == 0) perf->mul(Chart::NoValue);
    else perf->mul(100 / *base)->sub(100);
    return lineChart(height, perf.values(), color, "Performance");
}

XYChart* FinanceChartImpl::addOBV(int height, int color) {
    Series change = deltaOf(close_);
    Calc up(vol_), down(vol_);
    up->selectGTZ(viewOf(change), 0);
    down->selectLTZ(viewOf(change), 0);
    up->sub(down->result())->acc();
    return lineChart(height, up.values(), color, "OBV");
}

XYChart* FinanceChartImpl::addPVT(int height, int color) {
    Calc pvt(close_);
    pvt->rate(1)->sub(1)->mul(viewOf(vol_))->acc();
    return lineChart(height, pvt.values(), color, "PVT");
}

XYChart* FinanceChartImpl::addNVI(int height, int period, int color, int signalColor) {
    return volumeIndex(height, volumeIndexSeries(false), period, color, signalColor, "NVI");
}

XYChart* FinanceChartImpl::addPVI(int height, int period, int color, int signalColor) {
    return volumeIndex(height, volumeIndexSeries(true), period, color, signalColor, "PVI");
}

XYChart* FinanceChartImpl::addRSI(int height, int period, int color, double range, int upColor, int downColor) {
    return oscillator(height, rsi(period), color, named("RSI (%d)", period), range, upColor, downColor, true);
}

XYChart* FinanceChartImpl::addStochRSI(int height, int period, int color, double range, int upColor,
                                       int downColor) {
    Series r = rsi(period);
    return oscillator(height, rangePosition(r, r, r, period, 0.5), color, named("StochRSI (%d)", period), range,
                      upColor, downColor, true);
}

XYChart* FinanceChartImpl::addStdDev(int height, int period, int color) {
    Calc sd(close_);
    sd->movStdDev(period);
    return lineChart(height, sd.values(), color, named("Moving StdDev (%d)", period));
}

XYChart* FinanceChartImpl::addWilliamR(int height, int period, int color, double range, int upColor,
                                       int downColor) {
    Calc r(rangePosition(close_, high_, low_, period, 0.5));
    r->sub(100);
    XYChart* c = addIndicator(height);
    LineLayer* layer = line(c, r.values(), color, "William %R");
    c->yAxis()->setLinearScale(-100, 0);
    if (range > 0) addThreshold(c, layer, -50 + range, upColor, -50 - range, downColor);
    return c;
}

XYChart* FinanceChartImpl::addUltimateOscillator(int height, int period1, int period2, int period3, int color,
                                                 double range, int upColor, int downColor) {
    Calc previous(close_);
    previous->shift(1);
    // bp = C - min(L, previous C) = C - L + (L - previous C)+
    Calc buying(low_);
    buying->sub(previous->result())->selectGTZ(DoubleArray(), 0);
    Series bp = minus(close_, low_);
    Calc bpCalc(bp);
    bpCalc->add(buying->result());
    bp = bpCalc.values();
    Series tr = trueRange();
    Calc total(Series(close_.size(), 0.0));
    const int periods[] = {period1, period2, period3};
    const double weights[] = {4, 2, 1};
    for (int i = 0; i < 3; ++i) {
        Calc a(sma(bp, periods[i]));
        a->financeDiv(viewOf(sma(tr, periods[i])), 0.5)->mul(weights[i] * 100 / 7);
        total->add(a->result());
    }
    return oscillator(height, total.values(), color,
                      named("Ultimate Oscillator (%d, %d, %d)", period1, period2, period3), range, upColor,
                      downColor, true);
}

LineLayer* FinanceChartImpl::addLineIndicator(int height, DoubleArray data, int color, const char* name) {
    return addLineIndicator(addIndicator(height), data, color, name);
}

LineLayer* FinanceChartImpl::addLineIndicator(XYChart* chart, DoubleArray data, int color, const char* name) {
    Series s(data.data, data.data + std::max(data.data ? data.len : 0, 0));
    s.resize(close_.size(), Chart::NoValue);
    return line(chart, s, color, name ? name : "");
}

BarLayer* FinanceChartImpl::addBarIndicator(int height, DoubleArray data, int color, const char* name) {
    return addBarIndicator(addIndicator(height), data, color, name);
}

BarLayer* FinanceChartImpl::addBarIndicator(XYChart* chart, DoubleArray data, int color, const char* name) {
    Series s(data.data, data.data + std::max(data.data ? data.len : 0, 0));
    s.resize(close_.size(), Chart::NoValue);
    return bars(chart, s, color, name ? name : "");
}

void FinanceChartImpl::addThreshold(XYChart* chart, LineLayer* layer, double topRange, int topColor,
                                    double bottomRange, int bottomColor) {
    if (!chart || !layer) return;
    // Invisible level lines give the fill its other edge.
    size_t n = shown(close_).size();
    Series top(n, topRange), bottom(n, bottomRange);
    LineLayer* topLine = chart->addLineLayer(viewOf(top), Chart::Transparent);
    LineLayer* bottomLine = chart->addLineLayer(viewOf(bottom), Chart::Transparent);
    chart->addInterLineLayer(layer->getLine(), topLine->getLine(), topColor, Chart::Transparent);
    chart->addInterLineLayer(layer->getLine(), bottomLine->getLine(), Chart::Transparent, bottomColor);
    chart->yAxis()->addMark(topRange, topColor)->setLineWidth(1);
    chart->yAxis()->addMark(bottomRange, bottomColor)->setLineWidth(1);
}

}  // namespace plotvane

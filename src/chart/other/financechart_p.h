#ifndef PLOTVANE_CHART_OTHER_FINANCECHART_P_H
#define PLOTVANE_CHART_OTHER_FINANCECHART_P_H

#include <plotvane/arraymath.h>
#include <plotvane/financechart.h>

#include <string>
#include <vector>

#include "chart/multichart_p.h"

namespace plotvane {

using Series = std::vector<double>;

inline DoubleArray viewOf(const Series& s) { return DoubleArray(s.data(), static_cast<int>(s.size())); }

// An ArrayMath computation that cleans up after itself; values() hands the result back as a series.
class Calc {
public:
    explicit Calc(const Series& s) : m_(ArrayMath::create(viewOf(s))) {}
    ~Calc() { m_->destroy(); }
    Calc(const Calc&) = delete;
    Calc& operator=(const Calc&) = delete;
    ArrayMath* operator->() const { return m_; }
    Series values() const {
        DoubleArray r = m_->result();
        return Series(r.data, r.data + r.len);
    }

private:
    ArrayMath* m_;
};

inline Series sma(const Series& x, int n) {
    Calc c(x);
    c->movAvg(n);
    return c.values();
}

inline Series ema(const Series& x, double factor) {
    Calc c(x);
    c->expAvg(factor);
    return c.values();
}

inline Series emaOver(const Series& x, int n) { return ema(x, 2.0 / (n + 1.0)); }

class FinanceChartImpl : public FinanceChart, public MultiChartImpl {
public:
    explicit FinanceChartImpl(int width);
    ~FinanceChartImpl() override;

    void setMargins(int leftMargin, int topMargin, int rightMargin, int bottomMargin) override;
    TextBox* addPlotAreaTitle(int alignment, const char* text) override;
    XYChart* addMainChart(int height) override;
    XYChart* addIndicator(int height) override;
    XYChart* mainChart() override { return main_; }
    XYChart* currentChart() override { return charts_.empty() ? nullptr : charts_.back(); }

    void setData(DoubleArray timeStamps, DoubleArray highData, DoubleArray lowData, DoubleArray openData,
                 DoubleArray closeData, DoubleArray volData, int extraPoints) override;

    void setDateLabelFormat(const char* yearFormat, const char* firstMonthFormat, const char* otherMonthFormat,
                            const char* firstDayFormat, const char* otherDayFormat, const char* firstHourFormat,
                            const char* otherHourFormat) override;
    void setToolTipDateFormat(const char* monthFormat, const char* dayFormat, const char* hourFormat) override;
    void setNumberLabelFormat(const char* formatString) override;
    void setDateLabelSpacing(int labelSpacing) override { labelSpacing_ = labelSpacing > 0 ? labelSpacing : 50; }
    void setLogScale(bool b) override { logScale_ = b; }
    void setAxisOnRight(bool b) override { axisOnRight_ = b; }
    void setXAxisStyle(const char* font, double fontSize, int fontColor, double fontAngle) override;
    void setYAxisStyle(const char* font, double fontSize, int fontColor, int axisMargin) override;
    void setLegendStyle(const char* font, double fontSize, int fontColor, int bgColor) override;
    void setPlotAreaBorder(int borderColor, int borderGap) override;
    void setPlotAreaStyle(int bgColor, int majorHGridColor, int majorVGridColor, int minorHGridColor,
                          int minorVGridColor) override;
    Axis* setPercentageAxis() override;

    Layer* addHLOC(int upColor, int downColor) override;
    Layer* addCandleStick(int upColor, int downColor) override;
    LineLayer* addCloseLine(int color) override;
    LineLayer* addMedianPrice(int color) override;
    LineLayer* addTypicalPrice(int color) override;
    LineLayer* addWeightedClose(int color) override;
    LineLayer* addSimpleMovingAvg(int period, int color) override;
    LineLayer* addExpMovingAvg(int period, int color) override;
    LineLayer* addTriMovingAvg(int period, int color) override;
    LineLayer* addWeightedMovingAvg(int period, int color) override;
    LineLayer* addParabolicSAR(double accInitial, double accIncrement, double accMaximum, int symbolType,
                               int symbolSize, int fillColor, int edgeColor) override;
    LineLayer* addComparison(DoubleArray data, int color, const char* name) override;
    InterLineLayer* addBand(DoubleArray upperLine, DoubleArray lowerLine, int lineColor, int fillColor,
                            const char* name) override;
    InterLineLayer* addBollingerBand(int period, double bandWidth, int lineColor, int fillColor) override;
    InterLineLayer* addDonchianChannel(int period, int lineColor, int fillColor) override;
    InterLineLayer* addEnvelop(int period, double range, int lineColor, int fillColor) override;
    BarLayer* addVolBars(int height, int upColor, int downColor, int flatColor) override;

    XYChart* addVolIndicator(int height, int upColor, int downColor, int flatColor) override;
    XYChart* addAccDist(int height, int color) override;
    XYChart* addAroon(int height, int period, int upColor, int downColor) override;
    XYChart* addAroonOsc(int height, int period, int color) override;
    XYChart* addADX(int height, int period, int posColor, int negColor, int color) override;
    XYChart* addATR(int height, int period, int color1, int color2) override;
    XYChart* addBollingerWidth(int height, int period, double width, int color) override;
    XYChart* addCCI(int height, int period, int color, double range, int upColor, int downColor) override;
    XYChart* addChaikinMoneyFlow(int height, int period, int color) override;
    XYChart* addChaikinOscillator(int height, int color) override;
    XYChart* addChaikinVolatility(int height, int period1, int period2, int color) override;
    XYChart* addCLV(int height, int color) override;
    XYChart* addDPO(int height, int period, int color) override;
    XYChart* addDonchianWidth(int height, int period, int color) override;
    XYChart* addEaseOfMovement(int height, int period, int color1, int color2) override;
    XYChart* addFastStochastic(int height, int period1, int period2, int color1, int color2) override;
    XYChart* addMACD(int height, int period1, int period2, int period3, int color, int signalColor,
                     int divColor) override;
    XYChart* addMassIndex(int height, int color, int upColor, int downColor) override;
    XYChart* addMFI(int height, int period, int color, double range, int upColor, int downColor) override;
    XYChart* addMomentum(int height, int period, int color) override;
    XYChart* addNVI(int height, int period, int color, int signalColor) override;
    XYChart* addOBV(int height, int color) override;
    XYChart* addPerformance(int height, int color) override;
    XYChart* addPPO(int height, int period1, int period2, int period3, int color, int signalColor,
                    int divColor) override;
    XYChart* addPVI(int height, int period, int color, int signalColor) override;
    XYChart* addPVO(int height, int period1, int period2, int period3, int color, int signalColor,
                    int divColor) override;
    XYChart* addPVT(int height, int color) override;
    XYChart* addROC(int height, int period, int color) override;
    XYChart* addRSI(int height, int period, int color, double range, int upColor, int downColor) override;
    XYChart* addSlowStochastic(int height, int period1, int period2, int color1, int color2) override;
    XYChart* addStdDev(int height, int period, int color) override;
    XYChart* addStochRSI(int height, int period, int color, double range, int upColor, int downColor) override;
    XYChart* addTRIX(int height, int period, int color) override;
    XYChart* addUltimateOscillator(int height, int period1, int period2, int period3, int color, double range,
                                   int upColor, int downColor) override;
    XYChart* addWilliamR(int height, int period, int color, double range, int upColor, int downColor) override;

    LineLayer* addLineIndicator(int height, DoubleArray data, int color, const char* name) override;
    LineLayer* addLineIndicator(XYChart* chart, DoubleArray data, int color, const char* name) override;
    BarLayer* addBarIndicator(int height, DoubleArray data, int color, const char* name) override;
    BarLayer* addBarIndicator(XYChart* chart, DoubleArray data, int color, const char* name) override;
    void addThreshold(XYChart* chart, LineLayer* layer, double topRange, int topColor, double bottomRange,
                      int bottomColor) override;

private:
    static constexpr int kDefaultGap = 2;

    // Full-length series (history included) become the shown part here.
    Series shown(const Series& full) const;
    // "name: latest value" for a full-length series.
    std::string label(const std::string& name, const Series& full);
    LineLayer* line(XYChart* chart, const Series& full, int color, const std::string& name);
    BarLayer* bars(XYChart* chart, const Series& full, int color, const std::string& name);
    InterLineLayer* band(const Series& upper, const Series& lower, int lineColor, int fillColor,
                         const std::string& name);
    // Bars coloured by the sign of the close change.
    BarLayer* volumeBars(XYChart* chart, int upColor, int downColor, int flatColor, const std::string& name);
    XYChart* lineChart(int height, const Series& full, int color, const std::string& name);
    XYChart* oscillator(int height, const Series& full, int color, const std::string& name, double range,
                        int upColor, int downColor, bool bounded);
    XYChart* convergence(int height, const Series& fast, const Series& slow, int period3, int color,
                         int signalColor, int divColor, const std::string& name, bool percent);
    XYChart* stochastic(int height, const Series& k, int period2, int color1, int color2, const std::string& name,
                        int period1);
    XYChart* volumeIndex(int height, const Series& index, int period, int color, int signalColor,
                         const std::string& name);

    Series trueRange() const;
    Series clv() const;
    Series typicalPrice() const;
    Series rsi(int period) const;
    void aroon(int period, Series& up, Series& down) const;
    // Aroon, CCI and the weighted average look at the whole window for every point; false (and the
    // reason left for lastError) when points times period is past what a call may cost.
    bool windowWorkFits(int period, const char* indicator) const;
    Series volumeIndexSeries(bool positive) const;

    void placeXLabels(XYChart* chart, bool visible);
    // The tool tip and the latest-prices legend entry of the main price layer.
    void describePrices(Layer* layer);
    void onLayoutChart() override;

    int width_;
    int left_ = 40, top_ = 30, right_ = 40, bottom_ = 35;
    int gap_ = kDefaultGap;
    int nextY_;
    std::vector<XYChart*> charts_;
    XYChart* main_ = nullptr;

    Series time_, high_, low_, open_, close_, vol_;
    int extra_ = 0;

    std::string yearFormat_ = "{value|yyyy}";
    std::string firstMonthFormat_ = "<*font=bold*>{value|mmm yy}", otherMonthFormat_ = "{value|mmm}";
    std::string firstDayFormat_ = "<*font=bold*>{value|d mmm}", otherDayFormat_ = "{value|d}";
    std::string firstHourFormat_ = "<*font=bold*>{value|d mmm\nh:nna}", otherHourFormat_ = "{value|h:nna}";
    std::string monthTip_ = "[{xLabel|mmm yyyy}]", dayTip_ = "[{xLabel|mmm d, yyyy}]",
                hourTip_ = "[{xLabel|mmm d, yyyy hh:nn:ss}]";
    std::string numberFormat_ = "P3";
    int labelSpacing_ = 50;
    bool logScale_ = false;
    bool axisOnRight_ = true;
    std::string xFont_, yFont_, legendFont_;
    double xFontSize_ = 8, yFontSize_ = 8, legendFontSize_ = 8, xFontAngle_ = 0;
    int xFontColor_ = Chart::TextColor, yFontColor_ = Chart::TextColor, legendFontColor_ = Chart::TextColor;
    int legendBg_ = Chart::Transparent;
    int yAxisMargin_ = 14;
    int borderColor_ = 0x888888;
    int plotBg_ = 0xfffff0, hGrid_ = 0xdddddd, vGrid_ = 0xdddddd, minorHGrid_ = -1, minorVGrid_ = -1;
};

}  // namespace plotvane

#endif

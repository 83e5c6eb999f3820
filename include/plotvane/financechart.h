#ifndef PLOTVANE_FINANCECHART_H
#define PLOTVANE_FINANCECHART_H

// A stock chart: a main price chart and indicator charts stacked below it, all XY charts sharing one
// x axis by trading day (gaps in time take no room), labelled by the time stamps. Indicators are
// computed from the prices given to setData; the leading extra points serve only as history for
// the moving windows and are not shown. Each indicator's legend text shows its latest value.
//
// The member charts belong to the finance chart and go with it.

#include <plotvane/arrays.h>
#include <plotvane/multichart.h>
#include <plotvane/xychart.h>

namespace plotvane {

class PLOTVANE_API FinanceChart : public virtual MultiChart {
public:
    static FinanceChart* create(int width);

    // Layout: the margins around the stack of plot areas, a title above one plot area, and the charts.
    virtual void setMargins(int leftMargin, int topMargin, int rightMargin, int bottomMargin) = 0;
    virtual TextBox* addPlotAreaTitle(int alignment, const char* text) = 0;
    virtual XYChart* addMainChart(int height) = 0;
    virtual XYChart* addIndicator(int height) = 0;
    // Null before the first chart is added.
    virtual XYChart* mainChart() = 0;
    virtual XYChart* currentChart() = 0;

    // Data. The arrays are copied; extraPoints leading points are history only.
    virtual void setData(DoubleArray timeStamps, DoubleArray highData, DoubleArray lowData, DoubleArray openData,
                         DoubleArray closeData, DoubleArray volData, int extraPoints) = 0;

    // Styles, applied to charts added afterwards.
    virtual void setDateLabelFormat(const char* yearFormat, const char* firstMonthFormat, const char* otherMonthFormat,
                                    const char* firstDayFormat, const char* otherDayFormat,
                                    const char* firstHourFormat, const char* otherHourFormat) = 0;
    virtual void setToolTipDateFormat(const char* monthFormat, const char* dayFormat, const char* hourFormat) = 0;
    virtual void setNumberLabelFormat(const char* formatString) = 0;
    // Pixels between date labels, at least.
    virtual void setDateLabelSpacing(int labelSpacing) = 0;
    virtual void setLogScale(bool b) = 0;
    virtual void setAxisOnRight(bool b) = 0;
    virtual void setXAxisStyle(const char* font = "", double fontSize = 8, int fontColor = Chart::TextColor,
                               double fontAngle = 0) = 0;
    virtual void setYAxisStyle(const char* font = "", double fontSize = 8, int fontColor = Chart::TextColor,
                               int axisMargin = 14) = 0;
    virtual void setLegendStyle(const char* font = "", double fontSize = 8, int fontColor = Chart::TextColor,
                                int bgColor = Chart::Transparent) = 0;
    // The gap is the space between stacked plot areas (0: the default, 2 pixels).
    virtual void setPlotAreaBorder(int borderColor, int borderGap) = 0;
    virtual void setPlotAreaStyle(int bgColor, int majorHGridColor, int majorVGridColor, int minorHGridColor,
                                  int minorVGridColor) = 0;
    // Turns the main chart's y axis into percentages of the first shown close.
    virtual Axis* setPercentageAxis() = 0;

    // Main-chart layers.
    virtual Layer* addHLOC(int upColor, int downColor) = 0;
    virtual Layer* addCandleStick(int upColor, int downColor) = 0;
    virtual LineLayer* addCloseLine(int color) = 0;
    virtual LineLayer* addMedianPrice(int color) = 0;
    virtual LineLayer* addTypicalPrice(int color) = 0;
    virtual LineLayer* addWeightedClose(int color) = 0;
    virtual LineLayer* addSimpleMovingAvg(int period, int color) = 0;
    virtual LineLayer* addExpMovingAvg(int period, int color) = 0;
    virtual LineLayer* addTriMovingAvg(int period, int color) = 0;
    virtual LineLayer* addWeightedMovingAvg(int period, int color) = 0;
    virtual LineLayer* addParabolicSAR(double accInitial, double accIncrement, double accMaximum, int symbolType,
                                       int symbolSize, int fillColor, int edgeColor) = 0;
    virtual LineLayer* addComparison(DoubleArray data, int color, const char* name) = 0;
    virtual InterLineLayer* addBand(DoubleArray upperLine, DoubleArray lowerLine, int lineColor, int fillColor,
                                    const char* name) = 0;
    virtual InterLineLayer* addBollingerBand(int period, double bandWidth, int lineColor, int fillColor) = 0;
    virtual InterLineLayer* addDonchianChannel(int period, int lineColor, int fillColor) = 0;
    virtual InterLineLayer* addEnvelop(int period, double range, int lineColor, int fillColor) = 0;
    // Volume bars at the bottom of the main chart, on an axis of their own, height pixels tall at most.
    virtual BarLayer* addVolBars(int height, int upColor, int downColor, int flatColor) = 0;

    // Indicator charts; each returns the new chart.
    virtual XYChart* addVolIndicator(int height, int upColor, int downColor, int flatColor) = 0;
    virtual XYChart* addAccDist(int height, int color) = 0;
    virtual XYChart* addAroon(int height, int period, int upColor, int downColor) = 0;
    virtual XYChart* addAroonOsc(int height, int period, int color) = 0;
    virtual XYChart* addADX(int height, int period, int posColor, int negColor, int color) = 0;
    virtual XYChart* addATR(int height, int period, int color1, int color2) = 0;
    virtual XYChart* addBollingerWidth(int height, int period, double width, int color) = 0;
    virtual XYChart* addCCI(int height, int period, int color, double range, int upColor, int downColor) = 0;
    virtual XYChart* addChaikinMoneyFlow(int height, int period, int color) = 0;
    virtual XYChart* addChaikinOscillator(int height, int color) = 0;
    virtual XYChart* addChaikinVolatility(int height, int period1, int period2, int color) = 0;
    virtual XYChart* addCLV(int height, int color) = 0;
    virtual XYChart* addDPO(int height, int period, int color) = 0;
    virtual XYChart* addDonchianWidth(int height, int period, int color) = 0;
    virtual XYChart* addEaseOfMovement(int height, int period, int color1, int color2) = 0;
    virtual XYChart* addFastStochastic(int height, int period1, int period2, int color1, int color2) = 0;
    virtual XYChart* addMACD(int height, int period1, int period2, int period3, int color, int signalColor,
                             int divColor) = 0;
    virtual XYChart* addMassIndex(int height, int color, int upColor, int downColor) = 0;
    virtual XYChart* addMFI(int height, int period, int color, double range, int upColor, int downColor) = 0;
    virtual XYChart* addMomentum(int height, int period, int color) = 0;
    virtual XYChart* addNVI(int height, int period, int color, int signalColor) = 0;
    virtual XYChart* addOBV(int height, int color) = 0;
    virtual XYChart* addPerformance(int height, int color) = 0;
    virtual XYChart* addPPO(int height, int period1, int period2, int period3, int color, int signalColor,
                            int divColor) = 0;
    virtual XYChart* addPVI(int height, int period, int color, int signalColor) = 0;
    virtual XYChart* addPVO(int height, int period1, int period2, int period3, int color, int signalColor,
                            int divColor) = 0;
    virtual XYChart* addPVT(int height, int color) = 0;
    virtual XYChart* addROC(int height, int period, int color) = 0;
    virtual XYChart* addRSI(int height, int period, int color, double range, int upColor, int downColor) = 0;
    virtual XYChart* addSlowStochastic(int height, int period1, int period2, int color1, int color2) = 0;
    virtual XYChart* addStdDev(int height, int period, int color) = 0;
    virtual XYChart* addStochRSI(int height, int period, int color, double range, int upColor, int downColor) = 0;
    virtual XYChart* addTRIX(int height, int period, int color) = 0;
    virtual XYChart* addUltimateOscillator(int height, int period1, int period2, int period3, int color,
                                           double range, int upColor, int downColor) = 0;
    virtual XYChart* addWilliamR(int height, int period, int color, double range, int upColor, int downColor) = 0;

    // Any series, on a new chart of the given height or on an existing chart.
    virtual LineLayer* addLineIndicator(int height, DoubleArray data, int color, const char* name) = 0;
    virtual LineLayer* addLineIndicator(XYChart* chart, DoubleArray data, int color, const char* name) = 0;
    virtual BarLayer* addBarIndicator(int height, DoubleArray data, int color, const char* name) = 0;
    virtual BarLayer* addBarIndicator(XYChart* chart, DoubleArray data, int color, const char* name) = 0;
    // Lines at the two thresholds, with the layer's area beyond them filled.
    virtual void addThreshold(XYChart* chart, LineLayer* layer, double topRange, int topColor, double bottomRange,
                              int bottomColor) = 0;
};

}  // namespace plotvane

#endif

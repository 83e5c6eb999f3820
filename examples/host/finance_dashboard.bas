' A stock chart: a year of simulated daily prices as candlesticks with a 20-day moving average, a
' Bollinger band and volume bars, and MACD, RSI and slow stochastic panels beneath. Thirty days of
' earlier prices only prime the moving windows.
Dim history As Integer = 30
Dim data As New PVFinanceSimulatorRQX(7, PVBaseChartRQX.chartTime(2023, 11, 1), _
    PVBaseChartRQX.chartTime(2025, 1, 1), 86400)

Dim c As New PVFinanceChartRQX(720)
c.addTitle("Simulated stock, daily", "bold", 12)
c.setData(data.getTimeStamps, data.getHighData, data.getLowData, data.getOpenData, _
    data.getCloseData, data.getVolData, history)

c.addMainChart(260)
c.addCandleStick(&h33aa33, &hdd3333)
c.addSimpleMovingAvg(20, &h2266cc)
c.addBollingerBand(20, 2, &h9999ff, &h409999ff)
c.addVolBars(70, &h9933aa33, &h99dd3333, &h99888888)
c.addMACD(90, 12, 26, 9, &h0000ff, &hff00ff, &h008800)
c.addRSI(80, 14, &h800080, 20, &hff6666, &h6666ff)
c.addSlowStochastic(80, 14, 3, &h006060, &h606000)

Call c.makeChart("finance_dashboard.png")
Call c.makeChart("finance_dashboard.svg")
Call c.makeChart("finance_dashboard.pdf")

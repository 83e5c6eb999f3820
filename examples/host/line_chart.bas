' A line chart of three series with symbols, value labels on one of them, a month axis and a
' legend; one series misses two months and bridges them with a dashed grey segment.
Dim north() As Double = Array(42, 48, 51, 58, 64, 71, 69, 74, 80, 77, 85, 92)
Dim south() As Double = Array(30, 35, PVBaseChartRQX.kNoValue, PVBaseChartRQX.kNoValue, 44, 50, 55, 53, 60, 64, 63, 70)
Dim west() As Double = Array(20, 22, 27, 25, 31, 34, 38, 41, 39, 45, 49, 52)
Dim months() As String = Array("Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec")

Dim c As New PVXYChartRQX(640, 420)
c.addTitle("Monthly Sales by Region", "bold", 14)
c.setPlotArea(90, 70, 520, 290, &hffffff, -1, PVBaseChartRQX.kTransparent, &hdddddd, &hdddddd)
c.addLegend(90, 32, False, "", 9).setBackground(PVBaseChartRQX.kTransparent)
c.xAxis.setLabels(months)
c.xAxis.setTitle("Month")
c.yAxis.setTitle("Units sold")

Dim layer As PVLineLayerRQX = c.addLineLayer
layer.setLineWidth(2)
layer.addDataSet(north, &hc0392b, "North").setDataSymbol(PVBaseChartRQX.kCircleSymbol, 8)
Dim s As PVDataSetRQX = layer.addDataSet(south, &h2874a6, "South")
s.setDataSymbol(PVBaseChartRQX.kSquareSymbol, 7)
s.setDataLabelFormat("{value}")
layer.addDataSet(west, &h239b56, "West").setDataSymbol(PVBaseChartRQX.kTriangleSymbol, 9)
layer.setGapColor(c.dashLineColor(&h888888, PVBaseChartRQX.kDashLine), 1)

Call c.makeChart("line_chart.png")
Call c.makeChart("line_chart.svg")
Call c.makeChart("line_chart.pdf")

' A daily series over eighteen months on a date axis: the axis picks month ticks and writes the
' year only where it changes; a zone marks the summer break.
Dim days As Integer = 548
Dim pi As Double = 3.14159265358979323846
Dim start As Double = PVBaseChartRQX.chartTime(2024, 1, 1)
Dim when(547) As Double
Dim visitors(547) As Double
For i As Integer = 0 To days - 1
  when(i) = start + i * 86400.0
  // A weekly rhythm on top of a slow yearly swing.
  visitors(i) = 900 + 350 * Sin(i * 2 * pi / 365) + 120 * Sin(i * 2 * pi / 7) + (i Mod 13) * 9
Next

Dim c As New PVXYChartRQX(720, 400)
c.addTitle("Daily visitors", "bold", 14)
c.setPlotArea(70, 50, 620, 280, &hffffff, -1, PVBaseChartRQX.kTransparent, &hdddddd, &hdddddd)
c.xAxis.setMultiFormat(PVBaseChartRQX.StartOfYearFilter, "<*font=bold*>{value|mmm yyyy}", _
  PVBaseChartRQX.StartOfMonthFilter, "{value|mmm}")
c.xAxis.addZone(PVBaseChartRQX.chartTime(2024, 7, 1), PVBaseChartRQX.chartTime(2024, 9, 1), &hfdebd0)
c.yAxis.setTitle("Visitors")

Dim layer As PVLineLayerRQX = c.addLineLayer(visitors, &h1f618d, "Visitors")
layer.setXData(when)

Call c.makeChart("date_axis_chart.png")
Call c.makeChart("date_axis_chart.svg")
Call c.makeChart("date_axis_chart.pdf")

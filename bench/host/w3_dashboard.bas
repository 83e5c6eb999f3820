' W3 as a host program: the benchmarks' 600 x 400 dashboard (a side-by-side bar layer of 3 series
' x 12 months, a line of width 2 in front of it, title, legend, axis titles, month labels and a
' fixed 0-110 y scale), built, rendered and written as PNG 200 times. Each chart goes away with the
' loop round that made it.
Dim months() As String = Array("Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec")
Dim north() As Double = Array(56, 72, 65, 80, 91, 77, 68, 84, 95, 88, 73, 62)
Dim south() As Double = Array(42, 55, 61, 58, 70, 66, 59, 72, 81, 76, 64, 50)
Dim west() As Double = Array(30, 38, 45, 52, 49, 57, 63, 60, 68, 71, 55, 47)
Dim target() As Double = Array(50, 58, 60, 66, 75, 70, 64, 74, 85, 80, 66, 55)

For k As Integer = 1 To 200
  Dim c As New PVXYChartRQX(600, 400)
  c.addTitle("Monthly results", "bold", 14)
  c.setPlotArea(70, 60, 500, 280, &hffffff, -1, PVBaseChartRQX.kTransparent, &hdddddd)
  c.addLegend(70, 28, False, "", 9).setBackground(PVBaseChartRQX.kTransparent)
  c.addLineLayer(target, &hcc3311, "Target").setLineWidth(2)
  Dim bars As PVBarLayerRQX = c.addBarLayer(PVBaseChartRQX.kSide)
  bars.addDataSet(north, &h4477aa, "North")
  bars.addDataSet(south, &h66ccee, "South")
  bars.addDataSet(west, &h228833, "West")
  c.xAxis.setLabels(months)
  c.xAxis.setTitle("Month")
  c.yAxis.setTitle("Units")
  c.yAxis.setLinearScale(0, 110, 10)
  If Not c.makeChart("w3_dashboard.png") Then Print "The chart could not be written."
Next

' A simple bar chart: one series of monthly revenue, glass-lit bars with their values on top.
Dim revenue() As Double = Array(85, 156, 179.5, 211, 123, 98, 142, 188, 201, 170, 132, 160)
Dim months() As String = Array("Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec")

Dim c As New PVXYChartRQX(600, 400)
c.addTitle("Monthly revenue", "bold", 14)
c.setPlotArea(70, 50, 500, 290, &hf8f8f8, -1, PVBaseChartRQX.kTransparent, &hdddddd)

Dim layer As PVBarLayerRQX = c.addBarLayer(revenue, &c3377cc)
layer.setBorderColor(PVBaseChartRQX.kTransparent, PVBaseChartRQX.glassEffect)
layer.setRoundedCorners(4)
layer.setAggregateLabelStyle("", 8)

c.xAxis.setLabels(months)
c.yAxis.setTitle("k$")

Call c.makeChart("bar_chart.png")
Call c.makeChart("bar_chart.svg")
Call c.makeChart("bar_chart.pdf")

' A radar chart: three cars scored on eight qualities, each a translucent filled polygon, with the
' scores of one of them written at its corners.
Dim a() As Double = Array(82, 64, 90, 45, 70, 58, 77, 66)
Dim b() As Double = Array(55, 80, 48, 72, 40, 85, 50, 62)
Dim c3() As Double = Array(30, 42, 35, 50, 28, 38, 45, 33)
Dim qualities() As String = Array("Speed", "Range", "Cost", "Comfort", "Safety", "Space", "Looks", "Noise")

Dim c As New PVPolarChartRQX(460, 460, &hffffff)
c.addTitle("Three cars compared", "bold", 13)
c.setPlotArea(230, 250, 150, &hf4f8ff, &h8090a0)
// Rings alternate in two shades of blue.
c.setPlotAreaBg(&hf4f8ff, &he4ecf8)
c.addLegend(10, 30, False, "", 9).setBackground(PVBaseChartRQX.kTransparent)
c.angularAxis.setLabels(qualities)
c.radialAxis.setLinearScale(0, 100, 25)

// Colours with an alpha byte let the polygons behind show through.
c.addAreaLayer(a, &h80e03030, "Model A").setBorderColor(&he03030)
c.addAreaLayer(b, &h8030a040, "Model B").setBorderColor(&h30a040)
Dim m As PVPolarAreaLayerRQX = c.addAreaLayer(c3, &h803050e0, "Model C")
m.setBorderColor(&h3050e0)
m.setDataSymbol(PVBaseChartRQX.kCircleSymbol, 6, &h3050e0)
m.setDataLabelFormat("{value}")

If Not (c.makeChart("radar_chart.png") And c.makeChart("radar_chart.svg") And c.makeChart("radar_chart.pdf")) Then
  Print "The chart could not be written."
End If

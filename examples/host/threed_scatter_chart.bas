' Two groups of points in a 3D box, coloured by height through the colour axis, each with a drop
' line to the floor; a legend names the groups.
Dim r As New PVRanSeriesRQX(3)
Dim n As Integer = 40
Dim x1() As Double = r.getSeries(n, 0, 10)
Dim y1() As Double = r.getSeries(n, 0, 10)
Dim z1() As Double = r.getSeries(n, 0, 8)
Dim x2() As Double = r.getSeries(n, 2, 8)
Dim y2() As Double = r.getSeries(n, 2, 8)
Dim z2() As Double = r.getSeries(n, 4, 10)

Dim c As New PVThreeDScatterChartRQX(640, 520)
c.addTitle("Points above the floor", "bold", 14)
c.setPlotRegion(300, 270, 320, 320, 200)
c.addLegend(10, 30, False, "", 9).setBackground(PVBaseChartRQX.kTransparent)
Dim g1 As PVThreeDScatterGroupRQX = c.addScatterGroup(x1, y1, z1, "Circles", PVBaseChartRQX.kCircleSymbol, 11, _
    PVBaseChartRQX.kSameAsMainColor)
g1.setDropLine(&h888888)
Dim g2 As PVThreeDScatterGroupRQX = c.addScatterGroup(x2, y2, z2, "Diamonds", PVBaseChartRQX.kDiamondSymbol, 13, _
    PVBaseChartRQX.kSameAsMainColor)
g2.setDropLine(&h888888)
c.xAxis.setTitle("x")
c.yAxis.setTitle("y")
c.zAxis.setTitle("z")
c.colorAxis.setTitle("Height")

Call c.makeChart("threed_scatter_chart.png")
Call c.makeChart("threed_scatter_chart.svg")
Call c.makeChart("threed_scatter_chart.pdf")

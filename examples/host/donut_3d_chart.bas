' A 3D donut with rounded, glossy sectors, one pulled out, and labels in two columns at the sides.
Dim share() As Double = Array(31, 22, 17, 12, 9, 9)
Dim regions() As String = Array("North", "South", "East", "West", "Central", "Overseas")

Dim c As New PVPieChartRQX(600, 340)
c.addTitle("Sales by region", "bold", 13)
c.setDonutSize(300, 170, 115, 55)
c.set3D(24)
c.setData(share, regions)
c.setSectorStyle(PVBaseChartRQX.kRoundedEdgeShading)
c.setLabelLayout(PVBaseChartRQX.kSideLayout)
c.setLabelStyle("", 9).setMargin(4)
c.setExplode(1, 18)

Call c.makeChart("donut_3d_chart.png")
Call c.makeChart("donut_3d_chart.svg")
Call c.makeChart("donut_3d_chart.pdf")

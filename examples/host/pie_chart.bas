' A flat pie with labels round the circle, each joined to its sector, starting at 3 o'clock;
' white edges 3 pixels wide set the sectors apart.
Dim costs() As Double = Array(25, 18, 15, 12, 8, 30, 35)
Dim items() As String = Array("Labor", "Licenses", "Taxes", "Legal", "Insurance", "Facilities", "Production")

Dim c As New PVPieChartRQX(520, 320)
c.addTitle("Project costs", "bold", 13)
c.setPieSize(260, 170, 105)
c.setStartAngle(90)
c.setData(costs, items)
c.setLabelPos(18, PVBaseChartRQX.kLineColor)
c.setSectorStyle(PVBaseChartRQX.kLocalGradientShading, &hffffff, 3)

Call c.makeChart("pie_chart.png")
Call c.makeChart("pie_chart.svg")
Call c.makeChart("pie_chart.pdf")

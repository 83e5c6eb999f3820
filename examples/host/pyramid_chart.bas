' A four-sided pyramid of layers seen from above, percentages on the left, names on the right.
Dim people() As Double = Array(156, 123, 211, 179, 90)
Dim stages() As String = Array("Visitors", "Sign-ups", "Trials", "Customers", "Advocates")

Dim c As New PVPyramidChartRQX(480, 360)
c.addTitle("Audience", "bold", 13)
c.setPyramidSize(240, 190, 110, 280)
c.setData(people, stages)
c.setLeftLabel("{percent|1}%")
c.setRightLabel("{label}")
c.setCenterLabel("{value}", "bold", 9, &hffffff)
c.setLayerGap(0.01)
c.setLayerBorder(&hffffff)

Call c.makeChart("pyramid_chart.png")
Call c.makeChart("pyramid_chart.svg")
Call c.makeChart("pyramid_chart.pdf")

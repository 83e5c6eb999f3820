' A lit surface of two peaks and a pit, resampled on a finer grid, with the axes' grid lines drawn
' on the surface and a colour axis beside the box as its legend.
Dim n As Integer = 21
Dim x(20) As Double
Dim y(20) As Double
Dim z() As Double
For i As Integer = 0 To n - 1
  x(i) = -3 + 6.0 * i / (n - 1)
  y(i) = x(i)
Next
For j As Integer = 0 To n - 1
  For i As Integer = 0 To n - 1
    Dim u As Double = x(i)
    Dim v As Double = y(j)
    z.Append(3 * (1 - u) * (1 - u) * Exp(-u * u - (v + 1) * (v + 1)) _
      - 10 * (u / 5 - u * u * u - v ^ 5) * Exp(-u * u - v * v) _
      - Exp(-(u + 1) * (u + 1) - v * v) / 3)
  Next
Next

Dim c As New PVSurfaceChartRQX(720, 600)
c.addTitle("Two peaks and a pit", "bold", 14)
c.setPlotRegion(330, 290, 360, 360, 220)
c.setViewAngle(30, 45)
c.setData(x, y, z)
c.setInterpolation(80, 80)
c.setSurfaceAxisGrid(&h80000000)
c.colorAxis.setTitle("Height")
c.xAxis.setTitle("x")
c.yAxis.setTitle("y")
c.zAxis.setTitle("z")

Call c.makeChart("surface_chart.png")
Call c.makeChart("surface_chart.svg")
Call c.makeChart("surface_chart.pdf")

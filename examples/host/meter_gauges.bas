' Four gauges: a semicircle speedometer with coloured zones and two pointers, a full-circle dial
' with a shaded cap and glare, a vertical thermometer with a colour scale, and a horizontal bar
' meter with zones and labels on both sides.
Dim ok As Boolean = True
Dim names() As String = Array("meter_semicircle", "meter_dial", "meter_thermometer", "meter_bar")
Dim meters() As PVBaseMeterRQX

Dim semicircle As New PVAngularMeterRQX(300, 180, &hf4f4f4, &h888888)
semicircle.setRoundedFrame
semicircle.setMeter(150, 150, 110, -90, 90)
semicircle.setScale(0, 160, 20, 10, 2)
semicircle.setLineWidth(0, 2, 1, 1)
semicircle.addRing(0, 112, &hffffff, &h888888)
semicircle.addZone(0, 100, &h99dd77)
semicircle.addZone(100, 130, &hffdd44)
semicircle.addZone(130, 160, &hee5544)
semicircle.addText(150, 110, "km/h", "bold", 10, &h444444, PVBaseChartRQX.kCenter)
semicircle.addPointer(118, &h3366cc).setShape(PVBaseChartRQX.kTriangularPointer2, 0.9)
semicircle.addPointer(86, &h80aaaaaa).setShape(PVBaseChartRQX.kLinePointer2, 0.8)
semicircle.setCap(8, &h333333, &h000000)
meters.Append(semicircle)

Dim dial As New PVAngularMeterRQX(260, 260, PVBaseChartRQX.kTransparent)
dial.setMeter(130, 130, 100, 0, 360)
dial.addScaleBackground(124, &h223344, 6, &h99aabb)
dial.setScale(0, 12, 1, 0.5, 0.1)
dial.setMeterColors(&hdddddd, &hffffff, &hdddddd)
dial.setLabelStyle("bold", 12, &hffffff)
dial.setTickLength(-12, -7, -3)
dial.setLineWidth(1, 3, 1, 1)
dial.addPointer(4.2, &hffcc33, &h000000, PVBaseChartRQX.kArrowPointer2, -0.1, 0.7, 0.9)
dial.addPointer(9.6, &hffffff, &h000000, PVBaseChartRQX.kTriangularPointer2, -0.15, 0.95, 1.6)
dial.setCap2
dial.addGlare(-1, 135, 0, -1, 0.18)
meters.Append(dial)

Dim thermometer As New PVLinearMeterRQX(110, 300, &heeeeee, &h999999)
thermometer.setRoundedFrame
thermometer.setMeter(50, 20, 20, 250, PVBaseChartRQX.kLeft)
thermometer.setScale(-20, 50, 10, 5)
Dim stops() As Double = Array(-20, &h3355ff, 0, &h66ccff, 20, &h66dd66, 35, &hffcc33, 50, &hee3322)
thermometer.addColorScale(stops)
thermometer.setLabelStyle("bold", 8, &h333333)
thermometer.addPointer(23.5, &h333333).setShape(PVBaseChartRQX.kTriangularPointer, 0.6)
thermometer.addText(60, 290, "°C", "bold", 9, &h333333, PVBaseChartRQX.kCenter)
meters.Append(thermometer)

Dim bar As New PVLinearMeterRQX(360, 90, &hffffff, &hbbbbbb)
bar.setMeter(20, 30, 320, 24, PVBaseChartRQX.kTop)
bar.setScale(0, 100, 10, 5)
bar.setTickLength(-8)
bar.addZone(0, 60, &hccebc5, "normal")
bar.addZone(60, 85, &hfee8a8, "high")
bar.addZone(85, 100, &hf9b4ae, "peak")
bar.setRail(&h888888, 2, 4)
bar.addText(20, 60, "0%", "bold", 8, &h555555, PVBaseChartRQX.kTopLeft)
bar.addText(340, 60, "100%", "bold", 8, &h555555, PVBaseChartRQX.kTopRight)
bar.addPointer(72, &h3366cc).setShape(PVBaseChartRQX.kTriangularPointer, 0.5)
meters.Append(bar)

Dim suffixes() As String = Array(".png", ".svg", ".pdf")
For i As Integer = 0 To meters.Ubound
  For k As Integer = 0 To suffixes.Ubound
    If Not meters(i).makeChart(names(i) + suffixes(k)) Then ok = False
  Next
Next
If Not ok Then Print "A meter could not be written."

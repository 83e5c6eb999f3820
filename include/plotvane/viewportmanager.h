#ifndef PLOTVANE_VIEWPORTMANAGER_H
#define PLOTVANE_VIEWPORTMANAGER_H

#include <plotvane/export.h>

namespace plotvane {

class Axis;
class BaseChart;

// The zoom and scroll state of an interactive chart. The view port is the visible part of the data
// as a rectangle in the unit square of the full range; mouse actions in chart pixels move and resize
// it within the zoom limits. Zoom and drag calls return true when the view port changed, and the
// program then redraws the chart.
class PLOTVANE_API ViewPortManager {
  public:
    static ViewPortManager* create();
    virtual void destroy() = 0;

    enum Direction { kDirectionHorizontal = 0, kDirectionVertical = 1, kDirectionHorizontalVertical = 2 };

    // The text BaseChart::getChartMetrics gives after each render; null forgets the plot area.
    virtual void setChartMetrics(const char* metrics) = 0;
    virtual int getPlotAreaLeft() const = 0;
    virtual int getPlotAreaTop() const = 0;
    virtual int getPlotAreaWidth() const = 0;
    virtual int getPlotAreaHeight() const = 0;
    // How far outside the plot area the mouse still counts (inExtendedPlotArea).
    virtual void setPlotAreaMouseMargin(int left, int right, int top, int bottom) = 0;
    virtual bool inPlotArea(int x, int y) const = 0;
    virtual bool inExtendedPlotArea(int x, int y) const = 0;

    virtual double getViewPortLeft() const = 0;
    virtual double getViewPortTop() const = 0;
    virtual double getViewPortWidth() const = 0;
    virtual double getViewPortHeight() const = 0;
    // Stored as given; validateViewPort brings them back into the unit square.
    virtual void setViewPortLeft(double left) = 0;
    virtual void setViewPortTop(double top) = 0;
    virtual void setViewPortWidth(double width) = 0;
    virtual void setViewPortHeight(double height) = 0;
    virtual void validateViewPort() = 0;

    // The smallest (zoom-in) and largest (zoom-out) view-port sizes; stored as given.
    virtual double getZoomInWidthLimit() const = 0;
    virtual double getZoomOutWidthLimit() const = 0;
    virtual double getZoomInHeightLimit() const = 0;
    virtual double getZoomOutHeightLimit() const = 0;
    virtual void setZoomInWidthLimit(double limit) = 0;
    virtual void setZoomOutWidthLimit(double limit) = 0;
    virtual void setZoomInHeightLimit(double limit) = 0;
    virtual void setZoomOutHeightLimit(double limit) = 0;
    virtual bool canZoomIn(int direction) const = 0;
    virtual bool canZoomOut(int direction) const = 0;

    // A drag: startDrag at mouse-down, then dragTo with the pixels moved since.
    virtual void startDrag() = 0;
    virtual bool dragTo(int direction, int dx, int dy) = 0;
    // Centres the view on (x, y), zoomed by the ratio (above 1 zooms in).
    virtual bool zoomAt(int direction, int x, int y, double zoomRatio) = 0;
    // Shows the dragged rectangle.
    virtual bool zoomTo(int direction, int x1, int y1, int x2, int y2) = 0;
    // Zooms keeping the point under the mouse where it is (wheel zoom).
    virtual bool zoomAround(int x, int y, double xZoomRatio, double yZoomRatio) = 0;

    // Full data ranges, one per named dimension, mapping view-port ratios to values.
    virtual void setFullRange(const char* id, double minValue, double maxValue) = 0;
    virtual void clearAllRanges() = 0;
    // A new full range (data added or removed). updateType 0 leaves the view port as it is, 1 keeps
    // the visible values, 2 follows the maximum (newest data), 3 the minimum.
    virtual bool updateFullRangeH(const char* id, double minValue, double maxValue, int updateType) = 0;
    virtual bool updateFullRangeV(const char* id, double minValue, double maxValue, int updateType) = 0;
    // Either of those by direction (Chart::DirectionHorizontal, DirectionVertical), or both sides of
    // the view port at once for Chart::DirectionHorizontalVertical; another direction changes nothing.
    virtual bool updateFullRangeHV(int direction, const char* id, double minValue, double maxValue,
                                   int updateType) = 0;
    virtual double getValueAtViewPort(const char* id, double ratio, bool isLogScale = false) const = 0;
    virtual double getViewPortAtValue(const char* id, double value, bool isLogScale = false) const = 0;

    // Gives the axis the visible range of the dimension; without a full range yet the axis is
    // remembered and commitPendingSyncAxis takes its automatic scale as the full range.
    virtual void syncLinearAxisWithViewPort(const char* id, Axis* axis) = 0;
    virtual void syncLogAxisWithViewPort(const char* id, Axis* axis) = 0;
    virtual void syncDateAxisWithViewPort(const char* id, Axis* axis) = 0;
    virtual void commitPendingSyncAxis(BaseChart* chart) = 0;

    // Numbers a program keeps with the view (0 when missing). Full ranges live here as id + "_min"
    // and id + "_max".
    virtual double getCustomAttr(const char* key) const = 0;
    virtual void setCustomAttr(const char* key, double value) = 0;

  protected:
    virtual ~ViewPortManager() = default;
};

}  // namespace plotvane

#endif

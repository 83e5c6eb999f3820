#ifndef PLOTVANE_MULTICHART_H
#define PLOTVANE_MULTICHART_H

// A chart made of other charts: each member lays itself out and paints as it would alone, and its
// finished picture is placed at its position in this one, later members over earlier ones. The
// members are not owned: they must outlive the multi-chart and are destroyed by the caller.

#include <plotvane/basechart.h>

namespace plotvane {

class PLOTVANE_API MultiChart : public virtual BaseChart {
public:
    static MultiChart* create(int width, int height, int bgColor = Chart::BackgroundColor,
                              int edgeColor = Chart::Transparent, int raisedEffect = 0);

    // A null chart is ignored.
    virtual void addChart(int x, int y, BaseChart* chart) = 0;
    // The member that stands for the whole, for the programs that ask (the finance chart's price panel).
    virtual void setMainChart(BaseChart* chart) = 0;
    // -1 gives the main chart; null past the members.
    virtual BaseChart* getChart(int i = 0) = 0;
    virtual int getChartCount() = 0;
    using BaseChart::getAbsOffsetX;
    using BaseChart::getAbsOffsetY;
    // Where a member's top-left corner lies in the outermost picture; 0 for a chart that is not a member.
    virtual int getAbsOffsetX(const BaseChart* chart) const = 0;
    virtual int getAbsOffsetY(const BaseChart* chart) const = 0;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_CHART_MULTICHART_P_H
#define PLOTVANE_CHART_MULTICHART_P_H

#include <plotvane/multichart.h>

#include <string>
#include <vector>

#include "chart/basechart_p.h"

namespace plotvane {

// Shared with the charts that are multi-charts themselves (the finance chart).
class MultiChartImpl : public virtual MultiChart, public virtual BaseChartImpl {
public:
    void addChart(int x, int y, BaseChart* chart) override {
        if (!chart || chart == this) return;
        members_.push_back({x, y, chart});
        if (auto* impl = dynamic_cast<BaseChartImpl*>(chart)) impl->setContainer(this, x, y);
    }

    void setMainChart(BaseChart* chart) override { main_ = chart; }

    BaseChart* getChart(int i) override {
        if (i == -1) return main_;
        return i >= 0 && i < getChartCount() ? members_[static_cast<size_t>(i)].chart : nullptr;
    }

    int getChartCount() override { return static_cast<int>(members_.size()); }

    int getAbsOffsetX() const override { return guarded([this] { return BaseChartImpl::getAbsOffsetX(); }); }
    int getAbsOffsetY() const override { return guarded([this] { return BaseChartImpl::getAbsOffsetY(); }); }

    int getAbsOffsetX(const BaseChart* chart) const override {
        const Member* m = find(chart);
        return m ? m->x + getAbsOffsetX() : 0;
    }

    int getAbsOffsetY(const BaseChart* chart) const override {
        const Member* m = find(chart);
        return m ? m->y + getAbsOffsetY() : 0;
    }

    void enableVectorOutput() override {
        BaseChartImpl::enableVectorOutput();
        for (const Member& m : members_) m.chart->enableVectorOutput();
    }

protected:
    struct Member {
        int x, y;
        BaseChart* chart;
    };

    const Member* find(const BaseChart* chart) const {
        for (const Member& m : members_)
            if (m.chart == chart) return &m;
        return nullptr;
    }

    template <class F>
    int guarded(F answer) const {
        if (busy_) return 0;
        busy_ = true;
        int offset = answer();
        busy_ = false;
        return offset;
    }

    void onLayoutLegend() override {
        for (const Member& m : members_) m.chart->layoutLegend();
    }

    void onLayoutChart() override {
        for (const Member& m : members_) m.chart->layout();
    }

    void onPaint() override {
        for (const Member& m : members_)
            if (DrawArea* d = m.chart->makeChart()) getRawDrawArea()->merge(d, m.x, m.y, Chart::TopLeft, 0);
    }

    std::string onGetHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                  int offsetY) override {
        std::string map;
        for (const Member& m : members_) {
            const char* part = m.chart->getHTMLImageMap(url, queryFormat, extraAttr, offsetX + m.x, offsetY + m.y);
            if (part) map += part;
        }
        return map;
    }

    std::vector<Member> members_;
    BaseChart* main_ = nullptr;
    mutable bool busy_ = false;
};

}  // namespace plotvane

#endif

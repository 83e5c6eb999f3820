// Chart titles. A title spans the edge it stands on, so its box is given the chart's width (or
// height, for the turned titles at the sides) and grows with its text in the other direction.
// Its automatic margins make room for the chart's thick frame on the sides that face it, as the
// frame is drawn over the chart's edge after everything else.
#include <plotvane/drawarea.h>

#include "chart/basechart_p.h"
#include "chart/drawobj_p.h"
#include "chart/textbox_p.h"

namespace plotvane {

namespace {

class TitleTextBox final : public TextBoxImpl {
public:
    TitleTextBox(BaseChartImpl* chart, int alignment) : TextBoxImpl(chart->getRawDrawArea()), chart_(chart), edge_(edgeOf(alignment)) {}

private:
    enum Edge { kBottomEdge, kLeftEdge, kRightEdge, kTopEdge, kNoEdge };

    static Edge edgeOf(int alignment) {
        switch (alignment) {
            case 1: case 2: case 3: return kBottomEdge;
            case 4: return kLeftEdge;
            case 6: return kRightEdge;
            case 7: case 8: case 9: return kTopEdge;
            default: return kNoEdge;
        }
    }

    int extraMargin(Side side) const override {
        static const Side inward[4] = {kTop, kRight, kLeft, kBottom};  // by Edge
        if (edge_ == kNoEdge) return 0;
        if (side == inward[edge_]) return edge_ == kTopEdge ? 1 : 0;
        return chart_->getFrameThickness();
    }

    BaseChartImpl* chart_;
    Edge edge_;
};

}  // namespace

TextBoxImpl* createTitle(BaseChartImpl* chart, int alignment) {
    auto* title = new TitleTextBox(chart, alignment);
    title->setDefault(chart->defaultTextBox());
    int width = chart->getWidth(), height = chart->getHeight();
    switch (alignment) {
        case 1: case 2: case 3:
            title->setPos(0, height - 1);
            title->setSize(width, 0);
            break;
        case 4:
            title->setPos(0, 0);
            title->setFontAngle(90, false);
            title->setSize(0, height);
            break;
        case 5:
            title->setPos(width / 2, height / 2);
            break;
        case 6:
            title->setPos(width - 1, 0);
            title->setFontAngle(90, false);
            title->setSize(0, height);
            break;
        default:
            title->setPos(0, 0);
            title->setSize(width, 0);
            break;
    }
    return title;
}

}  // namespace plotvane

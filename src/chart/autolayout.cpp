// Layout for charts whose program placed nothing but the chart's size: titles stack along their
// edges in the order they were added (top and bottom ones across the whole width first, the turned
// side ones in the height left between them), a legend without a position goes centred above what
// remains with its entries in rows, and a legend the program did place keeps its place but takes
// its band out of the room. What is left, room(), is the chart type's to fill.
#include <plotvane/drawarea.h>

#include <algorithm>

#include "chart/basechart_p.h"
#include "chart/legendbox_p.h"
#include "chart/textbox_p.h"

namespace plotvane {

namespace {

// Between a legend and the titles above it or the chart parts beside it.
constexpr int kGap = 6;

enum class Edge { kTop, kBottom, kLeft, kRight, kNone };

Edge edgeOf(int alignment) {
    switch (alignment) {
        case 1: case 2: case 3: return Edge::kBottom;
        case 4: return Edge::kLeft;
        case 5: return Edge::kNone;
        case 6: return Edge::kRight;
        default: return Edge::kTop;
    }
}

long long area(const ChartRoom& r) {
    return static_cast<long long>(std::max(0, r.right - r.left)) * std::max(0, r.bottom - r.top);
}

}  // namespace

void BaseChartImpl::stackTitles() {
    room_ = {0, 0, width_, height_};
    for (Title& t : titles_) {
        Edge edge = edgeOf(t.alignment);
        if (edge == Edge::kTop) {
            t.box->setPos(0, room_.top);
            room_.top = t.box->getTopY() + t.box->getHeight();
        } else if (edge == Edge::kBottom) {
            t.box->setPos(0, room_.bottom - 1);
            room_.bottom = t.box->getTopY();
        }
    }
    for (Title& t : titles_) {
        Edge edge = edgeOf(t.alignment);
        if (edge != Edge::kLeft && edge != Edge::kRight) continue;
        t.box->setPos(edge == Edge::kLeft ? room_.left : room_.right - 1, room_.top);
        t.box->setSize(0, std::max(room_.bottom - room_.top, 1));
        if (edge == Edge::kLeft) room_.left = t.box->getLeftX() + t.box->getWidth();
        else room_.right = t.box->getLeftX();
    }
}

void BaseChartImpl::placeLegend() {
    LegendBoxImpl* legend = legend_.get();
    if (!legend) return;
    if (!legend->isPlaced()) {
        // In rows across the chart's width, which costs the plot the least height.
        legend->setCols(Chart::AutoGrid);
        legend->setAlignment(Chart::TopCenter);
        legend->setPos((room_.left + room_.right) / 2, room_.top + kGap);
    } else if (legend->getAlignment() >= Chart::TopLeft && legend->anchorY() < room_.top) {
        // Hung from a point among the titles: moved down below them rather than drawn over them.
        legend->setPos(legend->anchorX(), room_.top + kGap);
    }
}

void BaseChartImpl::leaveLegendOut() {
    LegendBoxImpl* legend = legend_.get();
    if (!legend || !legend->isPlaced() || legend->getWidth() <= 0 || legend->getHeight() <= 0) return;
    ChartRoom box{legend->getLeftX(), legend->getTopY(), legend->getLeftX() + legend->getWidth(),
                  legend->getTopY() + legend->getHeight()};
    if (box.right <= room_.left || box.left >= room_.right || box.bottom <= room_.top || box.top >= room_.bottom)
        return;
    // Of the four bands the legend could be cut away with, the one that leaves the most.
    ChartRoom cuts[4] = {room_, room_, room_, room_};
    cuts[0].top = box.bottom + kGap;
    cuts[1].bottom = box.top - kGap;
    cuts[2].left = box.right + kGap;
    cuts[3].right = box.left - kGap;
    room_ = *std::max_element(std::begin(cuts), std::end(cuts),
                              [](const ChartRoom& a, const ChartRoom& b) { return area(a) < area(b); });
}

}  // namespace plotvane

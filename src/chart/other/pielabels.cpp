// Pie labels: their text, where they hang from the rim, and how the two columns of side labels (and
// crowded circle labels) are spread so that none overlaps another.
//
// A label hangs at its sector's mid angle, a label position beyond the rim (inside the sector when
// the position is negative), aligned away from the pie. In 3D a label on the half of the pie that
// faces the depth direction is moved down with the slab, so it clears the wall. Side labels line
// up in a column on each side of the pie, the right one for sectors whose middle lies in the right
// half. Circle labels of each half form a column too, but keep their x: they only move when they
// would overlap. Either kind of column is spread by spreadLabels (the least squared moves that
// leave no overlap), and a join line then runs from the rim to the label, with an elbow for side
// labels.
#include <algorithm>
#include <cmath>

#include "chart/other/labelspread_p.h"
#include "chart/other/piechart_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

namespace {

constexpr double kPi = 3.14159265358979;

double wrap(double a) {
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}

int circleAlignment(double mid) {
    if (mid < kPi / 4) return Chart::BottomLeft;
    if (mid <= 3 * kPi / 4) return Chart::Left;
    if (mid <= kPi) return Chart::TopLeft;
    if (mid < 5 * kPi / 4) return Chart::TopRight;
    if (mid <= 7 * kPi / 4) return Chart::Right;
    return Chart::BottomRight;
}

bool rightHalf(const SectorImpl& s) { return wrap(s.g_.mid()) <= kPi; }

}  // namespace

void PieChartImpl::layoutLabels() {
    for (auto& sp : sectors_) {
        SectorImpl& s = *sp;
        s.label_.reset();
        LabelBox* style = s.labelStyle_ ? s.labelStyle_.get() : labelStyle_.get();
        if (!s.hasValue() || s.labelFormat_.empty() || s.labelFormat_ == " " ||
            style->fontColor() == Chart::Transparent)
            continue;
        std::string text = formatSectorText(s.labelFormat_, s);
        if (!s.icon_.empty()) text = "<*img=" + s.icon_ + "*> " + text;

        const SectorGeometry& g = s.g_;
        const double mid = wrap(g.mid());
        const bool side = s.labelLayout_ == Chart::SideLayout;
        int x = g.cx, y = g.cy;
        if (s.labelPos_ >= 0 && std::cos(mid - depthDirection()) > 0) x += g.dx, y += g.dy;
        const int reach = side ? s.labelPos_ / 10 : s.labelPos_;
        const double ratio = g.rx > 0 ? double(g.ry) / g.rx : 1;
        const int ax = x + roundPixel((reach + g.rx) * std::sin(mid));
        const int ay = y - roundPixel((g.ry + reach * ratio) * std::cos(mid));
        s.rimX_ = x + roundPixel(g.rx * std::sin(mid));
        s.rimY_ = y - roundPixel(g.ry * std::cos(mid));
        s.elbowX_ = ax;
        s.elbowY_ = ay;
        int alignment = s.labelPos_ < 0 ? Chart::Center : side ? (mid > kPi ? Chart::Right : Chart::Left)
                                                               : circleAlignment(mid);
        s.label_ = style->copyWith(text, ax, ay, alignment);
    }
    spreadSideLabels();
    spreadCircleLabels();
}

namespace {

// Spreads one column of laid-out labels vertically.
void spreadColumn(std::vector<SectorImpl*>& column, double lo, double hi) {
    std::stable_sort(column.begin(), column.end(),
                     [](SectorImpl* a, SectorImpl* b) { return a->label_->getTopY() < b->label_->getTopY(); });
    std::vector<SpreadItem> items;
    for (size_t i = 0; i < column.size(); ++i) {
        LabelBox& box = *column[i]->label_;
        items.push_back({double(box.getTopY()), double(box.getHeight())});
    }
    spreadLabels(items, lo, hi);
    for (size_t i = 0; i < column.size(); ++i) {
        LabelBox& box = *column[i]->label_;
        box.setPos(box.offsetX(), box.offsetY() + roundPixel(items[i].top) - box.getTopY());
    }
}

}  // namespace

void PieChartImpl::spreadSideLabels() {
    std::vector<SectorImpl*> right, left;
    for (auto& s : sectors_) {
        if (!s->label_ || s->labelLayout_ != Chart::SideLayout || s->labelPos_ < 0) continue;
        LabelBox& box = *s->label_;
        if (rightHalf(*s)) {
            box.setPos(cx_ + r_ + s->labelPos_, box.offsetY());
            right.push_back(s.get());
        } else {
            box.setPos(cx_ - r_ - s->labelPos_, box.offsetY());
            left.push_back(s.get());
        }
    }
    spreadColumn(right, topBound_, bottomBound_);
    spreadColumn(left, topBound_, bottomBound_);
}

namespace {

// Half the width of the pie's outline (top face, wall and bottom face) over the rows top to bottom.
double outlineHalfWidth(const SectorGeometry& g, double top, double bottom) {
    auto ellipse = [&](double y, double cy) {
        const double t = (y - cy) / std::max(1, g.ry);
        return std::fabs(t) >= 1 ? 0.0 : g.rx * std::sqrt(1 - t * t);
    };
    const double lo = std::min(g.cy, g.cy + g.dy), hi = std::max(g.cy, g.cy + g.dy);
    if (bottom >= lo && top <= hi) return g.rx;
    return std::max(ellipse(std::clamp(lo, top, bottom), lo), ellipse(std::clamp(hi, top, bottom), hi));
}

}  // namespace

// A circle label moved up or down is then moved out, so that it stays clear of the pie.
void PieChartImpl::spreadCircleLabels() {
    std::vector<SectorImpl*> right, left;
    for (auto& s : sectors_)
        if (s->label_ && s->labelLayout_ != Chart::SideLayout && s->labelPos_ >= 0)
            (rightHalf(*s) ? right : left).push_back(s.get());
    spreadColumn(right, 0, getHeight());
    spreadColumn(left, 0, getHeight());
    for (auto& s : sectors_) {
        if (!s->label_ || s->labelLayout_ == Chart::SideLayout || s->labelPos_ < 0) continue;
        LabelBox& box = *s->label_;
        SectorGeometry g = s->g_;
        g.cx = cx_;
        g.cy = cy_;
        const int clear = roundPixel(outlineHalfWidth(g, box.getTopY(), box.getTopY() + box.getHeight())) + s->labelPos_;
        if (rightHalf(*s))
            box.setPos(box.offsetX() + std::max(0, cx_ + clear - box.getLeftX()), box.offsetY());
        else
            box.setPos(box.offsetX() - std::max(0, box.getLeftX() + box.getWidth() - (cx_ - clear)), box.offsetY());
    }
}

void PieChartImpl::paintLabel(DrawArea* d, SectorImpl& s) {
    if (!s.label_) return;
    LabelBox& box = *s.label_;
    int c = s.color_;
    d->setColorTable(&c, 1, Chart::SameAsMainColor & 0xffff);
    if (s.labelPos_ >= 0 && d->getARGBColor(s.joinColor_) != static_cast<int>(Chart::Transparent)) {
        const int w = std::max(1, s.joinWidth_);
        if (s.labelLayout_ != Chart::SideLayout) {
            d->line(box.offsetX(), box.offsetY(), s.rimX_, s.rimY_, s.joinColor_, w);
        } else {
            const int y = box.getTopY() + box.getHeight() / 2;
            const bool onRight = rightHalf(s);
            const int edge = onRight ? box.getLeftX() : box.getLeftX() + box.getWidth();
            int elbowY = std::abs(s.elbowY_ - y) <= box.getHeight() / 4 ? y : s.elbowY_;
            // The horizontal run before the label never reaches back past the elbow.
            const int reach = s.labelPos_ / 10;
            int runX = onRight ? std::max(s.elbowX_, edge - reach) : std::min(s.elbowX_, edge + reach);
            d->line(s.rimX_, s.rimY_, s.elbowX_, elbowY, s.joinColor_, w);
            d->line(s.elbowX_, elbowY, runX, y, s.joinColor_, w);
            d->line(runX, y, edge, y, s.joinColor_, w);
        }
    }
    box.paint(d);
}

}  // namespace plotvane

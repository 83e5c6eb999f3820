// What the polar chart paints for its axes besides the radial axis's own line: the angular axis's
// ticks, labels and title, and the marks of both axes.
//
// The angular axis runs round the plot area's edge, so its ticks stand on the edge (the circle, or
// the grid polygon's outline) and point away from the centre (inwards for a negative length), and
// its labels stand beyond the longest tick. The upper end of a numeric scale comes round onto its
// lower end; only one tick and one label are drawn there. The title goes under the circle, or over
// it when the axis's title position is at the top. An angular mark is a spoke from the centre to
// the edge with its text where a label would be; a radial mark is a ring at its radius with its text
// beside the radial axis, across it from the axis's labels.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>

#include "chart/other/polarchart_p.h"
#include "chart/pixel_p.h"

namespace plotvane {

namespace {

using polar::isSet;
using polar::kPi;
using polar::wrap360;

// The alignment that hangs a text at screen angle t by its side facing the centre.
int hangingAlignment(double t) {
    const double s = std::sin(t * kPi / 180), c = std::cos(t * kPi / 180);
    return s > 0.3 ? Chart::Left : s < -0.3 ? Chart::Right : c > 0 ? Chart::Bottom : Chart::Top;
}

bool sameAngle(double a, double b) { return std::fabs(wrap360(a - b + 180) - 180) < 1e-6; }

}  // namespace

int PolarChartImpl::angularTextGap() const { return angular_.tickReach() + angular_.labelGap(); }

bool PolarChartImpl::titleAbove() const {
    const int p = angular_.titlePos();
    return p == Chart::Top || p == Chart::TopLeft || p == Chart::TopRight;
}

int PolarChartImpl::titleRoom() {
    const LabelBox& title = angular_.titleStyle();
    if (title.text().empty()) return 0;
    return std::max(0, title.copyWith(title.text(), 0, 0, Chart::TopCenter)->getHeight() + angular_.titleGap());
}

void PolarChartImpl::paintAngularTicks(DrawArea* d) {
    std::vector<double> done;
    // Majors first, so a minor tick that falls on a major one gives way.
    for (TickKind kind : {TickKind::Major, TickKind::Minor, TickKind::Micro})
        for (const AxisTick& t : angular_.scale().getTicks()) {
            int len, width, color;
            if (t.kind != kind || !angular_.tickStyle(t, len, width, color)) continue;
            const double a = screenAngle(t.value);
            if (!isSet(a)) continue;
            auto at = std::lower_bound(done.begin(), done.end(), a);
            if ((at != done.end() && sameAngle(*at, a)) || (at != done.begin() && sameAngle(at[-1], a)) ||
                (!done.empty() && (sameAngle(done.front(), a) || sameAngle(done.back(), a))))
                continue;
            done.insert(at, a);
            const double s = std::sin(a * kPi / 180), c = std::cos(a * kPi / 180), R = outlineRadius(radius_, a);
            d->line(cx_ + R * s, cy_ - R * c, cx_ + (R + len) * s, cy_ - (R + len) * c, color, width);
        }
}

std::vector<PolarChartImpl::PlacedLabel> PolarChartImpl::placeAngularLabels() {
    std::vector<PlacedLabel> placed;
    const double gap = angularTextGap();
    double first = Chart::NoValue;
    for (const AxisImpl::Label& l : angular_.builtLabels()) {
        double t = screenAngle(l.value);
        if (!isSet(t)) continue;
        // The upper end of a numeric scale falls on its lower end, whose label stands there already.
        if (first != Chart::NoValue && sameAngle(t, first)) continue;
        if (first == Chart::NoValue) first = t;
        const double R = outlineRadius(radius_, t) + gap;
        placed.push_back({l.value, l.box->copyWith(l.box->text(), roundPixel(cx_ + R * std::sin(t * kPi / 180)),
                                                   roundPixel(cy_ - R * std::cos(t * kPi / 180)),
                                                   hangingAlignment(t))});
    }
    return placed;
}

void PolarChartImpl::paintAngularLabels(DrawArea* d) {
    for (PlacedLabel& l : placeAngularLabels()) l.box->paint(d);
}

void PolarChartImpl::paintAngularTitle(DrawArea* d) {
    const LabelBox& title = angular_.titleStyle();
    if (title.text().empty()) return;
    int labelHeight = 0;
    for (const AxisImpl::Label& l : angular_.builtLabels()) labelHeight = std::max(labelHeight, l.box->getHeight());
    const int reach = radius_ + angularTextGap() + labelHeight + angular_.titleGap();
    if (titleAbove())
        title.copyWith(title.text(), cx_, cy_ - reach, Chart::Bottom)->paint(d);
    else
        title.copyWith(title.text(), cx_, cy_ + reach, Chart::Top)->paint(d);
}

void PolarChartImpl::paintMarks(DrawArea* d, bool onTop) {
    for (const auto& m : angular_.marks()) {
        if (m->onTop() != onTop) continue;
        const double t = screenAngle(m->value());
        if (!isSet(t)) continue;
        const double s = std::sin(t * kPi / 180), c = std::cos(t * kPi / 180), R = outlineRadius(radius_, t);
        m->paintLine(d, cx_, cy_, roundPixel(cx_ + R * s), roundPixel(cy_ - R * c));
        const int tick = m->tickColor();
        if (tick != -1 && tick != Chart::Transparent && angular_.majorTickLength() != 0) {
            const double end = R + angular_.majorTickLength();
            d->line(cx_ + R * s, cy_ - R * c, cx_ + end * s, cy_ - end * c, tick,
                    std::max(angular_.majorTickWidth(), 1));
        }
        const double at = R + angularTextGap();
        m->paintTextAt(d, roundPixel(cx_ + at * s), roundPixel(cy_ - at * c),
                       m->besideAxis() ? hangingAlignment(t) : m->alignment());
    }
    std::vector<double> xs, ys;
    for (const auto& m : radial_.marks()) {
        if (m->onTop() != onTop) continue;
        const double R = std::fabs(radialPixels(m->value()));
        if (!isSet(R) || R > radius_ + 0.5) continue;
        xs.clear();
        ys.clear();
        ringPath(R, startAngle_, startAngle_ + 360, xs, ys);
        for (size_t k = 1; k < xs.size(); ++k)
            m->paintLine(d, roundPixel(xs[k - 1]), roundPixel(ys[k - 1]), roundPixel(xs[k]), roundPixel(ys[k]));
        // Across the radial axis from its labels.
        double sx, sy;
        radial_.labelSide(sx, sy);
        const double side = std::atan2(-sx, sy) * 180 / kPi, gap = radial_.labelGap();
        const double x = cx_ + R * std::sin(startAngle_ * kPi / 180) - gap * sx;
        const double y = cy_ - R * std::cos(startAngle_ * kPi / 180) - gap * sy;
        m->paintTextAt(d, roundPixel(x), roundPixel(y), m->besideAxis() ? hangingAlignment(side) : m->alignment());
    }
}

}  // namespace plotvane

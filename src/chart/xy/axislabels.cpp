// What an axis draws: its line, ticks, labels and title, and the marks and zones it lends the plot
// area.
//
// Everything stands relative to the axis line. Ticks and labels point away from the plot area
// (right of a right axis, below a bottom axis); a negative tick length turns ticks inwards and
// then takes no room. Labels hang from their tick by an alignment point: a horizontal axis picks
// it from the label angle so that slanted labels end at their tick, a vertical axis aligns its
// labels towards the axis line (or in a column of their common width, when asked). The title
// stands beyond the labels, turned along a vertical axis. The thickness reported to the plot
// area (for packing) is exactly the room these take.
//
// A label's text comes from its tick's format template with the fields "value", "label" and
// "tickInc"; other fields are the chart's extra fields at the tick's rounded value.
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "chart/basechart_p.h"
#include "chart/drawobj_p.h"
#include "chart/imagemap_p.h"
#include "chart/xy/axis_p.h"
#include "chart/xy/scalemath_p.h"
#include "text/pvparser_p.h"
#include "chart/pixel_p.h"

namespace plotvane {


MarkImpl::MarkImpl(DrawArea* d, double value, int lineColor)
    : LabelBox(d), value_(value), line_(createLine(0, 0, 0, 0, lineColor, 1)) {
    alignment_ = 0;
    fontColor_ = lineColor;
    setMargin(0);
}

void MarkImpl::setMarkColor(int lineColor, int textColor, int tickColor) {
    line_->setColor(lineColor);
    fontColor_ = textColor == -1 ? lineColor : textColor;
    tickColor_ = tickColor;
}

void MarkImpl::paintLine(DrawArea* d, int x1, int y1, int x2, int y2) {
    line_->setPos(x1, y1, x2, y2);
    line_->paint(d);
}

void MarkImpl::paintTextAt(DrawArea* d, int x, int y, int alignment) {
    if (text_.empty()) return;
    int saved = alignment_;
    alignment_ = alignment;
    setPos(x, y);
    paint(d);
    alignment_ = saved;
}

std::string AxisImpl::labelText(const AxisTick& tick) {
    const std::vector<std::string>& formats = scale_.labelFormats();
    if (tick.format < 0 || tick.format >= static_cast<int>(formats.size())) return std::string();
    formatter_.setContextPrecision(scale_.labelPrecision());
    std::string label;
    const std::vector<AxisLabel>& table = scale_.labels();
    if (tick.label >= 0 && tick.label < static_cast<int>(table.size())) {
        const AxisLabel& l = table[tick.label];
        label = l.number == Chart::NoValue ? l.text
                                           : formatValueWithTemplate(formatter_, l.number, l.format.c_str());
    }
    PVParser parser(LabelBox::limited(formats[tick.format]).c_str(), 0);
    int item = static_cast<int>(std::clamp(std::round(tick.value), -2e9, 2e9));
    while (const char* name = parser.getNextAttr()) {
        std::string field = name;
        if (field == "value")
            parser.replaceAttr(formatter_.format(parser.getFormatString(), tick.value));
        else if (field == "label")
            parser.replaceAttr(label.c_str());
        else if (field == "tickInc")
            parser.replaceAttr(formatter_.format(parser.getFormatString(), scale_.tickInc()));
        else
            chart_->formatCustomAttr(parser, formatter_, 0, item, name);
    }
    std::string text = parser.getResult(&formatter_);
    formatter_.setContextPrecision(-1);
    return text;
}

void AxisImpl::buildLabels() {
    if (labelsBuilt_) return;
    labelsBuilt_ = true;
    labels_.clear();
    for (const AxisTick& t : scale_.getTicks()) {
        if (t.kind != TickKind::Major || t.format < 0) continue;
        std::string text = labelText(t);
        if (text.empty()) continue;
        labels_.push_back({t.value, labelStyle_.copyWith(text, 0, 0, Chart::TopLeft)});
    }
}

int AxisImpl::lineAt() const {
    return (isVertical() ? x_ + offsetX_ : y_ + offsetY_) + lineShift_;
}

int AxisImpl::tickReach() const { return std::max({majorTickLength_, minorTickLength_, 0}); }

PVMLTable* AxisImpl::makeLabelTable() {
    if (!labelTable_) {
        labelTable_.reset(newTable(area_, chart_ ? chart_->defaultTextBox() : nullptr, 0, 0, Chart::TopLeft, 0, 0));
        // Labels already given become its first row or column at once, so that the cells beside
        // them can be filled. Beside a vertical axis they stand level with their ticks, towards
        // the axis (alignment is each cell's own, not a style).
        placeLabelTable();
        if (isVertical())
            for (int r = 0; r < labelTable_->getRowCount(); ++r)
                labelTable_->getCell(0, r)->setAlignment(outward() > 0 ? Chart::Left : Chart::Right);
    }
    return labelTable_.get();
}

// The labels fill the table's first line along the axis, one cell per label, each as long as an
// equal share of the axis: row 0 under a horizontal axis, column 0 beside a vertical one. The
// table grows away from the plot: further rows below a bottom axis and above a top one (rows
// drawn bottom to top there), further columns left of a left axis (columns drawn right to left). The cells follow the labels' order on the
// screen: a vertical axis's rows usually run upwards, and a reversed axis turns them round.
bool AxisImpl::placeLabelTable() {
    if (!labelTable_) return false;
    buildLabels();
    PVMLTable& t = *labelTable_;
    const bool vertical = isVertical();
    int n = static_cast<int>(labels_.size());
    auto along = [&] { return vertical ? t.getRowCount() : t.getColCount(); };
    while (along() < n && (vertical ? t.appendRow() : t.appendCol()) >= 0) {
    }
    if ((vertical ? t.getColCount() : t.getRowCount()) < 1) vertical ? t.appendCol() : t.appendRow();
    int count = std::max(1, along());
    int share = length_ / count;
    for (int k = 0; k < along(); ++k) {
        if (k < n) {
            const char* text = labels_[static_cast<size_t>(k)].box->text().c_str();
            vertical ? t.setText(0, k, text) : t.setText(k, 0, text);
        }
        if (vertical)
            t.getRowStyle(k)->setHeight(share);
        else
            t.getColStyle(k)->setWidth(share);
    }
    int across = lineAt() + outward() * tickReach();
    // Whether the labels run against the table's own order (rows down, columns rightwards).
    bool backwards = vertical;
    if (n >= 2) {
        double first = scale_.pixelOf(labels_.front().value), last = scale_.pixelOf(labels_.back().value);
        if (first != Chart::NoValue && last != Chart::NoValue) backwards = first > last;
    }
    if (vertical) {
        setTableReversed(&t, backwards, outward() < 0);
        t.setPos(across, y_ + offsetY_, outward() > 0 ? Chart::BottomLeft : Chart::BottomRight);
    } else {
        setTableReversed(&t, outward() < 0, backwards);
        t.setPos(x_ + offsetX_, across, outward() > 0 ? Chart::TopLeft : Chart::BottomLeft);
    }
    return true;
}

int AxisImpl::labelDepth() {
    if (placeLabelTable()) return (isVertical() ? labelTable_->getWidth() : labelTable_->getHeight()) - labelGap_;
    buildLabels();
    int depth = 0;
    for (Label& l : labels_) depth = std::max(depth, isVertical() ? l.box->getWidth() : l.box->getHeight());
    if (isVertical() && !labels_.empty()) depth = std::max(depth, minLabelSpace_);
    return depth;
}

void AxisImpl::labelAnchor(int p, int depthBeforeLabels, int& x, int& y, int& alignment) const {
    int across = lineAt() + outward() * depthBeforeLabels;
    if (!isVertical()) {
        x = p;
        y = across;
        alignment = scale_.labelAnchor(outward() > 0);
        return;
    }
    y = p;
    x = across;
    alignment = outward() > 0 ? Chart::Left : Chart::Right;
}

int AxisImpl::labelOverhang() {
    buildLabels();
    int reach = 0;
    for (Label& l : labels_) reach = std::max(reach, (isVertical() ? l.box->getHeight() : l.box->getWidth()) / 2);
    return reach;
}

int AxisImpl::getThickness() {
    if (!visible_) return 0;
    if (isSlanted()) return placeSlanted();
    int t = tickReach();
    int depth = labelDepth();
    if (depth > 0) t += labelGap_ + depth;
    if (!title_.text().empty()) {
        placeTitle();
        t += titleGap_ + (isVertical() ? title_.getWidth() : title_.getHeight());
    }
    return std::max(t, 0);
}

void AxisImpl::turnTitle(bool vertical) {
    // Turned to read along a vertical axis unless the user turned it otherwise.
    if (vertical && title_.fontAngle() == 0 && titlePos_ == 0)
        title_.setFontAngle(alignment_ == Chart::Left ? 90 : 270, false);
}

void AxisImpl::placeTitle() {
    bool vertical = isVertical();
    turnTitle(vertical);
    int depth = tickReach();
    int labels = labelDepth();
    if (labels > 0) depth += labelGap_ + labels;
    int across = lineAt() + outward() * (depth + titleGap_);
    int x, y, align;
    if (vertical) {
        x = across;
        y = y_ + offsetY_ - length_ / 2;
        align = outward() > 0 ? Chart::Left : Chart::Right;
        if (titlePos_ == Chart::Top || titlePos_ == Chart::TopLeft || titlePos_ == Chart::TopRight) {
            x = lineAt();
            y = y_ + offsetY_ - length_ - titleGap_;
            align = Chart::BottomCenter;
        }
    } else {
        x = x_ + offsetX_ + length_ / 2;
        y = across;
        align = outward() > 0 ? Chart::TopCenter : Chart::BottomCenter;
        if (titlePos_ == Chart::Left || titlePos_ == Chart::Right) {
            x = titlePos_ == Chart::Left ? x_ + offsetX_ - titleGap_ : x_ + offsetX_ + length_ + titleGap_;
            y = lineAt();
            align = titlePos_ == Chart::Left ? Chart::Right : Chart::Left;
        }
    }
    title_.setPos(x, y);
    title_.setAlignment(align);
}

bool AxisImpl::tickStyle(const AxisTick& t, int& length, int& width, int& color) const {
    bool major = t.kind == TickKind::Major;
    int majorColor = tickColor_ == -1 ? axisColor_ : tickColor_;
    length = major ? majorTickLength_ : t.kind == TickKind::Minor ? minorTickLength_ : minorTickLength_ / 2;
    width = major ? majorTickWidth_ : minorTickWidth_ < 0 ? majorTickWidth_ : minorTickWidth_;
    color = major || minorTickColor_ == -1 ? majorColor : minorTickColor_;
    return length != 0 && width >= 1 && color != Chart::Transparent;
}

void AxisImpl::paintTicks(DrawArea* d) const {
    int line = lineAt();
    for (const AxisTick& t : scale_.getTicks()) {
        int len, width, color;
        if (!tickStyle(t, len, width, color)) continue;
        double p = scale_.pixelOf(t.value);
        if (p == Chart::NoValue) continue;
        int at = roundPixel(p + tickOffset_);
        int end = line + outward() * len;
        if (isVertical())
            d->line(line, at, end, at, color, width);
        else
            d->line(at, line, at, end, color, width);
    }
}

void AxisImpl::paint(DrawArea* d) {
    if (!visible_) return;
    if (isSlanted()) {
        paintSlanted(d);
        return;
    }
    int line = lineAt();
    if (lineWidth_ > 0 && axisColor_ != Chart::Transparent) {
        int start = isVertical() ? y_ + offsetY_ : x_ + offsetX_;
        int end = isVertical() ? start - length_ : start + length_;
        if (isVertical())
            d->line(line, start, line, end, axisColor_, lineWidth_);
        else
            d->line(start, line, end, line, axisColor_, lineWidth_);
    }
    paintTicks(d);

    if (placeLabelTable()) {
        labelTable_->paint(d);
    } else {
        int depth = labelDepth();
        for (Label& l : labels_)
            if (placeLabel(l, depth)) l.box->paint(d);
    }
    if (!title_.text().empty()) {
        placeTitle();
        title_.paint(d);
    }
}

bool AxisImpl::placeLabel(Label& l, int depth) {
    if (!l.box->isVisible()) return false;
    double p = scale_.pixelOf(l.value);
    if (p == Chart::NoValue) return false;
    int x, y, align;
    labelAnchor(roundPixel(p + labelOffset_), tickReach() + labelGap_, x, y, align);
    if (isVertical() && labelAlignment_ != -1) {
        // A column of the common width, with the labels aligned inside it.
        int far = x + outward() * depth;
        int nearEdge = std::min(x, far);
        int farEdge = std::max(x, far);
        x = labelAlignment_ == Chart::Left ? nearEdge : labelAlignment_ == Chart::Right ? farEdge
                                                                                         : (nearEdge + farEdge) / 2;
        align = labelAlignment_;
    }
    l.box->setPos(x, y);
    l.box->setAlignment(align);
    return true;
}

void AxisImpl::addTextExtent(PixelRect& r) {
    if (!visible_ || isSlanted()) return;
    auto add = [&r](TextBoxImpl& box) {
        int left = box.getLeftX(), top = box.getTopY();
        r.left = std::min(r.left, left);
        r.top = std::min(r.top, top);
        r.right = std::max(r.right, left + box.getWidth());
        r.bottom = std::max(r.bottom, top + box.getHeight());
    };
    if (placeLabelTable()) {
        bool vertical = isVertical();
        int far = lineAt() + outward() * (tickReach() + (vertical ? labelTable_->getWidth() : labelTable_->getHeight()));
        int& low = vertical ? r.left : r.top;
        int& high = vertical ? r.right : r.bottom;
        low = std::min(low, far);
        high = std::max(high, far);
    } else {
        int depth = labelDepth();
        for (Label& l : labels_)
            if (placeLabel(l, depth)) add(*l.box);
    }
    if (!title_.text().empty()) {
        placeTitle();
        add(title_);
    }
}

void AxisImpl::paintZones(DrawArea* d, const PixelRect& plot, int shift) const {
    for (const Zone& z : zones_) {
        double a = scale_.pixelOf(z.start);
        double b = scale_.pixelOf(z.end);
        if (a == Chart::NoValue || b == Chart::NoValue) continue;
        int lo = roundPixel(std::min(a, b)) + shift;
        int hi = roundPixel(std::max(a, b)) + shift;
        if (isVertical()) {
            lo = std::max(lo, plot.top);
            hi = std::min(hi, plot.bottom);
            if (lo < hi) d->rect(plot.left, lo, plot.right, hi, Chart::Transparent, z.color);
        } else {
            lo = std::max(lo, plot.left);
            hi = std::min(hi, plot.right);
            if (lo < hi) d->rect(lo, plot.top, hi, plot.bottom, Chart::Transparent, z.color);
        }
    }
}

void AxisImpl::paintMarks(DrawArea* d, const PixelRect& plot, int shift, bool onTop) {
    for (auto& m : marks_) {
        if (m->onTop() != onTop) continue;
        double p = scale_.pixelOf(m->value());
        if (p == Chart::NoValue) continue;
        int at = roundPixel(p);
        int wall = at + shift;
        bool inside = isVertical() ? wall >= plot.top && wall <= plot.bottom : wall >= plot.left && wall <= plot.right;
        if (!inside) continue;
        if (isVertical())
            m->paintLine(d, plot.left, wall, plot.right, wall);
        else
            m->paintLine(d, wall, plot.top, wall, plot.bottom);
        int line = lineAt();
        int tickColor = m->tickColor();
        if (tickColor != -1 && tickColor != Chart::Transparent && majorTickLength_ != 0) {
            int end = line + outward() * majorTickLength_;
            if (isVertical())
                d->line(line, at, end, at, tickColor, std::max(majorTickWidth_, 1));
            else
                d->line(at, line, at, end, tickColor, std::max(majorTickWidth_, 1));
        }
        if (m->besideAxis()) {
            int x, y, align;
            labelAnchor(at, tickReach() + labelGap_, x, y, align);
            m->paintTextAt(d, x, y, align);
            continue;
        }
        // Inside the plot area: the alignment picks the end of the line and the side of it.
        int a = m->alignment() >= 1 && m->alignment() <= 9 ? m->alignment() : Chart::Center;
        int col = (a - 1) % 3;  // 0 left, 1 centre, 2 right
        int row = (a - 1) / 3;  // 0 bottom, 1 middle, 2 top
        int x, y;
        if (isVertical()) {
            x = col == 0 ? plot.left : col == 2 ? plot.right : (plot.left + plot.right) / 2;
            y = wall;
            static const int kAbove[3] = {Chart::BottomLeft, Chart::BottomCenter, Chart::BottomRight};
            static const int kMiddle[3] = {Chart::Left, Chart::Center, Chart::Right};
            static const int kBelow[3] = {Chart::TopLeft, Chart::TopCenter, Chart::TopRight};
            int textAlign = row == 2 ? kAbove[col] : row == 1 ? kMiddle[col] : kBelow[col];
            m->paintTextAt(d, x, y, textAlign);
        } else {
            x = wall;
            y = row == 2 ? plot.top : row == 0 ? plot.bottom : (plot.top + plot.bottom) / 2;
            int textAlign = row == 2 ? (col == 0 ? Chart::TopRight : col == 2 ? Chart::TopLeft : Chart::TopCenter)
                                     : row == 0 ? (col == 0 ? Chart::BottomRight
                                                            : col == 2 ? Chart::BottomLeft : Chart::BottomCenter)
                                                : (col == 0 ? Chart::Right : col == 2 ? Chart::Left : Chart::Center);
            m->paintTextAt(d, x, y, textAlign);
        }
    }
}

const char* AxisImpl::getLabel(double i) {
    buildLabels();
    // A log axis is matched in log space: a linear tolerance there spans the whole lower decades.
    const bool log = scale_.laidOutType() == AxisScale::Log;
    auto pos = [log](double v) { return log ? (v > 0 ? std::log10(v) : -HUGE_VAL) : v; };
    const double tol = std::fabs(rangeTolerance(pos(scale_.getMinValue()), pos(scale_.getMaxValue())));
    const double at = pos(i);
    for (const Label& l : labels_) {
        if (std::fabs(pos(l.value) - at) <= tol) {
            text_ = l.box->text();
            return text_.c_str();
        }
    }
    return nullptr;
}

const char* AxisImpl::getFormattedLabel(double v, const char* formatString) {
    text_ = formattedLabel(v, formatString);
    return text_.c_str();
}

std::string AxisImpl::formattedLabel(double v, const char* formatString) {
    std::string format = formatString ? formatString : "";
    if (format.empty()) format = scale_.labelFormats().empty() ? "{value}" : scale_.labelFormats()[0];
    formatter_.setContextPrecision(scale_.labelPrecision());
    std::string text = formatValueWithTemplate(formatter_, v, format.c_str());
    formatter_.setContextPrecision(-1);
    return text;
}

const char* AxisImpl::getAxisImageMap(int noOfSegments, int mapWidth, const char* url, const char* queryFormat,
                                      const char* extraAttr, int offsetX, int offsetY) {
    text_.clear();
    AreaTemplates t = areaTemplates("", "", "", url, queryFormat, extraAttr, kAxisQuery);
    if (!t.enabled || isSlanted() || length_ <= 0 || noOfSegments <= 0 || mapWidth <= 0) return text_.c_str();
    // Segments narrower than a pixel could not be told apart.
    int segments = std::min(noOfSegments, length_);
    int depth = std::min(mapWidth, 100000);
    int start = isVertical() ? y_ + offsetY_ : x_ + offsetX_, direction = isVertical() ? -1 : 1;
    int line = lineAt(), across = line + outward() * (depth - 1);
    for (int k = 0; k < segments; ++k) {
        int from = start + direction * static_cast<int>(static_cast<long long>(length_) * k / segments);
        int to = start + direction * (static_cast<int>(static_cast<long long>(length_) * (k + 1) / segments) - 1);
        double value = valueAt((from + to) / 2.0);
        std::string label = formattedLabel(value, nullptr);
        std::vector<int> xy =
            isVertical() ? std::vector<int>{line, from, across, to} : std::vector<int>{from, line, to, across};
        appendArea(text_, xy, offsetX, offsetY, fillAxisArea(t.extra, value, label, PVParser::EscapeHtml),
                   fillAxisArea(t.link, value, label, PVParser::EscapeUrl));
    }
    return text_.c_str();
}

const char* AxisImpl::getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr, int offsetX,
                                      int offsetY) {
    text_.clear();
    AreaTemplates t = areaTemplates("", "", "", url, queryFormat, extraAttr, kAxisQuery);
    if (!t.enabled || isSlanted()) return text_.c_str();
    int depth = labelDepth();
    for (Label& l : labels_) {
        // Placed as painting places them, so the areas cover the drawn labels.
        if (l.box->text().empty() || !placeLabel(l, depth)) continue;
        appendArea(text_, l.box->imageSpot(0, 0), offsetX, offsetY,
                   fillAxisArea(t.extra, l.value, l.box->text(), PVParser::EscapeHtml),
                   fillAxisArea(t.link, l.value, l.box->text(), PVParser::EscapeUrl));
    }
    return text_.c_str();
}

std::string AxisImpl::fillAxisArea(const std::string& tmpl, double value, const std::string& label, int flags) {
    if (tmpl.empty()) return tmpl;
    PVParser parser(tmpl.c_str(), flags);
    while (const char* name = parser.getNextAttr()) {
        if (std::strcmp(name, "value") == 0) parser.replaceAttr(formatter_.format(parser.getFormatString(), value));
        else if (std::strcmp(name, "label") == 0) parser.replaceAttr(label.c_str());
    }
    return parser.getResult(&formatter_);
}

}  // namespace plotvane

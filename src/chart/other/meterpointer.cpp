// Meter pointers: the value they point at, their colours and their outline. Painting belongs to
// the meter, which knows where values lie.

#include <cmath>

#include "chart/other/basemeter_p.h"

namespace plotvane {

namespace {

bool isGiven(double v) { return std::isfinite(v) && v != Chart::NoValue; }

struct Outline {
    int count;
    int xy[16];
};

// By shape type; y runs from the pivot (0) to the tip (1000).
const Outline kDiamond = {4, {0, -100, -50, -50, 0, 1000, 50, -50}};
const Outline kSlimTriangle = {3, {-15, 0, 15, 0, 0, 1000}};
const Outline kShapes[] = {
    kDiamond,
    {3, {-50, -50, 50, -50, 0, 1000}},
    {7, {-20, -150, 20, -150, 20, 800, 64, 800, 0, 1000, -64, 800, -20, 800}},
    {8, {-75, -250, 0, -100, 75, -250, 20, 750, 75, 650, 0, 1000, -75, 650, -20, 750}},
    {4, {-5, -50, 5, -50, 5, 1000, -5, 1000}},
    {6, {0, -100, -35, -50, -20, 800, 0, 1000, 20, 800, 35, -50}},
    kSlimTriangle,
    {4, {-5, 0, 5, 0, 5, 1000, -5, 1000}},
};

}  // namespace

MeterPointerImpl::MeterPointerImpl(BaseMeterImpl* meter, double value, int fillColor, int edgeColor, int shape,
                                   double lengthRatio)
    : meter_(meter), value_(0), fillColor_(fillColor), edgeColor_(edgeColor == -1 ? fillColor : edgeColor),
      shape_(shape), lengthRatio_(lengthRatio) {
    setZOrder(Chart::ChartFrontZ);
    setPos(value);
}

void MeterPointerImpl::setColor(int fillColor, int edgeColor) {
    fillColor_ = fillColor;
    edgeColor_ = edgeColor == -1 ? fillColor : edgeColor;
}

void MeterPointerImpl::setPos(double value) { value_ = std::isnan(value) ? 0 : value; }

void MeterPointerImpl::setShape(int pointerType, double lengthRatio, double widthRatio) {
    shape_ = pointerType;
    custom_.clear();
    if (isGiven(lengthRatio)) lengthRatio_ = lengthRatio;
    if (isGiven(widthRatio)) widthRatio_ = widthRatio;
}

void MeterPointerImpl::setShape(IntArray pointerCoor, double lengthRatio, double widthRatio) {
    if (pointerCoor.data && pointerCoor.len >= 6) custom_.assign(pointerCoor.data, pointerCoor.data + pointerCoor.len / 2 * 2);
    if (isGiven(lengthRatio)) lengthRatio_ = lengthRatio;
    if (isGiven(widthRatio)) widthRatio_ = widthRatio;
}

void MeterPointerImpl::applyOffsets(double startOffset, double endOffset, double widthRatio, bool longTypes) {
    double start = isGiven(startOffset) ? startOffset : (longTypes ? -0.15 : 0);
    double end = isGiven(endOffset) ? endOffset : (longTypes ? 0.95 : 1.0);
    widthRatio_ = isGiven(widthRatio) ? widthRatio : 1.0;
    lengthRatio_ = end - start;
    startOffset_ = start;
}

void MeterPointerImpl::setShapeAndOffset(int pointerType, double startOffset, double endOffset, double widthRatio) {
    shape_ = pointerType;
    custom_.clear();
    applyOffsets(startOffset, endOffset, widthRatio, pointerType > 5);
}

void MeterPointerImpl::setShapeAndOffset(IntArray pointerCoor, double startOffset, double endOffset,
                                         double widthRatio) {
    if (pointerCoor.data && pointerCoor.len >= 6) custom_.assign(pointerCoor.data, pointerCoor.data + pointerCoor.len / 2 * 2);
    applyOffsets(startOffset, endOffset, widthRatio, false);
}

void MeterPointerImpl::outline(std::vector<double>& x, std::vector<double>& y) const {
    x.clear();
    y.clear();
    if (!custom_.empty()) {
        for (size_t i = 0; i + 1 < custom_.size(); i += 2) {
            x.push_back(custom_[i]);
            y.push_back(custom_[i + 1]);
        }
        return;
    }
    const Outline* o = &kDiamond;
    if (shape_ == Chart::DiamondPointer)
        o = startOffset_ != 0 ? &kSlimTriangle : &kDiamond;
    else if (shape_ > 0 && shape_ < static_cast<int>(sizeof kShapes / sizeof kShapes[0]))
        o = &kShapes[shape_];
    for (int i = 0; i < o->count; ++i) {
        x.push_back(o->xy[2 * i]);
        y.push_back(o->xy[2 * i + 1]);
    }
}

}  // namespace plotvane

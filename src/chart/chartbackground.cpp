// A chart's background and frame. The background is prepared before anything is drawn: the
// surface takes the chart's size filled with palette entry 0 (a palette reference, so a later
// setBackground or palette change still reaches it), then the background image, placed once or
// tiled. The frame is drawn last, over everything: a thick frame or a plain border, the rounded
// corners cut out, and a drop shadow that grows the surface.
//
// Corner radii are clamped so that two rounded corners sharing an edge never overlap: each may
// take half of a shared edge, or all of it when the other corner is square.
#include <plotvane/drawarea.h>

#include <algorithm>

#include "chart/basechart_p.h"
#include "draw/canvaslimits_p.h"
#include "foundation/lasterror_p.h"

namespace plotvane {

namespace {

// Clamps in order top-left, top-right, bottom-right, bottom-left, each against the values already
// clamped. Corners share the top edge (0, 1), the right (1, 2), the bottom (2, 3), the left (3, 0).
void clampRadii(int r[4], int width, int height) {
    static const int horizontalPartner[4] = {1, 0, 3, 2};
    static const int verticalPartner[4] = {3, 2, 1, 0};
    for (int k = 0; k < 4; ++k) {
        int a = r[horizontalPartner[k]] > 0 ? width / 2 : width;
        int b = r[verticalPartner[k]] > 0 ? height / 2 : height;
        r[k] = std::clamp(r[k], 0, std::max(0, std::min(a, b)));
    }
}

}  // namespace

void BaseChartImpl::prepareBackground() {
    drawArea_->setSize(width_, height_, Chart::BackgroundColor);
    if (!bgImagePath_.empty()) {
        DrawArea* image = drawArea_->subDrawArea(1, 1);
        if (image->load(bgImagePath_.c_str())) {
            if (bgImageAlign_ >= 1 && bgImageAlign_ <= 9)
                drawArea_->merge(image, DrawArea::alignX(width_, bgImageAlign_), DrawArea::alignY(height_, bgImageAlign_),
                                 bgImageAlign_, 0);
            else
                drawArea_->tile(image, 0);
        }
        image->destroy();
    }
    backgroundReady_ = true;
}

void BaseChartImpl::setSize(int width, int height) {
    if (width < 1 || height < 1)
        setLastError("bad size %d x %d; using %d x %d", width, height, std::max(1, width), std::max(1, height));
    width = std::max(1, width);
    height = std::max(1, height);
    if (!acceptableCanvas(width, height)) {
        setLastError("chart size %d x %d is past the canvas limit", width, height);
        return;
    }
    width_ = width;
    height_ = height;
    if (backgroundReady_) prepareBackground();
}

void BaseChartImpl::setBackground(int color, int edgeColor, int raisedEffect) {
    if (color != Chart::BackgroundColor) setColor(0, color);
    borderColor_ = edgeColor;
    raisedEffect_ = raisedEffect;
    if (backgroundReady_) prepareBackground();
}

void BaseChartImpl::setRoundedFrame(int extColor, int r1, int r2, int r3, int r4) {
    extColor_ = extColor;
    cornerRadius_[0] = r1;
    cornerRadius_[1] = r2 == -1 ? r1 : r2;
    cornerRadius_[2] = r3 == -1 ? r1 : r3;
    cornerRadius_[3] = r4 == -1 ? r1 : r4;
}

void BaseChartImpl::setThickFrame(int thickness, int frameColor, int outerEdgeColor, int innerEdgeColor) {
    frameThickness_ = std::max(thickness, 0);
    if (outerEdgeColor != -1) borderColor_ = outerEdgeColor;
    frameColor_ = frameColor != -1 ? frameColor : borderColor_;
    frameInnerEdgeColor_ = innerEdgeColor != -1 ? innerEdgeColor : frameColor;
}

void BaseChartImpl::setWallpaper(const char* path) { setBgImage(path, -1); }

void BaseChartImpl::setBgImage(const char* path, int align) {
    bgImagePath_ = path ? path : "";
    bgImageAlign_ = align;
}

void BaseChartImpl::setDropShadow(int color, int offsetX, int offsetY, int blurRadius) {
    shadowColor_ = color;
    shadowOffsetX_ = offsetX;
    shadowOffsetY_ = offsetY == 0x7fffffff ? offsetX : offsetY;
    shadowBlur_ = blurRadius;
}

void BaseChartImpl::drawFrame() {
    int w = drawArea_->getWidth(), h = drawArea_->getHeight();
    int r[4] = {cornerRadius_[0], cornerRadius_[1], cornerRadius_[2], cornerRadius_[3]};
    clampRadii(r, w, h);
    if (frameThickness_ >= 1)
        drawArea_->roundedFrame(0, 0, w - 1, h - 1, r[0], r[1], r[2], r[3], frameThickness_, frameColor_,
                                raisedEffect_ == 0 ? borderColor_ : Chart::Transparent, frameInnerEdgeColor_);
    if (frameThickness_ < 1 || raisedEffect_ != 0) {
        int edge = borderColor_ == -1 ? Chart::Transparent : borderColor_;
        drawArea_->roundedRect(0, 0, w - 1, h - 1, r[0], r[1], r[2], r[3], edge, Chart::Transparent, raisedEffect_);
    }
    bool shadow = shadowColor_ != Chart::Transparent;
    drawArea_->clipRoundedCorners(r[0], r[1], r[2], r[3], shadow ? Chart::Transparent : extColor_);
    if (shadow) drawArea_->addDropShadow(shadowColor_, shadowOffsetX_, shadowOffsetY_, shadowBlur_, extColor_);
}

double BaseChartImpl::getProperty(int code) const {
    switch (code) {
        case 0x107: return cornerRadius_[0];
        case 0x109: return cornerRadius_[1];
        case 0x103: return cornerRadius_[2];
        case 0x101: return cornerRadius_[3];
        case 0x202: return height_ - 1;
        case 0x206: return width_ - 1;
        default: return 0;
    }
}

}  // namespace plotvane

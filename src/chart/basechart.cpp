// The render pipeline every chart shares. Layout runs once: the legend is filled by the chart type
// and laid out first, so the chart type knows how much room it takes when it lays out its own
// parts. Painting runs once too: free objects below the plot area, the chart type's own drawing
// (which may interleave more free objects by z), the legend, the remaining free objects, and the
// frame. Every later output only adds the free objects created since, on top.
#include <plotvane/chart.h>
#include <plotvane/drawarea.h>

#include <algorithm>
#include <cstdio>

#include "chart/basechart_p.h"
#include "chart/legendbox_p.h"
#include "chart/pvmltable_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

namespace {

constexpr int kBelowPlotAreaZ = Chart::PlotAreaZ - 1;
constexpr int kUnplacedLegend = -8388607;
constexpr int kMaxLegendColumns = 1000;
// Format codes that have no Chart:: constant.
constexpr int kDumpFormat = 8;
constexpr int kFastImageFormat = 9;

bool intoPointers(MemBlock block, const char** data, int* len) {
    if (data) *data = block.len > 0 ? block.data : nullptr;
    if (len) *len = std::max(0, block.len);
    return block.len > 0;
}

}  // namespace

BaseChart::~BaseChart() = default;

BaseChartImpl::BaseChartImpl() : drawArea_(DrawArea::create()) {
    drawArea_->setColorTable(Chart::defaultPalette, -1, 0);
    drawObjects_.setOnRemove([this](DrawObj* obj) { forgetDrawObj(obj); });
}

void BaseChartImpl::forgetDrawObj(DrawObj* obj) {
    titles_.erase(std::remove_if(titles_.begin(), titles_.end(), [obj](const Title& t) { return t.box == obj; }),
                  titles_.end());
}

BaseChartImpl::~BaseChartImpl() {
    // Objects measure their texts on the surface, so they go first.
    drawObjects_.clear();
    legend_.reset();
    defaultText_.reset();
    drawArea_->destroy();
}

void BaseChartImpl::destroy() { delete this; }

void BaseChartImpl::enableVectorOutput() { drawArea_->enableVectorOutput(); }

int BaseChartImpl::getAbsOffsetX() const { return container_ ? container_->getAbsOffsetX() + containerX_ : 0; }

int BaseChartImpl::getAbsOffsetY() const { return container_ ? container_->getAbsOffsetY() + containerY_ : 0; }

void BaseChartImpl::setContainer(const BaseChart* container, int x, int y) {
    container_ = container;
    containerX_ = x;
    containerY_ = y;
}

void BaseChartImpl::setAntiAlias(bool shapeAntiAlias, int textAntiAlias) {
    drawArea_->setAntiAlias(shapeAntiAlias, textAntiAlias);
}

void BaseChartImpl::setDefaultFonts(const char* normal, const char* bold, const char* italic,
                                    const char* boldItalic) {
    drawArea_->setDefaultFonts(normal, bold, italic, boldItalic);
}

TextBox* BaseChartImpl::addTitle(int alignment, const char* text, const char* font, double fontSize, int fontColor,
                                 int bgColor, int edgeColor) {
    TextBoxImpl* impl = createTitle(this, alignment);
    TextBox* title = impl;
    title->setFontSize(fontSize);
    title->setAlignment(alignment);
    title->setFontColor(fontColor);
    title->setText(text);
    title->setFontStyle(font && *font ? font : "bold");
    title->setBackground(bgColor, edgeColor, 0);
    addDrawObj(title);
    titles_.push_back({impl, alignment});
    return title;
}

TextBox* BaseChartImpl::addTitle(const char* text, const char* font, double fontSize, int fontColor, int bgColor,
                                 int edgeColor) {
    return addTitle(Chart::Top, text, font, fontSize, fontColor, bgColor, edgeColor);
}

LegendBox* BaseChartImpl::addLegend(int x, int y, bool vertical, const char* font, double fontSize) {
    return addLegend(x, y, vertical ? 1 : 0, font, fontSize);
}

LegendBox* BaseChartImpl::addLegend(int x, int y, int noOfCols, const char* font, double fontSize) {
    if ((noOfCols < 0 && noOfCols != Chart::AutoGrid) || noOfCols > kMaxLegendColumns) noOfCols = 1;
    LegendBox* box = getLegend();
    box->setPos(x, y);
    box->setCols(noOfCols);
    box->setFontStyle(font);
    box->setFontSize(fontSize);
    box->setBackground(Chart::Transparent, Chart::LineColor, 0);
    return box;
}

TextBoxImpl* BaseChartImpl::defaultTextBox() {
    if (!defaultText_) defaultText_ = std::make_unique<TextBoxImpl>(drawArea_);
    return defaultText_.get();
}

LegendBox* BaseChartImpl::getLegend() {
    if (!legend_) {
        legend_ = std::make_unique<LegendBoxImpl>(drawArea_);
        legend_->setDefault(defaultTextBox());
        legend_->setPos(kUnplacedLegend, kUnplacedLegend);
    }
    return legend_.get();
}

DrawArea* BaseChartImpl::getDrawArea() {
    if (!backgroundReady_) prepareBackground();
    return drawArea_;
}

DrawArea* BaseChartImpl::initDynamicLayer() {
    makeChart();
    drawArea_->initDynamicLayer();
    return drawArea_;
}

void BaseChartImpl::removeDynamicLayer() { drawArea_->removeDynamicLayer(false); }

TextBox* BaseChartImpl::addText(int x, int y, const char* text, const char* font, double fontSize, int fontColor,
                                int alignment, double angle, bool vertical) {
    auto* box = new TextBoxImpl(drawArea_);
    box->setDefault(defaultTextBox());
    box->setPos(x, y);
    box->setFontAngle(angle, vertical);
    box->setFontSize(fontSize, 0);
    box->setAlignment(alignment);
    box->setFontColor(fontColor);
    box->setText(text);
    box->setFontStyle(font, 0);
    addDrawObj(box);
    return box;
}

Line* BaseChartImpl::addLine(int x1, int y1, int x2, int y2, int color, int lineWidth) {
    Line* line = createLine(x1, y1, x2, y2, color, lineWidth);
    addDrawObj(line);
    return line;
}

PVMLTable* BaseChartImpl::addTable(int x, int y, int alignment, int col, int row) {
    PVMLTable* table = newTable(drawArea_, defaultTextBox(), x, y, alignment, col, row);
    addDrawObj(table);
    return table;
}

void BaseChartImpl::setColor(int paletteEntry, int color) { drawArea_->setColorTable(&color, 1, paletteEntry & 0xffff); }

void BaseChartImpl::setColors(int paletteEntry, const int* colors) {
    if (colors) drawArea_->setColorTable(colors, -1, paletteEntry & 0xffff);
}

void BaseChartImpl::setColors(int paletteEntry, IntArray colors) {
    drawArea_->setColorTable(colors, paletteEntry & 0xffff);
}

int BaseChartImpl::getColor(int paletteEntry) {
    return drawArea_->getARGBColor(Chart::Palette | (paletteEntry & 0xffff));
}

int BaseChartImpl::adjustBrightness(int color, double brightness) {
    return drawArea_->adjustBrightness(color, brightness);
}

int BaseChartImpl::patternColor(IntArray pixels, int height, int startX, int startY) {
    return drawArea_->patternColor(pixels, height, startX, startY);
}

int BaseChartImpl::patternColor(const int* pixels, int length, int height, int startX, int startY) {
    return drawArea_->patternColor(pixels, length, height, startX, startY);
}

int BaseChartImpl::patternColor(const char* filename, int startX, int startY) {
    return drawArea_->patternColor(filename, startX, startY);
}

int BaseChartImpl::gradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor) {
    return drawArea_->gradientColor(startX, startY, endX, endY, startColor, endColor);
}

int BaseChartImpl::gradientColor(IntArray gradient, double angle, double scale, int startX, int startY) {
    return drawArea_->gradientColor(gradient, angle, scale, startX, startY);
}

int BaseChartImpl::gradientColor(const int* gradient, int length, double angle, double scale, int startX,
                                 int startY) {
    return drawArea_->gradientColor(gradient, length, angle, scale, startX, startY);
}

int BaseChartImpl::linearGradientColor(int startX, int startY, int endX, int endY, int startColor, int endColor,
                                       bool periodic) {
    return drawArea_->linearGradientColor(startX, startY, endX, endY, startColor, endColor, periodic);
}

int BaseChartImpl::linearGradientColor(int startX, int startY, int endX, int endY, IntArray gradient,
                                       bool periodic) {
    return drawArea_->linearGradientColor(startX, startY, endX, endY, gradient, periodic);
}

int BaseChartImpl::radialGradientColor(int cx, int cy, int rx, int ry, int startColor, int endColor,
                                       bool periodic) {
    return drawArea_->radialGradientColor(cx, cy, rx, ry, startColor, endColor, periodic);
}

int BaseChartImpl::radialGradientColor(int cx, int cy, int rx, int ry, IntArray gradient, bool periodic) {
    return drawArea_->radialGradientColor(cx, cy, rx, ry, gradient, periodic);
}

void BaseChartImpl::setNumberFormat(char thousandSeparator, char decimalPointChar, char signChar) {
    formatter_.setNumberFormat(thousandSeparator, decimalPointChar, signChar);
}

const char* BaseChartImpl::formatValue(double value, const char* format) {
    formatted_ = formatValueWithTemplate(formatter_, value, format);
    return formatted_.c_str();
}

bool BaseChartImpl::formatCustomAttr(PVParser& parser, Formatter& formatter, int dataSet, int dataItem,
                                     const char* attr) const {
    return extraFields_.formatAttr(parser, formatter, dataSet, dataItem, attr);
}

bool BaseChartImpl::customFieldText(const char* name, const char* format, Formatter& formatter, int dataSet,
                                    int dataItem, std::string& text) const {
    return extraFields_.fieldText(name, format, formatter, dataSet, dataItem, text);
}

void BaseChartImpl::layoutLegend() {
    if (legendLaidOut_) return;
    legendLaidOut_ = true;
    if (!backgroundReady_) prepareBackground();
    onLayoutLegend();
    if (autoLayout()) {
        stackTitles();
        placeLegend();
    }
    if (legend_) legend_->layout(drawArea_);
    if (autoLayout()) leaveLegendOut();
}

void BaseChartImpl::layout() {
    if (layoutDone_) return;
    layoutDone_ = true;
    layoutLegend();
    onLayoutChart();
}

void BaseChartImpl::paint() {
    if (painted_) {
        drawObjects_.paintUpTo(drawArea_);
        return;
    }
    painted_ = true;
    drawObjects_.sortPending();
    size_t before = drawObjects_.size();
    layout();
    if (drawObjects_.size() != before) drawObjects_.sortPending();
    drawExtraObjs(kBelowPlotAreaZ);
    onPaint();
    if (legend_) legend_->paint(drawArea_);
    drawObjects_.paintUpTo(drawArea_);
    drawFrame();
}

DrawArea* BaseChartImpl::makeChart() {
    paint();
    return drawArea_;
}

bool BaseChartImpl::makeChart(const char* filename) {
    paint();
    if (!filename || !*filename) return true;
    return drawArea_->out(filename);
}

bool BaseChartImpl::makeChart(int format, const char** data, int* len) {
    paint();
    switch (format) {
        case Chart::GIF: return drawArea_->outGIF(data, len);
        case Chart::JPG: return drawArea_->outJPG(data, len, 80);
        case Chart::WMP: return drawArea_->outWMP(data, len);
        case Chart::BMP: return drawArea_->outBMP(data, len);
        case Chart::SVG: return intoPointers(drawArea_->outSVG2(nullptr), data, len);
        case Chart::SVGZ: return intoPointers(drawArea_->outSVG2("compress"), data, len);
        case Chart::PDF: return intoPointers(drawArea_->outPDF(), data, len);
        case kDumpFormat: return intoPointers(drawArea_->outAGF(), data, len);
        case kFastImageFormat: return intoPointers(drawArea_->outFastImage(), data, len);
        default: return drawArea_->outPNG(data, len);
    }
}

MemBlock BaseChartImpl::makeChart(int format) {
    const char* data = nullptr;
    int len = 0;
    if (!makeChart(format, &data, &len)) return MemBlock();
    return MemBlock(data, len);
}

const char* BaseChartImpl::getHTMLImageMap(const char* url, const char* queryFormat, const char* extraAttr,
                                           int offsetX, int offsetY) {
    // A drop shadow's blur reaching past the offset adds room at the left and top.
    offsetX += std::max(0, shadowBlur_ - shadowOffsetX_);
    offsetY += std::max(0, shadowBlur_ - shadowOffsetY_);
    imageMap_ = onGetHTMLImageMap(url ? url : "", queryFormat ? queryFormat : "", extraAttr ? extraAttr : "",
                                  offsetX, offsetY);
    return imageMap_.c_str();
}

const char* BaseChartImpl::getChartMetrics() {
    int left = static_cast<int>(getProperty(0x204)), top = static_cast<int>(getProperty(0x208));
    int right = static_cast<int>(getProperty(0x206)), bottom = static_cast<int>(getProperty(0x202));
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "w=%d&h=%d&vl=%d&vt=%d&vw=%d&vh=%d", drawArea_->getWidth(),
                  drawArea_->getHeight(), left, top, right - left, bottom - top);
    metrics_ = buffer;
    return metrics_.c_str();
}

}  // namespace plotvane

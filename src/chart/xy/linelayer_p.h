#ifndef PLOTVANE_CHART_XY_LINELAYER_P_H
#define PLOTVANE_CHART_XY_LINELAYER_P_H

// The line layer and the base of its spline and step variants, which differ only in the line
// object that joins the points (newLine).

#include <plotvane/linelayer.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "chart/xy/layer_p.h"
#include "chart/xy/lineobj_p.h"

namespace plotvane {

class LineLayerImpl : public virtual LineLayer, public LayerImpl {
public:
    LineLayerImpl();
    ~LineLayerImpl() override;

    void setGapColor(int lineColor, int lineWidth) override;
    void setImageMapWidth(int width) override { imageMapHalfWidth_ = std::max((width + 1) / 2, 0); }
    void setFastLineMode(bool mode) override { fastLineMode_ = mode; }
    LineObj* getLine(int dataSet) override;
    void setSymbolScale(DoubleArray zData, int scaleType, DoubleArray zData2, int scaleType2) override;
    // Lines are never stacked.
    void setDataCombineMethod(int) override {}

    void layoutChart() override;
    void paint(DrawArea* d) override;
    int imageMapHalfWidth() const { return imageMapHalfWidth_; }

protected:
    virtual std::unique_ptr<MultiLine> newLine();
    LabelSpot dataLabelSpot(int ds, int i, int wanted, int width, int height) override;
    int legendLineWidth(int ds) override;

    int gapColor_ = Chart::Transparent;

private:
    struct SymbolScale {
        std::vector<double> z;
        int type = Chart::PixelScale;
    };

    // Where data set ds is drawn: its plane in 3D, as a screen offset and a frame offset.
    void planeOffset(int ds, int& sx, int& sy) const;
    // Feeds data set ds, as frame points within the plot's x range, into a line or a pen.
    template <class Sink>
    void feed(int ds, Sink& sink) const;
    FrameBox frameBox() const;
    void paintRibbons(DrawArea* d, int ds);
    // With a cylinder border effect, a z colour that shades a ribbon across its depth like a tube;
    // Transparent otherwise.
    int tubeColor(DrawArea* d, int color) const;
    void paintSymbols(DrawArea* d, int ds);
    // The symbol size at item i; false when the scale leaves the point without one.
    bool symbolSize(int ds, int i, int& w, int& h);
    double scaledSize(const SymbolScale& s, int i, double x, double v, const AxisImpl* axis) const;

    int gapLineWidth_ = -1;
    int imageMapHalfWidth_ = 5;
    bool fastLineMode_ = false;
    SymbolScale scaleW_;
    SymbolScale scaleH_;
    std::vector<std::unique_ptr<MultiLine>> lines_;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_CHART_XY_BASEBOXLAYER_P_H
#define PLOTVANE_CHART_XY_BASEBOXLAYER_P_H

// The shared base of the layers that draw one compound item per x position (HLOC, candlestick,
// box-whisker). It places items (centre and width), hands each layer type the item's values in
// pixels, and does what all of them share: following colours, the indented x range, hot spots,
// label spots, the fields of the items' roles and legend icons of the legend's key size.

#include <plotvane/boxlayer.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "chart/pixel_p.h"
#include "chart/xy/barshape_p.h"
#include "chart/xy/layer_p.h"

namespace plotvane {

// The pixel columns, first and last, that a shape `width` pixels across centred on x covers (one
// at least). Worked out once per item: the box, the median and the stems share them.
struct ItemColumns {
    int first = 0;
    int last = 0;
    static ItemColumns centred(double x, double width) {
        int first = roundPixel(x - width / 2);
        return {first, first + std::max(roundPixel(width), 1) - 1};
    }
};

// Draws lines and boxes given along the item's axes: x across the item, y along the values. On a
// swapped chart the two are exchanged on the screen. Legend icons use an unswapped pen. With 3D
// depth, boxes are drawn as bars of that depth and lines stand halfway into it, so whiskers and
// wicks come out of the middle of their box; lines marked `front` lie on the box's front face.
// Strokes that stand alone (HLOC) are bars of no thickness: the line on the front, its depth
// trailing behind.
class ItemPen {
public:
    ItemPen(DrawArea* d, bool swapped, int depthX = 0, int depthY = 0)
        : d_(d), swapped_(swapped), depthX_(depthX), depthY_(depthY) {}
    DrawArea* area() const { return d_; }
    bool deep() const { return depthX_ > 0 || depthY_ > 0; }
    void line(double x1, double y1, double x2, double y2, int color, int width, bool front = false) const;
    // A box across the columns, between two y pixels (either order), drawn as a bar with the given
    // look.
    void box(const ItemColumns& columns, double y1, double y2, int fill, int edge, const BarLook& look) const;
    // The ribbon of the depth behind a line at the front, in the half colour, as boxes have their
    // top and side; nothing without depth.
    void ribbon(double x1, double y1, double x2, double y2, int color) const;
    // A line across the columns, as a box there would span them.
    void across(const ItemColumns& columns, double y, int color, int lineWidth, bool front = false) const;

private:
    // A line between pixels along the item's axes.
    void segment(int x1, int y1, int x2, int y2, int color, int width, bool front) const;

    DrawArea* d_;
    bool swapped_;
    int depthX_;
    int depthY_;
};

// One item in pixels: its centre and width across, and each role's value along (NoValue when
// missing).
struct ItemPixels {
    double x = 0;
    double width = 1;
    std::vector<double> y;
    double at(int role) const { return role < static_cast<int>(y.size()) ? y[static_cast<size_t>(role)] : Chart::NoValue; }
    // The columns of the item's boxes.
    ItemColumns body() const { return ItemColumns::centred(x, width); }
    // The column the stems run in: the centre, kept on the body's middle pixel (one of the two
    // when the body is an even number of pixels wide), so rounding never puts a stem beside a
    // narrow box.
    double stem(const ItemColumns& body) const {
        return std::clamp(roundPixel(x), body.first + (body.last - body.first) / 2,
                          body.first + (body.last - body.first + 1) / 2);
    }
};

class XYChartImpl;

class BaseBoxLayerImpl : public virtual BaseBoxLayer, public virtual LayerImpl {
public:
    BaseBoxLayerImpl();
    ~BaseBoxLayerImpl() override;

    void setDataGap(double gap) override;
    void setDataWidth(int width) override;
    void setMinImageMapSize(int size) override;
    void setRoundedCorners(int r1, int r2, int r3, int r4) override;

    double getMinX() override { return indentedX(LayerImpl::getMinX(), -1); }
    double getMaxX() override { return indentedX(LayerImpl::getMaxX(), 1); }
    void layoutChart() override;
    void paint(DrawArea* d) override;

protected:
    // The data sets of the price layers, in the order the factories take them.
    enum PriceRole { kHigh, kLow, kOpen, kClose };
    static const std::vector<std::string>& priceRoleNames();

    // The names of the data sets' roles, as fields of labels and hot spots.
    virtual const std::vector<std::string>& roleNames() const = 0;
    // Data set `role`'s value at item i; NoValue where the layer has no such data set.
    double roleValue(int role, int i) const {
        return role < dataSetCount() ? dataSet(role).valueAt(i) : Chart::NoValue;
    }
    // Draws item i, whose values `p` gives in pixels.
    virtual void paintItem(const ItemPen& pen, int i, const ItemPixels& p) = 0;
    // Where a label hangs from a value of data set ds: outward (0), away from the item's other
    // values, or beside the item, before (-1) or after (+1) it along the x axis.
    virtual int labelSide(int ds) const = 0;

    // The pixel maps of the x axis and of each data set's axis, and the span values are held to,
    // built once for a pass over items.
    struct ItemMaps {
        PixelMap x;
        std::vector<PixelMap> y;
        double nearY = 0, farY = 0;
    };
    ItemMaps itemMaps() const;
    // The item's pixels; false when it has no x position or no value at all.
    bool itemPixels(int i, ItemPixels& p) const { return itemPixels(i, itemMaps(), p); }
    bool itemPixels(int i, const ItemMaps& maps, ItemPixels& p) const;
    // The look of boxes and bodies: the layer's lighting effect and rounded corners.
    BarLook boxLook() const;
    // That look as it was when painting began.
    const BarLook& paintLook() const { return look_; }
    // Whether two stems from the tips to the nearer ends of a box about to be drawn may be one line
    // from tip to tip instead: the stems are one pixel wide, the tips lie on either side of the
    // box, and the box is an opaque flat rectangle (so painting has begun) without depth over the
    // line's column, so it hides the middle. Crowded charts record half the lines this way.
    bool stemsJoin(const ItemPen& pen, double tip1, double tip2, double end1,
                   double end2, bool opaqueBox) const;
    // Puts an item's colour in the SameAsMainColor entry of d when `needed`, that is when some
    // colour of the item reads it (see readsMainColor). While the layer paints, a colour the entry
    // already holds is not set again, and the entry ends the pass holding the last item's colour,
    // as if every item had set it.
    void setMainColor(DrawArea* d, int color, bool needed = true);
    // Whether a colour depends on the SameAsMainColor entry: the entry itself, or a dynamic or
    // metal colour, which may be built on it. Other palette entries hold plain colours.
    static bool readsMainColor(int color);
    // A drawing area of the legend's key size, kept by the layer, for a legend icon.
    DrawArea* newIcon();
    // An icon item, upright and centred in an icon, with values at these fractions of its height
    // from the top (negative: missing).
    ItemPixels iconItem(DrawArea* icon, std::initializer_list<double> fractions) const;
    // The nearest present value of data set ds before item i, or `lead` when there is none.
    double previousValue(int ds, int i, double lead) const;
    int automaticColor(int ds) override;
    bool layerField(std::string_view name, const char* format, int ds, int item, std::string& text) override;
    LabelSpot dataLabelSpot(int ds, int i, int wanted, int width, int height) override;
    std::string defaultImageMapQuery() const override;
    HotSpots hotSpotKind() const override { return HotSpots::PerItem; }
    // An item is one shape whatever the data set.
    void hotSpot(int, int item, std::vector<int>& xy) override { itemHotSpot(item, xy); }
    void itemHotSpot(int item, std::vector<int>& xy) override;

    // Fixed by the factories.
    double dataGap_ = 0;

private:
    struct AreaDeleter {
        void operator()(DrawArea* d) const;
    };

    double dataWidth_ = 1;
    int minImageMapSize_ = 5;
    int radii_[4] = {0, 0, 0, 0};
    double itemWidth_ = 1;
    BarLook look_;
    bool flatBoxes_ = false;
    // While painting: the area painted, the colour this pass put in its SameAsMainColor entry (if
    // any), and the last item's colour (if any item was drawn).
    DrawArea* painting_ = nullptr;
    int mainColor_ = 0;
    bool mainSet_ = false;
    int lastMain_ = 0;
    bool anyMain_ = false;
    std::vector<std::unique_ptr<DrawArea, AreaDeleter>> icons_;
};

// Adds an item layer to the chart with one data set per array, in role order, and turns the x
// axis's indentation on unless the program chose otherwise.
void attachItemLayer(XYChartImpl& chart, BaseBoxLayerImpl* layer, std::initializer_list<DoubleArray> data);

}  // namespace plotvane

#endif

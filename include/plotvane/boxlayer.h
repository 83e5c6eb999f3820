#ifndef PLOTVANE_BOXLAYER_H
#define PLOTVANE_BOXLAYER_H

// Layers that draw one compound item per x position from several data sets read together:
// high-low-open-close bars, candlesticks and box-whisker items. Their data sets have fixed roles,
// in the order they are added: high, low, open, close for the price layers; box top, box bottom,
// maximum, minimum and median for the box-whisker layer, whose further data sets (a mean, say)
// are marks drawn with their symbol, or as a line across the box without one.

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/export.h>
#include <plotvane/layer.h>

namespace plotvane {

class PLOTVANE_API BaseBoxLayer : public virtual Layer {
public:
    // The part of each x slot left empty between items.
    virtual void setDataGap(double gap) = 0;
    // A fixed item width in pixels instead of a gap.
    virtual void setDataWidth(int width) = 0;
    // Hot spots of the image map are at least this many pixels across.
    virtual void setMinImageMapSize(int size) = 0;
    // Rounded corners of boxes and candle bodies, as for bars.
    virtual void setRoundedCorners(int r1, int r2 = Chart::NoIntValue, int r3 = Chart::NoIntValue,
                                   int r4 = Chart::NoIntValue) = 0;

protected:
    ~BaseBoxLayer() override;
};

class PLOTVANE_API HLOCLayer : public virtual BaseBoxLayer {
public:
    // Chart::HLOCDefault draws every item in the first data set's colour; Chart::HLOCOpenClose in
    // the fall colour when the close is below the open; Chart::HLOCUpDown when the close is below
    // the nearest earlier close (leadValue before the first). -1 colours take the first data set's.
    virtual void setColorMethod(int colorMethod, int riseColor, int fallColor = -1,
                                double leadValue = -1.7e308) = 0;

protected:
    ~HLOCLayer() override;
};

class PLOTVANE_API CandleStickLayer : public virtual BaseBoxLayer {
public:
    // Body fill and line (wick and body edge) colours of rising and falling candles. A -1 fill
    // takes the first data set's colour, a -1 line its edge colour.
    virtual void setColors(int upFillColor, int upLineColor, int downFillColor, int downLineColor) = 0;
    // Colours for candles whose close rises above (or falls below) the close before them
    // (leadValue before the first), used instead of the plain colours of the same direction; -1
    // keeps the plain colour.
    virtual void setExtraColors(int upFillColor, int upLineColor, int downFillColor, int downLineColor,
                                double leadValue = -1.7e308) = 0;

protected:
    ~CandleStickLayer() override;
};

class PLOTVANE_API BoxWhiskerLayer : public virtual BaseBoxLayer {
public:
    // Whiskers left at colour -1 take their box's colour at this brightness (0.5: half as bright).
    virtual void setWhiskerBrightness(double brightness) = 0;
    // The box colour of one item; -1 returns it to the first data set's colour.
    virtual void setBoxColor(int item, int color) = 0;
    // Box colours item by item; items with a name get a legend entry of their own.
    virtual void setBoxColors(IntArray colors, StringArray names = StringArray()) = 0;

protected:
    ~BoxWhiskerLayer() override;
};

}  // namespace plotvane

#endif

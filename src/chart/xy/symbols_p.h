#ifndef PLOTVANE_CHART_XY_SYMBOLS_P_H
#define PLOTVANE_CHART_XY_SYMBOLS_P_H

// Data symbols: the standard shapes (and packed shape codes), a user polygon, an image file or a
// user drawing. A symbol is drawn once into a small drawing of its own size and that drawing is
// stamped at every point, so the recording holds the shape once however many points there are.

#include <plotvane/arrays.h>

#include <string>
#include <vector>

namespace plotvane {

class DrawArea;

// The outline of a polygonal symbol in a w x h box centred on (cx, cy), as x0, y0, x1, y1 ...;
// empty for the kinds that are not polygons (circles, spheres, crosses of lines).
std::vector<double> symbolOutline(int code, const std::vector<int>& custom, double cx, double cy, double w,
                                  double h);

// Draws a symbol directly. SameAsMainColor in the edge colour stands for the fill colour.
void drawSymbolShape(DrawArea* d, int code, const std::vector<int>& custom, double cx, double cy, int w, int h,
                     int fillColor, int edgeColor, int lineWidth);

class DataSymbol {
public:
    DataSymbol() = default;
    ~DataSymbol();
    DataSymbol(const DataSymbol&) = delete;
    DataSymbol& operator=(const DataSymbol&) = delete;

    void setShape(int code, int size, int fillColor, int edgeColor, int lineWidth);
    void setPolygon(IntArray polygon, int size, int fillColor, int edgeColor);
    void setImage(const char* path);
    void setDrawing(DrawArea* d);
    bool isEmpty() const { return code_ == 0 && imagePath_.empty() && !custom_; }
    int width() const;
    int height() const;

    // Resolves the automatic colours against the data set's and draws the symbol once, on a
    // drawing that shares `chartArea`'s colours. Call again when the colours change.
    void prepare(DrawArea* chartArea, int dataColor, int edgeColor);
    // Centred on (x, y) at its own size, or at another size.
    void paint(DrawArea* d, int x, int y) const;
    void paint(DrawArea* d, int x, int y, int w, int h) const;
    // The prepared drawing, null before prepare or for an empty symbol.
    DrawArea* image() const { return cache_ ? cache_ : custom_; }

private:
    void clear();
    void dropCache();

    int code_ = 0;
    int width_ = 0;
    int height_ = 0;
    int fillColor_ = -1;
    int edgeColor_ = -1;
    int lineWidth_ = 1;
    std::vector<int> polygon_;
    std::string imagePath_;
    bool imageLoaded_ = false;
    DrawArea* custom_ = nullptr;  // the user's drawing or the loaded image
    DrawArea* cache_ = nullptr;
    int resolvedFill_ = 0;
    int resolvedEdge_ = 0;
};

}  // namespace plotvane

#endif

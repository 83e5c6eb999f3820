#ifndef PLOTVANE_CHART_OTHER_THREEDENGINE_P_H
#define PLOTVANE_CHART_OTHER_THREEDENGINE_P_H

// Projection, lighting and painting for the 3D charts. Model space: x across, y up, z in depth. A
// point is translated, turned by the view matrix M, then scaled for perspective towards a viewer
// on the +z axis at the perspective distance; the display flips y. Normals turn by the inverse
// transpose of M, so they stay normal to what they belong to.
//
// Everything a 3D chart shows goes through the engine's lists: points, stored once and transformed
// together by commitTransform; edges and surfaces (filled polygons) that join them; and marks, the
// chart's own drawings (data symbols, axes) at their place in the order. paint() draws the lists
// in one pass, by layer (walls behind wall grids behind axes behind the contents) and within a
// layer by a depth key, ties in the order the items were made. The key is the chart type's to
// choose: a depth for things that cannot pierce one another, or nothing (0) when the items are made
// in an order already correct, as a height field's cells are.

#include <cstddef>
#include <vector>

namespace plotvane {

class DrawArea;

struct Point3D {
    double x = 0, y = 0, z = 0;
};

inline Point3D operator-(const Point3D& a, const Point3D& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline double dot(const Point3D& a, const Point3D& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Point3D normalised(const Point3D& v);
// Newell's normal of a polygon, normalised: it holds for non-planar and degenerate-cornered ones.
Point3D polygonNormal(const Point3D* p, int count);

enum class PaintLayer { Walls, WallGrid, Axes, Contents };

struct Edge3D {
    int a, b;  // points
    int color, width;
    int dx, dy;  // moved on the picture, with the symbols it joins
    // Drawn half a pixel longer at each end: a line drawn in pieces across seamless surfaces stays
    // whole where the next surface's overlap covers the end of the piece before.
    bool overlapping;
};

struct Surface3D {
    int first, count;  // into the engine's surface corners
    int fillColor, edgeColor;
    // Painted half a pixel larger, without an edge, so that neighbouring faces meet without seams.
    bool seamless;
};

class ThreeDEngine {
public:
    int createPoint(Point3D model);
    const Point3D& modelPoint(int k) const { return model_[static_cast<size_t>(k)]; }
    // After commitTransform.
    const Point3D& shownPoint(int k) const { return shown_[static_cast<size_t>(k)]; }
    // Transforms every point made since the last commit.
    void commitTransform();
    void createEdge(int a, int b, int color, int width, PaintLayer layer, double key = 0, int dx = 0, int dy = 0,
                    bool overlapping = false);
    void createSurface(const int* points, int count, int fillColor, int edgeColor, bool seamless, PaintLayer layer,
                       double key = 0);
    // paintMark(id) of paint() draws it.
    void createMark(int id, PaintLayer layer, double key = 0);
    template <class PaintMark>
    void paint(DrawArea* d, PaintMark paintMark) {
        for (size_t k : paintOrder()) {
            const Item& item = items_[k];
            if (item.kind == Item::Mark)
                paintMark(item.index);
            else
                paintItem(d, item);
        }
        clearItems();
    }

    void setTranslate(double x, double y, double z) { translate_ = {x, y, z}; }
    // Rows of M; N becomes the transpose of M's inverse (of M itself when M is singular).
    void setTransform(const double m[3][3]);
    // Below 1e6 the picture is in perspective from that distance.
    void setPerspective(double distance) { distance_ = distance; }
    void setDisplayScale(double sx, double sy, double ox, double oy);
    void setLightDirection(Point3D v);
    void setViewDirection(Point3D v);
    void setIntensity(double ambient, double light);

    Point3D transformPoint(Point3D p) const;
    Point3D transformVector(Point3D v) const;
    Point3D transformNormal(Point3D n) const;
    double toDisplayX(const Point3D& t) const { return ox_ + sx_ * t.x; }
    double toDisplayY(const Point3D& t) const { return oy_ + sy_ * t.y; }
    // The viewer's position in model space (far along the view direction without perspective).
    Point3D eyeInModel() const;

    // Ambient + diffuse + specular light on a transformed normal, with a surface's reflection.
    double computeBrightness(const Point3D& n, double ambient, double diffuse, double specular,
                             double shininess) const;

private:
    struct Item {
        enum Kind { Edge, Surface, Mark } kind;
        PaintLayer layer;
        double key;
        int index;
    };
    std::vector<size_t> paintOrder() const;
    void clearItems();
    void paintItem(DrawArea* d, const Item& item) const;

    std::vector<Point3D> model_, shown_;
    std::vector<Edge3D> edges_;
    std::vector<Surface3D> surfaces_;
    std::vector<int> corners_;
    std::vector<Item> items_;

    Point3D translate_;
    double m_[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double n_[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double distance_ = 1e100;
    double sx_ = 1, sy_ = 1, ox_ = 0, oy_ = 0;
    Point3D light_{0, 0, 1};
    Point3D view_{0, 0, 1};
    double ambient_ = 0.5;
    double intensity_ = 0.5;
};

}  // namespace plotvane

#endif

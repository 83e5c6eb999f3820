#ifndef PLOTVANE_CHART_OTHER_THREEDENGINE_P_H
#define PLOTVANE_CHART_OTHER_THREEDENGINE_P_H

// Projection and lighting for the 3D charts. Model space: x across, y up, z in depth. A point is
// translated, turned by the view matrix M, then scaled for perspective towards a viewer on the +z
// axis at the perspective distance; the display flips y. Normals turn by the inverse transpose of
// M, so they stay normal to what they belong to.

namespace plotvane {

struct Point3D {
    double x = 0, y = 0, z = 0;
};

inline Point3D operator-(const Point3D& a, const Point3D& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline double dot(const Point3D& a, const Point3D& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Point3D normalised(const Point3D& v);
// Newell's normal of a polygon, normalised: it holds for non-planar and degenerate-cornered ones.
Point3D polygonNormal(const Point3D* p, int count);

class ThreeDEngine {
public:
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

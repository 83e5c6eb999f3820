#ifndef PLOTVANE_FOUNDATION_EFFECTCODE_P_H
#define PLOTVANE_FOUNDATION_EFFECTCODE_P_H

// The one reader of the packed effect codes that boxes, bars and ribbons accept as a raised
// effect or lighting argument (the builders are the Chart helpers in chart.h).

#include <vector>

namespace plotvane {

struct EffectCode {
    enum Kind { None, Raised, FlatBorder, Glass, SoftLighting, BarLighting, Cylinder, Phong };
    Kind kind = None;
    // Raised and the lighting kinds: bevel depth, negative for sunken. FlatBorder: thickness.
    int depth = 0;
    // Glass: 0 (none), 2 (reduced) or 3 (normal) glare.
    int glare = 0;
    // Glass: the side the glare lies on. SoftLighting: the side the light comes from.
    int side = 8;
    // BarLighting: brightness at the start and the end of the ramp.
    double start = 1, end = 1;
    // Cylinder: Chart::DirectionHorizontal (axis across), DirectionVertical, anything else follows
    // the longer side of the shape. Cylinder and Phong: the light's terms.
    int orientation = 5;
    double ambient = 0, diffuse = 0, specular = 0;
    int shininess = 0;

    bool lights() const { return kind >= Glass; }
};

EffectCode decodeEffect(int code);

// Brightness over a lit round surface, as (position 0-256, brightness x 1024) pairs for a lighting
// brush. Across a cylinder: positions 0 and 256 are the rims and the light falls from the side of
// position 0. Over a dome (radial): position 0 is the top, facing the light, and 256 the rim.
std::vector<int> phongProfile(const EffectCode& e, bool dome = false);

}  // namespace plotvane

#endif

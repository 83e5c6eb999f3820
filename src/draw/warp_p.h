#ifndef PLOTVANE_DRAW_WARP_P_H
#define PLOTVANE_DRAW_WARP_P_H

#include <cstdint>
#include <functional>

namespace plotvane {

class Canvas;

// Replaces the picture by a width x height one whose pixel (x, y) shows the source point map(x, y),
// filtered; points beyond the source show bg. False (nothing changed) when memory is short.
using WarpMap = std::function<void(int x, int y, double& sx, double& sy)>;
bool warp(Canvas& canvas, int width, int height, const WarpMap& map, uint32_t bg, int filter, double blur);

void affineWarp(Canvas& canvas, const double m[6], uint32_t bg, int filter, double blur);
void sphereWarp(Canvas& canvas, int xDiameter, int yDiameter, uint32_t bg, int filter, double blur);
void cylinderWarp(Canvas& canvas, bool horizontal, int diameter, uint32_t bg, int filter, double blur);
void triangleWarp(Canvas& canvas, bool vertical, int size, uint32_t bg, int filter, double blur);
void shearWarp(Canvas& canvas, double xShear, double yShear, uint32_t bg, int filter, double blur);
void waveWarp(Canvas& canvas, int period, double amplitude, double direction, double startAngle,
              bool longitudinal, uint32_t bg, int filter, double blur);

}  // namespace plotvane

#endif

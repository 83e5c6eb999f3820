#ifndef PLOTVANE_DRAW_DITHER_P_H
#define PLOTVANE_DRAW_DITHER_P_H

#include <algorithm>
#include <cstdint>
#include <vector>

#include "draw/imageio_p.h"

namespace plotvane {

class Octree;

// The ordered-dither offset at a pixel: the 4 x 4 matrix entry (-15..15) scaled by scale / 32.
int orderedDitherOffset(int x, int y, int scale);

// Floyd-Steinberg error rows for N channels: the error owed to the current row and to the next.
template <int N>
class ErrorDiffusion {
public:
    explicit ErrorDiffusion(int width)
        : current_(static_cast<size_t>(width + 2) * N), next_(static_cast<size_t>(width + 2) * N) {}

    // The error accumulated for pixel x of the current row, channel c.
    int owed(int x, int c) const { return current_[static_cast<size_t>(x + 1) * N + c]; }

    // Spreads the error left by pixel x: 7/16 right, 3/16 below left, 5/16 below, 1/16 below right.
    void spread(int x, const int* error) {
        for (int c = 0; c < N; ++c) {
            int e = error[c];
            current_[static_cast<size_t>(x + 2) * N + c] += (7 * e + 8) >> 4;
            next_[static_cast<size_t>(x) * N + c] += (3 * e + 8) >> 4;
            next_[static_cast<size_t>(x + 1) * N + c] += (5 * e + 8) >> 4;
            next_[static_cast<size_t>(x + 2) * N + c] += (e + 8) >> 4;
        }
    }

    void nextRow() {
        current_.swap(next_);
        std::fill(next_.begin(), next_.end(), 0);
    }

private:
    std::vector<int> current_;
    std::vector<int> next_;
};

// Maps every pixel through the quantiser with dither method 0 (nearest), 1 (ordered) or 2 (error
// diffusion). Pixels whose RGB equals transparentRGB (when >= 0) get transparentIndex undithered.
void makeDitherImage(const RasterImage& image, const Octree& octree, int method, int transparentRGB,
                     int transparentIndex, uint8_t* indices);

}  // namespace plotvane

#endif

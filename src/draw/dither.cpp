// Dithering onto a quantised palette. Nearest mapping keeps flat areas flat; the ordered 4 x 4
// matrix trades a fixed fine pattern for stable output (the same colour always dithers the same
// way, which compresses well); Floyd-Steinberg diffusion pushes each pixel's error onto the
// neighbours not yet visited, giving the truest average colour at the cost of noise.
#include "draw/dither_p.h"

#include <algorithm>

#include "draw/octree_p.h"

namespace plotvane {

namespace {

const int kOrderedMatrix[4][4] = {
    {15, -1, 11, -5},
    {-8, 7, -13, 3},
    {9, -7, 13, -3},
    {-15, 1, -11, 5},
};

int clampByte(int v) { return std::min(255, std::max(0, v)); }

}  // namespace

int orderedDitherOffset(int x, int y, int scale) { return kOrderedMatrix[y & 3][x & 3] * scale / 32; }

void makeDitherImage(const RasterImage& image, const Octree& octree, int method, int transparentRGB,
                     int transparentIndex, uint8_t* indices) {
    ErrorDiffusion<3> diffusion(method == 2 ? image.width : 0);
    for (int y = 0; y < image.height; ++y) {
        const uint32_t* row = image.pixels + static_cast<size_t>(y) * image.width;
        uint8_t* out = indices + static_cast<size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) {
            uint32_t rgb = row[x] & 0xffffff;
            if (transparentRGB >= 0 && rgb == static_cast<uint32_t>(transparentRGB)) {
                out[x] = static_cast<uint8_t>(transparentIndex);
                continue;
            }
            int value[3] = {static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xff),
                            static_cast<int>(rgb & 0xff)};
            if (method == 1) {
                int offset = orderedDitherOffset(x, y, 51);
                for (int& v : value) v = clampByte(v + offset);
            } else if (method == 2) {
                for (int c = 0; c < 3; ++c) value[c] = clampByte(value[c] + diffusion.owed(x, c));
            }
            uint32_t mapped = 0;
            out[x] = static_cast<uint8_t>(octree.mapColor(value[0], value[1], value[2], mapped));
            if (method == 2) {
                int error[3] = {value[0] - static_cast<int>(mapped >> 16),
                                value[1] - static_cast<int>((mapped >> 8) & 0xff),
                                value[2] - static_cast<int>(mapped & 0xff)};
                diffusion.spread(x, error);
            }
        }
        if (method == 2) diffusion.nextRow();
    }
}

}  // namespace plotvane

// Brushed-metal texture: streaks of horizontal noise over a base colour.
//
// Noise v(x, y) = h(x + 65536 y) & 0xffff with an integer hash h. The streak value at x is the sum
// S of v over the 100 pixels of the row ending at x, so neighbouring pixels share 99 terms and the
// texture runs along rows. S is kept in a 100-entry ring while pixels arrive left to right along a
// row, which is how spans are filled; any other order recomputes the sum. Each of red, green and
// blue gets ((S - 3276800) * width) >> 20 added (3276800 is the mean of S), clamped to 0..255.
#include <algorithm>

#include "draw/blend_p.h"
#include "draw/brush_p.h"

namespace plotvane {

namespace {

uint32_t noise(int x, int y) {
    uint32_t k = static_cast<uint32_t>(x) + 65536u * static_cast<uint32_t>(y);
    k = ~k + (k << 15);
    k ^= k >> 12;
    k *= 5;
    k ^= k >> 4;
    k *= 2057;
    k ^= k >> 16;
    return k & 0xffffu;
}

class MetalTextureBrush final : public ColorBrush {
public:
    MetalTextureBrush(BrushContext& ctx, uint32_t base, int width) : ctx_(ctx), base_(base), width_(width) {}

    uint32_t getColor(int x, int y) override {
        const uint32_t c = ctx_.colorAt(base_, x, y);
        if ((c >> 24) == 255) return kTransparent;
        const long long d = ((streak(x, y) - 3276800LL) * width_) >> 20;
        auto ch = [&](int shift) {
            const long long v = static_cast<long long>((c >> shift) & 255) + d;
            return static_cast<uint32_t>(std::clamp<long long>(v, 0, 255)) << shift;
        };
        return (c & 0xff000000u) | ch(16) | ch(8) | ch(0);
    }

private:
    long long streak(int x, int y) {
        if (y == lastY_ && x - 1 == lastX_) {
            sum_ -= ring_[static_cast<size_t>(pos_)];
            ring_[static_cast<size_t>(pos_)] = noise(x, y);
            sum_ += ring_[static_cast<size_t>(pos_)];
            pos_ = (pos_ + 1) % 100;
        } else {
            sum_ = 0;
            for (int i = 0; i < 100; ++i) {
                ring_[static_cast<size_t>(i)] = noise(x - 99 + i, y);
                sum_ += ring_[static_cast<size_t>(i)];
            }
            pos_ = 0;
        }
        lastX_ = x;
        lastY_ = y;
        return sum_;
    }

    BrushContext& ctx_;
    uint32_t base_;
    int width_;
    uint32_t ring_[100] = {};
    long long sum_ = 0;
    int pos_ = 0;
    int lastX_ = 0, lastY_ = -2147483647;
};

}  // namespace

BrushPtr makeMetalTextureBrush(BrushContext& ctx, uint32_t base, int width) {
    return std::make_unique<MetalTextureBrush>(ctx, base, width);
}

}  // namespace plotvane

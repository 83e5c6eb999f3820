// The pixel store and brush look-up shared by every raster stage (see canvas_p.h).
#include "draw/canvas_p.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "draw/drawbmp_p.h"

namespace plotvane {

namespace {
constexpr int kMaxChain = 20;
// Brushes over bases nest evaluations; all of them together take at most this many steps, so a
// brush that is its own base cannot branch into 20^20 look-ups.
constexpr int kMaxTotalSteps = 64;
constexpr size_t kMaxBrushes = 65536;
constexpr uint32_t kBrushTag = 0xfffe0000u;
}  // namespace

Canvas::Canvas(const DrawBMP& owner) : owner_(owner), pixels_(1, kTransparent) {}

bool Canvas::antiAlias() const {
    return owner_.antiAlias();
}
int Canvas::textMode() const {
    return owner_.textAntiAlias();
}

bool Canvas::reset(int width, int height, uint32_t fill) {
    try {
        std::vector<uint32_t> fresh(static_cast<size_t>(width) * static_cast<size_t>(height),
                                    canonical(fill));
        adopt(std::move(fresh), width, height);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void Canvas::adopt(std::vector<uint32_t>&& pixels, int width, int height) {
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    superPixels.clear();
    superPixels.setCanvasSize(static_cast<long long>(width) * height);
    resetClip();
}

void Canvas::blendRunOver(uint32_t* word, std::ptrdiff_t step, int n, uint32_t c) {
    const BlendSource source(c);
    if (step == 1 && superPixels.empty()) {
        source.overRow(word, n);
        return;
    }
    for (int i = 0; i < n; ++i) {
        uint32_t& w = word[i * step];
        if (SuperPixelPool::isReference(w))
            superPixels.blendOver(w, c);
        else
            w = source.over(w);
    }
}

void Canvas::setBrush(uint32_t id, BrushPtr brush) {
    if ((id & 0xffff0000u) != kBrushTag) return;
    const size_t n = id & 0xffffu;
    if (n >= brushes_.size()) brushes_.resize(std::min(kMaxBrushes, std::max(2 * brushes_.size(), n + 100)));
    brushes_[n] = std::move(brush);
}

ColorBrush* Canvas::findBrush(uint32_t id) const {
    if ((id & 0xffff0000u) != kBrushTag) return nullptr;
    const size_t n = id & 0xffffu;
    for (const Canvas* c = this; c; c = c->subDraw ? c->parent : nullptr)
        if (n < c->brushes_.size() && c->brushes_[n]) return c->brushes_[n].get();
    return nullptr;
}

uint32_t Canvas::colorAt(uint32_t c, int x, int y) {
    if (nesting_ == 0) steps_ = 0;
    if (nesting_ >= kMaxChain) return c;
    ++nesting_;
    for (int step = 0; step < kMaxChain && c >= kFirstCode && steps_ < kMaxTotalSteps; ++step, ++steps_) {
        ColorBrush* brush = findBrush(c);
        if (!brush) break;
        c = brush->getColor(x, y);
    }
    --nesting_;
    return c;
}

void Canvas::setBgColor(uint32_t c) {
    if (clip.left > clip.right || clip.top > clip.bottom) return;
    if (findBrush(c)) {
        for (int y = clip.top; y <= clip.bottom; ++y)
            for (int x = clip.left; x <= clip.right; ++x) store(index(x, y), colorAt(c, x, y));
        return;
    }
    c = canonical(c);
    if (clip.left == 0 && clip.top == 0 && clip.right == width_ - 1 && clip.bottom == height_ - 1) {
        superPixels.clear();
        // One row by hand, the rest copied from it: the copies run as fast as memset does.
        std::fill_n(pixels_.begin(), width_, c);
        const size_t row = static_cast<size_t>(width_) * sizeof(uint32_t);
        for (int y = 1; y < height_; ++y) std::memcpy(&pixels_[index(0, y)], pixels_.data(), row);
        return;
    }
    commitSuperPixels();
    for (int y = clip.top; y <= clip.bottom; ++y)
        std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(index(clip.left, y)),
                  pixels_.begin() + static_cast<std::ptrdiff_t>(index(clip.right, y)) + 1, c);
}

}  // namespace plotvane

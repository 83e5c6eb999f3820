#include "draw/metabrush_p.h"

#include <plotvane/drawarea.h>

#include <cstring>

#include "draw/metadraw_p.h"
#include "draw/opcodes_p.h"

namespace plotvane {

MetaBrush::MetaBrush(uint32_t opcode, int id) : opcode_(opcode), id_(id) { words_.push_back(static_cast<uint32_t>(id)); }

void MetaBrush::resolve(MetaDraw& root) {
    bool changed = refresh();
    std::vector<int> now;
    now.reserve(colorSlots_.size());
    for (int slot : colorSlots_) now.push_back(root.resolveColor(static_cast<int>(words_[static_cast<size_t>(slot)])));
    if (!changed && writtenAt_ >= 0 && now == resolved_) return;
    std::vector<uint32_t> args = words_;
    for (size_t k = 0; k < colorSlots_.size(); ++k) args[static_cast<size_t>(colorSlots_[k])] = static_cast<uint32_t>(now[k]);
    writtenAt_ = root.writeDefinition(opcode_, args);
    resolved_ = std::move(now);
}

void MetaBrush::forgetFrom(int index) {
    if (writtenAt_ >= index) writtenAt_ = -1;
}

MetaBrush& MetaBrush::color(int c) {
    colorSlots_.push_back(static_cast<int>(words_.size()));
    words_.push_back(static_cast<uint32_t>(c));
    return *this;
}

MetaBrush& MetaBrush::i(int v) {
    words_.push_back(static_cast<uint32_t>(v));
    return *this;
}

MetaBrush& MetaBrush::b(bool v) { return i(v ? 1 : 0); }

MetaBrush& MetaBrush::d(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    words_.push_back(static_cast<uint32_t>(bits >> 32));
    words_.push_back(static_cast<uint32_t>(bits));
    return *this;
}

MetaBrush& MetaBrush::ints(const std::vector<int>& v) {
    i(static_cast<int>(v.size()));
    for (int x : v) i(x);
    return *this;
}

MetaBrush& MetaBrush::stops(const std::vector<int>& v) {
    i(static_cast<int>(v.size()));
    for (size_t k = 0; k < v.size(); ++k) {
        if (k % 2) color(v[k]);
        else i(v[k]);
    }
    return *this;
}

MetaBrush& MetaBrush::s(const char* text) {
    size_t n = text ? std::strlen(text) : 0;
    i(static_cast<int>(n));
    for (size_t k = 0; k < n; k += 4) {
        uint32_t w = 0;
        for (size_t j = 0; j < 4 && k + j < n; ++j) w |= static_cast<uint32_t>(static_cast<unsigned char>(text[k + j])) << (8 * j);
        words_.push_back(w);
    }
    return *this;
}

MetaBrush* MetaBrush::dashLine(int id, int color, int pattern) {
    return &(new MetaBrush(kOpDashLineColor, id))->color(color).i(pattern);
}

MetaBrush* MetaBrush::brightnessAdjustment(int id, int base, double factor) {
    return &(new MetaBrush(kOpAdjustBrightness, id))->color(base).d(factor);
}

MetaBrush* MetaBrush::brushedTexture(int id, int base, int width) {
    return &(new MetaBrush(kOpBrushedTextureColor, id))->color(base).i(width);
}

MetaBrush* MetaBrush::relativeLinearGradient(int id, const double xy[4], bool periodic, const std::vector<int>& stops) {
    return &(new MetaBrush(kOpRelativeLinearGradientColor, id))->d(xy[0]).d(xy[1]).d(xy[2]).d(xy[3]).b(periodic).stops(stops);
}

MetaBrush* MetaBrush::relativeLinearLighting(int id, int base, const double xy[4], const std::vector<int>& table) {
    return &(new MetaBrush(kOpRelativeLinearLightingColor, id))->color(base).d(xy[0]).d(xy[1]).d(xy[2]).d(xy[3]).b(false).ints(table);
}

MetaXYZoneBrush::MetaXYZoneBrush(int id, const ZoneSplitter* split, int colorA, int colorB)
    : MetaBrush(kOpZoneColor, id), split_(split), colors_{colorA, colorB} {
    b(false).i(0).color(colorA).color(colorB);  // direction and position come with each use
}

bool MetaXYZoneBrush::refresh() {
    bool swap = split_->swapsColors();
    const uint32_t now[4] = {split_->isHorizontalSplit() ? 1u : 0u, static_cast<uint32_t>(split_->getSplitPosition()),
                             static_cast<uint32_t>(colors_[swap ? 1 : 0]), static_cast<uint32_t>(colors_[swap ? 0 : 1])};
    bool changed = false;
    for (size_t k = 0; k < 4; ++k) {
        changed = changed || words_[k + 1] != now[k];
        words_[k + 1] = now[k];
    }
    return changed;
}

MetaZColorBrush::MetaZColorBrush(int id, const std::vector<int>& stops, double zLow, double zHigh)
    : MetaBrush(kOpZColor, id), zLow_(zLow), scale_(256 / (zHigh - zLow)) {
    d(0).d(0).d(0).stops(stops);
    moved_ = true;
}

void MetaZColorBrush::transform(double a, double b, double c) {
    if (a == plane_[0] && b == plane_[1] && c == plane_[2]) return;
    plane_[0] = a;
    plane_[1] = b;
    plane_[2] = c;
    moved_ = true;
}

bool MetaZColorBrush::refresh() {
    if (!moved_) return false;
    // The plane in gradient positions, written over the three doubles after the id.
    double position[3] = {plane_[0] * scale_, plane_[1] * scale_, (plane_[2] - zLow_) * scale_};
    for (int k = 0; k < 3; ++k) {
        uint64_t bits;
        std::memcpy(&bits, &position[k], sizeof bits);
        words_[static_cast<size_t>(1 + 2 * k)] = static_cast<uint32_t>(bits >> 32);
        words_[static_cast<size_t>(2 + 2 * k)] = static_cast<uint32_t>(bits);
    }
    moved_ = false;
    return true;
}

}  // namespace plotvane

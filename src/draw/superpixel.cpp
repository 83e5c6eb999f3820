// Super-pixel records: see superpixel_p.h for the encoding and why two forms exist.
#include "draw/superpixel_p.h"

#include <algorithm>

#include "draw/blend_p.h"

namespace plotvane {

namespace {

constexpr uint32_t kTwoTag = 0xff800000u;
constexpr uint32_t kSixteenTag = 0xffc00000u;
constexpr uint32_t kIndexMask = 0x3fffffu;
constexpr uint32_t kMaxRecords = kIndexMask + 1;
constexpr uint32_t kNone = 0xffffffffu;
constexpr int kCollapseTolerance = 10;

bool isSixteen(uint32_t word) {
    return (word & kSixteenTag) == kSixteenTag;
}

uint32_t bitCount(uint32_t m) {
    return static_cast<uint32_t>(__builtin_popcount(m));
}

}  // namespace

uint32_t SuperPixelPool::newTwo(uint32_t c0, uint32_t c1, uint32_t mask) {
    uint32_t i;
    if (!freeTwo_.empty()) {
        i = freeTwo_.back();
        freeTwo_.pop_back();
        two_[i] = TwoColor{c0, c1, mask};
    } else {
        if (two_.size() >= kMaxRecords) return kNone;
        i = static_cast<uint32_t>(two_.size());
        two_.push_back(TwoColor{c0, c1, mask});
    }
    any_ = true;
    return i;
}

uint32_t SuperPixelPool::newSixteen() {
    if (freeSixteen_.empty()) {
        const size_t old = sixteen_.size();
        size_t grown = old == 0 ? static_cast<size_t>(std::max<long long>(100, canvasPixels_ / 50)) : old * 2;
        grown = std::min<size_t>(grown, kMaxRecords);
        if (grown <= old) return kNone;
        sixteen_.resize(grown);
        for (size_t i = grown; i > old; --i) freeSixteen_.push_back(static_cast<uint32_t>(i - 1));
    }
    const uint32_t i = freeSixteen_.back();
    freeSixteen_.pop_back();
    any_ = true;
    return i;
}

void SuperPixelPool::freeRecord(uint32_t word) {
    if (isSixteen(word))
        freeSixteen_.push_back(word & kIndexMask);
    else
        freeTwo_.push_back(word & kIndexMask);
}

uint32_t SuperPixelPool::resolve(uint32_t word) const {
    if (isSixteen(word)) {
        const auto& s = sixteen_[word & kIndexMask];
        uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            uint32_t sum = 0;
            for (uint32_t v : s) sum += (v >> shift) & 255;
            out |= ((sum + 8) / 16) << shift;
        }
        return canonical(out);
    }
    const TwoColor& r = two_[word & kIndexMask];
    const uint32_t n = bitCount(r.mask);
    return mixColors(r.c1, n, r.c0, 16 - n);
}

void SuperPixelPool::release(uint32_t& word) {
    const uint32_t plain = resolve(word);
    freeRecord(word);
    word = plain;
}

void SuperPixelPool::blendOver(uint32_t& word, uint32_t c) {
    if ((c >> 24) == 0) {
        freeRecord(word);
        word = c;
        return;
    }
    if (isSixteen(word)) {
        for (uint32_t& v : sixteen_[word & kIndexMask]) v = blend(c, v);
    } else {
        TwoColor& r = two_[word & kIndexMask];
        r.c0 = blend(c, r.c0);
        r.c1 = blend(c, r.c1);
    }
}

bool SuperPixelPool::append(uint32_t& word, uint32_t c, uint32_t mask) {
    mask &= 0xffffu;
    if (mask == 0) return true;
    if (!isReference(word)) {
        const uint32_t i = newTwo(word, blend(c, word), mask);
        if (i == kNone) return false;
        word = kTwoTag | i;
        return true;
    }
    if (isSixteen(word)) {
        auto& s = sixteen_[word & kIndexMask];
        for (int k = 0; k < 16; ++k)
            if (mask & (1u << k)) s[k] = blend(c, s[k]);
        return true;
    }
    TwoColor& r = two_[word & kIndexMask];
    if (mask == r.mask) {
        r.c1 = blend(c, r.c1);
        return true;
    }
    if (mask == (~r.mask & 0xffffu)) {
        const uint32_t result = blend(c, r.c0);
        if (result == r.c1 || nearColor(result, r.c1, kCollapseTolerance)) {
            const uint32_t n = bitCount(r.mask);
            const uint32_t plain = mixColors(r.c1, n, result, 16 - n);
            freeRecord(word);
            word = plain;
        } else {
            r = TwoColor{r.c1, result, mask};
        }
        return true;
    }
    if ((mask & r.mask) == 0) {
        const uint32_t result = blend(c, r.c0);
        if (result == r.c1) {
            r.mask |= mask;
            return true;
        }
        if (nearColor(result, r.c1, kCollapseTolerance)) {
            r.c1 = mixColors(r.c1, bitCount(r.mask), result, bitCount(mask));
            r.mask |= mask;
            return true;
        }
    }
    const uint32_t i = newSixteen();
    if (i == kNone) return false;
    const TwoColor old = r;
    auto& s = sixteen_[i];
    for (int k = 0; k < 16; ++k) {
        s[k] = (old.mask & (1u << k)) ? old.c1 : old.c0;
        if (mask & (1u << k)) s[k] = blend(c, s[k]);
    }
    freeRecord(word);
    word = kSixteenTag | i;
    return true;
}

void SuperPixelPool::commitAll(uint32_t* pixels, long long count) {
    if (!any_) return;
    for (long long i = 0; i < count; ++i)
        if (isReference(pixels[i])) pixels[i] = resolve(pixels[i]);
    clear();
}

void SuperPixelPool::clear() {
    two_.clear();
    freeTwo_.clear();
    freeSixteen_.clear();
    for (size_t i = sixteen_.size(); i > 0; --i) freeSixteen_.push_back(static_cast<uint32_t>(i - 1));
    any_ = false;
}

}  // namespace plotvane

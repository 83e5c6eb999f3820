// ISAAC (Indirection, Shift, Accumulate, Add, Count), Bob Jenkins 1996, with RANDSIZL = 4.
//
// Each refill walks the 16 memory words in two halves; each step mixes the accumulator a with a shift
// of itself and the word half a table away, looks up memory through bits of the old word to make the
// new one, and emits a result through another indirect look-up. Draws take the result words from the
// top down; when they run out the table is refilled. Initialisation scrambles eight golden-ratio words,
// folds the seeded result words into memory in two passes, and runs one refill.
#include "data/isaac_p.h"

namespace plotvane {

namespace {

void mix(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, uint32_t& e, uint32_t& f, uint32_t& g,
         uint32_t& h) {
    a ^= b << 11;
    d += a;
    b += c;
    b ^= c >> 2;
    e += b;
    c += d;
    c ^= d << 8;
    f += c;
    d += e;
    d ^= e >> 16;
    g += d;
    e += f;
    e ^= f << 10;
    h += e;
    f += g;
    f ^= g >> 4;
    a += f;
    g += h;
    g ^= h << 8;
    b += g;
    h += a;
    h ^= a >> 9;
    c += h;
    a += b;
}

}  // namespace

Isaac::Isaac(uint32_t seed) {
    for (uint32_t& r : results_) r = seed;
    uint32_t a, b, c, d, e, f, g, h;
    a = b = c = d = e = f = g = h = 0x9e3779b9;
    for (int i = 0; i < 4; ++i) mix(a, b, c, d, e, f, g, h);
    for (int pass = 0; pass < 2; ++pass) {
        const uint32_t* source = pass == 0 ? results_ : memory_;
        for (int i = 0; i < kSize; i += 8) {
            a += source[i];
            b += source[i + 1];
            c += source[i + 2];
            d += source[i + 3];
            e += source[i + 4];
            f += source[i + 5];
            g += source[i + 6];
            h += source[i + 7];
            mix(a, b, c, d, e, f, g, h);
            memory_[i] = a;
            memory_[i + 1] = b;
            memory_[i + 2] = c;
            memory_[i + 3] = d;
            memory_[i + 4] = e;
            memory_[i + 5] = f;
            memory_[i + 6] = g;
            memory_[i + 7] = h;
        }
    }
    refill();
    count_ = kSize;
}

void Isaac::refill() {
    constexpr int kHalf = kSize / 2;
    uint32_t a = a_, b = b_ + (++c_);
    auto lookUp = [this](uint32_t x) { return memory_[(x >> 2) & (kSize - 1)]; };
    int r = 0;
    for (int m = 0; m < kSize; ++m) {
        uint32_t mixed;
        switch (m & 3) {
            case 0:
                mixed = a ^ (a << 13);
                break;
            case 1:
                mixed = a ^ (a >> 6);
                break;
            case 2:
                mixed = a ^ (a << 2);
                break;
            default:
                mixed = a ^ (a >> 16);
                break;
        }
        uint32_t x = memory_[m];
        a = mixed + memory_[(m + kHalf) % kSize];
        uint32_t y = lookUp(x) + a + b;
        memory_[m] = y;
        b = lookUp(y >> 4) + x;
        results_[r++] = b;
    }
    b_ = b;
    a_ = a;
}

uint32_t Isaac::next() {
    if (--count_ < 0) {
        refill();
        count_ = kSize - 1;
    }
    return results_[count_];
}

}  // namespace plotvane

#ifndef PLOTVANE_DATA_ISAAC_P_H
#define PLOTVANE_DATA_ISAAC_P_H

#include <cstdint>

namespace plotvane {

// Bob Jenkins' ISAAC generator in its small form (16 words of state), seeded by filling every result
// word with the seed. Plain 32-bit unsigned arithmetic, so every platform draws the same words.
class Isaac {
  public:
    explicit Isaac(uint32_t seed);
    uint32_t next();
    // A drawn word scaled into [0, 1], both ends included.
    double unit() { return next() / 4294967295.0; }

  private:
    static constexpr int kSize = 16;
    void refill();

    uint32_t results_[kSize];
    uint32_t memory_[kSize];
    uint32_t a_ = 0, b_ = 0, c_ = 0;
    int count_ = kSize;
};

}  // namespace plotvane

#endif

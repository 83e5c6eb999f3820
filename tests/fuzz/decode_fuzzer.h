#ifndef PLOTVANE_TESTS_FUZZ_DECODE_FUZZER_H
#define PLOTVANE_TESTS_FUZZ_DECODE_FUZZER_H

// One decoder under libFuzzer: any input must decode or be refused, within the size limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "draw/imageio_p.h"

inline int fuzzDecoder(int type, const uint8_t* data, size_t size) {
    if (size > 0x7fffffff) return 0;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    if (plotvane::decodeImage(data, static_cast<int>(size), type, pixels, width, height) &&
        (width < 1 || height < 1 || pixels.size() != static_cast<size_t>(width) * height))
        std::abort();
    return 0;
}

#endif

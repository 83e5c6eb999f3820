// libFuzzer target: any rows through the PNG deflate encoder must inflate back to themselves.
#include <cstdlib>

#include "deflate_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!plotvane_fuzz::deflateRoundTrip(data, size)) std::abort();
    return 0;
}

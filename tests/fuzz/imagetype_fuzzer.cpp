// getImageType and getImageSize on any bytes: no reads outside the buffer, sizes never negative.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "draw/imageio_p.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0x7fffffff) return 0;
    int length = static_cast<int>(size);
    int type = plotvane::getImageType(data, length);
    int width = -1, height = -1;
    plotvane::getImageSize(data, length, width, height);
    if (width < 0 || height < 0 || (width == 0) != (height == 0)) std::abort();
    if (type == plotvane::kImageUnknown && width != 0) std::abort();
    return 0;
}

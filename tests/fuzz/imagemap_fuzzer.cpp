// libFuzzer target: any bytes as image-map text, parsed, hit-tested and asked for parameters.
#include <plotvane/imagemaphandler.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    plotvane::ImageMapHandler* h = plotvane::ImageMapHandler::create(text.c_str());
    if (!h) return 0;
    // The first bytes double as probe points, so the search and the tables get exercised.
    for (size_t k = 0; k + 1 < size && k < 16; k += 2) {
        int x = static_cast<int8_t>(data[k]) * 4, y = static_cast<int8_t>(data[k + 1]) * 4;
        if (h->getHotSpot(x, y)) {
            for (int i = 0; h->getKey(i); ++i) h->getValue(i);
            h->getValue("title");
        }
    }
    h->destroy();
    return 0;
}

// libFuzzer target: any bytes as marked-up text, laid out and drawn.
#include "markup_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plotvane_fuzz::runMarkupInput(data, size);
    return 0;
}

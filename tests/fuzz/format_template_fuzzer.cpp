// libFuzzer target: templates, format codes and expressions with any value.
#include "format_template_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plotvane_fuzz::runFormatTemplateInput(data, size);
    return 0;
}

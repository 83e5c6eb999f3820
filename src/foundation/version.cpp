#include <plotvane/chart.h>

namespace plotvane {
namespace Chart {

#define PLOTVANE_STRINGIFY2(x) #x
#define PLOTVANE_STRINGIFY(x) PLOTVANE_STRINGIFY2(x)

int getVersion() { return (PLOTVANE_VERSION_MAJOR << 24) | (PLOTVANE_VERSION_MINOR << 16) | PLOTVANE_VERSION_PATCH; }

const char* getDescription() {
    return "Plotvane " PLOTVANE_STRINGIFY(PLOTVANE_VERSION_MAJOR) "." PLOTVANE_STRINGIFY(
        PLOTVANE_VERSION_MINOR) "." PLOTVANE_STRINGIFY(PLOTVANE_VERSION_PATCH) ", a C++ charting library";
}

}  // namespace Chart
}  // namespace plotvane

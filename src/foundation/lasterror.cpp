#include "foundation/lasterror_p.h"

#include <plotvane/chart.h>

#include <cstdarg>
#include <cstdio>

namespace plotvane {

namespace {

// Long enough for a path and a system message; longer reasons are cut.
thread_local char reason[1024];

}  // namespace

void setLastError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(reason, sizeof reason, format, args);
    va_end(args);
}

const char* Chart::lastError() { return reason; }

void Chart::clearLastError() { reason[0] = '\0'; }

}  // namespace plotvane

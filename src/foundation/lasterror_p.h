#ifndef PLOTVANE_FOUNDATION_LASTERROR_P_H
#define PLOTVANE_FOUNDATION_LASTERROR_P_H

// Why the last call that reported failure on this thread failed. Only failure paths write it, so
// a call that succeeds pays nothing; Chart::lastError reads it.

namespace plotvane {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void setLastError(const char* format, ...);

}  // namespace plotvane

#endif

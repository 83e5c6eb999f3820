#ifndef PLOTVANE_VECTOR_GZIP_P_H
#define PLOTVANE_VECTOR_GZIP_P_H

#include <plotvane/ostrstream.h>

#include <cstddef>
#include <ctime>

namespace plotvane {

// Writes `data` as one gzip member (raw deflate at level 6, CRC-32 and length); false, with nothing
// written, when compression fails.
bool writeGzip(vek::ostream& out, const char* data, size_t length, std::time_t modified);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_VECTOR_GZIP_P_H
#define PLOTVANE_VECTOR_GZIP_P_H

#include <plotvane/ostrstream.h>

#include <cstddef>
#include <ctime>
#include <string>

namespace plotvane {

// `data` deflated at level 6 into `out` (zlib format, as PDF streams hold it); false when
// compression fails. Each thread keeps one compressor and resets it between calls: setting one up
// costs a quarter megabyte, which the allocator would hand back to the system and fault in again
// for every stream.
bool zlibCompress(const char* data, size_t length, std::string& out);

// Writes `data` as one gzip member (raw deflate at level 6, CRC-32 and length); false, with nothing
// written, when compression fails.
bool writeGzip(vek::ostream& out, const char* data, size_t length, std::time_t modified);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_VECTOR_GZIP_P_H
#define PLOTVANE_VECTOR_GZIP_P_H

#include <plotvane/ostrstream.h>

#include <cstddef>
#include <ctime>
#include <string>

namespace plotvane {

// How hard zlibCompress works: Fast for what is written once per document (a chart's content
// deflates at level 1 in a third of the time, about a fifth larger), Small for what is cached and
// written many times (level 6).
enum class Deflate { Fast, Small };

// `data` deflated into `out` (zlib format, as PDF streams hold it); false when compression fails.
// Each thread keeps one compressor per kind and resets it between calls: setting one up costs a
// quarter megabyte, which the allocator would hand back to the system and fault in again for
// every stream.
bool zlibCompress(const char* data, size_t length, std::string& out, Deflate kind = Deflate::Small);

// Writes `data` as one gzip member (raw deflate at level 6, CRC-32 and length); false, with nothing
// written, when compression fails.
bool writeGzip(vek::ostream& out, const char* data, size_t length, std::time_t modified);

}  // namespace plotvane

#endif

#include "vector/gzip_p.h"

#include <zlib.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace plotvane {

namespace {

void putLE32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

bool writeGzip(vek::ostream& out, const char* data, size_t length, std::time_t modified) {
    if (length > static_cast<size_t>(std::numeric_limits<int>::max() / 2)) return false;
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    // Room for incompressible input: 1 % and a little more, plus the header and trailer.
    std::vector<unsigned char> buf((length * 101 + 99) / 100 + 30);
    unsigned char* header = buf.data();
    header[0] = 0x1f, header[1] = 0x8b, header[2] = 8, header[3] = 0;
    putLE32(header + 4, static_cast<uint32_t>(modified));
    header[8] = 2, header[9] = 255;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z.avail_in = static_cast<uInt>(length);
    z.next_out = buf.data() + 10;
    z.avail_out = static_cast<uInt>(buf.size() - 18);
    int rc = deflate(&z, Z_FINISH);
    size_t produced = z.total_out;
    deflateEnd(&z);
    if (rc != Z_STREAM_END) return false;
    unsigned char* trailer = buf.data() + 10 + produced;
    putLE32(trailer, static_cast<uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(length))));
    putLE32(trailer + 4, static_cast<uint32_t>(length));
    out.write(reinterpret_cast<const char*>(buf.data()), static_cast<int>(produced + 18));
    return true;
}

}  // namespace plotvane

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

// A deflate stream kept for the thread's life; windowBits as deflateInit2 takes them.
class Deflater {
public:
    explicit Deflater(int windowBits, int level = 6) {
        ok_ = deflateInit2(&z_, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflater() {
        if (ok_) deflateEnd(&z_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // Deflates all of the input into out[0, capacity); the bytes written, or -1.
    long long run(const unsigned char* in, size_t length, unsigned char* out, size_t capacity) {
        if (!ok_ || deflateReset(&z_) != Z_OK) return -1;
        z_.next_in = const_cast<Bytef*>(in);
        z_.avail_in = static_cast<uInt>(length);
        z_.next_out = out;
        z_.avail_out = static_cast<uInt>(capacity);
        return deflate(&z_, Z_FINISH) == Z_STREAM_END ? static_cast<long long>(z_.total_out) : -1;
    }

private:
    z_stream z_{};
    bool ok_ = false;
};

constexpr size_t kMaxInput = static_cast<size_t>(std::numeric_limits<int>::max() / 2);

}  // namespace

bool zlibCompress(const char* data, size_t length, std::string& out, Deflate kind) {
    if (length > kMaxInput) return false;
    thread_local Deflater small(15), fast(15, 1);
    Deflater& zlib = kind == Deflate::Fast ? fast : small;
    out.resize(compressBound(static_cast<uLong>(length)));
    long long produced = zlib.run(reinterpret_cast<const unsigned char*>(data), length,
                                  reinterpret_cast<unsigned char*>(&out[0]), out.size());
    if (produced < 0) return false;
    out.resize(static_cast<size_t>(produced));
    return true;
}

bool writeGzip(vek::ostream& out, const char* data, size_t length, std::time_t modified) {
    if (length > kMaxInput) return false;
    thread_local Deflater raw(-15);
    // Room for incompressible input: 1 % and a little more, plus the header and trailer.
    std::vector<unsigned char> buf((length * 101 + 99) / 100 + 30);
    unsigned char* header = buf.data();
    header[0] = 0x1f, header[1] = 0x8b, header[2] = 8, header[3] = 0;
    putLE32(header + 4, static_cast<uint32_t>(modified));
    header[8] = 2, header[9] = 255;
    long long deflated = raw.run(reinterpret_cast<const unsigned char*>(data), length, buf.data() + 10, buf.size() - 18);
    if (deflated < 0) return false;
    size_t produced = static_cast<size_t>(deflated);
    unsigned char* trailer = buf.data() + 10 + produced;
    putLE32(trailer, static_cast<uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(length))));
    putLE32(trailer + 4, static_cast<uint32_t>(length));
    out.write(reinterpret_cast<const char*>(buf.data()), static_cast<int>(produced + 18));
    return true;
}

}  // namespace plotvane

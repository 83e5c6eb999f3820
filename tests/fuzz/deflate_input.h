#ifndef PLOTVANE_TESTS_FUZZ_DEFLATE_INPUT_H
#define PLOTVANE_TESTS_FUZZ_DEFLATE_INPUT_H

// One fuzz input through the rows' deflate encoder and back through zlib's inflate. Layout: byte 0
// holds the pixel distance minus one (low two bits), whether the output is taken after every row
// (bit 2), whether the rows are repeated 40 times (bit 3, for streams past the 32 KB window and
// the pending buffer), the size the encoder is told (bits 4-5: none, the true one, half of it,
// twice it) and whether the stream is made a second time on the same encoder (bit 6), the same
// or with its last byte changed (bit 7), which must give what a fresh encoder gives; bytes 1-2
// the row length minus one (little-endian, modulo 4096); the rest is the rows, the last one
// shorter when the length does not divide it. Shared by the libFuzzer target and the test that
// replays the seed corpus.

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "draw/deflate_p.h"

namespace plotvane_fuzz {

struct DeflateInput {
    int pixelBytes;
    bool takeEachRow;
    size_t rowLength;
    size_t announced;
};

// The stream of `rows` (repeated `repeats` times) through `deflater`, restarted for them.
inline std::string deflateStream(plotvane::RowDeflater& deflater, const DeflateInput& in, const std::string& rows,
                                 int repeats) {
    deflater.restart(in.pixelBytes, in.rowLength, in.announced);
    std::string stream;
    auto take = [&] {
        stream.append(reinterpret_cast<const char*>(deflater.output()), deflater.outputSize());
        deflater.takeOutput();
    };
    for (int r = 0; r < repeats; ++r) {
        for (size_t at = 0; at < rows.size(); at += in.rowLength) {
            size_t n = std::min(in.rowLength, rows.size() - at);
            std::memcpy(deflater.addRow(n), rows.data() + at, n);
            if (in.takeEachRow) take();
        }
    }
    deflater.finish();
    take();
    return stream;
}

inline bool inflatesTo(const std::string& stream, const std::string& expected) {
    std::string inflated(expected.size() + 1, '\0');
    uLongf inflatedLength = static_cast<uLongf>(inflated.size());
    int status = uncompress(reinterpret_cast<Bytef*>(&inflated[0]), &inflatedLength,
                            reinterpret_cast<const Bytef*>(stream.data()), static_cast<uLong>(stream.size()));
    return status == Z_OK && inflatedLength == expected.size() && inflated.compare(0, inflatedLength, expected) == 0;
}

// True when the streams inflate to exactly the rows that went in, and a stream made again on the
// same encoder is the one a fresh encoder makes.
inline bool deflateRoundTrip(const uint8_t* data, size_t size) {
    if (size < 4) return true;
    const int repeats = data[0] & 8 ? 40 : 1;
    const std::string rows(reinterpret_cast<const char*>(data + 3), size - 3);
    const size_t total = rows.size() * static_cast<size_t>(repeats);
    const size_t announced[4] = {0, total, total / 2, total * 2};
    const DeflateInput in{1 + (data[0] & 3), (data[0] & 4) != 0, 1 + ((data[1] | data[2] << 8) & 4095u),
                          announced[(data[0] >> 4) & 3]};
    std::string expected;
    for (int r = 0; r < repeats; ++r) expected += rows;

    plotvane::RowDeflater deflater(in.pixelBytes, in.rowLength, in.announced);
    if (!inflatesTo(deflateStream(deflater, in, rows, repeats), expected)) return false;
    if (!(data[0] & 64)) return true;
    std::string again = rows;
    if (data[0] & 128) again.back() = static_cast<char>(again.back() ^ 1);
    std::string expectedAgain;
    for (int r = 0; r < repeats; ++r) expectedAgain += again;
    const std::string reused = deflateStream(deflater, in, again, repeats);
    plotvane::RowDeflater fresh(in.pixelBytes, in.rowLength, in.announced);
    return inflatesTo(reused, expectedAgain) && reused == deflateStream(fresh, in, again, repeats);
}

}  // namespace plotvane_fuzz

#endif

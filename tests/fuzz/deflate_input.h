#ifndef PLOTVANE_TESTS_FUZZ_DEFLATE_INPUT_H
#define PLOTVANE_TESTS_FUZZ_DEFLATE_INPUT_H

// One fuzz input through the rows' deflate encoder and back through zlib's inflate. Layout: byte 0
// holds the pixel distance minus one (low two bits), whether the output is taken after every row
// (bit 2) and whether the rows are repeated 40 times (bit 3, for streams past the 32 KB window and
// the pending buffer); bytes 1-2 the row length minus one (little-endian, modulo 4096); the rest
// is the rows, the last one shorter when the length does not divide it. Shared by the libFuzzer
// target and the test that replays the seed corpus.

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "draw/deflate_p.h"

namespace plotvane_fuzz {

// True when the stream inflates to exactly the rows that went in.
inline bool deflateRoundTrip(const uint8_t* data, size_t size) {
    if (size < 4) return true;
    const int pixelBytes = 1 + (data[0] & 3);
    const bool takeEachRow = data[0] & 4;
    const int repeats = data[0] & 8 ? 40 : 1;
    const size_t rowLength = 1 + ((data[1] | data[2] << 8) & 4095);
    const uint8_t* rows = data + 3;
    const size_t length = size - 3;

    plotvane::RowDeflater deflater(pixelBytes, rowLength);
    std::string stream, expected;
    auto take = [&] {
        stream.append(reinterpret_cast<const char*>(deflater.output()), deflater.outputSize());
        deflater.takeOutput();
    };
    for (int r = 0; r < repeats; ++r) {
        for (size_t at = 0; at < length; at += rowLength) {
            size_t n = std::min(rowLength, length - at);
            std::memcpy(deflater.addRow(n), rows + at, n);
            if (takeEachRow) take();
        }
        expected.append(reinterpret_cast<const char*>(rows), length);
    }
    deflater.finish();
    take();

    std::string inflated(expected.size() + 1, '\0');
    uLongf inflatedLength = static_cast<uLongf>(inflated.size());
    int status = uncompress(reinterpret_cast<Bytef*>(&inflated[0]), &inflatedLength,
                            reinterpret_cast<const Bytef*>(stream.data()), static_cast<uLong>(stream.size()));
    return status == Z_OK && inflatedLength == expected.size() && inflated.compare(0, inflatedLength, expected) == 0;
}

}  // namespace plotvane_fuzz

#endif

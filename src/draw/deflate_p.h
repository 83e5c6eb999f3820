#ifndef PLOTVANE_DRAW_DEFLATE_P_H
#define PLOTVANE_DRAW_DEFLATE_P_H

// The zlib stream of a picture's rows, made by the library's own deflate encoder (see
// deflate.cpp). Rows go in one at a time; compressed bytes come out in pieces as blocks are
// completed, so a large picture never needs all its rows in memory at once. One encoder may make
// stream after stream, keeping its work areas; each stream depends only on its own rows.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace plotvane {

class RowDeflater {
public:
    // `pixelBytes`: the distance from one pixel to the next in a row (1 for packed pixels);
    // `longestRow`: the longest row that will be added; `streamBytes`: all the rows' bytes when
    // known, else 0. A stream of up to kWholeStreamBytes that says its size is held whole, so that
    // the next stream can take its work over.
    static constexpr size_t kWholeStreamBytes = size_t{2} << 20;
    RowDeflater(int pixelBytes, size_t longestRow, size_t streamBytes = 0);
    RowDeflater(const RowDeflater&) = delete;
    RowDeflater& operator=(const RowDeflater&) = delete;

    // Starts the next stream, as the constructor does.
    void restart(int pixelBytes, size_t longestRow, size_t streamBytes = 0);
    // Bytes held in work areas.
    size_t footprint() const;

    // Room for the next row of `length` bytes (at most `longestRow`), to be filled before the next
    // call. Up to 8 bytes past the row may be written too; they are not part of the stream.
    uint8_t* addRow(size_t length);
    // Compresses what remains and ends the stream.
    void finish();

    // The whole bytes of the stream made so far and not yet taken.
    const uint8_t* output() const { return out_.data(); }
    size_t outputSize() const { return outBytes_; }
    void takeOutput() {
        if (!finished_) keeping_ = false;  // the bytes of this stream's first blocks are gone
        outBytes_ = 0;
    }

private:
    // A place where a search started afresh: the parse can be taken up again there.
    struct Mark {
        size_t symbol;
        size_t position;
    };
    // The end of a block and the output up to it.
    struct BlockEnd {
        size_t symbol;
        size_t position;
        size_t outBytes;
        uint64_t bitBuffer;
        int bitCount;
    };

    void compressPending();
    // Compresses the pending rows, the parse starting at `from`.
    void compressFrom(size_t from);
    // The leading bytes this stream shares with the last one kept.
    size_t sharedWithPrevious() const;
    // Takes the last stream's work over for the `shared` bytes both streams begin with; returns
    // where the parse goes on.
    size_t resume(size_t shared);
    void parse(size_t from, size_t end);
    // The longest earlier copy of the bytes at `at` (0 when shorter than 4) and its distance;
    // enters `at` in the hash chains.
    size_t longestCopy(size_t at, size_t end, size_t& dist);
    void enter(size_t at);
    void addLiteral(uint8_t byte) {
        symbols_[symbolCount_++] = byte;
        ++litFreq_[byte];
    }
    void addCopy(size_t length, size_t dist);
    void countCopy(size_t length, size_t dist);
    // Writes the symbols gathered since blockStart_ as one block covering the bytes up to blockEnd.
    void flushBlock(size_t blockEnd, bool last);

    // Large work areas are left uninitialised: only the pages a picture reaches are ever touched.
    size_t bufferSize_ = 0;
    std::unique_ptr<uint8_t[]> buffer_;  // the last 32 KB already compressed, then the rows still pending
    size_t fill_ = 0;              // bytes in buffer_
    size_t scan_ = 0;              // the first byte not yet turned into symbols
    size_t blockStart_ = 0;        // the first byte of the current block
    uint32_t base_ = 0;            // stream position of buffer_[0]
    size_t pixelBytes_ = 1;
    size_t rowLength_ = 0;         // of the rows now arriving; the row above is this far back
    std::vector<uint32_t> hash_;   // stream position of the last place each 4-byte hash was seen
    std::unique_ptr<uint32_t[]> chain_;  // per position modulo 32 KB: the place before it with its hash
    std::unique_ptr<uint32_t[]> symbols_;  // a literal byte, or a copy: length | distance << 16
    size_t symbolCount_ = 0;
    size_t blockSymbol_ = 0;       // the first symbol of the current block

    // A stream whose rows all fit the buffer keeps its rows, symbols, marks and block ends, so
    // that the next stream can take over its work for the rows both share.
    bool keeping_ = false;
    bool finished_ = false;
    std::unique_ptr<uint8_t[]> previous_;  // the rows of the last stream kept
    size_t previousFill_ = 0;      // 0: none kept
    size_t previousRowLength_ = 0;
    size_t previousPixelBytes_ = 0;
    size_t compressed_ = 0;           // the compressed size of this stream once finished and kept
    size_t previousCompressed_ = 0;   // of the last stream kept, whose bytes out_ still holds
    std::vector<Mark> marks_;
    size_t nextMark_ = 0;
    std::vector<BlockEnd> blockEnds_;
    uint32_t litFreq_[286] = {};
    uint32_t distFreq_[30] = {};
    uint32_t adler_ = 1;
    std::vector<uint8_t> out_;
    size_t outBytes_ = 0;
    uint64_t bitBuffer_ = 0;       // bits not yet in out_, from the least significant end
    int bitCount_ = 0;
};

}  // namespace plotvane

#endif

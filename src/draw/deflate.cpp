// A deflate encoder for the rows of chart pictures. Chart pictures are long runs of one colour,
// rows that repeat the row above, and anti-aliased edges and text in between. At each position
// two places are tried first for an earlier copy: one pixel back (a run) and one row back (the
// row above; a row with its filter byte is `rowLength_` bytes). Then up to kChainDepth earlier
// positions whose next four bytes hashed alike are tried, newest first, for glyphs, edges and
// patterns repeated along the picture. Copies are measured eight bytes at a time, so a blank row
// of a thousand bytes costs four symbols and about as many steps. A short copy is checked against
// the copy one byte later, which may be longer (zlib's lazy matching, one step deep). Positions
// inside long copies are not entered in the hash chains: the run and the row above find what
// they would, and entering them would cost more time than everything else.
//
// Symbols gather into blocks of up to kBlockSymbols. Each block is written in the cheapest of
// three forms, priced exactly from its symbol counts: its own Huffman codes, the fixed codes, or
// stored bytes (so noise grows by a few bytes per 64 KB at most).
//
// Rows are added into a buffer holding the 32 KB window of bytes already compressed followed by
// the rows still pending. Pending rows are turned into symbols when the buffer is full, when the
// row length changes (the passes of an interlaced picture), and at the end; a full buffer also
// ends the current block, so a block's bytes are always in the buffer in case it is stored, and
// then slides back to the window. Stream positions are 32-bit: a picture's rows hold less than
// 5 bytes per pixel, and pictures less than 125 million pixels.
//
// Charts come in series: the frames of a pointer moving on a meter, the same dashboard with new
// numbers. A stream whose rows all fit the buffer therefore keeps them, its symbols, where its
// blocks ended, and every 2 KB a mark where a search started afresh. The buffer takes a whole
// stream of up to 2 MB (an 800 x 800 true-colour picture) when its size is known at the start;
// such a stream is compressed at its end, in one pass. The next stream of the same shape
// compares its rows with them, takes the symbols and the finished blocks over up to the last mark
// whose searches read only shared bytes, enters the positions of the window before it in the hash
// chains as the parse had, and goes on from there; a stream that is the last one again takes its
// output, still in the output buffer, whole. It makes the very stream it would have made alone, so
// the output never depends on what a thread encoded before.
#include "draw/deflate_p.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "draw/huffman_p.h"
#include "draw/imagedecode_p.h"

namespace plotvane {

namespace {

constexpr size_t kWindow = 32768;
constexpr size_t kMinMatch = 4;
constexpr size_t kMaxMatch = 258;
constexpr size_t kPending = 256 * 1024;  // rows gathered before they are compressed
constexpr size_t kSlack = 8;
constexpr size_t kBlockSymbols = 16384;
constexpr int kHashBits = 14;
constexpr int kChainDepth = 8;          // earlier places with the same hash tried, newest first
constexpr size_t kLookAheadBelow = 16;  // copies this long or longer are taken without a look ahead
constexpr size_t kEnterBelow = 32;      // the positions inside shorter copies enter the hash chains
constexpr size_t kStoredPiece = 65535;
// Symbols a stream keeps for the next at most; the current block always has room after them.
constexpr size_t kKeptSymbols = 16 * kBlockSymbols;
constexpr size_t kMarkEvery = 2048;  // bytes between the places a later stream may take up the parse
// An empty hash slot: every position's distance from it is beyond the window.
constexpr uint32_t kNoPosition = 0x80000000u;
static_assert(kMaxImagePixels * 5 < kNoPosition - kWindow, "stream positions stay clear of the empty-slot mark");
// The last position a stream may start at: all its positions stay clear of the empty-slot mark.
constexpr uint32_t kLastStreamStart = static_cast<uint32_t>(kNoPosition - kWindow - kMaxImagePixels * 5);

struct CodeTables {
    uint8_t lengthCode[kMaxMatch + 1] = {};  // match length -> length code 0..28
    uint8_t distCode[512] = {};              // see distCodeOf
    uint16_t lengthBase[29] = {};
    uint8_t lengthExtra[29] = {};
    uint16_t distBase[30] = {};
    uint8_t distExtra[30] = {};
};

constexpr CodeTables makeCodeTables() {
    CodeTables t;
    const uint8_t lengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    int length = 3;
    for (int code = 0; code < 28; ++code) {
        t.lengthBase[code] = static_cast<uint16_t>(length);
        t.lengthExtra[code] = lengthExtra[code];
        for (int k = 0; k < (1 << lengthExtra[code]); ++k) t.lengthCode[length++] = static_cast<uint8_t>(code);
    }
    t.lengthBase[28] = 258;
    t.lengthCode[258] = 28;  // 258 has a code of its own; 227 + 31 would say the same in more bits
    int dist = 1;
    for (int code = 0; code < 30; ++code) {
        int extra = code < 4 ? 0 : code / 2 - 1;
        t.distBase[code] = static_cast<uint16_t>(dist);
        t.distExtra[code] = static_cast<uint8_t>(extra);
        for (int k = 0; k < (1 << extra); ++k, ++dist) {
            int d = dist - 1;
            if (d < 256) t.distCode[d] = static_cast<uint8_t>(code);
            else t.distCode[256 + (d >> 7)] = static_cast<uint8_t>(code);
        }
    }
    return t;
}

constexpr CodeTables kCodes = makeCodeTables();

// Distances of 257 and more share codes in groups of at least 128.
inline int distCodeOf(uint32_t dist) {
    uint32_t d = dist - 1;
    return d < 256 ? kCodes.distCode[d] : kCodes.distCode[256 + (d >> 7)];
}

inline uint32_t load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Bytes a[0..] equal to b[0..], up to limit. Copies in charts run long: sixteen bytes a step.
inline size_t commonLength(const uint8_t* a, const uint8_t* b, size_t limit) {
    size_t n = 0;
#if defined(__SSE2__)
    for (; n + 16 <= limit; n += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + n));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + n));
        const unsigned differ = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y))) ^ 0xffffu;
        if (differ) return n + static_cast<size_t>(__builtin_ctz(differ));
    }
#endif
    while (n + 8 <= limit) {
        uint64_t x, y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
            return n + static_cast<size_t>(__builtin_clzll(x ^ y) >> 3);
#else
            return n + static_cast<size_t>(__builtin_ctzll(x ^ y) >> 3);
#endif
        }
        n += 8;
    }
    while (n < limit && a[n] == b[n]) ++n;
    return n;
}

// Adler-32 of the stream, as zlib's trailer wants it. Sixteen bytes at a time with SSE2: the byte
// sums come from SAD against zero, the position-weighted sums from multiply-adds, and the modulo
// is taken once per 5552 bytes as in zlib, the most that cannot overflow.
uint32_t adler32Update(uint32_t adler, const uint8_t* p, size_t n) {
    constexpr uint32_t kBase = 65521;
    constexpr size_t kMaxRun = 5552;
    uint32_t a = adler & 0xffff, b = adler >> 16;
    while (n > 0) {
        size_t chunk = std::min(n, kMaxRun);
        n -= chunk;
#if defined(__SSE2__)
        size_t blocks = chunk / 16;
        if (blocks > 0) {
            const __m128i zero = _mm_setzero_si128();
            const __m128i weightsLow = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
            const __m128i weightsHigh = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
            __m128i sums = zero, sumsBefore = zero, weighted = zero;
            for (size_t k = 0; k < blocks; ++k, p += 16) {
                __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                sumsBefore = _mm_add_epi32(sumsBefore, sums);
                sums = _mm_add_epi32(sums, _mm_sad_epu8(v, zero));
                weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(v, zero), weightsLow));
                weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(v, zero), weightsHigh));
            }
            auto total = [](__m128i v) {
                uint32_t lanes[4];
                _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), v);
                return uint64_t(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
            };
            uint64_t bigB = b + 16 * (uint64_t(a) * blocks + total(sumsBefore)) + total(weighted);
            a += static_cast<uint32_t>(total(sums));
            b = static_cast<uint32_t>(bigB % kBase);
            chunk -= blocks * 16;
        }
#endif
        for (; chunk > 0; --chunk) {
            a += *p++;
            b += a;
        }
        a %= kBase;
        b %= kBase;
    }
    return b << 16 | a;
}

inline uint32_t hashOf(uint32_t four) { return (four * 2654435761u) >> (32 - kHashBits); }

// Bits go out from the least significant end, as deflate packs them. Fewer than 8 bits wait in
// the buffer between calls; each call stores 8 bytes and moves on by the whole ones, which costs
// less than a branch per call (the output keeps 8 bytes of room past what is written).
struct BitWriter {
    uint8_t* out;
    uint64_t buffer;
    int count;

    void put(uint64_t bits, int n) {  // n <= 56
        buffer |= bits << count;
        count += n;
        std::memcpy(out, &buffer, sizeof buffer);  // little-endian: the first bits in the first byte
        const int bytes = count >> 3;
        out += bytes;
        buffer >>= 8 * bytes;
        count &= 7;
    }
    void alignToByte() {
        for (; count > 0; count -= 8) {
            *out++ = static_cast<uint8_t>(buffer);
            buffer >>= 8;
        }
        count = 0;
        buffer = 0;
    }
};

// The codes of one block, Huffman or fixed.
struct BlockCodes {
    uint8_t litLength[288];
    uint16_t litCode[288];
    uint8_t distLength[30];
    uint16_t distCode[30];
};

const BlockCodes& fixedCodes() {
    static const BlockCodes codes = [] {
        BlockCodes c{};
        for (int i = 0; i < 288; ++i) c.litLength[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
        for (uint8_t& length : c.distLength) length = 5;
        huffmanCodes(c.litLength, 288, c.litCode);
        huffmanCodes(c.distLength, 30, c.distCode);
        return c;
    }();
    return codes;
}

// Bits of the symbols and their extra bits under these code lengths (end of block included).
uint64_t symbolBits(const uint32_t* litFreq, const uint32_t* distFreq, const uint8_t* litLength,
                    const uint8_t* distLength) {
    uint64_t bits = 0;
    for (int i = 0; i < 286; ++i) bits += uint64_t(litFreq[i]) * litLength[i];
    for (int i = 0; i < 29; ++i) bits += uint64_t(litFreq[257 + i]) * kCodes.lengthExtra[i];
    for (int i = 0; i < 30; ++i) bits += uint64_t(distFreq[i]) * (distLength[i] + kCodes.distExtra[i]);
    return bits;
}

void writeSymbols(BitWriter& w, const uint32_t* symbols, size_t count, const BlockCodes& c) {
    // The code and extra bits of every copy length in this block's code, and then a copy's length
    // and distance go out together.
    uint32_t lengthBits[kMaxMatch + 1];
    uint8_t lengthCount[kMaxMatch + 1];
    for (size_t length = kMinMatch; length <= kMaxMatch; ++length) {
        const int lc = kCodes.lengthCode[length], code = 257 + lc;
        const uint32_t extra = static_cast<uint32_t>(length - kCodes.lengthBase[lc]);
        lengthBits[length] = c.litCode[code] | extra << c.litLength[code];
        lengthCount[length] = static_cast<uint8_t>(c.litLength[code] + kCodes.lengthExtra[lc]);
    }
    for (size_t i = 0; i < count; ++i) {
        const uint32_t s = symbols[i], dist = s >> 16;
        if (!dist) {
            w.put(c.litCode[s], c.litLength[s]);
            continue;
        }
        const uint32_t length = s & 0xffff;
        const int dc = distCodeOf(dist);
        const uint64_t distBits = c.distCode[dc] | (dist - kCodes.distBase[dc]) << c.distLength[dc];
        w.put(lengthBits[length] | distBits << lengthCount[length],
              lengthCount[length] + c.distLength[dc] + kCodes.distExtra[dc]);
    }
    w.put(c.litCode[256], c.litLength[256]);
}

// The code lengths of a dynamic block's two codes, run-length coded with symbols 16 (repeat the
// previous length 3-6 times), 17 (3-10 zeros) and 18 (11-138 zeros).
struct LengthCodes {
    uint8_t symbol[286 + 30];
    uint8_t extra[286 + 30];
    int count = 0;
    uint32_t freq[19] = {};

    void add(int s, int e) {
        symbol[count] = static_cast<uint8_t>(s);
        extra[count++] = static_cast<uint8_t>(e);
        ++freq[s];
    }
    void encode(const uint8_t* lengths, int n) {
        for (int i = 0; i < n;) {
            int value = lengths[i], run = 1;
            while (i + run < n && lengths[i + run] == value) ++run;
            i += run;
            if (value == 0) {
                for (; run >= 11; run -= std::min(run, 138)) add(18, std::min(run, 138) - 11);
                if (run >= 3) add(17, run - 3), run = 0;
            } else {
                add(value, 0);
                for (--run; run >= 3; run -= std::min(run, 6)) add(16, std::min(run, 6) - 3);
            }
            for (; run > 0; --run) add(value, 0);
        }
    }
};

constexpr uint8_t kLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
constexpr int kLengthExtraBits[19] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};

}  // namespace

RowDeflater::RowDeflater(int pixelBytes, size_t longestRow, size_t streamBytes)
    : hash_(size_t{1} << kHashBits, kNoPosition),
      chain_(new uint32_t[kWindow]),
      symbols_(new uint32_t[kKeptSymbols + kBlockSymbols + 2]),
      out_(1024) {
    restart(pixelBytes, longestRow, streamBytes);
}

void RowDeflater::restart(int pixelBytes, size_t longestRow, size_t streamBytes) {
    const size_t whole = streamBytes <= kWholeStreamBytes ? streamBytes : 0;
    const size_t bufferSize = std::max(kWindow + std::max(kPending, longestRow), whole) + kSlack;
    const bool kept = keeping_ && finished_ && bufferSize <= bufferSize_;
    if (kept) {
        if (!previous_) previous_.reset(new uint8_t[bufferSize_]);
        std::swap(buffer_, previous_);
        previousFill_ = fill_;
        previousRowLength_ = rowLength_;
        previousPixelBytes_ = pixelBytes_;
        previousCompressed_ = compressed_;
    } else {
        previousFill_ = previousCompressed_ = 0;
    }
    compressed_ = 0;
    if (bufferSize > bufferSize_) {
        buffer_.reset(new uint8_t[bufferSize]);
        previous_.reset();
        bufferSize_ = bufferSize;
    }
    // The positions of earlier streams stay a window behind this one's, where no copy reaches, so
    // the hash chains need no clearing until positions run out.
    base_ += static_cast<uint32_t>(fill_ + kWindow);
    if (base_ > kLastStreamStart) {
        std::fill(hash_.begin(), hash_.end(), kNoPosition);
        base_ = 0;
    }
    fill_ = scan_ = blockStart_ = 0;
    pixelBytes_ = static_cast<size_t>(std::max(1, pixelBytes));
    rowLength_ = 0;
    symbolCount_ = blockSymbol_ = 0;
    keeping_ = true;
    finished_ = false;
    nextMark_ = 0;
    std::memset(litFreq_, 0, sizeof litFreq_);
    std::memset(distFreq_, 0, sizeof distFreq_);
    adler_ = 1;
    bitBuffer_ = 0;
    bitCount_ = 0;
    out_[0] = 0x78;  // deflate with a 32 KB window
    out_[1] = 0x5e;  // "fast" compressor; the header check bits make 0x785e a multiple of 31
    outBytes_ = 2;
}

size_t RowDeflater::footprint() const {
    return bufferSize_ * (previous_ ? 2 : 1) + out_.capacity() +
           (hash_.size() + kWindow + kKeptSymbols + kBlockSymbols) * sizeof(uint32_t) +
           marks_.capacity() * sizeof(Mark) + blockEnds_.capacity() * sizeof(BlockEnd);
}

uint8_t* RowDeflater::addRow(size_t length) {
    if (length != rowLength_) {
        compressPending();
        if (rowLength_) keeping_ = false;
        rowLength_ = length;
    }
    if (fill_ + length + kSlack > bufferSize_) {
        compressPending();
        flushBlock(fill_, false);
        keeping_ = false;
        size_t keep = std::min(fill_, kWindow);
        std::memmove(buffer_.get(), buffer_.get() + fill_ - keep, keep);
        base_ += static_cast<uint32_t>(fill_ - keep);
        fill_ = scan_ = blockStart_ = keep;
    }
    uint8_t* row = buffer_.get() + fill_;
    fill_ += length;
    return row;
}

void RowDeflater::finish() {
    if (scan_ == 0 && fill_ > 0) {
        const size_t shared = sharedWithPrevious();
        // The last stream again: its bytes are still in out_, every one of them.
        if (shared == fill_ && previousCompressed_ > 0) {
            outBytes_ = compressed_ = previousCompressed_;
            finished_ = true;
            return;
        }
        compressFrom(resume(shared));
    } else {
        compressPending();
    }
    flushBlock(fill_, true);
    finished_ = true;
    if (out_.size() < outBytes_ + 8) out_.resize(outBytes_ + 8);
    BitWriter w{out_.data() + outBytes_, bitBuffer_, bitCount_};
    w.alignToByte();
    for (int k = 3; k >= 0; --k) *w.out++ = static_cast<uint8_t>(adler_ >> (8 * k));
    outBytes_ = static_cast<size_t>(w.out - out_.data());
    compressed_ = keeping_ ? outBytes_ : 0;
    bitBuffer_ = 0;
    bitCount_ = 0;
}

void RowDeflater::addCopy(size_t length, size_t dist) {
    symbols_[symbolCount_++] = static_cast<uint32_t>(length | dist << 16);
    countCopy(length, dist);
}

void RowDeflater::countCopy(size_t length, size_t dist) {
    ++litFreq_[257 + kCodes.lengthCode[length]];
    ++distFreq_[distCodeOf(static_cast<uint32_t>(dist))];
}

void RowDeflater::enter(size_t at) {
    const uint32_t position = base_ + static_cast<uint32_t>(at);
    uint32_t& head = hash_[hashOf(load32(buffer_.get() + at))];
    chain_[position & (kWindow - 1)] = head;
    head = position;
}

size_t RowDeflater::longestCopy(size_t at, size_t end, size_t& bestDist) {
    const size_t limit = std::min(end - at, kMaxMatch);
    if (limit < kMinMatch) return 0;
    const uint8_t* here = buffer_.get() + at;
    const uint32_t first = load32(here);
    const uint32_t position = base_ + static_cast<uint32_t>(at);
    uint32_t& head = hash_[hashOf(first)];
    uint32_t candidate = head;
    chain_[position & (kWindow - 1)] = head;
    head = position;

    size_t bestLength = 0;
    auto tryCopy = [&](size_t dist) {
        if (dist > at) return;
        const uint8_t* from = here - dist;
        // A copy can only win if it also matches the byte where the best one ends.
        if (bestLength >= kMinMatch && from[bestLength] != here[bestLength]) return;
        if (load32(from) != first) return;
        size_t length = kMinMatch + commonLength(here + kMinMatch, from + kMinMatch, limit - kMinMatch);
        if (length > bestLength) {
            bestLength = length;
            bestDist = dist;
        }
    };
    const size_t run = pixelBytes_, above = rowLength_;
    tryCopy(run);
    if (bestLength < limit && above != run && above <= kWindow) tryCopy(above);
    for (int k = 0; k < kChainDepth && bestLength < limit; ++k) {
        const size_t dist = position - candidate;
        if (dist == 0 || dist >= kWindow) break;
        if (dist != run && dist != above) tryCopy(dist);
        candidate = chain_[candidate & (kWindow - 1)];
    }
    return bestLength;
}

void RowDeflater::compressPending() {
    if (scan_ == fill_) return;
    compressFrom(scan_ == 0 ? resume(sharedWithPrevious()) : scan_);
}

void RowDeflater::compressFrom(size_t from) {
    adler_ = adler32Update(adler_, buffer_.get() + scan_, fill_ - scan_);
    parse(from, fill_);
    scan_ = fill_;
}

size_t RowDeflater::sharedWithPrevious() const {
    const bool sameShape = previousFill_ == fill_ && previousRowLength_ == rowLength_ &&
                           previousPixelBytes_ == pixelBytes_ && keeping_;
    return sameShape ? commonLength(buffer_.get(), previous_.get(), fill_) : 0;
}

size_t RowDeflater::resume(size_t same) {
    // The last mark before which every search read only bytes both streams share.
    auto mark = std::upper_bound(marks_.begin(), marks_.end(), same, [](size_t shared, const Mark& m) {
        return m.position + kMaxMatch + kMinMatch + 1 > shared;
    });
    if (mark == marks_.begin()) {
        marks_.clear();
        blockEnds_.clear();
        return 0;
    }
    const Mark at = *--mark;
    marks_.erase(mark + 1, marks_.end());
    nextMark_ = at.position + kMarkEvery;
    auto block = std::upper_bound(blockEnds_.begin(), blockEnds_.end(), at.symbol,
                                  [](size_t symbol, const BlockEnd& b) { return symbol < b.symbol; });
    blockEnds_.erase(block, blockEnds_.end());
    const BlockEnd start = blockEnds_.empty() ? BlockEnd{0, 0, 2, 0, 0} : blockEnds_.back();
    outBytes_ = start.outBytes;
    bitBuffer_ = start.bitBuffer;
    bitCount_ = start.bitCount;
    blockStart_ = start.position;
    blockSymbol_ = start.symbol;
    symbolCount_ = at.symbol;
    for (size_t k = blockSymbol_; k < symbolCount_; ++k) {
        const uint32_t s = symbols_[k];
        if (s >> 16) countCopy(s & 0xffff, s >> 16);
        else ++litFreq_[s];
    }
    // The hash chains as the parse left them, for the window before the mark: the same positions
    // entered in the same order, from a mark at least a window earlier.
    auto replayFrom = std::upper_bound(marks_.begin(), marks_.end(), at.position,
                                       [](size_t p, const Mark& m) { return p < m.position + kWindow; });
    size_t position = replayFrom == marks_.begin() ? 0 : (replayFrom - 1)->position;
    size_t symbol = replayFrom == marks_.begin() ? 0 : (replayFrom - 1)->symbol;
    for (; symbol < at.symbol; ++symbol) {
        const uint32_t s = symbols_[symbol];
        const size_t length = s >> 16 ? s & 0xffff : 1;
        enter(position);
        if (length <= kEnterBelow)
            for (size_t k = position + 1; k < position + length; ++k) enter(k);
        position += length;
    }
    return at.position;
}

void RowDeflater::parse(size_t i, const size_t end) {
    const uint8_t* buf = buffer_.get();
    while (i < end) {
        if (keeping_ && i >= nextMark_) {
            marks_.push_back(Mark{symbolCount_, i});
            nextMark_ = i + kMarkEvery;
        }
        size_t dist = 0;
        size_t length = longestCopy(i, end, dist);
        for (;;) {
            if (length == 0) {
                addLiteral(buf[i++]);
                break;
            }
            // One look ahead: a longer copy from the next byte on is worth a literal first.
            const bool lookAhead = length < kLookAheadBelow && i + 1 < end;
            size_t nextDist = 0;
            const size_t nextLength = lookAhead ? longestCopy(i + 1, end, nextDist) : 0;
            if (nextLength > length) {
                addLiteral(buf[i++]);
                length = nextLength;
                dist = nextDist;
                if (symbolCount_ - blockSymbol_ == kBlockSymbols) flushBlock(i, false);
                continue;
            }
            addCopy(length, dist);
            const size_t next = i + length;
            if (length <= kEnterBelow)
                for (size_t k = i + (lookAhead ? 2 : 1); k < next && k + kMinMatch <= end; ++k) enter(k);
            i = next;
            break;
        }
        if (symbolCount_ - blockSymbol_ == kBlockSymbols) flushBlock(i, false);
    }
}

void RowDeflater::flushBlock(size_t blockEnd, bool last) {
    litFreq_[256] = 1;
    BlockCodes dynamic;
    huffmanLengths(litFreq_, 286, 15, dynamic.litLength);
    huffmanLengths(distFreq_, 30, 15, dynamic.distLength);
    int litCount = 286, distCount = 30;
    while (litCount > 257 && !dynamic.litLength[litCount - 1]) --litCount;
    while (distCount > 1 && !dynamic.distLength[distCount - 1]) --distCount;
    uint8_t both[286 + 30];
    std::memcpy(both, dynamic.litLength, litCount);
    std::memcpy(both + litCount, dynamic.distLength, distCount);
    LengthCodes lengthCodes;
    lengthCodes.encode(both, litCount + distCount);
    uint8_t clLength[19];
    uint16_t clCode[19];
    huffmanLengths(lengthCodes.freq, 19, 7, clLength);
    int clCount = 19;
    while (clCount > 4 && !clLength[kLengthOrder[clCount - 1]]) --clCount;

    uint64_t dynamicBits = 3 + 5 + 5 + 4 + 3 * clCount;
    for (int s = 0; s < 19; ++s) dynamicBits += uint64_t(lengthCodes.freq[s]) * (clLength[s] + kLengthExtraBits[s]);
    dynamicBits += symbolBits(litFreq_, distFreq_, dynamic.litLength, dynamic.distLength);
    const BlockCodes& fixed = fixedCodes();
    uint64_t fixedBits = 3 + symbolBits(litFreq_, distFreq_, fixed.litLength, fixed.distLength);
    size_t raw = blockEnd - blockStart_;
    uint64_t storedBits = uint64_t(std::max<size_t>(1, (raw + kStoredPiece - 1) / kStoredPiece)) * (3 + 7 + 32) + 8 * uint64_t(raw);

    uint64_t bits = std::min({dynamicBits, fixedBits, storedBits});
    size_t needed = outBytes_ + static_cast<size_t>(bits / 8) + 16;
    if (out_.size() < needed) out_.resize(std::max(needed, out_.size() * 2));
    BitWriter w{out_.data() + outBytes_, bitBuffer_, bitCount_};
    if (bits == storedBits) {
        const uint8_t* from = buffer_.get() + blockStart_;
        do {
            size_t piece = std::min(raw, kStoredPiece);
            raw -= piece;
            w.put(last && raw == 0 ? 1 : 0, 3);
            w.alignToByte();
            for (uint32_t v : {uint32_t(piece), uint32_t(~piece & 0xffff)}) {
                *w.out++ = static_cast<uint8_t>(v);
                *w.out++ = static_cast<uint8_t>(v >> 8);
            }
            std::memcpy(w.out, from, piece);
            w.out += piece;
            from += piece;
        } while (raw > 0);
    } else if (bits == fixedBits) {
        w.put((last ? 1 : 0) | 1 << 1, 3);
        writeSymbols(w, symbols_.get() + blockSymbol_, symbolCount_ - blockSymbol_, fixed);
    } else {
        huffmanCodes(dynamic.litLength, 286, dynamic.litCode);
        huffmanCodes(dynamic.distLength, 30, dynamic.distCode);
        huffmanCodes(clLength, 19, clCode);
        w.put((last ? 1 : 0) | 2 << 1, 3);
        w.put(static_cast<uint32_t>(litCount - 257), 5);
        w.put(static_cast<uint32_t>(distCount - 1), 5);
        w.put(static_cast<uint32_t>(clCount - 4), 4);
        for (int k = 0; k < clCount; ++k) w.put(clLength[kLengthOrder[k]], 3);
        for (int k = 0; k < lengthCodes.count; ++k) {
            int s = lengthCodes.symbol[k];
            w.put(clCode[s] | uint32_t(lengthCodes.extra[k]) << clLength[s], clLength[s] + kLengthExtraBits[s]);
        }
        writeSymbols(w, symbols_.get() + blockSymbol_, symbolCount_ - blockSymbol_, dynamic);
    }
    outBytes_ = static_cast<size_t>(w.out - out_.data());
    bitBuffer_ = w.buffer;
    bitCount_ = w.count;
    keeping_ = keeping_ && symbolCount_ <= kKeptSymbols;
    if (keeping_) {
        blockEnds_.push_back(BlockEnd{symbolCount_, blockEnd, outBytes_, bitBuffer_, bitCount_});
        blockSymbol_ = symbolCount_;
    } else {
        symbolCount_ = blockSymbol_ = 0;
    }
    std::memset(litFreq_, 0, sizeof litFreq_);
    std::memset(distFreq_, 0, sizeof distFreq_);
    blockStart_ = blockEnd;
}

}  // namespace plotvane

#ifndef PLOTVANE_DRAW_GRAPHICSSTREAM_P_H
#define PLOTVANE_DRAW_GRAPHICSSTREAM_P_H

// The word stream a recording is kept in. A record is its length in words (itself included), its
// opcode and its arguments, all 32-bit words:
//   i, b, x  one word (an int, 0 or 1, a colour)
//   d        a double as two words, high word first
//   s        byte string: length, then four bytes a word, first byte in the lowest bits
//   w        UTF-16 string: length, then two units a word, first unit in the low half
//   D        count, then count doubles;  I, X  count, then count words
// The length word is filled in when the next record is opened (or before the stream is read).

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace plotvane {

class GraphicsStream {
public:
    int size() const { return static_cast<int>(writeIndex_); }
    const uint32_t* data() const { return words_.get(); }

    // Closes the open record and opens one for the opcode; returns its start. Inline: charts open
    // a record for every line and box.
    int openRecord(uint32_t opcode) {
        closeRecord();
        if (writeIndex_ + 2 > capacity_) reserve(2);
        recordStart_ = static_cast<int>(writeIndex_);
        words_[writeIndex_] = 0;
        words_[writeIndex_ + 1] = opcode;
        writeIndex_ += 2;
        return recordStart_;
    }
    // Sets the length of the open record (idempotent).
    void closeRecord() {
        if (recordStart_ < 0) return;
        const size_t start = static_cast<size_t>(recordStart_);
        words_[start] = static_cast<uint32_t>(writeIndex_ - start);
    }
    // Cuts the stream back to a record boundary.
    void truncate(int index);

    // Inline: every recorded number passes through here.
    void putWord(uint32_t w) {
        if (writeIndex_ >= capacity_) reserve(1);
        words_[writeIndex_++] = w;
    }
    void putInt(int v) { putWord(static_cast<uint32_t>(v)); }
    void putDouble(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        if (writeIndex_ + 2 > capacity_) reserve(2);
        words_[writeIndex_] = static_cast<uint32_t>(bits >> 32);
        words_[writeIndex_ + 1] = static_cast<uint32_t>(bits);
        writeIndex_ += 2;
    }
    void putString(const char* s);
    void putWString(const std::u16string& s);
    void putDoubles(const double* v, int n);
    void putInts(const int* v, int n);

private:
    void reserve(int n);
    struct FreeWords {
        void operator()(uint32_t* words) const { std::free(words); }
    };
    // Grown by hand: a vector would zero every word it adds, only for the recorder to overwrite it,
    // and copy the words on every growth, which realloc can often spare.
    std::unique_ptr<uint32_t[], FreeWords> words_;
    size_t capacity_ = 0;
    // A size_t, which word stores cannot alias, so runs of puts keep it in a register.
    size_t writeIndex_ = 0;
    int recordStart_ = -1;
};

// Reads the arguments of one record; every read checks what is left and sets a sticky failure.
class RecordReader {
public:
    RecordReader(const uint32_t* words, int count) : p_(words), end_(words + count) {}
    bool ok() const { return ok_; }
    int remaining() const { return static_cast<int>(end_ - p_); }

    uint32_t word() { return take(1) ? *p_++ : 0; }
    int i() { return static_cast<int>(word()); }
    bool b() { return word() != 0; }
    double d() {
        if (!take(2)) return 0;
        uint64_t bits = (static_cast<uint64_t>(p_[0]) << 32) | p_[1];
        p_ += 2;
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    std::string s();
    std::u16string w();
    std::vector<double> doubles();
    std::vector<int> ints();

private:
    bool take(int n) {
        if (!ok_ || n < 0 || remaining() < n) {
            ok_ = false;
            return false;
        }
        return true;
    }
    const uint32_t* p_;
    const uint32_t* end_;
    bool ok_ = true;
};

}  // namespace plotvane

#endif

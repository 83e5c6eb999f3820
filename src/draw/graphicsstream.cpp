#include "draw/graphicsstream_p.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace plotvane {

void GraphicsStream::reserve(int n) {
    size_t need = writeIndex_ + static_cast<size_t>(n);
    if (need <= capacity_) return;
    // Small first: a turned label records into a drawing of its own, a handful of words long.
    const size_t grown = std::max(capacity_ == 0 ? 64 : capacity_ * 2, need);
    void* words = std::realloc(words_.get(), grown * sizeof(uint32_t));
    if (!words) throw std::bad_alloc();
    words_.release();
    words_.reset(static_cast<uint32_t*>(words));
    capacity_ = grown;
}

void GraphicsStream::truncate(int index) {
    if (index < 0 || static_cast<size_t>(index) > writeIndex_) return;
    closeRecord();
    writeIndex_ = static_cast<size_t>(index);
    recordStart_ = -1;
}

void GraphicsStream::putString(const char* s) {
    size_t n = s ? std::strlen(s) : 0;
    putInt(static_cast<int>(n));
    reserve(static_cast<int>((n + 3) / 4));
    for (size_t i = 0; i < n; i += 4) {
        uint32_t w = 0;
        for (size_t k = 0; k < 4 && i + k < n; ++k) w |= static_cast<uint32_t>(static_cast<unsigned char>(s[i + k])) << (8 * k);
        putWord(w);
    }
}

void GraphicsStream::putWString(const std::u16string& s) {
    putInt(static_cast<int>(s.size()));
    for (size_t i = 0; i < s.size(); i += 2) {
        uint32_t w = s[i];
        if (i + 1 < s.size()) w |= static_cast<uint32_t>(s[i + 1]) << 16;
        putWord(w);
    }
}

void GraphicsStream::putDoubles(const double* v, int n) {
    n = std::max(n, 0);
    putInt(n);
    reserve(2 * n);
    for (int i = 0; i < n; ++i) putDouble(v[i]);
}

void GraphicsStream::putInts(const int* v, int n) {
    n = std::max(n, 0);
    putInt(n);
    reserve(n);
    for (int i = 0; i < n; ++i) putInt(v[i]);
}

std::string RecordReader::s() {
    int n = i();
    if (!ok_ || n < 0 || !take((n + 3) / 4)) {
        ok_ = false;
        return {};
    }
    std::string out(static_cast<size_t>(n), '\0');
    for (int k = 0; k < n; ++k) out[static_cast<size_t>(k)] = static_cast<char>((p_[k / 4] >> (8 * (k % 4))) & 0xff);
    p_ += (n + 3) / 4;
    return out;
}

std::u16string RecordReader::w() {
    int n = i();
    if (!ok_ || n < 0 || !take((n + 1) / 2)) {
        ok_ = false;
        return {};
    }
    std::u16string out(static_cast<size_t>(n), u'\0');
    for (int k = 0; k < n; ++k) out[static_cast<size_t>(k)] = static_cast<char16_t>((p_[k / 2] >> (16 * (k % 2))) & 0xffff);
    p_ += (n + 1) / 2;
    return out;
}

std::vector<double> RecordReader::doubles() {
    int n = i();
    if (!ok_ || n < 0 || remaining() / 2 < n) {
        ok_ = false;
        return {};
    }
    std::vector<double> out(static_cast<size_t>(n));
    for (double& v : out) v = d();
    return out;
}

std::vector<int> RecordReader::ints() {
    int n = i();
    if (!ok_ || n < 0 || !take(n)) {
        ok_ = false;
        return {};
    }
    std::vector<int> out(p_, p_ + n);
    p_ += n;
    return out;
}

}  // namespace plotvane

// Growth: the first allocation is 8000 bytes, later ones double, or grow to exactly what is needed
// when doubling is not enough. A failed allocation drops the write and keeps what was written.
#include <plotvane/ostrstream.h>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace vek {

namespace {
constexpr int kFirstCapacity = 8000;
}

ostream::~ostream() = default;

ostream& ostream::operator<<(const char* s) {
    if (s) write(s, static_cast<int>(std::strlen(s)));
    return *this;
}

ostream& ostream::operator<<(char c) {
    write(&c, 1);
    return *this;
}

ostrstream::~ostrstream() { std::free(buffer_); }

bool ostrstream::ensureSize(int n) {
    if (n < 0) return false;
    if (n <= capacity_ - size_) return true;
    long long needed = static_cast<long long>(size_) + n;
    if (needed > std::numeric_limits<int>::max()) return false;
    long long grown = capacity_ == 0 ? kFirstCapacity : 2LL * capacity_;
    if (grown < needed) grown = needed;
    if (grown > std::numeric_limits<int>::max()) grown = needed;
    char* bigger = static_cast<char*>(std::realloc(buffer_, static_cast<size_t>(grown)));
    if (!bigger) return false;
    buffer_ = bigger;
    capacity_ = static_cast<int>(grown);
    return true;
}

void ostrstream::write(const char* bytes, int n) {
    if (n <= 0 || !ensureSize(n)) return;
    std::memcpy(buffer_ + size_, bytes, static_cast<size_t>(n));
    size_ += n;
}

void ostrstream::ensureNullTerminated() {
    if (ensureSize(1)) buffer_[size_] = 0;
}

char* ostrstream::release() {
    char* out = buffer_;
    buffer_ = nullptr;
    size_ = capacity_ = 0;
    return out;
}

}  // namespace vek

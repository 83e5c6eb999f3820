#ifndef PLOTVANE_OSTRSTREAM_H
#define PLOTVANE_OSTRSTREAM_H

#include <plotvane/export.h>

namespace vek {

// The byte sink that every writer and encoder produces into.
class PLOTVANE_API ostream {
public:
    virtual ~ostream();
    virtual void write(const char* bytes, int n) = 0;
    virtual int tell() const = 0;
    virtual void flush() = 0;
    ostream& operator<<(const char* s);
    ostream& operator<<(char c);
};

// A growable in-memory stream. A write that cannot get memory is dropped and the stream keeps what
// it had, so callers that need the output check tell().
class PLOTVANE_API ostrstream : public ostream {
public:
    ostrstream() = default;
    ~ostrstream() override;
    ostrstream(const ostrstream&) = delete;
    ostrstream& operator=(const ostrstream&) = delete;

    using ostream::operator<<;
    void write(const char* bytes, int n) override;
    int tell() const override { return size_; }
    void flush() override {}

    // Makes room for n more bytes; false when memory cannot be had.
    bool ensureSize(int n);
    // Appends a NUL that tell() does not count, so the buffer reads as a C string.
    void ensureNullTerminated();

    const char* data() const { return buffer_; }
    int capacity() const { return capacity_; }
    // Hands the buffer to the caller (who frees it with free()) and leaves the stream empty.
    char* release();
    void reset() { size_ = 0; }

private:
    char* buffer_ = nullptr;
    int size_ = 0;
    int capacity_ = 0;
};

}  // namespace vek

#endif

#ifndef PLOTVANE_ARRAYS_H
#define PLOTVANE_ARRAYS_H

#include <plotvane/export.h>

namespace plotvane {

// Non-owning views passed by value. The length comes first in all four, and a length of 0 (or less)
// with any pointer is the empty array. Callees copy whatever they keep beyond the call.
struct DoubleArray {
    int len = 0;
    const double* data = nullptr;
    DoubleArray() = default;
    DoubleArray(const double* d, int n) : len(n), data(d) {}
    double operator[](int i) const { return data[i]; }
};

struct IntArray {
    int len = 0;
    const int* data = nullptr;
    IntArray() = default;
    IntArray(const int* d, int n) : len(n), data(d) {}
    int operator[](int i) const { return data[i]; }
};

struct StringArray {
    int len = 0;
    const char* const* data = nullptr;
    StringArray() = default;
    StringArray(const char* const* d, int n) : len(n), data(d) {}
    const char* operator[](int i) const { return data[i]; }
};

// An encoded image or document, owned by the object that produced it.
struct MemBlock {
    int len = 0;
    const char* data = nullptr;
    MemBlock() = default;
    MemBlock(const char* d, int n) : len(n), data(d) {}
};

}  // namespace plotvane

#endif

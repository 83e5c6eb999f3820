#ifndef PLOTVANE_ARRAYS_H
#define PLOTVANE_ARRAYS_H

#include <plotvane/export.h>

namespace plotvane {

// Non-owning views passed by value. The length comes first in all four, and a length of 0 (or less)
// with any pointer is the empty array. Callees copy whatever they keep beyond the call.
template <class T>
struct ArrayView {
    int len = 0;
    const T* data = nullptr;
    ArrayView() = default;
    ArrayView(const T* d, int n) : len(n), data(d) {}
    const T& operator[](int i) const { return data[i]; }
};

struct DoubleArray : ArrayView<double> {
    using ArrayView::ArrayView;
};

struct IntArray : ArrayView<int> {
    using ArrayView::ArrayView;
};

struct StringArray : ArrayView<const char*> {
    using ArrayView::ArrayView;
};

// An encoded image or document, owned by the object that produced it.
struct MemBlock : ArrayView<char> {
    using ArrayView::ArrayView;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_ARRAYS_H
#define PLOTVANE_ARRAYS_H

#include <plotvane/export.h>

#include <climits>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <vector>

namespace plotvane {

// Non-owning views passed by value. The length comes first in all four, and a length of 0 (or less)
// with any pointer is the empty array. Callees copy whatever they keep beyond the call.
//
// A view of a container (std::vector, std::array, a C array) looks at the container's elements
// without copying them: the container must stay alive and unchanged while the view is used. A view
// of a braced list, DoubleArray({1, 2, 3}), lives only until the end of the statement it is written
// in, so pass it straight to the call that reads it. Views of temporary containers are refused.
template <class T>
struct ArrayView {
    int len = 0;
    const T* data = nullptr;
    ArrayView() = default;
    ArrayView(const T* d, int n) : len(n), data(d) {}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winit-list-lifetime"  // the view is meant to end with the statement
#endif
    ArrayView(std::initializer_list<T> values) : len(clampedSize(values.size())), data(values.begin()) {}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    template <class C, class = std::enable_if_t<std::is_convertible_v<decltype(std::data(std::declval<const C&>())),
                                                                        const T*>>>
    ArrayView(const C& values) : len(clampedSize(std::size(values))), data(std::data(values)) {}
    template <class C, class = std::enable_if_t<!std::is_lvalue_reference_v<C> &&
                                                std::is_convertible_v<decltype(std::data(std::declval<const C&>())),
                                                                      const T*>>>
    ArrayView(C&& values) = delete;
    const T& operator[](int i) const { return data[i]; }
    const T* begin() const { return data; }
    const T* end() const { return data + (len > 0 ? len : 0); }

private:
    static int clampedSize(size_t n) { return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n); }
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

// The C strings of a collection of std::string (or std::string_view-less string types with
// c_str()), kept for a StringArray view: StringList names(labels); axis->setLabels(names). The list
// and the strings it was made from must both outlive every view of it.
class StringList {
public:
    template <class C>
    explicit StringList(const C& strings) {
        for (const auto& s : strings) pointers_.push_back(s.c_str());
    }
    operator StringArray() const { return StringArray(pointers_); }

private:
    std::vector<const char*> pointers_;
};

// An encoded image or document, owned by the object that produced it.
struct MemBlock : ArrayView<char> {
    using ArrayView::ArrayView;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_OWNED_H
#define PLOTVANE_OWNED_H

// Owning handles for what `create` returns: Owned<XYChart> c(XYChart::create(400, 300)) calls
// destroy() when it goes out of scope. Objects a chart hands out (titles, axes, layers, its
// drawing surface) belong to the chart; never wrap them.

#include <memory>

namespace plotvane {

template <class T>
struct Destroyer {
    void operator()(T* p) const {
        if (p) p->destroy();
    }
};

template <class T>
using Owned = std::unique_ptr<T, Destroyer<T>>;

// own(XYChart::create(400, 300)) deduces the type.
template <class T>
Owned<T> own(T* p) {
    return Owned<T>(p);
}

}  // namespace plotvane

#endif

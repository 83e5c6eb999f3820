#ifndef PLOTVANE_TESTS_AREAPTR_H
#define PLOTVANE_TESTS_AREAPTR_H

#include <plotvane/drawarea.h>

#include <memory>

namespace plotvane_test {

struct AreaDeleter {
    void operator()(plotvane::DrawArea* d) const { d->destroy(); }
};
// Held through the public interface, where the default arguments are.
using AreaPtr = std::unique_ptr<plotvane::DrawArea, AreaDeleter>;

inline AreaPtr newArea(int width, int height, int bgColor = 0xffffff) {
    AreaPtr d(plotvane::DrawArea::create());
    d->setSize(width, height, bgColor);
    return d;
}

}  // namespace plotvane_test

#endif

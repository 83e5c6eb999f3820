// The z-ordered list of free-standing objects. Painting only ever moves forward: objects added
// after the first paint are painted by the next one in the order they came, on top of what is
// there, so a second output never repaints or reorders the chart.
#include "chart/drawobj_p.h"

#include <algorithm>

namespace plotvane {

DrawObj::~DrawObj() = default;

void DrawObjList::add(DrawObj* obj) {
    if (obj) objects_.emplace_back(obj);
}

void DrawObjList::sortPending() {
    std::stable_sort(objects_.begin() + static_cast<std::ptrdiff_t>(painted_), objects_.end(),
                     [](const auto& a, const auto& b) {
                         return a->getZOrder() < b->getZOrder();
                     });
}

void DrawObjList::paintUpTo(DrawArea* d, int maxZ) {
    while (painted_ < objects_.size() && objects_[painted_]->getZOrder() <= maxZ) objects_[painted_++]->paint(d);
}

}  // namespace plotvane

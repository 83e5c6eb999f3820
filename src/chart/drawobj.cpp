// The z-ordered list of free-standing objects. Painting only ever moves forward: objects added
// after the first paint are painted by the next one in the order they came, on top of what is
// there, so a second output never repaints or reorders the chart.
#include "chart/drawobj_p.h"

#include <algorithm>

namespace plotvane {

DrawObj::~DrawObj() = default;

void DrawObj::destroy() {
    if (list_) list_->remove(this);
}

void DrawObjList::add(DrawObj* obj) {
    if (!obj) return;
    objects_.emplace_back(obj);
    obj->list_ = this;
}

void DrawObjList::remove(DrawObj* obj) {
    auto it = std::find_if(objects_.begin(), objects_.end(), [obj](const auto& o) { return o.get() == obj; });
    if (it == objects_.end()) return;
    if (onRemove_) onRemove_(obj);
    if (static_cast<size_t>(it - objects_.begin()) < painted_) --painted_;
    objects_.erase(it);
}

void DrawObjList::clear() {
    objects_.clear();
    painted_ = 0;
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

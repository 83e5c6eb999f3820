#include "draw/largeobj_p.h"

#include "draw/drawarea_p.h"
#include "draw/glyph_p.h"

#include <algorithm>

namespace plotvane {

namespace {

void dropReferences(LargeObj& obj) {
    if (obj.area) obj.area->destroy();
    if (obj.glyphs) obj.glyphs->deRef();
    obj.area = nullptr;
    obj.glyphs = nullptr;
}

// The first entry of a vector sorted by id whose id is not below id.
template <typename Entries>
auto lowerBound(Entries& entries, int id) {
    return std::lower_bound(entries.begin(), entries.end(), id, [](const auto& e, int key) { return e.first < key; });
}

}  // namespace

LargeObjContainer::~LargeObjContainer() {
    for (Entry& entry : objects_) dropReferences(entry.second);
}

const LargeObj* LargeObjContainer::get(int id) const {
    // Ids come from a counter and few are released, so an object usually sits as far after the
    // first as its id is: replaying thousands of labels finds each without a search.
    if (!objects_.empty()) {
        long long at = static_cast<long long>(id) - objects_.front().first;
        if (at >= 0 && at < static_cast<long long>(objects_.size()) && objects_[static_cast<size_t>(at)].first == id)
            return &objects_[static_cast<size_t>(at)].second;
    }
    auto it = lowerBound(objects_, id);
    return it != objects_.end() && it->first == id ? &it->second : nullptr;
}

void LargeObjContainer::put(int id, LargeObj&& obj) {
    if (objects_.empty() || objects_.back().first < id) {
        objects_.emplace_back(id, std::move(obj));
        return;
    }
    auto it = lowerBound(objects_, id);
    if (it != objects_.end() && it->first == id) {
        dropReferences(it->second);
        it->second = std::move(obj);
    } else {
        objects_.emplace(it, id, std::move(obj));
    }
}

void LargeObjContainer::release(int id) {
    auto it = lowerBound(objects_, id);
    if (it == objects_.end() || it->first != id) return;
    dropReferences(it->second);
    objects_.erase(it);
}

}  // namespace plotvane

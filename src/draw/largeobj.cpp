#include "draw/largeobj_p.h"

#include "draw/drawarea_p.h"
#include "draw/glyph_p.h"

namespace plotvane {

namespace {

void dropReferences(LargeObj& obj) {
    if (obj.area) obj.area->destroy();
    if (obj.glyphs) obj.glyphs->deRef();
    obj.area = nullptr;
    obj.glyphs = nullptr;
}

}  // namespace

LargeObjContainer::~LargeObjContainer() {
    for (auto& entry : objects_) dropReferences(entry.second);
}

const LargeObj* LargeObjContainer::get(int id) const {
    auto it = objects_.find(id);
    return it == objects_.end() ? nullptr : &it->second;
}

void LargeObjContainer::put(int id, LargeObj&& obj) {
    release(id);
    objects_.emplace(id, std::move(obj));
}

void LargeObjContainer::release(int id) {
    auto it = objects_.find(id);
    if (it == objects_.end()) return;
    dropReferences(it->second);
    objects_.erase(it);
}

}  // namespace plotvane

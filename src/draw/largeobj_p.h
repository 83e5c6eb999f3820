#ifndef PLOTVANE_DRAW_LARGEOBJ_P_H
#define PLOTVANE_DRAW_LARGEOBJ_P_H

// What a recording refers to by object id instead of holding in its word stream: merged drawings,
// pixel arrays, loaded image files and glyph runs.

#include <utility>
#include <vector>

namespace plotvane {

class DrawAreaImpl;
class GlyphContainer;

struct LargeObj {
    enum Type { SubDrawing = 0, PixelArray = 1, ImageFile = 2, Glyphs = 3 };
    Type type = SubDrawing;
    DrawAreaImpl* area = nullptr;      // SubDrawing: kept alive by a reference
    const int* pixels = nullptr;       // PixelArray: the caller's, not copied
    int length = 0;
    std::vector<unsigned char> bytes;  // ImageFile: owned
    GlyphContainer* glyphs = nullptr;  // Glyphs: a counted reference
};

class LargeObjContainer {
public:
    LargeObjContainer() = default;
    LargeObjContainer(const LargeObjContainer&) = delete;
    LargeObjContainer& operator=(const LargeObjContainer&) = delete;
    ~LargeObjContainer();

    bool contains(int id) const { return get(id) != nullptr; }
    const LargeObj* get(int id) const;
    // Takes over the object's references.
    void put(int id, LargeObj&& obj);
    // Drops the object and the references it holds.
    void release(int id);

private:
    using Entry = std::pair<int, LargeObj>;
    // Sorted by id. Ids come from a counter, so nearly every object goes at the end, and a drawing
    // of thousands of labels is looked up and released without a node per object.
    std::vector<Entry> objects_;
};

}  // namespace plotvane

#endif

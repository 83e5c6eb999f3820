#ifndef PLOTVANE_DRAW_LARGEOBJ_P_H
#define PLOTVANE_DRAW_LARGEOBJ_P_H

// What a recording refers to by object id instead of holding in its word stream: merged drawings,
// pixel arrays, loaded image files and glyph runs.

#include <map>
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

    bool contains(int id) const { return objects_.count(id) != 0; }
    const LargeObj* get(int id) const;
    // Takes over the object's references.
    void put(int id, LargeObj&& obj);
    // Drops the object and the references it holds.
    void release(int id);

private:
    std::map<int, LargeObj> objects_;
};

}  // namespace plotvane

#endif

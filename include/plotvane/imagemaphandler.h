#ifndef PLOTVANE_IMAGEMAPHANDLER_H
#define PLOTVANE_IMAGEMAPHANDLER_H

#include <plotvane/export.h>

namespace plotvane {

// Reads HTML image-map text (what getHTMLImageMap returns) back into regions: finds the area under
// a point and gives the parameters of its link. Any text is accepted; what cannot be read as an
// area is ignored.
class PLOTVANE_API ImageMapHandler {
  public:
    // Copies the text; null counts as empty.
    static ImageMapHandler* create(const char* imageMap);
    virtual void destroy() = 0;

    // The 1-based number of the area containing (x, y), 0 when none; that area becomes the current
    // one. Where areas overlap the first one in the text wins.
    virtual int getHotSpot(int x, int y) = 0;
    // The current area's parameters: "path" (the link before '?'), the query's fields with keys in
    // lower case, "coords" and "title". Null past the end or without a current area.
    virtual const char* getKey(int i) = 0;
    virtual const char* getValue(int i) = 0;
    // The value of the first key equal to `key` ignoring case, or null.
    virtual const char* getValue(const char* key) = 0;

  protected:
    virtual ~ImageMapHandler() = default;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_CHART_IMAGEMAP_P_H
#define PLOTVANE_CHART_IMAGEMAP_P_H

// Writing HTML image-map text: joining link templates and the area elements themselves. The shapes
// come from the objects that drew them (getImageCoor); this file only assembles.

#include <string>
#include <vector>

namespace plotvane {

// The given template with every "{default}" replaced by the fallback, or the fallback when the
// given template is empty.
std::string combineQuery(const std::string& given, const std::string& fallback);
// The link a url and a query make (empty without a url).
std::string urlJoin(const std::string& url, const std::string& query);
// Removes every "{none}", the way to switch an inherited template off.
std::string withoutNone(std::string text);

// The link and extra-attribute templates of a producer: its own settings over the given ones,
// "{default}" in a query standing for the producer's default query. Not enabled for "{disable}".
struct AreaTemplates {
    bool enabled = false;
    std::string link;
    std::string extra;
};
AreaTemplates areaTemplates(const std::string& ownUrl, const std::string& ownQuery, const std::string& ownExtra,
                            const char* url, const char* queryFormat, const char* extraAttr,
                            const std::string& defaultQuery);

// The image-map attributes of a rectangle given by its corners.
std::string imageMapRect(int left, int top, int right, int bottom);
// Fits a point's coordinate list for a hot spot: false when it has no area. Slivers of polygons
// become their bounding rectangle, so a pointer can still find them.
bool fitHotSpot(std::vector<int>& xy);
// Appends the coordinate attributes of a list with the offsets added (a rectangle for 4 entries).
void appendCoordAttributes(std::string& out, const std::vector<int>& xy, int offsetX, int offsetY);
// Appends one "<area ... />" element of the given shape attributes (shape="..." coords="...").
void appendAreaWith(std::string& map, const std::string& shapeAttributes, const std::string& extra,
                    const std::string& link);
// Appends one "<area ... />" element; invalid lists (fewer than 3 entries, all zero) add nothing.
void appendArea(std::string& map, const std::vector<int>& xy, int offsetX, int offsetY, const std::string& extra,
                const std::string& link);

}  // namespace plotvane

#endif

#ifndef PLOTVANE_CHART_DRAWOBJ_P_H
#define PLOTVANE_CHART_DRAWOBJ_P_H

// A chart's free-standing objects: their list in paint order, and the factories of the kinds the
// chart makes.

#include <plotvane/drawobj.h>

#include <climits>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace plotvane {

class BaseChartImpl;
class TextBoxImpl;

class DrawObjList {
public:
    DrawObjList() = default;
    ~DrawObjList() { clear(); }
    // Objects point back at their list.
    DrawObjList(const DrawObjList&) = delete;
    DrawObjList& operator=(const DrawObjList&) = delete;

    // Objects handed to a program cannot be deleted through their public type; their owners do it here.
    static void destroy(DrawObj* obj) { delete obj; }
    struct Deleter {
        void operator()(DrawObj* obj) const { destroy(obj); }
    };

    // Takes ownership; null is ignored.
    void add(DrawObj* obj);
    // Deletes an object of the list, first telling the owner, which may keep it elsewhere too.
    void remove(DrawObj* obj);
    void setOnRemove(std::function<void(DrawObj*)> onRemove) { onRemove_ = std::move(onRemove); }
    void clear();
    // Sorts the objects not yet painted by z, equal z keeping the order of addition.
    void sortPending();
    // Paints the pending objects in their order while their z is at most maxZ.
    void paintUpTo(DrawArea* d, int maxZ = INT_MAX);
    size_t size() const { return objects_.size(); }

private:
    std::vector<std::unique_ptr<DrawObj, Deleter>> objects_;
    size_t painted_ = 0;
    std::function<void(DrawObj*)> onRemove_;
};

Line* createLine(int x1, int y1, int x2, int y2, int color, int lineWidth);

// A title along one edge of the chart (or in its middle), spanning that edge.
TextBoxImpl* createTitle(BaseChartImpl* chart, int alignment);


}  // namespace plotvane

#endif

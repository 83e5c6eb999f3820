#include <gtest/gtest.h>

#include <climits>

#include "draw/largeobj_p.h"

using namespace plotvane;

namespace {

LargeObj pixelsOfLength(int length) {
    LargeObj obj;
    obj.type = LargeObj::PixelArray;
    obj.length = length;
    return obj;
}

}  // namespace

TEST(LargeObjects, FoundByIdWithGapsAndLateInserts) {
    // Mostly consecutive ids, then a gap, an id put out of order and one released: every look-up
    // must still find its own object and nothing for an id that is not there.
    LargeObjContainer objects;
    for (int id : {5, 6, 7, 9, 10}) objects.put(id, pixelsOfLength(id * 100));
    objects.put(3, pixelsOfLength(300));
    objects.release(6);
    for (int id : {3, 5, 7, 9, 10}) {
        const LargeObj* obj = objects.get(id);
        ASSERT_NE(obj, nullptr) << id;
        EXPECT_EQ(obj->length, id * 100);
    }
    for (int id : {INT_MIN, -1, 0, 4, 6, 8, 11, INT_MAX}) EXPECT_FALSE(objects.contains(id)) << id;
    // Replacing an object keeps one entry for the id.
    objects.put(7, pixelsOfLength(1));
    EXPECT_EQ(objects.get(7)->length, 1);
    EXPECT_EQ(objects.get(9)->length, 900);
}

// Spreading a column of labels apart.
//
// The classic pool-adjacent-violators scheme: labels are taken top to bottom, each starting as a
// block of its own; a block sits where the mean of its members' wishes puts it (each member's wish
// less the heights stacked above it in the block), clamped between the bounds. Whenever a block
// overlaps the block above, the two merge and are placed again, which may make the merged block
// overlap the one above that in turn. The result minimises the sum of squared moves under the
// no-overlap constraints, never overlaps, and costs linear time for any number of labels.
#include "chart/other/labelspread_p.h"

#include <algorithm>

namespace plotvane {

namespace {

struct Block {
    size_t first, last;
    double sum;     // of the members' wishes for the block's top
    double height;
    double top;
};

void place(Block& b, double lo, double hi) {
    const double mean = b.sum / double(b.last - b.first + 1);
    b.top = std::max(lo, std::min(mean, hi - b.height));
}

}  // namespace

void spreadLabels(std::vector<SpreadItem>& items, double lo, double hi) {
    std::vector<Block> blocks;
    for (size_t i = 0; i < items.size(); ++i) {
        Block b{i, i, items[i].want, items[i].height, 0};
        place(b, lo, hi);
        blocks.push_back(b);
        while (blocks.size() > 1) {
            Block& cur = blocks.back();
            Block& prev = blocks[blocks.size() - 2];
            if (prev.top + prev.height <= cur.top) break;
            prev.sum += cur.sum - prev.height * double(cur.last - cur.first + 1);
            prev.height += cur.height;
            prev.last = cur.last;
            place(prev, lo, hi);
            blocks.pop_back();
        }
    }
    for (const Block& b : blocks) {
        double y = b.top;
        for (size_t i = b.first; i <= b.last; ++i) {
            items[i].top = y;
            y += items[i].height;
        }
    }
}

}  // namespace plotvane

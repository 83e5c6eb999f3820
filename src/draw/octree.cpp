// Octree colour quantisation. Each colour walks from the root down eight levels, one bit of red,
// green and blue per level, and every node it passes sums the colour, so any node knows the mean of
// the colours beneath it. Whenever more leaves exist than the palette can hold, the tree folds the
// least used branch of the deepest foldable level into a single leaf: rare colours merge first, and
// shallow (coarse) merges only happen once the deep ones run out. When a whole level has been folded,
// the leaf level moves up so later colours stop there too.
//
// Nodes live in one vector and refer to each other by index; folded nodes go to a free list. The
// reducible lists (one per level, doubly linked through the nodes) hold nodes with two or more
// children that later colours passed through again.
#include "draw/octree_p.h"

#include <algorithm>

namespace plotvane {

namespace {

int childIndex(int level, int red, int green, int blue) {
    int shift = 7 - level;
    return (((red >> shift) & 1) << 2) | (((green >> shift) & 1) << 1) | ((blue >> shift) & 1);
}

}  // namespace

Octree::Octree(int colorLimit, int reservedEntries)
    : colorLimit_(std::min(colorLimit, 256)), reserved_(reservedEntries) {
    newNode(0);
}

int Octree::newNode(int level) {
    int id;
    if (!freeNodes_.empty()) {
        id = freeNodes_.back();
        freeNodes_.pop_back();
        nodes_[id] = Node();
    } else {
        id = static_cast<int>(nodes_.size());
        nodes_.emplace_back();
    }
    nodes_[id].level = level;
    if (level >= leafLevel_) {
        nodes_[id].leaf = true;
        ++leafCount_;
    }
    return id;
}

void Octree::addColor(uint32_t rgb) {
    int red = (rgb >> 16) & 0xff, green = (rgb >> 8) & 0xff, blue = rgb & 0xff;
    int id = 0;
    for (;;) {
        Node& node = nodes_[id];
        ++node.count;
        node.red += red;
        node.green += green;
        node.blue += blue;
        if (node.leaf) break;
        int slot = childIndex(node.level, red, green, blue);
        int child = node.children[slot];
        if (child < 0) {
            int level = node.level + 1;
            child = newNode(level);  // may move the nodes: re-fetch the parent below
            nodes_[id].children[slot] = child;
            ++nodes_[id].childCount;
        } else if (node.childCount >= 2 && !node.reducible) {
            node.reducible = true;
            node.previous = -1;
            node.next = reducible_[node.level];
            if (node.next >= 0) nodes_[node.next].previous = id;
            reducible_[node.level] = id;
        }
        id = child;
    }
    if (leafCount_ > colorLimit_) reduce();
}

void Octree::unlinkReducible(int id) {
    Node& node = nodes_[id];
    if (!node.reducible) return;
    if (node.previous >= 0)
        nodes_[node.previous].next = node.next;
    else
        reducible_[node.level] = node.next;
    if (node.next >= 0) nodes_[node.next].previous = node.previous;
    node.reducible = false;
    node.next = node.previous = -1;
}

void Octree::deleteSubtree(int id) {
    for (int& child : nodes_[id].children) {
        if (child < 0) continue;
        deleteSubtree(child);
        unlinkReducible(child);
        if (nodes_[child].leaf) --leafCount_;
        freeNodes_.push_back(child);
        child = -1;
    }
    nodes_[id].childCount = 0;
}

void Octree::reduce() {
    int level = leafLevel_ - 1;
    while (level >= 0 && reducible_[level] < 0) --level;
    if (level < 0) return;
    int smallest = reducible_[level];
    for (int id = nodes_[smallest].next; id >= 0; id = nodes_[id].next)
        if (nodes_[id].count < nodes_[smallest].count) smallest = id;
    deleteSubtree(smallest);
    unlinkReducible(smallest);
    nodes_[smallest].leaf = true;
    ++leafCount_;
    if (level < leafLevel_ - 1) leafLevel_ = level + 1;
}

uint32_t Octree::colorOf(const Node& node) const {
    uint64_t n = node.count ? node.count : 1;
    auto mean = [n](uint64_t sum) { return static_cast<uint32_t>((sum + n / 2) / n); };
    return (mean(node.red) << 16) | (mean(node.green) << 8) | mean(node.blue);
}

void Octree::assignPalette(int id, uint32_t* palette, int& next) {
    Node& node = nodes_[id];
    if (holdsPaletteColor(node)) {
        node.paletteIndex = next;
        palette[next++] = colorOf(node);
        return;
    }
    for (int child : node.children)
        if (child >= 0) assignPalette(child, palette, next);
}

int Octree::makePalette(uint32_t* palette) {
    int next = reserved_;
    assignPalette(0, palette, next);
    return next - reserved_;
}

void Octree::nearestLeaf(int id, int red, int green, int blue, int& best, int& bestDistance) const {
    const Node& node = nodes_[id];
    if (holdsPaletteColor(node)) {
        uint32_t c = colorOf(node);
        int dr = static_cast<int>((c >> 16) & 0xff) - red;
        int dg = static_cast<int>((c >> 8) & 0xff) - green;
        int db = static_cast<int>(c & 0xff) - blue;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = id;
        }
        return;
    }
    for (int child : node.children)
        if (child >= 0) nearestLeaf(child, red, green, blue, best, bestDistance);
}

int Octree::mapColor(int red, int green, int blue, uint32_t& mapped) const {
    int id = 0;
    while (!holdsPaletteColor(nodes_[id])) {
        int child = nodes_[id].children[childIndex(nodes_[id].level, red, green, blue)];
        if (child < 0) {
            // Only a dithered colour strays off the collected paths: take the closest colour nearby.
            int best = -1;
            int bestDistance = 262144;
            nearestLeaf(id, red, green, blue, best, bestDistance);
            if (best < 0) {  // an empty tree: nothing but reserved entries
                mapped = 0;
                return 0;
            }
            id = best;
            break;
        }
        id = child;
    }
    mapped = colorOf(nodes_[id]);
    return nodes_[id].paletteIndex;
}

}  // namespace plotvane

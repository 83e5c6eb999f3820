#ifndef PLOTVANE_DRAW_OCTREE_P_H
#define PLOTVANE_DRAW_OCTREE_P_H

#include <cstdint>
#include <vector>

namespace plotvane {

// Octree colour quantiser: collects colours, merges the least used branches whenever more than
// the colour limit are held, and hands out a palette of the mean colour of each leaf.
class Octree {
public:
    // colorLimit is capped at 256; the palette indices start after the reserved entries.
    Octree(int colorLimit, int reservedEntries);

    void addColor(uint32_t rgb);
    // Assigns palette indices and writes each colour to palette[index]; returns the colour count.
    int makePalette(uint32_t* palette);
    // The palette index for a colour, and the palette colour it stands for.
    int mapColor(int red, int green, int blue, uint32_t& mapped) const;

private:
    struct Node {
        int level = 0;
        bool leaf = false;
        bool reducible = false;
        uint64_t count = 0;
        uint64_t red = 0, green = 0, blue = 0;
        int paletteIndex = -1;
        int childCount = 0;
        int children[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
        int next = -1, previous = -1;  // the reducible list of the node's level
    };

    int newNode(int level);
    void deleteSubtree(int node);
    void unlinkReducible(int node);
    void reduce();
    void assignPalette(int node, uint32_t* palette, int& next);
    bool holdsPaletteColor(const Node& node) const { return node.leaf || node.level >= leafLevel_; }
    void nearestLeaf(int node, int red, int green, int blue, int& best, int& bestDistance) const;
    uint32_t colorOf(const Node& node) const;

    std::vector<Node> nodes_;
    std::vector<int> freeNodes_;
    int reducible_[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    int colorLimit_;
    int reserved_;
    int leafLevel_ = 8;
    int leafCount_ = 0;
};

}  // namespace plotvane

#endif

#ifndef PLOTVANE_TEXT_BLOCKPARSER_P_H
#define PLOTVANE_TEXT_BLOCKPARSER_P_H

#include <string>

namespace plotvane {

// Alignment keywords of blocks: halign uses Left, Center and Right, valign the others.
enum BlockAlign { AlignBaseline = 0, AlignTop = 1, AlignBottom = 2, AlignCenter = 3, AlignAbsCenter = 4,
                  AlignLeft = 5, AlignRight = 6 };

// The attributes of a "block" or "img" command. Sizes are pixels, -1 where automatic.
struct BlockAttributes {
    int valign = AlignBaseline;
    int halign = AlignLeft;
    int width = -1;
    int height = -1;
    int maxWidth = -1;  // the width when not given
    int truncate = -1;  // lines
    double angle = 0;   // degrees counter-clockwise
    int bgColor = static_cast<int>(0xff000000);
    int edgeColor = -1;  // -1: as bgColor
    int margin[4] = {0, 0, 0, 0};  // left, right, top, bottom
    double lineSpacing = 1;
    std::string img;
    int rtl = -1;  // 1 right to left, 0 left to right, -1 automatic
};

// Reads the items of a block or image command (given without "<*" and "*>") over the defaults.
// Unknown items and keywords are ignored.
BlockAttributes parseAVList(const char32_t* begin, const char32_t* end);

int alignmentKeyword(const std::u32string& word);

}  // namespace plotvane

#endif

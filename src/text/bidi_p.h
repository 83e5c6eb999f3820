#ifndef PLOTVANE_TEXT_BIDI_P_H
#define PLOTVANE_TEXT_BIDI_P_H

// Right-to-left text: character types, embedding levels, mirroring, line reordering and Arabic
// contextual forms.

#include <cstdint>
#include <vector>

namespace plotvane {

enum BidiType { kBidiNeutral, kBidiL, kBidiR, kBidiAL, kBidiNSM, kBidiEN, kBidiAN, kBidiES, kBidiET, kBidiCS };

constexpr int kBidiTableEnd = 0x2580;
extern const uint32_t kBidiTypeWords[kBidiTableEnd / 8];


// Characters that can take part in right-to-left text; runs without any skip the bidi pass.
inline bool isBidiChar(int ch) { return ch >= 0x590 && ch <= 0x8ff; }

// Levels of a paragraph of n types into levels[0, n); the types are left resolved. direction: 1
// left to right, 2 right to left, anything else from the first strong character. Returns the
// paragraph's level (0 or 1).
int resolveBidiLevels(unsigned char* types, int n, int direction, signed char* levels);
// The same over a vector.
std::vector<signed char> bidiLevels(std::vector<unsigned char>& types, int direction, int* paragraphLevel = nullptr);

// The character displayed for ch at an odd level, or 0 when it is not mirrored.
int mirroredChar(int ch);

// The logical indices of levels[0, n) in visual order, left to right.
void visualOrder(const signed char* levels, int n, std::vector<int>& order);

}  // namespace plotvane

namespace vek {
inline int getBidiType(int ch) {
    if (ch < 0 || ch >= plotvane::kBidiTableEnd) return plotvane::kBidiL;
    return static_cast<int>(plotvane::kBidiTypeWords[ch >> 3] >> (4 * (ch & 7))) & 15;
}
// Replaces the Arabic letters of text[from, to) by their contextual presentation forms, LAM-ALEF
// pairs by one ligature (the LAM's place becomes kSpacerChar).
void arabicShape(wchar_t* text, int from, int to);
}  // namespace vek

#endif

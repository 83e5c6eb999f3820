// Right-to-left text.
//
// Hebrew and Arabic are stored in reading order but drawn right to left, and numbers and Latin
// words inside them keep reading left to right. A run that holds such characters is given one
// embedding level per glyph: 0 (or 2) for left-to-right text, 1 for right-to-left text, 2 for
// numbers. The resolution is a compact form of the usual bidirectional algorithm with no explicit
// embeddings or isolates and no bracket pairing: every character has one of ten types; weak types
// (non-spacing marks, numbers and their separators and terminators) are settled from their
// neighbours, then each stretch of neutrals takes the direction shared by both its sides, or the
// paragraph's. Separators behind an Arabic number join it whatever follows them, which keeps
// "1,234" readable when the writer forgot the second group.
//
// Levels belong to the whole run; line breaking stays in logical order. Once a line's glyphs are
// known, every stretch at level k or higher is reversed for k from the highest level down to the
// lowest odd one, and the pens are placed in that visual order. Brackets at odd levels are drawn
// as their partners, so that "(" still opens towards the text it encloses.
//
// Arabic letters change shape with their neighbours. Each stretch of right-to-left glyphs is
// walked from its end: a letter takes its final, initial or medial form from whether the
// nearest non-transparent letter before it and the one after it join towards it, and a LAM that
// joins forwards into an ALEF becomes one ligature glyph, its own place left as an empty spacer.

#include "text/bidi_p.h"

#include "draw/glyph_p.h"

#include <algorithm>
#include <initializer_list>

namespace plotvane {

namespace {

enum Joining : char { kNonJoining = 'U', kTransparent = 'T', kRightJoining = 'R', kDualJoining = 'D', kJoinCausing = 'C' };

// Joining classes of U+0600..U+06FF, one character per code point.
const char kJoining[257] =
    "UUUUUUUUUUUUUUUU"  // 0600
    "TTTTTTTTTTTUTUUU"  // 0610: marks, 061B..061F punctuation, 061C a format mark
    "DURRRRDRDRDDDDDR"  // 0620
    "RRRDDDDDDDDDDDDD"  // 0630
    "CDDDDDDDRDDTTTTT"  // 0640
    "TTTTTTTTTTTTTTTT"  // 0650
    "UUUUUUUUUUUUUUDD"  // 0660
    "TRRRURRRDDDDDDDD"  // 0670
    "DDDDDDDDRRRRRRRR"  // 0680
    "RRRRRRRRRRDDDDDD"  // 0690
    "DDDDDDDDDDDDDDDD"  // 06A0
    "DDDDDDDDDDDDDDDD"  // 06B0
    "RDDRRRRRRRRRDRDR"  // 06C0
    "DDRRURTTTTTTTUUT"  // 06D0
    "TTTTTUUTTUTTTTRR"  // 06E0
    "UUUUUUUUUUDDDUUD";  // 06F0

Joining joiningOf(int ch) {
    if (ch < 0x600 || ch > 0x6ff) return kNonJoining;
    return static_cast<Joining>(kJoining[ch - 0x600]);
}

// Isolated presentation forms of U+0622..U+064A (0: none); final, initial and medial follow it.
const uint16_t kFormBase[] = {
    0xfe81, 0xfe83, 0xfe85, 0xfe87, 0xfe89, 0xfe8d, 0xfe8f, 0xfe93, 0xfe95, 0xfe99, 0xfe9d,  // 0622
    0xfea1, 0xfea5, 0xfea9, 0xfeab, 0xfead, 0xfeaf, 0xfeb1, 0xfeb5, 0xfeb9, 0xfebd, 0xfec1,  // 062D
    0xfec5, 0xfec9, 0xfecd, 0,      0,      0,      0,      0,      0,      0xfed1, 0xfed5,  // 0638
    0xfed9, 0xfedd, 0xfee1, 0xfee5, 0xfee9, 0xfeed, 0xfeef, 0xfef1};                         // 0643

int formBase(int ch) { return ch >= 0x622 && ch <= 0x64a ? kFormBase[ch - 0x622] : 0; }

bool joinsForward(Joining j) { return j == kDualJoining || j == kJoinCausing; }
bool joinsBack(Joining j) { return j == kDualJoining || j == kRightJoining || j == kJoinCausing; }

// The ligature of a LAM in initial or medial form and the ALEF form after it, or 0.
int lamAlef(int lam, int alef) {
    if (lam != 0xfedf && lam != 0xfee0) return 0;
    int medial = lam == 0xfee0 ? 1 : 0;
    switch (alef) {
        case 0xfe82: return 0xfef5 + medial;
        case 0xfe84: return 0xfef7 + medial;
        case 0xfe88: return 0xfef9 + medial;
        case 0xfe8e: return 0xfefb + medial;
        default: return 0;
    }
}

bool isStrong(int t) { return t == kBidiL || t == kBidiR || t == kBidiAL; }

// The direction a neighbour gives a neutral: numbers count as right to left.
int sideOf(int t) { return t == kBidiL ? kBidiL : kBidiR; }

}  // namespace


int resolveBidiLevels(unsigned char* t, int n, int direction, signed char* levels) {
    int paragraph = direction == 1 ? kBidiL : direction == 2 ? kBidiR : 0;
    for (int i = 0; i < n && !paragraph; ++i)
        if (isStrong(t[i])) paragraph = t[i] == kBidiL ? kBidiL : kBidiR;
    if (!paragraph) paragraph = kBidiL;

    // Marks take their base's type, numbers after Arabic letters read as Arabic numbers, and then
    // Arabic letters count as plain right to left; one pass, remembering the type before the last
    // two steps for the next mark.
    int strong = paragraph, before = paragraph;
    unsigned present = 0;  // bit t of each type t left
    for (int i = 0; i < n; ++i) {
        int v = t[i] == kBidiNSM ? before : t[i];
        before = v;
        if (isStrong(v)) strong = v;
        else if (v == kBidiEN && strong == kBidiAL) v = kBidiAN;
        if (v == kBidiAL) v = kBidiR;
        t[i] = static_cast<unsigned char>(v);
        present |= 1u << v;
    }
    // The passes below change nothing in text without the types they look at, which is most text.
    auto has = [present](std::initializer_list<int> types) {
        for (int type : types)
            if (present & (1u << type)) return true;
        return false;
    };
    const bool separators = has({kBidiES, kBidiET, kBidiCS});
    const bool numbers = has({kBidiEN, kBidiAN});
    if (separators && numbers) {
        for (int i = 1; i < n; ++i) {
            if (i + 1 < n && (t[i] == kBidiES || t[i] == kBidiCS) && t[i - 1] == kBidiEN && t[i + 1] == kBidiEN)
                t[i] = kBidiEN;
            else if (t[i] == kBidiCS && t[i - 1] == kBidiAN)
                t[i] = kBidiAN;
        }
        for (int i = 0; i < n;) {
            if (t[i] != kBidiET) {
                ++i;
                continue;
            }
            int end = i;
            while (end < n && t[end] == kBidiET) ++end;
            if ((i > 0 && t[i - 1] == kBidiEN) || (end < n && t[end] == kBidiEN)) std::fill(t + i, t + end, kBidiEN);
            i = end;
        }
    }
    if (separators || numbers) {
        // Leftover separators and terminators are neutral; numbers after left-to-right text are part of it.
        strong = paragraph;
        for (int i = 0; i < n; ++i) {
            int v = t[i];
            if (v == kBidiES || v == kBidiET || v == kBidiCS) v = kBidiNeutral;
            else if (v == kBidiL || v == kBidiR) strong = v;
            else if (v == kBidiEN && strong == kBidiL) v = kBidiL;
            t[i] = static_cast<unsigned char>(v);
        }
    }
    if (separators || has({kBidiNeutral})) {
        for (int i = 0; i < n;) {
            if (t[i] != kBidiNeutral) {
                ++i;
                continue;
            }
            int end = i;
            while (end < n && t[end] == kBidiNeutral) ++end;
            int left = i > 0 ? sideOf(t[i - 1]) : paragraph;
            int right = end < n ? sideOf(t[end]) : paragraph;
            std::fill(t + i, t + end, static_cast<unsigned char>(left == right ? left : paragraph));
            i = end;
        }
    }
    signed char other = paragraph == kBidiR ? 2 : 0;
    for (int i = 0; i < n; ++i) levels[i] = t[i] == kBidiR ? 1 : (t[i] == kBidiEN || t[i] == kBidiAN) ? 2 : other;
    return paragraph == kBidiR ? 1 : 0;
}

std::vector<signed char> bidiLevels(std::vector<unsigned char>& t, int direction, int* paragraphLevel) {
    std::vector<signed char> levels(t.size());
    int paragraph = resolveBidiLevels(t.data(), static_cast<int>(t.size()), direction, levels.data());
    if (paragraphLevel) *paragraphLevel = paragraph;
    return levels;
}

int mirroredChar(int ch) {
    switch (ch) {
        case '(': return ')';
        case ')': return '(';
        case '<': return '>';
        case '>': return '<';
        case '[': return ']';
        case ']': return '[';
        case '{': return '}';
        case '}': return '{';
        case 0xab: return 0xbb;
        case 0xbb: return 0xab;
        case 0x2039: return 0x203a;
        case 0x203a: return 0x2039;
        case 0x2264: return 0x2265;
        case 0x2265: return 0x2264;
        default: return 0;
    }
}

void visualOrder(const signed char* levels, int n, std::vector<int>& order) {
    order.resize(static_cast<size_t>(std::max(0, n)));
    for (int i = 0; i < n; ++i) order[static_cast<size_t>(i)] = i;
    int highest = 0, lowestOdd = 127;
    for (int i = 0; i < n; ++i) {
        highest = std::max<int>(highest, levels[i]);
        if (levels[i] & 1) lowestOdd = std::min<int>(lowestOdd, levels[i]);
    }
    // A pass reverses stretches inside the stretches of every lower pass, so whether a place holds
    // a glyph of level k or higher never changes: the stretches are found in the levels as given.
    for (int k = highest; k >= lowestOdd; --k) {
        for (int i = 0; i < n;) {
            if (levels[i] < k) {
                ++i;
                continue;
            }
            int end = i;
            while (end < n && levels[end] >= k) ++end;
            std::reverse(order.begin() + i, order.begin() + end);
            i = end;
        }
    }
}

}  // namespace plotvane

namespace vek {

using namespace plotvane;

void arabicShape(wchar_t* text, int from, int to) {
    if (!text || from < 0 || to - from < 1) return;
    Joining next = kNonJoining;
    for (int i = to - 1; i >= from; --i) {
        int ch = static_cast<int>(text[i]);
        Joining self = joiningOf(ch);
        if (self == kTransparent) continue;
        int base = formBase(ch);
        if (base) {
            Joining previous = kNonJoining;
            for (int k = i - 1; k >= from; --k) {
                Joining j = joiningOf(static_cast<int>(text[k]));
                if (j == kTransparent) continue;
                previous = j;
                break;
            }
            bool before = joinsForward(previous), after = joinsBack(next);
            int form = 0;  // 0 nominal, 1 final, 2 initial, 3 medial
            if (self == kRightJoining)
                form = before ? 1 : 0;
            else if (self == kDualJoining)
                form = before && after ? 3 : before ? 1 : after ? 2 : 0;
            // ALEF MAKSURA joins on both sides but has only isolated and final forms.
            if (ch == 0x649) form = form == 3 ? 1 : form == 2 ? 0 : form;
            if (form > 0) text[i] = static_cast<wchar_t>(base + form);
            if (i + 1 < to) {
                int ligature = lamAlef(static_cast<int>(text[i]), static_cast<int>(text[i + 1]));
                if (ligature) {
                    text[i + 1] = static_cast<wchar_t>(ligature);
                    text[i] = static_cast<wchar_t>(kSpacerChar);
                }
            }
        }
        next = self;
    }
}

}  // namespace vek

#ifndef PLOTVANE_FOUNDATION_PALETTE_P_H
#define PLOTVANE_FOUNDATION_PALETTE_P_H

#include <functional>
#include <vector>

namespace plotvane {

// The ordered list of resolved colours behind palette references 0xffff0000 + i. Data colours
// (entries 8 and up) cycle; the eight fixed entries are never reused for data.
class Palette {
public:
    static constexpr int kMaxEntries = 32768;
    // Colour lists given without a length end at 0xffffffff; this many or more is refused.
    static constexpr int kMaxUnterminated = 65535;

    int size() const { return static_cast<int>(entries_.size()); }
    const std::vector<int>& entries() const { return entries_; }

    // The colour of entry i (i >= 0), with the wrapping rules for references past the end.
    int lookup(int i) const;

    // Writes n colours from position p, each resolved through `resolve` as the palette stands at
    // that moment, so an entry may refer to another. Gaps are filled with Transparent.
    void setColors(int p, const int* colors, int n, const std::function<int(int)>& resolve);
    // The same for a list ending at 0xffffffff; a list of kMaxUnterminated or more is ignored.
    void setColors(int p, const int* terminatedColors, const std::function<int(int)>& resolve);

private:
    std::vector<int> entries_;
};

}  // namespace plotvane

#endif

#include "foundation/palette_p.h"

#include <plotvane/constants.h>

#include <algorithm>

namespace plotvane {

int Palette::lookup(int i) const {
    int n = size();
    if (i < n) return entries_[static_cast<size_t>(i)];
    if (n == 0) return i;
    if (n <= 8) return entries_[static_cast<size_t>(i % n)];
    return entries_[static_cast<size_t>(8 + (i - 8) % (n - 8))];
}

void Palette::setColors(int p, const int* colors, int n, const std::function<int(int)>& resolve) {
    if (!colors || n < 1 || p < 0 || p >= kMaxEntries) return;
    n = std::min(n, kMaxEntries - p);
    std::vector<int> resolved(colors, colors + n);
    for (int& c : resolved) c = resolve(c);
    if (size() < p + n) entries_.resize(static_cast<size_t>(p + n), Chart::Transparent);
    std::copy(resolved.begin(), resolved.end(), entries_.begin() + p);
}

void Palette::setColors(int p, const int* terminatedColors, const std::function<int(int)>& resolve) {
    if (!terminatedColors) return;
    int n = 0;
    while (terminatedColors[n] != -1) {
        if (++n >= kMaxUnterminated) return;
    }
    setColors(p, terminatedColors, n, resolve);
}

}  // namespace plotvane

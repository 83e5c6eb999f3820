// Huffman code lengths for a deflate block. The used symbols are sorted by frequency and the
// optimal lengths computed in place by Moffat and Katajainen's method (one array, three passes,
// no tree nodes). Lengths past the limit are then cut to it, which leaves the code
// over-subscribed; it is repaired one unit of Kraft sum at a time by moving a leaf from the
// deepest level down one level under a shallower leaf, which keeps the number of codes and
// lengthens only codes that were already among the rarest. Rare symbols receive the long codes:
// lengths are handed out longest first in order of rising frequency.
#include "draw/huffman_p.h"

#include <algorithm>

namespace plotvane {

namespace {

constexpr int kMaxSymbols = 320;
constexpr int kLongestLength = 15;

// On entry a[0..n-1] are frequencies in rising order; on return a[i] is the optimal code length
// of the symbol whose frequency was a[i].
void minimumRedundancy(uint32_t* a, int n) {
    if (n == 1) {
        a[0] = 1;
        return;
    }
    // Left to right: pair the two smallest weights, leaving parent indices behind.
    a[0] += a[1];
    int root = 0, leaf = 2;
    for (int next = 1; next < n - 1; ++next) {
        if (leaf >= n || a[root] < a[leaf]) {
            a[next] = a[root];
            a[root++] = static_cast<uint32_t>(next);
        } else {
            a[next] = a[leaf++];
        }
        if (leaf >= n || (root < next && a[root] < a[leaf])) {
            a[next] += a[root];
            a[root++] = static_cast<uint32_t>(next);
        } else {
            a[next] += a[leaf++];
        }
    }
    // Right to left: depths of the internal nodes.
    a[n - 2] = 0;
    for (int next = n - 3; next >= 0; --next) a[next] = a[a[next]] + 1;
    // Right to left: depths of the leaves.
    int available = 1, used = 0, depth = 0, next = n - 1;
    root = n - 2;
    while (available > 0) {
        while (root >= 0 && static_cast<int>(a[root]) == depth) {
            ++used;
            --root;
        }
        while (available > used) {
            a[next--] = static_cast<uint32_t>(depth);
            --available;
        }
        available = 2 * used;
        ++depth;
        used = 0;
    }
}

}  // namespace

void huffmanLengths(const uint32_t* freq, int n, int maxBits, uint8_t* lengths) {
    struct Symbol {
        uint32_t freq;
        int index;
    };
    Symbol used[kMaxSymbols];
    int count = 0;
    n = std::min(n, kMaxSymbols);
    for (int i = 0; i < n; ++i) {
        lengths[i] = 0;
        if (freq[i]) used[count++] = Symbol{freq[i], i};
    }
    for (int i = 0; count < 2 && i < n; ++i)
        if (!freq[i]) used[count++] = Symbol{1, i};
    if (count == 0) return;
    std::sort(used, used + count, [](const Symbol& a, const Symbol& b) { return a.freq < b.freq; });

    uint32_t depth[kMaxSymbols];
    for (int i = 0; i < count; ++i) depth[i] = used[i].freq;
    minimumRedundancy(depth, count);

    int perLength[kLongestLength + 1] = {};
    for (int i = 0; i < count; ++i) ++perLength[std::min<uint32_t>(depth[i], static_cast<uint32_t>(maxBits))];
    uint32_t kraft = 0;  // in units of 2^-maxBits
    for (int length = 1; length <= maxBits; ++length) kraft += static_cast<uint32_t>(perLength[length]) << (maxBits - length);
    for (; kraft > (1u << maxBits); --kraft) {
        --perLength[maxBits];
        for (int length = maxBits - 1; length > 0; --length) {
            if (perLength[length]) {
                --perLength[length];
                perLength[length + 1] += 2;
                break;
            }
        }
    }
    int next = 0;
    for (int length = maxBits; length > 0; --length)
        for (int k = 0; k < perLength[length]; ++k) lengths[used[next++].index] = static_cast<uint8_t>(length);
}

void huffmanCodes(const uint8_t* lengths, int n, uint16_t* codes) {
    int perLength[kLongestLength + 1] = {};
    for (int i = 0; i < n; ++i) ++perLength[lengths[i]];
    perLength[0] = 0;
    uint32_t first[kLongestLength + 2] = {};
    for (int length = 1; length <= kLongestLength; ++length)
        first[length + 1] = (first[length] + static_cast<uint32_t>(perLength[length])) << 1;
    for (int i = 0; i < n; ++i) {
        int length = lengths[i];
        if (!length) {
            codes[i] = 0;
            continue;
        }
        uint32_t code = first[length]++, reversed = 0;
        for (int k = 0; k < length; ++k, code >>= 1) reversed = reversed << 1 | (code & 1);
        codes[i] = static_cast<uint16_t>(reversed);
    }
}

}  // namespace plotvane

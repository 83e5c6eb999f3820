#include <gtest/gtest.h>

#include <functional>
#include <queue>
#include <random>
#include <vector>

#include "draw/huffman_p.h"

using namespace plotvane;

namespace {

// Kraft sum in units of 2^-15: exactly 2^15 for a complete code.
uint32_t kraft(const std::vector<uint8_t>& lengths) {
    uint32_t sum = 0;
    for (uint8_t length : lengths)
        if (length) sum += 1u << (15 - length);
    return sum;
}

// The cost of an optimal code by the textbook method: the sum of all merged weights.
uint64_t optimalCost(const std::vector<uint32_t>& freq) {
    std::priority_queue<uint64_t, std::vector<uint64_t>, std::greater<uint64_t>> queue;
    for (uint32_t f : freq)
        if (f) queue.push(f);
    uint64_t cost = 0;
    while (queue.size() > 1) {
        uint64_t a = queue.top();
        queue.pop();
        uint64_t b = queue.top();
        queue.pop();
        cost += a + b;
        queue.push(a + b);
    }
    return cost;
}

std::vector<uint8_t> lengthsOf(const std::vector<uint32_t>& freq, int maxBits) {
    std::vector<uint8_t> lengths(freq.size(), 99);
    huffmanLengths(freq.data(), static_cast<int>(freq.size()), maxBits, lengths.data());
    return lengths;
}

}  // namespace

TEST(Huffman, OptimalWhenTheLimitDoesNotBind) {
    std::mt19937 random(5);
    for (int trial = 0; trial < 50; ++trial) {
        std::vector<uint32_t> freq(286);
        for (uint32_t& f : freq) f = random() % 3 == 0 ? 0 : 1 + random() % 200;
        auto lengths = lengthsOf(freq, 15);
        uint64_t cost = 0;
        for (size_t i = 0; i < freq.size(); ++i) {
            EXPECT_EQ(lengths[i] == 0, freq[i] == 0);
            cost += uint64_t(freq[i]) * lengths[i];
        }
        EXPECT_EQ(cost, optimalCost(freq));
        EXPECT_EQ(kraft(lengths), 1u << 15);
    }
}

TEST(Huffman, LimitedLengthsStayCompleteAndOrdered) {
    // Fibonacci weights want one code per length, 29 bits deep unlimited.
    std::vector<uint32_t> freq(30);
    freq[0] = freq[1] = 1;
    for (size_t i = 2; i < freq.size(); ++i) freq[i] = freq[i - 1] + freq[i - 2];
    for (int maxBits : {7, 15}) {
        SCOPED_TRACE(maxBits);
        auto lengths = lengthsOf(freq, maxBits);
        EXPECT_EQ(kraft(lengths), 1u << 15);
        for (size_t i = 0; i < freq.size(); ++i) {
            EXPECT_GE(lengths[i], 1);
            EXPECT_LE(lengths[i], maxBits);
            if (i > 0) {
                EXPECT_LE(lengths[i], lengths[i - 1]);  // rarer symbols never get shorter codes
            }
        }
    }

    // Fewer than two used symbols still make a two-code tree.
    std::vector<uint32_t> one(19, 0);
    one[7] = 40;
    auto lengths = lengthsOf(one, 7);
    EXPECT_EQ(lengths[7], 1);
    EXPECT_EQ(kraft(lengths), 1u << 15);
    lengths = lengthsOf(std::vector<uint32_t>(30, 0), 15);
    EXPECT_EQ(kraft(lengths), 1u << 15);
}

TEST(Huffman, CanonicalCodesAreBitReversed) {
    // The worked example of the deflate format: lengths (3, 3, 3, 3, 3, 2, 4, 4) give the codes
    // 010, 011, 100, 101, 110, 00, 1110, 1111, written first bit first.
    const uint8_t lengths[8] = {3, 3, 3, 3, 3, 2, 4, 4};
    const uint16_t msbFirst[8] = {0b010, 0b011, 0b100, 0b101, 0b110, 0b00, 0b1110, 0b1111};
    uint16_t codes[8];
    huffmanCodes(lengths, 8, codes);
    for (int i = 0; i < 8; ++i) {
        uint16_t reversed = 0;
        for (int k = 0; k < lengths[i]; ++k) reversed |= ((msbFirst[i] >> k) & 1) << (lengths[i] - 1 - k);
        EXPECT_EQ(codes[i], reversed) << i;
    }
}

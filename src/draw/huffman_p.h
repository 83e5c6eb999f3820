#ifndef PLOTVANE_DRAW_HUFFMAN_P_H
#define PLOTVANE_DRAW_HUFFMAN_P_H

// Length-limited Huffman codes as deflate sends them: lengths from symbol frequencies, then the
// canonical codes those lengths stand for.

#include <cstdint>

namespace plotvane {

// Code lengths (at most maxBits) for the n symbols (n <= 320) with these frequencies; unused
// symbols get 0. At least two symbols get a code, even when fewer are used: a code of one
// symbol is incomplete, and some inflaters refuse incomplete codes.
void huffmanLengths(const uint32_t* freq, int n, int maxBits, uint8_t* lengths);

// The canonical code of each symbol, bit-reversed: deflate writes codes from their first bit on,
// into the low end of each byte.
void huffmanCodes(const uint8_t* lengths, int n, uint16_t* codes);

}  // namespace plotvane

#endif

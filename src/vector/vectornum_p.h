#ifndef PLOTVANE_VECTOR_VECTORNUM_P_H
#define PLOTVANE_VECTOR_VECTORNUM_P_H

// Text building blocks shared by the SVG and PDF writers: numbers in the C locale, colours and
// base64. Everything appends to a std::string so a document is built in one growing buffer.

#include <cstdint>
#include <string>

namespace plotvane {

// v rounded to `decimals` places (0-6), then printed as "%.*g" with `digits` significant digits
// (at most 20) would print it, always with '.' as the decimal point.
void appendNumber(std::string& out, double v, int decimals, int digits = 6);
// A coordinate: three decimals, six significant digits.
inline void appendCoor(std::string& out, double v) { appendNumber(out, v, 3); }
void appendInt(std::string& out, long long v);
// "#rrggbb" of the low 24 bits.
void appendHexColor(std::string& out, uint32_t color);
void appendBase64(std::string& out, const unsigned char* data, size_t length);

}  // namespace plotvane

#endif

// Numbers are the bulk of a vector document, so the common case is printed without snprintf: a
// value rounded to d decimals whose scaled integer has at most six digits prints exactly as "%.6g"
// would print it (the decimal has no more digits than %g keeps, so the nearest double reads back
// to it). Larger values, longer digit counts and non-finite input take the snprintf road. That road
// keeps the same significant digits but never writes an exponent ("3e+06"), which PDF does not
// allow and viewers answer by dropping the shape; a locale decimal comma is turned back into a point.
#include "vector/vectornum_p.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace plotvane {

namespace {

constexpr long long kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

void appendSlow(std::string& out, double v, int decimals, int digits) {
    if (!std::isfinite(v) || v == 0) {
        out += '0';
        return;
    }
    int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    if (magnitude >= digits) {
        // Beyond the significant digits, print zeros rather than the binary value's noise.
        double unit = std::pow(10.0, magnitude - digits + 1);
        v = std::round(v / unit) * unit;
    }
    int places = std::max(0, std::min(decimals, digits - 1 - magnitude));
    char buf[352];  // the largest double has 309 digits
    int n = std::snprintf(buf, sizeof buf, "%.*f", places, v);
    if (n <= 0 || n >= static_cast<int>(sizeof buf)) return;
    for (int i = 0; i < n; ++i)
        if (buf[i] == ',') buf[i] = '.';
    if (places > 0) {
        while (buf[n - 1] == '0') --n;
        if (buf[n - 1] == '.') --n;
    }
    if (n == 2 && buf[0] == '-' && buf[1] == '0') {
        buf[0] = '0';
        n = 1;
    }
    out.append(buf, static_cast<size_t>(n));
}

}  // namespace

void appendInt(std::string& out, long long v) {
    char buf[24];
    char* end = buf + sizeof buf;
    char* p = end;
    unsigned long long u = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    do {
        *--p = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u);
    if (v < 0) *--p = '-';
    out.append(p, static_cast<size_t>(end - p));
}

void appendNumber(std::string& out, double v, int decimals, int digits) {
    if (decimals < 0) decimals = 0;
    if (decimals > 6) decimals = 6;
    if (digits < 1) digits = 1;
    if (digits > 20) digits = 20;
    double scaled = std::floor(v * static_cast<double>(kPow10[decimals]) + 0.5);
    if (!(std::fabs(scaled) < 1e6) || digits < 6) {
        appendSlow(out, scaled / static_cast<double>(kPow10[decimals]), decimals, digits);
        return;
    }
    long long n = static_cast<long long>(scaled);
    if (n < 0) {
        out += '-';
        n = -n;
    }
    long long whole = n / kPow10[decimals];
    long long frac = n % kPow10[decimals];
    appendInt(out, whole);
    if (frac == 0) return;
    char buf[8];
    int len = decimals;
    for (int i = decimals - 1; i >= 0; --i) {
        buf[i] = static_cast<char>('0' + frac % 10);
        frac /= 10;
    }
    while (len > 0 && buf[len - 1] == '0') --len;
    out += '.';
    out.append(buf, static_cast<size_t>(len));
}

void appendHexColor(std::string& out, uint32_t color) {
    static const char kHex[] = "0123456789abcdef";
    char buf[7] = {'#'};
    for (int i = 0; i < 6; ++i) buf[1 + i] = kHex[(color >> (20 - 4 * i)) & 15];
    out.append(buf, 7);
}

void appendBase64(std::string& out, const unsigned char* data, size_t length) {
    static const char kTable[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    out.reserve(out.size() + (length + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < length; i += 3) {
        uint32_t w = (uint32_t(data[i]) << 16) | (uint32_t(data[i + 1]) << 8) | data[i + 2];
        char q[4] = {kTable[w >> 18], kTable[(w >> 12) & 63], kTable[(w >> 6) & 63], kTable[w & 63]};
        out.append(q, 4);
    }
    if (i < length) {
        uint32_t w = uint32_t(data[i]) << 16;
        if (i + 1 < length) w |= uint32_t(data[i + 1]) << 8;
        char q[4] = {kTable[w >> 18], kTable[(w >> 12) & 63], i + 1 < length ? kTable[(w >> 6) & 63] : '=', '='};
        out.append(q, 4);
    }
}

}  // namespace plotvane

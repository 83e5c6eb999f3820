#ifndef PLOTVANE_TEXT_FORMATNUMBER_P_H
#define PLOTVANE_TEXT_FORMATNUMBER_P_H

// The two routes of number formatting: the general one for every style and magnitude, and the
// fast one for fixed-point codes, which must give the same bytes wherever it applies.

#include <cstddef>
#include <string>

namespace plotvane {

class Formatter;

struct NumberCode {
    char style = 0;  // 0 for fixed-point, else one of e E g G p P
    int precision = -1;
    char thousands = 0;  // NUL for none
    char point = '.';
    char sign = '-';  // NUL for none
    std::string prefix;
};

// Room renderFixedNumber needs: sign, prefix, 16 grouped digits, point and 15 decimals.
constexpr size_t kMaxFixedNumber = 64;

// A number code's settings, with what it leaves open taken from the formatter.
NumberCode parseNumberCode(const char* code, const Formatter& formatter, bool machine);
// A finite value under any code.
std::string renderNumber(double value, NumberCode code);
// A finite value under a fixed-point code with at most 15 decimals (or automatic precision) and a
// magnitude below 1e15, written to out without printf; 0 (nothing written) for anything else.
size_t renderFixedNumber(double value, const NumberCode& code, char* out);

}  // namespace plotvane

#endif

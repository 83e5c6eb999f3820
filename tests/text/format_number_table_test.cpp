#include <plotvane/constants.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/golden.h"
#include "text/formatnumber_p.h"
#include "text/formatter_p.h"

using plotvane::Formatter;

namespace {

// Values where number formatting tends to go wrong: halves at every digit, powers of ten and their
// neighbours, the edge of exact doubles, signs, tiny and huge magnitudes, non-finite values.
std::vector<double> awkwardValues() {
    std::vector<double> v = {0.0, -0.0, 1, -1, 0.5, -0.5, 1.5, 2.5, -2.5, 0.05, 0.15, 0.25, 0.005, 0.015, 0.125,
                             0.1, 0.2, 0.3, 0.7, 0.9, 0.95, 0.995, 0.9995, 0.99999995, 9.9999995, 99.5, 999.5,
                             1234.567, -1234.567, 1234567.891, 2.00000001, 1e-7, 4.9e-7, 5e-7, 1e-12, 1e-13,
                             123456789012.345, 4503599627370495.5, 9007199254740991.0, 9007199254740993.0,
                             1e15, 1e15 + 0.5, 1e16, 1e19, 1.8e19, 1e20, 1e25, 1e26, 1e100, 1e300, 1.7e308,
                             -1e300, 5e-324, 2.2250738585072014e-308, 1e-300, 0.000123, 0.012345, 123456,
                             plotvane::Chart::NoValue, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (int e = -15; e <= 17; ++e) {
        double p = std::pow(10.0, e);
        v.insert(v.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300), -p, 0.5 * p, 1.5 * p});
    }
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-9, 16);
    for (int k = 0; k < 50; ++k) v.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
    return v;
}

const char* const kCodes[] = {"", "0", "1", "2", "3", "6", "10", "15", "16", "40", ",", "2,", "2.,", "0 ",
                              "2~.~", "3?.-$", "2'.(", "g", "G3", "e", "E2", "p3", "P5", "\x01", "\x01" "2"};

std::string quoted(const char* code) {
    std::string out;
    for (const char* c = code; *c; ++c) out += *c == '\x01' ? std::string("\\1") : std::string(1, *c);
    return out;
}

}  // namespace

// One table of codes against awkward values, recorded before number formatting got its fast route:
// any byte that changes shows up in the diff.
TEST(FormatNumberTable, MatchesRecordedOutput) {
    Formatter formatter;
    std::string table;
    char line[512];
    for (const char* code : kCodes) {
        for (double value : awkwardValues()) {
            std::snprintf(line, sizeof line, "%s\t%.17g\t%s\n", quoted(code).c_str(), value,
                          formatter.format(code, value));
            table += line;
        }
    }
    EXPECT_TRUE(plotvane_test::matchesGoldenText("text", "number_table.txt", table));
}

// The fixed-point fast route against the general one, over many values of every magnitude it takes
// and the digits that decide rounding.
TEST(FormatNumberTable, FastRouteMatchesGeneralRoute) {
    Formatter formatter;
    formatter.setNumberFormat(',', '.', '-');
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-16, 15), precision(-1, 15), cents(-100000, 100000);
    const char* const separators[] = {"", "~", ",.", " ,", "'.(", "?.-$", "~~~"};
    int checked = 0;
    for (int k = 0; k < 200000; ++k) {
        double value = k % 3 == 0   ? cents(random) / 100.0
                       : k % 3 == 1 ? unit(random) * std::pow(10.0, exponent(random))
                                    : std::nextafter(cents(random) / 200.0, unit(random));
        int p = precision(random);
        std::string code = (p >= 0 ? std::to_string(p) : std::string()) + separators[k % 7];
        plotvane::NumberCode parsed = plotvane::parseNumberCode(code.c_str(), formatter, false);
        char fast[plotvane::kMaxFixedNumber];
        size_t n = plotvane::renderFixedNumber(value, parsed, fast);
        if (n == 0) continue;
        ++checked;
        ASSERT_EQ(std::string(fast, n), plotvane::renderNumber(value, parsed)) << "code " << code << ", value "
                                                                                << value;
    }
    EXPECT_GT(checked, 190000);
    char out[plotvane::kMaxFixedNumber];
    plotvane::NumberCode fixed = plotvane::parseNumberCode("2", formatter, false);
    EXPECT_EQ(plotvane::renderFixedNumber(1e15, fixed, out), 0u);
    EXPECT_EQ(plotvane::renderFixedNumber(std::nan(""), fixed, out), 0u);
    EXPECT_EQ(plotvane::renderFixedNumber(1, plotvane::parseNumberCode("16", formatter, false), out), 0u);
    EXPECT_EQ(plotvane::renderFixedNumber(1, plotvane::parseNumberCode("g", formatter, false), out), 0u);
}

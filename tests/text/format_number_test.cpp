#include <plotvane/constants.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "text/formatter_p.h"

using plotvane::Formatter;
using plotvane::Chart::NoValue;

namespace {
std::string fmt(const char* code, double v) {
    Formatter f;
    return f.format(code, v);
}
}  // namespace

TEST(FormatNumber, DecimalsAndSeparators) {
    EXPECT_EQ(fmt("2", 1234.567), "1234.57");
    EXPECT_EQ(fmt("2,", 1234.567), "1,234.57");
    EXPECT_EQ(fmt("2.,", 1234.567), "1.234,57");
    EXPECT_EQ(fmt("0", 1234.567), "1235");
    EXPECT_EQ(fmt("3", 1.5), "1.500");
    EXPECT_EQ(fmt("2 ", 1234567.891), "1 234 567.89");
    EXPECT_EQ(fmt(",", 1234567), "1,234,567");
    EXPECT_EQ(fmt(",", 123), "123");
    EXPECT_EQ(fmt(",", 123456), "123,456");
    // "~" in the decimal position leaves the point alone.
    EXPECT_EQ(fmt("1,~", 1234.5), "1,234.5");

    Formatter f;
    f.setNumberFormat(',', '.', '-');
    EXPECT_STREQ(f.format("2", 1234.567), "1,234.57");
    EXPECT_STREQ(f.format("2~", 1234.567), "1234.57");  // "~" drops the inherited separator
    EXPECT_STREQ(f.format("2??", 1234.567), "1,234.57");
}

TEST(FormatNumber, AutomaticPrecision) {
    EXPECT_EQ(fmt("", 0.1), "0.1");
    EXPECT_EQ(fmt("", 1234567.0), "1234567");
    EXPECT_EQ(fmt("", 2.00000001), "2");
    EXPECT_EQ(fmt(nullptr, 0.25), "0.25");
    EXPECT_EQ(fmt("", 1.0 / 3), "0.333333");
    EXPECT_EQ(fmt("", 2.9999999), "3");
    EXPECT_EQ(fmt("", 0.0000004), "0");
    EXPECT_EQ(fmt("", 123456789.6), "123456790");
    EXPECT_EQ(fmt("", -12.5), "-12.5");
}

TEST(FormatNumber, Styles) {
    EXPECT_EQ(fmt("g", 0.000123), "1.23e-4");
    EXPECT_EQ(fmt("G", 0.000123), "1.23E-4");
    EXPECT_EQ(fmt("g", 12345678), "1.235e7");
    EXPECT_EQ(fmt("g", 12.5), "12.5");
    EXPECT_EQ(fmt("g", 0.0125), "0.0125");
    EXPECT_EQ(fmt("g6", 0.00123456789), "0.001235");  // E < 0 with precision 6 keeps 6 decimals
    EXPECT_EQ(fmt("g", 1000), "1000");
    EXPECT_EQ(fmt("g", 0), "0");

    EXPECT_EQ(fmt("E2", 123456), "1.23E+5");
    EXPECT_EQ(fmt("e", 123456), "1.235e+5");
    EXPECT_EQ(fmt("e1", 0.00042), "4.2e-4");
    EXPECT_EQ(fmt("e0", 9.6), "1e+1");  // rounding up to ten moves the exponent
    EXPECT_EQ(fmt("E2", 9.999), "1.00E+1");
    EXPECT_EQ(fmt("e2", 0), "0.00e+0");

    EXPECT_EQ(fmt("p3", 0.012345), "0.012");
    EXPECT_EQ(fmt("p3", 12345.6), "12346");
    EXPECT_EQ(fmt("p", 1.5), "1.5");
    EXPECT_EQ(fmt("P2", 0.5), "0.5");
}

TEST(FormatNumber, SignsPrefixesAndNegativeZero) {
    EXPECT_EQ(fmt("0", -0.4), "0");
    EXPECT_EQ(fmt("2", -0.004), "0.00");
    EXPECT_EQ(fmt("", -0.0), "0");
    EXPECT_EQ(fmt("e2", -0.0), "0.00e+0");
    EXPECT_EQ(fmt("1", -0.06), "-0.1");
    EXPECT_EQ(fmt("2,.(", -1234.5), "(1,234.50");
    EXPECT_EQ(fmt("2,.~", -1234.5), "1,234.50");
    EXPECT_EQ(fmt("2,.-$", -1234.5), "-$1,234.50");
    EXPECT_EQ(fmt("2,.-$", 1234.5), "$1,234.50");
    EXPECT_EQ(fmt("0,.-\xE2\x82\xAC", 5), "\xE2\x82\xAC" "5");  // a multi-byte prefix
    EXPECT_EQ(fmt("0,.-\xE2\x82", 5), "\xE2\x82" "5");           // cut short: no read past the end
    EXPECT_EQ(fmt("0???", -5), "-5");
    EXPECT_EQ(fmt("0??~", -5), "5");

    Formatter f;
    f.setNumberFormat('?', ',', '~');
    EXPECT_STREQ(f.format("1", -2.25), "2,3");
}

TEST(FormatNumber, HalvesRoundAwayFromZero) {
    EXPECT_EQ(fmt("0", 2.5), "3");
    EXPECT_EQ(fmt("0", -2.5), "-3");
    EXPECT_EQ(fmt("0", 0.5), "1");
    EXPECT_EQ(fmt("2", 0.125), "0.13");
    EXPECT_EQ(fmt("2", -0.125), "-0.13");
    EXPECT_EQ(fmt("1", 0.25), "0.3");
    EXPECT_EQ(fmt("2", 9.995), "10.00");   // the carry reaches the integer part
    EXPECT_EQ(fmt("2", 0.9999), "1.00");
    EXPECT_EQ(fmt("3", 1.0005), "1.000");  // in binary 1.0005 lies a little below the half
    EXPECT_EQ(fmt("3", 1.0015), "1.002");
}

TEST(FormatNumber, MissingAndNonFiniteValues) {
    EXPECT_EQ(fmt("2", NoValue), "");
    EXPECT_EQ(fmt("", NoValue), "");
    EXPECT_EQ(fmt("e", NoValue), "");
    EXPECT_EQ(fmt("yyyy", NoValue), "");
    EXPECT_EQ(fmt("", std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(fmt("", -std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(fmt("", std::nan("")), "nan");
}

TEST(FormatNumber, HugeAndTinyValuesStayInTheBuffer) {
    // 309 digits do not fit the 255-byte result; such values fall back to scientific style.
    EXPECT_EQ(fmt("", 1e308), "1.000e+308");
    EXPECT_EQ(fmt("2,", -1.5e300), "-1.50e+300");
    EXPECT_EQ(fmt("", 1e200).find('e'), std::string::npos);  // 200 digits still fit
    EXPECT_EQ(fmt("", 1e200).size(), 200u);
    EXPECT_EQ(fmt("e", 5e-324), "4.941e-324");
    EXPECT_EQ(fmt("g", 2.2250738585072014e-308), "2.225e-308");
    EXPECT_EQ(fmt("", 1e-300), "0");
    EXPECT_EQ(fmt("e", std::numeric_limits<double>::max()), "1.798e+308");

    // Absurd precisions are capped; whatever the code, the text fits.
    const char* codes[] = {"999", "99999999999999999999", "e999", "g999", "p999", "@", "999,.-\xF0\x9F\x98\x80"};
    const double values[] = {0, 1e-320, 0.1, -1.0 / 3, 123456.789, 1e22, 1e300, -1.7e308};
    for (const char* code : codes) {
        for (double v : values) {
            std::string s = fmt(code, v);
            EXPECT_LE(s.size(), 255u) << code << " " << v;
            EXPECT_FALSE(s.empty()) << code << " " << v;
        }
    }
    EXPECT_EQ(fmt("999", 0.5), "0.5" + std::string(Formatter::kMaxPrecision - 1, '0'));
}

TEST(FormatNumber, ContextPrecisionAndInheritance) {
    Formatter chart;
    Formatter axis(&chart);
    EXPECT_STREQ(axis.format("@", 3.14159), "3.14159");  // unset: automatic
    EXPECT_EQ(chart.setContextPrecision(2), -1);
    EXPECT_STREQ(axis.format("@", 3.14159), "3.14");
    EXPECT_EQ(axis.setContextPrecision(3), -1);
    EXPECT_STREQ(axis.format("@", 3.14159), "3.142");
    EXPECT_STREQ(axis.format("e@", 31415.9), "3.142e+4");

    chart.setNumberFormat('.', ',', '~');
    EXPECT_STREQ(axis.format("1", -1234.56), "1.234,6");
    axis.setNumberFormat('?', '?', '-');
    EXPECT_STREQ(axis.format("1", -1234.56), "-1.234,6");
    EXPECT_EQ(axis.getThousandSeparator(), '.');
    EXPECT_EQ(axis.getDecimalPointChar(), ',');
    EXPECT_EQ(axis.getSignChar(), '-');

    // A cycle through the parents is refused, so the getters cannot loop.
    EXPECT_FALSE(chart.setParent(&axis));
    EXPECT_FALSE(chart.setParent(&chart));
    EXPECT_EQ(chart.getParent(), nullptr);
}

TEST(FormatNumber, MachineModeIgnoresSeparators) {
    Formatter f;
    f.setNumberFormat(',', ';', '~');
    EXPECT_STREQ(f.format("\x01", 1234567), "1234567");
    EXPECT_STREQ(f.format("\x01", -42), "-42");
    EXPECT_STREQ(f.format("\x01", -0.0), "0");
    EXPECT_STREQ(f.format("\x01", 1e26), "1.000000000000000048E+26");
    EXPECT_EQ(std::strtod(f.format("\x01", 0.1234), nullptr), 0.1234);
    EXPECT_EQ(std::strtod(f.format("\x01", -1.0 / 3), nullptr), -1.0 / 3);
    EXPECT_STREQ(f.format("\x01" "2,;x$", -1234.5), "-1234.50");
    EXPECT_STREQ(f.formatNumber("2", -1234.5, true), "-1234.50");
    EXPECT_STREQ(f.format("\x01", NoValue), "");
}

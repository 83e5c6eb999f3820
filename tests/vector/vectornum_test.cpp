#include "vector/vectornum_p.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

#include "vector/vectoroptions_p.h"

using namespace plotvane;

namespace {

std::string viaPrintf(double v, int decimals, int digits) {
    double p = std::pow(10.0, decimals);
    char format[16], buf[64];
    std::snprintf(format, sizeof format, "%%.%dg", digits);
    std::snprintf(buf, sizeof buf, format, std::floor(v * p + 0.5) / p);
    return buf;
}

std::string number(double v, int decimals, int digits = 6) {
    std::string s;
    appendNumber(s, v, decimals, digits);
    return s;
}

}  // namespace

TEST(VectorNumbers, FastPathPrintsAsPrintfWould) {
    // Rounding to three decimals, then six significant digits: the fast path covers |v| < 1000.
    const double samples[] = {0, 0.5, -0.5, 1e-4, -4e-4, 0.0005, 12.3456, 999.9995, 123.4565, 1234.5678,
                              -98765.4321, 1e-9, 599.5, 0.1 + 0.2};
    for (double v : samples)
        for (int decimals : {0, 3, 4}) EXPECT_EQ(number(v, decimals), viaPrintf(v, decimals, 6)) << v << " " << decimals;
    for (int i = -200000; i <= 200000; i += 7) {
        double v = i / 137.0;
        ASSERT_EQ(number(v, 3), viaPrintf(v, 3, 6)) << v;
    }
    EXPECT_EQ(number(127.0 / 255, 6, 4), "0.498");
    EXPECT_EQ(number(NAN, 3), "0");
    std::string s;
    appendInt(s, -9223372036854775807LL - 1);
    EXPECT_EQ(s, "-9223372036854775808");
}

TEST(VectorNumbers, LargeAndTinyNumbersArePlainDecimals) {
    // PDF has no exponent form: viewers drop a shape whose path holds "1e+06".
    EXPECT_EQ(number(1e6, 3), "1000000");
    EXPECT_EQ(number(-1e6, 3), "-1000000");
    EXPECT_EQ(number(3e7, 0), "30000000");
    EXPECT_EQ(number(1234567.891, 3), "1234570");
    EXPECT_EQ(number(1e20, 3), "100000000000000000000");
    EXPECT_EQ(number(0.00012, 6, 4), "0.00012");
    EXPECT_EQ(number(-0.0000004, 6, 4), "0");
    EXPECT_EQ(number(INFINITY, 3), "0");
    for (double v = 7e5; v < 1e13; v *= 1.37) {
        for (double sign : {1.0, -1.0}) {
            std::string s = number(sign * v, 3);
            ASSERT_EQ(s.find_first_not_of("-0123456789."), std::string::npos) << s;
            EXPECT_NEAR(std::stod(s), sign * v, v * 1e-5) << s;
        }
    }
}

TEST(VectorNumbers, Base64AndColours) {
    auto b64 = [](const std::string& in) {
        std::string out;
        appendBase64(out, reinterpret_cast<const unsigned char*>(in.data()), in.size());
        return out;
    };
    EXPECT_EQ(b64(""), "");
    EXPECT_EQ(b64("f"), "Zg==");
    EXPECT_EQ(b64("fo"), "Zm8=");
    EXPECT_EQ(b64("foo"), "Zm9v");
    EXPECT_EQ(b64(std::string("\xff\xfe\x00", 3)), "//4A");
    std::string c;
    appendHexColor(c, 0x80a1b2c3u);
    EXPECT_EQ(c, "#a1b2c3");
}

TEST(VectorNumbers, OptionsReadCDecimalsWhateverTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    bool comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    VectorOptions o;
    o.lookup = [](const char* key) -> const char* {
        std::string k = key;
        if (k == "dpi") return "72.5";
        if (k == "empty") return "";
        if (k == "text") return "abc";
        if (k == "neg") return "-3";
        if (k == "exp") return "1.5e2";
        return nullptr;
    };
    EXPECT_DOUBLE_EQ(o.getDouble("dpi", 96), 72.5);
    EXPECT_DOUBLE_EQ(o.getDouble("empty", 96), 96);
    EXPECT_DOUBLE_EQ(o.getDouble("absent", 96), 96);
    EXPECT_DOUBLE_EQ(o.getDouble("text", 96), 0);
    EXPECT_DOUBLE_EQ(o.getPositiveDouble("text", 96), 96);
    EXPECT_DOUBLE_EQ(o.getPositiveDouble("neg", 96), 96);
    EXPECT_DOUBLE_EQ(o.getDouble("neg", 96), -3);
    EXPECT_DOUBLE_EQ(o.getDouble("exp", 0), 150);
    EXPECT_TRUE(o.has("empty"));
    EXPECT_FALSE(o.has("absent"));
    if (comma) {
        EXPECT_EQ(number(1234.5678, 3), "1234.57");  // never a decimal comma
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

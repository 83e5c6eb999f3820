// Number formatting.
//
// A number code is read left to right: an optional style letter (e/E scientific, g/G general,
// p/P significant), a precision (digits, or "@" for the formatter's context precision), then one
// character each for the thousands separator, the decimal point and the sign, and finally a
// one-character UTF-8 prefix. "?" keeps the inherited setting and "~" means none.
//
// The value is split into an integer part and a fraction rather than handed to printf, because the
// rules differ from printf's: halves round away from zero, automatic precision prints integers
// bare and fractions with up to six digits, and the general style trims trailing zeros. Rounding
// first decides whether the integer part grows (floor(v + half a unit of the last digit)); only
// when it does not are the fraction digits produced, and a carry found there is still honoured.
//
// The integer part of a huge value can have 309 digits. Everything is assembled in a string and,
// should the text not fit the formatter's 256-byte result, rendered again in scientific style.
// Precisions are capped, so even that fallback is short.
//
// Hot spots and labels format thousands of plain numbers, so fixed-point codes with magnitudes
// below 1e15 take a second route that follows the same rounding steps but makes its digits with
// integer arithmetic in a stack buffer: no printf, no allocation. The general route stays as the
// reference that the tests hold the fast one to.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <string>

#include <plotvane/constants.h>

#include "text/formatnumber_p.h"
#include "text/formatter_p.h"

namespace plotvane {

namespace {

int utf8Length(unsigned char lead) {
    if (lead >= 0xfc) return 6;
    if (lead >= 0xf8) return 5;
    if (lead >= 0xf0) return 4;
    if (lead >= 0xe0) return 3;
    if (lead >= 0xc0) return 2;
    return 1;
}

}  // namespace

NumberCode parseNumberCode(const char* p, const Formatter& formatter, bool machine) {
    NumberCode code;
    if (*p && std::strchr("eEgGpP", *p)) code.style = *p++;
    if (*p == '@') {
        code.precision = formatter.getContextPrecision();
        ++p;
    } else if (*p >= '0' && *p <= '9') {
        int precision = 0;
        for (; *p >= '0' && *p <= '9'; ++p) precision = std::min(precision * 10 + (*p - '0'), 1000000);
        code.precision = precision;
    }
    code.precision = std::min(code.precision, Formatter::kMaxPrecision);
    code.thousands = formatter.getThousandSeparator();
    code.point = formatter.getDecimalPointChar();
    code.sign = formatter.getSignChar();
    if (*p) {
        char c = *p++;
        if (c != '?') code.thousands = c == '~' ? 0 : c;
    }
    if (*p) {
        char c = *p++;
        if (c != '?') code.point = c == '~' ? '.' : c;
    }
    if (*p) {
        char c = *p++;
        if (c != '?') code.sign = c == '~' ? 0 : c;
    }
    if (*p && *p != '?' && *p != '~') {
        int n = utf8Length(static_cast<unsigned char>(*p));
        for (int i = 0; i < n && p[i]; ++i) code.prefix += p[i];
    }
    if (machine) {
        code.thousands = 0;
        code.point = '.';
        code.sign = '-';
        code.prefix.clear();
    }
    return code;
}

namespace {

double powerOfTen(int e) {
    static const double kExact[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    // Filled by pow itself, so a table hit gives exactly what pow would.
    static const std::array<double, 16> kNegative = [] {
        std::array<double, 16> t{};
        for (int i = 0; i < 16; ++i) t[static_cast<size_t>(i)] = std::pow(10.0, -i);
        return t;
    }();
    if (e >= 0 && e <= 15) return kExact[e];
    if (e < 0 && e >= -15) return kNegative[static_cast<size_t>(-e)];
    return std::pow(10.0, e);
}

// v / 10^e without overflowing the divisor for subnormal v.
double scaleDown(double v, int e) {
    if (e >= -300) return v / powerOfTen(e);
    return v * 1e300 / powerOfTen(e + 300);
}

// floor(log10(v)) for finite v > 0, corrected where log10 rounds across a power of ten.
int decimalExponent(double v) {
    if (v == 0) return 0;
    int e = static_cast<int>(std::floor(std::log10(v)));
    double m = scaleDown(v, e);
    if (m >= 10) ++e;
    else if (m < 1) --e;
    return e;
}

// Exactly n fraction digits of f (0 <= f < 1), halves rounded up; a carry bumps the integer part.
std::string fractionDigits(double f, int n, double& integer) {
    if (n <= 0) return std::string();
    if (f == 0) return std::string(n, '0');
    char buf[Formatter::kMaxPrecision + 8];
    if (n <= 15) {
        double scale = powerOfTen(n);
        double d = std::floor(f * scale + 0.5);
        if (d >= scale) {
            integer += 1;
            d = 0;
        }
        std::snprintf(buf, sizeof buf, "%0*.0f", n, d);
        return buf;
    }
    // Past fifteen digits a double has nothing left to round; printf's exact expansion will do.
    std::snprintf(buf, sizeof buf, "%.*f", n, f);
    if (buf[0] == '1') {
        integer += 1;
        return std::string(n, '0');
    }
    return std::string(buf + 2);
}

std::string groupedInteger(double integer, char separator) {
    char buf[320];
    std::snprintf(buf, sizeof buf, "%.0f", integer);
    if (!separator) return buf;
    std::string digits(buf);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

// Digits of an integer below 2^64, grouped by threes from the right; returns the end.
char* writeGrouped(char* out, uint64_t n, char separator) {
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n);
    for (int i = count - 1; i >= 0; --i) {
        *out++ = digits[i];
        if (separator && i > 0 && i % 3 == 0) *out++ = separator;
    }
    return out;
}

}  // namespace

std::string renderNumber(double value, NumberCode code) {
    bool negative = value < 0;
    double v = std::fabs(value);
    char style = code.style;
    int precision = code.precision;
    bool trimZeros = false;
    bool plusInExponent = style == 'e' || style == 'E';

    if (style == 'g' || style == 'G') {
        int p = precision < 0 ? 4 : precision;
        int e = decimalExponent(v);
        trimZeros = true;
        if (e >= -3 && e < p) {
            style = 0;
            precision = e < 0 ? (p >= 5 ? p : 4) : p - e - 1;
        } else {
            style = style == 'g' ? 'e' : 'E';
            precision = std::max(p - 1, 0);
        }
    } else if (style == 'p' || style == 'P') {
        int p = precision < 0 ? 3 : precision;
        precision = std::max(0, std::min(p, p - decimalExponent(v)));
        trimZeros = true;
        style = 0;
    }

    int exponent = 0;
    bool scientific = style == 'e' || style == 'E';
    if (scientific) {
        exponent = decimalExponent(v);
        v = scaleDown(v, exponent);
        if (precision < 0) precision = 3;
    }

    double integer = std::floor(v);
    double fraction = v - integer;
    std::string digits;
    if (fraction > 0.999999999999) {
        integer += 1;
        fraction = 0;
    } else if (fraction < 1e-12) {
        fraction = 0;
    }
    if (precision >= 0) {
        if (fraction > 0 && std::floor(v + 0.5 * powerOfTen(-precision)) != integer) {
            integer = std::floor(v + 0.5 * powerOfTen(-precision));
            fraction = 0;
        }
        digits = fractionDigits(fraction, precision, integer);
    } else if (fraction > 0) {
        if (integer >= fraction * 1e8) {
            integer = std::floor(v + 0.5);
        } else if (std::floor(v + 5e-7) != integer) {
            integer = std::floor(v + 5e-7);
        } else {
            digits = fractionDigits(fraction, 6, integer);
            trimZeros = true;
        }
    }
    if (trimZeros) digits.erase(digits.find_last_not_of('0') + 1);
    if (scientific && integer >= 10) {
        integer = 1;
        ++exponent;
    }
    // A result that shows no significant digit is never negative.
    if (integer == 0 && digits.find_first_not_of('0') == std::string::npos) negative = false;

    std::string out;
    if (negative && code.sign) out += code.sign;
    out += code.prefix;
    out += groupedInteger(integer, code.thousands);
    if (!digits.empty()) {
        out += code.point;
        out += digits;
    }
    if (scientific) {
        out += style;
        if (plusInExponent && exponent >= 0) out += '+';
        out += std::to_string(exponent);
    }
    if (out.size() > static_cast<size_t>(Formatter::kMaxResult) && !scientific) {
        code.style = 'e';
        return renderNumber(value, code);
    }
    return out;
}

size_t renderFixedNumber(double value, const NumberCode& code, char* out) {
    double v = std::fabs(value);
    if (code.style || code.precision > 15 || !(v < 1e15)) return 0;
    double integer = std::floor(v);
    double fraction = v - integer;
    if (fraction > 0.999999999999) {
        integer += 1;
        fraction = 0;
    } else if (fraction < 1e-12) {
        fraction = 0;
    }
    // The fraction digits as one integer of `width` digits, leading zeros implied.
    double digits = 0;
    int width = 0;
    if (code.precision >= 0) {
        width = code.precision;
        double rounded = std::floor(v + 0.5 * powerOfTen(-code.precision));
        if (fraction > 0 && rounded != integer) {
            integer = rounded;
        } else if (fraction > 0 && width > 0) {
            double scale = powerOfTen(width);
            digits = std::floor(fraction * scale + 0.5);
            if (digits >= scale) {
                integer += 1;
                digits = 0;
            }
        }
    } else if (fraction > 0) {
        if (integer >= fraction * 1e8) {
            integer = std::floor(v + 0.5);
        } else if (std::floor(v + 5e-7) != integer) {
            integer = std::floor(v + 5e-7);
        } else {
            digits = std::floor(fraction * 1e6 + 0.5);
            width = 6;
            if (digits >= 1e6) {
                integer += 1;
                digits = 0;
            }
        }
    }
    auto fractionDigits = static_cast<uint64_t>(digits);
    if (code.precision < 0) {
        for (; width > 0 && fractionDigits % 10 == 0; --width) fractionDigits /= 10;
    }
    char* p = out;
    if (value < 0 && code.sign && (integer != 0 || fractionDigits != 0)) *p++ = code.sign;
    for (char c : code.prefix) *p++ = c;
    p = writeGrouped(p, static_cast<uint64_t>(integer), code.thousands);
    if (width > 0) {
        *p++ = code.point;
        for (int i = width - 1; i >= 0; --i) {
            p[i] = static_cast<char>('0' + fractionDigits % 10);
            fractionDigits /= 10;
        }
        p += width;
    }
    return static_cast<size_t>(p - out);
}

namespace {

std::string renderMachineNumber(double value) {
    char buf[64];
    if (std::floor(value) == value && std::fabs(value) <= 1e25) {
        std::snprintf(buf, sizeof buf, "%.0f", value == 0 ? 0.0 : value);
    } else {
        std::snprintf(buf, sizeof buf, "%.18E", value);
    }
    return buf;
}

}  // namespace

const char* Formatter::formatNumber(const char* code, double value, bool machineMode) {
    if (!code) code = "";
    if (code[0] == kMachineMode) {
        machineMode = true;
        ++code;
    }
    if (value == Chart::NoValue) return setResult(std::string());
    if (std::isnan(value)) return setResult("nan");
    NumberCode parsed = parseNumberCode(code, *this, machineMode);
    if (std::isinf(value)) {
        std::string text = value < 0 && parsed.sign ? std::string(1, parsed.sign) : std::string();
        return setResult(text + "inf");
    }
    if (machineMode && parsed.style == 0 && parsed.precision < 0) return setResult(renderMachineNumber(value));
    char fast[kMaxFixedNumber];
    if (size_t n = renderFixedNumber(value, parsed, fast)) return setResult(fast, n);
    return setResult(renderNumber(value, parsed));
}

}  // namespace plotvane

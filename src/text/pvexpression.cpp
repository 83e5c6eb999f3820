// Arithmetic field expressions.
//
// A small recursive-descent reader over the text that the substituted fields left behind: sums of
// terms, terms of factors joined by *, /, ^ or % at one precedence (so 2*3^2 is 36), factors with
// an optional sign and either a parenthesised expression or a number. A number is whatever stands
// up to the next operator character, read in the C locale whatever the process locale is; text
// that is no number counts as 0, and so does an empty factor. Parentheses nested deeper than a
// fixed limit count as 0 too, which bounds the recursion for any input.
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "text/pvparser_p.h"

namespace plotvane {

namespace {

constexpr int kMaxNesting = 64;

bool isOperator(char c) { return c && std::strchr("+-*/%^()", c); }
bool isTermOperator(char c) { return c == '*' || c == '/' || c == '^' || c == '%'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

class ExpressionReader {
public:
    ExpressionReader(const char* begin, const char* end) : p_(begin), end_(end) {}

    double expression() {
        double value = term();
        for (;;) {
            skipBlanks();
            if (p_ == end_ || (*p_ != '+' && *p_ != '-')) return value;
            char op = *p_++;
            double right = term();
            value = op == '+' ? value + right : value - right;
        }
    }

private:
    double term() {
        double value = factor();
        for (;;) {
            skipBlanks();
            if (p_ == end_ || !isTermOperator(*p_)) return value;
            char op = *p_++;
            double right = factor();
            if (op == '*') value *= right;
            else if (op == '/') value /= right;
            else if (op == '^') value = std::pow(value, right);
            else value = std::fmod(value, right);
        }
    }

    double factor() {
        skipBlanks();
        double sign = 1;
        if (p_ != end_ && (*p_ == '+' || *p_ == '-')) {
            if (*p_ == '-') sign = -1;
            ++p_;
            skipBlanks();
        }
        if (p_ == end_ || *p_ != '(') return sign * number();
        ++p_;
        if (depth_ >= kMaxNesting) {
            skipGroup();
            return 0;
        }
        ++depth_;
        double value = expression();
        --depth_;
        skipBlanks();
        if (p_ != end_ && *p_ == ')') ++p_;
        return sign * value;
    }

    double number() {
        skipBlanks();
        const char* start = p_;
        // An exponent sign belongs to a number such as 1e+5.
        bool numeric = p_ != end_ && ((*p_ >= '0' && *p_ <= '9') || *p_ == '.');
        while (p_ != end_ && !isOperator(*p_)) {
            if (numeric && (*p_ == 'e' || *p_ == 'E') && end_ - p_ > 1 && (p_[1] == '+' || p_[1] == '-')) ++p_;
            ++p_;
        }
        const char* stop = p_;
        while (stop > start && isBlank(stop[-1])) --stop;
        double value = 0;
        std::from_chars_result r = std::from_chars(start, stop, value);
        if (r.ec == std::errc::result_out_of_range) {
            // Too large or too small for a double: keep the direction of the overflow.
            std::string token(start, stop);
            bool tiny = token.find("e-") != std::string::npos || token.find("E-") != std::string::npos;
            return tiny ? 0 : HUGE_VAL;
        }
        return r.ec == std::errc() ? value : 0;
    }

    void skipBlanks() {
        while (p_ != end_ && isBlank(*p_)) ++p_;
    }

    // Past the parenthesis matching the one just read, or to the end.
    void skipGroup() {
        for (int open = 1; p_ != end_ && open > 0; ++p_) {
            if (*p_ == '(') ++open;
            else if (*p_ == ')') --open;
        }
    }

    const char* p_;
    const char* end_;
    int depth_ = 0;
};

}  // namespace

double evaluateExpression(const char* begin, const char* end) {
    if (!begin || end <= begin) return 0;
    return ExpressionReader(begin, end).expression();
}

}  // namespace plotvane

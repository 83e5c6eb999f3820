#include "lexer.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace testhost {

std::string Fault::text() const {
    return "line " + std::to_string(at.line) + ", column " + std::to_string(at.column) + ": " + message;
}

std::string lowerCase(const std::string& s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool sameWord(const std::string& a, const char* b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    std::size_t i = 0;
    for (; i < a.size(); ++i) {
        if (!b[i] || lower(a[i]) != lower(b[i])) return false;
    }
    return !b[i];
}

bool Token::is(const char* symbolOrKeyword) const {
    if (kind == Kind::Symbol) return std::strcmp(text.c_str(), symbolOrKeyword) == 0;
    return kind == Kind::Name && sameWord(text, symbolOrKeyword);
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isNameChar(char c) { return isNameStart(c) || isDigit(c); }
int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Lexer {
public:
    Lexer(const std::string& source, std::vector<Token>& tokens, Fault& fault)
        : src_(source), tokens_(tokens), fault_(fault) {}

    bool run() {
        while (i_ < src_.size()) {
            char c = src_[i_];
            if (c == ' ' || c == '\t') {
                advance();
            } else if (c == '\r' || c == '\n') {
                newLine();
            } else if (c == '\'' || (c == '/' && peek(1) == '/')) {
                skipComment();
            } else if (c == '_' && !isNameChar(peek(1)) && continuesLine()) {
                // the line goes on: continuesLine consumed the line break
            } else if (isNameStart(c)) {
                name();
            } else if (isDigit(c)) {
                if (!number()) return false;
            } else if (c == '"') {
                if (!string()) return false;
            } else if (c == '&' && (peek(1) == 'h' || peek(1) == 'H' || peek(1) == 'c' || peek(1) == 'C') &&
                       hexValue(peek(2)) >= 0) {
                if (!hexLiteral()) return false;
            } else if (!symbol()) {
                return false;
            }
        }
        Token end = make(Token::Kind::EndOfLine);
        tokens_.push_back(end);
        end.kind = Token::Kind::EndOfFile;
        tokens_.push_back(end);
        return true;
    }

private:
    char peek(std::size_t ahead) const { return i_ + ahead < src_.size() ? src_[i_ + ahead] : '\0'; }

    // Columns count characters, not the bytes of their UTF-8 encoding.
    void advance() {
        ++i_;
        while (i_ < src_.size() && (static_cast<unsigned char>(src_[i_]) & 0xC0) == 0x80) ++i_;
        ++at_.column;
    }

    Token make(Token::Kind kind) const {
        Token t;
        t.kind = kind;
        t.at = at_;
        return t;
    }

    bool fail(Position at, const std::string& message) {
        fault_.at = at;
        fault_.message = message;
        return false;
    }

    void newLine() {
        if (tokens_.empty() || tokens_.back().kind != Token::Kind::EndOfLine) tokens_.push_back(make(Token::Kind::EndOfLine));
        if (src_[i_] == '\r' && peek(1) == '\n') ++i_;
        ++i_;
        ++at_.line;
        at_.column = 1;
    }

    void skipComment() {
        while (i_ < src_.size() && src_[i_] != '\r' && src_[i_] != '\n') advance();
    }

    // "_" ends a line that goes on below, a comment allowed after it.
    bool continuesLine() {
        std::size_t j = i_ + 1;
        while (j < src_.size() && (src_[j] == ' ' || src_[j] == '\t')) ++j;
        bool comment = j < src_.size() && (src_[j] == '\'' || (src_[j] == '/' && j + 1 < src_.size() && src_[j + 1] == '/'));
        if (j < src_.size() && src_[j] != '\r' && src_[j] != '\n' && !comment) return false;
        while (i_ < src_.size() && src_[i_] != '\r' && src_[i_] != '\n') advance();
        if (i_ < src_.size()) {
            if (src_[i_] == '\r' && peek(1) == '\n') ++i_;
            ++i_;
            ++at_.line;
            at_.column = 1;
        }
        return true;
    }

    void name() {
        Token t = make(Token::Kind::Name);
        std::size_t start = i_;
        while (i_ < src_.size() && isNameChar(src_[i_])) advance();
        t.text = src_.substr(start, i_ - start);
        tokens_.push_back(t);
    }

    bool number() {
        Token t = make(Token::Kind::Integer);
        std::size_t start = i_;
        while (isDigit(peek(0))) advance();
        if (peek(0) == '.' && isDigit(peek(1))) {
            t.kind = Token::Kind::Double;
            advance();
            while (isDigit(peek(0))) advance();
        }
        if ((peek(0) == 'e' || peek(0) == 'E') &&
            (isDigit(peek(1)) || ((peek(1) == '+' || peek(1) == '-') && isDigit(peek(2))))) {
            t.kind = Token::Kind::Double;
            advance();
            advance();
            while (isDigit(peek(0))) advance();
        }
        if (isNameChar(peek(0))) return fail(at_, "unexpected '" + std::string(1, peek(0)) + "' in a number");
        std::string digits = src_.substr(start, i_ - start);
        errno = 0;
        if (t.kind == Token::Kind::Integer) {
            unsigned long long v = std::strtoull(digits.c_str(), nullptr, 10);
            if (errno == ERANGE || v > 0x7fffffffffffffffULL) return fail(t.at, "the number " + digits + " is too large");
            t.integer = static_cast<std::int64_t>(v);
        } else {
            t.number = std::strtod(digits.c_str(), nullptr);
            if (!std::isfinite(t.number)) return fail(t.at, "the number " + digits + " is too large");
        }
        tokens_.push_back(t);
        return true;
    }

    bool string() {
        Token t = make(Token::Kind::String);
        advance();
        for (;;) {
            if (i_ >= src_.size() || src_[i_] == '\r' || src_[i_] == '\n') return fail(t.at, "unterminated string");
            if (src_[i_] == '"') {
                if (peek(1) != '"') break;
                advance();  // "" stands for one quote
            }
            std::size_t start = i_;
            advance();
            t.text.append(src_, start, i_ - start);
        }
        advance();
        tokens_.push_back(t);
        return true;
    }

    // &hFFFF0001 is an Integer (up to 64 bits); &c336699 a Color.
    bool hexLiteral() {
        bool color = peek(1) == 'c' || peek(1) == 'C';
        Token t = make(color ? Token::Kind::Color : Token::Kind::Integer);
        advance();
        advance();
        std::uint64_t v = 0;
        int digits = 0;
        for (; hexValue(peek(0)) >= 0; ++digits) {
            v = (v << 4) | static_cast<unsigned>(hexValue(peek(0)));
            advance();
        }
        if (isNameChar(peek(0))) return fail(at_, "unexpected '" + std::string(1, peek(0)) + "' in a hexadecimal number");
        if (color && digits != 6) return fail(t.at, "a colour is written &c and six hexadecimal digits");
        if (digits > 16) return fail(t.at, "the number has more than 16 hexadecimal digits");
        t.integer = static_cast<std::int64_t>(v);
        tokens_.push_back(t);
        return true;
    }

    bool symbol() {
        static const char* const twoChar[] = {"<>", "<=", ">="};
        for (const char* s : twoChar) {
            if (src_[i_] == s[0] && peek(1) == s[1]) {
                Token t = make(Token::Kind::Symbol);
                t.text = s;
                advance();
                advance();
                tokens_.push_back(t);
                return true;
            }
        }
        static const std::string single = "+-*/\\^=<>(),.&";
        if (single.find(src_[i_]) == std::string::npos) {
            std::size_t start = i_;
            Position at = at_;
            advance();
            unsigned char byte = static_cast<unsigned char>(src_[start]);
            if (byte < 0x20 || byte == 0x7f) return fail(at, "unexpected character " + std::to_string(byte));
            return fail(at, "unexpected '" + src_.substr(start, i_ - start) + "'");
        }
        Token t = make(Token::Kind::Symbol);
        t.text = std::string(1, src_[i_]);
        advance();
        tokens_.push_back(t);
        return true;
    }

    const std::string& src_;
    std::vector<Token>& tokens_;
    Fault& fault_;
    std::size_t i_ = 0;
    Position at_;
};

}  // namespace

bool tokenize(const std::string& source, std::vector<Token>& tokens, Fault& fault) {
    tokens.clear();
    return Lexer(source, tokens, fault).run();
}

}  // namespace testhost

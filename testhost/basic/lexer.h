// Splits a program into tokens. Names and keywords are one kind of token, told apart by the parser
// without regard to case; comments and line continuations never reach it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testhost {

struct Position {
    int line = 1;
    int column = 1;
};

// A fault of the program, reported as "line L, column C: message".
struct Fault {
    Position at;
    std::string message;
    std::string text() const;
};

struct Token {
    enum class Kind { Name, Integer, Double, String, Color, Symbol, EndOfLine, EndOfFile };
    Kind kind = Kind::EndOfFile;
    Position at;
    std::string text;  // the name, the symbol, or the string's contents
    std::int64_t integer = 0;
    double number = 0;
    bool is(const char* symbolOrKeyword) const;  // a symbol, or a name compared without case
};

// Fills tokens and returns true, or sets fault and returns false.
bool tokenize(const std::string& source, std::vector<Token>& tokens, Fault& fault);

std::string lowerCase(const std::string& s);
// Equal without regard to ASCII case, and without making copies.
bool sameWord(const std::string& a, const char* b);

}  // namespace testhost

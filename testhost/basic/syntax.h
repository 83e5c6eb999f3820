// The parsed program: expressions and statements as the parser builds them and the interpreter
// walks them. Names are kept as written; lookups lower-case them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lexer.h"
#include "objectmodel.h"
#include "values.h"

namespace testhost {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;
using ExprList = std::vector<ExprPtr>;

struct Expr {
    enum class Kind {
        Literal,  // value
        Name,     // a variable, or a class before "."
        Apply,    // name(args): an array element or a built-in function
        Member,   // target.name, target.name(args), target.name args
        New,      // New name(args)
        Unary,    // op target
        Binary,   // target op right
    };
    Kind kind = Kind::Literal;
    Position at;
    int depth = 1;  // of the tree below, so that walking it stays within the stack
    Value value;
    std::string name;  // the name or the member, as written
    std::string key;   // the same in lower case, for lookups
    Op op = Op::Add;
    ExprPtr target;
    ExprPtr right;
    ExprList args;
    bool hasArgs = false;  // written with an argument list, even an empty "()"
};

struct Stmt;
using Block = std::vector<std::unique_ptr<Stmt>>;

struct TypeName {
    std::string name;  // as written: Integer, Double, String, Boolean, Color or a class
    bool isArray = false;
};

struct Declared {
    std::string name;  // as written
    std::string key;   // in lower case
};

struct CatchClause {
    Position at;
    Declared variable;  // may be empty
    std::string className;  // empty catches everything
    Block body;
};

struct Branch {
    ExprPtr condition;  // null for Else
    Block body;
};

struct Stmt {
    enum class Kind { Dim, Assign, Call, If, For, While, Print, Try };
    Kind kind = Kind::Call;
    Position at;
    // Dim: names share the type; arraySize for "Dim a(n)"; init for "= value" or "As New".
    std::vector<Declared> names;
    TypeName type;
    ExprPtr arraySize;
    ExprPtr init;
    // Assign: target = value; Call and Print: value; For: names[0], init To limit Step step.
    ExprPtr target;
    ExprPtr value;
    ExprPtr limit;
    ExprPtr step;
    bool downTo = false;
    bool declaresCounter = false;  // For i As Integer = ...
    std::vector<Branch> branches;  // If (Else last, without condition); While and For use one
    std::vector<CatchClause> catches;
};

}  // namespace testhost

#include "parser.h"

#include <algorithm>
#include <vector>

namespace testhost {

namespace {

// Words that never name a variable. The second group is the host's, left out of this subset, so
// that a program using them hears what was not understood.
const char* const kKeywords[] = {"and", "as", "call", "catch", "dim", "downto", "else", "elseif", "end",
                                 "false", "for", "if", "is", "mod", "new", "next", "nil", "not", "or",
                                 "print", "step", "then", "to", "true", "try", "wend", "while", "xor"};
const char* const kUnsupported[] = {"const", "do", "exit", "finally", "function", "goto", "loop", "me",
                                    "raise", "redim", "return", "select", "self", "static", "sub", "var",
                                    "with"};

template <std::size_t N>
bool inList(const Token& t, const char* const (&words)[N]) {
    return t.kind == Token::Kind::Name &&
           std::any_of(std::begin(words), std::end(words), [&](const char* w) { return sameWord(t.text, w); });
}

bool isKeyword(const Token& t) { return inList(t, kKeywords); }
bool isUnsupported(const Token& t) { return inList(t, kUnsupported); }

std::string describe(const Token& t) {
    switch (t.kind) {
    case Token::Kind::EndOfLine: return "the end of the line";
    case Token::Kind::EndOfFile: return "the end of the program";
    case Token::Kind::String: return "a string";
    case Token::Kind::Integer:
    case Token::Kind::Double:
    case Token::Kind::Color: return "a number";
    default: return "'" + t.text + "'";
    }
}

// Binary operators by precedence, loosest first; "Not" sits between "And" and the comparisons.
struct BinaryOperator {
    const char* text;
    Op op;
};
const std::vector<std::vector<BinaryOperator>> kLevels = {
    {{"or", Op::Or}, {"xor", Op::Xor}},
    {{"and", Op::And}},
    {},
    {{"=", Op::Eq}, {"<>", Op::Ne}, {"<", Op::Lt}, {">", Op::Gt}, {"<=", Op::Le}, {">=", Op::Ge}, {"is", Op::Is}},
    {{"&", Op::Concat}},
    {{"+", Op::Add}, {"-", Op::Sub}},
    {{"mod", Op::Mod}},
    {{"\\", Op::IntDiv}},
    {{"*", Op::Mul}, {"/", Op::Div}},
};
const int kNotLevel = 2;

class Parser {
public:
    Parser(const std::vector<Token>& tokens, const Limits& limits, Fault& fault)
        : tokens_(tokens), limits_(limits), fault_(fault) {}

    bool program(Block& out) { return block(out, {}); }

private:
    const Token& peek() const { return tokens_[pos_]; }
    const Token& next() {
        const Token& t = peek();
        if (pos_ < tokens_.size() - 1) ++pos_;
        return t;
    }
    bool accept(const char* word) {
        if (!peek().is(word)) return false;
        next();
        return true;
    }
    bool fail(Position at, const std::string& message) {
        fault_.at = at;
        fault_.message = message;
        return false;
    }
    bool expect(const char* word, const std::string& where) {
        if (accept(word)) return true;
        return fail(peek().at, "expected '" + std::string(word) + "' " + where + ", found " + describe(peek()));
    }
    bool endOfStatement() {
        if (peek().kind == Token::Kind::EndOfLine || peek().kind == Token::Kind::EndOfFile) {
            next();
            return true;
        }
        return fail(peek().at, "expected the end of the line, found " + describe(peek()));
    }
    void skipBlankLines() {
        while (peek().kind == Token::Kind::EndOfLine) next();
    }
    bool variableName(Declared& out, const char* what) {
        const Token& t = peek();
        if (t.kind != Token::Kind::Name) return fail(t.at, std::string("expected ") + what + ", found " + describe(t));
        if (isKeyword(t) || isUnsupported(t)) return fail(t.at, "'" + t.text + "' is a keyword and cannot be " + what);
        out.name = next().text;
        out.key = lowerCase(out.name);
        return true;
    }

    // Statements up to one that starts with a word in enders (left for the caller) or the end.
    bool block(Block& out, const std::vector<const char*>& enders) {
        for (;;) {
            skipBlankLines();
            const Token& t = peek();
            if (t.kind == Token::Kind::EndOfFile) return true;
            for (const char* e : enders) {
                if (t.is(e)) return true;
            }
            auto s = std::make_unique<Stmt>();
            if (!statement(*s)) return false;
            out.push_back(std::move(s));
        }
    }

    bool nested(Position at, bool (Parser::*parse)(Stmt&), Stmt& s) {
        if (++nesting_ > limits_.maxBlockNesting) {
            return fail(at, "blocks are nested more than " + std::to_string(limits_.maxBlockNesting) + " deep");
        }
        bool ok = (this->*parse)(s);
        --nesting_;
        return ok;
    }

    bool statement(Stmt& s) {
        const Token& t = peek();
        s.at = t.at;
        if (t.is("dim")) return dimStatement(s);
        if (t.is("if")) return nested(t.at, &Parser::ifStatement, s);
        if (t.is("for")) return nested(t.at, &Parser::forStatement, s);
        if (t.is("while")) return nested(t.at, &Parser::whileStatement, s);
        if (t.is("try")) return nested(t.at, &Parser::tryStatement, s);
        if (!simpleStatement(s)) return false;
        return endOfStatement();
    }

    // Statements that fit on one line, also after a one-line "If ... Then".
    bool simpleStatement(Stmt& s) {
        const Token& t = peek();
        s.at = t.at;
        if (accept("print")) {
            s.kind = Stmt::Kind::Print;
            if (peek().kind == Token::Kind::EndOfLine || peek().kind == Token::Kind::EndOfFile) return true;
            return expression(s.value);
        }
        if (accept("call")) {
            s.kind = Stmt::Kind::Call;
            if (!postfix(s.value)) return false;
            return callShape(s.value, t.at);
        }
        if (t.kind != Token::Kind::Name || isUnsupported(t) || (isKeyword(t) && !t.is("new"))) {
            return fail(t.at, misplaced(t));
        }
        ExprPtr lhs;
        if (!postfix(lhs)) return false;
        if (accept("=")) {
            s.kind = Stmt::Kind::Assign;
            s.target = std::move(lhs);
            return expression(s.value);
        }
        s.kind = Stmt::Kind::Call;
        // A method called without parentheses: obj.method a, b
        if (peek().kind != Token::Kind::EndOfLine && peek().kind != Token::Kind::EndOfFile &&
            lhs->kind == Expr::Kind::Member && !lhs->hasArgs) {
            lhs->hasArgs = true;
            if (!arguments(lhs->args, nullptr) || !finish(lhs)) return false;
        }
        s.value = std::move(lhs);
        return callShape(s.value, t.at);
    }

    static std::string misplaced(const Token& t) {
        static const char* const closers[][2] = {{"next", "For"},    {"wend", "While"}, {"catch", "Try"},
                                                 {"else", "If"},     {"elseif", "If"},  {"end", "a block to close"}};
        for (const auto& c : closers) {
            if (t.is(c[0])) return "'" + t.text + "' without " + c[1];
        }
        if (isUnsupported(t) || isKeyword(t)) return "'" + t.text + "' is not understood here";
        return "expected a statement, found " + describe(t);
    }

    bool callShape(const ExprPtr& e, Position at) {
        if (e->kind == Expr::Kind::Member || e->kind == Expr::Kind::Apply) return true;
        return fail(at, "expected a call or an assignment");
    }

    bool typeName(TypeName& type) {
        const Token& t = peek();
        if (t.kind != Token::Kind::Name || isKeyword(t)) return fail(t.at, "expected a type name, found " + describe(t));
        type.name = next().text;
        return true;
    }

    // Dim a, b As Integer / Dim a() As Double = Array(...) / Dim a(n) As Integer / Dim c As New X(...)
    bool dimStatement(Stmt& s) {
        next();
        s.kind = Stmt::Kind::Dim;
        for (;;) {
            Declared name;
            if (!variableName(name, "a variable name")) return false;
            s.names.push_back(name);
            if (accept("(")) {
                s.type.isArray = true;
                if (!peek().is(")") && !expression(s.arraySize)) return false;
                if (!expect(")", "after the array size")) return false;
            }
            if (!accept(",")) break;
        }
        if (s.type.isArray && s.names.size() > 1) return fail(s.at, "declare one array per Dim");
        if (!expect("As", "and a type after the variable name")) return false;
        if (peek().is("new")) {
            if (s.type.isArray || s.names.size() > 1) return fail(peek().at, "New makes one object: declare one variable");
            if (!newExpression(s.init)) return false;
            s.type.name = s.init->name;
            return endOfStatement();
        }
        if (!typeName(s.type)) return false;
        if (accept("=")) {
            if (s.names.size() > 1) return fail(s.at, "only one variable can be given a value in its Dim");
            if (s.arraySize) return fail(s.at, "an array of a given size cannot be given a value in its Dim");
            if (!expression(s.init)) return false;
        }
        return endOfStatement();
    }

    bool ifStatement(Stmt& s) {
        s.kind = Stmt::Kind::If;
        next();
        Branch first;
        if (!expression(first.condition) || !expect("Then", "after the condition")) return false;
        if (peek().kind != Token::Kind::EndOfLine) {  // If cond Then statement
            auto body = std::make_unique<Stmt>();
            if (!simpleStatement(*body)) return false;
            first.body.push_back(std::move(body));
            s.branches.push_back(std::move(first));
            return endOfStatement();
        }
        if (!endOfStatement() || !block(first.body, {"elseif", "else", "end"})) return false;
        s.branches.push_back(std::move(first));
        while (peek().is("elseif")) {
            next();
            Branch b;
            if (!expression(b.condition) || !expect("Then", "after the condition") || !endOfStatement() ||
                !block(b.body, {"elseif", "else", "end"})) {
                return false;
            }
            s.branches.push_back(std::move(b));
        }
        if (accept("else")) {
            Branch b;
            if (!endOfStatement() || !block(b.body, {"end"})) return false;
            s.branches.push_back(std::move(b));
        }
        return closing(s.at, "If");
    }

    // "End If", "End Try": reaching the end of the program first is reported at the opening word.
    bool closing(Position opened, const char* word) {
        if (peek().kind == Token::Kind::EndOfFile) return fail(opened, std::string(word) + " without End " + word);
        if (!expect("End", std::string("to close the ") + word + " block")) return false;
        if (!expect(word, "after End")) return false;
        return endOfStatement();
    }

    bool forStatement(Stmt& s) {
        s.kind = Stmt::Kind::For;
        next();
        Declared counter;
        if (!variableName(counter, "a loop counter")) return false;
        s.names.push_back(counter);
        if (accept("as")) {
            s.declaresCounter = true;
            if (!typeName(s.type)) return false;
        }
        if (!expect("=", "after the loop counter") || !expression(s.init)) return false;
        if (accept("downto")) {
            s.downTo = true;
        } else if (!expect("To", "after the start value")) {
            return false;
        }
        if (!expression(s.limit)) return false;
        if (accept("step") && !expression(s.step)) return false;
        Branch body;
        if (!endOfStatement() || !block(body.body, {"next"})) return false;
        s.branches.push_back(std::move(body));
        if (peek().kind == Token::Kind::EndOfFile) return fail(s.at, "For without Next");
        next();
        if (peek().kind == Token::Kind::Name && !accept(counter.name.c_str())) {
            return fail(peek().at, "Next names '" + peek().text + "', the loop counts '" + counter.name + "'");
        }
        return endOfStatement();
    }

    bool whileStatement(Stmt& s) {
        s.kind = Stmt::Kind::While;
        next();
        Branch body;
        if (!expression(body.condition) || !endOfStatement() || !block(body.body, {"wend"})) return false;
        s.branches.push_back(std::move(body));
        if (peek().kind == Token::Kind::EndOfFile) return fail(s.at, "While without Wend");
        next();
        return endOfStatement();
    }

    bool tryStatement(Stmt& s) {
        s.kind = Stmt::Kind::Try;
        next();
        Branch body;
        if (!endOfStatement() || !block(body.body, {"catch", "end"})) return false;
        s.branches.push_back(std::move(body));
        while (peek().is("catch")) {
            CatchClause c;
            c.at = next().at;
            if (peek().kind == Token::Kind::Name && !peek().is("as")) {
                if (!variableName(c.variable, "an exception variable")) return false;
            }
            if (accept("as")) {
                TypeName type;
                if (!typeName(type)) return false;
                c.className = type.name;
            }
            if (!endOfStatement() || !block(c.body, {"catch", "end"})) return false;
            s.catches.push_back(std::move(c));
        }
        if (s.catches.empty() && peek().kind != Token::Kind::EndOfFile) return fail(peek().at, "Try without Catch");
        return closing(s.at, "Try");
    }

    // Depth of the tree below e, refused past the limit so that walking it cannot exhaust the stack.
    bool finish(ExprPtr& e) {
        int d = 0;
        if (e->target) d = std::max(d, e->target->depth);
        if (e->right) d = std::max(d, e->right->depth);
        for (const ExprPtr& a : e->args) d = std::max(d, a->depth);
        e->depth = d + 1;
        if (e->depth > limits_.maxExpressionDepth) return tooDeep(e->at);
        return true;
    }
    bool tooDeep(Position at) {
        return fail(at, "the expression is nested more than " + std::to_string(limits_.maxExpressionDepth) + " deep");
    }

    // Guards the parser's own recursion, which parentheses deepen without adding nodes.
    struct Descent {
        Parser& p;
        explicit Descent(Parser& parser) : p(parser) { ++p.descent_; }
        ~Descent() { --p.descent_; }
        bool tooDeep() const { return p.descent_ > p.limits_.maxExpressionDepth; }
    };

    bool expression(ExprPtr& out) {
        Descent guard(*this);
        if (guard.tooDeep()) return tooDeep(peek().at);
        return binary(0, out);
    }

    bool binary(std::size_t level, ExprPtr& out) {
        if (level == kLevels.size()) return unary(out);
        if (static_cast<int>(level) == kNotLevel) {
            if (!peek().is("not")) return binary(level + 1, out);
            Descent guard(*this);
            if (guard.tooDeep()) return tooDeep(peek().at);
            out = std::make_unique<Expr>();
            out->kind = Expr::Kind::Unary;
            out->at = next().at;
            out->op = Op::Not;
            return binary(level, out->target) && finish(out);
        }
        if (!binary(level + 1, out)) return false;
        for (;;) {
            const Token& t = peek();
            if (t.kind != Token::Kind::Symbol && t.kind != Token::Kind::Name) return true;
            const std::vector<BinaryOperator>& ops = kLevels[level];
            auto found = std::find_if(ops.begin(), ops.end(), [&](const BinaryOperator& o) { return t.is(o.text); });
            if (found == ops.end()) return true;
            auto e = std::make_unique<Expr>();
            e->kind = Expr::Kind::Binary;
            e->at = next().at;
            e->op = found->op;
            e->target = std::move(out);
            if (!binary(level + 1, e->right)) return false;
            out = std::move(e);
            if (!finish(out)) return false;
        }
    }

    bool unary(ExprPtr& out) {
        if (peek().is("-") || peek().is("+")) {
            Descent guard(*this);
            if (guard.tooDeep()) return tooDeep(peek().at);
            out = std::make_unique<Expr>();
            out->kind = Expr::Kind::Unary;
            const Token& sign = next();
            out->at = sign.at;
            out->op = sign.is("-") ? Op::Neg : Op::Plus;
            return unary(out->target) && finish(out);
        }
        if (!postfix(out)) return false;
        while (peek().is("^")) {
            auto e = std::make_unique<Expr>();
            e->kind = Expr::Kind::Binary;
            e->at = next().at;
            e->op = Op::Pow;
            e->target = std::move(out);
            Descent guard(*this);
            if (guard.tooDeep()) return tooDeep(peek().at);
            if (peek().is("-") ? !unary(e->right) : !postfix(e->right)) return false;
            out = std::move(e);
            if (!finish(out)) return false;
        }
        return true;
    }

    bool arguments(ExprList& args, const char* closer) {
        if (closer && peek().is(closer)) return true;
        for (;;) {
            ExprPtr a;
            if (!expression(a)) return false;
            args.push_back(std::move(a));
            if (!accept(",")) return true;
        }
    }

    bool postfix(ExprPtr& out) {
        if (!primary(out)) return false;
        for (;;) {
            if (peek().is(".")) {
                next();
                const Token& t = peek();
                if (t.kind != Token::Kind::Name) return fail(t.at, "expected a name after '.', found " + describe(t));
                auto e = std::make_unique<Expr>();
                e->kind = Expr::Kind::Member;
                e->at = t.at;
                e->name = next().text;
                e->key = lowerCase(e->name);
                e->target = std::move(out);
                out = std::move(e);
            } else if (peek().is("(")) {
                Position at = next().at;
                ExprList args;
                if (!arguments(args, ")") || !expect(")", "after the arguments")) return false;
                if (out->kind == Expr::Kind::Member && !out->hasArgs) {
                    out->hasArgs = true;
                    out->args = std::move(args);
                } else {
                    auto e = std::make_unique<Expr>();
                    e->kind = Expr::Kind::Apply;
                    e->at = out->kind == Expr::Kind::Name ? out->at : at;
                    e->target = std::move(out);
                    e->args = std::move(args);
                    e->hasArgs = true;
                    out = std::move(e);
                }
            } else {
                return true;
            }
            if (!finish(out)) return false;
        }
    }

    bool newExpression(ExprPtr& out) {
        out = std::make_unique<Expr>();
        out->kind = Expr::Kind::New;
        next();
        const Token& t = peek();
        out->at = t.at;
        if (t.kind != Token::Kind::Name || isKeyword(t)) return fail(t.at, "expected a class name after New, found " + describe(t));
        out->name = next().text;
        if (accept("(")) {
            out->hasArgs = true;
            if (!arguments(out->args, ")") || !expect(")", "after the arguments")) return false;
        }
        return finish(out);
    }

    bool primary(ExprPtr& out) {
        const Token& t = peek();
        if (t.is("new")) return newExpression(out);
        if (t.is("(")) {
            next();
            if (!expression(out)) return false;
            return expect(")", "to close the parenthesis");
        }
        out = std::make_unique<Expr>();
        out->at = t.at;
        switch (t.kind) {
        case Token::Kind::Integer:
            out->value.kind = Value::Kind::Integer;
            out->value.integer = t.integer;
            break;
        case Token::Kind::Color:
            out->value.kind = Value::Kind::Color;
            out->value.integer = t.integer;
            break;
        case Token::Kind::Double:
            out->value.kind = Value::Kind::Double;
            out->value.number = t.number;
            break;
        case Token::Kind::String:
            out->value.kind = Value::Kind::String;
            out->value.text = t.text;
            break;
        case Token::Kind::Name:
            if (t.is("true") || t.is("false")) {
                out->value.kind = Value::Kind::Boolean;
                out->value.boolean = t.is("true");
            } else if (t.is("nil")) {
                out->value.kind = Value::Kind::Nil;
            } else if (isKeyword(t) || isUnsupported(t)) {
                return fail(t.at, "'" + t.text + "' is not understood here");
            } else {
                out->kind = Expr::Kind::Name;
                out->name = t.text;
                out->key = lowerCase(t.text);
            }
            break;
        default: return fail(t.at, "expected a value, found " + describe(t));
        }
        next();
        return true;
    }

    const std::vector<Token>& tokens_;
    const Limits& limits_;
    Fault& fault_;
    std::size_t pos_ = 0;
    int nesting_ = 0;
    int descent_ = 0;
};

}  // namespace

bool parseProgram(const std::string& source, const Limits& limits, Block& program, Fault& fault) {
    program.clear();
    if (source.size() > limits.maxSourceBytes) {
        fault.at = Position();
        fault.message = "the program is longer than " + std::to_string(limits.maxSourceBytes) + " bytes";
        return false;
    }
    std::vector<Token> tokens;
    if (!tokenize(source, tokens, fault)) return false;
    return Parser(tokens, limits, fault).program(program);
}

}  // namespace testhost

#include "values.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>

#include "lexer.h"

namespace testhost {

using Kind = Value::Kind;

const char* opText(Op op) {
    static const char* const kText[] = {"Or", "Xor", "And", "Not", "=", "<>", "<", ">", "<=", ">=", "Is",
                                        "&",  "+",   "-",   "Mod", "\\", "*", "/", "^", "-", "+"};
    return kText[static_cast<int>(op)];
}

VarType scalarType(const std::string& typeName) {
    static const std::pair<const char*, Kind> kScalars[] = {{"integer", Kind::Integer}, {"double", Kind::Double},
                                                            {"string", Kind::String},   {"boolean", Kind::Boolean},
                                                            {"color", Kind::Color}};
    VarType t;
    for (const auto& s : kScalars) {
        if (sameWord(typeName, s.first)) {
            t.kind = s.second;
            return t;
        }
    }
    t.kind = Kind::Object;
    if (!sameWord(typeName, "object")) t.className = typeName;
    return t;
}

std::string kindName(Kind kind) {
    switch (kind) {
    case Kind::Nil: return "Nil";
    case Kind::Boolean: return "a Boolean";
    case Kind::Integer: return "an Integer";
    case Kind::Double: return "a Double";
    case Kind::String: return "a String";
    case Kind::Color: return "a Color";
    case Kind::Object: return "an object";
    case Kind::Array: return "an array";
    }
    return "a value";
}

std::string describe(const Value& v) {
    if (v.kind == Kind::Array) {
        std::string element = kindName(v.elementKind);
        return "an array of " + element.substr(element.find(' ') + 1);
    }
    return kindName(v.kind);
}

Value integerValue(std::int64_t i) {
    Value v;
    v.kind = Kind::Integer;
    v.integer = i;
    return v;
}

Value doubleValue(double d) {
    Value v;
    v.kind = Kind::Double;
    v.number = d;
    return v;
}

Value stringValue(std::string s) {
    Value v;
    v.kind = Kind::String;
    v.text = std::move(s);
    return v;
}

Value booleanValue(bool b) {
    Value v;
    v.kind = Kind::Boolean;
    v.boolean = b;
    return v;
}

Value makeArray(Kind elementKind) {
    Value v;
    v.kind = Kind::Array;
    v.elementKind = elementKind;
    v.elements = std::make_shared<ValueList>();
    return v;
}

Value defaultValue(const VarType& type) {
    if (type.isArray) return makeArray(type.kind);
    Value v;
    if (type.kind != Kind::Object) v.kind = type.kind;
    return v;
}

bool formatValue(const Value& v, std::string& out) {
    char buffer[40];
    switch (v.kind) {
    case Kind::Nil: out = "Nil"; return true;
    case Kind::Boolean: out = v.boolean ? "True" : "False"; return true;
    case Kind::Integer: out = std::to_string(v.integer); return true;
    case Kind::Double:
        std::snprintf(buffer, sizeof buffer, "%.15g", v.number);
        out = buffer;
        return true;
    case Kind::Color:
        std::snprintf(buffer, sizeof buffer, "&c%06" PRIX64, static_cast<std::uint64_t>(v.integer) & 0xffffff);
        out = buffer;
        return true;
    case Kind::String: out = v.text; return true;
    default: return false;
    }
}

namespace {

bool isNumber(const Value& v) { return v.kind == Kind::Integer || v.kind == Kind::Double; }
double asDouble(const Value& v) { return v.kind == Kind::Integer ? static_cast<double>(v.integer) : v.number; }

// Doubles become Integers toward zero, as the host's conversion does.
bool toInteger(const Value& v, std::int64_t& out, std::string& why) {
    if (v.kind == Kind::Integer) {
        out = v.integer;
        return true;
    }
    if (v.kind != Kind::Double) {
        why = describe(v) + " is not a number";
        return false;
    }
    if (!(v.number > -9223372036854775808.0 && v.number < 9223372036854775808.0)) {
        std::string text;
        formatValue(v, text);
        why = "the value " + text + " does not fit an Integer";
        return false;
    }
    out = static_cast<std::int64_t>(v.number);
    return true;
}

// Integer arithmetic wraps around as the host's 64-bit integers do.
std::int64_t wrap(std::uint64_t u) { return static_cast<std::int64_t>(u); }

bool mismatch(Op op, const Value& a, const Value& b, std::string& why) {
    why = std::string("'") + opText(op) + "' cannot combine " + describe(a) + " and " + describe(b);
    return false;
}

// The host compares strings without regard to case.
int compareText(const std::string& a, const std::string& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool comparison(Op op, const Value& a, const Value& b, Value& out, std::string& why) {
    int order = 0;
    bool ordered = true;
    if (isNumber(a) && isNumber(b)) {
        if (a.kind == Kind::Integer && b.kind == Kind::Integer) {
            order = a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
        } else {
            double x = asDouble(a), y = asDouble(b);
            if (x != x || y != y) {  // NaN equals nothing and orders nothing
                out = booleanValue(op == Op::Ne);
                return true;
            }
            order = x < y ? -1 : (x > y ? 1 : 0);
        }
    } else if (a.kind == Kind::String && b.kind == Kind::String) {
        order = compareText(a.text, b.text);
    } else if (a.kind == b.kind && (a.kind == Kind::Boolean || a.kind == Kind::Color)) {
        ordered = false;
        order = a.kind == Kind::Boolean ? (a.boolean != b.boolean) : (a.integer != b.integer);
    } else if ((a.kind == Kind::Object || a.kind == Kind::Nil) && (b.kind == Kind::Object || b.kind == Kind::Nil)) {
        ordered = false;
        order = a.object != b.object;
    } else {
        return mismatch(op, a, b, why);
    }
    if (op == Op::Is && (ordered || a.kind == Kind::Boolean || a.kind == Kind::Color)) {
        why = "'Is' compares objects, not " + describe(a);
        return false;
    }
    if (!ordered && op != Op::Eq && op != Op::Ne && op != Op::Is) {
        why = std::string("'") + opText(op) + "' cannot order " + describe(a);
        return false;
    }
    bool r = op == Op::Eq || op == Op::Is ? order == 0
           : op == Op::Ne                 ? order != 0
           : op == Op::Lt                 ? order < 0
           : op == Op::Gt                 ? order > 0
           : op == Op::Le                 ? order <= 0
                                          : order >= 0;
    out = booleanValue(r);
    return true;
}

bool concatenate(Op op, const Value& a, const Value& b, const Limits& limits, Value& out,
                 std::string& why) {
    if (a.kind != Kind::String || b.kind != Kind::String) return mismatch(op, a, b, why);
    if (a.text.size() + b.text.size() > limits.maxStringBytes) {
        why = "a string would be longer than " + std::to_string(limits.maxStringBytes) + " bytes";
        return false;
    }
    out = stringValue(a.text + b.text);
    return true;
}

bool arithmetic(Op op, const Value& a, const Value& b, Value& out, std::string& why) {
    if (!isNumber(a) || !isNumber(b)) return mismatch(op, a, b, why);
    bool integers = a.kind == Kind::Integer && b.kind == Kind::Integer;
    if (op == Op::IntDiv || (op == Op::Mod && integers)) {
        std::int64_t x = 0, y = 0;
        if (!toInteger(a, x, why) || !toInteger(b, y, why)) return false;
        if (y == 0) {
            why = "division by zero";
            return false;
        }
        if (y == -1) {  // the one quotient that overflows
            out = integerValue(op == Op::Mod ? 0 : wrap(0 - static_cast<std::uint64_t>(x)));
            return true;
        }
        out = integerValue(op == Op::Mod ? x % y : x / y);
        return true;
    }
    if (integers && op != Op::Div && op != Op::Pow) {
        std::uint64_t x = static_cast<std::uint64_t>(a.integer), y = static_cast<std::uint64_t>(b.integer);
        out = integerValue(wrap(op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y));
        return true;
    }
    double x = asDouble(a), y = asDouble(b);
    double r = op == Op::Add ? x + y
             : op == Op::Sub ? x - y
             : op == Op::Mul ? x * y
             : op == Op::Div ? x / y
             : op == Op::Mod ? std::fmod(x, y)
                             : std::pow(x, y);
    out = doubleValue(r);
    return true;
}

bool bitwise(Op op, const Value& a, const Value& b, Value& out, std::string& why) {
    if (a.kind == Kind::Boolean && b.kind == Kind::Boolean) {
        out = booleanValue(op == Op::And ? a.boolean && b.boolean : op == Op::Or ? a.boolean || b.boolean : a.boolean != b.boolean);
        return true;
    }
    if (a.kind == Kind::Integer && b.kind == Kind::Integer) {
        out = integerValue(op == Op::And ? a.integer & b.integer : op == Op::Or ? a.integer | b.integer : a.integer ^ b.integer);
        return true;
    }
    return mismatch(op, a, b, why);
}

}  // namespace

bool convertScalar(const Value& v, Kind kind, Value& out, std::string& why) {
    if (v.kind == kind) {
        out = v;
        return true;
    }
    if (kind == Kind::Double && v.kind == Kind::Integer) {
        out = doubleValue(static_cast<double>(v.integer));
        return true;
    }
    if (kind == Kind::Integer && v.kind == Kind::Double) {
        std::int64_t i = 0;
        if (!toInteger(v, i, why)) return false;
        out = integerValue(i);
        return true;
    }
    why = describe(v) + " cannot be " + kindName(kind);
    return false;
}

bool applyBinary(Op op, const Value& a, const Value& b, const Limits& limits, Value& out, std::string& why) {
    switch (op) {
    case Op::Concat: return concatenate(op, a, b, limits, out, why);
    case Op::Add:
        if (a.kind == Kind::String) return concatenate(op, a, b, limits, out, why);
        return arithmetic(op, a, b, out, why);
    case Op::And:
    case Op::Or:
    case Op::Xor: return bitwise(op, a, b, out, why);
    case Op::Sub:
    case Op::Mul:
    case Op::Div:
    case Op::IntDiv:
    case Op::Mod:
    case Op::Pow: return arithmetic(op, a, b, out, why);
    default: return comparison(op, a, b, out, why);
    }
}

bool applyUnary(Op op, const Value& a, Value& out, std::string& why) {
    if (op == Op::Not) {
        if (a.kind == Kind::Boolean) {
            out = booleanValue(!a.boolean);
        } else if (a.kind == Kind::Integer) {
            out = integerValue(~a.integer);
        } else {
            why = "'Not' cannot take " + describe(a);
            return false;
        }
        return true;
    }
    if (a.kind == Kind::Integer) {
        out = integerValue(op == Op::Neg ? wrap(0 - static_cast<std::uint64_t>(a.integer)) : a.integer);
    } else if (a.kind == Kind::Double) {
        out = doubleValue(op == Op::Neg ? -a.number : a.number);
    } else {
        why = std::string("'") + opText(op) + "' cannot take " + describe(a);
        return false;
    }
    return true;
}

namespace {

bool argumentCount(const std::string& name, const ValueList& args, std::size_t lo, std::size_t hi, std::string& why) {
    if (args.size() >= lo && args.size() <= hi) return true;
    why = name + " takes " + (lo == hi ? std::to_string(lo) : std::to_string(lo) + " to " + std::to_string(hi)) +
          " argument" + (hi == 1 ? "" : "s") + ", not " + std::to_string(args.size());
    return false;
}

// Array(a, b, ...): all of one kind, Integers and Doubles together making Doubles, objects and Nil
// together making objects.
bool arrayOf(const ValueList& args, const Limits& limits, Value& out, std::string& why) {
    if (args.empty() || args.size() > limits.maxArrayElements) {
        return argumentCount("Array", args, 1, limits.maxArrayElements, why);
    }
    Kind kind = args[0].kind == Kind::Nil ? Kind::Object : args[0].kind;
    for (const Value& a : args) {
        Kind k = a.kind == Kind::Nil ? Kind::Object : a.kind;
        if (k == Kind::Double && kind == Kind::Integer) kind = Kind::Double;
        bool fits = k == kind || (kind == Kind::Double && k == Kind::Integer);
        if (!fits || k == Kind::Array) {
            why = "Array cannot hold " + describe(args[0]) + " and " + describe(a) + " together";
            return false;
        }
    }
    out = makeArray(kind);
    out.elements->reserve(args.size());
    for (const Value& a : args) {
        Value element = a;
        if (kind == Kind::Double) convertScalar(a, Kind::Double, element, why);
        out.elements->push_back(element);
    }
    return true;
}

}  // namespace

bool callBuiltin(const std::string& name, const ValueList& args, const Limits& limits, Value& out, std::string& why) {
    if (name == "array") return arrayOf(args, limits, out, why);
    if (name == "ubound") {
        if (!argumentCount("UBound", args, 1, 1, why)) return false;
        if (args[0].kind != Kind::Array) {
            why = "UBound takes an array, not " + describe(args[0]);
            return false;
        }
        out = integerValue(static_cast<std::int64_t>(args[0].elements->size()) - 1);
        return true;
    }
    if (name == "str") {
        if (!argumentCount("Str", args, 1, 1, why)) return false;
        std::string text;
        if (!formatValue(args[0], text)) {
            why = "Str cannot take " + describe(args[0]);
            return false;
        }
        out = stringValue(text);
        return true;
    }
    static const std::pair<const char*, double (*)(double)> kMath[] = {
        {"sqrt", [](double x) { return std::sqrt(x); }},   {"exp", [](double x) { return std::exp(x); }},
        {"log", [](double x) { return std::log(x); }},     {"sin", [](double x) { return std::sin(x); }},
        {"cos", [](double x) { return std::cos(x); }},     {"floor", [](double x) { return std::floor(x); }},
        {"ceil", [](double x) { return std::ceil(x); }},   {"round", [](double x) { return std::round(x); }},
        {"abs", [](double x) { return std::fabs(x); }}};
    for (const auto& f : kMath) {
        if (name != f.first) continue;
        if (!argumentCount(name, args, 1, 1, why)) return false;
        if (!isNumber(args[0])) {
            why = name + " takes a number, not " + describe(args[0]);
            return false;
        }
        if (name == "abs" && args[0].kind == Kind::Integer) {
            out = integerValue(args[0].integer < 0 ? wrap(0 - static_cast<std::uint64_t>(args[0].integer)) : args[0].integer);
        } else {
            out = doubleValue(f.second(asDouble(args[0])));
        }
        return true;
    }
    if (name == "pow") {
        if (!argumentCount("Pow", args, 2, 2, why)) return false;
        return arithmetic(Op::Pow, args[0], args[1], out, why);
    }
    why.clear();
    return false;
}

}  // namespace testhost

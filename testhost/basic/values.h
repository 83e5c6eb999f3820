// What the interpreter does with values on its own: the operators of the language, conversion to a
// declared type, the built-in functions and the text Print and Str make of a value.
#pragma once

#include <cstddef>
#include <string>

#include "basic.h"
#include "objectmodel.h"

namespace testhost {

// Operators of the language; the parser resolves them once.
enum class Op { Or, Xor, And, Not, Eq, Ne, Lt, Gt, Le, Ge, Is, Concat, Add, Sub, Mod, IntDiv, Mul, Div, Pow, Neg, Plus };
const char* opText(Op op);

// A declared type: a scalar kind, a class (kind Object), or an array of either.
struct VarType {
    Value::Kind kind = Value::Kind::Nil;
    std::string className;  // empty for "Object", which takes any object
    bool isArray = false;
};

VarType scalarType(const std::string& typeName);  // Integer, Double ... or a class, in any case
std::string kindName(Value::Kind kind);
std::string describe(const Value& v);
Value defaultValue(const VarType& type);  // what a fresh variable or array element holds
Value makeArray(Value::Kind elementKind);

Value integerValue(std::int64_t i);
Value doubleValue(double d);
Value stringValue(std::string s);
Value booleanValue(bool b);

// The text Print writes and Str returns; false for objects and arrays, which have none.
bool formatValue(const Value& v, std::string& out);

// Converts a scalar to a scalar kind other than Object; false (with the reason) when the language
// does not allow it.
bool convertScalar(const Value& v, Value::Kind kind, Value& out, std::string& why);

// Binary operators other than the short-circuit And and Or on Booleans.
bool applyBinary(Op op, const Value& a, const Value& b, const Limits& limits, Value& out, std::string& why);
bool applyUnary(Op op, const Value& a, Value& out, std::string& why);

// Built-in functions by lower-case name: false with an empty why when there is no such function.
bool callBuiltin(const std::string& name, const ValueList& args, const Limits& limits, Value& out,
                 std::string& why);

}  // namespace testhost

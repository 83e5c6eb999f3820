// A small object model for the interpreter's tests: a few classes with parents, objects that log
// every call made on them, and methods that return children, arrays, Nil or raise exceptions.
#pragma once

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "objectmodel.h"

namespace basic_test {

// HostObject is the real test host's, which shares this test executable; the fake keeps objects of
// its own and hands them out under that name without ever completing the type.
struct FakeObject {
    std::string className;
    int id = 0;
    bool initialized = true;
    std::string message;  // of exceptions
};

inline FakeObject& fake(const testhost::Value& v) { return *reinterpret_cast<FakeObject*>(v.object.get()); }

using testhost::CallResult;
using testhost::HostObject;
using testhost::Value;
using testhost::ValueList;

inline std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}

// i7, d1.5, s"text", c&h336699, b1, nil, #3 (object 3), [d1,d2] (an array)
inline std::string show(const Value& v) {
    char buffer[64];
    switch (v.kind) {
    case Value::Kind::Nil: return "nil";
    case Value::Kind::Boolean: return v.boolean ? "b1" : "b0";
    case Value::Kind::Integer: return "i" + std::to_string(v.integer);
    case Value::Kind::Double: std::snprintf(buffer, sizeof buffer, "d%g", v.number); return buffer;
    case Value::Kind::String: return "s\"" + v.text + "\"";
    case Value::Kind::Color: std::snprintf(buffer, sizeof buffer, "c&h%06" PRIx64, static_cast<std::uint64_t>(v.integer)); return buffer;
    case Value::Kind::Object: return "#" + std::to_string(fake(v).id);
    case Value::Kind::Array: {
        std::string s = "[";
        for (const Value& e : *v.elements) s += (s.size() > 1 ? "," : "") + show(e);
        return s + "]";
    }
    }
    return "?";
}

inline std::string show(const ValueList& args) {
    std::string s;
    for (const Value& a : args) s += (s.empty() ? "" : ", ") + show(a);
    return s;
}

class FakeModel : public testhost::ObjectModel {
public:
    std::vector<std::string> log;
    std::map<std::string, ValueList> lastArgs;  // by lower-case method name
    double scaleFactor = 1;
    // Every call answers with a new object of a class that passes every isA: enough to run any
    // program that only configures objects.
    bool permissive = false;

    CallResult construct(const std::string& className, const ValueList& args) override {
        log.push_back("new " + className + "(" + show(args) + ")");
        if (!permissive && !known(className)) return error("unknown class " + className);
        Value v = object(className);
        // A chart of zero width stands for one whose library object could not be made.
        fake(v).initialized = args.empty() || args[0].kind != Value::Kind::Integer || args[0].integer > 0;
        return ok(v);
    }

    CallResult call(const Value& target, const std::string& name, const ValueList& args) override {
        log.push_back("#" + std::to_string(fake(target).id) + "." + name + "(" + show(args) + ")");
        if (!fake(target).initialized) return raise("PVNotInitialzedExceptionRQX", "Object not initialzed correctly.");
        std::string n = lower(name);
        lastArgs[n] = args;
        if (permissive) {
            if (n.rfind("get", 0) == 0) return ok(series());
            if (n.rfind("make", 0) == 0) return ok(boolean(true));
            return ok(object("Anything"));
        }
        if (n == "xaxis") return ok(object("PVAxisRQX"));
        if (n == "addlinelayer") return ok(object("PVLineLayerRQX"));
        if (n == "addlegend") return ok(object("PVLegendBoxRQX"));
        if (n == "sector") {
            bool exists = !args.empty() && args[0].kind == Value::Kind::Integer && args[0].integer < 3;
            return ok(exists ? object("PVSectorRQX") : Value());
        }
        if (n == "echo") return ok(args.empty() ? Value() : args[0]);
        if (n == "hollowarray") {  // an array without its element list
            Value a;
            a.kind = Value::Kind::Array;
            a.elementKind = Value::Kind::Double;
            return ok(a);
        }
        if (n == "outofrange") return raise("OutOfBoundsException", "index out of range");
        if (n == "settitle" || n == "setlinewidth" || n == "addtitle" || n == "setbackground") return ok(Value());
        return error(fake(target).className + " has no method '" + name + "'");
    }

    CallResult callShared(const std::string& className, const std::string& name, const ValueList& args) override {
        log.push_back(className + "." + name + "(" + show(args) + ")");
        if (permissive) return ok(number(0));  // constants, times and effect codes
        std::string n = lower(name);
        if (lower(className) != "pvbasechartrqx") return error("unknown class " + className);
        Value v;
        if (n == "kcirclesymbol") {
            v.kind = Value::Kind::Integer;
            v.integer = 7;
        } else if (n == "scalefactor") {
            v.kind = Value::Kind::Double;
            v.number = scaleFactor;
        } else if (n == "rgb") {
            v.kind = Value::Kind::Integer;
            for (const Value& a : args) v.integer = (v.integer << 8) | a.integer;
        } else {
            return error("PVBaseChartRQX has no shared member '" + name + "'");
        }
        return ok(v);
    }

    CallResult setShared(const std::string& className, const std::string& name, const Value& value) override {
        log.push_back(className + "." + name + " = " + show(value));
        if (permissive) return ok(Value());
        if (lower(className) != "pvbasechartrqx" || lower(name) != "scalefactor") return error("no shared property " + name);
        double v = value.kind == Value::Kind::Integer ? static_cast<double>(value.integer) : value.number;
        scaleFactor = v < 1 ? 1 : (v > 100 ? 100 : v);
        return ok(Value());
    }

    bool isA(const Value& v, const std::string& className) override {
        if (v.kind != Value::Kind::Object) return false;
        if (permissive) return true;
        for (std::string c = lower(fake(v).className); !c.empty(); c = parentOf(c)) {
            if (c == lower(className)) return true;
        }
        return false;
    }

    std::string exceptionMessage(const Value& exception) override {
        return exception.object ? fake(exception).message : std::string();
    }

private:
    static std::string parentOf(const std::string& c) {
        static const std::map<std::string, std::string> parents = {
            {"pvlinelayerrqx", "pvlayerrqx"},
            {"pvxychartrqx", "pvbasechartrqx"},
            {"pvpiechartrqx", "pvbasechartrqx"},
            {"pvlegendboxrqx", "pvtextboxrqx"},
            {"pvnotinitialzedexceptionrqx", "runtimeexception"},
            {"outofboundsexception", "runtimeexception"},
        };
        auto it = parents.find(c);
        return it == parents.end() ? std::string() : it->second;
    }
    static bool known(const std::string& className) {
        std::string c = lower(className);
        return c == "pvxychartrqx" || c == "pvpiechartrqx";
    }
    Value object(const std::string& className) {
        Value v;
        v.kind = Value::Kind::Object;
        auto o = std::make_shared<FakeObject>();
        o->className = className;
        o->id = ++objects_;
        v.object = std::shared_ptr<HostObject>(o, reinterpret_cast<HostObject*>(o.get()));
        return v;
    }
    static Value number(double d) {
        Value v;
        v.kind = Value::Kind::Double;
        v.number = d;
        return v;
    }
    static Value boolean(bool b) {
        Value v;
        v.kind = Value::Kind::Boolean;
        v.boolean = b;
        return v;
    }
    static Value series() {  // 1, 2, 3 as a fresh array of Doubles
        Value a;
        a.kind = Value::Kind::Array;
        a.elementKind = Value::Kind::Double;
        a.elements = std::make_shared<ValueList>();
        for (int i = 1; i <= 3; ++i) a.elements->push_back(number(i));
        return a;
    }
    static CallResult ok(const Value& v) {
        CallResult r;
        r.value = v;
        return r;
    }
    static CallResult error(const std::string& message) {
        CallResult r;
        r.status = CallResult::Status::Error;
        r.message = message;
        return r;
    }
    CallResult raise(const std::string& className, const std::string& message) {
        CallResult r;
        r.status = CallResult::Status::Raised;
        r.value = object(className);
        fake(r.value).message = message;
        r.message = message;
        return r;
    }
    int objects_ = 0;
};

}  // namespace basic_test

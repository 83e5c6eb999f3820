// The interpreter's only view of the objects a program works with. The test host implements it on
// top of the plugin's registered classes; interpreter tests implement it with a small fake.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace testhost {

struct HostObject;  // owned by the object model; the interpreter only holds references

struct Value;
using ValueList = std::vector<Value>;

struct Value {
    enum class Kind { Nil, Boolean, Integer, Double, String, Color, Object, Array };
    // Element type of an array value; arrays made by Array(...) take the kind of their first element.
    Kind kind = Kind::Nil;
    Kind elementKind = Kind::Nil;
    bool boolean = false;
    std::int64_t integer = 0;  // Integer, and Color as &hRRGGBB (host colours carry no alpha here)
    double number = 0;
    std::string text;          // UTF-8
    std::shared_ptr<HostObject> object;
    std::shared_ptr<ValueList> elements;  // shared: host arrays are passed by reference
};

// Outcome of one call. A raised exception carries the host exception object, which a program's
// Try/Catch can catch by class name; an error is a fault of the program (unknown method, wrong
// argument count) and stops it.
struct CallResult {
    enum class Status { Ok, Raised, Error };
    Status status = Status::Ok;
    Value value;           // result on Ok, the exception object on Raised
    std::string message;   // on Raised and Error
};

class ObjectModel {
public:
    virtual ~ObjectModel() = default;
    // Dim c As New ClassName(args)
    virtual CallResult construct(const std::string& className, const ValueList& args) = 0;
    // obj.name(args) and obj.name as a method or a read-only property
    virtual CallResult call(const Value& target, const std::string& name, const ValueList& args) = 0;
    // ClassName.name(args): shared methods, shared properties and constants of a class
    virtual CallResult callShared(const std::string& className, const std::string& name,
                                  const ValueList& args) = 0;
    // ClassName.name = value (shared properties such as ScaleFactor)
    virtual CallResult setShared(const std::string& className, const std::string& name,
                                 const Value& value) = 0;
    // Class name of an object (for Catch e As ClassName and for error messages), including its
    // ancestors so that a handler for a parent class catches a child.
    virtual bool isA(const Value& object, const std::string& className) = 0;
    // Exception text of a caught exception object (e.Message)
    virtual std::string exceptionMessage(const Value& exception) = 0;
};

}  // namespace testhost

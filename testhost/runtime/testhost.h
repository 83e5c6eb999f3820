// A host for the plugin on Linux: loads it with dlopen, offers the host services it resolves by
// name, records the classes it registers and runs programs' calls through those records, the way
// the IDE's runtime does. One TestHost is live at a time (the services reach it through a global).
#pragma once

#include "host/hostsdk.h"
#include "objectmodel.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace testhost {

struct Declaration;
struct CallShape;

// A registered or built-in class.
struct ClassInfo {
    std::string name;
    ClassInfo* parent = nullptr;
    REALclassDefinition* def = nullptr;  // null for the host's own classes
    std::uintptr_t* offsetSlot = nullptr;  // where the plugin reads this class's data offset
    std::size_t dataOffset = 0;          // of this class's data inside an object
    std::size_t objectSize = 0;          // header and the data of this class and its ancestors
    std::vector<Declaration> methods;
    std::vector<Declaration> sharedMethods;
    // Declarations found by name, so calls do not search the class chain each time.
    mutable std::map<std::string, std::vector<const Declaration*>> lookups;
};

struct Param {
    std::string name;
    std::string type;  // lower case: integer, double, color, boolean, string, int64, or a class name
    bool array = false;
    bool hasDefault = false;
    std::string defaultText;
};

struct Declaration {
    std::string name;
    std::vector<Param> params;
    std::string returnType;  // empty for none
    bool returnsArray = false;
    REALproc proc = nullptr;
    std::uint32_t flags = 0;
    mutable std::shared_ptr<CallShape> shape;  // prepared on the first call
};

// Parses "name(a as integer, b() as double = 1) as PVAxisRQX"; false when malformed.
bool parseDeclaration(const std::string& text, Declaration& out);

// The one encoding besides UTF-8 and ASCII the test host keeps strings in.
constexpr std::uint32_t kREALTextEncodingLatin1 = 0x0201;

struct HostOptions {
    double version = 2019.01;            // what REALGetRBVersion reports
    std::set<std::string> missing;       // services the resolver does not know
    std::uint32_t stringEncoding = kREALTextEncodingUTF8;  // of the strings programs pass
};

class TestHost : public ObjectModel {
public:
    explicit TestHost(HostOptions options = HostOptions());
    ~TestHost() override;
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // Loads the plugin and calls its entry; false when it cannot be loaded.
    bool load(const std::string& pluginPath);

    // Registered classes in registration order, and the control version the plugin asked for.
    const std::vector<ClassInfo*>& registered() const;
    const ClassInfo* findClass(const std::string& name) const;
    int pluginVersion() const;
    // Objects alive now, the host's own included.
    int liveObjects() const;

    CallResult construct(const std::string& className, const ValueList& args) override;
    CallResult call(const Value& target, const std::string& name, const ValueList& args) override;
    CallResult callShared(const std::string& className, const std::string& name, const ValueList& args) override;
    CallResult setShared(const std::string& className, const std::string& name, const Value& value) override;
    bool isA(const Value& object, const std::string& className) override;
    std::string exceptionMessage(const Value& exception) override;

    // Host values a program gets from the host's own classes.
    // A vector picture can be drawn but not locked.
    Value makePicture(int width, int height, const std::vector<std::uint32_t>& argb, bool hasAlpha,
                      bool vector = false);
    Value makeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    Value makeFolderItem(const std::string& path);
    // Picture.Mask = mask: the picture then shows where the mask is black.
    bool setPictureMask(const Value& picture, const Value& mask);
    // A picture's pixels as 0xAARRGGBB (alpha 255 opaque), rows top-down; false when not a picture.
    bool pictureOf(const Value& picture, int& width, int& height, std::vector<std::uint32_t>& argb) const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace testhost

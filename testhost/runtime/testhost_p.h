// The test host's own objects, strings and arrays, as the services hand them to the plugin.
#pragma once

#include "testhost.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testhost {

// A host object. The plugin's data blocks follow the header in the same allocation, at the offsets
// the host wrote into each class record.
struct HostObject {
    ClassInfo* cls = nullptr;
    int refs = 1;
    // The host's own classes keep their state here.
    std::string message;
    std::int64_t errorNumber = 0;
    int width = 0, height = 0;
    bool hasAlpha = true;
    bool vector = false;  // a picture whose pixels cannot be locked, only drawn
    std::vector<std::uint32_t> pixels;
    HostObject* mask = nullptr;
    int date[6] = {1, 1, 1, 0, 0, 0};
    std::string path;
};

constexpr std::size_t kHeaderSize = (sizeof(HostObject) + 15) / 16 * 16;

struct HostString {
    int refs = 1;
    std::string bytes;
    std::uint32_t encoding = kREALTextEncodingUTF8;
};

struct HostArray {
    int refs = 1;
    int elementType = kREALArrayDouble;
    std::vector<double> numbers;  // integer, colour and double elements
    std::vector<HostString*> strings;
    std::vector<HostObject*> objects;
    long count() const;
};

struct TestHost::State {
    HostOptions options;
    std::map<std::string, ClassInfo*> classes;  // every class by name, owned
    std::vector<ClassInfo*> owned;
    HostObject* pending = nullptr;  // exception raised during the current call
    int liveObjects = 0;
    int liveStrings = 0;
    int liveArrays = 0;
    std::vector<ClassInfo*> registered;
    int pluginVersion = 0;
    // Records registered in the older layout, read into the current one.
    struct Converted {
        REALclassDefinition def{};
        std::vector<REALmethodDefinition> methods, sharedMethods;
        std::vector<REALproperty> properties, sharedProperties;
    };
    std::vector<std::unique_ptr<Converted>> converted;
};

TestHost::State* currentState();
void setCurrentState(TestHost::State* state);
void* resolveService(const char* name);

HostObject* newObject(ClassInfo* cls);
void retain(HostObject* o);
void release(HostObject* o);
HostString* newString(const std::string& bytes, std::uint32_t encoding = kREALTextEncodingUTF8);
void releaseString(HostString* s);
HostArray* newArray(int elementType);
void releaseArray(HostArray* a);
ClassInfo* addClass(TestHost::State& state, const std::string& name, ClassInfo* parent, REALclassDefinition* def);

inline REALobject toReal(HostObject* o) { return reinterpret_cast<REALobject>(o); }
inline HostObject* fromReal(REALobject o) { return reinterpret_cast<HostObject*>(o); }
inline REALstring toReal(HostString* s) { return reinterpret_cast<REALstring>(s); }
inline HostString* fromReal(REALstring s) { return reinterpret_cast<HostString*>(s); }
inline REALarray toReal(HostArray* a) { return reinterpret_cast<REALarray>(a); }
inline HostArray* fromReal(REALarray a) { return reinterpret_cast<HostArray*>(a); }

}  // namespace testhost

// What every method wrapper needs: the host's services looked up by name, the plugin's data inside
// a host object, conversions of host values, pixel scaling and the turning of failures into host
// exceptions. The wrappers in hosttables.cpp are generated on top of this.
#pragma once

#include "host/hostsdk.h"

#include <plotvane/plotvane_abc.h>

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace host {

// ---- host services ----

void setResolver(REALResolver resolver);
void* lookup(const char* name);

// A host service resolved on first use; a service the host lacks stays null and its calls are
// skipped.
template <class Proc>
struct Service {
    const char* name;
    Proc proc = nullptr;
    bool looked = false;
    unsigned generation = 0;
    Proc get();
};

unsigned resolverGeneration();

template <class Proc>
Proc Service<Proc>::get() {
    if (!looked || generation != resolverGeneration()) {
        proc = reinterpret_cast<Proc>(lookup(name));
        looked = true;
        generation = resolverGeneration();
    }
    return proc;
}

double hostVersion();

// ---- instance data ----

// The plugin's data in a host object: the abc wrapper through which the library object is reached
// (null when construction failed), and for objects handed out by another, that owner and its own
// owner, locked so that they outlive this one.
struct InstanceData {
    abc::Garbage* wrapper;
    REALobject owner;
    REALobject ownerOwner;
};

InstanceData* dataOf(REALobject object, const REALclassDefinition& root);
// Where the host put a root class's data; hosts of control version 9 wrote it into the older copy.
std::uintptr_t dataOffset(const REALclassDefinition& root);
void destroyInstance(REALobject object, const REALclassDefinition& root);
void privateConstructor(REALobject object);

// ---- exceptions ----

// Thrown inside the plugin only; call() and guard() turn it into a host exception.
struct HostRaise {
    const char* className;
    std::string message;
};

void raise(const char* className, const std::string& message);
void raiseNotInitialized();
void raiseCurrent();  // the exception being handled, in host terms

template <class F>
auto guard(F f) -> decltype(f()) {
    using R = decltype(f());
    try {
        return f();
    } catch (...) {
        raiseCurrent();
    }
    if constexpr (!std::is_void_v<R>) return R{};
}

// Runs f with the object's wrapper seen as W; raises the not-initialised exception when there is none.
template <class W, class F>
auto call(REALobject self, const REALclassDefinition& root, F f) -> decltype(f(static_cast<W*>(nullptr))) {
    using R = decltype(f(static_cast<W*>(nullptr)));
    InstanceData* d = dataOf(self, root);
    W* w = d ? dynamic_cast<W*>(d->wrapper) : nullptr;
    if (!w) {
        raiseNotInitialized();
        if constexpr (!std::is_void_v<R>) return R{};
        else return;
    }
    return guard([&] { return f(w); });
}

// The wrapper of an object passed as an argument; nil or unconstructed objects give null.
template <class W>
W* argView(REALobject object, const REALclassDefinition& root) {
    InstanceData* d = dataOf(object, root);
    return d ? dynamic_cast<W*>(d->wrapper) : nullptr;
}

// Constructor entries: make() gives the new wrapper, or null when the library object could not be
// made (the object then stays uninitialised).
template <class F>
void construct(REALobject self, const REALclassDefinition& root, F make) {
    InstanceData* d = dataOf(self, root);
    if (!d) return;
    guard([&] {
        if (abc::Garbage* w = make()) {
            delete d->wrapper;
            d->wrapper = w;
        }
    });
}

// A new host object of class hostClass around a child wrapper of self; nil for a null wrapper.
REALobject child(REALobject self, const REALclassDefinition& selfRoot, abc::Garbage* wrapper,
                 const char* hostClass, const REALclassDefinition& childRoot);
// self handed back by a chained operation (one more reference for the caller).
REALobject same(REALobject self);

// ---- scale factor ----

REALproperty* scaleFactorProperty();
double scaleFactor();
void setScaleFactor(double f);
int px(int v);

// ---- values in ----

class InString {
public:
    explicit InString(REALstring s);
    const char* c_str() const { return text_.c_str(); }
    char first() const { return text_.empty() ? 0 : text_[0]; }

private:
    std::string text_;
};

// A folder item as a POSIX path; a nil item raises NilObjectException.
class InPath {
public:
    explicit InPath(REALfolderItem item);
    const char* c_str() const { return path_.c_str(); }

private:
    std::string path_;
};

std::string folderItemPath(REALfolderItem item);

class InDoubles {
public:
    explicit InDoubles(REALarray a);
    const double* data() const { return values_.data(); }
    int size() const { return static_cast<int>(values_.size()); }

protected:
    InDoubles() = default;
    std::vector<double> values_;
};

// A host Date as chart time.
double chartTimeOf(REALobject date);

// Date objects as chart times.
class InDates : public InDoubles {
public:
    explicit InDates(REALarray a);
};

// Integer arrays where the library takes doubles.
class InIntegerDoubles : public InDoubles {
public:
    explicit InIntegerDoubles(REALarray a);
};

class InInts {
public:
    explicit InInts(REALarray a, bool colours = false);
    const int* data() const { return values_.data(); }
    int size() const { return static_cast<int>(values_.size()); }

private:
    std::vector<int> values_;
};

// Host colours pass unchanged as library colours.
class InColors : public InInts {
public:
    explicit InColors(REALarray a) : InInts(a, true) {}
};

class InStrings {
public:
    explicit InStrings(REALarray a);
    const char* const* data() const { return pointers_.data(); }
    int size() const { return static_cast<int>(pointers_.size()); }

private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

// ---- values out ----

REALstring outString(const char* text);
REALarray outDoubles(const double* values, int count);
REALarray outInts(const int* values, int count);

}  // namespace host

// Host services, instance data, exceptions and value conversions shared by every method wrapper.
#include "host/hostglue_p.h"

#include <plotvane/chart.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace host {

namespace {

REALResolver gResolver = nullptr;
unsigned gGeneration = 0;
double gScaleFactor = 1.0;

Service<REALGetRBVersionProc> getVersion{"REALGetRBVersion"};
Service<PluginNewInstanceProc> newInstance{"PluginNewInstance"};
Service<REALLockObjectProc> lockObject{"REALLockObject"};
Service<REALUnlockObjectProc> unlockObject{"REALUnlockObject"};
Service<REALLockStringProc> lockString{"REALLockString"};
Service<REALUnlockStringProc> unlockString{"REALUnlockString"};
Service<REALGetStringEncodingProc> stringEncoding{"REALGetStringEncoding"};
Service<PluginGetStringDataProc> getStringData{"PluginGetStringData"};
Service<PluginDisposeStringDataProc> disposeStringData{"PluginDisposeStringData"};
Service<REALConvertStringProc> convertString{"REALConvertString"};
Service<REALBuildStringWithEncodingProc> buildStringWithEncoding{"REALBuildStringWithEncoding"};
Service<REALBuildStringProc> buildString{"REALBuildString"};
Service<REALSetStringEncodingProc> setStringEncoding{"REALSetStringEncoding"};
Service<RuntimeUBoundProc> uBound{"RuntimeUBound"};
Service<PluginDoubleArrayGetProcType> doubleGet{"PluginDoubleArrayGetProc"};
Service<PluginIntegerArrayGetProcType> integerGet{"PluginIntegerArrayGetProc"};
Service<PluginColorArrayGetProcType> colorGet{"PluginColorArrayGetProc"};
Service<PluginStringArrayGetProcType> stringGet{"PluginStringArrayGetProc"};
Service<PluginObjectArrayGetProcType> objectGet{"PluginObjectArrayGetProc"};
Service<PluginDoubleArrayInsertProcType> doubleInsert{"PluginDoubleArrayInsertProc"};
Service<PluginIntegerArraySetProcType> integerSet{"PluginIntegerArraySetProc"};
Service<RuntimeArrayDirectGetProcType> directGet{"RuntimeArrayDirectGetGetProc"};
Service<RuntimeArrayCreateSingleDimBoundedArrayProc> createArray{"RuntimeArrayCreateSingleDimBoundedArray"};
Service<REALGetPropValueIntProc> getPropInt{"REALGetPropValueInt"};
Service<REALGetPropValueIntegerProc> getPropInteger{"REALGetPropValueInteger"};
Service<REALSetPropValueIntProc> setPropInt{"REALSetPropValueInt"};
Service<REALSetPropValueIntegerProc> setPropInteger{"REALSetPropValueInteger"};
Service<REALSetPropValueStringProc> setPropString{"REALSetPropValueString"};
Service<RuntimeRaiseExceptionProc> raiseException{"RuntimeRaiseException"};
Service<REALFSRefFromFolderItemProc> fileReference{"REALFSRefFromFolderItem"};

// Hosts of this version and later read integer properties as 64-bit values and no longer keep
// strings in their declared encoding.
constexpr double kModernHost = 2017.0;
constexpr double kLastKnownVersion = 2013.04;

void unlock(REALobject o) {
    if (o)
        if (auto f = unlockObject.get()) f(o);
}

// The host's exception class for a standard library failure.
const char* exceptionClassOf(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "OutOfMemoryException";
    if (dynamic_cast<const std::bad_cast*>(&e)) return "IllegalCastException";
    if (dynamic_cast<const std::out_of_range*>(&e) || dynamic_cast<const std::range_error*>(&e) ||
        dynamic_cast<const std::overflow_error*>(&e) || dynamic_cast<const std::underflow_error*>(&e))
        return "OutOfBoundsException";
    return "RuntimeException";
}

}  // namespace

void setResolver(REALResolver resolver) {
    gResolver = resolver;
    ++gGeneration;
}

unsigned resolverGeneration() { return gGeneration; }

void* lookup(const char* name) { return gResolver ? gResolver(name) : nullptr; }

double hostVersion() {
    auto f = getVersion.get();
    return f ? f() : kLastKnownVersion;
}

// ---- instance data ----

InstanceData* dataOf(REALobject object, const REALclassDefinition& root) {
    if (!object) return nullptr;
    return reinterpret_cast<InstanceData*>(reinterpret_cast<char*>(object) + dataOffset(root));
}

void destroyInstance(REALobject object, const REALclassDefinition& root) {
    InstanceData* d = dataOf(object, root);
    if (!d) return;
    // Handed-out objects only borrow their wrapper: their owner's wrapper deletes it.
    if (d->owner) {
        unlock(d->owner);
        unlock(d->ownerOwner);
    } else {
        delete d->wrapper;
    }
    *d = InstanceData{};
}

void privateConstructor(REALobject) {}

// ---- exceptions ----

void raise(const char* className, const std::string& message) {
    auto make = newInstance.get();
    auto raiseIt = raiseException.get();
    if (!make || !raiseIt) return;
    REALobject e = make(className);
    if (!e) return;
    REALstring m = outString(message.c_str());
    if (auto f = setPropString.get()) f(e, "Message", m);
    if (auto f = unlockString.get(); f && m) f(m);
    if (auto f = setPropInteger.get(); f && hostVersion() >= kModernHost)
        f(e, "ErrorNumber", 0);
    else if (auto g = setPropInt.get())
        g(e, "ErrorNumber", 0);
    raiseIt(e);
    unlock(e);
}

void raiseNotInitialized() { raise("PVNotInitialzedExceptionRQX", "Object not initialzed correctly."); }

void raiseCurrent() {
    try {
        throw;
    } catch (const HostRaise& r) {
        raise(r.className, r.message);
    } catch (const std::bad_alloc&) {
        raise("OutOfMemoryException", "Failed to allocate memory.");
    } catch (const std::exception& e) {
        raise(exceptionClassOf(e), e.what());
    } catch (...) {
        raise("RuntimeException", "Sorry, but there was an unnamed C++ Exception.");
    }
}

// ---- objects handed out ----

REALobject child(REALobject self, const REALclassDefinition& selfRoot, abc::Garbage* wrapper,
                 const char* hostClass, const REALclassDefinition& childRoot) {
    if (!wrapper) return nullptr;
    auto make = newInstance.get();
    auto lock = lockObject.get();
    if (!make || !lock) return nullptr;
    REALobject o = make(hostClass);
    InstanceData* d = dataOf(o, childRoot);
    if (!d) return nullptr;
    d->wrapper = wrapper;
    d->owner = self;
    lock(self);
    d->ownerOwner = dataOf(self, selfRoot)->owner;
    if (d->ownerOwner) lock(d->ownerOwner);
    return o;
}

REALobject same(REALobject self) {
    if (auto f = lockObject.get()) f(self);
    return self;
}

// ---- scale factor ----

namespace {

double getScaleFactor(std::intptr_t) { return gScaleFactor; }
void putScaleFactor(std::intptr_t, double f) { setScaleFactor(f); }

REALproperty gScaleFactorProperty{nullptr, "ScaleFactor", "Double", 0x6,
                                  reinterpret_cast<REALproc>(getScaleFactor),
                                  reinterpret_cast<REALproc>(putScaleFactor), 0, {}};

}  // namespace

REALproperty* scaleFactorProperty() { return &gScaleFactorProperty; }
double scaleFactor() { return gScaleFactor; }

void setScaleFactor(double f) {
    if (std::isnan(f)) return;
    gScaleFactor = std::clamp(f, 1.0, 100.0);
}

int px(int v) {
    const double scaled = std::trunc(v * gScaleFactor);
    return static_cast<int>(std::clamp(scaled, -2147483648.0, 2147483647.0));
}

// ---- values in ----

InString::InString(REALstring s) {
    if (!s) return;
    if (auto f = lockString.get()) f(s);
    const std::uint32_t encoding = stringEncoding.get() ? stringEncoding.get()(s) : kREALTextEncodingUnknown;
    // Older hosts keep UTF-8 and ASCII strings as they are: their bytes serve unconverted.
    const bool asIs = (encoding == kREALTextEncodingUTF8 || encoding == kREALTextEncodingASCII) &&
                      hostVersion() < kModernHost;
    auto read = [&](REALstring from, std::uint32_t as) {
        REALstringData data{};
        auto get = getStringData.get();
        if (!get || !get(from, as, &data)) return false;
        text_.assign(static_cast<const char*>(data.data), data.length);
        if (auto f = disposeStringData.get()) f(&data);
        return true;
    };
    if (!read(s, asIs ? encoding : kREALTextEncodingUTF8))
        if (auto convert = convertString.get())
            if (REALstring utf8 = convert(s, kREALTextEncodingUTF8)) {
                read(utf8, kREALTextEncodingUTF8);
                if (auto f = unlockString.get()) f(utf8);
            }
    // The library reads texts up to their first zero byte.
    text_.resize(std::strlen(text_.c_str()));
    if (auto f = unlockString.get()) f(s);
}

std::string folderItemPath(REALfolderItem item) {
    REALfileReference ref{};
    auto f = fileReference.get();
    if (!item || !f || !f(item, &ref)) return std::string();
    // file:// URL to a POSIX path: percent escapes decoded, "." and ".." segments resolved.
    const char* url = ref.url;
    if (std::strncmp(url, "file://", 7) == 0) url += 7;
    std::string decoded;
    for (const char* p = url; *p; ++p) {
        if (*p == '%' && std::isxdigit(static_cast<unsigned char>(p[1])) &&
            std::isxdigit(static_cast<unsigned char>(p[2]))) {
            decoded += static_cast<char>(std::strtol(std::string(p + 1, 2).c_str(), nullptr, 16));
            p += 2;
        } else {
            decoded += *p;
        }
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= decoded.size()) {
        std::size_t end = decoded.find('/', start);
        if (end == std::string::npos) end = decoded.size();
        std::string part = decoded.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string& p : parts) path += "/" + p;
    return path.empty() ? "/" : path;
}

InPath::InPath(REALfolderItem item) {
    if (!item) throw HostRaise{"NilObjectException", "folderitem is nil"};
    path_ = folderItemPath(item);
}

namespace {

long countOf(REALarray a) {
    auto f = uBound.get();
    if (!a || !f) return 0;
    const long upper = f(a);
    return upper < 0 ? 0 : upper + 1;
}

}  // namespace

InDoubles::InDoubles(REALarray a) {
    const long n = countOf(a);
    auto get = doubleGet.get();
    if (!get && directGet.get()) get = reinterpret_cast<PluginDoubleArrayGetProcType>(directGet.get()(a));
    if (!get) return;
    values_.resize(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) values_[static_cast<std::size_t>(i)] = get(a, i);
}

double chartTimeOf(REALobject date) {
    static const char* const kNames[6] = {"Year", "Month", "Day", "Hour", "Minute", "Second"};
    int parts[6] = {1, 1, 1, 0, 0, 0};
    for (int k = 0; k < 6 && date; ++k) {
        if (hostVersion() >= kModernHost && getPropInteger.get()) {
            std::int64_t v = 0;
            if (getPropInteger.get()(date, kNames[k], &v)) parts[k] = static_cast<int>(v);
        } else if (getPropInt.get()) {
            std::int32_t v = 0;
            if (getPropInt.get()(date, kNames[k], &v)) parts[k] = v;
        }
    }
    return CChart_chartTime(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
}

InDates::InDates(REALarray a) {
    const long n = countOf(a);
    auto get = objectGet.get();
    if (!get) return;
    values_.reserve(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) {
        REALobject date = get(a, i);
        values_.push_back(chartTimeOf(date));
        unlock(date);
    }
}

InIntegerDoubles::InIntegerDoubles(REALarray a) {
    const long n = countOf(a);
    auto get = integerGet.get();
    if (!get) return;
    values_.resize(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) values_[static_cast<std::size_t>(i)] = get(a, i);
}

InInts::InInts(REALarray a, bool colours) {
    const long n = countOf(a);
    auto get = integerGet.get();
    auto getColour = colorGet.get();
    if (colours ? !getColour : !get) return;
    values_.resize(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i)
        values_[static_cast<std::size_t>(i)] = colours ? static_cast<int>(getColour(a, i)) : get(a, i);
}

InStrings::InStrings(REALarray a) {
    const long n = countOf(a);
    auto get = stringGet.get();
    if (!get) return;
    texts_.reserve(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) {
        REALstring s = get(a, i);
        texts_.emplace_back(InString(s).c_str());
        if (auto f = unlockString.get(); f && s) f(s);
    }
    for (const std::string& t : texts_) pointers_.push_back(t.c_str());
}

// ---- values out ----

REALstring outString(const char* text) {
    if (!text) text = "";
    const int len = static_cast<int>(std::strlen(text));
    if (auto f = buildStringWithEncoding.get()) return f(text, len, kREALTextEncodingUTF8);
    if (auto f = buildString.get()) {
        REALstring s = f(text, len);
        if (auto g = setStringEncoding.get(); g && s) g(s, kREALTextEncodingUTF8);
        return s;
    }
    return nullptr;
}

REALarray outDoubles(const double* values, int count) {
    auto make = createArray.get();
    auto insert = doubleInsert.get();
    if (!make || !insert) return nullptr;
    REALarray a = make(kREALArrayDouble, -1);
    for (int i = 0; a && values && i < count; ++i) insert(a, i, values[i]);
    return a;
}

REALarray outInts(const int* values, int count) {
    auto make = createArray.get();
    auto set = integerSet.get();
    if (!make || !set) return nullptr;
    REALarray a = make(kREALArrayInteger, values ? count - 1 : -1);
    for (int i = 0; a && values && i < count; ++i) set(a, i, values[i]);
    return a;
}

}  // namespace host

// The host services a plugin resolves by name: class registration, objects and their locks,
// strings in encodings, arrays, dates, pictures with their bitmaps and masks, folder items and
// exceptions.
#include "testhost_p.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <new>

namespace testhost {

namespace {

TestHost::State* gState = nullptr;

TestHost::State& st() { return *gState; }

// ---- registration and objects ----

double getVersion() { return st().options.version; }

void registerPluginVersion(int version) { st().pluginVersion = version; }

// A record of control version 9 read into the current layout; the host keeps the copy.
REALclassDefinition* fromOldLayout(const REALclassDefinition9& old) {
    auto& s = st();
    auto copy = std::make_unique<TestHost::State::Converted>();
    for (std::uint32_t i = 0; i < old.methodCount; ++i) {
        const REALmethodDefinition9& m = old.methods[i];
        copy->methods.push_back({m.function, m.setterFunction, m.declaration, m.mFlags, 0, nullptr});
    }
    for (std::uint32_t i = 0; i < old.sharedMethodCount; ++i) {
        const REALmethodDefinition9& m = old.sharedMethods[i];
        copy->sharedMethods.push_back({m.function, m.setterFunction, m.declaration, m.mFlags, 0, nullptr});
    }
    for (std::uint32_t i = 0; i < old.propertyCount; ++i) {
        const REALproperty9& p = old.properties[i];
        copy->properties.push_back({p.group, p.name, p.type, p.flags, p.getter, p.setter, p.param, {}});
    }
    for (std::uint32_t i = 0; i < old.sharedPropertyCount; ++i) {
        const REALproperty9& p = old.sharedProperties[i];
        copy->sharedProperties.push_back({p.group, p.name, p.type, p.flags, p.getter, p.setter, p.param, {}});
    }
    REALclassDefinition& d = copy->def;
    d.version = old.version;
    d.name = old.name;
    d.superName = old.superName;
    d.dataSize = old.dataSize;
    d.constructor = old.constructor;
    d.destructor = old.destructor;
    d.properties = copy->properties.data();
    d.propertyCount = old.propertyCount;
    d.methods = copy->methods.data();
    d.methodCount = old.methodCount;
    d.constants = old.constants;
    d.constantCount = old.constantCount;
    d.mFlags = old.mFlags;
    d.sharedProperties = copy->sharedProperties.data();
    d.sharedPropertyCount = old.sharedPropertyCount;
    d.sharedMethods = copy->sharedMethods.data();
    d.sharedMethodCount = old.sharedMethodCount;
    s.converted.push_back(std::move(copy));
    return &d;
}

void registerClass(REALclassDefinition* given) {
    auto& s = st();
    if (!given) return;
    // The plugin said which layout it hands over; the data offset goes back into its own record.
    const bool old = s.pluginVersion == 9;
    REALclassDefinition* def = old ? fromOldLayout(*reinterpret_cast<REALclassDefinition9*>(given)) : given;
    if (!def->name || s.classes.count(def->name)) return;
    // Parents may come later; TestHost::load links them once the plugin has registered everything.
    ClassInfo* c = addClass(s, def->name, nullptr, def);
    c->offsetSlot = old ? &reinterpret_cast<REALclassDefinition9*>(given)->forSystemUse : &def->forSystemUse;
    s.registered.push_back(c);
}

REALobject pluginNewInstance(const char* className) {
    auto& s = st();
    auto it = className ? s.classes.find(className) : s.classes.end();
    if (it == s.classes.end()) return nullptr;
    return toReal(newObject(it->second));
}

void lockObject(REALobject o) { retain(fromReal(o)); }
void unlockObject(REALobject o) { release(fromReal(o)); }

// ---- strings ----

void lockString(REALstring s) {
    if (s) ++fromReal(s)->refs;
}
void unlockString(REALstring s) { releaseString(fromReal(s)); }

std::uint32_t stringEncoding(REALstring s) { return s ? fromReal(s)->encoding : kREALTextEncodingUnknown; }

std::string toUTF8(const HostString& s) {
    if (s.encoding != kREALTextEncodingLatin1) return s.bytes;
    std::string out;
    for (unsigned char c : s.bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return out;
}

bool getStringData(REALstring s, std::uint32_t encoding, REALstringData* out) {
    if (!s || !out) return false;
    const HostString& str = *fromReal(s);
    std::string bytes = encoding == str.encoding ? str.bytes : encoding == kREALTextEncodingUTF8 ? toUTF8(str) : "";
    if (encoding != str.encoding && encoding != kREALTextEncodingUTF8) return false;
    char* copy = new char[bytes.size() + 1];
    std::memcpy(copy, bytes.c_str(), bytes.size() + 1);
    *out = REALstringData{copy, bytes.size(), encoding};
    return true;
}

void disposeStringData(REALstringData* d) {
    if (!d) return;
    delete[] static_cast<const char*>(d->data);
    d->data = nullptr;
}

REALstring convertString(REALstring s, std::uint32_t encoding) {
    if (!s || encoding != kREALTextEncodingUTF8) return nullptr;
    return toReal(newString(toUTF8(*fromReal(s)), kREALTextEncodingUTF8));
}

REALstring buildStringWithEncoding(const char* bytes, int length, std::uint32_t encoding) {
    return toReal(newString(std::string(bytes ? bytes : "", bytes && length > 0 ? length : 0), encoding));
}

REALstring buildString(const char* bytes, int length) {
    return buildStringWithEncoding(bytes, length, kREALTextEncodingUnknown);
}

void setStringEncoding(REALstring s, std::uint32_t encoding) {
    if (s) fromReal(s)->encoding = encoding;
}

// ---- arrays ----

long uBound(REALarray a) { return a ? fromReal(a)->count() - 1 : -1; }

bool inRange(REALarray a, long i) { return a && i >= 0 && i < fromReal(a)->count(); }

double doubleGet(REALarray a, long i) { return inRange(a, i) ? fromReal(a)->numbers[i] : 0; }
RBInteger integerGet(REALarray a, long i) {
    return inRange(a, i) ? static_cast<RBInteger>(static_cast<std::int64_t>(fromReal(a)->numbers[i])) : 0;
}
RBColor colorGet(REALarray a, long i) { return static_cast<RBColor>(integerGet(a, i)); }
REALstring stringGet(REALarray a, long i) {
    if (!inRange(a, i) || i >= static_cast<long>(fromReal(a)->strings.size())) return nullptr;
    HostString* s = fromReal(a)->strings[i];
    if (s) ++s->refs;
    return toReal(s);
}
REALobject objectGet(REALarray a, long i) {
    if (!inRange(a, i) || i >= static_cast<long>(fromReal(a)->objects.size())) return nullptr;
    HostObject* o = fromReal(a)->objects[i];
    retain(o);
    return toReal(o);
}
void doubleInsert(REALarray a, long i, double v) {
    if (!a || i < 0 || i > fromReal(a)->count()) return;
    auto& n = fromReal(a)->numbers;
    n.insert(n.begin() + i, v);
}
void objectInsert(REALarray a, long i, REALobject o) {
    if (!a || i < 0 || i > fromReal(a)->count()) return;
    retain(fromReal(o));
    auto& v = fromReal(a)->objects;
    v.insert(v.begin() + i, fromReal(o));
}
void integerSet(REALarray a, long i, RBInteger v) {
    if (inRange(a, i)) fromReal(a)->numbers[i] = v;
}

REALproc directGetter(REALarray a) {
    if (!a) return nullptr;
    switch (fromReal(a)->elementType) {
        case kREALArrayDouble: return reinterpret_cast<REALproc>(doubleGet);
        case kREALArrayInteger: return reinterpret_cast<REALproc>(integerGet);
        case kREALArrayColor: return reinterpret_cast<REALproc>(colorGet);
        case kREALArrayString: return reinterpret_cast<REALproc>(stringGet);
        default: return reinterpret_cast<REALproc>(objectGet);
    }
}
REALproc directInserter(REALarray a) {
    if (!a) return nullptr;
    return fromReal(a)->elementType == kREALArrayObject ? reinterpret_cast<REALproc>(objectInsert)
                                                       : reinterpret_cast<REALproc>(doubleInsert);
}
REALproc directSetter(REALarray a) { return a ? reinterpret_cast<REALproc>(integerSet) : nullptr; }

REALarray createBoundedArray(int elementType, long upperBound) {
    HostArray* a = newArray(elementType);
    if (upperBound >= 0) {
        if (elementType == kREALArrayString)
            a->strings.assign(static_cast<std::size_t>(upperBound) + 1, nullptr);
        else if (elementType == kREALArrayObject)
            a->objects.assign(static_cast<std::size_t>(upperBound) + 1, nullptr);
        else
            a->numbers.assign(static_cast<std::size_t>(upperBound) + 1, 0.0);
    }
    return toReal(a);
}

// ---- properties of the host's objects ----

bool getProperty(REALobject obj, const char* name, std::int64_t* value) {
    HostObject* o = fromReal(obj);
    if (!o || !name || !value) return false;
    static const char* const kDate[6] = {"Year", "Month", "Day", "Hour", "Minute", "Second"};
    if (o->cls->name == "Date")
        for (int k = 0; k < 6; ++k)
            if (std::strcmp(name, kDate[k]) == 0) return *value = o->date[k], true;
    if (o->cls->name == "Picture") {
        if (std::strcmp(name, "Width") == 0) return *value = o->width, true;
        if (std::strcmp(name, "Height") == 0) return *value = o->height, true;
    }
    if (std::strcmp(name, "ErrorNumber") == 0) return *value = o->errorNumber, true;
    return false;
}

bool getPropInt(REALobject o, const char* name, std::int32_t* value) {
    std::int64_t v = 0;
    if (!value || !getProperty(o, name, &v)) return false;
    *value = static_cast<std::int32_t>(v);
    return true;
}
bool getPropInteger(REALobject o, const char* name, std::int64_t* value) { return getProperty(o, name, value); }
bool getPropBool(REALobject obj, const char* name, bool* value) {
    HostObject* o = fromReal(obj);
    if (!o || !value || o->cls->name != "Picture" || std::strcmp(name, "HasAlphaChannel") != 0) return false;
    *value = o->hasAlpha;
    return true;
}
bool setPropInteger(REALobject obj, const char* name, std::int64_t value) {
    HostObject* o = fromReal(obj);
    if (!o || std::strcmp(name, "ErrorNumber") != 0) return false;
    o->errorNumber = value;
    return true;
}
bool setPropInt(REALobject o, const char* name, std::int32_t value) { return setPropInteger(o, name, value); }
bool setPropString(REALobject obj, const char* name, REALstring value) {
    HostObject* o = fromReal(obj);
    if (!o || std::strcmp(name, "Message") != 0) return false;
    o->message = value ? toUTF8(*fromReal(value)) : "";
    return true;
}

void raiseException(REALobject e) {
    auto& s = st();
    if (!e || s.pending) return;
    retain(fromReal(e));
    s.pending = fromReal(e);
}

// ---- pictures ----

HostObject* newPicture(int width, int height) {
    HostObject* p = newObject(st().classes.at("Picture"));
    p->width = width > 0 ? width : 0;
    p->height = height > 0 ? height : 0;
    p->pixels.assign(static_cast<std::size_t>(p->width) * p->height, 0);
    return p;
}

bool lockPicture(REALpicture pic, REALpictureDescription* out) {
    HostObject* p = fromReal(pic);
    if (!p || !out || p->cls->name != "Picture" || p->vector) return false;
    *out = REALpictureDescription{p->pixels.data(), p->width * 4, 32, p->hasAlpha ? kREALAlphaFirst : kREALAlphaNone,
                                  p->width, p->height};
    return true;
}
void unlockPicture(REALpicture) {}

// A new mask shows the whole picture: black everywhere.
REALpicture pictureMask(REALpicture pic, bool create) {
    HostObject* p = fromReal(pic);
    if (!p || p->cls->name != "Picture") return nullptr;
    if (!p->mask && create) {
        p->mask = newPicture(p->width, p->height);
        std::fill(p->mask->pixels.begin(), p->mask->pixels.end(), 0xff000000u);
    }
    retain(p->mask);
    return toReal(p->mask);
}
void clearCache(REALpicture) {}

REALpicture buildPicture(RBInteger width, RBInteger height, const std::uint32_t* pixels, RBInteger bytesPerRow) {
    HostObject* p = newPicture(width, height);
    for (int y = 0; pixels && y < p->height; ++y)
        std::memcpy(p->pixels.data() + static_cast<std::size_t>(y) * p->width,
                    reinterpret_cast<const char*>(pixels) + static_cast<std::ptrdiff_t>(y) * bytesPerRow,
                    static_cast<std::size_t>(p->width) * 4);
    return toReal(p);
}

int pictureType(REALpicture pic) {
    if (!pic || fromReal(pic)->cls->name != "Picture") return 0;
    return fromReal(pic)->vector ? kREALPictureVector : kREALPictureBitmap;
}

// The Picture class's own methods the plugin may load.
void pictureConstructor(REALobject pic, RBInteger width, RBInteger height) {
    HostObject* p = fromReal(pic);
    p->width = width > 0 ? width : 0;
    p->height = height > 0 ? height : 0;
    p->pixels.assign(static_cast<std::size_t>(p->width) * p->height, 0);
}
void pictureSetMask(REALobject pic, REALpicture mask) {
    HostObject* p = fromReal(pic);
    retain(fromReal(mask));
    release(p->mask);
    p->mask = fromReal(mask);
    p->hasAlpha = false;
}
void pictureDrawPicture(REALobject pic, REALpicture image, RBInteger x, RBInteger y, RBInteger w, RBInteger h,
                        RBInteger sx, RBInteger sy, RBInteger sw, RBInteger sh) {
    HostObject* d = fromReal(pic);
    HostObject* s = fromReal(image);
    if (!d || !s) return;
    if (sw == -10000) sw = s->width;
    if (sh == -10000) sh = s->height;
    for (int j = 0; j < h && sw > 0 && sh > 0; ++j)
        for (int i = 0; i < w; ++i) {
            const int tx = x + i, ty = y + j, fx = sx + i * sw / w, fy = sy + j * sh / h;
            if (tx < 0 || ty < 0 || tx >= d->width || ty >= d->height || fx < 0 || fy < 0 || fx >= s->width ||
                fy >= s->height)
                continue;
            d->pixels[static_cast<std::size_t>(ty) * d->width + tx] = s->pixels[static_cast<std::size_t>(fy) * s->width + fx];
        }
}

REALproc loadObjectMethod(REALobject obj, const char* declaration) {
    if (!obj || !declaration || fromReal(obj)->cls->name != "Picture") return nullptr;
    const std::string d = declaration;
    if (d.rfind("Constructor(", 0) == 0) return reinterpret_cast<REALproc>(pictureConstructor);
    if (d.rfind("Mask(", 0) == 0) return reinterpret_cast<REALproc>(pictureSetMask);
    if (d.rfind("DrawPicture(", 0) == 0) return reinterpret_cast<REALproc>(pictureDrawPicture);
    return nullptr;
}

// ---- folder items ----

bool fileReference(REALfolderItem item, REALfileReference* out) {
    HostObject* f = fromReal(item);
    if (!f || !out || f->cls->name != "FolderItem") return false;
    std::string url = "file://";
    static const char* const kHex = "0123456789ABCDEF";
    for (unsigned char c : f->path) {
        if (std::isalnum(c) || std::strchr("/-._~", c)) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    if (url.size() >= sizeof(out->url)) return false;
    std::memcpy(out->url, url.c_str(), url.size() + 1);
    return true;
}

struct NamedService {
    const char* name;
    void* proc;
};

template <class F>
void* asVoid(F f) {
    return reinterpret_cast<void*>(f);
}

const NamedService kServices[] = {
    {"REALGetRBVersion", asVoid(getVersion)},
    {"RegisterPluginVersion", asVoid(registerPluginVersion)},
    {"PluginRegisterClass", asVoid(registerClass)},
    {"PluginNewInstance", asVoid(pluginNewInstance)},
    {"REALLockObject", asVoid(lockObject)},
    {"REALUnlockObject", asVoid(unlockObject)},
    {"REALLockString", asVoid(lockString)},
    {"REALUnlockString", asVoid(unlockString)},
    {"REALGetStringEncoding", asVoid(stringEncoding)},
    {"PluginGetStringData", asVoid(getStringData)},
    {"PluginDisposeStringData", asVoid(disposeStringData)},
    {"REALConvertString", asVoid(convertString)},
    {"REALBuildStringWithEncoding", asVoid(buildStringWithEncoding)},
    {"REALBuildString", asVoid(buildString)},
    {"REALSetStringEncoding", asVoid(setStringEncoding)},
    {"RuntimeUBound", asVoid(uBound)},
    {"RuntimeArrayDirectGetGetProc", asVoid(directGetter)},
    {"RuntimeArrayDirectGetInsertProc", asVoid(directInserter)},
    {"RuntimeArrayDirectGetSetProc", asVoid(directSetter)},
    {"PluginDoubleArrayGetProc", asVoid(doubleGet)},
    {"PluginIntegerArrayGetProc", asVoid(integerGet)},
    {"PluginColorArrayGetProc", asVoid(colorGet)},
    {"PluginStringArrayGetProc", asVoid(stringGet)},
    {"PluginObjectArrayGetProc", asVoid(objectGet)},
    {"PluginDoubleArrayInsertProc", asVoid(doubleInsert)},
    {"PluginObjectArrayInsertProc", asVoid(objectInsert)},
    {"PluginIntegerArraySetProc", asVoid(integerSet)},
    {"RuntimeArrayCreateSingleDimBoundedArray", asVoid(createBoundedArray)},
    {"REALGetPropValueInt", asVoid(getPropInt)},
    {"REALGetPropValueInteger", asVoid(getPropInteger)},
    {"REALGetPropValueBool", asVoid(getPropBool)},
    {"REALSetPropValueInt", asVoid(setPropInt)},
    {"REALSetPropValueInteger", asVoid(setPropInteger)},
    {"REALSetPropValueString", asVoid(setPropString)},
    {"RuntimeRaiseException", asVoid(raiseException)},
    {"REALLockPictureDescription", asVoid(lockPicture)},
    {"REALUnlockPictureDescription", asVoid(unlockPicture)},
    {"REALGetPictureMask", asVoid(pictureMask)},
    {"REALPictureClearCache", asVoid(clearCache)},
    {"REALBuildPictureFromBuffer", asVoid(buildPicture)},
    {"PluginPictureGetType", asVoid(pictureType)},
    {"REALLoadObjectMethod", asVoid(loadObjectMethod)},
    {"REALFSRefFromFolderItem", asVoid(fileReference)},
};

}  // namespace

TestHost::State* currentState() { return gState; }
void setCurrentState(TestHost::State* s) { gState = s; }

void* resolveService(const char* name) {
    if (!gState || !name || gState->options.missing.count(name)) return nullptr;
    for (const NamedService& s : kServices)
        if (std::strcmp(s.name, name) == 0) return s.proc;
    return nullptr;
}

long HostArray::count() const {
    if (elementType == kREALArrayString) return static_cast<long>(strings.size());
    if (elementType == kREALArrayObject) return static_cast<long>(objects.size());
    return static_cast<long>(numbers.size());
}

ClassInfo* addClass(TestHost::State& s, const std::string& name, ClassInfo* parent, REALclassDefinition* def) {
    auto* c = new ClassInfo;
    c->name = name;
    c->parent = parent;
    c->def = def;
    s.owned.push_back(c);
    s.classes[name] = c;
    return c;
}

HostObject* newObject(ClassInfo* cls) {
    void* memory = ::operator new(cls->objectSize);
    std::memset(memory, 0, cls->objectSize);
    auto* o = new (memory) HostObject;
    o->cls = cls;
    ++gState->liveObjects;
    return o;
}

void retain(HostObject* o) {
    if (o) ++o->refs;
}

void release(HostObject* o) {
    if (!o || --o->refs > 0) return;
    // Destructors run from the object's own class up to its root, as the host does.
    for (ClassInfo* c = o->cls; c; c = c->parent)
        if (c->def && c->def->destructor) c->def->destructor(toReal(o));
    release(o->mask);
    o->~HostObject();
    ::operator delete(o);
    --gState->liveObjects;
}

HostString* newString(const std::string& bytes, std::uint32_t encoding) {
    auto* s = new HostString;
    s->bytes = bytes;
    s->encoding = encoding;
    ++gState->liveStrings;
    return s;
}

void releaseString(HostString* s) {
    if (!s || --s->refs > 0) return;
    delete s;
    --gState->liveStrings;
}

HostArray* newArray(int elementType) {
    auto* a = new HostArray;
    a->elementType = elementType;
    ++gState->liveArrays;
    return a;
}

void releaseArray(HostArray* a) {
    if (!a || --a->refs > 0) return;
    for (HostString* s : a->strings) releaseString(s);
    for (HostObject* o : a->objects) release(o);
    delete a;
    --gState->liveArrays;
}

}  // namespace testhost

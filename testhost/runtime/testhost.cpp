// Calls through the registered records, the way the IDE's runtime makes them: a call is matched to
// a declaration by name and by the count and kinds of its arguments, missing trailing arguments
// are filled from the declaration's defaults, and the method's procedure is called with the
// native calling convention (through libffi, since the signatures are only known at run time).
// Results come back as program values; an exception the plugin raised during the call becomes
// the call's outcome.
#include "testhost_p.h"

#include <ffi.h>

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace testhost {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool same(const std::string& a, const std::string& b) { return lower(a) == lower(b); }

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::vector<std::string> splitTop(const std::string& s) {
    std::vector<std::string> out;
    std::string cur;
    bool quoted = false;
    int depth = 0;
    for (char c : s) {
        if (c == '"') quoted = !quoted;
        if (!quoted && c == '(') ++depth;
        if (!quoted && c == ')') --depth;
        if (!quoted && depth == 0 && c == ',') {
            out.push_back(trim(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!trim(cur).empty()) out.push_back(trim(cur));
    return out;
}

// "a as integer" / "a() as double = 1": lower-case type, array flag.
bool parseParam(const std::string& text, Param& p) {
    std::string decl = text, def;
    const auto eq = text.find('=');
    if (eq != std::string::npos && text.find('"') > eq) {
        decl = trim(text.substr(0, eq));
        def = trim(text.substr(eq + 1));
        p.hasDefault = true;
        p.defaultText = def;
    }
    const std::string l = lower(decl);
    const auto as = l.find(" as ");
    if (as == std::string::npos) return false;
    p.name = trim(decl.substr(0, as));
    if (lower(p.name).rfind("assigns ", 0) == 0) p.name = trim(p.name.substr(8));
    if (p.name.size() > 2 && p.name.compare(p.name.size() - 2, 2, "()") == 0) {
        p.array = true;
        p.name.resize(p.name.size() - 2);
    }
    p.type = lower(trim(decl.substr(as + 4)));
    return !p.name.empty() && !p.type.empty();
}

// ---- values ----

Value nil() { return Value(); }

Value integerValue(std::int64_t v) {
    Value r;
    r.kind = Value::Kind::Integer;
    r.integer = v;
    return r;
}

Value doubleValue(double v) {
    Value r;
    r.kind = Value::Kind::Double;
    r.number = v;
    return r;
}

Value stringValue(const std::string& s) {
    Value r;
    r.kind = Value::Kind::String;
    r.text = s;
    return r;
}

// Takes over one reference of o.
Value objectValue(HostObject* o) {
    if (!o) return nil();
    Value r;
    r.kind = Value::Kind::Object;
    r.object = std::shared_ptr<HostObject>(o, [](HostObject* p) { release(p); });
    return r;
}

HostObject* objectOf(const Value& v) { return v.kind == Value::Kind::Object ? v.object.get() : nullptr; }

bool classIs(const ClassInfo* c, const std::string& name) {
    for (; c; c = c->parent)
        if (same(c->name, name)) return true;
    return false;
}

// How well a value fits a declared argument: higher is better, negative does not fit.
int fit(const Value& v, const Param& p) {
    using K = Value::Kind;
    const std::string& t = p.type;
    if (p.array) {
        if (v.kind == K::Nil) return 1;
        if (v.kind != K::Array) return -1;
        const K e = v.elementKind;
        if (e == K::Nil || !v.elements || v.elements->empty()) return 1;
        if (t == "double") return e == K::Double ? 2 : e == K::Integer ? 1 : -1;
        if (t == "integer") return e == K::Integer ? 2 : e == K::Color ? 1 : -1;
        if (t == "color") return e == K::Color ? 2 : e == K::Integer ? 1 : -1;
        if (t == "string") return e == K::String ? 2 : -1;
        return e == K::Object && classIs((*v.elements)[0].object->cls, p.type) ? 2 : -1;
    }
    if (t == "integer" || t == "int64") return v.kind == K::Integer ? 2 : v.kind == K::Color ? 1 : -1;
    if (t == "double") return v.kind == K::Double ? 2 : v.kind == K::Integer ? 1 : -1;
    if (t == "color") return v.kind == K::Color ? 2 : v.kind == K::Integer ? 1 : -1;
    if (t == "boolean") return v.kind == K::Boolean ? 2 : -1;
    if (t == "string") return v.kind == K::String ? 2 : -1;
    if (v.kind == K::Nil) return 1;
    return v.kind == K::Object && classIs(v.object->cls, p.type) ? 2 : -1;
}

// A default as written in a declaration.
Value defaultValue(const Param& p) {
    const std::string& d = p.defaultText;
    const std::string& t = p.type;
    if (d == "nil") return nil();
    if (d == "true" || d == "false") {
        Value r;
        r.kind = Value::Kind::Boolean;
        r.boolean = d == "true";
        return r;
    }
    if (!d.empty() && d[0] == '"') return stringValue(d.substr(1, d.size() - 2));
    std::int64_t integer = 0;
    if (lower(d).rfind("&h", 0) == 0) {
        integer = static_cast<std::int32_t>(static_cast<std::uint32_t>(std::strtoull(d.c_str() + 2, nullptr, 16)));
    } else if (t == "double") {
        return doubleValue(std::strtod(d.c_str(), nullptr));
    } else {
        integer = std::strtoll(d.c_str(), nullptr, 10);
    }
    Value r = integerValue(integer);
    if (t == "color") r.kind = Value::Kind::Color;
    if (t == "double") r = doubleValue(static_cast<double>(integer));
    return r;
}

ffi_type* ffiTypeOf(const std::string& t, bool array) {
    if (array) return &ffi_type_pointer;
    if (t == "integer") return &ffi_type_sint32;
    if (t == "color") return &ffi_type_uint32;
    if (t == "double") return &ffi_type_double;
    if (t == "boolean") return &ffi_type_uint8;
    if (t == "int64") return &ffi_type_sint64;
    return &ffi_type_pointer;
}

union Slot {
    std::int32_t i32;
    std::uint32_t u32;
    std::uint8_t u8;
    std::int64_t i64;
    double d;
    void* p;
    ffi_arg raw;
};

// Host values made for one call and released after it.
struct CallTemps {
    std::vector<HostString*> strings;
    std::vector<HostArray*> arrays;
    ~CallTemps() {
        for (HostString* s : strings) releaseString(s);
        for (HostArray* a : arrays) releaseArray(a);
    }
};

// A program's text as the host keeps it: UTF-8, or Latin-1 where the host is set to it (characters
// beyond Latin-1 become "?").
HostString* programString(const std::string& utf8) {
    const std::uint32_t encoding = currentState()->options.stringEncoding;
    if (encoding != kREALTextEncodingLatin1) return newString(utf8, encoding);
    std::string latin1;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            latin1 += static_cast<char>(c);
        } else if ((c == 0xc2 || c == 0xc3) && i + 1 < utf8.size()) {
            latin1 += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3f));
        } else if (c >= 0xc0) {
            latin1 += '?';
            while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xc0) == 0x80) ++i;
        }
    }
    return newString(latin1, encoding);
}

HostArray* arrayFor(const Value& v, const Param& p, CallTemps& temps) {
    if (v.kind != Value::Kind::Array) return nullptr;
    const std::string& t = p.type;
    const int type = t == "double" ? kREALArrayDouble : t == "integer" ? kREALArrayInteger : t == "color" ? kREALArrayColor
                     : t == "string" ? kREALArrayString : kREALArrayObject;
    HostArray* a = newArray(type);
    temps.arrays.push_back(a);
    for (const Value& e : v.elements ? *v.elements : ValueList()) {
        if (type == kREALArrayString) {
            a->strings.push_back(programString(e.text));
        } else if (type == kREALArrayObject) {
            retain(objectOf(e));
            a->objects.push_back(objectOf(e));
        } else {
            a->numbers.push_back(e.kind == Value::Kind::Double ? e.number : static_cast<double>(e.integer));
        }
    }
    return a;
}

Slot slotFor(const Value& v, const Param& p, CallTemps& temps) {
    Slot s{};
    if (p.array) {
        s.p = arrayFor(v, p, temps);
        return s;
    }
    const std::string& t = p.type;
    if (t == "integer") s.i32 = static_cast<std::int32_t>(v.integer);
    else if (t == "color") s.u32 = static_cast<std::uint32_t>(v.integer);
    else if (t == "int64") s.i64 = v.integer;
    else if (t == "double") s.d = v.kind == Value::Kind::Double ? v.number : static_cast<double>(v.integer);
    else if (t == "boolean") s.u8 = v.boolean ? 1 : 0;
    else if (t == "string") {
        HostString* str = programString(v.text);
        temps.strings.push_back(str);
        s.p = str;
    } else {
        s.p = objectOf(v);
    }
    return s;
}

std::string utf8Of(HostString* s) { return s ? s->bytes : std::string(); }

Value resultValue(const Slot& r, const std::string& t, bool array) {
    if (t.empty()) return nil();
    if (array) {
        HostArray* a = static_cast<HostArray*>(r.p);
        if (!a) return nil();
        Value v;
        v.kind = Value::Kind::Array;
        v.elements = std::make_shared<ValueList>();
        v.elementKind = t == "double" ? Value::Kind::Double : t == "color" ? Value::Kind::Color
                        : t == "string" ? Value::Kind::String : Value::Kind::Integer;
        for (long i = 0; i < a->count(); ++i) {
            if (a->elementType == kREALArrayString) {
                v.elements->push_back(stringValue(utf8Of(a->strings[i])));
            } else if (a->elementType == kREALArrayObject) {
                retain(a->objects[i]);
                v.elements->push_back(objectValue(a->objects[i]));
            } else if (a->elementType == kREALArrayDouble) {
                v.elements->push_back(doubleValue(a->numbers[i]));
            } else {
                Value e = integerValue(static_cast<std::int32_t>(static_cast<std::int64_t>(a->numbers[i])));
                e.kind = v.elementKind;
                v.elements->push_back(e);
            }
        }
        releaseArray(a);
        return v;
    }
    if (t == "integer") return integerValue(static_cast<std::int32_t>(r.raw));
    if (t == "color") {
        Value v = integerValue(static_cast<std::uint32_t>(r.raw));
        v.kind = Value::Kind::Color;
        return v;
    }
    if (t == "int64") return integerValue(r.i64);
    if (t == "double") return doubleValue(r.d);
    if (t == "boolean") {
        Value v;
        v.kind = Value::Kind::Boolean;
        v.boolean = (r.raw & 0xff) != 0;
        return v;
    }
    if (t == "string") {
        HostString* s = static_cast<HostString*>(r.p);
        Value v = stringValue(s ? utf8Of(s) : "");
        releaseString(s);
        return v;
    }
    return objectValue(static_cast<HostObject*>(r.p));
}

}  // namespace

// The native signature of a declaration, prepared once.
struct CallShape {
    std::vector<ffi_type*> types;
    ffi_cif cif;
    bool ok = false;
};

namespace {

const CallShape& shapeOf(const Declaration& d, bool withSelf) {
    if (!d.shape) {
        auto shape = std::make_shared<CallShape>();
        if (withSelf) shape->types.push_back(&ffi_type_pointer);
        for (const Param& p : d.params) shape->types.push_back(ffiTypeOf(p.type, p.array));
        ffi_type* ret = d.returnType.empty() ? &ffi_type_void : ffiTypeOf(d.returnType, d.returnsArray);
        shape->ok = ffi_prep_cif(&shape->cif, FFI_DEFAULT_ABI, static_cast<unsigned>(shape->types.size()), ret,
                                 shape->types.data()) == FFI_OK;
        d.shape = shape;
    }
    return *d.shape;
}

// Calls the declaration's procedure with an optional instance first, then the declared arguments.
Slot invoke(const Declaration& d, HostObject* self, bool withSelf, const std::vector<Slot>& slots) {
    const CallShape& shape = shapeOf(d, withSelf);
    std::vector<void*> values;
    values.reserve(slots.size() + 1);
    void* selfPointer = self;
    if (withSelf) values.push_back(&selfPointer);
    for (const Slot& slot : slots) values.push_back(const_cast<Slot*>(&slot));
    Slot result{};
    if (shape.ok) ffi_call(const_cast<ffi_cif*>(&shape.cif), d.proc, &result, values.data());
    return result;
}

CallResult error(const std::string& message) {
    CallResult r;
    r.status = CallResult::Status::Error;
    r.message = message;
    return r;
}

}  // namespace

bool parseDeclaration(const std::string& text, Declaration& out) {
    const auto open = text.find('(');
    if (open == std::string::npos) return false;
    int depth = 0;
    std::size_t close = std::string::npos;
    bool quoted = false;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '"') quoted = !quoted;
        if (quoted) continue;
        if (text[i] == '(') ++depth;
        if (text[i] == ')' && --depth == 0) {
            close = i;
            break;
        }
    }
    if (close == std::string::npos) return false;
    out = Declaration();
    out.name = trim(text.substr(0, open));
    for (const std::string& p : splitTop(text.substr(open + 1, close - open - 1))) {
        Param param;
        if (!parseParam(p, param)) return false;
        out.params.push_back(param);
    }
    const std::string rest = trim(text.substr(close + 1));
    if (!rest.empty()) {
        if (lower(rest).rfind("as ", 0) != 0) return false;
        out.returnType = lower(trim(rest.substr(3)));
        if (out.returnType.size() > 2 && out.returnType.compare(out.returnType.size() - 2, 2, "()") == 0) {
            out.returnsArray = true;
            out.returnType.resize(out.returnType.size() - 2);
        }
    }
    return !out.name.empty();
}

TestHost::TestHost(HostOptions options) : state_(std::make_unique<State>()) {
    state_->options = std::move(options);
    setCurrentState(state_.get());
    // The host's own classes.
    ClassInfo* runtime = addClass(*state_, "RuntimeException", nullptr, nullptr);
    for (const char* name : {"OutOfMemoryException", "OutOfBoundsException", "IllegalCastException", "NilObjectException"})
        addClass(*state_, name, runtime, nullptr);
    for (const char* name : {"Picture", "Date", "FolderItem"}) addClass(*state_, name, nullptr, nullptr);
    for (ClassInfo* c : state_->owned) c->objectSize = kHeaderSize;
}

TestHost::~TestHost() {
    release(state_->pending);
    for (ClassInfo* c : state_->owned) delete c;
    setCurrentState(nullptr);
}

const std::vector<ClassInfo*>& TestHost::registered() const { return state_->registered; }
int TestHost::pluginVersion() const { return state_->pluginVersion; }
int TestHost::liveObjects() const { return state_->liveObjects; }

const ClassInfo* TestHost::findClass(const std::string& name) const {
    auto it = state_->classes.find(name);
    return it == state_->classes.end() ? nullptr : it->second;
}

bool TestHost::load(const std::string& pluginPath) {
    // Kept loaded for the life of the process, as the IDE keeps its plugins.
    void* module = dlopen(pluginPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) return false;
    auto entry = reinterpret_cast<REALPluginMainProc>(dlsym(module, "REALPluginMain"));
    if (!entry) return false;
    setCurrentState(state_.get());
    entry(resolveService);
    // Link parents, lay out each class's data after its ancestors', and tell the plugin where.
    for (ClassInfo* c : state_->registered)
        if (c->def->superName) {
            auto it = state_->classes.find(c->def->superName);
            c->parent = it == state_->classes.end() ? nullptr : it->second;
        }
    std::vector<ClassInfo*> pending = state_->registered;
    while (!pending.empty()) {
        const std::size_t before = pending.size();
        for (auto it = pending.begin(); it != pending.end();) {
            ClassInfo* c = *it;
            if (c->parent && c->parent->objectSize == 0) {
                ++it;
                continue;
            }
            c->dataOffset = c->parent ? c->parent->objectSize : kHeaderSize;
            c->objectSize = c->dataOffset + c->def->dataSize;
            *c->offsetSlot = c->dataOffset;
            for (std::uint32_t i = 0; i < c->def->methodCount; ++i) {
                Declaration d;
                if (!parseDeclaration(c->def->methods[i].declaration, d)) continue;
                d.proc = c->def->methods[i].function;
                d.flags = c->def->methods[i].mFlags;
                c->methods.push_back(d);
            }
            for (std::uint32_t i = 0; i < c->def->sharedMethodCount; ++i) {
                Declaration d;
                if (!parseDeclaration(c->def->sharedMethods[i].declaration, d)) continue;
                d.proc = c->def->sharedMethods[i].function;
                c->sharedMethods.push_back(d);
            }
            it = pending.erase(it);
        }
        if (pending.size() == before) return false;  // a parent that never came
    }
    return true;
}

namespace {

// The best declaration for the arguments among those named name; null when none fits.
const Declaration* match(const std::vector<const Declaration*>& candidates, const ValueList& args) {
    const Declaration* best = nullptr;
    int bestScore = -1;
    for (const Declaration* d : candidates) {
        if (args.size() > d->params.size()) continue;
        int score = 0;
        for (std::size_t i = 0; i < d->params.size() && score >= 0; ++i) {
            if (i < args.size()) {
                const int f = fit(args[i], d->params[i]);
                score = f < 0 ? -1 : score + f;
            } else if (!d->params[i].hasDefault) {
                score = -1;
            }
        }
        if (score > bestScore) {
            best = d;
            bestScore = score;
        }
    }
    return best;
}

const std::vector<const Declaration*>& named(const ClassInfo* c, const std::string& name, bool shared, bool nearestOnly) {
    const std::string key = lower(name) + (shared ? "/shared" : "") + (nearestOnly ? "/nearest" : "");
    auto found = c->lookups.find(key);
    if (found != c->lookups.end()) return found->second;
    std::vector<const Declaration*> out;
    for (const ClassInfo* k = c; k; k = k->parent) {
        for (const Declaration& d : shared ? k->sharedMethods : k->methods)
            if (same(d.name, name)) out.push_back(&d);
        if (nearestOnly && !out.empty()) break;
    }
    return c->lookups[key] = std::move(out);
}

std::string describe(const std::string& cls, const std::string& name, const ValueList& args) {
    return cls + "." + name + " with " + std::to_string(args.size()) + " argument" + (args.size() == 1 ? "" : "s");
}

}  // namespace

// Runs one declaration: arguments converted, defaults filled, the pending exception collected.
static CallResult run(TestHost::State& s, const Declaration& d, HostObject* self, bool withSelf, const ValueList& args) {
    CallTemps temps;
    std::vector<Slot> slots;
    for (std::size_t i = 0; i < d.params.size(); ++i)
        slots.push_back(slotFor(i < args.size() ? args[i] : defaultValue(d.params[i]), d.params[i], temps));
    const Slot r = invoke(d, self, withSelf, slots);
    CallResult out;
    Value v = resultValue(r, d.returnType, d.returnsArray);
    if (s.pending) {
        out.status = CallResult::Status::Raised;
        out.message = s.pending->message;
        out.value = objectValue(s.pending);
        s.pending = nullptr;
        return out;
    }
    out.value = std::move(v);
    return out;
}

CallResult TestHost::construct(const std::string& className, const ValueList& args) {
    setCurrentState(state_.get());
    auto it = state_->classes.find(className);
    if (it == state_->classes.end()) return error("no class " + className);
    ClassInfo* c = it->second;
    auto arg = [&](std::size_t i, int fallback) {
        return i < args.size() && args[i].kind == Value::Kind::Integer ? static_cast<int>(args[i].integer) : fallback;
    };
    if (!c->def) {
        if (c->name == "Date") return CallResult{CallResult::Status::Ok, makeDate(arg(0, 1), arg(1, 1), arg(2, 1), arg(3, 0), arg(4, 0), arg(5, 0)), ""};
        if (c->name == "Picture") return CallResult{CallResult::Status::Ok, makePicture(arg(0, 0), arg(1, 0), {}, true), ""};
        if (c->name == "FolderItem")
            return CallResult{CallResult::Status::Ok, makeFolderItem(args.empty() ? "" : args[0].text), ""};
        CallResult r{CallResult::Status::Ok, objectValue(newObject(c)), ""};
        if (!args.empty()) r.value.object->message = args[0].text;
        return r;
    }
    Value object = objectValue(newObject(c));
    const auto& ctors = named(c, "Constructor", false, true);
    if (ctors.empty()) {
        if (!args.empty()) return error(describe(className, "Constructor", args) + ": no constructor takes arguments");
        return CallResult{CallResult::Status::Ok, object, ""};
    }
    const Declaration* d = match(ctors, args);
    if (!d) return error(describe(className, "Constructor", args) + ": no constructor fits");
    if (d->flags == REALprivateConstructor) return error(className + " cannot be created with New");
    CallResult r = run(*state_, *d, object.object.get(), true, args);
    if (r.status == CallResult::Status::Ok) r.value = object;
    return r;
}

CallResult TestHost::call(const Value& target, const std::string& name, const ValueList& args) {
    setCurrentState(state_.get());
    HostObject* o = objectOf(target);
    if (!o) {
        CallResult r;
        r.status = CallResult::Status::Raised;
        r.value = objectValue(newObject(state_->classes.at("NilObjectException")));
        r.value.object->message = "nil object used with " + name;
        r.message = r.value.object->message;
        return r;
    }
    if (const Declaration* d = match(named(o->cls, name, false, false), args)) return run(*state_, *d, o, true, args);
    if (args.empty()) {
        for (const ClassInfo* c = o->cls; c; c = c->parent) {
            if (!c->def) continue;
            for (std::uint32_t i = 0; i < c->def->propertyCount; ++i) {
                const REALproperty& p = c->def->properties[i];
                if (!same(p.name, name)) continue;
                Declaration d;
                d.proc = p.getter;
                d.returnType = lower(p.type);
                d.params.push_back(Param{"param", "int64", false, true, "0"});
                return run(*state_, d, o, true, {integerValue(p.param)});
            }
        }
        // The host's own objects.
        std::int64_t v = 0;
        if (same(name, "Message")) return CallResult{CallResult::Status::Ok, stringValue(o->message), ""};
        REALobject ro = toReal(o);
        if (auto get = reinterpret_cast<REALGetPropValueIntegerProc>(resolveService("REALGetPropValueInteger"));
            get && get(ro, name.c_str(), &v))
            return CallResult{CallResult::Status::Ok, integerValue(v), ""};
    }
    return error(describe(o->cls->name, name, args) + ": no such method");
}

CallResult TestHost::callShared(const std::string& className, const std::string& name, const ValueList& args) {
    setCurrentState(state_.get());
    const ClassInfo* c = findClass(className);
    if (!c) return error("no class " + className);
    if (const Declaration* d = match(named(c, name, true, false), args)) return run(*state_, *d, nullptr, false, args);
    if (!args.empty()) return error(describe(className, name, args) + ": no such shared method");
    for (; c; c = c->parent) {
        if (!c->def) continue;
        for (std::uint32_t i = 0; i < c->def->constantCount; ++i) {
            const std::string decl = c->def->constants[i].declaration;
            const auto eq = decl.find(" = ");
            if (eq == std::string::npos || !same(decl.substr(0, eq), name)) continue;
            return CallResult{CallResult::Status::Ok, defaultValue(Param{name, "integer", false, true, decl.substr(eq + 3)}), ""};
        }
        for (std::uint32_t i = 0; i < c->def->sharedPropertyCount; ++i) {
            const REALproperty& p = c->def->sharedProperties[i];
            if (!same(p.name, name)) continue;
            Declaration d;
            d.proc = p.getter;
            d.returnType = lower(p.type);
            d.params.push_back(Param{"param", "int64", false, true, "0"});
            return run(*state_, d, nullptr, false, {integerValue(p.param)});
        }
    }
    return error(describe(className, name, args) + ": no such shared member");
}

CallResult TestHost::setShared(const std::string& className, const std::string& name, const Value& value) {
    setCurrentState(state_.get());
    for (const ClassInfo* c = findClass(className); c; c = c->parent) {
        if (!c->def) continue;
        for (std::uint32_t i = 0; i < c->def->sharedPropertyCount; ++i) {
            const REALproperty& p = c->def->sharedProperties[i];
            if (!same(p.name, name) || !p.setter) continue;
            Declaration d;
            d.proc = p.setter;
            d.params.push_back(Param{"param", "int64", false, true, "0"});
            d.params.push_back(Param{"value", lower(p.type), false, false, ""});
            if (fit(value, d.params[1]) < 0) return error(className + "." + name + ": value of the wrong kind");
            return run(*state_, d, nullptr, false, {integerValue(p.param), value});
        }
    }
    return error(className + "." + name + ": no such shared property");
}

bool TestHost::isA(const Value& object, const std::string& className) {
    HostObject* o = objectOf(object);
    return o && classIs(o->cls, className);
}

std::string TestHost::exceptionMessage(const Value& exception) {
    HostObject* o = objectOf(exception);
    return o ? o->message : "";
}

Value TestHost::makePicture(int width, int height, const std::vector<std::uint32_t>& argb, bool hasAlpha,
                            bool vector) {
    setCurrentState(state_.get());
    HostObject* p = fromReal(reinterpret_cast<REALBuildPictureFromBufferProc>(resolveService("REALBuildPictureFromBuffer"))(
        width, height, argb.size() == static_cast<std::size_t>(width) * height ? argb.data() : nullptr, width * 4));
    p->hasAlpha = hasAlpha;
    p->vector = vector;
    return objectValue(p);
}

Value TestHost::makeDate(int year, int month, int day, int hour, int minute, int second) {
    setCurrentState(state_.get());
    HostObject* d = newObject(state_->classes.at("Date"));
    const int parts[6] = {year, month, day, hour, minute, second};
    std::copy(parts, parts + 6, d->date);
    return objectValue(d);
}

Value TestHost::makeFolderItem(const std::string& path) {
    setCurrentState(state_.get());
    HostObject* f = newObject(state_->classes.at("FolderItem"));
    f->path = path;
    return objectValue(f);
}

bool TestHost::setPictureMask(const Value& picture, const Value& mask) {
    setCurrentState(state_.get());
    HostObject* p = objectOf(picture);
    HostObject* m = objectOf(mask);
    if (!p || !m || p->cls->name != "Picture" || m->cls->name != "Picture") return false;
    // Through the Picture class's own method, as a plugin would load it.
    auto load = reinterpret_cast<REALLoadObjectMethodProc>(resolveService("REALLoadObjectMethod"));
    auto setMask = reinterpret_cast<void (*)(REALobject, REALpicture)>(load(toReal(p), "Mask(assigns newMask As Picture)"));
    setMask(toReal(p), toReal(m));
    return true;
}

bool TestHost::pictureOf(const Value& picture, int& width, int& height, std::vector<std::uint32_t>& argb) const {
    HostObject* p = objectOf(picture);
    if (!p || p->cls->name != "Picture") return false;
    width = p->width;
    height = p->height;
    argb = p->pixels;
    return true;
}

}  // namespace testhost

#!/usr/bin/env python3
"""Makes the abc wrapper classes from surface.txt: one C++ class per listed class, calling only the
flat C functions.

Charts, DrawArea and the data helpers are top-level wrappers: they own their handle through a
count shared by copies, and a garbage list that owns every child wrapper they hand out. Children
(layers, axes, boxes ...) hold their handle, one per base, and the garbage list of their top-level
wrapper; they never destroy library objects. The chart keeps one wrapper per axis and a layer one
per data set, so asking twice gives the same object. Methods take the flat names (addTitle2 ...)
so overloads never collide once arrays become pointer and count.

  abcgen.py write    rewrites include/plotvane/plotvane_abc.h
flatgen.py check fails when that file is stale.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import flatgen  # noqa: E402

HEADER = os.path.join(flatgen.ROOT, "include", "plotvane", "plotvane_abc.h")
ROOTS = {"BaseChart", "DrawArea", "ArrayMath", "RanTable", "RanSeries", "FinanceSimulator",
         "ImageMapHandler", "ViewPortManager"}
# Which cache a returned handle goes through, by (class or an ancestor, returned class).
CACHES = {("XYChart", "Axis"): "regAxis_", ("Layer", "DataSet"): "regDataSet_"}


def ancestors(classes, name):
    out = []
    while name:
        out.append(name)
        name = classes[name].base
    return out


def root_of(classes, name):
    return ancestors(classes, name)[-1]


def is_top(classes, name):
    return root_of(classes, name) in ROOTS


def wrapped(classes):
    return [c for c in classes.values() if c.name != "Chart"]


def wrapper_params(op, classes, handles):
    """Wrapper parameters and the flat call's arguments."""
    params, args = [], []
    for p in op.params:
        cps, _ = flatgen.c_args(p, handles)
        h = flatgen.handle_class(p.type, handles)
        for i, (t, n) in enumerate(cps):
            default = None
            if p.default:
                if p.type in flatgen.ARRAYS:
                    default = "nullptr" if i == 0 else "0"
                else:
                    default = flatgen.c_value(p.default).replace("NULL", "nullptr")
            if h in classes and h != "Chart":
                const = "const " if p.type.startswith("const ") else ""
                params.append(("%sabc::%s*" % (const, h), n, default))
                args.append("%s ? %s->pv%s() : nullptr" % (n, n, h))
            else:
                params.append((t, n, default))
                args.append(n)
    return params, args


def sig_text(params, defaults=True):
    return ", ".join("%s %s%s" % (t, n, " = " + d if d and defaults else "") for t, n, d in params)


def split(cls, ret, name, params, body, static=""):
    """The declaration inside the class, and the definition after all classes (bodies use
    wrappers declared later)."""
    return ("    %s%s %s(%s);" % (static, ret, name, sig_text(params)),
            "inline %s %s::%s(%s) {\n    %s\n}\n" % (ret, cls.name, name, sig_text(params, False), body))


def method(cls, op, classes, handles):
    params, args = wrapper_params(op, classes, handles)
    ret, extras, _, _ = flatgen.c_return(op, handles)
    for t, n in extras:
        params.append((t, n, "nullptr" if ret != "bool" else None))
        args.append(n)
    call = "C%s_%s(%s)" % (cls.name, op.flat, ", ".join(["hs_"] + args if not op.static else args))
    if not op.static:
        call = call.replace("hs_", "h%s_" % cls.name, 1)
    h = flatgen.handle_class(op.ret, handles)
    garbage = "&garbage_" if is_top(classes, cls.name) else "garbage_"
    owner = "garbage_." if is_top(classes, cls.name) else "garbage_->"
    static = "static " if op.static else ""
    if h in classes and h != "Chart":
        if h == cls.name and is_top(classes, h):
            # The chained operations work in place and hand back the same object.
            return split(cls, h + "&", op.flat, params, "%s;\n    return *this;" % call)
        cache = next((v for (owner, got), v in CACHES.items()
                      if got == h and owner in ancestors(classes, cls.name)), None)
        make = ("new %s(p, %s)" % (h, garbage)) if not is_top(classes, h) else "new %s(p)" % h
        if cache:
            body = ("return %s.get(%s, [&](Pv%s* p) { return %sadd(%s); });"
                    % (cache, call, h, owner, make))
        else:
            body = "Pv%s* p = %s;\n    return p ? %sadd(%s) : nullptr;" % (h, call, owner, make)
        return split(cls, h + "*", op.flat, params, body)
    lead = "" if ret == "void" else "return "
    return split(cls, ret, op.flat, params, lead + call + ";", static)


def class_text(cls, classes, handles, defs):
    name, base, top = cls.name, cls.base, is_top(classes, cls.name)
    inherit = "public %s" % base if base else "public Garbage"
    out = ["class %s : %s {" % (name, inherit), "public:"]
    h = "h%s_" % name
    if base:
        up = "%s2%s(h)" % (name, base)
    ops = [op for op in cls.ops if not op.omitted and op.name != "destroy"]
    creates = [op for op in ops if op.static and op.name == "create"]
    if top:
        for op in creates:
            params, args = wrapper_params(op, classes, handles)
            out.append("    explicit %s(%s) : %s(C%s_%s(%s), true) {}" % (
                name, sig_text(params), name, name, op.flat, ", ".join(args)))
        # A handle the library keeps: the wrapper never destroys it.
        out.append("    explicit %s(Pv%s* h, bool owned = false) : %s {}" % (
            name, name, ("%s(%s, owned), %s(h)" % (base, up, h)) if base else
            "%s(h), refs_(owned && h ? new int(1) : nullptr)" % h))
        if base:
            out.append("    %s(const %s& other) : %s(other), %s(other.%s) {}" % (name, name, base, h, h))
        else:
            out.append("    %s(const %s& other) : Garbage(), %s(other.%s), refs_(other.refs_) {\n"
                       "        if (refs_) ++*refs_;\n    }" % (name, name, h, h))
            out.append("    ~%s() override {\n        if (refs_ && releaseShared(refs_)) {\n"
                       "            C%s_destroy(%s);\n            delete refs_;\n        }\n    }"
                       % (name, name, h))
        out.append("    %s& operator=(const %s&) = delete;" % (name, name))
    else:
        if base:
            out.append("    %s(Pv%s* h, GarbageContainer* garbage) : %s(%s, garbage), %s(h) {}"
                       % (name, name, base, up, h))
        else:
            out.append("    %s(Pv%s* h, GarbageContainer* garbage) : %s(h), garbage_(garbage) {}"
                       % (name, name, h))
        out.append("    %s(const %s&) = delete;" % (name, name))
        out.append("    %s& operator=(const %s&) = delete;" % (name, name))
    out.append("    Pv%s* pv%s() const { return %s; }" % (name, name, h))
    # Creators become constructors, so only methods can hide a base's method of the same name.
    methods = lambda ops_: {op.flat for op in ops_ if not (op.static and op.name == "create")}
    inherited = {f for a in ancestors(classes, name)[1:] for f in methods(classes[a].ops)}
    for flat in sorted(methods(ops) & inherited):
        out.append("    using %s::%s;" % (base, flat))
    for op in ops:
        if op.static and op.name == "create":
            continue
        try:
            decl, definition = method(cls, op, classes, handles)
            out.append(decl)
            defs.append(definition)
        except ValueError as e:
            sys.exit("%s::%s: %s" % (name, op.text, e))
    out.append("")
    out.append("protected:" if not base or top else "private:")
    if not base:
        out.append("    Pv%s* %s;" % (name, h))
        if top:
            out.append("    int* refs_;")
            out.append("    GarbageContainer garbage_;")
        else:
            out.append("    GarbageContainer* garbage_;")
    else:
        out[-1] = "private:"
        out.append("    Pv%s* %s;" % (name, h))
    for (owner, got), member in CACHES.items():
        if owner == name:
            out.append("    Registry<Pv%s, %s> %s;" % (got, got, member))
    out.append("};")
    return "\n".join(out)


def render(classes, handles):
    body = [HEADER_TOP]
    order, seen = [], set()

    def visit(c):
        if c.name in seen:
            return
        if c.base:
            visit(classes[c.base])
        seen.add(c.name)
        order.append(c)
    for c in wrapped(classes):
        visit(c)
    body.append("\n".join("class %s;" % c.name for c in order) + "\n")
    defs = []
    body.extend(class_text(c, classes, handles, defs) + "\n" for c in order)
    body.extend(defs)
    body.append(HEADER_END)
    return "\n".join(body)


HEADER_TOP = """// Generated by src/api/abcgen.py from src/api/surface.txt: edit those, not this file.
// Wrapper objects over the flat C functions. A chart, DrawArea or data helper made here owns its
// library object; copies share it and the last copy destroys it. Every object such a wrapper hands
// out (layer, axis, text box ...) belongs to that wrapper and lives as long as it does. Arrays are
// a pointer and a count; methods carry the flat names (addTitle2, setColors3 ...).
#ifndef PLOTVANE_PLOTVANE_ABC_H
#define PLOTVANE_PLOTVANE_ABC_H

#include <plotvane/plotvane_c.h>

namespace abc {

// True when the last sharer let go. Kept out of line: inlined into two copies' destructors, gcc
// takes the first release for the last one and warns about the second.
[[gnu::noinline]] inline bool releaseShared(int* refs) { return --*refs == 0; }

// Anything a garbage container can own.
class Garbage {
public:
    Garbage() = default;
    Garbage(const Garbage&) {}
    Garbage& operator=(const Garbage&) = delete;
    virtual ~Garbage() = default;

private:
    friend class GarbageContainer;
    Garbage* nextGarbage_ = nullptr;
};

// Owns child wrappers, newest first; deletes them all when it goes.
class GarbageContainer {
public:
    GarbageContainer() = default;
    GarbageContainer(const GarbageContainer&) = delete;
    GarbageContainer& operator=(const GarbageContainer&) = delete;
    ~GarbageContainer() {
        while (head_) {
            Garbage* next = head_->nextGarbage_;
            delete head_;
            head_ = next;
        }
    }
    template <class T>
    T* add(T* g) {
        g->nextGarbage_ = head_;
        head_ = g;
        return g;
    }

private:
    Garbage* head_ = nullptr;
};

// The wrappers already made for handles, so one library object always has one wrapper. Lists are
// short (a chart's axes, a layer's data sets): a linear search is enough.
template <class Handle, class Wrapper>
class Registry {
public:
    Registry() = default;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;
    ~Registry() { delete[] items_; }

    template <class Make>
    Wrapper* get(Handle* h, Make make) {
        if (!h) return nullptr;
        for (int i = 0; i < count_; ++i)
            if (items_[i].handle == h) return items_[i].wrapper;
        if (count_ == capacity_) {
            const int grown = capacity_ ? capacity_ * 2 : 10;
            Item* items = new Item[grown];
            for (int i = 0; i < count_; ++i) items[i] = items_[i];
            delete[] items_;
            items_ = items;
            capacity_ = grown;
        }
        Wrapper* w = make(h);
        items_[count_++] = Item{h, w};
        return w;
    }

private:
    struct Item {
        Handle* handle;
        Wrapper* wrapper;
    };
    Item* items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
};
"""

HEADER_END = """}  // namespace abc

#endif"""


def main():
    classes, handles, _ = flatgen.read_surface()
    text = render(classes, handles) + "\n"
    if sys.argv[1:] == ["write"]:
        with open(HEADER, "w") as f:
            f.write(text)
        return 0
    sys.exit("usage: abcgen.py write")


if __name__ == "__main__":
    sys.exit(main())

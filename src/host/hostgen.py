#!/usr/bin/env python3
"""Makes the host plugin's class tables and method wrappers from src/api/surface.txt and the host
annotations in hostclasses.txt.

surface.txt gives every operation with its C++ types and defaults; hostclasses.txt only says which
host class registers which operations and how the host sees them: colour twins that take "as color",
date arrays, folder items, pixel arguments that ScaleFactor multiplies, read-only properties,
picture methods written by hand, the shared members of the base chart class and its constants
(every integer constant of include/plotvane/constants.h). A host method's declaration text, its
argument conversions and the call of the abc wrapper all follow from the operation's declaration.

  hostgen.py write   rewrites src/host/hosttables.cpp
  hostgen.py check   fails when that file is stale
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "api"))
import abcgen  # noqa: E402
import flatgen  # noqa: E402

OVERLAY = os.path.join(HERE, "hostclasses.txt")
OUTPUT = os.path.join(HERE, "hosttables.cpp")

PIXEL_NAMES = re.compile(r"^(x|y|[xy][0-9]|c[xy]|r|r[0-9xy]|radius|width|height|offset|offset[XY]|"
                         r"start[XY]|end[XY]|(left|right|top|bottom)Margin|margin|m|gap|size|[a-z]+Radius)$")
NO_PIXEL_OPS = re.compile(r"(Line|Tick|Grid|Contour|Border|Arrow)Width$|^setWidth$")
COLOR_NAME = re.compile(r"(^c$|olor[0-9]*$)")
# Arguments that have a second host form, by twin kind: (C++ type, name).
TWINS = {
    "color": lambda p: p.type == "int" and COLOR_NAME.search(p.name),
    "colors": lambda p: p.type == "IntArray" and re.search(r"(olors|gradient)$", p.name),
    "date": lambda p: p.type == "DoubleArray" and p.name in ("timeStamps", "xData"),
    "folder": lambda p: p.type == "const char*" and p.name in ("filename", "path", "image", "img"),
}
# Second forms an operation gets only when hostclasses.txt asks: "ints" takes integer() arrays in
# place of its double() data, which the host language does not convert by itself.
# "time" takes Date objects for the chart times among its double arguments.
ASKED = {
    "ints": lambda p: p.type == "DoubleArray",
    "time": lambda p: p.type == "double" and re.search(r"(Time|Date|^v|^value|Value|Limit|threshold)$", p.name),
}


def constants():
    """Integer constants of the library, as (name, value text) in header order."""
    out = []
    with open(os.path.join(flatgen.INCLUDE, "constants.h")) as f:
        for line in f:
            m = re.match(r"constexpr (int|double) (\w+) = (.*);", line.strip())
            if m:
                v = re.sub(r"static_cast<int>\((.*)\)", r"\1", m.group(3))
                out.append((m.group(1), m.group(2), v))
    return out


CONSTANTS = {n: v for _, n, v in constants()}


class HostClass:
    def __init__(self, name, lib, parent):
        self.name, self.lib, self.parent = name, lib, parent
        self.creatable = False
        self.ops = None          # flat names taken, None for all of the library class's own
        self.skip = set()
        self.notwin = set()      # (kind, flat)
        self.asked = []          # (kind, flat)
        self.returns = {}        # flat -> host class
        self.props = []
        self.extras = []         # (declaration, function, flags) of hand-written methods
        self.shared = None       # flat names of Chart taken as shared methods
        self.shared_extras = []
        self.constants = False
        self.private_ctor = False


def read_overlay():
    hosts, cur = [], None
    with open(OVERLAY) as f:
        for lineno, raw in enumerate(f, 1):
            line = re.sub(r"(^|\s)#(\s.*)?$", "", raw).strip()
            if not line:
                continue
            words = line.split()
            m = re.match(r"class (\w+) (\w+|-)(?: : (\w+))?$", line)
            if m:
                cur = HostClass(m.group(1), m.group(2), m.group(3))
                hosts.append(cur)
                continue
            key, rest = words[0], words[1:]
            if key == "new":
                cur.creatable = True
            elif key == "private-constructor":
                cur.private_ctor = True
            elif key == "ops":
                cur.ops = (cur.ops or []) + rest
            elif key == "skip":
                cur.skip.update(rest)
            elif key == "twin":
                cur.asked.extend((rest[0], r) for r in rest[1:])
            elif key == "notwin":
                cur.notwin.update((rest[0], r) for r in rest[1:])
            elif key == "returns":
                cur.returns[rest[0]] = rest[1]
            elif key == "property":
                cur.props.extend(rest)
            elif key in ("picture", "sharedextra"):
                m = re.match(r"\w+(?:-\w+)? (.*) = (\w+)$", line)
                if not m:
                    sys.exit("%s:%d: expected '%s declaration = function'" % (OVERLAY, lineno, key))
                flags = "REALpictureMethod" if key == "picture" else "REALconsoleSafe"
                (cur.shared_extras if key == "sharedextra" else cur.extras).append((m.group(1), m.group(2), flags))
            elif key == "shared":
                cur.shared = (cur.shared or []) + rest
            elif key == "constants":
                cur.constants = True
            else:
                sys.exit("%s:%d: unknown annotation %s" % (OVERLAY, lineno, key))
    return hosts


# ---- types ----

SCALAR = {"int": ("integer", "RBInteger"), "double": ("double", "double"), "bool": ("boolean", "bool"),
          "const char*": ("string", "REALstring"), "char": ("string", "REALstring"),
          "long long": ("Int64", "std::int64_t")}
ARRAY = {"DoubleArray": ("double", "host::InDoubles"), "IntArray": ("integer", "host::InInts"),
         "StringArray": ("string", "host::InStrings")}


# Charts a program makes without a size.
CHART_SIZE = {"width": "640", "height": "480"}


class Unsupported(Exception):
    pass


def lib_host_name(lib, hosts_by_lib):
    if lib not in hosts_by_lib:
        raise Unsupported("no host class for " + lib)
    return hosts_by_lib[lib]


def literal(default, htype):
    d = re.sub(r"\bChart::", "", default.strip())
    if d in CONSTANTS:
        d = CONSTANTS[d]
    if d in ("nullptr", "NULL"):
        return "nil" if htype not in ("string",) else '""'
    if d in ("true", "false"):
        return d
    if re.match(r"^'.'$", d):
        return '"%s"' % d[1]
    if d.startswith('"'):
        return d
    if re.match(r"^-?0[xX][0-9a-fA-F]+$", d):
        v = int(d, 16)
        return "&h%x" % (v & 0xffffffff) if v >= 0 else str(v)
    if re.match(r"^-?[0-9.]+([eE][-+]?[0-9]+)?$", d):
        return d
    raise Unsupported("default " + default)


class HParam:
    """One host argument: its declaration, C type, and how it becomes the abc call's arguments."""

    def __init__(self, p, twin, pixel, handles, hosts_by_lib, override_default=None):
        self.name, default = p.name, override_default or p.default
        t = p.type
        h = flatgen.handle_class(t, handles)
        self.setup = None
        if t in ARRAY:
            elem, conv = ARRAY[t]
            if twin == "ints" and ASKED["ints"](p):
                elem, conv = "integer", "host::InIntegerDoubles"
            elif twin == "date" and TWINS["date"](p):
                elem, conv = "Date", "host::InDates"
            elif twin == "colors" and TWINS["colors"](p):
                elem, conv = "color", "host::InColors"
            self.decl = "%s() as %s" % (p.name, elem)
            self.ctype = "REALarray"
            self.setup = "%s a_%s(%s);" % (conv, p.name, p.name)
            self.args = ["a_%s.data()" % p.name, "a_%s.size()" % p.name]
            if default:
                self.decl += " = nil"  # a nil array is an empty one
        elif h:
            host = lib_host_name(h, hosts_by_lib)
            self.decl = "%s as %s" % (p.name, host.name)
            self.ctype = "REALobject"
            self.args = ["host::argView<abc::%s>(%s, %s)" % (h, p.name, root_def(host))]
            if default:
                self.decl += " = nil"
        elif t in SCALAR:
            htype, ctype = SCALAR[t]
            expr = p.name
            if twin == "color" and TWINS["color"](p):
                htype, ctype, expr = "color", "RBColor", "static_cast<int>(%s)" % p.name
            elif twin == "time" and ASKED["time"](p):
                htype, ctype, expr = "Date", "REALobject", "host::chartTimeOf(%s)" % p.name
            elif t == "int" and pixel and PIXEL_NAMES.match(p.name):
                expr = "host::px(%s)" % p.name
            elif twin == "folder" and TWINS["folder"](p):
                htype, ctype = "FolderItem", "REALfolderItem"
                self.setup = "host::InPath a_%s(%s);" % (p.name, p.name)
                expr = "a_%s.c_str()" % p.name
                default = None
            elif t == "const char*":
                self.setup = "host::InString a_%s(%s);" % (p.name, p.name)
                expr = "a_%s.c_str()" % p.name
            elif t == "char":
                self.setup = "host::InString a_%s(%s);" % (p.name, p.name)
                expr = "a_%s.first()" % p.name
            self.decl = "%s as %s" % (p.name, htype)
            self.ctype = ctype
            self.args = [expr]
            if default is not None:
                self.decl += " = " + literal(default, htype)
        else:
            raise Unsupported("argument type " + t)


def root_of(host, by_name):
    while host.parent in by_name:
        host = by_name[host.parent]
    return host


ROOTS = {}
SURFACE = {}  # the library classes, by name


def root_def(host):
    return "kDef_%s" % ROOTS[host.name]


def result(op, host_cls, handles, hosts_by_lib, by_name):
    """(declared return, C return type, code turning the abc call's result into the host's)."""
    r, flat = op.ret, op.flat
    h = flatgen.handle_class(r, handles)
    if r == "void":
        return "", "void", "{call};"
    if r in ("int", "double", "bool", "long long"):
        htype, ctype = SCALAR[r]
        return " as " + htype, ctype, "return {call};"
    if r == "const char*":
        return " as string", "REALstring", "return host::outString({call});"
    if r in ("DoubleArray", "IntArray"):
        elem, ctype = ("double", "double") if r == "DoubleArray" else ("integer", "int")
        return ("() as " + elem, "REALarray",
                "int n = 0;\n        const %s* p = {callN};\n        return host::out%s(p, n);"
                % (ctype, "Doubles" if r == "DoubleArray" else "Ints"))
    if h:
        child = by_name[host_cls.returns[flat]] if flat in host_cls.returns else lib_host_name(h, hosts_by_lib)
        if h == op.owner and abcgen.is_top(SURFACE, h):
            # The abc wrapper chains these in place: the host gets the same object back.
            return " as " + child.name, "REALobject", "{call};\n        return host::same(self);"
        return (" as " + child.name, "REALobject",
                "return host::child(self, %s, {call}, \"%s\", %s);" % (root_def(host_cls), child.name, root_def(child)))
    raise Unsupported("result type " + r)


def lib_ops(classes, lib):
    """Operations reachable on a library class: its own, then its ancestors'."""
    out, name = {}, lib
    while name:
        for op in classes[name].ops:
            if op.omitted or op.data:
                continue
            op.owner = name
            out.setdefault(op.flat, op)
        name = classes[name].base
    return out


def own_ops(classes, lib):
    return [op.flat for op in classes[lib].ops
            if not op.omitted and not op.data and op.name != "destroy" and not (op.static and op.name == "create")]


class Method:
    def __init__(self, name, decl, func, flags, body=None):
        self.name, self.decl, self.func, self.flags, self.body = name, decl, func, flags, body


def make_method(host, op, twin, classes, handles, hosts_by_lib, by_name, shared=False):
    pixel = not NO_PIXEL_OPS.search(op.name)
    ctor = op.static and op.name == "create" and not shared
    chart = ctor and ROOTS[host.name] == "PVBaseChartRQX"
    params = [HParam(p, twin, pixel, handles, hosts_by_lib, CHART_SIZE.get(p.name) if chart else None)
              for p in op.params]
    # Only trailing arguments can be left out.
    required = [i for i, p in enumerate(params) if " = " not in p.decl]
    for p in params[:required[-1] if required else 0]:
        p.decl = p.decl.split(" = ")[0]
    name = "Constructor" if ctor else op.name
    suffix = {"": "", "color": "_c", "date": "_d", "folder": "_f", "colors": "_k", "ints": "_i", "time": "_t"}[twin]
    func = "%s_%s%s" % (host.name, "Constructor" + op.flat[len("create"):] if ctor else op.flat, suffix)
    args = ", ".join(a for p in params for a in p.args)
    setup = "".join("\n        " + p.setup for p in params if p.setup)
    cparams = ", ".join("%s %s" % (p.ctype, p.name) for p in params)
    if ctor:
        decl = "Constructor(%s)" % ", ".join(p.decl for p in params)
        body = ("static void %s(REALobject self%s) {\n    host::construct(self, %s, [&]() -> abc::Garbage* {%s\n"
                "        auto* w = new abc::%s(%s);\n        if (w->pv%s()) return w;\n        delete w;\n"
                "        return nullptr;\n    });\n}\n"
                % (func, ", " + cparams if cparams else "", root_def(host), setup, host.lib, args, host.lib))
        return Method(name, decl, func, "REALconsoleSafe", body)
    ret_decl, cret, code = result(op, host, handles, hosts_by_lib, by_name)
    if ret_decl.startswith("()"):
        decl = "%s(%s)%s" % (name, ", ".join(p.decl for p in params), ret_decl[2:])
        decl = decl.replace(") as ", ") as ", 1)
        decl = re.sub(r"\) as (\w+)$", r") as \1()", decl)
    else:
        decl = "%s(%s)%s" % (name, ", ".join(p.decl for p in params), ret_decl)
    if shared:
        call = "C%s_%s(%s)" % (op.owner, op.flat, args)
        calln = "C%s_%s(%s)" % (op.owner, op.flat, args + (", &n" if args else "&n"))
        code = code.replace("{call}", call).replace("{callN}", calln)
        body = ("static %s %s(%s) {\n    return host::guard([&]() -> %s {%s\n        %s\n    });\n}\n"
                % (cret, func, cparams or "void", cret, setup, code))
    else:
        call = "it_->%s(%s)" % (op.flat, args)
        calln = "it_->%s(%s)" % (op.flat, args + (", &n" if args else "&n"))
        code = code.replace("{call}", call).replace("{callN}", calln)
        body = ("static %s %s(REALobject self%s) {\n    return host::call<abc::%s>(self, %s, [&](abc::%s* it_) -> %s {%s\n"
                "        %s\n    });\n}\n" % (cret, func, ", " + cparams if cparams else "", host.lib, root_def(host),
                                             host.lib, cret, setup, code))
    return Method(name, decl, func, "REALconsoleSafe", body)


def host_methods(host, classes, handles, hosts_by_lib, by_name):
    methods = []
    if host.private_ctor:
        methods.append(Method("Constructor", "Constructor()", "host::privateConstructor", "REALprivateConstructor"))
    if host.lib not in classes:
        return methods
    ops = []
    if host.creatable:
        for op in classes[host.lib].ops:
            if op.static and op.name == "create" and not op.omitted:
                op.owner = host.lib
                ops.append(op)
    reach = lib_ops(classes, host.lib)
    for flat in host.ops if host.ops is not None else own_ops(classes, host.lib):
        if flat not in reach:
            sys.exit("%s: %s is not an operation of %s" % (host.name, flat, host.lib))
        if flat not in host.skip:
            ops.append(reach[flat])
    for op in ops:
        try:
            methods.append(make_method(host, op, "", classes, handles, hosts_by_lib, by_name))
            for kind, takes in TWINS.items():
                if any(takes(p) for p in op.params) and (kind, op.flat) not in host.notwin:
                    methods.append(make_method(host, op, kind, classes, handles, hosts_by_lib, by_name))
        except Unsupported:
            continue
    for kind, flat in host.asked:
        if not any(ASKED[kind](p) for p in reach[flat].params):
            sys.exit("%s: %s has no argument a %s form changes" % (host.name, flat, kind))
        methods.append(make_method(host, reach[flat], kind, classes, handles, hosts_by_lib, by_name))
    for decl, func, flags in host.extras:
        methods.append(Method(decl.split("(")[0], decl, func, flags))
    return methods


def shared_methods(host, classes, handles, hosts_by_lib, by_name):
    out = []
    chart = lib_ops(classes, "Chart")
    for flat in host.shared or []:
        op = chart[flat]
        out.append(make_method(host, op, "", classes, handles, hosts_by_lib, by_name, shared=True))
    for decl, func, flags in host.shared_extras:
        out.append(Method(decl.split("(")[0], decl, func, flags))
    return out


def cstr(s):
    return '"%s"' % s.replace("\\", "\\\\").replace('"', '\\"')


def render():
    classes, handles, _ = flatgen.read_surface()
    SURFACE.update(classes)
    hosts = read_overlay()
    by_name = {h.name: h for h in hosts}
    # A library class's results are seen as the host class of its own name where there is one.
    hosts_by_lib = {h.lib: h for h in hosts if h.name in ("PV%sRQX" % h.lib, "PV%sRQX" % h.lib[2:])}
    for h in hosts:
        hosts_by_lib.setdefault(h.lib, h)
        ROOTS[h.name] = root_of(h, by_name).name
    out = [TOP]
    tables = []
    for h in hosts:
        ms = host_methods(h, classes, handles, hosts_by_lib, by_name)
        sms = shared_methods(h, classes, handles, hosts_by_lib, by_name)
        seen = {}
        for m in ms + sms:
            sig = re.sub(r"\s*=[^,)]*", "", m.decl)
            if sig in seen:
                sys.exit("%s: two methods declared %s" % (h.name, sig))
            seen[sig] = m
        out.extend(m.body for m in ms + sms if m.body)
        for p in h.props:
            m = next(m for m in ms if m.name == p and "(" in m.decl and m.decl.split("(")[1].startswith(")"))
            out.append("static REALobject %s_get_%s(REALobject self, std::intptr_t) {\n    return %s(self);\n}\n"
                       % (h.name, p, m.func))
        tables.append((h, ms, sms))
    # Records.
    for h, ms, sms in tables:
        if ms:
            out.append("REALmethodDefinition kMethods_%s[] = {\n%s};\n" % (h.name, "".join(
                "    {reinterpret_cast<REALproc>(%s), nullptr, %s, %s, 0, nullptr},\n" % (m.func, cstr(m.decl), m.flags)
                for m in ms)))
        if sms:
            out.append("REALmethodDefinition kShared_%s[] = {\n%s};\n" % (h.name, "".join(
                "    {reinterpret_cast<REALproc>(%s), nullptr, %s, %s, 0, nullptr},\n" % (m.func, cstr(m.decl), m.flags)
                for m in sms)))
        if h.props:
            ptype = {}
            for p in h.props:
                m = next(m for m in ms if m.name == p)
                ptype[p] = m.decl.rsplit(" as ", 1)[1]
            out.append("REALproperty kProps_%s[] = {\n%s};\n" % (h.name, "".join(
                "    {nullptr, %s, %s, REALpropertyReadOnly, reinterpret_cast<REALproc>(%s_get_%s), nullptr, 0, {}},\n"
                % (cstr(p), cstr(ptype[p]), h.name, p) for p in h.props)))
        if h.constants:
            consts = [(n, v) for t, n, v in constants() if t == "int" and n != "NoIntValue"]
            out.append("REALconstant kConstants_%s[] = {\n%s};\n" % (h.name, "".join(
                "    {%s, {}},\n" % cstr("k%s = %s" % (n, literal(v, "integer"))) for n, v in consts)))
    out.append("}  // namespace\n")
    for h, ms, sms in tables:
        root = not h.parent
        fields = [
            "    h.name = %s;" % cstr(h.name),
            "    h.superName = %s;" % (cstr(h.parent) if h.parent else "nullptr"),
            "    h.dataSize = %s;" % ("sizeof(host::InstanceData)" if root and h.lib != "-" else "0"),
        ]
        if root and h.lib != "-":
            fields.append("    h.destructor = [](REALobject o) { host::destroyInstance(o, kDef_%s); };" % h.name)
        if ms:
            fields.append("    h.methods = kMethods_%s;\n    h.methodCount = std::size(kMethods_%s);" % (h.name, h.name))
        if sms:
            fields.append("    h.sharedMethods = kShared_%s;\n    h.sharedMethodCount = std::size(kShared_%s);"
                          % (h.name, h.name))
        if h.props:
            fields.append("    h.properties = kProps_%s;\n    h.propertyCount = std::size(kProps_%s);" % (h.name, h.name))
        if h.constants:
            fields.append("    h.constants = kConstants_%s;\n    h.constantCount = std::size(kConstants_%s);"
                          % (h.name, h.name))
        if h.name == "PVBaseChartRQX":
            fields.append("    h.sharedProperties = host::scaleFactorProperty();\n    h.sharedPropertyCount = 1;")
        out.append("REALclassDefinition kDef_%s = [] {\n    REALclassDefinition h{};\n%s\n    h.mFlags = 4;\n"
                   "    return h;\n}();\n" % (h.name, "\n".join(fields)))
    out.append("extern REALclassDefinition* const kRegistrationOrder[] = {\n%s};\n" % "".join(
        "    &kDef_%s,\n" % h.name for h in hosts))
    out.append("extern const std::size_t kClassCount = std::size(kRegistrationOrder);\n")
    out.append("}  // namespace host\n")
    decls = "".join("extern REALclassDefinition kDef_%s;\n" % h.name for h in hosts)
    return "\n".join(out).replace("@DECLS@", decls)


TOP = """// Generated by src/host/hostgen.py from src/api/surface.txt and src/host/hostclasses.txt: edit
// those, not this file.
#include "host/hostglue_p.h"
#include "host/hostextras_p.h"

#include <iterator>

namespace host {

@DECLS@
namespace {
"""


def main():
    mode = sys.argv[1] if len(sys.argv) > 1 else ""
    text = render()
    if mode == "write":
        with open(OUTPUT, "w") as f:
            f.write(text)
        return 0
    if mode == "check":
        with open(OUTPUT) as f:
            if f.read() != text:
                print("src/host/hosttables.cpp is stale: run src/host/hostgen.py write")
                return 1
        return 0
    sys.exit("usage: hostgen.py write|check")


if __name__ == "__main__":
    sys.exit(main())

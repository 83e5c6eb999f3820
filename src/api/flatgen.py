#!/usr/bin/env python3
"""Makes the flat C interface from surface.txt, and checks it against the C++ headers.

surface.txt lists each public class, its base, and its operations written as the C++ declarations
they forward to (defaults included, for the wrappers made from the same list). A line
"name2 = decl" gives an overload its flat name; "omit decl  # why" records an operation that has no
flat function on purpose. Everything else follows from the declaration's argument kinds:

  flatgen.py write   rewrites include/plotvane/plotvane_c.h and src/api/flatapi.cpp
  flatgen.py check   fails when those files or abcgen.py's wrappers are stale, when a public class of the headers is not
                     in the list, or when an operation is in the headers but not in the list (or
                     the other way round)
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SURFACE = os.path.join(ROOT, "src", "api", "surface.txt")
HEADER = os.path.join(ROOT, "include", "plotvane", "plotvane_c.h")
SOURCE = os.path.join(ROOT, "src", "api", "flatapi.cpp")
INCLUDE = os.path.join(ROOT, "include", "plotvane")

# C++ argument types that C spells the same way.
PLAIN = {"int", "double", "bool", "char", "long long", "const char*", "const int*", "const char**", "int*",
         "char*", "const uint32_t*"}
ARRAYS = {"DoubleArray": "const double*", "IntArray": "const int*", "StringArray": "const char* const*"}
NEUTRAL = {"int": "0", "double": "0", "bool": "false", "char": "0", "long long": "0", "const char*": '""'}


def split_top(text, sep=","):
    parts, depth, cur, quoted = [], 0, "", False
    for ch in text:
        if ch == '"' and not cur.endswith("\\"):
            quoted = not quoted
        if quoted:
            cur += ch
            continue
        if ch in "(<[{":
            depth += 1
        elif ch in ")>]}":
            depth -= 1
        if ch == sep and depth == 0:
            parts.append(cur)
            cur = ""
        else:
            cur += ch
    if cur.strip():
        parts.append(cur)
    return [p.strip() for p in parts]


def norm_type(t):
    t = re.sub(r"\s+", " ", t.strip())
    return re.sub(r"\s*\*", "*", t)


class Param:
    def __init__(self, text):
        decl, _, default = text.partition("=")
        self.default = default.strip() or None
        m = re.match(r"(.*?)\b(\w+)\s*(\[\d*\])?$", decl.strip())
        self.type = norm_type(m.group(1)) + ("*" if m.group(3) else "")
        self.name = m.group(2)


class Op:
    def __init__(self, text, flat=None, omitted=False):
        text = re.sub(r"\s+", " ", text.strip().rstrip(";"))
        text = re.sub(r"\b(virtual|PLOTVANE_API|inline)\b ?", "", text)
        text = re.sub(r"\s*(override|= ?0|= ?default)\s*$", "", text)
        self.omitted, self.text = omitted, text
        data = re.match(r"extern const (\w+) (\w+)\[(\d+)\]$", text)
        self.data = bool(data)
        if data:
            # A constant table, reached through a function returning its first entry.
            self.static, self.ret, self.name, self.params = True, "const %s*" % data.group(1), data.group(2), []
            self.count = int(data.group(3))
            self.flat = flat or self.name
            return
        self.static = text.startswith("static ")
        text = text[len("static "):] if self.static else text
        m = re.match(r"(.*?)\b(\w+)\s*\((.*)\)\s*(const)?$", text)
        if not m:
            raise ValueError("not a declaration: " + text)
        self.ret = norm_type(m.group(1))
        self.name = m.group(2)
        self.params = [Param(p) for p in split_top(m.group(3))]
        self.flat = flat or self.name

    def key(self):
        if self.data:
            return ("data", self.ret, self.name, self.count)
        return (self.static, self.ret, self.name, tuple(p.type for p in self.params))


class Cls:
    def __init__(self, name, base):
        self.name, self.base, self.ops = name, base, []


def read_surface(path=SURFACE):
    classes, handles, omitted, cls = {}, set(), set(), None
    with open(path) as f:
        for lineno, raw in enumerate(f, 1):
            line = re.sub(r"(^|\s)#(\s.*)?$", "", raw).strip()
            if not line:
                continue
            m = re.match(r"class (\w+)(?: : (\w+))?$", line)
            if m:
                cls = classes[m.group(1)] = Cls(m.group(1), m.group(2))
                continue
            m = re.match(r"omit class (\w+)$", line)
            if m:
                omitted.add(m.group(1))
                continue
            m = re.match(r"handle (\w+)$", line)
            if m:
                handles.add(m.group(1))
                continue
            try:
                if line.startswith("omit "):
                    cls.ops.append(Op(line[5:], omitted=True))
                else:
                    m = re.match(r"(\w+) = (.*)$", line)
                    cls.ops.append(Op(m.group(2), flat=m.group(1)) if m else Op(line))
            except (ValueError, AttributeError) as e:
                sys.exit("%s:%d: %s" % (path, lineno, e))
    return classes, handles | set(classes), omitted


# ---- C declarations and forwarding bodies ----

def handle_class(t, handles):
    m = re.match(r"(const )?(\w+)\*$", t)
    return m.group(2) if m and m.group(2) in handles else None


def c_args(p, handles):
    """The C parameters standing for one C++ parameter, and the C++ expression rebuilding it."""
    if p.type in ARRAYS:
        n = p.name
        return ([(ARRAYS[p.type], n), ("int", n + "Len")],
                "plotvane::%s(%s, %s ? %sLen : 0)" % (p.type, n, n, n))
    h = handle_class(p.type, handles)
    if h:
        return [("Pv%s*" % h, p.name)], "reinterpret_cast<%s>(%s)" % (qualify(p.type, handles), p.name)
    if p.type in PLAIN:
        return [(p.type, p.name)], p.name
    raise ValueError("no C form for argument type " + p.type)


def qualify(t, handles):
    h = handle_class(t, handles)
    return t.replace(h, "plotvane::" + h) if h else t


def c_return(op, handles):
    """C return type, extra out parameters, and how to finish: (type, extras, neutral, wrap)."""
    r = op.ret
    if r == "void":
        return "void", [], "", lambda e: e + ";"
    if r in PLAIN:
        return r, [], NEUTRAL.get(r, "nullptr"), lambda e: "return " + e + ";"
    h = handle_class(r, handles)
    if h:
        return ("Pv%s*" % h, [], "nullptr", lambda e: "return reinterpret_cast<Pv%s*>(%s);" % (h, e))
    if r in ("DoubleArray", "IntArray"):
        elem = ARRAYS[r]
        return (elem, [("int*", "outLen")], "nullptr",
                lambda e: "const plotvane::%s a = %s;\n    if (outLen) *outLen = a.data ? a.len : 0;\n"
                          "    return a.data;" % (r, e))
    if r == "MemBlock":
        return ("bool", [("const char**", "outData"), ("int*", "outLen")], "false",
                lambda e: "const plotvane::MemBlock m = %s;\n    if (outData) *outData = m.data;\n"
                          "    if (outLen) *outLen = m.len;\n    return m.len > 0;" % e)
    raise ValueError("no C form for return type " + r)


def c_function(cls, op, handles):
    if op.data:
        return ("%s C%s_%s(void)" % (op.ret, cls.name, op.flat),
                "    return plotvane::%s::%s;" % (cls.name, op.name), "%d entries" % op.count)
    params, call_args = [], []
    if not op.static:
        params.append(("Pv%s*" % cls.name, "h"))
    for p in op.params:
        cp, expr = c_args(p, handles)
        params.extend(cp)
        call_args.append(expr)
    ret, extras, neutral, wrap = c_return(op, handles)
    params.extend(extras)
    name = "C%s_%s" % (cls.name, op.flat)
    sig = "%s %s(%s)" % (ret, name, ", ".join("%s %s" % p for p in params) or "void")
    if op.static:
        call = "plotvane::%s::%s(%s)" % (cls.name, op.name, ", ".join(call_args))
    else:
        call = "reinterpret_cast<plotvane::%s*>(h)->%s(%s)" % (cls.name, op.name, ", ".join(call_args))
    body = []
    if not op.static:
        ret_neutral = "return%s;" % (" " + neutral if neutral else "")
        if extras:
            clear = "".join("        if (%s) *%s = %s;\n" % (n, n, "nullptr" if n == "outData" else "0") for _, n in extras)
            body.append("    if (!h) {\n%s        %s\n    }" % (clear, ret_neutral))
        else:
            body.append("    if (!h) " + ret_neutral)
    body.append("    " + wrap(call))
    defaults = ", ".join("%s = %s" % (p.name, c_value(p.default)) for p in op.params if p.default)
    return sig, "\n".join(body), defaults


def c_value(default):
    """A C++ default as a C reader would write it: constants carry the C prefix."""
    if not CONSTANT_NAMES:
        CONSTANT_NAMES.update(re.findall(r"#define PV_(\w+)", "\n".join(constants())))
    default = re.sub(r"\bChart::", "", default).replace("nullptr", "NULL")
    return re.sub(r"\b\w+\b", lambda m: "PV_" + m.group(0) if m.group(0) in CONSTANT_NAMES else m.group(0), default)


CONSTANT_NAMES = set()


def cast_functions(classes):
    for c in classes.values():
        if c.base:
            yield c.name, c.base


def render(classes, handles):
    h = [HEADER_TOP]
    for name in sorted(handles):
        if name in classes and classes[name].ops and all(op.static for op in classes[name].ops):
            continue  # functions only, no objects
        h.append("typedef struct Pv%s Pv%s;" % (name, name))
    h.append("")
    h.extend(constants())
    h.append("")
    src = [SOURCE_TOP]
    for d, b in cast_functions(classes):
        h.append("PLOTVANE_API Pv%s* %s2%s(Pv%s* h);" % (b, d, b, d))
        src.append("Pv%s* %s2%s(Pv%s* h) {\n    return reinterpret_cast<Pv%s*>(static_cast<plotvane::%s*>("
                   "reinterpret_cast<plotvane::%s*>(h)));\n}\n" % (b, d, b, d, b, b, d))
    for c in classes.values():
        h.append("\n/* %s%s */" % (c.name, " : " + c.base if c.base else ""))
        for op in c.ops:
            if op.omitted:
                continue
            try:
                sig, body, defaults = c_function(c, op, handles)
            except ValueError as e:
                sys.exit("%s::%s: %s" % (c.name, op.text, e))
            h.append("PLOTVANE_API %s;%s" % (sig, "  /* %s */" % defaults if defaults else ""))
            src.append("%s {\n%s\n}\n" % (sig, body))
    h.append(HEADER_END)
    src.append('}  // extern "C"\n')
    return "\n".join(h), "\n".join(src)


def constants():
    out = []
    with open(os.path.join(INCLUDE, "constants.h")) as f:
        for line in f:
            m = re.match(r"constexpr (int|double) (\w+) = (.*);", line.strip())
            if m:
                value = re.sub(r"static_cast<int>\((.*)\)", r"(int)\1", m.group(3))
                out.append("#define PV_%s (%s)" % (m.group(2), value))
    return out


HEADER_TOP = """/* Generated by src/api/flatgen.py from src/api/surface.txt: edit those, not this file. */
/* The library as plain C functions. C<Class>_<operation>(handle, ...) calls the operation on the
   object; overloads carry a digit. Arrays are passed as a pointer and a count. Objects from a
   create function belong to the caller (CBaseChart_destroy, CDrawArea_destroy ...); all others
   belong to the object that returned them. A handle is viewed as its base class through
   <Class>2<Base>. Called with a null handle, a function does nothing and returns 0, false, null or
   an empty string. Defaults of the C++ operations are noted beside each declaration. */
#ifndef PLOTVANE_PLOTVANE_C_H
#define PLOTVANE_PLOTVANE_C_H

#include <plotvane/export.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif
"""

HEADER_END = """
#ifdef __cplusplus
}
#endif

#endif"""

SOURCE_TOP = """// Generated by src/api/flatgen.py from src/api/surface.txt: edit those, not this file.
#include <plotvane/plotvane.h>
#include <plotvane/plotvane_c.h>

extern "C" {
"""


# ---- Header scan for the check ----

def public_ops(header_text, class_name):
    """Declarations in the public part of a class, with their bodies and qualifiers removed."""
    text = re.sub(r"//[^\n]*|/\*.*?\*/", "", header_text, flags=re.S)
    text = re.sub(r"^\s*#[^\n]*", "", text, flags=re.M)
    m = re.search(r"class PLOTVANE_API %s\b[^;{]*\{" % class_name, text)
    if not m:
        return None
    i, depth, public, stmt, ops = m.end(), 1, False, "", []
    while depth > 0 and i < len(text):
        ch = text[i]
        i += 1
        if ch == '"':
            end = re.compile(r'(?<!\\)"').search(text, i).end()
            stmt += text[i - 1:end] if depth == 1 else ""
            i = end
            continue
        if ch == "{":
            depth += 1
            continue
        if ch == "}":
            depth -= 1
            if depth == 1:
                ops.append(stmt) if public else None
                stmt = ""
            continue
        if depth > 1:
            continue
        if ch == ";":
            ops.append(stmt) if public else None
            stmt = ""
            continue
        stmt += ch
        label = re.match(r"\s*(public|protected|private)\s*:$", stmt)
        if label:
            public = label.group(1) == "public"
            stmt = ""
    found = []
    for s in ops:
        s = s.strip()
        if "(" not in s or s.startswith(("using", "friend", "~", "virtual ~")) or re.match(r"\w+\s*\(", s):
            continue
        found.append(Op(s))
    return found


def namespace_functions(header_text, namespace):
    """Exported free functions of a namespace, as static operations of a class of that name."""
    found = []
    for block in re.finditer(r"namespace %s \{(.*?)\}\s*// namespace %s" % (namespace, namespace), header_text, re.S):
        code = re.sub(r"//[^\n]*|/\*.*?\*/", "", block.group(1), flags=re.S)
        for m in re.finditer(r"PLOTVANE_API ([^;{]*\))\s*;", code):
            found.append(Op("static " + m.group(1)))
        for m in re.finditer(r"PLOTVANE_API (extern const \w+ \w+\[\d+\])\s*;", code):
            found.append(Op(m.group(1)))
    return found


def exported_classes(texts):
    return {m.group(1) for t in texts.values() for m in re.finditer(r"class PLOTVANE_API (\w+)", t)}


def check_headers(classes, omitted_classes):
    texts = {}
    for f in sorted(os.listdir(INCLUDE)):
        if f.endswith(".h") and f not in ("plotvane_c.h", "plotvane_abc.h"):
            with open(os.path.join(INCLUDE, f)) as fh:
                texts[f] = fh.read()
    problems = ["%s: a public class neither listed nor omitted" % n
                for n in sorted(exported_classes(texts) - set(classes) - omitted_classes)]
    for c in classes.values():
        declared = None
        for text in texts.values():
            declared = public_ops(text, c.name)
            if declared is not None:
                break
        if c.name == "Chart":
            declared = [op for t in texts.values() for op in namespace_functions(t, "Chart")]
        if declared is None:
            problems.append("%s: no such public class in the headers" % c.name)
            continue
        listed = {op.key() for op in c.ops}
        have = {op.key() for op in declared}
        for op in declared:
            if op.key() not in listed:
                problems.append("%s: %s has no flat function and is not omitted" % (c.name, op.text))
        # A class may also list operations it inherits, to offer them under its own name.
        inherited = set()
        base = classes.get(c.base) if c.base else None
        while base is not None:
            for text in texts.values():
                ops = public_ops(text, base.name)
                if ops is not None:
                    inherited |= {op.key() for op in ops}
                    break
            base = classes.get(base.base) if base.base else None
        for op in c.ops:
            if op.key() not in have and op.key() not in inherited:
                problems.append("%s: %s is listed but not declared" % (c.name, op.text))
        names = [op.flat for op in c.ops if not op.omitted]
        for n in set(names):
            if names.count(n) > 1:
                problems.append("%s: flat name %s used twice" % (c.name, n))
    return problems


def main():
    mode = sys.argv[1] if len(sys.argv) > 1 else ""
    classes, handles, omitted = read_surface()
    header, source = render(classes, handles)
    if mode == "write":
        for path, text in ((HEADER, header), (SOURCE, source)):
            with open(path, "w") as f:
                f.write(text + "\n")
        return 0
    if mode == "check":
        import abcgen  # made from the same list, so stale for the same reasons
        problems = check_headers(classes, omitted)
        for path, text, maker in ((HEADER, header, "flatgen.py"), (SOURCE, source, "flatgen.py"),
                                  (abcgen.HEADER, abcgen.render(classes, handles), "abcgen.py")):
            with open(path) as f:
                if f.read() != text + "\n":
                    problems.append("%s is stale: run src/api/%s write" % (os.path.relpath(path, ROOT), maker))
        for p in problems:
            print(p)
        return 1 if problems else 0
    sys.exit("usage: flatgen.py write|check")


if __name__ == "__main__":
    sys.exit(main())

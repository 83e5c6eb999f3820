#!/usr/bin/env python3
"""Calls every flat function that takes a handle with a null handle, and zeros or nulls for all
else, through ctypes: each must come back with 0, false, null or an empty string and clear the
counts and pointers it hands out.

    null_handles_ctypes.py path/to/libplotvane.so path/to/plotvane_c.h
"""
import ctypes
import re
import sys

lib = ctypes.CDLL(sys.argv[1])
with open(sys.argv[2]) as f:
    header = f.read()

SCALARS = {"int": ctypes.c_int, "double": ctypes.c_double, "bool": ctypes.c_bool, "char": ctypes.c_char,
           "long long": ctypes.c_longlong}


def ctype(decl):
    t = re.sub(r"\s*\w+$", "", decl.strip()) if decl.strip() != "void" else "void"
    return None if t == "void" else (ctypes.c_void_p if "*" in t else SCALARS[t])


called = failures = 0
for m in re.finditer(r"^PLOTVANE_API (.+?)\b(\w+)\((.*?)\);", header, re.M):
    ret, name, params = m.group(1).strip(), m.group(2), [p.strip() for p in m.group(3).split(",")]
    if not params[0].startswith("Pv") or not params[0].endswith(" h"):
        continue
    fn = getattr(lib, name)
    fn.argtypes = [ctype(p) for p in params]
    fn.restype = None if ret == "void" else (ctypes.c_void_p if ret.endswith("*") and ret != "const char*"
                                             else ctypes.c_char_p if ret == "const char*" else SCALARS[ret])
    # Out-parameters (the trailing outData / outLen pair) get poisoned values to see them cleared.
    outs = {p.split()[-1]: (ctypes.c_void_p(0x1234) if p.startswith("const char**") else ctypes.c_int(77))
            for p in params if p.split()[-1] in ("outData", "outLen")}
    args = [ctypes.byref(outs[p.split()[-1]]) if p.split()[-1] in outs else None if "*" in p
            else 0 for p in params]
    result = fn(*args)
    called += 1
    neutral = result in (None, 0, 0.0, False, b"", b"\0")
    if not neutral or any(v.value not in (None, 0) for v in outs.values()):
        print("%s: %r with outputs %r" % (name, result, [v.value for v in outs.values()]))
        failures += 1

assert called > 500, called
print("%d functions called with null handles, %d wrong" % (called, failures))
sys.exit(1 if failures else 0)

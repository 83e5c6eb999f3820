#!/usr/bin/env python3
"""Loads the shared library with ctypes and draws a pie chart through the C interface alone.

    render_ctypes.py path/to/libplotvane.so
"""
import ctypes
import sys

lib = ctypes.CDLL(sys.argv[1])
handle = ctypes.c_void_p
lib.CPieChart_create.restype = handle
lib.CPieChart_create.argtypes = [ctypes.c_int] * 5
lib.PieChart2BaseChart.restype = handle
lib.PieChart2BaseChart.argtypes = [handle]
lib.CPieChart_setPieSize.argtypes = [handle, ctypes.c_int, ctypes.c_int, ctypes.c_int]
lib.CPieChart_setData.argtypes = [handle, ctypes.POINTER(ctypes.c_double), ctypes.c_int,
                                  ctypes.POINTER(ctypes.c_char_p), ctypes.c_int,
                                  ctypes.POINTER(ctypes.c_char_p), ctypes.c_int]
lib.CPieChart_sector.restype = handle
lib.CPieChart_sector.argtypes = [handle, ctypes.c_int]
lib.CSector_setColor.argtypes = [handle, ctypes.c_int, ctypes.c_int, ctypes.c_int]
lib.CBaseChart_makeChart2.restype = ctypes.c_bool
lib.CBaseChart_makeChart2.argtypes = [handle, ctypes.c_int, ctypes.POINTER(ctypes.c_char_p),
                                      ctypes.POINTER(ctypes.c_int)]
lib.CBaseChart_makeChart3.restype = handle
lib.CBaseChart_makeChart3.argtypes = [handle]
lib.CDrawArea_getPixel.argtypes = [handle, ctypes.c_int, ctypes.c_int]
lib.CBaseChart_getWidth.argtypes = [handle]
lib.CBaseChart_destroy.argtypes = [handle]

pie = lib.CPieChart_create(320, 240, -65536, -16777216, 0)  # PV_BackgroundColor, PV_Transparent
chart = lib.PieChart2BaseChart(pie)
assert lib.CBaseChart_getWidth(chart) == 320
values = (ctypes.c_double * 3)(50, 30, 20)
labels = (ctypes.c_char_p * 3)(b"Red", b"Green", b"Blue")
lib.CPieChart_setPieSize(pie, 160, 120, 90)
lib.CPieChart_setData(pie, values, 3, labels, 3, None, 0)
lib.CSector_setColor(lib.CPieChart_sector(pie, 0), 0xff0000, -1, -1)

data, length = ctypes.c_char_p(), ctypes.c_int()
ok = lib.CBaseChart_makeChart2(chart, 0, ctypes.byref(data), ctypes.byref(length))
png = ctypes.string_at(data, length.value)
assert ok and png.startswith(b"\x89PNG\r\n\x1a\n"), "no PNG"

# The first sector starts at 12 o'clock going clockwise by default, so the point right of
# the centre, a little above it, lies in the red half.
pixel = lib.CDrawArea_getPixel(lib.CBaseChart_makeChart3(chart), 200, 100) & 0xffffff
lib.CBaseChart_destroy(chart)
assert pixel == 0xff0000, hex(pixel)
print("ctypes pie chart ok:", len(png), "bytes")

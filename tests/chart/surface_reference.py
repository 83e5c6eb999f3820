"""Reference for scattered surface data: Delaunay triangles of the points (x, y), linear
interpolation over them at every (gx, gy) pair, by matplotlib.tri. Input: one line of x, one of y,
one of z, one of gx, one of gy. Output: the values in rows of gx for each gy, "nan" outside.
"""
import sys

import numpy as np
from matplotlib.tri import LinearTriInterpolator, Triangulation

lines = open(sys.argv[1]).read().split("\n")
x, y, z, gx, gy = (np.array([float(v) for v in lines[k].split()]) for k in range(5))
interpolate = LinearTriInterpolator(Triangulation(x, y), z)
mx, my = np.meshgrid(gx, gy)
values = np.ma.filled(interpolate(mx, my), np.nan)
print(" ".join(repr(float(v)) for v in values.ravel()))

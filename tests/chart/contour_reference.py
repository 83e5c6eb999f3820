"""Level lines of a grid by an independent tracer (contourpy, else matplotlib).

Input file: "nx ny", the nx x values, the ny y values, the z values row by row (nan for missing),
the levels. Output: "level v" before the lines of each level, then one line of "x y x y ..." per
polyline. Exit status 2 when neither tracer is available.
"""
import sys

try:
    import numpy as np
except ImportError:
    sys.exit(2)


def tracer(x, y, z):
    try:
        import contourpy
        gen = contourpy.contour_generator(x, y, np.ma.masked_invalid(z))
        return lambda level: gen.lines(level)
    except ImportError:
        pass
    try:
        import matplotlib
        matplotlib.use("Agg")
        import matplotlib.pyplot as plt
    except ImportError:
        sys.exit(2)

    def lines(level):
        cs = plt.contour(x, y, np.ma.masked_invalid(z), levels=[level])
        return cs.allsegs[0]
    return lines


def main():
    with open(sys.argv[1]) as f:
        rows = [list(map(float, line.split())) for line in f]
    nx, ny = int(rows[0][0]), int(rows[0][1])
    x, y = np.array(rows[1]), np.array(rows[2])
    z = np.array(rows[3]).reshape(ny, nx)
    lines = tracer(x, y, z)
    out = []
    for level in rows[4]:
        out.append("level %r" % level)
        for seg in lines(level):
            out.append(" ".join("%r %r" % (p[0], p[1]) for p in seg))
    print("\n".join(out))


main()

"""W8 drawn by the peers, timed the way bench_w8_surface times Plotvane (data made beforehand;
build, render and PNG encoding; CPU time, median of 5): a 700 x 600 lit, coloured surface of the
peaks function on a 200 x 200 grid. matplotlib's plot_surface sorts whole faces, so nearer faces
can be painted over; gnuplot's pm3d with depthorder is timed as a child process (its CPU time),
writing through its pngcairo terminal.
"""
import io
import os
import resource
import shutil
import statistics
import subprocess
import tempfile
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

DPI = 100


def peaks(x, y):
    return (3 * (1 - x) ** 2 * np.exp(-x ** 2 - (y + 1) ** 2)
            - 10 * (x / 5 - x ** 3 - y ** 5) * np.exp(-x ** 2 - y ** 2)
            - np.exp(-(x + 1) ** 2 - y ** 2) / 3)


def matplotlib_w8(x, y, z):
    figure = plt.figure(figsize=(7, 6), dpi=DPI)
    axes = figure.add_subplot(projection="3d")
    surface = axes.plot_surface(x, y, z, rstride=1, cstride=1, cmap="jet", linewidth=0, antialiased=False)
    figure.colorbar(surface, ax=axes, shrink=0.6)
    out = io.BytesIO()
    figure.savefig(out, format="png")
    plt.close(figure)


def child_cpu():
    u = resource.getrusage(resource.RUSAGE_CHILDREN)
    return u.ru_utime + u.ru_stime


def gnuplot_w8(folder):
    script = os.path.join(folder, "w8.gp")
    data = os.path.join(folder, "w8.dat")
    with open(script, "w") as f:
        f.write('set terminal pngcairo size 700,600\nset output "%s"\n' % os.path.join(folder, "w8.png"))
        f.write("set pm3d depthorder lighting\nset palette rgb 33,13,10\nunset key\n")
        f.write('splot "%s" binary matrix with pm3d\n' % data)
    return script, data


def main():
    g = np.linspace(-3, 3, 200)
    x, y = np.meshgrid(g, g)
    z = peaks(x, y)
    times = []
    for _ in range(5):
        start = time.process_time()
        matplotlib_w8(x, y, z)
        times.append(time.process_time() - start)
    print("  matplotlib plot_surface 200x200, 700x600 PNG: %.4f s (median of 5 CPU)" % statistics.median(times))
    if not shutil.which("gnuplot"):
        print("  gnuplot: not available")
        return
    with tempfile.TemporaryDirectory() as folder:
        script, data = gnuplot_w8(folder)
        # gnuplot's binary matrix: the row of y values first, each row led by its x value.
        matrix = np.zeros((201, 201), dtype=np.float32)
        matrix[0, 0] = 200
        matrix[0, 1:] = g
        matrix[1:, 0] = g
        matrix[1:, 1:] = z
        matrix.tofile(data)
        times = []
        for _ in range(5):
            start = child_cpu()
            subprocess.run(["gnuplot", script], check=True, stderr=subprocess.DEVNULL)
            times.append(child_cpu() - start)
        print("  gnuplot pm3d depthorder 200x200, 700x600 PNG: %.4f s (median of 5 CPU, whole process)"
              % statistics.median(times))


main()

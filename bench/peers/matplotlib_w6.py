"""W6 drawn by matplotlib with its Agg back-end, timed the way bench_w6_contour times Plotvane
(data made beforehand; build, render and PNG encoding into memory; CPU time, median of 5): a
filled contour of the peaks function on a 400 x 400 grid, 20 levels, contour lines over the fills,
a colour bar.
"""
import io
import statistics
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


def w6(x, y, z):
    figure, axes = plt.subplots(figsize=(8, 6), dpi=DPI)
    filled = axes.contourf(x, y, z, levels=20, cmap="jet")
    axes.contour(x, y, z, levels=filled.levels, colors="black", linewidths=0.5)
    figure.colorbar(filled, ax=axes)
    axes.set_title("Peaks", fontweight="bold")
    out = io.BytesIO()
    figure.savefig(out, format="png")
    plt.close(figure)


def main():
    g = np.linspace(-3, 3, 400)
    x, y = np.meshgrid(g, g)
    z = peaks(x, y)
    times = []
    for _ in range(5):
        start = time.process_time()
        w6(x, y, z)
        times.append(time.process_time() - start)
    print("W6 matplotlib contourf + contour 400x400, 800x600 PNG: %.4f s (median of 5 CPU)" % statistics.median(times))


main()

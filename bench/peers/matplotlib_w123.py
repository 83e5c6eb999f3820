"""W1, W2 and W3 drawn by matplotlib with its Agg back-end, timed the way bench_w1_line_million,
bench_w2_scatter and bench_w3_dashboard time Plotvane (data made beforehand; build, render and PNG
encoding into memory; CPU time, medians of 5), so that both sides can be read in the same run.
matplotlib's defaults are kept, path simplification included.

    python3 matplotlib_w123.py [w1|w2|w3 ...]
"""
import io
import statistics
import sys
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

DPI = 100


def cpu_seconds(draw):
    start = time.process_time()
    draw()
    return time.process_time() - start


def png_of(figure):
    out = io.BytesIO()
    figure.savefig(out, format="png")
    plt.close(figure)
    return out.getvalue()


def w1(walk):
    figure, axes = plt.subplots(figsize=(8, 6), dpi=DPI)
    axes.plot(walk, color="#2874a6", label="Walk")
    axes.set_title("One million steps of a random walk", fontweight="bold")
    axes.set_xlabel("Step")
    axes.set_ylabel("Position")
    axes.grid(True, color="#dddddd")
    png_of(figure)


def w2(groups):
    figure, axes = plt.subplots(figsize=(8, 6), dpi=DPI)
    for (x, y), colour, name in zip(groups, ("#cc3311", "#0077bb"), ("Group A", "Group B")):
        # 7 pixels across: marker sizes are in points squared.
        axes.scatter(x, y, s=(7 * 72 / DPI) ** 2, color=colour, label=name)
    axes.set_title("Two groups of 50,000 points", fontweight="bold")
    axes.set_xlabel("x")
    axes.set_ylabel("y")
    axes.legend()
    png_of(figure)


MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
SERIES = {
    "North": [56, 72, 65, 80, 91, 77, 68, 84, 95, 88, 73, 62],
    "South": [42, 55, 61, 58, 70, 66, 59, 72, 81, 76, 64, 50],
    "West": [30, 38, 45, 52, 49, 57, 63, 60, 68, 71, 55, 47],
}
TARGET = [50, 58, 60, 66, 75, 70, 64, 74, 85, 80, 66, 55]


def w3_chart():
    figure, axes = plt.subplots(figsize=(6, 4), dpi=DPI)
    positions = np.arange(12)
    width = 0.25
    for k, (name, values) in enumerate(SERIES.items()):
        axes.bar(positions + (k - 1) * width, values, width, label=name)
    axes.plot(positions, TARGET, color="#cc3311", linewidth=2, label="Target")
    axes.set_xticks(positions, MONTHS)
    axes.set_ylim(0, 110)
    axes.set_title("Monthly results", fontweight="bold")
    axes.set_xlabel("Month")
    axes.set_ylabel("Units")
    axes.legend(ncol=4, loc="upper left")
    png_of(figure)


def main(which):
    random = np.random.default_rng(42)
    if "w1" in which:
        walk = np.cumsum(random.normal(0, 1, 1_000_000))
        w1(walk)  # fonts and caches warm
        times = [cpu_seconds(lambda: w1(walk)) for _ in range(5)]
        print(f"matplotlib W1: {statistics.median(times):.4f} s CPU (median of 5)")
    if "w2" in which:
        groups = [(random.normal(0, 1, 50_000), random.normal(0, 1, 50_000)),
                  (random.normal(2, 1.5, 50_000), random.normal(1, 0.8, 50_000))]
        w2(groups)
        times = [cpu_seconds(lambda: w2(groups)) for _ in range(5)]
        print(f"matplotlib W2: {statistics.median(times):.4f} s CPU (median of 5)")
    if "w3" in which:
        w3_chart()
        charts = 20
        times = [cpu_seconds(lambda: [w3_chart() for _ in range(charts)]) for _ in range(5)]
        print(f"matplotlib W3: {charts / statistics.median(times):.1f} charts/s CPU (median of 5 runs of {charts})")


if __name__ == "__main__":
    main(sys.argv[1:] or ["w1", "w2", "w3"])

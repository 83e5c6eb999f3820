"""The area benchmark drawn by matplotlib's fill_between with its Agg back-end, timed the way
bench_area_million times Plotvane (build, render and PNG encoding into memory; CPU time, median of
5 after a warm-up chart). It reads the walk that bench_area_million wrote, so both fill the same
data.

    python3 matplotlib_area.py WALK_FILE
"""
import io
import statistics
import sys
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402


def area(x, walk):
    figure, axes = plt.subplots(figsize=(8, 6), dpi=100)
    axes.fill_between(x, walk, color="#2874a6", label="Walk")
    axes.set_title("One million steps of a random walk", fontweight="bold")
    axes.set_xlabel("Step")
    axes.set_ylabel("Position")
    axes.grid(True, color="#dddddd")
    out = io.BytesIO()
    figure.savefig(out, format="png")
    plt.close(figure)


def main(path):
    walk = np.fromfile(path, dtype=np.float64)
    x = np.arange(walk.size)
    start = time.process_time()
    area(x, walk)
    first = time.process_time() - start
    times = []
    for _ in range(5):
        start = time.process_time()
        area(x, walk)
        times.append(time.process_time() - start)
    print(f"matplotlib fill_between 1M points: {statistics.median(times):.4f} s CPU (median of 5); "
          f"first chart {first:.4f} s CPU")


if __name__ == "__main__":
    main(sys.argv[1])

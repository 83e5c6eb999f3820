"""W9 drawn by matplotlib with its Agg back-end, timed the way bench_w9_radar times Plotvane (build,
render and PNG encoding into memory; CPU time, medians of 5): a 600 x 600 radar on polar axes, 3
filled series over 12 labelled spokes, values written on one series, a legend and a title.
"""

import io
import math
import statistics
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

DPI = 100
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
SERIES = {
    "North": [62, 70, 81, 75, 90, 84, 77, 69, 88, 92, 73, 66],
    "South": [45, 52, 40, 61, 58, 66, 70, 64, 55, 49, 60, 51],
    "West": [20, 28, 35, 30, 26, 38, 42, 33, 29, 24, 31, 36],
}


def chart():
    angles = [2 * math.pi * k / 12 for k in range(12)]
    figure = plt.figure(figsize=(6, 6), dpi=DPI)
    axes = figure.add_subplot(projection="polar")
    axes.set_theta_zero_location("N")
    axes.set_theta_direction(-1)
    axes.set_xticks(angles)
    axes.set_xticklabels(MONTHS)
    for name, values in SERIES.items():
        loop_a, loop_r = angles + angles[:1], values + values[:1]
        axes.fill(loop_a, loop_r, alpha=0.5, label=name)
        axes.plot(loop_a, loop_r, linewidth=1)
    for a, v in zip(angles, SERIES["West"]):
        axes.text(a, v + 4, str(v), fontsize=8, ha="center")
    axes.set_title("Sales by month", fontweight="bold")
    axes.legend(loc="upper left", bbox_to_anchor=(-0.1, 1.1), fontsize=9)
    out = io.BytesIO()
    figure.savefig(out, format="png")
    plt.close(figure)


def main():
    charts = 20
    start = time.process_time()
    chart()
    first = time.process_time() - start
    times = []
    for _ in range(5):
        start = time.process_time()
        for _ in range(charts):
            chart()
        times.append(time.process_time() - start)
    print(f"matplotlib W9 radar: {charts / statistics.median(times):.1f} charts/s CPU (median of 5 runs of {charts}),"
          f" first chart {1000 * first:.0f} ms")


if __name__ == "__main__":
    main()

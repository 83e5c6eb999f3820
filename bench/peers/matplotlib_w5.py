"""W5 drawn by matplotlib with its Agg back-end, timed the way bench_w5_pie times Plotvane (build,
render and PNG encoding into memory; CPU time, medians of 5): a 600 x 400 pie of 8 sectors with
labels outside (name and percentage), a legend and a title. matplotlib has no 3D donut; its flat
donut (a wedge width) with the same labels stands in for it.
"""

import io
import statistics
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

DPI = 100
VALUES = [25, 18, 15, 12, 10, 9, 6, 5]
NAMES = ["Rent", "Salaries", "Materials", "Energy", "Transport", "Marketing", "Insurance", "Other"]


def chart(donut):
    figure, axes = plt.subplots(figsize=(6, 4), dpi=DPI)
    wedges = {"width": 0.5} if donut else None
    axes.pie(VALUES, labels=NAMES, autopct="%.1f%%", pctdistance=1.25 if not donut else 0.75,
             wedgeprops=wedges)
    axes.set_title("Monthly expenses", fontweight="bold")
    axes.legend(loc="upper right", fontsize=8)
    out = io.BytesIO()
    figure.savefig(out, format="png")
    plt.close(figure)


def main():
    charts = 20
    for donut, name in ((False, "flat pie"), (True, "flat donut")):
        chart(donut)
        times = []
        for _ in range(5):
            start = time.process_time()
            for _ in range(charts):
                chart(donut)
            times.append(time.process_time() - start)
        print(f"matplotlib W5 {name}: {charts / statistics.median(times):.1f} charts/s CPU (median of 5 runs of {charts})")


if __name__ == "__main__":
    main()

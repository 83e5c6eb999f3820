#!/usr/bin/env bash
# The time of a whole process that draws one small chart with the default fonts, writes it as a PNG
# and exits (bench_one_chart): median, fastest and slowest wall time of N runs, after one untimed
# run that warms the disk cache, and the median CPU time of a run (user + system), which a busy
# shared machine inflates far less. Also tells whether a run read font folders or the font
# configuration, which a chart in the default fonts should not need.
#
#   one_chart_process.sh BIN_DIR [RUNS]
set -euo pipefail
bin=$1/bench_one_chart
runs=${2:-20}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

python3 - "$bin" "$out/chart.png" "$runs" <<'EOF'
import resource, statistics, subprocess, sys, time

program, picture, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
for variant, extra in (("placed", []), ("laid out by the chart", ["auto"])):
    subprocess.run([program, picture] + extra, check=True)
    wall, cpu = [], []
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        subprocess.run([program, picture] + extra, check=True)
        wall.append((time.perf_counter() - start) * 1e3)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu.append((after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime) * 1e3)
    print(f"one-chart process, {variant}: median {statistics.median(wall):.1f} ms, fastest {min(wall):.1f} ms, "
          f"slowest {max(wall):.1f} ms ({runs} runs); CPU median {statistics.median(cpu):.1f} ms a run")
EOF

if command -v strace > /dev/null; then
  trace=$out/trace
  strace -f -e trace=openat,open,getdents64 -o "$trace" "$bin" "$out/chart.png"
  echo "font files opened: $(grep -E 'open.*\.(ttf|otf|ttc|pfb)"' "$trace" | grep -vc ENOENT || true)," \
    "font folders listed: $(grep -c getdents64 "$trace" || true)," \
    "fontconfig files read: $(grep -E 'open.*(fonts\.conf|/fontconfig/)' "$trace" | grep -vc ENOENT || true)"
fi

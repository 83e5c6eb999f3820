#!/usr/bin/env bash
# Runs every benchmark workload in a process of its own, so that no workload warms another; each
# prints its own figures, the first chart of its fresh process beside the warm median where it
# draws charts. Programs holding several workloads run one per process, named by its argument.
# The one-chart program is timed as whole processes by its script instead. Last, matplotlib draws
# W1-W3, W5, W9 and the area chart in the same run, so that the figures can be read side by side.
set -euo pipefail
bin_dir=$1
declare -A workloads=([bench_w3_dashboard]="default fast drawing" [bench_vector_w4]="svg pdf")
walk=$(mktemp)
trap 'rm -f "$walk"' EXIT
for program in "$bin_dir"/bench_*; do
  [ -x "$program" ] || continue
  name=$(basename "$program")
  [ "$name" = bench_one_chart ] && continue
  if [ "$name" = bench_area_million ]; then
    # The area benchmark leaves its data for matplotlib's run below.
    echo "== $name"
    "$program" "$walk"
    continue
  fi
  if [ -z "${workloads[$name]:-}" ]; then
    echo "== $name"
    "$program"
    continue
  fi
  for workload in ${workloads[$name]}; do
    echo "== $name $workload"
    "$program" "$workload"
  done
done
if [ -x "$bin_dir/bench_one_chart" ]; then
  echo "== one_chart_process"
  "$(dirname "$0")/one_chart_process.sh" "$bin_dir"
fi
echo "== matplotlib (Agg)"
# Debian's interpreter, which has Debian's matplotlib.
/usr/bin/python3 "$(dirname "$0")/peers/matplotlib_w123.py"
if [ -s "$walk" ]; then /usr/bin/python3 "$(dirname "$0")/peers/matplotlib_area.py" "$walk"; fi
/usr/bin/python3 "$(dirname "$0")/peers/matplotlib_w5.py"
/usr/bin/python3 "$(dirname "$0")/peers/matplotlib_w9.py"

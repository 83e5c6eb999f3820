#!/usr/bin/env bash
# Runs every benchmark program once; each prints its own figures. The one-chart program is timed
# as whole processes by its script instead. Last, matplotlib draws W1-W3 and W5 in the same run, so that
# the figures can be read side by side.
set -euo pipefail
bin_dir=$1
for program in "$bin_dir"/bench_*; do
  [ -x "$program" ] || continue
  [ "$(basename "$program")" = bench_one_chart ] && continue
  echo "== $(basename "$program")"
  "$program"
done
if [ -x "$bin_dir/bench_one_chart" ]; then
  echo "== one_chart_process"
  "$(dirname "$0")/one_chart_process.sh" "$bin_dir"
fi
echo "== matplotlib (Agg)"
# Debian's interpreter, which has Debian's matplotlib.
/usr/bin/python3 "$(dirname "$0")/peers/matplotlib_w123.py"
/usr/bin/python3 "$(dirname "$0")/peers/matplotlib_w5.py"

#!/usr/bin/env bash
# Runs every benchmark program once; each prints its own figures. The one-chart program is timed
# as whole processes by its script instead. Last, matplotlib draws W1-W3 in the same run, so that
# the figures can be read side by side.
set -euo pipefail
bin_dir=$1
walk=$(mktemp)
trap 'rm -f "$walk"' EXIT
for program in "$bin_dir"/bench_*; do
  [ -x "$program" ] || continue
  [ "$(basename "$program")" = bench_one_chart ] && continue
  echo "== $(basename "$program")"
  # The area benchmark leaves its data for matplotlib's run below.
  if [ "$(basename "$program")" = bench_area_million ]; then "$program" "$walk"; else "$program"; fi
done
if [ -x "$bin_dir/bench_one_chart" ]; then
  echo "== one_chart_process"
  "$(dirname "$0")/one_chart_process.sh" "$bin_dir"
fi
echo "== matplotlib (Agg)"
# Debian's interpreter, which has Debian's matplotlib.
/usr/bin/python3 "$(dirname "$0")/peers/matplotlib_w123.py"
if [ -s "$walk" ]; then /usr/bin/python3 "$(dirname "$0")/peers/matplotlib_area.py" "$walk"; fi

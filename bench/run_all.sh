#!/usr/bin/env bash
# Runs every benchmark program once; each prints its own figures.
set -euo pipefail
bin_dir=$1
for program in "$bin_dir"/bench_*; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program"
done

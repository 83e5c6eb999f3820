#!/usr/bin/env bash
# Runs each fuzz target for a fixed time on a scratch copy of its seed corpus.
# usage: tests/fuzz/run_fuzzers.sh <build-dir> [seconds per target, default 30]
set -euo pipefail
build_dir=$1
seconds=${2:-30}
corpus_root="$(cd "$(dirname "$0")" && pwd)/corpus"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
# The chart's image loaders start from small valid (and a few damaged) files of every format.
image_seeds="png gif jpeg"
for target in png gif jpeg imagetype format_template markup imagemap basic_parser deflate wallpaper bgimage symbol pattern markup_image; do
  program="$build_dir/tests/fuzz/fuzz_$target"
  [ -x "$program" ] || { echo "missing $program" >&2; exit 1; }
  mkdir -p "$work/$target"
  case $target in
    wallpaper|bgimage|symbol|pattern|markup_image)
      for seeds in $image_seeds; do
        for seed in "$corpus_root/$seeds"/*; do cp "$seed" "$work/$target/$seeds-$(basename "$seed")"; done
      done ;;
    *) cp "$corpus_root/$target"/* "$work/$target"/ ;;
  esac
  echo "== $target ($seconds s)"
  if ! "$program" -max_total_time="$seconds" -max_len=16384 -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix="$work/" -print_final_stats=1 "$work/$target" 2>"$work/$target.log"; then
    status=1
    tail -40 "$work/$target.log"
    mkdir -p fuzz-artifacts && cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* fuzz-artifacts/ 2>/dev/null || true
  else
    grep -E 'stat::number_of_executed_units|cov:' "$work/$target.log" | tail -2
  fi
done
exit $status

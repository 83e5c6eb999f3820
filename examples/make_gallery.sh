#!/usr/bin/env bash
# Runs every example program in the output folder and writes index.html, which shows each
# example's pictures beside the source that made them.
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
out_dir=$2
src_dir=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out_dir"
out_dir=$(cd "$out_dir" && pwd)

escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' "$1"; }

start=$(date +%s.%N)
index="$out_dir/index.html"
{
  echo '<!DOCTYPE html><html lang="en"><head><meta charset="utf-8"><title>Plotvane gallery</title>'
  echo '<style>body{font-family:sans-serif;margin:2em;background:#fafafa}section{display:flex;gap:2em;'
  echo 'border-bottom:1px solid #ddd;padding:1.5em 0}pre{background:#f0f0f0;padding:1em;font-size:12px;'
  echo 'overflow:auto;max-width:48em;max-height:40em}figure{margin:0}img{border:1px solid #ccc;max-width:820px}'
  echo '.formats a{margin-right:1em}</style></head><body><h1>Plotvane gallery</h1>'
} > "$index"

count=0
for source in "$src_dir"/*.cpp; do
  [ -e "$source" ] || continue
  name=$(basename "$source" .cpp)
  (cd "$out_dir" && "$bin_dir/$name")
  count=$((count + 1))
  {
    echo "<section id=\"$name\"><div><h2>$name</h2>"
    for picture in "$out_dir/$name".png "$out_dir/$name"_*.png; do
      [ -e "$picture" ] && echo "<figure><img src=\"$(basename "$picture")\" alt=\"$name\"></figure>"
    done
    echo '<p class="formats">'
    for other in "$out_dir/$name".* "$out_dir/$name"_*.*; do
      [ -e "$other" ] || continue
      case "$other" in *.png) ;; *) echo "<a href=\"$(basename "$other")\">$(basename "$other")</a>" ;; esac
    done
    echo "</p></div><pre>"
    escape "$source"
    echo '</pre></section>'
  } >> "$index"
done
echo '</body></html>' >> "$index"

elapsed=$(awk "BEGIN{printf \"%.1f\", $(date +%s.%N) - $start}")
echo "Gallery: $count examples in ${elapsed}s"
echo "Open $index"

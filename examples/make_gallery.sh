#!/usr/bin/env bash
# Usage: make_gallery.sh BIN_DIR OUT_DIR [PVHOST]
# Runs every example program (examples/NAME.cpp, built as BIN_DIR/NAME) in a folder of its own,
# OUT_DIR/NAME/, and writes OUT_DIR/index.html: per example the leading comment of its source as a
# description, each PNG it wrote with the SVG of the same name beside it, links to its other files
# (PDF, dump) and the source itself. An example that fails, or writes no PNG, fails the gallery.
# Given the test host, the programs in the host's language (examples/host/NAME.bas) run through it
# into OUT_DIR/host/NAME/ and their pictures join the C++ example of the same name.
set -euo pipefail
shopt -s nullglob
[ $# -eq 2 ] || [ $# -eq 3 ] || { echo "usage: $0 BIN_DIR OUT_DIR [PVHOST]" >&2; exit 2; }
# Host programs run from their own output folders, so the host is named by its full path.
pvhost=${3:+$(realpath "$3")}
bin_dir=$(cd "$1" && pwd)
src_dir=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$2"
out_dir=$(cd "$2" && pwd)

html() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g'; }
# A file name as a relative URL: the few characters that would end or redirect the path.
url() { printf '%s' "$1" | sed -e 's/%/%25/g' -e 's/#/%23/g' -e 's/?/%3F/g' -e 's/ /%20/g' | html; }
# The comment lines that open a source file, without their slashes (or quote, in the host's language).
description() { sed -n -e '/^\/\//!q' -e 's|^// \{0,1\}||p' "$1" | html; }
hostDescription() { sed -n -e "/^'/!q" -e "s|^' \{0,1\}||p" "$1" | html; }
# Width and height attributes from a PNG's header; they also size the SVG of the same drawing, which
# states only a view box.
pngSize() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "width=\"%d\" height=\"%d\"", ($3 * 256 + $4), ($7 * 256 + $8) }'; }
seconds() { date +%s.%N; }
examples() { if [ "$1" -eq 1 ]; then echo "1 example"; else echo "$1 examples"; fi; }
since() { awk -v from="$1" -v to="$(seconds)" 'BEGIN { printf "%.2f", to - from }'; }

section() {
  local name=$1 source=$2 folder=$3 png svg file base size title
  title=$(html <<<"$name")
  echo "<section id=\"$title\"><h2>$title</h2><p class=\"about\">$(description "$source" | tr '\n' ' ')</p>"
  echo '<div class="row"><div class="pictures">'
  for png in "$folder"/*.png; do
    base=$(basename "$png" .png)
    size=$(pngSize "$png")
    echo "<div class=\"pair\"><figure><img src=\"$(url "$name/$base.png")\" $size alt=\"$(html <<<"$base") as PNG\"><figcaption>PNG</figcaption></figure>"
    svg="$folder/$base.svg"
    [ -e "$svg" ] && echo "<figure><img src=\"$(url "$name/$base.svg")\" $size alt=\"$(html <<<"$base") as SVG\"><figcaption>SVG</figcaption></figure>"
    echo '</div>'
  done
  echo '<p class="files">'
  for file in "$folder"/*; do
    base=$(basename "$file")
    echo "<a href=\"$(url "$name/$base")\">$(html <<<"$base")</a>"
  done
  echo "</p></div><pre><code>$(html <"$source")</code></pre></div>"
  hostSection "$name"
  echo '</section>'
}

# The same pictures drawn by the host program of the same name, when there is one.
hostSection() {
  local name=$1 program folder png base size
  program="$src_dir/host/$name.bas"
  folder="$out_dir/host/$name"
  [ -n "$pvhost" ] && [ -e "$program" ] || return 0
  echo "<h3>The same in the IDE host's language</h3><p class=\"about\">$(hostDescription "$program" | tr '\n' ' ')</p>"
  echo '<div class="row"><div class="pictures">'
  for png in "$folder"/*.png; do
    base=$(basename "$png" .png)
    size=$(pngSize "$png")
    echo "<div class=\"pair\"><figure><img src=\"$(url "host/$name/$base.png")\" $size alt=\"$(html <<<"$base") as PNG from the host program\"><figcaption>PNG, host program</figcaption></figure></div>"
  done
  echo "</div><pre><code>$(html <"$program")</code></pre></div>"
}

start=$(seconds)
sources=("$src_dir"/*.cpp)
body=$(mktemp)
trap 'rm -f "$body"' EXIT
for source in "${sources[@]}"; do
  name=$(basename "$source" .cpp)
  program="$bin_dir/$name"
  [ -x "$program" ] || { echo "gallery: $name is not built ($program missing)" >&2; exit 1; }
  folder="$out_dir/$name"
  rm -rf "$folder"
  mkdir -p "$folder"
  began=$(seconds)
  if ! (cd "$folder" && "$program"); then
    echo "gallery: example $name failed" >&2
    exit 1
  fi
  pngs=("$folder"/*.png)
  [ ${#pngs[@]} -gt 0 ] || { echo "gallery: example $name wrote no PNG picture" >&2; exit 1; }
  files=("$folder"/*)
  printf '  %-24s %2d files %6ss\n' "$name" ${#files[@]} "$(since "$began")"
  if [ -n "$pvhost" ] && [ -e "$src_dir/host/$name.bas" ]; then
    rm -rf "$out_dir/host/$name"
    mkdir -p "$out_dir/host/$name"
    if ! (cd "$out_dir/host/$name" && "$pvhost" "$src_dir/host/$name.bas"); then
      echo "gallery: host program $name failed" >&2
      exit 1
    fi
  fi
  section "$name" "$source" "$folder" >>"$body"
done

{
  cat <<'HEAD'
<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Plotvane gallery</title>
<link rel="icon" href="data:,">
<style>
body{font-family:sans-serif;margin:2em;background:#fafafa;color:#222}
section{border-bottom:1px solid #ddd;padding:1em 0 2em}
.about{max-width:60em}
.row{display:flex;flex-wrap:wrap;gap:2em;align-items:flex-start}
.pair{display:flex;flex-direction:column;gap:1em;margin-bottom:1em}
figure{margin:0}figcaption{font-size:12px;color:#666}
img{border:1px solid #ccc;max-width:100%;height:auto;background:#fff}
pre{background:#f0f0f0;padding:1em;font-size:12px;overflow:auto;max-width:60em;max-height:90vh;margin:0;position:sticky;top:1em}
.files a{margin-right:1em}
</style></head><body>
<h1>Plotvane gallery</h1>
HEAD
  if [ ${#sources[@]} -eq 0 ]; then
    echo '<p>No examples yet.</p>'
  else
    echo "<p>$(examples ${#sources[@]}), each shown as PNG and SVG beside the program that drew it.</p>"
    cat "$body"
  fi
  echo '</body></html>'
} >"$out_dir/index.html"

echo "Gallery: $(examples ${#sources[@]}) in $(since "$start")s"
echo "Open $out_dir/index.html"

#!/bin/sh
# Runs each host example program through pvhost and its C++ twin of the gallery, each in a folder
# of its own, and compares the PNG and SVG files they write byte for byte (PDFs carry their
# creation time).
# usage: compare_examples.sh PVHOST CXX_EXAMPLES_DIR HOST_PROGRAMS_DIR
pvhost=$1
cxx=$2
programs=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
compared=0
for program in "$programs"/*.bas; do
  name=$(basename "$program" .bas)
  if [ ! -x "$cxx/$name" ]; then
    echo "$name: no C++ example of that name in $cxx"
    status=1
    continue
  fi
  mkdir -p "$work/$name/host" "$work/$name/cxx"
  if ! (cd "$work/$name/host" && "$pvhost" "$program"); then
    echo "$name: the host program failed"
    status=1
    continue
  fi
  (cd "$work/$name/cxx" && "$cxx/$name" >/dev/null) || { echo "$name: the C++ example failed"; status=1; continue; }
  for picture in "$work/$name/cxx"/*.png "$work/$name/cxx"/*.svg; do
    [ -e "$picture" ] || continue
    compared=$((compared + 1))
    if ! cmp -s "$picture" "$work/$name/host/$(basename "$picture")"; then
      echo "$name: $(basename "$picture") differs from the C++ example's"
      status=1
    fi
  done
done
echo "$compared pictures compared"
[ "$compared" -gt 0 ] || status=1
exit $status
